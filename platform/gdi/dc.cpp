// The device context: state, mapping, and the calls that turn logical drawing into device
// primitives (for the target's device) and records (for a recording).
#include "platform/gdi/dc.h"

#include <cmath>
#include <type_traits>

#include "platform/gdi/dc_impl.h"
#include "platform/gdi/metafile.h"
#include "platform/gdi/surface.h"

namespace gdi {

using detail::DevBrush;
using detail::DevContext;
using detail::DevPen;

namespace {

constexpr std::int64_t kCoordLimit = std::int64_t(1) << 29;

// Device coordinates stay within +-2^29, so later arithmetic cannot overflow.
template <class T>
std::int32_t clampCoord(T v) {
  if constexpr (std::is_integral_v<T>) {
    return static_cast<std::int32_t>(std::clamp<long long>(v, -kCoordLimit, kCoordLimit));
  } else {
    if (!std::isfinite(v)) return static_cast<std::int32_t>(v < 0 ? -kCoordLimit : kCoordLimit);
    return static_cast<std::int32_t>(std::clamp(std::trunc(double(v)), double(-kCoordLimit), double(kCoordLimit)));
  }
}

int unitsPerInch(int mode) {
  switch (mode) {
    case MM_LOMETRIC: return 254;
    case MM_HIMETRIC: return 2540;
    case MM_LOENGLISH: return 100;
    case MM_HIENGLISH: return 1000;
    case MM_TWIPS: return 1440;
    default: return 0;
  }
}

Rect toRect(const QRect& q) { return Rect(q.left(), q.top(), q.left() + q.width(), q.top() + q.height()); }
QRect toQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// The pattern DrawFocusRect inverts: every other pixel.
const Brush& focusBrush() {
  static const Brush brush = [] {
    Bitmap b;
    b.CreateBitmap(2, 2);
    b.Surface()->SetPixel(0, 0, RGB(255, 255, 255));
    b.Surface()->SetPixel(1, 1, RGB(255, 255, 255));
    b.Surface()->SetPixel(1, 0, RGB(0, 0, 0));
    b.Surface()->SetPixel(0, 1, RGB(0, 0, 0));
    return Brush(b);
  }();
  return brush;
}

}  // namespace

// --- Impl -------------------------------------------------------------------------------------

DC::Impl::Impl() = default;
DC::Impl::~Impl() = default;

double DC::Impl::ScaleX() const {
  if (Logical()) return 1;
  return std::abs(static_cast<double>(st.viewportExt.cx) / st.windowExt.cx) * std::abs(st.outer.sx);
}
double DC::Impl::ScaleY() const {
  if (Logical()) return 1;
  return std::abs(static_cast<double>(st.viewportExt.cy) / st.windowExt.cy) * std::abs(st.outer.sy);
}

Point DC::Impl::Dev(Point p) const {
  const DcState& s = st;
  if (Logical()) return p;
  if (s.outer.identity && s.windowExt == s.viewportExt) {
    return {clampCoord(std::int64_t(p.x) - s.windowOrg.x + s.viewportOrg.x + s.outer.ox),
            clampCoord(std::int64_t(p.y) - s.windowOrg.y + s.viewportOrg.y + s.outer.oy)};
  }
  if (s.outer.identity) {
    return {clampCoord((std::int64_t(p.x) - s.windowOrg.x) * s.viewportExt.cx / s.windowExt.cx + s.viewportOrg.x + s.outer.ox),
            clampCoord((std::int64_t(p.y) - s.windowOrg.y) * s.viewportExt.cy / s.windowExt.cy + s.viewportOrg.y + s.outer.oy)};
  }
  const double x = (double(p.x) - s.windowOrg.x) * s.viewportExt.cx / s.windowExt.cx + s.viewportOrg.x;
  const double y = (double(p.y) - s.windowOrg.y) * s.viewportExt.cy / s.windowExt.cy + s.viewportOrg.y;
  return {clampCoord(s.outer.sx * x + s.outer.dx), clampCoord(s.outer.sy * y + s.outer.dy)};
}

Point DC::Impl::Log(Point p) const {
  const DcState& s = st;
  if (Logical()) return p;
  if (s.outer.identity) {
    return {clampCoord((std::int64_t(p.x) - s.outer.ox - s.viewportOrg.x) * s.windowExt.cx / s.viewportExt.cx + s.windowOrg.x),
            clampCoord((std::int64_t(p.y) - s.outer.oy - s.viewportOrg.y) * s.windowExt.cy / s.viewportExt.cy + s.windowOrg.y)};
  }
  const double x = (p.x - s.outer.dx) / s.outer.sx, y = (p.y - s.outer.dy) / s.outer.sy;
  return {clampCoord((x - s.viewportOrg.x) * s.windowExt.cx / s.viewportExt.cx + s.windowOrg.x),
          clampCoord((y - s.viewportOrg.y) * s.windowExt.cy / s.viewportExt.cy + s.windowOrg.y)};
}

Rect DC::Impl::DevRect(const Rect& r) const {
  const Point a = Dev({r.left, r.top}), b = Dev({r.right, r.bottom});
  Rect out(a.x, a.y, b.x, b.y);
  out.NormalizeRect();
  return out;
}

int DC::Impl::DevLengthX(int v) const { return clampCoord(v * ScaleX()); }
int DC::Impl::DevLengthY(int v) const { return clampCoord(v * ScaleY()); }
int DC::Impl::LogLengthX(int v) const { return ScaleX() > 0 ? clampCoord(v / ScaleX()) : 0; }
int DC::Impl::LogLengthY(int v) const { return ScaleY() > 0 ? clampCoord(v / ScaleY()) : 0; }

int DC::Impl::PenWidth() const {
  const int w = std::abs(DevLengthX(st.pen.Log().lopnWidth.x));
  return std::max(1, w);
}

DevPen DC::Impl::DevicePen() const {
  DevPen p;
  const UINT style = st.pen.Log().lopnStyle & PS_STYLE_MASK;
  p.null = st.pen.IsNull() || style == PS_NULL;
  p.color = st.pen.Log().lopnColor;
  p.width = PenWidth();
  p.style = (p.width == 1 && style <= PS_DASHDOTDOT) ? style : PS_SOLID;
  return p;
}

DevBrush DC::Impl::DeviceBrush(const Brush& brush) const {
  DevBrush b;
  b.null = brush.IsNull() || brush.Log().lbStyle == BS_NULL;
  b.style = brush.Log().lbStyle;
  b.color = brush.Log().lbColor;
  b.hatch = brush.Log().lbHatch;
  b.pattern = brush.Pattern();
  b.origin = st.brushOrg;
  return b;
}

DevContext DC::Impl::Context() const {
  DevContext c;
  c.rop2 = st.rop2;
  c.bkMode = st.bkMode;
  c.bkColor = st.bkColor;
  c.polyFillMode = st.polyFillMode;
  c.clip = hasClip ? &clipCache : nullptr;
  return c;
}

std::shared_ptr<const detail::RealizedFont> DC::Impl::DeviceFont() const {
  const LOGFONTW& f = st.font.Log();
  // A stored font may hold any 32-bit value: the magnitudes are taken in 64 bits (INT_MIN has
  // no int magnitude) and clamped to the coordinate range before they are scaled.
  const auto magnitude = [](std::int32_t v) {
    return static_cast<int>(std::min<std::int64_t>(std::abs(static_cast<std::int64_t>(v)), kCoordLimit));
  };
  int h = 0;
  if (f.lfHeight != 0) {
    h = DevLengthY(magnitude(f.lfHeight));
    if (h == 0) h = 1;
    if (f.lfHeight < 0) h = -h;
  }
  const int w = f.lfWidth != 0 ? std::max(1, DevLengthX(magnitude(f.lfWidth))) : 0;
  return detail::Realize(f, h, w, caps.logPixelsY);
}

Rect DC::Impl::DeviceBounds() const {
  if (device && device->surface()) return Rect(0, 0, device->surface()->Width(), device->surface()->Height());
  return Rect(-static_cast<int>(kCoordLimit), -static_cast<int>(kCoordLimit), static_cast<int>(kCoordLimit),
              static_cast<int>(kCoordLimit));
}

void DC::Impl::UpdateClip() {
  hasClip = st.clip || st.metaClip;
  if (!hasClip) {
    clipCache = QRegion();
    return;
  }
  if (st.clip && st.metaClip) clipCache = st.clip->intersected(*st.metaClip);
  else clipCache = st.clip ? *st.clip : *st.metaClip;
}

void DC::Impl::SetClip(std::optional<QRegion> clip) {
  st.clip = std::move(clip);
  UpdateClip();
}

void DC::Impl::AttachBitmap() {
  if (!memory) return;
  RasterSurface* s = st.bitmap.Surface();
  if (!device || device->surface() != s) device = s ? detail::MakeRasterDevice(*s, caps) : nullptr;
}

void DC::Impl::ApplyIsotropic() {
  if (st.mapMode != MM_ISOTROPIC) return;
  Size& ve = st.viewportExt;
  const Size& we = st.windowExt;
  const double xs = std::abs(double(ve.cx) / we.cx) / caps.logPixelsX;
  const double ys = std::abs(double(ve.cy) / we.cy) / caps.logPixelsY;
  if (xs < ys) {
    const double v = std::abs(double(we.cy)) * xs * caps.logPixelsY;
    ve.cy = (ve.cy < 0 ? -1 : 1) * std::max(1, clampCoord(std::llround(v)));
  } else if (ys < xs) {
    const double v = std::abs(double(we.cx)) * ys * caps.logPixelsX;
    ve.cx = (ve.cx < 0 ? -1 : 1) * std::max(1, clampCoord(std::llround(v)));
  }
}

// --- Construction -----------------------------------------------------------------------------

DC::DC() = default;
DC::~DC() = default;
DC::DC(DC&& other) noexcept = default;
DC& DC::operator=(DC&& other) noexcept = default;
DC::DC(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) { if (impl_) impl_->UpdateClip(); }

DC::DC(RasterSurface& surface) : impl_(std::make_unique<Impl>()) {
  impl_->caps = surface.Caps();
  impl_->caps.technology = DT_RASDISPLAY;
  impl_->device = detail::MakeRasterDevice(surface, impl_->caps);
}

DC DC::CreateCompatibleDC(const DC* reference) {
  auto impl = std::make_unique<Impl>();
  impl->caps = reference && reference->impl_ ? reference->impl_->caps : ScreenCaps();
  if (impl->caps.technology != DT_RASPRINTER) impl->caps.technology = DT_RASDISPLAY;
  impl->memory = true;
  impl->st.bitmap.CreateBitmap(1, 1);
  impl->AttachBitmap();
  return DC(std::move(impl));
}

DC DC::CreateEnhMetaFile(const DC* reference, const Rect* frame, std::u16string_view description) {
  auto impl = std::make_unique<Impl>();
  const DeviceCaps ref = reference && reference->impl_ ? reference->impl_->caps : ScreenCaps();
  impl->caps = ref;
  impl->caps.technology = DT_METAFILE;
  impl->device = detail::MakeEmfDevice(impl->caps, frame, description);
  return DC(std::move(impl));
}

DC DC::CreateMetaFile(const DC* reference) {
  auto impl = std::make_unique<Impl>();
  impl->caps = reference && reference->impl_ ? reference->impl_->caps : ScreenCaps();
  impl->device = detail::MakeWmfDevice(impl->caps);
  impl->caps.technology = DT_METAFILE;
  impl->recordsLogical = true;
  return DC(std::move(impl));
}

void DC::Impl::RecordMapping() {
  if (!Logical() || !device) return;
  using M = detail::Device::Mapping;
  device->mapping(M::Mode, st.mapMode, 0);
  device->mapping(M::WindowOrg, st.windowOrg.x, st.windowOrg.y);
  device->mapping(M::ViewportOrg, st.viewportOrg.x, st.viewportOrg.y);
  if (st.mapMode == MM_ISOTROPIC || st.mapMode == MM_ANISOTROPIC) {
    device->mapping(M::WindowExt, st.windowExt.cx, st.windowExt.cy);
    device->mapping(M::ViewportExt, st.viewportExt.cx, st.viewportExt.cy);
  }
}

EnhMetaFile DC::CloseEnhMetaFile() {
  if (!impl_ || !impl_->device) return EnhMetaFile();
  EnhMetaFile picture = detail::FinishEmf(*impl_->device);
  if (!picture.IsNull()) impl_->device.reset();
  return picture;
}

MetaFile DC::CloseMetaFile() {
  if (!impl_ || !impl_->device || !impl_->recordsLogical) return MetaFile();
  std::vector<std::uint8_t> bytes = detail::FinishWmf(*impl_->device, nullptr);
  impl_->device.reset();
  return MetaFile(std::move(bytes));
}

DC DC::CreatePdfDC(const std::string& path, const PdfPageSetup& page) {
  auto impl = std::make_unique<Impl>();
  impl->device = detail::MakePdfDevice(path, page, &impl->caps);
  if (!impl->device) return DC();
  impl->printing = true;
  return DC(std::move(impl));
}

bool DC::IsValid() const { return impl_ && impl_->device; }

// --- Device -----------------------------------------------------------------------------------

int DC::GetDeviceCaps(int index) const {
  if (!impl_) return 0;
  const DeviceCaps& c = impl_->caps;
  switch (index) {
    case TECHNOLOGY: return c.technology;
    case HORZSIZE: return c.HorzSizeMm();
    case VERTSIZE: return c.VertSizeMm();
    case HORZRES: return c.horzRes;
    case VERTRES: return c.vertRes;
    case BITSPIXEL: return c.bitsPixel;
    case PLANES: return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS: return -1;
    case NUMFONTS: return 0;
    case ASPECTX:
    case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case RASTERCAPS: return RC_BITBLT | RC_BITMAP64 | RC_STRETCHBLT | RC_DI_BITMAP;
    case LOGPIXELSX: return c.logPixelsX;
    case LOGPIXELSY: return c.logPixelsY;
    case SIZEPALETTE: return 0;
    case PHYSICALWIDTH: return c.physicalWidth ? c.physicalWidth : c.horzRes;
    case PHYSICALHEIGHT: return c.physicalHeight ? c.physicalHeight : c.vertRes;
    case PHYSICALOFFSETX: return c.physicalOffsetX;
    case PHYSICALOFFSETY: return c.physicalOffsetY;
    default: return 0;
  }
}

const DeviceCaps& DC::Caps() const {
  static const DeviceCaps none{};
  return impl_ ? impl_->caps : none;
}

bool DC::IsPrinting() const { return impl_ && impl_->printing; }
void DC::SetPrinting(bool printing) {
  if (impl_) impl_->printing = printing;
}

// --- Objects ----------------------------------------------------------------------------------

Pen DC::SelectObject(const Pen& pen) {
  if (!impl_ || pen.IsNull()) return Pen();
  Pen old = impl_->st.pen;
  impl_->st.pen = pen;
  return old;
}

Brush DC::SelectObject(const Brush& brush) {
  if (!impl_ || brush.IsNull()) return Brush();
  Brush old = impl_->st.brush;
  impl_->st.brush = brush;
  return old;
}

Font DC::SelectObject(const Font& font) {
  if (!impl_ || font.IsNull()) return Font();
  Font old = impl_->st.font;
  impl_->st.font = font;
  return old;
}

Bitmap DC::SelectObject(const Bitmap& bitmap) {
  if (!impl_ || !impl_->memory || bitmap.IsNull()) return Bitmap();
  Bitmap old = impl_->st.bitmap;
  impl_->st.bitmap = bitmap;
  impl_->AttachBitmap();
  return old;
}

int DC::SelectObject(const Region& region) { return SelectClipRgn(&region, RGN_COPY); }

void DC::SelectStockObject(int index) {
  switch (index) {
    case WHITE_PEN:
    case BLACK_PEN:
    case NULL_PEN: SelectObject(StockPen(index)); break;
    case WHITE_BRUSH:
    case LTGRAY_BRUSH:
    case GRAY_BRUSH:
    case DKGRAY_BRUSH:
    case BLACK_BRUSH:
    case NULL_BRUSH: SelectObject(StockBrush(index)); break;
    default: SelectObject(StockFont(index)); break;
  }
}

Pen DC::GetCurrentPen() const { return impl_ ? impl_->st.pen : Pen(); }
Brush DC::GetCurrentBrush() const { return impl_ ? impl_->st.brush : Brush(); }
Font DC::GetCurrentFont() const { return impl_ ? impl_->st.font : Font(); }
Bitmap DC::GetCurrentBitmap() const { return impl_ ? impl_->st.bitmap : Bitmap(); }

// --- Attributes -------------------------------------------------------------------------------

namespace {

template <class T>
T setField(DC::Impl* impl, T DcState::*field, T value) {
  if (!impl) return T{};
  T old = impl->st.*field;
  impl->st.*field = value;
  return old;
}

}  // namespace

COLORREF DC::SetTextColor(COLORREF color) {
  return impl_ ? setField(impl_.get(), &DcState::textColor, color & 0xFFFFFF) : CLR_INVALID;
}
COLORREF DC::GetTextColor() const { return impl_ ? impl_->st.textColor : CLR_INVALID; }
COLORREF DC::SetBkColor(COLORREF color) {
  return impl_ ? setField(impl_.get(), &DcState::bkColor, color & 0xFFFFFF) : CLR_INVALID;
}
COLORREF DC::GetBkColor() const { return impl_ ? impl_->st.bkColor : CLR_INVALID; }
int DC::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return setField(impl_.get(), &DcState::bkMode, mode);
}
int DC::GetBkMode() const { return impl_ ? impl_->st.bkMode : 0; }
int DC::SetROP2(int rop) {
  if (rop < R2_BLACK || rop > R2_WHITE) return 0;
  return setField(impl_.get(), &DcState::rop2, rop);
}
int DC::GetROP2() const { return impl_ ? impl_->st.rop2 : 0; }
UINT DC::SetTextAlign(UINT align) { return setField(impl_.get(), &DcState::textAlign, align); }
UINT DC::GetTextAlign() const { return impl_ ? impl_->st.textAlign : 0; }
int DC::SetPolyFillMode(int mode) {
  if (mode != ALTERNATE && mode != WINDING) return 0;
  return setField(impl_.get(), &DcState::polyFillMode, mode);
}
int DC::GetPolyFillMode() const { return impl_ ? impl_->st.polyFillMode : 0; }
int DC::SetStretchBltMode(int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return setField(impl_.get(), &DcState::stretchMode, mode);
}
int DC::GetStretchBltMode() const { return impl_ ? impl_->st.stretchMode : 0; }
Point DC::SetBrushOrg(int x, int y) { return setField(impl_.get(), &DcState::brushOrg, Point{x, y}); }
Point DC::GetBrushOrg() const { return impl_ ? impl_->st.brushOrg : Point{}; }

