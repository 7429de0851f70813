// The properties dialog, run for real through the main window's Customize
// command and driven from a timer inside its modal loop: what it shows,
// what it changes in the record, what it sends the current control and
// what it writes, and when it does none of that.
#include <deque>
#include <functional>
#include <set>

#include "host_fixture.h"

#include <commdlg.h>
#include "support/iat.h"

namespace {

using ht::HostTest;

// --- The colour chooser, answered by the test ------------------------------

struct ChooserCall {
    HWND owner;
    HINSTANCE instance;
    DWORD flags;
};
std::deque<std::pair<bool, COLORREF>> g_answers;  // chosen?, colour
std::vector<ChooserCall> g_chooser_calls;

bool FakeChooser(HWND owner, HINSTANCE instance, DWORD flags, COLORREF* colour) {
    g_chooser_calls.push_back({owner, instance, flags});
    if (g_answers.empty()) return false;
    const auto answer = g_answers.front();
    g_answers.pop_front();
    if (answer.first) *colour = answer.second;
    return answer.first;
}

// --- What the current control is sent ------------------------------------

struct Sent {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    bool operator==(const Sent& o) const { return msg == o.msg && wp == o.wp && lp == o.lp; }
};
std::vector<Sent> g_sent;
WNDPROC g_control_proc = nullptr;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg >= PM_SETFONT && msg <= PM_SETBYTESPERLINE) g_sent.push_back({msg, wp, lp});
    return CallWindowProcA(g_control_proc, hwnd, msg, wp, lp);
}

// The messages of the apply sequence for a record: the fourteen of font,
// colours and offset, then the row width.
std::vector<Sent> ApplySequence(const pm::Settings& s) {
    std::vector<Sent> v{{PM_SETFONT, s.font_number, 0}};
    for (unsigned pair = 0; pair < pm::kColourPairs; ++pair)
        v.push_back({PM_SETCOLOURPAIR + pair, s.first[pair], static_cast<LPARAM>(s.second[pair])});
    v.push_back({PM_SETOFFSETBASE, s.offset, 0});
    v.push_back({PM_SETBYTESPERLINE, s.bytes_per_line, 0});
    return v;
}

// --- Driving the modal dialog ---------------------------------------------

// One step of a script; returns false to be asked again at the next tick
// (for a window that has not appeared yet).
using Step = std::function<bool(HWND dialog)>;

struct Script {
    std::vector<Step> steps;
    size_t next = 0;
    HWND dialog = nullptr;
    bool forced_end = false;
};
Script* g_script = nullptr;

