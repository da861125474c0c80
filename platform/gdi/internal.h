#pragma once
// What the pieces of platform/gdi share among themselves: the implementation records behind the
// public classes, realized fonts, and the device interface every target implements. Private to
// platform/gdi.
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QRegion>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/metafile.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/types.h"

namespace gdi {

struct RasterSurface::Impl {
  QImage image;  // Format_RGB32
};

struct Region::Impl {
  QRegion region;
};

namespace detail {

// Qt's 0x00RRGGBB order of a COLORREF (no alpha), and back.
inline std::uint32_t RgbOf(COLORREF c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }
inline COLORREF ColorOf(std::uint32_t rgb) { return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16; }

// Truth tables: a binary raster operation (R2_*) over pen P and destination D, and a ternary one
// (the high word's low byte of a BitBlt code) over pattern P, source S and destination D, both
// evaluated on whole words.
std::uint32_t Rop2(int rop, std::uint32_t pen, std::uint32_t dst);
std::uint32_t Rop3(std::uint8_t code, std::uint32_t pat, std::uint32_t src, std::uint32_t dst);
inline std::uint8_t Rop3Code(DWORD rop) { return static_cast<std::uint8_t>(rop >> 16); }
inline bool Rop3UsesSource(std::uint8_t c) { return ((c >> 2) & 0x33) != (c & 0x33); }
inline bool Rop3UsesPattern(std::uint8_t c) { return ((c >> 4) & 0x0F) != (c & 0x0F); }
inline bool Rop3UsesDest(std::uint8_t c) { return ((c >> 1) & 0x55) != (c & 0x55); }
// The ternary code that draws a binary operation with the pattern as pen.
std::uint8_t Rop3OfRop2(int rop2);

// --- Fonts ------------------------------------------------------------------------------------

// A font made concrete at one device size: the face file, metrics in device pixels and the
// advance of each character rounded to whole pixels.
struct RealizedFont {
  QRawFont raw;           // at the em size
  std::string face;       // the face that draws
  std::u16string requestFace;  // the face the font asked for
  int requestHeight = 0;  // the device height asked for (lfHeight's sign rule)
  std::uint8_t charSet = 0;
  double emPixels = 0;
  double xScale = 1.0;    // lfWidth stretch
  int ascent = 0;
  int descent = 0;
  int internalLeading = 0;
  int externalLeading = 0;
  int aveCharWidth = 0;
  int maxCharWidth = 0;
  int weight = FW_NORMAL;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int underlinePos = 0;   // below the baseline
  int strikePos = 0;      // above the baseline
  int lineWidth = 1;
  int Height() const { return ascent + descent; }
  // Glyph and advance of a character (cached).
  void Glyph(char16_t c, std::uint32_t* glyph, int* advance) const;

