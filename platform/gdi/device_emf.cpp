// The recording device: every call becomes EMF records in the reference device's pixels.
//
// Objects are created when a call needs one that differs from the one selected, selected, and
// the one it replaces deleted; attributes are written when they change. The header is written
// last, with the drawing's bounds, the frame, the byte, record and handle counts.
#include <cmath>

#include "platform/gdi/internal.h"

namespace gdi::detail {

namespace {

Rect inclusive(const Rect& r) { return r.IsRectEmpty() ? Rect(0, 0, -1, -1) : Rect(r.left, r.top, r.right - 1, r.bottom - 1); }

Rect pointsBox(const Point* p, int n, int penWidth) {
  Rect r;
  if (n <= 0) return r;
  r = Rect(p[0].x, p[0].y, p[0].x + 1, p[0].y + 1);
  for (int i = 1; i < n; ++i) {
    r.left = std::min(r.left, p[i].x);
    r.top = std::min(r.top, p[i].y);
    r.right = std::max(r.right, p[i].x + 1);
    r.bottom = std::max(r.bottom, p[i].y + 1);
  }
  r.InflateRect(penWidth / 2, penWidth / 2);
  return r;
}

bool samePen(const DevPen& a, const DevPen& b) {
  return a.null == b.null && a.color == b.color && a.width == b.width && a.style == b.style;
}
bool sameBrush(const DevBrush& a, const DevBrush& b) {
  return a.null == b.null && a.style == b.style && a.color == b.color && a.hatch == b.hatch && a.pattern == b.pattern;
}

class EmfDevice final : public Device {
 public:
  EmfDevice(const DeviceCaps& reference, const Rect* frame, std::u16string_view description)
      : Device(reference), description_(description) {
    if (frame) frame_ = *frame;
    refs_.push_back(0);  // handle 0 is reserved
    // Text positions are baseline starts.
    dword(EMR_SETTEXTALIGN, TA_BASELINE | TA_LEFT);
  }

  void polyline(const Point* pts, int n, const DevPen& pen, const DevContext& ctx) override {
    if (pen.null || n < 2) return;
    prepare(&pen, nullptr, ctx);
    poly(EMR_POLYLINE, pts, n, pointsBox(pts, n, pen.width));
  }

  void polyPolygon(const Point* pts, const int* counts, int polys, const DevPen& pen, const DevBrush& brush,
                   const DevContext& ctx) override {
    prepare(&pen, &brush, ctx);
    dword(EMR_SETPOLYFILLMODE, static_cast<std::uint32_t>(ctx.polyFillMode), &fill_);
    int total = 0;
    for (int i = 0; i < polys; ++i) total += counts[i];
    const Rect box = pointsBox(pts, total, pen.null ? 0 : pen.width);
    if (polys == 1) {
      poly(EMR_POLYGON, pts, counts[0], box);
      return;
    }
    begin(EMR_POLYPOLYGON);
    out_.rect(inclusive(box));
    out_.u32(static_cast<std::uint32_t>(polys));
    out_.u32(static_cast<std::uint32_t>(total));
    for (int i = 0; i < polys; ++i) out_.u32(static_cast<std::uint32_t>(counts[i]));
    for (int i = 0; i < total; ++i) out_.point(pts[i]);
    end(box);
  }

  void rectangle(const Rect& r, const DevPen& pen, const DevBrush& brush, const DevContext& ctx) override {
    box(EMR_RECTANGLE, r, pen, brush, ctx);
  }
  void ellipse(const Rect& r, const DevPen& pen, const DevBrush& brush, const DevContext& ctx) override {
    box(EMR_ELLIPSE, r, pen, brush, ctx);
  }

  void roundRect(const Rect& r, int ew, int eh, const DevPen& pen, const DevBrush& brush, const DevContext& ctx) override {
    prepare(&pen, &brush, ctx);
    begin(EMR_ROUNDRECT);
    out_.rect(r);
    out_.i32(ew);
    out_.i32(eh);
    end(grown(r, pen));
  }

