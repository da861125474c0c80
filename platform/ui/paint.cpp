// Painting of the windows the product draws itself: their surfaces, invalidation, WM_PAINT and
// the DCs over them; the standard non-client area and scroll bars.
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "platform/gdi/qt_bridge.h"
#include "platform/ui/dc.h"
#include "platform/ui/frame.h"
#include "platform/ui/internal/state.h"
#include "platform/ui/internal/wndaccess.h"

namespace ui {

namespace {

constexpr int kScrollBarWidth = 16;
constexpr int kCaptionHeight = 18;

class OwnDrawnWidget : public Bridged<QWidget> {
 public:
  using Bridged<QWidget>::Bridged;

 protected:
  void paintEvent(QPaintEvent*) override {
    WndImpl* impl = AppState::Get().WindowOfWidget(this);
    if (!impl) return;
    QPainter p(this);
    if (impl->nonClient) p.drawImage(0, 0, gdi::qt::Image(*impl->nonClient));
    if (impl->client) {
      const Rect c = impl->ClientRect();
      p.drawImage(QPoint(impl->insets.left, impl->insets.top), gdi::qt::Image(*impl->client), QRect(0, 0, c.Width(), c.Height()));
    }
  }
};

class OwnDrawnCore : public Core {
 public:
  using Core::Core;
  QWidget* CreateWidget(QWidget* parent, const CREATESTRUCT&) override {
    auto* w = new OwnDrawnWidget(parent);
    w->setAttribute(Qt::WA_OpaquePaintEvent);
    w->setFocusPolicy(Qt::NoFocus);
    return w;
  }
  bool OwnDrawn() const override { return true; }
};

COLORREF BackgroundOf(const WndImpl* impl) {
  return impl->cls.hasBackground ? impl->cls.background : gdi::GetSysColor(gdi::COLOR_WINDOW);
}

void ScrollAction(HWND h, int bar, int action) {
  AppState& st = AppState::Get();
  WndImpl* impl = st.Lookup(h);
  if (!impl) return;
  ScrollBarState& sb = impl->scroll[bar];
  UINT code;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
    default: return;
  }
  const int track = sb.bar ? sb.bar->sliderPosition() : sb.info.nPos;
  sb.info.nTrackPos = track;
  // The window moves the bar itself (SetScrollPos), as the product expects.
  if (sb.bar && code != SB_THUMBTRACK) sb.bar->setSliderPosition(sb.info.nPos);
  st.Dispatch(impl, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(track)), 0);
}

void PlaceScrollBars(WndImpl* impl) {
  if (!impl->widget) return;
  const Rect c = impl->ClientRect();
  for (int bar = SB_HORZ; bar <= SB_VERT; ++bar) {
    ScrollBarState& sb = impl->scroll[bar];
    const bool wanted = (impl->style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
    if (!wanted) {
      if (sb.bar) sb.bar->hide();
      continue;
    }
    if (!sb.bar) {
      sb.bar = new QScrollBar(bar == SB_VERT ? Qt::Vertical : Qt::Horizontal, impl->widget.data());
      const HWND h = impl->hwnd;
      QObject::connect(sb.bar, &QAbstractSlider::actionTriggered, sb.bar, [h, bar](int action) { ScrollAction(h, bar, action); });
      QObject::connect(sb.bar, &QAbstractSlider::sliderReleased, sb.bar, [h, bar] {
        AppState& st = AppState::Get();
        if (WndImpl* i = st.Lookup(h)) {
          const int pos = i->scroll[bar].info.nTrackPos;
          st.Dispatch(i, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(pos)), 0);
          if ((i = st.Lookup(h))) st.Dispatch(i, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
        }
      });
    }
    if (bar == SB_VERT) sb.bar->setGeometry(impl->insets.left + c.Width(), impl->insets.top, kScrollBarWidth, c.Height());
    else sb.bar->setGeometry(impl->insets.left, impl->insets.top + c.Height(), c.Width(), kScrollBarWidth);
    sb.bar->show();
  }
}

void SyncScrollBar(WndImpl* impl, int bar) {
  ScrollBarState& sb = impl->scroll[bar];
  if (!sb.bar) return;
  AppState& st = AppState::Get();
  ++st.syntheticDepth;
  const int page = static_cast<int>(sb.info.nPage);
  sb.bar->setRange(sb.info.nMin, std::max(sb.info.nMin, sb.info.nMax - std::max(0, page - 1)));
  sb.bar->setPageStep(std::max(1, page));
  sb.bar->setValue(sb.info.nPos);
  --st.syntheticDepth;
}

}  // namespace

