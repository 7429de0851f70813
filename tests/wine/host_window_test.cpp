// The main window and its documents, driven with the messages a user's
// actions produce: drops, clicks on the tab strip, menu commands.
#include <limits>

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
    HMENU file = GetSubMenu(bar, 0);
    EXPECT_EQ(GetMenuItemID(file, 0), UINT(IDM_OPEN));
    EXPECT_EQ(GetMenuItemID(file, GetMenuItemCount(file) - 1), UINT(IDM_EXIT));
    EXPECT_EQ(GetMenuItemID(GetSubMenu(bar, 1), 0), UINT(IDM_CUSTOMIZE));
    // Mnemonics on every menu, the shortcuts beside their items.
    char t[6][32];
    GetMenuStringA(bar, 0, t[0], 32, MF_BYPOSITION);
    GetMenuStringA(GetSubMenu(bar, 1), 1, t[1], 32, MF_BYPOSITION);
    const UINT items[] = {IDM_OPEN, IDM_CLOSE_TAB, IDM_EXIT, IDM_THEME_CURRENT};
    for (int i = 0; i < 4; ++i) GetMenuStringA(bar, items[i], t[2 + i], 32, MF_BYCOMMAND);
    EXPECT_EQ(std::vector<std::string>(t, t + 6),
              (std::vector<std::string>{"&File", "&Themes", "&Open...\tCtrl+O", "&Close\tCtrl+W", "E&xit", "&Current"}));
}

TEST_F(Documents, DropOpensEachFileBehindItsOwnTab) {
    ht::WriteBytes(dir / "first.bin", kBytes);
    ht::WriteBytes(dir / "second-readonly.bin", "ro");
    ht::ReadOnlyHold hold(dir / "second-readonly.bin");
    ASSERT_TRUE(hold.held());
    ht::Drop(main, {dir / "first.bin", dir / "second-readonly.bin"});

    ASSERT_EQ(w->docs.count, 2u);
    EXPECT_EQ(Strip(GDTM_GETCURSEL), 2);
    // ASCII names: the 8-bit title and the labels are what they always were.
    EXPECT_EQ(Label(0), L"first.bin");
    EXPECT_EQ(Label(1), L"second-re");
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
        EXPECT_EQ(d.mode, tab == 1 ? pm::kWritable : pm::kReadOnlyOnly);
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

// A file is known by its identity on disk, whatever the path's spelling.
TEST_F(Documents, AFileAlreadyOpenSwitchesToItsTab) {
    ht::WriteBytes(dir / "rw.bin", kBytes);
    ht::WriteBytes(dir / "ro.bin", kBytes);
    ht::ReadOnlyHold hold(dir / "ro.bin");
    ht::Drop(main, {dir / "rw.bin", dir / "rw.bin", dir / "ro.bin", dir / "RO.BIN"});
    ASSERT_EQ(w->docs.count, 2u);
    EXPECT_EQ(Path(2), ht::Widen(dir / "ro.bin"));
    EXPECT_EQ(Strip(GDTM_GETCURSEL), 2);
    ht::Drop(main, {dir / "RW.bin"});
    EXPECT_EQ(w->docs.count, 2u);
    EXPECT_EQ(Strip(GDTM_GETCURSEL), 1);
    EXPECT_EQ(w->current, Control(1));
    EXPECT_TRUE(IsWindowVisible(Control(1)));
    EXPECT_FALSE(IsWindowVisible(Control(2)));
    EXPECT_EQ(ht::Title(main), "Pelomar.dll - " + dir / "rw.bin");
}

TEST_F(Documents, ANameLongerThanAFileSystemTakesIsSkipped) {
    ht::WriteBytes(dir / "good.bin", kBytes);
    std::string too_long = dir.path() + "\\" + std::string(600, 'x') + ".bin";
    ht::Drop(main, {dir / "good.bin", too_long});
    EXPECT_EQ(w->docs.count, 1u);
    EXPECT_EQ(ht::Title(main), "Pelomar.dll - {cannot open file}");
    EXPECT_EQ(w->current, Control(1));
}

// Names in any script and paths past 260 characters: the title and the
// label, read back in UTF-16, show the name, and a typed digit reaches the
// file.
TEST_F(Documents, NamesInAnyScriptAndLongPathsOpenAndTakeEdits) {
    const std::wstring base = ht::Widen(dir.path()) + L"\\", deep = base + std::wstring(120, L'd');
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(ht::Long(deep + L"\\" + std::wstring(100, L'e')).c_str(), nullptr));
    const struct {
        std::wstring path, label;
    } cases[] = {
        {base + L"\u65E5\u672C\u8A9E\u30C6\u30B9\u30C8.txt", L"\u65E5\u672C\u8A9E\u30C6\u30B9\u30C8.tx"},
        {base + L"\u0424\u0430\u0439\u043B.bin", L"\u0424\u0430\u0439\u043B.bin"},
        {base + L"pic\U0001F600.bin", L"pic\U0001F600.bin"},
        {deep + L"\\" + std::wstring(100, L'e') + L"\\" + std::wstring(80, L'n') + L".bin", L"nnnnnnnnn"},
    };
    ASSERT_GT(cases[3].path.size(), 300u);
    for (unsigned i = 0; i < 4; ++i) {
        ht::WriteBytes(cases[i].path, kBytes);
        ht::Drop<std::wstring>(main, {cases[i].path});
        ASSERT_EQ(w->docs.count, i + 1) << i;
        EXPECT_EQ(ht::TitleW(main), L"Pelomar.dll - " + cases[i].path);
        EXPECT_EQ(Label(i), cases[i].label);
        SendMessageA(Control(i + 1), WM_CHAR, '4', 1);
        SendMessageA(Control(i + 1), WM_CHAR, '1', 1);
        EXPECT_EQ(ht::ReadBytes(cases[i].path), "A" + kBytes.substr(1)) << i;
    }
    // A name with half a surrogate pair opens no other file.
    ht::Drop<std::wstring>(main, {base + L"pic\xD83D.bin"});
    EXPECT_EQ(w->docs.count, 4u);
    EXPECT_EQ(ht::TitleW(main), L"Pelomar.dll - {cannot open file}");
}

