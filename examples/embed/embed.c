/* embed: the smallest useful host of the Pelomar hex control, in C.
 *
 * It loads Pelomar.dll, shows one PELOMAR control over a buffer of its own,
 * sets a font, a colour pair, an offset base and a selection, and offers
 * Undo, Redo, Read-only, a stamp written at the caret and a dump of the
 * buffer to a file from its menu. The control writes every typed byte
 * straight into the buffer. A status line under it shows the caret, the
 * selection and whether the buffer differs from its start, kept current by
 * the control's notifications.
 *
 *   embed.exe [dump-file]      (default: embed.bin beside the program)
 *
 * Build: compile this file with pelomar.h beside it and link user32 and
 * kernel32; Pelomar.dll must lie beside the program. docs/control.md
 * describes every message used here. */
#include <windows.h>

#include "pelomar.h"

enum { IDM_DUMP = 1, IDM_EXIT = 2, IDM_UNDO = 3, IDM_REDO = 4, IDM_READONLY = 5, IDM_STAMP = 6 };
enum { ID_CONTROL = 100, ID_STATUS = 101, STATUS_HEIGHT = 22 };
static const unsigned kOffsetBase = 0x1000;

static const char kClassName[] = "PelomarEmbedSample";

static HWND g_control;               /* the one PELOMAR window */
static HWND g_status;                /* the status line under it */
static unsigned char g_buffer[512];  /* the bytes it shows and edits */
static BOOL g_read_only;
static char g_dump_path[MAX_PATH];

/* Some text to type over, then the byte values 0x00, 0x01, ... */
static void FillBuffer(void) {
    static const char text[] = "Hello from a C program: this buffer belongs to embed.exe.";
    unsigned i;
    for (i = 0; i < sizeof g_buffer; ++i) g_buffer[i] = (unsigned char)i;
    CopyMemory(g_buffer, text, sizeof text - 1);
}

/* The first argument, without its quotes; or embed.bin beside the program. */
static void ChooseDumpPath(const char *args) {
    int n = 0;
    char end = ' ';
    while (*args == ' ' || *args == '\t') ++args;
    if (*args == '"') end = *args++;
    while (args[n] && args[n] != end && n < MAX_PATH - 1) ++n;
    if (n > 0) {
        lstrcpynA(g_dump_path, args, n + 1);
        return;
    }
    n = (int)GetModuleFileNameA(NULL, g_dump_path, MAX_PATH - 10);
    while (n > 0 && g_dump_path[n - 1] != '\\' && g_dump_path[n - 1] != '/') --n;
    lstrcpyA(g_dump_path + n, "embed.bin");
}

static void Dump(HWND owner) {
    DWORD written = 0;
    HANDLE file = CreateFileA(g_dump_path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, g_buffer, sizeof g_buffer, &written, NULL);
        CloseHandle(file);
    }
    if (written != sizeof g_buffer) MessageBoxA(owner, g_dump_path, "Cannot write", MB_ICONERROR);
}

/* What the status line shows: "Caret 00001010   Selected 8   Changed",
   offsets as shown (base added). */
static PELOMAR_OFFSET g_anchor, g_caret;
static BOOL g_changed;

static void ShowStatus(void) {
    char text[96];
    PELOMAR_OFFSET selected = g_anchor < g_caret ? g_caret - g_anchor : g_anchor - g_caret;
    wsprintfA(text, "Caret %08lX   Selected %lu   %s", (unsigned long)(g_caret + kOffsetBase),
              (unsigned long)selected, g_changed ? "Changed" : "Unchanged");
    SetWindowTextA(g_status, text);
}

/* Once at the start; the notifications keep it current afterwards. */
static void ReadStatus(void) {
    g_anchor = (PELOMAR_OFFSET)SendMessageA(g_control, PM_GETANCHOR, 0, 0);
    g_caret = (PELOMAR_OFFSET)SendMessageA(g_control, PM_GETCARET, 0, 0);
    g_changed = SendMessageA(g_control, PM_GETCHANGED, 0, 0) != 0;
    ShowStatus();
}

/* The control tells us what moved and what was written. */
static void OnNotify(const NMHDR *header) {
    if (header->hwndFrom != g_control) return;
    if (header->code == PMN_SELCHANGE) {
        const PELOMAR_NMSELCHANGE *n = (const PELOMAR_NMSELCHANGE *)header;
        g_anchor = n->anchor;
        g_caret = n->caret;
    } else if (header->code == PMN_CHANGE) {
        g_changed = ((const PELOMAR_NMCHANGE *)header)->changed != 0;
    }
    ShowStatus();
}

/* A program's own write: one undo step, like a paste at the caret. */
static void Stamp(void) {
    static const char stamp[] = "[stamp]";
    PELOMAR_WRITE w;
    w.offset = (PELOMAR_OFFSET)SendMessageA(g_control, PM_GETCARET, 0, 0);
    w.bytes = stamp;
    w.count = sizeof stamp - 1;
    SendMessageA(g_control, PM_WRITE, 0, (LPARAM)&w);
}

static void Layout(int width, int height) {
    int control_height = height > STATUS_HEIGHT ? height - STATUS_HEIGHT : 0;
    MoveWindow(g_control, 0, 0, width, control_height, TRUE);
    MoveWindow(g_status, 0, control_height, width, height - control_height, TRUE);
}

