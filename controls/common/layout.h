#pragma once
// Pixel geometry that the controls compute before anything is drawn: points, rectangles, the
// lines and placed texts of a picture, and the grid that the table and the structure's field
// table stretch over their rectangle. The drawing code only draws what these hold.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "controls/common/gdirecords.h"

namespace karvel {

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  std::int32_t cx = 0;
  std::int32_t cy = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::int64_t Width() const { return std::int64_t(right) - left; }
  std::int64_t Height() const { return std::int64_t(bottom) - top; }
  bool operator==(const Rect&) const = default;
};

struct Line {
  Point from;
  Point to;
  bool operator==(const Line&) const = default;
};

// A text to draw with its top-left corner at origin, in the given font (height in pixels) and
// colour.
struct PlacedText {
  std::string text;
  Point origin;
  gdi::LOGFONTA font;
  gdi::COLORREF color = 0;
};

// The device a picture is laid out for: pixels per inch and the document zoom in percent.
struct DeviceInfo {
  std::int32_t dpiX = 96;
  std::int32_t dpiY = 96;
  std::int32_t zoom = 100;
};

// Text extents as the device will draw them; the drawing layer implements it.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  // The extent of text in font, whose height is already in device pixels.
  virtual Size Extent(std::string_view text, const gdi::LOGFONTA& font) = 0;
};

// a * b / c in 64 bits, rounded half away from zero and clamped to the 32-bit range; 0 when c
// is 0 (callers that must tell test the divisor first).
std::int32_t MulDiv64(std::int64_t a, std::int64_t b, std::int64_t c);
// A finite value truncated towards zero and clamped to the 32-bit range; 0 for NaN.
std::int32_t TruncToPixel(double v);
// The same, rounded half away from zero.
std::int32_t RoundToPixel(double v);
// A 64-bit coordinate clamped to the 32-bit range.
std::int32_t ClampPixel(std::int64_t v);
// A pen width in hundredths of a millimetre in pixels: MulDiv(width, dpi x zoom, 254000).
std::int32_t PenWidthPixels(std::int32_t width, std::int64_t dpi, std::int64_t zoom);
// A font whose height in points becomes MulDiv(height, dpi x zoom, 7200) pixels.
gdi::LOGFONTA ScaleFont(const gdi::LOGFONTA& font, std::int64_t dpi, std::int64_t zoom);

// A grid of columns and rows stretched over a rectangle, with one text per cell centred in it.
struct GridText {
  std::size_t column = 0;
  std::size_t row = 0;
  std::string text;
  Size extent;
  gdi::LOGFONTA font;
  gdi::COLORREF color = 0;
};

struct GridPicture {
  std::vector<Line> lines;
  std::vector<PlacedText> texts;
  // The cell rectangle of each text, in the order of texts.
  std::vector<Rect> cells;
};

// Column widths and row heights are the natural sizes; the grid is stretched to bounds by the
// factors MulDiv(size, 1000, total): a vertical line at each column start and one at the right
// edge, rows + 1 horizontal lines, each text centred in its cell. With a total width or height
// of 0 the grid is empty.
GridPicture StretchGrid(const Rect& bounds, const std::vector<std::int32_t>& columnWidths,
                        const std::vector<std::int32_t>& rowHeights, std::vector<GridText> texts);

}  // namespace karvel
