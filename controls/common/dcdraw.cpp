#include "controls/common/dcdraw.h"

namespace karvel {

Size DcTextMeasure::Extent(std::string_view text, const gdi::LOGFONTA& font) {
  const gdi::Font old = dc_.SelectObject(gdi::Font(font));
  const gdi::Size extent = dc_.GetTextExtent(text);
  dc_.SelectObject(old);
  return {extent.cx, extent.cy};
}

DeviceInfo DeviceOf(const gdi::DC& dc, std::int32_t zoom) {
  return {dc.GetDeviceCaps(gdi::LOGPIXELSX), dc.GetDeviceCaps(gdi::LOGPIXELSY), zoom};
}

void DrawLines(gdi::DC& dc, const std::vector<Line>& lines) {
  for (const Line& line : lines) {
    dc.MoveTo(line.from.x, line.from.y);
    dc.LineTo(line.to.x, line.to.y);
  }
}

void DrawTexts(gdi::DC& dc, const std::vector<PlacedText>& texts) {
  const gdi::Font oldFont = dc.GetCurrentFont();
  const gdi::COLORREF oldColor = dc.GetTextColor();
  for (const PlacedText& t : texts) {
    dc.SelectObject(gdi::Font(t.font));
    dc.SetTextColor(t.color);
    dc.TextOut(t.origin.x, t.origin.y, t.text);
  }
  dc.SelectObject(oldFont);
  dc.SetTextColor(oldColor);
}

}  // namespace karvel
