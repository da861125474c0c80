#include "spectrum/control/plot/appearance.h"

#include "controls/common/layout.h"

// The controls' own pixel arithmetic: a 64-bit (or wider) product, rounded half away from
// zero, clamped to the int range.
int ScalePenWidth(std::int32_t width, std::int32_t zoom, std::int32_t ppi) {
  return karvel::PenWidthPixels(width, ppi, zoom);
}

int ScaleFontHeight(std::int32_t height, std::int32_t zoom, std::int32_t ppi) {
  return karvel::MulDiv64(height, static_cast<std::int64_t>(ppi) * zoom, 7200);
}

int ScaleHundredthsMm(std::int32_t length, std::int32_t zoom, std::int32_t ppi) {
  return karvel::PenWidthPixels(length, ppi, zoom);
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