// --- Mapping ----------------------------------------------------------------------------------

int DC::SetMapMode(int mode) {
  if (!impl_ || mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
  DcState& s = impl_->st;
  const int old = s.mapMode;
  s.mapMode = mode;
  if (mode == MM_TEXT) {
    s.windowExt = s.viewportExt = {1, 1};
  } else if (const int u = unitsPerInch(mode)) {
    s.windowExt = {u, u};
    s.viewportExt = {impl_->caps.logPixelsX, -impl_->caps.logPixelsY};
  }
  impl_->ApplyIsotropic();
  impl_->RecordMapping();
  return old;
}
int DC::GetMapMode() const { return impl_ ? impl_->st.mapMode : 0; }

namespace {

// Extents change only in the two scaling modes, and never to 0.
Size setExtent(DC::Impl* impl, Size DcState::*field, int cx, int cy) {
  if (!impl || cx == 0 || cy == 0) return {};
  const Size old = impl->st.*field;
  if (impl->st.mapMode != MM_ISOTROPIC && impl->st.mapMode != MM_ANISOTROPIC) return old;
  impl->st.*field = {cx, cy};
  impl->ApplyIsotropic();
  impl->RecordMapping();
  return old;
}

}  // namespace

Point DC::SetWindowOrg(int x, int y) {
  const Point old = setField(impl_.get(), &DcState::windowOrg, Point{x, y});
  if (impl_) impl_->RecordMapping();
  return old;
}
Point DC::GetWindowOrg() const { return impl_ ? impl_->st.windowOrg : Point{}; }
Point DC::OffsetWindowOrg(int dx, int dy) {
  const Point o = GetWindowOrg();
  return SetWindowOrg(o.x + dx, o.y + dy);
}

Size DC::SetWindowExt(int cx, int cy) { return setExtent(impl_.get(), &DcState::windowExt, cx, cy); }
Size DC::GetWindowExt() const { return impl_ ? impl_->st.windowExt : Size{}; }

Point DC::SetViewportOrg(int x, int y) {
  const Point old = setField(impl_.get(), &DcState::viewportOrg, Point{x, y});
  if (impl_) impl_->RecordMapping();
  return old;
}
Point DC::GetViewportOrg() const { return impl_ ? impl_->st.viewportOrg : Point{}; }
Point DC::OffsetViewportOrg(int dx, int dy) {
  const Point o = GetViewportOrg();
  return SetViewportOrg(o.x + dx, o.y + dy);
}

Size DC::SetViewportExt(int cx, int cy) { return setExtent(impl_.get(), &DcState::viewportExt, cx, cy); }
Size DC::GetViewportExt() const { return impl_ ? impl_->st.viewportExt : Size{}; }

Size DC::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom) {
  const Size e = GetWindowExt();
  if (xDenom == 0 || yDenom == 0) return e;
  return SetWindowExt(MulDiv(e.cx, xNum, xDenom), MulDiv(e.cy, yNum, yDenom));
}
Size DC::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom) {
  const Size e = GetViewportExt();
  if (xDenom == 0 || yDenom == 0) return e;
  return SetViewportExt(MulDiv(e.cx, xNum, xDenom), MulDiv(e.cy, yNum, yDenom));
}

