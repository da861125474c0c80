#include "spectrum/control/frames/olecontrolex.h"

#include <exception>

#include "platform/ui/bars.h"
#include "platform/ui/styles.h"
#include "spectrum/control/frames/controlframewnd.h"
#include "spectrum/control/frames/mainframewnd.h"

using namespace plat::ole;

UI_IMPLEMENT_DYNAMIC(COleControlEx, plat::ole::OleControl)

UI_BEGIN_MESSAGE_MAP(COleControlEx, plat::ole::OleControl)
  ui::map::Create(&COleControlEx::OnCreate),
  ui::map::Destroy(&COleControlEx::OnDestroy),
UI_END_MESSAGE_MAP()

const ComObject::InterfaceEntry COleControlEx::kEntries[] = {
    interfaceEntry<IOleInPlaceActiveObject, &COleControlEx::m_xOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject)};
const ComObject::InterfaceMap COleControlEx::kInterfaceMap{&OleControl::kInterfaceMap, kEntries};

COleControlEx::COleControlEx(const CoClassDesc& coclass, const TypeLibDesc* library, ui::ModuleState* module)
    : OleControl(coclass, library), m_pModuleState(module) {}

COleControlEx::~COleControlEx() {
  auto scope = EnterModule();
  if (m_pMainFrame) CMainFrameWnd::Release(std::exchange(m_pMainFrame, nullptr));
  // The frame goes with its control.
  if (CControlFrameWnd* frame = std::exchange(m_pControlFrame, nullptr)) {
    frame->m_pControl = nullptr;
    if (frame->IsWindow()) frame->DestroyWindow();
  }
}

ui::ModuleStateScope COleControlEx::EnterModule() const {
  return ui::ModuleStateScope(m_pModuleState ? m_pModuleState : ui::CurrentModuleState());
}

ui::LRESULT COleControlEx::WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) {
  auto scope = EnterModule();
  return OleControl::WindowProc(message, wParam, lParam);
}

HResult COleControlEx::OnActivateInPlace(bool uiActivate, ui::MSG* msg) {
  auto scope = EnterModule();
  return OleControl::OnActivateInPlace(uiActivate, msg);
}

void COleControlEx::OnClose(plat::DWord saveOption) {
  auto scope = EnterModule();
  OleControl::OnClose(saveOption);
}

IOleInPlaceActiveObject* COleControlEx::InPlaceActiveObject() { return &m_xOleInPlaceActiveObject; }

// ---- Windows --------------------------------------------------------------------------------------

int COleControlEx::OnCreate(ui::CREATESTRUCT* cs) {
  if (Default() == -1) return -1;
  (void)cs;
  if (IOleInPlaceFrame* frame = GetInPlaceFrame()) {
    ui::HWND container = ui::kNoWnd;
    if (succeeded(frame->GetWindow(&container)) && !m_pMainFrame)
      m_pMainFrame = CMainFrameWnd::Attach(ui::Wnd::FromHandle(container));
    if (m_pMainFrame && !m_pMainFrame->m_bBarsCreated) {
      CreateControlBars(m_pMainFrame);
      m_pMainFrame->m_bBarsCreated = true;
      m_pMainFrame->SetUpToolTips();
    }
  }
  m_toolTips.Create(this);
  return 0;
}

void COleControlEx::OnDestroy() {
  if (m_toolTips.IsWindow()) m_toolTips.DestroyWindow();
  if (m_pMainFrame) {
    if (m_pControlFrame && m_pMainFrame->GetActiveControlFrame() == m_pControlFrame)
      m_pMainFrame->SetActiveControlFrame(nullptr);
    CMainFrameWnd::Release(std::exchange(m_pMainFrame, nullptr));
  }
  // The control frame stays until the control goes (a control made visible again is put back in
  // it); the container's windows may take it first, which the control then hears of.
  Default();
}

