// The colour pass.
#include "control/core/colour_pass.h"

#include <algorithm>
#include <exception>

namespace pm {

VisibleRange visible_range(const View& v) {
    const Offset first = mul_saturated(v.first_visible_line, v.bytes_per_line);
    if (first >= v.data_size) return {v.data_size, 0};
    const std::uint64_t shown = std::uint64_t(v.bytes_per_line) * v.rows;
    const Offset rest = v.data_size - first;
    return {first, u32(rest < shown ? rest : shown)};
}

// Grows both arrays to n entries, or neither: the new arrays are made
// first and only then take the place of the old ones.
static bool grow_colour_arrays(View& v, std::size_t n) {
    if (v.hex_colours.size() >= n && v.text_colours.size() >= n) return true;
    try {
        ColourArray hex(n), text(n);
        v.hex_colours.swap(hex);
        v.text_colours.swap(text);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

u32 colour_pass(View& v) {
    const VisibleRange r = visible_range(v);
    const Offset first = r.first;
    const u32 count = r.count;
    const Offset last = first + count;
    if (!grow_colour_arrays(v, std::size_t(count) + 1)) return 0;
    const CellColours plain_hex{v.colours[view2_bk_color], v.colours[view2_text_color]};
    const CellColours plain_text{v.colours[view3_bk_color], v.colours[view3_text_color]};
    std::fill_n(v.hex_colours.begin(), count, plain_hex);
    std::fill_n(v.text_colours.begin(), count, plain_text);

    static const ColourSlot level_bk[3] = {modified1_bytes_bk_color, modified2_bytes_bk_color,
                                           modified3_bytes_bk_color};
    static const ColourSlot level_text[3] = {modified1_bytes_text_color,
                                             modified2_bytes_text_color,
                                             modified3_bytes_text_color};
    const u32 n = std::min<u32>(v.recency_count, recency_max);
    for (u32 e = n; e-- > 0;) {
        const Offset index = v.recency[e];
        const u32 level = e / 8;
        if (index >= first && index <= last)
            v.hex_colours[index - first] = {v.colours[level_bk[level]], v.colours[level_text[level]]};
    }

    if (!v.has_selection()) {
        if (v.caret >= first && v.caret <= last) {
            v.hex_colours[v.caret - first] = {v.colours[view2_bk_color] ^ 0xFFFFFFu,
                                              v.colours[view2_text_color] ^ 0xFFFFFFu};
            v.text_colours[v.caret - first] = {v.colours[char_bk_color], v.colours[char_text_color]};
        }
    } else {
        const Offset lo = v.sel_lo(), hi = v.sel_hi();
        if (lo <= last && hi >= first) {
            const CellColours sel_hex{v.colours[sel2_bk_color], v.colours[sel2_text_color]};
            const CellColours sel_text{v.colours[sel3_bk_color], v.colours[sel3_text_color]};
            for (Offset i = std::max(lo, first); i != hi && i != last; ++i) {
                v.hex_colours[i - first] = sel_hex;
                v.text_colours[i - first] = sel_text;
            }
        }
    }
    return count;
}

}  // namespace pm
