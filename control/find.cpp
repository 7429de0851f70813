// The Find dialog: a modeless dialog per control that turns its text into
// a byte pattern and selects each occurrence in turn, wrapping once.
// Its search mode and next start live in the control's state record, so
// that each document's dialog searches on its own.
#include "control/control.h"
#include "control/core/pattern.h"
#include "control/core/search.h"
#include "control/dialog_ids.h"

namespace {

constexpr BYTE kOpaque = 255;
constexpr BYTE kTransparent = 122;
constexpr int kTextLimit = int(pm::max_search_text) + 1;  // with the zero

Control* ControlOf(HWND dlg) {
    return reinterpret_cast<Control*>(GetWindowLongPtrW(dlg, GWLP_USERDATA));
}

void SetMode(HWND dlg, Control* c, pm::u32 mode, int button) {
    c->find_mode = mode;
    CheckRadioButton(dlg, IDC_FIND_UTF8, IDC_FIND_HEX, button);
}

// Builds the pattern from the dialog's text in the control's search mode.
// False when there is nothing to search for.
bool BuildPattern(HWND dlg, const Control* c, bool reverse, pm::u8* pattern,
                  std::size_t* length) {
    if (c->find_mode == pm::search_hex) {
        char text[kTextLimit];
        int n = GetDlgItemTextA(dlg, IDC_FIND_TEXT, text, kTextLimit);
        if (!pm::hex_pattern(text, static_cast<std::size_t>(n), reverse, pattern, length)) {
            MessageBoxA(dlg, "Need one more number", nullptr, MB_OK);
            return false;
        }
        return true;
    }
    WCHAR wide[kTextLimit];
    int n = GetDlgItemTextW(dlg, IDC_FIND_TEXT, wide, kTextLimit);
    std::uint16_t units[kTextLimit];
    for (int i = 0; i < n; ++i) units[i] = static_cast<std::uint16_t>(wide[i]);
    auto count = static_cast<std::size_t>(n);
    *length = c->find_mode == pm::search_utf16 ? pm::utf16_pattern(units, count, reverse, pattern)
                                               : pm::utf8_pattern(units, count, reverse, pattern);
    return true;
}

void FindNext(HWND dlg, Control* c, bool reverse) {
    if (SendDlgItemMessageW(dlg, IDC_FIND_TEXT, WM_GETTEXTLENGTH, 0, 0) == 0) return;
    pm::u8 pattern[pm::max_pattern_bytes];
    std::size_t length = 0;
    if (!BuildPattern(dlg, c, reverse, pattern, &length) || length == 0) return;

    std::size_t p = 0;
    bool hit = pm::search(c->data, c->data_size, c->find_next_start, pattern, length, &p);
    if (!hit && c->find_next_start > 0)
        hit = pm::search(c->data, c->data_size, 0, pattern, length, &p);
    if (!hit) {
        c->find_next_start = 0;  // a miss reports nothing and keeps the selection
        return;
    }
    const auto at = static_cast<pm::Offset>(p);
    c->find_next_start = at + 1;
    // Shown offsets, at the Offset width as the control reads them back.
    const pm::Offset start = c->offset_base + at;
    const pm::Offset end = start + static_cast<pm::Offset>(length);
    SendMessageW(c->hwnd(), PM_SELECTRANGE, static_cast<WPARAM>(start),
                 static_cast<LPARAM>(end));
}

INT_PTR OnInitDialog(HWND dlg, Control* c) {
    c->find_mode = pm::search_utf8;
    c->find_next_start = 0;
    CheckDlgButton(dlg, IDC_FIND_UTF8, BST_CHECKED);
    SetWindowLongPtrW(dlg, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(c));
    SetLayeredWindowAttributes(dlg, 0, kOpaque, LWA_ALPHA);
    ShowWindow(dlg, SW_SHOW);
    c->find_dialog = dlg;
    return TRUE;
}

INT_PTR OnFindCommand(HWND dlg, Control* c, WPARAM wp) {
    bool reverse = IsDlgButtonChecked(dlg, IDC_FIND_REVERSE) == BST_CHECKED;
    switch (wp) {
    case IDC_FIND_UTF8: SetMode(dlg, c, pm::search_utf8, IDC_FIND_UTF8); return TRUE;
    case IDC_FIND_UTF16: SetMode(dlg, c, pm::search_utf16, IDC_FIND_UTF16); return TRUE;
    case IDC_FIND_HEX: SetMode(dlg, c, pm::search_hex, IDC_FIND_HEX); return TRUE;
    case IDC_FIND_NEXT: FindNext(dlg, c, reverse); return TRUE;
    case IDC_FIND_TRANSPARENT:
        SetLayeredWindowAttributes(dlg, 0,
                                   IsDlgButtonChecked(dlg, IDC_FIND_TRANSPARENT) == BST_CHECKED
                                       ? kTransparent
                                       : kOpaque,
                                   LWA_ALPHA);
        return TRUE;
    case IDC_FIND_CANCEL: EndDialog(dlg, 0); return TRUE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK FindDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) return OnInitDialog(dlg, reinterpret_cast<Control*>(lp));
    Control* c = ControlOf(dlg);
    if (!c) return FALSE;
    switch (msg) {
    case WM_COMMAND: return OnFindCommand(dlg, c, wp);
    case WM_CLOSE: EndDialog(dlg, 0); return TRUE;
    case WM_DESTROY:
        // The dialog can go before its control (with the top-level window
        // that really owns it): the control must not destroy it again.
        if (c->find_dialog == dlg) c->find_dialog = nullptr;
        SetWindowLongPtrW(dlg, GWLP_USERDATA, 0);
        return FALSE;
    default: return FALSE;
    }
}

}  // namespace

void ShowFindDialog(Control* c) {
    if (c->find_dialog) {
        ShowWindow(c->find_dialog, SW_SHOW);
        SetActiveWindow(c->find_dialog);
        return;
    }
    CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_FIND), c->hwnd(), FindDialogProc,
                       reinterpret_cast<LPARAM>(c));
}
