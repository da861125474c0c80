#include "rodizora/doc/pagelayout.h"

#include <algorithm>

namespace sapage {

PageSize PageSizeFromPrinter(int widthMm, int heightMm) {
  if (widthMm <= 0 || heightMm <= 0) return {};
  return {widthMm * 4, heightMm * 4};
}

Band BandOf(int entry, int entries, int pageHeight) {
  if (entries <= 0) return {0, pageHeight};
  return {entry * pageHeight / entries, (entry + 1) * pageHeight / entries};
}

std::vector<gdi::Rect> StripRects(const Band& band, const std::vector<std::u16string>& keys, int pageWidth) {
  std::vector<std::u16string> distinct = keys;
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  const int strips = static_cast<int>(distinct.size());
  const int height = band.bottom - band.top;
  std::vector<gdi::Rect> rects;
  rects.reserve(keys.size());
  for (const std::u16string& key : keys) {
    const int j = static_cast<int>(std::lower_bound(distinct.begin(), distinct.end(), key) - distinct.begin());
    rects.emplace_back(0, band.top + j * height / strips, pageWidth, band.top + (j + 1) * height / strips);
  }
  return rects;
}

gdi::Rect ShrinkForTable(const gdi::Rect& rect, int pageHeight, int tableHeight) {
  if (pageHeight <= 0) return rect;
  const int kept = pageHeight - tableHeight;
  return {rect.left, gdi::MulDiv(rect.top, kept, pageHeight), rect.right, gdi::MulDiv(rect.bottom, kept, pageHeight)};
}

gdi::Rect TableRect(int pageWidth, int pageHeight, int tableHeight) {
  return {0, pageHeight - tableHeight + 2, pageWidth - 1, pageHeight - 1};
}

gdi::Rect KeepOnPage(const gdi::Rect& rect, const PageSize& page) {
  const auto along = [](int low, int high, int length) {
    // The shift that brings [low, high) inside [0, length), the low end first.
    if (high > length) return length - high < -low ? -low : length - high;
    return low < 0 ? -low : 0;
  };
  const int dx = along(rect.left, rect.right, page.width), dy = along(rect.top, rect.bottom, page.height);
  return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

gdi::Rect ClipToPage(const gdi::Rect& rect, const PageSize& page) {
  return {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, page.width), std::min(rect.bottom, page.height)};
}

gdi::Rect StructureRect(const gdi::Rect& spectrum, const ObjectPlacement& placement) {
  const int left = spectrum.left + placement.left;
  const int top = spectrum.top + placement.top;
  return {left, top, left + placement.width, top + placement.height};
}

std::vector<std::u16string> SplitPathList(std::u16string_view list) {
  constexpr std::u16string_view kBlanks = u" \t\r\n\v\f";
  std::vector<std::u16string> entries;
  for (;;) {
    const std::size_t plus = list.find(u'+');
    std::u16string_view entry = list.substr(0, plus);
    const std::size_t first = entry.find_first_not_of(kBlanks);
    entry = first == std::u16string_view::npos ? std::u16string_view() : entry.substr(first, entry.find_last_not_of(kBlanks) - first + 1);
    entries.emplace_back(entry);
    if (plus == std::u16string_view::npos) break;
    list.remove_prefix(plus + 1);
  }
  return entries;
}

}  // namespace sapage
