// The Windows-metafile writer: a device whose calls become WMF records in the reference
// device's pixels (16-bit coordinates), finished with the placeable header, the metafile header
// (size, object count, largest record) and the end record.
#include <cmath>

#include "platform/base/text.h"
#include "platform/gdi/internal.h"

namespace gdi::detail {

namespace {

std::int16_t c16(std::int64_t v) { return static_cast<std::int16_t>(std::clamp<std::int64_t>(v, -32768, 32767)); }

// Windows-1252 bytes of 16-bit text; characters it lacks become "?".
std::string toCp1252(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    char byte = '?';
    for (int b = 0x80; b <= 0x9F; ++b)
      if (plat::fromCp1252(static_cast<unsigned char>(b)) == c) byte = static_cast<char>(b);
    out.push_back(byte);
  }
  return out;
}

class WmfDevice final : public Device {
 public:
  explicit WmfDevice(const DeviceCaps& reference) : Device(reference) {}

  void mapping(Mapping kind, int a, int b) override {
    auto& last = mapping_[static_cast<std::size_t>(kind)];
    if (last && last->first == a && last->second == b) return;
    last = std::make_pair(a, b);
    static constexpr std::uint16_t kFunctions[] = {META_SETMAPMODE, META_SETWINDOWORG, META_SETWINDOWEXT, 0x020D, 0x020E};
    begin(kFunctions[static_cast<std::size_t>(kind)]);  // the last two: META_SETVIEWPORTORG, META_SETVIEWPORTEXT
    if (kind == Mapping::Mode) {
      out_.u16(static_cast<std::uint16_t>(a));
    } else {
      out_.i16(c16(b));
      out_.i16(c16(a));
    }
    end();
  }

  void polyline(const Point* pts, int n, const DevPen& pen, const DevContext& ctx) override {
    if (pen.null || n < 2) return;
    prepare(&pen, nullptr, ctx);
    drawn(pointsBox(pts, n), pen.width);
    // Long polylines go in pieces that share their end points.
    constexpr int kPiece = 8000;
    for (int start = 0; start < n - 1; start += kPiece - 1) {
      const int count = std::min(kPiece, n - start);
      clipped(ctx, [&] {
        begin(META_POLYLINE);
        out_.i16(static_cast<std::int16_t>(count));
        for (int i = 0; i < count; ++i) point(pts[start + i]);
        end();
      });
    }
  }

  void polyPolygon(const Point* pts, const int* counts, int polys, const DevPen& pen, const DevBrush& brush,
                   const DevContext& ctx) override {
    prepare(&pen, &brush, ctx);
    word(META_SETPOLYFILLMODE, static_cast<std::uint16_t>(ctx.polyFillMode), &fill_);
    int total = 0;
    for (int i = 0; i < polys; ++i) total += counts[i];
    if (total > 32767 || polys > 32767) return;  // beyond what a metafile record can hold
    drawn(pointsBox(pts, total), pen.null ? 0 : pen.width);
    clipped(ctx, [&] {
      if (polys == 1) {
        begin(META_POLYGON);
        out_.i16(static_cast<std::int16_t>(total));
      } else {
        begin(META_POLYPOLYGON);
        out_.u16(static_cast<std::uint16_t>(polys));
        for (int i = 0; i < polys; ++i) out_.u16(static_cast<std::uint16_t>(counts[i]));
      }
      for (int i = 0; i < total; ++i) point(pts[i]);
      end();
    });
  }

  void rectangle(const Rect& r, const DevPen& pen, const DevBrush& brush, const DevContext& ctx) override {
    prepare(&pen, &brush, ctx);
    drawn(r, pen.null ? 0 : pen.width);
    clipped(ctx, [&] {
      begin(META_RECTANGLE);
      box(r);
      end();
    });
  }

  void ellipse(const Rect& r, const DevPen& pen, const DevBrush& brush, const DevContext& ctx) override {
    prepare(&pen, &brush, ctx);
    drawn(r, pen.null ? 0 : pen.width);
    clipped(ctx, [&] {
      begin(META_ELLIPSE);
      box(r);
      end();
    });
  }

  void roundRect(const Rect& r, int ew, int eh, const DevPen& pen, const DevBrush& brush, const DevContext& ctx) override {
    prepare(&pen, &brush, ctx);
    drawn(r, pen.null ? 0 : pen.width);
    clipped(ctx, [&] {
      begin(META_ROUNDRECT);
      out_.i16(c16(eh));
      out_.i16(c16(ew));
      box(r);
      end();
    });
  }

