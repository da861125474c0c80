// The view commands (zoom and its history, full size, scrolling, display, scans) and the
// multi-display commands over the items of a container that offers IOrvClientSite: tile,
// couple, synchronize, clone and the ion plot's new item; and Edit Configuration File.
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "platform/base/file.h"
#include "platform/ui/messages.h"
#include "platform/ui/responder.h"
#include "spectrum/control/control/tests/interaction_testing.h"
#include "spectrum/control/control/tests/spectrum_files.h"
#include "spectrum/control/module/command_ids.h"
#include "spectrum/control/module/spcapp.h"

namespace nelvar_test {
namespace {

using plat::ole::testing::TestContainer;

class ViewTest : public InteractionTest {
 protected:
  static CVariant Text(const char* text) {
    CVariant v;
    v.SetString(text);
    return v;
  }
};

TEST_F(ViewTest, ZoomHistoryFullSizeAndScrollingKeepToTheirBounds) {
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 0, 256);
  c.m_drawList.m_fLeftBound = 100.0f;
  c.m_drawList.m_fRightBound = 108.0f;
  c.OnZoomIn();  // 8 wide: pushed, unchanged
  EXPECT_EQ(c.m_drawList.m_fRightBound, 108.0f);
  c.OnZoomOut();
  EXPECT_EQ(c.m_drawList.m_fLeftBound, 100.0f);
  EXPECT_TRUE(c.m_zoomHistory.empty());
  c.OnFullSize();
  c.OnZoomIn();  // a quarter off each side
  EXPECT_EQ(c.m_drawList.m_fLeftBound, 63.75f);
  EXPECT_EQ(c.m_drawList.m_fRightBound, 191.25f);

  c.m_drawList.m_fLeftBound = 3.0f;
  c.m_drawList.m_fRightBound = 103.0f;
  c.OnScrollLeft();  // a tenth would pass 0: moves by 3
  EXPECT_EQ(c.m_drawList.m_fLeftBound, 0.0f);
  EXPECT_EQ(c.m_drawList.m_fRightBound, 100.0f);
  EXPECT_FALSE(ui::QueryCommandState(&c, 40099).enabled);
  c.m_drawList.m_fLeftBound = 150.0f;
  c.m_drawList.m_fRightBound = 250.0f;
  c.OnScrollRight();  // stops at point count - 1
  EXPECT_EQ(c.m_drawList.m_fRightBound, 255.0f);
  EXPECT_EQ(c.m_drawList.m_fLeftBound, 155.0f);
  EXPECT_TRUE(c.m_drawList.m_bHold);

  c.OnFullSize();
  EXPECT_EQ(c.m_drawList.m_fLeftBound, 0.0f);
  EXPECT_EQ(c.m_drawList.m_fRightBound, 255.0f);
  EXPECT_FALSE(ui::QueryCommandState(&c, 40046).enabled);
  EXPECT_TRUE(ui::QueryCommandState(&c, 40045).enabled);

