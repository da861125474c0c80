// The module's resource set, joined from the parts of its areas.
#include "spectrum/control/module/resources.h"

#include <algorithm>
#include <type_traits>

#include "platform/gdi/objects.h"

namespace nelvar {

std::vector<std::uint8_t> ToolbarStrip(std::span<const ui::UINT> items, std::span<const ButtonPicture> pictures) {
  static constexpr const char* kEmptyRow = "................";
  std::vector<const char*> rows;
  for (ui::UINT id : items) {
    if (id == 0) continue;
    const auto picture =
        std::find_if(pictures.begin(), pictures.end(), [id](const ButtonPicture& p) { return p.id == id; });
    for (int y = 0; y < kButtonHeight; ++y) rows.push_back(picture != pictures.end() ? picture->rows[y] : kEmptyRow);
  }
  return gdi::MakePixelArtBmp(kButtonWidth, kButtonHeight, rows);
}

namespace {

struct JoinedResources {
  JoinedResources() {
    const ui::ResourceSet* parts[] = {&CoreResources(),    &CommandResources(), &ToolbarResources(),
                                      &ConsoleResources(), &DialogResources(),  &PageResources(), &ContextResources(),
                                      &InterfaceResources()};
    auto all = [&](auto member) {
      using Span = std::remove_cvref_t<decltype(parts[0]->*member)>;
      std::vector<typename Span::value_type> joined;
      for (const ui::ResourceSet* p : parts) joined.insert(joined.end(), (p->*member).begin(), (p->*member).end());
      return joined;
    };
    strings = all(&ui::ResourceSet::strings);
    menus = all(&ui::ResourceSet::menus);
    accelerators = all(&ui::ResourceSet::accelerators);
    dialogs = all(&ui::ResourceSet::dialogs);
    toolbars = all(&ui::ResourceSet::toolbars);
    bitmaps = all(&ui::ResourceSet::bitmaps);
    cursors = all(&ui::ResourceSet::cursors);
    icons = all(&ui::ResourceSet::icons);
    set.moduleName = "nelvar";
    set.strings = strings;
    set.menus = menus;
    set.accelerators = accelerators;
    set.dialogs = dialogs;
    set.toolbars = toolbars;
    set.bitmaps = bitmaps;
    set.cursors = cursors;
    set.icons = icons;
  }
  std::vector<ui::StringResource> strings;
  std::vector<ui::MenuResource> menus;
  std::vector<ui::AccelResource> accelerators;
  std::vector<ui::DialogResource> dialogs;
  std::vector<ui::ToolbarResource> toolbars;
  std::vector<ui::BitmapResource> bitmaps;
  std::vector<ui::CursorResource> cursors;
  std::vector<ui::IconResource> icons;
  ui::ResourceSet set;
};

}  // namespace

const ui::ResourceSet& ModuleResources() {
  static const JoinedResources joined;
  return joined.set;
}

}  // namespace nelvar
