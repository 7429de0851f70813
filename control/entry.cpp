// Library entry, the window class PELOMAR, and the binding of each window
// to its state record through a window property of the library's own (the
// user-data slot belongs to whoever creates the window).
#include <new>

#include "control/control.h"
#include "control/core/hextext.h"

HINSTANCE g_instance;
HANDLE g_heap;
unsigned char g_placeholder[4] = {0x0D, 0x0A, 0x00, 0x00};

// The property's atom, taken at load: a lookup by atom needs no string
// comparison. Without one the name itself serves.
static ATOM g_state_atom;
static LPCSTR StateKey() {
    return g_state_atom ? MAKEINTATOM(g_state_atom) : kStateProperty;
}

static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// The message handler proper: one line per message.
static LRESULT Handle(Control* c, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: return OnCreate(c);
    case WM_DESTROY: OnDestroy(c); return 0;
    case WM_SIZE: if (lp) SizeControl(c, LOWORD(lp), HIWORD(lp)); return 0;
    case WM_SETFOCUS: SetFocus(c->hwnd()); return 0;
    case WM_PAINT: OnPaint(c); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: SetFocus(c->hwnd()); return MA_ACTIVATE;
    case WM_GETDLGCODE: return DLGC_WANTTAB | DLGC_WANTALLKEYS;
    case WM_KEYDOWN: OnKeyDown(c, wp); return 0;
    case WM_SYSKEYDOWN: if (OnSysKeyDown(c, wp)) return 0; break;
    case WM_SYSKEYUP:
        // The key-up of a Shift+F10 must not open the window's menu bar.
        if (wp == VK_F10 && c->menu_by_f10) {
            c->menu_by_f10 = false;
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        // The keys that ask for it by keyboard have opened the menu already.
        if (lp == -1) return 0;
        break;
    case WM_CHAR: OnChar(c, wp); return 0;
    case WM_COMMAND: OnCommand(c, wp); return 0;
    case WM_TIMER: OnTimer(c); return 0;
    case WM_VSCROLL: OnVScroll(c, wp); return 0;
    case WM_MOUSEWHEEL: OnMouseWheel(c, wp); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(c, lp); return 0;
    case WM_LBUTTONUP: OnLButtonUp(c, lp); return 0;
    case WM_MOUSEMOVE: if (wp != MK_LBUTTON) break; OnMouseMove(c, lp); return 0;
    case WM_RBUTTONUP: OnRButtonUp(c); return 0;
    default:
        if (msg >= PM_SETFONT && msg <= PM_GETCHANGED) return OnPrivateMessage(c, msg, wp, lp);
        break;
    }
    return DefWindowProcA(c->hwnd(), msg, wp, lp);
}

static void FreeControl(Control* c) {
    c->~Control();
    HeapFree(g_heap, 0, c);
}

// Messages after which the parent hears nothing: painting, and the window
// being created or going away.
static bool Quiet(UINT msg) {
    return msg == WM_PAINT || msg == WM_NCCREATE || msg == WM_CREATE || msg == WM_DESTROY;
}

// Every message after the first: find the record in the window property.
// Nothing thrown may cross back into the system's frames. The outermost
// message sends the notifications of everything it (and the messages it
// sent the control) changed. A window destroyed while frames of its
// procedure still run (a handler, or the parent answering a notification)
// keeps its record until the last of them returns.
static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* c = static_cast<Control*>(GetPropA(hwnd, StateKey()));
    if (!c || c->window != hwnd) return DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        RemovePropA(hwnd, StateKey());
        if (c->frames)
            c->destroyed = true;
        else
            FreeControl(c);
        return 0;
    }
    const bool outermost = c->depth == 0;
    const pm::Offset anchor = c->anchor, caret = c->caret;
    ++c->frames;
    ++c->depth;
    LRESULT result;
    try {
        result = Handle(c, msg, wp, lp);
    } catch (...) {
        result = msg == WM_CREATE ? -1 : 0;
    }
    --c->depth;
    if (outermost && !c->destroyed && !Quiet(msg)) SendNotifications(c, anchor, caret);
    if (--c->frames == 0 && c->destroyed) FreeControl(c);
    return result;
}

// The class's window procedure: runs for the first message of a window,
// creates its zero-filled state record and binds it.
static LRESULT CALLBACK BootstrapProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    void* block = HeapAlloc(g_heap, HEAP_ZERO_MEMORY, sizeof(Control));
    if (!block) return msg == WM_NCCREATE ? FALSE : DefWindowProcA(hwnd, msg, wp, lp);
    auto* c = new (block) Control();
    c->window = hwnd;
    if (!SetPropA(hwnd, StateKey(), c)) {
        FreeControl(c);
        return msg == WM_NCCREATE ? FALSE : DefWindowProcA(hwnd, msg, wp, lp);
    }
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc));
    return ControlProc(hwnd, msg, wp, lp);
}

static void RegisterControlClass() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = BootstrapProc;
    wc.hInstance = g_instance;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.lpszClassName = PELOMAR_CLASS;
    RegisterClassExA(&wc);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    g_instance = instance;
    if (reason == DLL_PROCESS_ATTACH) {
        pm::build_hex_text();
        RegisterControlClass();
        g_heap = GetProcessHeap();
        g_state_atom = GlobalAddAtomA(kStateProperty);
    } else if (reason == DLL_PROCESS_DETACH) {
        UnregisterClassA(PELOMAR_CLASS, g_instance);
        if (g_state_atom) GlobalDeleteAtom(g_state_atom);
    }
    return TRUE;
}
