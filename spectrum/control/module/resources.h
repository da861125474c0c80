#pragma once
// The module's resources: strings, menus, accelerators, dialogs, toolbars, bitmaps and cursors,
// compiled into NELVAR. Each area of the control keeps its own part in a file of its own
// (res_<area>.cpp); ModuleResources joins the parts into the one set the module state shows.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/ui/resource.h"

namespace nelvar {

// The picture of the button of command id: 16 x 15 pixels drawn as text, 15 rows of 16 letters
// (the letters of gdi::MakePixelArtBmp).
struct ButtonPicture {
  ui::UINT id;
  const char* const* rows;
};
constexpr int kButtonWidth = 16, kButtonHeight = 15;

// The image strip of a toolbar resource's items: each button's picture in order. A gap (0) takes
// no image; the place of an embedded control, which never shows as a button, an empty one.
std::vector<std::uint8_t> ToolbarStrip(std::span<const ui::UINT> items, std::span<const ButtonPicture> pictures);

// The parts, one per area. A part leaves empty what it does not hold.
const ui::ResourceSet& CoreResources();      // type name, menus, accelerators, bitmaps of the control
const ui::ResourceSet& CommandResources();   // command texts and the context menus
const ui::ResourceSet& ToolbarResources();   // the nine bars
const ui::ResourceSet& ConsoleResources();   // console bar and macro dialog
const ui::ResourceSet& DialogResources();    // value dialogs, import and export
const ui::ResourceSet& PageResources();      // property pages and their widgets
const ui::ResourceSet& ContextResources();   // context submenus, plot cursors, analysis texts
const ui::ResourceSet& InterfaceResources();  // custom interface, loading, list of choices, file dialogs

// Every part joined, in the order above; built on first use. A lookup finds the first entry
// of an id, so two parts never define the same id.
const ui::ResourceSet& ModuleResources();

}  // namespace nelvar
