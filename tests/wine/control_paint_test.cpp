// Rendering, read back from the real window: cell backgrounds of both
// views, the gaps, the rows below the data, the gradients, and the text
// calls of a paint (counted by patching the control library's import of
// ExtTextOutA from this process).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "control/control.h"
#include "support/iat.h"
#include "support/support.h"

using wt::ControlWindow;

namespace {

// Default colours the control starts with.
enum : COLORREF {
    kView2Bk = 0xFFFFFF, kView2Text = 0x800000, kView3Bk = 0xFFFFFF, kSel2Bk = 0xFF8080,
    kSel3Bk = 0x808000, kCharBk = 0x0000FF, kCaretHexBk = 0x000000, kCaretHexText = 0x7FFFFF,
};
enum : UINT {
    kPairOffsetGrad = PM_SETCOLOURPAIR + 0, kPairHeaderGrad = PM_SETCOLOURPAIR + 1,
    kPairView2 = PM_SETCOLOURPAIR + 4, kPairView3 = PM_SETCOLOURPAIR + 5,
};

// Where the cells of a layout of bpl bytes per line and the given rows lie
// with font 0's 8 x 15 cell: header 16 high, hex view from x 72 (24 pixels
// a byte), then 4 pixels of gap and the text view (8 a byte).
struct Geometry {
    int cw, lh, hh, bpl, rows, hex_left, hex_right, text_left, text_right, width, height;

    int RowTop(int r) const { return hh + r * lh; }
    int RowsBottom() const { return RowTop(rows); }
    RECT HexCell(int r, int c) const {
        const int x = hex_left + 3 * cw * c;
        return {x, RowTop(r), x + 3 * cw, RowTop(r) + lh};
    }
    RECT TextCell(int r, int c) const {
        const int x = text_left + cw * c;
        return {x, RowTop(r), x + cw, RowTop(r) + lh};
    }
};

Geometry Layout(int bpl, int rows, SIZE client) {
    return {8, 15, 16, bpl, rows, 72, 72 + 24 * bpl, 76 + 24 * bpl, 76 + 32 * bpl, client.cx, client.cy};
}

// A control window just wide enough for bpl bytes per line (85 + 32 bpl
// pixels of client) and high enough for the rows, with a strip of `strip`
// pixels below the last row; the control must have laid itself out so.
struct Sized {
    ControlWindow w;
    Geometry g;
    Sized(int bpl, int rows, int strip = 0)
        : w(85 + 32 * bpl + GetSystemMetrics(SM_CXVSCROLL), 16 + 15 * rows + strip),
          g(Layout(bpl, rows, w.Client())) {
        const auto* c = static_cast<const Control*>(GetPropA(w.hwnd(), kStateProperty));
        EXPECT_EQ(c->bytes_per_line, unsigned(bpl));
        EXPECT_EQ(c->rows, unsigned(rows));
    }
};

// The client area of a window as painted, read once through its own DC.
class Screen {
public:
    explicit Screen(HWND hwnd) : hwnd_(hwnd) {
        UpdateWindow(hwnd);
        dc_ = GetDC(hwnd);
    }
    ~Screen() { ReleaseDC(hwnd_, dc_); }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

    // The colour most pixels of the rectangle have: a cell's background,
    // whatever its glyphs.
    COLORREF Background(const RECT& r) const {
        std::map<COLORREF, int> seen;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) ++seen[At(x, y)];
        COLORREF best = CLR_INVALID;
        int most = 0;
        for (const auto& [colour, n] : seen)
            if (n > most) most = n, best = colour;
        return best;
    }
    bool Contains(const RECT& r, COLORREF colour) const {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (At(x, y) == colour) return true;
        return false;
    }
    // Every pixel of the rectangle has this colour.
    bool All(const RECT& r, COLORREF colour) const {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (At(x, y) != colour) return false;
        return true;
    }

private:
    HWND hwnd_;
    HDC dc_;
};

std::vector<std::uint8_t> Zeros(std::size_t n) { return std::vector<std::uint8_t>(n, 0); }

int Channel(COLORREF c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }
// Largest channel difference of two colours.
int Distance(COLORREF a, COLORREF b) {
    int d = 0;
    for (int s : {0, 8, 16}) d = std::max(d, std::abs(Channel(a, s) - Channel(b, s)));
    return d;
}

// ---- Counting the text calls of the control library ----------------------

