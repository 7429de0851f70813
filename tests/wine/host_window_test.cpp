// The main window and its documents, driven with the messages a user's
// actions produce: drops, clicks on the tab strip, menu commands.
#include "host_fixture.h"

using ht::HostTest;

namespace {

const std::string kBytes = std::string("\x00\x11\x22\x33\x44\x55\x66\x77", 8);

class Documents : public HostTest {
protected:
    // Opens n small files at once; each gets its tab.
    void OpenMany(unsigned n) {
        std::vector<std::string> paths;
        for (unsigned i = 1; i <= n; ++i) {
            paths.push_back(dir / ("file" + std::to_string(i) + ".bin"));
            ht::WriteBytes(paths.back(), kBytes);
        }
        ht::Drop(main, paths);
    }
    // Tab places the strip has room for beside its scroll buttons.
    int Places() const {
        RECT r;
        GetClientRect(w->strip, &r);
        return (r.right - 44) / 106;
    }
    // The tab a click on a place's body selects.
    LRESULT TabAtPlace(int place) const {
        SelectAtPlace(place);
        return Strip(GDTM_GETCURSEL);
    }
    // One click on the left scroll button behind `places` places; the
    // pointer then leaves the strip.
    void ScrollLeft(int places) const {
        Click(places * 106 + 5);
        SendMessageA(w->strip, WM_MOUSELEAVE, 0, 0);
    }
    void Show(int how) const {
        ShowWindow(main, how);
        wt::Pump();
    }
};

}  // namespace

TEST_F(Documents, StartsIdleWithTheReadOnlyPlaceholder) {
    EXPECT_EQ(ht::Title(main), "Pelomar.dll");
    EXPECT_EQ(w->current, w->placeholder);
    EXPECT_TRUE(IsWindowVisible(w->placeholder));
    EXPECT_EQ(ht::ControlOf(w->placeholder)->read_only, 1u);
    EXPECT_EQ(w->docs.count, 0u);
    EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    char cls[64];
    GetClassNameA(w->strip, cls, sizeof cls);
    EXPECT_STREQ(cls, "GDTABS");

    RECT client, strip, control;
    GetClientRect(main, &client);
    GetWindowRect(w->strip, &strip);
    GetWindowRect(w->placeholder, &control);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&strip), 2);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&control), 2);
    EXPECT_EQ(strip.right - strip.left, client.right);
    EXPECT_EQ(strip.bottom - strip.top, 31);
    EXPECT_EQ(control.top, 31);
    EXPECT_EQ(control.right - control.left, client.right);
    EXPECT_EQ(control.bottom, client.bottom);

    HMENU bar = GetMenu(main);
    EXPECT_EQ(GetMenuItemID(GetSubMenu(bar, 0), 0), UINT(IDM_OPEN));
    EXPECT_EQ(GetMenuItemID(GetSubMenu(bar, 0), 1), UINT(IDM_EXIT));
    EXPECT_EQ(GetMenuItemID(GetSubMenu(bar, 1), 0), UINT(IDM_CUSTOMIZE));
}

