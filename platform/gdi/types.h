#pragma once
// The plain types of drawing: colours, points, sizes and rectangles, the capabilities of a
// device, and the numbers (raster operations, styles, modes, flags) the product draws with.
//
// Colours are COLORREF values 0x00BBGGRR everywhere: red in the low byte. Rectangles exclude
// their right and bottom edges. The numbers follow the published conventions of the platform the
// product was written for, because pens, brushes and fonts are stored with them.
#include <algorithm>
#include <cstdint>

namespace gdi {

using COLORREF = std::uint32_t;
using UINT = std::uint32_t;
using DWORD = std::uint32_t;

constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b) {
  return static_cast<COLORREF>((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16);
}
constexpr unsigned GetRValue(COLORREF c) { return c & 0xFF; }
constexpr unsigned GetGValue(COLORREF c) { return c >> 8 & 0xFF; }
constexpr unsigned GetBValue(COLORREF c) { return c >> 16 & 0xFF; }
// What GetPixel answers outside the surface or clip, and SetTextColor on a DC without target.
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// a * b / c with a 64-bit product, rounded half away from zero; -1 when c is 0 (callers that
// use the result as a coordinate test the divisor first).
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  std::int32_t cx = 0;
  std::int32_t cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

namespace detail {
// Rectangle arithmetic wraps around in 32 bits, as the platform's does (the width of a rectangle
// from the "default position" 0x80000000 to 0 is 0x80000000 again), without overflowing.
constexpr std::int32_t Wrap(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); }
constexpr std::int32_t Saturate(std::int64_t v) {
  return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : static_cast<std::int32_t>(v);
}
}  // namespace detail

// A rectangle of the platform: the pixels from left to right - 1 and top to bottom - 1.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  constexpr Rect() = default;
  constexpr Rect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) : left(l), top(t), right(r), bottom(b) {}
  constexpr Rect(Point topLeft, Size size)
      : left(topLeft.x),
        top(topLeft.y),
        right(detail::Wrap(std::int64_t(topLeft.x) + size.cx)),
        bottom(detail::Wrap(std::int64_t(topLeft.y) + size.cy)) {}

  constexpr std::int32_t Width() const { return detail::Wrap(std::int64_t(right) - left); }
  constexpr std::int32_t Height() const { return detail::Wrap(std::int64_t(bottom) - top); }
  constexpr Size GetSize() const { return {Width(), Height()}; }
  constexpr Point TopLeft() const { return {left, top}; }
  constexpr Point BottomRight() const { return {right, bottom}; }
  constexpr Point CenterPoint() const {
    return {detail::Wrap(std::int64_t(left) + Width() / 2), detail::Wrap(std::int64_t(top) + Height() / 2)};
  }
  constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
  constexpr bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  constexpr bool PtInRect(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  constexpr void SetRect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) { *this = Rect(l, t, r, b); }
  constexpr void SetRectEmpty() { *this = Rect(); }
  constexpr void OffsetRect(std::int32_t dx, std::int32_t dy) {
    left = detail::Wrap(std::int64_t(left) + dx);
    right = detail::Wrap(std::int64_t(right) + dx);
    top = detail::Wrap(std::int64_t(top) + dy);
    bottom = detail::Wrap(std::int64_t(bottom) + dy);
  }
  constexpr void InflateRect(std::int32_t dx, std::int32_t dy) {
    left = detail::Wrap(std::int64_t(left) - dx);
    right = detail::Wrap(std::int64_t(right) + dx);
    top = detail::Wrap(std::int64_t(top) - dy);
    bottom = detail::Wrap(std::int64_t(bottom) + dy);
  }
  constexpr void DeflateRect(std::int32_t dx, std::int32_t dy) { InflateRect(detail::Wrap(-std::int64_t(dx)), detail::Wrap(-std::int64_t(dy))); }
  constexpr void NormalizeRect() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
  }
  // Both return FALSE (and leave an empty rectangle) when the result is empty.
  constexpr bool IntersectRect(const Rect& a, const Rect& b) {
    *this = Rect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom));
    if (IsRectEmpty()) {
      SetRectEmpty();
      return false;
    }
    return true;
  }
  constexpr bool UnionRect(const Rect& a, const Rect& b) {
    if (a.IsRectEmpty()) *this = b;
    else if (b.IsRectEmpty()) *this = a;
    else *this = Rect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom));
    if (IsRectEmpty()) {
      SetRectEmpty();
      return false;
    }
    return true;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

static_assert(sizeof(Point) == 8 && sizeof(Size) == 8 && sizeof(Rect) == 16);

// Device technologies (GetDeviceCaps(TECHNOLOGY)).
constexpr int DT_PLOTTER = 0, DT_RASDISPLAY = 1, DT_RASPRINTER = 2, DT_METAFILE = 5;

// What a device is: its size in pixels and millimetres, its resolution and its kind.
struct DeviceCaps {
  int technology = DT_RASDISPLAY;
  int horzRes = 0;          // printable width in pixels
  int vertRes = 0;          // printable height in pixels
  int logPixelsX = 96;      // pixels per inch
  int logPixelsY = 96;
  int bitsPixel = 32;
  int physicalWidth = 0;    // whole page in pixels (printers); 0: the printable size
  int physicalHeight = 0;
  int physicalOffsetX = 0;  // printable area's offset on the page (printers)
  int physicalOffsetY = 0;
  // Millimetres of the printable area, from the pixels and the resolution.
  int HorzSizeMm() const;
  int VertSizeMm() const;
};

