// The tour of the README, played on the real program: the host's own code
// (linked in) runs its main window, opens sample files, types, selects,
// opens the context menu, the Find and Select dialogs, the themes and the
// properties dialog, and saves a BMP of the screen around each scene.
// Built and run by screenshots.sh; the BMPs land in the current directory.
#include "host/host.h"

#include <shlobj.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const int kClientWidth = 620, kClientHeight = 400;
const char* const kTourDir = "C:\\pelomar-tour";

// --- Capture --------------------------------------------------------------

bool SaveScreen(const RECT& r, const char* path) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;  // bottom-up, as a BMP file stores it
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((w * 3 + 3) / 4) * 4;
    const DWORD image = stride * h;
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
    fh.bfSize = fh.bfOffBits + image;
    bool ok = false;
    if (FILE* f = std::fopen(path, "wb")) {
        ok = std::fwrite(&fh, sizeof(fh), 1, f) == 1 && std::fwrite(&bi.bmiHeader, sizeof(bi.bmiHeader), 1, f) == 1 &&
             std::fwrite(bits, image, 1, f) == 1;
        std::fclose(f);
    }
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return ok;
}

BOOL CALLBACK AddVisible(HWND hwnd, LPARAM lp) {
    if (IsWindowVisible(hwnd)) {
        RECT r;
        GetWindowRect(hwnd, &r);
        auto* all = reinterpret_cast<RECT*>(lp);
        UnionRect(all, all, &r);
    }
    return TRUE;
}

// Every visible window of this thread (main window, dialogs, menus).
void Shot(HWND main, const char* name, bool main_only = false) {
    RECT r;
    GetWindowRect(main, &r);
    if (!main_only) EnumThreadWindows(GetCurrentThreadId(), AddVisible, reinterpret_cast<LPARAM>(&r));
    const std::string file = std::string(name) + ".bmp";
    std::printf("%s %s\n", SaveScreen(r, file.c_str()) ? "saved" : "FAILED", file.c_str());
    std::fflush(stdout);
}

// --- Steps, one per timer tick, also inside modal loops --------------------

using Step = std::function<bool()>;  // false: ask again at the next tick
std::vector<Step> g_steps;
size_t g_next = 0;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_next >= g_steps.size()) return;
    // Advanced first: a step may open a modal loop in which the following
    // steps run.
    const size_t at = g_next++;
    if (!g_steps[at]()) g_next = at;
}

// Steps that wait: a few ticks for painting to settle.
void Wait(int ticks) {
    for (int i = 0; i < ticks; ++i) g_steps.push_back([] { return true; });
}

// --- The program's windows --------------------------------------------------

void Drop(HWND window, const std::vector<std::string>& paths) {
    SIZE_T bytes = sizeof(DROPFILES) + 1;
    for (const auto& p : paths) bytes += p.size() + 1;
    HGLOBAL block = GlobalAlloc(GHND, bytes);
    auto* df = static_cast<DROPFILES*>(GlobalLock(block));
    df->pFiles = sizeof(DROPFILES);
    char* at = reinterpret_cast<char*>(df) + sizeof(DROPFILES);
    for (const auto& p : paths) {
        lstrcpyA(at, p.c_str());
        at += p.size() + 1;
    }
    GlobalUnlock(block);
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}

void Type(HWND control, const char* text) {
    for (const char* c = text; *c; ++c) SendMessageA(control, WM_CHAR, static_cast<unsigned char>(*c), 0);
}

UINT ThemeCommand(MainWindow* w, const char* file) {
    char text[MAX_PATH];
    for (UINT cmd = IDM_THEME_FIRST_FILE; cmd <= w->last_command; ++cmd)
        if (GetMenuStringA(w->themes, cmd, text, sizeof text, MF_BYCOMMAND) && lstrcmpiA(text, file) == 0) return cmd;
    return 0;
}

