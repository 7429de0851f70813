// The Find and Select dialogs driven as a user would: the control opens
// them from its commands, the test fills their fields, presses their
// buttons and reads the resulting selection through a "Hex" copy.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/wine/bench_support.h"
#include "control/dialog_ids.h"
#include "menu_support.h"
#include "support/edit_support.h"

using mt::Selection;
using wt::ControlWindow;
using Range = std::pair<int, int>;

namespace {

// One control of a dialog template: id, text and rectangle in dialog units.
struct TemplateItem {
    int id;
    const char* text;
    int x, y, cx, cy;
};

template <size_t N> void ExpectControls(HWND dlg, const TemplateItem (&items)[N]) {
    for (const TemplateItem& c : items) {
        HWND h = GetDlgItem(dlg, c.id);
        ASSERT_NE(h, nullptr) << c.id;
        EXPECT_EQ(mt::Text(h), c.text) << c.id;
        RECT want = mt::DialogUnits(dlg, c.x, c.y, c.cx, c.cy), got = mt::ChildRect(dlg, c.id);
        EXPECT_TRUE(EqualRect(&want, &got)) << c.id;
    }
}

HWND OpenFind(const ControlWindow& w) {
    w.Send(WM_COMMAND, PMC_FIND);
    return mt::ThreadDialog("Find");
}

HWND OpenSelect(const ControlWindow& w) {
    w.Send(WM_COMMAND, PMC_SELECT);
    return mt::ThreadDialog("Select");
}

void SetText(HWND dlg, int id, const wchar_t* text) { SetDlgItemTextW(dlg, id, text); }

std::vector<std::uint8_t> Zeros(std::size_t n) { return std::vector<std::uint8_t>(n, 0); }

// The message box of the Find dialog, read and dismissed from a timer that
// the box's modal loop dispatches.
struct Box {
    bool seen = false;
    std::string text, caption;
    HWND owner = nullptr;
} g_box;

BOOL CALLBACK FindBox(HWND h, LPARAM lp) {
    char cls[16] = {};
    GetClassNameA(h, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0 && GetDlgItem(h, 0xFFFF) && IsWindowVisible(h)) {
        *reinterpret_cast<HWND*>(lp) = h;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK DismissBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    KillTimer(nullptr, id);
    g_box.seen = true;
    g_box.text = mt::Text(GetDlgItem(box, 0xFFFF));
    g_box.caption = mt::Text(box);
    g_box.owner = GetWindow(box, GW_OWNER);
    SendMessageA(box, WM_COMMAND, IDOK, 0);
}

}  // namespace

TEST(FindDialog, TemplateAndFirstState) {
    ControlWindow w;
    w.SetData(Zeros(16));
    HWND dlg = OpenFind(w);
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(IsWindowVisible(dlg));
    LONG style = GetWindowLongA(dlg, GWL_STYLE);
    LONG ex = GetWindowLongA(dlg, GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(ex & (WS_EX_LAYERED | WS_EX_TOOLWINDOW), WS_EX_LAYERED | WS_EX_TOOLWINDOW);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(dlg, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 255);
    EXPECT_EQ(flags, DWORD(LWA_ALPHA));

    const TemplateItem controls[] = {
        {701, "", 4, 4, 108, 12},
        {702, "UTF-8", 4, 20, 35, 10},
        {703, "UTF-16", 42, 20, 39, 10},
        {704, "HEX", 85, 20, 29, 10},
        {705, "Little-endian (reverse byte order)", 4, 36, 150, 10},
        {707, "Transparent window", 4, 47, 150, 10},
        {706, "Find Next", 119, 4, 43, 12},
        {708, "Cancel", 119, 19, 43, 12},
    };
    ExpectControls(dlg, controls);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, 702), GWL_STYLE) & 0x0F, BS_RADIOBUTTON);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, 705), GWL_STYLE) & 0x0F, BS_AUTOCHECKBOX);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, 706), GWL_STYLE) & 0x0F, BS_PUSHBUTTON);
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(dlg, 701), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(IsDlgButtonChecked(dlg, 702), UINT(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dlg, 703), UINT(BST_UNCHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dlg, 704), UINT(BST_UNCHECKED));
}