struct ThreadSearch {
    HWND exclude;
    const char* title;  // null: any
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<ThreadSearch*>(lp);
    char cls[16];
    GetClassNameA(hwnd, cls, sizeof cls);
    if (hwnd == s->exclude || lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    if (s->title && ht::Title(hwnd) != s->title) return TRUE;
    s->found = hwnd;
    return FALSE;
}

// A visible dialog of this thread, other than `exclude`.
HWND ThreadDialog(const char* title, HWND exclude = nullptr) {
    ThreadSearch s{exclude, title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Script& s = *g_script;
    if (!s.dialog) s.dialog = ThreadDialog("Choose properties!");
    if (!s.dialog || !IsWindow(s.dialog)) return;
    if (s.next < s.steps.size()) {
        // Advanced first: a step may open a nested modal loop in which the
        // following steps run.
        const size_t at = s.next++;
        if (!s.steps[at](s.dialog)) s.next = at;
        return;
    }
    // The script left the dialog open: end it so the test cannot hang.
    s.forced_end = true;
    EndDialog(s.dialog, -1);
}

// Steps the tests use.
LRESULT Item(HWND dialog, int id, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    return SendDlgItemMessageA(dialog, id, msg, wp, lp);
}
// A list choice as the user makes it: the list changes, then notifies.
void Choose(HWND dialog, int list, int index) {
    Item(dialog, list, CB_SETCURSEL, index);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, list)));
}
void Press(HWND dialog, int button) { Item(dialog, button, BM_CLICK); }
void ClickSwatch(HWND dialog, int swatch) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(swatch, STN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, swatch)));
}
int Selected(HWND dialog, int list) { return static_cast<int>(Item(dialog, list, CB_GETCURSEL)); }
std::string ItemText(HWND dialog, int list, int index) {
    char text[64] = {};
    Item(dialog, list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}
std::string BoxText(HWND dialog) {
    char text[64] = {};
    GetDlgItemTextA(dialog, IDC_PROP_OFFSET, text, sizeof text);
    return text;
}
COLORREF SwatchColour(HWND dialog, int swatch) {
    HWND s = GetDlgItem(dialog, swatch);
    RECT r;
    GetClientRect(s, &r);
    return wt::PixelAt(s, r.right / 2, r.bottom / 2);
}

class Properties : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        if (HasFatalFailure()) return;
        g_colour_chooser = FakeChooser;
        g_answers.clear();
        g_chooser_calls.clear();
        g_sent.clear();
        g_control_proc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(w->current, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
    }
    void TearDown() override {
        if (w && g_control_proc)
            SetWindowLongPtrA(w->current, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_control_proc));
        g_control_proc = nullptr;
        g_colour_chooser = RunColourChooser;
        HostTest::TearDown();
    }

    // Opens the dialog with the Customize command and runs the steps, one
    // per timer tick; returns when the dialog has ended.
    void Run(std::vector<Step> steps, bool expect_open_at_end = false) {
        Script script;
        script.steps = std::move(steps);
        g_script = &script;
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, Tick);
        SendMessageA(main, WM_COMMAND, IDM_CUSTOMIZE, 0);
        KillTimer(nullptr, timer);
        g_script = nullptr;
        EXPECT_EQ(script.next, script.steps.size()) << "the dialog ended before the script did";
        EXPECT_EQ(script.forced_end, expect_open_at_end);
        EXPECT_FALSE(IsWindow(script.dialog));
    }

    std::string Ini() const { return ht::ReadBytes(dir / "pmr.ini"); }
    bool IniExists() const { return GetFileAttributesA((dir / "pmr.ini").c_str()) != INVALID_FILE_ATTRIBUTES; }
    std::string Key(const std::string& file, const char* key) const {
        char text[32] = {};
        GetPrivateProfileStringA("HEXEDITOR", key, "<none>", text, sizeof text, (dir / file).c_str());
        return text;
    }
};