  void arc(ArcKind kind, const Rect& r, Point a, Point b, const DevPen& pen, const DevBrush& brush,
           const DevContext& ctx) override {
    prepare(&pen, kind == ArcKind::Arc ? nullptr : &brush, ctx);
    drawn(r, pen.null ? 0 : pen.width);
    clipped(ctx, [&] {
      begin(kind == ArcKind::Arc ? META_ARC : kind == ArcKind::Chord ? META_CHORD : META_PIE);
      out_.i16(c16(b.y));
      out_.i16(c16(b.x));
      out_.i16(c16(a.y));
      out_.i16(c16(a.x));
      box(r);
      end();
    });
  }

  void patBlt(const Rect& r, DWORD rop, const DevBrush& brush, const DevContext& ctx) override {
    if (r.IsRectEmpty()) return;
    prepare(nullptr, &brush, ctx);
    drawn(r, 0);
    clipped(ctx, [&] {
      begin(META_PATBLT);
      out_.u32(rop);
      out_.i16(c16(r.Height()));
      out_.i16(c16(r.Width()));
      out_.i16(c16(r.top));
      out_.i16(c16(r.left));
      end();
    });
  }

  void setPixel(Point p, COLORREF color, const DevContext& ctx) override {
    prepare(nullptr, nullptr, ctx);
    drawn(Rect(p.x, p.y, p.x + 1, p.y + 1), 0);
    clipped(ctx, [&] {
      begin(META_SETPIXEL);
      out_.u32(color);
      out_.i16(c16(p.y));
      out_.i16(c16(p.x));
      end();
    });
  }

  void text(const TextRun& run, const DevContext& ctx) override {
    prepare(nullptr, nullptr, ctx);
    selectFont(run);
    dword(META_SETTEXTCOLOR, run.color, &textColor_);
    word(META_SETBKMODE, static_cast<std::uint16_t>(run.opaque ? OPAQUE : TRANSPARENT), &bkMode_);
    if (run.opaque || run.opaqueRect) dword(META_SETBKCOLOR, run.bkColor, &bkColor_);
    const std::string bytes = toCp1252(run.text);
    if (bytes.size() > 32767) return;
    const QRect cell = run.CellBox().boundingRect().toAlignedRect();
    drawn(Rect(cell.left(), cell.top(), cell.left() + cell.width(), cell.top() + cell.height()), 0);
    if (run.opaqueRect) drawn(*run.opaqueRect, 0);
    clipped(ctx, [&] {
      begin(META_EXTTEXTOUT);
      out_.i16(c16(std::lround(run.origin.y())));
      out_.i16(c16(std::lround(run.origin.x())));
      out_.i16(static_cast<std::int16_t>(bytes.size()));
      UINT options = 0;
      std::optional<Rect> rect;
      if (run.opaqueRect) options |= ETO_OPAQUE, rect = run.opaqueRect;
      if (run.clipRect) options |= ETO_CLIPPED, rect = run.clipRect;
      out_.u16(static_cast<std::uint16_t>(options));
      if (rect) {
        out_.i16(c16(rect->left));
        out_.i16(c16(rect->top));
        out_.i16(c16(rect->right));
        out_.i16(c16(rect->bottom));
      }
      for (char c : bytes) out_.u8(static_cast<std::uint8_t>(c));
      if (bytes.size() & 1) out_.u8(0);
      for (int adv : run.advances) out_.i16(c16(adv));
      end();
    });
  }

  void blt(const Rect& dst, const RasterSurface& src, const Rect& srcRect, DWORD rop, const DevBrush& brush,
           const DevContext& ctx) override {
    if (dst.IsRectEmpty() || srcRect.IsRectEmpty()) return;
    prepare(nullptr, Rop3UsesPattern(Rop3Code(rop)) ? &brush : nullptr, ctx);
    const Dib dib = EncodeDib(src, srcRect);
    drawn(dst, 0);
    clipped(ctx, [&] {
      begin(META_STRETCHDIB);
      out_.u32(rop);
      out_.u16(0);  // DIB_RGB_COLORS
      out_.i16(c16(dib.height));
      out_.i16(c16(dib.width));
      out_.i16(0);
      out_.i16(0);
      out_.i16(c16(dst.Height()));
      out_.i16(c16(dst.Width()));
      out_.i16(c16(dst.top));
      out_.i16(c16(dst.left));
      out_.bytes(dib.info);
      out_.bytes(dib.bits);
      end();
    });
  }

  std::vector<std::uint8_t> finish(const Rect* bounds);

 private:
  static Rect pointsBox(const Point* p, int n) {
    Rect r(p[0].x, p[0].y, p[0].x + 1, p[0].y + 1);
    for (int i = 1; i < n; ++i) r.UnionRect(r, Rect(p[i].x, p[i].y, p[i].x + 1, p[i].y + 1));
    return r;
  }
  void drawn(Rect r, int penWidth) {
    r.InflateRect(penWidth / 2, penWidth / 2);
    bounds_.UnionRect(bounds_, r);
  }

