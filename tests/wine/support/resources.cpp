// Accounting of the system objects a watched module makes.
#include "support/resources.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <map>
#include <mutex>
#include <new>
#include <set>
#include <utility>

#include <shellapi.h>

#include "support/iat.h"

namespace wt {
namespace {

// A critical section rather than a library mutex: when the test program
// itself is watched, a mutex that allocates would call back into the watch.
struct Lock {
    CRITICAL_SECTION cs;
    Lock() { InitializeCriticalSection(&cs); }
    void lock() { EnterCriticalSection(&cs); }
    void unlock() { LeaveCriticalSection(&cs); }
} lock;
// The sets are never destroyed: the patched imports stay in place while the
// program exits, and the runtime's own clean-up still calls through them.
struct Sets {
    std::set<void*> gdi, dcs, menus, globals, memory, handles, views;
    std::set<HWND> windows;
    std::set<std::pair<HWND, UINT_PTR>> timers;
    std::map<const void*, size_t> peaks;  // per set, the largest size since ResetPeaks
};
alignas(Sets) unsigned char sets_storage[sizeof(Sets)];
Sets& sets = *new (sets_storage) Sets;
std::set<void*>&gdi = sets.gdi, &dcs = sets.dcs, &menus = sets.menus, &globals = sets.globals,
    &memory = sets.memory, &handles = sets.handles, &views = sets.views;
std::set<HWND>& windows = sets.windows;
std::set<std::pair<HWND, UINT_PTR>>& timers = sets.timers;

template <typename T> bool Empty(const T& v) { return !v; }
template <typename A, typename B> bool Empty(const std::pair<A, B>&) { return false; }

// Windows and timers are never released through a watched call (a parent
// takes its children along): the dead ones are dropped as new ones come.
template <typename T> void Prune(std::set<T>&) {}
void Prune(std::set<HWND>& s) {
    for (auto i = s.begin(); i != s.end();) i = IsWindow(*i) ? std::next(i) : s.erase(i);
}
void Prune(std::set<std::pair<HWND, UINT_PTR>>& s) {
    for (auto i = s.begin(); i != s.end();) i = !i->first || IsWindow(i->first) ? std::next(i) : s.erase(i);
}

// When the watched module is the test program itself, the sets' own nodes
// come from the watched allocator: those nested calls are not accounted.
bool busy = false;

template <typename T> void Add(std::set<T>& s, T v) {
    if (Empty(v)) return;
    std::lock_guard<Lock> g(lock);
    if (busy) return;
    busy = true;
    Prune(s);
    s.insert(v);
    size_t& peak = sets.peaks[&s];
    if (s.size() > peak) peak = s.size();
    busy = false;
}
template <typename T> void Remove(std::set<T>& s, T v) {
    std::lock_guard<Lock> g(lock);
    if (busy) return;
    busy = true;
    s.erase(v);
    busy = false;
}

#define ORIGINAL(name) decltype(&::name) real_##name
ORIGINAL(CreateFontIndirectA);
ORIGINAL(CreateCompatibleDC);
ORIGINAL(CreateCompatibleBitmap);
ORIGINAL(CreateSolidBrush);
ORIGINAL(CreatePatternBrush);
ORIGINAL(CreateBitmap);
ORIGINAL(CreatePen);
ORIGINAL(DeleteObject);
ORIGINAL(DeleteDC);
ORIGINAL(GetDC);
ORIGINAL(ReleaseDC);
ORIGINAL(LoadBitmapA);
ORIGINAL(LoadImageA);
ORIGINAL(CreatePopupMenu);
ORIGINAL(CreateMenu);
ORIGINAL(DestroyMenu);
ORIGINAL(CreateDialogParamW);
ORIGINAL(CreateDialogParamA);
ORIGINAL(CreateWindowExA);
ORIGINAL(SetTimer);
ORIGINAL(KillTimer);
ORIGINAL(GlobalAlloc);
ORIGINAL(GlobalFree);
ORIGINAL(SetClipboardData);
ORIGINAL(DragFinish);
ORIGINAL(HeapAlloc);
ORIGINAL(HeapReAlloc);
ORIGINAL(HeapFree);
ORIGINAL(CreateFileA);
ORIGINAL(CreateFileMappingA);
ORIGINAL(CreateFileW);
ORIGINAL(CreateFileMappingW);
ORIGINAL(CloseHandle);
ORIGINAL(MapViewOfFile);
ORIGINAL(UnmapViewOfFile);
ORIGINAL(FindFirstFileA);
ORIGINAL(FindClose);
void* (*real_malloc)(size_t);
void* (*real_calloc)(size_t, size_t);
void* (*real_realloc)(void*, size_t);
void (*real_free)(void*);

HFONT WINAPI MyCreateFontIndirectA(const LOGFONTA* lf) { HFONT h = real_CreateFontIndirectA(lf); Add<void*>(gdi, h); return h; }
HDC WINAPI MyCreateCompatibleDC(HDC dc) { HDC h = real_CreateCompatibleDC(dc); Add<void*>(gdi, h); return h; }
HBITMAP WINAPI MyCreateCompatibleBitmap(HDC dc, int w, int h) { HBITMAP b = real_CreateCompatibleBitmap(dc, w, h); Add<void*>(gdi, b); return b; }
HBRUSH WINAPI MyCreateSolidBrush(COLORREF c) { HBRUSH h = real_CreateSolidBrush(c); Add<void*>(gdi, h); return h; }
HBRUSH WINAPI MyCreatePatternBrush(HBITMAP b) { HBRUSH h = real_CreatePatternBrush(b); Add<void*>(gdi, h); return h; }
HBITMAP WINAPI MyCreateBitmap(int w, int h, UINT p, UINT b, const void* bits) { HBITMAP r = real_CreateBitmap(w, h, p, b, bits); Add<void*>(gdi, r); return r; }
HPEN WINAPI MyCreatePen(int s, int w, COLORREF c) { HPEN h = real_CreatePen(s, w, c); Add<void*>(gdi, h); return h; }
BOOL WINAPI MyDeleteObject(HGDIOBJ o) { Remove<void*>(gdi, o); return real_DeleteObject(o); }
BOOL WINAPI MyDeleteDC(HDC dc) { Remove<void*>(gdi, dc); return real_DeleteDC(dc); }
HDC WINAPI MyGetDC(HWND w) { HDC h = real_GetDC(w); Add<void*>(dcs, h); return h; }
int WINAPI MyReleaseDC(HWND w, HDC dc) { Remove<void*>(dcs, dc); return real_ReleaseDC(w, dc); }
HBITMAP WINAPI MyLoadBitmapA(HINSTANCE i, LPCSTR n) { HBITMAP h = real_LoadBitmapA(i, n); Add<void*>(gdi, h); return h; }
HANDLE WINAPI MyLoadImageA(HINSTANCE i, LPCSTR n, UINT t, int w, int h, UINT f) {
    HANDLE r = real_LoadImageA(i, n, t, w, h, f);
    if (t == IMAGE_BITMAP && !(f & LR_SHARED)) Add<void*>(gdi, r);
    return r;
}
HMENU WINAPI MyCreatePopupMenu() { HMENU h = real_CreatePopupMenu(); Add<void*>(menus, h); return h; }
HMENU WINAPI MyCreateMenu() { HMENU h = real_CreateMenu(); Add<void*>(menus, h); return h; }
BOOL WINAPI MyDestroyMenu(HMENU m) { Remove<void*>(menus, m); return real_DestroyMenu(m); }
HWND WINAPI MyCreateDialogParamW(HINSTANCE i, LPCWSTR t, HWND o, DLGPROC p, LPARAM l) { HWND h = real_CreateDialogParamW(i, t, o, p, l); Add(windows, h); return h; }
HWND WINAPI MyCreateDialogParamA(HINSTANCE i, LPCSTR t, HWND o, DLGPROC p, LPARAM l) { HWND h = real_CreateDialogParamA(i, t, o, p, l); Add(windows, h); return h; }
HWND WINAPI MyCreateWindowExA(DWORD x, LPCSTR c, LPCSTR t, DWORD s, int X, int Y, int W, int H, HWND p, HMENU m, HINSTANCE i, LPVOID d) {
    HWND h = real_CreateWindowExA(x, c, t, s, X, Y, W, H, p, m, i, d);
    Add(windows, h);
    return h;
}
UINT_PTR WINAPI MySetTimer(HWND w, UINT_PTR id, UINT ms, TIMERPROC f) {
    UINT_PTR r = real_SetTimer(w, id, ms, f);
    if (r) Add(timers, std::make_pair(w, w ? id : r));
    return r;
}
BOOL WINAPI MyKillTimer(HWND w, UINT_PTR id) { Remove(timers, std::make_pair(w, id)); return real_KillTimer(w, id); }
HGLOBAL WINAPI MyGlobalAlloc(UINT f, SIZE_T n) { HGLOBAL h = real_GlobalAlloc(f, n); Add<void*>(globals, h); return h; }
HGLOBAL WINAPI MyGlobalFree(HGLOBAL h) { Remove<void*>(globals, h); return real_GlobalFree(h); }
HANDLE WINAPI MySetClipboardData(UINT f, HANDLE h) {
    HANDLE r = real_SetClipboardData(f, h);
    if (r) Remove<void*>(globals, h);
    return r;
}
// A dropped block belongs to its receiver, who releases it here.
void WINAPI MyDragFinish(HDROP h) { Remove<void*>(globals, h); real_DragFinish(h); }
LPVOID WINAPI MyHeapAlloc(HANDLE heap, DWORD f, SIZE_T n) { void* p = real_HeapAlloc(heap, f, n); Add(memory, p); return p; }
LPVOID WINAPI MyHeapReAlloc(HANDLE heap, DWORD f, LPVOID p, SIZE_T n) {
    void* q = real_HeapReAlloc(heap, f, p, n);
    if (q) { Remove(memory, p); Add(memory, q); }
    return q;
}
BOOL WINAPI MyHeapFree(HANDLE heap, DWORD f, LPVOID p) { Remove(memory, p); return real_HeapFree(heap, f, p); }
HANDLE WINAPI MyCreateFileA(LPCSTR n, DWORD a, DWORD s, LPSECURITY_ATTRIBUTES sa, DWORD c, DWORD fl, HANDLE t) {
    HANDLE h = real_CreateFileA(n, a, s, sa, c, fl, t);
    if (h != INVALID_HANDLE_VALUE) Add<void*>(handles, h);
    return h;
}
HANDLE WINAPI MyCreateFileMappingA(HANDLE f, LPSECURITY_ATTRIBUTES sa, DWORD p, DWORD hi, DWORD lo, LPCSTR n) {
    HANDLE h = real_CreateFileMappingA(f, sa, p, hi, lo, n);
    Add<void*>(handles, h);
    return h;
}
HANDLE WINAPI MyCreateFileW(LPCWSTR n, DWORD a, DWORD s, LPSECURITY_ATTRIBUTES sa, DWORD c, DWORD fl, HANDLE t) {
    HANDLE h = real_CreateFileW(n, a, s, sa, c, fl, t);
    if (h != INVALID_HANDLE_VALUE) Add<void*>(handles, h);
    return h;
}
HANDLE WINAPI MyCreateFileMappingW(HANDLE f, LPSECURITY_ATTRIBUTES sa, DWORD p, DWORD hi, DWORD lo, LPCWSTR n) {
    HANDLE h = real_CreateFileMappingW(f, sa, p, hi, lo, n);
    Add<void*>(handles, h);
    return h;
}
BOOL WINAPI MyCloseHandle(HANDLE h) { Remove<void*>(handles, h); return real_CloseHandle(h); }
LPVOID WINAPI MyMapViewOfFile(HANDLE m, DWORD a, DWORD hi, DWORD lo, SIZE_T n) { void* v = real_MapViewOfFile(m, a, hi, lo, n); Add(views, v); return v; }
BOOL WINAPI MyUnmapViewOfFile(LPCVOID v) { Remove(views, const_cast<void*>(v)); return real_UnmapViewOfFile(v); }
HANDLE WINAPI MyFindFirstFileA(LPCSTR n, LPWIN32_FIND_DATAA d) {
    HANDLE h = real_FindFirstFileA(n, d);
    if (h != INVALID_HANDLE_VALUE) Add<void*>(handles, h);
    return h;
}
BOOL WINAPI MyFindClose(HANDLE h) { Remove<void*>(handles, h); return real_FindClose(h); }
void* my_malloc(size_t n) { void* p = real_malloc(n); Add(memory, p); return p; }
void* my_calloc(size_t n, size_t m) { void* p = real_calloc(n, m); Add(memory, p); return p; }
void* my_realloc(void* p, size_t n) {
    void* q = real_realloc(p, n);
    if (q || !n) Remove(memory, p);
    Add(memory, q);
    return q;
}
void my_free(void* p) { Remove(memory, p); real_free(p); }

template <typename F> void Hook(HMODULE m, const char* dll, const char* name, F& real, F mine) {
    void* previous = PatchImport(m, dll, name, reinterpret_cast<void*>(mine));
    if (previous && !real) real = reinterpret_cast<F>(previous);
}

}  // namespace

#define HOOK(dll, name) Hook(module, dll, #name, real_##name, &My##name)

void WatchModule(HMODULE module) {
    static std::set<HMODULE> watched;
    if (!module || !watched.insert(module).second) return;
    HOOK("gdi32.dll", CreateFontIndirectA);
    HOOK("gdi32.dll", CreateCompatibleDC);
    HOOK("gdi32.dll", CreateCompatibleBitmap);
    HOOK("gdi32.dll", CreateSolidBrush);
    HOOK("gdi32.dll", CreatePatternBrush);
    HOOK("gdi32.dll", CreateBitmap);
    HOOK("gdi32.dll", CreatePen);
    HOOK("gdi32.dll", DeleteObject);
    HOOK("gdi32.dll", DeleteDC);
    HOOK("user32.dll", GetDC);
    HOOK("user32.dll", ReleaseDC);
    HOOK("user32.dll", LoadBitmapA);
    HOOK("user32.dll", LoadImageA);
    HOOK("user32.dll", CreatePopupMenu);
    HOOK("user32.dll", CreateMenu);
    HOOK("user32.dll", DestroyMenu);
    HOOK("user32.dll", CreateDialogParamW);
    HOOK("user32.dll", CreateDialogParamA);
    HOOK("user32.dll", CreateWindowExA);
    HOOK("user32.dll", SetTimer);
    HOOK("user32.dll", KillTimer);
    HOOK("user32.dll", SetClipboardData);
    HOOK("shell32.dll", DragFinish);
    HOOK("kernel32.dll", GlobalAlloc);
    HOOK("kernel32.dll", GlobalFree);
    HOOK("kernel32.dll", HeapAlloc);
    HOOK("kernel32.dll", HeapReAlloc);
    HOOK("kernel32.dll", HeapFree);
    HOOK("kernel32.dll", CreateFileA);
    HOOK("kernel32.dll", CreateFileMappingA);
    HOOK("kernel32.dll", CreateFileW);
    HOOK("kernel32.dll", CreateFileMappingW);
    HOOK("kernel32.dll", CloseHandle);
    HOOK("kernel32.dll", MapViewOfFile);
    HOOK("kernel32.dll", UnmapViewOfFile);
    HOOK("kernel32.dll", FindFirstFileA);
    HOOK("kernel32.dll", FindClose);
    Hook(module, "msvcrt.dll", "malloc", real_malloc, &my_malloc);
    Hook(module, "msvcrt.dll", "calloc", real_calloc, &my_calloc);
    Hook(module, "msvcrt.dll", "realloc", real_realloc, &my_realloc);
    Hook(module, "msvcrt.dll", "free", real_free, &my_free);
}

// The live objects, or the most that were alive at once since ResetPeaks.
static LiveObjects Count(bool peak) {
    std::lock_guard<Lock> g(lock);
    busy = true;
    Prune(windows);
    Prune(timers);
    auto n = [peak](const auto& s) {
        const auto i = sets.peaks.find(&s);
        return long(peak && i != sets.peaks.end() ? std::max(i->second, s.size()) : s.size());
    };
    LiveObjects l;
    l.gdi = n(gdi);
    l.dcs = n(dcs);
    l.menus = n(menus);
    l.windows = n(windows);
    l.timers = n(timers);
    l.globals = n(globals);
    l.memory = n(memory);
    l.handles = n(handles) + n(views);
    busy = false;
    return l;
}

LiveObjects Live() { return Count(false); }
LiveObjects Peaks() { return Count(true); }
void ResetPeaks() {
    std::lock_guard<Lock> g(lock);
    sets.peaks.clear();
}

std::string LiveObjects::Describe() const {
    return "gdi " + std::to_string(gdi) + ", dcs " + std::to_string(dcs) + ", menus " +
           std::to_string(menus) + ", windows " + std::to_string(windows) + ", timers " +
           std::to_string(timers) + ", globals " + std::to_string(globals) + ", memory " +
           std::to_string(memory) + ", handles " + std::to_string(handles);
}

bool LiveObjects::operator==(const LiveObjects& o) const {
    return gdi == o.gdi && dcs == o.dcs && menus == o.menus && windows == o.windows &&
           timers == o.timers && globals == o.globals && memory == o.memory && handles == o.handles;
}

}  // namespace wt
