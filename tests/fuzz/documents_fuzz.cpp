// The open dialog's result as any bytes (ended or not, any lengths), read
// from a buffer of exactly its size; and the document table driven by any
// sequence of opens, failures and closes against a plain list.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "host/core/documents.h"


namespace {

// The texts of the buffer up to the first empty one or the first that is
// not ended inside it.
std::vector<std::string> Texts(const std::vector<char>& b) {
    std::vector<std::string> t;
    std::size_t pos = 0;
    while (pos < b.size()) {
        std::size_t end = pos;
        while (end < b.size() && b[end]) ++end;
        if (end == b.size() || end == pos) break;
        t.emplace_back(b.data() + pos, end - pos);
        pos = end + 1;
    }
    return t;
}

void CheckDialogResult(const std::vector<char>& buffer) {
    const std::vector<std::string> texts = Texts(buffer);
    std::vector<std::string> want;
    if (texts.size() == 1) {
        want.push_back(texts[0]);
    } else if (texts.size() > 1) {
        const std::string& dir = texts[0];
        for (std::size_t i = 1; i < texts.size(); ++i)
            want.push_back(dir + (dir.back() == '\\' ? "" : "\\") + texts[i]);
    }
    pm::OpenDialogResult result(buffer.empty() ? nullptr : buffer.data(), buffer.size());
    std::vector<char> out(pm::kPathBytes);
    std::size_t i = 0;
    for (;; ++i) {
        const auto step = result.next(out.data());
        if (step == pm::OpenDialogResult::kEnd) break;
        CHECK(i < want.size());
        if (step == pm::OpenDialogResult::kTooLong) {
            CHECK(want[i].size() >= pm::kPathBytes && out[0] == 0);
        } else {
            CHECK(want[i].size() < pm::kPathBytes && std::string(out.data()) == want[i]);
        }
    }
    CHECK(i == want.size());
    CHECK(result.next(out.data()) == pm::OpenDialogResult::kEnd);
}

void CheckTable(FuzzInput& in) {
    static char names[pm::kMaxDocuments + 1][8];
    auto* table = new pm::DocumentTable();  // on the heap: an index past the end is caught
    std::vector<char*> model;
    unsigned serial = 0;
    while (in.rest_size()) {
        const std::uint8_t op = in.take<std::uint8_t>();
        const pm::u32 tab = in.take<std::uint8_t>();
        switch (op % 4) {
        case 0:
        case 1: {
            pm::Document* d = table->reserve();
            CHECK((d == nullptr) == (model.size() == pm::kMaxDocuments));
            if (!d) break;
            CHECK(!d->path && !d->control && !d->file && !d->view);
            d->path = names[serial++ % (pm::kMaxDocuments + 1)];
            if (op & 4) table->give_back();  // a failed open
            else model.push_back(d->path);
            break;
        }
        case 2: {
            const pm::Document taken = table->remove_tab(tab);
            if (tab >= 1 && tab <= model.size()) {
                CHECK(taken.path == model[tab - 1]);
                model.erase(model.begin() + (tab - 1));
            } else {
                CHECK(taken.path == nullptr);
            }
            break;
        }
        case 3: {
            const pm::Document last = table->pop_last();
            CHECK(last.path == (model.empty() ? nullptr : model.back()));
            if (!model.empty()) model.pop_back();
            break;
        }
        }
        CHECK(table->count == model.size());
        CHECK(table->full() == (model.size() == pm::kMaxDocuments));
        CHECK((table->for_tab(tab) != nullptr) == (tab >= 1 && tab <= model.size()));
        for (std::size_t i = 0; i < model.size(); ++i) CHECK(table->records[i].path == model[i]);
    }
    delete table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::uint8_t mode = in.take<std::uint8_t>();
    if (mode & 1) {
        CheckTable(in);
        return 0;
    }
    // Stretch short texts so that paths at and past the length limit occur.
    std::vector<char> buffer;
    const unsigned stretch = (mode >> 1) % 4 == 0 ? 40 : 1;
    for (std::size_t i = 0; i < in.rest_size(); ++i)
        buffer.insert(buffer.end(), in.rest()[i] ? stretch : 1, static_cast<char>(in.rest()[i]));
    CheckDialogResult(buffer);
    const std::string name(buffer.begin(), buffer.end());
    const char* part = pm::file_name_part(name.c_str());
    if (name.c_str()[0] == 0) CHECK(part == nullptr);
    else CHECK(part >= name.c_str() && part <= name.c_str() + std::strlen(name.c_str()) &&
               !std::strpbrk(part, "\\:"));
    return 0;
}
