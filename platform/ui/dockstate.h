#pragma once
// DockState: where a frame's bars are, apart from the frame: for each bar with an id, the dock
// bar, row and offset it sits at or where it floats, and whether it shows. A frame fills one
// (FrameWnd::GetDockState) and puts its bars back from one (FrameWnd::SetDockState); a dock
// state is kept in the profile (the sections "<name>-Summary" and "<name>-Bar<n>" of the
// current profile store, as FrameWnd::SaveBarState writes them) and in archives.
#include <string_view>
#include <vector>

#include "platform/ui/types.h"

namespace plat {
class Archive;
}

namespace ui {

class DockState {
 public:
  struct BarInfo {
    UINT barId = 0;
    int visible = -1;  // 1 shown, 0 hidden, -1 unknown (the bar keeps its visibility)
    bool floating = false;
    UINT dockBarId = 0;  // the side it is docked at, or was docked at last
    int row = 0;
    int offset = 0;
    Point floatAt{100, 100};  // screen position of its floating frame
    bool horizontal = true;   // laid out along a row while floating
    friend bool operator==(const BarInfo&, const BarInfo&) = default;
  };

  // At most this many bars are kept.
  static constexpr int kMaxBars = 256;

  std::vector<BarInfo> m_bars;

  void Clear() { m_bars.clear(); }
  bool IsEmpty() const { return m_bars.empty(); }

  // Writes the bars to the current profile store (CurrentProfileStore), replacing what an
  // earlier, longer layout left there; nothing without a store.
  void SaveState(std::string_view profileName) const;
  // Reads them back; sections or values that are not there give no bar or the defaults.
  void LoadState(std::string_view profileName);

  // The archive form: a 32-bit count, then per bar its id, visibility, floating flag, dock
  // bar id, row, offset, floating position and orientation (32-bit integers and flag bytes).
  // Loading refuses a count beyond kMaxBars or past the archive's end.
  void Serialize(plat::Archive& ar);

  friend bool operator==(const DockState&, const DockState&) = default;
};

}  // namespace ui