TEST(FindDialog, FindsAndWrapsOnce) {
    ControlWindow w;
    auto d = Zeros(200);
    d[100] = 'a';
    d[101] = 'b';
    w.SetData(d);
    HWND dlg = OpenFind(w);
    ASSERT_NE(dlg, nullptr);
    SetText(dlg, IDC_FIND_TEXT, L"ab");
    mt::Press(dlg, IDC_FIND_NEXT);
    EXPECT_EQ(Selection(w), Range(100, 102));
    // From 101 there is no other: the search wraps and finds it again.
    w.Send(PM_SELECTRANGE, 3, 5);
    mt::Press(dlg, IDC_FIND_NEXT);
    EXPECT_EQ(Selection(w), Range(100, 102));
}

TEST(FindDialog, OverlappingHitsThenWrap) {
    ControlWindow w;
    w.SetData({'a', 'a', 'a'});
    HWND dlg = OpenFind(w);
    ASSERT_NE(dlg, nullptr);
    SetText(dlg, IDC_FIND_TEXT, L"aa");
    const Range hits[] = {{0, 2}, {1, 3}, {0, 2}, {1, 3}};
    for (const Range& r : hits) {
        mt::Press(dlg, IDC_FIND_NEXT);
        EXPECT_EQ(Selection(w), r);
    }
}

TEST(FindDialog, ModesAndReverse) {
    const struct {
        int mode;
        bool reverse;
        const wchar_t* text;
        std::vector<std::uint8_t> bytes;
    } rows[] = {
        {IDC_FIND_UTF8, false, L"ab", {0x61, 0x62}},
        {IDC_FIND_UTF8, true, L"ab", {0x62, 0x61}},
        {IDC_FIND_UTF8, false, L"\u20ac", {0xE2, 0x82, 0xAC}},
        {IDC_FIND_UTF16, false, L"ab", {0x61, 0x00, 0x62, 0x00}},
        {IDC_FIND_UTF16, true, L"ab", {0x62, 0x00, 0x61, 0x00}},
        {IDC_FIND_HEX, false, L"0a0B", {0x0A, 0x0B}},
        {IDC_FIND_HEX, true, L"11223344", {0x44, 0x33, 0x22, 0x11}},
        {IDC_FIND_HEX, true, L"112233", {0x33, 0x22, 0x11}},
    };
    for (const auto& r : rows) {
        ControlWindow w;
        auto d = Zeros(64);
        // At an odd index: nothing is aligned.
        std::copy(r.bytes.begin(), r.bytes.end(), d.begin() + 37);
        w.SetData(d);
        HWND dlg = OpenFind(w);
        ASSERT_NE(dlg, nullptr);
        SetText(dlg, IDC_FIND_TEXT, r.text);
        mt::Press(dlg, r.mode);
        EXPECT_EQ(IsDlgButtonChecked(dlg, r.mode), UINT(BST_CHECKED));
        mt::Tick(dlg, IDC_FIND_REVERSE, r.reverse);
        mt::Press(dlg, IDC_FIND_NEXT);
        EXPECT_EQ(Selection(w), Range(37, 37 + int(r.bytes.size()))) << r.mode << r.reverse;
    }
}

TEST(FindDialog, ModeButtonsAreExclusive) {
    ControlWindow w;
    w.SetData(Zeros(8));
    HWND dlg = OpenFind(w);
    ASSERT_NE(dlg, nullptr);
    for (int mode : {IDC_FIND_HEX, IDC_FIND_UTF16, IDC_FIND_UTF8, IDC_FIND_HEX}) {
        mt::Press(dlg, mode);
        for (int id = IDC_FIND_UTF8; id <= IDC_FIND_HEX; ++id)
            EXPECT_EQ(IsDlgButtonChecked(dlg, id), UINT(id == mode ? BST_CHECKED : BST_UNCHECKED));
    }
}

TEST(FindDialog, MissesChangeNothing) {
    ControlWindow w;
    w.SetData({'a', 'b', 'c', 'd'});
    w.Send(PM_SELECTRANGE, 1, 3);
    HWND dlg = OpenFind(w);
    ASSERT_NE(dlg, nullptr);
    SetText(dlg, IDC_FIND_TEXT, L"A");  // no case folding
    mt::Press(dlg, IDC_FIND_NEXT);
    EXPECT_EQ(Selection(w), Range(1, 3));
    SetText(dlg, IDC_FIND_TEXT, L"abcde");  // longer than the data
    mt::Press(dlg, IDC_FIND_NEXT);
    EXPECT_EQ(Selection(w), Range(1, 3));
    SetText(dlg, IDC_FIND_TEXT, L"");
    mt::Press(dlg, IDC_FIND_NEXT);
    EXPECT_EQ(Selection(w), Range(1, 3));
}

