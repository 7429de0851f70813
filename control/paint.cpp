// Rendering: the full clear, the header, the offset column and the paint
// pass, all into the back buffer. (Being written.)
#include "control/control.h"

void FullClear(Control*) {}
void DrawHeader(Control*) {}
void DrawOffsetColumn(Control*) {}
void OnPaint(Control* c) {
    PAINTSTRUCT ps;
    BeginPaint(c->hwnd(), &ps);
    EndPaint(c->hwnd(), &ps);
}
