// The module's resources of the eight bars of the control besides the console: their titles,
// their buttons (an embedded control's place holds the control's id until the bar puts the
// control there; 0 is a gap), the button images, the knobs' captions and the baseline methods.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/gdi/objects.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/module/resources.h"

namespace nelvar {

namespace {

const ui::StringResource kStrings[] = {
    {3067, "Spectrum Control"},
    {3068, "Phase Control"},
    {3069, "Integral Control"},
    {3070, "Calibrate Control"},
    {3091, "Transforms"},
    {3092, "Cubic Splines"},
    {3093, "Linear"},
    {3094, "Cuadratic"},
    {3095, "Cubic"},
    {3096, "4-th Order"},
    {3097, "5-th Order"},
    {3098, "6-th Order"},
    {3099, "Baseline"},
    {3101, "Phase 0: %.2f deg"},
    {3102, "Phase 1: %.2f deg"},
    {3103, "Integral: %.f%%"},
    {3104, "Linear: %.2f%%"},
    {3105, "Amplitude: %.f%%"},
    {3111, "Multi Display"},
    {3120, "Navigator"},
};

constexpr ui::UINT kSpectrum[] = {1001, 0, 1045, 0, 40099, 40100, 40101, 40102, 40045, 40051, 40046};
constexpr ui::UINT kPhase[] = {1029, 0, 1030, 0, 40076, 40031, 40030, 40034, 40117, 40118, 40069};
constexpr ui::UINT kIntegral[] = {1003, 0, 1044, 0, 40109, 40070, 40056, 40039, 40104, 40124, 40138};
constexpr ui::UINT kPick[] = {40075, 40068, 40119, 40022, 40038, 40103};
constexpr ui::UINT kTransform[] = {40024, 40028, 40050, 40029};
constexpr ui::UINT kBaseline[] = {40080, 40081, 40082, 0, 1051, 0, 1054};
constexpr ui::UINT kMultiDisp[] = {1055, 0, 40150, 40151, 0, 40152, 40154, 40153};
constexpr ui::UINT kNavigate[] = {40164, 40162, 1060, 40161, 40165};

const ui::ToolbarResource kToolbars[] = {
    {IDW_SPECTRUMBAR, 16, 15, kSpectrum},   {IDW_PHASEBAR, 16, 15, kPhase},         {IDW_INTEGRALBAR, 16, 15, kIntegral},
    {IDW_PICKBAR, 16, 15, kPick},           {IDW_TRANSFORMBAR, 16, 15, kTransform}, {IDW_BASELINEBAR, 16, 15, kBaseline},
    {IDW_MULTIDISPBAR, 16, 15, kMultiDisp}, {IDW_NAVIGATEBAR, 16, 15, kNavigate},
};

// 16 x 15 images in a strip: a framed tile, each in the next colour of a small palette, with a
// mark whose height counts the image's place.
ui::COLORREF ButtonPixel(int x, int y) {
  static constexpr ui::COLORREF kPalette[] = {gdi::RGB(0, 0, 160),   gdi::RGB(0, 128, 0), gdi::RGB(160, 0, 0),
                                              gdi::RGB(0, 128, 128), gdi::RGB(128, 0, 128), gdi::RGB(128, 96, 0)};
  const int image = x / 16, cx = x % 16;
  if (cx < 2 || cx > 13 || y < 1 || y > 13) return gdi::RGB(192, 192, 192);
  if (cx == 2 || cx == 13 || y == 1 || y == 13) return gdi::RGB(0, 0, 0);
  const int mark = 1 + image % 9;
  if (cx >= 6 && cx <= 9 && y >= 12 - mark) return gdi::RGB(255, 255, 255);
  return kPalette[image % 6];
}

}  // namespace

const ui::ResourceSet& ToolbarResources() {
  static const std::vector<std::vector<std::uint8_t>> strips = [] {
    std::vector<std::vector<std::uint8_t>> made;
    for (const ui::ToolbarResource& tb : kToolbars) {
      int buttons = 0;
      for (ui::UINT id : tb.items) buttons += id != 0;
      made.push_back(gdi::MakeBmp(16 * buttons, 15, ButtonPixel));
    }
    return made;
  }();
  static const std::vector<ui::BitmapResource> bitmaps = [] {
    std::vector<ui::BitmapResource> made;
    for (std::size_t i = 0; i < std::size(kToolbars); ++i) made.push_back({kToolbars[i].id, strips[i]});
    return made;
  }();
  static const ui::ResourceSet part = [] {
    ui::ResourceSet s;
    s.strings = kStrings;
    s.toolbars = kToolbars;
    s.bitmaps = bitmaps;
    return s;
  }();
  return part;
}

}  // namespace nelvar
