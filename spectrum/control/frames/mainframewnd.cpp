#include "spectrum/control/frames/mainframewnd.h"

#include <algorithm>
#include <string>

#include "foundation/profdesc.h"
#include "platform/base/text.h"
#include "platform/ui/dockstate.h"
#include "platform/ui/styles.h"
#include "profile/profile.h"
#include "spectrum/control/frames/controlframewnd.h"

namespace {

// The live main frames and how many controls each serves; parallel, user-interface thread only.
std::vector<CMainFrameWnd*> g_frames;
std::vector<int> g_counts;

std::u16string BarValueName(ui::UINT id) { return plat::toUtf16(std::to_string(id)); }

}  // namespace

UI_IMPLEMENT_DYNAMIC(CMainFrameWnd, ui::FrameWnd)

UI_BEGIN_MESSAGE_MAP(CMainFrameWnd, ui::FrameWnd)
  ui::map::WindowPosChanged(&CMainFrameWnd::OnWindowPosChanged),
UI_END_MESSAGE_MAP()

CMainFrameWnd::~CMainFrameWnd() = default;

CMainFrameWnd* CMainFrameWnd::Attach(ui::Wnd* container) {
  if (!container || !container->IsWindow()) return nullptr;
  for (std::size_t i = 0; i < g_frames.size(); ++i)
    if (g_frames[i]->IsWindow() && g_frames[i]->GetParent() == container) {
      ++g_counts[i];
      return g_frames[i];
    }
  auto* frame = new CMainFrameWnd;
  frame->m_bAutoDelete = false;
  static const std::string kClass = ui::RegisterWndClass(0, nullptr, nullptr);
  gdi::Rect client;
  container->GetClientRect(&client);
  if (!frame->Create(kClass.c_str(), "", ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_CLIPSIBLINGS, client, container)) {
    delete frame;
    return nullptr;
  }
  frame->ModifyStyleEx(ui::WS_EX_CLIENTEDGE, 0, ui::SWP_FRAMECHANGED);
  frame->EnableDocking(ui::CBRS_ALIGN_ANY);
  g_frames.push_back(frame);
  g_counts.push_back(1);
  return frame;
}

void CMainFrameWnd::Release(CMainFrameWnd* frame) {
  const auto it = std::find(g_frames.begin(), g_frames.end(), frame);
  if (!frame || it == g_frames.end()) return;
  const auto index = static_cast<std::size_t>(it - g_frames.begin());
  if (g_counts[index] > 1) {
    --g_counts[index];
    return;
  }
  g_frames.erase(it);
  g_counts.erase(g_counts.begin() + static_cast<std::ptrdiff_t>(index));
  frame->SaveBarState("Toolbars");
  if (frame->IsWindow()) frame->DestroyWindow();
  delete frame;
}

const std::vector<CMainFrameWnd*>& CMainFrameWnd::LiveFrames() { return g_frames; }

int CMainFrameWnd::AttachCount(const CMainFrameWnd* frame) {
  const auto it = std::find(g_frames.begin(), g_frames.end(), frame);
  return it == g_frames.end() ? 0 : g_counts[static_cast<std::size_t>(it - g_frames.begin())];
}

void CMainFrameWnd::AdoptBar(std::unique_ptr<ui::ControlBar> bar) { m_ownedBars.push_back(std::move(bar)); }

std::vector<ui::ControlBar*> CMainFrameWnd::Bars() const {
  std::vector<ui::ControlBar*> bars;
  for (ui::ControlBar* bar : ControlBars())
    if (!bar->IsDockBar()) bars.push_back(bar);
  return bars;
}

void CMainFrameWnd::SetActiveControlFrame(CControlFrameWnd* frame) {
  for (ui::ControlBar* bar : Bars()) bar->SetOwner(frame);
  m_pActiveControlFrame = frame;
}

