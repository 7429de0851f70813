// The clipboard: the common frame around the six text forms of a copy, and
// paste. The text itself is written and read by the portable core; a copy
// goes into one movable block sized before writing.
#include <cstdint>
#include <cstring>
#include <vector>

#include "control/control.h"
#include "control/core/copy_forms.h"
#include "control/core/paste.h"

namespace {

struct CopyCommand {
    unsigned command;
    pm::CopyForm form;
    bool selected;  // the selected bytes, or all bytes but them
};

constexpr CopyCommand kCopies[] = {
    {PMC_COPY_ANSI, pm::CopyForm::ansi, true},
    {PMC_COPY_HEX, pm::CopyForm::hex, true},
    {PMC_COPY_DB_SEL, pm::CopyForm::db_list, true},
    {PMC_COPY_DB_NOTSEL, pm::CopyForm::db_list, false},
    {PMC_COPY_X_SEL, pm::CopyForm::x_list, true},
    {PMC_COPY_X_NOTSEL, pm::CopyForm::x_list, false},
};

// A block the clipboard has not taken is freed on every path.
class GlobalBlock {
public:
    explicit GlobalBlock(SIZE_T size) : h_(GlobalAlloc(GMEM_MOVEABLE, size)) {}
    ~GlobalBlock() {
        if (h_) GlobalFree(h_);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    HGLOBAL get() const { return h_; }
    void release() { h_ = nullptr; }

private:
    HGLOBAL h_;
};

class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool open() const { return open_; }

private:
    bool open_;
};

void PutOnClipboard(Control* c, const CopyCommand& copy) {
    OpenedClipboard clipboard(c->hwnd());
    if (!clipboard.open()) return;  // the clipboard keeps its contents
    EmptyClipboard();

    pm::ByteRuns bytes = copy.selected ? pm::selected_bytes(*c) : pm::unselected_bytes(*c);
    std::uint64_t size = pm::copy_block_size(copy.form, bytes.size());
    // A text too large to address copies nothing: the clipboard stays empty.
    if (size > static_cast<std::uint64_t>(MAXLONG)) return;

    GlobalBlock block(static_cast<SIZE_T>(size));
    if (!block.get()) return;
    auto* text = static_cast<char*>(GlobalLock(block.get()));
    if (!text) return;
    // The block is sized for the longest text of n bytes; what the text
    // leaves free after its zero would otherwise carry old heap contents
    // to every program that reads the clipboard.
    const std::size_t length = pm::write_copy(copy.form, bytes, text);
    if (length + 1 < size) ZeroMemory(text + length + 1, static_cast<SIZE_T>(size - length - 1));
    GlobalUnlock(block.get());
    if (SetClipboardData(CF_TEXT, block.get())) block.release();
}

// A locked clipboard block, and the length of its text: up to its first
// zero byte, never past the block's end.
class LockedText {
public:
    explicit LockedText(HANDLE h)
        : h_(h), text_(h ? static_cast<const char*>(GlobalLock(h)) : nullptr) {
        if (!text_) return;
        const SIZE_T size = GlobalSize(h);
        const void* zero = std::memchr(text_, 0, size);
        length_ = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - text_) : size;
    }
    ~LockedText() {
        if (text_) GlobalUnlock(h_);
    }
    LockedText(const LockedText&) = delete;
    LockedText& operator=(const LockedText&) = delete;
    const char* text() const { return text_; }
    std::size_t length() const { return length_; }

private:
    HANDLE h_;
    const char* text_;
    std::size_t length_ = 0;
};

// The text view pastes the text's bytes as they are; the hex view reads
// them as hex text, keeping no more bytes than fit from the paste's start.
pm::PasteOutcome PasteText(Control* c, const char* text, std::size_t n) {
    if (c->active_view == pm::text_view)
        return pm::paste_bytes(*c, reinterpret_cast<const pm::u8*>(text), n);
    const pm::Offset start = c->has_selection() ? c->sel_lo() : c->caret;
    const pm::Offset room = start < c->data_size ? c->data_size - start : 0;
    std::vector<pm::u8> bytes(static_cast<std::size_t>(room < n / 2 + 1 ? room : n / 2 + 1));
    std::uint64_t total = 0;
    if (!pm::read_hex_text(text, n, bytes.data(), bytes.size(), &total)) return {0, true, false};
    return pm::paste_bytes(*c, bytes.data(), static_cast<pm::Offset>(total));
}

}  // namespace

void PasteFromClipboard(Control* c) {
    pm::PasteOutcome out{0, true, false};
    if (c->read_only != 1 && c->own_data) {
        OpenedClipboard clipboard(c->hwnd());
        if (clipboard.open()) {
            LockedText text(GetClipboardData(CF_TEXT));
            if (text.text()) out = PasteText(c, text.text(), text.length());
        }
    }
    if (out.beep) MessageBeep(MB_OK);
    if (!out.written) return;
    if (out.scrolled) ShowScrolledView(c);
    RunColourPass(c);
    FullRepaint(c);
}

void CopyToClipboard(Control* c, unsigned command) {
    for (const CopyCommand& copy : kCopies)
        if (copy.command == command) PutOnClipboard(c, copy);
}
