// The Select dialog. (Being written.)
#include "control/control.h"

void ShowSelectDialog(Control*) {}
