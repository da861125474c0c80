#pragma once
// GDI objects as values: pens, brushes, fonts, bitmaps and regions, with the stored layouts the
// product keeps in its archives and profiles (LOGPEN 16 bytes, LOGBRUSH 12 bytes with the hatch
// as 32 bits, LOGFONTA 60 bytes, LOGFONTW 92 bytes; all little-endian).
//
// Pens, brushes and fonts are small values: copying one copies its description. A bitmap is a
// handle: copies share the same pixels, so drawing into a bitmap selected into a memory DC is
// seen through every copy. A default-constructed object is "null" (nothing created yet);
// selecting a null object into a DC changes nothing.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/types.h"

namespace gdi {

struct LOGPEN {
  UINT lopnStyle = PS_SOLID;
  Point lopnWidth;  // only x counts
  COLORREF lopnColor = 0;
  friend bool operator==(const LOGPEN&, const LOGPEN&) = default;
};

struct LOGBRUSH {
  UINT lbStyle = BS_SOLID;
  COLORREF lbColor = 0;
  std::uint32_t lbHatch = 0;
  friend bool operator==(const LOGBRUSH&, const LOGBRUSH&) = default;
};

constexpr int LF_FACESIZE = 32;

// The font layout in both widths: the numbers, then the face (UTF-8 or UTF-16, NUL-terminated).
template <class Char>
struct LogFont {
  std::int32_t lfHeight = 0;  // > 0: cell height, < 0: character (em) height, 0: default
  std::int32_t lfWidth = 0;
  std::int32_t lfEscapement = 0;  // tenths of a degree, counter-clockwise
  std::int32_t lfOrientation = 0;
  std::int32_t lfWeight = 0;
  std::uint8_t lfItalic = 0;
  std::uint8_t lfUnderline = 0;
  std::uint8_t lfStrikeOut = 0;
  std::uint8_t lfCharSet = 0;
  std::uint8_t lfOutPrecision = 0;
  std::uint8_t lfClipPrecision = 0;
  std::uint8_t lfQuality = 0;
  std::uint8_t lfPitchAndFamily = 0;
  Char lfFaceName[LF_FACESIZE] = {};
  friend bool operator==(const LogFont&, const LogFont&) = default;
};
using LOGFONTA = LogFont<char>;
using LOGFONTW = LogFont<char16_t>;

static_assert(sizeof(LOGPEN) == 16);
static_assert(sizeof(LOGBRUSH) == 12);
static_assert(sizeof(LOGFONTA) == 60);
static_assert(sizeof(LOGFONTW) == 92);

// The stored bytes of each layout, little-endian, and back. Loading takes exactly the layout's
// size; a face name without a terminator is cut at the last whole character before the end.
void StoreLogPen(const LOGPEN& pen, std::uint8_t out[16]);
LOGPEN LoadLogPen(const std::uint8_t in[16]);
void StoreLogBrush(const LOGBRUSH& brush, std::uint8_t out[12]);
LOGBRUSH LoadLogBrush(const std::uint8_t in[12]);
void StoreLogFont(const LOGFONTA& font, std::uint8_t out[60]);
LOGFONTA LoadLogFontA(const std::uint8_t in[60]);
void StoreLogFont(const LOGFONTW& font, std::uint8_t out[92]);
LOGFONTW LoadLogFontW(const std::uint8_t in[92]);

// Between the two font layouts. The 8-bit face is UTF-8, cut at 31 bytes on a character boundary.
LOGFONTW ToLogFontW(const LOGFONTA& font);
LOGFONTA ToLogFontA(const LOGFONTW& font);
void SetFaceName(LOGFONTA& font, std::string_view face);
void SetFaceName(LOGFONTW& font, std::u16string_view face);
std::string FaceNameOf(const LOGFONTA& font);
std::u16string FaceNameOf(const LOGFONTW& font);

// The face that draws a face name: Arial, Helvetica and "MS Sans Serif" are Liberation Sans,
// "Times New Roman" Liberation Serif, "Courier New" and Courier Liberation Mono, Symbol a symbol
// face where one is installed; every other name is Liberation Sans, so text widths never depend
// on what else the machine has. Case is ignored.
std::string MappedFaceName(std::string_view face);

class Pen {
 public:
  Pen() = default;
  Pen(UINT style, int width, COLORREF color);
  explicit Pen(const LOGPEN& pen);

