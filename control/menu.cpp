// Context menu and clipboard copies. (Being written.)
#include "control/control.h"

void BuildMenus(Control* c) {
    c->context_menu = CreatePopupMenu();
    c->copy_menu = CreatePopupMenu();
}
void DestroyMenus(Control* c) {
    if (c->copy_menu) DestroyMenu(c->copy_menu);
    if (c->context_menu) DestroyMenu(c->context_menu);
    c->copy_menu = c->context_menu = nullptr;
}
void OnRButtonUp(Control*) {}
void OnCommand(Control*, WPARAM) {}
