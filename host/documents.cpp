// Documents: files mapped whole, each shown by a control of its own behind
// its tab; opening from the dialog and from drops, switching and closing,
// and the read-only state of each.
#include "host/host.h"

#include <commdlg.h>

#include "control/core/view.h"
#include "host/core/tabs.h"

#include <limits>

namespace {

// Characters of the open dialog's result: room for a big multi-selection.
const DWORD kOpenBufferChars = 128 * 1024;

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

// A heap block for a path of length units and its zero.
char16_t* NewPath(std::size_t length) {
    if (length >= std::numeric_limits<std::size_t>::max() / sizeof(char16_t) - pm::kOpenFormExtra) return nullptr;
    return static_cast<char16_t*>(HeapAlloc(g_host.heap, HEAP_ZERO_MEMORY, (length + 1) * sizeof(char16_t)));
}

// Reserves the next record with a path buffer of length units, which becomes
// the current path. Null when the table is full or memory is short.
pm::Document* Reserve(MainWindow* w, std::size_t length) {
    pm::Document* d = w->docs.reserve();
    if (!d) return nullptr;
    d->path = NewPath(length);
    if (!d->path) {
        w->docs.give_back();
        return nullptr;
    }
    w->current_path = WideText(d->path);
    return d;
}

// Gives the reserved record back; nothing of it remains.
void GiveBack(MainWindow* w, pm::Document* d) {
    if (d->control) DestroyWindow(static_cast<HWND>(d->control));
    if (d->file) CloseHandle(static_cast<HANDLE>(d->file));
    HeapFree(g_host.heap, 0, d->path);
    w->docs.give_back();
}

void Fail(MainWindow* w, pm::Document* d, HWND previous) {
    GiveBack(w, d);
    w->current_path = CANNOT_OPEN_TEXT;
    w->current = previous;
}

// The tab's marks: read-only, and changed since the file was opened.
void ShowMarks(MainWindow* w, unsigned tab, const pm::Document& d) {
    const unsigned marks = (d.mode != pm::kWritable ? pm::kMarkReadOnly : 0) | (d.changed ? pm::kMarkChanged : 0);
    SendMessageA(w->strip, GDTM_SETMARKS, tab - 1, marks);
}

// The tab's mark and the control's read-only flag follow the mode.
void ApplyMode(MainWindow* w, unsigned tab) {
    const pm::Document* d = w->docs.for_tab(tab);
    if (!d) return;
    SendMessageA(static_cast<HWND>(d->control), PM_SETREADONLY, d->mode != pm::kWritable ? 1 : 0, 0);
    ShowMarks(w, tab, *d);
}

// Opens a file for reading and writing unless its read-only attribute says
// otherwise, else, or when that fails, for reading only.
// A file that another program holds open for writing is opened for reading
// and lets that program go on writing. Null when it cannot be opened.
HANDLE OpenFile(const wchar_t* name, DWORD attributes, DWORD* mode) {
    *mode = pm::kReadOnlyOnly;
    DWORD share = FILE_SHARE_READ;
    if (!(attributes & FILE_ATTRIBUTE_READONLY)) {
        HANDLE file = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            *mode = pm::kWritable;
            return file;
        }
        if (GetLastError() == ERROR_SHARING_VIOLATION) share |= FILE_SHARE_WRITE;
    }
    HANDLE file = CreateFileW(name, GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

// Maps the whole file, writable when the mode allows and the address space
// has room for a writable view, else for reading, which makes the mode
// read-only for good. Null when no view can be had.
void* MapWhole(HANDLE file, DWORD* mode) {
    if (*mode != pm::kReadOnlyOnly) {
        if (HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READWRITE, 0, 0, nullptr)) {
            void* view = MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0);
            CloseHandle(mapping);
            if (view) return view;
        }
        *mode = pm::kReadOnlyOnly;
    }
    HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping) return nullptr;
    void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    CloseHandle(mapping);
    return view;
}

// The file's size when the control can take it and the address space can
// hold it: above zero, within pm::Offset and size_t. 0 otherwise.
pm::Offset MappableSize(HANDLE file) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart <= 0) return 0;
    const auto bytes = static_cast<unsigned long long>(size.QuadPart);
    if (bytes > std::numeric_limits<pm::Offset>::max() || bytes > std::numeric_limits<SIZE_T>::max()) return 0;
    return static_cast<pm::Offset>(bytes);
}

void ShowCurrent(MainWindow* w) {
    ShowWindow(w->current, SW_SHOW);
    MoveToDocumentArea(w, w->current);
    SetTitle(w);
    ShowReadOnlyState(w);
}