TEST_F(Properties, OpensShowingTheRecord) {
    w->settings.font_number = 3;
    w->settings.first[0] = 0x2040C0;
    w->settings.second[0] = 0x10A010;
    w->settings.offset = 0x1A2B0;
    const char* const first_names[] = {
        "Offset grad start color", "Header grad start color", "Header info text color",
        "Header addr text color", "View2 bk color", "View3 bk color", "View2 selection bk color",
        "View3 selection bk color", "Active char bk color", "Modified1 bytes bk color",
        "Modified2 bytes bk color", "Modified3 bytes bk color"};
    const char* const second_names[] = {
        "Offset grad end color", "Header grad end color", "View1 text color", "Header input mode text color",
        "View2 text color", "View3 text color", "View2 selection text color", "View3 selection text color",
        "Active char text color", "Modified1 bytes text color", "Modified2 bytes text color",
        "Modified3 bytes text color"};
    const char* const fonts[] = {"0 - Fixedsys", "1 - Courier", "2 - Terminal", "3 - Courier New",
                                 "4 - Lucida Console"};
    Run({[&](HWND d) {
        EXPECT_EQ(GetWindow(d, GW_OWNER), main);
        EXPECT_NE(GetWindowLongA(d, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
        // Enter and Escape find no control to act for.
        EXPECT_EQ(GetDlgItem(d, IDOK), nullptr);
        EXPECT_EQ(GetDlgItem(d, IDCANCEL), nullptr);
        char text[64];
        const std::pair<int, const char*> texts[] = {
            {IDC_PROP_FRAME, "For color press static window"}, {IDC_PROP_FONT_LABEL, "Font:"},
            {IDC_PROP_OFFSET_LABEL, "Offset:"}, {IDC_PROP_CANCEL, "Cancel"}, {IDC_PROP_OK, "Ok"},
            {IDC_PROP_APPLY, "Apply"}};
        for (const auto& t : texts) {
            GetDlgItemTextA(d, t.first, text, sizeof text);
            EXPECT_STREQ(text, t.second) << t.first;
        }
        EXPECT_EQ(Item(d, IDC_PROP_FONT_LIST, CB_GETCOUNT), 5);
        for (int i = 0; i < 5; ++i) EXPECT_EQ(ItemText(d, IDC_PROP_FONT_LIST, i), fonts[i]);
        EXPECT_EQ(Item(d, IDC_PROP_FIRST_LIST, CB_GETCOUNT), 12);
        EXPECT_EQ(Item(d, IDC_PROP_SECOND_LIST, CB_GETCOUNT), 12);
        for (int i = 0; i < 12; ++i) {
            EXPECT_EQ(ItemText(d, IDC_PROP_FIRST_LIST, i), first_names[i]);
            EXPECT_EQ(ItemText(d, IDC_PROP_SECOND_LIST, i), second_names[i]);
        }
        EXPECT_EQ(Selected(d, IDC_PROP_FONT_LIST), 3);
        EXPECT_EQ(Selected(d, IDC_PROP_FIRST_LIST), 0);
        EXPECT_EQ(Selected(d, IDC_PROP_SECOND_LIST), 0);
        EXPECT_EQ(SwatchColour(d, IDC_PROP_FIRST_SWATCH), 0x2040C0u);
        EXPECT_EQ(SwatchColour(d, IDC_PROP_SECOND_SWATCH), 0x10A010u);
        EXPECT_EQ(BoxText(d), "1A2B0");
        Press(d, IDC_PROP_CANCEL);
        return true;
    }});
    EXPECT_TRUE(g_sent.empty());
    EXPECT_FALSE(IniExists());
}

TEST_F(Properties, OffsetZeroShowsZeroAndAnUnknownFontSelectsNothing) {
    w->settings.font_number = 7;
    w->settings.offset = 0;
    Run({[&](HWND d) {
        EXPECT_EQ(BoxText(d), "0");
        EXPECT_EQ(Selected(d, IDC_PROP_FONT_LIST), CB_ERR);
        Press(d, IDC_PROP_CANCEL);
        return true;
    }});
    EXPECT_EQ(w->settings.font_number, 7u);
}

TEST_F(Properties, TheTwoListsFollowEachOther) {
    pm::Settings& s = w->settings;
    s.first[4] = 0x0A0B0C;
    s.second[4] = 0xC0B0A0;
    s.first[11] = 0x123456;
    s.second[11] = 0x654321;
    Run({[&](HWND d) {
             Choose(d, IDC_PROP_SECOND_LIST, 4);  // "View2 text color"
             EXPECT_EQ(Selected(d, IDC_PROP_FIRST_LIST), 4);
             EXPECT_EQ(SwatchColour(d, IDC_PROP_FIRST_SWATCH), 0x0A0B0Cu);
             EXPECT_EQ(SwatchColour(d, IDC_PROP_SECOND_SWATCH), 0xC0B0A0u);
             Choose(d, IDC_PROP_FIRST_LIST, 11);
             EXPECT_EQ(Selected(d, IDC_PROP_SECOND_LIST), 11);
             EXPECT_EQ(SwatchColour(d, IDC_PROP_FIRST_SWATCH), 0x123456u);
             EXPECT_EQ(SwatchColour(d, IDC_PROP_SECOND_SWATCH), 0x654321u);
             return true;
         },
         [&](HWND d) {
             Press(d, IDC_PROP_CANCEL);
             return true;
         }});
    EXPECT_TRUE(g_sent.empty());
}

TEST_F(Properties, AFontChoiceReachesTheControlOnlyOnApplyAndApplyTwiceWritesTheSame) {
    std::string first_save;
    Run({[&](HWND d) {
             Choose(d, IDC_PROP_FONT_LIST, 1);
             EXPECT_EQ(w->settings.font_number, 1u);
             EXPECT_TRUE(g_sent.empty());
             Choose(d, IDC_PROP_SECOND_LIST, 9);
             Press(d, IDC_PROP_APPLY);
             EXPECT_EQ(g_sent, ApplySequence(w->settings));
             EXPECT_EQ(Key("pmr.ini", "font_number"), "0x000001");
             first_save = Ini();
             EXPECT_EQ(first_save.empty(), false);
             return true;
         },
         [&](HWND d) {
             g_sent.clear();
             Press(d, IDC_PROP_APPLY);
             EXPECT_EQ(g_sent, ApplySequence(w->settings));
             EXPECT_EQ(Ini(), first_save);
             // Open, with the same selections.
             EXPECT_TRUE(IsWindowVisible(d));
             EXPECT_EQ(Selected(d, IDC_PROP_FONT_LIST), 1);
             EXPECT_EQ(Selected(d, IDC_PROP_FIRST_LIST), 9);
             EXPECT_EQ(Selected(d, IDC_PROP_SECOND_LIST), 9);
             return true;
         },
         [&](HWND d) {
             g_sent.clear();
             Press(d, IDC_PROP_OK);
             return true;
         }});
    EXPECT_EQ(g_sent, ApplySequence(w->settings));
    EXPECT_EQ(Ini(), first_save);
}

// The box reads typed hex as the control's dialogs do: spaces ignored,
// "0x" taken, anything else refused by a message box that names it, and a
// refused text applies and saves nothing.
TEST_F(Properties, TheOffsetBoxIsReadByTheTypedHexRule) {
    struct Row {
        const char* text;
        pm::u32 value;     // what is applied (the previous value when refused)
        const char* box;   // the message box, or null
    };
    const Row rows[] = {
        {"1a2B", 0x1A2B, nullptr},
        {"0x10", 0x10, nullptr},
        {" 0012 3456 ", 0x123456, nullptr},
        {"", 0, nullptr},
        {"FFFFFFFF", 0xFFFFFFFF, nullptr},
        {"1 0000 0000", 0xFFFFFFFF, "Need a smaller number"},
        {" G", 0xFFFFFFFF, "Not a hex digit: G"},
        {"0x1A", 0x1A, nullptr},
        {"zz", 0x1A, "Not a hex digit: z"},
    };
    std::string box;
    std::vector<Step> steps;
    for (const Row& row : rows) {
        steps.push_back([&, row](HWND d) {
            g_sent.clear();
            box.clear();
            SetDlgItemTextA(d, IDC_PROP_OFFSET, row.text);
            Press(d, IDC_PROP_APPLY);  // a refusal runs the next step in its box
            EXPECT_EQ(box, row.box ? row.box : "") << row.text;
            EXPECT_EQ(g_sent.size(), row.box ? 0u : 15u) << row.text;
            if (g_sent.size() >= 14) EXPECT_EQ(g_sent[13], (Sent{PM_SETOFFSETBASE, row.value, 0})) << row.text;
            EXPECT_EQ(w->settings.offset, row.value) << row.text;
            EXPECT_EQ(ht::ControlOf(w->current)->offset_base, row.value) << row.text;
            return true;
        });
        if (row.box)
            steps.push_back([&](HWND d) {
                HWND b = ThreadDialog(nullptr, d);
                if (!b) return false;
                box = ht::Title(GetDlgItem(b, 0xFFFF));
                SendMessageA(b, WM_COMMAND, IDOK, 0);
                return true;
            });
    }
    steps.push_back([&](HWND d) {
        EXPECT_EQ(Key("pmr.ini", "offset"), "0x00001a");
        Press(d, IDC_PROP_CANCEL);
        return true;
    });
    Run(steps);
}

TEST_F(Properties, PickedColoursChangeTheRecordAtOnceAndBlackIsAColour) {
    w->settings.offset = 0x400;
    HWND dialog = nullptr;
    Run({[&](HWND d) {
        dialog = d;
        g_answers = {{true, 0x000000}, {false, 0}, {true, 0x00FF00}};
        ClickSwatch(d, IDC_PROP_FIRST_SWATCH);  // pair 0, black chosen
        EXPECT_EQ(w->settings.first[0], 0x000000u);
        EXPECT_EQ(SwatchColour(d, IDC_PROP_FIRST_SWATCH), 0x000000u);
        ClickSwatch(d, IDC_PROP_SECOND_SWATCH);  // cancelled
        EXPECT_EQ(w->settings.second[0], 0xFFFFFFu);
        EXPECT_EQ(SwatchColour(d, IDC_PROP_SECOND_SWATCH), 0xFFFFFFu);
        Choose(d, IDC_PROP_FIRST_LIST, 6);
        ClickSwatch(d, IDC_PROP_SECOND_SWATCH);  // "View2 selection text color"
        EXPECT_EQ(w->settings.second[6], 0x00FF00u);
        EXPECT_EQ(w->settings.first[6], 0xFF8080u);
        EXPECT_EQ(SwatchColour(d, IDC_PROP_SECOND_SWATCH), 0x00FF00u);
        EXPECT_TRUE(g_sent.empty()) << "a colour reaches the control only on Ok or Apply";
        Press(d, IDC_PROP_OK);
        return true;
    }});
    ASSERT_EQ(g_chooser_calls.size(), 3u);
    for (const ChooserCall& call : g_chooser_calls) {
        EXPECT_EQ(call.owner, dialog);
        EXPECT_EQ(call.instance, g_host.instance);
        EXPECT_EQ(call.flags, 0u);
    }
    EXPECT_EQ(g_sent, ApplySequence(w->settings));
    // Only a colour changed: the offset shown in the box is kept.
    EXPECT_EQ(w->settings.offset, 0x400u);
    EXPECT_EQ(Key("pmr.ini", "offset_grad_start_color"), "0x000000");
    EXPECT_EQ(Key("pmr.ini", "sel2_text_color"), "0x00ff00");
    EXPECT_EQ(Key("pmr.ini", "offset"), "0x000400");
    const ::Control* c = ht::ControlOf(w->current);
    EXPECT_EQ(c->colours[pm::offset_grad_start_color], 0x000000u);
    EXPECT_EQ(c->colours[pm::sel2_text_color], 0x00FF00u);
}

TEST_F(Properties, CancelAndClosingSendNothingAndSaveNothingButKeepTheRecord) {
    g_answers = {{true, 0x112233}, {true, 0x445566}};
    Run({[&](HWND d) {
        Choose(d, IDC_PROP_FONT_LIST, 4);
        ClickSwatch(d, IDC_PROP_FIRST_SWATCH);
        SetDlgItemTextA(d, IDC_PROP_OFFSET, "FFFF");
        Press(d, IDC_PROP_CANCEL);
        return true;
    }});
    Run({[&](HWND d) {
        Choose(d, IDC_PROP_FONT_LIST, 2);
        ClickSwatch(d, IDC_PROP_SECOND_SWATCH);
        SendMessageA(d, WM_CLOSE, 0, 0);
        return true;
    }});
    EXPECT_TRUE(g_sent.empty());
    EXPECT_FALSE(IniExists());
    EXPECT_EQ(w->settings.font_number, 2u);
    EXPECT_EQ(w->settings.first[0], 0x112233u);
    EXPECT_EQ(w->settings.second[0], 0x445566u);
    EXPECT_EQ(w->settings.offset, 0u);
    // The next Apply sends and saves them.
    Run({[&](HWND d) {
        Press(d, IDC_PROP_OK);
        return true;
    }});
    EXPECT_EQ(g_sent, ApplySequence(w->settings));
    EXPECT_EQ(Key("pmr.ini", "font_number"), "0x000002");
}

TEST_F(Properties, EscapeAndEnterDoNotEndTheDialog) {
    Run({[&](HWND d) {
             SendMessageA(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(d, IDC_PROP_OFFSET)), TRUE);
             PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
             PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
             return true;
         },
         [&](HWND d) {
             // The commands those keys send are ignored as well.
             SendMessageA(d, WM_COMMAND, IDOK, 0);
             SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
             return true;
         },
         [&](HWND d) {
             EXPECT_TRUE(IsWindowVisible(d));
             EXPECT_TRUE(g_sent.empty());
             // Enter on a push button that has the focus presses it.
             SendMessageA(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(d, IDC_PROP_APPLY)), TRUE);
             PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
             return true;
         },
         [&](HWND d) {
             EXPECT_TRUE(IsWindowVisible(d));
             EXPECT_EQ(g_sent, ApplySequence(w->settings));
             Press(d, IDC_PROP_CANCEL);
             return true;
         }});
}

