#include "controls/knob/knobcontrol.h"

#include "common/guids.h"
#include "common/shared_ids.h"
#include "controls/common/archiveforms.h"
#include "controls/common/gdirecords.h"
#include "controls/knob/knobpicture.h"
#include "controls/module/karvel_ids.h"
#include "platform/base/text.h"
#include "platform/ui/app.h"
#include "platform/ui/dc.h"

namespace karvel {

using namespace plat::ole;
namespace id = kedrus_dispid;

namespace {

const Guid kPropPages[] = {CLSID_KnobPropPage};

bool InWindow(const ui::Wnd& wnd, ui::Point screen) {
  if (!wnd.IsWindow()) return false;
  gdi::Rect r;
  wnd.GetWindowRect(&r);
  return r.PtInRect(screen);
}

}  // namespace

// ---- The control --------------------------------------------------------------------------------

UI_BEGIN_MESSAGE_MAP(CKnobControl, CKarvelControl)
  ui::map::LButtonDown(&CKnobControl::OnLButtonDown),
  ui::map::RButtonDown(&CKnobControl::OnRButtonDown),
  ui::map::MouseMove(&CKnobControl::OnMouseMove),
UI_END_MESSAGE_MAP()

const DispInterfaceDesc& CKnobControl::Dispatch() {
  static constexpr DispEntry kMembers[] = {
      dispProperty<&CKnobControl::GetIncMode, &CKnobControl::SetIncMode>("IncMode", id::kKnobIncMode, DispType::I4),
      dispProperty<&CKnobControl::GetIncrement, &CKnobControl::SetIncrement>("Increment", id::kKnobIncrement,
                                                                             DispType::R4),
      dispProperty<&CKnobControl::GetInitValue, &CKnobControl::SetInitValue>("InitValue", id::kKnobInitValue,
                                                                             DispType::R4),
      dispProperty<&CKnobControl::GetMinValue, &CKnobControl::SetMinValue>("MinValue", id::kKnobMinValue, DispType::R4),
      dispProperty<&CKnobControl::GetMaxValue, &CKnobControl::SetMaxValue>("MaxValue", id::kKnobMaxValue, DispType::R4),
      dispProperty<&CKnobControl::GetValue, &CKnobControl::SetValue>("Value", id::kKnobValue, DispType::R4,
                                                                     kDispDefault),
      dispProperty<&OleControl::GetCaption, &OleControl::SetCaption>("Caption", DISPID_CAPTION, DispType::Bstr),
      dispProperty<&CKnobControl::GetFont, &CKnobControl::SetFont>("Font", DISPID_FONT, DispType::Font),
      dispMethod<&CKnobControl::AboutBox>("AboutBox", DISPID_ABOUTBOX, DispType::Void),
  };
  static constexpr DispInterfaceDesc kDesc{"_DKnobControl", &DIID__DKnobControl,
                                           "Dispatch interface for Knob Control", kMembers};
  return kDesc;
}

const DispInterfaceDesc& CKnobControl::Events() {
  static constexpr DispEntry kEvents[] = {dispEvent("NewValueSet", id::kKnobNewValueSet)};
  static constexpr DispInterfaceDesc kDesc{"_DKnobEvents", &DIID__DKnobEvents, "Event interface for Knob Control",
                                           kEvents};
  return kDesc;
}

const CoClassDesc& CKnobControl::CoClass() {
  static const CoClassDesc kDesc{"KnobControl", &CLSID_KnobControl, "Knob Control", &Dispatch(), &Events()};
  return kDesc;
}

CKnobControl::CKnobControl() : CKarvelControl(CoClass(), kKnobTypeName, kPropPages), m_font(DefaultControlFont()) {
  EnableStockProperties(STOCKPROP_CAPTION);
}

CKnobControl::~CKnobControl() {
  if (m_panel.IsWindow()) m_panel.DestroyWindow();
}

void CKnobControl::DoPropExchange(PropExchange* px) {
  CKarvelControl::DoPropExchange(px);
  // The stock font follows the caption, as its record.
  switch (px->mode()) {
    case PropExchange::Mode::Store: WriteLogFont(*px->archive(), m_font); break;
    case PropExchange::Mode::Load: m_font = ReadLogFont(*px->archive()); break;
    case PropExchange::Mode::Reset: m_font = DefaultControlFont(); break;
  }
}

void CKnobControl::OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect&) {
  PaintKnobFace(*dc, bounds, FormatCaption(InternalGetText(), m_value.value), m_font, m_hot);
}

void CKnobControl::SetMinValue(float value) {
  if (value == m_value.minValue) return;
  m_value.minValue = value;
  SetModifiedFlag();
}

void CKnobControl::SetMaxValue(float value) {
  if (value == m_value.maxValue) return;
  m_value.maxValue = value;
  SetModifiedFlag();
}

void CKnobControl::SetValue(float value) {
  if (value == m_value.value) return;
  m_value.value = value;
  SetModifiedFlag();
  InvalidateControl();
}

IDispatch* CKnobControl::GetFont() { return m_fontObject.GetIDispatch(true); }

void CKnobControl::SetFont(IDispatch* font) {
  m_fontObject.CopyFrom(font);
  InvalidateControl();
}

