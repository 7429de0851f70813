// The undo history's rules written over a flat array of records: index 0
// is the first record, insertion after the current one is a vector insert.
// The reference model of the history tests and of the editing model test.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

struct FlatHistory {
    struct Rec {
        std::size_t offset;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Rec> recs{Rec{}};
    std::size_t cur = 0;
    unsigned can_undo = 0, can_redo = 0, saved_can_undo = 0;

    void record(const std::vector<std::uint8_t>& data, std::size_t at, std::size_t n) {
        saved_can_undo = can_undo;
        can_undo = 1;
        recs.insert(recs.begin() + std::ptrdiff_t(cur) + 1,
                    Rec{at, std::vector<std::uint8_t>(data.begin() + std::ptrdiff_t(at),
                                            data.begin() + std::ptrdiff_t(at + n))});
        ++cur;
    }
    void revert(std::vector<std::uint8_t>& data) {
        if (cur == 0) return;
        std::copy(recs[cur].bytes.begin(), recs[cur].bytes.end(), data.begin() + std::ptrdiff_t(recs[cur].offset));
        recs.erase(recs.begin() + std::ptrdiff_t(cur));
        --cur;
        can_undo = saved_can_undo;
    }
    static bool restore(const Rec& r, std::vector<std::uint8_t>& data) {
        if (r.bytes.empty()) return false;
        if (std::equal(r.bytes.begin(), r.bytes.end(), data.begin() + std::ptrdiff_t(r.offset))) return false;
        std::copy(r.bytes.begin(), r.bytes.end(), data.begin() + std::ptrdiff_t(r.offset));
        return true;
    }
    bool undo(std::vector<std::uint8_t>& data) {
        while (can_undo) {
            if (cur <= 1) {
                can_undo = 0;
                break;
            }
            --cur;
            if (cur == 1) can_undo = 0;
            can_redo = 1;
            if (restore(recs[cur], data)) return true;
        }
        return false;
    }
    bool redo(std::vector<std::uint8_t>& data) {
        while (can_redo) {
            const std::size_t r = cur;
            if (cur + 1 == recs.size())
                can_redo = 0;
            else
                ++cur;
            can_undo = 1;
            if (restore(recs[r], data)) return true;
        }
        return false;
    }
};
