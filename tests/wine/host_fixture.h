// Shared by the in-process host tests: a private program directory, files
// in it, drops built by hand, and a main window created by the host's code.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "control/control.h"
#include <shlobj.h>
#include "host/host.h"
#include "support/support.h"

namespace ht {

// UTF-8 (plain ASCII in most tests) to UTF-16.
inline std::wstring Widen(const std::string& s) {
    std::wstring w(s.size(), L'\0');
    w.resize(MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), &w[0], int(w.size())));
    return w;
}
// Paths of any length, as the file calls take them.
inline std::wstring Long(const std::wstring& path) { return path.size() < MAX_PATH ? path : L"\\\\?\\" + path; }

// A fresh directory under the temporary directory, removed with all its
// files at the end.
class TempDir {
public:
    TempDir() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        static unsigned serial = 0;
        char name[MAX_PATH + 64];
        wsprintfA(name, "%spelomar-host-%lu-%u", base, GetCurrentProcessId(), ++serial);
        path_ = name;
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempDir() { RemoveTree(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

    // Wide and extended-length: names in any script and paths of any length.
    static void RemoveTree(const std::wstring& dir) {
        WIN32_FIND_DATAW f;
        HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &f);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::wstring n = f.cFileName;
                if (n == L"." || n == L"..") continue;
                std::wstring p = dir + L"\\" + n;
                SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(p);
                else DeleteFileW(p.c_str());
            } while (FindNextFileW(h, &f));
            FindClose(h);
        }
        RemoveDirectoryW(dir.c_str());
    }
    static void RemoveTree(const std::string& dir) { RemoveTree(L"\\\\?\\" + Widen(dir)); }

private:
    std::string path_;
};

inline void WriteBytes(const std::wstring& path, const std::string& bytes, bool read_only = false) {
    const std::wstring name = Long(path);
    SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE f = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << path.size();
    DWORD n = 0;
    if (!bytes.empty()) WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(f);
    if (read_only) SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_READONLY);
}
inline void WriteBytes(const std::string& path, const std::string& bytes, bool read_only = false) {
    WriteBytes(Widen(path), bytes, read_only);
}

inline std::string ReadBytes(const std::wstring& path) {
    HANDLE f = CreateFileW(Long(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "<missing>";
    std::string s(GetFileSize(f, nullptr), '\0');
    DWORD n = 0;
    if (!s.empty()) ReadFile(f, &s[0], static_cast<DWORD>(s.size()), &n, nullptr);
    CloseHandle(f);
    return s;
}
inline std::string ReadBytes(const std::string& path) { return ReadBytes(Widen(path)); }

// True when another program could open the file for writing now.
inline bool OpensForWriting(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    CloseHandle(f);
    return true;
}

// Another program reading the file and refusing writers: the host can then
// open it for reading only. (Under Wine run as root the read-only attribute
// does not stop writers, so tests make files read-only this way.)
class ReadOnlyHold {
public:
    explicit ReadOnlyHold(const std::string& path)
        : file_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~ReadOnlyHold() {
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    }
    ReadOnlyHold(const ReadOnlyHold&) = delete;
    ReadOnlyHold& operator=(const ReadOnlyHold&) = delete;
    bool held() const { return file_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE file_;
};

// A DROPFILES block as the shell hands it over, sent as WM_DROPFILES:
// 8-bit or UTF-16 paths.
template <class Text>
inline void Drop(HWND window, const std::vector<Text>& paths) {
    using Char = typename Text::value_type;
    SIZE_T bytes = sizeof(DROPFILES) + sizeof(Char);
    for (const auto& p : paths) bytes += (p.size() + 1) * sizeof(Char);
    HGLOBAL block = GlobalAlloc(GHND, bytes);
    auto* df = static_cast<DROPFILES*>(GlobalLock(block));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = sizeof(Char) > 1;
    auto* at = reinterpret_cast<Char*>(df + 1);
    for (const auto& p : paths) at = std::copy(p.c_str(), p.c_str() + p.size() + 1, at);
    GlobalUnlock(block);
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}
inline void Drop(HWND window, const std::vector<std::string>& paths) { Drop<std::string>(window, paths); }

// The control library's record of a control, to see what the host sent it.
inline const Control* ControlOf(HWND control) {
    return static_cast<const Control*>(GetPropA(control, kStateProperty));
}

inline std::string Title(HWND w) {
    char text[1024];
    GetWindowTextA(w, text, sizeof text);
    return text;
}
inline std::wstring TitleW(HWND w) {
    std::wstring text(GetWindowTextLengthW(w) + 1, L'\0');
    text.resize(GetWindowTextW(w, &text[0], int(text.size())));
    return text;
}

// The host's main window, created in this process with its program
// directory set to a private TempDir.
class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(wt::Library(), nullptr);
        SetProgramDirectory(dir.path().c_str());
        PrepareDirectory();
        InitHostProcess();
        ASSERT_TRUE(RegisterTabStripClass());
        ASSERT_TRUE(RegisterMainClass());
        main = CreateMainWindow();
        ASSERT_NE(main, nullptr);
        w = MainWindowState(main);
        ASSERT_NE(w, nullptr);
        wt::Pump();
    }
    void TearDown() override {
        if (main) DestroyWindow(main);
        wt::Pump();
        SetProgramDirectory(nullptr);
    }
    // Files that must exist before the window is created.
    virtual void PrepareDirectory() {}

    HWND Control(unsigned tab) const { return static_cast<HWND>(w->docs.records[tab - 1].control); }
    LRESULT Strip(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return SendMessageA(w->strip, msg, wp, lp); }
    std::wstring Label(unsigned index) const { return reinterpret_cast<const wchar_t*>(Strip(GDTM_GETTEXT, index)); }
    std::wstring Path(unsigned tab) const { return WideText(w->docs.records[tab - 1].path); }
    // A pointer gesture on the strip at (x, y): move, press, release.
    void Click(int x, int y = 12) const {
        SendMessageA(w->strip, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        SendMessageA(w->strip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageA(w->strip, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        wt::Pump();
    }
    // Tab places are 106 pixels apart; the close part is at 84 to 105.
    void CloseAtPlace(int place) const { Click((place - 1) * 106 + 95); }
    void SelectAtPlace(int place) const { Click((place - 1) * 106 + 40); }

    TempDir dir;
    HWND main = nullptr;
    MainWindow* w = nullptr;
};

}  // namespace ht
