// The Select dialog: a modeless dialog per control that selects a range
// typed as two hexadecimal offsets, as the offset column shows them.
#include "control/control.h"
#include "control/core/hextext.h"
#include "control/dialog_ids.h"

namespace {

constexpr int kOffsetDigits = 8;
constexpr int kOffsetLimit = kOffsetDigits + 1;  // with the zero

Control* ControlOf(HWND dlg) {
    return reinterpret_cast<Control*>(GetWindowLongPtrW(dlg, GWLP_USERDATA));
}

pm::u32 ReadOffset(HWND dlg, int id) {
    char text[kOffsetLimit] = {};
    GetDlgItemTextA(dlg, id, text, kOffsetLimit);
    return pm::parse_hex(text, kOffsetDigits);
}

INT_PTR OnInitDialog(HWND dlg, Control* c) {
    SetWindowLongPtrW(dlg, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(c));
    ShowWindow(dlg, SW_SHOW);
    c->select_dialog = dlg;
    return TRUE;
}

INT_PTR OnSelectCommand(HWND dlg, Control* c, WPARAM wp) {
    switch (wp) {
    case IDC_SELECT_OK: {
        pm::u32 start = ReadOffset(dlg, IDC_SELECT_START);
        pm::u32 end = ReadOffset(dlg, IDC_SELECT_END);
        SendMessageW(c->hwnd(), PM_SELECTRANGE, start, static_cast<LPARAM>(end));
        EndDialog(dlg, 0);
        return TRUE;
    }
    case IDC_SELECT_CANCEL: EndDialog(dlg, 0); return TRUE;
    default: return TRUE;
    }
}

INT_PTR CALLBACK SelectDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) return OnInitDialog(dlg, reinterpret_cast<Control*>(lp));
    Control* c = ControlOf(dlg);
    if (!c) return FALSE;
    switch (msg) {
    case WM_COMMAND: return OnSelectCommand(dlg, c, wp);
    case WM_CLOSE: EndDialog(dlg, 0); return TRUE;
    case WM_DESTROY:
        // Gone before its control (with the top-level window that really
        // owns it): the control must not destroy it again.
        if (c->select_dialog == dlg) c->select_dialog = nullptr;
        SetWindowLongPtrW(dlg, GWLP_USERDATA, 0);
        return FALSE;
    default: return FALSE;
    }
}

}  // namespace

void ShowSelectDialog(Control* c) {
    if (c->select_dialog) {
        ShowWindow(c->select_dialog, SW_SHOW);
        SetActiveWindow(c->select_dialog);
        return;
    }
    CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_SELECT), c->hwnd(), SelectDialogProc,
                       reinterpret_cast<LPARAM>(c));
}
