// The main window: its children, the layout, the title and the routing of
// every command and notification to the concern that handles it. Its
// procedure is a UTF-16 one, so that the title keeps every path's name.
#include <new>
#include <string>

#include "host/core/tabs.h"
#include "host/host.h"

namespace {

LRESULT OnCreate(MainWindow* w) {
    w->docs.count = 0;
    w->current_path = nullptr;
    w->strip = CreateWindowExA(0, GDTABS_CLASS, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, kStripCreateWidth,
                               kStripHeight, w->window, nullptr, g_host.instance, nullptr);
    w->placeholder = CreateWindowExA(0, PELOMAR_CLASS, nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0,
                                     kStripHeight, kPlaceholderWidth, kPlaceholderHeight, w->window, nullptr,
                                     g_host.instance, nullptr);
    w->current = w->placeholder;
    // Never handed data: nothing may be typed into it.
    SendMessageA(w->placeholder, PM_SETREADONLY, 1, 0);
    StartSettings(w);
    return 0;
}

void OnSize(MainWindow* w, LPARAM lp) {
    w->client_width = LOWORD(lp);
    w->control_height = static_cast<int>(HIWORD(lp)) - kStripHeight;
    MoveWindow(w->strip, 0, 0, static_cast<int>(w->client_width), kStripHeight, TRUE);
    MoveToDocumentArea(w, w->current);
}

void Quit(MainWindow* w) {
    ReleaseAllDocuments(w);
    PostQuitMessage(0);
}

// The selected tab, 0 with none.
unsigned SelectedTab(const MainWindow* w) {
    return w->docs.count ? static_cast<unsigned>(SendMessageA(w->strip, GDTM_GETCURSEL, 0, 0)) : 0;
}

// The strip closes the tab and notifies, as after a click on its close
// part.
void CloseCurrentTab(MainWindow* w) {
    if (const unsigned tab = SelectedTab(w)) SendMessageA(w->strip, GDTM_CLOSETAB, tab, 0);
}

void StepTab(MainWindow* w, bool forward) {
    const unsigned from = SelectedTab(w);
    const unsigned to = pm::tabs_step(w->docs.count, from, forward);
    if (to != from && SendMessageA(w->strip, GDTM_SETCURSEL, to, 0)) SwitchToTab(w, from, to);
}

// Menu commands carry 0 in the high word, shortcuts 1; anything else (a
// notification) is no command.
void OnCommand(MainWindow* w, WPARAM wp) {
    if (HIWORD(wp) > 1) return;
    const UINT id = LOWORD(wp);
    switch (id) {
    case IDM_OPEN: OpenFromDialog(w); break;
    case IDM_OPEN_READONLY: OpenFromDialog(w, true); break;
    case IDM_READONLY: ToggleReadOnly(w); break;
    case IDM_EXIT: Quit(w); break;
    case IDM_CUSTOMIZE: ShowPropertiesDialog(w); break;
    case IDM_CLOSE_TAB: CloseCurrentTab(w); break;
    case IDM_NEXT_TAB: StepTab(w, true); break;
    case IDM_PREV_TAB: StepTab(w, false); break;
    default:
        if (id == IDM_THEME_CURRENT || (id >= IDM_THEME_FIRST_FILE && id <= IDM_THEME_LAST_FILE))
            OnThemeCommand(w, id);
        break;
    }
}

LRESULT Handle(MainWindow* w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: return OnCreate(w);
    case WM_COMMAND: OnCommand(w, wp); return 0;
    case WM_ACTIVATE: SendMessageA(w->current, WM_SETFOCUS, 0, 0); return 0;
    case WM_SIZE: OnSize(w, lp); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_DROPFILES: OpenDropped(w, reinterpret_cast<HDROP>(wp)); return 0;
    case GDTN_CLOSED: CloseTab(w, static_cast<unsigned>(wp)); return 0;
    case WM_NOTIFY: OnControlNotify(w, reinterpret_cast<const NMHDR*>(lp)); return 0;
    case GDTN_SELCHANGE: SwitchToTab(w, static_cast<unsigned>(wp), static_cast<unsigned>(lp)); return 0;
    case WM_DESTROY:
        SavePlacement(w);
        Quit(w);
        return 0;
    default: break;
    }
    return DefWindowProcW(w->window, msg, wp, lp);
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* w = MainWindowState(hwnd);
    if (!w) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        w->~MainWindow();
        HeapFree(g_host.heap, 0, w);
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    try {
        return Handle(w, msg, wp, lp);
    } catch (...) {
        return msg == WM_CREATE ? -1 : 0;
    }
}

}  // namespace

// The class's procedure for the window's first message: creates and binds
// the zero-filled state record, then hands over to the real procedure.
LRESULT CALLBACK MainWindowBootstrap(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    void* block = HeapAlloc(g_host.heap, HEAP_ZERO_MEMORY, sizeof(MainWindow));
    if (!block) return msg == WM_NCCREATE ? FALSE : DefWindowProcA(hwnd, msg, wp, lp);
    auto* w = new (block) MainWindow();
    w->window = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
    // From here on the window is a UTF-16 one. This first message still
    // came in 8-bit form: texts it carries go to the 8-bit default.
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MainWindowProc));
    if (msg == WM_NCCREATE || msg == WM_SETTEXT) return DefWindowProcA(hwnd, msg, wp, lp);
    return MainWindowProc(hwnd, msg, wp, lp);
}

MainWindow* MainWindowState(HWND main_window) {
    auto* w = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(main_window, GWLP_USERDATA));
    return w && w->window == main_window ? w : nullptr;
}

void SetTitle(MainWindow* w) {
    if (!w->current_path) {
        SetWindowTextA(w->window, HOST_NAME);
        return;
    }
    const std::wstring title = L"" HOST_TITLE_PREFIX + std::wstring(w->current_path);
    SetWindowTextW(w->window, title.c_str());
}

void MoveToDocumentArea(MainWindow* w, HWND control) {
    int height = w->control_height > 0 ? w->control_height : 0;
    MoveWindow(control, 0, kStripHeight, static_cast<int>(w->client_width), height, TRUE);
}
