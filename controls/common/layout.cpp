#include "controls/common/layout.h"

#include <cmath>
#include <limits>

namespace karvel {

namespace {

constexpr std::int64_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kIntMax = std::numeric_limits<std::int32_t>::max();

// Running sums: sums[k] is the sum of the first k sizes.
std::vector<std::int64_t> PrefixSums(const std::vector<std::int32_t>& sizes) {
  std::vector<std::int64_t> sums(sizes.size() + 1, 0);
  for (std::size_t i = 0; i < sizes.size(); ++i) sums[i + 1] = sums[i] + sizes[i];
  return sums;
}

}  // namespace

std::int32_t MulDiv64(std::int64_t a, std::int64_t b, std::int64_t c) {
  if (c == 0) return 0;
  // A product beyond 64 bits is taken in long double; the result is clamped, never wrapped.
  const long double wide = static_cast<long double>(a) * b;
  if (std::fabs(wide) >= 9.0e18L) {
    const long double q = std::roundl(wide / c);
    return q >= kIntMax   ? static_cast<std::int32_t>(kIntMax)
           : q <= kIntMin ? static_cast<std::int32_t>(kIntMin)
                          : static_cast<std::int32_t>(q);
  }
  const std::int64_t product = a * b;
  std::int64_t q = product / c;
  const std::int64_t r = product % c;
  // Round half away from zero: compare twice the remainder with the divisor.
  const std::int64_t twice = r < 0 ? -2 * r : 2 * r;
  const std::int64_t divisor = c < 0 ? -c : c;
  if (twice >= divisor) q += ((product < 0) != (c < 0)) ? -1 : 1;
  return ClampPixel(q);
}

std::int32_t TruncToPixel(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(kIntMax)) return static_cast<std::int32_t>(kIntMax);
  if (v <= static_cast<double>(kIntMin)) return static_cast<std::int32_t>(kIntMin);
  return static_cast<std::int32_t>(v);
}

std::int32_t RoundToPixel(double v) { return TruncToPixel(v < 0 ? v - 0.5 : v + 0.5); }

std::int32_t ClampPixel(std::int64_t v) {
  return static_cast<std::int32_t>(v < kIntMin ? kIntMin : v > kIntMax ? kIntMax : v);
}

std::int32_t PenWidthPixels(std::int32_t width, std::int64_t dpi, std::int64_t zoom) {
  return MulDiv64(width, dpi * zoom, 254000);
}

gdi::LOGFONTA ScaleFont(const gdi::LOGFONTA& font, std::int64_t dpi, std::int64_t zoom) {
  gdi::LOGFONTA scaled = font;
  scaled.lfHeight = MulDiv64(font.lfHeight, dpi * zoom, 7200);
  return scaled;
}

GridPicture StretchGrid(const Rect& bounds, const std::vector<std::int32_t>& columnWidths,
                        const std::vector<std::int32_t>& rowHeights, std::vector<GridText> texts) {
  GridPicture picture;
  const std::vector<std::int64_t> xSums = PrefixSums(columnWidths);
  const std::vector<std::int64_t> ySums = PrefixSums(rowHeights);
  const std::int64_t totalWidth = xSums.back();
  const std::int64_t totalHeight = ySums.back();
  if (totalWidth <= 0 || totalHeight <= 0) return picture;

  const std::int32_t xs = MulDiv64(bounds.Width(), 1000, totalWidth);
  const std::int32_t ys = MulDiv64(bounds.Height(), 1000, totalHeight);
  auto xAt = [&](std::int64_t sum) { return ClampPixel(bounds.left + std::int64_t(MulDiv64(sum, xs, 1000))); };
  auto yAt = [&](std::int64_t sum) { return ClampPixel(bounds.top + std::int64_t(MulDiv64(sum, ys, 1000))); };

  for (std::size_t c = 0; c < columnWidths.size(); ++c) {
    const std::int32_t x = xAt(xSums[c]);
    picture.lines.push_back({{x, bounds.top}, {x, bounds.bottom}});
  }
  picture.lines.push_back({{bounds.right, bounds.top}, {bounds.right, bounds.bottom}});
  for (std::size_t k = 0; k < ySums.size(); ++k) {
    const std::int32_t y = yAt(ySums[k]);
    picture.lines.push_back({{bounds.left, y}, {bounds.right, y}});
  }

  for (GridText& t : texts) {
    if (t.column >= columnWidths.size() || t.row >= rowHeights.size()) continue;
    const Rect cell{xAt(xSums[t.column]), yAt(ySums[t.row]), xAt(xSums[t.column + 1]), yAt(ySums[t.row + 1])};
    const Point origin{ClampPixel((std::int64_t(cell.left) + cell.right) / 2 - t.extent.cx / 2),
                       ClampPixel((std::int64_t(cell.top) + cell.bottom) / 2 - t.extent.cy / 2)};
    picture.texts.push_back({std::move(t.text), origin, t.font, t.color});
    picture.cells.push_back(cell);
  }
  return picture;
}

}  // namespace karvel
