// Enhanced metafiles: checking a file's structure, reading its header, playing its records onto
// a DC scaled into a rectangle, and writing it out as EMF or as a placeable WMF.
#include "platform/gdi/metafile.h"

#include <cmath>

#include "platform/base/bytes.h"
#include "platform/base/file.h"
#include "platform/gdi/dc_impl.h"

namespace gdi {

using detail::Reader;

namespace {

constexpr std::size_t kHeaderMin = 88;
constexpr std::size_t kMaxHandles = 65536;

bool fail(std::string* error, const char* why) {
  if (error) *error = why;
  return false;
}

bool checkStructure(std::span<const std::uint8_t> b, std::size_t* total, std::string* error) {
  if (b.size() < kHeaderMin) return fail(error, "too short for a metafile header");
  const std::uint32_t type = plat::loadLe32(b.data());
  const std::uint32_t headerSize = plat::loadLe32(b.data() + 4);
  if (type != EMR_HEADER) return fail(error, "first record is not a header");
  if (plat::loadLe32(b.data() + 40) != 0x464D4520) return fail(error, "no EMF signature");
  if (headerSize < kHeaderMin || headerSize % 4 || headerSize > b.size()) return fail(error, "bad header size");
  const std::uint32_t nBytes = plat::loadLe32(b.data() + 48);
  if (nBytes < headerSize || nBytes > b.size()) return fail(error, "file is shorter than its header says");
  const std::uint32_t nDescription = plat::loadLe32(b.data() + 60);
  const std::uint32_t offDescription = plat::loadLe32(b.data() + 64);
  if (nDescription && (offDescription < kHeaderMin || std::uint64_t(offDescription) + 2ull * nDescription > headerSize))
    return fail(error, "description lies outside the header");
  std::size_t pos = headerSize;
  bool sawEof = false;
  while (pos < nBytes) {
    if (nBytes - pos < 8) return fail(error, "record is cut off");
    const std::uint32_t rtype = plat::loadLe32(b.data() + pos);
    const std::uint32_t size = plat::loadLe32(b.data() + pos + 4);
    if (size < 8 || size % 4 || size > nBytes - pos) return fail(error, "record size out of range");
    pos += size;
    if (rtype == EMR_EOF) {
      sawEof = true;
      break;
    }
  }
  if (!sawEof) return fail(error, "no end-of-file record");
  *total = pos;
  return true;
}

}  // namespace

// --- EnhMetaFile ------------------------------------------------------------------------------

EnhMetaFile::EnhMetaFile() = default;
EnhMetaFile::~EnhMetaFile() = default;
EnhMetaFile::EnhMetaFile(const EnhMetaFile&) = default;
EnhMetaFile& EnhMetaFile::operator=(const EnhMetaFile&) = default;
EnhMetaFile::EnhMetaFile(EnhMetaFile&&) noexcept = default;
EnhMetaFile& EnhMetaFile::operator=(EnhMetaFile&&) noexcept = default;

EnhMetaFile EnhMetaFile::FromBytes(std::span<const std::uint8_t> bytes, std::string* error) {
  std::size_t total = 0;
  if (!checkStructure(bytes, &total, error)) return EnhMetaFile();
  auto impl = std::make_shared<Impl>();
  impl->bytes.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(total));
  EnhMetaFile out;
  out.impl_ = std::move(impl);
  return out;
}

EnhMetaFile EnhMetaFile::ReadFile(const std::string& path, std::string* error) {
  std::string bytes;
  if (plat::readFile(path, &bytes, std::size_t(1) << 30) != plat::FileStatus::Ok) {
    if (error) *error = "cannot read " + path;
    return EnhMetaFile();
  }
  return FromBytes(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), error);
}

bool EnhMetaFile::IsNull() const { return !impl_; }

const std::vector<std::uint8_t>& EnhMetaFile::Bytes() const {
  static const std::vector<std::uint8_t> none;
  return impl_ ? impl_->bytes : none;
}

bool EnhMetaFile::WriteFile(const std::string& path) const { return impl_ && detail::SaveFileAtomic(path, impl_->bytes); }

std::vector<MetaRecord> EnhMetaFile::Records() const {
  std::vector<MetaRecord> out;
  if (!impl_) return out;
  const auto& b = impl_->bytes;
  std::size_t pos = 0;
  while (pos + 8 <= b.size()) {
    const std::uint32_t size = plat::loadLe32(b.data() + pos + 4);
    if (size < 8 || size > b.size() - pos) break;  // checked when made; never trusted twice
    out.push_back({plat::loadLe32(b.data() + pos), std::span(b.data() + pos, size)});
    pos += size;
  }
  return out;
}

