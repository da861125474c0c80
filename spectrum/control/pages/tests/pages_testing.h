#pragma once
// Shared set-up of the property-page tests: spectrum controls in a test container whose items
// offer IOrvClientSite with two property-set captions, the thirteen pages made by class id, and
// the control's property sheet run through its Properties verb with the scripted responder.
#include <functional>
#include <string>
#include <vector>

#include "platform/ole/proppage.h"
#include "platform/ole/testing/testcontainer.h"
#include "platform/ui/responder.h"
#include "spectrum/control/control/tests/control_testing.h"
#include "spectrum/control/pages/spcproppage.h"
#include "spectrum/control/testing/hostitem.h"

namespace nelvar_test {

// The tabs of the sheet, in GetPropPageIDs order.
enum PageIndex { kGeneral, kSpectrum, kScale, kScaleY, kIntegral, kIntegSums, kTPeaks, kMPeaks, kBaseline, kBorder, kText,
                 kTitle, kMisc };

// What a step sees of the running sheet.
class Sheet {
 public:
  Sheet(plat::ole::PropertyFrame& frame, ui::ScriptedResponder& responder) : frame_(frame), responder_(responder) {}
  plat::ole::PropertyFrame& Frame() { return frame_; }
  // The page at index, shown (and made, the first time).
  nelvar::CSpcPropPage& Show(int index);
  // What the user does to the shown page's items, with the notification the item sends.
  void Type(ui::UINT id, const std::string& text);
  void Check(ui::UINT id, bool on);
  void Click(ui::UINT id);
  void Choose(ui::UINT id, int index);
  // A colour button clicked and the chooser answered with color.
  void PickColor(ui::UINT id, gdi::COLORREF color);
  // "&Save As" clicked; the name dialog answered with each name in turn, every one but the last
  // refused with a message (answered OK). cancelled: every name is refused, then the dialog is
  // cancelled.
  void SaveAs(const std::vector<std::string>& names, bool cancelled = false);
  std::string Text(ui::UINT id);
  bool Enabled(ui::UINT id);
  bool Visible(ui::UINT id);
  bool Checked(ui::UINT id);
  std::vector<std::string> ComboItems(ui::UINT id);
  bool Apply() { return frame_.ApplyAll(); }

 private:
  nelvar::CSpcPropPage* shown_ = nullptr;
  plat::ole::PropertyFrame& frame_;
  ui::ScriptedResponder& responder_;
};

class PagesTest : public ControlTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new control of that kind in the container (no spectrum for a kind below 0); its item
  // offers IOrvClientSite unless told not to.
  CSpcControl* AddControl(int kind = 0, bool offerSite = true);
  // Runs the control's property sheet; steps run while it is up, end closes it (IDOK applies).
  void RunSheet(CSpcControl* control, const std::function<void(Sheet&)>& steps, int end = ui::IDCANCEL);

  // A dispatch property of the control by name, as an integer, and set.
  static int Get(CSpcControl* control, const char* name);
  static void Set(CSpcControl* control, const char* name, int value);
  static std::string IniText();

  ui::ScriptedResponder responder_;  // installed by SetUp, after the layer is reset
  nelvar::testing::FakeSiteSettings settings_;

 private:
  std::unique_ptr<plat::ole::testing::TestContainer> box_;
  std::vector<std::pair<CSpcControl*, nelvar::testing::HostItem*>> items_;
  std::vector<plat::DWord> cookies_;
};

}  // namespace nelvar_test
