// The raster device: exact pixels on a 32-bit surface.
//
// One-pixel lines are our own (each segment leaves out its last pixel, so a closed outline
// touches every pixel once); every other shape is drawn as a coverage mask by QPainter without
// antialiasing and then combined with the destination through the raster operation, so the same
// shape covers the same pixels whatever the operation, and XOR drawn twice restores them.
#include <QPainter>

#include <cmath>
#include <cstring>

#include "platform/gdi/internal.h"

namespace gdi::detail {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

// The per-pixel steps of the line loops must be inlined into them.
#define KEDRUS_INLINE __attribute__((always_inline))

DevBrush NullBrush() {
  DevBrush b;
  b.null = true;
  return b;
}
// Mask values: pen, pen gap (background of a styled pen), brush.
constexpr int kPenMark = 255, kGapMark = 170, kBrushMark = 85;

// The pixels a call may touch: the surface, the clip region.
struct Clip {
  std::vector<Rect> rects;
  Rect box;
  bool simple = true;  // one rectangle

  bool contains(int x, int y) const {
    if (x < box.left || x >= box.right || y < box.top || y >= box.bottom) return false;
    if (simple) return true;
    for (const Rect& r : rects)
      if (r.PtInRect({x, y})) return true;
    return false;
  }
};

Clip clipOf(const RasterSurface& s, const DevContext& ctx) {
  Clip c;
  const Rect bounds(0, 0, s.Width(), s.Height());
  if (!ctx.clip) {
    c.rects.push_back(bounds);
    c.box = bounds;
    return c;
  }
  const QRegion r = ctx.clip->intersected(QRect(0, 0, s.Width(), s.Height()));
  for (const QRect& q : r) c.rects.emplace_back(q.left(), q.top(), q.left() + q.width(), q.top() + q.height());
  const QRect b = r.boundingRect();
  c.box = r.isEmpty() ? Rect() : Rect(b.left(), b.top(), b.left() + b.width(), b.top() + b.height());
  c.simple = c.rects.size() <= 1;
  return c;
}

// Applies a binary raster operation with a fixed colour.
struct Painter2 {
  int rop;
  std::uint32_t color;  // 0x00RRGGBB
  void operator()(std::uint32_t& d) const {
    switch (rop) {
      case R2_COPYPEN: d = kOpaque | color; break;
      case R2_XORPEN: d = kOpaque | ((d ^ color) & 0xFFFFFF); break;
      case R2_NOT: d = kOpaque | (~d & 0xFFFFFF); break;
      case R2_NOP: break;
      default: d = kOpaque | (Rop2(rop, color, d) & 0xFFFFFF); break;
    }
  }
};

// The colour of a brush at a pixel; false where a transparent hatch leaves the pixel alone.
struct BrushSampler {
  const DevBrush& brush;
  std::uint32_t rgb;
  std::uint32_t bk;
  bool transparentBk;
  const QImage* pattern = nullptr;

