// The document table (records in tab order) and the path texts the host
// reads from the open dialog and from drops.
#pragma once
#include <cstddef>
#include <cstdint>

namespace pm {

using u32 = std::uint32_t;

enum : u32 {
    kMaxDocuments = 128,
    kPathBytes = 512,  // a document's path buffer: at most 511 characters
};

// One open file. Handles are opaque here; the shell owns them.
struct Document {
    char* path;
    void* control;
    void* file;
    void* view;
    u32 changed;  // 1 while the bytes differ from what the file held when opened
};

struct DocumentTable {
    u32 count;
    Document records[kMaxDocuments];

    bool full() const { return count >= kMaxDocuments; }
    // Tab numbers count from 1; record i belongs to tab i + 1.
    Document* for_tab(u32 tab) { return tab >= 1 && tab <= count ? &records[tab - 1] : nullptr; }
    // Appends an empty record; null when the table is full.
    Document* reserve();
    // Takes back the last record after a failed open.
    void give_back();
    // Removes the record of a tab, closing the gap; returns it.
    Document remove_tab(u32 tab);
    // Removes the last record; returns it.
    Document pop_last();
    // The tab (from 1) of the record showing through this control; 0 when
    // none does.
    u32 tab_of_control(const void* control) const;
};

// The file-name part: after the last '\' or ':', or the whole text; null
// for an empty or missing text.
const char* file_name_part(const char* path);

// Walks the open dialog's result: either one full path, or a directory and
// then file names, each ended by a zero byte, with an empty text after the
// last. Never reads past size bytes.
class OpenDialogResult {
public:
    OpenDialogResult(const char* buffer, std::size_t size);
    enum Step { kEnd, kPath, kTooLong };
    // kPath: out holds the next full path (zero-ended, under kPathBytes).
    // kTooLong: that path would not fit in kPathBytes; out is empty.
    Step next(char* out);

private:
    const char* text_at(std::size_t pos, std::size_t* length) const;
    const char* buffer_;
    std::size_t size_;
    std::size_t pos_;      // next name to read
    std::size_t dir_len_;  // length of the directory, 0 for a single path
    bool single_;
    bool done_;
};

}  // namespace pm
