// Dialog keys in any host: a modeless dialog needs IsDialogMessage in the
// message loop, which a host's plain GetMessage, TranslateMessage and
// DispatchMessage loop never calls. While a dialog exists, a hook on the
// thread's message retrieval hands the keys meant for one of the library's
// dialogs to IsDialogMessage, and the loop then sees a WM_NULL. Each dialog
// has a hook of its own, so dialogs of several threads never meet.
#include "control/control.h"

namespace {

// Marks the library's own dialogs, so that a hook routes keys to them only.
constexpr char kDialogProperty[] = "Pelomar.Dialog";

LRESULT CALLBACK GetMessageHook(int code, WPARAM removal, LPARAM lp) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && removal == PM_REMOVE && msg->message >= WM_KEYFIRST &&
        msg->message <= WM_KEYLAST && msg->hwnd) {
        HWND root = GetAncestor(msg->hwnd, GA_ROOT);
        if (root && GetPropA(root, kDialogProperty) && IsDialogMessageW(root, msg)) {
            msg->message = WM_NULL;
            msg->wParam = 0;
            msg->lParam = 0;
        }
    }
    return CallNextHookEx(nullptr, code, removal, lp);
}

}  // namespace

HHOOK RouteDialogKeys(HWND dialog) {
    SetPropA(dialog, kDialogProperty, dialog);
    return SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
}

void StopRoutingDialogKeys(HWND dialog, HHOOK hook) {
    if (hook) UnhookWindowsHookEx(hook);
    RemovePropA(dialog, kDialogProperty);
}

void FocusFirstField(HWND dialog, int id) {
    // WM_NEXTDLGCTL moves the focus as Tab does: an edit gets all its text
    // selected, and the default button follows.
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
}

void HideDialog(HWND dialog, Control* c) {
    EndDialog(dialog, 0);
    if (IsWindowVisible(c->hwnd())) SetFocus(c->hwnd());
}
