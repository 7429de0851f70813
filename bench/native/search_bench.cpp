// Throughput of the pattern search beside glibc memmem and memchr on the
// same data in the same run: random bytes with a pattern that does not
// occur, and the adversarial case of all 'a' with the pattern "aaaaaaab".
// Usage: search_bench [MiB]   (default 256; the data is made in memory)
//        search_bench RANDOM_FILE ADVERSARIAL_FILE
// The random data must hold no byte from 0xF0 up, so that neither the
// patterns nor memchr's byte occur in it.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "control/core/search.h"

using Clock = std::chrono::steady_clock;

namespace {

volatile std::size_t g_sink;
constexpr int kRounds = 5;

double Elapsed(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// A block of bytes, made in memory or mapped from a file.
struct Data {
    const std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
    std::vector<std::uint8_t> owned;
};

bool MapFile(const char* path, Data* d) {
    const int fd = open(path, O_RDONLY);
    if (fd < 0) return false;
    struct stat st;
    void* p = MAP_FAILED;
    if (fstat(fd, &st) == 0 && st.st_size > 0)
        p = mmap(nullptr, std::size_t(st.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    close(fd);
    if (p == MAP_FAILED) return false;
    d->bytes = static_cast<const std::uint8_t*>(p);
    d->size = std::size_t(st.st_size);
    return true;
}

std::string SizeText(std::size_t n) {
    char s[32];
    if (n >= (std::size_t(1) << 30)) std::snprintf(s, sizeof s, "%zu GiB", n >> 30);
    else std::snprintf(s, sizeof s, "%zu MiB", n >> 20);
    return s;
}

// The three scans take turns, round by round, so that a burst of load on
// the machine does not favour one of them; each figure is the median.
void Run(const char* name, const Data& d, const std::uint8_t* p, std::size_t m, double goal) {
    const std::size_t n = d.size;
    if (std::memchr(d.bytes, p[m - 1], n)) std::printf("note: %s: the data holds the last pattern byte\n", name);
    std::vector<double> ours, mm, mc;
    for (int round = 0; round < kRounds; ++round) {
        auto t0 = Clock::now();
        std::size_t at = 0;
        g_sink = pm::search(d.bytes, n, 0, p, m, &at) ? at : n;
        ours.push_back(Elapsed(t0));
        t0 = Clock::now();
        g_sink = std::size_t(memmem(d.bytes, n, p, m) != nullptr);
        mm.push_back(Elapsed(t0));
        t0 = Clock::now();
        g_sink = std::size_t(std::memchr(d.bytes, p[m - 1], n) != nullptr);
        mc.push_back(Elapsed(t0));
    }
    const double o = Median(ours), a = Median(mm), c = Median(mc);
    std::printf("%-12s search %8.1f MB/s | memmem %8.1f MB/s | memchr %8.1f MB/s | "
                "%5.1fx memmem, %4.2fx memchr\n",
                name, n / o / 1e6, n / a / 1e6, n / c / 1e6, a / o, c / o);
    const std::string size = SizeText(n);
    const char* path = pm::detail::scan_path_name(pm::detail::chosen_scan_path());
    std::printf("ratio|search (%s): %s, %s, speed / memmem|%.2f|>= %.1f|%s\n", path, name, size.c_str(),
                a / o, goal, a / o >= goal ? "met" : "missed");
    // At 1 GiB both scans are bound by the memory's speed: the goal is to
    // keep up with memchr, which reads the same bytes with one compare each.
    if (n >= std::size_t(1) << 30)
        std::printf("ratio|search (%s): %s, %s, speed / memchr|%.2f|>= 0.9|%s\n", path, name, size.c_str(),
                    c / o, c / o >= 0.9 ? "met" : "missed");
    else
        std::printf("ratio|search (%s): %s, %s, speed / memchr|%.2f|none|-\n", path, name, size.c_str(), c / o);
}

}  // namespace

int main(int argc, char** argv) {
    Data random, all_a;
    if (argc == 3) {
        if (!MapFile(argv[1], &random) || !MapFile(argv[2], &all_a)) {
            std::printf("cannot map %s or %s\n", argv[1], argv[2]);
            return 1;
        }
    } else {
        const std::size_t n = (argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256) << 20;
        random.owned.resize(n);
        std::mt19937_64 rng(3);
        // Bytes above 0xF0 never occur in the data, so the patterns never match.
        for (auto& b : random.owned) b = std::uint8_t(std::uint8_t(rng()) % 0xF0);
        all_a.owned.assign(n, 'a');
        random.bytes = random.owned.data();
        random.size = n;
        all_a.bytes = all_a.owned.data();
        all_a.size = n;
    }
    std::printf("data: %s random, %s all 'a'; patterns absent (whole data scanned); medians of %d; "
                "%s scan\n",
                SizeText(random.size).c_str(), SizeText(all_a.size).c_str(), kRounds,
                pm::detail::scan_path_name(pm::detail::chosen_scan_path()));

    const std::uint8_t p8[] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF5};
    std::uint8_t p16[16];
    for (int i = 0; i < 16; ++i) p16[i] = std::uint8_t(i * 13 + 1);
    p16[15] = 0xFA;
    Run("random m=8", random, p8, sizeof p8, 1.5);
    Run("random m=16", random, p16, sizeof p16, 1.5);
    const std::uint8_t adv[] = {'a', 'a', 'a', 'a', 'a', 'a', 'a', 'b'};
    Run("all a, a7b", all_a, adv, sizeof adv, 10);
    std::printf("goals: >= 1.5x memmem on random data, >= 10x on the adversarial data; "
                ">= 0.9x memchr at 1 GiB\n");
    return 0;
}
