#include "controls/common/gdirecords.h"

namespace karvel {

gdi::LOGFONTA DefaultControlFont() {
  gdi::LOGFONTA font;
  font.lfHeight = 10;
  font.lfWeight = 400;
  gdi::SetFaceName(font, "Arial");
  return font;
}

gdi::LOGBRUSH DefaultBackgroundBrush() { return gdi::LOGBRUSH{gdi::BS_HOLLOW, 0xFFFFFF, 0}; }

gdi::LOGPEN SolidPen(std::int32_t width) { return gdi::LOGPEN{gdi::PS_SOLID, {width, width}, 0}; }

std::string_view CutUtf8(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  auto continuation = [&](std::size_t i) { return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; };
  // Step back to the start of the character that would be split; a character has at most three
  // continuation bytes, so more of them are no UTF-8 and are cut where they stand.
  std::size_t end = maxBytes;
  while (end > 0 && maxBytes - end < 3 && continuation(end)) --end;
  return continuation(end) ? text.substr(0, maxBytes) : text.substr(0, end);
}

}  // namespace karvel
