#include "spectrum/control/console/consolebar.h"

#include <algorithm>

#include "platform/base/text.h"
#include "platform/ole/interfaces.h"
#include "platform/ui/app.h"
#include "platform/ui/resource.h"
#include "spectrum/control/console/consoletable.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/frames/controlframewnd.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/module/spcapp.h"

namespace {

constexpr ui::UINT IDS_CONSOLE = 3016;

std::vector<CConsoleBar*>& Bars() {
  static std::vector<CConsoleBar*> bars;
  return bars;
}

ui::HHOOK g_hook{};
bool g_hooked = false;

bool IsConsoleKey(ui::WPARAM key) { return (key >= 48 && key <= 90) || key == ui::VK_RETURN || key == 191; }

}  // namespace

UI_IMPLEMENT_DYNAMIC(CConsoleBar, CFlatToolBar)

UI_BEGIN_MESSAGE_MAP(CConsoleBar, CFlatToolBar)
  ui::map::Create(&CConsoleBar::OnCreate),
  ui::map::Destroy(&CConsoleBar::OnDestroy),
  ui::map::KeyDown(&CConsoleBar::OnKeyDown),
  ui::map::Control(ui::EN_CHANGE, CConsoleBar::kEditId, &CConsoleBar::OnEditChange),
UI_END_MESSAGE_MAP()

CConsoleBar::CConsoleBar() = default;

CConsoleBar::~CConsoleBar() {
  if (IsWindow()) DestroyWindow();
  Unregister();  // no pointer to a gone bar stays in the list
}

void CConsoleBar::Unregister() {
  if (!m_registered) return;
  std::erase(Bars(), this);
  m_registered = false;
  if (Bars().empty() && g_hooked) {
    ui::UnhookWindowsHookEx(g_hook);
    g_hook = {};
    g_hooked = false;
  }
}

const std::vector<CConsoleBar*>& CConsoleBar::LiveBars() { return Bars(); }

bool CConsoleBar::HookInstalled() { return g_hooked; }

int CConsoleBar::OnCreate(ui::CREATESTRUCT*) {
  if (static_cast<int>(Default()) == -1) return -1;
  SetWindowText(ui::LoadString(IDS_CONSOLE));
  LoadToolBar(nelvar::IDW_CONSOLEBAR);
  m_edit.Create(ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_BORDER | ui::WS_TABSTOP | ui::ES_MULTILINE | ui::ES_AUTOVSCROLL |
                    ui::ES_AUTOHSCROLL,
                {0, 0, 32, 32}, this, kEditId);
  if (GetCount() > 2) {
    ui::Rect button;
    GetItemRect(2, &button);
    const int width = 8 * button.Width();
    SetButtonInfo(0, kEditId, ui::TBBS_SEPARATOR, width);
    ui::Rect place;
    GetItemRect(0, &place);
    m_edit.SetWindowPos(nullptr, place.left, place.top, width, button.Height(), ui::SWP_NOZORDER | ui::SWP_NOACTIVATE);
  }
  Bars().push_back(this);
  m_registered = true;
  if (!g_hooked) {
    g_hook = ui::SetWindowsHookEx(ui::WH_KEYBOARD, &CConsoleBar::KeyboardHook);
    g_hooked = true;
  }
  SetFlatLookStyle();
  return 0;
}

void CConsoleBar::OnDestroy() {
  Unregister();
  CFlatToolBar::OnDestroy();
}

CControlFrameWnd* CConsoleBar::ControlFrame() const {
  ui::Wnd* owner = GetOwner();
  return dynamic_cast<CControlFrameWnd*>(owner ? owner : GetParent());
}

CSpcControl* CConsoleBar::Control() const {
  CControlFrameWnd* frame = ControlFrame();
  return frame ? dynamic_cast<CSpcControl*>(frame->GetTopWindow()) : nullptr;
}

