// The document table and the open dialog's path list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/core/documents.h"

using namespace pm;

namespace {

struct Walked {
    std::vector<std::string> paths;  // "!" marks a path that did not fit
};

Walked Walk(const std::string& buffer) {
    Walked w;
    OpenDialogResult r(buffer.data(), buffer.size());
    char out[kPathBytes];
    for (;;) {
        auto step = r.next(out);
        if (step == OpenDialogResult::kEnd) break;
        w.paths.push_back(step == OpenDialogResult::kPath ? std::string(out) : "!");
        if (w.paths.size() > 100) break;
    }
    return w;
}

std::string Z(std::initializer_list<std::string> texts) {
    std::string b;
    for (const auto& t : texts) b += t + '\0';
    return b + '\0';
}

}  // namespace

TEST(OpenDialogResult, SingleAndMultipleSelections) {
    EXPECT_EQ(Walk(Z({"C:\\a\\b.bin"})).paths, (std::vector<std::string>{"C:\\a\\b.bin"}));
    EXPECT_EQ(Walk(Z({"C:\\dir", "one", "two", "three"})).paths,
              (std::vector<std::string>{"C:\\dir\\one", "C:\\dir\\two", "C:\\dir\\three"}));
    EXPECT_EQ(Walk(Z({"C:\\", "x", "y"})).paths, (std::vector<std::string>{"C:\\x", "C:\\y"}));
    EXPECT_TRUE(Walk(std::string(4, '\0')).paths.empty());
}

TEST(OpenDialogResult, PathsThatDoNotFitAreReportedNotShortened) {
    const std::string dir = "C:\\" + std::string(500, 'd');
    // 503 + 1 + 7 = 511 characters fit; 512 do not.
    auto w = Walk(Z({dir, "1234567", "12345678", "ok"}));
    ASSERT_EQ(w.paths.size(), 3u);
    EXPECT_EQ(w.paths[0].size(), 511u);
    EXPECT_EQ(w.paths[1], "!");
    EXPECT_EQ(w.paths[2], dir + "\\ok");
    EXPECT_EQ(Walk(Z({std::string(512, 'p')})).paths, (std::vector<std::string>{"!"}));
    EXPECT_EQ(Walk(Z({std::string(511, 'p')})).paths[0].size(), 511u);
}

TEST(OpenDialogResult, UnterminatedBufferStopsAtItsEnd) {
    std::string b = Z({"C:\\dir", "one"});
    b += "two-without-end";
    EXPECT_EQ(Walk(b).paths, (std::vector<std::string>{"C:\\dir\\one"}));
    std::string solo = "C:\\no-end";
    EXPECT_TRUE(Walk(solo).paths.empty());
}

TEST(FileNamePart, AfterTheLastSeparator) {
    EXPECT_STREQ(file_name_part("C:\\a\\b.bin"), "b.bin");
    EXPECT_STREQ(file_name_part("C:b.bin"), "b.bin");
    EXPECT_STREQ(file_name_part("plain"), "plain");
    EXPECT_STREQ(file_name_part("C:\\dir\\"), "");
    EXPECT_EQ(file_name_part(""), nullptr);
    EXPECT_EQ(file_name_part(nullptr), nullptr);
}

TEST(DocumentTable, ReserveRemoveKeepsTabOrder) {
    static DocumentTable t{};
    char names[kMaxDocuments][4];
    for (u32 i = 0; i < kMaxDocuments; ++i) {
        Document* d = t.reserve();
        ASSERT_NE(d, nullptr);
        names[i][0] = char('A' + i % 26);
        names[i][1] = 0;
        d->path = names[i];
        d->control = names[i];
    }
    EXPECT_TRUE(t.full());
    EXPECT_EQ(t.reserve(), nullptr);
    EXPECT_EQ(t.count, kMaxDocuments);

    Document gone = t.remove_tab(2);
    EXPECT_EQ(gone.path, names[1]);
    EXPECT_EQ(t.count, kMaxDocuments - 1);
    EXPECT_EQ(t.for_tab(1)->path, names[0]);
    EXPECT_EQ(t.for_tab(2)->path, names[2]);
    EXPECT_EQ(t.for_tab(kMaxDocuments - 1)->path, names[kMaxDocuments - 1]);
    EXPECT_EQ(t.for_tab(kMaxDocuments), nullptr);
    EXPECT_EQ(t.for_tab(0), nullptr);
    EXPECT_EQ(t.remove_tab(kMaxDocuments).path, nullptr);
    EXPECT_EQ(t.tab_of_control(names[2]), 2u) << "the control's record moved down with its tab";
    EXPECT_EQ(t.tab_of_control(names[1]), 0u);
    EXPECT_EQ(t.tab_of_control(nullptr), 0u);

    EXPECT_EQ(t.pop_last().path, names[kMaxDocuments - 1]);
    t.give_back();
    EXPECT_EQ(t.count, kMaxDocuments - 3);
    while (t.count) t.pop_last();
    EXPECT_EQ(t.pop_last().path, nullptr);
    t.give_back();
    EXPECT_EQ(t.count, 0u);
}
