#pragma once
// The device context: one drawing interface over every target.
//
//  - a raster surface (DC(surface)): a window surface, or any off-screen surface;
//  - a memory DC (CreateCompatibleDC): draws into the Bitmap selected into it;
//  - a recording (CreateEnhMetaFile / CreateMetaFile): every call is kept as a record; closing
//    gives a picture that plays back onto any DC and is written as EMF or placeable WMF;
//  - a PDF document (CreatePdfDC), and printers through the ui layer (a DC over a QPainter).
//
// Pixel rules on every target: a pen of width 0 or 1 draws one pixel wide; a logical coordinate
// becomes a pixel through the mapping mode with truncation toward zero; a rectangle (and an
// ellipse's bounding box) excludes its right and bottom edges; a line excludes its last pixel.
// Raster operations (SetROP2, BitBlt's ternary codes) are exact on raster targets: drawing a
// mark twice with R2_XORPEN or SRCINVERT leaves every pixel as it was. Printers and PDF have no
// raster operations: a mark whose colour depends on the destination (XOR and the like) is not
// drawn there at all.
//
// Text is 8-bit (UTF-8, with Windows-1252 for bytes that are not UTF-8) or 16-bit; it is drawn
// without shaping, one glyph per character at its advance rounded to whole pixels, in the face
// the font-name table gives, so text extents are the same on every run and every machine.
//
// A DC without a target (default-constructed) draws nothing and answers zeros.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/gdi/objects.h"
#include "platform/gdi/types.h"

namespace gdi {

class RasterSurface;
class EnhMetaFile;
class MetaFile;

// Page of a PDF document: size in millimetres and the resolution of its device pixels. The
// device pixels cover the page less a margin on every side (a printer's unprintable edge):
// HORZRES and VERTRES are the printable area, PHYSICALOFFSETX and Y where it starts.
struct PdfPageSetup {
  double widthMm = 297.0;
  double heightMm = 210.0;
  double marginMm = 0.0;
  int dpi = 600;
  std::u16string title;
};

class DC {
 public:
  DC();
  explicit DC(RasterSurface& surface);
  ~DC();
  DC(DC&& other) noexcept;
  DC& operator=(DC&& other) noexcept;
  DC(const DC&) = delete;
  DC& operator=(const DC&) = delete;

  // A memory DC with the capabilities of `reference` (null: the screen). It holds a 1 x 1
  // bitmap until SelectObject(Bitmap) gives it one to draw into.
  static DC CreateCompatibleDC(const DC* reference);
  // A recording. `reference` gives the device whose pixels the logical units refer to (null:
  // the screen); `frame` is the picture's frame in 0.01 mm (null: the bounds of what was drawn);
  // `description` goes into the header ("KEDRUS").
  static DC CreateEnhMetaFile(const DC* reference, const Rect* frame, std::u16string_view description);
  // A recording for a Windows metafile (the same records, written as WMF on closing).
  static DC CreateMetaFile(const DC* reference);
  // Ends a recording DC and gives its picture (a null picture for any other DC). The DC keeps
  // no target afterwards.
  EnhMetaFile CloseEnhMetaFile();
  MetaFile CloseMetaFile();
  // A PDF document written to `path` when EndDoc runs; pages start with StartPage. With an empty
  // path nothing is ever written: the DC answers the page's capabilities (a metafile's
  // reference) and StartDoc fails.
  static DC CreatePdfDC(const std::string& path, const PdfPageSetup& page);

  bool IsValid() const;

  // --- Device -------------------------------------------------------------------------------
  int GetDeviceCaps(int index) const;
  const DeviceCaps& Caps() const;
  // The class library's printing mark: set for printers and PDF, and by the caller for
  // metafiles drawn for printing.
  bool IsPrinting() const;
  void SetPrinting(bool printing);