  // Masses 100 to 502 over three scans: 5 % of the span on each side, rounded up.
  GiveSpectrum(c, 1, 3);
  c.m_drawList.m_fLeftBound = 170.0f;
  c.OnFullSize();
  EXPECT_EQ(c.m_drawList.m_fLeftBound, std::ceil(100.0f - 0.05f * 402.0f));
  EXPECT_EQ(c.m_drawList.m_fRightBound, std::ceil(502.0f + 0.05f * 402.0f));
  // Scans step within their count.
  c.OnScan(40165);
  EXPECT_EQ(c.m_process.m_nScan, 2);
  c.OnScan(40161);
  EXPECT_EQ(c.m_process.m_nScan, 2);
  EXPECT_FALSE(ui::QueryCommandState(&c, 40161).enabled);
  c.OnScan(40162);
  EXPECT_EQ(c.m_process.m_nScan, 1);
}

TEST_F(ViewTest, UnitMenusCheckTheUnitThatIsDrawnAfterFT) {
  CSpcControl& c = *NewControl();
  ASSERT_EQ(c.LoadFromPath(SAMPLE_FID, 0), plat::ole::S_OK);
  constexpr ui::UINT kScalePpm = nelvar::ID_SCALE_UNIT_FIRST + 0, kScaleHertz = nelvar::ID_SCALE_UNIT_FIRST + 1,
                     kScaleSec = nelvar::ID_SCALE_UNIT_FIRST + 4, kPeakPpm = nelvar::ID_PEAK_UNIT_FIRST + 0,
                     kPeakSec = nelvar::ID_PEAK_UNIT_FIRST + 4;
  EXPECT_EQ(ui::QueryCommandState(&c, kScaleSec).check, 1);
  EXPECT_EQ(ui::QueryCommandState(&c, kPeakSec).check, 1);
  EXPECT_FALSE(ui::QueryCommandState(&c, kScalePpm).enabled);
  ASSERT_EQ(c.SpectrumControl()->ExecuteCommands(u"FT"), plat::ole::S_OK);
  for (ui::UINT id : {kScaleSec, kPeakSec}) {
    const ui::CommandState sec = ui::QueryCommandState(&c, id);
    EXPECT_FALSE(sec.enabled) << id;
    EXPECT_EQ(sec.check, 0) << id;
  }
  for (ui::UINT id : {kScalePpm, kPeakPpm}) {
    const ui::CommandState ppm = ui::QueryCommandState(&c, id);
    EXPECT_TRUE(ppm.enabled) << id;
    EXPECT_EQ(ppm.check, 1) << id;
  }
  std::string unit;
  ASSERT_TRUE(c.GetParamText("XUNITS", &unit));
  EXPECT_EQ(unit, "PPM");
  // Choosing from there works: Hertz is drawn and checked.
  c.OnCommand(kScaleHertz, 0);
  EXPECT_EQ(ui::QueryCommandState(&c, kScaleHertz).check, 1);
  EXPECT_EQ(ui::QueryCommandState(&c, kScalePpm).check, 0);
  ASSERT_TRUE(c.GetParamText("XUNITS", &unit));
  EXPECT_EQ(unit, "Hertz");
}

TEST_F(ViewTest, ClearTakesThePlotOffTheScreen) {
  TestContainer box;
  CSpcControl* c = AddControl(box, {0, 0, 400, 300});
  ASSERT_NE(c, nullptr);
  GiveSpectrum(*c, 0, 256);
  Show(box, *c);
  const gdi::COLORREF back = c->GetClientSurface()->GetPixel(1, 1);
  const auto drawn = [&] {
    const gdi::WindowSurface& s = *c->GetClientSurface();
    return s.Width() * s.Height() - s.CountPixels(back);
  };
  ASSERT_GT(drawn(), 1000);
  // The console's word, as a user types it.
  c->SendMessage(ui::WM_COMMAND, 40170);
  Settle(*c);
  EXPECT_FALSE(c->HoldsData());
  EXPECT_EQ(drawn(), 0);
  EXPECT_TRUE(ShowsItsState(*c));
}

TEST_F(ViewTest, TileCoupleAndSynchronizeWorkOverTheFileItemsOfTheDocument) {
  TestContainer box(900, 700);
  CSpcControl& a = *AddControl(box, {0, 0, 300, 200});
  CSpcControl& b = *AddControl(box, {0, 200, 300, 400});
  CSpcControl& m = *AddControl(box, {300, 0, 600, 200});
  GiveSpectrum(a, 0, 256);
  GiveSpectrum(b, 0, 512);
  GiveSpectrum(m, 1, 3);
  ASSERT_TRUE(ui::QueryCommandState(&a, 40152).enabled);

  b.SetModifiedFlag(false);
  a.OnTile();
  EXPECT_TRUE(b.IsModified());  // each changed item is saved with its new band
  const float third = 1.0f / 3.0f;
  EXPECT_FLOAT_EQ(a.m_drawList.m_fTopMargin, 0.0f);
  EXPECT_FLOAT_EQ(a.m_drawList.m_fBottomMargin, 1.0f - third);
  EXPECT_FLOAT_EQ(b.m_drawList.m_fTopMargin, third);
  EXPECT_FLOAT_EQ(b.m_drawList.m_fBottomMargin, 1.0f - 2.0f * third);
  EXPECT_FLOAT_EQ(m.m_drawList.m_fTopMargin, 2.0f * third);
  EXPECT_FLOAT_EQ(m.m_drawList.m_fBottomMargin, 0.0f);
  b.OnCouple();
  for (CSpcControl* c : {&a, &b, &m}) {
    EXPECT_EQ(c->m_drawList.m_fTopMargin, 0.0f);
    EXPECT_EQ(c->m_drawList.m_fBottomMargin, 0.0f);
  }

  // Synchronize links the items of the kind; a zoom then carries over by ppm.
  a.OnSynchronize();
  EXPECT_EQ(a.m_linkUnit, 1u);
  EXPECT_EQ(b.m_linkUnit, 1u);
  EXPECT_EQ(m.m_linkUnit, 0u);
  EXPECT_EQ(ui::QueryCommandState(&a, 40153).check, 1);
  const float massLeft = m.m_drawList.m_fLeftBound;
  a.m_drawList.m_fLeftBound = 64.0f;
  a.m_drawList.m_fRightBound = 128.0f;
  a.OnAmplitudeUp();
  // Twice the points over the same sweep width: twice the indexes.
  EXPECT_NEAR(b.m_drawList.m_fLeftBound, 128.0f, 1.0f);
  EXPECT_NEAR(b.m_drawList.m_fRightBound, 256.0f, 1.0f);
  EXPECT_EQ(b.m_drawList.m_fLeftBound, static_cast<float>(b.m_process.PpmToPoint(static_cast<float>(a.m_process.PointToPpm(64)))));
  EXPECT_FLOAT_EQ(b.m_drawList.m_fAmplitude, 1.5f);
  EXPECT_EQ(m.m_drawList.m_fLeftBound, massLeft);
  // A last bound that converts to point 0 leaves the other's last bound as it was.
  const float bRight = b.m_drawList.m_fRightBound;
  a.m_drawList.m_fLeftBound = 0.0f;
  a.m_drawList.m_fRightBound = 0.0f;
  a.SynchronizeViews();
  EXPECT_EQ(b.m_drawList.m_fLeftBound, 0.0f);
  EXPECT_EQ(b.m_drawList.m_fRightBound, bRight);
  a.OnSynchronize();
  EXPECT_EQ(b.m_linkUnit, 0u);

  // Without a container nothing but the own link changes.
  CSpcControl& alone = *NewControl();
  GiveSpectrum(alone, 0, 64);
  alone.OnTile();
  EXPECT_EQ(alone.m_drawList.m_fTopMargin, 0.0f);
  alone.OnSynchronize();
  EXPECT_EQ(alone.m_linkUnit, 1u);
  EXPECT_FALSE(ui::QueryCommandState(&alone, 40152).enabled);
}

TEST_F(ViewTest, CloneMakesAnItemOfTheSelectedRangeBesideTheControl) {
  TestContainer box(900, 700);
  CSpcControl& a = *AddControl(box, {0, 0, 400, 300});
  GiveSpectrum(a, 0, 256);
  Show(box, a);
  ItemOf(&a)->m_record = {1, 1, 100, 100, 300, 200, 1};
  const gdi::Rect plot = a.m_drawList.FindDrawObject(kDrawSpectrum)->m_area;
  a.m_drawList.m_selection = gdi::Rect(plot.left + 40, plot.top + 10, plot.left + 120, plot.top + 50);
  const double left = a.m_drawList.XToPos(plot.left + 40), right = a.m_drawList.XToPos(plot.left + 120);
  const std::size_t before = box.Document().GetItems().size();
  a.SendMessage(ui::WM_COMMAND, 40022);
  ASSERT_EQ(box.Document().GetItems().size(), before + 1);
  auto* made = dynamic_cast<nelvar::testing::HostItem*>(box.Document().GetItems().back());
  ASSERT_NE(made, nullptr);
  // 200 x 100 moved by a tenth, then halved from the moved corner.
  EXPECT_EQ(made->m_record.left, 120);
  EXPECT_EQ(made->m_record.top, 110);
  EXPECT_EQ(made->m_record.right, 300 - (300 - 120) / 2);
  EXPECT_EQ(made->m_record.bottom, 200 - (200 - 110) / 2);
  EXPECT_EQ(made->m_record.subtype, 5);
  EXPECT_EQ(made->m_record.fromFile, 1);
  CSpcControl* clone = CSpcControl::ControlOf(made->GetOleObject());
  ASSERT_NE(clone, nullptr);
  EXPECT_FLOAT_EQ(clone->m_drawList.m_fLeftBound, static_cast<float>(left));
  EXPECT_FLOAT_EQ(clone->m_drawList.m_fRightBound, static_cast<float>(right));
  EXPECT_EQ(clone->m_drawList.m_nBase, 0);
  EXPECT_EQ(clone->m_data.spectrum().size(), a.m_data.spectrum().size());
  EXPECT_TRUE(a.m_drawList.m_selection.IsRectEmpty());
}

TEST_F(ViewTest, TheIonPlotIsANewItemInThePlaceOfTheFirstIonCurrentItem) {
  TestContainer box(900, 700);
  CSpcControl& mass = *AddControl(box, {0, 0, 300, 200});
  CSpcControl& tic = *AddControl(box, {0, 200, 300, 400});
  GiveSpectrum(mass, 1, 4);
  GiveSpectrum(tic, 5, 16);
  ItemOf(&tic)->m_record = {1, 1, 10, 420, 310, 620, 1};
  EXPECT_TRUE(ui::QueryCommandState(&mass, 40169).enabled);
  EXPECT_FALSE(ui::QueryCommandState(&tic, 40169).enabled);
  const std::size_t before = box.Document().GetItems().size();
  mass.m_args = {Text("295"), Text("310")};  // the peak at mass 300 + s of scan s, intensity 90
  mass.OnGenerateIonPlot();
  mass.m_args.clear();
  ASSERT_EQ(box.Document().GetItems().size(), before + 1);
  auto* made = dynamic_cast<nelvar::testing::HostItem*>(box.Document().GetItems().back());
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->m_record.left, 10);
  EXPECT_EQ(made->m_record.top, 420);
  EXPECT_EQ(made->m_record.bottom, 620);
  CSpcControl* plot = CSpcControl::ControlOf(made->GetOleObject());
  ASSERT_NE(plot, nullptr);
  EXPECT_EQ(plot->m_data.nKind, 5);
  ASSERT_EQ(plot->m_data.spectrum().size() >= 4, true);
  for (int s = 0; s < 4; ++s) EXPECT_FLOAT_EQ(plot->m_data.spectrum()[static_cast<std::size_t>(s)].re, 90.0f);
  EXPECT_EQ(mass.m_result.GetType(), plat::ole::VT_DISPATCH);
}