void DC::LPtoDP(Point* points, int count) const {
  if (!impl_ || !points) return;
  for (int i = 0; i < count; ++i) points[i] = impl_->Dev(points[i]);
}
void DC::DPtoLP(Point* points, int count) const {
  if (!impl_ || !points) return;
  for (int i = 0; i < count; ++i) points[i] = impl_->Log(points[i]);
}
void DC::LPtoDP(Rect* rect) const {
  if (!impl_ || !rect) return;
  const Point a = impl_->Dev(rect->TopLeft()), b = impl_->Dev(rect->BottomRight());
  *rect = Rect(a.x, a.y, b.x, b.y);
}
void DC::DPtoLP(Rect* rect) const {
  if (!impl_ || !rect) return;
  const Point a = impl_->Log(rect->TopLeft()), b = impl_->Log(rect->BottomRight());
  *rect = Rect(a.x, a.y, b.x, b.y);
}
void DC::LPtoDP(Size* size) const {
  if (!impl_ || !size) return;
  size->cx = impl_->DevLengthX(size->cx);
  size->cy = impl_->DevLengthY(size->cy);
}
void DC::DPtoLP(Size* size) const {
  if (!impl_ || !size) return;
  size->cx = impl_->LogLengthX(size->cx);
  size->cy = impl_->LogLengthY(size->cy);
}

