// Paste: the hex text reader and the write into the data.
#include "control/core/paste.h"

#include <cstring>
#include <limits>

#include "control/core/edit.h"
#include "control/core/hextext.h"
#include "control/core/place.h"
#include "control/core/recency.h"

namespace pm {

namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }

// A cursor over text[0, n) that never reads past its end and collects the
// bytes read: the first limit go to out, all of them are counted.
class Reader {
public:
    Reader(const char* text, std::size_t n, std::uint8_t* out, std::size_t limit)
        : p_(text), end_(text + n), out_(out), limit_(limit) {}

    bool at_end() const { return p_ == end_; }
    char peek() const { return p_ != end_ ? *p_ : '\0'; }
    char peek2() const { return end_ - p_ >= 2 ? p_[1] : '\0'; }
    void skip() { ++p_; }
    void skip_spaces() { while (p_ != end_ && is_space(*p_)) ++p_; }
    void skip_blanks() { while (p_ != end_ && is_blank(*p_)) ++p_; }
    bool only_spaces_left() const {
        for (const char* q = p_; q != end_; ++q)
            if (!is_space(*q)) return false;
        return true;
    }
    bool take(char c) {
        if (peek() != c || at_end()) return false;
        ++p_;
        return true;
    }
    // One hex digit, its value in *d.
    bool digit(unsigned* d) {
        if (at_end() || !hex_digit(static_cast<unsigned char>(*p_), d)) return false;
        ++p_;
        return true;
    }
    void emit(unsigned b) {
        if (total_ < limit_) out_[total_] = std::uint8_t(b);
        ++total_;
    }
    std::uint64_t total() const { return total_; }
    void restart(const char* text) {
        p_ = text;
        total_ = 0;
    }

private:
    const char* p_;
    const char* end_;
    std::uint8_t* out_;
    std::size_t limit_;
    std::uint64_t total_ = 0;
};

// Quoted strings of \x escapes, two digits each, separated by white space.
// A lone quote is the form of no bytes at all.
bool read_x_strings(Reader& r) {
    r.skip_spaces();
    if (!r.take('"')) return false;
    if (r.only_spaces_left()) return true;  // the lone quote
    for (;;) {
        while (!r.take('"')) {
            unsigned hi, lo;
            if (!r.take('\\') || !(r.take('x') || r.take('X')) || !r.digit(&hi) || !r.digit(&lo))
                return false;
            r.emit(hi * 16 + lo);
        }
        r.skip_spaces();
        if (r.at_end()) return true;
        if (!r.take('"')) return false;
    }
}

// Lines of "db" and values of hex digits with an "h", separated by commas.
bool read_db_lines(Reader& r) {
    for (r.skip_spaces(); !r.at_end(); r.skip_spaces()) {
        if (!(r.take('d') || r.take('D')) || !(r.take('b') || r.take('B')) || !is_blank(r.peek()))
            return false;
        for (;;) {
            r.skip_blanks();
            unsigned value = 0, d;
            if (!r.digit(&d)) return false;
            do {
                value = value * 16 + d;
                if (value > 0xFF) return false;
            } while (r.digit(&d));
            if (!(r.take('h') || r.take('H'))) return false;
            r.emit(value);
            r.skip_blanks();
            if (!r.take(',')) break;
        }
        if (!r.at_end() && !is_space(r.peek())) return false;
    }
    return true;
}

// Groups of an even number of digits, or "0x" and one or an even number
// of digits, separated by white space or commas.
bool read_hex_groups(Reader& r) {
    for (;;) {
        while (!r.at_end() && (is_space(r.peek()) || r.peek() == ',')) r.skip();
        if (r.at_end()) return true;
        const bool prefixed = r.peek() == '0' && (r.peek2() == 'x' || r.peek2() == 'X');
        if (prefixed) {
            r.skip();
            r.skip();
        }
        unsigned hi, lo;
        std::uint64_t digits = 0;
        while (r.digit(&hi)) {
            ++digits;
            if (!r.digit(&lo)) {
                // One digit alone is a byte only right after "0x".
                if (!(prefixed && digits == 1)) return false;
                lo = hi;
                hi = 0;
            } else {
                ++digits;
            }
            r.emit(hi * 16 + lo);
            if (digits == 1) break;
        }
        if (digits == 0) return false;
        if (!r.at_end() && !is_space(r.peek()) && r.peek() != ',') return false;
    }
}

}  // namespace

bool read_hex_text(const char* text, std::size_t n, std::uint8_t* out, std::size_t limit,
                   std::uint64_t* total) {
    Reader r(text, n, out, limit);
    r.skip_spaces();
    bool ok;
    if (r.peek() == '"' && !r.at_end()) {
        ok = read_x_strings(r);
    } else {
        const bool db = (r.peek() == 'd' || r.peek() == 'D') && (r.peek2() == 'b' || r.peek2() == 'B');
        ok = db && read_db_lines(r);
        if (!ok) {
            // "db 41 42" may be plain hex digits that start with the byte DB.
            r.restart(text);
            ok = read_hex_groups(r);
        }
    }
    *total = r.total();
    return ok;
}

PasteOutcome paste_bytes(View& v, const std::uint8_t* bytes, Offset n) {
    PasteOutcome out{};
    if (v.read_only == 1 || !v.own_data || !v.data || v.data_size == 0 || n == 0 ||
        v.anchor > v.data_size || v.caret > v.data_size) {
        out.beep = true;
        return out;
    }
    const Offset start = v.has_selection() ? Offset(v.sel_lo()) : Offset(v.caret);
    const Offset room = Offset(v.data_size) - start;
    Offset count = n < room ? n : room;
    // One snapshot holds at most what a record's length can count.
    constexpr auto record_max = std::numeric_limits<decltype(HistoryRecord::length)>::max();
    if (count > record_max) count = Offset(record_max);
    out.beep = count < n;
    if (count == 0) return out;

    out.written = write_bytes(v, start, bytes, count, cause_paste);
    if (out.written == 0) {
        out.beep = true;
        return out;
    }
    v.anchor = v.caret = start + count;
    out.scrolled = reveal(v, v.caret);
    return out;
}

}  // namespace pm
