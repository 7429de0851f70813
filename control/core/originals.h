// The bytes of a block as they were when it was attached, kept for every
// byte written since, and how many of those differ from them now. The block
// is unchanged exactly when none differ, whichever way typing, undo, redo and
// program writes took to get there.
#pragma once
#include <cstdint>
#include <unordered_map>

namespace pm {

// std::uint64_ts and counts here are 64-bit in every build, so that this header
// needs nothing of the view's.
class Originals {
public:
    // Forgets every kept byte: the bytes as they are now become the originals.
    void clear();
    // Before bytes [lo, hi) of data change: keeps those not kept yet. False,
    // keeping nothing new, when out of memory.
    bool keep(const std::uint8_t* data, std::uint64_t lo, std::uint64_t hi);
    // After bytes [lo, hi) changed: counts again which of them differ. Only
    // kept bytes count; every write keeps its range first.
    void recount(const std::uint8_t* data, std::uint64_t lo, std::uint64_t hi);
    // Number of kept bytes that differ from their originals.
    std::uint64_t differing() const { return differing_; }

private:
    static constexpr unsigned chunk_bytes = 64;
    struct Chunk {
        std::uint64_t kept = 0;     // bit i: byte i of the chunk is kept
        std::uint64_t differs = 0;  // bit i: it differs from its original now
        std::uint8_t bytes[chunk_bytes];
    };
    std::unordered_map<std::uint64_t, Chunk> chunks_;  // by offset / chunk_bytes
    std::uint64_t differing_ = 0;
};

}  // namespace pm