// --- State ------------------------------------------------------------------------------------

int DC::SaveDC() {
  if (!impl_) return 0;
  impl_->saved.push_back(impl_->st);
  return static_cast<int>(impl_->saved.size());
}

bool DC::RestoreDC(int saved) {
  if (!impl_ || saved == 0) return false;
  const int size = static_cast<int>(impl_->saved.size());
  const int target = saved < 0 ? size + saved : saved - 1;
  if (target < impl_->restoreFloor || target >= size) return false;
  impl_->st = impl_->saved[static_cast<std::size_t>(target)];
  impl_->saved.resize(static_cast<std::size_t>(target));
  impl_->UpdateClip();
  impl_->AttachBitmap();
  impl_->RecordMapping();
  return true;
}

// --- Lines and shapes -------------------------------------------------------------------------

Point DC::MoveTo(int x, int y) {
  if (!impl_) return {};
  const Point old = impl_->st.position;
  impl_->st.position = {x, y};
  return old;
}

bool DC::LineTo(int x, int y) {
  if (!impl_) return false;
  Impl& I = *impl_;
  const Point pts[2] = {I.Dev(I.st.position), I.Dev({x, y})};
  if (I.device) I.device->polyline(pts, 2, I.DevicePen(), I.Context());
  I.st.position = {x, y};
  return true;
}

Point DC::GetCurrentPosition() const { return impl_ ? impl_->st.position : Point{}; }

