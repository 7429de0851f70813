// Helpers shared by the tests of the context menu, the clipboard copies
// and the Find and Select dialogs: reading the clipboard, finding this
// thread's dialogs and reading a control's selection through a copy.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "support/support.h"

namespace mt {

// The CF_TEXT block on the clipboard, whole, or nothing when there is none.
inline std::string ClipboardBlock(bool* present = nullptr) {
    std::string bytes;
    if (present) *present = false;
    if (!OpenClipboard(nullptr)) return bytes;
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (auto* p = static_cast<const char*>(GlobalLock(h))) {
            bytes.assign(p, GlobalSize(h));
            GlobalUnlock(h);
            if (present) *present = true;
        }
    }
    CloseClipboard();
    return bytes;
}

// The clipboard's text up to its terminating zero.
inline std::string ClipboardText() {
    std::string block = ClipboardBlock();
    return block.substr(0, block.find('\0'));
}

inline void PutClipboardText(const char* text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SIZE_T n = lstrlenA(text) + 1;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, n);
    CopyMemory(GlobalLock(h), text, n);
    GlobalUnlock(h);
    SetClipboardData(CF_TEXT, h);
    CloseClipboard();
}

// The clipboard is shared by every process of the desktop, and tests run
// in parallel: a test holds this lock from putting something on the
// clipboard until it has read it back. Re-entrant within a thread.
class ClipboardLock {
public:
    ClipboardLock() : mutex_(CreateMutexA(nullptr, FALSE, "PelomarTestClipboard")) {
        WaitForSingleObject(mutex_, INFINITE);
    }
    ~ClipboardLock() {
        ReleaseMutex(mutex_);
        CloseHandle(mutex_);
    }
    ClipboardLock(const ClipboardLock&) = delete;
    ClipboardLock& operator=(const ClipboardLock&) = delete;

private:
    HANDLE mutex_;
};

// Sends a copy command and returns the whole block it left on the
// clipboard (or the marker put there before, when it left none).
inline std::string CopyBlockAs(const wt::ControlWindow& w, unsigned command,
                               bool* present = nullptr) {
    ClipboardLock lock;
    PutClipboardText("(before)");
    w.Send(WM_COMMAND, command, 0);
    return ClipboardBlock(present);
}

inline std::string CopyAs(const wt::ControlWindow& w, unsigned command) {
    std::string block = CopyBlockAs(w, command);
    return block.substr(0, block.find('\0'));
}

// The selection as the data offsets [lo, hi), read by swapping the data
// for the bytes 0, 1, 2, ... while a "Hex" copy is taken. Data of at most
// 256 bytes. An empty selection gives {-1, -1}.
inline std::pair<int, int> Selection(wt::ControlWindow& w) {
    std::vector<std::uint8_t> saved = w.data();
    for (std::size_t i = 0; i < w.data().size(); ++i) w.data()[i] = std::uint8_t(i);
    std::string hex = CopyAs(w, PMC_COPY_HEX);
    std::copy(saved.begin(), saved.end(), w.data().begin());
    if (hex.empty()) return {-1, -1};
    int lo = std::stoi(hex.substr(0, 2), nullptr, 16);
    return {lo, lo + int(hex.size() / 2)};
}

struct DialogSearch {
    const char* caption;
    std::vector<HWND> found;
};

inline BOOL CALLBACK CollectDialog(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<DialogSearch*>(lp);
    char cls[32] = {}, text[64] = {};
    GetClassNameA(h, cls, sizeof cls);
    GetWindowTextA(h, text, sizeof text);
    if (lstrcmpA(cls, "#32770") == 0 && lstrcmpA(text, s->caption) == 0) s->found.push_back(h);
    return TRUE;
}

// The dialogs of this thread with the given caption.
inline std::vector<HWND> ThreadDialogs(const char* caption) {
    DialogSearch s{caption, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

inline HWND ThreadDialog(const char* caption) {
    auto all = ThreadDialogs(caption);
    return all.size() == 1 ? all[0] : nullptr;
}

// Presses a button of a dialog as a click does: the dialog procedure gets
// WM_COMMAND with the id (notification code 0) and the button's window.
inline void Press(HWND dlg, int id) {
    SendMessageW(dlg, WM_COMMAND, WPARAM(id), LPARAM(GetDlgItem(dlg, id)));
}

// Ticks a check box and tells the dialog, as an automatic check box does.
inline void Tick(HWND dlg, int id, bool checked) {
    CheckDlgButton(dlg, id, checked ? BST_CHECKED : BST_UNCHECKED);
    Press(dlg, id);
}

// A control's rectangle from its template in dialog units: position and
// size are converted each by itself, as the dialog manager does.
inline RECT DialogUnits(HWND dlg, int x, int y, int cx, int cy) {
    RECT r{x, y, cx, cy};
    MapDialogRect(dlg, &r);
    return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
}

inline RECT ChildRect(HWND dlg, int id) {
    RECT r{};
    HWND child = GetDlgItem(dlg, id);
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline std::string Text(HWND h) {
    char buf[256] = {};
    GetWindowTextA(h, buf, sizeof buf);
    return buf;
}

}  // namespace mt
