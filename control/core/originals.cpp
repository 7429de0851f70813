// Originals of written bytes, in chunks of 64 with a bit per byte.
#include "control/core/originals.h"

#include <new>

namespace pm {

using u64 = std::uint64_t;

void Originals::clear() {
    chunks_.clear();
    differing_ = 0;
}

// Calls f(chunk index, first byte in it, end byte in it, offset of the
// first byte) for each chunk that [lo, hi) touches.
template <class F>
static void each_chunk(u64 lo, u64 hi, unsigned size, F f) {
    while (lo < hi) {
        const u64 index = lo / size;
        const unsigned first = unsigned(lo % size);
        const u64 room = size - first;
        const unsigned count = unsigned(hi - lo < room ? hi - lo : room);
        f(index, first, first + count, lo);
        lo += count;
    }
}

bool Originals::keep(const std::uint8_t* data, u64 lo, u64 hi) {
    try {
        each_chunk(lo, hi, chunk_bytes, [&](u64 index, unsigned first, unsigned end, u64 at) {
            Chunk& c = chunks_[index];
            for (unsigned i = first; i < end; ++i, ++at) {
                if (c.kept >> i & 1) continue;
                c.bytes[i] = data[at];
                c.kept |= u64(1) << i;
            }
        });
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void Originals::recount(const std::uint8_t* data, u64 lo, u64 hi) {
    each_chunk(lo, hi, chunk_bytes, [&](u64 index, unsigned first, unsigned end, u64 at) {
        auto found = chunks_.find(index);
        if (found == chunks_.end()) return;
        Chunk& c = found->second;
        for (unsigned i = first; i < end; ++i, ++at) {
            const u64 bit = u64(1) << i;
            if (!(c.kept & bit)) continue;
            const bool was = (c.differs & bit) != 0;
            const bool now = c.bytes[i] != data[at];
            if (was == now) continue;
            c.differs ^= bit;
            differing_ += now ? 1 : u64(-1);
        }
    });
}

}  // namespace pm