// The screen every DC without a device of its own refers to, at 96 pixels per inch: the
// display's size where the window layer runs on one (SetDisplaySize), else 1920 x 1080, so that
// headless layouts and metafile frames are the same on every machine.
DeviceCaps ScreenCaps();
// Called by the window layer with the display's size in its pixels (0, 0: no display).
void SetDisplaySize(int width, int height);

// GetDeviceCaps indexes.
constexpr int TECHNOLOGY = 2, HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, BITSPIXEL = 12,
              PLANES = 14, NUMBRUSHES = 16, NUMPENS = 18, NUMFONTS = 22, NUMCOLORS = 24, ASPECTX = 40,
              ASPECTY = 42, ASPECTXY = 44, RASTERCAPS = 38, LOGPIXELSX = 88, LOGPIXELSY = 90,
              SIZEPALETTE = 104, PHYSICALWIDTH = 110, PHYSICALHEIGHT = 111, PHYSICALOFFSETX = 112,
              PHYSICALOFFSETY = 113;
// RASTERCAPS bits.
constexpr int RC_BITBLT = 0x1, RC_BITMAP64 = 0x8, RC_STRETCHBLT = 0x800, RC_DI_BITMAP = 0x80;

// Binary raster operations (SetROP2).
constexpr int R2_BLACK = 1, R2_NOTMERGEPEN = 2, R2_MASKNOTPEN = 3, R2_NOTCOPYPEN = 4, R2_MASKPENNOT = 5,
              R2_NOT = 6, R2_XORPEN = 7, R2_NOTMASKPEN = 8, R2_MASKPEN = 9, R2_NOTXORPEN = 10, R2_NOP = 11,
              R2_MERGENOTPEN = 12, R2_COPYPEN = 13, R2_MERGEPENNOT = 14, R2_MERGEPEN = 15, R2_WHITE = 16;

// Ternary raster operations (BitBlt, PatBlt, StretchBlt): the high word's low byte is the truth
// table over pattern, source and destination.
constexpr DWORD SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6, SRCINVERT = 0x00660046,
                SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008, NOTSRCERASE = 0x001100A6,
                MERGECOPY = 0x00C000CA, MERGEPAINT = 0x00BB0226, PATCOPY = 0x00F00021, PATPAINT = 0x00FB0A09,
                PATINVERT = 0x005A0049, DSTINVERT = 0x00550009, BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062;

// Background modes.
constexpr int TRANSPARENT = 1, OPAQUE = 2;
// Polygon fill modes.
constexpr int ALTERNATE = 1, WINDING = 2;
// Stretch modes (kept for the product's calls; stretching always takes the nearest pixel).
constexpr int BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4;

// Mapping modes.
constexpr int MM_TEXT = 1, MM_LOMETRIC = 2, MM_HIMETRIC = 3, MM_LOENGLISH = 4, MM_HIENGLISH = 5, MM_TWIPS = 6,
              MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8;

// Text alignment (SetTextAlign).
constexpr UINT TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0,
               TA_BOTTOM = 8, TA_BASELINE = 24;
// ExtTextOut options.
constexpr UINT ETO_OPAQUE = 0x2, ETO_CLIPPED = 0x4;
// DrawText formats.
constexpr UINT DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
               DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_NOCLIP = 0x100,
               DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800, DT_END_ELLIPSIS = 0x8000;

// Pen styles.
constexpr UINT PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5,
               PS_INSIDEFRAME = 6, PS_STYLE_MASK = 0xF;
// Brush styles and hatches.
constexpr UINT BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = 1, BS_HATCHED = 2, BS_PATTERN = 3;
constexpr UINT HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3, HS_CROSS = 4,
               HS_DIAGCROSS = 5;

// Region combinations and results.
constexpr int RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5;
constexpr int RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3;

// Stock objects.
constexpr int WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3, BLACK_BRUSH = 4,
              NULL_BRUSH = 5, HOLLOW_BRUSH = 5, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8, OEM_FIXED_FONT = 10,
              ANSI_FIXED_FONT = 11, ANSI_VAR_FONT = 12, SYSTEM_FONT = 13, DEVICE_DEFAULT_FONT = 14,
              SYSTEM_FIXED_FONT = 16, DEFAULT_GUI_FONT = 17;

// Font weights, character sets and pitch.
constexpr int FW_DONTCARE = 0, FW_THIN = 100, FW_LIGHT = 300, FW_NORMAL = 400, FW_MEDIUM = 500, FW_SEMIBOLD = 600,
              FW_BOLD = 700, FW_HEAVY = 900;
constexpr int ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, OEM_CHARSET = 255;
constexpr int DEFAULT_PITCH = 0, FIXED_PITCH = 1, VARIABLE_PITCH = 2, FF_DONTCARE = 0, FF_ROMAN = 0x10,
              FF_SWISS = 0x20, FF_MODERN = 0x30;

// Edges (DrawEdge).
constexpr UINT BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8,
               EDGE_RAISED = 0x5, EDGE_SUNKEN = 0xA, EDGE_ETCHED = 0x6, EDGE_BUMP = 0x9;
constexpr UINT BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8, BF_RECT = 0xF, BF_ADJUST = 0x2000;

// System colours (GetSysColor): one fixed classic scheme, the same on every machine.
constexpr int COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_ACTIVECAPTION = 2, COLOR_INACTIVECAPTION = 3,
              COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6, COLOR_MENUTEXT = 7, COLOR_WINDOWTEXT = 8,
              COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10, COLOR_INACTIVEBORDER = 11, COLOR_APPWORKSPACE = 12,
              COLOR_HIGHLIGHT = 13, COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16,
              COLOR_GRAYTEXT = 17, COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19, COLOR_BTNHIGHLIGHT = 20,
              COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23, COLOR_INFOBK = 24;
COLORREF GetSysColor(int index);

}  // namespace gdi
