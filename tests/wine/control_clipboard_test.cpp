// The six copy commands, sent to a control as WM_COMMAND, and the exact
// text each leaves on the clipboard.
#include <gtest/gtest.h>

#include "menu_support.h"
#include "support/iat.h"

using mt::CopyAs;
using wt::ControlWindow;

namespace {

std::vector<std::uint8_t> Iota(std::size_t n) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = std::uint8_t(i);
    return v;
}

void Select(const ControlWindow& w, unsigned start, unsigned end) {
    w.Send(PM_SELECTRANGE, start, LPARAM(end));
}

}  // namespace

TEST(Clipboard, ThreeSelectedBytesInEveryForm) {
    ControlWindow w;
    w.SetData({0x00, 0x41, 0x42, 0xFF, 0x00});
    Select(w, 1, 4);
    EXPECT_EQ(CopyAs(w, PMC_COPY_ANSI), "AB\xFF");
    EXPECT_EQ(CopyAs(w, PMC_COPY_HEX), "4142FF");
    EXPECT_EQ(CopyAs(w, PMC_COPY_DB_SEL), "db 041h,042h,0ffh");
    EXPECT_EQ(CopyAs(w, PMC_COPY_X_SEL), "\"\\x41\\x42\\xff\"");
    EXPECT_EQ(CopyAs(w, PMC_COPY_DB_NOTSEL), "db 000h,000h");
    EXPECT_EQ(CopyAs(w, PMC_COPY_X_NOTSEL), "\"\\x00\\x00\"");
    // The caret on the left of the selection copies the same bytes.
    Select(w, 4, 1);
    EXPECT_EQ(CopyAs(w, PMC_COPY_HEX), "4142FF");
}

TEST(Clipboard, SeventeenBytesMakeTwoLines) {
    ControlWindow w;
    w.SetData(Iota(17));
    Select(w, 0, 17);
    EXPECT_EQ(CopyAs(w, PMC_COPY_DB_SEL),
              "db 000h,001h,002h,003h,004h,005h,006h,007h,008h,009h,00ah,00bh,00ch,00dh,"
              "00eh,00fh\r\ndb 010h");
    EXPECT_EQ(CopyAs(w, PMC_COPY_X_SEL),
              "\"\\x00\\x01\\x02\\x03\\x04\\x05\\x06\\x07\\x08\\x09\\x0a\\x0b\\x0c\\x0d\\x0e"
              "\\x0f\"\r\n\"\\x10\"");
    Select(w, 1, 17);
    EXPECT_EQ(CopyAs(w, PMC_COPY_DB_SEL),
              "db 001h,002h,003h,004h,005h,006h,007h,008h,009h,00ah,00bh,00ch,00dh,00eh,"
              "00fh,010h");
}

TEST(Clipboard, EverythingButTheSelection) {
    ControlWindow w;
    w.SetData(Iota(40));
    Select(w, 10, 30);
    EXPECT_EQ(CopyAs(w, PMC_COPY_DB_NOTSEL),
              "db 000h,001h,002h,003h,004h,005h,006h,007h,008h,009h,01eh,01fh,020h,021h,"
              "022h,023h\r\ndb 024h,025h,026h,027h");
    EXPECT_EQ(CopyAs(w, PMC_COPY_X_NOTSEL),
              "\"\\x00\\x01\\x02\\x03\\x04\\x05\\x06\\x07\\x08\\x09\\x1e\\x1f\\x20\\x21\\x22"
              "\\x23\"\r\n\"\\x24\\x25\\x26\\x27\"");
}

