// The control's bars: every bar's buttons with their ids, tool tips from the console table and
// their enabled state after idle as the update rules give it; the knobs hosted through the
// auxiliary knob (phase, amplitude, integral) turning the control's state and following it;
// the baseline combos, the multi-display list and the navigator; and bars without the
// auxiliary controls keeping their places.
#include <cmath>

#include "controls/knob/knobcontrol.h"
#include "controls/scroll/scrollcontrol.h"
#include "platform/base/text.h"
#include "platform/ui/app.h"
#include "platform/ui/input.h"
#include "platform/ui/resource.h"
#include "spectrum/control/console/consoletable.h"
#include "spectrum/control/console/tests/console_testing.h"
#include "spectrum/control/console/toolbars.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/module/spcapp.h"

namespace nelvar_test {
namespace {

using plat::ole::testing::TestContainer;

struct BarLayout {
  ui::UINT id;
  const char* title;
  std::vector<ui::UINT> items;  // by index; 0 a gap; an embedded control's id at its place
};

const std::vector<BarLayout>& Layouts() {
  static const std::vector<BarLayout> layouts = {
      {506, "Spectrum Control", {1001, 0, 1045, 0, 40099, 40100, 40101, 40102, 40045, 40051, 40046}},
      {507, "Phase Control", {1029, 0, 1030, 0, 40076, 40031, 40030, 40034, 40117, 40118, 40069}},
      {508, "Integral Control", {1003, 0, 1044, 0, 40109, 40070, 40056, 40039, 40104, 40124, 40138}},
      {509, "Calibrate Control", {40075, 40068, 40119, 40022, 40038, 40103}},
      {510, "Transforms", {40024, 40028, 40050, 40029}},
      {511, "Baseline", {40080, 40081, 40082, 0, 1051, 0, 1054}},
      {512, "Multi Display", {1055, 0, 40150, 40151, 0, 40152, 40154, 40153}},
      {513, "Navigator", {40164, 40162, 1060, 40161, 40165}},
  };
  return layouts;
}

bool IsEmbedded(ui::UINT id) { return id > 0 && id < 2000; }
constexpr ui::UINT kCheckBoxes[] = {40076, 40109, 40075, 40080, 40081};

class ToolbarsTest : public BarsTest {
 protected:
  CSpcControl* Open(TestContainer& box, std::int32_t kind = 0, std::int32_t n = 256) {
    nelvar::testing::HostItem* item = AddControl(box, {10, 10, 400, 300});
    CSpcControl* control = LastControl();
    GiveSpectrum(*control, kind, n);
    EXPECT_TRUE(box.Activate(item));
    ShowAllBars(*control);
    return control;
  }
  // The scroll strip on the spectrum bar of the box's control.
  karvel::CScrollControl* StripOf(TestContainer& box) {
    auto* bar = Find<CSpectrumBar>(box, nelvar::IDW_SPECTRUMBAR);
    return bar ? dynamic_cast<karvel::CScrollControl*>(bar->m_scroll.ControlWindow()) : nullptr;
  }
  // The knob control behind a host.
  static karvel::CKnobControl* KnobOf(CKnob& host) { return dynamic_cast<karvel::CKnobControl*>(host.ControlWindow()); }
  static void RightClick(CKnob& knob) {
    ASSERT_NE(knob.ControlWindow(), nullptr);
    ui::input::Click(knob.ControlWindow(), {4, 4}, ui::MK_RBUTTON);
    ui::App::PumpPending();
  }
};

TEST_F(ToolbarsTest, EveryBarHasItsButtonsTipsAndTheStateTheUpdateRulesGive) {
  TestContainer box(1000, 700);
  CSpcControl* control = Open(box);
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  for (const BarLayout& layout : Layouts()) {
    SCOPED_TRACE(layout.id);
    auto* bar = Find<ui::ToolBar>(box, layout.id);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetWindowText(), layout.title);
    ASSERT_EQ(bar->GetCount(), static_cast<int>(layout.items.size()));
    for (int i = 0; i < bar->GetCount(); ++i) {
      const ui::UINT want = layout.items[static_cast<std::size_t>(i)];
      ui::UINT id = 0, style = 0;
      int image = 0;
      bar->GetButtonInfo(i, &id, &style, &image);
      EXPECT_EQ(id, want) << "entry " << i;
      if (want == 0 || IsEmbedded(want)) {
        EXPECT_TRUE(style & ui::TBBS_SEPARATOR) << "entry " << i;
        if (want) {
          ui::Wnd* embedded = bar->GetDlgItem(want);
          ASSERT_NE(embedded, nullptr) << want;
          ui::Rect place, at;
          bar->GetItemRect(i, &place);
          embedded->GetWindowRect(&at);
          bar->ScreenToClient(&at);
          EXPECT_EQ(at.left, place.left) << want;
          EXPECT_EQ(at.Width(), place.Width()) << want;
        }
        continue;
      }
      // (An update rule that checks a button makes it a check box as well.)
      if (std::count(std::begin(kCheckBoxes), std::end(kCheckBoxes), want)) {
        EXPECT_TRUE(style & ui::TBBS_CHECKBOX) << want;
      }
      const ui::CommandState state = ui::QueryCommandState(control, want, true);
      EXPECT_EQ(!(style & ui::TBBS_DISABLED), state.enabled) << want;
      ui::Rect r;
      bar->GetItemRect(i, &r);
      EXPECT_EQ(ui::input::Hover(bar, r.CenterPoint()), nelvar::ConsoleHelpText(want)) << want;
    }
  }
  // Knob places are six times as wide as button 4; the baseline combos four and two times button 1.
  auto* spectrum = Find<ui::ToolBar>(box, 506);
  ui::Rect knob, button;
  spectrum->GetItemRect(0, &knob);
  spectrum->GetItemRect(4, &button);
  EXPECT_EQ(knob.Width(), 6 * button.Width());
}

TEST_F(ToolbarsTest, ThePhaseKnobsTurnThePhaseThroughTheKnobAndFollowIt) {
  TestContainer box(1000, 700);
  CSpcControl* control = Open(box);
  auto* bar = Find<CPhaseBar>(box, nelvar::IDW_PHASEBAR);
  ASSERT_NE(bar, nullptr);
  karvel::CKnobControl* knob = KnobOf(bar->m_phase0);
  ASSERT_NE(knob, nullptr);
  EXPECT_EQ(knob->GetMaxValue(), 10000.0f);
  EXPECT_EQ(knob->GetMinValue(), -10000.0f);
  EXPECT_EQ(knob->GetIncrement(), 10.0f);
  EXPECT_EQ(knob->GetIncMode(), 0);
  plat::ole::Bstr caption = knob->GetCaption();
  EXPECT_EQ(plat::toUtf8(plat::ole::stringView(caption)), "Phase 0: %.2f deg");
  plat::ole::freeString(caption);

  // A right click resets the knob to its initial value, and the knob's event sets PH0.
  bar->m_phase0.SetInitValue(45.0f);
  RightClick(bar->m_phase0);
  EXPECT_EQ(control->m_process.m_fPH0, 45.0f);
  bar->m_phase1.SetInitValue(-30.0f);
  RightClick(bar->m_phase1);
  EXPECT_EQ(control->m_process.m_fPH1, -30.0f);

  // And the knobs follow the control on idle.
  control->m_process.m_fPH0 = 12.5f;
  control->Refresh();
  ui::App::PumpPending();
  EXPECT_EQ(bar->m_phase0.GetValue(), 12.5f);
  EXPECT_EQ(bar->m_phase1.GetValue(), -30.0f);
  // A picture of the bar for a person to look at.
  bar->UpdateWindow();
  bar->Render()->SavePng(::testing::TempDir() + "phasebar.png");
}

TEST_F(ToolbarsTest, AmplitudeAndIntegralKnobsScaleByAHundredth) {
  TestContainer box(1000, 700);
  CSpcControl* control = Open(box);
  auto* spectrum = Find<CSpectrumBar>(box, nelvar::IDW_SPECTRUMBAR);
  auto* integral = Find<CIntegralBar>(box, nelvar::IDW_INTEGRALBAR);
  ASSERT_TRUE(spectrum && integral);
  karvel::CKnobControl* amplitude = KnobOf(spectrum->m_knob);
  ASSERT_NE(amplitude, nullptr);
  EXPECT_EQ(amplitude->GetIncMode(), 1);
  EXPECT_EQ(amplitude->GetMinValue(), 0.001f);
  spectrum->m_knob.SetInitValue(250.0f);
  RightClick(spectrum->m_knob);
  EXPECT_FLOAT_EQ(control->m_drawList.m_fAmplitude, 2.5f);
  integral->m_slope.SetInitValue(-40.0f);
  RightClick(integral->m_slope);
  EXPECT_FLOAT_EQ(control->m_process.m_fSlope, -0.4f);
  integral->m_scale.SetInitValue(300.0f);
  RightClick(integral->m_scale);
  EXPECT_FLOAT_EQ(control->m_drawList.m_fIntegralScale, 3.0f);
  // The strip shows the visible range and the point count.
  control->Refresh();
  ui::App::PumpPending();
  EXPECT_EQ(spectrum->m_scroll.GetLeftBound(), static_cast<std::int32_t>(std::lround(control->m_drawList.m_fLeftBound)));
  EXPECT_EQ(spectrum->m_scroll.GetRightBound(), static_cast<std::int32_t>(std::lround(control->m_drawList.m_fRightBound)));
}

TEST_F(ToolbarsTest, BaselineCombosSetTheMethodAndTheSplineFactor) {
  TestContainer box(1000, 700);
  CSpcControl* control = Open(box);
  auto* bar = Find<CBaselineBar>(box, nelvar::IDW_BASELINEBAR);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->m_method.GetCount(), 7);
  EXPECT_EQ(bar->m_method.GetLBText(2), "Cuadratic");
  ASSERT_EQ(bar->m_spline.GetCount(), 10);
  auto choose = [&](ui::ComboBox& combo, int index) {
    combo.SetCurSel(index);
    bar->SendMessage(ui::WM_COMMAND, ui::MAKEWPARAM(combo.GetDlgCtrlID(), ui::CBN_SELCHANGE),
                     static_cast<ui::LPARAM>(combo.m_hWnd));
    ui::App::PumpPending();
  };
  choose(bar->m_method, 0);
  EXPECT_EQ(control->m_process.m_nBaselineMethod, 0);
  EXPECT_TRUE(bar->m_spline.IsWindowEnabled());
  // The default factor 4.0e9 has no entry.
  EXPECT_EQ(bar->m_spline.GetCurSel(), -1);
  choose(bar->m_spline, 3);
  EXPECT_FLOAT_EQ(control->m_process.m_fSplineFactor, 1000.0f);
  EXPECT_EQ(bar->m_spline.GetCurSel(), 3);
  choose(bar->m_method, 2);
  EXPECT_EQ(control->m_process.m_nBaselineMethod, 2);
  EXPECT_FALSE(bar->m_spline.IsWindowEnabled());
  EXPECT_EQ(nelvar::SplineEntry(0.0f), -1);
  EXPECT_EQ(nelvar::SplineEntry(-5.0f), -1);
  EXPECT_EQ(nelvar::SplineEntry(1.0f), 0);
  EXPECT_EQ(nelvar::SplineEntry(3.2e9f), -1);
}

