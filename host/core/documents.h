// The document table (records in tab order) and the path texts the host
// reads from the open dialog and from drops. Paths are UTF-16 throughout:
// what the system hands over is what is opened, shown and compared.
#pragma once
#include <cstddef>
#include <cstdint>

namespace pm {

using u32 = std::uint32_t;

enum : u32 {
    kMaxDocuments = 128,
    // Paths this long and longer are opened in their extended-length form.
    kShortPathLimit = 260,
};

// How a document may be written.
enum DocumentMode : u32 {
    kWritable = 0,
    kReadOnlyByChoice = 1,  // opened for writing; the user keeps it read-only
    kReadOnlyOnly = 2,      // opened or mapped for reading only: stays so
};

// A file's identity on disk: the volume and the file's index on it. Two
// paths name the same file exactly when their identities are equal.
struct FileIdentity {
    u32 volume, index_high, index_low;
    bool operator==(const FileIdentity& o) const {
        return volume == o.volume && index_high == o.index_high && index_low == o.index_low;
    }
};

// One open file. Handles are opaque here; the shell owns them.
struct Document {
    char16_t* path;  // zero-ended, sized to the path
    void* control;
    void* file;
    void* view;
    u32 mode;  // DocumentMode
    FileIdentity identity;
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
    // The tab of the first record, among the first `among`, whose file has
    // this identity; 0 when none has.
    u32 tab_of(const FileIdentity& id, u32 among) const;
    // The tab (from 1) of the record showing through this control; 0 when
    // none does.
    u32 tab_of_control(const void* control) const;
};

std::size_t text_length(const char16_t* text);

// The file-name part: after the last '\' or ':', or the whole text; null
// for an empty or missing text.
const char16_t* file_name_part(const char16_t* path);

// The form in which a full path is handed to the file calls: paths shorter
// than kShortPathLimit as they are; longer drive paths as "\\?\C:\...",
// longer network paths as "\\?\UNC\server\...", with every '/' made '\'
// (the extended form takes no other separator). Paths already in a device
// or extended form, and relative ones, stay as they are. Writes at most
// length + kOpenFormExtra units and a terminating zero into out; returns
// the units written before it.
enum : u32 { kOpenFormExtra = 8 };
std::size_t open_form(const char16_t* path, std::size_t length, char16_t* out);

// One full path of the open dialog's result: a directory and a name joined
// by a '\' unless the directory ends in one; a single path has no directory.
struct PathParts {
    const char16_t* dir;
    std::size_t dir_len;
    const char16_t* name;
    std::size_t name_len;
    bool separator;
    std::size_t length() const { return dir_len + (separator ? 1 : 0) + name_len; }
    // Writes length() units and a terminating zero.
    void copy_to(char16_t* out) const;
};

// Walks the open dialog's result: either one full path, or a directory and
// then file names, each ended by a zero, with an empty text after the last.
// Never reads past size units.
class OpenDialogResult {
public:
    OpenDialogResult(const char16_t* buffer, std::size_t size);
    // The next full path; false at the end.
    bool next(PathParts* out);

private:
    const char16_t* text_at(std::size_t pos, std::size_t* length) const;
    const char16_t* buffer_;
    std::size_t size_;
    std::size_t pos_;      // next name to read
    std::size_t dir_len_;  // length of the directory, 0 for a single path
    bool single_;
    bool done_;
};

}  // namespace pm