bool DC::Polyline(const Point* points, int count) {
  if (!impl_ || !points || count < 2) return false;
  Impl& I = *impl_;
  std::vector<Point> dev(points, points + count);
  for (Point& p : dev) p = I.Dev(p);
  if (I.device) I.device->polyline(dev.data(), count, I.DevicePen(), I.Context());
  return true;
}

bool DC::PolylineTo(const Point* points, int count) {
  if (!impl_ || !points || count < 1) return false;
  Impl& I = *impl_;
  std::vector<Point> dev;
  dev.reserve(static_cast<std::size_t>(count) + 1);
  dev.push_back(I.Dev(I.st.position));
  for (int i = 0; i < count; ++i) dev.push_back(I.Dev(points[i]));
  if (I.device) I.device->polyline(dev.data(), count + 1, I.DevicePen(), I.Context());
  I.st.position = points[count - 1];
  return true;
}

bool DC::Polygon(const Point* points, int count) {
  if (!impl_ || !points || count < 2) return false;
  Impl& I = *impl_;
  std::vector<Point> dev(points, points + count);
  for (Point& p : dev) p = I.Dev(p);
  if (I.device)
    I.device->polyPolygon(dev.data(), &count, 1, I.DevicePen(), I.DeviceBrush(I.st.brush), I.Context());
  return true;
}

bool DC::PolyPolygon(const Point* points, const int* counts, int polygons) {
  if (!impl_ || !points || !counts || polygons <= 0) return false;
  std::int64_t total = 0;
  for (int i = 0; i < polygons; ++i) {
    if (counts[i] < 2) return false;
    total += counts[i];
  }
  if (total > (1 << 26)) return false;
  Impl& I = *impl_;
  std::vector<Point> dev(points, points + total);
  for (Point& p : dev) p = I.Dev(p);
  if (I.device)
    I.device->polyPolygon(dev.data(), counts, polygons, I.DevicePen(), I.DeviceBrush(I.st.brush), I.Context());
  return true;
}

namespace {

// The shape's box: inside the frame for PS_INSIDEFRAME, so a wide pen stays within it.
Rect shapeBox(const DC::Impl& I, const Rect& logical) {
  Rect r = I.DevRect(logical);
  const int w = I.PenWidth();
  if ((I.st.pen.Log().lopnStyle & PS_STYLE_MASK) == PS_INSIDEFRAME && w > 1) {
    r.DeflateRect(w / 2, w / 2);
    if (r.IsRectEmpty()) r = Rect(r.left, r.top, r.left + 1, r.top + 1);
  }
  return r;
}

}  // namespace

bool DC::Rectangle(int left, int top, int right, int bottom) {
  if (!impl_) return false;
  Impl& I = *impl_;
  const Rect r = shapeBox(I, Rect(left, top, right, bottom));
  if (I.device) I.device->rectangle(r, I.DevicePen(), I.DeviceBrush(I.st.brush), I.Context());
  return true;
}

bool DC::RoundRect(int left, int top, int right, int bottom, int width, int height) {
  if (!impl_) return false;
  Impl& I = *impl_;
  const Rect r = shapeBox(I, Rect(left, top, right, bottom));
  if (I.device)
    I.device->roundRect(r, I.DevLengthX(width), I.DevLengthY(height), I.DevicePen(), I.DeviceBrush(I.st.brush), I.Context());
  return true;
}

bool DC::Ellipse(int left, int top, int right, int bottom) {
  if (!impl_) return false;
  Impl& I = *impl_;
  const Rect r = shapeBox(I, Rect(left, top, right, bottom));
  if (I.device) I.device->ellipse(r, I.DevicePen(), I.DeviceBrush(I.st.brush), I.Context());
  return true;
}

namespace {

bool arcCall(DC::Impl* impl, detail::ArcKind kind, const Rect& logical, Point a, Point b) {
  if (!impl) return false;
  DC::Impl& I = *impl;
  const Rect r = shapeBox(I, logical);
  const Brush none = StockBrush(NULL_BRUSH);
  if (I.device)
    I.device->arc(kind, r, I.Dev(a), I.Dev(b), I.DevicePen(), I.DeviceBrush(kind == detail::ArcKind::Arc ? none : I.st.brush),
                  I.Context());
  return true;
}

}  // namespace

bool DC::Arc(int l, int t, int r, int b, int x1, int y1, int x2, int y2) {
  return arcCall(impl_.get(), detail::ArcKind::Arc, Rect(l, t, r, b), {x1, y1}, {x2, y2});
}
bool DC::Chord(int l, int t, int r, int b, int x1, int y1, int x2, int y2) {
  return arcCall(impl_.get(), detail::ArcKind::Chord, Rect(l, t, r, b), {x1, y1}, {x2, y2});
}
bool DC::Pie(int l, int t, int r, int b, int x1, int y1, int x2, int y2) {
  return arcCall(impl_.get(), detail::ArcKind::Pie, Rect(l, t, r, b), {x1, y1}, {x2, y2});
}

COLORREF DC::SetPixel(int x, int y, COLORREF color) {
  if (!SetPixelV(x, y, color)) return CLR_INVALID;
  return color & 0xFFFFFF;
}

bool DC::SetPixelV(int x, int y, COLORREF color) {
  if (!impl_) return false;
  Impl& I = *impl_;
  const Point p = I.Dev({x, y});
  if (I.device) I.device->setPixel(p, color & 0xFFFFFF, I.Context());
  return true;
}

COLORREF DC::GetPixel(int x, int y) const {
  if (!impl_ || !impl_->device) return CLR_INVALID;
  const Point p = impl_->Dev({x, y});
  if (impl_->hasClip && !impl_->clipCache.contains(QPoint(p.x, p.y))) return CLR_INVALID;
  return impl_->device->getPixel(p);
}

// --- Fills ------------------------------------------------------------------------------------

void DC::FillRect(const Rect& rect, const Brush& brush) {
  if (!impl_ || brush.IsNull()) return;
  Impl& I = *impl_;
  const Rect r = I.DevRect(rect);
  if (I.device) I.device->patBlt(r, PATCOPY, I.DeviceBrush(brush), I.Context());
}

void DC::FillSolidRect(const Rect& rect, COLORREF color) { FillRect(rect, Brush(color)); }