TEST_F(Documents, DropOpensEachFileBehindItsOwnTab) {
    ht::WriteBytes(dir / "first.bin", kBytes);
    ht::WriteBytes(dir / "second-readonly.bin", "ro");
    ht::ReadOnlyHold hold(dir / "second-readonly.bin");
    ASSERT_TRUE(hold.held());
    ht::Drop(main, {dir / "first.bin", dir / "second-readonly.bin"});

    ASSERT_EQ(w->docs.count, 2u);
    EXPECT_EQ(Strip(GDTM_GETCURSEL), 2);
    EXPECT_STREQ(reinterpret_cast<const char*>(Strip(GDTM_GETTEXT, 0)), "first.bin");
    EXPECT_STREQ(reinterpret_cast<const char*>(Strip(GDTM_GETTEXT, 1)), "second-re");
    EXPECT_EQ(ht::Title(main), "Pelomar.dll - " + dir / "second-readonly.bin");
    EXPECT_EQ(w->current, Control(2));
    EXPECT_TRUE(IsWindowVisible(Control(2)));
    EXPECT_FALSE(IsWindowVisible(Control(1)));
    EXPECT_FALSE(IsWindowVisible(w->placeholder));

    // Each control shows its whole mapped file; the read-only one is made
    // read-only and mapped without write access.
    for (unsigned tab = 1; tab <= 2; ++tab) {
        const pm::Document& d = w->docs.records[tab - 1];
        const ::Control* c = ht::ControlOf(Control(tab));
        EXPECT_EQ(c->data, d.view);
        EXPECT_EQ(c->data_size, tab == 1 ? 8u : 2u);
        EXPECT_EQ(c->read_only, tab == 1 ? 0u : 1u);
        MEMORY_BASIC_INFORMATION mbi{};
        VirtualQuery(d.view, &mbi, sizeof mbi);
        EXPECT_EQ(mbi.Protect, DWORD(tab == 1 ? PAGE_READWRITE : PAGE_READONLY)) << tab;
    }
    EXPECT_EQ(std::string(static_cast<const char*>(w->docs.records[0].view), 8), kBytes);
}

TEST_F(Documents, EmptyFilesAndDirectoriesLeaveNoRecord) {
    ht::WriteBytes(dir / "empty.bin", "");
    ht::WriteBytes(dir / "good.bin", kBytes);
    ht::WriteBytes(dir / "other.bin", kBytes);
    CreateDirectoryA((dir / "sub").c_str(), nullptr);

    ht::Drop(main, {dir / "empty.bin"});
    EXPECT_EQ(w->docs.count, 0u);
    EXPECT_EQ(Strip(GDTM_GETCURSEL), 1);  // untouched strip: nothing added
    EXPECT_EQ(ht::Title(main), "Pelomar.dll - {cannot open file}");
    EXPECT_EQ(w->current, w->placeholder);
    EXPECT_TRUE(IsWindowVisible(w->placeholder));

    ht::Drop(main, {dir / "sub", dir / "good.bin"});
    ASSERT_EQ(w->docs.count, 1u);
    EXPECT_EQ(ht::Title(main), "Pelomar.dll - " + dir / "good.bin");

    ht::Drop(main, {dir / "other.bin", dir / "sub", dir / "missing.bin"});
    ASSERT_EQ(w->docs.count, 2u);
    EXPECT_EQ(ht::Title(main), "Pelomar.dll - {cannot open file}");
    EXPECT_EQ(w->current, Control(2));
    EXPECT_TRUE(IsWindowVisible(Control(2)));
    EXPECT_EQ(Strip(GDTM_GETCURSEL), 2);
}

TEST_F(Documents, AFileOpenForWritingCannotBeOpenedTwice) {
    ht::WriteBytes(dir / "rw.bin", kBytes);
    ht::WriteBytes(dir / "ro.bin", kBytes);
    ht::ReadOnlyHold hold(dir / "ro.bin");
    ht::Drop(main, {dir / "rw.bin", dir / "rw.bin", dir / "ro.bin", dir / "ro.bin"});
    EXPECT_EQ(w->docs.count, 3u);
    EXPECT_EQ(std::string(w->docs.records[1].path), dir / "ro.bin");
    EXPECT_EQ(std::string(w->docs.records[2].path), dir / "ro.bin");
}

TEST_F(Documents, DropPathsTooLongForTheBufferAreSkipped) {
    ht::WriteBytes(dir / "good.bin", kBytes);
    std::string too_long = dir.path() + "\\" + std::string(600, 'x') + ".bin";
    ht::Drop(main, {dir / "good.bin", too_long});
    EXPECT_EQ(w->docs.count, 1u);
    EXPECT_EQ(ht::Title(main), "Pelomar.dll - {cannot open file}");
    EXPECT_EQ(w->current, Control(1));
}

