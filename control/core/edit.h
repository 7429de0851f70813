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

// Every write into the block goes between these two. begin_change keeps
// the originals of [lo, hi) before they change (false, changing nothing,
// when out of memory); end_change counts the range again and adds it to the
// change the current message will report, with its cause.
bool begin_change(View& v, Offset lo, Offset hi);
void end_change(View& v, Offset lo, Offset hi, u32 cause);
// Starts a new, empty history, and the bytes as they are now become the
// unchanged state; nothing is pending. The two go together: every byte a
// step of the history restores was kept by the write that recorded it.
// False when the history cannot be started (out of memory).
bool restart_history(View& v);
// True while some written byte differs from what the block held when it was
// attached (or at the last restart_history).
inline bool changed(const View& v) { return v.originals.differing() != 0; }

// Writes count bytes at offset as one undo step, by the rules of a paste:
// bytes that would fall past the end are not written, and nothing is
// written when typing is blocked by read-only 1, when no block of the
// host's is attached, or when the snapshots cannot be allocated. The caret
// and the selection stay; a half-typed hex byte ends. Returns the number of
// bytes written.
Offset write_bytes(View& v, Offset offset, const u8* bytes, Offset count, u32 cause);

// One undo or redo step, for a control showing a block of its host (none
// otherwise). A step that moves the history position ends a half-typed hex
// byte: the next digit starts a new edit with its own before-snapshot. A
// step that changes bytes scrolls the first of them into view; true when
// the view scrolled.
bool undo_step(View& v);
bool redo_step(View& v);

}  // namespace pm