std::unique_ptr<Core> MakeOwnDrawnCore(WndImpl* impl) { return std::make_unique<OwnDrawnCore>(impl); }

void WndImpl::UpdateSurfaces() {
  if (!core || !core->OwnDrawn()) {
    if (menuBar) menuBar->setGeometry(0, 0, rect.Width(), insets.top);
    return;
  }
  const Rect c = ClientRect();
  const int w = std::max(1, c.Width());
  const int h = std::max(1, c.Height());
  const HWND self = hwnd;
  if (!client) {
    client = std::make_unique<gdi::WindowSurface>(w, h, BackgroundOf(this));
    client->SetChangeListener([self](const Rect& r) {
      if (WndImpl* i = AppState::Get().Lookup(self)) i->ScheduleScreenUpdate(r);
    });
  } else if (client->Width() != w || client->Height() != h) {
    client->Resize(w, h, BackgroundOf(this));
  }
  const bool hasNonClient = insets.left || insets.top || insets.right || insets.bottom;
  if (hasNonClient) {
    const int ww = std::max(1, rect.Width());
    const int wh = std::max(1, rect.Height());
    if (!nonClient) {
      nonClient = std::make_unique<gdi::WindowSurface>(ww, wh, gdi::GetSysColor(gdi::COLOR_BTNFACE));
      nonClient->SetChangeListener([self](const Rect& r) {
        if (WndImpl* i = AppState::Get().Lookup(self))
          if (i->widget) i->widget->update(gdi::qt::ToQRect(r));
      });
    } else if (nonClient->Width() != ww || nonClient->Height() != wh) {
      nonClient->Resize(ww, wh, gdi::GetSysColor(gdi::COLOR_BTNFACE));
    }
  } else {
    nonClient.reset();
  }
  if (menuBar) menuBar->setGeometry(0, 0, rect.Width(), std::max(0, insets.top));
  PlaceScrollBars(this);
  if (widget) widget->update();
}

void WndImpl::ScheduleScreenUpdate(const Rect& r) {
  if (widget) widget->update(QRect(r.left + insets.left, r.top + insets.top, r.Width(), r.Height()));
}

Rect WndAccess::DefaultInsets(const WndImpl* impl, const Rect&) {
  Rect in;
  if (impl->menuBar) in.top += impl->menuBar->sizeHint().height();
  if (!impl->core || !impl->core->OwnDrawn()) return in;
  int border = 0;
  if (!impl->IsTopLevel()) {
    if (impl->style & WS_THICKFRAME) border = 4;
    else if (impl->style & WS_DLGFRAME) border = 3;
    else if (impl->style & WS_BORDER) border = 1;
  }
  if (impl->exStyle & WS_EX_CLIENTEDGE) border += 2;
  else if (impl->exStyle & WS_EX_STATICEDGE) border += 1;
  in.left += border;
  in.right += border;
  in.top += border;
  in.bottom += border;
  if (!impl->IsTopLevel() && (impl->style & WS_CAPTION) == WS_CAPTION) in.top += kCaptionHeight;
  if (impl->style & WS_VSCROLL) in.right += kScrollBarWidth;
  if (impl->style & WS_HSCROLL) in.bottom += kScrollBarWidth;
  return in;
}

