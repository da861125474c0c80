// The module's resource set, joined from the parts of its areas.
#include "spectrum/control/module/resources.h"

#include <cstring>
#include <type_traits>

#include "platform/gdi/types.h"

namespace nelvar {

namespace {

struct JoinedResources {
  JoinedResources() {
    const ui::ResourceSet* parts[] = {&CoreResources(),    &CommandResources(), &ToolbarResources(),
                                      &ConsoleResources(), &DialogResources(),  &PageResources()};
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

std::vector<std::uint8_t> MakeBitmap(int width, int height, ui::COLORREF (*color)(int x, int y)) {
  const int stride = (width * 3 + 3) & ~3;
  const auto imageSize = static_cast<std::uint32_t>(stride * height);
  std::vector<std::uint8_t> out(14 + 40 + imageSize, 0);
  auto put16 = [&](std::size_t at, std::uint16_t v) { std::memcpy(&out[at], &v, 2); };
  auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(&out[at], &v, 4); };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<std::uint32_t>(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  put16(26, 1);
  put16(28, 24);
  put32(34, imageSize);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const ui::COLORREF c = color(x, y);
      std::uint8_t* p = &out[54 + static_cast<std::size_t>((height - 1 - y) * stride + x * 3)];
      p[0] = static_cast<std::uint8_t>(gdi::GetBValue(c));
      p[1] = static_cast<std::uint8_t>(gdi::GetGValue(c));
      p[2] = static_cast<std::uint8_t>(gdi::GetRValue(c));
    }
  return out;
}

}  // namespace nelvar
