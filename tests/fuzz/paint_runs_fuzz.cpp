// The paint pass's run splitting with extreme sizes, scroll positions,
// selections and update rectangles: every run stays inside its line, its
// characters are the bytes it stands for, and no byte past the data is read.
#include <cstdlib>
#include <vector>

#include "control/core/colour_pass.h"
#include "control/core/hextext.h"
#include "control/core/layout.h"
#include "control/core/paint_runs.h"
#include "fuzz_input.h"

using namespace pm;


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool table_built = (build_hex_text(), true);
    (void)table_built;
    FuzzInput in(data, size);
    View v;
    set_default_colours(v);
    const u32 n = in.take<u32>() % (1u << 17);
    std::vector<u8> block(n);
    for (u32 i = 0; i < n; ++i) block[i] = u8(i * 131 + 7);
    v.data = n ? block.data() : nullptr;
    v.data_size = n;
    const i32 W = in.take<std::uint16_t>() % 2000, H = in.take<std::uint16_t>() % 200;
    apply_font_metrics(v, W, H);
    const i32 w = in.take<std::int16_t>(), h = in.take<std::int16_t>();
    v.first_visible_line = in.take<u32>();
    compute_size(v, w, h);
    v.last_line = last_line_for(n, v.bytes_per_line);  // as handing over the data sets it
    if (v.rows > 2048) return 0;  // a taller view than any screen
    if (v.first_visible_line > v.last_line) v.first_visible_line = v.last_line;
    const u32 ends[] = {0, 1, n, n + 1, 0xFFFFFFFF};
    const u8 how = in.take<u8>();
    v.anchor = (how & 1) ? ends[in.take<u8>() % 5] : in.take<u32>() % (n + 1);
    v.caret = (how & 2) ? ends[in.take<u8>() % 5] : in.take<u32>() % (n + 1);
    if (v.anchor > n) v.anchor = n;
    if (v.caret > n) v.caret = n;
    v.recency_count = in.take<u8>() % (recency_max + 1);
    for (u32 i = 0; i < recency_max; ++i) v.recency[i] = in.take<u32>() % (n + 64);
    if (how & 4) colour_pass(v);  // else: colour arrays stale or empty

    const i32 top = in.take<i32>(), bottom = in.take<i32>();
    const ScreenSpan span = paint_span(v, top, bottom);
    CHECK(span.first <= span.stop);
    CHECK(span.stop <= std::uint64_t(v.rows) * v.bytes_per_line);
    LineBuffers buffers;
    PaintRuns runs(v, span, buffers);
    PaintRun run;
    std::uint64_t p = std::uint64_t(v.first_visible_line) * v.bytes_per_line + span.first;
    u32 screen = span.first, total = 0;
    while (runs.next(run)) {
        CHECK(run.count >= 1 && run.column + run.count <= v.bytes_per_line);
        CHECK(run.line < v.rows && run.line * v.bytes_per_line + run.column == screen);
        for (u32 k = 0; k < run.count; ++k, ++p) {
            CHECK(p < n);
            // Two upper-case digits and a space; a dot for all but 0x21-0x7E.
            CHECK(run.hex_chars[3 * k] == "0123456789ABCDEF"[block[p] / 16]);
            CHECK(run.hex_chars[3 * k + 1] == "0123456789ABCDEF"[block[p] % 16]);
            CHECK(run.hex_chars[3 * k + 2] == ' ');
            CHECK(run.text_chars[k] == (block[p] > 0x20 && block[p] < 0x7F ? char(block[p]) : '.'));
        }
        screen += run.count;
        total += run.count;
        CHECK(total <= span.stop - span.first);
        const Rect hr = run_hex_rect(v, run.line, run.column, run.count);
        CHECK(hr.left >= v.hex_rect.left && hr.right <= v.hex_rect.right);
    }
    if (runs.data_ended()) {
        CHECK(p == n);
        const Rect t = hex_tail(v, runs.tail_line(), runs.tail_column());
        CHECK(t.left <= t.right);
    }
    const Rect b = blank_rows(v, span);
    CHECK(b.top <= b.bottom);
    return 0;
}
