// Mouse selection, auto-scroll and the scroll bar. (Being written.)
#include "control/control.h"

void OnLButtonDown(Control*, LPARAM) {}
void OnMouseMove(Control*, LPARAM) {}
void OnLButtonUp(Control*, LPARAM) {}
void OnTimer(Control*) {}
void OnVScroll(Control*, WPARAM) {}
void OnMouseWheel(Control*, WPARAM) {}
void RangeRepaint(Control*) {}
