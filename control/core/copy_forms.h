// The text forms in which a control copies bytes to the clipboard: the raw
// bytes, upper-case hex digits, "db" lists and quoted "\x" strings. Each
// form is written in one pass into a block sized before writing.
#pragma once
#include <cstddef>
#include <cstdint>

#include "control/core/view.h"

namespace pm {

enum class CopyForm : std::uint32_t { ansi, hex, db_list, x_list };

// The bytes of one copy: up to two runs that follow each other without a
// break of their own (the bytes before and after a selection).
struct ByteRuns {
    const std::uint8_t* first = nullptr;
    std::size_t first_size = 0;
    const std::uint8_t* second = nullptr;
    std::size_t second_size = 0;
    std::uint64_t size() const { return std::uint64_t(first_size) + second_size; }
};

// The selected bytes, and every byte but the selected ones.
ByteRuns selected_bytes(const View& v);
ByteRuns unselected_bytes(const View& v);

// Size of the block a copy of n bytes needs, text and terminating zero
// included: 2n + 1 for the raw and hex forms, 5n + n/4 + 5 for the lists.
// Computed in 64 bits; a size past them is the largest 64-bit number, which
// no allocation meets, so that no byte count wraps it.
std::uint64_t copy_block_size(CopyForm form, std::uint64_t n);

// Writes the text of form for bytes, then a zero byte, into block, which
// holds at least copy_block_size(form, bytes.size()) bytes. Returns the
// length of the text without its zero byte.
std::size_t write_copy(CopyForm form, const ByteRuns& bytes, char* block);

}  // namespace pm