TEST_F(ToolbarsTest, TheMultiDisplayListNamesTheFileSpectraAndTheNavigatorTheScan) {
  TestContainer box(1000, 700);
  AddControl(box, {10, 320, 400, 600});
  CSpcControl* other = LastControl();
  GiveSpectrum(*other, 0);
  other->m_data.strName = "second";
  CSpcControl* control = Open(box, 1, 1);
  control->m_data.strName = "SAMPLE";
  control->Refresh();
  ui::App::PumpPending();
  auto* multi = Find<CMultiDispBar>(box, nelvar::IDW_MULTIDISPBAR);
  ASSERT_NE(multi, nullptr);
  ASSERT_EQ(multi->m_items.GetCount(), 2);
  EXPECT_EQ(multi->m_items.GetLBText(0), "second");
  EXPECT_EQ(multi->m_items.GetCurSel(), 1);  // its own name, without regard to case
  EXPECT_TRUE(multi->m_items.IsWindowEnabled());

  auto* navigate = Find<CNavigateBar>(box, nelvar::IDW_NAVIGATEBAR);
  ASSERT_NE(navigate, nullptr);
  EXPECT_EQ(navigate->m_scan.GetWindowText(), "1");
  EXPECT_FALSE(navigate->m_scan.IsWindowEnabled());
  GiveSpectrum(*control, 1, 3);
  control->m_process.SetScan(2);
  control->Refresh();
  ui::App::PumpPending();
  EXPECT_EQ(navigate->m_scan.GetWindowText(), "3");
  EXPECT_TRUE(navigate->m_scan.IsWindowEnabled());
}

