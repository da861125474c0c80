#include "platform/gdi/objects.h"

#include <algorithm>
#include <cstring>

#include "platform/base/bytes.h"
#include "platform/base/text.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/internal.h"
#include "platform/gdi/surface.h"

namespace gdi {

// --- Stored layouts ---------------------------------------------------------------------------

void StoreLogPen(const LOGPEN& pen, std::uint8_t out[16]) {
  plat::storeLe32(out, pen.lopnStyle);
  plat::storeLe32(out + 4, static_cast<std::uint32_t>(pen.lopnWidth.x));
  plat::storeLe32(out + 8, static_cast<std::uint32_t>(pen.lopnWidth.y));
  plat::storeLe32(out + 12, pen.lopnColor);
}

LOGPEN LoadLogPen(const std::uint8_t in[16]) {
  LOGPEN pen;
  pen.lopnStyle = plat::loadLe32(in);
  pen.lopnWidth.x = static_cast<std::int32_t>(plat::loadLe32(in + 4));
  pen.lopnWidth.y = static_cast<std::int32_t>(plat::loadLe32(in + 8));
  pen.lopnColor = plat::loadLe32(in + 12);
  return pen;
}

void StoreLogBrush(const LOGBRUSH& brush, std::uint8_t out[12]) {
  plat::storeLe32(out, brush.lbStyle);
  plat::storeLe32(out + 4, brush.lbColor);
  plat::storeLe32(out + 8, brush.lbHatch);
}

LOGBRUSH LoadLogBrush(const std::uint8_t in[12]) {
  LOGBRUSH brush;
  brush.lbStyle = plat::loadLe32(in);
  brush.lbColor = plat::loadLe32(in + 4);
  brush.lbHatch = plat::loadLe32(in + 8);
  return brush;
}

namespace {

template <class F>
void storeFontNumbers(const F& f, std::uint8_t* out) {
  plat::storeLe32(out, static_cast<std::uint32_t>(f.lfHeight));
  plat::storeLe32(out + 4, static_cast<std::uint32_t>(f.lfWidth));
  plat::storeLe32(out + 8, static_cast<std::uint32_t>(f.lfEscapement));
  plat::storeLe32(out + 12, static_cast<std::uint32_t>(f.lfOrientation));
  plat::storeLe32(out + 16, static_cast<std::uint32_t>(f.lfWeight));
  const std::uint8_t bytes[8] = {f.lfItalic,       f.lfUnderline,     f.lfStrikeOut, f.lfCharSet,
                                 f.lfOutPrecision, f.lfClipPrecision, f.lfQuality,   f.lfPitchAndFamily};
  std::memcpy(out + 20, bytes, 8);
}

template <class F>
void loadFontNumbers(F& f, const std::uint8_t* in) {
  f.lfHeight = static_cast<std::int32_t>(plat::loadLe32(in));
  f.lfWidth = static_cast<std::int32_t>(plat::loadLe32(in + 4));
  f.lfEscapement = static_cast<std::int32_t>(plat::loadLe32(in + 8));
  f.lfOrientation = static_cast<std::int32_t>(plat::loadLe32(in + 12));
  f.lfWeight = static_cast<std::int32_t>(plat::loadLe32(in + 16));
  f.lfItalic = in[20];
  f.lfUnderline = in[21];
  f.lfStrikeOut = in[22];
  f.lfCharSet = in[23];
  f.lfOutPrecision = in[24];
  f.lfClipPrecision = in[25];
  f.lfQuality = in[26];
  f.lfPitchAndFamily = in[27];
}

template <class F, class T>
void copyFontNumbers(const F& from, T& to) {
  to.lfHeight = from.lfHeight;
  to.lfWidth = from.lfWidth;
  to.lfEscapement = from.lfEscapement;
  to.lfOrientation = from.lfOrientation;
  to.lfWeight = from.lfWeight;
  to.lfItalic = from.lfItalic;
  to.lfUnderline = from.lfUnderline;
  to.lfStrikeOut = from.lfStrikeOut;
  to.lfCharSet = from.lfCharSet;
  to.lfOutPrecision = from.lfOutPrecision;
  to.lfClipPrecision = from.lfClipPrecision;
  to.lfQuality = from.lfQuality;
  to.lfPitchAndFamily = from.lfPitchAndFamily;
}

// Length of a UTF-8 prefix of at most `limit` bytes that ends on a character boundary.
std::size_t utf8Cut(std::string_view s, std::size_t limit) {
  if (s.size() <= limit) return s.size();
  std::size_t n = limit;
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  return n;
}

}  // namespace

void StoreLogFont(const LOGFONTA& font, std::uint8_t out[60]) {
  storeFontNumbers(font, out);
  std::memcpy(out + 28, font.lfFaceName, LF_FACESIZE);
}

LOGFONTA LoadLogFontA(const std::uint8_t in[60]) {
  LOGFONTA font;
  loadFontNumbers(font, in);
  // A stored face without its terminator keeps its first 31 bytes, cut on a character boundary.
  const char* face = reinterpret_cast<const char*>(in + 28);
  const std::size_t len = strnlen(face, LF_FACESIZE);
  SetFaceName(font, std::string_view(face, len));
  return font;
}

void StoreLogFont(const LOGFONTW& font, std::uint8_t out[92]) {
  storeFontNumbers(font, out);
  for (int i = 0; i < LF_FACESIZE; ++i) plat::storeLe16(out + 28 + 2 * i, font.lfFaceName[i]);
}

LOGFONTW LoadLogFontW(const std::uint8_t in[92]) {
  LOGFONTW font;
  loadFontNumbers(font, in);
  std::u16string face;
  for (int i = 0; i < LF_FACESIZE; ++i) {
    const char16_t c = plat::loadLe16(in + 28 + 2 * i);
    if (c == 0) break;
    face.push_back(c);
  }
  SetFaceName(font, face);
  return font;
}

void SetFaceName(LOGFONTA& font, std::string_view face) {
  std::memset(font.lfFaceName, 0, LF_FACESIZE);
  std::memcpy(font.lfFaceName, face.data(), utf8Cut(face, LF_FACESIZE - 1));
}

void SetFaceName(LOGFONTW& font, std::u16string_view face) {
  std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), u'\0');
  std::size_t n = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
  // Never keep half of a surrogate pair.
  if (n > 0 && n < face.size() && face[n - 1] >= 0xD800 && face[n - 1] < 0xDC00) --n;
  std::copy_n(face.begin(), n, font.lfFaceName);
}