TEST_F(ViewTest, EditConfigurationOpensTheModulesIniFileInTheTextEditorWithoutWaitingForIt) {
  // A fake editor (as $VISUAL) that notes the path it was given and then stays open a while
  // (with the test's output let go, so the test's runner does not wait for it either).
  const std::string dir = ScratchFolder("edit-configuration");
  const std::string opened = plat::joinPath(dir, "opened");
  const std::string script = WriteFile(dir, "editor.sh", "#!/bin/sh\necho \"$1\" > \"" + opened + ".tmp\"\nmv \"" +
                                                             opened + ".tmp\" \"" + opened + "\"\n"
                                                             "exec >/dev/null 2>&1 </dev/null\nsleep 10\n");
  ::chmod(script.c_str(), 0755);
  ::setenv("VISUAL", script.c_str(), 1);
  CSpcControl* control = NewControl();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(ui::QueryCommandState(control, 40137).enabled);
  EXPECT_TRUE(control->OnCmdMsg(40137, ui::CN_COMMAND, nullptr, nullptr));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  std::string path;
  for (int i = 0; i < 3000 && plat::readFile(opened, &path) != plat::FileStatus::Ok; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(path, SpcApp().IniPath() + "\n");
  // No editor to start: nothing said, nothing else happens.
  ::setenv("VISUAL", "/nonexistent/editor", 1);
  EXPECT_TRUE(control->OnCmdMsg(40137, ui::CN_COMMAND, nullptr, nullptr));
  EXPECT_TRUE(ui::ModalLog().empty());
  ::unsetenv("VISUAL");
}

}  // namespace
}  // namespace nelvar_test