namespace {

Rect headerRect(const std::vector<std::uint8_t>& b, std::size_t at) {
  if (b.size() < at + 16) return Rect();
  return Rect(static_cast<std::int32_t>(plat::loadLe32(b.data() + at)), static_cast<std::int32_t>(plat::loadLe32(b.data() + at + 4)),
              static_cast<std::int32_t>(plat::loadLe32(b.data() + at + 8)),
              static_cast<std::int32_t>(plat::loadLe32(b.data() + at + 12)));
}

Size headerSize(const std::vector<std::uint8_t>& b, std::size_t at) {
  if (b.size() < at + 8) return Size();
  return {static_cast<std::int32_t>(plat::loadLe32(b.data() + at)), static_cast<std::int32_t>(plat::loadLe32(b.data() + at + 4))};
}

// Micrometres of the reference device (the header's most precise size), from millimetres when
// the header is the short form.
Size referenceMicrometres(const std::vector<std::uint8_t>& b) {
  const std::uint32_t size = plat::loadLe32(b.data() + 4);
  if (size >= 108) {
    const Size um = headerSize(b, 100);
    if (um.cx > 0 && um.cy > 0) return um;
  }
  const Size mm = headerSize(b, 80);
  return {mm.cx * 1000, mm.cy * 1000};
}

}  // namespace

Rect EnhMetaFile::Bounds() const { return impl_ ? headerRect(impl_->bytes, 8) : Rect(); }
Rect EnhMetaFile::Frame() const { return impl_ ? headerRect(impl_->bytes, 24) : Rect(); }
Size EnhMetaFile::ReferencePixels() const { return impl_ ? headerSize(impl_->bytes, 72) : Size(); }
Size EnhMetaFile::ReferenceMillimetres() const { return impl_ ? headerSize(impl_->bytes, 80) : Size(); }

std::u16string EnhMetaFile::Description() const {
  if (!impl_) return {};
  const auto& b = impl_->bytes;
  const std::uint32_t n = plat::loadLe32(b.data() + 60), off = plat::loadLe32(b.data() + 64);
  std::u16string s;
  for (std::uint32_t i = 0; i < n; ++i) s.push_back(plat::loadLe16(b.data() + off + 2 * i));
  while (!s.empty() && s.back() == 0) s.pop_back();
  return s;
}

namespace {

// The picture's frame in reference pixels (right and bottom excluded).
Rect framePixels(const EnhMetaFile& emf) {
  const Rect frame = emf.Frame();
  const Size px = emf.ReferencePixels();
  const Size um = referenceMicrometres(emf.Bytes());
  if (px.cx > 0 && px.cy > 0 && um.cx > 0 && um.cy > 0) {
    const double kx = double(px.cx) * 10.0 / um.cx, ky = double(px.cy) * 10.0 / um.cy;
    const Rect r(static_cast<int>(std::llround(frame.left * kx)), static_cast<int>(std::llround(frame.top * ky)),
                 static_cast<int>(std::llround(frame.right * kx)), static_cast<int>(std::llround(frame.bottom * ky)));
    if (!r.IsRectEmpty()) return r;
  }
  const Rect b = emf.Bounds();
  return Rect(b.left, b.top, b.right + 1, b.bottom + 1);
}

// Plays the records onto a DC prepared for them.
class Player {
 public:
  Player(DC& dc, const OuterTransform& outer, std::size_t handles) : dc_(dc), outer_(outer) {
    table_.resize(std::min(handles, kMaxHandles));
  }

