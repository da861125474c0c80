// The document window's frame and its rulers.
#include "rodizora/frame/saframe.h"

#include <algorithm>

#include "platform/ui/dc.h"
#include "platform/ui/metrics.h"
#include "rodizora/frame/standardbar.h"

namespace {

// The rulers take their thickness less the one pixel that the frame's border already gives.
constexpr int kRulerInset = CRulers::kMargin - 1;

}  // namespace

UI_IMPLEMENT_DYNCREATE(CSaFrame, ui::MDIChildWnd)

UI_BEGIN_MESSAGE_MAP(CSaFrame, ui::MDIChildWnd)
  ui::map::Create(&CSaFrame::OnCreate),
  ui::map::Message(ui::WM_MDIACTIVATE, &CSaFrame::OnMDIActivate),
  ui::map::NcCalcSize(&CSaFrame::OnNcCalcSize),
  ui::map::NcPaint(&CSaFrame::OnNcPaint),
UI_END_MESSAGE_MAP()

CSaFrame::CSaFrame() = default;

bool CSaFrame::OnCreateClient(ui::CREATESTRUCT*, ui::CreateContext* context) {
  m_pView = dynamic_cast<ui::View*>(CreateView(context, ui::AFX_IDW_PANE_FIRST));
  return true;
}

int CSaFrame::OnCreate(ui::CREATESTRUCT* cs) {
  if (ui::MDIChildWnd::OnCreate(cs) == -1) return -1;
  m_rulers.m_pixelsPerUnit = kPixelsPerMillimetre;
  return 0;
}

CSaFrameView* CSaFrame::ViewSide() const {
  return m_pView && m_pView->IsWindow() ? dynamic_cast<CSaFrameView*>(m_pView) : nullptr;
}

ui::LRESULT CSaFrame::OnMDIActivate(ui::WPARAM wParam, ui::LPARAM lParam) {
  const ui::HWND self = m_hWnd;
  const ui::HWND activated = ui::ParamToHandle(lParam);
  const ui::HWND deactivated = ui::ParamToHandle(static_cast<std::intptr_t>(wParam));
  if (activated == self) {
    Default();
    if (CSaFrameView* view = ViewSide()) view->OnFrameActivate(true);
    // Our layer has no separate child-activation message: the rulers and the zoom combo follow
    // the activation here.
    if (ui::IsWindow(self)) UpdateRulers();
  } else if (deactivated == self) {
    if (CSaFrameView* view = ViewSide()) view->OnFrameActivate(false);
    Default();
    // The last document window went: no zoom to show.
    if (activated == ui::kNoWnd)
      if (CStandardBar* bar = CStandardBar::FromFrame(GetMDIFrame())) bar->SetZoom(-1);
  } else {
    Default();
  }
  return 0;
}

void CSaFrame::UpdateRulers() {
  CSaFrameView* view = ViewSide();
  if (!GetMDIFrame() || !view || !m_pView->GetDocument()) return;
  const int zoom = view->GetZoom();
  if (CStandardBar* bar = CStandardBar::FromFrame(GetMDIFrame())) bar->SetZoom(zoom);
  m_rulers.m_zoom = static_cast<float>(zoom) * 0.01f;
  RepaintRulers();
}

void CSaFrame::ShowRulers(bool show) {
  if (show == m_bRulers) return;
  m_bRulers = show;
  SetWindowPos(nullptr, 0, 0, 0, 0,
               ui::SWP_NOMOVE | ui::SWP_NOSIZE | ui::SWP_NOZORDER | ui::SWP_NOACTIVATE | ui::SWP_FRAMECHANGED);
  // The view fills the client area that is left.
  RecalcLayout();
}

void CSaFrame::SetRulerOrigin(float x, float y) {
  m_rulers.SetOrigin(x, y);
  RepaintRulers();
}

void CSaFrame::RepaintRulers() {
  if (m_bRulers && IsWindow()) SendMessage(ui::WM_NCPAINT, 1, 0);
}

void CSaFrame::ShowRulerCrosshair(int x, int y) {
  if (!m_bRulers || !IsWindow()) return;
  ui::WindowDC dc(this);
  m_rulers.SetCrosshair(x, y, dc);
}

void CSaFrame::ShowRulerRect(const ui::Rect& rect) {
  if (!m_bRulers || !IsWindow()) return;
  ui::WindowDC dc(this);
  m_rulers.SetRubberRect(rect, dc);
}

void CSaFrame::OnNcCalcSize(bool, ui::NCCALCSIZE_PARAMS* params) {
  Default();
  if (!m_bRulers || !params) return;
  ui::Rect& client = params->rgrc[0];
  client.left = std::min(client.left + kRulerInset, client.right);
  client.top = std::min(client.top + kRulerInset, client.bottom);
}

ui::Rect CSaFrame::RulerArea() const {
  const int border = ui::GetSystemMetrics(ui::SM_CXBORDER);
  const int borderY = ui::GetSystemMetrics(ui::SM_CYBORDER);
  ui::Rect window;
  GetWindowRect(&window);
  ui::Point client{0, 0};
  ClientToScreen(&client);
  return ui::Rect(border + client.x - window.left - CRulers::kMargin, client.y + borderY - window.top - CRulers::kMargin,
                  window.Width() - 4 * border, window.Height() - 4 * borderY);
}

void CSaFrame::OnNcPaint() {
  Default();
  if (!m_bRulers) return;
  ui::WindowDC dc(this);
  const ui::Rect area = RulerArea();
  m_rulers.Draw(dc, area.left, area.top, area.right, area.bottom);
}