// Opens the file named by the reserved record's path, maps it whole and
// gives it a control and a tab. A file that is open already is not opened
// again: its tab is selected instead. The mapping object is closed as soon
// as the view exists: the view keeps it alive until it is unmapped.
void OpenReserved(MainWindow* w, pm::Document* d, std::size_t length, bool read_only) {
    HWND previous = w->current;
    char16_t* name = NewPath(length + pm::kOpenFormExtra);
    if (!name) return Fail(w, d, previous);
    pm::open_form(d->path, length, name);
    const DWORD attributes = GetFileAttributesW(WideText(name));
    DWORD mode = pm::kReadOnlyOnly;
    HANDLE file = nullptr;
    // A directory, or a name that names nothing, is not tried further.
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        file = OpenFile(WideText(name), attributes, &mode);
    HeapFree(g_host.heap, 0, name);
    if (!file) return Fail(w, d, previous);
    d->file = file;
    BY_HANDLE_FILE_INFORMATION info;
    // Devices and pipes are not files that can be mapped.
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info)) return Fail(w, d, previous);
    d->identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    if (unsigned tab = w->docs.tab_of(d->identity, w->docs.count - 1)) {
        GiveBack(w, d);
        pm::Document* open = w->docs.for_tab(tab);
        w->current_path = WideText(open->path);
        w->current = static_cast<HWND>(open->control);
        SendMessageA(w->strip, GDTM_SETCURSEL, tab, 0);
        return;
    }
    const pm::Offset size = MappableSize(file);
    void* view = size ? MapWhole(file, &mode) : nullptr;
    if (!view) return Fail(w, d, previous);
    d->view = view;
    d->mode = mode == pm::kWritable && read_only ? pm::u32(pm::kReadOnlyByChoice) : mode;

    HWND control = CreateWindowExA(0, PELOMAR_CLASS, nullptr, WS_CHILD | WS_VSCROLL, 0, kStripHeight,
                                   static_cast<int>(w->client_width),
                                   w->control_height > 0 ? w->control_height : 0, w->window, nullptr,
                                   g_host.instance, nullptr);
    d->control = control;
    w->current = control;
    if (d->mode != pm::kWritable) SendMessageA(control, PM_SETREADONLY, 1, 0);
    SendMessageA(control, PM_SETDATA, reinterpret_cast<WPARAM>(view), static_cast<LPARAM>(size));
    SendMessageA(control, PM_SETNOTIFY, PM_NOTIFY_CHANGE, 0);
    SendMessageA(w->strip, GDTM_ADDTAB, 0, reinterpret_cast<LPARAM>(pm::file_name_part(d->path)));
    if (d->mode != pm::kWritable) ApplyMode(w, w->docs.count);
    ApplySettings(w, control);
}

// Opens one full path of length units, which write puts into the new
// record's buffer; a full table or a short memory takes nothing.
template <class Writer>
void OpenPath(MainWindow* w, std::size_t length, bool read_only, Writer write) {
    pm::Document* d = Reserve(w, length);
    if (!d) return;
    write(d->path);
    OpenReserved(w, d, length, read_only);
}

// Makes the document of a tab current: title, focus, shown, laid out.
void MakeCurrent(MainWindow* w, unsigned tab) {
    pm::Document* d = w->docs.for_tab(tab);
    if (!d) return;
    w->current_path = WideText(d->path);
    w->current = static_cast<HWND>(d->control);
    SetTitle(w);
    SetFocus(w->current);
    ShowWindow(w->current, SW_SHOW);
    MoveToDocumentArea(w, w->current);
    ShowReadOnlyState(w);
}

unsigned CurrentTab(MainWindow* w) {
    for (unsigned i = 0; i < w->docs.count; ++i)
        if (static_cast<HWND>(w->docs.records[i].control) == w->current) return i + 1;
    return 0;
}

}  // namespace

void OpenFromDialog(MainWindow* w, bool read_only) {
    auto* buffer =
        static_cast<char16_t*>(HeapAlloc(g_host.heap, HEAP_ZERO_MEMORY, kOpenBufferChars * sizeof(char16_t)));
    if (!buffer) return;
    OPENFILENAMEW ofn{};
    // The whole structure of the current headers, which every system since
    // Windows 2000 takes; the fields past the old form stay zero.
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = w->window;
    ofn.hInstance = g_host.instance;
    ofn.lpstrFilter = L"All files\0*.*\0";
    ofn.lpstrFile = reinterpret_cast<wchar_t*>(buffer);
    ofn.nMaxFile = kOpenBufferChars;
    ofn.lpstrTitle = L"Choose file";
    ofn.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_LONGNAMES;
    // Cancelled, failed or a buffer too small: the result says so.
    if (GetOpenFileNameW(&ofn)) {
        ShowWindow(w->current, SW_HIDE);
        pm::OpenDialogResult result(buffer, kOpenBufferChars);
        pm::PathParts parts;
        while (!w->docs.full() && result.next(&parts))
            OpenPath(w, parts.length(), read_only, [&](char16_t* path) { parts.copy_to(path); });
        ShowCurrent(w);
    }
    HeapFree(g_host.heap, 0, buffer);
}

void OpenDropped(MainWindow* w, HDROP drop) {
    ShowWindow(w->current, SW_HIDE);
    const UINT items = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < items && !w->docs.full(); ++i) {
        // The buffer is sized to the path, however long.
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        OpenPath(w, length, false, [&](char16_t* path) {
            DragQueryFileW(drop, i, reinterpret_cast<wchar_t*>(path), length + 1);
        });
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
        ShowReadOnlyState(w);
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
    ShowMarks(w, tab, d);
}

void ReleaseAllDocuments(MainWindow* w) {
    while (w->docs.count > 0) Release(w->docs.pop_last());
    w->current_path = nullptr;
    w->current = w->placeholder;
}

void ToggleReadOnly(MainWindow* w) {
    const unsigned tab = CurrentTab(w);
    pm::Document* d = w->docs.for_tab(tab);
    if (!d || d->mode == pm::kReadOnlyOnly) {
        MessageBeep(MB_OK);
        return;
    }
    d->mode = d->mode == pm::kWritable ? pm::kReadOnlyByChoice : pm::kWritable;
    ApplyMode(w, tab);
    ShowReadOnlyState(w);
}

void ShowReadOnlyState(MainWindow* w) {
    HMENU menu = GetMenu(w->window);
    const pm::Document* d = w->docs.for_tab(CurrentTab(w));
    CheckMenuItem(menu, IDM_READONLY, MF_BYCOMMAND | (d && d->mode != pm::kWritable ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(menu, IDM_READONLY, MF_BYCOMMAND | (d && d->mode != pm::kReadOnlyOnly ? MF_ENABLED : MF_GRAYED));
}
