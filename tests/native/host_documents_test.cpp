// The document table and the open dialog's path list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/core/documents.h"

using namespace pm;

namespace {

using Paths = std::vector<std::u16string>;

Paths Walk(const std::u16string& buffer) {
    Paths paths;
    OpenDialogResult r(buffer.data(), buffer.size());
    PathParts parts;
    while (r.next(&parts) && paths.size() <= 100) {
        std::u16string path(parts.length() + 1, u'#');
        parts.copy_to(&path[0]);
        EXPECT_EQ(path.back(), u'\0');
        path.pop_back();
        paths.push_back(path);
    }
    return paths;
}

std::u16string Z(std::initializer_list<std::u16string> texts) {
    std::u16string b;
    for (const auto& t : texts) b += t + u'\0';
    return b + u'\0';
}

std::u16string OpenForm(const std::u16string& path) {
    std::u16string out(path.size() + kOpenFormExtra + 1, u'#');
    out.resize(open_form(path.c_str(), path.size(), &out[0]));
    return out;
}

}  // namespace

TEST(OpenDialogResult, SingleAndMultipleSelectionsOfAnyLengthAndScript) {
    EXPECT_EQ(Walk(Z({u"C:\\a\\b.bin"})), (Paths{u"C:\\a\\b.bin"}));
    EXPECT_EQ(Walk(Z({u"C:\\dir", u"\u65E5\u672C\u8A9E.bin", u"pic\U0001F600.bin", u"\xD800x"})),
              (Paths{u"C:\\dir\\\u65E5\u672C\u8A9E.bin", u"C:\\dir\\pic\U0001F600.bin", u"C:\\dir\\\xD800x"}));
    EXPECT_EQ(Walk(Z({u"C:\\", u"x", u"y"})), (Paths{u"C:\\x", u"C:\\y"}));
    EXPECT_TRUE(Walk(std::u16string(4, u'\0')).empty());
    // Paths are as long as the dialog makes them.
    const std::u16string dir = u"C:\\" + std::u16string(5000, u'd');
    EXPECT_EQ(Walk(Z({dir, u"n"})), (Paths{dir + u"\\n"}));
}

TEST(OpenDialogResult, UnterminatedBufferStopsAtItsEnd) {
    std::u16string b = Z({u"C:\\dir", u"one"});
    b += u"two-without-end";
    EXPECT_EQ(Walk(b), (Paths{u"C:\\dir\\one"}));
    EXPECT_TRUE(Walk(u"C:\\no-end").empty());
}

TEST(FileNamePart, AfterTheLastSeparator) {
    EXPECT_EQ(std::u16string(file_name_part(u"C:\\a\\\u0436\u0443\u043A.bin")), u"\u0436\u0443\u043A.bin");
    EXPECT_EQ(std::u16string(file_name_part(u"C:b.bin")), u"b.bin");
    EXPECT_EQ(std::u16string(file_name_part(u"plain")), u"plain");
    EXPECT_EQ(std::u16string(file_name_part(u"C:\\dir\\")), u"");
    EXPECT_EQ(file_name_part(u""), nullptr);
    EXPECT_EQ(file_name_part(nullptr), nullptr);
}

TEST(OpenForm, LongPathsTakeTheExtendedFormOthersStayAsTheyAre) {
    const std::u16string tail(300, u'x');
    EXPECT_EQ(OpenForm(u"C:\\short.bin"), u"C:\\short.bin");
    const std::u16string at_limit = u"C:\\" + std::u16string(kShortPathLimit - 3, u'x');
    EXPECT_EQ(OpenForm(at_limit), u"\\\\?\\" + at_limit);
    EXPECT_EQ(OpenForm(at_limit.substr(1)), at_limit.substr(1));  // relative: as it is
    EXPECT_EQ(OpenForm(u"z:/a/" + tail), u"\\\\?\\z:\\a\\" + tail);
    EXPECT_EQ(OpenForm(u"\\\\server\\share\\" + tail), u"\\\\?\\UNC\\server\\share\\" + tail);
    EXPECT_EQ(OpenForm(u"\\\\?\\C:\\" + tail), u"\\\\?\\C:\\" + tail);
    EXPECT_EQ(OpenForm(u"\\\\.\\C:\\" + tail), u"\\\\.\\C:\\" + tail);
}

TEST(DocumentTable, ReserveRemoveKeepsTabOrder) {
    static DocumentTable t{};
    char16_t names[kMaxDocuments][4];
    for (u32 i = 0; i < kMaxDocuments; ++i) {
        Document* d = t.reserve();
        ASSERT_NE(d, nullptr);
        names[i][0] = char16_t(u'A' + i % 26);
        names[i][1] = 0;
        d->path = names[i];
        d->identity = {7, i % 3, i};
        d->control = names[i];
    }
    // Files are found by identity alone, among the records asked about.
    EXPECT_EQ(t.tab_of({7, 2, 5}, kMaxDocuments), 6u);
    EXPECT_EQ(t.tab_of({7, 2, 5}, 5), 0u);
    EXPECT_EQ(t.tab_of({8, 2, 5}, kMaxDocuments), 0u);
    EXPECT_EQ(t.tab_of({7, 1, 5}, kMaxDocuments), 0u);
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
