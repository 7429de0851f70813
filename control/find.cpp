// The Find dialog: a modeless dialog per control that turns its text into
// a byte pattern and selects each occurrence in turn, wrapping once.
// Its search mode, next start and last pattern live in the control's state
// record, so that each document's dialog searches on its own and F3 can
// search again without the dialog.
#include <cstring>

#include "control/control.h"
#include "control/core/find_step.h"
#include "control/core/hex_input.h"
#include "control/core/layout.h"
#include "control/dialog_ids.h"

namespace {

constexpr BYTE kOpaque = 255;
constexpr BYTE kTransparent = 122;
constexpr int kTextLimit = int(pm::max_search_text) + 1;  // with the zero
constexpr wchar_t kNotFound[] = L"Not found";
constexpr int kHitMargin = 8;  // pixels between a hit and a dialog moved aside

Control* ControlOf(HWND dlg) {
    return reinterpret_cast<Control*>(GetWindowLongPtrW(dlg, GWLP_USERDATA));
}

void SetMode(HWND dlg, Control* c, pm::u32 mode, int button) {
    c->find_mode = mode;
    CheckRadioButton(dlg, IDC_FIND_UTF8, IDC_FIND_HEX, button);
}

void Refuse(HWND dlg, const wchar_t* text) { MessageBoxW(dlg, text, nullptr, MB_OK); }

void Refuse(HWND dlg, const char* text) { MessageBoxA(dlg, text, nullptr, MB_OK); }

// Builds the pattern from the dialog's text in the control's search mode.
// False when there is nothing to search for; refused hex says why.
bool BuildPattern(HWND dlg, const Control* c, bool reverse, pm::u8* pattern,
                  std::size_t* length) {
    WCHAR wide[kTextLimit];
    const int n = GetDlgItemTextW(dlg, IDC_FIND_TEXT, wide, kTextLimit);
    std::uint16_t units[kTextLimit];
    for (int i = 0; i < n; ++i) units[i] = static_cast<std::uint16_t>(wide[i]);
    const auto count = static_cast<std::size_t>(n);
    if (c->find_mode == pm::search_hex) {
        pm::u8 digits[kTextLimit];
        const pm::HexInput in = pm::read_hex_input(units, count, digits);
        if (!in.ok) {
            std::uint16_t message[32];
            pm::refused_digit_message(in.refused, message);
            Refuse(dlg, reinterpret_cast<const wchar_t*>(message));
            return false;
        }
        if (!pm::hex_input_bytes(digits, in.digits, reverse, pattern)) {
            Refuse(dlg, pm::kNeedOneMoreNumber);
            return false;
        }
        *length = in.digits / 2;
        return true;
    }
    *length = c->find_mode == pm::search_utf16 ? pm::utf16_pattern(units, count, reverse, pattern)
                                               : pm::utf8_pattern(units, count, reverse, pattern);
    return true;
}

// The hit's first row, in screen coordinates, across both views.
RECT HitRow(Control* c) {
    const pm::Offset bpl = c->bytes_per_line ? c->bytes_per_line : 1;
    const pm::Offset row = c->sel_lo() / bpl - c->first_visible_line;
    const pm::Rect cell = pm::hex_cell(*c, static_cast<pm::u32>(row), 0);
    RECT r{c->hex_rect.left, cell.top, c->text_rect.right, cell.bottom};
    MapWindowPoints(c->hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A dialog that covers the hit moves below it, or above it when there is
// no room below on the hit's monitor.
void MoveAsideFrom(HWND dlg, Control* c) {
    if (!IsWindowVisible(dlg)) return;
    RECT hit = HitRow(c), box, overlap;
    GetWindowRect(dlg, &box);
    if (!IntersectRect(&overlap, &hit, &box)) return;
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromRect(&hit, MONITOR_DEFAULTTONEAREST), &mi);
    const int height = box.bottom - box.top;
    int y = hit.bottom + kHitMargin;
    if (y + height > mi.rcWork.bottom) y = hit.top - kHitMargin - height;
    SetWindowPos(dlg, nullptr, box.left, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// One search with the control's last pattern; the hit is selected, in view
// and not under the dialog. A miss changes nothing but the status.
bool SearchAgain(Control* c, bool backward) {
    pm::Offset at = 0;
    const bool hit = pm::find_step(c->data, c->data_size, &c->find_next_start, c->find_pattern,
                                   c->find_pattern_length, backward, &at);
    if (c->find_dialog) SetDlgItemTextW(c->find_dialog, IDC_FIND_STATUS, hit ? L"" : kNotFound);
    if (!hit) return false;
    // Shown offsets, at the Offset width as the control reads them back.
    const pm::Offset start = c->offset_base + at;
    const pm::Offset end = start + static_cast<pm::Offset>(c->find_pattern_length);
    SendMessageW(c->hwnd(), PM_SELECTRANGE, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
    if (c->find_dialog) MoveAsideFrom(c->find_dialog, c);
    return true;
}

void FindNext(HWND dlg, Control* c, bool reverse) {
    SetDlgItemTextW(dlg, IDC_FIND_STATUS, L"");
    if (SendDlgItemMessageW(dlg, IDC_FIND_TEXT, WM_GETTEXTLENGTH, 0, 0) == 0) return;
    pm::u8 pattern[pm::max_pattern_bytes];
    std::size_t length = 0;
    if (!BuildPattern(dlg, c, reverse, pattern, &length) || length == 0) return;
    std::memcpy(c->find_pattern, pattern, length);
    c->find_pattern_length = length;
    SearchAgain(c, false);
}

INT_PTR OnInitDialog(HWND dlg, Control* c) {
    c->find_mode = pm::search_utf8;
    c->find_next_start = 0;
    CheckDlgButton(dlg, IDC_FIND_UTF8, BST_CHECKED);
    SetWindowLongPtrW(dlg, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(c));
    SetLayeredWindowAttributes(dlg, 0, kOpaque, LWA_ALPHA);
    c->find_hook = RouteDialogKeys(dlg);
    ShowWindow(dlg, SW_SHOW);
    c->find_dialog = dlg;
    FocusFirstField(dlg, IDC_FIND_TEXT);
    return FALSE;  // the focus is set
}

INT_PTR OnFindCommand(HWND dlg, Control* c, WPARAM wp) {
    bool reverse = IsDlgButtonChecked(dlg, IDC_FIND_REVERSE) == BST_CHECKED;
    switch (wp) {
    case IDC_FIND_UTF8: SetMode(dlg, c, pm::search_utf8, IDC_FIND_UTF8); return TRUE;
    case IDC_FIND_UTF16: SetMode(dlg, c, pm::search_utf16, IDC_FIND_UTF16); return TRUE;
    case IDC_FIND_HEX: SetMode(dlg, c, pm::search_hex, IDC_FIND_HEX); return TRUE;
    case IDOK:  // Enter without a default button; there is one, but a host may send it
    case IDC_FIND_NEXT: FindNext(dlg, c, reverse); return TRUE;
    case IDC_FIND_TRANSPARENT:
        SetLayeredWindowAttributes(dlg, 0,
                                   IsDlgButtonChecked(dlg, IDC_FIND_TRANSPARENT) == BST_CHECKED
                                       ? kTransparent
                                       : kOpaque,
                                   LWA_ALPHA);
        return TRUE;
    case IDCANCEL:  // Esc
    case IDC_FIND_CANCEL: HideDialog(dlg, c); return TRUE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK FindDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) return OnInitDialog(dlg, reinterpret_cast<Control*>(lp));
    Control* c = ControlOf(dlg);
    if (!c) return FALSE;
    switch (msg) {
    case WM_COMMAND: return OnFindCommand(dlg, c, wp);
    case WM_CLOSE: HideDialog(dlg, c); return TRUE;
    case WM_DESTROY:
        StopRoutingDialogKeys(dlg, c->find_hook);
        c->find_hook = nullptr;
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
        FocusFirstField(c->find_dialog, IDC_FIND_TEXT);
        return;
    }
    CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_FIND), c->hwnd(), FindDialogProc,
                       reinterpret_cast<LPARAM>(c));
}

void FindAgain(Control* c, bool backward) {
    if (c->find_pattern_length == 0) {
        ShowFindDialog(c);
        return;
    }
    SearchAgain(c, backward);
}
