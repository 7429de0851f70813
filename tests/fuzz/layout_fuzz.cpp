// Layout and colour pass with extreme font metrics, sizes, data sizes of
// every Offset,
// scroll positions, selections and recency lists: every result must stay
// within its bounds and no cell array may be read or written out of range,
// even after a colour pass was cut short by an allocation that failed.
#include <cstdlib>
#include <new>

#include "control/core/colour_pass.h"
#include "control/core/layout.h"
#include "fuzz_input.h"

using namespace pm;

// Allocations that succeed before one fails, as in an exhausted heap; -1: all.
static int g_allocations_left = -1;

void* operator new(std::size_t n) {
    if (g_allocations_left >= 0 && g_allocations_left-- == 0) throw std::bad_alloc();
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return std::malloc(n ? n : 1); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    View v;
    set_default_colours(v);
    v.data_size = in.take<Offset>();
    const i32 W = in.take<std::int16_t>(), H = in.take<std::int16_t>();
    apply_font_metrics(v, W, H);
    v.first_visible_line = in.take<Offset>();
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
    v.anchor = in.take<Offset>();
    v.caret = in.take<Offset>();
    v.recency_count = in.take<u8>() % (recency_max + 1);
    for (u32 i = 0; i < recency_max; ++i) v.recency[i] = in.take<Offset>();
    if (v.rows > 4096) v.rows = 4096;  // keep the arrays a sane size
    g_allocations_left = int(in.take<u8>() % 3) - 1;
    try { colour_pass(v); } catch (const std::bad_alloc&) {}
    g_allocations_left = -1;
    const u32 count = colour_pass(v);
    CHECK(v.hex_colours.size() > count && v.text_colours.size() > count);
    return 0;
}
