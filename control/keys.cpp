// Caret keys and typing. (Being written.)
#include "control/control.h"

void OnKeyDown(Control*, WPARAM) {}
void OnChar(Control*, WPARAM) {}
