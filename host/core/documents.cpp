// The document table, the dialog's path list and the forms of a path.
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

u32 DocumentTable::tab_of(const FileIdentity& id, u32 among) const {
    for (u32 i = 0; i < among && i < count; ++i)
        if (records[i].identity == id) return i + 1;
    return 0;
}

std::size_t text_length(const char16_t* text) {
    std::size_t n = 0;
    if (text)
        while (text[n]) ++n;
    return n;
}

const char16_t* file_name_part(const char16_t* path) {
    if (!path || !*path) return nullptr;
    const char16_t* name = path;
    for (const char16_t* p = path; *p; ++p)
        if (*p == u'\\' || *p == u':') name = p + 1;
    return name;
}

namespace {

bool is_sep(char16_t c) { return c == u'\\' || c == u'/'; }
bool is_letter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

std::size_t put(char16_t* out, std::size_t at, const char16_t* text) {
    for (; *text; ++text) out[at++] = *text;
    return at;
}

}  // namespace

std::size_t open_form(const char16_t* path, std::size_t length, char16_t* out) {
    std::size_t at = 0, from = 0;
    const bool drive = length >= 3 && is_letter(path[0]) && path[1] == u':' && is_sep(path[2]);
    // "\\server\share", but not "\\?\" or "\\.\", which are forms already.
    const bool unc = length >= 3 && is_sep(path[0]) && is_sep(path[1]) && path[2] != u'?' && path[2] != u'.';
    const bool extend = length >= kShortPathLimit && (drive || unc);
    if (extend && drive) {
        at = put(out, at, u"\\\\?\\");
    } else if (extend) {
        at = put(out, at, u"\\\\?\\UNC\\");
        from = 2;
    }
    for (std::size_t i = from; i < length; ++i) out[at++] = extend && path[i] == u'/' ? u'\\' : path[i];
    out[at] = 0;
    return at;
}

void PathParts::copy_to(char16_t* out) const {
    std::size_t at = 0;
    if (dir_len) std::memcpy(out, dir, dir_len * sizeof(char16_t));
    at = dir_len;
    if (separator) out[at++] = u'\\';
    if (name_len) std::memcpy(out + at, name, name_len * sizeof(char16_t));
    out[at + name_len] = 0;
}

OpenDialogResult::OpenDialogResult(const char16_t* buffer, std::size_t size)
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
const char16_t* OpenDialogResult::text_at(std::size_t pos, std::size_t* length) const {
    if (!buffer_ || pos >= size_) return nullptr;
    std::size_t end = pos;
    while (end < size_ && buffer_[end]) ++end;
    if (end == size_) return nullptr;
    *length = end - pos;
    return buffer_ + pos;
}

bool OpenDialogResult::next(PathParts* out) {
    *out = PathParts{};
    if (done_) return false;
    std::size_t len = 0;
    const char16_t* name = text_at(pos_, &len);
    if (!name || len == 0) {
        done_ = true;
        return false;
    }
    pos_ += len + 1;
    out->name = name;
    out->name_len = len;
    if (single_) {
        done_ = true;
        return true;
    }
    out->dir = buffer_;
    out->dir_len = dir_len_;
    // A root directory ("C:\") already ends in the separator.
    out->separator = buffer_[dir_len_ - 1] != u'\\';
    return true;
}

}  // namespace pm