std::string FaceNameOf(const LOGFONTA& font) { return std::string(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE)); }

std::u16string FaceNameOf(const LOGFONTW& font) {
  std::u16string s;
  for (char16_t c : font.lfFaceName) {
    if (c == 0) break;
    s.push_back(c);
  }
  return s;
}

LOGFONTW ToLogFontW(const LOGFONTA& font) {
  LOGFONTW w;
  copyFontNumbers(font, w);
  SetFaceName(w, plat::toUtf16(FaceNameOf(font)));
  return w;
}

LOGFONTA ToLogFontA(const LOGFONTW& font) {
  LOGFONTA a;
  copyFontNumbers(font, a);
  SetFaceName(a, plat::toUtf8(FaceNameOf(font)));
  return a;
}

// --- Pens -------------------------------------------------------------------------------------

Pen::Pen(UINT style, int width, COLORREF color) { CreatePen(style, width, color); }
Pen::Pen(const LOGPEN& pen) { CreatePenIndirect(&pen); }

bool Pen::CreatePen(UINT style, int width, COLORREF color) {
  LOGPEN pen;
  pen.lopnStyle = style;
  pen.lopnWidth = {width, 0};
  pen.lopnColor = color;
  return CreatePenIndirect(&pen);
}

bool Pen::CreatePenIndirect(const LOGPEN* pen) {
  if (!pen || (pen->lopnStyle & PS_STYLE_MASK) > PS_INSIDEFRAME) return false;
  log_ = *pen;
  created_ = true;
  return true;
}

bool Pen::GetLogPen(LOGPEN* pen) const {
  if (!created_ || !pen) return false;
  *pen = log_;
  return true;
}

bool operator==(const Pen& a, const Pen& b) {
  return a.created_ == b.created_ && a.log_.lopnStyle == b.log_.lopnStyle && a.log_.lopnWidth.x == b.log_.lopnWidth.x &&
         a.log_.lopnColor == b.log_.lopnColor;
}

// --- Brushes ----------------------------------------------------------------------------------

