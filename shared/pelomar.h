/* The control's public protocol: its window class and the numbers of its
   private messages and context-menu commands. Both deliverables include it;
   it needs no other header and compiles as C (C99 on) as well as C++.
   docs/control.md describes every message: parameters, results, effects. */
#pragma once

#define PELOMAR_CLASS "PELOMAR"  /* window class, registered when the DLL loads */
#define PELOMAR_DLL "Pelomar.dll"

/* The enumerations are unsigned in C++, plain enums (int) in C. */
#ifdef __cplusplus
#define PELOMAR_ENUM_BASE : unsigned
#else
#define PELOMAR_ENUM_BASE
#endif

/* Private messages (WM_USER + 100 to WM_USER + 122), sent to the control. */
enum PelomarMessage PELOMAR_ENUM_BASE {
    PM_SETFONT = 0x0400 + 100,          /* wParam font number 0..4; others ignored */
    PM_SETCOLOURPAIR = 0x0400 + 101,    /* + pair 0..11; wParam first, lParam second colour */
    PM_SETCOLOURPAIR_LAST = 0x0400 + 112,
    PM_SETDATA = 0x0400 + 113,          /* wParam data pointer, lParam size; the caller owns
                                           the block and keeps it valid while it is shown */
    PM_PLACEHOLDER = 0x0400 + 114,      /* let go of the block: back to the placeholder byte */
    PM_SETOFFSETBASE = 0x0400 + 115,    /* wParam offset base, added to the offsets shown */
    PM_SELECTRANGE = 0x0400 + 116,      /* wParam start, lParam end (shown offsets) */
    PM_UNDO = 0x0400 + 117,
    PM_REDO = 0x0400 + 118,
    PM_CANUNDO = 0x0400 + 119,          /* result 0 or 1 */
    PM_CANREDO = 0x0400 + 120,          /* result 0 or 1 */
    PM_SETREADONLY = 0x0400 + 121,      /* wParam 1 blocks typing; result wParam */
    PM_SETBYTESPERLINE = 0x0400 + 122   /* wParam 0 fits the window, 8, 16 or 32 fixed;
                                           others ignored; result the setting in force */
};

/* Commands of the context menu, arriving at the control as WM_COMMAND
   (wParam the command, high word 0). A host may send them too. */
enum PelomarCommand PELOMAR_ENUM_BASE {
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
    PMC_PASTE = 13010                   /* the clipboard's text over the data, from the
                                           selection's start or the caret; never grows it */
};

/* Number of colour pairs and font numbers the control knows. */
enum PELOMAR_ENUM_BASE { PM_COLOUR_PAIRS = 12, PM_FONTS = 5 };

#undef PELOMAR_ENUM_BASE
