// The properties dialog (2000): the font, the twenty-four colours, the
// offset and the row width of the settings record. It edits the record in
// place; Ok and Apply hand it to the current control and save it to the
// current settings file.
#include "host/host.h"

#include <commdlg.h>

#include "control/core/hex_input.h"

ColourChooser g_colour_chooser = RunColourChooser;

namespace {

enum : unsigned {
    kFonts = 5,
    kCustomColours = 16,
    kOffsetTextBytes = 256,  // a longer text is refused by its value, never cut
};
const COLORREF kWhite = 0xFFFFFF;

const char* const kFontNames[kFonts] = {
    "0 - Fixedsys", "1 - Courier", "2 - Terminal", "3 - Courier New", "4 - Lucida Console",
};

// The row width choices: item i sets bytes_per_line to kRowWidths[i].
const unsigned kRowChoices = 4;
const pm::u32 kRowWidths[kRowChoices] = {0, 8, 16, 32};
const char* const kRowWidthNames[kRowChoices] = {"Fit the window", "8", "16", "32"};

// Item i of each list names one colour of pair i.
const char* const kColourNames[2][pm::kColourPairs] = {
    {"Offset grad start color", "Header grad start color", "Header info text color", "Header addr text color",
     "View2 bk color", "View3 bk color", "View2 selection bk color", "View3 selection bk color",
     "Active char bk color", "Modified1 bytes bk color", "Modified2 bytes bk color", "Modified3 bytes bk color"},
    {"Offset grad end color", "Header grad end color", "View1 text color", "Header input mode text color",
     "View2 text color", "View3 text color", "View2 selection text color", "View3 selection text color",
     "Active char text color", "Modified1 bytes text color", "Modified2 bytes text color",
     "Modified3 bytes text color"},
};

// The two halves of the dialog: side 0 shows first colours, side 1 second.
enum Side : unsigned { kFirst = 0, kSecond = 1 };
const int kListId[2] = {IDC_PROP_FIRST_LIST, IDC_PROP_SECOND_LIST};
const int kSwatchId[2] = {IDC_PROP_FIRST_SWATCH, IDC_PROP_SECOND_SWATCH};

Side Other(Side s) { return s == kFirst ? kSecond : kFirst; }

// The solid brush a swatch is painted with. Replaced, never shared: the
// dialog deletes the old one before the new colour is shown.
class SwatchBrush {
public:
    SwatchBrush() = default;
    ~SwatchBrush() { Reset(); }
    SwatchBrush(const SwatchBrush&) = delete;
    SwatchBrush& operator=(const SwatchBrush&) = delete;