TEST(FindDialog, OddHexAsksForOneMoreNumber) {
    ControlWindow w;
    w.SetData({0xAB, 0xC0, 0x0A, 0xBC});
    w.Send(PM_SELECTRANGE, 3, 4);
    HWND dlg = OpenFind(w);
    ASSERT_NE(dlg, nullptr);
    mt::Press(dlg, IDC_FIND_HEX);
    SetText(dlg, IDC_FIND_TEXT, L"ABC");
    g_box = Box{};
    UINT_PTR timer = SetTimer(nullptr, 0, 30, DismissBox);
    mt::Press(dlg, IDC_FIND_NEXT);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(g_box.seen);
    EXPECT_EQ(g_box.text, "Need one more number");
    EXPECT_EQ(g_box.caption, "Error");  // the system's default caption
    EXPECT_EQ(g_box.owner, dlg);
    EXPECT_EQ(Selection(w), Range(3, 4));
}

TEST(FindDialog, OffsetBaseIsAddedAndRemoved) {
    ControlWindow w;
    auto d = Zeros(64);
    d[0x20] = 0x5A;
    w.SetData(d);
    w.Send(PM_SETOFFSETBASE, 0x1000);
    HWND dlg = OpenFind(w);
    ASSERT_NE(dlg, nullptr);
    mt::Press(dlg, IDC_FIND_HEX);
    SetText(dlg, IDC_FIND_TEXT, L"5a");
    mt::Press(dlg, IDC_FIND_NEXT);
    EXPECT_EQ(Selection(w), Range(0x20, 0x21));
}

TEST(FindDialog, CancelHidesAndFindShowsTheSameDialogAgain) {
    ControlWindow w;
    auto d = Zeros(100);
    for (int at : {10, 50, 90}) d[at] = 'x';
    w.SetData(d);
    HWND dlg = OpenFind(w);
    ASSERT_NE(dlg, nullptr);
    SetText(dlg, IDC_FIND_TEXT, L"x");
    mt::Tick(dlg, IDC_FIND_TRANSPARENT, true);
    mt::Press(dlg, IDC_FIND_NEXT);
    EXPECT_EQ(Selection(w), Range(10, 11));
    mt::Press(dlg, IDC_FIND_CANCEL);
    EXPECT_FALSE(IsWindowVisible(dlg));
    EXPECT_EQ(OpenFind(w), dlg);
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_EQ(mt::Text(GetDlgItem(dlg, IDC_FIND_TEXT)), "x");
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_FIND_TRANSPARENT), UINT(BST_CHECKED));
    mt::Press(dlg, IDC_FIND_NEXT);  // continues behind the last hit
    EXPECT_EQ(Selection(w), Range(50, 51));
    SendMessageW(dlg, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(dlg));
    EXPECT_EQ(OpenFind(w), dlg);
    mt::Press(dlg, IDC_FIND_NEXT);
    EXPECT_EQ(Selection(w), Range(90, 91));
}

TEST(FindDialog, TransparentBox) {
    ControlWindow w;
    w.SetData(Zeros(4));
    HWND dlg = OpenFind(w);
    ASSERT_NE(dlg, nullptr);
    BYTE alpha = 0;
    mt::Tick(dlg, IDC_FIND_TRANSPARENT, true);
    ASSERT_TRUE(GetLayeredWindowAttributes(dlg, nullptr, &alpha, nullptr));
    EXPECT_EQ(alpha, 122);
    mt::Tick(dlg, IDC_FIND_TRANSPARENT, false);
    ASSERT_TRUE(GetLayeredWindowAttributes(dlg, nullptr, &alpha, nullptr));
    EXPECT_EQ(alpha, 255);
}

// Each document's dialog searches with its own mode and from its own last
// hit, whatever another document's dialog did.
TEST(FindDialog, EachControlKeepsItsOwnSearchState) {
    ControlWindow a, b;
    auto da = Zeros(200), db = Zeros(200);
    da[150] = 0xAB;
    db[10] = db[11 + 180] = 'a';
    db[11] = db[12 + 180] = 'b';
    a.SetData(da);
    b.SetData(db);
    HWND fa = OpenFind(a);
    ASSERT_NE(fa, nullptr);
    b.Send(WM_COMMAND, PMC_FIND);
    auto both = mt::ThreadDialogs("Find");
    ASSERT_EQ(both.size(), 2u);
    HWND fb = both[0] == fa ? both[1] : both[0];

    mt::Press(fa, IDC_FIND_HEX);
    SetText(fa, IDC_FIND_TEXT, L"ab");
    mt::Press(fa, IDC_FIND_NEXT);
    EXPECT_EQ(Selection(a), Range(150, 151));

    SetText(fb, IDC_FIND_TEXT, L"ab");  // UTF-8, as its own buttons show
    mt::Press(fb, IDC_FIND_NEXT);
    EXPECT_EQ(Selection(b), Range(10, 12));
}

