// Resource and command numbers of the host, shared by the resource script
// and the code. Plain defines: the resource compiler reads this file too.
#pragma once

// Menu 10000 and its commands.
#define IDM_MAIN 10000
#define IDM_FILE 10001
#define IDM_OPEN 10002
#define IDM_EXIT 10003
#define IDM_PROPERTIES 10004
#define IDM_CUSTOMIZE 10005
#define IDM_THEMES 10006
#define IDM_THEME_CURRENT 10007
#define IDM_THEME_SEPARATOR 10008
#define IDM_THEME_FIRST_FILE 10010

// Dialog 2000: the properties dialog (controls 2001 to 2020).
#define IDD_PROPERTIES 2000

// Tab strip bitmaps.
#define IDB_STRIP_BACKGROUND 13001
#define IDB_TAB_BODY 13002
#define IDB_TAB_END 13003
#define IDB_SCROLL_BUTTONS 13004

// Program icon.
#define IDI_PELOMAR 13333