  BrushSampler(const DevBrush& b, const DevContext& ctx)
      : brush(b), rgb(RgbOf(b.color)), bk(RgbOf(ctx.bkColor)), transparentBk(ctx.bkMode == TRANSPARENT) {
    if (b.style == BS_PATTERN && b.pattern && b.pattern->Width() > 0 && b.pattern->Height() > 0)
      pattern = &b.pattern->impl()->image;
  }
  bool solid() const { return brush.style == BS_SOLID || (brush.style == BS_PATTERN && !pattern); }
  bool at(int x, int y, std::uint32_t* out) const {
    if (brush.style == BS_HATCHED) {
      if (HatchBit(brush.hatch, x - brush.origin.x, y - brush.origin.y)) *out = rgb;
      else if (transparentBk) return false;
      else *out = bk;
      return true;
    }
    if (pattern) {
      const int w = pattern->width(), h = pattern->height();
      int px = (x - brush.origin.x) % w, py = (y - brush.origin.y) % h;
      if (px < 0) px += w;
      if (py < 0) py += h;
      *out = reinterpret_cast<const std::uint32_t*>(pattern->constScanLine(py))[px] & 0xFFFFFF;
      return true;
    }
    *out = rgb;
    return true;
  }
};

// One-pixel line from (x0, y0) towards (x1, y1), without (x1, y1). plot(x, y, k) gets the k-th
// pixel. The minor coordinate of pixel k is the nearest to the ideal line (halves round up), so
// a clipped line keeps exactly the pixels of the whole one.
template <class Plot>
void linePixels(int x0, int y0, int x1, int y1, const Rect& box, Plot&& plot) {
  const std::int64_t dx = std::int64_t(x1) - x0, dy = std::int64_t(y1) - y0;
  const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  const bool xMajor = adx >= ady;
  const std::int64_t n = xMajor ? adx : ady;
  if (n == 0 || box.IsRectEmpty()) return;
  const std::int64_t aMaj = xMajor ? adx : ady, aMin = xMajor ? ady : adx;
  const int m0 = xMajor ? x0 : y0, s = xMajor ? sx : sy;
  const int lo = xMajor ? box.left : box.top, hi = xMajor ? box.right : box.bottom;
  // Steps k whose major coordinate m0 + s * k lies in [lo, hi).
  std::int64_t kMin = 0, kMax = n;
  if (s > 0) {
    kMin = std::max<std::int64_t>(kMin, std::int64_t(lo) - m0);
    kMax = std::min<std::int64_t>(kMax, std::int64_t(hi) - m0);
  } else {
    kMin = std::max<std::int64_t>(kMin, std::int64_t(m0) - hi + 1);
    kMax = std::min<std::int64_t>(kMax, std::int64_t(m0) - lo + 1);
  }
  if (kMin >= kMax) return;
  const std::int64_t twoMaj = 2 * aMaj, twoMin = 2 * aMin;
  std::int64_t minor = xMajor ? y0 : x0, rem = aMaj;
  if (kMin > 0) {  // clipped at the start: jump there without walking
    const std::int64_t num = kMin * twoMin + aMaj;
    minor += (xMajor ? sy : sx) * (num / twoMaj);
    rem = num % twoMaj;
  }
  const int sMin = xMajor ? sy : sx;
  std::int64_t major = m0 + std::int64_t(s) * kMin;
  for (std::int64_t k = kMin; k < kMax; ++k) {
    if (xMajor) plot(static_cast<int>(major), static_cast<int>(minor), k);
    else plot(static_cast<int>(minor), static_cast<int>(major), k);
    major += s;
    rem += twoMin;
    if (rem >= twoMaj) {
      rem -= twoMaj;
      minor += sMin;
    }
  }
}

// On/off runs of a styled one-pixel pen, as a table over one period.
struct Dash {
  bool styled = false;
  std::vector<bool> on;
  explicit Dash(UINT style) {
    const int* p = DashPattern(style);
    if (!p) return;
    styled = true;
    for (bool mark = true; *p; ++p, mark = !mark) on.insert(on.end(), static_cast<std::size_t>(*p), mark);
  }
  bool at(std::int64_t pos) const { return !styled || on[static_cast<std::size_t>(pos % static_cast<std::int64_t>(on.size()))]; }
};

class RasterDevice final : public Device {
 public:
  RasterDevice(RasterSurface& surface, const DeviceCaps& caps) : Device(caps), s_(surface) {}

  RasterSurface* surface() override { return &s_; }

  void polyline(const Point* pts, int n, const DevPen& pen, const DevContext& ctx) override {
    if (pen.null || n < 2) return;
    if (pen.width > 1) {
      shape(nullptr, NullBrush(), PolylinePath(pts, n, false), pen, false, ctx);
      return;
    }
    const Clip clip = clipOf(s_, ctx);
    if (clip.box.IsRectEmpty()) return;
    Rect touched;
    uchar* const bits = image().bits();
    const qsizetype stride = image().bytesPerLine();
    const std::uint32_t ink = kOpaque | RgbOf(pen.color), gap = kOpaque | RgbOf(ctx.bkColor);
    auto at = [bits, stride](int x, int y) -> std::uint32_t& {
      return reinterpret_cast<std::uint32_t*>(bits + y * stride)[x];
    };
    // The common operations get loops of their own; the others go through the truth table.
    switch (ctx.rop2) {
      case R2_COPYPEN:
        thinPolyline(pts, n, pen, ctx, clip, [&](int x, int y, bool g) KEDRUS_INLINE { at(x, y) = g ? gap : ink; }, &touched);
        break;
      case R2_XORPEN:
        thinPolyline(pts, n, pen, ctx, clip, [&](int x, int y, bool g) KEDRUS_INLINE { at(x, y) ^= (g ? gap : ink) & 0xFFFFFF; }, &touched);
        break;
      default: {
        const Painter2 inkOp{ctx.rop2, ink & 0xFFFFFF}, gapOp{ctx.rop2, gap & 0xFFFFFF};
        thinPolyline(pts, n, pen, ctx, clip, [&](int x, int y, bool g) { (g ? gapOp : inkOp)(at(x, y)); }, &touched);
        break;
      }
    }
    changed(touched, clip);
  }

