// The Select dialog: a modeless dialog per control that selects a range
// typed as two hexadecimal offsets, as the offset column shows them.
#include "control/control.h"
#include "control/core/hex_input.h"
#include "control/dialog_ids.h"

namespace {

// Room for any offset with spaces and a "0x"; a longer text is refused
// by its value, never cut.
constexpr int kOffsetLimit = 256;

Control* ControlOf(HWND dlg) {
    return reinterpret_cast<Control*>(GetWindowLongPtrW(dlg, GWLP_USERDATA));
}

// The field's offset by the typed-hex rule: white space ignored, "0x"
// accepted, up to the offset type's width (16 digits in the 64-bit build,
// 8 in the 32-bit one). Anything else is refused with a message box and
// the field gets the focus. An empty field is 0.
bool ReadOffset(HWND dlg, int id, pm::Offset* value) {
    WCHAR text[kOffsetLimit] = {};
    const int n = GetDlgItemTextW(dlg, id, text, kOffsetLimit);
    std::uint16_t units[kOffsetLimit];
    for (int i = 0; i < n; ++i) units[i] = static_cast<std::uint16_t>(text[i]);
    pm::u8 digits[kOffsetLimit];
    const pm::HexInput in = pm::read_hex_input(units, static_cast<std::size_t>(n), digits);
    if (in.ok && pm::hex_input_number(digits, in.digits, value)) return true;
    FocusFirstField(dlg, id);
    if (!in.ok) {
        std::uint16_t message[32];
        pm::refused_digit_message(in.refused, message);
        MessageBoxW(dlg, reinterpret_cast<const wchar_t*>(message), nullptr, MB_OK);
    } else {
        MessageBoxA(dlg, pm::kNeedSmallerNumber, nullptr, MB_OK);
    }
    return false;
}

INT_PTR OnInitDialog(HWND dlg, Control* c) {
    SetWindowLongPtrW(dlg, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(c));
    c->select_hook = RouteDialogKeys(dlg);
    ShowWindow(dlg, SW_SHOW);
    c->select_dialog = dlg;
    FocusFirstField(dlg, IDC_SELECT_START);
    return FALSE;  // the focus is set
}

INT_PTR OnSelectCommand(HWND dlg, Control* c, WPARAM wp) {
    switch (wp) {
    case IDOK:  // Enter without a default button; there is one, but a host may send it
    case IDC_SELECT_OK: {
        pm::Offset start = 0, end = 0;
        if (!ReadOffset(dlg, IDC_SELECT_START, &start) || !ReadOffset(dlg, IDC_SELECT_END, &end))
            return TRUE;
        SendMessageW(c->hwnd(), PM_SELECTRANGE, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
        HideDialog(dlg, c);
        return TRUE;
    }
    case IDCANCEL:  // Esc
    case IDC_SELECT_CANCEL: HideDialog(dlg, c); return TRUE;
    default: return TRUE;
    }
}

INT_PTR CALLBACK SelectDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) return OnInitDialog(dlg, reinterpret_cast<Control*>(lp));
    Control* c = ControlOf(dlg);
    if (!c) return FALSE;
    switch (msg) {
    case WM_COMMAND: return OnSelectCommand(dlg, c, wp);
    case WM_CLOSE: HideDialog(dlg, c); return TRUE;
    case WM_DESTROY:
        StopRoutingDialogKeys(dlg, c->select_hook);
        c->select_hook = nullptr;
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
        FocusFirstField(c->select_dialog, IDC_SELECT_START);
        return;
    }
    CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_SELECT), c->hwnd(), SelectDialogProc,
                       reinterpret_cast<LPARAM>(c));
}
