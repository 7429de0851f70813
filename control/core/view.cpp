// Default colours and the colour table.
#include "control/core/view.h"

namespace pm {

const Colour default_colours[colour_slot_count] = {
    // first colours of pairs 0..11
    0xFF8080, 0x808080, 0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF,
    0xFF8080, 0x808000, 0x0000FF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
    // second colours of pairs 0..11; the offsets in navy, readable over the
    // whole offset gradient
    0xFFFFFF, 0xFFFFFF, 0x800000, 0x000000, 0x800000, 0x008000,
    0xC0FFC0, 0xFFFFFF, 0xFFFFFF, 0x0000F0, 0x0000B0, 0x000070,
};

void* default_colour_memory(std::size_t bytes) { return ::operator new(bytes, std::nothrow); }

static ColourMemory colour_source = default_colour_memory;

ColourMemory set_colour_memory(ColourMemory source) {
    ColourMemory old = colour_source;
    colour_source = source ? source : default_colour_memory;
    return old;
}

void* colour_memory(std::size_t bytes) { return colour_source(bytes); }

void set_default_colours(View& v) {
    for (unsigned i = 0; i < colour_slot_count; ++i) v.colours[i] = default_colours[i];
}

void set_colour_pair(View& v, unsigned pair, Colour first, Colour second) {
    if (pair >= colour_slot_count / 2) return;
    v.colours[pair] = first;
    v.colours[colour_slot_count / 2 + pair] = second;
}

}  // namespace pm