namespace {

constexpr int kCaptionButtonWidth = 16;
constexpr int kCaptionButtonHeight = 14;

// The frame's rectangle inside its border and the caption band, in window coordinates.
Rect InsideBorder(const WndImpl* impl) {
  Rect r(0, 0, impl->rect.Width(), impl->rect.Height());
  if (impl->style & WS_THICKFRAME) r.DeflateRect(4, 4);
  else if (impl->style & WS_DLGFRAME) r.DeflateRect(3, 3);
  else if (impl->style & WS_BORDER) r.DeflateRect(1, 1);
  return r;
}

// The active child of its frame draws an active caption, as the platform's MDI children do.
bool IsActiveMDIChild(const WndImpl* impl) {
  auto* child = dynamic_cast<MDIChildWnd*>(impl->object);
  MDIFrameWnd* frame = child ? child->GetMDIFrame() : nullptr;
  return frame && frame->MDIGetActive() == child;
}

bool HasCaption(const WndImpl* impl) { return !impl->IsTopLevel() && (impl->style & WS_CAPTION) == WS_CAPTION; }

// The caption buttons a child window's styles ask for, right to left: close, maximise or
// restore, minimise or restore.
struct CaptionButton {
  int hit;
  Rect rect;
};
std::vector<CaptionButton> CaptionButtons(const WndImpl* impl) {
  std::vector<CaptionButton> out;
  if (!HasCaption(impl) || !(impl->style & WS_SYSMENU)) return out;
  const Rect r = InsideBorder(impl);
  const int top = r.top + (kCaptionHeight - kCaptionButtonHeight) / 2;
  int right = r.right - 2;
  auto add = [&](int hit, int gap) {
    out.push_back({hit, Rect(right - kCaptionButtonWidth, top, right, top + kCaptionButtonHeight)});
    right -= kCaptionButtonWidth + gap;
  };
  add(HTCLOSE, 2);
  if (impl->style & WS_MAXIMIZEBOX) add(HTMAXBUTTON, 0);
  if (impl->style & WS_MINIMIZEBOX) add(HTMINBUTTON, 0);
  return out;
}

void DrawCaptionButton(gdi::DC& dc, const WndImpl* impl, const CaptionButton& b) {
  Rect face = b.rect;
  dc.FillSolidRect(face, gdi::GetSysColor(gdi::COLOR_BTNFACE));
  dc.DrawEdge(&face, gdi::EDGE_RAISED, gdi::BF_RECT);
  const gdi::Pen pen(gdi::PS_SOLID, 1, gdi::RGB(0, 0, 0));
  const gdi::Pen old = dc.SelectObject(pen);
  const gdi::Brush oldBrush = dc.SelectObject(gdi::StockBrush(gdi::NULL_BRUSH));
  const int l = b.rect.left + 4, t = b.rect.top + 3, r = b.rect.right - 5, bt = b.rect.bottom - 4;
  // A minimised window's minimise button and a maximised one's maximise button restore it.
  const bool restore = (b.hit == HTMAXBUTTON && impl->maximized) || (b.hit == HTMINBUTTON && impl->minimized);
  if (b.hit == HTCLOSE) {
    for (int d = 0; d < 2; ++d) {
      dc.MoveTo(l + d, t);
      dc.LineTo(r + d, bt + 1);
      dc.MoveTo(r - 1 + d, t);
      dc.LineTo(l - 1 + d, bt + 1);
    }
  } else if (restore) {
    dc.Rectangle(l + 3, t, r + 1, bt - 2);
    dc.Rectangle(l, t + 3, r - 2, bt + 1);
    dc.FillSolidRect(Rect(l + 1, t + 4, r - 3, bt), gdi::GetSysColor(gdi::COLOR_BTNFACE));
  } else if (b.hit == HTMAXBUTTON) {
    dc.Rectangle(l, t, r + 1, bt + 1);
    dc.MoveTo(l, t + 1);
    dc.LineTo(r + 1, t + 1);
  } else {
    dc.MoveTo(l + 1, bt);
    dc.LineTo(r - 1, bt);
    dc.MoveTo(l + 1, bt - 1);
    dc.LineTo(r - 1, bt - 1);
  }
  dc.SelectObject(old);
  dc.SelectObject(oldBrush);
}

}  // namespace

int WndAccess::NonClientHitTest(const WndImpl* impl, Point p) {
  const Rect client(impl->insets.left, impl->insets.top, impl->rect.Width() - impl->insets.right,
                    impl->rect.Height() - impl->insets.bottom);
  if (client.PtInRect(p)) return HTCLIENT;
  for (const CaptionButton& b : CaptionButtons(impl))
    if (b.rect.PtInRect(p)) return b.hit;
  if (HasCaption(impl)) {
    const Rect r = InsideBorder(impl);
    if (Rect(r.left, r.top, r.right, r.top + kCaptionHeight).PtInRect(p)) return HTCAPTION;
  }
  return HTBORDER;
}

