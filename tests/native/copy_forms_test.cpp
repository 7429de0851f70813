// Clipboard text forms: the worked examples byte for byte, and every size
// and split checked against a line-by-line reference built with printf
// formats. Blocks are allocated at exactly their computed size, so that
// AddressSanitizer reports any write past the end.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "control/core/copy_forms.h"
#include "large_offsets.h"

using namespace pm;

namespace {

std::string Copy(CopyForm form, const ByteRuns& runs) {
    std::vector<char> block(copy_block_size(form, runs.size()));
    std::size_t len = write_copy(form, runs, block.data());
    EXPECT_LT(len, block.size());
    EXPECT_EQ(block[len], 0);
    return std::string(block.data(), len);
}

std::string Copy(CopyForm form, const std::vector<std::uint8_t>& bytes) {
    ByteRuns r;
    r.first = bytes.data();
    r.first_size = bytes.size();
    return Copy(form, r);
}

// The list algorithm as written for people: printf per byte, the comma of
// a finished db line replaced by CR, the last comma removed at the end.
std::string ReferenceList(bool db, const std::vector<std::uint8_t>& bytes) {
    std::string t;
    char buf[16];
    for (std::size_t j = 0; j < bytes.size(); ++j) {
        if (j % 16 == 0 && j > 0) {
            if (db) {
                t.back() = '\r';
                t += '\n';
            } else {
                t += "\"\r\n";
            }
        }
        if (db)
            std::snprintf(buf, sizeof buf, j % 16 ? "%03xh," : "db %03xh,", bytes[j]);
        else
            std::snprintf(buf, sizeof buf, j % 16 ? "\\x%02x" : "\"\\x%02x", bytes[j]);
        t += buf;
    }
    if (db) {
        if (!t.empty()) t.pop_back();
    } else {
        t += '"';
    }
    return t;
}

struct Data : View {
    explicit Data(std::vector<std::uint8_t> b, u32 a = 0, u32 c = 0) : bytes(std::move(b)) {
        data = bytes.data();
        data_size = u32(bytes.size());
        anchor = a;
        caret = c;
    }
    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> Iota(std::size_t n) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = std::uint8_t(i);
    return v;
}

}  // namespace

TEST(CopyForms, WorkedExampleOfThreeBytes) {
    const std::vector<std::uint8_t> b{0x41, 0x42, 0xFF};
    EXPECT_EQ(Copy(CopyForm::db_list, b), "db 041h,042h,0ffh");
    EXPECT_EQ(Copy(CopyForm::db_list, b).size(), 17u);
    EXPECT_EQ(Copy(CopyForm::x_list, b), "\"\\x41\\x42\\xff\"");
    EXPECT_EQ(Copy(CopyForm::x_list, b).size(), 14u);
    EXPECT_EQ(Copy(CopyForm::hex, b), "4142FF");
    EXPECT_EQ(Copy(CopyForm::ansi, b), "AB\xFF");
}

TEST(CopyForms, SixteenBytesAreOneLineAndSeventeenTwo) {
    auto b16 = Iota(16), b17 = Iota(17);
    EXPECT_EQ(Copy(CopyForm::db_list, b16),
              "db 000h,001h,002h,003h,004h,005h,006h,007h,008h,009h,00ah,00bh,00ch,00dh,"
              "00eh,00fh");
    EXPECT_EQ(Copy(CopyForm::db_list, b17),
              "db 000h,001h,002h,003h,004h,005h,006h,007h,008h,009h,00ah,00bh,00ch,00dh,"
              "00eh,00fh\r\ndb 010h");
    EXPECT_EQ(Copy(CopyForm::x_list, b16),
              "\"\\x00\\x01\\x02\\x03\\x04\\x05\\x06\\x07\\x08\\x09\\x0a\\x0b\\x0c\\x0d\\x0e"
              "\\x0f\"");
    EXPECT_EQ(Copy(CopyForm::x_list, b17),
              "\"\\x00\\x01\\x02\\x03\\x04\\x05\\x06\\x07\\x08\\x09\\x0a\\x0b\\x0c\\x0d\\x0e"
              "\\x0f\"\r\n\"\\x10\"");
}

TEST(CopyForms, EverythingButTheSelectionRunsOnAcrossTheGap) {
    Data d(Iota(40), 10, 30);  // bytes 10 to 29 selected
    std::string text = Copy(CopyForm::db_list, unselected_bytes(d));
    EXPECT_EQ(text,
              "db 000h,001h,002h,003h,004h,005h,006h,007h,008h,009h,01eh,01fh,020h,021h,"
              "022h,023h\r\ndb 024h,025h,026h,027h");
    // The caret on the other side selects the same bytes.
    Data swapped(Iota(40), 30, 10);
    EXPECT_EQ(Copy(CopyForm::db_list, unselected_bytes(swapped)), text);
}