  bool CreatePen(UINT style, int width, COLORREF color);
  bool CreatePenIndirect(const LOGPEN* pen);
  bool GetLogPen(LOGPEN* pen) const;
  void DeleteObject() { *this = Pen(); }
  bool IsNull() const { return !created_; }
  const LOGPEN& Log() const { return log_; }
  friend bool operator==(const Pen& a, const Pen& b);

 private:
  LOGPEN log_;
  bool created_ = false;
};

class Bitmap;

class Brush {
 public:
  Brush() = default;
  explicit Brush(COLORREF color);                 // solid
  Brush(int hatchStyle, COLORREF color);          // hatched
  explicit Brush(const LOGBRUSH& brush);
  explicit Brush(const Bitmap& pattern);          // pattern (tiles the bitmap)

  bool CreateSolidBrush(COLORREF color);
  bool CreateHatchBrush(int hatchStyle, COLORREF color);
  bool CreateBrushIndirect(const LOGBRUSH* brush);
  bool CreatePatternBrush(const Bitmap& pattern);
  bool GetLogBrush(LOGBRUSH* brush) const;
  void DeleteObject() { *this = Brush(); }
  bool IsNull() const { return !created_; }
  const LOGBRUSH& Log() const { return log_; }
  // The pattern of a BS_PATTERN brush (shared with the bitmap it was made from).
  const std::shared_ptr<const class RasterSurface>& Pattern() const { return pattern_; }
  friend bool operator==(const Brush& a, const Brush& b);

 private:
  LOGBRUSH log_;
  std::shared_ptr<const RasterSurface> pattern_;
  bool created_ = false;
};

// The description of a font as GetTextMetrics gives it, in logical units of the DC.
struct TEXTMETRIC {
  std::int32_t tmHeight = 0;
  std::int32_t tmAscent = 0;
  std::int32_t tmDescent = 0;
  std::int32_t tmInternalLeading = 0;
  std::int32_t tmExternalLeading = 0;
  std::int32_t tmAveCharWidth = 0;
  std::int32_t tmMaxCharWidth = 0;
  std::int32_t tmWeight = 0;
  std::uint8_t tmItalic = 0;
  std::uint8_t tmUnderlined = 0;
  std::uint8_t tmStruckOut = 0;
  std::uint8_t tmPitchAndFamily = 0;
  std::uint8_t tmCharSet = 0;
};

class Font {
 public:
  Font() = default;
  explicit Font(const LOGFONTA& font);
  explicit Font(const LOGFONTW& font);

  bool CreateFontIndirect(const LOGFONTA* font);
  bool CreateFontIndirect(const LOGFONTW* font);
  bool CreateFont(int height, int width, int escapement, int orientation, int weight, std::uint8_t italic,
                  std::uint8_t underline, std::uint8_t strikeOut, std::uint8_t charSet, std::uint8_t outPrecision,
                  std::uint8_t clipPrecision, std::uint8_t quality, std::uint8_t pitchAndFamily, std::string_view face);
  // Height in tenths of a point at the given resolution (the class library's CreatePointFont).
  bool CreatePointFont(int pointSize10, std::string_view face, int logPixelsY = 96);
  bool GetLogFont(LOGFONTA* font) const;
  bool GetLogFont(LOGFONTW* font) const;
  void DeleteObject() { *this = Font(); }
  bool IsNull() const { return !created_; }
  const LOGFONTW& Log() const { return log_; }
  friend bool operator==(const Font& a, const Font& b);

