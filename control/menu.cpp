// The context menu: built once per control, greyed by the selection and the
// undo history each time it opens, and the commands it sends back.
#include "control/control.h"
#include "control/core/layout.h"

namespace {

// Item texts are ANSI; 0xAC is the not sign of the Windows-1252 code page.
constexpr char kNotSelDb[] = "db \xAC" "sel";
constexpr char kNotSelX[] = "\\x00 \xAC" "sel";

// Items of the Copy submenu that copy the selection, greyed without one.
constexpr unsigned kSelectionCopies[] = {PMC_COPY_ANSI, PMC_COPY_HEX, PMC_COPY_DB_SEL,
                                         PMC_COPY_X_SEL};
constexpr UINT kCopySubmenuPosition = 2;


UINT EnabledIf(bool enabled) { return MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED); }

// Greys what cannot be done now. Not-selection copies are always enabled.
void UpdateMenuState(Control* c) {
    UINT sel = EnabledIf(c->has_selection());
    for (unsigned id : kSelectionCopies) EnableMenuItem(c->copy_menu, id, sel);
    EnableMenuItem(c->context_menu, PMC_UNDO, EnabledIf(c->history.can_undo == 1));
    EnableMenuItem(c->context_menu, PMC_REDO, EnabledIf(c->history.can_redo == 1));
    EnableMenuItem(c->context_menu, PMC_PASTE, EnabledIf(c->own_data && c->read_only != 1));
}

void ShowContextMenu(Control* c, POINT screen) {
    if (!c->context_menu) return;
    UpdateMenuState(c);
    TrackPopupMenuEx(c->context_menu, 0, screen.x, screen.y, c->hwnd(), nullptr);
}

}  // namespace

void BuildMenus(Control* c) {
    c->context_menu = CreatePopupMenu();
    c->copy_menu = CreatePopupMenu();

    AppendMenuA(c->copy_menu, MF_STRING, PMC_COPY_ANSI, "Ansi");
    AppendMenuA(c->copy_menu, MF_STRING, PMC_COPY_HEX, "Hex");
    AppendMenuA(c->copy_menu, MF_STRING, PMC_COPY_DB_SEL, "db sel");
    AppendMenuA(c->copy_menu, MF_STRING, PMC_COPY_DB_NOTSEL, kNotSelDb);
    AppendMenuA(c->copy_menu, MF_STRING, PMC_COPY_X_SEL, "\\x00 sel");
    AppendMenuA(c->copy_menu, MF_STRING, PMC_COPY_X_NOTSEL, kNotSelX);

    AppendMenuA(c->context_menu, MF_STRING, PMC_UNDO, "Undo");
    AppendMenuA(c->context_menu, MF_STRING, PMC_REDO, "Redo");
    AppendMenuA(c->context_menu, MF_POPUP, reinterpret_cast<UINT_PTR>(c->copy_menu), "Copy");
    AppendMenuA(c->context_menu, MF_STRING, PMC_PASTE, "Paste");
    AppendMenuA(c->context_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(c->context_menu, MF_STRING, PMC_FIND, "Find...");
    AppendMenuA(c->context_menu, MF_STRING, PMC_SELECT, "Select...");
}

void DestroyMenus(Control* c) {
    // Destroying a menu destroys its submenus: detach the Copy submenu
    // first so that each handle is destroyed exactly once.
    if (c->context_menu && c->copy_menu)
        RemoveMenu(c->context_menu, kCopySubmenuPosition, MF_BYPOSITION);
    if (c->copy_menu) DestroyMenu(c->copy_menu);
    if (c->context_menu) DestroyMenu(c->context_menu);
    c->copy_menu = c->context_menu = nullptr;
}

void OnRButtonUp(Control* c) {
    POINT pt{};
    GetCursorPos(&pt);
    ShowContextMenu(c, pt);
}

// Below the caret's cell in the active view, or at the top left of the
// rows when the caret is out of view.
void ShowContextMenuAtCaret(Control* c) {
    const pm::Offset bpl = c->bytes_per_line ? c->bytes_per_line : 1;
    const pm::Offset line = c->caret / bpl, top = c->first_visible_line;
    POINT pt{c->hex_rect.left, c->header_height()};
    if (line >= top && line - top < c->rows) {
        const auto row = static_cast<pm::u32>(line - top), column = static_cast<pm::u32>(c->caret % bpl);
        const pm::Rect cell = c->active_view == pm::text_view ? pm::text_cell(*c, row, column)
                                                              : pm::hex_cell(*c, row, column);
        pt = POINT{cell.left, cell.bottom};
    }
    ClientToScreen(c->hwnd(), &pt);
    ShowContextMenu(c, pt);
}

void OnCommand(Control* c, WPARAM wp) {
    switch (wp) {
    case PMC_COPY_ANSI:
    case PMC_COPY_HEX:
    case PMC_COPY_DB_SEL:
    case PMC_COPY_DB_NOTSEL:
    case PMC_COPY_X_SEL:
    case PMC_COPY_X_NOTSEL: CopyToClipboard(c, static_cast<unsigned>(wp)); break;
    case PMC_FIND: ShowFindDialog(c); break;
    case PMC_SELECT: ShowSelectDialog(c); break;
    case PMC_PASTE: PasteFromClipboard(c); break;
    case PMC_UNDO: HistoryStep(c, false); break;
    case PMC_REDO: HistoryStep(c, true); break;
    default: break;
    }
}
