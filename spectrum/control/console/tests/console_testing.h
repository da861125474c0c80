#pragma once
// Spectrum controls in test containers with their bars, as the console and bar tests use them:
// controls made through this process's class table, the auxiliary knob and scroll strip served
// from it too (or left out), and the bars of a container found by id.
#include <string>
#include <vector>

#include "platform/ole/testing/testcontainer.h"
#include "spectrum/control/control/tests/control_testing.h"
#include "spectrum/control/frames/mainframewnd.h"
#include "spectrum/control/testing/hostitem.h"

namespace nelvar_test {

class BarsTest : public ControlTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Whether the knob and the scroll strip are served (before the first control is made).
  virtual bool WithAuxiliaryControls() const { return true; }

  // A new control in box at the rectangle; its object is the control made last.
  nelvar::testing::HostItem* AddControl(plat::ole::testing::TestContainer& box, const gdi::Rect& at);
  // The control of the item made last.
  CSpcControl* LastControl() const { return made_.empty() ? nullptr : made_.back(); }
  // Every bar of the control's frame shown (whatever layout earlier tests left in the profile).
  static void ShowAllBars(CSpcControl& control);
  // The container's bar of that id (its main frame's), or null.
  static ui::ControlBar* BarOf(plat::ole::testing::TestContainer& box, ui::UINT id);
  template <class Bar>
  static Bar* Find(plat::ole::testing::TestContainer& box, ui::UINT id) {
    return dynamic_cast<Bar*>(BarOf(box, id));
  }

  nelvar::testing::FakeSiteSettings settings_;

 private:
  std::vector<plat::DWord> cookies_;
  static std::vector<CSpcControl*> made_;
  static plat::ole::ComObject* MakeRecorded();
};

// The console's command trace while it lives (a file of its own).
class TraceCapture {
 public:
  TraceCapture();
  ~TraceCapture();
  // The command ids sent so far (whatever their update rules said), and no more capturing.
  std::vector<std::string> Lines();

 private:
  std::string path_;
  bool capturing_ = true;
};

}  // namespace nelvar_test