struct TextCall {
    int x, y;
    UINT options;
    RECT rect;
    std::string text;
};
std::vector<TextCall>* g_calls;
decltype(&ExtTextOutA) g_real_ext_text_out;

BOOL WINAPI RecordingExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect,
                                 LPCSTR text, UINT n, const INT* dx) {
    if (g_calls) {
        TextCall call{x, y, options, rect ? *rect : RECT{0, 0, 0, 0},
                      text ? std::string(text, n) : std::string()};
        g_calls->push_back(call);
    }
    return g_real_ext_text_out(dc, x, y, options, rect, text, n, dx);
}

// Records every ExtTextOutA call the control library makes while alive.
class TextCallRecorder {
public:
    TextCallRecorder() {
        void* real = wt::PatchImport(wt::Library(), "gdi32.dll", "ExtTextOutA",
                                     reinterpret_cast<void*>(&RecordingExtTextOutA));
        if (!real) return;
        g_real_ext_text_out = reinterpret_cast<decltype(&ExtTextOutA)>(real);
        g_calls = &calls;
    }
    ~TextCallRecorder() {
        if (active())
            wt::PatchImport(wt::Library(), "gdi32.dll", "ExtTextOutA",
                            reinterpret_cast<void*>(g_real_ext_text_out));
        g_calls = nullptr;
    }
    TextCallRecorder(const TextCallRecorder&) = delete;
    TextCallRecorder& operator=(const TextCallRecorder&) = delete;
    bool active() const { return g_calls == &calls; }

    // Repaints the whole window and keeps only that paint's calls.
    void FullPaint(HWND hwnd) {
        UpdateWindow(hwnd);
        calls.clear();
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    }
    // Opaque text calls with text whose rectangle starts at (x, y).
    int RunsAt(int y, int left, int right) const {
        int n = 0;
        for (const TextCall& c : calls)
            if ((c.options & ETO_OPAQUE) && !c.text.empty() && c.y == y && c.x >= left &&
                c.x < right)
                ++n;
        return n;
    }
    const TextCall* TextAt(int x, int y) const {
        for (const TextCall& c : calls)
            if (c.x == x && c.y == y && !c.text.empty()) return &c;
        return nullptr;
    }

    std::vector<TextCall> calls;
};

}  // namespace

// ---- Cell backgrounds ----------------------------------------------------

TEST(Paint, PlaceholderShowsOneByteUnderTheCaret) {
    Sized s(8, 3);
    Screen scr(s.w.hwnd());
    EXPECT_EQ(scr.Background(s.g.HexCell(0, 0)), kCaretHexBk);
    EXPECT_TRUE(scr.Contains(s.g.HexCell(0, 0), kCaretHexText));
    EXPECT_EQ(scr.Background(s.g.TextCell(0, 0)), kCharBk);
    EXPECT_EQ(scr.Background(s.g.HexCell(0, 1)), kView2Bk);
}

TEST(Paint, TwentyBytesAtEightPerLineClearTheRestOfTheLastLine) {
    Sized s(8, 5, 7);
    const COLORREF text_bk = 0xC0FFFF, hex_bk = 0xF0E0D0;
    s.w.Send(kPairView3, text_bk, 0x008000);
    s.w.Send(kPairView2, hex_bk, 0x800000);
    s.w.SetData(Zeros(20));
    Screen scr(s.w.hwnd());
    const Geometry& g = s.g;
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 8; ++c) {
            SCOPED_TRACE(testing::Message() << "row " << r << " column " << c);
            const int index = r * 8 + c;
            COLORREF hex = hex_bk, text = text_bk;
            if (index == 0) hex = hex_bk ^ 0xFFFFFF, text = kCharBk;
            if (r >= 3) text = hex_bk;  // the full-clear colour, below the data
            EXPECT_EQ(scr.Background(g.HexCell(r, c)), hex);
            EXPECT_EQ(scr.Background(g.TextCell(r, c)), text);
        }
    }
    // The gaps, the area right of the text view and the strip below the
    // last row keep the full-clear colour.
    const int mid = g.RowTop(1) + g.lh / 2;
    EXPECT_TRUE(scr.All({8 * g.cw + 1, g.hh, g.hex_left, g.RowsBottom()}, hex_bk));
    EXPECT_TRUE(scr.All({g.hex_right, g.hh, g.text_left, g.RowsBottom()}, hex_bk));
    EXPECT_TRUE(scr.All({g.text_right, g.hh, g.width, g.height}, hex_bk));
    EXPECT_TRUE(scr.All({8 * g.cw + 1, g.RowsBottom(), g.width, g.height}, hex_bk));
    // The separators stay black.
    EXPECT_EQ(scr.At(g.hex_left + 5, g.hh - 1), 0x000000u);
    EXPECT_EQ(scr.At(8 * g.cw, mid), 0x000000u);
}