  void arc(ArcKind kind, const Rect& r, Point a, Point b, const DevPen& pen, const DevBrush& brush,
           const DevContext& ctx) override {
    prepare(&pen, kind == ArcKind::Arc ? nullptr : &brush, ctx);
    begin(kind == ArcKind::Arc ? EMR_ARC : kind == ArcKind::Chord ? EMR_CHORD : EMR_PIE);
    out_.rect(r);
    out_.point(a);
    out_.point(b);
    end(grown(r, pen));
  }

  void patBlt(const Rect& r, DWORD rop, const DevBrush& brush, const DevContext& ctx) override {
    if (r.IsRectEmpty()) return;
    prepare(nullptr, &brush, ctx);
    begin(EMR_BITBLT);
    out_.rect(inclusive(r));
    out_.i32(r.left);
    out_.i32(r.top);
    out_.i32(r.Width());
    out_.i32(r.Height());
    out_.u32(rop);
    out_.i32(0);
    out_.i32(0);
    for (float f : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) out_.f32(f);
    out_.u32(0);  // background colour of the source
    for (int i = 0; i < 5; ++i) out_.u32(0);  // usage, no bitmap
    end(r);
  }

  void setPixel(Point p, COLORREF color, const DevContext& ctx) override {
    prepare(nullptr, nullptr, ctx);
    begin(EMR_SETPIXELV);
    out_.point(p);
    out_.u32(color);
    end(Rect(p.x, p.y, p.x + 1, p.y + 1));
  }

  void text(const TextRun& run, const DevContext& ctx) override {
    prepare(nullptr, nullptr, ctx);
    selectFont(run);
    dword(EMR_SETTEXTCOLOR, run.color, &textColor_);
    dword(EMR_SETBKMODE, run.opaque ? OPAQUE : TRANSPARENT, &bkMode_);
    if (run.opaque || run.opaqueRect) dword(EMR_SETBKCOLOR, run.bkColor, &bkColor_);
    Rect bounds = [&] {
      const QRect q = run.CellBox().boundingRect().toAlignedRect();
      return Rect(q.left(), q.top(), q.left() + q.width(), q.top() + q.height());
    }();
    if (run.clipRect) bounds.IntersectRect(bounds, *run.clipRect);
    if (run.opaqueRect) bounds.UnionRect(bounds, *run.opaqueRect);
    const std::uint32_t n = static_cast<std::uint32_t>(run.text.size());
    const std::uint32_t stringOffset = 76;
    const std::uint32_t stringBytes = (n * 2 + 3) / 4 * 4;
    begin(EMR_EXTTEXTOUTW);
    out_.rect(inclusive(bounds));
    out_.u32(1);  // compatible graphics mode
    const float scale = caps().logPixelsX > 0 ? static_cast<float>(2540.0 / caps().logPixelsX) : 0.0f;
    out_.f32(scale);
    out_.f32(scale);
    out_.i32(static_cast<std::int32_t>(std::lround(run.origin.x())));
    out_.i32(static_cast<std::int32_t>(std::lround(run.origin.y())));
    out_.u32(n);
    out_.u32(stringOffset);
    UINT options = 0;
    Rect rect(0, 0, -1, -1);
    if (run.opaqueRect) options |= ETO_OPAQUE, rect = *run.opaqueRect;
    if (run.clipRect) options |= ETO_CLIPPED, rect = *run.clipRect;
    out_.u32(options);
    out_.rect(rect);
    out_.u32(stringOffset + stringBytes);
    for (char16_t c : run.text) out_.u16(c);
    out_.pad4();
    for (int adv : run.advances) out_.i32(adv);
    end(bounds);
  }

  void blt(const Rect& dst, const RasterSurface& src, const Rect& srcRect, DWORD rop, const DevBrush& brush,
           const DevContext& ctx) override {
    if (dst.IsRectEmpty() || srcRect.IsRectEmpty()) return;
    prepare(nullptr, Rop3UsesPattern(Rop3Code(rop)) ? &brush : nullptr, ctx);
    const Dib dib = EncodeDib(src, srcRect);
    const std::int32_t w = dib.width, h = dib.height;
    begin(EMR_STRETCHDIBITS);
    out_.rect(inclusive(dst));
    out_.i32(dst.left);
    out_.i32(dst.top);
    out_.i32(0);
    out_.i32(0);
    out_.i32(w);
    out_.i32(h);
    out_.u32(80);
    out_.u32(static_cast<std::uint32_t>(dib.info.size()));
    out_.u32(80 + static_cast<std::uint32_t>(dib.info.size()));
    out_.u32(static_cast<std::uint32_t>(dib.bits.size()));
    out_.u32(0);  // DIB_RGB_COLORS
    out_.u32(rop);
    out_.i32(dst.Width());
    out_.i32(dst.Height());
    out_.bytes(dib.info);
    out_.bytes(dib.bits);
    end(dst);
  }

