#pragma once
// The one place where gdi meets Qt, for the rest of platform/ only (never include it in product
// code): the ui layer shows surfaces, uses our fonts in widgets, turns bitmaps into pixmaps and
// prints through a DC over a QPainter.
//
// Colours convert in ToQRgb/FromQRgb and nowhere else.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <QRegion>
#include <QString>

#include <functional>
#include <string_view>

#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/types.h"

namespace gdi::qt {

// COLORREF 0x00BBGGRR and Qt's 0xAARRGGBB (always opaque).
QRgb ToQRgb(COLORREF color);
COLORREF FromQRgb(QRgb rgb);
inline QColor ToQColor(COLORREF color) { return QColor::fromRgb(ToQRgb(color)); }
inline COLORREF FromQColor(const QColor& color) { return FromQRgb(color.rgb()); }

// Creates the QGuiApplication that fonts need when no application object exists yet (tests and
// tools that only draw); on the offscreen platform unless QT_QPA_PLATFORM says otherwise. The
// ui layer's application object is created before any drawing, and then this does nothing.
void EnsureGuiApplication();

// The pixels of a surface (Format_RGB32). Drawing into the image directly bypasses the
// surface's change notification.
QImage& Image(RasterSurface& surface);
const QImage& Image(const RasterSurface& surface);
// A surface holding a copy of the image.
std::unique_ptr<RasterSurface> SurfaceFromImage(const QImage& image);

// The QFont that draws `font` at the given resolution: the face of the font-name table, pixel
// size from lfHeight (cell height for positive values, character height for negative ones),
// weight, italic, underline and strike-out; no kerning, no hinting.
QFont ToQFont(const Font& font, int logPixelsY = 96);

QImage ToQImage(const Bitmap& bitmap);
QPixmap ToQPixmap(const Bitmap& bitmap);
Bitmap BitmapFromImage(const QImage& image);

inline QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }
inline Rect FromQRect(const QRect& r) { return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }
QRegion ToQRegion(const Region& region);
Region FromQRegion(const QRegion& region);

QString ToQString(std::string_view utf8);
QString ToQString(std::u16string_view utf16);

// A DC that draws through `painter` (a printer page, a widget during its paint event) in the
// painter's device pixels, with the given capabilities. `newPage` runs for StartPage after the
// first page (a printer's newPage); EndDoc ends the painter. No raster operations there: marks
// that depend on the destination are not drawn. The painter must outlive the DC.
DC MakePainterDC(QPainter& painter, const DeviceCaps& caps, std::function<bool()> newPage = {});

// The device origin: where the DC's device point (0, 0) lies on its surface (a window's client
// area inside a larger surface). Clip regions given to the DC are relative to it.
void SetDeviceOrigin(DC& dc, Point origin);
// The system clip (a paint DC's update region, in surface pixels): every drawing stays inside it
// and SelectClipRgn cannot widen it; null removes it.
void SetSystemClip(DC& dc, const Region* region);

}  // namespace gdi::qt
