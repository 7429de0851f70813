/* embed: the smallest useful host of the Pelomar hex control, in C.
 *
 * It loads Pelomar.dll, shows one PELOMAR control over a buffer of its own,
 * sets a font, a colour pair, an offset base and a selection, and offers
 * Undo, Redo, Read-only and a dump of the buffer to a file from its menu.
 * The control writes every typed byte straight into the buffer.
 *
 *   embed.exe [dump-file]      (default: embed.bin beside the program)
 *
 * Build: compile this file with pelomar.h beside it and link user32 and
 * kernel32; Pelomar.dll must lie beside the program. docs/control.md
 * describes every message used here. */
#include <windows.h>

#include "pelomar.h"

enum { IDM_DUMP = 1, IDM_EXIT = 2, IDM_UNDO = 3, IDM_REDO = 4, IDM_READONLY = 5 };

static const char kClassName[] = "PelomarEmbedSample";

static HWND g_control;               /* the one PELOMAR window */
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

/* The control over the whole client area, configured as a host does it. */
static BOOL CreateControl(HWND parent) {
    RECT r;
    GetClientRect(parent, &r);
    g_control = CreateWindowExA(0, PELOMAR_CLASS, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP,
                                0, 0, r.right, r.bottom, parent, NULL, GetModuleHandleA(NULL), NULL);
    if (!g_control) return FALSE;
    /* The buffer is ours; it stays valid until the control is destroyed. */
    SendMessageA(g_control, PM_SETDATA, (WPARAM)g_buffer, (LPARAM)sizeof g_buffer);
    SendMessageA(g_control, PM_SETFONT, 3, 0); /* Courier New */
    /* Pair 6: selected bytes in the hex view, background and digits. */
    SendMessageA(g_control, PM_SETCOLOURPAIR + 6, RGB(255, 214, 102), RGB(0, 0, 0));
    SendMessageA(g_control, PM_SETOFFSETBASE, 0x1000, 0);
    /* Shown offsets, base included: bytes 8 to 15 selected. */
    SendMessageA(g_control, PM_SELECTRANGE, 0x1008, 0x1010);
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
    AppendMenuA(edit, MF_STRING, IDM_READONLY, "Read-&only");
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)file, "&File");
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)edit, "&Edit");
    return bar;
}

/* The control sends no notifications: ask it whenever a menu opens. */
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
    case IDM_READONLY:
        g_read_only = !g_read_only;
        SendMessageA(g_control, PM_SETREADONLY, g_read_only ? 1 : 0, 0);
        break;
    }
}

static LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: return CreateControl(hwnd) ? 0 : -1;
    case WM_SIZE: MoveWindow(g_control, 0, 0, LOWORD(lp), HIWORD(lp), TRUE); return 0;
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