TEST_F(Documents, ClosingATabFlushesTheEditAndReleasesTheFile) {
    ht::WriteBytes(dir / "edit.bin", kBytes);
    ht::Drop(main, {dir / "edit.bin"});
    ASSERT_EQ(w->docs.count, 1u);
    EXPECT_FALSE(ht::OpensForWriting(dir / "edit.bin"));  // shared for reading only
    static_cast<char*>(w->docs.records[0].view)[3] = 'Z';  // as an edit writes it

    CloseAtPlace(1);
    EXPECT_EQ(w->docs.count, 0u);
    EXPECT_EQ(Strip(GDTM_GETCURSEL), 0);
    EXPECT_EQ(ht::Title(main), "Pelomar.dll");
    EXPECT_EQ(w->current, w->placeholder);
    EXPECT_TRUE(IsWindowVisible(w->placeholder));
    EXPECT_TRUE(ht::OpensForWriting(dir / "edit.bin"));
    std::string want = kBytes;
    want[3] = 'Z';
    EXPECT_EQ(ht::ReadBytes(dir / "edit.bin"), want);

    // The next added tab is number 1 again.
    ht::Drop(main, {dir / "edit.bin"});
    EXPECT_EQ(Strip(GDTM_GETCURSEL), 1);
}

#ifdef _WIN64
// A file of 3 GiB fits no 32-bit address space; the 64-bit program maps it
// whole. It is sparse: only the digit typed into its last byte is written.
TEST_F(Documents, AThreeGigabyteFileIsMappedWholeAndItsLastByteEdited) {
    const std::string file = dir / "huge.bin";
    const DWORD last = 0xBFFFFFFF;
    HANDLE f = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = LONGLONG(last) + 1;
    const bool made = SetFilePointerEx(f, size, nullptr, FILE_BEGIN) && SetEndOfFile(f);
    CloseHandle(f);
    ASSERT_TRUE(made);

    ht::Drop(main, {file});
    ASSERT_EQ(w->docs.count, 1u);
    ASSERT_NE(w->docs.records[0].view, nullptr) << ht::Title(main);
    SendMessageA(Control(1), PM_SELECTRANGE, last, last);
    SendMessageA(Control(1), WM_CHAR, '7', 1);
    CloseAtPlace(1);
    ASSERT_EQ(w->docs.count, 0u);

    f = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    LARGE_INTEGER at;
    at.QuadPart = LONGLONG(last) - 1;
    unsigned char tail[2] = {0xEE, 0xEE};
    DWORD got = 0;
    SetFilePointerEx(f, at, nullptr, FILE_BEGIN);
    ReadFile(f, tail, 2, &got, nullptr);
    CloseHandle(f);
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(tail[0], 0x00);
    EXPECT_EQ(tail[1], 0x70);
}
#endif

TEST_F(Documents, TabsAndRecordsCloseInStep) {
    for (const char* n : {"a.bin", "b.bin", "c.bin"}) ht::WriteBytes(dir / n, n);
    ht::Drop(main, {dir / "a.bin", dir / "b.bin", dir / "c.bin"});
    ASSERT_EQ(w->docs.count, 3u);

    SelectAtPlace(2);
    EXPECT_EQ(w->current, Control(2));
    EXPECT_TRUE(IsWindowVisible(Control(2)));
    EXPECT_FALSE(IsWindowVisible(Control(3)));
    EXPECT_EQ(ht::Title(main), "Pelomar.dll - " + dir / "b.bin");
    EXPECT_EQ(GetFocus(), Control(2));

    // Closing the selected middle tab shows the next, which takes its number.
    HWND c_control = Control(3);
    CloseAtPlace(2);
    ASSERT_EQ(w->docs.count, 2u);
    EXPECT_EQ(std::string(w->docs.records[1].path), dir / "c.bin");
    EXPECT_EQ(Strip(GDTM_GETCURSEL), 2);
    EXPECT_EQ(w->current, c_control);
    EXPECT_TRUE(IsWindowVisible(c_control));
    EXPECT_EQ(ht::Title(main), "Pelomar.dll - " + dir / "c.bin");
    EXPECT_TRUE(ht::OpensForWriting(dir / "b.bin"));

    // Closing a tab left of the selected one keeps the shown document.
    CloseAtPlace(1);
    ASSERT_EQ(w->docs.count, 1u);
    EXPECT_EQ(Strip(GDTM_GETCURSEL), 1);
    EXPECT_EQ(w->current, c_control);
    EXPECT_EQ(ht::Title(main), "Pelomar.dll - " + dir / "c.bin");
}

