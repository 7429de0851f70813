// Typing into the edit range.
#include "control/core/edit.h"

#include "control/core/hextext.h"
#include "control/core/place.h"
#include "control/core/recency.h"

#include <cstring>

namespace pm {

bool begin_change(View& v, Offset lo, Offset hi) { return v.originals.keep(v.data, lo, hi); }

void end_change(View& v, Offset lo, Offset hi, u32 cause) {
    v.originals.recount(v.data, lo, hi);
    if (!v.change_pending) {
        v.changed_lo = lo;
        v.changed_hi = hi;
    } else {
        if (lo < v.changed_lo) v.changed_lo = lo;
        if (hi > v.changed_hi) v.changed_hi = hi;
    }
    v.change_pending = true;
    v.changed_cause = cause;
}

bool restart_history(View& v) {
    v.originals.clear();
    v.change_pending = false;
    return v.history.start();
}

Offset write_bytes(View& v, Offset offset, const u8* bytes, Offset count, u32 cause) {
    if (v.read_only == 1 || !v.own_data || !v.data || !bytes || offset >= v.data_size) return 0;
    const Offset room = v.data_size - offset;
    const Offset n = count < room ? count : room;
    if (n == 0) return 0;
    u8* const p = v.data + offset;
    if (!begin_change(v, offset, offset + n) || !v.history.record(p, n)) return 0;
    if (!v.history.reserve(n)) {
        v.history.revert_record();
        return 0;
    }
    std::memmove(p, bytes, std::size_t(n));  // the bytes may come from the block itself
    v.history.record(p, n);     // takes the reserved block: cannot fail
    note_modified_range(v, offset, offset + n);
    v.nibble_phase = 0;
    end_change(v, offset, offset + n, cause);
    return n;
}

TypeOutcome type_char(View& v, u32 ch) {
    TypeOutcome out{};
    if (v.control_down || !v.own_data || !v.data || v.data_size == 0) return out;
    if (v.anchor > v.data_size || v.caret > v.data_size) return out;
    const bool selection = v.has_selection();
    if (!selection && v.caret >= v.data_size) return out;  // the end position holds no byte
    const Offset lo = selection ? v.sel_lo() : v.caret;
    const Offset hi = selection ? v.sel_hi() : v.caret + 1;
    const Offset length = hi - lo;
    u8* const p = v.data + lo;
    const u8 code = u8(ch & 0xFF);

    unsigned digit = 0;
    const bool hex = v.active_view == hex_view;
    if (hex && !hex_digit(code, &digit)) return out;
    if (v.read_only == 1) {
        out.refused = true;
        return out;
    }
    // A character typed into the text view always starts a new edit: a hex
    // byte left half typed there has its snapshots already.
    if (!hex) v.nibble_phase = 0;
    const bool high = v.nibble_phase == 0;

    // Both snapshots are secured before the first byte changes, so an edit
    // either happens whole, undoable, or not at all.
    if (!begin_change(v, lo, hi)) return out;
    if (high && !v.history.record(p, length)) return out;
    if (!v.history.reserve(length)) {
        if (high) v.history.revert_record();
        return out;
    }

    if (!hex) {
        for (Offset i = 0; i < length; ++i) p[i] = code;
    } else if (high) {
        const u8 nibble = u8(digit << 4);
        for (Offset i = 0; i < length; ++i) p[i] = u8((p[i] & 0x0F) | nibble);
    } else {
        for (Offset i = 0; i < length; ++i) p[i] = u8((p[i] & 0xF0) | digit);
    }
    note_modified_range(v, lo, hi);
    v.history.record(p, length);  // takes the reserved block: cannot fail
    end_change(v, lo, hi, cause_typing);
    out.changed = true;

    if (hex && high) {
        v.nibble_phase = 1;
        out.full_repaint = true;
        return out;
    }
    v.nibble_phase = 0;
    out.full_repaint = hex || selection;
    out.advance = !selection;
    return out;
}

// A step that is offered (can undo or can redo set) ends a half-typed
// byte, whatever it restores: the next digit starts a byte afresh. Every
// byte a step restores was kept by the write that recorded it.
static bool history_step(View& v, bool (History::*step)(), u32 offered, u32 cause) {
    if (!v.own_data) return false;
    if (offered) v.nibble_phase = 0;
    if (!(v.history.*step)()) return false;
    const HistoryRecord* r = v.history.restored();
    const Offset lo = Offset(r->position - v.data);
    end_change(v, lo, lo + r->length, cause);
    return reveal(v, Offset(v.history.changed_at() - v.data));
}

bool undo_step(View& v) { return history_step(v, &History::undo, v.history.can_undo, cause_undo); }
bool redo_step(View& v) { return history_step(v, &History::redo, v.history.can_redo, cause_redo); }

}  // namespace pm
