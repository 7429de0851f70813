// The control's public protocol: its window class and the numbers of its
// private messages and context-menu commands. Both deliverables include it;
// it needs no other header.
#pragma once

#define PELOMAR_CLASS "PELOMAR"
#define PELOMAR_DLL "Pelomar.dll"

enum PelomarMessage : unsigned {
    PM_SETFONT = 0x0400 + 100,          // wParam font number 0..4
    PM_SETCOLOURPAIR = 0x0400 + 101,    // + pair 0..11; wParam first, lParam second
    PM_SETCOLOURPAIR_LAST = 0x0400 + 112,
    PM_SETDATA = 0x0400 + 113,          // wParam data pointer, lParam size
    PM_PLACEHOLDER = 0x0400 + 114,      // back to the library's placeholder data
    PM_SETOFFSETBASE = 0x0400 + 115,    // wParam offset base
    PM_SELECTRANGE = 0x0400 + 116,      // wParam start, lParam end (shown offsets)
    PM_UNDO = 0x0400 + 117,
    PM_REDO = 0x0400 + 118,
    PM_CANUNDO = 0x0400 + 119,          // result 0 or 1
    PM_CANREDO = 0x0400 + 120,          // result 0 or 1
    PM_SETREADONLY = 0x0400 + 121,      // wParam 1 blocks typing; result wParam
};

// Commands of the context menu, arriving as WM_COMMAND.
enum PelomarCommand : unsigned {
    PMC_COPY_ANSI = 13000,
    PMC_COPY_HEX = 13001,
    PMC_FIND = 13002,
    PMC_SELECT = 13003,
    PMC_UNDO = 13004,
    PMC_REDO = 13005,
    PMC_COPY_DB_SEL = 13006,
    PMC_COPY_DB_NOTSEL = 13007,
    PMC_COPY_X_SEL = 13008,
    PMC_COPY_X_NOTSEL = 13009,
};

// Number of colour pairs and font numbers the control knows.
enum : unsigned { PM_COLOUR_PAIRS = 12, PM_FONTS = 5 };