  void polyPolygon(const Point* pts, const int* counts, int polys, const DevPen& pen, const DevBrush& brush,
                   const DevContext& ctx) override {
    const QPainterPath fill = PolygonPath(pts, counts, polys, ctx.polyFillMode);
    if (pen.width > 1) {
      QPainterPath outline;
      const Point* p = pts;
      for (int k = 0; k < polys; ++k) {
        outline.addPath(PolylinePath(p, counts[k], true));
        p += counts[k];
      }
      shape(&fill, brush, outline, pen, false, ctx);
      return;
    }
    // One outline per polygon, closed; drawn into the same mask as the fill.
    std::vector<Point> closed;
    std::vector<int> closedCounts;
    const Point* p = pts;
    for (int k = 0; k < polys; ++k) {
      if (counts[k] > 0) {
        closed.insert(closed.end(), p, p + counts[k]);
        closed.push_back(p[0]);
        closedCounts.push_back(counts[k] + 1);
      }
      p += counts[k];
    }
    shapeWithThinOutline(&fill, brush, closed, closedCounts, pen, ctx);
  }

  void rectangle(const Rect& r, const DevPen& pen, const DevBrush& brush, const DevContext& ctx) override {
    if (r.IsRectEmpty()) return;
    if (pen.null) {
      // Without a pen the fill stops where the pen's right and bottom edge would have been.
      fillRect(Rect(r.left, r.top, r.right - 1, r.bottom - 1), brush, ctx, Rop3OfRop2(ctx.rop2));
      return;
    }
    if (pen.width > 1) {
      QPainterPath fill;
      fill.addRect(QRectF(r.left, r.top, r.Width() - 1, r.Height() - 1));
      QPainterPath outline;
      outline.addRect(QRectF(r.left + 0.5, r.top + 0.5, r.Width() - 1, r.Height() - 1));
      shape(&fill, brush, outline, pen, false, ctx);
      return;
    }
    if (r.Width() <= 2 || r.Height() <= 2) {
      // No interior: the outline covers the rectangle; each pixel once.
      DevBrush penBrush;
      penBrush.color = pen.color;
      fillRect(r, penBrush, ctx, Rop3OfRop2(ctx.rop2));
      return;
    }
    if (!brush.null) fillRect(Rect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1), brush, ctx, Rop3OfRop2(ctx.rop2));
    const Point outline[5] = {{r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1},
                              {r.left, r.top}};
    polyline(outline, 5, pen, ctx);
  }

  void roundRect(const Rect& r, int ew, int eh, const DevPen& pen, const DevBrush& brush, const DevContext& ctx) override {
    if (r.IsRectEmpty()) return;
    const QPainterPath path = RoundRectPath(r, ew, eh);
    shape(&path, brush, path, pen, true, ctx);
  }

  void ellipse(const Rect& r, const DevPen& pen, const DevBrush& brush, const DevContext& ctx) override {
    if (r.IsRectEmpty()) return;
    const QPainterPath path = EllipsePath(r);
    shape(&path, brush, path, pen, true, ctx);
  }

  void arc(ArcKind kind, const Rect& r, Point a, Point b, const DevPen& pen, const DevBrush& brush,
           const DevContext& ctx) override {
    if (r.IsRectEmpty()) return;
    const QPainterPath path = ArcPath(kind, r, a, b);
    shape(kind == ArcKind::Arc ? nullptr : &path, brush, path, pen, true, ctx);
  }

