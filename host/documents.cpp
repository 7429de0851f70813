// Documents: files mapped whole, each shown by a control of its own behind
// its tab; opening from the dialog and from drops, switching and closing.
#include "host/host.h"

#include <commdlg.h>

#include "host/core/tabs.h"

namespace {

// Large enough for a big multi-selection in the open dialog.
const DWORD kOpenBufferBytes = 256 * 1024;
const DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

// Changed pages reach the file before the view goes, then the handles.
void Release(const pm::Document& d) {
    HeapFree(g_host.heap, 0, d.path);
    if (d.control) DestroyWindow(static_cast<HWND>(d.control));
    if (d.view) {
        FlushViewOfFile(d.view, 0);
        FlushFileBuffers(static_cast<HANDLE>(d.file));
        UnmapViewOfFile(d.view);
    }
    if (d.file) CloseHandle(static_cast<HANDLE>(d.file));
}

// Reserves the next record and its path buffer, which becomes the current
// path. Null when the table is full or memory is short.
pm::Document* Reserve(MainWindow* w) {
    pm::Document* d = w->docs.reserve();
    if (!d) return nullptr;
    d->path = static_cast<char*>(HeapAlloc(g_host.heap, HEAP_ZERO_MEMORY, pm::kPathBytes));
    if (!d->path) {
        w->docs.give_back();
        return nullptr;
    }
    w->current_path = d->path;
    return d;
}

// Gives the reserved record back after a failure; nothing of it remains.
void Fail(MainWindow* w, pm::Document* d, HWND previous) {
    if (d->control) DestroyWindow(static_cast<HWND>(d->control));
    if (d->file) CloseHandle(static_cast<HANDLE>(d->file));
    HeapFree(g_host.heap, 0, d->path);
    w->docs.give_back();
    w->current_path = CANNOT_OPEN_TEXT;
    w->current = previous;
}

// Records a path that cannot be opened at all (too long, a directory).
void Skip(MainWindow* w) { w->current_path = CANNOT_OPEN_TEXT; }

// Opens the file named by the reserved record's path, maps it whole and
// gives it a control and a tab. The mapping object is closed as soon as the
// view exists: the view keeps it alive until it is unmapped.
void OpenReserved(MainWindow* w, pm::Document* d) {
    HWND previous = w->current;
    HWND control = CreateWindowExA(0, PELOMAR_CLASS, nullptr, WS_CHILD | WS_VSCROLL, 0, kStripHeight,
                                   static_cast<int>(w->client_width),
                                   w->control_height > 0 ? w->control_height : 0, w->window, nullptr,
                                   g_host.instance, nullptr);
    d->control = control;
    w->current = control;

    DWORD protect = PAGE_READWRITE, access = FILE_MAP_READ | FILE_MAP_WRITE;
    HANDLE file = CreateFileA(d->path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        file = CreateFileA(d->path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
        if (file == INVALID_HANDLE_VALUE) return Fail(w, d, previous);
        protect = PAGE_READONLY;
        access = FILE_MAP_READ;
        SendMessageA(control, PM_SETREADONLY, 1, 0);
    }
    d->file = file;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    // Only the low 32 bits are handed on; a bigger file is not mapped at
    // all rather than shown cut short.
    if (high != 0 || size == 0) return Fail(w, d, previous);
    HANDLE mapping = CreateFileMappingA(file, nullptr, protect, 0, 0, nullptr);
    if (!mapping) return Fail(w, d, previous);
    void* view = MapViewOfFile(mapping, access, 0, 0, 0);
    CloseHandle(mapping);
    if (!view) return Fail(w, d, previous);
    d->view = view;

    SendMessageA(control, PM_SETDATA, reinterpret_cast<WPARAM>(view), static_cast<LPARAM>(size));
    SendMessageA(control, PM_SETNOTIFY, PM_NOTIFY_CHANGE, 0);
    SendMessageA(w->strip, GDTM_ADDTAB, 0, reinterpret_cast<LPARAM>(pm::file_name_part(d->path)));
    ApplySettings(w, control);
}

void ShowCurrent(MainWindow* w) {
    ShowWindow(w->current, SW_SHOW);
    SetTitle(w);
}

// Makes the document of a tab current: title, focus, shown, laid out.
void MakeCurrent(MainWindow* w, unsigned tab) {
    pm::Document* d = w->docs.for_tab(tab);
    if (!d) return;
    w->current_path = d->path;
    w->current = static_cast<HWND>(d->control);
    SetTitle(w);
    SetFocus(w->current);
    ShowWindow(w->current, SW_SHOW);
    MoveToDocumentArea(w, w->current);
}

}  // namespace

void OpenFromDialog(MainWindow* w) {
    auto* buffer = static_cast<char*>(HeapAlloc(g_host.heap, HEAP_ZERO_MEMORY, kOpenBufferBytes));
    if (!buffer) return;
    OPENFILENAMEA ofn{};
    // The whole structure of the current headers (88 bytes in the 32-bit
    // build), which every system since Windows 2000 takes; the 76-byte form
    // is for older ones only. The fields past it stay zero.
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = w->window;
    ofn.hInstance = g_host.instance;
    ofn.lpstrFilter = "All files\0*.*\0";
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = kOpenBufferBytes;
    ofn.lpstrTitle = "Choose file";
    ofn.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_LONGNAMES;
    // Cancelled, failed or a buffer too small: the result says so.
    if (GetOpenFileNameA(&ofn)) {
        ShowWindow(w->current, SW_HIDE);
        pm::OpenDialogResult result(buffer, kOpenBufferBytes);
        char path[pm::kPathBytes];
        for (;;) {
            auto step = result.next(path);
            if (step == pm::OpenDialogResult::kEnd || w->docs.full()) break;
            if (step == pm::OpenDialogResult::kTooLong) {
                Skip(w);
                continue;
            }
            pm::Document* d = Reserve(w);
            if (!d) break;
            lstrcpynA(d->path, path, pm::kPathBytes);
            OpenReserved(w, d);
        }
        ShowCurrent(w);
    }
    HeapFree(g_host.heap, 0, buffer);
}

void OpenDropped(MainWindow* w, HDROP drop) {
    ShowWindow(w->current, SW_HIDE);
    const UINT items = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < items && !w->docs.full(); ++i) {
        // A path that would not fit is skipped, never opened shortened.
        if (DragQueryFileA(drop, i, nullptr, 0) >= pm::kPathBytes) {
            Skip(w);
            continue;
        }
        pm::Document* d = Reserve(w);
        if (!d) break;
        DragQueryFileA(drop, i, d->path, pm::kPathBytes);
        DWORD attributes = GetFileAttributesA(d->path);
        if (attributes == kNoAttributes || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            HeapFree(g_host.heap, 0, d->path);
            w->docs.give_back();
            Skip(w);
            continue;
        }
        OpenReserved(w, d);
    }
    DragFinish(drop);
    ShowCurrent(w);
}