TEST(Paint, ColourMessageRecoloursGapsAndEmptyLines) {
    Sized s(8, 4, 5);
    s.w.SetData(Zeros(10));
    { Screen scr(s.w.hwnd()); ASSERT_EQ(scr.Background(s.g.HexCell(3, 0)), kView2Bk); }
    const COLORREF bk = 0x203040;
    s.w.Send(kPairView2, bk, 0xFFFFFF);
    Screen scr(s.w.hwnd());
    const Geometry& g = s.g;
    EXPECT_TRUE(scr.All({g.hex_left, g.RowTop(2), g.text_right, g.RowsBottom()}, bk));
    EXPECT_TRUE(scr.All({g.hex_right, g.hh, g.text_left, g.RowsBottom()}, bk));
    EXPECT_TRUE(scr.All({8 * g.cw + 1, g.hh, g.hex_left, g.RowsBottom()}, bk));
    EXPECT_TRUE(scr.All({g.text_right, g.hh, g.width, g.height}, bk));
    EXPECT_EQ(scr.Background(g.HexCell(0, 5)), bk);
    EXPECT_EQ(scr.Background(g.HexCell(0, 0)), bk ^ 0xFFFFFF);  // caret: the inverse
    EXPECT_EQ(scr.Background(g.TextCell(0, 5)), kView3Bk);
    EXPECT_EQ(scr.Background(g.TextCell(1, 1)), kView3Bk);   // tail of the last line
    EXPECT_EQ(scr.Background(g.TextCell(1, 2)), kView3Bk);
}

TEST(Paint, SelectionFromEitherEndCoversTheSameCells) {
    for (auto ends : {std::pair<WPARAM, LPARAM>{5, 9}, std::pair<WPARAM, LPARAM>{9, 5}}) {
        SCOPED_TRACE(ends.first);
        Sized s(8, 3);
        s.w.SetData(Zeros(24));
        s.w.Send(PM_SELECTRANGE, ends.first, ends.second);
        Screen scr(s.w.hwnd());
        for (int i = 0; i < 16; ++i) {
            SCOPED_TRACE(i);
            const bool selected = i >= 5 && i <= 8;
            EXPECT_EQ(scr.Background(s.g.HexCell(i / 8, i % 8)), selected ? kSel2Bk : kView2Bk);
            EXPECT_EQ(scr.Background(s.g.TextCell(i / 8, i % 8)), selected ? kSel3Bk : kView3Bk);
        }
    }
}

TEST(Paint, SelectionBeginningAboveTheViewStartsAtTheFirstVisibleByte) {
    Sized s(8, 4);
    s.w.SetData(Zeros(8 * 100));
    // Anchor on line 50 column 3, caret on byte 2: the view follows the
    // anchor, so the selection begins 48 lines above it.
    s.w.Send(PM_SELECTRANGE, 50 * 8 + 3, 2);
    Screen scr(s.w.hwnd());
    for (int c = 0; c < 8; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(scr.Background(s.g.HexCell(0, c)), c < 3 ? kSel2Bk : kView2Bk);
        EXPECT_EQ(scr.Background(s.g.TextCell(0, c)), c < 3 ? kSel3Bk : kView3Bk);
    }
}

TEST(Paint, EmptyBlockShowsOnlyTheFullClearColour) {
    Sized s(8, 3);
    std::uint8_t byte = 0x41;
    s.w.Send(PM_SETDATA, reinterpret_cast<WPARAM>(&byte), 0);
    Screen scr(s.w.hwnd());
    EXPECT_TRUE(scr.All({s.g.hex_left, s.g.hh, s.g.text_right, s.g.RowsBottom()}, kView2Bk));
}