  void point(Point p) {
    out_.i16(c16(p.x));
    out_.i16(c16(p.y));
  }
  void box(const Rect& r) {
    out_.i16(c16(r.bottom));
    out_.i16(c16(r.right));
    out_.i16(c16(r.top));
    out_.i16(c16(r.left));
  }

  void begin(std::uint16_t function) {
    start_ = out_.size();
    out_.u32(0);
    out_.u16(function);
  }
  void end() {
    if (out_.size() & 1) out_.u8(0);
    const std::uint32_t words = static_cast<std::uint32_t>((out_.size() - start_) / 2);
    out_.patch32(start_, words);
    maxRecord_ = std::max(maxRecord_, words);
  }

  void word(std::uint16_t function, std::uint16_t value, std::optional<std::uint32_t>* last) {
    if (*last && **last == value) return;
    *last = value;
    begin(function);
    out_.u16(value);
    out_.u16(0);
    end();
  }
  void dword(std::uint16_t function, std::uint32_t value, std::optional<std::uint32_t>* last) {
    if (*last && **last == value) return;
    *last = value;
    begin(function);
    out_.u32(value);
    end();
  }

  // A clip region is kept for one record: save, intersect with its box, draw, restore (the
  // objects and attributes the record uses are selected before the save, so they stay).
  template <class Draw>
  void clipped(const DevContext& ctx, Draw&& draw) {
    if (!ctx.clip) {
      draw();
      return;
    }
    begin(META_SAVEDC);
    end();
    const QRect b = ctx.clip->boundingRect();
    begin(META_INTERSECTCLIPRECT);
    box(ctx.clip->isEmpty() ? Rect() : Rect(b.left(), b.top(), b.left() + b.width(), b.top() + b.height()));
    end();
    draw();
    begin(META_RESTOREDC);
    out_.i16(-1);
    end();
  }

  void prepare(const DevPen* pen, const DevBrush* brush, const DevContext& ctx) {
    word(META_SETROP2, static_cast<std::uint16_t>(ctx.rop2), &rop2_);
    word(META_SETBKMODE, static_cast<std::uint16_t>(ctx.bkMode), &bkMode_);
    dword(META_SETBKCOLOR, ctx.bkColor, &bkColor_);
    if (pen) selectPen(*pen);
    if (brush) selectBrush(*brush);
  }

  int newSlot() {
    for (std::size_t i = 0; i < slots_.size(); ++i)
      if (!slots_[i]) {
        slots_[i] = true;
        return static_cast<int>(i);
      }
    slots_.push_back(true);
    maxObjects_ = std::max(maxObjects_, static_cast<int>(slots_.size()));
    return static_cast<int>(slots_.size() - 1);
  }

  void select(int* current, int slot) {
    begin(META_SELECTOBJECT);
    out_.u16(static_cast<std::uint16_t>(slot));
    end();
    if (*current >= 0) {
      begin(META_DELETEOBJECT);
      out_.u16(static_cast<std::uint16_t>(*current));
      end();
      slots_[static_cast<std::size_t>(*current)] = false;
    }
    *current = slot;
  }

  void selectPen(const DevPen& pen) {
    if (penSet_ && pen.null == pen_.null && pen.color == pen_.color && pen.width == pen_.width && pen.style == pen_.style)
      return;
    pen_ = pen;
    penSet_ = true;
    const int slot = newSlot();
    begin(META_CREATEPENINDIRECT);
    out_.u16(static_cast<std::uint16_t>(pen.null ? PS_NULL : pen.style));
    out_.i16(c16(pen.width == 1 ? 0 : pen.width));
    out_.i16(0);
    out_.u32(pen.color);
    end();
    select(&penSlot_, slot);
  }

  void selectBrush(const DevBrush& brush) {
    if (brushSet_ && brush.null == brush_.null && brush.style == brush_.style && brush.color == brush_.color &&
        brush.hatch == brush_.hatch && brush.pattern == brush_.pattern)
      return;
    brush_ = brush;
    brushSet_ = true;
    const int slot = newSlot();
    if (!brush.null && brush.style == BS_PATTERN && brush.pattern) {
      const Dib dib = EncodeDib(*brush.pattern, Rect(0, 0, brush.pattern->Width(), brush.pattern->Height()));
      begin(0x0142);  // META_DIBCREATEPATTERNBRUSH
      out_.u16(5);    // BS_DIBPATTERN
      out_.u16(0);
      out_.bytes(dib.info);
      out_.bytes(dib.bits);
      end();
    } else {
      begin(META_CREATEBRUSHINDIRECT);
      out_.u16(static_cast<std::uint16_t>(brush.null ? BS_NULL : brush.style == BS_PATTERN ? BS_SOLID : brush.style));
      out_.u32(brush.color);
      out_.u16(static_cast<std::uint16_t>(brush.hatch));
      end();
    }
    select(&brushSlot_, slot);
  }

