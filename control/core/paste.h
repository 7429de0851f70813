// Paste: clipboard text read back as bytes, and the bytes written over the
// data from the selection's start or the caret. The data never grows.
#pragma once
#include <cstddef>
#include <cstdint>

#include "control/core/view.h"

namespace pm {

// Reads text[0, n) as hex text: the control's own copy forms (plain hex
// digits, "db" lists, quoted "\x" strings, also as the not-selection forms
// write them) and hex as other tools print it (digits in groups separated
// by spaces, commas or line breaks, each group with an optional "0x").
// Never reads past text + n: no terminator is needed or looked for.
// Writes the first limit bytes to out and the number of bytes the text
// holds to *total. False for text that is none of these forms; then out
// and *total mean nothing.
bool read_hex_text(const char* text, std::size_t n, std::uint8_t* out, std::size_t limit,
                   std::uint64_t* total);

struct PasteOutcome {
    Offset written;  // bytes written, from the selection's start or the caret
    bool beep;       // fewer bytes written than given, or none
    bool scrolled;   // the view moved to show the caret
};

// Overwrites the data with bytes[0, n) from the start of the selection, or
// from the caret, as one undo step whose snapshots hold only the written
// range. Bytes past the end of the data are not written. Writes nothing in
// a read-only control, on the placeholder or when the snapshots cannot be
// allocated. Afterwards the caret stands behind the last byte written, in
// view, with no selection, and the written bytes are the newest in the
// recency list.
PasteOutcome paste_bytes(View& v, const std::uint8_t* bytes, Offset n);

}  // namespace pm