TEST(Paint, WindowTooNarrowForALayoutShowsTheFullClearColour) {
    // Too narrow from the start (13 + 16 cell widths): no layout and so no
    // back buffer is made.
    ControlWindow w(141, 60, 0);
    const COLORREF bk = 0x123456;
    w.Send(kPairView2, bk, 0);
    w.SetData(Zeros(100));
    Screen scr(w.hwnd());
    const SIZE client = w.Client();
    EXPECT_TRUE(scr.All({0, 0, client.cx, client.cy}, bk));
}

// ---- What a caret change or an edit repaints ------------------------------

POINT CellCentre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
LPARAM AtPoint(POINT p) { return MAKELPARAM(WORD(p.x), WORD(p.y)); }

TEST(Paint, DragBackOntoTheAnchorShowsTheCaretCellAtOnce) {
    Sized s(8, 3);
    s.w.SetData(Zeros(24));
    const HWND h = s.w.hwnd();
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, AtPoint(CellCentre(s.g.HexCell(0, 5))));
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, AtPoint(CellCentre(s.g.HexCell(0, 2))));
    { Screen scr(h); ASSERT_EQ(scr.Background(s.g.HexCell(0, 5)), kView2Bk); }
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, AtPoint(CellCentre(s.g.HexCell(0, 5))));
    {
        Screen scr(h);  // before the button-up
        EXPECT_EQ(scr.Background(s.g.HexCell(0, 5)), kCaretHexBk);
        EXPECT_EQ(scr.Background(s.g.TextCell(0, 5)), kCharBk);
        for (int c : {2, 3, 4}) EXPECT_EQ(scr.Background(s.g.HexCell(0, c)), kView2Bk) << c;
    }
    SendMessageA(h, WM_LBUTTONUP, 0, AtPoint(CellCentre(s.g.HexCell(0, 5))));
}

// Every write is followed by the colour pass, also when the caret stays:
// the bytes it pushes down the recency list change colour at once.
TEST(Paint, TypingWithoutACaretMoveRecoloursOlderEdits) {
    Sized s(8, 3);
    const COLORREF level1 = 0xC0F0C0, level2 = 0xF0C0C0;
    s.w.Send(PM_SETCOLOURPAIR + 9, level1, 0x0000F0);
    s.w.Send(PM_SETCOLOURPAIR + 10, level2, 0x0000B0);
    s.w.SetData(Zeros(24));
    const HWND h = s.w.hwnd();
    auto click = [&](const RECT& cell) {
        SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, AtPoint(CellCentre(cell)));
        SendMessageA(h, WM_LBUTTONUP, 0, AtPoint(CellCentre(cell)));
    };
    auto type = [&](const char* text) {
        for (; *text; ++text) {
            SendMessageA(h, WM_KEYDOWN, VK_OEM_1, 1);
            SendMessageA(h, WM_CHAR, WPARAM(static_cast<unsigned char>(*text)), 1);
        }
    };
    click(s.g.TextCell(0, 0));
    type("abcdefgh");  // bytes 0 to 7: the eight newest edits
    click(s.g.HexCell(1, 0));
    { Screen scr(h); ASSERT_EQ(scr.Background(s.g.HexCell(0, 0)), level1); }
    type("5");  // the first digit on byte 8: byte 0 becomes the ninth newest
    {
        Screen scr(h);
        EXPECT_EQ(scr.Background(s.g.HexCell(0, 0)), level2);
        EXPECT_EQ(scr.Background(s.g.HexCell(0, 1)), level1);
    }
    s.w.Send(PM_SELECTRANGE, 16, 18);
    type("9");  // over a selection: bytes 16 and 17 push bytes 1 and 2 down
    Screen scr(h);
    EXPECT_EQ(scr.Background(s.g.HexCell(0, 1)), level2);
    EXPECT_EQ(scr.Background(s.g.HexCell(0, 2)), level2);
    EXPECT_EQ(scr.Background(s.g.HexCell(0, 3)), level1);
}

// ---- Gradients -----------------------------------------------------------