// Files that can be had only for reading, and one the user keeps
// read-only: typing leaves each on disk as it was, and the mark and the
// menu item follow the state.
TEST_F(Documents, ReadOnlyFilesAndTheToggleKeepTheDiskUnchanged) {
    ht::WriteBytes(dir / "attribute.bin", kBytes, true);
    ht::WriteBytes(dir / "written.bin", kBytes);
    ht::WriteBytes(dir / "mine.bin", kBytes);
    // Another program writing the file, and letting others write too.
    HANDLE writer = CreateFileA((dir / "written.bin").c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    ht::Drop(main, {dir / "attribute.bin", dir / "written.bin", dir / "mine.bin"});
    ASSERT_EQ(w->docs.count, 3u);
    HMENU menu = GetMenu(main);
    EXPECT_EQ(GetMenuState(menu, IDM_READONLY, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), 0u);
    SendMessageA(main, WM_COMMAND, IDM_READONLY, 0);
    EXPECT_EQ(GetMenuState(menu, IDM_READONLY, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));
    EXPECT_EQ(wt::PixelAt(w->strip, 212 + 76, 6), RGB(0x60, 0x40, 0x00));
    const pm::u32 modes[] = {pm::kReadOnlyOnly, pm::kReadOnlyOnly, pm::kReadOnlyByChoice};
    const char* names[] = {"attribute.bin", "written.bin", "mine.bin"};
    for (unsigned tab = 1; tab <= 3; ++tab) {
        EXPECT_EQ(w->docs.records[tab - 1].mode, modes[tab - 1]) << tab;
        SendMessageA(Control(tab), WM_CHAR, '4', 1);
        SendMessageA(Control(tab), WM_CHAR, '1', 1);
        EXPECT_EQ(ht::ReadBytes(dir / names[tab - 1]), kBytes) << tab;
    }
    // The writer goes on writing.
    DWORD n = 0;
    EXPECT_TRUE(WriteFile(writer, "W", 1, &n, nullptr));
    CloseHandle(writer);
    // A file had only for reading cannot be made writable.
    SelectAtPlace(1);
    EXPECT_EQ(GetMenuState(menu, IDM_READONLY, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), UINT(MF_CHECKED | MF_GRAYED));
    SendMessageA(main, WM_COMMAND, IDM_READONLY, 0);
    EXPECT_EQ(ht::ControlOf(Control(1))->read_only, 1u);
    // Writable again by choice: the digit reaches the disk.
    SelectAtPlace(3);
    SendMessageA(main, WM_COMMAND, IDM_READONLY, 0);
    EXPECT_EQ(GetMenuState(menu, IDM_READONLY, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_NE(wt::PixelAt(w->strip, 212 + 76, 6), RGB(0x60, 0x40, 0x00));
    SendMessageA(Control(3), WM_CHAR, '4', 1);
    SendMessageA(Control(3), WM_CHAR, '1', 1);
    EXPECT_EQ(ht::ReadBytes(dir / "mine.bin"), "A" + kBytes.substr(1));
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
// A sparse file of the given size: nothing is written but its last byte.
static bool SparseFile(const std::string& path, LONGLONG size, char last) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER at;
    at.QuadPart = size - 1;
    DWORD n = 0;
    const bool made = SetFilePointerEx(f, at, nullptr, FILE_BEGIN) && WriteFile(f, &last, 1, &n, nullptr);
    CloseHandle(f);
    return made;
}

// A file of 3 GiB fits no 32-bit address space; the 64-bit program maps it
// whole. It is sparse: only the digit typed into its last byte is written.
TEST_F(Documents, AThreeGigabyteFileIsMappedWholeAndItsLastByteEdited) {
    const std::string file = dir / "huge.bin";
    const DWORD last = 0xBFFFFFFF;
    ASSERT_TRUE(SparseFile(file, LONGLONG(last) + 1, 0));

    ht::Drop(main, {file});
    ASSERT_EQ(w->docs.count, 1u);
    ASSERT_NE(w->docs.records[0].view, nullptr) << ht::Title(main);
    SendMessageA(Control(1), PM_SELECTRANGE, last, last);
    SendMessageA(Control(1), WM_CHAR, '7', 1);
    CloseAtPlace(1);
    ASSERT_EQ(w->docs.count, 0u);

    HANDLE f = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
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

// Where no writable view of the whole file can be had (under Wine, from
// 24 GiB on), the file opens read-only rather than not at all.
TEST_F(Documents, ASixtyFourGigabyteFileOpensWhole) {
    const std::string file = dir / "vast.bin";
    const LONGLONG size = 64LL << 30;
    ASSERT_TRUE(SparseFile(file, size, 0x5A));

    ht::Drop(main, {file});
    ASSERT_EQ(w->docs.count, 1u) << ht::Title(main);
    const pm::Document& d = w->docs.records[0];
    const ::Control* c = ht::ControlOf(Control(1));
    MEMORY_BASIC_INFORMATION mbi{};
    VirtualQuery(d.view, &mbi, sizeof mbi);
    const bool writable = mbi.Protect == PAGE_READWRITE;
    EXPECT_EQ(d.mode, writable ? pm::kWritable : pm::kReadOnlyOnly);
    EXPECT_EQ(c->read_only, writable ? 0u : 1u);
    EXPECT_EQ(static_cast<const unsigned char*>(d.view)[size - 1], 0x5A);
    // The whole size reaches the control, as far as its offsets reach.
    using Size = decltype(c->data_size);
    EXPECT_EQ(pm::Offset(c->data_size), std::min<pm::Offset>(size, std::numeric_limits<Size>::max()));
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
    EXPECT_EQ(Path(2), ht::Widen(dir / "c.bin"));
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
    OpenMany(127);
    ASSERT_EQ(w->docs.count, 127u);
    ht::WriteBytes(dir / "last.bin", kBytes);
    ht::WriteBytes(dir / "more.bin", kBytes);
    ht::Drop(main, {dir / "last.bin", dir / "more.bin", dir / "file1.bin"});
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
    ht::ReadOnlyHold hold(dir / "b.bin");
    ht::Drop(main, {dir / "a.bin", dir / "b.bin"});
    const int y = 26, slice = 34;  // a row of the face below the labels
    EXPECT_EQ(wt::PixelAt(w->strip, 60, y), BitmapPixel(IDB_TAB_BODY, 60, y));               // normal
    EXPECT_EQ(wt::PixelAt(w->strip, 106 + 60, y), BitmapPixel(IDB_TAB_BODY, 60, slice + y));  // selected
    EXPECT_NE(BitmapPixel(IDB_TAB_BODY, 60, y), BitmapPixel(IDB_TAB_BODY, 60, slice + y));
    // The read-only tab carries the padlock above its label; the other not.
    EXPECT_EQ(wt::PixelAt(w->strip, 106 + 76, 6), RGB(0x60, 0x40, 0x00));
    EXPECT_EQ(wt::PixelAt(w->strip, 76, 6), BitmapPixel(IDB_TAB_BODY, 76, 6));
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

// --- Shortcuts, posted as the keyboard posts them and run through the
// host's own message loop ---------------------------------------------------

namespace {

std::vector<WPARAM> g_commands;  // WM_COMMAND wParams that reached the main window
WNDPROC g_main_proc = nullptr;

// Records every command; the open commands stop here, before their dialog.
LRESULT CALLBACK CommandRecorder(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND) g_commands.push_back(wp);
    if (msg == WM_COMMAND && (LOWORD(wp) == IDM_OPEN || LOWORD(wp) == IDM_OPEN_READONLY)) return 0;
    return CallWindowProcA(g_main_proc, hwnd, msg, wp, lp);
}

}  // namespace

// Each shortcut with the focus in the control or on the strip: the tabs
// wrap round and the row scrolls to show the selected one; keys of the
// control's own, and any key while the window is disabled, give nothing.
TEST_F(Documents, ShortcutsRunThroughTheMessageLoop) {
    OpenMany(5);  // three places: tabs 3 to 5 shown
    g_main_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CommandRecorder)));
    const struct { WPARAM key; bool shift; UINT command; LRESULT tab; unsigned count; bool to_strip; } rows[] = {
        {VK_TAB, false, IDM_NEXT_TAB, 1, 5, false}, {VK_NEXT, false, IDM_NEXT_TAB, 2, 5, true},
        {VK_TAB, true, IDM_PREV_TAB, 1, 5, false},  {VK_PRIOR, false, IDM_PREV_TAB, 5, 5, false},
        {'W', false, IDM_CLOSE_TAB, 4, 4, false},   {VK_F4, false, IDM_CLOSE_TAB, 3, 3, true},
        {'O', false, IDM_OPEN, 3, 3, false},        {'O', true, IDM_OPEN_READONLY, 3, 3, false},
        {'C', false, 0, 3, 3, false},               {VK_HOME, false, 0, 3, 3, false},
        {'W', false, 0, 3, 3, false},
    };
    for (const auto& r : rows) {
        const size_t row = &r - rows;
        if (row == 10) EnableWindow(main, FALSE);  // as a modal dialog leaves its owner
        g_commands.clear();
        BYTE ks[256];
        GetKeyboardState(ks);
        ks[VK_SHIFT] = r.shift ? 0x80 : 0;
        ks[VK_CONTROL] = 0x80;
        SetKeyboardState(ks);
        PostMessageA(r.to_strip ? w->strip : w->current, WM_KEYDOWN, r.key, 1);
        PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
        RunMessageLoop(main);
        ks[VK_SHIFT] = ks[VK_CONTROL] = 0;
        SetKeyboardState(ks);
        EnableWindow(main, TRUE);
        EXPECT_EQ(g_commands, r.command ? std::vector<WPARAM>{MAKEWPARAM(r.command, 1)} : std::vector<WPARAM>{}) << row;
        EXPECT_EQ(Strip(GDTM_GETCURSEL), r.tab) << row;
        EXPECT_EQ(w->docs.count, r.count) << row;
        if (row == 3) {  // scrolled from tab 1 to show tab 5
            EXPECT_EQ(GetFocus(), Control(5));
            EXPECT_EQ(TabAtPlace(Places()), 5);
        }
    }
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(w->docs.records[2].path)), ht::Widen(dir / "file3.bin"));
    EXPECT_TRUE(ht::OpensForWriting(dir / "file5.bin"));
    SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_main_proc));
}

