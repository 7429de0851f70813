// The tab strip window class GDTABS: brushes cut from the bitmaps, painting
// through a memory DC, and the mouse and protocol messages, which change
// the portable state and notify the parent.
#include <new>

#include "host/core/tabs.h"
#include "host/host.h"

namespace {

const COLORREF kShadowColour = RGB(0xAA, 0xAA, 0xAA);
const COLORREF kLabelColour = RGB(0, 0, 0);
const int kLabelX = 8, kLabelY = 10;  // the shadow sits one pixel right and down
// The read-only mark: a padlock in the body's top right corner, above the
// label, 7 pixels wide and 8 high.
const COLORREF kMarkColour = RGB(0x60, 0x40, 0x00);
const int kLockRight = 4, kLockTop = 1;
// The changed mark: a red dot of 5 by 5 pixels in the body's top left
// corner, above the label.
const COLORREF kChangedColour = RGB(0xD0, 0x00, 0x00);
const int kChangedLeft = 3, kChangedTop = 2, kChangedSize = 5;
// Sizes the strip uses when a bitmap cannot be loaded.
const pm::TabMetrics kFallbackMetrics{84, 22, 22, 34};

struct Strip : pm::TabStrip {
    HWND window;
    HBRUSH end[pm::kTabEndSlices];
    HBRUSH body[pm::kTabBodySlices];
    HBRUSH button[pm::kTabButtonSlices];
    HBRUSH background;
    HFONT font;
    HBRUSH mark;
    HBRUSH changed;
    HDC memory_dc;
    HBITMAP memory_bitmap;
    HGDIOBJ memory_old_bitmap;  // the DC's own bitmap, put back at the end
};

// A window DC for as long as the scope lasts.
class WindowDC {
public:
    explicit WindowDC(HWND w) : window_(w), dc_(GetDC(w)) {}
    ~WindowDC() { ReleaseDC(window_, dc_); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    operator HDC() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

HFONT CreateLabelFont() {
    LOGFONTA lf{};
    lf.lfHeight = 13;
    lf.lfWidth = 8;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpyA(lf.lfFaceName, "Lucida console");
    return CreateFontIndirectA(&lf);
}

HBITMAP LoadStripBitmap(int id, BITMAP* info) {
    auto bitmap = static_cast<HBITMAP>(
        LoadImageA(g_host.instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (!bitmap || !GetObjectA(bitmap, sizeof *info, info)) {
        if (bitmap) DeleteObject(bitmap);
        *info = BITMAP{};
        return nullptr;
    }
    return bitmap;
}

// Cuts bitmap id into slices of height rows, one pattern brush per slice.
// Returns the bitmap's width, 0 when it is missing.
unsigned CutIntoBrushes(HWND window, int id, int height, HBRUSH* brushes, unsigned count) {
    BITMAP info;
    HBITMAP source = LoadStripBitmap(id, &info);
    if (!source || height <= 0) return 0;
    WindowDC screen(window);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HGDIOBJ from_old = SelectObject(from, source);
    const unsigned slices = static_cast<unsigned>(info.bmHeight / height);
    for (unsigned k = 0; k < slices && k < count; ++k) {
        HBITMAP slice = CreateCompatibleBitmap(screen, info.bmWidth, height);
        HGDIOBJ to_old = SelectObject(to, slice);
        BitBlt(to, 0, 0, info.bmWidth, height, from, 0, static_cast<int>(k) * height, SRCCOPY);
        SelectObject(to, to_old);
        brushes[k] = CreatePatternBrush(slice);
        DeleteObject(slice);
    }
    SelectObject(from, from_old);
    DeleteDC(from);
    DeleteDC(to);
    DeleteObject(source);
    return static_cast<unsigned>(info.bmWidth);
}

void Repaint(Strip* s) { InvalidateRect(s->window, nullptr, FALSE); }

LRESULT OnCreate(Strip* s) {
    s->font = CreateLabelFont();
    s->mark = CreateSolidBrush(kMarkColour);
    s->changed = CreateSolidBrush(kChangedColour);
    pm::TabMetrics m = kFallbackMetrics;
    BITMAP info;
    if (HBITMAP background = LoadStripBitmap(IDB_STRIP_BACKGROUND, &info)) {
        m.height = static_cast<unsigned>(info.bmHeight);
        s->background = CreatePatternBrush(background);
        DeleteObject(background);
    }
    const int h = static_cast<int>(m.height);
    if (unsigned w = CutIntoBrushes(s->window, IDB_TAB_BODY, h, s->body, pm::kTabBodySlices)) m.body_width = w;
    if (unsigned w = CutIntoBrushes(s->window, IDB_TAB_END, h, s->end, pm::kTabEndSlices)) m.end_width = w;
    if (unsigned w = CutIntoBrushes(s->window, IDB_SCROLL_BUTTONS, h, s->button, pm::kTabButtonSlices))
        m.button_width = w;
    pm::tabs_init(*s, m);
    WindowDC screen(s->window);
    s->memory_dc = CreateCompatibleDC(screen);
    return 0;
}

void ReplaceMemoryBitmap(Strip* s) {
    WindowDC screen(s->window);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, static_cast<int>(s->width), static_cast<int>(s->height));
    if (!bitmap) return;
    HGDIOBJ old = SelectObject(s->memory_dc, bitmap);
    if (s->memory_bitmap) DeleteObject(s->memory_bitmap);
    else s->memory_old_bitmap = old;
    s->memory_bitmap = bitmap;
}

// Places, scroll position, a memory bitmap of the new size, full repaint.
void Layout(Strip* s, unsigned width) {
    pm::tabs_layout(*s, width);
    ReplaceMemoryBitmap(s);
    Repaint(s);
}

void Fill(HDC dc, HBRUSH brush, int x, int width, int height) {
    HGDIOBJ old = SelectObject(dc, brush);
    SetBrushOrgEx(dc, x, 0, nullptr);
    PatBlt(dc, x, 0, width, height, PATCOPY);
    SelectObject(dc, old);
}

// A padlock: the shackle's two sides and top, then the body below them.
void DrawLock(HDC dc, HBRUSH brush, int right) {
    HGDIOBJ old = SelectObject(dc, brush);
    const int x = right - 7, y = kLockTop;
    PatBlt(dc, x + 1, y, 5, 1, PATCOPY);
    PatBlt(dc, x + 1, y, 1, 3, PATCOPY);
    PatBlt(dc, x + 5, y, 1, 3, PATCOPY);
    PatBlt(dc, x, y + 3, 7, 5, PATCOPY);
    SelectObject(dc, old);
}

// A dot: a square with its corners cut.
void DrawDot(HDC dc, HBRUSH brush, int x, int y) {
    HGDIOBJ old = SelectObject(dc, brush);
    PatBlt(dc, x + 1, y, kChangedSize - 2, kChangedSize, PATCOPY);
    PatBlt(dc, x, y + 1, kChangedSize, kChangedSize - 2, PATCOPY);
    SelectObject(dc, old);
}

void OnPaint(Strip* s) {
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(s->window, &ps);
    HDC dc = s->memory_dc;
    HGDIOBJ old_font = SelectObject(dc, s->font);
    HGDIOBJ old_brush = SelectObject(dc, s->background);
    SetBkMode(dc, TRANSPARENT);
    const int h = static_cast<int>(s->height);
    const int body = static_cast<int>(s->body_width), end = static_cast<int>(s->end_width);
    const int button = static_cast<int>(s->button_width);
    int x = 0;
    for (pm::u32 i = s->first, drawn = 0; drawn < s->visible && i < s->count; ++i, ++drawn) {
        const pm::Tab& tab = s->tabs[i];
        const unsigned b = pm::look_body(tab.look), e = pm::look_end(tab.look);
        Fill(dc, s->body[b < pm::kTabBodySlices ? b : 0], x, body, h);
        Fill(dc, s->end[e < pm::kTabEndSlices ? e : 0], x + body, end, h);
        const auto* label = reinterpret_cast<const wchar_t*>(tab.label);
        const int length = lstrlenW(label);
        SetTextColor(dc, kShadowColour);
        TextOutW(dc, x + kLabelX + 1, kLabelY + 1, label, length);
        SetTextColor(dc, kLabelColour);
        TextOutW(dc, x + kLabelX, kLabelY, label, length);
        if (tab.marks & pm::kMarkReadOnly) DrawLock(dc, s->mark, x + body - kLockRight);
        if (tab.marks & pm::kMarkChanged) DrawDot(dc, s->changed, x + kChangedLeft, kChangedTop);
        x += static_cast<int>(s->pitch);
    }
    Fill(dc, s->button[s->left_button % pm::kTabButtonSlices], x, button, h);
    x += button;
    Fill(dc, s->button[s->right_button % pm::kTabButtonSlices], x, button, h);
    x += button;
    if (x < static_cast<int>(s->width)) Fill(dc, s->background, x, static_cast<int>(s->width) - x, h);
    BitBlt(screen, 0, 0, static_cast<int>(s->width), h, dc, 0, 0, SRCCOPY);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_font);
    EndPaint(s->window, &ps);
}

void OnMouseMove(Strip* s, LPARAM lp) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, s->window, 0};
    TrackMouseEvent(&track);
    if (pm::tabs_mouse_move(*s, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)))) Repaint(s);
}

