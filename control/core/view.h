// The portable part of a control's state: selection, geometry, colours and
// the data it shows. No window-system types; the Win32 shell derives its
// state record from this and adds handles.
#pragma once
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "control/core/history.h"
#include "control/core/offset.h"
#include "control/core/originals.h"

namespace pm {

using u32 = std::uint32_t;
using i32 = std::int32_t;
using u8 = std::uint8_t;

using Colour = u32;  // 0x00BBGGRR

struct Rect {
    i32 left, top, right, bottom;
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// Colour slots: the twelve first colours of the pairs, then the twelve
// second colours, so that pair n writes slot n and slot 12 + n.
enum ColourSlot : unsigned {
    offset_grad_start_color, header_grad_start_color, header_info_text_color,
    header_addr_text_color, view2_bk_color, view3_bk_color, sel2_bk_color,
    sel3_bk_color, char_bk_color, modified1_bytes_bk_color,
    modified2_bytes_bk_color, modified3_bytes_bk_color,
    offset_grad_end_color, header_grad_end_color, view1_text_color,
    header_input_mode_text_color, view2_text_color, view3_text_color,
    sel2_text_color, sel3_text_color, char_text_color,
    modified1_bytes_text_color, modified2_bytes_text_color,
    modified3_bytes_text_color,
    colour_slot_count
};

extern const Colour default_colours[colour_slot_count];

// One cell's colours in the colour arrays.
struct CellColours {
    Colour bk, text;
    bool operator==(const CellColours& o) const { return bk == o.bk && text == o.text; }
    bool operator!=(const CellColours& o) const { return !(*this == o); }
};

// Source of the colour arrays' memory (released with ::operator delete).
// Replaceable so that tests can make a growth fail; returns null when out
// of memory.
using ColourMemory = void* (*)(std::size_t bytes);
ColourMemory set_colour_memory(ColourMemory source);
void* default_colour_memory(std::size_t bytes);
void* colour_memory(std::size_t bytes);

// The colour arrays' allocator: throws std::bad_alloc when the source
// gives no memory.
template <class T>
struct ColourAllocator {
    using value_type = T;
    ColourAllocator() = default;
    template <class U>
    ColourAllocator(const ColourAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) {
        void* p = n <= std::size_t(-1) / sizeof(T) ? colour_memory(n * sizeof(T)) : nullptr;
        if (!p) throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t) noexcept { ::operator delete(p); }
};
template <class T, class U>
bool operator==(const ColourAllocator<T>&, const ColourAllocator<U>&) { return true; }
template <class T, class U>
bool operator!=(const ColourAllocator<T>&, const ColourAllocator<U>&) { return false; }

using ColourArray = std::vector<CellColours, ColourAllocator<CellColours>>;

// What wrote bytes into the block; the numbers of the control's protocol.
enum ChangeCause : u32 { cause_typing = 1, cause_paste, cause_undo, cause_redo, cause_write };

enum : u32 { recency_max = 24, max_bytes_per_line = 64, hex_view = 0, text_view = 1 };

struct View {
    void* window = nullptr;  // the window handle; opaque to the core

    // Colour arrays: entry i belongs to the i-th visible byte.
    ColourArray hex_colours;
    ColourArray text_colours;

    Colour colours[colour_slot_count] = {};

    Rect offset_rect{}, hex_rect{}, text_rect{}, data_rect{}, client{};

    u32 bytes_per_line = 8;
    u32 fixed_bytes_per_line = 0;  // 0: as many as fit; else 8, 16 or 32
    u32 rows = 1;
    Offset first_visible_line = 0;
    u32 nibble_phase = 0;
    Offset data_size = 0;
    u32 offset_base = 0;  // 32-bit, as the settings keep it
    Offset last_line = 0;
    i32 char_width = 0;
    i32 line_height = 0;
    // Hex digits of the offset column and the header value: 8, or more
    // where the largest offset shown needs them (see layout.h).
    u32 offset_digits = 8;
    Offset anchor = 0;
    Offset caret = 0;
    Offset previous_caret = 0;
    u8* data = nullptr;
    u32 auto_scroll = 0;  // 0 none, 1 up, 2 down
    u32 active_view = hex_view;
    Offset recency[recency_max] = {};
    u32 recency_count = 0;
    u32 shift_down = 0;
    u32 control_down = 0;
    u32 read_only = 0;
    // True only while data handed over by a host is attached: a control
    // showing the placeholder never writes and never walks a history.
    bool own_data = false;

    History history;
    // The bytes as they were when the block was attached, for every byte
    // written since: the block is changed while any of them differs.
    Originals originals;

    // Bytes written while the current message is handled, for the one
    // notification sent when it is done: [changed_lo, changed_hi), by the
    // cause of the last write.
    bool change_pending = false;
    Offset changed_lo = 0, changed_hi = 0;
    u32 changed_cause = 0;

    Colour colour(ColourSlot s) const { return colours[s]; }
    i32 header_height() const { return line_height + 1; }
    i32 rows_bottom() const { return i32(rows) * line_height + header_height(); }
    Offset sel_lo() const { return anchor < caret ? anchor : caret; }
    Offset sel_hi() const { return anchor < caret ? caret : anchor; }
    bool has_selection() const { return anchor != caret; }
    Offset caret_line() const { return caret / bytes_per_line; }
    u32 caret_column() const { return u32(caret % bytes_per_line); }
    // Right edge of the offset column: its digits, one character each.
    i32 offset_right() const { return i32(offset_digits) * char_width; }
};

void set_default_colours(View& v);

// Stores pair n (0..11) of the colour table.
void set_colour_pair(View& v, unsigned pair, Colour first, Colour second);

}  // namespace pm