TEST(Clipboard, WithoutSelectionTheNotSelectionFormsCopyEverything) {
    ControlWindow w;
    w.SetData({1, 2, 0xAB});
    Select(w, 1, 1);
    EXPECT_EQ(CopyAs(w, PMC_COPY_DB_NOTSEL), "db 001h,002h,0abh");
    EXPECT_EQ(CopyAs(w, PMC_COPY_X_NOTSEL), "\"\\x01\\x02\\xab\"");
    // The selection forms put the empty text there.
    for (unsigned cmd : {PMC_COPY_ANSI, PMC_COPY_HEX, PMC_COPY_DB_SEL}) {
        bool present = false;
        std::string block = mt::CopyBlockAs(w, cmd, &present);
        EXPECT_TRUE(present) << cmd;
        EXPECT_EQ(block.substr(0, block.find('\0')), "") << cmd;
    }
    EXPECT_EQ(CopyAs(w, PMC_COPY_X_SEL), "\"");
}

TEST(Clipboard, EverythingSelectedLeavesEmptyLists) {
    ControlWindow w;
    w.SetData({1, 2, 3});
    Select(w, 0, 3);
    EXPECT_EQ(CopyAs(w, PMC_COPY_DB_NOTSEL), "");
    EXPECT_EQ(CopyAs(w, PMC_COPY_X_NOTSEL), "\"");
}

TEST(Clipboard, AnsiCopiesZeroBytesAndAllThatFollowThem) {
    ControlWindow w;
    w.SetData({'a', 0, 'b', 'c'});
    Select(w, 0, 4);
    std::string block = mt::CopyBlockAs(w, PMC_COPY_ANSI);
    ASSERT_GE(block.size(), 5u);
    EXPECT_EQ(block.substr(0, 5), std::string("a\0bc\0", 5));
}

TEST(Clipboard, OffsetBaseDoesNotChangeTheCopiedBytes) {
    ControlWindow w;
    w.SetData(Iota(64));
    w.Send(PM_SETOFFSETBASE, 0x1000);
    Select(w, 0x1010, 0x1013);
    EXPECT_EQ(CopyAs(w, PMC_COPY_HEX), "101112");
}

TEST(Clipboard, UnknownCommandsLeaveTheClipboardAlone) {
    ControlWindow w;
    w.SetData({1, 2, 3});
    Select(w, 0, 3);
    EXPECT_EQ(CopyAs(w, 13011), "(before)");
    EXPECT_EQ(CopyAs(w, PMC_COPY_HEX | (1u << 16)), "(before)");  // a notification code
}

TEST(Clipboard, HeldOpenElsewhereItKeepsItsContents) {
    ControlWindow w;
    w.SetData({1, 2, 3});
    Select(w, 0, 3);
    mt::ClipboardLock lock;
    mt::PutClipboardText("kept");
    ASSERT_TRUE(OpenClipboard(w.parent()));
    w.Send(WM_COMMAND, PMC_COPY_HEX);
    CloseClipboard();
    EXPECT_EQ(mt::ClipboardText(), "kept");
    // And the control closed nothing it did not open: it can copy now.
    w.Send(WM_COMMAND, PMC_COPY_HEX);
    EXPECT_EQ(mt::ClipboardText(), "010203");
}

