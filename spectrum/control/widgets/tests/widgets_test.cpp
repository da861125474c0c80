// The widgets: the number edit's typed-character filter and its value forms, the line-width
// item's text and sample line, and the knob and scroll hosts over the auxiliary controls (made
// from this process's class table) with their properties and events; without the controls the
// hosts make no window.
#include <gtest/gtest.h>

#include "common/guids.h"
#include "controls/base/tests/control_fixture.h"
#include "controls/knob/knobcontrol.h"
#include "controls/scroll/scrollcontrol.h"
#include "platform/base/text.h"
#include "platform/com/creation.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/surface.h"
#include "platform/ui/app.h"
#include "platform/ui/input.h"
#include "platform/ui/testing.h"
#include "spectrum/control/widgets/knob.h"
#include "spectrum/control/widgets/linewidthcb.h"
#include "spectrum/control/widgets/numedit.h"

namespace {

using karvel::CKnobControl;
using karvel::CScrollControl;

class WidgetsTest : public karvel::test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    ASSERT_TRUE(parent_.CreateEx(0, nullptr, "widgets", ui::WS_OVERLAPPEDWINDOW | ui::WS_VISIBLE, {0, 0, 400, 300},
                                 nullptr, 0));
    parent_.SetActiveWindow();
  }
  void TearDown() override {
    parent_.DestroyWindow();
    ControlTest::TearDown();
  }
  ui::Wnd parent_;
};

TEST_F(WidgetsTest, NumberEditRefusesTypedLettersButTakesNumbersAndReadsCommaAsDecimalMark) {
  CNumEdit edit;
  ASSERT_TRUE(edit.Create(ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_BORDER, {10, 10, 110, 30}, &parent_, 100));
  edit.SetFocus();
  ui::input::Type("-1,5");
  EXPECT_EQ(edit.GetWindowText(), "-1,5");
  EXPECT_DOUBLE_EQ(edit.GetValue(), -1.5);
  ui::input::Type("x");
  EXPECT_EQ(edit.GetWindowText(), "-1,5");
  ui::input::Type("2");
  EXPECT_EQ(edit.GetWindowText(), "-1,52");

  // Text the program puts there is not filtered; what does not read is 0.
  edit.SetWindowText("abc");
  EXPECT_EQ(edit.GetValue(), 0.0);
  edit.SetValue(3.14159);
  EXPECT_EQ(edit.GetWindowText(), "3.1");
  edit.SetValue(-0.25);
  EXPECT_DOUBLE_EQ(edit.GetValue(), -0.2);
  EXPECT_DOUBLE_EQ(ReadNumberField(" 12.5e1"), 125.0);
  edit.DestroyWindow();
}

// The rows of column x darker than mid-grey.
int DarkRows(const gdi::RasterSurface& s, int x) {
  int n = 0;
  for (int y = 0; y < s.Height(); ++y) n += (s.GetPixel(x, y) & 0xFF) < 128;
  return n;
}

TEST_F(WidgetsTest, LineWidthItemsShowMinimalOrTheWidthBesideALineOfThatWidth) {
  EXPECT_EQ(LineWidthPixels(25, 96), 0);    // 0.25 mm is under a pixel at 96 dpi
  EXPECT_EQ(LineWidthPixels(100, 96), 3);   // 1 mm: 3.78 pixels
  EXPECT_EQ(LineWidthPixels(150, 600), 35);
  EXPECT_EQ(LineWidthPixels(-5, 96), 0);

  CLineWidthCB combo;
  ASSERT_TRUE(combo.Create(ui::WS_CHILD | ui::WS_VISIBLE | ui::CBS_DROPDOWNLIST | ui::CBS_OWNERDRAWFIXED,
                           {10, 10, 210, 200}, &parent_, 101));
  auto draw = [&](ui::UINT_PTR width) {
    auto surface = std::make_unique<gdi::RasterSurface>(200, 20);
    gdi::DC dc(*surface);
    dc.FillSolidRect({0, 0, 200, 20}, gdi::RGB(255, 255, 255));
    dc.SelectObject(gdi::Brush(gdi::RGB(255, 255, 255)));
    ui::DRAWITEMSTRUCT dis;
    dis.CtlType = ui::ODT_COMBOBOX;
    dis.hDC = &dc;
    dis.rcItem = {0, 0, 200, 20};
    dis.itemData = width;
    combo.DrawItem(&dis);
    return surface;
  };
  gdi::TEXTMETRIC tm;
  {
    auto probe = std::make_unique<gdi::RasterSurface>(10, 10);
    gdi::DC dc(*probe);
    dc.SelectObject(combo.GetFont());
    dc.GetTextMetrics(&tm);
  }
  const int lineStart = 11 * tm.tmAveCharWidth;
  ASSERT_LT(lineStart, 190);

  auto minimal = draw(0);
  karvel::test::KeepPng(*minimal, "linewidth_minimal.png");
  EXPECT_EQ(DarkRows(*minimal, 195), 0);  // no line, the text in the middle
  EXPECT_GT(karvel::test::CountInk(*minimal, 0, gdi::RGB(255, 255, 255)), 10);

  auto oneMm = draw(100);
  karvel::test::KeepPng(*oneMm, "linewidth_1mm.png");
  const int dpi = gdi::DC(*oneMm).GetDeviceCaps(gdi::LOGPIXELSY);
  EXPECT_EQ(DarkRows(*oneMm, 195), std::max(1, LineWidthPixels(100, dpi)));
  EXPECT_EQ(DarkRows(*oneMm, lineStart - 2), 0);
  // The label lies left of 10 average character widths.
  const gdi::Rect label(0, 0, 10 * tm.tmAveCharWidth, 20);
  EXPECT_GT(karvel::test::CountInk(*oneMm, 0, gdi::RGB(255, 255, 255), &label), 10);
  combo.DestroyWindow();
}

