// Typing into the edit range.
#include "control/core/edit.h"

#include "control/core/hextext.h"
#include "control/core/place.h"
#include "control/core/recency.h"

namespace pm {

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
// byte, whatever it restores: the next digit starts a byte afresh.
static bool history_step(View& v, bool (History::*step)(), u32 offered) {
    if (!v.own_data) return false;
    if (offered) v.nibble_phase = 0;
    const bool changed = (v.history.*step)();
    return changed && reveal(v, Offset(v.history.changed_at() - v.data));
}

bool undo_step(View& v) { return history_step(v, &History::undo, v.history.can_undo); }
bool redo_step(View& v) { return history_step(v, &History::redo, v.history.can_redo); }

}  // namespace pm
