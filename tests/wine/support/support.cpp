// Helpers for tests that drive real windows under Wine.
#include "support/support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>

namespace wt {

HMODULE Library() {
    static HMODULE lib = LoadLibraryA(PELOMAR_DLL);
    return lib;
}

static const char* ParentClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
        wc.lpszClassName = "PelomarTestParent";
        RegisterClassExA(&wc);
        registered = true;
    }
    return "PelomarTestParent";
}

ControlWindow::ControlWindow(int width, int height, DWORD style) {
    Library();
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
    parent_ = CreateWindowExA(0, ParentClass(), "test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                              r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    control_ = CreateWindowExA(0, PELOMAR_CLASS, "", WS_CHILD | WS_VISIBLE | style, 0, 0, width,
                               height, parent_, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(parent_, SW_SHOWNORMAL);
    UpdateWindow(parent_);
    Pump();
}

ControlWindow::~ControlWindow() {
    if (parent_) DestroyWindow(parent_);
    Pump();
}

void ControlWindow::SetData(std::vector<std::uint8_t> bytes) {
    data_ = std::move(bytes);
    Send(PM_SETDATA, reinterpret_cast<WPARAM>(data_.data()), static_cast<LPARAM>(data_.size()));
}

SIZE ControlWindow::Client() const {
    RECT r;
    GetClientRect(control_, &r);
    return {r.right, r.bottom};
}

SCROLLINFO VerticalScroll(HWND hwnd) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    GetScrollInfo(hwnd, SB_VERT, &si);
    return si;
}

void Pump() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

COLORREF PixelAt(HWND hwnd, int x, int y) {
    UpdateWindow(hwnd);
    HDC dc = GetDC(hwnd);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return c;
}

SIZE Font0Cell() { return {8, 15}; }

namespace {

// The pinned cell holds only for the prefix's own Fixedsys, measured here
// as the control measures font 0 before any test runs.
struct PrefixFont : ::testing::Environment {
    void SetUp() override {
        LOGFONTA lf{12, 8, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Fixedsys"};
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, CreateFontIndirectA(&lf));
        SIZE s{};
        GetTextExtentPoint32A(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &s);
        DeleteObject(SelectObject(dc, old));
        ReleaseDC(nullptr, dc);
        ASSERT_TRUE(s.cx == 416 && s.cy == 15) << "font 0 measures " << s.cx << " x " << s.cy;
    }
};
const auto* const prefix_font = ::testing::AddGlobalTestEnvironment(new PrefixFont);

}  // namespace

namespace {
struct WindowSearch {
    DWORD pid;
    const char* cls;
    const char* title;
    bool visible_only;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char text[1024];
    GetClassNameA(hwnd, text, sizeof text);
    if (pid != s->pid || lstrcmpiA(text, s->cls) != 0) return TRUE;
    if (s->visible_only && !IsWindowVisible(hwnd)) return TRUE;
    if (s->title && (GetWindowTextA(hwnd, text, sizeof text), std::strcmp(text, s->title) != 0)) return TRUE;
    s->found = hwnd;
    return FALSE;
}
}  // namespace

HWND WindowOf(DWORD pid, const char* cls, const char* title, HWND parent, bool visible_only) {
    WindowSearch s{pid, cls, title, visible_only, nullptr};
    if (parent) EnumChildWindows(parent, MatchWindow, reinterpret_cast<LPARAM>(&s));
    else EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::string BesideThisProgram(const char* name) {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string exe(path, n);
    return exe.substr(0, exe.find_last_of("\\/") + 1) + name;
}

unsigned EnvNumber(const char* name, unsigned fallback) {
    const char* v = std::getenv(name);
    return v && *v ? unsigned(std::strtoul(v, nullptr, 0)) : fallback;
}

std::vector<unsigned> StormSeeds(std::initializer_list<unsigned> fixed) {
    const char* v = std::getenv("PELOMAR_STORM_SEED");
    if (!v || !*v) return fixed;
    if (std::strcmp(v, "random") == 0) return {std::random_device{}()};
    return {unsigned(std::strtoul(v, nullptr, 0))};
}

}  // namespace wt