CConsoleBar* CConsoleBar::ActiveBar() {
  ui::Wnd* active = ui::Wnd::GetActiveWindow();
  if (!active) return nullptr;
  for (CConsoleBar* bar : Bars()) {
    CControlFrameWnd* frame = bar->ControlFrame();
    if (!frame || !frame->m_pInPlaceFrame || !bar->IsWindowVisible()) continue;
    ui::HWND window = ui::kNoWnd;
    if (plat::ole::succeeded(frame->m_pInPlaceFrame->GetWindow(&window)) && window == active->m_hWnd) return bar;
  }
  return nullptr;
}

ui::LRESULT CConsoleBar::KeyboardHook(int code, ui::WPARAM key, ui::LPARAM lParam) {
  const auto bits = static_cast<std::uint32_t>(lParam);
  if (code < 0 || (bits & (1u << 29)) || (bits & (1u << 25)) || !IsConsoleKey(key))
    return ui::CallNextHookEx(g_hook, code, key, lParam);
  CConsoleBar* bar = ActiveBar();
  if (!bar || !bar->m_edit.IsWindow()) return ui::CallNextHookEx(g_hook, code, key, lParam);
  const bool up = (bits & ui::KF_UP_BIT) != 0;
  // A release follows its press: one pressed elsewhere (the Return that closed a dialog) is not
  // typing and leaves the focus where it is.
  if (up && ui::Wnd::GetFocus() != &bar->m_edit) return ui::CallNextHookEx(g_hook, code, key, lParam);
  // Typing in the console itself takes the edit's own way once the keys posted to it are in: a
  // key posted again would come after the keys the hook leaves alone ("=" of "?=SF" typed
  // quickly went before the "?"), and one typed past a posted key before it.
  ui::MSG queued;
  if (key != ui::VK_RETURN && ui::Wnd::GetFocus() == &bar->m_edit &&
      !ui::PeekMessage(&queued, bar->m_edit.m_hWnd, ui::WM_KEYFIRST, ui::WM_KEYLAST, ui::PM_NOREMOVE))
    return ui::CallNextHookEx(g_hook, code, key, lParam);
  if (ui::Wnd::GetFocus() != &bar->m_edit) bar->m_edit.SetFocus();
  const ui::UINT message = up ? ui::WM_KEYUP : ui::WM_KEYDOWN;
  if (key == ui::VK_RETURN) bar->PostMessage(message, key, lParam);
  else bar->m_edit.PostMessage(message, key, lParam);
  return 1;
}

std::string CConsoleBar::CurrentLine() const {
  if (!m_edit.IsWindow()) return {};
  return m_edit.GetLine(m_edit.LineFromChar(-1));
}

void CConsoleBar::OnKeyDown(ui::UINT key, ui::UINT, ui::UINT) {
  if (key == ui::VK_RETURN) RunCurrentLine();
}

void CConsoleBar::RunCurrentLine() {
  if (!m_edit.IsWindow()) return;
  const int line = m_edit.LineFromChar(-1);
  const std::string text = m_edit.GetLine(line);
  if (CSpcControl* control = Control()) {
    const plat::ole::Bstr commands = plat::ole::allocString(plat::toUtf16(text));
    control->SpectrumControl()->ExecuteCommands(commands);
    plat::ole::freeString(commands);
  }
  // The new line opens below the line that ran.
  if (m_edit.IsWindow()) {
    const int end = m_edit.LineIndex(line) + m_edit.LineLength(m_edit.LineIndex(line));
    m_edit.SetSel(end, end);
    m_edit.PostMessage(ui::WM_KEYDOWN, ui::VK_RETURN, 0);
  }
}

void CConsoleBar::OnEditChange() {
  const std::string line = CurrentLine();
  const std::size_t semicolon = line.rfind(';');
  const std::string typed = semicolon == std::string::npos ? line : line.substr(semicolon + 1);
  CControlFrameWnd* frame = ControlFrame();
  if (!frame || typed.empty() || !frame->m_pInPlaceFrame) return;
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  frame->m_pInPlaceFrame->SetStatusText(plat::toUtf16(nelvar::ConsoleHint(typed)).c_str());
}
