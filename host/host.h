// The host program: process-wide state, the main window's state record and
// the operations each concern offers the others (main window, documents,
// tab strip, settings and themes, properties).
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "host/core/documents.h"
#include "host/core/settings.h"
#include "host/resource.h"
#include "shared/pelomar.h"

// Tab strip protocol.
#define GDTABS_CLASS "GDTABS"
enum TabStripMessage : UINT {
    GDTM_ADDTAB = WM_USER + 1300,     // lParam UTF-16 label; result 0, or GDTM_ADDTAB when full
    GDTN_CLOSED = WM_USER + 1301,     // to the parent: wParam closed tab (from 1)
    GDTN_SELCHANGE = WM_USER + 1302,  // to the parent: wParam previous, lParam new tab
    GDTM_GETTEXT = WM_USER + 1303,    // wParam index from 0; result the UTF-16 label
    GDTM_SETTEXT = WM_USER + 1304,    // wParam index from 0, lParam UTF-16 label
    GDTM_GETCURSEL = WM_USER + 1305,  // result the selected tab (from 1)
    GDTM_SETMARKS = WM_USER + 1306,   // wParam index from 0, lParam pm::TabMark bits
    GDTM_SETCURSEL = WM_USER + 1307,  // wParam tab (from 1); result 1 when selected; no notification
    GDTM_CLOSETAB = WM_USER + 1308,   // wParam tab (from 1): closed; GDTN_CLOSED as after a click
};
// The strip's labels and the host's paths are UTF-16 in the core's
// char16_t and the system's wchar_t alike.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t");
inline const wchar_t* WideText(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

// "Pelomar.dll" names the library, the main window's class and its title.
#define HOST_NAME PELOMAR_DLL
#define HOST_TITLE_PREFIX PELOMAR_DLL " - "
#define CANNOT_OPEN_TEXT L"{cannot open file}"
#define SETTINGS_FILE "pmr.ini"
#define SETTINGS_SECTION "HEXEDITOR"
#define THEMES_DIR "Themes\\"

enum : int {
    kStripHeight = 31,
    kMainX = 100,
    kMainY = 100,
    kMainWidth = 400,
    kMainHeight = 416,
    kStripCreateWidth = 420,
    kPlaceholderWidth = 200,
    kPlaceholderHeight = 300,
};

// Room for "Themes\" and any file name the directory search returns.
enum : unsigned { kSettingsNameBytes = 8 + MAX_PATH };

// Process-wide state, set at start.
struct HostProcess {
    HINSTANCE instance;
    HANDLE heap;
    HMODULE library;
};
extern HostProcess g_host;

// The main window's state record, bound to it through its user-data slot.
struct MainWindow {
    HWND window;
    HWND strip;
    HWND placeholder;
    HWND current;           // the control that fills the document area now
    unsigned client_width;
    int control_height;     // client height minus the strip; may be negative
    pm::DocumentTable docs;
    const wchar_t* current_path;  // the current document's path, or CANNOT_OPEN_TEXT
    pm::Settings settings;
    char settings_name[kSettingsNameBytes];
    HMENU themes;
    UINT first_command, last_command;
};

// app.cpp: start, program directory, classes, main window, loop.
void InitHostProcess();
// Where "pmr.ini" and "Themes" are looked up: the program's own directory
// unless set. A directory without a trailing backslash gets one.
void SetProgramDirectory(const char* directory);
const char* ProgramDirectory();
bool RegisterMainClass();
HWND CreateMainWindow();
// Until the quit message; the shortcuts of IDA_MAIN act for main_window
// while the focus is in it or its children.
int RunMessageLoop(HWND main_window);
int HostMain();
// Libraries that anything loads later by bare name come from the system
// folder only, never from the program's folder or the current one.
void NarrowLibrarySearch();

// main_window.cpp
MainWindow* MainWindowState(HWND main_window);
void SetTitle(MainWindow* w);
void MoveToDocumentArea(MainWindow* w, HWND control);

// placement.cpp: size, position and maximized state in "pmr.ini".
// Shows the window where it was last closed, or where it starts by default.
void ShowAtStoredPlacement(HWND main_window);
void SavePlacement(const MainWindow* w);

// tab_strip.cpp
bool RegisterTabStripClass();

// documents.cpp
// Opens the files chosen in the open dialog; read-only ones when asked.
void OpenFromDialog(MainWindow* w, bool read_only = false);
void OpenDropped(MainWindow* w, HDROP drop);
void SwitchToTab(MainWindow* w, unsigned previous, unsigned now);
void CloseTab(MainWindow* w, unsigned tab);
void ReleaseAllDocuments(MainWindow* w);
// The "Read-only" command: the current document becomes read-only, or
// writable again unless it could be had only for reading (a beep then).
void ToggleReadOnly(MainWindow* w);
// Checks the "Read-only" item while the current document is read-only, and
// grays it where there is nothing to toggle.
void ShowReadOnlyState(MainWindow* w);
// A document's control reports a change: its tab's changed mark follows
// whether the bytes differ from what the file held when it was opened.
void OnControlNotify(MainWindow* w, const NMHDR* header);

// settings.cpp
void LoadSettings(MainWindow* w);
void SaveSettings(const MainWindow* w);
void ApplySettings(const MainWindow* w, HWND control);
void StartSettings(MainWindow* w);
void OnThemeCommand(MainWindow* w, UINT command);

// properties.cpp
void ShowPropertiesDialog(MainWindow* w);
// Runs the system colour chooser (flags as ChooseColorA takes them, no
// initial colour, 16 white custom colours at every call). True with the
// chosen colour in *colour; false, *colour untouched, when cancelled.
bool RunColourChooser(HWND owner, HINSTANCE instance, DWORD flags, COLORREF* colour);
// The dialog runs the chooser through this; tests answer it in its place.
using ColourChooser = bool (*)(HWND owner, HINSTANCE instance, DWORD flags, COLORREF* colour);
extern ColourChooser g_colour_chooser;
