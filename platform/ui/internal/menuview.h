#pragma once
// Menus shown through the toolkit (platform/ui sources only).
#include "platform/ui/menu.h"

class QMenu;
class QMenuBar;

namespace ui {

// Fills a menu bar with the top-level items of menu; choices post WM_COMMAND to the owner of
// their top-level popup (window's MenuPopupOwner), which also gets WM_INITMENUPOPUP before the
// popup shows.
void BuildMenuBar(QMenuBar* bar, Menu* menu, const Wnd& window);
// Fills a popup from a menu (its items' current state).
void FillQMenu(QMenu* qmenu, Menu* menu, HWND owner, bool postCommands);

}  // namespace ui
