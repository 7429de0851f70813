// Paste: any clipboard text read by the hex reader, and any bytes written
// over any data and selection. The text is handed over in a heap block of
// exactly its size with no terminator, and the reader's output in a block
// of exactly its limit, so AddressSanitizer sees any read past the text or
// write past the limit. Checked: every copy form of the input's bytes reads
// back to exactly those bytes; a shorter limit gives the same first bytes;
// a paste writes min(n, room) bytes at its start and nothing else, and one
// undo restores the data exactly.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "control/core/copy_forms.h"
#include "control/core/edit.h"
#include "control/core/paste.h"
#include "fuzz_input.h"

namespace {

// Reads text through exact-size heap blocks; false when refused.
bool Read(const std::string& text, std::size_t limit, std::vector<std::uint8_t>* bytes,
          std::uint64_t* total) {
    std::unique_ptr<char[]> exact(new char[text.size() ? text.size() : 1]);
    std::memcpy(exact.get(), text.data(), text.size());
    std::unique_ptr<std::uint8_t[]> out(new std::uint8_t[limit ? limit : 1]);
    if (!pm::read_hex_text(exact.get(), text.size(), out.get(), limit, total)) return false;
    CHECK(*total <= text.size() / 2 + 1);
    bytes->assign(out.get(), out.get() + (*total < limit ? *total : limit));
    return true;
}

void RoundTrips(const std::vector<std::uint8_t>& all, pm::u32 lo, pm::u32 hi) {
    pm::View v;
    v.data = const_cast<std::uint8_t*>(all.data());
    v.data_size = pm::u32(all.size());
    v.anchor = lo;
    v.caret = hi;
    for (pm::CopyForm form : {pm::CopyForm::hex, pm::CopyForm::db_list, pm::CopyForm::x_list}) {
        for (int which = 0; which < 2; ++which) {
            const pm::ByteRuns runs = which ? pm::unselected_bytes(v) : pm::selected_bytes(v);
            std::vector<char> block(std::size_t(pm::copy_block_size(form, runs.size())));
            const std::size_t len = pm::write_copy(form, runs, block.data());
            std::vector<std::uint8_t> want(runs.first, runs.first + runs.first_size), got;
            want.insert(want.end(), runs.second, runs.second + runs.second_size);
            std::uint64_t total = 0;
            CHECK(Read(std::string(block.data(), len), len / 2 + 1, &got, &total));
            CHECK(total == want.size() && got == want);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::uint16_t limit = in.take<std::uint16_t>();
    const std::uint16_t a = in.take<std::uint16_t>(), c = in.take<std::uint16_t>();
    const std::uint8_t flags = in.take<std::uint8_t>();
    const std::string text(reinterpret_cast<const char*>(in.rest()), in.rest_size());

    // Any text: within bounds, and a short limit keeps the same first bytes.
    std::vector<std::uint8_t> full, cut;
    std::uint64_t total = 0, total_cut = 0;
    const bool ok = Read(text, text.size() / 2 + 1, &full, &total);
    if (ok) {
        CHECK(full.size() == total);
        CHECK(Read(text, limit % (text.size() + 1), &cut, &total_cut));
        CHECK(total_cut == total && std::equal(cut.begin(), cut.end(), full.begin()));
    }

    // The input's own bytes through every copy form and back.
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    const pm::u32 n = pm::u32(bytes.size());
    RoundTrips(bytes, n ? a % (n + 1) : 0, n ? c % (n + 1) : 0);

    // A paste of the bytes read (or of the raw text, as the text view
    // pastes) over data of its own, exactly sized.
    const std::vector<std::uint8_t>& paste = ok && (flags & 1) ? full : bytes;
    const std::size_t data_size = 1 + limit % 64;
    std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[data_size]);
    for (std::size_t i = 0; i < data_size; ++i) block[i] = std::uint8_t(i * 13);
    const std::vector<std::uint8_t> original(block.get(), block.get() + data_size);
    pm::View v;
    v.data = block.get();
    v.data_size = pm::u32(data_size);
    v.own_data = true;
    v.bytes_per_line = 16;
    v.rows = 2;
    v.read_only = (flags & 6) == 6 ? 1 : 0;
    v.anchor = a % (data_size + 1);
    v.caret = c % (data_size + 1);
    v.history.start();
    const pm::u32 start = v.sel_lo();
    const pm::PasteOutcome out = pm::paste_bytes(v, paste.data(), paste.size());
    const std::size_t room = data_size - start;
    const std::size_t want = v.read_only ? 0 : (paste.size() < room ? paste.size() : room);
    CHECK(out.written == want);
    CHECK(out.beep == (want < paste.size() || want == 0));
    for (std::size_t i = 0; i < data_size; ++i)
        CHECK(block[i] == (i >= start && i < start + want ? paste[i - start] : original[i]));
    if (want) {
        CHECK(v.caret == start + want && v.anchor == v.caret);
        pm::undo_step(v);
        CHECK(std::memcmp(block.get(), original.data(), data_size) == 0);
    }
    return 0;
}
