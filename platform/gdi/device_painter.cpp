// Devices that draw through a QPainter: PDF documents and (through the ui layer) printers.
// There are no raster operations here: a call whose colour depends on the destination (XOR and
// the like) draws nothing, so marks made for the screen never reach paper.
#include <QFile>
#include <QPageSize>
#include <QPdfWriter>

#include <cmath>
#include <cstdio>

#include "platform/base/text.h"
#include "platform/gdi/internal.h"

namespace gdi::detail {

namespace {

// The colour a binary operation gives without looking at the destination; false when it needs it.
bool colorOf(int rop2, COLORREF color, QColor* out) {
  switch (rop2) {
    case R2_COPYPEN: *out = QColor::fromRgb(0xFF000000u | RgbOf(color)); return true;
    case R2_NOTCOPYPEN: *out = QColor::fromRgb(0xFF000000u | (~RgbOf(color) & 0xFFFFFF)); return true;
    case R2_BLACK: *out = Qt::black; return true;
    case R2_WHITE: *out = Qt::white; return true;
    default: return false;
  }
}

class PainterDevice : public Device {
 public:
  PainterDevice(QPainter* painter, const DeviceCaps& caps, std::function<bool()> newPage)
      : Device(caps), p_(painter), newPage_(std::move(newPage)) {}

  void polyline(const Point* pts, int n, const DevPen& pen, const DevContext& ctx) override {
    if (n < 2) return;
    stroke(PolylinePath(pts, n, false), pen, ctx, pen.width == 1);
  }

  void polyPolygon(const Point* pts, const int* counts, int polys, const DevPen& pen, const DevBrush& brush,
                   const DevContext& ctx) override {
    fill(PolygonPath(pts, counts, polys, ctx.polyFillMode), brush, ctx);
    QPainterPath outline;
    for (int k = 0; k < polys; ++k) {
      outline.addPath(PolylinePath(pts, counts[k], true));
      pts += counts[k];
    }
    stroke(outline, pen, ctx, false);
  }

  void rectangle(const Rect& r, const DevPen& pen, const DevBrush& brush, const DevContext& ctx) override {
    QPainterPath area;
    area.addRect(QRectF(r.left, r.top, r.Width() - 1, r.Height() - 1));
    fill(area, brush, ctx);
    QPainterPath outline;
    outline.addRect(QRectF(r.left + 0.5, r.top + 0.5, r.Width() - 1, r.Height() - 1));
    stroke(outline, pen, ctx, false);
  }

  void roundRect(const Rect& r, int ew, int eh, const DevPen& pen, const DevBrush& brush, const DevContext& ctx) override {
    const QPainterPath path = RoundRectPath(r, ew, eh);
    fill(path, brush, ctx);
    stroke(path, pen, ctx, false);
  }

  void ellipse(const Rect& r, const DevPen& pen, const DevBrush& brush, const DevContext& ctx) override {
    const QPainterPath path = EllipsePath(r);
    fill(path, brush, ctx);
    stroke(path, pen, ctx, false);
  }

  void arc(ArcKind kind, const Rect& r, Point a, Point b, const DevPen& pen, const DevBrush& brush,
           const DevContext& ctx) override {
    const QPainterPath path = ArcPath(kind, r, a, b);
    if (kind != ArcKind::Arc) fill(path, brush, ctx);
    stroke(path, pen, ctx, false);
  }

  void patBlt(const Rect& r, DWORD rop, const DevBrush& brush, const DevContext& ctx) override {
    const std::uint8_t code = Rop3Code(rop);
    if (Rop3UsesDest(code)) return;
    QPainterPath area;
    area.addRect(QRectF(r.left, r.top, r.Width(), r.Height()));
    if (code == 0x00) solid(area, Qt::black, ctx);
    else if (code == 0xFF) solid(area, Qt::white, ctx);
    else if (code == 0xF0) fill(area, brush, ctx, R2_COPYPEN);
    else if (code == 0x0F) fill(area, brush, ctx, R2_NOTCOPYPEN);
  }