  void Play(const MetaRecord& rec) {
    Reader r(rec.bytes);
    r.skip(8);
    switch (rec.type) {
      case EMR_POLYLINE:
      case EMR_POLYGON:
      case EMR_POLYLINETO: {
        r.skip(16);
        const std::uint32_t n = r.u32();
        if (!points(r, n)) return;
        const int count = static_cast<int>(n);
        if (rec.type == EMR_POLYLINE) dc_.Polyline(pts_.data(), count);
        else if (rec.type == EMR_POLYGON) dc_.Polygon(pts_.data(), count);
        else dc_.PolylineTo(pts_.data(), count);
        return;
      }
      case EMR_POLYPOLYGON: {
        r.skip(16);
        const std::uint32_t polys = r.u32(), n = r.u32();
        if (polys == 0 || polys > r.left() / 4) return;
        std::vector<int> counts(polys);
        std::uint64_t sum = 0;
        for (auto& c : counts) {
          c = static_cast<int>(r.u32());
          sum += static_cast<std::uint32_t>(c);
        }
        if (sum != n || !points(r, n)) return;
        dc_.PolyPolygon(pts_.data(), counts.data(), static_cast<int>(polys));
        return;
      }
      case EMR_SETWINDOWEXTEX: { const Point p = r.point(); if (r.ok()) dc_.SetWindowExt(p.x, p.y); return; }
      case EMR_SETWINDOWORGEX: { const Point p = r.point(); if (r.ok()) dc_.SetWindowOrg(p.x, p.y); return; }
      case EMR_SETVIEWPORTEXTEX: { const Point p = r.point(); if (r.ok()) dc_.SetViewportExt(p.x, p.y); return; }
      case EMR_SETVIEWPORTORGEX: { const Point p = r.point(); if (r.ok()) dc_.SetViewportOrg(p.x, p.y); return; }
      case EMR_SETBRUSHORGEX: { const Point p = r.point(); if (r.ok()) dc_.SetBrushOrg(p.x, p.y); return; }
      case EMR_MOVETOEX: { const Point p = r.point(); if (r.ok()) dc_.MoveTo(p); return; }
      case EMR_LINETO: { const Point p = r.point(); if (r.ok()) dc_.LineTo(p); return; }
      case EMR_SCALEVIEWPORTEXTEX:
      case EMR_SCALEWINDOWEXTEX: {
        const int xn = r.i32(), xd = r.i32(), yn = r.i32(), yd = r.i32();
        if (!r.ok()) return;
        if (rec.type == EMR_SCALEVIEWPORTEXTEX) dc_.ScaleViewportExt(xn, xd, yn, yd);
        else dc_.ScaleWindowExt(xn, xd, yn, yd);
        return;
      }
      case EMR_SETPIXELV: {
        const Point p = r.point();
        const COLORREF c = r.u32();
        if (r.ok()) dc_.SetPixelV(p.x, p.y, c);
        return;
      }
      case EMR_SETMAPMODE: dword(r, [&](std::uint32_t v) { dc_.SetMapMode(static_cast<int>(v)); }); return;
      case EMR_SETBKMODE: dword(r, [&](std::uint32_t v) { dc_.SetBkMode(static_cast<int>(v)); }); return;
      case EMR_SETPOLYFILLMODE: dword(r, [&](std::uint32_t v) { dc_.SetPolyFillMode(static_cast<int>(v)); }); return;
      case EMR_SETROP2: dword(r, [&](std::uint32_t v) { dc_.SetROP2(static_cast<int>(v)); }); return;
      case EMR_SETSTRETCHBLTMODE: dword(r, [&](std::uint32_t v) { dc_.SetStretchBltMode(static_cast<int>(v)); }); return;
      case EMR_SETTEXTALIGN: dword(r, [&](std::uint32_t v) { dc_.SetTextAlign(v); }); return;
      case EMR_SETTEXTCOLOR: dword(r, [&](std::uint32_t v) { dc_.SetTextColor(v); }); return;
      case EMR_SETBKCOLOR: dword(r, [&](std::uint32_t v) { dc_.SetBkColor(v); }); return;
      case EMR_SAVEDC: dc_.SaveDC(); return;
      case EMR_RESTOREDC: {
        const int rel = r.i32();
        if (r.ok() && rel < 0) dc_.RestoreDC(rel);
        return;
      }
      case EMR_SELECTOBJECT: dword(r, [&](std::uint32_t h) { select(h); }); return;
      case EMR_DELETEOBJECT:
        dword(r, [&](std::uint32_t h) {
          if (h < table_.size()) table_[h] = Slot();
        });
        return;
      case EMR_CREATEPEN: {
        const std::uint32_t h = r.u32();
        LOGPEN p;
        p.lopnStyle = r.u32();
        p.lopnWidth = r.point();
        p.lopnColor = r.u32();
        if (r.ok() && h < table_.size()) table_[h] = Slot{Pen(p), {}, {}};
        return;
      }
      case EMR_CREATEBRUSHINDIRECT: {
        const std::uint32_t h = r.u32();
        LOGBRUSH b;
        b.lbStyle = r.u32();
        b.lbColor = r.u32();
        b.lbHatch = r.u32();
        if (r.ok() && h < table_.size()) table_[h] = Slot{{}, Brush(b), {}};
        return;
      }
      case EMR_CREATEDIBPATTERNBRUSHPT: {
        const std::uint32_t h = r.u32();
        r.skip(4);
        const std::uint32_t offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
        if (!r.ok() || h >= table_.size()) return;
        std::unique_ptr<RasterSurface> s = dib(rec.bytes, offBmi, cbBmi, offBits, cbBits);
        if (s) table_[h] = Slot{{}, Brush(Bitmap::Wrap(std::shared_ptr<RasterSurface>(std::move(s)))), {}};
        return;
      }
      case EMR_EXTCREATEFONTINDIRECTW: {
        const std::uint32_t h = r.u32();
        auto bytes = r.take(92);
        if (!r.ok() || h >= table_.size()) return;
        table_[h] = Slot{{}, {}, Font(LoadLogFontW(bytes.data()))};
        return;
      }
      case EMR_RECTANGLE:
      case EMR_ELLIPSE: {
        const Rect b = r.rect();
        if (!r.ok()) return;
        if (rec.type == EMR_RECTANGLE) dc_.Rectangle(b);
        else dc_.Ellipse(b);
        return;
      }
      case EMR_ROUNDRECT: {
        const Rect b = r.rect();
        const Point c = r.point();
        if (r.ok()) dc_.RoundRect(b.left, b.top, b.right, b.bottom, c.x, c.y);
        return;
      }
      case EMR_ARC:
      case EMR_CHORD:
      case EMR_PIE: {
        const Rect b = r.rect();
        const Point s = r.point(), e = r.point();
        if (!r.ok()) return;
        if (rec.type == EMR_ARC) dc_.Arc(b.left, b.top, b.right, b.bottom, s.x, s.y, e.x, e.y);
        else if (rec.type == EMR_CHORD) dc_.Chord(b.left, b.top, b.right, b.bottom, s.x, s.y, e.x, e.y);
        else dc_.Pie(b.left, b.top, b.right, b.bottom, s.x, s.y, e.x, e.y);
        return;
      }
      case EMR_BITBLT:
      case EMR_STRETCHBLT: {
        r.skip(16);
        const int x = r.i32(), y = r.i32(), cx = r.i32(), cy = r.i32();
        const DWORD rop = r.u32();
        const int xs = r.i32(), ys = r.i32();
        r.skip(24 + 4 + 4);  // source transform, background colour, usage
        const std::uint32_t offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
        int cxs = cx, cys = cy;
        if (rec.type == EMR_STRETCHBLT) cxs = r.i32(), cys = r.i32();
        if (!r.ok()) return;
        if (cbBmi == 0) dc_.PatBlt(x, y, cx, cy, rop);
        else blit(rec.bytes, offBmi, cbBmi, offBits, cbBits, Rect(Point{x, y}, Size{cx, cy}), Rect(Point{xs, ys}, Size{cxs, cys}), rop, false);
        return;
      }
      case EMR_STRETCHDIBITS: {
        r.skip(16);
        const int x = r.i32(), y = r.i32(), xs = r.i32(), ys = r.i32(), cxs = r.i32(), cys = r.i32();
        const std::uint32_t offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
        r.skip(4);
        const DWORD rop = r.u32();
        const int cx = r.i32(), cy = r.i32();
        if (!r.ok()) return;
        blit(rec.bytes, offBmi, cbBmi, offBits, cbBits, Rect(Point{x, y}, Size{cx, cy}), Rect(Point{xs, ys}, Size{cxs, cys}), rop, true);
        return;
      }
      case EMR_EXTTEXTOUTW: text(r, rec.bytes); return;
      case EMR_INTERSECTCLIPRECT:
      case EMR_EXCLUDECLIPRECT: {
        const Rect b = r.rect();
        if (!r.ok()) return;
        if (rec.type == EMR_INTERSECTCLIPRECT) dc_.IntersectClipRect(b);
        else dc_.ExcludeClipRect(b);
        return;
      }
      case EMR_OFFSETCLIPRGN: { const Point p = r.point(); if (r.ok()) dc_.OffsetClipRgn(p.x, p.y); return; }
      case EMR_EXTSELECTCLIPRGN: clipRegion(r); return;
      default: return;  // a record we do not draw
    }
  }

