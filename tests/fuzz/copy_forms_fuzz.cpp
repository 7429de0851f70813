// The six copy forms with any data and any selection, extreme offsets
// included: each is written into a block of exactly the computed size (so
// any overrun is caught), and its text must equal a plain rendering.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "control/core/copy_forms.h"
#include "fuzz_input.h"


using pm::CopyForm;

namespace {

std::string Plain(CopyForm form, const std::string& bytes) {
    std::string out;
    char cell[8];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned b = static_cast<unsigned char>(bytes[i]);
        const bool line_start = i % 16 == 0;
        switch (form) {
        case CopyForm::ansi: out += bytes[i]; break;
        case CopyForm::hex: std::snprintf(cell, sizeof cell, "%02X", b); out += cell; break;
        case CopyForm::db_list:
            if (line_start) out += i ? "\r\ndb " : "db ";
            else out += ',';
            std::snprintf(cell, sizeof cell, "0%02xh", b);
            out += cell;
            break;
        case CopyForm::x_list:
            if (line_start) out += i ? "\"\r\n\"" : "\"";
            std::snprintf(cell, sizeof cell, "\\x%02x", b);
            out += cell;
            break;
        }
    }
    if (form == CopyForm::x_list) out += '"';
    return out;
}

std::string Bytes(const pm::ByteRuns& r) {
    std::string s(reinterpret_cast<const char*>(r.first), r.first_size);
    if (r.second_size) s.append(reinterpret_cast<const char*>(r.second), r.second_size);
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::uint32_t ends[] = {0, 1, 0x7FFFFFFF, 0xFFFFFFFF};
    const std::uint8_t how = in.take<std::uint8_t>();
    std::uint32_t anchor = in.take<std::uint32_t>(), caret = in.take<std::uint32_t>();
    std::vector<std::uint8_t> block(in.rest(), in.rest() + in.rest_size());
    const std::uint32_t n = static_cast<std::uint32_t>(block.size());
    // Mostly within the data (end position included), sometimes anywhere.
    if (how & 1) anchor = ends[anchor % 4];
    else if (n) anchor %= n + 1;
    if (how & 2) caret = ends[caret % 4];
    else if (n) caret %= n + 1;

    pm::View v;
    v.data = block.empty() ? nullptr : block.data();
    v.data_size = n;
    v.anchor = anchor;
    v.caret = caret;
    const pm::u32 hi = v.sel_hi() < n ? v.sel_hi() : n;
    const pm::u32 lo = v.sel_lo() < hi ? v.sel_lo() : hi;
    const std::string all(block.begin(), block.end());
    const std::string selected = all.substr(lo, hi - lo);
    const std::string unselected = all.substr(0, lo) + all.substr(hi);

    for (CopyForm form : {CopyForm::ansi, CopyForm::hex, CopyForm::db_list, CopyForm::x_list}) {
        for (int which = 0; which < 2; ++which) {
            const pm::ByteRuns runs = which ? pm::unselected_bytes(v) : pm::selected_bytes(v);
            const std::string& want_bytes = which ? unselected : selected;
            CHECK(runs.size() == want_bytes.size() && Bytes(runs) == want_bytes);
            const std::uint64_t room = pm::copy_block_size(form, runs.size());
            std::vector<char> out(static_cast<std::size_t>(room));  // exact: ASan sees one byte more
            const std::size_t len = pm::write_copy(form, runs, out.data());
            CHECK(len + 1 <= room);
            CHECK(out[len] == 0);
            CHECK(std::string(out.data(), len) == Plain(form, want_bytes));
        }
    }
    return 0;
}
