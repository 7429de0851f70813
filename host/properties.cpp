// The properties dialog (2000). Until its resource exists the dialog
// cannot be created and the command changes nothing.
#include "host/host.h"

namespace {

INT_PTR CALLBACK PropertiesProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wp));
        return TRUE;
    }
    return msg == WM_INITDIALOG;
}

}  // namespace

void ShowPropertiesDialog(MainWindow* w) {
    DialogBoxParamA(g_host.instance, MAKEINTRESOURCEA(IDD_PROPERTIES), w->window, PropertiesProc, 0);
}
