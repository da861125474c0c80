// Weak stand-ins for the view's full size and synchronisation, so that the command handlers
// link while the view commands (control_view.cpp) do not define them; their definitions win.
#include <algorithm>

#include "spectrum/control/control/spccontrol.h"

[[gnu::weak]] void CSpcControl::OnFullSize() {
  SelectionRect().SetRectEmpty();
  m_drawList.m_fLeftBound = 0.0f;
  m_drawList.m_fRightBound = static_cast<float>(std::max(m_process.m_nCur - 1, 0));
  m_zoomHistory.clear();
  FinishCommand(kStepSynchronize | kStepModified | kStepRefresh);
}

[[gnu::weak]] void CSpcControl::SynchronizeViews() {}