  void setPixel(Point pt, COLORREF color, const DevContext& ctx) override {
    QPainterPath area;
    area.addRect(QRectF(pt.x, pt.y, 1, 1));
    solid(area, QColor::fromRgb(0xFF000000u | RgbOf(color)), ctx);
  }

  void text(const TextRun& run, const DevContext& ctx) override {
    QColor ink;
    if (!colorOf(ctx.rop2, run.color, &ink)) return;
    begin();
    p_->save();
    clip(ctx);
    if (run.clipRect) p_->setClipRect(QRect(run.clipRect->left, run.clipRect->top, run.clipRect->Width(), run.clipRect->Height()), Qt::IntersectClip);
    PaintText(*p_, run, ink, QColor::fromRgb(0xFF000000u | RgbOf(run.bkColor)));
    p_->restore();
  }

  void blt(const Rect& dst, const RasterSurface& src, const Rect& srcRect, DWORD rop, const DevBrush& brush,
           const DevContext& ctx) override {
    const std::uint8_t code = Rop3Code(rop);
    if (code != 0xCC && code != 0x33) {  // SRCCOPY, NOTSRCCOPY; the rest needs the destination
      if (!Rop3UsesSource(code)) patBlt(dst, rop, brush, ctx);
      return;
    }
    QImage part = src.impl()->image.copy(srcRect.left, srcRect.top, srcRect.Width(), srcRect.Height());
    if (code == 0x33) part.invertPixels();
    begin();
    p_->save();
    clip(ctx);
    p_->drawImage(QRectF(dst.left, dst.top, dst.Width(), dst.Height()), part);
    p_->restore();
  }

  int startDoc(std::u16string_view) override {
    begin();
    return p_->isActive() ? 1 : 0;
  }
  int startPage() override {
    begin();
    if (pages_++ > 0 && newPage_ && !newPage_()) return 0;
    return 1;
  }
  int endPage() override { return 1; }
  int endDoc() override {
    if (p_->isActive()) p_->end();
    return 1;
  }

 protected:
  virtual void begin() {}
  QPainter* p_;

 private:
  void clip(const DevContext& ctx) {
    if (ctx.clip) p_->setClipRegion(*ctx.clip);
  }

  void solid(const QPainterPath& area, const QColor& color, const DevContext& ctx) {
    begin();
    p_->save();
    clip(ctx);
    p_->fillPath(area, color);
    p_->restore();
  }

