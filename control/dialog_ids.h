/* Resource numbers of the control's dialogs and their controls. Read by the
   resource compiler as well as by the dialog code, so only #defines. */
#pragma once

#define IDD_FIND 666
#define IDC_FIND_TEXT 701
#define IDC_FIND_UTF8 702
#define IDC_FIND_UTF16 703
#define IDC_FIND_HEX 704
#define IDC_FIND_REVERSE 705
#define IDC_FIND_NEXT 706
#define IDC_FIND_TRANSPARENT 707
#define IDC_FIND_CANCEL 708
#define IDC_FIND_STATUS 709

#define IDD_SELECT 999
#define IDC_SELECT_START 801
#define IDC_SELECT_END 802
#define IDC_SELECT_START_LABEL 803
#define IDC_SELECT_END_LABEL 804
#define IDC_SELECT_OK 805
#define IDC_SELECT_CANCEL 806
