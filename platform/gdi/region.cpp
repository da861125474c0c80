#include <QPolygon>

#include "platform/gdi/internal.h"

namespace gdi {

namespace {

int kindOf(const QRegion& r) {
  if (r.isEmpty()) return NULLREGION;
  return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

QRect qrect(int l, int t, int r, int b) {
  Rect x(l, t, r, b);
  x.NormalizeRect();
  return QRect(x.left, x.top, x.Width(), x.Height());
}

}  // namespace

Region::Region() : impl_(std::make_unique<Impl>()) {}
Region::~Region() = default;
Region::Region(const Region& other) : impl_(std::make_unique<Impl>(*other.impl_)) {}
Region& Region::operator=(const Region& other) {
  *impl_ = *other.impl_;
  return *this;
}
Region::Region(Region&& other) noexcept : impl_(std::move(other.impl_)) { other.impl_ = std::make_unique<Impl>(); }
Region& Region::operator=(Region&& other) noexcept {
  std::swap(impl_, other.impl_);
  return *this;
}

Region Region::FromRect(const Rect& rect) {
  Region r;
  r.CreateRectRgnIndirect(rect);
  return r;
}

bool Region::CreateRectRgn(int left, int top, int right, int bottom) {
  impl_->region = QRegion(qrect(left, top, right, bottom));
  return true;
}

bool Region::CreateEllipticRgn(int left, int top, int right, int bottom) {
  impl_->region = QRegion(qrect(left, top, right, bottom), QRegion::Ellipse);
  return true;
}

bool Region::CreatePolygonRgn(const Point* points, int count, int fillMode) {
  if (!points || count < 3) return false;
  QPolygon poly;
  poly.reserve(count);
  for (int i = 0; i < count; ++i) poly << QPoint(points[i].x, points[i].y);
  impl_->region = QRegion(poly, fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
  return true;
}

int Region::CombineRgn(const Region& a, const Region& b, int mode) {
  const QRegion& x = a.impl_->region;
  const QRegion& y = b.impl_->region;
  switch (mode) {
    case RGN_AND: impl_->region = x.intersected(y); break;
    case RGN_OR: impl_->region = x.united(y); break;
    case RGN_XOR: impl_->region = x.xored(y); break;
    case RGN_DIFF: impl_->region = x.subtracted(y); break;
    case RGN_COPY: impl_->region = x; break;
    default: return RGN_ERROR;
  }
  return kindOf(impl_->region);
}

int Region::CopyRgn(const Region& source) {
  impl_->region = source.impl_->region;
  return kindOf(impl_->region);
}

int Region::OffsetRgn(int dx, int dy) {
  impl_->region.translate(dx, dy);
  return kindOf(impl_->region);
}

bool Region::PtInRegion(int x, int y) const { return impl_->region.contains(QPoint(x, y)); }

bool Region::RectInRegion(const Rect& rect) const {
  Rect r = rect;
  r.NormalizeRect();
  return !r.IsRectEmpty() && impl_->region.intersects(QRect(r.left, r.top, r.Width(), r.Height()));
}

int Region::GetRgnBox(Rect* box) const {
  const QRect b = impl_->region.boundingRect();
  if (box) *box = impl_->region.isEmpty() ? Rect() : Rect(b.left(), b.top(), b.left() + b.width(), b.top() + b.height());
  return kindOf(impl_->region);
}

bool Region::EqualRgn(const Region& other) const { return impl_->region == other.impl_->region; }
bool Region::IsEmpty() const { return impl_->region.isEmpty(); }

std::vector<Rect> Region::Rects() const {
  std::vector<Rect> out;
  for (const QRect& r : impl_->region) out.emplace_back(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
  return out;
}

void Region::DeleteObject() { impl_->region = QRegion(); }

}  // namespace gdi
