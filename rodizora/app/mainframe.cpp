#include "rodizora/app/mainframe.h"

#include "platform/base/text.h"
#include "platform/ui/app.h"
#include "platform/ui/metrics.h"
#include "rodizora/app/placement.h"
#include "rodizora/res/saids.h"

// --- CMDIFrameWndEx --------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(CMDIFrameWndEx, ui::MDIFrameWnd)

UI_BEGIN_MESSAGE_MAP(CMDIFrameWndEx, ui::MDIFrameWnd)
  ui::map::Create(&CMDIFrameWndEx::OnCreate),
  ui::map::MeasureItem(&CMDIFrameWndEx::OnMeasureItem),
UI_END_MESSAGE_MAP()

CMDIFrameWndEx::CMDIFrameWndEx() : m_menuBar(&m_menuEx) {}

bool CMDIFrameWndEx::LoadFrame(ui::UINT resourceId, ui::DWORD style, ui::Wnd* parent, ui::CreateContext* context) {
  m_menuEx.LoadMenu(resourceId);
  if (!ui::MDIFrameWnd::LoadFrame(resourceId, style, parent, context)) return false;
  // The frame sets its menu line after its creation: the menu lives only in the bar.
  SetMenu(nullptr);
  return true;
}

bool CMDIFrameWndEx::PreTranslateMessage(ui::MSG* msg) {
  if (m_menuBar.TranslateMenuKey(msg)) return true;
  return ui::MDIFrameWnd::PreTranslateMessage(msg);
}

int CMDIFrameWndEx::OnCreate(ui::CREATESTRUCT* cs) {
  if (ui::MDIFrameWnd::OnCreate(cs) == -1) return -1;
  if (ui::App* app = ui::App::Get()) app->m_pMainWnd = this;
  constexpr ui::DWORD kMenuBarStyle = 0x50402804;  // child, visible, gripper, top, bottom border, dynamic
  if (!m_menuBar.Create(this, kMenuBarStyle, CMenuBar::kBarId)) return -1;
  m_menuBar.SetOwner(this);
  if (!m_menuBar.EnableDocking(ui::CBRS_ALIGN_ANY)) return -1;
  EnableDocking(ui::CBRS_ALIGN_ANY);
  DockControlBar(&m_menuBar);
  m_menuBar.SetWindowText("Menu");
  return 0;
}

void CMDIFrameWndEx::OnMeasureItem(int, ui::MEASUREITEMSTRUCT*) { Default(); }

// --- CMainFrame --------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNCREATE(CMainFrame, CMDIFrameWndEx)

UI_BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWndEx)
  ui::map::Create(&CMainFrame::OnCreate),
  ui::map::Destroy(&CMainFrame::OnDestroy),
  ui::map::ShowWindow(&CMainFrame::OnShowWindow),
  ui::map::Command(saids::ID_WINDOW_NEXT_CHILD, &CMainFrame::OnNextChild),
  ui::map::Command(saids::ID_WINDOW_PREV_CHILD, &CMainFrame::OnPrevChild),
  ui::map::UpdateUI(ui::ID_NEXT_PANE, &CMainFrame::OnUpdateNextPane),
  ui::map::UpdateUI(ui::ID_PREV_PANE, &CMainFrame::OnUpdateNextPane),
  ui::map::Command(ui::ID_VIEW_TOOLBAR, &CMainFrame::OnViewToolbar),
  ui::map::UpdateUI(ui::ID_VIEW_TOOLBAR, &CMainFrame::OnUpdateViewToolbar),
UI_END_MESSAGE_MAP()

int CMainFrame::OnCreate(ui::CREATESTRUCT* cs) {
  if (CMDIFrameWndEx::OnCreate(cs) < 0) return -1;
  constexpr ui::DWORD kStandardBarStyle = 0x5000282C;  // child, visible, top, border, fly-by, dynamic
  constexpr ui::DWORD kStatusBarStyle = 0x50008200;    // child, visible, bottom, top border
  static const ui::UINT kIndicators[] = {ui::ID_SEPARATOR, ui::ID_INDICATOR_CAPS, ui::ID_INDICATOR_NUM,
                                         ui::ID_INDICATOR_SCRL};
  if (!m_wndStandardBar.Create(this, kStandardBarStyle, CStandardBar::kBarId)) return -1;
  if (!m_wndStatusBar.Create(this, kStatusBarStyle, ui::AFX_IDW_STATUS_BAR)) return -1;
  if (!m_wndStatusBar.SetIndicators(kIndicators, 4)) return -1;
  m_wndStandardBar.EnableDocking(ui::CBRS_ALIGN_ANY);
  EnableDocking(ui::CBRS_ALIGN_ANY);
  DockControlBar(&m_wndStandardBar);
  return 0;
}

bool CMainFrame::PreCreateWindow(ui::CREATESTRUCT& cs) {
  if (!CMDIFrameWndEx::PreCreateWindow(cs)) return false;
  const auto placement = ReadStoredPlacement();
  if (!placement) return true;
  const ui::Size screen{ui::GetSystemMetrics(ui::SM_CXSCREEN), ui::GetSystemMetrics(ui::SM_CYSCREEN)};
  const ui::Rect& normal = placement->rcNormalPosition;
  if (!PlacementFitsScreen(normal, screen)) return true;
  cs.x = normal.left;
  cs.y = normal.top;
  cs.cx = normal.Width();
  cs.cy = normal.Height();
  return true;
}

void CMainFrame::OnDestroy() {
  // A frame that never showed (a start-up that failed) has no place to remember: storing its
  // hidden state would hide the next start's window.
  ui::WINDOWPLACEMENT placement;
  if (m_bShown && GetWindowPlacement(&placement)) {
    // Destruction hides the window first: it is stored as it showed.
    if (placement.showCmd == ui::SW_HIDE) placement.showCmd = ui::SW_SHOWNORMAL;
    WriteStoredPlacement(placement);
  }
  CMDIFrameWndEx::OnDestroy();
}

void CMainFrame::OnShowWindow(bool show, ui::UINT) {
  if (show) m_bShown = true;
  Default();
}

void CMainFrame::OnNextChild() { MDINext(true); }
void CMainFrame::OnPrevChild() { MDINext(false); }

void CMainFrame::OnUpdateNextPane(ui::CmdUI* cmdUI) { cmdUI->Enable(MDIGetActive() != nullptr); }

void CMainFrame::OnViewToolbar() { ShowControlBar(&m_wndStandardBar, !m_wndStandardBar.IsVisible(), false); }

void CMainFrame::OnUpdateViewToolbar(ui::CmdUI* cmdUI) { cmdUI->SetCheck(m_wndStandardBar.IsVisible() ? 1 : 0); }

// --- CMultiDocTemplateEx -------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(CMultiDocTemplateEx, ui::MultiDocTemplate)

ui::DocTemplate::Confidence CMultiDocTemplateEx::MatchDocType(std::string_view path, ui::Document*& match) {
  match = nullptr;
  std::string ext;
  GetDocString(ext, filterExt);
  const std::size_t dot = path.rfind('.');
  if (!ext.empty() && dot != std::string_view::npos && plat::equalsNoCase(ext, path.substr(dot)))
    return yesAttemptNative;
  return yesAttemptForeign;
}