void WndAccess::PaintDefaultNonClient(WndImpl* impl) {
  if (!impl->nonClient) return;
  gdi::DC dc(*impl->nonClient);
  const Rect whole(0, 0, impl->rect.Width(), impl->rect.Height());
  Rect r = whole;
  dc.FillSolidRect(whole, gdi::GetSysColor(gdi::COLOR_BTNFACE));
  if (!impl->IsTopLevel()) {
    if (impl->style & (WS_THICKFRAME | WS_DLGFRAME)) {
      dc.DrawEdge(&r, gdi::EDGE_RAISED, gdi::BF_RECT | gdi::BF_ADJUST);
      const int rest = (impl->style & WS_THICKFRAME) ? 2 : 1;
      r.DeflateRect(rest, rest);
    } else if (impl->style & WS_BORDER) {
      dc.FrameRect(r, gdi::Brush(gdi::RGB(0, 0, 0)));
      r.DeflateRect(1, 1);
    }
    if ((impl->style & WS_CAPTION) == WS_CAPTION) {
      const bool active = AppState::Get().active == impl->hwnd || impl->maximized || IsActiveMDIChild(impl);
      Rect caption(r.left, r.top, r.right, r.top + kCaptionHeight);
      dc.FillSolidRect(caption, gdi::GetSysColor(active ? gdi::COLOR_ACTIVECAPTION : gdi::COLOR_INACTIVECAPTION));
      dc.SetBkMode(gdi::TRANSPARENT);
      dc.SetTextColor(gdi::GetSysColor(gdi::COLOR_CAPTIONTEXT));
      dc.SelectStockObject(gdi::DEFAULT_GUI_FONT);
      Rect text = caption;
      text.left += 4;
      const std::vector<CaptionButton> buttons = CaptionButtons(impl);
      if (!buttons.empty()) text.right = buttons.back().rect.left - 2;
      dc.DrawText(impl->text, &text, gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_LEFT | gdi::DT_NOPREFIX | gdi::DT_END_ELLIPSIS);
      for (const CaptionButton& b : buttons) DrawCaptionButton(dc, impl, b);
      r.top += kCaptionHeight;
    }
  }
  if (impl->exStyle & WS_EX_CLIENTEDGE) dc.DrawEdge(&r, gdi::EDGE_SUNKEN, gdi::BF_RECT);
}

// --- Invalidation ------------------------------------------------------------------------------------

void Wnd::Invalidate(bool erase) { InvalidateRect(nullptr, erase); }

void Wnd::InvalidateRect(const Rect* rect, bool erase) {
  WndImpl* impl = impl_.get();
  if (!impl || impl->hwnd == kNoWnd) return;
  if (!impl->core->OwnDrawn()) {
    if (impl->widget) impl->widget->update();
    return;
  }
  Rect r = impl->ClientRect();
  if (rect) r.IntersectRect(r, *rect);
  if (r.IsRectEmpty()) return;
  impl->update.CombineRgn(impl->update, gdi::Region::FromRect(r), gdi::RGN_OR);
  impl->eraseNeeded = impl->eraseNeeded || erase;
}

void Wnd::InvalidateRgn(const gdi::Region* region, bool erase) {
  WndImpl* impl = impl_.get();
  if (!region) {
    InvalidateRect(nullptr, erase);
    return;
  }
  if (!impl || impl->hwnd == kNoWnd) return;
  if (!impl->core->OwnDrawn()) {
    if (impl->widget) impl->widget->update();
    return;
  }
  gdi::Region r = *region;
  r.CombineRgn(r, gdi::Region::FromRect(impl->ClientRect()), gdi::RGN_AND);
  if (r.IsEmpty()) return;
  impl->update.CombineRgn(impl->update, r, gdi::RGN_OR);
  impl->eraseNeeded = impl->eraseNeeded || erase;
}

void Wnd::ValidateRect(const Rect* rect) {
  WndImpl* impl = impl_.get();
  if (!impl) return;
  if (!rect) {
    impl->update = gdi::Region();
    impl->eraseNeeded = false;
    return;
  }
  impl->update.CombineRgn(impl->update, gdi::Region::FromRect(*rect), gdi::RGN_DIFF);
}

void Wnd::ValidateRgn(const gdi::Region* region) {
  WndImpl* impl = impl_.get();
  if (!impl) return;
  if (!region) {
    ValidateRect(nullptr);
    return;
  }
  impl->update.CombineRgn(impl->update, *region, gdi::RGN_DIFF);
}

bool Wnd::GetUpdateRect(Rect* rect, bool erase) {
  WndImpl* impl = impl_.get();
  Rect box;
  if (impl) impl->update.GetRgnBox(&box);
  if (rect) *rect = box;
  if (erase && impl && impl->eraseNeeded && !box.IsRectEmpty() && impl->client) {
    gdi::DC dc(*impl->client);
    dc.SelectClipRgn(&impl->update);
    impl->eraseNeeded = SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc)) == 0;
  }
  return !box.IsRectEmpty();
}