  void fill(const QPainterPath& area, const DevBrush& brush, const DevContext& ctx, int rop2 = -1) {
    if (brush.null) return;
    QColor color;
    if (!colorOf(rop2 < 0 ? ctx.rop2 : rop2, brush.color, &color)) return;
    begin();
    p_->save();
    clip(ctx);
    if (brush.style == BS_HATCHED) {
      if (ctx.bkMode == OPAQUE) p_->fillPath(area, QColor::fromRgb(0xFF000000u | RgbOf(ctx.bkColor)));
      static constexpr Qt::BrushStyle kHatch[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                  Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
      p_->fillPath(area, QBrush(color, kHatch[std::min<std::uint32_t>(brush.hatch, 5)]));
    } else if (brush.style == BS_PATTERN && brush.pattern) {
      QBrush b(brush.pattern->impl()->image);
      b.setTransform(QTransform::fromTranslate(brush.origin.x, brush.origin.y));
      p_->fillPath(area, b);
    } else {
      p_->fillPath(area, color);
    }
    p_->restore();
  }

  void stroke(const QPainterPath& path, const DevPen& pen, const DevContext& ctx, bool openThin) {
    if (pen.null) return;
    QColor color;
    if (!colorOf(ctx.rop2, pen.color, &color)) return;
    begin();
    p_->save();
    clip(ctx);
    QPen q(color, pen.width, Qt::SolidLine, openThin ? Qt::FlatCap : Qt::RoundCap, Qt::RoundJoin);
    if (const int* dashes = DashPattern(pen.style)) {
      QList<qreal> pattern;
      for (const int* d = dashes; *d; ++d) pattern << *d;
      q.setDashPattern(pattern);
      if (ctx.bkMode == OPAQUE) {
        QPen gap(QColor::fromRgb(0xFF000000u | RgbOf(ctx.bkColor)), pen.width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
        p_->strokePath(path, gap);
      }
    }
    p_->strokePath(path, q);
    p_->restore();
  }

  std::function<bool()> newPage_;
  int pages_ = 0;
};

// A PDF document written to a temporary sibling and moved over the target when it ends.
class PdfDevice final : public PainterDevice {
 public:
  PdfDevice(const std::string& path, const PdfPageSetup& page, const DeviceCaps& caps)
      : PainterDevice(&painter_, caps, [this] { return writer_->newPage(); }),
        path_(path),
        temp_(path + ".tmp"),
        file_(QString::fromStdString(temp_)) {
    writer_ = std::make_unique<QPdfWriter>(&file_);
    writer_->setResolution(page.dpi);
    writer_->setPageSize(QPageSize(QSizeF(page.widthMm, page.heightMm), QPageSize::Millimeter));
    const double m = page.marginMm;
    writer_->setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Millimeter);
    writer_->setTitle(QString::fromStdU16String(page.title));
    writer_->setCreator(QStringLiteral("KEDRUS"));
  }
  ~PdfDevice() override {
    if (!ended_) abortDoc();
  }

  int endDoc() override {
    if (path_.empty()) return 0;
    begin();
    ended_ = true;
    painter_.end();
    file_.close();
    if (file_.error() != QFileDevice::NoError || std::rename(temp_.c_str(), path_.c_str()) != 0) {
      file_.remove();
      return 0;
    }
    return 1;
  }
  int abortDoc() override {
    ended_ = true;
    if (path_.empty()) return 1;
    if (painter_.isActive()) painter_.end();
    file_.close();
    file_.remove();
    return 1;
  }

 protected:
  // The file and the painter open with the first call that draws or starts the document.
  void begin() override {
    if (path_.empty() || ended_ || painter_.isActive()) return;
    if (!file_.isOpen() && !file_.open(QIODevice::WriteOnly)) return;
    painter_.begin(writer_.get());
  }

 private:
  std::string path_, temp_;
  QFile file_;
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
  bool ended_ = false;
};

}  // namespace

std::unique_ptr<Device> MakePainterDevice(QPainter& painter, const DeviceCaps& caps, std::function<bool()> newPage) {
  return std::make_unique<PainterDevice>(&painter, caps, std::move(newPage));
}

std::unique_ptr<Device> MakePdfDevice(const std::string& path, const PdfPageSetup& page, DeviceCaps* caps) {
  const double m = page.marginMm;
  if (page.dpi <= 0 || !(m >= 0) || !(page.widthMm > 2 * m) || !(page.heightMm > 2 * m)) return nullptr;
  const auto pixels = [&](double mm) { return static_cast<int>(std::lround(mm / 25.4 * page.dpi)); };
  DeviceCaps c;
  c.technology = DT_RASPRINTER;
  c.logPixelsX = c.logPixelsY = page.dpi;
  c.horzRes = pixels(page.widthMm - 2 * m);
  c.vertRes = pixels(page.heightMm - 2 * m);
  c.physicalWidth = pixels(page.widthMm);
  c.physicalHeight = pixels(page.heightMm);
  c.physicalOffsetX = c.physicalOffsetY = pixels(m);
  c.bitsPixel = 24;
  *caps = c;
  return std::make_unique<PdfDevice>(path, page, c);
}

}  // namespace gdi::detail