struct WindowSearch {
    const char* cls;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lp) {
    auto* f = reinterpret_cast<WindowSearch*>(lp);
    char c[64], t[128];
    GetClassNameA(hwnd, c, sizeof c);
    GetWindowTextA(hwnd, t, sizeof t);
    if (!IsWindowVisible(hwnd) || lstrcmpA(c, f->cls) != 0) return TRUE;
    if (f->title && lstrcmpA(t, f->title) != 0) return TRUE;
    f->found = hwnd;
    return FALSE;
}

// A visible top-level window of this thread.
HWND ThreadWindow(const char* cls, const char* title) {
    WindowSearch f{cls, title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchWindow, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

// A point of the control's client area in screen coordinates.
POINT OnScreen(HWND control, int x, int y) {
    POINT p{x, y};
    ClientToScreen(control, &p);
    return p;
}

bool CopyInto(const std::string& from, const std::string& to) { return CopyFileA(from.c_str(), to.c_str(), FALSE); }

void PrepareTour(const std::string& bin) {
    CreateDirectoryA(kTourDir, nullptr);
    const std::string tour = kTourDir;
    CreateDirectoryA((tour + "\\Themes").c_str(), nullptr);
    for (const char* theme : {"Midnight.ini", "High contrast.ini", "Paper.ini", "Frost.ini"})
        CopyInto(bin + "Themes\\" + theme, tour + "\\Themes\\" + theme);
    DeleteFileA((tour + "\\pmr.ini").c_str());
    CopyInto(bin + "Pelomar.exe", tour + "\\sample.exe");
    const char notes[] =
        "Pelomar tour notes\r\n"
        "Every edit is written to the file at once; Ctrl+Z takes it back.\r\n";
    HANDLE f = CreateFileA((tour + "\\notes.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(f, notes, sizeof notes - 1, &n, nullptr);
    CloseHandle(f);
}

}  // namespace

int main() {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string bin = exe;
    bin = bin.substr(0, bin.find_last_of('\\') + 1);
    PrepareTour(bin);
    SetProgramDirectory(kTourDir);

    InitHostProcess();
    RegisterTabStripClass();
    g_host.library = LoadLibraryA(PELOMAR_DLL);
    if (!g_host.library || !RegisterMainClass()) return 1;
    HWND main = CreateMainWindow();
    if (!main) return 1;
    MainWindow* w = MainWindowState(main);
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_ACCEPTFILES);
    MoveWindow(main, 20, 20, frame.right - frame.left, frame.bottom - frame.top, TRUE);
    const std::string tour = kTourDir;
    auto control = [w] { return w->current; };

    // Two files open; the first shown from its start.
    g_steps.push_back([=] {
        Drop(main, {tour + "\\sample.exe", tour + "\\notes.txt"});
        SendMessageA(w->strip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 12));
        SendMessageA(w->strip, WM_LBUTTONUP, 0, MAKELPARAM(40, 12));
        return true;
    });
    Wait(4);
    g_steps.push_back([=] {
        Shot(main, "open");
        return true;
    });
    // Four bytes typed as hex digits over the DOS stub's "This".
    g_steps.push_back([=] {
        SendMessageA(control(), PM_SELECTRANGE, 0x4E, 0x4E);
        Type(control(), "54686174");
        return true;
    });
    Wait(4);
    g_steps.push_back([=] {
        Shot(main, "edit");
        return true;
    });
    // A selection, and the context menu over it with Copy opened.
    g_steps.push_back([=] {
        SendMessageA(control(), PM_SELECTRANGE, 0x40, 0x70);
        const POINT p = OnScreen(control(), 300, 150);
        SetCursorPos(p.x, p.y);
        SendMessageA(control(), WM_RBUTTONUP, 0, MAKELPARAM(300, 150));  // the menu's loop runs the next steps
        return true;
    });
    Wait(3);
    g_steps.push_back([=] {
        for (int i = 0; i < 3; ++i) PostMessageA(control(), WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(control(), WM_KEYDOWN, VK_RIGHT, 0);
        return true;
    });
    Wait(4);
    g_steps.push_back([=] {
        Shot(main, "context-menu");
        EndMenu();
        return true;
    });
    Wait(3);
    // Find: "program" as UTF-8 text.
    g_steps.push_back([=] {
        SendMessageA(control(), WM_COMMAND, PMC_FIND, 0);
        return true;
    });
    Wait(2);
    g_steps.push_back([=] {
        HWND find = ThreadWindow("#32770", "Find");
        if (!find) return false;
        SetDlgItemTextA(find, 701, "program");
        SendMessageA(find, WM_COMMAND, 706, reinterpret_cast<LPARAM>(GetDlgItem(find, 706)));
        SendMessageA(find, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(find, 706)), TRUE);
        return true;
    });
    Wait(4);
    g_steps.push_back([=] {
        Shot(main, "find");
        if (HWND find = ThreadWindow("#32770", "Find")) SendMessageA(find, WM_COMMAND, 708, 0);
        return true;
    });
    // Select: a range by offsets.
    g_steps.push_back([=] {
        SendMessageA(control(), WM_COMMAND, PMC_SELECT, 0);
        return true;
    });
    Wait(2);
    g_steps.push_back([=] {
        HWND select = ThreadWindow("#32770", "Select");
        if (!select) return false;
        SetDlgItemTextA(select, 801, "80");
        SetDlgItemTextA(select, 802, "C0");
        SendMessageA(select, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(select, 805)), TRUE);
        return true;
    });
    Wait(3);
    g_steps.push_back([=] {
        Shot(main, "select");
        // OK selects the range and hides the dialog.
        if (HWND select = ThreadWindow("#32770", "Select")) SendMessageA(select, WM_COMMAND, 805, 0);
        return true;
    });
    Wait(3);
    // The properties dialog over the program.
    g_steps.push_back([=] {
        SendMessageA(main, WM_COMMAND, IDM_CUSTOMIZE, 0);  // modal: the next steps run inside it
        return true;
    });
    Wait(4);
    g_steps.push_back([=] {
        HWND props = ThreadWindow("#32770", "Choose properties!");
        if (!props) return false;
        SendDlgItemMessageA(props, IDC_PROP_FIRST_LIST, CB_SETCURSEL, 4, 0);
        SendMessageA(props, WM_COMMAND, MAKEWPARAM(IDC_PROP_FIRST_LIST, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(props, IDC_PROP_FIRST_LIST)));
        return true;
    });
    Wait(3);
    g_steps.push_back([=] {
        Shot(main, "properties");
        if (HWND props = ThreadWindow("#32770", "Choose properties!"))
            SendMessageA(props, WM_COMMAND, IDC_PROP_CANCEL, 0);
        return true;
    });
    Wait(2);
    // Each shipped theme on the same view.
    for (const char* theme : {"Midnight.ini", "High contrast.ini", "Paper.ini", "Frost.ini"}) {
        g_steps.push_back([=] {
            if (UINT cmd = ThemeCommand(w, theme)) SendMessageA(main, WM_COMMAND, cmd, 0);
            SendMessageA(control(), PM_SELECTRANGE, 0x60, 0x6C);
            return true;
        });
        Wait(4);
        g_steps.push_back([=] {
            std::string name = std::string("theme-") + theme;
            name = name.substr(0, name.size() - 4);
            for (char& c : name) c = c == ' ' ? '-' : c;
            Shot(main, name.c_str(), true);
            return true;
        });
    }
    g_steps.push_back([=] {
        SendMessageA(main, WM_COMMAND, IDM_THEME_CURRENT, 0);
        DestroyWindow(main);
        return true;
    });

    const UINT_PTR timer = SetTimer(nullptr, 0, 60, Tick);
    MSG m;
    while (g_next < g_steps.size() && GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    KillTimer(nullptr, timer);
    if (IsWindow(main)) DestroyWindow(main);
    FreeLibrary(g_host.library);
    return 0;
}
