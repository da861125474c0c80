#pragma once
// Menu copies for shared menus (the OLE layer's own sources only).
#include <vector>

#include "platform/ui/menu.h"

namespace plat::ole {

// Appends copies of every item of from (popups with all they hold) to to.
void copyMenuItems(const ui::Menu& from, ui::Menu& to);
// The command ids of the items at positions [first, first + count) of menu, popups included.
std::vector<ui::UINT> menuCommands(const ui::Menu& menu, int first, int count);

}  // namespace plat::ole