TEST_F(Properties, TheRowWidthIsChosenAmongFourAndSentAfterTheSequence) {
    w->settings.bytes_per_line = 16;
    Run({[&](HWND d) {
        EXPECT_EQ(ItemText(d, IDC_PROP_ROW_LIST, 0) + ItemText(d, IDC_PROP_ROW_LIST, 3), "Fit the window32");
        EXPECT_EQ(Selected(d, IDC_PROP_ROW_LIST), 2);
        Choose(d, IDC_PROP_ROW_LIST, 1);
        EXPECT_TRUE(g_sent.empty()) << "sent on Ok or Apply only";
        Press(d, IDC_PROP_OK);
        return true;
    }});
    EXPECT_EQ(g_sent, ApplySequence(w->settings));
    EXPECT_EQ(ht::ControlOf(w->current)->fixed_bytes_per_line, 8u);
    EXPECT_EQ(Key("pmr.ini", "bytes_per_line"), "0x000008");
}

// Brushes of this program made and not yet deleted, watched through its
// import table (the host's code is linked into this test).
std::set<HGDIOBJ> g_brushes;
decltype(&CreateSolidBrush) g_real_create_brush;
decltype(&DeleteObject) g_real_delete_object;

HBRUSH WINAPI WatchedCreateSolidBrush(COLORREF colour) {
    HBRUSH b = g_real_create_brush(colour);
    if (b) g_brushes.insert(b);
    return b;
}
BOOL WINAPI WatchedDeleteObject(HGDIOBJ object) {
    g_brushes.erase(object);
    return g_real_delete_object(object);
}

