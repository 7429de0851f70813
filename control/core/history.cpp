// Undo history of byte snapshots.
#include "control/core/history.h"

#include <cstring>
#include <new>

namespace pm {

std::uint8_t* default_snapshot_allocator(Offset length) {
    return new (std::nothrow) std::uint8_t[std::size_t(length)];
}

static SnapshotAllocator allocate_snapshot = default_snapshot_allocator;

SnapshotAllocator set_snapshot_allocator(SnapshotAllocator allocator) {
    SnapshotAllocator old = allocate_snapshot;
    allocate_snapshot = allocator ? allocator : default_snapshot_allocator;
    return old;
}

bool History::start() {
    discard();
    current_ = new (std::nothrow) HistoryRecord{};
    can_undo = 0;
    can_redo = 0;
    return current_ != nullptr;
}

void History::drop_spare() {
    if (!spare_) return;
    delete[] spare_->snapshot;
    delete spare_;
    spare_ = nullptr;
}

bool History::reserve(Offset length) {
    if (!current_ || length == 0) return false;
    if (spare_ && spare_->length == length) return true;
    drop_spare();
    auto* snapshot = allocate_snapshot(length);
    if (!snapshot) return false;
    auto* n = new (std::nothrow) HistoryRecord{};
    if (!n) {
        delete[] snapshot;
        return false;
    }
    n->snapshot = snapshot;
    n->length = length;
    spare_ = n;
    return true;
}

void History::discard() {
    drop_spare();
    if (!current_) {
        can_undo = can_redo = 0;
        return;
    }
    HistoryRecord* r = current_;
    while (r->newer) r = r->newer;
    while (r) {
        HistoryRecord* older = r->older;
        delete[] r->snapshot;
        delete r;
        r = older;
    }
    current_ = nullptr;
    restored_ = nullptr;
    can_undo = can_redo = 0;
}

bool History::record(std::uint8_t* position, Offset length) {
    if (!current_ || !position || length == 0) return false;
    HistoryRecord* n;
    if (spare_ && spare_->length == length) {
        n = spare_;
        spare_ = nullptr;
    } else {
        auto* snapshot = allocate_snapshot(length);
        if (!snapshot) return false;
        n = new (std::nothrow) HistoryRecord{};
        if (!n) {
            delete[] snapshot;
            return false;
        }
        n->snapshot = snapshot;
        n->length = length;
    }
    std::memcpy(n->snapshot, position, std::size_t(length));
    n->position = position;
    n->older = current_;
    n->newer = current_->newer;
    if (n->newer) n->newer->older = n;
    current_->newer = n;
    current_ = n;
    saved_can_undo_ = can_undo;
    can_undo = 1;
    return true;
}

void History::revert_record() {
    HistoryRecord* n = current_;
    if (!n || !n->older) return;  // never the first record
    std::memcpy(n->position, n->snapshot, std::size_t(n->length));
    n->older->newer = n->newer;
    if (n->newer) n->newer->older = n->older;
    current_ = n->older;
    restored_ = nullptr;
    can_undo = saved_can_undo_;
    delete[] n->snapshot;
    delete n;
}

// Copies a record's snapshot back when it differs from the data; the first
// differing byte is where the step shows its change.
static bool restore(const HistoryRecord* r, const std::uint8_t** changed_at) {
    const std::size_t n = std::size_t(r->length);
    if (!r->snapshot || std::memcmp(r->snapshot, r->position, n) == 0) return false;
    std::size_t first = 0;
    while (r->snapshot[first] == r->position[first]) ++first;
    *changed_at = r->position + first;
    std::memcpy(r->position, r->snapshot, n);
    return true;
}

bool History::undo() {
    restored_ = nullptr;
    while (can_undo && current_) {
        HistoryRecord* r = current_->older;
        // Never step onto the first record (the one without an older link).
        if (!r || !r->older) {
            can_undo = 0;
            break;
        }
        current_ = r;
        if (!r->older->older) can_undo = 0;
        can_redo = 1;
        if (restore(r, &changed_at_)) {
            restored_ = r;
            return true;
        }
    }
    return false;
}

bool History::redo() {
    restored_ = nullptr;
    while (can_redo && current_) {
        HistoryRecord* r = current_;
        if (!r->newer)
            can_redo = 0;
        else
            current_ = r->newer;
        can_undo = 1;
        if (restore(r, &changed_at_)) {
            restored_ = r;
            return true;
        }
    }
    return false;
}

}  // namespace pm
