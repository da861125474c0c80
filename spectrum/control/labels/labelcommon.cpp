#include "spectrum/control/labels/labelcommon.h"

#include <algorithm>

#include "platform/base/numtext.h"
#include "spectrum/control/plot/drawobjectlist.h"

namespace {
constexpr std::int32_t kMaxDecimals = 9;
}  // namespace

std::int32_t LabelDecimals(std::int32_t decimals) { return std::clamp(decimals, 0, kMaxDecimals); }

std::string FormatFixed(double value, std::int32_t decimals) {
  return plat::formatDouble(value, 'f', LabelDecimals(decimals));
}

void SelectXRange(CDrawObject& band, std::uint32_t flags, int x, int y) {
  band.CDrawObject::SetVerticalArea(flags, x, y);
  gdi::Rect& selection = band.GetOwner()->m_selection;
  selection.top = band.m_area.top;
  selection.bottom = band.m_area.bottom;
}