void DC::FrameRect(const Rect& rect, const Brush& brush) {
  Rect r = rect;
  r.NormalizeRect();
  if (r.IsRectEmpty()) return;
  FillRect(Rect(r.left, r.top, r.right, r.top + 1), brush);
  if (r.Height() > 1) FillRect(Rect(r.left, r.bottom - 1, r.right, r.bottom), brush);
  if (r.Height() > 2) {
    FillRect(Rect(r.left, r.top + 1, r.left + 1, r.bottom - 1), brush);
    if (r.Width() > 1) FillRect(Rect(r.right - 1, r.top + 1, r.right, r.bottom - 1), brush);
  }
}

void DC::InvertRect(const Rect& rect) {
  Rect r = rect;
  r.NormalizeRect();
  PatBlt(r.left, r.top, r.Width(), r.Height(), DSTINVERT);
}

void DC::DrawFocusRect(const Rect& rect) {
  // A mark of the screen: never recorded, and not drawn where there are no raster operations.
  if (!impl_ || !impl_->device || !impl_->device->surface()) return;
  Impl& I = *impl_;
  Rect r = I.DevRect(rect);
  if (r.IsRectEmpty()) return;
  DevBrush b = I.DeviceBrush(focusBrush());
  b.origin = {0, 0};
  const DevContext c = I.Context();
  I.device->patBlt(Rect(r.left, r.top, r.right, r.top + 1), PATINVERT, b, c);
  if (r.Height() > 1) I.device->patBlt(Rect(r.left, r.bottom - 1, r.right, r.bottom), PATINVERT, b, c);
  if (r.Height() > 2) {
    I.device->patBlt(Rect(r.left, r.top + 1, r.left + 1, r.bottom - 1), PATINVERT, b, c);
    if (r.Width() > 1) I.device->patBlt(Rect(r.right - 1, r.top + 1, r.right, r.bottom - 1), PATINVERT, b, c);
  }
}

void DC::Draw3dRect(const Rect& rect, COLORREF topLeft, COLORREF bottomRight) {
  Rect r = rect;
  r.NormalizeRect();
  if (r.IsRectEmpty()) return;
  FillSolidRect(Rect(r.left, r.top, r.right - 1, r.top + 1), topLeft);
  FillSolidRect(Rect(r.left, r.top, r.left + 1, r.bottom - 1), topLeft);
  FillSolidRect(Rect(r.right - 1, r.top, r.right, r.bottom), bottomRight);
  FillSolidRect(Rect(r.left, r.bottom - 1, r.right, r.bottom), bottomRight);
}

bool DC::DrawEdge(Rect* rect, UINT edge, UINT flags) {
  if (!impl_ || !rect) return false;
  Rect r = *rect;
  r.NormalizeRect();
  struct Ring {
    UINT raised, sunken;
    int raisedTl, raisedBr, sunkenTl, sunkenBr;
  };
  static constexpr Ring kRings[2] = {
      {BDR_RAISEDOUTER, BDR_SUNKENOUTER, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT},
      {BDR_RAISEDINNER, BDR_SUNKENINNER, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT},
  };
  for (const Ring& ring : kRings) {
    int tl = -1, br = -1;
    if (edge & ring.raised) tl = ring.raisedTl, br = ring.raisedBr;
    else if (edge & ring.sunken) tl = ring.sunkenTl, br = ring.sunkenBr;
    if (tl < 0 || r.IsRectEmpty()) continue;
    if (flags & BF_TOP) FillSolidRect(Rect(r.left, r.top, r.right, r.top + 1), GetSysColor(tl));
    if (flags & BF_LEFT) FillSolidRect(Rect(r.left, r.top, r.left + 1, r.bottom), GetSysColor(tl));
    if (flags & BF_BOTTOM) FillSolidRect(Rect(r.left, r.bottom - 1, r.right, r.bottom), GetSysColor(br));
    if (flags & BF_RIGHT) FillSolidRect(Rect(r.right - 1, r.top, r.right, r.bottom), GetSysColor(br));
    if (flags & BF_TOP) ++r.top;
    if (flags & BF_LEFT) ++r.left;
    if (flags & BF_BOTTOM) --r.bottom;
    if (flags & BF_RIGHT) --r.right;
  }
  if (flags & BF_ADJUST) *rect = r;
  return true;
}

bool DC::FillRgn(const Region& region, const Brush& brush) {
  if (!impl_) return false;
  // A region is in device pixels; each of its rectangles is filled in device units.
  for (const Rect& r : region.Rects()) {
    Rect l = r;
    DPtoLP(&l);
    FillRect(l, brush);
  }
  return true;
}

bool DC::PaintRgn(const Region& region) { return impl_ && FillRgn(region, impl_->st.brush); }

bool DC::FrameRgn(const Region& region, const Brush& brush, int width, int height) {
  if (!impl_ || width <= 0 || height <= 0) return false;
  // The frame is the region minus the region shrunk by width and height.
  Region inner = region;
  for (int dx : {-width, width}) {
    Region shifted = region;
    shifted.OffsetRgn(dx, 0);
    inner.CombineRgn(inner, shifted, RGN_AND);
  }
  for (int dy : {-height, height}) {
    Region shifted = region;
    shifted.OffsetRgn(0, dy);
    inner.CombineRgn(inner, shifted, RGN_AND);
  }
  Region frame;
  frame.CombineRgn(region, inner, RGN_DIFF);
  return FillRgn(frame, brush);
}

bool DC::InvertRgn(const Region& region) {
  if (!impl_) return false;
  for (const Rect& r : region.Rects()) {
    Rect l = r;
    DPtoLP(&l);
    InvertRect(l);
  }
  return true;
}

// --- Text -------------------------------------------------------------------------------------

bool DC::TextOut(int x, int y, std::string_view text) { return ExtTextOut(x, y, 0, nullptr, text, nullptr); }
bool DC::TextOut(int x, int y, std::u16string_view text) { return ExtTextOut(x, y, 0, nullptr, text, nullptr); }