/* The control over the client area but the status line, configured as a
   host does it. */
static BOOL CreateControl(HWND parent) {
    RECT r;
    GetClientRect(parent, &r);
    g_status = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 0, 0, 0, 0,
                               parent, (HMENU)ID_STATUS, GetModuleHandleA(NULL), NULL);
    g_control = CreateWindowExA(0, PELOMAR_CLASS, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP,
                                0, 0, r.right, r.bottom, parent, (HMENU)ID_CONTROL,
                                GetModuleHandleA(NULL), NULL);
    if (!g_control || !g_status) return FALSE;
    Layout(r.right, r.bottom);
    /* The buffer is ours; it stays valid until the control is destroyed. */
    SendMessageA(g_control, PM_SETDATA, (WPARAM)g_buffer, (LPARAM)sizeof g_buffer);
    SendMessageA(g_control, PM_SETFONT, 3, 0); /* Courier New */
    /* Pair 6: selected bytes in the hex view, background and digits. */
    SendMessageA(g_control, PM_SETCOLOURPAIR + 6, RGB(255, 214, 102), RGB(0, 0, 0));
    SendMessageA(g_control, PM_SETOFFSETBASE, kOffsetBase, 0);
    /* Shown offsets, base included: bytes 8 to 15 selected. */
    SendMessageA(g_control, PM_SELECTRANGE, kOffsetBase + 8, kOffsetBase + 16);
    /* From now on the control reports moves and writes to this window. */
    SendMessageA(g_control, PM_SETNOTIFY, PM_NOTIFY_SELCHANGE | PM_NOTIFY_CHANGE, 0);
    ReadStatus();
    return TRUE;
}

static HMENU BuildMenu(void) {
    HMENU bar = CreateMenu(), file = CreatePopupMenu(), edit = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, IDM_DUMP, "&Dump buffer to file");
    AppendMenuA(file, MF_SEPARATOR, 0, NULL);
    AppendMenuA(file, MF_STRING, IDM_EXIT, "E&xit");
    AppendMenuA(edit, MF_STRING, IDM_UNDO, "&Undo\tCtrl+Z");
    AppendMenuA(edit, MF_STRING, IDM_REDO, "&Redo\tCtrl+Y");
    AppendMenuA(edit, MF_SEPARATOR, 0, NULL);
    AppendMenuA(edit, MF_STRING, IDM_STAMP, "Write a &stamp at the caret");
    AppendMenuA(edit, MF_STRING, IDM_READONLY, "Read-&only");
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)file, "&File");
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)edit, "&Edit");
    return bar;
}

/* Undo and redo are asked for when the menu opens. */
static void UpdateMenu(HMENU menu) {
    BOOL undo = SendMessageA(g_control, PM_CANUNDO, 0, 0) != 0;
    BOOL redo = SendMessageA(g_control, PM_CANREDO, 0, 0) != 0;
    EnableMenuItem(menu, IDM_UNDO, MF_BYCOMMAND | (undo ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_REDO, MF_BYCOMMAND | (redo ? MF_ENABLED : MF_GRAYED));
    CheckMenuItem(menu, IDM_READONLY, MF_BYCOMMAND | (g_read_only ? MF_CHECKED : MF_UNCHECKED));
}

static void OnCommand(HWND hwnd, unsigned id) {
    switch (id) {
    case IDM_DUMP: Dump(hwnd); break;
    case IDM_EXIT: DestroyWindow(hwnd); break;
    case IDM_UNDO: SendMessageA(g_control, PM_UNDO, 0, 0); break;
    case IDM_REDO: SendMessageA(g_control, PM_REDO, 0, 0); break;
    case IDM_STAMP: Stamp(); break;
    case IDM_READONLY:
        g_read_only = !g_read_only;
        SendMessageA(g_control, PM_SETREADONLY, g_read_only ? 1 : 0, 0);
        break;
    }
}

static LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: return CreateControl(hwnd) ? 0 : -1;
    case WM_SIZE: Layout(LOWORD(lp), HIWORD(lp)); return 0;
    case WM_NOTIFY: OnNotify((const NMHDR *)lp); return 0;
    case WM_SETFOCUS: SetFocus(g_control); return 0;
    case WM_INITMENUPOPUP: UpdateMenu((HMENU)wp); return 0;
    case WM_COMMAND: OnCommand(hwnd, LOWORD(wp)); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR args, int show) {
    WNDCLASSA wc;
    HWND window;
    MSG msg;
    HMODULE library = LoadLibraryA(PELOMAR_DLL); /* registers the class PELOMAR */
    (void)previous;
    if (!library) {
        MessageBoxA(NULL, "Pelomar.dll was not found beside the program.", "embed", MB_ICONERROR);
        return 1;
    }
    ChooseDumpPath(args);
    FillBuffer();

    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(NULL, MAKEINTRESOURCEA(32512)); /* IDC_ARROW */
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    window = CreateWindowExA(0, kClassName, "Pelomar embedded", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, 720, 420, NULL, BuildMenu(), instance, NULL);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);

    /* TranslateMessage turns key presses into the WM_CHAR the control types. */
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    FreeLibrary(library); /* only after the control is destroyed */
    return (int)msg.wParam;
}