TEST_F(Properties, TheDialogDeletesEveryBrushItMakes) {
    HMODULE exe = GetModuleHandleA(nullptr);
    g_brushes.clear();
    g_real_create_brush = reinterpret_cast<decltype(&CreateSolidBrush)>(
        wt::PatchImport(exe, "gdi32.dll", "CreateSolidBrush", reinterpret_cast<void*>(WatchedCreateSolidBrush)));
    g_real_delete_object = reinterpret_cast<decltype(&DeleteObject)>(
        wt::PatchImport(exe, "gdi32.dll", "DeleteObject", reinterpret_cast<void*>(WatchedDeleteObject)));
    ASSERT_NE(g_real_create_brush, nullptr);
    ASSERT_NE(g_real_delete_object, nullptr);
    g_answers = {{true, 0x010203}, {true, 0x040506}, {true, 0x070809}};
    Run({[&](HWND d) {
        EXPECT_EQ(g_brushes.size(), 2u) << "one brush per swatch";
        for (int i = 0; i < 12; ++i) Choose(d, i % 2 ? IDC_PROP_FIRST_LIST : IDC_PROP_SECOND_LIST, i);
        ClickSwatch(d, IDC_PROP_FIRST_SWATCH);
        ClickSwatch(d, IDC_PROP_SECOND_SWATCH);
        ClickSwatch(d, IDC_PROP_FIRST_SWATCH);
        EXPECT_EQ(g_brushes.size(), 2u);
        Press(d, IDC_PROP_APPLY);
        Press(d, IDC_PROP_OK);
        return true;
    }});
    EXPECT_TRUE(g_brushes.empty());
    Run({[&](HWND d) {
        EXPECT_EQ(g_brushes.size(), 2u);
        SendMessageA(d, WM_CLOSE, 0, 0);
        return true;
    }});
    EXPECT_TRUE(g_brushes.empty());
    wt::PatchImport(exe, "gdi32.dll", "CreateSolidBrush", reinterpret_cast<void*>(g_real_create_brush));
    wt::PatchImport(exe, "gdi32.dll", "DeleteObject", reinterpret_cast<void*>(g_real_delete_object));
}

