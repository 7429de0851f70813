// The paint pass without the drawing: which rows an update rectangle
// touches, how the visible bytes of those rows split into runs of equal
// hex-view colours, and what is left to clear after the last byte. The
// shell turns every run into one text call per view.
#pragma once
#include "control/core/view.h"

namespace pm {

// Room for one full line: a run never spans two lines.
struct LineBuffers {
    char hex[3 * max_bytes_per_line];
    char text[max_bytes_per_line];
};

// Screen indices (visible bytes counted from the first byte of the first
// visible line) of the rows an update rectangle touches: [first, stop).
struct ScreenSpan {
    u32 first;
    u32 stop;
};

// Rows touched by the client rows update_top to update_bottom (bottom
// exclusive). A row only partly inside the rectangle counts: it is drawn
// whole. Rows past the last shown row never count.
ScreenSpan paint_span(const View& v, i32 update_top, i32 update_bottom);

// The character a byte shows in the text view: 0x21 to 0x7E as themselves,
// everything else as a dot.
inline char text_char(u8 b) { return (b >= 0x21 && b <= 0x7E) ? char(b) : '.'; }

struct PaintRun {
    u32 line;    // visible row
    u32 column;  // column of the first byte
    u32 count;   // bytes in the run
    CellColours hex;   // colours of the run's hex cells
    CellColours text;  // text-view colours of the run's first byte, for all of it
    const char* hex_chars;   // 3 * count characters
    const char* text_chars;  // count characters
};

// Cuts the rows of a span into runs, one at a time, into caller-owned line
// buffers: the walk allocates nothing. Colour-array entries the last colour
// pass did not reach read as the plain colours.
class PaintRuns {
public:
    PaintRuns(const View& v, ScreenSpan span, LineBuffers& buffers);

    // The next run, or false when the span or the data is exhausted. The
    // characters stay valid until the next call.
    bool next(PaintRun& run);

    // After the walk: the data ended inside the span after at least one run.
    bool data_ended() const { return drawn_ && p_ >= end_; }
    // Row and first free column of the last line drawn (when data_ended()).
    u32 tail_line() const { return last_line_; }
    u32 tail_column() const { return last_column_; }

private:
    CellColours hex_at(u32 i) const;
    CellColours text_at(u32 i) const;

    const View& v_;
    LineBuffers& buf_;
    std::uint64_t p_;    // data index of the next byte
    std::uint64_t end_;  // data size (0 when there is no block)
    std::uint64_t i_;    // screen index of the next byte
    std::uint64_t stop_;
    bool drawn_ = false;
    u32 last_line_ = 0, last_column_ = 0;
};

// Pixel rectangles of a run's cells in the two views.
Rect run_hex_rect(const View& v, u32 line, u32 column, u32 count);
Rect run_text_rect(const View& v, u32 line, u32 column, u32 count);

// After the data ended in a pass: the rest of the last drawn line, from
// the cell after the last byte to each view's right edge (empty when the
// byte filled the line).
Rect hex_tail(const View& v, u32 line, u32 column);
Rect text_tail(const View& v, u32 line, u32 column);

// The rows of a span that lie wholly below the data, across both views and
// the gap between them (empty when there are none). Filling them with the
// full-clear colour keeps what the full clear left there, so a view whose
// last rows hold no data can never show bytes drawn there before.
Rect blank_rows(const View& v, ScreenSpan span);

}  // namespace pm
