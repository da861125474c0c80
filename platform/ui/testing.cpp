// Test helpers.
#include "platform/ui/testing.h"

#include "platform/ui/internal/state.h"
#include "platform/ui/responder.h"

namespace ui::testing {

std::vector<HWND> LiveWindows() { return AppState::Get().AllWindows(); }

void Reset() {
  AppState& st = AppState::Get();
  SetResponder(nullptr);
  ClearModalLog();
  st.ReleaseCapture();
  st.focus = kNoWnd;
  for (UINT vk = 0; vk < 256; ++vk) st.NoteKey(vk, false);
  st.lastToolTip.clear();
}

}  // namespace ui::testing