void SwitchToTab(MainWindow* w, unsigned previous, unsigned now) {
    if (!w->docs.for_tab(now)) return;
    if (pm::Document* old = w->docs.for_tab(previous)) ShowWindow(static_cast<HWND>(old->control), SW_HIDE);
    MakeCurrent(w, now);
}

void CloseTab(MainWindow* w, unsigned tab) {
    if (!w->docs.for_tab(tab)) return;
    Release(w->docs.remove_tab(tab));
    if (w->docs.count == 0) {
        ShowWindow(w->placeholder, SW_SHOW);
        w->current_path = nullptr;
        SetTitle(w);
        w->current = w->placeholder;
        MoveToDocumentArea(w, w->placeholder);
        return;
    }
    MakeCurrent(w, static_cast<unsigned>(SendMessageA(w->strip, GDTM_GETCURSEL, 0, 0)));
}

void OnControlNotify(MainWindow* w, const NMHDR* header) {
    if (header->code != PMN_CHANGE) return;
    const pm::u32 tab = w->docs.tab_of_control(header->hwndFrom);
    if (!tab) return;
    pm::Document& d = w->docs.records[tab - 1];
    const pm::u32 changed = reinterpret_cast<const PELOMAR_NMCHANGE*>(header)->changed ? 1 : 0;
    if (d.changed == changed) return;
    d.changed = changed;
    SendMessageA(w->strip, GDTM_SETMARKS, tab - 1, changed ? pm::kMarkChanged : 0);
}

void ReleaseAllDocuments(MainWindow* w) {
    while (w->docs.count > 0) Release(w->docs.pop_last());
    w->current_path = nullptr;
    w->current = w->placeholder;
}