bool CMainFrameWnd::IsBarVisible(ui::UINT barId) const {
  ui::ControlBar* bar = GetControlBar(barId);
  return bar && bar->IsWindow() && (bar->GetStyle() & ui::WS_VISIBLE);
}

void CMainFrameWnd::ToggleBar(ui::UINT barId, bool show) {
  if (ui::ControlBar* bar = GetControlBar(barId)) {
    ShowControlBar(bar, show, true);
    RecalcLayout();
  }
}

void CMainFrameWnd::ShowFloatingBars(bool show) {
  for (ui::ControlBar* bar : Bars())
    if (bar->IsWindow() && bar->IsFloating())
      if (ui::DockBar* dock = bar->GetDockBar())
        if (ui::Wnd* mini = dock->GetParent()) mini->ShowWindow(show && bar->IsVisible() ? ui::SW_SHOWNA : ui::SW_HIDE);
}

void CMainFrameWnd::SaveBarState(std::string_view name) const {
  FrameWnd::SaveBarState(name);
  COrvProfDesc desc(u"", plat::toUtf16(name).c_str());
  if (desc.Open(PROF_MODE_ALL) != PROF_OK) return;
  for (ui::ControlBar* bar : Bars())
    OrvSetProfInt(BarValueName(bar->GetDlgCtrlID()).c_str(), static_cast<int>(bar->m_nStateFlags), &desc);
  desc.Close();
}

void CMainFrameWnd::LoadBarState(std::string_view name) {
  FrameWnd::LoadBarState(name);
  COrvProfDesc desc(u"", plat::toUtf16(name).c_str());
  if (desc.Open(PROF_MODE_ALL) != PROF_OK) return;
  for (ui::ControlBar* bar : Bars()) {
    const int fallback = static_cast<int>(bar->m_nStateFlags | ui::ControlBar::tempHide);
    int flags = fallback;
    OrvGetProfInt(BarValueName(bar->GetDlgCtrlID()).c_str(), &flags, fallback, &desc);
    bar->m_nStateFlags = static_cast<ui::UINT>(flags);
  }
  desc.Close();
}

void CMainFrameWnd::SetUpToolTips() {
  if (!m_toolTips.IsWindow()) m_toolTips.Create(this, ui::TTS_ALWAYSTIP);
  m_toolTips.Activate(true);
  for (ui::ControlBar* bar : Bars()) {
    if (auto* toolbar = dynamic_cast<ui::ToolBar*>(bar)) toolbar->SetToolTips(&m_toolTips);
    else bar->SendMessage(ui::TB_SETTOOLTIPS, 0, 0);
    bar->SetBarStyle(bar->GetBarStyle() | ui::CBRS_TOOLTIPS | ui::CBRS_FLYBY);
  }
}

void CMainFrameWnd::Renegotiate() {
  if (m_pActiveControlFrame) m_pActiveControlFrame->Renegotiate();
}

void CMainFrameWnd::RecalcLayout(bool) {
  // The bars' layout belongs to the active control's negotiation with its container.
  Renegotiate();
}

void CMainFrameWnd::OnWindowPosChanged(ui::WINDOWPOS* pos) {
  (void)pos;
  Renegotiate();
  Default();
}

bool CMainFrameWnd::OnCommand(ui::WPARAM wParam, ui::LPARAM lParam) {
  if (m_pActiveControlFrame) m_pActiveControlFrame->SendMessage(ui::WM_COMMAND, wParam, lParam);
  return true;
}

bool CMainFrameWnd::OnNotify(ui::WPARAM wParam, ui::LPARAM lParam, ui::LRESULT* result) {
  for (ui::ControlBar* bar : Bars())
    if (bar->IsWindow()) bar->SendMessage(ui::WM_IDLEUPDATECMDUI, 1, 0);
  if (!m_pActiveControlFrame) return false;
  *result = m_pActiveControlFrame->SendMessage(ui::WM_NOTIFY, wParam, lParam);
  return true;
}
