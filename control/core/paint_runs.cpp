// Run splitting of the paint pass.
#include "control/core/paint_runs.h"

#include <algorithm>

#include "control/core/colour_pass.h"
#include "control/core/hextext.h"

namespace pm {

ScreenSpan paint_span(const View& v, i32 update_top, i32 update_bottom) {
    const i32 lh = v.line_height;
    const u32 bpl = v.bytes_per_line;
    if (lh <= 0 || bpl == 0) return {0, 0};
    const i32 hh = v.header_height();
    const std::int64_t top = std::max<std::int64_t>(std::int64_t(update_top) - hh, 0);
    const std::int64_t bottom = std::max<std::int64_t>(std::int64_t(update_bottom) - hh, 0);
    const u32 first_row = u32(top / lh);
    // Rounded up: a row the rectangle only grazes is drawn too, or the
    // copy to the window would show whatever that row held before.
    const u32 stop_row = u32(std::min<std::int64_t>((bottom + lh - 1) / lh, v.rows));
    if (first_row >= stop_row) return {0, 0};
    return {first_row * bpl, stop_row * bpl};
}

PaintRuns::PaintRuns(const View& v, ScreenSpan span, LineBuffers& buffers)
    : v_(v),
      buf_(buffers),
      p_(std::uint64_t(visible_range(v).first) + span.first),
      end_(v.data ? v.data_size : 0),
      i_(span.first),
      stop_(span.stop) {}

CellColours PaintRuns::hex_at(u32 i) const {
    if (i < v_.hex_colours.size()) return v_.hex_colours[i];
    return {v_.colours[view2_bk_color], v_.colours[view2_text_color]};
}

CellColours PaintRuns::text_at(u32 i) const {
    if (i < v_.text_colours.size()) return v_.text_colours[i];
    return {v_.colours[view3_bk_color], v_.colours[view3_text_color]};
}

bool PaintRuns::next(PaintRun& run) {
    const u32 bpl = v_.bytes_per_line;
    if (bpl == 0 || p_ >= end_ || i_ >= stop_) return false;
    const u32 first = u32(i_);
    run.line = first / bpl;
    run.column = first % bpl;
    run.hex = hex_at(first);
    run.text = text_at(first);
    u32 column = run.column;
    u32 k = 0;
    for (;;) {
        const unsigned b = v_.data[p_];
        const char* cell = &hex_text[3 * b];
        buf_.hex[3 * k] = cell[0];
        buf_.hex[3 * k + 1] = cell[1];
        buf_.hex[3 * k + 2] = cell[2];
        buf_.text[k] = text_char(u8(b));
        ++k;
        ++p_;
        ++i_;
        ++column;
        if (column >= bpl || p_ >= end_ || k == max_bytes_per_line) break;
        if (hex_at(u32(i_)) != run.hex) break;
    }
    run.count = k;
    run.hex_chars = buf_.hex;
    run.text_chars = buf_.text;
    drawn_ = true;
    last_line_ = run.line;
    last_column_ = column;
    return true;
}

static Rect row_rect(const View& v, i32 left, i32 right, u32 line) {
    const i32 top = v.header_height() + i32(line) * v.line_height;
    return {left, top, right, top + v.line_height};
}

Rect run_hex_rect(const View& v, u32 line, u32 column, u32 count) {
    const i32 left = v.hex_rect.left + 3 * v.char_width * i32(column);
    return row_rect(v, left, left + 3 * v.char_width * i32(count), line);
}

Rect run_text_rect(const View& v, u32 line, u32 column, u32 count) {
    const i32 left = v.text_rect.left + v.char_width * i32(column);
    return row_rect(v, left, left + v.char_width * i32(count), line);
}

Rect hex_tail(const View& v, u32 line, u32 column) {
    const i32 left = v.hex_rect.left + 3 * v.char_width * i32(column);
    return row_rect(v, left, std::max(left, v.hex_rect.right), line);
}

Rect text_tail(const View& v, u32 line, u32 column) {
    const i32 left = v.text_rect.left + v.char_width * i32(column);
    return row_rect(v, left, std::max(left, v.text_rect.right), line);
}

Rect blank_rows(const View& v, ScreenSpan span) {
    const u32 bpl = v.bytes_per_line;
    if (bpl == 0 || span.first >= span.stop) return {0, 0, 0, 0};
    const u32 shown = v.data ? visible_range(v).count : 0;
    const u32 data_rows = shown / bpl + (shown % bpl != 0);
    const u32 first = std::max(span.first / bpl, data_rows);
    const u32 stop = span.stop / bpl;
    if (first >= stop) return {0, 0, 0, 0};
    const i32 hh = v.header_height();
    return {v.hex_rect.left, hh + i32(first) * v.line_height, v.text_rect.right,
            hh + i32(stop) * v.line_height};
}

}  // namespace pm