TEST(FindDialog, GoesWithItsControl) {
    HWND dlg;
    {
        ControlWindow w;
        w.SetData(Zeros(4));
        dlg = OpenFind(w);
        ASSERT_NE(dlg, nullptr);
        // The control alone goes first: it takes its dialog with it.
        DestroyWindow(w.hwnd());
        EXPECT_FALSE(IsWindow(dlg));
    }
    {
        // The top-level window goes first and with it the dialogs it owns;
        // then the control must not destroy them again.
        ControlWindow w;
        w.SetData(Zeros(4));
        dlg = OpenFind(w);
        HWND sel = OpenSelect(w);
        ASSERT_NE(dlg, nullptr);
        ASSERT_NE(sel, nullptr);
    }
    EXPECT_FALSE(IsWindow(dlg));
}

TEST(SelectDialog, TemplateAndFields) {
    ControlWindow w;
    w.SetData(Zeros(16));
    HWND dlg = OpenSelect(w);
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_TRUE(GetWindowLongA(dlg, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongA(dlg, GWL_EXSTYLE) & WS_EX_LAYERED);
    const TemplateItem controls[] = {
        {801, "", 62, 4, 56, 13},
        {802, "", 62, 20, 56, 13},
        {803, "Start HEX Offset:", 4, 6, 55, 10},
        {804, "End HEX Offset:", 4, 22, 55, 10},
        {805, "OK", 19, 41, 39, 12},
        {806, "Cancel", 66, 41, 39, 12},
    };
    ExpectControls(dlg, controls);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, 801), GWL_STYLE) & ES_AUTOHSCROLL, 0);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, 803), GWL_STYLE) & SS_TYPEMASK, SS_RIGHT);
}

TEST(SelectDialog, SelectsTheTypedRange) {
    const struct {
        unsigned base;
        const wchar_t *start, *end;
        Range selected;
    } rows[] = {
        {0, L"10", L"20", {0x10, 0x20}},
        {0, L"10", L"11", {0x10, 0x11}},
        {0, L"20", L"10", {0x10, 0x20}},
        {0x1000, L"1010", L"1020", {0x10, 0x20}},
        {0, L"a", L"FF", {0x0A, 0x40}},      // beyond the data: up to its end
        {0, L"", L"3", {0x00, 0x03}},        // empty counts as 0
        {0, L"000000101", L"12", {0x10, 0x12}},  // a ninth character is not read
    };
    for (const auto& r : rows) {
        ControlWindow w;
        w.SetData(Zeros(0x40));
        w.Send(PM_SETOFFSETBASE, r.base);
        HWND dlg = OpenSelect(w);
        ASSERT_NE(dlg, nullptr);
        SetText(dlg, IDC_SELECT_START, r.start);
        SetText(dlg, IDC_SELECT_END, r.end);
        mt::Press(dlg, IDC_SELECT_OK);
        EXPECT_EQ(Selection(w), r.selected) << r.base;
        EXPECT_FALSE(IsWindowVisible(dlg));
    }
}

TEST(SelectDialog, CancelHidesAndSelectShowsItAgainWithItsTexts) {
    ControlWindow w;
    w.SetData(Zeros(0x40));
    w.Send(PM_SELECTRANGE, 1, 2);
    HWND dlg = OpenSelect(w);
    ASSERT_NE(dlg, nullptr);
    SetText(dlg, IDC_SELECT_START, L"ff");
    SetText(dlg, IDC_SELECT_END, L"FF");
    mt::Press(dlg, IDC_SELECT_CANCEL);
    EXPECT_FALSE(IsWindowVisible(dlg));
    EXPECT_EQ(Selection(w), Range(1, 2));
    EXPECT_EQ(OpenSelect(w), dlg);
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_EQ(mt::Text(GetDlgItem(dlg, IDC_SELECT_START)), "ff");
    // Edit notifications do nothing.
    SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDC_SELECT_START, EN_CHANGE),
                 LPARAM(GetDlgItem(dlg, IDC_SELECT_START)));
    EXPECT_TRUE(IsWindowVisible(dlg));
    SendMessageW(dlg, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(dlg));
}