class PropertiesWithTheme : public Properties {
    void PrepareDirectory() override {
        CreateDirectoryA((dir / "Themes").c_str(), nullptr);
        ht::WriteBytes(dir / "Themes\\calm.ini", "[HEXEDITOR]\r\nfont_number=1\r\nview2_bk_color=0xEEEEEE\r\n");
    }
};

TEST_F(PropertiesWithTheme, OkWritesIntoTheChosenThemesFile) {
    SendMessageA(main, WM_COMMAND, IDM_THEME_FIRST_FILE, 0);
    ASSERT_STREQ(w->settings_name, "Themes\\calm.ini");
    ASSERT_EQ(w->settings.font_number, 1u);
    Run({[&](HWND d) {
        EXPECT_EQ(Selected(d, IDC_PROP_FONT_LIST), 1);
        Choose(d, IDC_PROP_FONT_LIST, 4);
        Press(d, IDC_PROP_OK);
        return true;
    }});
    EXPECT_EQ(Key("Themes\\calm.ini", "font_number"), "0x000004");
    EXPECT_EQ(Key("Themes\\calm.ini", "view2_bk_color"), "0xeeeeee");
    EXPECT_EQ(Key("Themes\\calm.ini", "modified3_bytes_text_color"), "0x000070");
    EXPECT_FALSE(IniExists());
    // Back on "Current", Ok writes "pmr.ini" again.
    SendMessageA(main, WM_COMMAND, IDM_THEME_CURRENT, 0);
    Run({[&](HWND d) {
        Press(d, IDC_PROP_OK);
        return true;
    }});
    EXPECT_EQ(Key("pmr.ini", "font_number"), "0x000000");
    EXPECT_EQ(Key("Themes\\calm.ini", "font_number"), "0x000004");
}