  void selectFont(const TextRun& run) {
    if (font_ == run.font && escapement_ == run.escapement) return;
    font_ = run.font;
    escapement_ = run.escapement;
    const RealizedFont& f = *run.font;
    const int slot = newSlot();
    begin(META_CREATEFONTINDIRECT);
    out_.i16(c16(f.requestHeight));
    out_.i16(c16(f.xScale != 1.0 ? f.aveCharWidth : 0));
    out_.i16(c16(run.escapement));
    out_.i16(c16(run.escapement));
    out_.i16(c16(f.weight));
    for (std::uint8_t b : {std::uint8_t(f.italic), std::uint8_t(f.underline), std::uint8_t(f.strikeOut), f.charSet,
                           std::uint8_t(0), std::uint8_t(0), std::uint8_t(0), std::uint8_t(0)})
      out_.u8(b);
    std::string face = toCp1252(f.requestFace);
    face.resize(std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
    for (char c : face) out_.u8(static_cast<std::uint8_t>(c));
    out_.u8(0);
    end();
    select(&fontSlot_, slot);
  }

  Writer out_;
  std::size_t start_ = 0;
  std::uint32_t maxRecord_ = 3;
  std::vector<bool> slots_;
  int maxObjects_ = 0;
  int penSlot_ = -1, brushSlot_ = -1, fontSlot_ = -1;
  DevPen pen_;
  DevBrush brush_;
  bool penSet_ = false, brushSet_ = false;
  std::shared_ptr<const RealizedFont> font_;
  int escapement_ = 0;
  std::optional<std::uint32_t> rop2_, bkMode_, bkColor_, textColor_, fill_;
  std::optional<std::pair<int, int>> mapping_[5];
  Rect bounds_;  // of what was drawn
};

std::vector<std::uint8_t> WmfDevice::finish(const Rect* given) {
  const Rect bounds = given ? *given : bounds_;
  // The mapping that shows the bounds, ahead of the drawing; the end record after it.
  Writer lead;
  auto leadRecord = [&](std::uint16_t function, std::initializer_list<std::int16_t> params) {
    lead.u32(static_cast<std::uint32_t>(3 + params.size()));
    lead.u16(function);
    for (std::int16_t p : params) lead.i16(p);
    maxRecord_ = std::max<std::uint32_t>(maxRecord_, static_cast<std::uint32_t>(3 + params.size()));
  };
  leadRecord(META_SETMAPMODE, {MM_ANISOTROPIC});
  leadRecord(META_SETWINDOWORG, {c16(bounds.top), c16(bounds.left)});
  leadRecord(META_SETWINDOWEXT, {c16(bounds.Height()), c16(bounds.Width())});
  leadRecord(META_SETTEXTALIGN, {TA_BASELINE | TA_LEFT, 0});
  Writer tail;
  tail.u32(3);
  tail.u16(META_EOF);

  const std::uint32_t words = static_cast<std::uint32_t>(9 + (lead.size() + out_.size() + tail.size()) / 2);
  Writer file;
  // Placeable header: key, handle, box, units per inch, reserved, checksum of the ten words before it.
  file.u32(0x9AC6CDD7u);
  file.u16(0);
  file.i16(c16(bounds.left));
  file.i16(c16(bounds.top));
  file.i16(c16(bounds.right));
  file.i16(c16(bounds.bottom));
  file.u16(static_cast<std::uint16_t>(std::clamp(caps().logPixelsX, 1, 65535)));
  file.u32(0);
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i < 20; i += 2) sum ^= static_cast<std::uint16_t>(file.data()[i] | file.data()[i + 1] << 8);
  file.u16(sum);
  // Metafile header.
  file.u16(1);       // in memory
  file.u16(9);       // header words
  file.u16(0x0300);  // version
  file.u32(words);
  file.u16(static_cast<std::uint16_t>(maxObjects_));
  file.u32(maxRecord_);
  file.u16(0);
  file.bytes(lead.data());
  file.bytes(out_.data());
  file.bytes(tail.data());
  return std::move(file.data());
}

}  // namespace

std::unique_ptr<Device> MakeWmfDevice(const DeviceCaps& reference) { return std::make_unique<WmfDevice>(reference); }

std::vector<std::uint8_t> FinishWmf(Device& device, const Rect* bounds) {
  auto* wmf = dynamic_cast<WmfDevice*>(&device);
  return wmf ? wmf->finish(bounds) : std::vector<std::uint8_t>();
}

}  // namespace gdi::detail
