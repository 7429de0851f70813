// Typing: a hex digit or a character written over the edit range (the
// selection, or the caret's byte), bracketed by undo snapshots.
#pragma once
#include "control/core/view.h"

namespace pm {

struct TypeOutcome {
    bool changed;       // bytes were written
    bool full_repaint;  // the caller repaints the whole window
    bool advance;       // the caller steps on like an unshifted Right key
    bool refused;       // read-only stopped a byte that would have been written
};

// Types the low byte of ch into the active view. Writes nothing at all when
// typing is blocked (read-only 1, Ctrl held, no block of the host's
// attached, no byte at the caret, a non-digit in the hex view) or when an
// undo snapshot cannot be allocated.
TypeOutcome type_char(View& v, u32 ch);

// One undo or redo step, for a control showing a block of its host (none
// otherwise). A step that moves the history position ends a half-typed hex
// byte: the next digit starts a new edit with its own before-snapshot. A
// step that changes bytes scrolls the first of them into view; true when
// the view scrolled.
bool undo_step(View& v);
bool redo_step(View& v);

}  // namespace pm
