// Shared by the Wine benchmarks: a clock, medians, files mapped whole and
// the one line format that scripts/bench.sh gathers into its table.
#pragma once
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace wb {

// Microseconds on the performance counter.
inline double Now() {
    static const double scale = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return 1e6 / double(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * scale;
}

inline double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// One figure of the final table:
//   ratio|<figure>|<value>|<goal>|<met, missed or ->
// Everything else a benchmark prints is for the reader of its own output.
inline void Figure(const char* figure, const char* value, const char* goal, bool has_goal, bool met) {
    std::printf("ratio|%s|%s|%s|%s\n", figure, value, goal, has_goal ? (met ? "met" : "missed") : "-");
}

inline void Ratio(const char* figure, double ratio, double at_most) {
    char value[32], goal[32];
    std::snprintf(value, sizeof value, "%.3f", ratio);
    std::snprintf(goal, sizeof goal, "<= %.1f", at_most);
    Figure(figure, value, goal, true, ratio <= at_most);
}

// An existing file mapped whole for reading and writing, as the host maps
// a document; where the system gives no writable view of it (a file too
// large for one), mapped for reading only. Writes go into the file.
class MappedFile {
public:
    explicit MappedFile(const std::string& path) {
        file_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file_ == INVALID_HANDLE_VALUE) return;
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file_, &size) || size.QuadPart <= 0) return;
        if (std::uint64_t(size.QuadPart) > SIZE_T(-1)) return;  // past the address space
        size_ = std::uint64_t(size.QuadPart);
        for (const bool writable : {true, false}) {
            HANDLE mapping = CreateFileMappingA(file_, nullptr, writable ? PAGE_READWRITE : PAGE_READONLY, 0, 0, nullptr);
            if (!mapping) continue;
            view_ = static_cast<std::uint8_t*>(
                MapViewOfFile(mapping, writable ? FILE_MAP_READ | FILE_MAP_WRITE : FILE_MAP_READ, 0, 0, 0));
            CloseHandle(mapping);
            read_only_ = !writable;
            if (view_) break;
        }
    }
    ~MappedFile() {
        if (view_) UnmapViewOfFile(view_);
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::uint8_t* data() const { return view_; }
    std::uint64_t size() const { return size_; }
    bool read_only() const { return read_only_; }

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::uint8_t* view_ = nullptr;
    std::uint64_t size_ = 0;
    bool read_only_ = false;
};

inline std::string SizeText(std::uint64_t bytes) {
    char s[32];
    if (bytes >= (1u << 30)) std::snprintf(s, sizeof s, "%.0f GiB", double(bytes) / double(1u << 30));
    else if (bytes >= (1u << 20)) std::snprintf(s, sizeof s, "%.0f MiB", double(bytes) / double(1u << 20));
    else std::snprintf(s, sizeof s, "%.0f KiB", double(bytes) / 1024.0);
    return s;
}

// Private committed memory of this process. Wine reports PrivateUsage as
// 0; its PagefileUsage counts the same memory (file-backed pages are not
// in it).
inline SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof(pmc);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc)))
        return 0;
    return pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
}

}  // namespace wb
