// Settings file and themes: defaults, hand-written values, the round trip,
// the Themes menu and what its commands apply.
#include <cstring>
#include <set>

#include "host_fixture.h"

namespace {

using ht::HostTest;

std::string MenuText(HMENU menu, UINT command) {
    char text[MAX_PATH + 1] = {};
    GetMenuStringA(menu, command, text, sizeof text, MF_BYCOMMAND);
    return text;
}

bool Checked(HMENU menu, UINT command) {
    return (GetMenuState(menu, command, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

class NoSettings : public HostTest {};

TEST_F(NoSettings, DefaultsAreAppliedAndNoFileIsWritten) {
    pm::Settings defaults;
    pm::set_default_settings(defaults);
    EXPECT_EQ(std::memcmp(&w->settings, &defaults, sizeof defaults), 0);
    const ::Control* c = ht::ControlOf(w->placeholder);
    EXPECT_EQ(c->colours[pm::view2_bk_color], 0xFFFFFFu);
    EXPECT_EQ(c->colours[pm::modified3_bytes_text_color], 0x000070u);
    EXPECT_EQ(GetFileAttributesA((dir / "pmr.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    // No Themes directory: "Current" and the separator only.
    EXPECT_EQ(GetMenuItemCount(w->themes), 2);
    EXPECT_EQ(w->last_command, 10009u);
    EXPECT_TRUE(Checked(w->themes, IDM_THEME_CURRENT));
}

TEST_F(NoSettings, SavedSettingsReadBackUnchanged) {
    for (unsigned i = 0; i < pm::kSettingsKeys; ++i)
        pm::settings_field(w->settings, i) = 0x01020304u * (i + 1) ^ (i % 3 ? 0x80000000u : 0);
    w->settings.bytes_per_line = 32;  // the one key with a set of values
    const pm::Settings saved = w->settings;
    SaveSettings(w);
    pm::set_default_settings(w->settings);
    LoadSettings(w);
    EXPECT_EQ(std::memcmp(&w->settings, &saved, sizeof saved), 0);

    char text[32];
    GetPrivateProfileStringA("HEXEDITOR", "modified3_bytes_bk_color", "", text, sizeof text,
                             (dir / "pmr.ini").c_str());
    char want[pm::kProfileValueBytes];
    pm::format_profile_hex(saved.first[11], want);
    EXPECT_STREQ(text, want);
}

// Hand-written values read as the system's own integer reader reads them.
TEST_F(NoSettings, ValuesReadAsTheSystemReaderReadsThem) {
    const char* const texts[] = {"3", "0x0000ff", "0xAbC", "12abc", "0X1F", "0O17", "0B101", "0o17", "0b101",
                                 "-1", "+7", "-0x10", "08", "0x", "0xG", "abc", "4294967296", "99999999999",
                                 "0xffffffff", "1.5", "- 5"};
    const std::string path = dir / "forms.ini";
    for (const char* text : texts) {
        WritePrivateProfileStringA("HEXEDITOR", "value", text, path.c_str());
        EXPECT_EQ(pm::parse_profile_int(text, 77), GetPrivateProfileIntA("HEXEDITOR", "value", 77, path.c_str()))
            << text;
    }
}

class HandWritten : public HostTest {
    void PrepareDirectory() override {
        ht::WriteBytes(dir / "pmr.ini",
                       "[other]\r\nfont_number=4\r\n"
                       "[HEXEDITOR]\r\nfont_number=3\r\nview2_bk_color=0x0000ff\r\noffset=4096\r\n"
                       "sel2_text_color=12abc\r\nbytes_per_line=16\r\n");
    }
};

TEST_F(HandWritten, DecimalAndHexValuesReachThePlaceholder) {
    EXPECT_EQ(w->settings.font_number, 3u);
    EXPECT_EQ(w->settings.first[4], 255u);
    EXPECT_EQ(w->settings.offset, 4096u);
    EXPECT_EQ(w->settings.second[6], 12u);
    EXPECT_EQ(w->settings.second[4], 0x800000u);  // missing key: default
    const ::Control* c = ht::ControlOf(w->placeholder);
    EXPECT_EQ(c->colours[pm::view2_bk_color], 255u);
    EXPECT_EQ(c->offset_base, 4096u);
    // The window has room for 9 bytes a row: 16 show as 8, until it widens.
    EXPECT_EQ(c->fixed_bytes_per_line, 16u);
    EXPECT_EQ(c->bytes_per_line, 8u);
    MoveWindow(main, 0, 0, 900, 416, TRUE);
    EXPECT_EQ(c->bytes_per_line, 16u);
    // Saving keeps the other section and rewrites every key.
    w->settings.offset = 0x10;
    w->settings.bytes_per_line = 32;
    SaveSettings(w);
    EXPECT_EQ(GetPrivateProfileIntA("HEXEDITOR", "bytes_per_line", 0, (dir / "pmr.ini").c_str()), 32u);
    EXPECT_EQ(GetPrivateProfileIntA("other", "font_number", 0, (dir / "pmr.ini").c_str()), 4u);
    EXPECT_EQ(GetPrivateProfileIntA("HEXEDITOR", "offset", 0, (dir / "pmr.ini").c_str()), 16u);
}

const std::string kLongTheme = std::string(70, 'L') + ".ini";

class Themes : public HostTest {
    void PrepareDirectory() override {
        CreateDirectoryA((dir / "Themes").c_str(), nullptr);
        ht::WriteBytes(dir / "Themes\\dark.ini", "[HEXEDITOR]\r\nview2_bk_color=0x101010\r\noffset=0x100\r\n");
        ht::WriteBytes(dir / "Themes\\light.ini", "[HEXEDITOR]\r\nview2_bk_color=0xF0F0F0\r\n");
        ht::WriteBytes(dir / ("Themes\\" + kLongTheme), "[HEXEDITOR]\r\nview2_bk_color=0x123456\r\n");
        ht::WriteBytes(dir / "Themes\\notes.txt", "not a theme");
        ht::WriteBytes(dir / "pmr.ini", "[HEXEDITOR]\r\nview2_bk_color=0x00AA00\r\n");
    }

protected:
    UINT CommandOf(const std::string& name) {
        for (UINT cmd = IDM_THEME_FIRST_FILE; cmd <= w->last_command; ++cmd)
            if (MenuText(w->themes, cmd) == name) return cmd;
        return 0;
    }
    COLORREF HexBackground(HWND control) { return ht::ControlOf(control)->colours[pm::view2_bk_color]; }
};

TEST_F(Themes, ThreeFilesGetThreeCommands) {
    EXPECT_EQ(GetMenuItemCount(w->themes), 5);
    EXPECT_EQ(w->first_command, 10007u);
    EXPECT_EQ(w->last_command, 10012u);
    std::set<std::string> names;
    for (UINT cmd = 10010; cmd <= 10012; ++cmd) names.insert(MenuText(w->themes, cmd));
    EXPECT_EQ(names, (std::set<std::string>{"dark.ini", "light.ini", kLongTheme}));
    EXPECT_EQ(HexBackground(w->placeholder), 0x00AA00u);
}

TEST_F(Themes, AThemeAppliesToTheCurrentControlAndMovesTheRadioMark) {
    ht::WriteBytes(dir / "a.bin", "abc");
    ht::WriteBytes(dir / "b.bin", "abc");
    ht::Drop(main, {dir / "a.bin", dir / "b.bin"});
    ASSERT_EQ(w->docs.count, 2u);
    const UINT dark = CommandOf("dark.ini");
    ASSERT_NE(dark, 0u);
    SendMessageA(main, WM_COMMAND, dark, 0);
    EXPECT_STREQ(w->settings_name, "Themes\\dark.ini");
    EXPECT_EQ(HexBackground(Control(2)), 0x101010u);
    EXPECT_EQ(ht::ControlOf(Control(2))->offset_base, 0x100u);
    EXPECT_EQ(HexBackground(Control(1)), 0x00AA00u);  // other documents keep theirs
    EXPECT_TRUE(Checked(w->themes, dark));
    EXPECT_FALSE(Checked(w->themes, IDM_THEME_CURRENT));

    // A document opened now gets the theme's settings.
    ht::WriteBytes(dir / "c.bin", "abc");
    ht::Drop(main, {dir / "c.bin"});
    EXPECT_EQ(HexBackground(Control(3)), 0x101010u);

    SendMessageA(main, WM_COMMAND, IDM_THEME_CURRENT, 0);
    EXPECT_STREQ(w->settings_name, "pmr.ini");
    EXPECT_EQ(HexBackground(Control(3)), 0x00AA00u);
    EXPECT_TRUE(Checked(w->themes, IDM_THEME_CURRENT));
    EXPECT_FALSE(Checked(w->themes, dark));
}

TEST_F(Themes, ALongThemeNameIsReadAndWrittenWhole) {
    const UINT cmd = CommandOf(kLongTheme);
    ASSERT_NE(cmd, 0u);
    SendMessageA(main, WM_COMMAND, cmd, 0);
    EXPECT_EQ(std::string(w->settings_name), "Themes\\" + kLongTheme);
    EXPECT_EQ(HexBackground(w->placeholder), 0x123456u);
    w->settings.offset = 0x4321;
    SaveSettings(w);
    EXPECT_EQ(GetPrivateProfileIntA("HEXEDITOR", "offset", 0, (dir / ("Themes\\" + kLongTheme)).c_str()), 0x4321u);
}

TEST_F(Themes, ARemovedThemeFileReadsAsDefaultsAndUnknownCommandsDoNothing) {
    const UINT light = CommandOf("light.ini");
    DeleteFileA((dir / "Themes\\light.ini").c_str());
    SendMessageA(main, WM_COMMAND, light, 0);
    EXPECT_EQ(HexBackground(w->placeholder), 0xFFFFFFu);
    SendMessageA(main, WM_COMMAND, 10013, 0);  // past the last theme
    EXPECT_STREQ(w->settings_name, "Themes\\light.ini");
}

}  // namespace