 private:
  struct Slot {
    Pen pen;
    Brush brush;
    Font font;
  };

  template <class F>
  void dword(Reader& r, F&& f) {
    const std::uint32_t v = r.u32();
    if (r.ok()) f(v);
  }

  bool points(Reader& r, std::uint32_t n) {
    if (n == 0 || n > r.left() / 8) return false;
    pts_.resize(n);
    for (auto& p : pts_) p = r.point();
    return r.ok();
  }

  void select(std::uint32_t h) {
    if (h & 0x80000000u) {
      const int stock = static_cast<int>(h & 0x7FFFFFFF);
      if (stock <= DEFAULT_GUI_FONT) dc_.SelectStockObject(stock);
      return;
    }
    if (h >= table_.size()) return;
    const Slot& s = table_[h];
    if (!s.pen.IsNull()) dc_.SelectObject(s.pen);
    else if (!s.brush.IsNull()) dc_.SelectObject(s.brush);
    else if (!s.font.IsNull()) dc_.SelectObject(s.font);
  }

  static std::unique_ptr<RasterSurface> dib(std::span<const std::uint8_t> rec, std::uint32_t offBmi, std::uint32_t cbBmi,
                                            std::uint32_t offBits, std::uint32_t cbBits) {
    if (std::uint64_t(offBmi) + cbBmi > rec.size() || std::uint64_t(offBits) + cbBits > rec.size() || cbBmi < 12) return nullptr;
    std::string error;
    return detail::DecodeDib(rec.subspan(offBmi, cbBmi), rec.subspan(offBits, cbBits), &error);
  }

