#include "platform/ole/menus.h"

#include <memory>

namespace plat::ole {

namespace {

constexpr ui::UINT kKeptState = ui::MF_GRAYED | ui::MF_DISABLED | ui::MF_CHECKED | ui::MF_RADIOCHECK;

void collect(const ui::Menu& menu, int position, std::vector<ui::UINT>* out) {
  const ui::UINT state = menu.GetMenuState(static_cast<ui::UINT>(position), ui::MF_BYPOSITION);
  if (state == 0xFFFFFFFFu) return;
  if (state & ui::MF_POPUP) {
    if (const ui::Menu* sub = menu.GetSubMenu(position))
      for (int i = 0; i < sub->GetMenuItemCount(); ++i) collect(*sub, i, out);
  } else if (!(state & ui::MF_SEPARATOR)) {
    out->push_back(menu.GetMenuItemID(position));
  }
}

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

std::vector<ui::UINT> menuCommands(const ui::Menu& menu, int first, int count) {
  std::vector<ui::UINT> out;
  for (int i = first; i < first + count && i < menu.GetMenuItemCount(); ++i) collect(menu, i, &out);
  return out;
}

}  // namespace plat::ole