TEST_F(Documents, TheTableHoldsAtMost128) {
    ht::WriteBytes(dir / "shared.bin", kBytes);
    ht::WriteBytes(dir / "last.bin", kBytes);
    // Read-only documents: the same file may be opened many times.
    ht::ReadOnlyHold hold_shared(dir / "shared.bin"), hold_last(dir / "last.bin");
    std::vector<std::string> many(127, dir / "shared.bin");
    ht::Drop(main, many);
    ASSERT_EQ(w->docs.count, 127u);
    ht::Drop(main, {dir / "last.bin", dir / "shared.bin", dir / "shared.bin"});
    EXPECT_EQ(w->docs.count, 128u);
    EXPECT_EQ(Strip(GDTM_GETCURSEL), 128);
    EXPECT_EQ(ht::Title(main), "Pelomar.dll - " + dir / "last.bin");
    EXPECT_EQ(w->current, Control(128));
}

TEST_F(Documents, ExitReleasesEveryDocumentAndQuits) {
    ht::WriteBytes(dir / "a.bin", kBytes);
    ht::WriteBytes(dir / "b.bin", kBytes);
    ht::Drop(main, {dir / "a.bin", dir / "b.bin"});
    ASSERT_EQ(w->docs.count, 2u);
    SendMessageA(main, WM_COMMAND, IDM_THEME_SEPARATOR, 0);  // not a command: nothing
    EXPECT_EQ(w->docs.count, 2u);
    SendMessageA(main, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(w->docs.count, 0u);
    EXPECT_TRUE(ht::OpensForWriting(dir / "a.bin"));
    EXPECT_TRUE(ht::OpensForWriting(dir / "b.bin"));
    MSG m;
    EXPECT_TRUE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(m.wParam, 0u);
}

TEST_F(Documents, LayoutFollowsTheClientArea) {
    ht::WriteBytes(dir / "a.bin", kBytes);
    ht::Drop(main, {dir / "a.bin"});
    SendMessageA(main, WM_SIZE, 0, MAKELPARAM(300, 200));
    RECT r;
    GetWindowRect(Control(1), &r);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 169);
    SendMessageA(main, WM_SIZE, 0, MAKELPARAM(300, 20));  // lower than the strip
    GetWindowRect(Control(1), &r);
    EXPECT_EQ(r.bottom - r.top, 0);
    GetWindowRect(w->strip, &r);
    EXPECT_EQ(r.right - r.left, 300);
}

TEST_F(Documents, ActivationFocusesTheCurrentControl) {
    SetFocus(nullptr);
    SendMessageA(main, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(GetFocus(), w->placeholder);
}

namespace {

COLORREF BitmapPixel(int id, int x, int y) {
    HBITMAP b = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, b);
    COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(b);
    return c;
}

}  // namespace

TEST_F(Documents, StripPaintsEachTabFromItsSlices) {
    ht::WriteBytes(dir / "a.bin", kBytes);
    ht::WriteBytes(dir / "b.bin", kBytes);
    ht::Drop(main, {dir / "a.bin", dir / "b.bin"});
    const int y = 26, slice = 34;  // a row of the face below the labels
    EXPECT_EQ(wt::PixelAt(w->strip, 60, y), BitmapPixel(IDB_TAB_BODY, 60, y));               // normal
    EXPECT_EQ(wt::PixelAt(w->strip, 106 + 60, y), BitmapPixel(IDB_TAB_BODY, 60, slice + y));  // selected
    EXPECT_NE(BitmapPixel(IDB_TAB_BODY, 60, y), BitmapPixel(IDB_TAB_BODY, 60, slice + y));
    // Pointer on the close part of tab 1: hot face, close lit.
    SendMessageA(w->strip, WM_MOUSEMOVE, 0, MAKELPARAM(95, 12));
    for (int x : {84 + 10, 84 + 3}) {
        EXPECT_EQ(wt::PixelAt(w->strip, x, 16), BitmapPixel(IDB_TAB_END, x - 84, 16)) << x;
    }
    // The scroll buttons follow the last tab, then the background.
    EXPECT_EQ(wt::PixelAt(w->strip, 212 + 11, 4), BitmapPixel(IDB_SCROLL_BUTTONS, 11, 4));
    EXPECT_EQ(wt::PixelAt(w->strip, 300, 20), BitmapPixel(IDB_STRIP_BACKGROUND, 0, 20));
}

