// The knob: its value steps, turns and resets, the caption format, and the control in a
// container driven by injected mouse input, with the NewValueSet events each change fires.
#include <cmath>

#include "common/guids.h"
#include "common/shared_ids.h"
#include "controls/base/tests/control_fixture.h"
#include "controls/knob/knobcontrol.h"
#include "controls/knob/knobpicture.h"
#include "platform/com/driver.h"
#include "platform/ui/app.h"
#include "platform/ui/input.h"

namespace karvel::test {
namespace {

using plat::ole::testing::TestContainer;
namespace id = kedrus_dispid;

KnobValue Range(float value, float lo, float hi, float increment, std::int32_t mode) {
  KnobValue k;
  k.value = value;
  k.minValue = lo;
  k.maxValue = hi;
  k.increment = increment;
  k.incMode = mode;
  return k;
}

TEST(KnobValue, StepsTurnsAndResetKeepToTheRangeAndIgnoreNonFiniteResults) {
  KnobValue additive = Range(95, 0, 100, 10, 0);
  additive.StepUp();
  EXPECT_EQ(additive.value, 100.0f);
  additive.StepDown();
  EXPECT_EQ(additive.value, 90.0f);

  KnobValue multiplicative = Range(8, 0, 100, 2, 1);
  multiplicative.StepDown();
  EXPECT_EQ(multiplicative.value, 4.0f);
  multiplicative.StepUp();
  multiplicative.StepUp();
  EXPECT_EQ(multiplicative.value, 16.0f);

  // A quarter turn moves an additive knob by 90 x 10 / 30.
  KnobValue turned = Range(0, -1000, 1000, 10, 0);
  EXPECT_TRUE(turned.Turn(std::asin(1.0)));
  EXPECT_NEAR(turned.value, 30.0f, 1e-3);
  // A multiplicative one by 90 x 10 per quarter turn; a whole turn or more is no turn.
  turned.incMode = 1;
  turned.Turn(-std::asin(1.0));
  EXPECT_NEAR(turned.value, -870.0f, 1e-2);
  EXPECT_FALSE(turned.Turn(6.3));
  EXPECT_NEAR(turned.value, -870.0f, 1e-2);

  // The reset takes the initial value even outside the range.
  KnobValue reset = Range(50, 0, 100, 10, 0);
  reset.initValue = 500;
  reset.Reset();
  EXPECT_EQ(reset.value, 500.0f);

  // The initial range holds every change at -1000.
  KnobValue fresh;
  fresh.StepUp();
  EXPECT_EQ(fresh.value, -1000.0f);

  // Division by a zero increment, or an overflow, changes nothing.
  KnobValue zero = Range(5, -1e38f, 1e38f, 0, 1);
  zero.StepDown();
  EXPECT_EQ(zero.value, 5.0f);
  KnobValue huge = Range(3e38f, -3.4e38f, 3.4e38f, 1e10f, 1);
  huge.StepUp();
  EXPECT_EQ(huge.value, 3e38f);
}

TEST(KnobValue, TurnAngleIsMeasuredFromTheDialCentre) {
  EXPECT_NEAR(TurnAngle(0, -20, 20, 0), std::asin(1.0), 1e-9);
  // In the lower half the angle is negated.
  EXPECT_NEAR(TurnAngle(0, -20, 20, 5), -(std::asin(20 / std::hypot(20.0, 5.0))), 1e-9);
  EXPECT_EQ(TurnAngle(0, 0, 20, 0), 0.0);
  EXPECT_EQ(TurnAngle(10, 10, 0, 0), 0.0);
}

TEST(KnobValue, CaptionIsAFormatOnlyWithExactlyOneFloatingConversion) {
  EXPECT_EQ(FormatCaption("%.2f", 3.14159), "3.14");
  EXPECT_EQ(FormatCaption("x%5.1f%%", 2.25), "x  2.2%");
  EXPECT_EQ(FormatCaption("%+08.3e", 1234.5), "+1.234e+03");
  EXPECT_EQ(FormatCaption("%-6gms", 0.5), "0.5   ms");
  EXPECT_EQ(FormatCaption("%G", 1e-10), "1E-10");
  for (const char* text : {"%d", "%s", "%f %f", "100%%", "%", "%.2", "%*f", "%n", "plain"})
    EXPECT_EQ(FormatCaption(text, 1.0), text) << text;
}

TEST(KnobPanel, PartsLieWhereThePanelDrawsThem) {
  const KnobPanelLayout layout = LayoutKnobPanel(gdi::Rect(0, 0, 118, 58));
  // 58 x 58 about the centre, less 7 on every side.
  EXPECT_EQ(layout.dial, gdi::Rect(37, 7, 81, 51));
  EXPECT_EQ(layout.leftArrow, gdi::Rect(3, 6, 26, 52));
  EXPECT_EQ(layout.rightArrow, gdi::Rect(92, 6, 115, 52));
  EXPECT_EQ(DialCentre(gdi::Rect(0, 0, 118, 58)), gdi::Point(59, 22));
  // A ridge at 0 degrees points up: its far edge above the centre, lit from the upper left.
  const auto ridge = Ridge(gdi::Rect(0, 0, 100, 100), 0);
  EXPECT_EQ(ridge[0].from, gdi::Point(45, 40));
  EXPECT_EQ(ridge[2].to, gdi::Point(45, 7));
  EXPECT_FALSE(ridge[0].highlight);
  EXPECT_TRUE(ridge[3].highlight);
  // At 90 degrees it points right.
  EXPECT_EQ(Ridge(gdi::Rect(0, 0, 100, 100), 90)[2].to, gdi::Point(93, 45));
}

class KnobControlTest : public ControlTest {
 protected:
  void Open(TestContainer& box) {
    item_ = box.AddItem(CLSID_KnobControl, {20, 20, 140, 44});
    ASSERT_NE(item_, nullptr);
    knob_ = LastMade<CKnobControl>();
    ASSERT_TRUE(box.Activate(item_));
    ASSERT_TRUE(knob_->IsWindow());
    ASSERT_TRUE(sink_.Connect(knob_->GetUnknown()));
  }
  void TearDown() override {
    sink_.Disconnect();
    ControlTest::TearDown();
  }
  void Set(DispId dispid, float value) {
    Variant v;
    variantInit(&v);
    v.vt = VT_R4;
    v.r4 = value;
    DispatchDriver driver(knob_->GetIDispatch(false));
    ASSERT_EQ(driver.setProperty(dispid, v), S_OK);
  }
  // Over the knob (hot), then a click that opens the panel.
  ui::Wnd& OpenPanel() {
    ui::input::MouseMove(knob_, {10, 10});
    EXPECT_TRUE(knob_->IsHot());
    ui::input::MouseDown(knob_, {10, 10});
    ui::input::MouseUp(knob_, {10, 10});
    return knob_->Panel();
  }