  void blit(std::span<const std::uint8_t> rec, std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
            std::uint32_t cbBits, const Rect& dst, Rect src, DWORD rop, bool dibOrigin) {
    std::unique_ptr<RasterSurface> s = dib(rec, offBmi, cbBmi, offBits, cbBits);
    if (!s) return;
    if (dibOrigin && rec.size() >= std::uint64_t(offBmi) + 12 &&
        static_cast<std::int32_t>(plat::loadLe32(rec.data() + offBmi + 8)) > 0) {
      // In a bottom-up DIB the source's y runs from the bottom row.
      const int top = detail::Saturate(std::int64_t(s->Height()) - src.bottom);
      src = Rect(Point{src.left, top}, src.GetSize());
    }
    Bitmap bitmap = Bitmap::Wrap(std::shared_ptr<RasterSurface>(std::move(s)));
    DC mem = DC::CreateCompatibleDC(&dc_);
    mem.SelectObject(bitmap);
    dc_.StretchBlt(dst.left, dst.top, dst.Width(), dst.Height(), &mem, src.left, src.top, src.Width(), src.Height(), rop);
  }

  void text(Reader& r, std::span<const std::uint8_t> rec) {
    r.skip(16 + 12);  // bounds, graphics mode, scales
    const Point ref = r.point();
    const std::uint32_t n = r.u32(), offString = r.u32();
    const UINT options = r.u32();
    const Rect rect = r.rect();
    const std::uint32_t offDx = r.u32();
    if (!r.ok() || n > rec.size() / 2 || std::uint64_t(offString) + 2ull * n > rec.size()) return;
    std::u16string s(n, u'\0');
    for (std::uint32_t i = 0; i < n; ++i) s[i] = plat::loadLe16(rec.data() + offString + 2 * i);
    std::vector<int> dx;
    if (offDx && std::uint64_t(offDx) + 4ull * n <= rec.size()) {
      dx.resize(n);
      for (std::uint32_t i = 0; i < n; ++i) dx[i] = static_cast<std::int32_t>(plat::loadLe32(rec.data() + offDx + 4 * i));
    }
    const bool hasRect = (options & (ETO_OPAQUE | ETO_CLIPPED)) && !rect.IsRectEmpty();
    dc_.ExtTextOut(ref.x, ref.y, options, hasRect ? &rect : nullptr, std::u16string_view(s), dx.empty() ? nullptr : dx.data());
  }