TEST(Paint, HeaderAndOffsetGradientsRunBetweenTheirColours) {
    Sized s(8, 3, 9);
    const COLORREF top = 0x0000F0, bottom = 0xF00000, left = 0x00F000, right = 0x4040F0;
    s.w.Send(kPairHeaderGrad, top, bottom);
    s.w.Send(kPairOffsetGrad, left, right);
    s.w.SetData(Zeros(8));
    Screen scr(s.w.hwnd());
    const Geometry& g = s.g;
    // Header, in the gap before the hex view where no text lies.
    const int hx = 8 * g.cw + 4;
    const int tolerance = 256 / g.lh + 2;
    EXPECT_LE(Distance(scr.At(hx, 0), top), 1);
    EXPECT_LE(Distance(scr.At(hx, g.lh - 1), bottom), tolerance);
    EXPECT_GT(Channel(scr.At(hx, g.lh - 1), 16), Channel(scr.At(hx, g.lh / 2), 16));
    // Offset column, in the strip below the last row where no offset lies.
    const int oy = g.RowsBottom() + 3;
    const int across = 256 / (8 * g.cw) + 2;
    EXPECT_LE(Distance(scr.At(0, oy), left), 1);
    EXPECT_LE(Distance(scr.At(8 * g.cw - 1, oy), right), across);
}

// ---- Text calls ----------------------------------------------------------

TEST(PaintCalls, ALineCostsOneTextCallPerColourRunAndView) {
    Sized s(16, 4);
    s.w.SetData(Zeros(16 * 10));
    s.w.Send(PM_SELECTRANGE, 4, 9);  // middle of row 0
    TextCallRecorder rec;
    ASSERT_TRUE(rec.active()) << "no import of ExtTextOutA found";
    rec.FullPaint(s.w.hwnd());
    const Geometry& g = s.g;
    for (int r = 0; r < 4; ++r) {
        SCOPED_TRACE(r);
        const int runs = r == 0 ? 3 : 1;
        EXPECT_EQ(rec.RunsAt(g.RowTop(r), g.hex_left, g.hex_right), runs);
        EXPECT_EQ(rec.RunsAt(g.RowTop(r), g.text_left, g.text_right), runs);
    }
    // Nothing else is drawn: per row one offset and the runs, three texts
    // in the header.
    int texts = 0;
    for (const TextCall& c : rec.calls) texts += !c.text.empty();
    EXPECT_EQ(texts, 4 + 3 + 2 * (4 + 2));
}

TEST(PaintCalls, HeaderAndOffsetTexts) {
    Sized s(16, 3);
    s.w.SetData(Zeros(16 * 10));
    s.w.Send(PM_SETOFFSETBASE, 0x1000);
    s.w.Send(PM_SELECTRANGE, 0x1000 + 2 * 16 + 5, 0x1000 + 2 * 16 + 9);
    TextCallRecorder rec;
    ASSERT_TRUE(rec.active());
    rec.FullPaint(s.w.hwnd());
    const Geometry& g = s.g;
    const TextCall* value = rec.TextAt(0, 0);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->text, "00000004");
    const TextCall* labels = rec.TextAt(g.hex_left, 0);
    ASSERT_NE(labels, nullptr);
    EXPECT_EQ(labels->text, "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ");
    const TextCall* mode = rec.TextAt(g.text_left, 0);
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->text, "HEX ");
    // The view follows the selection to line 2: offsets from base + 0x20.
    const char* offsets[] = {"00001020", "00001030", "00001040"};
    for (int r = 0; r < 3; ++r) {
        const TextCall* o = rec.TextAt(0, g.RowTop(r));
        ASSERT_NE(o, nullptr) << r;
        EXPECT_EQ(o->text, offsets[r]);
        EXPECT_EQ(o->rect.right, 8 * g.cw);
    }

    s.w.Send(PM_SELECTRANGE, 0x1000 + 0x25, 0x1000 + 0x25);  // caret only
    rec.FullPaint(s.w.hwnd());
    value = rec.TextAt(0, 0);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->text, "00000025");  // the base is not added
}

TEST(PaintCalls, TextViewShowsDotsOutsidePrintableAscii) {
    Sized s(8, 2);
    s.w.SetData({0x20, 0x21, 0x7E, 0x7F, 0x80, 0xFF, 0x00, 0x41});
    s.w.Send(PM_SELECTRANGE, 8, 8);  // caret at the end: one run per view
    TextCallRecorder rec;
    ASSERT_TRUE(rec.active());
    rec.FullPaint(s.w.hwnd());
    const TextCall* text = rec.TextAt(s.g.text_left, s.g.RowTop(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text, ".!~....A");
    const TextCall* hex = rec.TextAt(s.g.hex_left, s.g.RowTop(0));
    ASSERT_NE(hex, nullptr);
    EXPECT_EQ(hex->text, "20 21 7E 7F 80 FF 00 41 ");
}
