#pragma once
// Drawing what the layouts computed onto a device context: text extents measured on the DC
// itself, lines in the selected pen, texts in their own fonts and colours.
#include <vector>

#include "controls/common/layout.h"
#include "platform/gdi/dc.h"

namespace karvel {

// Text extents as the DC draws them (its current font is left as it was).
class DcTextMeasure : public TextMeasure {
 public:
  explicit DcTextMeasure(gdi::DC& dc) : dc_(dc) {}
  Size Extent(std::string_view text, const gdi::LOGFONTA& font) override;

 private:
  gdi::DC& dc_;
};

inline gdi::Rect ToGdi(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
inline Rect FromGdi(const gdi::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The device a DC draws on at the given zoom.
DeviceInfo DeviceOf(const gdi::DC& dc, std::int32_t zoom);

// Each line from its start to its end in the DC's current pen.
void DrawLines(gdi::DC& dc, const std::vector<Line>& lines);
// Each text at its origin in its font and colour; the DC's font and text colour are restored.
void DrawTexts(gdi::DC& dc, const std::vector<PlacedText>& texts);

// Draws into target at rect through an off-screen bitmap of rect's size, so the target sees the
// whole picture at once; paint(dc, rect) draws with rect at (0, 0).
template <class Paint>
void PaintOffscreen(gdi::DC& target, const gdi::Rect& rect, Paint paint) {
  const int w = rect.Width(), h = rect.Height();
  if (w <= 0 || h <= 0) return;
  gdi::DC memory = gdi::DC::CreateCompatibleDC(&target);
  gdi::Bitmap bitmap;
  bitmap.CreateCompatibleBitmap(target, w, h);
  memory.SelectObject(bitmap);
  paint(memory, gdi::Rect(0, 0, w, h));
  target.BitBlt(rect.left, rect.top, w, h, &memory, 0, 0, gdi::SRCCOPY);
}

}  // namespace karvel
