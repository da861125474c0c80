#include "spectrum/control/plot/appearance.h"

#include <limits>

namespace {

// a x zoom x ppi / divisor, rounded half away from zero, clamped to int.
int ScaleLength(std::int32_t a, std::int32_t zoom, std::int32_t ppi, std::int64_t divisor) {
  const __int128 product = static_cast<__int128>(a) * zoom * ppi;
  const __int128 magnitude = product < 0 ? -product : product;
  __int128 q = (magnitude + divisor / 2) / divisor;
  if (product < 0) q = -q;
  if (q > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (q < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(q);
}

}  // namespace

int ScalePenWidth(std::int32_t width, std::int32_t zoom, std::int32_t ppi) {
  return ScaleLength(width, zoom, ppi, 254000);
}

int ScaleFontHeight(std::int32_t height, std::int32_t zoom, std::int32_t ppi) {
  return ScaleLength(height, zoom, ppi, 7200);
}

int ScaleHundredthsMm(std::int32_t length, std::int32_t zoom, std::int32_t ppi) {
  return ScaleLength(length, zoom, ppi, 254000);
}

gdi::Size MeasureAlphabet(gdi::DC* dc) {
  return dc->GetTextExtent(std::string_view("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
}

gdi::LOGPEN MakeLogPen(gdi::UINT style, std::int32_t width, gdi::COLORREF color) {
  gdi::LOGPEN pen;
  pen.lopnStyle = style;
  pen.lopnWidth = {width, width};
  pen.lopnColor = color;
  return pen;
}

gdi::LOGFONTA MakeLogFont(std::int32_t height, std::int32_t weight, std::uint8_t italic, std::string_view face,
                          std::int32_t escapement) {
  gdi::LOGFONTA font;
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfItalic = italic;
  font.lfEscapement = escapement;
  gdi::SetFaceName(font, face);
  return font;
}