 private:
  LOGFONTW log_;
  bool created_ = false;
};

// What GetBitmap describes.
struct BITMAP {
  std::int32_t bmType = 0;
  std::int32_t bmWidth = 0;
  std::int32_t bmHeight = 0;
  std::int32_t bmWidthBytes = 0;
  std::uint16_t bmPlanes = 1;
  std::uint16_t bmBitsPixel = 32;
};

class RasterSurface;

// A .bmp file's bytes (file header, 24 bits per pixel, bottom-up rows) of a picture whose pixel
// (x, y) is color(x, y): how modules write the pictures they carry as resources.
std::vector<std::uint8_t> MakeBmp(int width, int height, COLORREF (*color)(int x, int y));

// The same for pictures drawn as text, a character a pixel, `height` rows of `width` characters
// each, the pictures of a strip one after another in `rows` and placed side by side. The letters
// are the sixteen colours of the classic palette: '.' the button face (192, 192, 192; toolbars
// leave it out), 'k' black, 'w' white, 'g' grey, 'r' 'R' dark and bright red, 'G' 'L' dark and
// bright green, 'Y' 'y' olive and yellow, 'b' 'B' navy and blue, 'm' 'M' purple and magenta,
// 'c' 'C' teal and cyan. Empty when a row has another length, a letter is not in the palette or
// the rows do not make whole pictures.
std::vector<std::uint8_t> MakePixelArtBmp(int width, int height, std::span<const char* const> rows);

class Bitmap {
 public:
  Bitmap() = default;

  // An off-screen 32-bit bitmap, white.
  bool CreateBitmap(int width, int height);
  // As the class library's CreateCompatibleBitmap: a bitmap the DC's pixels can be copied into.
  bool CreateCompatibleBitmap(const class DC& dc, int width, int height);
  // From BMP data: a resource (BITMAPINFOHEADER, colour table, bits) or a .bmp file (with its
  // 14-byte file header). 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or RLE; every
  // size and offset is checked. FALSE (and a reason in *error) for anything else.
  bool LoadBmp(std::span<const std::uint8_t> data, std::string* error = nullptr);

  bool GetBitmap(BITMAP* info) const;
  Size GetSize() const;
  void DeleteObject() { surface_.reset(); }
  bool IsNull() const { return !surface_; }
  // The pixels (shared with every copy of this bitmap).
  RasterSurface* Surface() const { return surface_.get(); }
  const std::shared_ptr<RasterSurface>& SharedSurface() const { return surface_; }
  static Bitmap Wrap(std::shared_ptr<RasterSurface> surface);
  friend bool operator==(const Bitmap& a, const Bitmap& b) { return a.surface_ == b.surface_; }

 private:
  std::shared_ptr<RasterSurface> surface_;
};

// A set of device pixels: rectangles, ellipses and polygons combined.
class Region {
 public:
  Region();
  ~Region();
  Region(const Region& other);
  Region& operator=(const Region& other);
  Region(Region&&) noexcept;
  Region& operator=(Region&&) noexcept;

  static Region FromRect(const Rect& rect);

  bool CreateRectRgn(int left, int top, int right, int bottom);
  bool CreateRectRgnIndirect(const Rect& rect) { return CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom); }
  bool CreateEllipticRgn(int left, int top, int right, int bottom);
  bool CreatePolygonRgn(const Point* points, int count, int fillMode);
  void SetRectRgn(int left, int top, int right, int bottom) { CreateRectRgn(left, top, right, bottom); }
  // this = a op b; answers NULLREGION, SIMPLEREGION or COMPLEXREGION (RGN_ERROR for a bad op).
  int CombineRgn(const Region& a, const Region& b, int mode);
  int CopyRgn(const Region& source);
  int OffsetRgn(int dx, int dy);
  bool PtInRegion(int x, int y) const;
  bool RectInRegion(const Rect& rect) const;  // any pixel of rect
  int GetRgnBox(Rect* box) const;
  bool EqualRgn(const Region& other) const;
  bool IsEmpty() const;
  // The region as disjoint rectangles, in bands from top to bottom.
  std::vector<Rect> Rects() const;
  void DeleteObject();

  struct Impl;
  Impl* impl() const { return impl_.get(); }

 private:
  std::unique_ptr<Impl> impl_;
};

// Stock objects (GetStockObject by kind).
Pen StockPen(int index);        // WHITE_PEN, BLACK_PEN, NULL_PEN
Brush StockBrush(int index);    // WHITE_BRUSH ... NULL_BRUSH
Font StockFont(int index);      // the font indexes
Brush GetSysColorBrush(int index);

}  // namespace gdi