Brush::Brush(COLORREF color) { CreateSolidBrush(color); }
Brush::Brush(int hatchStyle, COLORREF color) { CreateHatchBrush(hatchStyle, color); }
Brush::Brush(const LOGBRUSH& brush) { CreateBrushIndirect(&brush); }
Brush::Brush(const Bitmap& pattern) { CreatePatternBrush(pattern); }

bool Brush::CreateSolidBrush(COLORREF color) {
  const LOGBRUSH b{BS_SOLID, color, 0};
  return CreateBrushIndirect(&b);
}

bool Brush::CreateHatchBrush(int hatchStyle, COLORREF color) {
  const LOGBRUSH b{BS_HATCHED, color, static_cast<std::uint32_t>(hatchStyle)};
  return CreateBrushIndirect(&b);
}

bool Brush::CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush) return false;
  if (brush->lbStyle == BS_HATCHED && brush->lbHatch > HS_DIAGCROSS) return false;
  log_ = *brush;
  // A stored pattern brush has no pixels to refer to; it is taken as a solid one.
  if (log_.lbStyle != BS_SOLID && log_.lbStyle != BS_NULL && log_.lbStyle != BS_HATCHED) log_.lbStyle = BS_SOLID;
  pattern_.reset();
  created_ = true;
  return true;
}

bool Brush::CreatePatternBrush(const Bitmap& pattern) {
  if (pattern.IsNull()) return false;
  log_ = LOGBRUSH{BS_PATTERN, 0, 0};
  // The brush keeps the pixels it was made with.
  pattern_ = std::make_shared<const RasterSurface>(*pattern.Surface());
  created_ = true;
  return true;
}

bool Brush::GetLogBrush(LOGBRUSH* brush) const {
  if (!created_ || !brush) return false;
  *brush = log_;
  return true;
}

bool operator==(const Brush& a, const Brush& b) {
  return a.created_ == b.created_ && a.log_.lbStyle == b.log_.lbStyle && a.log_.lbColor == b.log_.lbColor &&
         a.log_.lbHatch == b.log_.lbHatch && a.pattern_ == b.pattern_;
}

// --- Fonts ------------------------------------------------------------------------------------

Font::Font(const LOGFONTA& font) { CreateFontIndirect(&font); }
Font::Font(const LOGFONTW& font) { CreateFontIndirect(&font); }

bool Font::CreateFontIndirect(const LOGFONTA* font) {
  if (!font) return false;
  log_ = ToLogFontW(*font);
  created_ = true;
  return true;
}

bool Font::CreateFontIndirect(const LOGFONTW* font) {
  if (!font) return false;
  log_ = *font;
  SetFaceName(log_, FaceNameOf(*font));  // always terminated
  created_ = true;
  return true;
}

bool Font::CreateFont(int height, int width, int escapement, int orientation, int weight, std::uint8_t italic,
                      std::uint8_t underline, std::uint8_t strikeOut, std::uint8_t charSet, std::uint8_t outPrecision,
                      std::uint8_t clipPrecision, std::uint8_t quality, std::uint8_t pitchAndFamily,
                      std::string_view face) {
  LOGFONTA f;
  f.lfHeight = height;
  f.lfWidth = width;
  f.lfEscapement = escapement;
  f.lfOrientation = orientation;
  f.lfWeight = weight;
  f.lfItalic = italic;
  f.lfUnderline = underline;
  f.lfStrikeOut = strikeOut;
  f.lfCharSet = charSet;
  f.lfOutPrecision = outPrecision;
  f.lfClipPrecision = clipPrecision;
  f.lfQuality = quality;
  f.lfPitchAndFamily = pitchAndFamily;
  SetFaceName(f, face);
  return CreateFontIndirect(&f);
}

bool Font::CreatePointFont(int pointSize10, std::string_view face, int logPixelsY) {
  LOGFONTA f;
  f.lfHeight = -MulDiv(pointSize10, logPixelsY, 720);
  f.lfWeight = FW_NORMAL;
  SetFaceName(f, face);
  return CreateFontIndirect(&f);
}

bool Font::GetLogFont(LOGFONTA* font) const {
  if (!created_ || !font) return false;
  *font = ToLogFontA(log_);
  return true;
}

bool Font::GetLogFont(LOGFONTW* font) const {
  if (!created_ || !font) return false;
  *font = log_;
  return true;
}

bool operator==(const Font& a, const Font& b) {
  if (a.created_ != b.created_) return false;
  std::uint8_t x[92], y[92];
  StoreLogFont(a.log_, x);
  StoreLogFont(b.log_, y);
  return std::memcmp(x, y, sizeof x) == 0;
}

