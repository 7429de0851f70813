// The settings record in "pmr.ini" or a theme file, the Themes submenu and
// the messages that hand the record to a control.
#include <string>

#include "host/host.h"

namespace {

std::string SettingsPath(const MainWindow* w) { return std::string(ProgramDirectory()) + w->settings_name; }

void SetSettingsName(MainWindow* w, const char* prefix, const char* name) {
    lstrcpynA(w->settings_name, prefix, kSettingsNameBytes);
    const int used = lstrlenA(w->settings_name);
    lstrcpynA(w->settings_name + used, name, static_cast<int>(kSettingsNameBytes) - used);
}

// Appends one item per "Themes\*.ini" file, in the order the search
// returns them.
void FillThemesMenu(HMENU themes) {
    const std::string pattern = std::string(ProgramDirectory()) + THEMES_DIR "*.ini";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    // Commands past the last theme command belong to other items: the
    // files beyond it are not listed.
    UINT command = IDM_THEME_FIRST_FILE;
    do {
        AppendMenuA(themes, MF_STRING, command++, found.cFileName);
    } while (command <= IDM_THEME_LAST_FILE && FindNextFileA(search, &found));
    FindClose(search);
}

// Radio mark on the chosen item, the record loaded again, and applied to
// the current control only.
void CommonTail(MainWindow* w, UINT command) {
    CheckMenuRadioItem(w->themes, w->first_command, w->last_command, command, MF_BYCOMMAND);
    LoadSettings(w);
    ApplySettings(w, w->current);
}

}  // namespace

void LoadSettings(MainWindow* w) {
    const std::string path = SettingsPath(w);
    char value[64];
    for (unsigned i = 0; i < pm::kSettingsKeys; ++i) {
        GetPrivateProfileStringA(SETTINGS_SECTION, pm::settings_key(i).name, "", value, sizeof value, path.c_str());
        pm::settings_field(w->settings, i) = pm::read_settings_value(i, value);
    }
}

void SaveSettings(const MainWindow* w) {
    const std::string path = SettingsPath(w);
    char value[pm::kProfileValueBytes];
    for (unsigned i = 0; i < pm::kSettingsKeys; ++i) {
        pm::format_profile_hex(pm::settings_field(w->settings, i), value);
        WritePrivateProfileStringA(SETTINGS_SECTION, pm::settings_key(i).name, value, path.c_str());
    }
}

void ApplySettings(const MainWindow* w, HWND control) {
    const pm::Settings& s = w->settings;
    SendMessageA(control, PM_SETFONT, s.font_number, 0);
    for (unsigned pair = 0; pair < pm::kColourPairs; ++pair)
        SendMessageA(control, PM_SETCOLOURPAIR + pair, s.first[pair], static_cast<LPARAM>(s.second[pair]));
    SendMessageA(control, PM_SETOFFSETBASE, s.offset, 0);
    SendMessageA(control, PM_SETBYTESPERLINE, s.bytes_per_line, 0);
}

void StartSettings(MainWindow* w) {
    w->themes = GetSubMenu(GetSubMenu(GetMenu(w->window), 1), 1);
    FillThemesMenu(w->themes);
    w->first_command = IDM_THEME_CURRENT;
    w->last_command = IDM_THEME_CURRENT + static_cast<UINT>(GetMenuItemCount(w->themes));
    SetSettingsName(w, "", SETTINGS_FILE);
    CommonTail(w, IDM_THEME_CURRENT);
}

void OnThemeCommand(MainWindow* w, UINT command) {
    if (command == IDM_THEME_CURRENT) {
        SetSettingsName(w, "", SETTINGS_FILE);
        return CommonTail(w, command);
    }
    if (command < IDM_THEME_FIRST_FILE || command > w->last_command) return;
    // The whole file name, however long: a shortened one names no file.
    char name[MAX_PATH + 1];
    MENUITEMINFOA item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING;
    item.dwTypeData = name;
    item.cch = sizeof name;
    if (!GetMenuItemInfoA(w->themes, command, FALSE, &item)) return;
    SetSettingsName(w, THEMES_DIR, name);
    CommonTail(w, command);
}