void OnMouseLeave(Strip* s) {
    if (pm::tabs_mouse_leave(*s)) Repaint(s);
}

void Notify(Strip* s, const pm::TabEvent& e) {
    if (e.kind == pm::TabEvent::kNone) return;
    Repaint(s);
    HWND parent = GetParent(s->window);
    if (e.kind == pm::TabEvent::kSelChange) SendMessageA(parent, GDTN_SELCHANGE, e.a, static_cast<LPARAM>(e.b));
    if (e.kind == pm::TabEvent::kClosed) SendMessageA(parent, GDTN_CLOSED, e.a, 0);
}

void OnLButtonDown(Strip* s, LPARAM lp) {
    Notify(s, pm::tabs_button_down(*s, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))));
}

void OnLButtonUp(Strip* s, LPARAM lp) {
    Notify(s, pm::tabs_button_up(*s, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))));
}

LRESULT OnAddTab(Strip* s, LPARAM lp) {
    if (!pm::tabs_add(*s, reinterpret_cast<const char16_t*>(lp))) return GDTM_ADDTAB;
    Layout(s, s->width);
    return 0;
}

LRESULT OnGetText(Strip* s, WPARAM index) {
    return index < s->count ? reinterpret_cast<LRESULT>(s->tabs[index].label) : 0;
}

