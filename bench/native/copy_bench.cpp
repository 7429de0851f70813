// Throughput of the six clipboard text forms on one random input, beside
// xxd -p and xxd -i on the same input, measured in the same run; every
// figure is the median of several passes.
// Usage: copy_bench [MiB]   (default 256; random bytes made here)
//        copy_bench FILE    (the file's bytes)
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "control/core/copy_forms.h"

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPasses = 5;

double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Median seconds for a shell command, or a negative number when it failed.
double TimeCommand(const std::string& command) {
    std::vector<double> t;
    for (int pass = 0; pass < kPasses; ++pass) {
        auto t0 = Clock::now();
        int rc = std::system(command.c_str());
        auto t1 = Clock::now();
        if (rc != 0) return -1.0;
        t.push_back(Seconds(t0, t1));
    }
    return Median(t);
}

bool ReadFile(const char* path, std::vector<std::uint8_t>* data) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    struct stat st;
    if (fstat(fileno(f), &st) != 0 || st.st_size <= 0) {
        std::fclose(f);
        return false;
    }
    data->resize(std::size_t(st.st_size));
    const bool whole = std::fread(data->data(), 1, data->size(), f) == data->size();
    std::fclose(f);
    return whole;
}

struct Form {
    const char* name;
    pm::CopyForm form;
    bool selected;
    double goal;  // times the xxd figure; 0 for none
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::uint8_t> data;
    std::string path;
    char temp[] = "/tmp/copy_bench_XXXXXX";
    struct stat st;
    if (argc > 1 && stat(argv[1], &st) == 0) {
        path = argv[1];
        if (!ReadFile(argv[1], &data)) {
            std::printf("cannot read %s\n", argv[1]);
            return 1;
        }
    } else {
        const std::size_t n = (argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256) << 20;
        data.resize(n);
        std::mt19937_64 rng(1);
        for (std::size_t i = 0; i + 8 <= n; i += 8) {
            std::uint64_t r = rng();
            for (int k = 0; k < 8; ++k) data[i + k] = std::uint8_t(r >> (8 * k));
        }
        int fd = mkstemp(temp);
        if (fd < 0) return 1;
        FILE* f = fdopen(fd, "wb");
        std::fwrite(data.data(), 1, n, f);
        std::fclose(f);
        path = temp;
    }
    const std::size_t n = data.size();
    const std::size_t mib = n >> 20;

    std::printf("input: %zu MiB of random bytes; medians of %d\n", mib, kPasses);
    double xxd_p = TimeCommand("xxd -p '" + path + "' > /dev/null");
    double xxd_i = TimeCommand("xxd -i '" + path + "' > /dev/null");
    if (path == temp) std::remove(temp);
    if (xxd_p > 0) std::printf("%-12s %8.3f s %9.1f MB/s\n", "xxd -p", xxd_p, n / xxd_p / 1e6);
    if (xxd_i > 0) std::printf("%-12s %8.3f s %9.1f MB/s\n", "xxd -i", xxd_i, n / xxd_i / 1e6);

    pm::View v;
    v.data = data.data();
    v.data_size = std::uint32_t(n);
    // The selection forms copy everything selected, the not-selection
    // forms everything with nothing selected: the same bytes each time.
    const Form forms[] = {
        {"Ansi", pm::CopyForm::ansi, true, 0},         {"Hex", pm::CopyForm::hex, true, 10},
        {"db sel", pm::CopyForm::db_list, true, 20},   {"db notsel", pm::CopyForm::db_list, false, 20},
        {"\\x00 sel", pm::CopyForm::x_list, true, 0},   {"\\x00 notsel", pm::CopyForm::x_list, false, 0},
    };
    for (const Form& form : forms) {
        v.anchor = 0;
        v.caret = form.selected ? v.data_size : 0;
        pm::ByteRuns runs = form.selected ? pm::selected_bytes(v) : pm::unselected_bytes(v);
        std::size_t size = std::size_t(pm::copy_block_size(form.form, runs.size()));
        std::unique_ptr<char[]> block(new char[size]);
        // The first pass maps the pages and is not counted.
        std::vector<double> t;
        std::size_t len = 0;
        for (int pass = 0; pass <= kPasses; ++pass) {
            auto t0 = Clock::now();
            len = pm::write_copy(form.form, runs, block.get());
            auto t1 = Clock::now();
            if (pass) t.push_back(Seconds(t0, t1));
        }
        const double s = Median(t);
        std::printf("%-12s %8.3f s %9.1f MB/s (%zu chars)", form.name, s, n / s / 1e6, len);
        bool db = form.form == pm::CopyForm::db_list || form.form == pm::CopyForm::x_list;
        double base = db ? xxd_i : xxd_p;
        if (base > 0) {
            const double ratio = base / s;
            std::printf("  %6.1fx xxd %s", ratio, db ? "-i" : "-p");
            std::printf("\nratio|copy: %s, %zu MiB, speed / xxd %s|%.1f|", form.name, mib, db ? "-i" : "-p", ratio);
            if (form.goal > 0) std::printf(">= %.0f|%s", form.goal, ratio >= form.goal ? "met" : "missed");
            else std::printf("none|-");
        }
        std::printf("\n");
    }
    std::printf("goals: Hex >= 10x xxd -p, db >= 20x xxd -i\n");
    return 0;
}
