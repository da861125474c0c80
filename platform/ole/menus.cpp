#include "platform/ole/menus.h"

#include <algorithm>
#include <memory>

namespace plat::ole {

namespace {

constexpr ui::UINT kKeptState = ui::MF_GRAYED | ui::MF_DISABLED | ui::MF_CHECKED | ui::MF_RADIOCHECK;

}  // namespace

void copyMenuItems(const ui::Menu& from, ui::Menu& to) {
  for (int i = 0; i < from.GetMenuItemCount(); ++i) {
    const auto position = static_cast<ui::UINT>(i);
    const ui::UINT state = from.GetMenuState(position, ui::MF_BYPOSITION);
    const std::string text = from.GetMenuString(position, ui::MF_BYPOSITION);
    if (state & ui::MF_POPUP) {
      auto sub = std::make_unique<ui::Menu>();
      sub->CreatePopupMenu();
      if (const ui::Menu* source = from.GetSubMenu(i)) copyMenuItems(*source, *sub);
      to.AppendPopup(std::move(sub), text, state & kKeptState);
    } else if (state & ui::MF_SEPARATOR) {
      to.AppendMenu(ui::MF_SEPARATOR);
    } else {
      to.AppendMenu(ui::MF_STRING | (state & kKeptState), from.GetMenuItemID(i), text);
    }
  }
}

std::vector<const ui::Menu*> mergeMenus(ui::Menu& shared, const ui::Menu& source, std::int32_t widths[6], int firstGroup) {
  std::vector<const ui::Menu*> inserted;
  int group = firstGroup;
  int position = 0;
  for (int g = 0; g < group; ++g) position += std::max(0, widths[g]);
  widths[group] = 0;
  for (int i = 0; i < source.GetMenuItemCount(); ++i) {
    const auto at = static_cast<ui::UINT>(i);
    const ui::UINT state = source.GetMenuState(at, ui::MF_BYPOSITION);
    const ui::Menu* popup = source.GetSubMenu(i);
    if (!popup && (state & ui::MF_SEPARATOR)) {
      if (group + 2 > 5) continue;
      position += std::max(0, widths[group + 1]);
      group += 2;
      widths[group] = 0;
      continue;
    }
    const std::string text = source.GetMenuString(at, ui::MF_BYPOSITION);
    if (popup) {
      if (popup->GetMenuItemCount() == 0) continue;
      auto copy = std::make_unique<ui::Menu>();
      copy->CreatePopupMenu();
      copyMenuItems(*popup, *copy);
      inserted.push_back(shared.InsertPopup(static_cast<ui::UINT>(position), std::move(copy), text, state & kKeptState));
    } else if (!text.empty()) {
      shared.InsertMenu(static_cast<ui::UINT>(position), ui::MF_BYPOSITION | ui::MF_STRING | (state & kKeptState),
                        source.GetMenuItemID(i), text);
    } else {
      continue;
    }
    ++position;
    ++widths[group];
  }
  return inserted;
}


}  // namespace plat::ole