  void patBlt(const Rect& r, DWORD rop, const DevBrush& brush, const DevContext& ctx) override {
    fillRect(r, brush, ctx, Rop3Code(rop));
  }

  void setPixel(Point p, COLORREF color, const DevContext& ctx) override {
    const Clip clip = clipOf(s_, ctx);
    if (!clip.contains(p.x, p.y)) return;
    pixel(p.x, p.y) = kOpaque | RgbOf(color);
    s_.Changed(Rect(p.x, p.y, p.x + 1, p.y + 1));
  }

  COLORREF getPixel(Point p) const override { return s_.GetPixel(p.x, p.y); }

  void text(const TextRun& run, const DevContext& ctx) override;
  void blt(const Rect& dst, const RasterSurface& src, const Rect& srcRect, DWORD rop, const DevBrush& brush,
           const DevContext& ctx) override;

 private:
  std::uint32_t& pixel(int x, int y) { return reinterpret_cast<std::uint32_t*>(image().scanLine(y))[x]; }
  QImage& image() { return s_.impl()->image; }

  void changed(const Rect& r, const Clip& clip) {
    Rect c;
    if (c.IntersectRect(r, clip.box)) s_.Changed(c);
  }

  // Walks the pixels of a one-pixel polyline (dash state runs on across the vertices).
  template <class Put>
  void thinPolyline(const Point* pts, int n, const DevPen& pen, const DevContext& ctx, const Clip& clip, Put&& put,
                    Rect* touched) {
    const Dash dash(pen.style);
    const bool gaps = dash.styled && ctx.bkMode == OPAQUE;
    std::int64_t pos = 0;
    int minX = INT32_MAX, minY = INT32_MAX, maxX = INT32_MIN, maxY = INT32_MIN;
    for (int i = 0; i + 1 < n; ++i) {
      const Point a = pts[i], b = pts[i + 1];
      const Rect seg(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1);
      Rect inside;
      if (inside.IntersectRect(seg, clip.box)) {
        const bool whole = clip.simple && inside == seg;
        bool plotted = false;
        Point first, last;
        linePixels(a.x, a.y, b.x, b.y, clip.box, [&](int x, int y, std::int64_t k) KEDRUS_INLINE {
          if (!whole && !clip.contains(x, y)) return;
          const bool on = dash.at(pos + k);
          if (!on && !gaps) return;
          put(x, y, !on);
          if (!plotted) first = {x, y}, plotted = true;
          last = {x, y};
        });
        // A segment is monotone: its first and last pixels span what it touched.
        if (plotted) {
          minX = std::min({minX, first.x, last.x});
          maxX = std::max({maxX, first.x, last.x});
          minY = std::min({minY, first.y, last.y});
          maxY = std::max({maxY, first.y, last.y});
        }
      }
      pos += std::max(std::abs(std::int64_t(b.x) - a.x), std::abs(std::int64_t(b.y) - a.y));
    }
    if (touched) *touched = minX <= maxX ? Rect(minX, minY, maxX + 1, maxY + 1) : Rect();
  }

  void fillRect(const Rect& r, const DevBrush& brush, const DevContext& ctx, std::uint8_t code);

  // Draws a filled path and its outline through one mask. The outline is the stroke of
  // `outline` (pen wider than one pixel, or a curve), or our one-pixel polylines `thin`.
  void shape(const QPainterPath* fill, const DevBrush& brush, const QPainterPath& outline, const DevPen& pen,
             bool curve, const DevContext& ctx);
  void shapeWithThinOutline(const QPainterPath* fill, const DevBrush& brush, const std::vector<Point>& pts,
                            const std::vector<int>& counts, const DevPen& pen, const DevContext& ctx);
  void applyMask(const QImage& mask, const Rect& box, const DevPen& pen, const DevBrush& brush, const DevContext& ctx,
                 const Clip& clip);
  Rect maskBox(const QRectF& bounds, int penWidth, const Clip& clip) const;

  RasterSurface& s_;
};