std::string MappedFaceName(std::string_view face) {
  const std::string_view name = plat::trim(face);
  struct Row {
    const char* name;
    const char* face;
  };
  static constexpr Row kTable[] = {
      {"Arial", "Liberation Sans"},          {"Helvetica", "Liberation Sans"},
      {"MS Sans Serif", "Liberation Sans"},  {"MS Shell Dlg", "Liberation Sans"},
      {"MS Shell Dlg 2", "Liberation Sans"}, {"System", "Liberation Sans"},
      {"Times New Roman", "Liberation Serif"}, {"Times", "Liberation Serif"},
      {"MS Serif", "Liberation Serif"},      {"Courier New", "Liberation Mono"},
      {"Courier", "Liberation Mono"},        {"Fixedsys", "Liberation Mono"},
      {"Terminal", "Liberation Mono"},       {"Symbol", "Symbol"},
      {"Liberation Sans", "Liberation Sans"}, {"Liberation Serif", "Liberation Serif"},
      {"Liberation Mono", "Liberation Mono"},
  };
  for (const Row& row : kTable)
    if (plat::equalsNoCase(name, row.name)) return row.face;
  return "Liberation Sans";
}

// --- Bitmaps ----------------------------------------------------------------------------------

bool Bitmap::CreateBitmap(int width, int height) {
  // At most 64 M pixels: a page at 600 pixels per inch fits, a hostile size does not.
  if (width <= 0 || height <= 0 || static_cast<std::int64_t>(width) * height > (std::int64_t(1) << 26)) return false;
  surface_ = std::make_shared<RasterSurface>(width, height, RGB(255, 255, 255));
  return true;
}

bool Bitmap::CreateCompatibleBitmap(const DC& dc, int width, int height) {
  if (!CreateBitmap(width, height)) return false;
  surface_->SetResolution(dc.Caps().logPixelsX, dc.Caps().logPixelsY);
  return true;
}

bool Bitmap::GetBitmap(BITMAP* info) const {
  if (!surface_ || !info) return false;
  info->bmType = 0;
  info->bmWidth = surface_->Width();
  info->bmHeight = surface_->Height();
  info->bmWidthBytes = surface_->Width() * 4;
  info->bmPlanes = 1;
  info->bmBitsPixel = 32;
  return true;
}

Size Bitmap::GetSize() const { return surface_ ? surface_->GetSize() : Size{}; }

Bitmap Bitmap::Wrap(std::shared_ptr<RasterSurface> surface) {
  Bitmap b;
  b.surface_ = std::move(surface);
  return b;
}

// --- Stock objects ----------------------------------------------------------------------------

Pen StockPen(int index) {
  switch (index) {
    case WHITE_PEN: return Pen(PS_SOLID, 0, RGB(255, 255, 255));
    case NULL_PEN: return Pen(PS_NULL, 0, 0);
    default: return Pen(PS_SOLID, 0, 0);
  }
}

Brush StockBrush(int index) {
  switch (index) {
    case LTGRAY_BRUSH: return Brush(RGB(192, 192, 192));
    case GRAY_BRUSH: return Brush(RGB(128, 128, 128));
    case DKGRAY_BRUSH: return Brush(RGB(64, 64, 64));
    case BLACK_BRUSH: return Brush(RGB(0, 0, 0));
    case NULL_BRUSH: return Brush(LOGBRUSH{BS_NULL, 0, 0});
    default: return Brush(RGB(255, 255, 255));
  }
}

Font StockFont(int index) {
  LOGFONTA f;
  f.lfWeight = FW_NORMAL;
  switch (index) {
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT:
      f.lfHeight = 12;
      f.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
      SetFaceName(f, "Courier New");
      break;
    case ANSI_VAR_FONT:
    case DEFAULT_GUI_FONT:
      f.lfHeight = -11;  // 8 points at 96 pixels per inch
      SetFaceName(f, "MS Sans Serif");
      break;
    default:  // SYSTEM_FONT, DEVICE_DEFAULT_FONT
      f.lfHeight = 16;
      f.lfWeight = FW_BOLD;
      SetFaceName(f, "System");
      break;
  }
  return Font(f);
}

Brush GetSysColorBrush(int index) { return Brush(GetSysColor(index)); }

}  // namespace gdi