// The window comes back where it was closed, maximized or not; a placement
// off every monitor gives the default.
TEST_F(Documents, ThePlacementRoundTripsAndOffScreenGivesTheDefault) {
    auto NormalRect = [](HWND window) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(window, &wp);
        return wp.rcNormalPosition;
    };
    auto restart = [&](const char* left) {
        DestroyWindow(main);
        if (left) WritePrivateProfileStringA("HEXEDITOR", "window_left", left, (dir / "pmr.ini").c_str());
        main = CreateMainWindow();
        w = MainWindowState(main);
        return NormalRect(main);
    };
    RECT r = NormalRect(main);
    EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right, r.bottom}), std::vector<LONG>({100, 100, 500, 516}));
    MoveWindow(main, 150, 120, 500, 450, TRUE);
    const RECT moved = NormalRect(main);
    r = restart(nullptr);
    EXPECT_TRUE(EqualRect(&r, &moved));
    EXPECT_FALSE(IsZoomed(main));
    ShowWindow(main, SW_MAXIMIZE);
    r = restart(nullptr);
    EXPECT_TRUE(IsZoomed(main));
    EXPECT_TRUE(EqualRect(&r, &moved));
    r = restart("-30000");
    EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right, r.bottom}), std::vector<LONG>({100, 100, 500, 516}));
    EXPECT_FALSE(IsZoomed(main));
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