TEST(Clipboard, LargeCopyIsExact) {
    ControlWindow w;
    std::vector<std::uint8_t> bytes(100000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = std::uint8_t(i * 7 + i / 256);
    w.SetData(bytes);
    Select(w, 0, LPARAM(bytes.size()));
    std::string db = CopyAs(w, PMC_COPY_DB_SEL);
    std::size_t lines = (bytes.size() + 15) / 16;
    EXPECT_EQ(db.size(), 5 * bytes.size() + 4 * lines - 2);  // 17 for 3 bytes
    char first[8];
    wsprintfA(first, "db %03xh", bytes[0]);
    EXPECT_EQ(db.substr(0, 7), first);
    std::string hex = CopyAs(w, PMC_COPY_HEX);
    ASSERT_EQ(hex.size(), 2 * bytes.size());
    char last[4];
    wsprintfA(last, "%02X", bytes.back());
    EXPECT_EQ(hex.substr(hex.size() - 2), last);
}

// A copy whose text could not be addressed copies nothing: the clipboard
// is emptied and stays empty, and no byte of the data is read. The data is
// 512 MiB of reserved address space of which only the first 64 KiB exist;
// their lists would take 2.6 GB.
TEST(Clipboard, TooLargeACopyLeavesTheClipboardEmpty) {
    const SIZE_T size = SIZE_T(512) << 20;
    auto* data =
        static_cast<std::uint8_t*>(VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS));
    if (!data) GTEST_SKIP() << "no 512 MiB of address space to reserve";
    ASSERT_NE(VirtualAlloc(data, 65536, MEM_COMMIT, PAGE_READWRITE), nullptr);
    {
        ControlWindow w;
        w.Send(PM_SETDATA, WPARAM(data), LPARAM(size));
        const unsigned all[] = {PMC_COPY_DB_SEL, PMC_COPY_X_SEL};
        Select(w, 0, unsigned(size));
        for (unsigned cmd : all) {
            bool present = true;
            mt::CopyBlockAs(w, cmd, &present);
            EXPECT_FALSE(present) << cmd;
        }
        Select(w, 0, 0);
        for (unsigned cmd : {PMC_COPY_DB_NOTSEL, PMC_COPY_X_NOTSEL}) {
            bool present = true;
            mt::CopyBlockAs(w, cmd, &present);
            EXPECT_FALSE(present) << cmd;
        }
        // A small selection of the same data still copies.
        Select(w, 0, 2);
        EXPECT_EQ(CopyAs(w, PMC_COPY_HEX), "0000");
    }
    VirtualFree(data, 0, MEM_RELEASE);
}

// Each form's block may be larger than its text; whatever follows the
// text's zero byte goes out to every program that reads the clipboard, so
// it must be zero, never old heap contents. The library's blocks come full
// of 0xAA here, as a reused heap block may (unless it asks for zeroes).
static HGLOBAL(WINAPI* g_real_global_alloc)(UINT, SIZE_T);
static int g_littered = 0;
static HGLOBAL WINAPI LitteredGlobalAlloc(UINT flags, SIZE_T n) {
    HGLOBAL h = g_real_global_alloc(flags, n);
    if (h && !(flags & GMEM_ZEROINIT))
        if (void* p = GlobalLock(h)) {
            FillMemory(p, GlobalSize(h), 0xAA);
            GlobalUnlock(h);
            ++g_littered;
        }
    return h;
}

TEST(Clipboard, BlockAfterTheTextIsAllZero) {
    ControlWindow w;
    w.SetData(std::vector<std::uint8_t>(300, 0x41));
    g_real_global_alloc = reinterpret_cast<decltype(g_real_global_alloc)>(wt::PatchImport(
        wt::Library(), "kernel32.dll", "GlobalAlloc", reinterpret_cast<void*>(&LitteredGlobalAlloc)));
    ASSERT_NE(g_real_global_alloc, nullptr);
    const unsigned forms[] = {PMC_COPY_ANSI, PMC_COPY_HEX, PMC_COPY_DB_SEL,
                              PMC_COPY_DB_NOTSEL, PMC_COPY_X_SEL, PMC_COPY_X_NOTSEL};
    for (unsigned form : forms) {
        SCOPED_TRACE(form);
        Select(w, 10, 110);
        const int littered = g_littered;
        const std::string block = mt::CopyBlockAs(w, form);
        EXPECT_GT(g_littered, littered) << "the copy's block never came through the littering allocator";
        const std::size_t end = block.find('\0');
        ASSERT_NE(end, std::string::npos);
        EXPECT_EQ(block.find_first_not_of('\0', end), std::string::npos)
            << "non-zero byte after the text at " << block.find_first_not_of('\0', end);
    }
    wt::PatchImport(wt::Library(), "kernel32.dll", "GlobalAlloc", reinterpret_cast<void*>(g_real_global_alloc));
}