  EnhMetaFile finish();

 private:
  Rect grown(const Rect& r, const DevPen& pen) const {
    Rect g = r;
    if (!pen.null) g.InflateRect(pen.width / 2, pen.width / 2);
    return g;
  }

  void box(std::uint32_t type, const Rect& r, const DevPen& pen, const DevBrush& brush, const DevContext& ctx) {
    prepare(&pen, &brush, ctx);
    begin(type);
    out_.rect(r);
    end(grown(r, pen));
  }

  void poly(std::uint32_t type, const Point* pts, int n, const Rect& box) {
    begin(type);
    out_.rect(inclusive(box));
    out_.u32(static_cast<std::uint32_t>(n));
    for (int i = 0; i < n; ++i) out_.point(pts[i]);
    end(box);
  }

  void begin(std::uint32_t type) {
    start_ = out_.size();
    out_.u32(type);
    out_.u32(0);
  }
  void end(const Rect& drawn = Rect()) {
    out_.pad4();
    out_.patch32(start_ + 4, static_cast<std::uint32_t>(out_.size() - start_));
    ++records_;
    if (!drawn.IsRectEmpty()) bounds_.UnionRect(bounds_, drawn);
  }

  // A one-value record, written when the value differs from `last`.
  void dword(std::uint32_t type, std::uint32_t value, std::optional<std::uint32_t>* last = nullptr) {
    if (last) {
      if (*last && **last == value) return;
      *last = value;
    }
    begin(type);
    out_.u32(value);
    end();
  }

  void prepare(const DevPen* pen, const DevBrush* brush, const DevContext& ctx) {
    dword(EMR_SETROP2, static_cast<std::uint32_t>(ctx.rop2), &rop2_);
    dword(EMR_SETBKMODE, static_cast<std::uint32_t>(ctx.bkMode), &bkMode_);
    dword(EMR_SETBKCOLOR, ctx.bkColor, &bkColor_);
    clip(ctx.clip);
    if (pen) selectPen(*pen);
    if (brush) selectBrush(*brush);
  }

  void clip(const QRegion* region) {
    const bool same = (!region && !clipSet_) || (region && clipSet_ && *region == clip_);
    if (same) return;
    begin(EMR_EXTSELECTCLIPRGN);
    if (!region) {
      out_.u32(0);
      out_.u32(RGN_COPY);
      clipSet_ = false;
    } else {
      const int n = region->rectCount();
      out_.u32(static_cast<std::uint32_t>(32 + 16 * n));
      out_.u32(RGN_COPY);
      const QRect b = region->boundingRect();
      out_.u32(32);
      out_.u32(1);  // rectangles
      out_.u32(static_cast<std::uint32_t>(n));
      out_.u32(static_cast<std::uint32_t>(16 * n));
      out_.rect(Rect(b.left(), b.top(), b.left() + b.width(), b.top() + b.height()));
      for (const QRect& q : *region) out_.rect(Rect(q.left(), q.top(), q.left() + q.width(), q.top() + q.height()));
      clip_ = *region;
      clipSet_ = true;
    }
    end();
  }

  std::uint32_t newHandle() {
    for (std::size_t i = 1; i < refs_.size(); ++i)
      if (!refs_[i]) {
        refs_[i] = 1;
        return static_cast<std::uint32_t>(i);
      }
    refs_.push_back(1);
    return static_cast<std::uint32_t>(refs_.size() - 1);
  }

