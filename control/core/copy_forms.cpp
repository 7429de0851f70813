// Clipboard text forms. Every byte is written from a lookup table built at
// compile time; a list line of sixteen bytes is written without a test per
// byte.
#include "control/core/copy_forms.h"

#include <cstring>

namespace pm {

namespace {

constexpr char upper_digit(unsigned d) { return char(d < 10 ? '0' + d : 'A' + d - 10); }
constexpr char lower_digit(unsigned d) { return char(d < 10 ? '0' + d : 'a' + d - 10); }

struct Tables {
    char hex[256][2];  // "FF": the hex form
    char db[256][5];   // "0ffh,": a db value with its separating comma
    char x[256][4];    // "\xff": one escape of the \x form
    constexpr Tables() : hex{}, db{}, x{} {
        for (unsigned b = 0; b < 256; ++b) {
            hex[b][0] = upper_digit(b >> 4);
            hex[b][1] = upper_digit(b & 15);
            db[b][0] = '0';
            db[b][1] = lower_digit(b >> 4);
            db[b][2] = lower_digit(b & 15);
            db[b][3] = 'h';
            db[b][4] = ',';
            x[b][0] = '\\';
            x[b][1] = 'x';
            x[b][2] = lower_digit(b >> 4);
            x[b][3] = lower_digit(b & 15);
        }
    }
};

constexpr Tables tables{};

constexpr unsigned bytes_per_list_line = 16;

// Writes a db or \x list across the runs of one copy; j counts the bytes
// written so far, so that the lines run on from one run into the next.
template <bool DbForm>
class ListWriter {
public:
    explicit ListWriter(char* out) : out_(out) {}

    void run(const std::uint8_t* p, std::size_t n) {
        for (; n && (j_ % bytes_per_list_line); --n) one(*p++);
        for (; n >= bytes_per_list_line; n -= bytes_per_list_line, p += bytes_per_list_line)
            line(p);
        for (; n; --n) one(*p++);
    }

    // Ends the text: a db list loses its trailing comma, a \x list gets
    // its closing quote. Returns the end of the text (its zero byte).
    char* finish() {
        if (DbForm) {
            if (j_) --out_;
        } else {
            *out_++ = '"';
        }
        *out_ = 0;
        return out_;
    }

private:
    void start_line() {
        if (DbForm) {
            if (j_) {
                out_[-1] = '\r';  // the previous line's comma
                *out_++ = '\n';
            }
            std::memcpy(out_, "db ", 3);
            out_ += 3;
        } else {
            if (j_) {
                std::memcpy(out_, "\"\r\n", 3);
                out_ += 3;
            }
            *out_++ = '"';
        }
    }
    void value(std::uint8_t b) {
        if (DbForm) {
            std::memcpy(out_, tables.db[b], 5);
            out_ += 5;
        } else {
            std::memcpy(out_, tables.x[b], 4);
            out_ += 4;
        }
    }
    void one(std::uint8_t b) {
        if (j_ % bytes_per_list_line == 0) start_line();
        value(b);
        ++j_;
    }
    void line(const std::uint8_t* p) {
        start_line();
        for (unsigned i = 0; i < bytes_per_list_line; ++i) value(p[i]);
        j_ += bytes_per_list_line;
    }

    char* out_;
    std::uint64_t j_ = 0;
};

template <bool DbForm>
char* write_list(const ByteRuns& bytes, char* out) {
    ListWriter<DbForm> w(out);
    w.run(bytes.first, bytes.first_size);
    w.run(bytes.second, bytes.second_size);
    return w.finish();
}

char* write_hex_run(const std::uint8_t* p, std::size_t n, char* out) {
    for (std::size_t i = 0; i < n; ++i, out += 2) std::memcpy(out, tables.hex[p[i]], 2);
    return out;
}

char* write_raw_run(const std::uint8_t* p, std::size_t n, char* out) {
    if (n) std::memcpy(out, p, n);
    return out + n;
}

}  // namespace

ByteRuns selected_bytes(const View& v) {
    const Offset hi = v.sel_hi() < v.data_size ? v.sel_hi() : v.data_size;
    const Offset lo = v.sel_lo() < hi ? v.sel_lo() : hi;
    ByteRuns r;
    r.first = v.data + lo;
    r.first_size = std::size_t(hi - lo);
    return r;
}

ByteRuns unselected_bytes(const View& v) {
    const Offset hi = v.sel_hi() < v.data_size ? v.sel_hi() : v.data_size;
    const Offset lo = v.sel_lo() < hi ? v.sel_lo() : hi;
    ByteRuns r;
    r.first = v.data;
    r.first_size = std::size_t(lo);
    r.second = v.data + hi;
    r.second_size = std::size_t(v.data_size - hi);
    return r;
}

std::uint64_t copy_block_size(CopyForm form, std::uint64_t n) {
    constexpr std::uint64_t too_large = ~std::uint64_t(0);
    switch (form) {
    case CopyForm::ansi:
    case CopyForm::hex: return n < too_large / 2 ? 2 * n + 1 : too_large;
    case CopyForm::db_list:
    case CopyForm::x_list: return n < (too_large - 5) / 6 ? 5 * n + n / 4 + 5 : too_large;
    }
    return 0;
}

std::size_t write_copy(CopyForm form, const ByteRuns& bytes, char* block) {
    char* end = block;
    switch (form) {
    case CopyForm::ansi:
        end = write_raw_run(bytes.first, bytes.first_size, end);
        end = write_raw_run(bytes.second, bytes.second_size, end);
        *end = 0;
        break;
    case CopyForm::hex:
        end = write_hex_run(bytes.first, bytes.first_size, end);
        end = write_hex_run(bytes.second, bytes.second_size, end);
        *end = 0;
        break;
    case CopyForm::db_list: end = write_list<true>(bytes, block); break;
    case CopyForm::x_list: end = write_list<false>(bytes, block); break;
    }
    return std::size_t(end - block);
}

}  // namespace pm