TEST(CopyForms, NoSelectionAndEverythingSelected) {
    Data none(Iota(3), 2, 2);
    EXPECT_EQ(Copy(CopyForm::hex, selected_bytes(none)), "");
    EXPECT_EQ(Copy(CopyForm::ansi, selected_bytes(none)), "");
    EXPECT_EQ(Copy(CopyForm::db_list, selected_bytes(none)), "");
    EXPECT_EQ(Copy(CopyForm::x_list, selected_bytes(none)), "\"");
    EXPECT_EQ(Copy(CopyForm::db_list, unselected_bytes(none)), "db 000h,001h,002h");
    Data all(Iota(3), 0, 3);
    EXPECT_EQ(Copy(CopyForm::db_list, unselected_bytes(all)), "");
    EXPECT_EQ(Copy(CopyForm::x_list, unselected_bytes(all)), "\"");
}

TEST(CopyForms, AnsiKeepsZeroBytesAndEndsWithOne) {
    const std::vector<std::uint8_t> b{'a', 0, 'b'};
    std::vector<char> block(copy_block_size(CopyForm::ansi, 3));
    ASSERT_EQ(block.size(), 7u);
    EXPECT_EQ(write_copy(CopyForm::ansi, ByteRuns{b.data(), 3, nullptr, 0}, block.data()), 3u);
    EXPECT_EQ(std::string(block.data(), 4), std::string("a\0b\0", 4));
}

TEST(CopyForms, BlockSizesDoNotWrap) {
    const std::uint64_t n = 0xFFFFFFFFu;
    EXPECT_EQ(copy_block_size(CopyForm::ansi, n), 8589934591u);
    EXPECT_EQ(copy_block_size(CopyForm::hex, n), 8589934591u);
    EXPECT_EQ(copy_block_size(CopyForm::db_list, n), 22548578303u);
    EXPECT_EQ(copy_block_size(CopyForm::x_list, n), 22548578303u);
}

// Every length from 0 to 100 and every way of splitting it into the two
// runs: the text equals the reference and fits its block (ASan checks).
TEST(CopyForms, AllSizesAndSplitsMatchTheReference) {
    std::mt19937 rng(7);
    for (std::size_t n = 0; n <= 100; ++n) {
        std::vector<std::uint8_t> bytes(n);
        for (auto& b : bytes) b = std::uint8_t(rng());
        std::string hex;
        char buf[4];
        for (auto b : bytes) {
            std::snprintf(buf, sizeof buf, "%02X", b);
            hex += buf;
        }
        for (std::size_t split = 0; split <= n; ++split) {
            ByteRuns r{bytes.data(), split, bytes.data() + split, n - split};
            ASSERT_EQ(Copy(CopyForm::db_list, r), ReferenceList(true, bytes)) << n << " " << split;
            ASSERT_EQ(Copy(CopyForm::x_list, r), ReferenceList(false, bytes)) << n << " " << split;
            ASSERT_EQ(Copy(CopyForm::hex, r), hex);
            ASSERT_EQ(Copy(CopyForm::ansi, r),
                      std::string(reinterpret_cast<const char*>(bytes.data()), n));
        }
    }
}

TEST(CopyForms, BlockSizesPastSixtyFourBitsSaturate) {
    const std::uint64_t all = ~std::uint64_t(0);
    for (CopyForm f : {CopyForm::ansi, CopyForm::hex, CopyForm::db_list, CopyForm::x_list})
        EXPECT_EQ(copy_block_size(f, all), all);
    EXPECT_EQ(copy_block_size(CopyForm::db_list, all / 4), all);
    EXPECT_EQ(copy_block_size(CopyForm::x_list, all / 5), all);
    EXPECT_EQ(copy_block_size(CopyForm::hex, all / 4), all / 2);
    EXPECT_EQ(copy_block_size(CopyForm::ansi, all / 2 - 1), all - 2);
    EXPECT_EQ(copy_block_size(CopyForm::db_list, 1ull << 47), (21ull << 45) + 5);
}

// The lengths of both runs of a copy of large blocks (nothing is read).
TEST(CopyForms, RunsOfLargeBlocks) {
    for (const Offset size : BlockSizes()) {
        SCOPED_TRACE(size);
        SparseBlock block(size);
        ASSERT_TRUE(block.data());
        View v;
        v.data = block.data();
        v.data_size = size;
        v.anchor = size;  // to the end position, past everything
        v.caret = 10;
        const ByteRuns sel = selected_bytes(v);
        EXPECT_EQ(sel.first, block.data() + 10);
        EXPECT_EQ(sel.size(), size - 10);
        const ByteRuns rest = unselected_bytes(v);
        EXPECT_EQ(rest.first_size, 10u);
        EXPECT_EQ(rest.second, block.data() + size);
        EXPECT_EQ(rest.size(), 10u);
        v.anchor = 10;
        v.caret = 10;
        EXPECT_EQ(unselected_bytes(v).size(), size);
        EXPECT_EQ(copy_block_size(CopyForm::db_list, unselected_bytes(v).size()),
                  5 * std::uint64_t(size) + size / 4 + 5);
    }
}