  struct Cache;
  std::shared_ptr<Cache> cache;
};

// `heightPx` keeps lfHeight's sign rule (> 0 cell, < 0 em, 0 default) in device pixels.
std::shared_ptr<const RealizedFont> Realize(const LOGFONTW& font, int heightPx, int widthPx, int logPixelsY);

// A line of text laid out in device pixels, ready for a device.
struct TextRun {
  std::shared_ptr<const RealizedFont> font;
  std::u16string text;
  std::vector<std::uint32_t> glyphs;
  std::vector<int> advances;   // device pixels along the baseline
  int width = 0;               // sum of the advances
  QPointF origin;              // start of the baseline, device pixels
  double angle = 0;            // degrees, counter-clockwise
  int escapement = 0;          // tenths of a degree as the font has it
  COLORREF color = 0;
  bool opaque = false;         // fill the text's cell box with bkColor
  COLORREF bkColor = 0xFFFFFF;
  std::optional<Rect> opaqueRect;  // ETO_OPAQUE rectangle (device)
  std::optional<Rect> clipRect;    // ETO_CLIPPED rectangle (device)
  QPolygonF CellBox() const;       // the rotated box of width x height
};

// Draws a run through a painter in device pixels: the opaque rectangle, the cell box when
// opaque, underline and strike-out, the glyphs.
void PaintText(QPainter& painter, const TextRun& run, const QColor& ink, const QColor& background);

TextRun LayoutText(std::shared_ptr<const RealizedFont> font, std::u16string_view text, const int* dxDevice);

// --- Devices ----------------------------------------------------------------------------------

struct DevPen {
  bool null = false;
  COLORREF color = 0;
  int width = 1;            // device pixels, at least 1
  UINT style = PS_SOLID;    // dash styles only when width is 1
};

struct DevBrush {
  bool null = false;
  UINT style = BS_SOLID;
  COLORREF color = 0xFFFFFF;
  std::uint32_t hatch = 0;
  std::shared_ptr<const RasterSurface> pattern;
  Point origin;             // device
};

// The per-call attributes.
struct DevContext {
  int rop2 = R2_COPYPEN;
  int bkMode = OPAQUE;
  COLORREF bkColor = 0xFFFFFF;
  int polyFillMode = ALTERNATE;
  const QRegion* clip = nullptr;  // device pixels; null: no clip region
};

enum class ArcKind { Arc, Chord, Pie };

// Geometry shared by the devices: paths in device pixels that sample GDI's pixels.
QPainterPath EllipsePath(const Rect& r);
QPainterPath RoundRectPath(const Rect& r, int ellipseWidth, int ellipseHeight);
QPainterPath ArcPath(ArcKind kind, const Rect& r, Point start, Point end);
QPainterPath PolygonPath(const Point* points, const int* counts, int polygons, int fillMode);
// The path a pen of width > 1 strokes along a polyline (through pixel centres).
QPainterPath PolylinePath(const Point* points, int count, bool closed);
// 8 x 8 hatch: is the pixel at (x, y) (relative to the brush origin) on a hatch line?
bool HatchBit(std::uint32_t hatch, int x, int y);
// Lengths of the on and off runs of a one-pixel dash style (0-terminated).
const int* DashPattern(UINT style);

class Device {
 public:
  explicit Device(const DeviceCaps& caps) : caps_(caps) {}
  virtual ~Device() = default;
  const DeviceCaps& caps() const { return caps_; }
  void setCaps(const DeviceCaps& caps) { caps_ = caps; }

  virtual RasterSurface* surface() { return nullptr; }

  // Points in device pixels. A one-pixel pen leaves out the last point's pixel.
  virtual void polyline(const Point* points, int count, const DevPen& pen, const DevContext& ctx) = 0;
  virtual void polyPolygon(const Point* points, const int* counts, int polygons, const DevPen& pen,
                           const DevBrush& brush, const DevContext& ctx) = 0;
  // Rectangles are normalized and exclude right and bottom.
  virtual void rectangle(const Rect& r, const DevPen& pen, const DevBrush& brush, const DevContext& ctx) = 0;
  virtual void roundRect(const Rect& r, int ellipseWidth, int ellipseHeight, const DevPen& pen, const DevBrush& brush,
                         const DevContext& ctx) = 0;
  virtual void ellipse(const Rect& r, const DevPen& pen, const DevBrush& brush, const DevContext& ctx) = 0;
  virtual void arc(ArcKind kind, const Rect& r, Point start, Point end, const DevPen& pen, const DevBrush& brush,
                   const DevContext& ctx) = 0;
  virtual void patBlt(const Rect& r, DWORD rop, const DevBrush& brush, const DevContext& ctx) = 0;
  virtual void setPixel(Point p, COLORREF color, const DevContext& ctx) = 0;
  virtual COLORREF getPixel(Point) const { return CLR_INVALID; }
  virtual void text(const TextRun& run, const DevContext& ctx) = 0;
  // Copies srcRect of src onto dst (stretched to its size, nearest pixel) with a ternary code.
  virtual void blt(const Rect& dst, const RasterSurface& src, const Rect& srcRect, DWORD rop, const DevBrush& brush,
                   const DevContext& ctx) = 0;

  // A Windows-metafile recording writes the mapping calls as records (MM_*, origins, extents).
  enum class Mapping { Mode, WindowOrg, WindowExt, ViewportOrg, ViewportExt };
  virtual void mapping(Mapping, int, int) {}

