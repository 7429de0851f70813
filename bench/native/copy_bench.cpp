// Throughput of the six clipboard text forms on one random input, beside
// xxd -p and xxd -i on the same input, measured in the same run.
// Usage: copy_bench [MiB]   (default 256)
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

double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// Seconds for a shell command, or a negative number when it failed.
double TimeCommand(const std::string& command) {
    auto t0 = Clock::now();
    int rc = std::system(command.c_str());
    auto t1 = Clock::now();
    return rc == 0 ? Seconds(t0, t1) : -1.0;
}

struct Form {
    const char* name;
    pm::CopyForm form;
    bool selected;
};

}  // namespace

int main(int argc, char** argv) {
    std::size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256;
    const std::size_t n = mib << 20;
    std::vector<std::uint8_t> data(n);
    std::mt19937_64 rng(1);
    for (std::size_t i = 0; i + 8 <= n; i += 8) {
        std::uint64_t r = rng();
        for (int k = 0; k < 8; ++k) data[i + k] = std::uint8_t(r >> (8 * k));
    }

    char path[] = "/tmp/copy_bench_XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0) return 1;
    FILE* f = fdopen(fd, "wb");
    std::fwrite(data.data(), 1, n, f);
    std::fclose(f);

    std::printf("input: %zu MiB of random bytes\n", mib);
    double xxd_p = TimeCommand(std::string("xxd -p ") + path + " > /dev/null");
    double xxd_i = TimeCommand(std::string("xxd -i ") + path + " > /dev/null");
    std::remove(path);
    if (xxd_p > 0) std::printf("%-12s %8.3f s %9.1f MB/s\n", "xxd -p", xxd_p, n / xxd_p / 1e6);
    if (xxd_i > 0) std::printf("%-12s %8.3f s %9.1f MB/s\n", "xxd -i", xxd_i, n / xxd_i / 1e6);

    pm::View v;
    v.data = data.data();
    v.data_size = std::uint32_t(n);
    // The selection forms copy everything selected, the not-selection
    // forms everything with nothing selected: the same bytes each time.
    const Form forms[] = {
        {"Ansi", pm::CopyForm::ansi, true},       {"Hex", pm::CopyForm::hex, true},
        {"db sel", pm::CopyForm::db_list, true},  {"db notsel", pm::CopyForm::db_list, false},
        {"\\x00 sel", pm::CopyForm::x_list, true}, {"\\x00 notsel", pm::CopyForm::x_list, false},
    };
    for (const Form& form : forms) {
        v.anchor = 0;
        v.caret = form.selected ? v.data_size : 0;
        pm::ByteRuns runs = form.selected ? pm::selected_bytes(v) : pm::unselected_bytes(v);
        std::size_t size = std::size_t(pm::copy_block_size(form.form, runs.size()));
        std::unique_ptr<char[]> block(new char[size]);
        // First pass maps the pages; the best of three is reported.
        double best = 1e9;
        std::size_t len = 0;
        for (int pass = 0; pass < 4; ++pass) {
            auto t0 = Clock::now();
            len = pm::write_copy(form.form, runs, block.get());
            auto t1 = Clock::now();
            if (pass) best = std::min(best, Seconds(t0, t1));
        }
        double rate = n / best / 1e6;
        std::printf("%-12s %8.3f s %9.1f MB/s (%zu chars)", form.name, best, rate, len);
        bool db = form.form == pm::CopyForm::db_list || form.form == pm::CopyForm::x_list;
        double base = db ? xxd_i : xxd_p;
        if (base > 0) std::printf("  %6.1fx xxd %s", base / best, db ? "-i" : "-p");
        std::printf("\n");
    }
    std::printf("goals: Hex >= 10x xxd -p, db >= 20x xxd -i\n");
    return 0;
}