int Wnd::GetUpdateRgn(gdi::Region* region, bool erase) {
  WndImpl* impl = impl_.get();
  if (!impl || !region) return gdi::RGN_ERROR;
  GetUpdateRect(nullptr, erase);
  region->CopyRgn(impl->update);
  Rect box;
  return region->GetRgnBox(&box);
}

void Wnd::UpdateWindow() {
  AppState& st = AppState::Get();
  WndImpl* impl = impl_.get();
  if (!impl || impl->hwnd == kNoWnd || !impl->core->OwnDrawn() || !IsWindowVisible()) return;
  const HWND h = impl->hwnd;
  if (impl->ncDirty) {
    impl->ncDirty = false;
    st.Dispatch(impl, WM_NCPAINT, 1, 0);
    if (!(impl = st.Lookup(h))) return;
  }
  if (impl->update.IsEmpty()) return;
  st.Dispatch(impl, WM_PAINT, 0, 0);
  if ((impl = st.Lookup(h))) {
    impl->update = gdi::Region();
    impl->eraseNeeded = false;
  }
}

bool Wnd::RedrawWindow(const Rect* rect, const gdi::Region* region, UINT flags) {
  WndImpl* impl = impl_.get();
  if (!impl || impl->hwnd == kNoWnd) return false;
  if (flags & RDW_INVALIDATE) {
    if (region) InvalidateRgn(region, (flags & RDW_ERASE) != 0);
    else InvalidateRect(rect, (flags & RDW_ERASE) != 0);
    if (flags & RDW_FRAME) impl->ncDirty = true;
  }
  if (flags & RDW_VALIDATE) {
    if (region) ValidateRgn(region);
    else ValidateRect(rect);
  }
  if (flags & RDW_ALLCHILDREN)
    for (Wnd* child : GetChildren()) child->RedrawWindow(nullptr, nullptr, flags & ~RDW_UPDATENOW);
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
    UpdateWindow();
    if (flags & RDW_ALLCHILDREN)
      for (Wnd* child : GetChildren()) child->RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  return true;
}

gdi::WindowSurface* Wnd::GetClientSurface() const { return impl_ ? impl_->client.get() : nullptr; }
gdi::WindowSurface* Wnd::GetWindowSurface() const {
  if (!impl_) return nullptr;
  return impl_->nonClient ? impl_->nonClient.get() : impl_->client.get();
}

std::unique_ptr<gdi::RasterSurface> Wnd::Render() const {
  WndImpl* impl = impl_.get();
  if (!impl || !impl->widget) return nullptr;
  QImage image(std::max(1, impl->rect.Width()), std::max(1, impl->rect.Height()), QImage::Format_RGB32);
  image.fill(Qt::white);
  AppState& st = AppState::Get();
  ++st.syntheticDepth;
  impl->widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  --st.syntheticDepth;
  return gdi::qt::SurfaceFromImage(image);
}

// --- Scrolling ---------------------------------------------------------------------------------------------

bool Wnd::SetScrollInfo(int bar, const SCROLLINFO* info, bool) {
  if (!impl_ || !info || (bar != SB_HORZ && bar != SB_VERT)) return false;
  SCROLLINFO& si = impl_->scroll[bar].info;
  if (info->fMask & SIF_RANGE) {
    si.nMin = info->nMin;
    si.nMax = info->nMax;
  }
  if (info->fMask & SIF_PAGE) si.nPage = info->nPage;
  if (info->fMask & SIF_POS) si.nPos = info->nPos;
  // The position stays inside the range less the page.
  const int maxPos = std::max(si.nMin, si.nMax - std::max(0, static_cast<int>(si.nPage) - 1));
  si.nPos = std::clamp(si.nPos, si.nMin, maxPos);
  SyncScrollBar(impl_.get(), bar);
  return true;
}

bool Wnd::GetScrollInfo(int bar, SCROLLINFO* info, UINT mask) const {
  if (!impl_ || !info || (bar != SB_HORZ && bar != SB_VERT)) return false;
  const SCROLLINFO& si = impl_->scroll[bar].info;
  if (mask & SIF_RANGE) {
    info->nMin = si.nMin;
    info->nMax = si.nMax;
  }
  if (mask & SIF_PAGE) info->nPage = si.nPage;
  if (mask & SIF_POS) info->nPos = si.nPos;
  if (mask & SIF_TRACKPOS) info->nTrackPos = si.nTrackPos;
  info->fMask = mask;
  return true;
}