  void clipRegion(Reader& r) {
    const std::uint32_t cb = r.u32();
    const int mode = r.i32();
    if (!r.ok()) return;
    if (cb == 0) {
      if (mode == RGN_COPY) dc_.SelectClipRgn(nullptr, RGN_COPY);
      return;
    }
    if (cb < 32 || cb > r.left()) return;
    r.skip(8);
    const std::uint32_t count = r.u32();
    r.skip(4 + 16);
    if (!r.ok() || count > (cb - 32) / 16) return;
    // The region is in reference pixels: through the play transform onto the target's.
    const auto map = [](double scale, std::int32_t v, double offset) {
      return static_cast<int>(std::clamp(std::trunc(scale * v + offset), -1e9, 1e9));
    };
    QRegion region;
    for (std::uint32_t i = 0; i < count; ++i) {
      const Rect q = r.rect();
      const int l = map(outer_.sx, q.left, outer_.dx), rr = map(outer_.sx, q.right, outer_.dx);
      const int t = map(outer_.sy, q.top, outer_.dy), b = map(outer_.sy, q.bottom, outer_.dy);
      if (l != rr && t != b)
        region += QRect(QPoint(std::min(l, rr), std::min(t, b)), QPoint(std::max(l, rr) - 1, std::max(t, b) - 1));
    }
    if (!r.ok()) return;
    Region rgn;
    rgn.impl()->region = region;
    dc_.SelectClipRgn(&rgn, mode);
  }

  DC& dc_;
  OuterTransform outer_;
  std::vector<Slot> table_;
  std::vector<Point> pts_;
};

}  // namespace

bool DC::PlayMetaFile(const EnhMetaFile& picture, const Rect& rect) {
  if (!impl_ || picture.IsNull() || !IsValid()) return false;
  const Rect frame = framePixels(picture);
  const Rect target = impl_->DevRect(rect);
  if (frame.IsRectEmpty() || target.IsRectEmpty()) return true;  // nothing to map onto

  OuterTransform outer;
  outer.identity = false;  // the device origin is in the target rectangle already
  outer.sx = double(target.Width()) / frame.Width();
  outer.sy = double(target.Height()) / frame.Height();
  outer.dx = target.left - frame.left * outer.sx;
  outer.dy = target.top - frame.top * outer.sy;
  if (outer.sx == 1 && outer.sy == 1 && outer.dx == std::trunc(outer.dx) && outer.dy == std::trunc(outer.dy) &&
      std::abs(outer.dx) < 1e9 && std::abs(outer.dy) < 1e9) {
    outer.identity = true;
    outer.ox = static_cast<int>(outer.dx);
    outer.oy = static_cast<int>(outer.dy);
  }

  // The picture draws in a fresh state of its own, inside the clip the DC has now.
  std::optional<QRegion> clip;
  if (impl_->hasClip) clip = impl_->clipCache;
  const int level = static_cast<int>(impl_->saved.size()) + 1;
  SaveDC();
  const int floor = impl_->restoreFloor;
  impl_->restoreFloor = static_cast<int>(impl_->saved.size());
  const Bitmap bitmap = impl_->st.bitmap;
  impl_->st = DcState();
  impl_->st.bitmap = bitmap;
  impl_->st.metaClip = clip;
  impl_->st.outer = outer;
  impl_->UpdateClip();
  ++impl_->playing;

  const std::size_t handles = plat::loadLe16(picture.Bytes().data() + 52);
  Player player(*this, outer, handles);
  for (const MetaRecord& rec : picture.Records()) {
    if (rec.type == EMR_EOF) break;
    player.Play(rec);
  }
  // Back to the state before, whatever the records saved and restored.
  --impl_->playing;
  impl_->restoreFloor = floor;
  RestoreDC(level);
  return true;
}

std::vector<std::uint8_t> EnhMetaFile::ToWmf() const {
  if (!impl_) return {};
  DeviceCaps ref = ScreenCaps();
  const Size px = ReferencePixels();
  const Size um = referenceMicrometres(impl_->bytes);
  if (px.cx > 0 && px.cy > 0 && um.cx > 0 && um.cy > 0) {
    ref.horzRes = px.cx;
    ref.vertRes = px.cy;
    ref.logPixelsX = std::max(1, static_cast<int>(std::llround(px.cx * 25400.0 / um.cx)));
    ref.logPixelsY = std::max(1, static_cast<int>(std::llround(px.cy * 25400.0 / um.cy)));
  }
  ref.technology = DT_METAFILE;
  auto impl = std::make_unique<DC::Impl>();
  impl->caps = ref;
  impl->device = detail::MakeWmfDevice(ref);
  DC dc(std::move(impl));
  const Rect frame = framePixels(*this);
  dc.PlayMetaFile(*this, frame);
  return detail::FinishWmf(*dc.impl()->device, &frame);
}

// --- MetaFile ---------------------------------------------------------------------------------

bool MetaFile::WriteFile(const std::string& path) const { return !bytes_.empty() && detail::SaveFileAtomic(path, bytes_); }

}  // namespace gdi