// --- The real chooser -----------------------------------------------------

// The chooser's own window, once it has opened over the dialog.
HWND Chooser(HWND dialog) {
    HWND c = ThreadDialog(nullptr, dialog);
    return c && GetWindow(c, GW_OWNER) == dialog ? c : nullptr;
}

TEST_F(Properties, TheSystemChooserTellsBlackFromCancel) {
    g_colour_chooser = RunColourChooser;
    Run({[&](HWND d) {
             ClickSwatch(d, IDC_PROP_FIRST_SWATCH);  // the next step runs inside the chooser
             return true;
         },
         [&](HWND d) {
             HWND chooser = Chooser(d);
             if (!chooser) return false;
             SendMessageA(chooser, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(GetDlgItem(chooser, IDCANCEL)));
             return true;
         },
         [&](HWND d) {
             EXPECT_EQ(w->settings.first[0], 0xFF8080u) << "a cancelled chooser changes nothing";
             ClickSwatch(d, IDC_PROP_FIRST_SWATCH);
             return true;
         },
         [&](HWND d) {
             HWND chooser = Chooser(d);
             if (!chooser) return false;
             // Opened with no colour preset: Ok chooses black.
             SendMessageA(chooser, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(chooser, IDOK)));
             return true;
         },
         [&](HWND d) {
             EXPECT_EQ(w->settings.first[0], 0x000000u);
             EXPECT_EQ(SwatchColour(d, IDC_PROP_FIRST_SWATCH), 0x000000u);
             Press(d, IDC_PROP_CANCEL);
             return true;
         }});
}

// What the wrapper hands ChooseColorA, watched through the import table.
struct ChooseColorSeen {
    DWORD size = 0;
    HWND owner = nullptr;
    DWORD flags = 0;
    COLORREF result_in = 1;
    bool custom_white = false;
    bool answer = true;
    COLORREF pick = 0;
};
ChooseColorSeen g_seen;

BOOL WINAPI FakeChooseColorA(LPCHOOSECOLORA cc) {
    g_seen.size = cc->lStructSize;
    g_seen.owner = cc->hwndOwner;
    g_seen.flags = cc->Flags;
    g_seen.result_in = cc->rgbResult;
    g_seen.custom_white = cc->lpCustColors != nullptr;
    for (int i = 0; g_seen.custom_white && i < 16; ++i) g_seen.custom_white = cc->lpCustColors[i] == 0xFFFFFF;
    // The user adds custom colours; they must not come back next time.
    for (int i = 0; cc->lpCustColors && i < 16; ++i) cc->lpCustColors[i] = 0x123456;
    cc->rgbResult = g_seen.pick;
    return g_seen.answer;
}

TEST(ColourChooser, StartsFromNothingWithWhiteCustomColoursEveryTimeAndReportsCancel) {
    HMODULE exe = GetModuleHandleA(nullptr);
    void* real = wt::PatchImport(exe, "comdlg32.dll", "ChooseColorA", reinterpret_cast<void*>(FakeChooseColorA));
    ASSERT_NE(real, nullptr);
    HWND owner = reinterpret_cast<HWND>(0x1234);
    struct Row {
        bool answer;
        COLORREF pick;
        bool result;
        COLORREF colour;
    };
    const Row rows[] = {{true, 0x000000, true, 0x000000}, {true, 0x00A0B0, true, 0x00A0B0},
                        {false, 0x000000, false, 0xDEAD}, {true, 0xFFFFFF, true, 0xFFFFFF}};
    for (const Row& row : rows) {
        g_seen = ChooseColorSeen{};
        g_seen.answer = row.answer;
        g_seen.pick = row.pick;
        COLORREF colour = 0xDEAD;
        EXPECT_EQ(RunColourChooser(owner, GetModuleHandleA(nullptr), 0, &colour), row.result);
        EXPECT_EQ(colour, row.colour);
        EXPECT_EQ(g_seen.size, sizeof(CHOOSECOLORA));
        EXPECT_EQ(g_seen.owner, owner);
        EXPECT_EQ(g_seen.flags, 0u);
        EXPECT_EQ(g_seen.result_in, 0u);
        EXPECT_TRUE(g_seen.custom_white);
    }
    wt::PatchImport(exe, "comdlg32.dll", "ChooseColorA", real);
}

}  // namespace
