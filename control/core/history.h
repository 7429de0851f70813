// Undo history: a doubly linked list of byte snapshots that starts with an
// empty first record. Undo and redo copy snapshots back into the data and
// skip every record that would change nothing.
#pragma once
#include <cstdint>

#include "control/core/offset.h"

namespace pm {

struct HistoryRecord {
    std::uint8_t* snapshot;   // copy of the bytes; none in the first record
    Offset length;            // bytes in the snapshot; 0 in the first record
    std::uint8_t* position;   // where the snapshot belongs in the data
    HistoryRecord* newer;
    HistoryRecord* older;
};

// Source of snapshot blocks (freed with delete[]). Replaceable so that tests
// can make an allocation fail; returns null when out of memory.
using SnapshotAllocator = std::uint8_t* (*)(Offset length);
SnapshotAllocator set_snapshot_allocator(SnapshotAllocator allocator);
std::uint8_t* default_snapshot_allocator(Offset length);

class History {
public:
    History() = default;
    History(const History&) = delete;
    History& operator=(const History&) = delete;
    ~History() { discard(); }

    // Discards any history and starts a new one holding only the first
    // record. Returns false (and leaves no history) when out of memory.
    bool start();
    // Frees every record and snapshot.
    void discard();
    bool started() const { return current_ != nullptr; }

    // Inserts after the current record a copy of length bytes at position
    // and makes it current. Returns false, changing nothing, when there is
    // no history or the copy cannot be allocated.
    bool record(std::uint8_t* position, Offset length);
    // Allocates ahead the record and snapshot block that the next record()
    // of length bytes will use, so that an edit can be refused before it
    // changes a byte rather than be left without its after-snapshot.
    // Returns false when there is no history or no memory.
    bool reserve(Offset length);
    // Takes back the newest record made by record(): copies its snapshot
    // into the data, unlinks and frees it, and restores the flags as they
    // were before it. Used when an edit cannot be completed.
    void revert_record();

    // One undo or redo step; each returns true when it changed bytes.
    bool undo();
    bool redo();
    // The first byte the last undo or redo step that returned true changed.
    const std::uint8_t* changed_at() const { return changed_at_; }
    // The record whose snapshot the last undo or redo copied into the data;
    // null when that step changed nothing.
    const HistoryRecord* restored() const { return restored_; }

    std::uint32_t can_undo = 0;
    std::uint32_t can_redo = 0;

    const HistoryRecord* current() const { return current_; }

private:
    void drop_spare();

    HistoryRecord* current_ = nullptr;
    HistoryRecord* spare_ = nullptr;  // from reserve(), not linked
    const std::uint8_t* changed_at_ = nullptr;
    const HistoryRecord* restored_ = nullptr;
    std::uint32_t saved_can_undo_ = 0;
};

}  // namespace pm
