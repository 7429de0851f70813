// Notifications to the parent. A message gathers what it changes; when the
// outermost message is handled, at most one WM_NOTIFY of each kind goes out,
// so the parent may send the control anything from inside one.
#include <cstddef>

#include "control/control.h"
#include "control/core/edit.h"

// The header's own declarations must match the system's and the core's.
static_assert(sizeof(PELOMAR_NMHDR) == sizeof(NMHDR), "NMHDR layout");
static_assert(offsetof(PELOMAR_NMHDR, idFrom) == offsetof(NMHDR, idFrom), "NMHDR layout");
static_assert(offsetof(PELOMAR_NMHDR, code) == offsetof(NMHDR, code), "NMHDR layout");
static_assert(sizeof(PELOMAR_OFFSET) == sizeof(ULONG_PTR) && sizeof(pm::Offset) <= sizeof(PELOMAR_OFFSET),
              "offsets of the build's width");
constexpr bool SameCause(unsigned a, unsigned b) { return a == b; }
static_assert(SameCause(PM_CAUSE_TYPING, pm::cause_typing) && SameCause(PM_CAUSE_PASTE, pm::cause_paste) &&
                  SameCause(PM_CAUSE_UNDO, pm::cause_undo) && SameCause(PM_CAUSE_REDO, pm::cause_redo) &&
                  SameCause(PM_CAUSE_WRITE, pm::cause_write),
              "change causes");

static PELOMAR_NMHDR Header(HWND control, unsigned code) {
    return {control, static_cast<PELOMAR_OFFSET>(GetDlgCtrlID(control)), code};
}

void SendNotifications(Control* c, pm::Offset anchor, pm::Offset caret) {
    const bool change = c->change_pending;
    c->change_pending = false;
    const unsigned mask = c->notify_mask;
    if (!mask) return;
    const HWND control = c->hwnd();
    const HWND parent = GetParent(control);
    if (!parent) return;
    // The state goes first, the event after it: whatever the parent does in
    // reply is reported later, so the last selection it hears of is current.
    if (mask & PM_NOTIFY_SELCHANGE && (c->anchor != anchor || c->caret != caret)) {
        PELOMAR_NMSELCHANGE n{Header(control, PMN_SELCHANGE), c->anchor, c->caret};
        SendMessageA(parent, WM_NOTIFY, static_cast<WPARAM>(n.hdr.idFrom), reinterpret_cast<LPARAM>(&n));
        // The parent may have destroyed the control in reply.
        if (c->destroyed) return;
    }
    if (mask & PM_NOTIFY_CHANGE && change) {
        PELOMAR_NMCHANGE n{Header(control, PMN_CHANGE), c->changed_lo, c->changed_hi - c->changed_lo,
                           c->changed_cause, pm::changed(*c) ? 1u : 0u};
        SendMessageA(parent, WM_NOTIFY, static_cast<WPARAM>(n.hdr.idFrom), reinterpret_cast<LPARAM>(&n));
    }
}
