#pragma once
// Menu copies for shared menus (the OLE layer's own sources only).
#include <cstdint>
#include <vector>

#include "platform/ui/menu.h"

namespace plat::ole {

// Appends copies of every item of from (popups with all they hold) to to.
void copyMenuItems(const ui::Menu& from, ui::Menu& to);
// Inserts copies of source's non-empty popups and items into shared, group by group: a
// top-level separator of source ends a group, and the next one is two further on (a container
// fills groups 0, 2 and 4, an object 1, 3 and 5). Group firstGroup starts after the groups shared
// already holds before it; the counts go to widths. Answers the popups inserted.
std::vector<const ui::Menu*> mergeMenus(ui::Menu& shared, const ui::Menu& source, std::int32_t widths[6], int firstGroup);

}  // namespace plat::ole
