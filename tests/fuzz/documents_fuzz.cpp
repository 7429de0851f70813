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
std::vector<std::u16string> Texts(const std::u16string& b) {
    std::vector<std::u16string> t;
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

void CheckDialogResult(const std::u16string& buffer) {
    const std::vector<std::u16string> texts = Texts(buffer);
    std::vector<std::u16string> want;
    if (texts.size() == 1) {
        want.push_back(texts[0]);
    } else if (texts.size() > 1) {
        const std::u16string& dir = texts[0];
        for (std::size_t i = 1; i < texts.size(); ++i)
            want.push_back(dir + (dir.back() == u'\\' ? u"" : u"\\") + texts[i]);
    }
    pm::OpenDialogResult result(buffer.empty() ? nullptr : buffer.data(), buffer.size());
    pm::PathParts parts;
    std::size_t i = 0;
    for (; result.next(&parts); ++i) {
        CHECK(i < want.size() && parts.length() == want[i].size());
        std::u16string out(parts.length() + 1, u'#');
        parts.copy_to(&out[0]);
        CHECK(out.back() == 0);
        out.pop_back();
        CHECK(out == want[i]);
        // The extended form keeps every unit of the path after its prefix.
        std::u16string form(out.size() + pm::kOpenFormExtra + 1, u'#');
        const std::size_t n = pm::open_form(out.c_str(), out.size(), &form[0]);
        CHECK(n >= out.size() && n <= out.size() + pm::kOpenFormExtra && form[n] == 0);
    }
    CHECK(i == want.size());
    CHECK(!result.next(&parts));
}

void CheckTable(FuzzInput& in) {
    static char16_t names[pm::kMaxDocuments + 1][8];
    auto* table = new pm::DocumentTable();  // on the heap: an index past the end is caught
    std::vector<char16_t*> model;
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
    // Stretch short texts so that paths past the short-path limit occur;
    // odd bytes become units above the ASCII range.
    std::u16string buffer;
    const unsigned stretch = (mode >> 1) % 4 == 0 ? 40 : 1;
    for (std::size_t i = 0; i < in.rest_size(); ++i) {
        const std::uint8_t b = in.rest()[i];
        const char16_t unit = b & 0x80 ? char16_t(0xD7C0 + b) : char16_t(b);
        buffer.append(b ? stretch : 1, unit);
    }
    CheckDialogResult(buffer);
    const std::u16string name(buffer.c_str());
    const char16_t* part = pm::file_name_part(name.c_str());
    if (name.empty()) CHECK(part == nullptr);
    else CHECK(part >= name.c_str() && part <= name.c_str() + name.size() &&
               std::u16string(part).find_first_of(u"\\:") == std::u16string::npos);
    return 0;
}
