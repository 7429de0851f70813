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
// Theme files take the commands from 10010 up to this one at most.
#define IDM_THEME_LAST_FILE 10999

// Accelerator table 11000 and the commands only keys and later menu items
// reach.
#define IDA_MAIN 11000
#define IDM_OPEN_READONLY 11001
#define IDM_READONLY 11002
#define IDM_CLOSE_TAB 11003
#define IDM_NEXT_TAB 11004
#define IDM_PREV_TAB 11005

// Dialog 2000: the properties dialog (controls 2001 to 2020). No control
// carries 1 or 2, the ids that Enter and Escape send.
#define IDD_PROPERTIES 2000
#define IDC_PROP_FRAME 2001
#define IDC_PROP_FONT_LIST 2002
#define IDC_PROP_FONT_LABEL 2003
#define IDC_PROP_FIRST_SWATCH 2004
#define IDC_PROP_SECOND_SWATCH 2005
#define IDC_PROP_OK 2006
#define IDC_PROP_APPLY 2007
#define IDC_PROP_FIRST_LIST 2008
#define IDC_PROP_SECOND_LIST 2009
#define IDC_PROP_OFFSET 2010
#define IDC_PROP_ROW_LABEL 2011
#define IDC_PROP_ROW_LIST 2012
#define IDC_PROP_OFFSET_LABEL 2013
#define IDC_PROP_CANCEL 2020

// Tab strip bitmaps.
#define IDB_STRIP_BACKGROUND 13001
#define IDB_TAB_BODY 13002
#define IDB_TAB_END 13003
#define IDB_SCROLL_BUTTONS 13004

// Program icon.
#define IDI_PELOMAR 13333