namespace {

// Bytes of the well-formed UTF-8 sequence at text[i], or 1 (a byte read as Windows-1252).
std::size_t utf8Length(std::string_view text, std::size_t i) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned lead = b(i);
  std::size_t n = 1;
  unsigned lo = 0x80, hi = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) n = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) n = 3, lo = lead == 0xE0 ? 0xA0 : 0x80, hi = lead == 0xED ? 0x9F : 0xBF;
  else if (lead >= 0xF0 && lead <= 0xF4) n = 4, lo = lead == 0xF0 ? 0x90 : 0x80, hi = lead == 0xF4 ? 0x8F : 0xBF;
  if (n == 1 || i + n > text.size()) return 1;
  if (b(i + 1) < lo || b(i + 1) > hi) return 1;
  for (std::size_t k = 2; k < n; ++k)
    if (b(i + k) < 0x80 || b(i + k) > 0xBF) return 1;
  return n;
}

}  // namespace

bool DC::ExtTextOut(int x, int y, UINT options, const Rect* rect, std::string_view text, const int* dx) {
  const std::u16string wide = detail::Widen(text);
  if (!dx || wide.size() == text.size()) return ExtTextOut(x, y, options, rect, std::u16string_view(wide), dx);
  // Advances are given per byte: a character takes those of its bytes, its second 16-bit half none.
  std::vector<int> perChar;
  perChar.reserve(wide.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = utf8Length(text, i);
    int advance = 0;
    for (std::size_t k = 0; k < n; ++k) advance += dx[i + k];
    perChar.push_back(advance);
    if (n == 4) perChar.push_back(0);
    i += n;
  }
  return ExtTextOut(x, y, options, rect, std::u16string_view(wide), perChar.size() == wide.size() ? perChar.data() : nullptr);
}

bool DC::ExtTextOut(int x, int y, UINT options, const Rect* rect, std::u16string_view text, const int* dx) {
  if (!impl_) return false;
  Impl& I = *impl_;
  const bool updateCp = (I.st.textAlign & TA_UPDATECP) != 0;
  const Point refLogical = updateCp ? I.st.position : Point{x, y};
  auto font = I.DeviceFont();
  std::vector<int> dxDev;
  if (dx) {
    // The characters' places are scaled, not each advance alone: advances cut to whole pixels
    // one by one would make a scaled text narrower than its place, its characters run together.
    dxDev.resize(text.size());
    const double scale = I.ScaleX();
    double logical = 0;
    int placed = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      logical += dx[i];
      const int next = clampCoord(std::round(logical * scale));
      dxDev[i] = next - placed;
      placed = next;
    }
  }
  detail::TextRun run = detail::LayoutText(font, text, dx ? dxDev.data() : nullptr);
  const int esc = font ? I.st.font.Log().lfEscapement : 0;
  run.escapement = esc;
  run.angle = esc / 10.0;
  const double a = run.angle * M_PI / 180.0;
  const QPointF dir(std::cos(a), -std::sin(a)), down(std::sin(a), std::cos(a));
  const UINT align = I.st.textAlign;
  const int along = (align & TA_CENTER) == TA_CENTER ? -(run.width / 2) : (align & TA_RIGHT) ? -run.width : 0;
  const int across = (align & TA_BASELINE) == TA_BASELINE ? 0 : (align & TA_BOTTOM) ? -font->descent : font->ascent;
  const Point ref = I.Dev(refLogical);
  run.origin = QPointF(ref.x, ref.y) + dir * along + down * across;
  run.color = I.st.textColor;
  run.bkColor = I.st.bkColor;
  run.opaque = I.st.bkMode == OPAQUE;
  if (rect) {
    const Rect r = I.DevRect(*rect);
    if (options & ETO_OPAQUE) run.opaqueRect = r;
    if (options & ETO_CLIPPED) run.clipRect = r;
  }
  if (I.device && (!text.empty() || run.opaqueRect)) I.device->text(run, I.Context());
  if (updateCp) {
    const int move = (align & TA_CENTER) == TA_CENTER ? 0 : (align & TA_RIGHT) ? -run.width : run.width;
    const QPointF end = QPointF(ref.x, ref.y) + dir * move;
    I.st.position = I.Log({clampCoord(std::round(end.x())), clampCoord(std::round(end.y()))});
  }
  return true;
}

Size DC::GetTextExtent(std::string_view text) const { return GetTextExtent(std::u16string_view(detail::Widen(text))); }

Size DC::GetTextExtent(std::u16string_view text) const {
  if (!impl_) return {};
  auto font = impl_->DeviceFont();
  std::int64_t width = 0;
  for (char16_t c : text) {
    std::uint32_t glyph = 0;
    int adv = 0;
    font->Glyph(c, &glyph, &adv);
    width += adv;
  }
  return {impl_->LogLengthX(clampCoord(width)), impl_->LogLengthY(font->Height())};
}

bool DC::GetTextMetrics(TEXTMETRIC* m) const {
  if (!impl_ || !m) return false;
  auto f = impl_->DeviceFont();
  const Impl& I = *impl_;
  m->tmHeight = I.LogLengthY(f->Height());
  m->tmAscent = I.LogLengthY(f->ascent);
  m->tmDescent = m->tmHeight - m->tmAscent;
  m->tmInternalLeading = I.LogLengthY(f->internalLeading);
  m->tmExternalLeading = I.LogLengthY(f->externalLeading);
  m->tmAveCharWidth = I.LogLengthX(f->aveCharWidth);
  m->tmMaxCharWidth = I.LogLengthX(f->maxCharWidth);
  m->tmWeight = f->weight;
  m->tmItalic = f->italic;
  m->tmUnderlined = f->underline;
  m->tmStruckOut = f->strikeOut;
  const bool fixed = f->face == "Liberation Mono";
  // As the platform has it: the low bit is set for variable pitch.
  m->tmPitchAndFamily = static_cast<std::uint8_t>((fixed ? 0 : 1) | (fixed ? FF_MODERN : FF_SWISS) | 0x6);
  m->tmCharSet = I.st.font.Log().lfCharSet;
  return true;
}

std::string DC::GetTextFace() const { return impl_ ? impl_->DeviceFont()->face : std::string(); }

// --- Clipping ---------------------------------------------------------------------------------

