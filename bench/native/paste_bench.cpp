// Paste cost against the data's size: a 1 MiB paste into a 1 GiB block and
// the same paste into a 2 MiB block, and undoing each, measured in turns
// in the same run (medians). The history keeps only the pasted range, so
// the ratios should stay near 1. The large block is reserved, not filled:
// only the pages the paste touches are ever made.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "control/core/edit.h"
#include "control/core/paste.h"

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPasses = 41;
constexpr std::size_t kPaste = std::size_t(1) << 20;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Block {
    std::unique_ptr<std::uint8_t[]> bytes;
    pm::View v;
    explicit Block(std::size_t size) : bytes(new std::uint8_t[size]) {
        v.data = bytes.get();
        v.data_size = pm::u32(size);
        v.own_data = true;
        v.bytes_per_line = 16;
        v.rows = 40;
    }
    // Seconds for one paste in the middle of the block, then for its undo.
    void Once(const std::uint8_t* text, double* paste, double* undo) {
        v.history.start();
        v.anchor = v.caret = v.data_size / 2;
        const auto t0 = Clock::now();
        pm::paste_bytes(v, text, kPaste);
        const auto t1 = Clock::now();
        pm::undo_step(v);
        const auto t2 = Clock::now();
        *paste = std::chrono::duration<double>(t1 - t0).count();
        *undo = std::chrono::duration<double>(t2 - t1).count();
    }
};

}  // namespace

int main() {
    std::vector<std::uint8_t> text(kPaste);
    for (std::size_t i = 0; i < kPaste; ++i) text[i] = std::uint8_t(i * 131 + 7);
    Block small(std::size_t(2) << 20), large(std::size_t(1) << 30);
    std::vector<double> ps, us, pl, ul;
    for (int pass = 0; pass <= kPasses; ++pass) {
        double p, u;
        small.Once(text.data(), &p, &u);
        if (pass) ps.push_back(p), us.push_back(u);  // the first pass makes the pages
        large.Once(text.data(), &p, &u);
        if (pass) pl.push_back(p), ul.push_back(u);
    }
    const double paste_ratio = Median(pl) / Median(ps), undo_ratio = Median(ul) / Median(us);
    std::printf("1 MiB paste: into 2 MiB %.3f ms, into 1 GiB %.3f ms (medians of %d)\n",
                Median(ps) * 1e3, Median(pl) * 1e3, kPasses);
    std::printf("its undo:    in 2 MiB %.3f ms, in 1 GiB %.3f ms\n", Median(us) * 1e3, Median(ul) * 1e3);
    std::printf("ratio|paste: 1 MiB paste, 1 GiB / 2 MiB block|%.3f|<= 1.2|%s\n", paste_ratio,
                paste_ratio <= 1.2 ? "met" : "missed");
    std::printf("ratio|paste: undo of the 1 MiB paste, 1 GiB / 2 MiB block|%.3f|<= 1.2|%s\n", undo_ratio,
                undo_ratio <= 1.2 ? "met" : "missed");
    return 0;
}