  // Selects `handle` in place of *slot and deletes the handle it replaces.
  void select(std::uint32_t* slot, std::uint32_t handle) {
    begin(EMR_SELECTOBJECT);
    out_.u32(handle);
    end();
    const std::uint32_t old = *slot;
    *slot = handle;
    if (old && !(old & 0x80000000u)) {
      begin(EMR_DELETEOBJECT);
      out_.u32(old);
      end();
      refs_[old] = 0;
    }
  }

  void selectPen(const DevPen& pen) {
    if (havePen_ && samePen(pen, pen_)) return;
    pen_ = pen;
    havePen_ = true;
    if (pen.null) return select(&penHandle_, 0x80000000u | NULL_PEN);
    const std::uint32_t h = newHandle();
    begin(EMR_CREATEPEN);
    out_.u32(h);
    out_.u32(pen.style);
    out_.i32(pen.width == 1 ? 0 : pen.width);  // one pixel: the cosmetic width 0
    out_.i32(0);
    out_.u32(pen.color);
    end();
    select(&penHandle_, h);
  }

  void selectBrush(const DevBrush& brush) {
    if (haveBrush_ && sameBrush(brush, brush_)) return;
    brush_ = brush;
    haveBrush_ = true;
    if (brush.null) return select(&brushHandle_, 0x80000000u | NULL_BRUSH);
    const std::uint32_t h = newHandle();
    if (brush.style == BS_PATTERN && brush.pattern) {
      const Dib dib = EncodeDib(*brush.pattern, Rect(0, 0, brush.pattern->Width(), brush.pattern->Height()));
      begin(EMR_CREATEDIBPATTERNBRUSHPT);
      out_.u32(h);
      out_.u32(0);  // DIB_RGB_COLORS
      out_.u32(32);
      out_.u32(static_cast<std::uint32_t>(dib.info.size()));
      out_.u32(32 + static_cast<std::uint32_t>(dib.info.size()));
      out_.u32(static_cast<std::uint32_t>(dib.bits.size()));
      out_.bytes(dib.info);
      out_.bytes(dib.bits);
      end();
    } else {
      begin(EMR_CREATEBRUSHINDIRECT);
      out_.u32(h);
      out_.u32(brush.style == BS_PATTERN ? BS_SOLID : brush.style);
      out_.u32(brush.color);
      out_.u32(brush.hatch);
      end();
    }
    select(&brushHandle_, h);
    // The brush origin is the device's; write it when it changes.
    if (!brushOrgSet_ || brush.origin != brushOrg_) {
      begin(EMR_SETBRUSHORGEX);
      out_.point(brush.origin);
      end();
      brushOrg_ = brush.origin;
      brushOrgSet_ = true;
    }
  }

  void selectFont(const TextRun& run) {
    if (font_ == run.font && escapement_ == run.escapement) return;
    font_ = run.font;
    escapement_ = run.escapement;
    const RealizedFont& f = *run.font;
    const std::uint32_t h = newHandle();
    begin(EMR_EXTCREATEFONTINDIRECTW);
    out_.u32(h);
    // A font of the default height is recorded at the height it was drawn in, so its texts shrink
    // and grow with the picture when it is played back scaled.
    out_.i32(f.requestHeight != 0 ? f.requestHeight : -std::max(1, static_cast<int>(std::lround(f.emPixels))));
    out_.i32(f.xScale != 1.0 ? f.aveCharWidth : 0);
    out_.i32(run.escapement);
    out_.i32(run.escapement);
    out_.i32(f.weight);
    for (std::uint8_t b : {std::uint8_t(f.italic), std::uint8_t(f.underline), std::uint8_t(f.strikeOut),
                           std::uint8_t(f.charSet), std::uint8_t(0), std::uint8_t(0), std::uint8_t(0),
                           std::uint8_t(0)})
      out_.u8(b);
    // The face asked for (the player maps it again), 32 characters.
    for (int i = 0; i < LF_FACESIZE; ++i) out_.u16(i < static_cast<int>(f.requestFace.size()) ? f.requestFace[i] : 0);
    // The rest of the panose form: full name, style, version ... panose, padding.
    for (int i = 0; i < 64 + 32; ++i) out_.u16(0);
    for (int i = 0; i < 6; ++i) out_.u32(0);
    for (int i = 0; i < 12; ++i) out_.u8(0);
    end();
    select(&fontHandle_, h);
  }

