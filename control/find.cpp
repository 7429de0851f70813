// The Find dialog. (Being written.)
#include "control/control.h"

void ShowFindDialog(Control*) {}
