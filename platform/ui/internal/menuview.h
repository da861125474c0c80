#pragma once
// Menus shown through the toolkit (platform/ui sources only).
#include "platform/ui/menu.h"

class QMenu;
class QMenuBar;

namespace ui {

// Fills a menu bar with the top-level items of menu; choices post WM_COMMAND to owner, and each
// popup gets WM_INITMENUPOPUP at owner before it shows.
void BuildMenuBar(QMenuBar* bar, Menu* menu, HWND owner);
// Fills a popup from a menu (its items' current state).
void FillQMenu(QMenu* qmenu, Menu* menu, HWND owner, bool postCommands);

}  // namespace ui