  // --- Objects ------------------------------------------------------------------------------
  // Each returns the object that was selected before.
  Pen SelectObject(const Pen& pen);
  Brush SelectObject(const Brush& brush);
  Font SelectObject(const Font& font);
  // Memory DCs only (a null Bitmap for any other DC).
  Bitmap SelectObject(const Bitmap& bitmap);
  // As SelectClipRgn(region): answers the clip region's kind.
  int SelectObject(const Region& region);
  void SelectStockObject(int index);
  Pen GetCurrentPen() const;
  Brush GetCurrentBrush() const;
  Font GetCurrentFont() const;
  Bitmap GetCurrentBitmap() const;

  // --- Attributes ---------------------------------------------------------------------------
  COLORREF SetTextColor(COLORREF color);
  COLORREF GetTextColor() const;
  COLORREF SetBkColor(COLORREF color);
  COLORREF GetBkColor() const;
  int SetBkMode(int mode);
  int GetBkMode() const;
  int SetROP2(int rop);
  int GetROP2() const;
  UINT SetTextAlign(UINT align);
  UINT GetTextAlign() const;
  int SetPolyFillMode(int mode);
  int GetPolyFillMode() const;
  int SetStretchBltMode(int mode);
  int GetStretchBltMode() const;
  Point SetBrushOrg(int x, int y);
  Point GetBrushOrg() const;

