// Bad input of every kind: locked files, files others write to, files that
// would vanish or shrink under their mapping, too many files at once, paths
// at the length limits, damaged settings and theme files, a thousand
// themes, a settings file that cannot be written.
#include "host_fixture.h"

using ht::HostTest;

namespace {

const std::string kBytes = "0123456789abcdef";

class BadFiles : public HostTest {};

// A handle another program holds on a file, with the given sharing.
class Held {
public:
    Held(const std::string& path, DWORD access, DWORD share)
        : h_(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~Held() {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

}  // namespace

TEST_F(BadFiles, LockedFilesAreNotOpenedAndWrittenToFilesOpenReadOnly) {
    ht::WriteBytes(dir / "locked.bin", kBytes);
    ht::WriteBytes(dir / "writer.bin", kBytes);
    ht::WriteBytes(dir / "good.bin", kBytes);
    Held locked(dir / "locked.bin", GENERIC_READ, 0);
    Held writer(dir / "writer.bin", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(locked.get(), INVALID_HANDLE_VALUE);
    ASSERT_NE(writer.get(), INVALID_HANDLE_VALUE);
    ht::Drop(main, {dir / "good.bin", dir / "writer.bin", dir / "locked.bin"});
    ASSERT_EQ(w->docs.count, 2u);
    EXPECT_EQ(Path(2), ht::Widen(dir / "writer.bin"));
    EXPECT_EQ(w->docs.records[1].mode, pm::kReadOnlyOnly);
    EXPECT_EQ(ht::Title(main), "Pelomar.dll - {cannot open file}");
    EXPECT_EQ(w->current, Control(2));
    EXPECT_TRUE(IsWindowVisible(Control(2)));
    // Directories and devices are no files to map; nothing of them stays.
    ht::Drop(main, {dir.path(), std::string("\\\\.\\NUL"), std::string("NUL")});
    EXPECT_EQ(w->docs.count, 2u);
    EXPECT_EQ(ht::Title(main), "Pelomar.dll - {cannot open file}");
}

TEST_F(BadFiles, AnOpenFileCannotVanishOrShrinkUnderItsView) {
    ht::WriteBytes(dir / "open.bin", kBytes);
    ht::Drop(main, {dir / "open.bin"});
    ASSERT_EQ(w->docs.count, 1u);
    // Others may read it, but neither delete, rename, truncate nor write it:
    // every byte of the view stays backed by the file.
    EXPECT_FALSE(DeleteFileA((dir / "open.bin").c_str()));
    EXPECT_FALSE(MoveFileA((dir / "open.bin").c_str(), (dir / "moved.bin").c_str()));
    EXPECT_EQ(CreateFileA((dir / "open.bin").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          TRUNCATE_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileA((dir / "open.bin").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          CREATE_ALWAYS, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(ht::ReadBytes(dir / "open.bin"), kBytes);
    SendMessageA(Control(1), WM_CHAR, 'f', 0);
    SendMessageA(Control(1), WM_CHAR, 'f', 0);
    EXPECT_EQ(static_cast<unsigned char>(ht::ReadBytes(dir / "open.bin")[0]), 0xFFu);
    // Once closed, it is the user's again.
    CloseAtPlace(1);
    EXPECT_TRUE(DeleteFileA((dir / "open.bin").c_str()));
}

TEST_F(BadFiles, A129FileDropOpens128AndIgnoresTheRest) {
    std::vector<std::string> paths;
    for (int i = 0; i < 129; ++i) {
        paths.push_back(dir / ("f" + std::to_string(i) + ".bin"));
        ht::WriteBytes(paths.back(), std::string(1 + i, char(i)));
    }
    ht::Drop(main, paths);
    ASSERT_EQ(w->docs.count, 128u);
    EXPECT_EQ(SendMessageA(w->strip, GDTM_GETCURSEL, 0, 0), 128);
    EXPECT_EQ(ht::Title(main), "Pelomar.dll - " + paths[127]);
    EXPECT_EQ(w->current, Control(128));
    EXPECT_EQ(ht::ControlOf(Control(128))->data_size, 128u);
    EXPECT_TRUE(ht::OpensForWriting(paths[128]));  // never touched
    // A further drop into the full table changes nothing.
    ht::Drop(main, {paths[128]});
    EXPECT_EQ(w->docs.count, 128u);
    EXPECT_EQ(w->current, Control(128));
    EXPECT_TRUE(IsWindowVisible(Control(128)));
}

TEST_F(BadFiles, PathsAtTheLengthLimits) {
    // The longest path the system's short-path file calls take, and one
    // past it: both open, each in its own form.
    std::string longest = dir.path() + "\\";
    longest += std::string(MAX_PATH - 1 - longest.size(), 'p');
    ASSERT_EQ(longest.size(), size_t(MAX_PATH - 1));
    const std::string past = longest + "q";
    ht::WriteBytes(longest, kBytes);
    ht::WriteBytes(past, kBytes);
    // A name longer than any file system takes does not open.
    const std::string far_too_long = dir.path() + "\\" + std::string(4000, 'r');
    ht::Drop(main, {longest, past, far_too_long});
    ASSERT_EQ(w->docs.count, 2u);
    EXPECT_EQ(Path(1), ht::Widen(longest));
    EXPECT_EQ(Path(2), ht::Widen(past));
    EXPECT_EQ(ht::Title(main), "Pelomar.dll - {cannot open file}");
    SelectAtPlace(2);
    EXPECT_EQ(ht::Title(main), "Pelomar.dll - " + past);
}

TEST_F(BadFiles, EmptyFilesAreNeitherMappedNorHeld) {
    ht::WriteBytes(dir / "empty.bin", "");
    ht::WriteBytes(dir / "one.bin", "x");
    ht::Drop(main, {dir / "one.bin", dir / "empty.bin"});
    ASSERT_EQ(w->docs.count, 1u);
    EXPECT_EQ(ht::ControlOf(Control(1))->data_size, 1u);
    EXPECT_TRUE(ht::OpensForWriting(dir / "empty.bin"));  // nothing left open
}

// Settings and theme files damaged in every way a file can be.
class BadSettings : public HostTest {
protected:
    void PrepareDirectory() override {
        ht::WriteBytes(dir / "pmr.ini",
                       "[HEXEDITOR]\r\n"
                       "font_number=99999999999999999999\r\n"
                       "offset_grad_start_color=zzz\r\n"
                       "offset_grad_end_color=0x\r\n"
                       "header_grad_start_color=-1\r\n"
                       "header_grad_end_color=0xFFFFFFFFFF\r\n"
                       "view2_bk_color=   0x00ff00 trailing\r\n"
                       "view2_text_color=\r\n"
                       "offset=4294967296\r\n"
                       "[OTHER]\r\nview3_bk_color=1\r\n"  // another section
                       "=\r\n==\r\n\x01\x02\xff\r\n");
        CreateDirectoryA((dir / "Themes").c_str(), nullptr);
        // UTF-16 text with its byte-order mark.
        const char utf16[] = "[HEXEDITOR]\r\nfont_number=2\r\nview2_bk_color=0x0000ff\r\n";
        std::string wide = "\xFF\xFE";
        for (const char* p = utf16; *p; ++p) wide += std::string(1, *p) + '\0';
        ht::WriteBytes(dir / "Themes\\a-utf16.ini", wide);
        // The keys, but in another section.
        ht::WriteBytes(dir / "Themes\\b-nosection.ini", "[OTHER]\r\nfont_number=3\r\nview2_bk_color=1\r\n");
        // Binary noise, and a megabyte of it.
        std::string noise(1 << 20, '\0');
        for (size_t i = 0; i < noise.size(); ++i) noise[i] = char((i * 2654435761u) >> 13);
        ht::WriteBytes(dir / "Themes\\c-noise.ini", noise);
        ht::WriteBytes(dir / "Themes\\d-empty.ini", "");
        // A directory whose name matches the search.
        CreateDirectoryA((dir / "Themes\\e-directory.ini").c_str(), nullptr);
    }
    UINT ThemeCommand(const char* name) {
        char text[MAX_PATH];
        for (UINT id = IDM_THEME_FIRST_FILE; id <= w->last_command; ++id)
            if (GetMenuStringA(w->themes, id, text, sizeof text, MF_BYCOMMAND) && lstrcmpA(text, name) == 0)
                return id;
        return 0;
    }
};

TEST_F(BadSettings, GarbageValuesReadAsTheSystemReadsThemAndNothingBreaks) {
    const pm::Settings& s = w->settings;
    EXPECT_EQ(s.first[0], 0u);           // "zzz": no digits
    EXPECT_EQ(s.second[0], 0u);          // "0x": no digits after the prefix
    EXPECT_EQ(s.first[1], 0xFFFFFFFFu);  // "-1"
    EXPECT_EQ(s.second[1], 0xFFFFFFFFu);  // 0xFFFFFFFFFF, kept to 32 bits
    EXPECT_EQ(s.first[4], 0x00FF00u);    // blanks before, text after the digits
    EXPECT_EQ(s.second[4], 0x800000u);   // empty value: the default
    EXPECT_EQ(s.offset, 0u);             // 2^32 wraps
    EXPECT_EQ(s.first[5], 0xFFFFFFu);    // under no section: the default
    // A font number of 5 or more is sent as read; the control keeps its font.
    EXPECT_GE(s.font_number, 5u);
    const ::Control* c = ht::ControlOf(w->placeholder);
    EXPECT_EQ(c->colours[pm::view2_bk_color], 0x00FF00u);
    EXPECT_TRUE(IsWindow(w->placeholder));
}

TEST_F(BadSettings, DamagedThemesApplyDefaultsOrWhatTheyHold) {
    ASSERT_EQ(GetMenuItemCount(w->themes), 7);
    ht::WriteBytes(dir / "x.bin", kBytes);
    ht::Drop(main, {dir / "x.bin"});
    ASSERT_EQ(w->docs.count, 1u);
    struct Case {
        const char* theme;
        pm::u32 font, hex_background;
    } cases[] = {
        {"a-utf16.ini", 2, 0x0000FF},
        {"b-nosection.ini", 0, 0xFFFFFF},
        {"c-noise.ini", 0, 0xFFFFFF},
        {"d-empty.ini", 0, 0xFFFFFF},
        {"e-directory.ini", 0, 0xFFFFFF},
    };
    for (const Case& k : cases) {
        const UINT command = ThemeCommand(k.theme);
        ASSERT_NE(command, 0u) << k.theme;
        SendMessageA(main, WM_COMMAND, command, 0);
        EXPECT_EQ(w->settings.font_number, k.font) << k.theme;
        EXPECT_EQ(ht::ControlOf(Control(1))->colours[pm::view2_bk_color], k.hex_background) << k.theme;
        EXPECT_EQ(GetMenuState(w->themes, command, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED)) << k.theme;
    }
}

TEST_F(BadSettings, AnUnwritableSettingsFileIsLeftAlone) {
    // A settings file that cannot be written: another program holds it
    // without sharing. Saving a changed record fails silently.
    const std::string before = ht::ReadBytes(dir / "pmr.ini");
    {
        Held holder(dir / "pmr.ini", GENERIC_READ, 0);
        ASSERT_NE(holder.get(), INVALID_HANDLE_VALUE);
        w->settings.offset = 0x1234;
        SaveSettings(w);
    }
    EXPECT_EQ(ht::ReadBytes(dir / "pmr.ini"), before);
    // A settings name that is a directory: nothing can be read or written.
    DeleteFileA((dir / "pmr.ini").c_str());
    CreateDirectoryA((dir / "pmr.ini").c_str(), nullptr);
    SaveSettings(w);
    SendMessageA(main, WM_COMMAND, IDM_THEME_CURRENT, 0);
    EXPECT_EQ(w->settings.offset, 0u);
    EXPECT_EQ(w->settings.font_number, 0u);
    EXPECT_EQ(GetFileAttributesA((dir / "pmr.ini").c_str()) & FILE_ATTRIBUTE_DIRECTORY, DWORD(FILE_ATTRIBUTE_DIRECTORY));
}

// A thousand themes: the first 990 get their items and commands, up to
// the last theme command, and the last is read like the first; the rest
// are not listed, and no theme takes a command of another item.
class ManyThemes : public HostTest {
protected:
    static const int kThemes = 1000;
    void PrepareDirectory() override {
        CreateDirectoryA((dir / "Themes").c_str(), nullptr);
        for (int i = 0; i < kThemes; ++i) {
            char body[64];
            wsprintfA(body, "[HEXEDITOR]\r\noffset=%d\r\n", i + 1);
            ht::WriteBytes(dir / ("Themes\\t" + std::to_string(i) + ".ini"), body);
        }
    }
};

TEST_F(ManyThemes, TheFirstNineHundredNinetyOfAThousandWork) {
    const int listed = IDM_THEME_LAST_FILE - IDM_THEME_FIRST_FILE + 1;
    ASSERT_EQ(GetMenuItemCount(w->themes), 2 + listed);
    EXPECT_EQ(w->last_command, UINT(IDM_THEME_LAST_FILE));
    for (UINT command : {UINT(IDM_THEME_FIRST_FILE), w->last_command, UINT(IDM_THEME_FIRST_FILE + 234)}) {
        char name[MAX_PATH];
        ASSERT_GT(GetMenuStringA(w->themes, command, name, sizeof name, MF_BYCOMMAND), 0);
        SendMessageA(main, WM_COMMAND, command, 0);
        // t<i>.ini holds offset i + 1.
        EXPECT_EQ(w->settings.offset, pm::u32(std::atoi(name + 1) + 1)) << name;
        EXPECT_EQ(ht::ControlOf(w->placeholder)->offset_base, w->settings.offset);
        EXPECT_EQ(GetMenuState(w->themes, command, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));
    }
    const pm::u32 offset = w->settings.offset;
    SendMessageA(main, WM_COMMAND, w->last_command + 1, 0);  // past the last: nothing
    EXPECT_EQ(w->settings.offset, offset);
    EXPECT_EQ(GetMenuState(w->themes, IDM_THEME_FIRST_FILE + 234, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));
}