int Wnd::SetScrollPos(int bar, int pos, bool redraw) {
  const int old = GetScrollPos(bar);
  SCROLLINFO si;
  si.fMask = SIF_POS;
  si.nPos = pos;
  SetScrollInfo(bar, &si, redraw);
  return old;
}

int Wnd::GetScrollPos(int bar) const {
  SCROLLINFO si;
  return GetScrollInfo(bar, &si, SIF_POS) ? si.nPos : 0;
}

void Wnd::SetScrollRange(int bar, int minPos, int maxPos, bool redraw) {
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  si.nMin = minPos;
  si.nMax = maxPos;
  SetScrollInfo(bar, &si, redraw);
}

void Wnd::GetScrollRange(int bar, int* minPos, int* maxPos) const {
  SCROLLINFO si;
  GetScrollInfo(bar, &si, SIF_RANGE);
  if (minPos) *minPos = si.nMin;
  if (maxPos) *maxPos = si.nMax;
}

void Wnd::ShowScrollBar(int bar, bool show) {
  DWORD bits = 0;
  if (bar == SB_HORZ || bar == SB_BOTH) bits |= WS_HSCROLL;
  if (bar == SB_VERT || bar == SB_BOTH) bits |= WS_VSCROLL;
  if (show) ModifyStyle(0, bits, SWP_FRAMECHANGED);
  else ModifyStyle(bits, 0, SWP_FRAMECHANGED);
}

void Wnd::ScrollWindow(int dx, int dy, const Rect* scrollRect, const Rect* clipRect) {
  WndImpl* impl = impl_.get();
  if (!impl || impl->hwnd == kNoWnd) return;
  if (impl->client) {
    const Rect client = impl->ClientRect();
    Rect area = scrollRect ? *scrollRect : client;
    area.IntersectRect(area, client);
    Rect clip = clipRect ? *clipRect : area;
    clip.IntersectRect(clip, area);
    QImage& image = gdi::qt::Image(*impl->client);
    const QImage copy = image.copy(gdi::qt::ToQRect(area));
    {
      QPainter p(&image);
      p.setClipRect(gdi::qt::ToQRect(clip));
      p.drawImage(QPoint(area.left + dx, area.top + dy), copy);
    }
    impl->client->Changed(clip);
    Rect moved = area;
    moved.OffsetRect(dx, dy);
    gdi::Region exposed = gdi::Region::FromRect(clip);
    exposed.CombineRgn(exposed, gdi::Region::FromRect(moved), gdi::RGN_DIFF);
    InvalidateRgn(&exposed, true);
  }
  if (!scrollRect)
    for (Wnd* child : GetChildren()) {
      const Rect r = child->impl_->rect;
      child->SetWindowPos(nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// --- DCs ----------------------------------------------------------------------------------------------------

gdi::DC BeginPaint(Wnd* wnd, PAINTSTRUCT* ps) {
  PAINTSTRUCT local;
  if (!ps) ps = &local;
  *ps = PAINTSTRUCT();
  WndImpl* impl = WndAccess::Impl(wnd);
  if (!impl || impl->hwnd == kNoWnd || !impl->client) return gdi::DC();
  gdi::Region region = impl->update;
  const bool erase = impl->eraseNeeded;
  impl->update = gdi::Region();
  impl->eraseNeeded = false;
  gdi::DC dc(*impl->client);
  if (region.IsEmpty()) region.CreateRectRgn(0, 0, 0, 0);
  gdi::qt::SetSystemClip(dc, &region);
  region.GetRgnBox(&ps->rcPaint);
  if (erase) ps->fErase = wnd->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc)) == 0;
  return dc;
}

void EndPaint(Wnd*, const PAINTSTRUCT*) {}

PaintDC::PaintDC(Wnd* wnd) : m_pWnd(wnd) { gdi::DC::operator=(BeginPaint(wnd, &m_ps)); }
PaintDC::~PaintDC() { EndPaint(m_pWnd, &m_ps); }

ClientDC::ClientDC(Wnd* wnd) : m_pWnd(wnd) {
  if (gdi::WindowSurface* s = wnd ? wnd->GetClientSurface() : nullptr) gdi::DC::operator=(gdi::DC(*s));
}

WindowDC::WindowDC(Wnd* wnd) : m_pWnd(wnd) {
  if (gdi::WindowSurface* s = wnd ? wnd->GetWindowSurface() : nullptr) gdi::DC::operator=(gdi::DC(*s));
}

}  // namespace ui
