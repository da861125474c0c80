#include "controls/common/gdirecords.h"

#include <cstring>

namespace karvel {

std::string_view LogFontA::FaceName() const { return std::string_view(lfFaceName, ::strnlen(lfFaceName, 32)); }

void LogFontA::SetFaceName(std::string_view face) {
  const std::string_view kept = CutUtf8(face, kFaceBytes);
  std::memset(lfFaceName, 0, sizeof lfFaceName);
  std::memcpy(lfFaceName, kept.data(), kept.size());
}

LogFontA DefaultControlFont() {
  LogFontA font;
  font.lfHeight = 10;
  font.lfWeight = 400;
  font.SetFaceName("Arial");
  return font;
}

LogBrush DefaultBackgroundBrush() { return LogBrush{kBrushHollow, 0xFFFFFF, 0}; }

LogPen SolidPen(std::int32_t width) { return LogPen{kPenSolid, width, width, 0}; }

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
