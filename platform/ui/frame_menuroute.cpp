// Frames: dock bars of the product's own kind, and menu changes routed through the MDI client
// (so that a product's subclass of the client, such as an owner-drawn menu bar, follows them).
#include <algorithm>

#include "platform/ui/bars.h"
#include "platform/ui/frame.h"

namespace ui {

bool FrameWnd::AddDockBar(std::unique_ptr<DockBar> bar) {
  if (!bar || !bar->IsWindow() || bar->GetParent() != this) return false;
  const UINT id = bar->GetDlgCtrlID();
  if (id < AFX_IDW_DOCKBAR_TOP || id > AFX_IDW_DOCKBAR_BOTTOM || GetDockBar(id)) return false;
  m_dockBars.push_back(std::move(bar));
  return true;
}

void MDIFrameWnd::ShowMenuThroughClient(Menu* menu) {
  if (menu && m_pClient && m_pClient->IsWindow()) m_pClient->SendMessage(WM_MDISETMENU, reinterpret_cast<WPARAM>(menu), 0);
  else SetActiveMenu(menu);
}

}  // namespace ui
