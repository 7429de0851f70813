// Process start and end: the program directory, the main window class, the
// main window and the message loop.
#include <string>

#include "host/host.h"

HostProcess g_host;

namespace {

std::string& Directory() {
    static std::string directory;
    return directory;
}

// The directory part of the module's path, backslash included. The buffer
// grows until the whole path fits, however deep the program lives.
std::string ModuleDirectory() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (n == 0) return std::string();
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        if (path.size() >= 0x10000) return std::string();
        path.resize(path.size() * 2);
    }
    std::string::size_type cut = path.find_last_of('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}


// The control library by its full path in the program's own folder, its
// dependencies from the system folder only. Where the system predates
// those search flags, the library's own folder and the default order.
HMODULE LoadControlLibrary() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD n;
    while ((n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()))) == path.size() &&
           path.size() < 0x8000)
        path.resize(path.size() * 2);
    path.resize(n);
    path.replace(path.find_last_of(L'\\') + 1, std::wstring::npos, L"" PELOMAR_DLL);
    HMODULE library = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!library && GetLastError() == ERROR_INVALID_PARAMETER)
        library = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return library;
}

}  // namespace

void NarrowLibrarySearch() {
    // Looked up, not imported: Windows 7 has it only with an update.
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    if (FARPROC f = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories"))
        reinterpret_cast<SetDirectories>(reinterpret_cast<void (*)()>(f))(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The system's theme code draws with msimg32, which is no known DLL,
    // and loads it by bare name; under Wine through a path that ignores the
    // directories set above. Loaded from the system folder now, that copy
    // answers every later load of the name.
    LoadLibraryExW(L"msimg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

void SetProgramDirectory(const char* directory) {
    std::string& d = Directory();
    d = directory ? directory : "";
    if (!d.empty() && d.back() != '\\' && d.back() != '/') d += '\\';
}

const char* ProgramDirectory() {
    std::string& d = Directory();
    if (d.empty()) d = ModuleDirectory();
    return d.c_str();
}

void InitHostProcess() {
    g_host.instance = GetModuleHandleA(nullptr);
    g_host.heap = GetProcessHeap();
}

// Defined in main_window.cpp; reached through the class.
LRESULT CALLBACK MainWindowBootstrap(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

bool RegisterMainClass() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = MainWindowBootstrap;
    wc.hInstance = g_host.instance;
    HICON icon = LoadIconA(g_host.instance, MAKEINTRESOURCEA(IDI_PELOMAR));
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.lpszMenuName = MAKEINTRESOURCEA(IDM_MAIN);
    wc.lpszClassName = HOST_NAME;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CreateMainWindow() {
    HWND w = CreateWindowExA(WS_EX_ACCEPTFILES, HOST_NAME, HOST_NAME, WS_OVERLAPPEDWINDOW, kMainX, kMainY,
                             kMainWidth, kMainHeight, nullptr, nullptr, g_host.instance, nullptr);
    if (!w) return nullptr;
    ShowAtStoredPlacement(w);
    UpdateWindow(w);
    return w;
}

// A shortcut acts only for input meant for the main window or one of its
// children, and not while a modal window has disabled it.
static bool Shortcut(HWND main_window, HACCEL keys, MSG* m) {
    if (!keys || (m->message != WM_KEYDOWN && m->message != WM_SYSKEYDOWN)) return false;
    if (m->hwnd != main_window && !IsChild(main_window, m->hwnd)) return false;
    return IsWindowEnabled(main_window) && TranslateAcceleratorA(main_window, keys, m);
}

int RunMessageLoop(HWND main_window) {
    HACCEL keys = LoadAcceleratorsA(g_host.instance, MAKEINTRESOURCEA(IDA_MAIN));
    MSG m;
    BOOL got;
    while ((got = GetMessageA(&m, nullptr, 0, 0)) != 0) {
        if (got == -1) return 0;
        if (Shortcut(main_window, keys, &m)) continue;
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return static_cast<int>(m.wParam);
}

int HostMain() {
    InitHostProcess();
    RegisterTabStripClass();
    // Before the main window: its creation makes a control.
    g_host.library = LoadControlLibrary();
    int code = 0;
    HWND main = RegisterMainClass() ? CreateMainWindow() : nullptr;
    if (main) code = RunMessageLoop(main);
    // After Exit the window still stands: its controls go before their
    // library's code does.
    if (main && IsWindow(main)) DestroyWindow(main);
    if (g_host.library) FreeLibrary(g_host.library);
    return code;
}