  virtual int startDoc(std::u16string_view) { return 1; }
  virtual int startPage() { return 1; }
  virtual int endPage() { return 1; }
  virtual int endDoc() { return 1; }
  virtual int abortDoc() { return 1; }

 private:
  DeviceCaps caps_;
};

std::unique_ptr<Device> MakeRasterDevice(RasterSurface& surface, const DeviceCaps& caps);
// Draws through a painter the caller keeps; a PDF device owns its writer and painter.
std::unique_ptr<Device> MakePainterDevice(QPainter& painter, const DeviceCaps& caps, std::function<bool()> newPage);
std::unique_ptr<Device> MakePdfDevice(const std::string& path, const PdfPageSetup& page, DeviceCaps* caps);

// Recording devices: each call becomes records in the device pixels of the reference device.
// The EMF one gives the picture (null for any other device); the WMF one the file bytes, with a
// placeable header whose box is `bounds` (reference pixels).
std::unique_ptr<Device> MakeEmfDevice(const DeviceCaps& reference, const Rect* frame, std::u16string_view description);
EnhMetaFile FinishEmf(Device& device);
std::unique_ptr<Device> MakeWmfDevice(const DeviceCaps& reference);
// `bounds` null: the bounds of what was drawn.
std::vector<std::uint8_t> FinishWmf(Device& device, const Rect* bounds);

// --- Bitmap bytes -----------------------------------------------------------------------------

// A bottom-up 24-bit DIB (BITMAPINFOHEADER and bits) of part of a surface, for metafiles.
struct Dib {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> info;  // 40-byte header
  std::vector<std::uint8_t> bits;
};
Dib EncodeDib(const RasterSurface& surface, const Rect& part);
// A surface from a BITMAPINFO and its bits (metafile records); null when they do not describe one.
std::unique_ptr<RasterSurface> DecodeDib(std::span<const std::uint8_t> info, std::span<const std::uint8_t> bits,
                                         std::string* error);

// --- Little-endian cursor with a sticky failure -----------------------------------------------

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint8_t u8();
  std::uint16_t u16();
  std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
  std::uint32_t u32();
  std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
  float f32();
  Point point() { Point p; p.x = i32(); p.y = i32(); return p; }
  Rect rect() { Rect r; r.left = i32(); r.top = i32(); r.right = i32(); r.bottom = i32(); return r; }
  std::span<const std::uint8_t> take(std::size_t n);
  void skip(std::size_t n) { take(n); }
  void seek(std::size_t offset) {
    if (offset > bytes_.size()) failed_ = true;
    else pos_ = offset;
  }
  std::size_t pos() const { return pos_; }
  std::size_t left() const { return failed_ ? 0 : bytes_.size() - pos_; }
  bool ok() const { return !failed_; }
  void fail() { failed_ = true; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

class Writer {
 public:
  void u8(std::uint8_t v) { out_.push_back(v); }
  void u16(std::uint16_t v);
  void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
  void u32(std::uint32_t v);
  void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
  void f32(float v);
  void point(Point p) { i32(p.x); i32(p.y); }
  void rect(const Rect& r) { i32(r.left); i32(r.top); i32(r.right); i32(r.bottom); }
  void bytes(std::span<const std::uint8_t> b) { out_.insert(out_.end(), b.begin(), b.end()); }
  void pad4() { while (out_.size() % 4) out_.push_back(0); }
  void patch32(std::size_t at, std::uint32_t v);
  std::size_t size() const { return out_.size(); }
  std::vector<std::uint8_t>& data() { return out_; }

 private:
  std::vector<std::uint8_t> out_;
};

// Saves bytes to a file atomically (a temporary sibling renamed over the target).
bool SaveFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes);

// 8-bit text of the product (UTF-8, Windows-1252 for bytes that are not) to 16 bits.
std::u16string Widen(std::string_view text);

}  // namespace detail

struct EnhMetaFile::Impl {
  std::vector<std::uint8_t> bytes;
};

}  // namespace gdi