// Eight documents behind a strip with room for three: maximizing shows the
// whole row from the first tab, and restoring keeps every place filled.
TEST_F(Documents, MaximizingAndRestoringShowTheWholeRow) {
    OpenMany(8);
    ASSERT_EQ(w->docs.count, 8u);
    const int places = Places();
    ASSERT_GE(places, 1);
    ASSERT_LT(places, 8);
    EXPECT_EQ(TabAtPlace(1), 8 - places + 1);

    Show(SW_MAXIMIZE);
    ASSERT_GE(Places(), 8);
    EXPECT_EQ(TabAtPlace(1), 1);
    EXPECT_EQ(TabAtPlace(8), 8);
    EXPECT_EQ(w->current, Control(8));

    Show(SW_RESTORE);
    ASSERT_EQ(Places(), places);
    EXPECT_EQ(TabAtPlace(1), 1);
    EXPECT_EQ(TabAtPlace(places), places);
}

// Minimize and restore leave the row where it was; a document opened while
// the row is scrolled to the left end shows its tab.
TEST_F(Documents, MinimizingKeepsTheRowAndANewTabIsShown) {
    OpenMany(8);
    ASSERT_EQ(w->docs.count, 8u);
    const int places = Places();
    ASSERT_GE(places, 1);
    ASSERT_LT(places, 8);
    const LRESULT shown_first = 8 - places + 1;
    EXPECT_EQ(TabAtPlace(1), shown_first);
    for (int i = 0; i < 2; ++i) {
        Show(SW_MINIMIZE);
        ASSERT_TRUE(IsIconic(main));
        Show(SW_RESTORE);
    }
    ASSERT_EQ(Places(), places);
    EXPECT_EQ(TabAtPlace(1), shown_first);
    EXPECT_EQ(TabAtPlace(places), 8);

    for (int i = 0; i < 8; ++i) ScrollLeft(places);
    EXPECT_EQ(TabAtPlace(1), 1);
    ht::WriteBytes(dir / "ninth.bin", kBytes);
    ht::Drop(main, {dir / "ninth.bin"});
    ASSERT_EQ(w->docs.count, 9u);
    EXPECT_EQ(Strip(GDTM_GETCURSEL), 9);
    EXPECT_EQ(w->current, Control(9));
    EXPECT_EQ(TabAtPlace(places), 9);
}

// A tab whose file differs from what it held when opened shows a red dot in
// its top left corner until undo brings the bytes back; the other tab stays
// unmarked.
TEST_F(Documents, AChangedFileIsMarkedUntilUndoBringsItBack) {
    OpenMany(2);
    HWND first = static_cast<HWND>(w->docs.records[0].control);
    const COLORREF red = RGB(0xD0, 0x00, 0x00);
    auto dot = [&](int place) {
        InvalidateRect(w->strip, nullptr, FALSE);
        UpdateWindow(w->strip);
        return wt::PixelAt(w->strip, (place - 1) * 106 + 5, 4);
    };
    EXPECT_NE(dot(1), red);
    SendMessageA(first, WM_CHAR, '4', 0);
    SendMessageA(first, WM_CHAR, '1', 0);
    EXPECT_EQ(dot(1), red);
    EXPECT_NE(dot(2), red);
    SendMessageA(first, PM_UNDO, 0, 0);
    EXPECT_EQ(dot(1), red) << "40 is not what the file held";
    SendMessageA(first, PM_UNDO, 0, 0);
    EXPECT_NE(dot(1), red);
    EXPECT_EQ(ht::ReadBytes(dir / "file1.bin"), kBytes);
}
