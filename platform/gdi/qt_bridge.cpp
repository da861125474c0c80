#include "platform/gdi/qt_bridge.h"

#include <cmath>

#include "platform/gdi/dc_impl.h"

namespace gdi::qt {

QRgb ToQRgb(COLORREF color) { return 0xFF000000u | detail::RgbOf(color); }
COLORREF FromQRgb(QRgb rgb) { return detail::ColorOf(rgb & 0xFFFFFF); }

QImage& Image(RasterSurface& surface) { return surface.impl()->image; }
const QImage& Image(const RasterSurface& surface) { return surface.impl()->image; }

std::unique_ptr<RasterSurface> SurfaceFromImage(const QImage& image) {
  auto surface = std::make_unique<RasterSurface>(image.width(), image.height());
  surface->impl()->image = image.convertToFormat(QImage::Format_RGB32);
  return surface;
}

QFont ToQFont(const Font& font, int logPixelsY) {
  const LOGFONTW& log = font.Log();
  auto realized = detail::Realize(log, log.lfHeight, log.lfWidth, logPixelsY);
  QFont f(QString::fromStdString(realized->face));
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(realized->emPixels))));
  f.setWeight(log.lfWeight >= FW_SEMIBOLD ? QFont::Bold : QFont::Normal);
  f.setItalic(log.lfItalic != 0);
  f.setUnderline(log.lfUnderline != 0);
  f.setStrikeOut(log.lfStrikeOut != 0);
  f.setKerning(false);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setStyleStrategy(QFont::NoFontMerging);
  return f;
}

QImage ToQImage(const Bitmap& bitmap) { return bitmap.IsNull() ? QImage() : bitmap.Surface()->impl()->image; }
QPixmap ToQPixmap(const Bitmap& bitmap) { return QPixmap::fromImage(ToQImage(bitmap)); }

Bitmap BitmapFromImage(const QImage& image) {
  if (image.isNull()) return Bitmap();
  return Bitmap::Wrap(std::shared_ptr<RasterSurface>(SurfaceFromImage(image)));
}

QRegion ToQRegion(const Region& region) { return region.impl()->region; }
Region FromQRegion(const QRegion& region) {
  Region r;
  r.impl()->region = region;
  return r;
}

QString ToQString(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
QString ToQString(std::u16string_view utf16) {
  return QString(reinterpret_cast<const QChar*>(utf16.data()), static_cast<qsizetype>(utf16.size()));
}

DC MakePainterDC(QPainter& painter, const DeviceCaps& caps, std::function<bool()> newPage) {
  auto impl = std::make_unique<DC::Impl>();
  impl->caps = caps;
  impl->printing = caps.technology == DT_RASPRINTER;
  impl->device = detail::MakePainterDevice(painter, caps, std::move(newPage));
  return DC(std::move(impl));
}

void SetDeviceOrigin(DC& dc, Point origin) {
  if (!dc.impl()) return;
  dc.impl()->st.outer.ox = origin.x;
  dc.impl()->st.outer.oy = origin.y;
}

void SetSystemClip(DC& dc, const Region* region) {
  if (!dc.impl()) return;
  if (region) dc.impl()->st.metaClip = region->impl()->region;
  else dc.impl()->st.metaClip.reset();
  dc.impl()->UpdateClip();
}

}  // namespace gdi::qt