void CKnobControl::Notify() {
  if (IsWindow()) {
    ui::ClientDC dc(this);
    gdi::Rect client;
    GetClientRect(&client);
    OnDraw(&dc, client, client);
  } else {
    InvalidateControl();
  }
  FireEvent(id::kKnobNewValueSet);
}

void CKnobControl::SetHot(bool hot) {
  if (hot == m_hot) return;
  m_hot = hot;
  if (!hot && m_panel.IsWindow()) m_panel.DestroyWindow();
  InvalidateControl();
}

void CKnobControl::Leave() {
  m_hovering = false;
  ui::Wnd::ReleaseCapture();
  SetHot(false);
}

bool CKnobControl::OverKnobOrPanel(ui::Point screen) const { return InWindow(*this, screen) || InWindow(m_panel, screen); }

void CKnobControl::OnMouseMove(ui::UINT, ui::Point point) {
  ClientToScreen(&point);
  if (!m_hovering) {
    if (m_hot) return;
    m_hovering = true;
    SetCapture();
    SetHot(true);
    return;
  }
  if (!OverKnobOrPanel(point)) Leave();
}

void CKnobControl::OnLButtonDown(ui::UINT, ui::Point) {
  if (!m_panel.IsWindow()) OpenPanel();
}

void CKnobControl::OpenPanel() {
  gdi::Rect knob;
  GetWindowRect(&knob);
  const int width = knob.Width();
  const gdi::Rect place(knob.left, knob.bottom, knob.left + width, knob.bottom + width / 2);
  if (OpenPanelWindow(m_panel, this, place)) m_panel.SetCapture();
}

void CKnobControl::OnRButtonDown(ui::UINT, ui::Point) {
  m_value.Reset();
  Notify();
}

// ---- The panel ---------------------------------------------------------------------------------

UI_BEGIN_MESSAGE_MAP(CKnobPanelWnd, ui::Wnd)
  ui::map::Paint(&CKnobPanelWnd::OnPaint),
  ui::map::LButtonDown(&CKnobPanelWnd::OnLButtonDown),
  ui::map::LButtonUp(&CKnobPanelWnd::OnLButtonUp),
  ui::map::MouseMove(&CKnobPanelWnd::OnMouseMove),
  ui::map::CaptureChanged(&CKnobPanelWnd::OnCaptureChanged),
UI_END_MESSAGE_MAP()

void CKnobPanelWnd::OnPaint() {
  ui::PaintDC dc(this);
  gdi::Rect client;
  GetClientRect(&client);
  PaintKnobPanel(dc, client, m_knob.m_value.value, m_leftPressed, m_rightPressed);
}

void CKnobPanelWnd::Repaint() {
  ui::ClientDC dc(this);
  gdi::Rect client;
  GetClientRect(&client);
  PaintKnobPanel(dc, client, m_knob.m_value.value, m_leftPressed, m_rightPressed);
}

void CKnobPanelWnd::OnLButtonDown(ui::UINT, ui::Point point) {
  gdi::Rect client;
  GetClientRect(&client);
  const KnobPanelLayout layout = LayoutKnobPanel(client);
  m_leftPressed = layout.leftArrow.PtInRect(point);
  m_rightPressed = !m_leftPressed && layout.rightArrow.PtInRect(point);
  if (!m_leftPressed && !m_rightPressed) {
    m_dragging = true;
    const gdi::Point centre = client.CenterPoint();
    m_last = {point.x - centre.x, point.y - centre.y};
    return;
  }
  Repaint();
  if (m_rightPressed) m_knob.m_value.StepUp();
  else m_knob.m_value.StepDown();
  m_knob.Notify();
}

void CKnobPanelWnd::OnLButtonUp(ui::UINT, ui::Point point) {
  if (m_leftPressed || m_rightPressed) {
    m_leftPressed = m_rightPressed = false;
    Repaint();
    m_knob.Notify();
    return;
  }
  m_dragging = false;
  ClientToScreen(&point);
  // Leaving closes the panel: nothing of it may be touched afterwards.
  if (!m_knob.OverKnobOrPanel(point)) m_knob.Leave();
}

void CKnobPanelWnd::OnMouseMove(ui::UINT, ui::Point point) {
  if (!m_dragging) {
    ui::Point screen = point;
    ClientToScreen(&screen);
    if (m_knob.m_hovering && !m_knob.OverKnobOrPanel(screen)) m_knob.Leave();
    return;
  }
  // Only the newest position counts: moves still waiting are dropped.
  ui::MSG pending;
  while (ui::PeekMessage(&pending, m_hWnd, ui::WM_MOUSEMOVE, ui::WM_MOUSEMOVE, ui::PM_REMOVE)) {
  }
  gdi::Rect client;
  GetClientRect(&client);
  const gdi::Point centre = DialCentre(client);
  const ui::Point d{point.x - centre.x, point.y - centre.y};
  if (m_knob.m_value.Turn(TurnAngle(m_last.x, m_last.y, d.x, d.y))) m_knob.SetModifiedFlag();
  m_last = d;
  Repaint();
  m_knob.Notify();
}

void CKnobPanelWnd::OnCaptureChanged(ui::Wnd*) {
  if (m_knob.m_hovering) {
    m_knob.m_hovering = false;
    m_knob.SetHot(false);
  }
}

}  // namespace karvel