TEST_F(ToolbarsTest, ClearLeavesTheStripEmpty) {
  TestContainer box(1000, 700);
  CSpcControl* control = Open(box);
  karvel::CScrollControl* strip = StripOf(box);
  ASSERT_NE(strip, nullptr);
  ASSERT_NE(strip->GetImage(), 0);
  ASSERT_GT(strip->GetPoints(), 0);
  // The overview's trace: dark pixels on the strip.
  const auto traced = [&] {
    ui::App::PumpPending();
    strip->UpdateWindow();
    const gdi::WindowSurface& s = *strip->GetClientSurface();
    return s.CountPixels(gdi::RGB(0, 0, 0));
  };
  ASSERT_GT(traced(), 20);
  control->SendMessage(ui::WM_COMMAND, 40170);
  EXPECT_EQ(traced(), 0);
  EXPECT_FALSE(control->HoldsData());
  EXPECT_EQ(strip->GetImage(), 0);
  EXPECT_EQ(strip->GetPoints(), 0);
}

TEST_F(ToolbarsTest, TheStripSelectsTheScanOfAMassRecordAndTheRangeOfOthers) {
  TestContainer box(1000, 700);
  CSpcControl* control = Open(box);
  karvel::CScrollControl* strip = StripOf(box);
  ASSERT_NE(strip, nullptr);
  // A drag in the strip's panel to a fraction of its width, as a user makes it.
  auto drag = [&](double fraction) {
    ui::input::MouseMove(strip, {10, 5});
    ui::input::MouseDown(strip, {10, 5});
    ui::Wnd& panel = strip->Panel();
    ASSERT_TRUE(panel.IsWindow());
    gdi::Rect client;
    panel.GetClientRect(&client);
    const ui::Point to{static_cast<int>(client.Width() * fraction), 30};
    ui::input::MouseMove(&panel, to, ui::MK_LBUTTON);
    ui::input::MouseUp(&panel, to);
    ui::input::MouseMove(&panel, {10, 500});
    ui::App::PumpPending();
  };
  EXPECT_EQ(strip->GetPoints(), 256);
  const float width = control->m_drawList.m_fRightBound - control->m_drawList.m_fLeftBound;
  control->m_drawList.m_fRightBound = control->m_drawList.m_fLeftBound + width / 4;
  control->Refresh();
  ui::App::PumpPending();
  drag(0.5);
  EXPECT_GT(control->m_drawList.m_fLeftBound, 0.0f);
  EXPECT_EQ(control->m_drawList.m_fLeftBound, static_cast<float>(strip->GetLeftBound()));
  EXPECT_EQ(control->m_drawList.m_fRightBound, static_cast<float>(strip->GetRightBound()));
  EXPECT_LE(control->m_drawList.m_fRightBound, 255.0f);

  GiveSpectrum(*control, 1, 4);
  control->Refresh();
  ui::App::PumpPending();
  EXPECT_EQ(strip->GetPoints(), 4);
  EXPECT_EQ(strip->GetLeftBound(), 0);
  EXPECT_EQ(strip->GetRightBound(), 1);
  drag(0.6);
  EXPECT_GT(control->m_process.m_nScan, 0);
  EXPECT_LT(control->m_process.m_nScan, 4);
  EXPECT_EQ(strip->GetLeftBound(), control->m_process.m_nScan);
}

