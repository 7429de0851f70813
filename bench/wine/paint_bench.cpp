// The cost of a full paint must not depend on the size of the block shown
// or on the position in it. Maps a 16 KiB file and a 1 GiB sparse file
// (or the largest view this 32-bit process can map), shows each at its
// first and at its last line, and times full repaints of the four
// controls, paint by paint in turn so that load on the machine hits all alike.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

#include "bench/wine/bench_support.h"
#include "support/support.h"

namespace {

constexpr std::uint64_t kSmall = 16u << 10;
constexpr std::uint64_t kLarge = 1u << 30;
constexpr int kRounds = 40;
constexpr int kPaintsPerRound = 10;
constexpr int kClientWidth = 600, kClientHeight = 450;

class MappedFile {
public:
    MappedFile(const std::string& path, std::uint64_t size) : path_(path) {
        file_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (file_ == INVALID_HANDLE_VALUE) return;
        // Bytes at both ends; the rest stays a hole in the file.
        WritePattern(0);
        WritePattern(size - kPattern);
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(size);
        SetFilePointerEx(file_, end, nullptr, FILE_BEGIN);
        SetEndOfFile(file_);
        mapping_ = CreateFileMappingA(file_, nullptr, PAGE_READWRITE, 0, 0, nullptr);
        if (!mapping_) return;
        // A 32-bit process may find no gap large enough: take the largest
        // tail of the file that maps, so the last line is still the file's.
        for (std::uint64_t want = size; want >= kSmall; want /= 2) {
            const std::uint64_t offset = size - want;
            view_ = MapViewOfFile(mapping_, FILE_MAP_WRITE, static_cast<DWORD>(offset >> 32),
                                  static_cast<DWORD>(offset), static_cast<SIZE_T>(want));
            if (view_) {
                mapped_ = want;
                break;
            }
        }
    }
    ~MappedFile() {
        if (view_) UnmapViewOfFile(view_);
        if (mapping_) CloseHandle(mapping_);
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
        DeleteFileA(path_.c_str());
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::uint8_t* data() const { return static_cast<std::uint8_t*>(view_); }
    std::uint64_t mapped() const { return mapped_; }

private:
    static constexpr std::uint64_t kPattern = 4096;
    void WritePattern(std::uint64_t at) {
        std::vector<char> bytes(kPattern);
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + 3);
        LARGE_INTEGER pos;
        pos.QuadPart = static_cast<LONGLONG>(at);
        SetFilePointerEx(file_, pos, nullptr, FILE_BEGIN);
        DWORD written;
        WriteFile(file_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }

    std::string path_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    HANDLE mapping_ = nullptr;
    void* view_ = nullptr;
    std::uint64_t mapped_ = 0;
};

struct Case {
    const char* name;
    wt::ControlWindow* window;
    std::vector<double> micros;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::string TempPath(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

}  // namespace

int main() {
    MappedFile small(TempPath("pelomar-bench-16k.bin"), kSmall);
    MappedFile large(TempPath("pelomar-bench-1g.bin"), kLarge);
    if (!small.data() || !large.data()) {
        std::printf("could not map the benchmark files\n");
        return 1;
    }
    if (large.mapped() != kLarge)
        std::printf("note: a 1 GiB view does not map in this process; using the last %llu MiB\n",
                    static_cast<unsigned long long>(large.mapped() >> 20));

    const int sb = GetSystemMetrics(SM_CXVSCROLL);
    wt::ControlWindow small_first(kClientWidth + sb, kClientHeight);
    wt::ControlWindow small_last(kClientWidth + sb, kClientHeight);
    wt::ControlWindow large_first(kClientWidth + sb, kClientHeight);
    wt::ControlWindow large_last(kClientWidth + sb, kClientHeight);
    wt::ControlWindow* all[] = {&small_first, &small_last, &large_first, &large_last};
    const MappedFile* files[] = {&small, &small, &large, &large};
    for (int n = 0; n < 4; ++n) {
        SetWindowPos(all[n]->parent(), nullptr, (n % 2) * 640, (n / 2) * 500, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
        const DWORD size = static_cast<DWORD>(files[n]->mapped());
        all[n]->Send(PM_SETDATA, reinterpret_cast<WPARAM>(files[n]->data()), size);
        if (n % 2) all[n]->Send(PM_SELECTRANGE, size - 1, size - 1);  // scrolls to the end
        UpdateWindow(all[n]->hwnd());
    }
    wt::Pump();

    Case cases[] = {{"16 KiB, first line", &small_first, {}},
                    {"16 KiB, last line", &small_last, {}},
                    {"1 GiB, first line", &large_first, {}},
                    {"1 GiB, last line", &large_last, {}}};
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    for (int round = 0; round < kRounds; ++round) {
        // One paint of each case in turn, so that a burst of load on the
        // machine falls on all four alike.
        for (int k = 0; k < kPaintsPerRound; ++k) {
            for (Case& c : cases) {
                LARGE_INTEGER t0, t1;
                QueryPerformanceCounter(&t0);
                InvalidateRect(c.window->hwnd(), nullptr, FALSE);
                UpdateWindow(c.window->hwnd());
                QueryPerformanceCounter(&t1);
                c.micros.push_back(1e6 * double(t1.QuadPart - t0.QuadPart) / double(freq.QuadPart));
            }
        }
        wt::Pump();
    }

    double med[4];
    for (int n = 0; n < 4; ++n) {
        med[n] = Median(cases[n].micros);
        std::printf("%-20s median %8.1f us per full paint (%zu paints)\n", cases[n].name, med[n],
                    cases[n].micros.size());
    }
    std::printf("ratio 1 GiB / 16 KiB, first line: %.3f\n", med[2] / med[0]);
    std::printf("ratio 1 GiB / 16 KiB, last line:  %.3f\n", med[3] / med[1]);
    std::printf("ratio last / first line, 16 KiB:  %.3f\n", med[1] / med[0]);
    std::printf("ratio last / first line, 1 GiB:   %.3f\n", med[3] / med[2]);
    const double worst = std::max({med[2] / med[0], med[3] / med[1], med[1] / med[0],
                                   med[3] / med[2]});
    std::printf("worst ratio %.3f (goal at most 1.2): %s\n", worst, worst <= 1.2 ? "met" : "missed");
    wb::Ratio("paint: full paint at the first line, 1 GiB / 16 KiB", med[2] / med[0], 1.2);
    wb::Ratio("paint: full paint at the last line, 1 GiB / 16 KiB", med[3] / med[1], 1.2);
    wb::Ratio("paint: full paint, last / first line, 16 KiB", med[1] / med[0], 1.2);
    wb::Ratio("paint: full paint, last / first line, 1 GiB", med[3] / med[2], 1.2);
    return 0;
}