CControlFrameWnd* COleControlEx::CreateControlFrame(ui::Wnd* parent, const gdi::Rect& position) {
  auto* frame = new CControlFrameWnd(this);
  static const std::string kClass = ui::RegisterWndClass(0, nullptr, nullptr);
  if (!frame->Create(kClass.c_str(), "", ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_CLIPSIBLINGS, position, parent)) {
    delete frame;
    return nullptr;
  }
  frame->ModifyStyleEx(ui::WS_EX_CLIENTEDGE, 0, ui::SWP_FRAMECHANGED);
  frame->SetOwner(IsWindow() ? this : nullptr);
  return frame;
}

bool COleControlEx::CreateControlWindow(ui::HWND parent, const gdi::Rect& position, const gdi::Rect* clip) {
  // The frame is made once; the control's window is then made (or shown) inside it.
  if (!GetReflectorWindow() && !m_pControlFrame) {
    if (ui::Wnd* parentWnd = ui::Wnd::FromHandle(parent)) {
      m_pControlFrame = CreateControlFrame(parentWnd, position);
      if (m_pControlFrame) SetReflectorWindow(m_pControlFrame);
    }
  }
  return OleControl::CreateControlWindow(parent, position, clip);
}

void COleControlEx::OnReflectorDestroyed() {
  m_pControlFrame = nullptr;
  OleControl::OnReflectorDestroyed();
}

// ---- Bars -----------------------------------------------------------------------------------------

void COleControlEx::CreateControlBars(CMainFrameWnd* frame) { frame->LoadBarState("Toolbars"); }

void COleControlEx::ShowDockedBars(CMainFrameWnd* frame, bool show) {
  if (!frame || !frame->IsWindow()) return;
  if (show) frame->ShowWindow(ui::SW_SHOWNA);
  for (ui::ControlBar* bar : frame->Bars()) {
    if (!bar->IsWindow()) continue;
    if (show && (bar->m_nStateFlags & ui::ControlBar::tempHide)) {
      bar->m_nStateFlags &= ~ui::ControlBar::tempHide;
      frame->ShowControlBar(bar, true, true);
    } else if (!show && bar->IsVisible() && !bar->IsFloating()) {
      bar->m_nStateFlags |= ui::ControlBar::tempHide;
      frame->ShowControlBar(bar, false, true);
    }
  }
  if (!show) {
    // Hidden now: no negotiation follows that would lay the bars out.
    frame->FrameWnd::RecalcLayout();
    frame->ShowWindow(ui::SW_HIDE);
  }
}

void COleControlEx::RepositionBars(const gdi::Rect* border, IOleInPlaceUIWindow* uiWindow, bool) {
  if (!IsInPlaceActive() || m_bInLayout || !uiWindow) return;
  gdi::Rect available;
  if (border && !border->IsRectEmpty()) {
    available = *border;
  } else if (failed(uiWindow->GetBorder(&available))) {
    uiWindow->SetBorderSpace(nullptr);
    return;
  }
  m_bInLayout = true;
  BorderWidths widths;
  if (m_pMainFrame && m_pMainFrame->IsWindow()) {
    // The frame spans the space it may take, so its bars dock along the granted edges.
    gdi::Rect now;
    m_pMainFrame->GetWindowRect(&now);
    if (ui::Wnd* parent = m_pMainFrame->GetParent()) parent->ScreenToClient(&now);
    if (now != available) m_pMainFrame->MoveWindow(available, false);
    ShowDockedBars(m_pMainFrame, true);
    const gdi::Rect client(0, 0, available.Width(), available.Height());
    gdi::Rect inside;
    m_pMainFrame->RepositionBars(0, 0xFFFF, ui::AFX_IDW_PANE_FIRST, ui::FrameWnd::reposQuery, &inside, &client);
    widths = {inside.left, inside.top, client.right - inside.right, client.bottom - inside.bottom};
  }
  if (widths.empty() || failed(uiWindow->RequestBorderSpace(&widths))) {
    if (m_pMainFrame) ShowDockedBars(m_pMainFrame, false);
    const BorderWidths none;
    uiWindow->SetBorderSpace(&none);
  } else {
    uiWindow->SetBorderSpace(&widths);
    m_pMainFrame->FrameWnd::RecalcLayout();
    for (ui::ControlBar* bar : m_pMainFrame->Bars())
      if (bar->IsWindow() && !bar->IsFloating()) bar->UpdateWindow();
  }
  m_bInLayout = false;
}