namespace {

int kindOf(const DC::Impl& I) {
  if (!I.hasClip) return SIMPLEREGION;
  if (I.clipCache.isEmpty()) return NULLREGION;
  return I.clipCache.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace

int DC::SelectClipRgn(const Region* region, int mode) {
  if (!impl_) return RGN_ERROR;
  Impl& I = *impl_;
  if (!region) {
    if (mode != RGN_COPY) return RGN_ERROR;
    I.SetClip(std::nullopt);
  } else {
    // Regions are relative to the device origin.
    const QRegion r = region->impl()->region.translated(I.st.outer.ox, I.st.outer.oy);
    const QRegion current = I.st.clip ? *I.st.clip : QRegion(toQRect(I.DeviceBounds()));
    switch (mode) {
      case RGN_COPY: I.SetClip(r); break;
      case RGN_AND: I.SetClip(current.intersected(r)); break;
      case RGN_OR: I.SetClip(current.united(r)); break;
      case RGN_XOR: I.SetClip(current.xored(r)); break;
      case RGN_DIFF: I.SetClip(current.subtracted(r)); break;
      default: return RGN_ERROR;
    }
  }
  return kindOf(I);
}

int DC::IntersectClipRect(int left, int top, int right, int bottom) {
  if (!impl_) return RGN_ERROR;
  Impl& I = *impl_;
  const QRegion r(toQRect(I.DevRect(Rect(left, top, right, bottom))));
  I.SetClip(I.st.clip ? I.st.clip->intersected(r) : r);
  return kindOf(I);
}

int DC::ExcludeClipRect(int left, int top, int right, int bottom) {
  if (!impl_) return RGN_ERROR;
  Impl& I = *impl_;
  const QRegion r(toQRect(I.DevRect(Rect(left, top, right, bottom))));
  const QRegion current = I.st.clip ? *I.st.clip : QRegion(toQRect(I.DeviceBounds()));
  I.SetClip(current.subtracted(r));
  return kindOf(I);
}

int DC::OffsetClipRgn(int dx, int dy) {
  if (!impl_) return RGN_ERROR;
  Impl& I = *impl_;
  if (I.st.clip) {
    QRegion r = *I.st.clip;
    r.translate(I.DevLengthX(dx) * (I.st.viewportExt.cx < 0 ? -1 : 1), I.DevLengthY(dy) * (I.st.viewportExt.cy < 0 ? -1 : 1));
    I.SetClip(r);
  }
  return kindOf(I);
}

int DC::GetClipBox(Rect* rect) const {
  if (!impl_ || !rect) return RGN_ERROR;
  const Impl& I = *impl_;
  // What can be drawn: the target's pixels (a surface's, or the device's printable size) and
  // the clip.
  const bool raster = I.device && I.device->surface();
  Rect box = raster ? I.DeviceBounds() : Rect(0, 0, I.caps.horzRes, I.caps.vertRes);
  if (I.hasClip) {
    const Rect clip = I.clipCache.isEmpty() ? Rect() : toRect(I.clipCache.boundingRect());
    if (raster) box.IntersectRect(box, clip);
    else box = clip;
  }
  DPtoLP(&box);
  box.NormalizeRect();
  *rect = box;
  return kindOf(I);
}

bool DC::GetClipRgn(Region* region) const {
  if (!impl_ || !region || !impl_->st.clip) return false;
  region->impl()->region = impl_->st.clip->translated(-impl_->st.outer.ox, -impl_->st.outer.oy);
  return true;
}

bool DC::PtVisible(int x, int y) const {
  if (!impl_) return false;
  const Point p = impl_->Dev({x, y});
  if (!impl_->DeviceBounds().PtInRect(p)) return false;
  return !impl_->hasClip || impl_->clipCache.contains(QPoint(p.x, p.y));
}

bool DC::RectVisible(const Rect& rect) const {
  if (!impl_) return false;
  Rect r = impl_->DevRect(rect);
  if (!r.IntersectRect(r, impl_->DeviceBounds())) return false;
  return !impl_->hasClip || impl_->clipCache.intersects(toQRect(r));
}

// --- Blocks -----------------------------------------------------------------------------------

bool DC::BitBlt(int x, int y, int width, int height, const DC* source, int xSrc, int ySrc, DWORD rop) {
  return StretchBlt(x, y, width, height, source, xSrc, ySrc, width, height, rop);
}

bool DC::StretchBlt(int x, int y, int width, int height, const DC* source, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, DWORD rop) {
  if (!impl_) return false;
  Impl& I = *impl_;
  const std::uint8_t code = detail::Rop3Code(rop);
  const Rect dst = I.DevRect(Rect(Point{x, y}, Size{width, height}));
  if (!detail::Rop3UsesSource(code)) {
    if (I.device) I.device->patBlt(dst, rop, I.DeviceBrush(I.st.brush), I.Context());
    return true;
  }
  if (!source || !source->impl_ || !source->impl_->device || !source->impl_->device->surface()) return false;
  const RasterSurface& src = *source->impl_->device->surface();
  const Rect srcRect = source->impl_->DevRect(Rect(Point{xSrc, ySrc}, Size{srcWidth, srcHeight}));
  if (I.device) I.device->blt(dst, src, srcRect, rop, I.DeviceBrush(I.st.brush), I.Context());
  return true;
}

bool DC::PatBlt(int x, int y, int width, int height, DWORD rop) {
  if (detail::Rop3UsesSource(detail::Rop3Code(rop))) return false;
  return StretchBlt(x, y, width, height, nullptr, 0, 0, 0, 0, rop);
}

bool DC::DrawBitmap(int x, int y, const Bitmap& bitmap, DWORD rop) {
  if (!impl_ || bitmap.IsNull()) return false;
  Impl& I = *impl_;
  const RasterSurface& src = *bitmap.Surface();
  const Point d = I.Dev({x, y});
  const Rect dst(d.x, d.y, d.x + src.Width(), d.y + src.Height());
  const Rect srcRect(0, 0, src.Width(), src.Height());
  if (I.device) I.device->blt(dst, src, srcRect, rop, I.DeviceBrush(I.st.brush), I.Context());
  return true;
}

// --- Documents --------------------------------------------------------------------------------

int DC::StartDoc(std::u16string_view docName) { return impl_ && impl_->device ? impl_->device->startDoc(docName) : 1; }
int DC::StartPage() { return impl_ && impl_->device ? impl_->device->startPage() : 1; }
int DC::EndPage() { return impl_ && impl_->device ? impl_->device->endPage() : 1; }
int DC::EndDoc() { return impl_ && impl_->device ? impl_->device->endDoc() : 1; }
int DC::AbortDoc() { return impl_ && impl_->device ? impl_->device->abortDoc() : 1; }

}  // namespace gdi
