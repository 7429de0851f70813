// Shows a control with real data (the first bytes of Pelomar.dll itself),
// a few typed bytes and a selection, and saves the control window, scroll
// bar included, as a 24-bit BMP. Built and run by screenshot-control.sh.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "shared/pelomar.h"

namespace {

constexpr int kClientWidth = 600, kClientHeight = 320;
constexpr DWORD kShownBytes = 4096;

bool SaveBmp(HWND hwnd, const char* path) {
    RECT r;
    GetWindowRect(hwnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC window_dc = GetWindowDC(hwnd);
    HDC mem = CreateCompatibleDC(window_dc);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;  // bottom-up, as a BMP file stores it
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(window_dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, window_dc, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((w * 3 + 3) / 4) * 4;
    const DWORD image = stride * h;
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
    fh.bfSize = fh.bfOffBits + image;
    bool ok = false;
    if (FILE* f = std::fopen(path, "wb")) {
        ok = std::fwrite(&fh, sizeof(fh), 1, f) == 1 &&
             std::fwrite(&bi.bmiHeader, sizeof(bi.bmiHeader), 1, f) == 1 &&
             std::fwrite(bits, image, 1, f) == 1;
        std::fclose(f);
    }
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(hwnd, window_dc);
    return ok;
}

void Pump() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const char* out = argc > 1 ? argv[1] : "control.bmp";
    HMODULE lib = LoadLibraryA(PELOMAR_DLL);
    if (!lib) {
        std::printf("cannot load %s\n", PELOMAR_DLL);
        return 1;
    }
    std::vector<unsigned char> data(kShownBytes);
    char path[MAX_PATH];
    GetModuleFileNameA(lib, path, MAX_PATH);
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD got = 0;
    ReadFile(f, data.data(), kShownBytes, &got, nullptr);
    CloseHandle(f);
    if (got == 0) return 1;
    data.resize(got);

    const int sb = GetSystemMetrics(SM_CXVSCROLL);
    RECT r{0, 0, kClientWidth + sb, kClientHeight};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
    HWND parent = CreateWindowExA(0, "STATIC", "Pelomar", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                  0, 0, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND control = CreateWindowExA(0, PELOMAR_CLASS, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0,
                                   kClientWidth + sb, kClientHeight, parent, nullptr, nullptr,
                                   nullptr);
    ShowWindow(parent, SW_SHOWNORMAL);
    SendMessageA(control, PM_SETDATA, reinterpret_cast<WPARAM>(data.data()), data.size());
    // A few typed bytes: the recency list colours them once typing exists.
    SendMessageA(control, PM_SELECTRANGE, 0x44, 0x44);
    for (const char* k = "C0FFEE"; *k; ++k) SendMessageA(control, WM_CHAR, *k, 0);
    SendMessageA(control, PM_SELECTRANGE, 0x4E, 0x76);  // the DOS stub's message
    Pump();
    UpdateWindow(control);
    Pump();
    const bool ok = SaveBmp(control, out);
    DestroyWindow(parent);
    FreeLibrary(lib);
    std::printf("%s %s\n", ok ? "saved" : "could not save", out);
    return ok ? 0 : 1;
}