Rect RasterDevice::maskBox(const QRectF& bounds, int penWidth, const Clip& clip) const {
  const double grow = penWidth / 2.0 + 2;
  const double l = std::floor(bounds.left() - grow), t = std::floor(bounds.top() - grow);
  const double r = std::ceil(bounds.right() + grow), b = std::ceil(bounds.bottom() + grow);
  auto clampD = [](double v) { return static_cast<int>(std::clamp(v, -1e9, 1e9)); };
  Rect box(clampD(l), clampD(t), clampD(r), clampD(b));
  Rect out;
  out.IntersectRect(box, clip.box);
  return out;
}

void RasterDevice::shape(const QPainterPath* fill, const DevBrush& brush, const QPainterPath& outline,
                         const DevPen& pen, bool curve, const DevContext& ctx) {
  const bool doFill = fill && !brush.null;
  const bool doPen = !pen.null;
  if (!doFill && !doPen) return;
  const Clip clip = clipOf(s_, ctx);
  QRectF bounds = doPen ? outline.boundingRect() : QRectF();
  if (doFill) bounds = bounds.isNull() ? fill->boundingRect() : bounds.united(fill->boundingRect());
  const Rect box = maskBox(bounds, pen.width, clip);
  if (box.IsRectEmpty()) return;
  QImage mask(box.Width(), box.Height(), QImage::Format_Grayscale8);
  mask.fill(0);
  {
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.translate(-box.left, -box.top);
    if (doFill) p.fillPath(*fill, QColor(kBrushMark, kBrushMark, kBrushMark));
    if (doPen) {
      if (pen.width > 1) {
        QPen q(QColor(kPenMark, kPenMark, kPenMark), pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.strokePath(outline, q);
      } else if (curve) {
        const int* dashes = DashPattern(pen.style);
        QPen q(QColor(kPenMark, kPenMark, kPenMark), 1);
        q.setCosmetic(true);
        if (dashes) {
          if (ctx.bkMode == OPAQUE) {
            QPen g = q;
            g.setColor(QColor(kGapMark, kGapMark, kGapMark));
            p.strokePath(outline, g);
          }
          QList<qreal> pattern;
          for (const int* d = dashes; *d; ++d) pattern << *d;
          q.setDashPattern(pattern);
        }
        p.strokePath(outline, q);
      }
    }
  }
  applyMask(mask, box, pen, brush, ctx, clip);
}

void RasterDevice::shapeWithThinOutline(const QPainterPath* fill, const DevBrush& brush, const std::vector<Point>& pts,
                                        const std::vector<int>& counts, const DevPen& pen, const DevContext& ctx) {
  const bool doFill = fill && !brush.null;
  const bool doPen = !pen.null && !pts.empty();
  if (!doFill && !doPen) return;
  const Clip clip = clipOf(s_, ctx);
  QRectF bounds = doFill ? fill->boundingRect() : QRectF();
  for (const Point& p : pts) bounds = bounds.united(QRectF(p.x, p.y, 1, 1));
  const Rect box = maskBox(bounds, 1, clip);
  if (box.IsRectEmpty()) return;
  QImage mask(box.Width(), box.Height(), QImage::Format_Grayscale8);
  mask.fill(0);
  if (doFill) {
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.translate(-box.left, -box.top);
    p.fillPath(*fill, QColor(kBrushMark, kBrushMark, kBrushMark));
  }
  if (doPen) {
    Clip local;
    local.rects.push_back(box);
    local.box = box;
    const Point* p = pts.data();
    for (int n : counts) {
      thinPolyline(p, n, pen, ctx, local, [&](int x, int y, bool gap) {
        mask.scanLine(y - box.top)[x - box.left] = static_cast<uchar>(gap ? kGapMark : kPenMark);
      }, nullptr);
      p += n;
    }
  }
  applyMask(mask, box, pen, brush, ctx, clip);
}

void RasterDevice::applyMask(const QImage& mask, const Rect& box, const DevPen& pen, const DevBrush& brush,
                             const DevContext& ctx, const Clip& clip) {
  const Painter2 penOp{ctx.rop2, RgbOf(pen.color)};
  const Painter2 gapOp{ctx.rop2, RgbOf(ctx.bkColor)};
  const BrushSampler sampler(brush, ctx);
  Rect touched;
  for (const Rect& c : clip.rects) {
    Rect part;
    if (!part.IntersectRect(c, box)) continue;
    touched.UnionRect(touched, part);
    for (int y = part.top; y < part.bottom; ++y) {
      const uchar* m = mask.constScanLine(y - box.top) - box.left;
      auto* row = reinterpret_cast<std::uint32_t*>(image().scanLine(y));
      for (int x = part.left; x < part.right; ++x) {
        const int v = m[x];
        if (v == 0) continue;
        if (v > (kPenMark + kGapMark) / 2) penOp(row[x]);
        else if (v > (kGapMark + kBrushMark) / 2) gapOp(row[x]);
        else if (std::uint32_t color; !brush.null && sampler.at(x, y, &color)) Painter2{ctx.rop2, color}(row[x]);
      }
    }
  }
  if (!touched.IsRectEmpty()) s_.Changed(touched);
}

void RasterDevice::fillRect(const Rect& rect, const DevBrush& brush, const DevContext& ctx, std::uint8_t code) {
  if (brush.null && Rop3UsesPattern(code)) return;
  Rect r = rect;
  r.NormalizeRect();
  const Clip clip = clipOf(s_, ctx);
  const BrushSampler sampler(brush, ctx);
  const std::uint32_t solid = kOpaque | sampler.rgb;
  Rect touched;
  for (const Rect& c : clip.rects) {
    Rect part;
    if (!part.IntersectRect(c, r)) continue;
    touched.UnionRect(touched, part);
    for (int y = part.top; y < part.bottom; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(image().scanLine(y));
      if (code == 0xF0 && sampler.solid()) {
        std::fill(row + part.left, row + part.right, solid);
        continue;
      }
      for (int x = part.left; x < part.right; ++x) {
        std::uint32_t p = 0;
        if (Rop3UsesPattern(code) && !sampler.at(x, y, &p)) continue;
        row[x] = kOpaque | (Rop3(code, p, 0, row[x]) & 0xFFFFFF);
      }
    }
  }
  if (!touched.IsRectEmpty()) s_.Changed(touched);
}

void RasterDevice::text(const TextRun& run, const DevContext& ctx) {
  const Clip clip0 = clipOf(s_, ctx);
  QRegion region;
  for (const Rect& r : clip0.rects) region += QRect(r.left, r.top, r.Width(), r.Height());
  if (run.clipRect) region &= QRect(run.clipRect->left, run.clipRect->top, run.clipRect->Width(), run.clipRect->Height());
  if (region.isEmpty()) return;

  const QRect bounds = run.CellBox().boundingRect().toAlignedRect().adjusted(-2, -2, 2, 2) |
                       (run.opaqueRect ? QRect(run.opaqueRect->left, run.opaqueRect->top, run.opaqueRect->Width(), run.opaqueRect->Height()) : QRect());
  const QRect touched = region.boundingRect() & bounds;
  if (touched.isEmpty()) return;

  if (ctx.rop2 == R2_COPYPEN) {
    // Straight onto the pixels, glyphs smoothed.
    QPainter p(&image());
    p.setClipRegion(region);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    PaintText(p, run, QColor::fromRgb(kOpaque | RgbOf(run.color)), QColor::fromRgb(kOpaque | RgbOf(run.bkColor)));
  } else {
    // Through a mask, so the operation sees each pixel once.
    const Rect box(touched.left(), touched.top(), touched.left() + touched.width(), touched.top() + touched.height());
    QImage mask(box.Width(), box.Height(), QImage::Format_Grayscale8);
    mask.fill(0);
    {
      QPainter p(&mask);
      p.setRenderHint(QPainter::Antialiasing, false);
      p.setRenderHint(QPainter::TextAntialiasing, false);
      p.translate(-box.left, -box.top);
      PaintText(p, run, QColor(kPenMark, kPenMark, kPenMark), QColor(kGapMark, kGapMark, kGapMark));
    }
    DevPen pen;
    pen.color = run.color;
    DevContext c = ctx;
    c.bkColor = run.bkColor;
    applyMask(mask, box, pen, NullBrush(), c, clip0);
    return;
  }
  s_.Changed(Rect(touched.left(), touched.top(), touched.left() + touched.width(), touched.top() + touched.height()));
}

void RasterDevice::blt(const Rect& dstIn, const RasterSurface& src, const Rect& srcIn, DWORD rop, const DevBrush& brush,
                       const DevContext& ctx) {
  Rect dst = dstIn, srcRect = srcIn;
  dst.NormalizeRect();
  srcRect.NormalizeRect();
  if (dst.IsRectEmpty()) return;
  const std::uint8_t code = Rop3Code(rop);
  const bool useSrc = Rop3UsesSource(code);
  if (useSrc && srcRect.IsRectEmpty()) return;
  const bool usePat = Rop3UsesPattern(code);
  if (usePat && brush.null) return;
  const Clip clip = clipOf(s_, ctx);
  const BrushSampler sampler(brush, ctx);
  // A copy within one surface reads the source before writing.
  QImage copy;
  const QImage* srcImage = &src.impl()->image;
  if (useSrc && &src == &s_) {
    copy = srcImage->copy();
    srcImage = &copy;
  }
  const int sw = srcRect.Width(), sh = srcRect.Height(), dw = dst.Width(), dh = dst.Height();
  const bool same = sw == dw && sh == dh;
  const int srcWidth = srcImage->width(), srcHeight = srcImage->height();
  // One pixel of the operation: d the destination, s the source, p the pattern.
  auto combine = [code](std::uint32_t d, std::uint32_t s, std::uint32_t p) {
    return kOpaque | (Rop3(code, p, s, d) & 0xFFFFFF);
  };
  // A row of pixels whose sources lie side by side (x's at src[x + shift]): the common
  // operations as whole rows.
  auto applyRow = [&](std::uint32_t* row, const std::uint32_t* src, int shift, int y, int from, int to) {
    switch (code) {
      case 0xCC:  // SRCCOPY
        for (int x = from; x < to; ++x) row[x] = kOpaque | src[x + shift];
        return;
      case 0x66:  // SRCINVERT
        for (int x = from; x < to; ++x) row[x] = kOpaque | ((row[x] ^ src[x + shift]) & 0xFFFFFF);
        return;
      case 0x88:  // SRCAND
        for (int x = from; x < to; ++x) row[x] = kOpaque | (row[x] & src[x + shift]);
        return;
      case 0xEE:  // SRCPAINT
        for (int x = from; x < to; ++x) row[x] = kOpaque | ((row[x] | src[x + shift]) & 0xFFFFFF);
        return;
      default:
        for (int x = from; x < to; ++x) {
          std::uint32_t p = 0;
          if (usePat && !sampler.at(x, y, &p)) continue;
          row[x] = combine(row[x], src ? src[x + shift] : 0, p);
        }
    }
  };
  Rect touched;
  for (const Rect& c : clip.rects) {
    Rect part;
    if (!part.IntersectRect(c, dst)) continue;
    touched.UnionRect(touched, part);
    for (int y = part.top; y < part.bottom; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(image().scanLine(y));
      if (!useSrc) {
        applyRow(row, nullptr, 0, y, part.left, part.right);
        continue;
      }
      const int syy = srcRect.top + (same ? y - dst.top : static_cast<int>(std::int64_t(y - dst.top) * sh / dh));
      if (syy < 0 || syy >= srcHeight) continue;
      const auto* srow = reinterpret_cast<const std::uint32_t*>(srcImage->constScanLine(syy));
      if (same) {
        // Source pixel of x: x + shift; only those inside the source image take part.
        const int shift = srcRect.left - dst.left;
        const int from = std::max(part.left, -shift), to = std::min(part.right, srcWidth - shift);
        if (from < to) applyRow(row, srow, shift, y, from, to);
        continue;
      }
      for (int x = part.left; x < part.right; ++x) {
        const int sxx = srcRect.left + static_cast<int>(std::int64_t(x - dst.left) * sw / dw);
        if (sxx < 0 || sxx >= srcWidth) continue;
        std::uint32_t p = 0;
        if (usePat && !sampler.at(x, y, &p)) continue;
        row[x] = combine(row[x], srow[sxx], p);
      }
    }
  }
  if (!touched.IsRectEmpty()) s_.Changed(touched);
}

}  // namespace

std::unique_ptr<Device> MakeRasterDevice(RasterSurface& surface, const DeviceCaps& caps) {
  return std::make_unique<RasterDevice>(surface, caps);
}

}  // namespace gdi::detail