class BarsWithoutKnobsTest : public ToolbarsTest {
 protected:
  bool WithAuxiliaryControls() const override { return false; }
  // Nor are knobs registered anywhere this test looks, whatever the user's registry holds.
  OwnRegistry registry_;
};

TEST_F(BarsWithoutKnobsTest, PlacesStayAndTheRestOfTheBarWorks) {
  TestContainer box(1000, 700);
  Open(box);
  auto* phase = Find<CPhaseBar>(box, nelvar::IDW_PHASEBAR);
  ASSERT_NE(phase, nullptr);
  EXPECT_FALSE(phase->m_phase0.IsWindow());
  EXPECT_EQ(phase->GetDlgItem(1029), nullptr);
  ui::UINT id = 0, style = 0;
  int image = 0;
  phase->GetButtonInfo(0, &id, &style, &image);
  EXPECT_EQ(id, 1029u);
  EXPECT_FALSE(style & ui::TBBS_SEPARATOR);  // the placeholder stays a button
  EXPECT_EQ(phase->CommandToIndex(40031), 5);
  auto* spectrum = Find<CSpectrumBar>(box, nelvar::IDW_SPECTRUMBAR);
  ASSERT_NE(spectrum, nullptr);
  EXPECT_FALSE(spectrum->m_scroll.IsWindow());
  ui::App::PumpPending();  // idle updates with no knob change nothing
}

}  // namespace
}  // namespace nelvar_test