TEST_F(WidgetsTest, KnobHostSetsTheKnobsRangeModeAndCaptionAndHearsItsEvents) {
  CKnob knob;
  ASSERT_TRUE(knob.Create("Phase 0: %.2f deg", ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_TABSTOP, {10, 10, 42, 42},
                          &parent_, 1029));
  auto* control = LastMade<CKnobControl>();
  ASSERT_NE(control, nullptr);
  ASSERT_NE(knob.ControlWindow(), nullptr);
  EXPECT_EQ(knob.ControlWindow(), static_cast<ui::Wnd*>(control));
  EXPECT_EQ(knob.GetDlgCtrlID(), 1029u);
  plat::ole::Bstr caption = control->GetCaption();
  EXPECT_EQ(plat::toUtf8(plat::ole::stringView(caption)), "Phase 0: %.2f deg");
  plat::ole::freeString(caption);

  knob.SetMaxValue(10000);
  knob.SetMinValue(-10000);
  knob.SetInitValue(5);
  knob.SetIncrement(10);
  knob.SetIncMode(1);
  knob.SetValue(42.5f);
  EXPECT_EQ(control->GetMaxValue(), 10000.0f);
  EXPECT_EQ(control->GetMinValue(), -10000.0f);
  EXPECT_EQ(control->GetInitValue(), 5.0f);
  EXPECT_EQ(control->GetIncrement(), 10.0f);
  EXPECT_EQ(control->GetIncMode(), 1);
  EXPECT_EQ(knob.GetValue(), 42.5f);

  int heard = 0;
  plat::ole::DispId last = -1;
  knob.SetEventHandler([&](plat::ole::DispId id) {
    ++heard;
    last = id;
  });
  // A right click on the knob restores the initial value and fires NewValueSet.
  ui::input::Click(knob.ControlWindow(), {5, 5}, ui::MK_RBUTTON);
  EXPECT_EQ(heard, 1);
  EXPECT_EQ(last, CKnob::kNewValueSet);
  EXPECT_EQ(knob.GetValue(), 5.0f);

  // Moving the host moves the knob with it.
  knob.MoveWindow(50, 60, 120, 32);
  gdi::Rect r;
  knob.ControlWindow()->GetWindowRect(&r);
  EXPECT_EQ(r.Width(), 120);
  EXPECT_EQ(r.Height(), 32);
  knob.DestroyWindow();
  EXPECT_FALSE(knob.HasControl());
  EXPECT_EQ(knob.GetValue(), 0.0f);
}

TEST_F(WidgetsTest, ScrollHostSetsPointsAndBoundsAndReadsThemBack) {
  CScroll scroll;
  ASSERT_TRUE(scroll.Create("", ui::WS_CHILD | ui::WS_VISIBLE, {10, 10, 200, 42}, &parent_, 1045));
  auto* control = LastMade<CScrollControl>();
  ASSERT_NE(control, nullptr);
  scroll.SetPoints(1000);
  scroll.SetLeftBound(100);
  scroll.SetRightBound(400);
  EXPECT_EQ(control->GetPoints(), 1000);
  EXPECT_EQ(scroll.GetLeftBound(), 100);
  EXPECT_EQ(scroll.GetRightBound(), 400);
  scroll.SetImage(0);
  EXPECT_EQ(control->GetImage(), 0);
  scroll.DestroyWindow();
}

// No class table entries and no registration: the controls cannot be made.
class UnregisteredTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { static ui::App app("widgets"); }
  void SetUp() override {
    ui::testing::Reset();
    ASSERT_TRUE(parent_.CreateEx(0, nullptr, "widgets", ui::WS_OVERLAPPEDWINDOW | ui::WS_VISIBLE, {0, 0, 400, 300},
                                 nullptr, 0));
  }
  void TearDown() override {
    parent_.DestroyWindow();
    EXPECT_TRUE(ui::testing::LiveWindows().empty());
  }
  ui::Wnd parent_;
};

TEST_F(UnregisteredTest, WithoutTheAuxiliaryControlsTheHostsMakeNoWindow) {
  CKnob knob;
  EXPECT_FALSE(knob.Create("x", ui::WS_CHILD | ui::WS_VISIBLE, {0, 0, 32, 32}, &parent_, 1001));
  EXPECT_FALSE(knob.IsWindow());
  EXPECT_EQ(knob.GetValue(), 0.0f);
  knob.SetValue(3);  // nothing to set, nothing breaks
  CScroll scroll;
  EXPECT_FALSE(scroll.Create("", ui::WS_CHILD | ui::WS_VISIBLE, {0, 0, 32, 32}, &parent_, 1045));
  EXPECT_EQ(scroll.GetLeftBound(), 0);
  // Both are made by name as well.
  std::unique_ptr<ui::CmdTarget> made(UI_RUNTIME_CLASS(CKnob)->CreateObject());
  EXPECT_NE(dynamic_cast<CKnob*>(made.get()), nullptr);
  made.reset(UI_RUNTIME_CLASS(CScroll)->CreateObject());
  EXPECT_NE(dynamic_cast<CScroll*>(made.get()), nullptr);
}

}  // namespace