    void Fill(COLORREF colour) {
        Reset();
        brush_ = CreateSolidBrush(colour);
    }
    void Reset() {
        if (brush_) DeleteObject(brush_);
        brush_ = nullptr;
    }
    HBRUSH get() const { return brush_; }

private:
    HBRUSH brush_ = nullptr;
};

// The one open dialog's state; it lives on the stack of the command that
// runs the dialog, so its brushes go whichever way the dialog ends.
struct PropertiesDialog {
    MainWindow* w;
    HWND dialog;
    HWND swatch[2];
    SwatchBrush brush[2];
};

PropertiesDialog* DialogState(HWND dialog) {
    return reinterpret_cast<PropertiesDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

pm::u32& Colour(pm::Settings& s, Side side, unsigned pair) {
    return side == kFirst ? s.first[pair] : s.second[pair];
}

LRESULT List(const PropertiesDialog* d, int id, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    return SendDlgItemMessageA(d->dialog, id, msg, wp, lp);
}

// The pair shown on one side, or kColourPairs when its list has none.
unsigned SelectedPair(const PropertiesDialog* d, Side side) {
    LRESULT i = List(d, kListId[side], CB_GETCURSEL);
    return i >= 0 && i < static_cast<LRESULT>(pm::kColourPairs) ? static_cast<unsigned>(i) : pm::kColourPairs;
}

// The box by the rule of the control's dialogs: white space ignored, "0x"
// accepted, at most the offset's 32 bits; an empty box is 0. Anything else
// is refused with a message box naming what is wrong, and the box gets the
// focus with its text selected.
bool ReadOffsetBox(const PropertiesDialog* d, pm::u32* offset) {
    WCHAR text[kOffsetTextBytes] = {};
    const int n = GetDlgItemTextW(d->dialog, IDC_PROP_OFFSET, text, kOffsetTextBytes);
    std::uint8_t digits[kOffsetTextBytes];
    const pm::HexInput in = pm::read_hex_input(text, static_cast<std::size_t>(n), digits);
    if (in.ok && pm::hex_input_number(digits, in.digits, offset)) return true;
    SendMessageW(d->dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(d->dialog, IDC_PROP_OFFSET)), TRUE);
    if (in.ok) {
        MessageBoxA(d->dialog, pm::kNeedSmallerNumber, nullptr, MB_OK);
    } else {
        std::uint16_t message[32];
        pm::refused_digit_message(in.refused, message);
        MessageBoxW(d->dialog, reinterpret_cast<const wchar_t*>(message), nullptr, MB_OK);
    }
    return false;
}

void EndWith(PropertiesDialog* d, INT_PTR result) {
    d->brush[kFirst].Reset();
    d->brush[kSecond].Reset();
    EndDialog(d->dialog, result);
}

BOOL OnInitDialog(HWND dialog, LPARAM lp) {
    auto* d = reinterpret_cast<PropertiesDialog*>(lp);
    SetWindowLongPtrA(dialog, DWLP_USER, lp);
    d->dialog = dialog;
    for (const char* name : kFontNames) List(d, IDC_PROP_FONT_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    for (unsigned side = kFirst; side <= kSecond; ++side)
        for (const char* name : kColourNames[side])
            List(d, kListId[side], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    const pm::Settings& s = d->w->settings;
    // A font number outside the list leaves it with nothing selected.
    List(d, IDC_PROP_FONT_LIST, CB_SETCURSEL, s.font_number < kFonts ? s.font_number : static_cast<WPARAM>(-1));
    List(d, IDC_PROP_FIRST_LIST, CB_SETCURSEL, 0);
    List(d, IDC_PROP_SECOND_LIST, CB_SETCURSEL, 0);
    for (unsigned i = 0; i < kRowChoices; ++i) {
        List(d, IDC_PROP_ROW_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kRowWidthNames[i]));
        if (kRowWidths[i] == s.bytes_per_line) List(d, IDC_PROP_ROW_LIST, CB_SETCURSEL, i);
    }
    d->brush[kFirst].Fill(s.first[0]);
    d->brush[kSecond].Fill(s.second[0]);
    d->swatch[kFirst] = GetDlgItem(dialog, IDC_PROP_FIRST_SWATCH);
    d->swatch[kSecond] = GetDlgItem(dialog, IDC_PROP_SECOND_SWATCH);
    // The box shows the offset in force, so Ok after a colour change keeps it.
    char offset[kOffsetTextBytes + 1];
    wsprintfA(offset, "%X", static_cast<unsigned>(s.offset));
    SetDlgItemTextA(dialog, IDC_PROP_OFFSET, offset);
    return TRUE;
}

INT_PTR OnCtlColorStatic(const PropertiesDialog* d, HWND control) {
    if (control == d->swatch[kFirst]) return reinterpret_cast<INT_PTR>(d->brush[kFirst].get());
    if (control == d->swatch[kSecond]) return reinterpret_cast<INT_PTR>(d->brush[kSecond].get());
    return 0;
}

// Only the record changes; a control sees the font on Ok or Apply.
void OnFontChosen(PropertiesDialog* d) {
    LRESULT i = List(d, IDC_PROP_FONT_LIST, CB_GETCURSEL);
    if (i >= 0) d->w->settings.font_number = static_cast<pm::u32>(i);
}

void OnRowWidthChosen(PropertiesDialog* d) {
    const LRESULT i = List(d, IDC_PROP_ROW_LIST, CB_GETCURSEL);
    if (i >= 0 && i < static_cast<LRESULT>(kRowChoices))
        d->w->settings.bytes_per_line = kRowWidths[i];
}

// Both swatches show the chosen pair, and the other list follows.
void OnColourNameChosen(PropertiesDialog* d, Side side) {
    const unsigned pair = SelectedPair(d, side);
    if (pair >= pm::kColourPairs) return;
    pm::Settings& s = d->w->settings;
    d->brush[side].Fill(Colour(s, side, pair));
    d->brush[Other(side)].Fill(Colour(s, Other(side), pair));
    List(d, kListId[Other(side)], CB_SETCURSEL, pair);
    InvalidateRect(d->swatch[kFirst], nullptr, FALSE);
    InvalidateRect(d->swatch[kSecond], nullptr, FALSE);
}

// The chooser's own result tells a cancel from a chosen black.
void OnSwatchClicked(PropertiesDialog* d, Side side) {
    COLORREF chosen = 0;
    if (!g_colour_chooser(d->dialog, g_host.instance, 0, &chosen)) return;
    const unsigned pair = SelectedPair(d, side);
    if (pair >= pm::kColourPairs) return;
    Colour(d->w->settings, side, pair) = chosen;
    d->brush[side].Fill(chosen);
    InvalidateRect(d->swatch[side], nullptr, FALSE);
}

// Refused offset text applies and saves nothing.
bool OnApply(PropertiesDialog* d) {
    pm::u32 offset = 0;
    if (!ReadOffsetBox(d, &offset)) return false;
    d->w->settings.offset = offset;
    ApplySettings(d->w, d->w->current);
    SaveSettings(d->w);
    return true;
}

// Commands 1 and 2 (what Enter and Escape send) are not handled, so neither
// key ends the dialog.
BOOL OnCommand(PropertiesDialog* d, WPARAM wp) {
    const int id = LOWORD(wp);
    const UINT code = HIWORD(wp);
    switch (id) {
    case IDC_PROP_FONT_LIST:
        if (code == CBN_SELCHANGE) OnFontChosen(d);
        return TRUE;
    case IDC_PROP_ROW_LIST:
        if (code == CBN_SELCHANGE) OnRowWidthChosen(d);
        return TRUE;
    case IDC_PROP_FIRST_LIST:
    case IDC_PROP_SECOND_LIST:
        if (code == CBN_SELCHANGE) OnColourNameChosen(d, id == IDC_PROP_FIRST_LIST ? kFirst : kSecond);
        return TRUE;
    case IDC_PROP_FIRST_SWATCH:
    case IDC_PROP_SECOND_SWATCH:
        if (code == STN_CLICKED) OnSwatchClicked(d, id == IDC_PROP_FIRST_SWATCH ? kFirst : kSecond);
        return TRUE;
    case IDC_PROP_OK:
        if (OnApply(d)) EndWith(d, IDOK);
        return TRUE;
    case IDC_PROP_APPLY: OnApply(d); return TRUE;
    case IDC_PROP_CANCEL: EndWith(d, IDCANCEL); return TRUE;
    default: return FALSE;
    }
}

INT_PTR Handle(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) return OnInitDialog(dialog, lp);
    PropertiesDialog* d = DialogState(dialog);
    if (!d) return FALSE;
    switch (msg) {
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(d, reinterpret_cast<HWND>(lp));
    case WM_COMMAND: return OnCommand(d, wp);
    case WM_CLOSE: EndWith(d, 0); return TRUE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK PropertiesProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    try {
        return Handle(dialog, msg, wp, lp);
    } catch (...) {
        return FALSE;
    }
}

}  // namespace

bool RunColourChooser(HWND owner, HINSTANCE instance, DWORD flags, COLORREF* colour) {
    // Fresh at every call: colours added to the table are not kept.
    COLORREF custom[kCustomColours];
    for (COLORREF& c : custom) c = kWhite;
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.hInstance = reinterpret_cast<HWND>(instance);
    cc.rgbResult = 0;
    cc.lpCustColors = custom;
    cc.Flags = flags;
    if (!ChooseColorA(&cc)) return false;
    *colour = cc.rgbResult;
    return true;
}

void ShowPropertiesDialog(MainWindow* w) {
    PropertiesDialog d{};
    d.w = w;
    DialogBoxParamA(g_host.instance, MAKEINTRESOURCEA(IDD_PROPERTIES), w->window, PropertiesProc,
                    reinterpret_cast<LPARAM>(&d));
}
