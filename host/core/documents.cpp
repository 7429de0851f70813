// The document table and the dialog's path list.
#include "host/core/documents.h"

#include <cstring>

namespace pm {

Document* DocumentTable::reserve() {
    if (full()) return nullptr;
    Document* d = &records[count++];
    *d = Document{};
    return d;
}

void DocumentTable::give_back() {
    if (count > 0) records[--count] = Document{};
}

Document DocumentTable::remove_tab(u32 tab) {
    Document taken{};
    if (tab < 1 || tab > count) return taken;
    taken = records[tab - 1];
    for (u32 i = tab; i < count; ++i) records[i - 1] = records[i];
    records[--count] = Document{};
    return taken;
}

u32 DocumentTable::tab_of_control(const void* control) const {
    for (u32 i = 0; i < count && control; ++i)
        if (records[i].control == control) return i + 1;
    return 0;
}

Document DocumentTable::pop_last() {
    Document taken{};
    if (count == 0) return taken;
    taken = records[--count];
    records[count] = Document{};
    return taken;
}

const char* file_name_part(const char* path) {
    if (!path || !*path) return nullptr;
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == ':') name = p + 1;
    return name;
}

OpenDialogResult::OpenDialogResult(const char* buffer, std::size_t size)
    : buffer_(buffer), size_(size), pos_(0), dir_len_(0), single_(true), done_(false) {
    std::size_t first_len = 0;
    if (!text_at(0, &first_len) || first_len == 0) {
        done_ = true;
        return;
    }
    std::size_t second_len = 0;
    single_ = !text_at(first_len + 1, &second_len) || second_len == 0;
    dir_len_ = single_ ? 0 : first_len;
    pos_ = single_ ? 0 : first_len + 1;
}

// The zero-ended text at pos, or null when it is not ended inside the buffer.
const char* OpenDialogResult::text_at(std::size_t pos, std::size_t* length) const {
    if (!buffer_ || pos >= size_) return nullptr;
    const void* end = std::memchr(buffer_ + pos, 0, size_ - pos);
    if (!end) return nullptr;
    *length = static_cast<std::size_t>(static_cast<const char*>(end) - (buffer_ + pos));
    return buffer_ + pos;
}

OpenDialogResult::Step OpenDialogResult::next(char* out) {
    out[0] = 0;
    if (done_) return kEnd;
    std::size_t len = 0;
    const char* name = text_at(pos_, &len);
    if (!name || len == 0) {
        done_ = true;
        return kEnd;
    }
    pos_ += len + 1;
    if (single_) {
        done_ = true;
        if (len >= kPathBytes) return kTooLong;
        std::memcpy(out, name, len + 1);
        return kPath;
    }
    // A root directory ("C:\") already ends in the separator.
    const bool has_sep = dir_len_ > 0 && buffer_[dir_len_ - 1] == '\\';
    const std::size_t total = dir_len_ + (has_sep ? 0 : 1) + len;
    if (total >= kPathBytes) return kTooLong;
    std::memcpy(out, buffer_, dir_len_);
    std::size_t at = dir_len_;
    if (!has_sep) out[at++] = '\\';
    std::memcpy(out + at, name, len + 1);
    return kPath;
}

}  // namespace pm
