// Sizes and blocks for checking offset arithmetic where it could wrap: the
// largest size a 32-bit offset holds, and with 64-bit offsets the sizes
// around 2^32 and near 2^47 as well.
#pragma once
#include <sys/mman.h>

#include <cstdint>
#include <vector>

#include "control/core/view.h"

inline std::vector<pm::Offset> LargeSizes() {
    std::vector<pm::Offset> sizes{pm::Offset(0xFFFFFFFFu)};
#if PELOMAR_OFFSET_BITS == 64
    for (std::uint64_t s : {0x100000000ull, 0x100000001ull, (1ull << 47) - 1, 1ull << 47})
        sizes.push_back(s);
#endif
    return sizes;
}

// A block of zero bytes reserved but not committed: only the pages written
// or read take memory, so a block past 4 GiB costs a few pages.
class SparseBlock {
public:
    explicit SparseBlock(std::uint64_t size) : size_(size) {
        void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        data_ = p == MAP_FAILED ? nullptr : static_cast<std::uint8_t*>(p);
    }
    ~SparseBlock() {
        if (data_) munmap(data_, size_);
    }
    SparseBlock(const SparseBlock&) = delete;
    SparseBlock& operator=(const SparseBlock&) = delete;
    std::uint8_t* data() const { return data_; }
    std::uint64_t size() const { return size_; }

private:
    std::uint64_t size_;
    std::uint8_t* data_;
};

// Past 4 GiB by a page and a bit: blocks of this size are only reachable
// with 64-bit offsets.
constexpr std::uint64_t kPast4GiB = (1ull << 32) + 8192 + 3;

// Sizes of sparse blocks the tests can map: the largest a 32-bit offset
// holds, and with 64-bit offsets one past 4 GiB.
inline std::vector<pm::Offset> BlockSizes() {
    std::vector<pm::Offset> sizes{pm::Offset(0xFFFFFFFFu)};
#if PELOMAR_OFFSET_BITS == 64
    sizes.push_back(kPast4GiB);
#endif
    return sizes;
}