void OnSetText(Strip* s, WPARAM index, LPARAM lp) {
    pm::tabs_set_text(*s, static_cast<pm::u32>(index), reinterpret_cast<const char16_t*>(lp));
    Repaint(s);
}

void OnSetMarks(Strip* s, WPARAM index, LPARAM marks) {
    pm::tabs_set_marks(*s, static_cast<pm::u32>(index), static_cast<pm::u16>(marks));
    Repaint(s);
}

LRESULT OnSetCurSel(Strip* s, WPARAM tab) {
    if (tab > pm::kTabMax || !pm::tabs_select(*s, static_cast<pm::u32>(tab))) return 0;
    Repaint(s);
    return 1;
}

void OnDestroy(Strip* s) {
    DeleteObject(s->font);
    DeleteObject(s->mark);
    DeleteObject(s->changed);
    DeleteObject(s->background);
    for (HBRUSH b : s->body) DeleteObject(b);
    for (HBRUSH b : s->button) DeleteObject(b);
    for (HBRUSH b : s->end) DeleteObject(b);
    if (s->memory_dc) {
        if (s->memory_bitmap) SelectObject(s->memory_dc, s->memory_old_bitmap);
        DeleteDC(s->memory_dc);
    }
    if (s->memory_bitmap) DeleteObject(s->memory_bitmap);
    s->memory_dc = nullptr;
    s->memory_bitmap = nullptr;
}

LRESULT Handle(Strip* s, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: return OnCreate(s);
    case WM_SIZE: Layout(s, LOWORD(lp)); return 0;
    case WM_PAINT: OnPaint(s); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEMOVE: OnMouseMove(s, lp); return 0;
    case WM_MOUSELEAVE: OnMouseLeave(s); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: OnLButtonDown(s, lp); return 0;
    case WM_LBUTTONUP: OnLButtonUp(s, lp); return 0;
    case WM_DESTROY: OnDestroy(s); return 0;
    case GDTM_ADDTAB: return OnAddTab(s, lp);
    case GDTM_GETTEXT: return OnGetText(s, wp);
    case GDTM_SETTEXT: OnSetText(s, wp, lp); return 0;
    case GDTM_GETCURSEL: return static_cast<LRESULT>(s->selected);
    case GDTM_SETMARKS: OnSetMarks(s, wp, lp); return 0;
    case GDTM_SETCURSEL: return OnSetCurSel(s, wp);
    case GDTM_CLOSETAB:
        if (wp <= pm::kTabMax) Notify(s, pm::tabs_close(*s, static_cast<pm::u32>(wp)));
        return 0;
    default: break;
    }
    return DefWindowProcA(s->window, msg, wp, lp);
}

LRESULT CALLBACK StripProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* s = reinterpret_cast<Strip*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!s || s->window != hwnd) return DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        s->~Strip();
        HeapFree(g_host.heap, 0, s);
        return 0;
    }
    try {
        return Handle(s, msg, wp, lp);
    } catch (...) {
        return msg == WM_CREATE ? -1 : 0;
    }
}

// First message of a strip: make and bind its zero-filled record.
LRESULT CALLBACK StripBootstrap(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(Strip));
    if (!block) return msg == WM_NCCREATE ? FALSE : DefWindowProcA(hwnd, msg, wp, lp);
    auto* s = new (block) Strip();
    s->window = hwnd;
    pm::tabs_init(*s, kFallbackMetrics);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StripProc));
    return StripProc(hwnd, msg, wp, lp);
}

}  // namespace

bool RegisterTabStripClass() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = StripBootstrap;
    wc.hInstance = g_host.instance;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.lpszClassName = GDTABS_CLASS;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