void COleControlEx::UpdateBars() {
  if (!IsInPlaceActive() || !m_pMainFrame) return;
  for (ui::ControlBar* bar : m_pMainFrame->Bars())
    if (bar->IsWindow()) bar->SendMessage(ui::WM_IDLEUPDATECMDUI, 1, 0);
}

void COleControlEx::OnShowToolBars() {
  auto scope = EnterModule();
  if (!m_pControlFrame || !m_pMainFrame) return;
  m_pControlFrame->m_pInPlaceFrame = GetInPlaceFrame();
  m_pMainFrame->SetActiveControlFrame(m_pControlFrame);
  ShowDockedBars(m_pMainFrame, true);
  m_pMainFrame->ShowFloatingBars(true);
  RepositionBars(nullptr, GetInPlaceFrame(), true);
  m_pControlFrame->m_bBarsShown = true;
  if (m_toolTips.IsWindow()) m_toolTips.Activate(true);
  UpdateBars();
}

void COleControlEx::OnHideToolBars() {
  auto scope = EnterModule();
  if (!m_pControlFrame || !m_pMainFrame) return;
  if (m_toolTips.IsWindow()) m_toolTips.Activate(false);
  m_pControlFrame->m_bBarsShown = false;
  m_pMainFrame->ShowFloatingBars(false);
  m_pMainFrame->SetActiveControlFrame(nullptr);
  ShowDockedBars(m_pMainFrame, false);
  m_pControlFrame->m_pInPlaceFrame = nullptr;
}

void COleControlEx::AddFrameLevelUI() {
  if (IOleInPlaceFrame* frame = GetInPlaceFrame()) frame->SetActiveObject(&m_xOleInPlaceActiveObject, nullptr);
  if (IOleInPlaceUIWindow* doc = GetInPlaceDocument()) doc->SetActiveObject(&m_xOleInPlaceActiveObject, nullptr);
  OleControl::AddFrameLevelUI();
}

// ---- The in-place active object ---------------------------------------------------------------------

HResult COleControlEx::XOleInPlaceActiveObject::GetWindow(ui::HWND* hwnd) {
  return outer<COleControlEx>().BaseInPlaceActiveObject()->GetWindow(hwnd);
}

HResult COleControlEx::XOleInPlaceActiveObject::ContextSensitiveHelp(Bool32) { return E_NOTIMPL; }

HResult COleControlEx::XOleInPlaceActiveObject::TranslateAccelerator(ui::MSG* msg) {
  return outer<COleControlEx>().BaseInPlaceActiveObject()->TranslateAccelerator(msg);
}

HResult COleControlEx::XOleInPlaceActiveObject::OnFrameWindowActivate(Bool32) { return S_OK; }

HResult COleControlEx::XOleInPlaceActiveObject::OnDocWindowActivate(Bool32 activate) {
  COleControlEx& control = outer<COleControlEx>();
  auto scope = control.EnterModule();
  if (control.IsUIActive()) {
    if (activate) control.AddFrameLevelUI();
    else control.OnHideToolBars();
  }
  return S_OK;
}

HResult COleControlEx::XOleInPlaceActiveObject::ResizeBorder(const gdi::Rect* border, IOleInPlaceUIWindow* window,
                                                            Bool32 frameWindow) {
  try {
    auto scope = outer<COleControlEx>().EnterModule();
    if (frameWindow) outer<COleControlEx>().RepositionBars(border, window, true);
  } catch (const std::exception&) {
  }
  return S_OK;
}

HResult COleControlEx::XOleInPlaceActiveObject::EnableModeless(Bool32) { return S_OK; }
