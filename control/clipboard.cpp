// Clipboard export: the common frame around the six text forms. The text
// itself is written by the portable core into one movable block sized
// before writing.
#include <cstdint>

#include "control/control.h"
#include "control/core/copy_forms.h"

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

}  // namespace

void CopyToClipboard(Control* c, unsigned command) {
    for (const CopyCommand& copy : kCopies)
        if (copy.command == command) PutOnClipboard(c, copy);
}
