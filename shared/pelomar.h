/* The control's public protocol: its window class and the numbers of its
   private messages and context-menu commands. Both deliverables include it;
   it needs no other header and compiles as C (C99 on) as well as C++.
   docs/control.md describes every message: parameters, results, effects. */
#pragma once

#define PELOMAR_CLASS "PELOMAR"  /* window class, registered when the DLL loads */
#define PELOMAR_CLASSW L"PELOMAR" /* the same, for CreateWindowExW */
#define PELOMAR_DLL "Pelomar.dll"

/* An offset, size or line of the data: as wide as a pointer, so 64-bit in
   the 64-bit build (the same type as ULONG_PTR, WPARAM and LPARAM). */
#ifdef _WIN64
typedef unsigned long long PELOMAR_OFFSET;
#else
typedef unsigned long PELOMAR_OFFSET;
#endif

/* The enumerations are unsigned in C++, plain enums (int) in C. */
#ifdef __cplusplus
#define PELOMAR_ENUM_BASE : unsigned
#else
#define PELOMAR_ENUM_BASE
#endif

/* Private messages (WM_USER + 100 to WM_USER + 137), sent to the control.
   WM_USER + 122 sets the bytes per line. Offsets below are data offsets
   (0 is the block's first byte) unless they say "shown". */
enum PelomarMessage PELOMAR_ENUM_BASE {
    PM_SETFONT = 0x0400 + 100,          /* wParam font number 0..4; others ignored */
    PM_SETCOLOURPAIR = 0x0400 + 101,    /* + pair 0..11; wParam first, lParam second colour */
    PM_SETCOLOURPAIR_LAST = 0x0400 + 112,
    PM_SETDATA = 0x0400 + 113,          /* wParam data pointer, lParam size; the caller owns
                                           the block and keeps it valid while it is shown */
    PM_PLACEHOLDER = 0x0400 + 114,      /* let go of the block: back to the placeholder byte */
    PM_SETOFFSETBASE = 0x0400 + 115,    /* wParam offset base (32 bits in both builds),
                                           added to the offsets shown */
    PM_SELECTRANGE = 0x0400 + 116,      /* wParam start, lParam end (shown offsets) */
    PM_UNDO = 0x0400 + 117,
    PM_REDO = 0x0400 + 118,
    PM_CANUNDO = 0x0400 + 119,          /* result 0 or 1 */
    PM_CANREDO = 0x0400 + 120,          /* result 0 or 1 */
    PM_SETREADONLY = 0x0400 + 121,      /* wParam 1 blocks typing, paste and PM_WRITE;
                                           result wParam */
    PM_SETBYTESPERLINE = 0x0400 + 122,  /* wParam 0 fits the window, 8, 16 or 32 fixed;
                                           others ignored; result the setting in force */
    PM_SETNOTIFY = 0x0400 + 123,        /* wParam PM_NOTIFY_* mask; result the previous mask */
    PM_GETANCHOR = 0x0400 + 124,        /* result the anchor */
    PM_GETCARET = 0x0400 + 125,         /* result the caret */
    PM_GETDATA = 0x0400 + 126,          /* result the block's address; 0 when none */
    PM_GETDATASIZE = 0x0400 + 127,      /* result its size; 0 when none */
    PM_GETOFFSETBASE = 0x0400 + 128,    /* result the offset base */
    PM_GETFONT = 0x0400 + 129,          /* result the font number */
    PM_GETCOLOURPAIR = 0x0400 + 130,    /* wParam pair 0..11, lParam unsigned int[2] to fill
                                           with the first and second colour; result 1, or 0
                                           for another pair or a null pointer */
    PM_GETREADONLY = 0x0400 + 131,      /* result the read-only value as set */
    PM_GETBYTESPERLINE = 0x0400 + 132,  /* result the bytes per line */
    PM_GETFIRSTLINE = 0x0400 + 133,     /* result the first visible line */
    PM_WRITE = 0x0400 + 134,            /* lParam PELOMAR_WRITE*: one undo step; result the
                                           number of bytes written */
    PM_CLEARHISTORY = 0x0400 + 135,     /* forget every undo step; the bytes now count as
                                           unchanged */
    PM_SCROLLTO = 0x0400 + 136,         /* wParam offset: its line into view; caret stays */
    PM_GETCHANGED = 0x0400 + 137        /* result 1 while the bytes differ from the bytes the
                                           block held at set data (or clear history) */
};

/* PM_SETNOTIFY: the kinds of WM_NOTIFY the control sends to its parent. */
enum PelomarNotifyMask PELOMAR_ENUM_BASE {
    PM_NOTIFY_SELCHANGE = 0x1,  /* anchor or caret moved: PMN_SELCHANGE */
    PM_NOTIFY_CHANGE = 0x2      /* bytes written: PMN_CHANGE */
};

/* Notification codes (the code of the header). */
enum PelomarNotifyCode PELOMAR_ENUM_BASE { PMN_SELCHANGE = 1, PMN_CHANGE = 2 };

/* What wrote the bytes of a PMN_CHANGE. */
enum PelomarChangeCause PELOMAR_ENUM_BASE {
    PM_CAUSE_TYPING = 1,
    PM_CAUSE_PASTE = 2,
    PM_CAUSE_UNDO = 3,
    PM_CAUSE_REDO = 4,
    PM_CAUSE_WRITE = 5  /* PM_WRITE */
};

/* The notification header: the layout of NMHDR (hwndFrom, idFrom, code),
   declared here so that this header needs no other; cast lParam of
   WM_NOTIFY to NMHDR* or to the structures below alike. */
typedef struct PELOMAR_NMHDR {
    void *hwndFrom;         /* the control (HWND) */
    PELOMAR_OFFSET idFrom;  /* its id, GetDlgCtrlID */
    unsigned int code;      /* PMN_SELCHANGE or PMN_CHANGE */
} PELOMAR_NMHDR;

typedef struct PELOMAR_NMSELCHANGE {
    PELOMAR_NMHDR hdr;
    PELOMAR_OFFSET anchor;
    PELOMAR_OFFSET caret;
} PELOMAR_NMSELCHANGE;

typedef struct PELOMAR_NMCHANGE {
    PELOMAR_NMHDR hdr;
    PELOMAR_OFFSET first;  /* first byte written */
    PELOMAR_OFFSET count;  /* bytes from first that the message wrote to */
    unsigned int cause;    /* PM_CAUSE_* */
    unsigned int changed;  /* PM_GETCHANGED after the write */
} PELOMAR_NMCHANGE;

/* PM_WRITE: count bytes from bytes, written at offset. */
typedef struct PELOMAR_WRITE {
    PELOMAR_OFFSET offset;
    const void *bytes;
    PELOMAR_OFFSET count;
} PELOMAR_WRITE;

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