  // --- Mapping ------------------------------------------------------------------------------
  int SetMapMode(int mode);
  int GetMapMode() const;
  Point SetWindowOrg(int x, int y);
  Point GetWindowOrg() const;
  Point OffsetWindowOrg(int dx, int dy);
  Size SetWindowExt(int cx, int cy);
  Size GetWindowExt() const;
  Point SetViewportOrg(int x, int y);
  Point GetViewportOrg() const;
  Point OffsetViewportOrg(int dx, int dy);
  Size SetViewportExt(int cx, int cy);
  Size GetViewportExt() const;
  Size ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom);
  Size ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom);
  void LPtoDP(Point* points, int count = 1) const;
  void DPtoLP(Point* points, int count = 1) const;
  void LPtoDP(Rect* rect) const;
  void DPtoLP(Rect* rect) const;
  void LPtoDP(Size* size) const;  // lengths, without the origins
  void DPtoLP(Size* size) const;

  // --- State --------------------------------------------------------------------------------
  // SaveDC keeps the whole state (objects, colours, modes, mapping, clip, position) and answers
  // its level (1, 2, ...; 0 on failure). RestoreDC(-1) returns to the last one, RestoreDC(n) to
  // level n, dropping the levels above it.
  int SaveDC();
  bool RestoreDC(int saved);

  // --- Lines and shapes (logical coordinates) --------------------------------------------------
  Point MoveTo(int x, int y);
  Point MoveTo(Point p) { return MoveTo(p.x, p.y); }
  bool LineTo(int x, int y);
  bool LineTo(Point p) { return LineTo(p.x, p.y); }
  Point GetCurrentPosition() const;
  bool Polyline(const Point* points, int count);
  bool PolylineTo(const Point* points, int count);
  bool Polygon(const Point* points, int count);
  bool PolyPolygon(const Point* points, const int* counts, int polygons);
  bool Rectangle(int left, int top, int right, int bottom);
  bool Rectangle(const Rect& r) { return Rectangle(r.left, r.top, r.right, r.bottom); }
  bool RoundRect(int left, int top, int right, int bottom, int width, int height);
  bool Ellipse(int left, int top, int right, int bottom);
  bool Ellipse(const Rect& r) { return Ellipse(r.left, r.top, r.right, r.bottom); }
  // Arcs run counter-clockwise from the radial through (x1, y1) to the radial through (x2, y2).
  bool Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2);
  bool Chord(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2);
  bool Pie(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2);
  COLORREF SetPixel(int x, int y, COLORREF color);
  bool SetPixelV(int x, int y, COLORREF color);
  COLORREF GetPixel(int x, int y) const;

  // --- Fills --------------------------------------------------------------------------------
  void FillRect(const Rect& rect, const Brush& brush);
  void FillSolidRect(const Rect& rect, COLORREF color);
  void FrameRect(const Rect& rect, const Brush& brush);
  void InvertRect(const Rect& rect);
  // The dotted XOR rectangle of a focus or rubber band; drawing it twice erases it.
  void DrawFocusRect(const Rect& rect);
  void Draw3dRect(const Rect& rect, COLORREF topLeft, COLORREF bottomRight);
  // Edges in the system colours; BF_ADJUST shrinks *rect by the edge drawn.
  bool DrawEdge(Rect* rect, UINT edge, UINT flags);
  bool FillRgn(const Region& region, const Brush& brush);
  bool PaintRgn(const Region& region);
  bool FrameRgn(const Region& region, const Brush& brush, int width, int height);
  bool InvertRgn(const Region& region);

  // --- Text ---------------------------------------------------------------------------------
  bool TextOut(int x, int y, std::string_view text);
  bool TextOut(int x, int y, std::u16string_view text);
  // dx: the advance of each character in logical units (null: the font's).
  bool ExtTextOut(int x, int y, UINT options, const Rect* rect, std::string_view text, const int* dx = nullptr);
  bool ExtTextOut(int x, int y, UINT options, const Rect* rect, std::u16string_view text, const int* dx = nullptr);
  // Answers the height of the text drawn; with DT_CALCRECT measures only, setting rect's
  // right and bottom. "&" marks the next character as a mnemonic (underlined) unless DT_NOPREFIX.
  int DrawText(std::string_view text, Rect* rect, UINT format);
  int DrawText(std::u16string_view text, Rect* rect, UINT format);
  // The extent along the baseline and the cell height, in logical units, whatever the escapement.
  Size GetTextExtent(std::string_view text) const;
  Size GetTextExtent(std::u16string_view text) const;
  bool GetTextMetrics(TEXTMETRIC* metrics) const;
  std::string GetTextFace() const;  // the face that draws (after the font-name table)

  // --- Clipping (the clip region is kept in device pixels) ------------------------------------
  int SelectClipRgn(const Region* region, int mode = RGN_COPY);  // null with RGN_COPY: no clip
  int IntersectClipRect(int left, int top, int right, int bottom);
  int IntersectClipRect(const Rect& r) { return IntersectClipRect(r.left, r.top, r.right, r.bottom); }
  int ExcludeClipRect(int left, int top, int right, int bottom);
  int ExcludeClipRect(const Rect& r) { return ExcludeClipRect(r.left, r.top, r.right, r.bottom); }
  int OffsetClipRgn(int dx, int dy);
  int GetClipBox(Rect* rect) const;  // logical
  bool GetClipRgn(Region* region) const;  // FALSE without a clip region
  bool PtVisible(int x, int y) const;
  bool RectVisible(const Rect& rect) const;

  // --- Blocks -------------------------------------------------------------------------------
  // Raster operation `rop` over pattern (the current brush), source and destination. `source`
  // may be null for operations without a source.
  bool BitBlt(int x, int y, int width, int height, const DC* source, int xSrc, int ySrc, DWORD rop);
  bool StretchBlt(int x, int y, int width, int height, const DC* source, int xSrc, int ySrc, int srcWidth,
                  int srcHeight, DWORD rop);
  bool PatBlt(int x, int y, int width, int height, DWORD rop);
  // Draws the whole bitmap with its top-left at (x, y) (a memory DC is not needed).
  bool DrawBitmap(int x, int y, const Bitmap& bitmap, DWORD rop = SRCCOPY);

  // --- Pictures -----------------------------------------------------------------------------
  // Plays the picture scaled into rect (logical): its frame maps onto rect.
  bool PlayMetaFile(const EnhMetaFile& picture, const Rect& rect);

  // --- Documents (printer and PDF; elsewhere they succeed and do nothing) -----------------------
  int StartDoc(std::u16string_view docName);
  int StartPage();
  int EndPage();
  int EndDoc();
  int AbortDoc();

  struct Impl;
  Impl* impl() const { return impl_.get(); }
  explicit DC(std::unique_ptr<Impl> impl);

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace gdi
