// Layout and colour pass with extreme font metrics, sizes, data sizes,
// scroll positions, selections and recency lists: every result must stay
// within its bounds and no cell array may be read or written out of range.
#include <cstdlib>

#include "control/core/colour_pass.h"
#include "control/core/layout.h"
#include "fuzz_input.h"

using namespace pm;


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    View v;
    set_default_colours(v);
    v.data_size = in.take<u32>() % (1u << 31);
    const i32 W = in.take<std::int16_t>(), H = in.take<std::int16_t>();
    apply_font_metrics(v, W, H);
    v.first_visible_line = in.take<u32>();
    for (int step = 0; step < 4; ++step) {
        const i32 w = in.take<std::int16_t>(), h = in.take<std::int16_t>();
        const SizeOutcome out = compute_size(v, w, h);
        if (!out.applied) continue;
        CHECK(v.bytes_per_line >= 4 && v.bytes_per_line <= max_bytes_per_line);
        CHECK(v.rows >= 1);
        CHECK(v.last_line == last_line_for(v.data_size, v.bytes_per_line));
        CHECK(v.first_visible_line <= v.last_line);
    }
    if (v.last_line < v.first_visible_line) v.first_visible_line = v.last_line;
    v.anchor = in.take<u32>();
    v.caret = in.take<u32>();
    v.recency_count = in.take<u8>() % (recency_max + 1);
    for (u32 i = 0; i < recency_max; ++i) v.recency[i] = in.take<u32>();
    if (v.rows > 4096) v.rows = 4096;  // keep the arrays a sane size
    const u32 count = colour_pass(v);
    CHECK(v.hex_colours.size() >= std::size_t(count) + 1);
    CHECK(v.text_colours.size() == v.hex_colours.size());
    return 0;
}