  plat::ole::testing::TestItem* item_ = nullptr;
  CKnobControl* knob_ = nullptr;
  EventSink sink_{DIID__DKnobEvents};
};

TEST_F(KnobControlTest, ArrowsOfThePanelStepTheValueAndFireOnPressAndRelease) {
  TestContainer box;
  Open(box);
  Set(id::kKnobMinValue, 0);
  Set(id::kKnobMaxValue, 100);
  Set(id::kKnobValue, 95);
  EXPECT_EQ(sink_.Total(), 0);

  ui::Wnd& panel = OpenPanel();
  ASSERT_TRUE(panel.IsWindow());
  gdi::Rect knobRect, panelRect, client;
  knob_->GetWindowRect(&knobRect);
  panel.GetWindowRect(&panelRect);
  EXPECT_EQ(panelRect, gdi::Rect(knobRect.left, knobRect.bottom, knobRect.right, knobRect.bottom + 60));
  EXPECT_EQ(ui::Wnd::GetCapture(), &panel);
  panel.GetClientRect(&client);
  const KnobPanelLayout layout = LayoutKnobPanel(client);

  const ui::Point right = layout.rightArrow.CenterPoint(), left = layout.leftArrow.CenterPoint();
  ui::input::MouseDown(&panel, right);
  EXPECT_EQ(knob_->GetValue(), 100.0f);
  EXPECT_EQ(sink_.Count(id::kKnobNewValueSet), 1);
  ui::input::MouseUp(&panel, right);
  EXPECT_EQ(sink_.Count(id::kKnobNewValueSet), 2);
  ui::input::Click(&panel, left);
  EXPECT_EQ(knob_->GetValue(), 90.0f);
  EXPECT_EQ(sink_.Count(id::kKnobNewValueSet), 4);

  // Multiplicative: the left arrow halves, the right one doubles.
  Set(id::kKnobIncrement, 2);
  Variant mode;
  variantInit(&mode);
  mode.vt = VT_I4;
  mode.i32 = 1;
  DispatchDriver(knob_->GetIDispatch(false)).setProperty(id::kKnobIncMode, mode);
  ui::input::Click(&panel, left);
  EXPECT_EQ(knob_->GetValue(), 45.0f);
  ui::input::Click(&panel, right);
  ui::input::Click(&panel, right);
  EXPECT_EQ(knob_->GetValue(), 100.0f);

  // Leaving both windows closes the panel and cools the knob.
  ui::input::MouseMove(&panel, {client.right + 300, client.bottom + 300});
  EXPECT_FALSE(panel.IsWindow());
  EXPECT_FALSE(knob_->IsHot());
  EXPECT_EQ(ui::Wnd::GetCapture(), nullptr);
}

TEST_F(KnobControlTest, DraggingTheDialTurnsTheValueAndEveryMoveFires) {
  TestContainer box;
  Open(box);
  Set(id::kKnobMinValue, -1000);
  Set(id::kKnobMaxValue, 1000);
  ui::Wnd& panel = OpenPanel();
  gdi::Rect client;
  panel.GetClientRect(&client);
  const gdi::Point middle = client.CenterPoint(), centre = DialCentre(client);

  // Straight above the middle, then a quarter turn to the right of the dial centre.
  ui::App::PumpPending();
  KeepPng(*panel.Render(), "knobpanel.png");
  ui::input::MouseDown(&panel, {middle.x, middle.y - 20});
  EXPECT_EQ(sink_.Total(), 0);
  ui::input::MouseMove(&panel, {centre.x + 20, centre.y}, ui::MK_LBUTTON);
  EXPECT_NEAR(knob_->GetValue(), 30.0f, 1e-3);
  EXPECT_TRUE(knob_->IsModified());
  // Back a quarter turn, through the top.
  ui::input::MouseMove(&panel, {centre.x, centre.y - 20}, ui::MK_LBUTTON);
  EXPECT_NEAR(knob_->GetValue(), 0.0f, 1e-3);
  EXPECT_EQ(sink_.Count(id::kKnobNewValueSet), 2);
  ui::input::MouseUp(&panel, {centre.x, centre.y - 20});
  // Not dragging any more: moves inside the panel change nothing.
  ui::input::MouseMove(&panel, {centre.x + 20, centre.y});
  EXPECT_EQ(sink_.Count(id::kKnobNewValueSet), 2);
  EXPECT_TRUE(panel.IsWindow());
  ui::input::MouseMove(&panel, {-400, -400});
  EXPECT_FALSE(panel.IsWindow());
}

TEST_F(KnobControlTest, RightClickResetsOutsideTheRangeAndTheFaceShowsTheCaption) {
  TestContainer box;
  Open(box);
  Set(id::kKnobMinValue, 0);
  Set(id::kKnobMaxValue, 10);
  Set(id::kKnobInitValue, 77);
  ui::input::Click(knob_, {5, 5}, ui::MK_RBUTTON);
  EXPECT_EQ(knob_->GetValue(), 77.0f);
  EXPECT_EQ(sink_.Count(id::kKnobNewValueSet), 1);
  // Property puts fire nothing.
  Set(id::kKnobValue, 3);
  EXPECT_EQ(sink_.Total(), 1);

  // Sunken while cold, raised while hot.
  ui::App::PumpPending();
  const gdi::COLORREF light = gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT), dark = gdi::GetSysColor(gdi::COLOR_BTNSHADOW);
  EXPECT_EQ(knob_->Render()->GetPixel(0, 0), dark);
  ui::input::MouseMove(knob_, {5, 5});
  ui::App::PumpPending();
  auto hot = knob_->Render();
  EXPECT_EQ(hot->GetPixel(0, 0), light);
  EXPECT_EQ(hot->GetPixel(hot->Width() - 1, hot->Height() - 1), dark);
  // The caption's text is drawn in the menu text colour, centred: none near the edges.
  const gdi::COLORREF text = gdi::GetSysColor(gdi::COLOR_MENUTEXT), menu = gdi::GetSysColor(gdi::COLOR_MENU);
  const gdi::Rect inside(1, 1, hot->Width() - 1, hot->Height() - 1);
  EXPECT_EQ(CountInk(*hot, text, menu, &inside), 0);
  const Bstr caption = allocString(u"%.2f");
  knob_->SetCaption(caption);
  freeString(caption);
  knob_->UpdateWindow();
  auto shown = knob_->Render();
  KeepPng(*shown, "knobface.png");
  EXPECT_GT(CountInk(*shown, text, menu, &inside), 20);
  const gdi::Rect edge(1, 1, 30, shown->Height() - 1);
  EXPECT_EQ(CountInk(*shown, text, menu, &edge), 0);
  ui::input::MouseMove(knob_, {-300, -300});
  EXPECT_FALSE(knob_->IsHot());
}

}  // namespace
}  // namespace karvel::test