  std::optional<Rect> frame_;
  std::u16string description_;
  Writer out_;
  std::size_t start_ = 0;
  std::uint32_t records_ = 0;
  Rect bounds_;
  std::vector<int> refs_;
  std::uint32_t penHandle_ = 0x80000000u | BLACK_PEN;
  std::uint32_t brushHandle_ = 0x80000000u | WHITE_BRUSH;
  std::uint32_t fontHandle_ = 0x80000000u | SYSTEM_FONT;
  DevPen pen_;
  DevBrush brush_;
  bool havePen_ = false, haveBrush_ = false;
  std::shared_ptr<const RealizedFont> font_;
  int escapement_ = 0;
  std::optional<std::uint32_t> rop2_, bkMode_, bkColor_, textColor_, fill_;
  QRegion clip_;
  bool clipSet_ = false;
  Point brushOrg_;
  bool brushOrgSet_ = false;
};

// Pixels to 0.01 mm of the reference device.
std::int32_t toHundredthMm(std::int32_t px, int logPixels) {
  return logPixels > 0 ? static_cast<std::int32_t>(std::llround(double(px) * 2540.0 / logPixels)) : 0;
}

EnhMetaFile EmfDevice::finish() {
  // End of file: no palette.
  begin(EMR_EOF);
  out_.u32(0);
  out_.u32(16);
  out_.u32(20);
  end();

  const DeviceCaps& ref = caps();
  Writer head;
  std::vector<std::uint8_t> description;
  if (!description_.empty()) {
    Writer d;
    for (char16_t c : description_) d.u16(c);
    d.u16(0);
    d.u16(0);
    description = std::move(d.data());
  }
  const std::uint32_t nDescription = static_cast<std::uint32_t>(description.size() / 2);
  const std::uint32_t headerSize = static_cast<std::uint32_t>((108 + description.size() + 3) / 4 * 4);
  const Rect frame = frame_ ? *frame_
                            : (bounds_.IsRectEmpty()
                                   ? Rect(0, 0, 0, 0)
                                   : Rect(toHundredthMm(bounds_.left, ref.logPixelsX), toHundredthMm(bounds_.top, ref.logPixelsY),
                                          toHundredthMm(bounds_.right, ref.logPixelsX), toHundredthMm(bounds_.bottom, ref.logPixelsY)));
  head.u32(EMR_HEADER);
  head.u32(headerSize);
  head.rect(inclusive(bounds_));
  head.rect(frame);
  head.u32(0x464D4520);  // " EMF"
  head.u32(0x10000);
  head.u32(headerSize + static_cast<std::uint32_t>(out_.size()));
  head.u32(records_ + 1);
  head.u16(static_cast<std::uint16_t>(std::min<std::size_t>(refs_.size(), 0xFFFF)));
  head.u16(0);
  head.u32(nDescription);
  head.u32(nDescription ? 108 : 0);
  head.u32(0);  // palette entries
  head.i32(ref.horzRes);
  head.i32(ref.vertRes);
  head.i32(ref.HorzSizeMm());
  head.i32(ref.VertSizeMm());
  head.u32(0);  // pixel format
  head.u32(0);
  head.u32(0);  // OpenGL
  head.i32(ref.logPixelsX > 0 ? static_cast<std::int32_t>(std::llround(ref.horzRes * 25400.0 / ref.logPixelsX)) : 0);
  head.i32(ref.logPixelsY > 0 ? static_cast<std::int32_t>(std::llround(ref.vertRes * 25400.0 / ref.logPixelsY)) : 0);
  head.bytes(description);
  head.pad4();
  head.bytes(out_.data());
  std::string error;
  return EnhMetaFile::FromBytes(head.data(), &error);
}

}  // namespace

std::unique_ptr<Device> MakeEmfDevice(const DeviceCaps& reference, const Rect* frame, std::u16string_view description) {
  return std::make_unique<EmfDevice>(reference, frame, description);
}

EnhMetaFile FinishEmf(Device& device) {
  auto* emf = dynamic_cast<EmfDevice*>(&device);
  return emf ? emf->finish() : EnhMetaFile();
}

}  // namespace gdi::detail