#ifdef _WIN64
namespace {

// A sparse file of size bytes in the temporary directory, gone with this.
struct SparseFile {
    char path[MAX_PATH] = {};
    explicit SparseFile(ULONGLONG size) {
        char dir[MAX_PATH];
        GetTempPathA(MAX_PATH, dir);
        GetTempFileNameA(dir, "pm5", 0, path);
        HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        LARGE_INTEGER end;
        end.QuadPart = LONGLONG(size);
        SetFilePointerEx(f, end, nullptr, FILE_BEGIN);
        SetEndOfFile(f);
        CloseHandle(f);
    }
    ~SparseFile() { DeleteFileA(path); }
    // The bytes at offset as they are on disk, read through the file.
    std::string Read(ULONGLONG offset, DWORD n) const {
        HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        LARGE_INTEGER at;
        at.QuadPart = LONGLONG(offset);
        SetFilePointerEx(f, at, nullptr, FILE_BEGIN);
        std::string s(n, '\0');
        DWORD got = 0;
        ReadFile(f, &s[0], n, &got, nullptr);
        CloseHandle(f);
        s.resize(got);
        return s;
    }
};

}  // namespace

// A 5 GiB file as a host hands it over: the control takes it whole, select
// range reaches 0x140000000, the thumb at its end shows the last line, Find
// finds a pattern across 4 GiB and one past it, and a digit typed into the last byte
// is on disk once the control and the mapping are gone.
TEST(LargeFile, FiveGigabytesEndToEnd) {
    const ULONGLONG size = 5ull << 30, pattern_at = 0x13FFFFF00ull, across = 0xFFFFFFFCull;
    SparseFile file(size);
    auto mapped = std::make_unique<wb::MappedFile>(file.path);  // as a host maps a document
    std::uint8_t* view = mapped->data();
    ASSERT_NE(view, nullptr);
    ASSERT_FALSE(mapped->read_only());
    memcpy(view + pattern_at, "PELOMAR!", 8);
    memcpy(view + across, "PELOMAR!", 8);
    {
        ControlWindow w;
        w.Send(PM_SETDATA, reinterpret_cast<WPARAM>(view), LPARAM(size));
        const Control* c = wt::StateOf(w.hwnd());
        ASSERT_EQ(c->data_size, size);
        EXPECT_EQ(c->offset_digits, 9u);

        // 0x140000000 is the end position: the view shows the last page.
        w.Send(PM_SELECTRANGE, 0x140000000, 0x140000000);
        EXPECT_EQ(c->caret, size);
        EXPECT_EQ(c->first_visible_line, c->last_line - c->rows + 1);
        w.Send(PM_SELECTRANGE, 0x100000010, 0x100000020);
        EXPECT_EQ(c->anchor, 0x100000010u);
        EXPECT_EQ(c->first_visible_line, 0x100000010u / c->bytes_per_line);
        UpdateWindow(w.hwnd());

        SCROLLINFO si = wt::VerticalScroll(w.hwnd());
        SetScrollPos(w.hwnd(), SB_VERT, si.nMax - int(si.nPage) + 1, FALSE);
        w.Send(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0));
        EXPECT_EQ(c->first_visible_line, c->last_line - c->rows + 1);

        HWND dlg = OpenFind(w);
        ASSERT_NE(dlg, nullptr);
        SetText(dlg, IDC_FIND_TEXT, L"PELOMAR!");
        // The search starts a little before 4 GiB, as after a hit there,
        // so that it does not page in 4 GiB of holes first.
        const_cast<Control*>(c)->find_next_start = across - 0x1000;
        mt::Press(dlg, IDC_FIND_NEXT);
        EXPECT_EQ(c->anchor, across);
        EXPECT_EQ(c->caret, across + 8);
        mt::Press(dlg, IDC_FIND_NEXT);
        EXPECT_EQ(c->anchor, pattern_at);
        EXPECT_EQ(c->caret, pattern_at + 8);
        EXPECT_EQ(c->first_visible_line, c->last_line - c->rows + 1);  // on the last page

        w.Send(PM_SELECTRANGE, size - 1, size - 1);
        UpdateWindow(w.hwnd());
        wt::Chars(w.hwnd(), "5a");
        EXPECT_EQ(view[size - 1], 0x5A);
    }
    mapped.reset();
    EXPECT_EQ(file.Read(size - 2, 2), std::string("\0\x5A", 2));
    EXPECT_EQ(file.Read(pattern_at, 8), "PELOMAR!");
}
#endif
