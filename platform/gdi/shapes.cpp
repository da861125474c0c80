// Geometry of the shapes in device pixels. Pixel (x, y) covers [x, x + 1) x [y, y + 1) and is
// painted when its centre lies inside a filled path, so polygons with integer corners fill the
// pixels inside their left and top edges and not those on their right and bottom edges; curves
// and their outlines run through the centres of the bounding box's outer pixels, so an ellipse
// stays within its bounding box without its right and bottom edges.
#include <cmath>

#include "platform/gdi/internal.h"

namespace gdi::detail {

namespace {

QRectF centreRect(const Rect& r) {
  return QRectF(r.left + 0.5, r.top + 0.5, std::max(0, r.Width() - 1), std::max(0, r.Height() - 1));
}

double angleOf(const Rect& r, Point p) {
  const double cx = (r.left + r.right - 1) / 2.0 + 0.5, cy = (r.top + r.bottom - 1) / 2.0 + 0.5;
  const double dx = p.x + 0.5 - cx, dy = p.y + 0.5 - cy;
  if (dx == 0 && dy == 0) return 0;
  // Counter-clockwise on the screen (y grows downwards), in degrees.
  return std::atan2(-dy, dx) * 180.0 / M_PI;
}

}  // namespace

QPainterPath EllipsePath(const Rect& r) {
  QPainterPath path;
  path.addEllipse(centreRect(r));
  return path;
}

QPainterPath RoundRectPath(const Rect& r, int ellipseWidth, int ellipseHeight) {
  QPainterPath path;
  const QRectF box = centreRect(r);
  const double rx = std::min(std::abs(ellipseWidth) / 2.0, box.width() / 2);
  const double ry = std::min(std::abs(ellipseHeight) / 2.0, box.height() / 2);
  path.addRoundedRect(box, rx, ry);
  return path;
}

QPainterPath ArcPath(ArcKind kind, const Rect& r, Point start, Point end) {
  const QRectF box = centreRect(r);
  const double a0 = angleOf(r, start);
  double sweep = angleOf(r, end) - a0;
  while (sweep <= 0) sweep += 360;
  while (sweep > 360) sweep -= 360;
  QPainterPath path;
  if (kind == ArcKind::Pie) {
    path.moveTo(box.center());
    path.arcTo(box, a0, sweep);
    path.closeSubpath();
  } else {
    path.arcMoveTo(box, a0);
    path.arcTo(box, a0, sweep);
    if (kind == ArcKind::Chord) path.closeSubpath();
  }
  return path;
}

QPainterPath PolygonPath(const Point* points, const int* counts, int polygons, int fillMode) {
  QPainterPath path;
  path.setFillRule(fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
  for (int k = 0; k < polygons; ++k) {
    const int n = counts[k];
    if (n >= 2) {
      QPolygonF poly;
      poly.reserve(n);
      for (int i = 0; i < n; ++i) poly << QPointF(points[i].x, points[i].y);
      path.addPolygon(poly);
      path.closeSubpath();
    }
    points += n;
  }
  return path;
}

QPainterPath PolylinePath(const Point* points, int count, bool closed) {
  QPainterPath path;
  if (count <= 0) return path;
  path.moveTo(points[0].x + 0.5, points[0].y + 0.5);
  for (int i = 1; i < count; ++i) path.lineTo(points[i].x + 0.5, points[i].y + 0.5);
  if (closed) path.closeSubpath();
  return path;
}

bool HatchBit(std::uint32_t hatch, int x, int y) {
  x &= 7;
  y &= 7;
  switch (hatch) {
    case HS_HORIZONTAL: return y == 0;
    case HS_VERTICAL: return x == 0;
    case HS_FDIAGONAL: return x == y;
    case HS_BDIAGONAL: return x + y == 7;
    case HS_CROSS: return x == 0 || y == 0;
    case HS_DIAGCROSS: return x == y || x + y == 7;
    default: return false;
  }
}

const int* DashPattern(UINT style) {
  static constexpr int kDash[] = {18, 6, 0};
  static constexpr int kDot[] = {3, 3, 0};
  static constexpr int kDashDot[] = {9, 6, 3, 6, 0};
  static constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3, 0};
  switch (style) {
    case PS_DASH: return kDash;
    case PS_DOT: return kDot;
    case PS_DASHDOT: return kDashDot;
    case PS_DASHDOTDOT: return kDashDotDot;
    default: return nullptr;
  }
}

}  // namespace gdi::detail
