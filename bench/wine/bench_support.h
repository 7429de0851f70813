// Shared by the Wine benchmarks: a clock, medians, files mapped whole and
// the one line format that scripts/bench.sh gathers into its table.
#pragma once
#include <windows.h>

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
// a document. Writes go into the file.
class MappedFile {
public:
    explicit MappedFile(const std::string& path) {
        file_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file_ == INVALID_HANDLE_VALUE) return;
        DWORD high = 0;
        size_ = GetFileSize(file_, &high);
        if (high || !size_) return;
        HANDLE mapping = CreateFileMappingA(file_, nullptr, PAGE_READWRITE, 0, 0, nullptr);
        if (!mapping) return;
        view_ = static_cast<std::uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
        CloseHandle(mapping);
    }
    ~MappedFile() {
        if (view_) UnmapViewOfFile(view_);
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::uint8_t* data() const { return view_; }
    DWORD size() const { return size_; }

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::uint8_t* view_ = nullptr;
    DWORD size_ = 0;
};

inline std::string SizeText(DWORD bytes) {
    char s[32];
    if (bytes >= (1u << 30)) std::snprintf(s, sizeof s, "%.0f GiB", bytes / double(1u << 30));
    else if (bytes >= (1u << 20)) std::snprintf(s, sizeof s, "%.0f MiB", bytes / double(1u << 20));
    else std::snprintf(s, sizeof s, "%.0f KiB", bytes / 1024.0);
    return s;
}

}  // namespace wb
