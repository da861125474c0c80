#include "controls/scroll/scrollcontrol.h"

#include "common/guids.h"
#include "common/shared_ids.h"
#include "controls/common/dcdraw.h"
#include "controls/module/karvel_ids.h"
#include "platform/base/text.h"
#include "platform/ui/dc.h"

namespace karvel {

using namespace plat::ole;
namespace id = kedrus_dispid;

namespace {

// The strip shows no property page: its list holds the null class id.
const Guid kPropPages[] = {Guid{}};

constexpr int kPanelHeight = 64;

}  // namespace

UI_BEGIN_MESSAGE_MAP(CScrollControl, CKarvelControl)
  ui::map::LButtonDown(&CScrollControl::OnLButtonDown),
  ui::map::MouseMove(&CScrollControl::OnMouseMove),
  ui::map::CaptureChanged(&CScrollControl::OnCaptureChanged),
UI_END_MESSAGE_MAP()

const DispInterfaceDesc& CScrollControl::Dispatch() {
  static constexpr DispEntry kMembers[] = {
      dispProperty<&CScrollControl::GetRightBound, &CScrollControl::SetRightBound>("RightBound", id::kScrollRightBound,
                                                                                   DispType::I4),
      dispProperty<&CScrollControl::GetLeftBound, &CScrollControl::SetLeftBound>("LeftBound", id::kScrollLeftBound,
                                                                                 DispType::I4),
      dispProperty<&CScrollControl::GetPoints, &CScrollControl::SetPoints>("Points", id::kScrollPoints, DispType::I4),
      dispProperty<&CScrollControl::GetImage, &CScrollControl::SetImage>("Image", id::kScrollImage, DispType::I4,
                                                                         kDispDefault),
      dispMethod<&CScrollControl::AboutBox>("AboutBox", DISPID_ABOUTBOX, DispType::Void),
  };
  static constexpr DispInterfaceDesc kDesc{"_DScrollControl", &DIID__DScrollControl,
                                           "Dispatch interface for Scroll Control", kMembers};
  return kDesc;
}

const DispInterfaceDesc& CScrollControl::Events() {
  static constexpr DispEntry kEvents[] = {dispEvent("NewBoundsSet", id::kScrollNewBoundsSet)};
  static constexpr DispInterfaceDesc kDesc{"_DScrollEvents", &DIID__DScrollEvents,
                                           "Event interface for Scroll Control", kEvents};
  return kDesc;
}

const CoClassDesc& CScrollControl::CoClass() {
  static const CoClassDesc kDesc{"ScrollControl", &CLSID_ScrollControl, "Scroll Control", &Dispatch(), &Events()};
  return kDesc;
}

CScrollControl::CScrollControl() : CKarvelControl(CoClass(), kScrollTypeName, kPropPages) {}

CScrollControl::~CScrollControl() {
  if (m_panel.IsWindow()) m_panel.DestroyWindow();
}

gdi::EnhMetaFile CScrollControl::Picture() const { return gdi::EnhMetaFileFromHandle(m_image); }

void CScrollControl::OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect&) {
  PaintOffscreen(*dc, bounds, [&](gdi::DC& memory, const gdi::Rect& r) {
    PaintScrollStrip(memory, r, 2, Picture(), m_range, m_hot);
  });
}

void CScrollControl::SetRightBound(std::int32_t bound) {
  if (bound == m_range.right) return;
  m_range.right = bound;
  SetModifiedFlag();
  InvalidateControl();
}

void CScrollControl::SetLeftBound(std::int32_t bound) {
  if (bound == m_range.left) return;
  m_range.left = bound;
  SetModifiedFlag();
  InvalidateControl();
}

void CScrollControl::SetImage(std::int32_t image) {
  const auto handle = static_cast<gdi::HENHMETAFILE>(image);
  if (handle == m_image) return;
  m_image = handle;
  SetModifiedFlag();
  InvalidateControl();
}

void CScrollControl::OnLButtonDown(ui::UINT, ui::Point point) {
  if (!m_panel.IsWindow()) {
    gdi::Rect strip;
    GetWindowRect(&strip);
    const gdi::DC screen = gdi::DC::CreateCompatibleDC(nullptr);
    const gdi::Rect place(0, strip.bottom, screen.GetDeviceCaps(gdi::HORZRES) - 1, strip.bottom + kPanelHeight);
    OpenPanelWindow(m_panel, this, place);
  }
  m_last = point;
}

void CScrollControl::OnMouseMove(ui::UINT flags, ui::Point point) {
  if (!m_hot) {
    m_hot = true;
    InvalidateControl();
    SetCapture();
    return;
  }
  ui::Point screen = point;
  ClientToScreen(&screen);
  gdi::Rect panel, strip;
  if (m_panel.IsWindow()) m_panel.GetWindowRect(&panel);
  if (m_panel.IsWindow() && panel.PtInRect(screen)) {
    if (flags & ui::MK_LBUTTON) {
      gdi::Rect client;
      m_panel.GetClientRect(&client);
      m_range.Drag(point.x - m_last.x, client.Width());
      m_panel.RedrawWindow();
      if (IsWindow()) {
        ui::ClientDC dc(this);
        gdi::Rect bounds;
        GetClientRect(&bounds);
        OnDraw(&dc, bounds, bounds);
      }
      FireEvent(id::kScrollNewBoundsSet);
    }
    m_last = point;
    return;
  }
  GetWindowRect(&strip);
  if (!strip.PtInRect(screen)) ui::Wnd::ReleaseCapture();
}

void CScrollControl::OnCaptureChanged(ui::Wnd*) {
  if (!m_hot) return;
  m_hot = false;
  if (m_panel.IsWindow()) m_panel.DestroyWindow();
  InvalidateControl();
}

UI_BEGIN_MESSAGE_MAP(CScrollPanel, ui::Wnd)
  ui::map::Paint(&CScrollPanel::OnPaint),
UI_END_MESSAGE_MAP()

void CScrollPanel::OnPaint() {
  ui::PaintDC dc(this);
  gdi::Rect client;
  GetClientRect(&client);
  PaintOffscreen(dc, client, [&](gdi::DC& memory, const gdi::Rect& r) {
    PaintScrollStrip(memory, r, 0, m_strip.Picture(), m_strip.Range(), false);
  });
}

}  // namespace karvel
