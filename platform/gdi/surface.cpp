#include "platform/gdi/surface.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include "platform/gdi/internal.h"

namespace gdi {

using detail::ColorOf;
using detail::RgbOf;

namespace {

QImage makeImage(int width, int height, COLORREF fill) {
  QImage image(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
  image.fill(QColor::fromRgb(0xFF000000u | RgbOf(fill)));
  return image;
}

}  // namespace

RasterSurface::RasterSurface(int width, int height, COLORREF fill) : impl_(std::make_unique<Impl>()) {
  impl_->image = makeImage(width, height, fill);
  caps_ = ScreenCaps();
  caps_.horzRes = Width();
  caps_.vertRes = Height();
}

RasterSurface::~RasterSurface() = default;

RasterSurface::RasterSurface(const RasterSurface& other) : impl_(std::make_unique<Impl>()), caps_(other.caps_) {
  impl_->image = other.impl_->image.copy();
}

int RasterSurface::Width() const { return impl_->image.width(); }
int RasterSurface::Height() const { return impl_->image.height(); }

COLORREF RasterSurface::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return CLR_INVALID;
  return ColorOf(reinterpret_cast<const std::uint32_t*>(impl_->image.constScanLine(y))[x]);
}

void RasterSurface::SetPixel(int x, int y, COLORREF color) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  reinterpret_cast<std::uint32_t*>(impl_->image.scanLine(y))[x] = 0xFF000000u | RgbOf(color);
  Changed(Rect(x, y, x + 1, y + 1));
}

void RasterSurface::Fill(COLORREF color) {
  impl_->image.fill(QColor::fromRgb(0xFF000000u | RgbOf(color)));
  Changed(Rect(0, 0, Width(), Height()));
}

std::int64_t RasterSurface::CountPixels(COLORREF color, const Rect* rect) const {
  Rect r(0, 0, Width(), Height());
  if (rect && !r.IntersectRect(r, *rect)) return 0;
  const std::uint32_t want = 0xFF000000u | RgbOf(color);
  std::int64_t n = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(impl_->image.constScanLine(y));
    for (int x = r.left; x < r.right; ++x) n += (row[x] | 0xFF000000u) == want;
  }
  return n;
}

void RasterSurface::Resize(int width, int height, COLORREF fill) {
  QImage next = makeImage(width, height, fill);
  const int w = std::min(next.width(), Width()), h = std::min(next.height(), Height());
  for (int y = 0; y < h; ++y) std::memcpy(next.scanLine(y), impl_->image.constScanLine(y), static_cast<std::size_t>(w) * 4);
  impl_->image = std::move(next);
  caps_.horzRes = Width();
  caps_.vertRes = Height();
  Changed(Rect(0, 0, Width(), Height()));
}

void RasterSurface::SetResolution(int logPixelsX, int logPixelsY) {
  if (logPixelsX > 0) caps_.logPixelsX = logPixelsX;
  if (logPixelsY > 0) caps_.logPixelsY = logPixelsY;
}

std::vector<std::uint8_t> RasterSurface::EncodePng() const {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(impl_->image)) return {};
  return std::vector<std::uint8_t>(data.begin(), data.end());
}

bool RasterSurface::SavePng(const std::string& path) const {
  const std::vector<std::uint8_t> png = EncodePng();
  return !png.empty() && detail::SaveFileAtomic(path, png);
}

std::unique_ptr<RasterSurface> RasterSurface::DecodePng(const std::vector<std::uint8_t>& png) {
  QByteArray data(reinterpret_cast<const char*>(png.data()), static_cast<qsizetype>(png.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "png");
  QImage image = reader.read();
  if (image.isNull()) return nullptr;
  auto surface = std::make_unique<RasterSurface>(0, 0);
  surface->impl_->image = image.convertToFormat(QImage::Format_RGB32);
  surface->caps_.horzRes = surface->Width();
  surface->caps_.vertRes = surface->Height();
  return surface;
}

WindowSurface::WindowSurface(int width, int height, COLORREF fill) : RasterSurface(width, height, fill) {}

Rect WindowSurface::TakeChangedRect() {
  Rect r = changed_;
  changed_.SetRectEmpty();
  return r;
}

void WindowSurface::Changed(const Rect& rect) {
  if (rect.IsRectEmpty()) return;
  changed_.UnionRect(changed_, rect);
  if (listener_) listener_(rect);
}

}  // namespace gdi
