#include "controls/scroll/scrollstrip.h"

#include <algorithm>

#include "controls/common/layout.h"

namespace karvel {

void ScrollRange::Drag(std::int32_t dx, std::int32_t width) {
  if (points <= 0 || width <= 0) return;
  const std::int32_t last = points - 1;
  left = std::clamp(left, 0, last);
  right = std::clamp(right, left, last);
  std::int64_t d = MulDiv64(points, dx, width);
  if (d < 0 && left + d < 0) d = -left;
  if (d > 0 && right + d > last) d = last - right;
  left = static_cast<std::int32_t>(left + d);
  right = static_cast<std::int32_t>(right + d);
}

void PaintScrollStrip(gdi::DC& dc, const gdi::Rect& rect, int inset, const gdi::EnhMetaFile& picture,
                      const ScrollRange& range, bool raised) {
  dc.FillSolidRect(rect, gdi::GetSysColor(gdi::COLOR_MENU));
  if (!picture.IsNull()) {
    gdi::Rect inner = rect;
    inner.DeflateRect(inset, inset);
    if (range.points > 0 && !inner.IsRectEmpty()) {
      const std::int64_t w = inner.Width();
      const std::int32_t from = ClampPixel(inner.left + std::int64_t(MulDiv64(range.left, w, range.points)));
      std::int32_t to = ClampPixel(inner.left + std::int64_t(MulDiv64(range.right, w, range.points)));
      if (to <= from) to = from + 1;
      dc.FillSolidRect(gdi::Rect(from, inner.top, to, inner.bottom), gdi::GetSysColor(gdi::COLOR_WINDOW));
    }
    dc.PlayMetaFile(picture, inner);
  }
  const gdi::COLORREF light = gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT), dark = gdi::GetSysColor(gdi::COLOR_BTNSHADOW);
  if (raised) dc.Draw3dRect(rect, light, dark);
  else dc.Draw3dRect(rect, dark, light);
}

}  // namespace karvel
