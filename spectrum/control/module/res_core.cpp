// The module's own resources: the control's type name and the page captions it is registered
// with, its accelerators, its toolbox picture and the pick mark.
#include "platform/gdi/objects.h"
#include "platform/ui/messages.h"
#include "platform/ui/styles.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/module/resources.h"

namespace nelvar {

namespace {

using ui::ACCEL;
using ui::FCONTROL;
using ui::FVIRTKEY;

const ui::StringResource kStrings[] = {
    {IDS_SPC, "Orvane Spectrum Control (Lite)"},
    {IDS_PAGE_SCALE, "Axis"},
    {IDS_PAGE_SPECTRUM, "Spectrum"},
    {IDS_PAGE_BORDER, "Border"},
    {IDS_PAGE_MISC, "Miscellaneous"},
    {IDS_PAGE_INTEGRAL, "Integrals"},
    {IDS_PAGE_TPEAKS, "Peak Labels 1"},
    {IDS_PAGE_INTEGSUMS, "Integral Sums"},
    {IDS_PAGE_GENERAL, "General"},
    {IDS_PAGE_BASELINE, "Baseline"},
    {IDS_PAGE_TEXT, "Text"},
    {IDS_PAGE_TITLE, "Title"},
    {IDS_PAGE_MPEAKS, "Peak Labels 2"},
    {IDS_PAGE_SCALEY, "Axis Y"},
};

constexpr ui::BYTE kCtrlKey = FVIRTKEY | FCONTROL;
const ACCEL kAccelerators[] = {
    {kCtrlKey, ui::VK_ADD, 40097},      {kCtrlKey, ui::VK_OEM_PLUS, 40097}, {kCtrlKey, ui::VK_SUBTRACT, 40098},
    {kCtrlKey, ui::VK_OEM_MINUS, 40098}, {kCtrlKey, ui::VK_LEFT, 40099},     {kCtrlKey, ui::VK_RIGHT, 40100},
    {kCtrlKey, ui::VK_UP, 40101},       {kCtrlKey, ui::VK_DOWN, 40102},     {kCtrlKey, 'I', 40039},
    {kCtrlKey, 'G', 40068},             {kCtrlKey, 'S', 40106},             {kCtrlKey, 'T', 40119},
    {FVIRTKEY, ui::VK_NEXT, 40161},     {FVIRTKEY, ui::VK_PRIOR, 40162},
};
const ui::AccelResource kAccelTables[] = {{IDR_ACCELERATORS, kAccelerators}};

// 16 x 15: a blue peak on a white ground with a black base line.
ui::COLORREF ToolboxPixel(int x, int y) {
  if (y == 13) return gdi::RGB(0, 0, 0);
  const int peak = 12 - 10 * (8 - (x > 7 ? x - 7 : 7 - x)) / 8;  // row of the trace at column x
  return y >= peak && y < 13 && x > 1 && x < 14 ? gdi::RGB(0, 0, 192) : gdi::RGB(255, 255, 255);
}

// 9 x 5: an arrow pointing down. It is drawn with XOR, so its white pixels invert the plot
// and the black ground leaves it as it is.
ui::COLORREF PickMarkPixel(int x, int y) {
  const int half = 4 - y;
  return x >= 4 - half && x <= 4 + half ? gdi::RGB(255, 255, 255) : gdi::RGB(0, 0, 0);
}

}  // namespace

const ui::ResourceSet& CoreResources() {
  static const std::vector<std::uint8_t> toolbox = gdi::MakeBmp(16, 15, ToolboxPixel);
  static const std::vector<std::uint8_t> pickMark = gdi::MakeBmp(9, 5, PickMarkPixel);
  static const ui::BitmapResource bitmaps[] = {{IDB_SPC, toolbox}, {IDB_PICKMARK, pickMark}};
  static const ui::ResourceSet part = [] {
    ui::ResourceSet s;
    s.strings = kStrings;
    s.accelerators = kAccelTables;
    s.bitmaps = bitmaps;
    return s;
  }();
  return part;
}

}  // namespace nelvar
