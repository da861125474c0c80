// The analysis commands: peak picking from a cursor and from console arguments, the peak and
// integral tables on the clipboard (with stored formats only when they are sound), the sums of
// integrals and Clear Area's noise.
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "foundation/profdesc.h"
#include "platform/base/numtext.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/dialog.h"
#include "platform/ui/responder.h"
#include "profile/profile.h"
#include "spectrum/control/control/plotedits.h"
#include "spectrum/control/control/tests/control_testing.h"

namespace nelvar_test {
namespace {

class AnalysisTest : public ControlTest {
 protected:
  void TearDown() override {
    COrvProfDesc desc;
    OrvDeleteProfValue(u"PeakCopyFmt", &desc);
    OrvDeleteProfValue(u"IntegsCopyFmt", &desc);
    ControlTest::TearDown();
  }
  static CVariant Text(const char* text) {
    CVariant v;
    v.SetString(text);
    return v;
  }
  static std::string Line(const char* format, double a, double b) {
    char text[128];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
  }
  static std::string Line(const char* format, double a, double b, double c) {
    char text[128];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
  }
  // Draws the plot once into a 400 x 300 bitmap, so that pixels map to points.
  static void Lay(CSpcControl& c) {
    gdi::Bitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(400, 300));
    gdi::DC dc = gdi::DC::CreateCompatibleDC(nullptr);
    dc.SelectObject(bitmap);
    const gdi::Rect all(0, 0, 400, 300);
    c.m_drawList.DrawAll(&dc, &all, kDrawModeScreen);
  }
  // Three peaks of different heights on a flat ground.
  static void GivePeaks(CSpcControl& c) {
    GiveSpectrum(c, 0, 256);
    for (std::size_t i = 0; i < 256; ++i) c.m_data.spectrum()[i].re = 1.0f;
    c.m_data.spectrum()[40].re = 50.0f;
    c.m_data.spectrum()[120].re = 12.0f;
    c.m_data.spectrum()[200].re = 100.0f;
    c.m_drawList.m_fYMin = 1.0f;
    c.m_drawList.m_fYMax = 100.0f;
  }
};

TEST_F(AnalysisTest, PeakPickingTakesTheCursorOnceOrTheMaximaAboveTheThreshold) {
  CSpcControl& c = *NewControl();
  GivePeaks(c);
  c.m_drawList.m_nPickCursor1 = 77;
  c.OnPeakPicking();
  EXPECT_EQ(c.m_data.peaks, std::vector<std::int32_t>{77});
  EXPECT_EQ(c.m_drawList.m_nPickCursor1, -1);
  c.OnPeakPicking();  // no cursor, selection or arguments: nothing more
  EXPECT_EQ(c.m_data.peaks, std::vector<std::int32_t>{77});

  // PP 10: the strict maxima above the base level + 10 % of the span, replacing the old peaks.
  c.m_args = {Text("10")};
  c.OnPeakPicking();
  const double threshold = c.m_process.GetBaseLevel() + 99.0 * 10 * 0.01;
  std::vector<std::int32_t> expected;
  for (std::int32_t i = 1; i + 1 < 256; ++i) {
    const double v = c.m_data.spectrum()[static_cast<std::size_t>(i)].re;
    if (v > c.m_data.spectrum()[static_cast<std::size_t>(i - 1)].re &&
        v > c.m_data.spectrum()[static_cast<std::size_t>(i + 1)].re && v > threshold)
      expected.push_back(i);
  }
  EXPECT_EQ(c.m_data.peaks, expected);
  EXPECT_EQ(c.m_data.peaks, (std::vector<std::int32_t>{40, 120, 200}));
  c.m_args = {Text("0"), Text("-40")};  // base level + 40 % of the span
  c.OnPeakPicking();
  EXPECT_EQ(c.m_data.peaks, (std::vector<std::int32_t>{40, 200}));
  c.m_args.clear();
}

TEST_F(AnalysisTest, CopyPeaksAndIntegralsPutTheirTablesOnTheClipboard) {
  CSpcControl& c = *NewControl();
  GivePeaks(c);
  c.m_data.peaks = {40, 200};
  c.OnCopyPeaks();
  const std::string peaks = "    PPM        Hertz\r\n" +
                            Line("%10.2f %10.2f", c.m_process.PointToPpm(40), c.m_process.PointToHertz(40)) + "\r\n" +
                            Line("%10.2f %10.2f", c.m_process.PointToPpm(200), c.m_process.PointToHertz(200));
  const ui::DataObject clip = ui::GetClipboard();
  EXPECT_EQ(clip.GetText(), peaks);
  // The picture: every line in the stock fixed font, its window 1.5 x the widest line wide and
  // the lines' height high.
  ASSERT_TRUE(clip.HasFormat(ui::CF_METAFILEPICT));
  const std::vector<std::uint8_t>& wmf = *clip.GetData(ui::CF_METAFILEPICT);
  int texts = 0, extX = 0, extY = 0;
  auto u16 = [&](std::size_t at) { return static_cast<int>(wmf[at] | wmf[at + 1] << 8); };
  for (std::size_t at = 22 + 18; at + 6 <= wmf.size();) {
    const std::size_t words = static_cast<std::size_t>(u16(at) | u16(at + 2) << 16);
    const int function = u16(at + 4);
    if (words < 3 || at + words * 2 > wmf.size()) break;
    if (function == 0x0A32) ++texts;  // META_EXTTEXTOUT
    if (function == 0x020C) {         // META_SETWINDOWEXT: y, then x
      extY = static_cast<std::int16_t>(u16(at + 6));
      extX = static_cast<std::int16_t>(u16(at + 8));
    }
    at += words * 2;
  }
  gdi::DC screen = gdi::DC::CreateCompatibleDC(nullptr);
  screen.SelectObject(gdi::StockFont(gdi::ANSI_FIXED_FONT));
  int widest = 0, height = 0;
  for (std::size_t from = 0; from <= peaks.size();) {
    const std::size_t end = std::min(peaks.find("\r\n", from), peaks.size());
    const gdi::Size size = screen.GetTextExtent(peaks.substr(from, end - from));
    widest = std::max(widest, size.cx);
    height += size.cy;
    from = end + 2;
  }
  EXPECT_EQ(texts, 3);
  EXPECT_EQ(extX, widest * 3 / 2);
  EXPECT_EQ(extY, height);

  c.m_data.integrals = {{30, 50, 1.0f}, {190, 210, 1.0f}};
  c.OnCopyIntegrals();
  const double total = c.m_process.GetTotalIntegral();
  std::string integrals = "       Range (ppm)              Value";
  for (const CSpcIntegral& r : c.m_data.integrals)
    integrals += "\r\n" + Line("%10.3f %10.3f %15.4f", c.m_process.PointToPpm(static_cast<std::int32_t>(r.from)),
                               c.m_process.PointToPpm(static_cast<std::int32_t>(r.to)),
                               c.m_process.GetIntegral(r.from, r.to, nullptr, 0, 1.0f) / total * 100.0);
  EXPECT_EQ(ui::GetClipboard().GetText(), integrals);

  // A stored format is taken when it holds the conversions the table passes, else the default.
  COrvProfDesc desc;
  OrvSetProfString(u"PeakCopyFmt", u"%.1f;%.3e", &desc);
  c.OnCopyPeaks();
  EXPECT_EQ(ui::GetClipboard().GetText().substr(0, 22), "    PPM        Hertz\r\n" + std::string(""));
  EXPECT_NE(ui::GetClipboard().GetText().find(Line("%.1f;%.3e", c.m_process.PointToPpm(40), c.m_process.PointToHertz(40))),
            std::string::npos);
  OrvSetProfString(u"PeakCopyFmt", u"%s %n", &desc);
  c.OnCopyPeaks();
  EXPECT_EQ(ui::GetClipboard().GetText(), peaks);

  // Other kinds: their own headers and the x in the scale's unit.
  GiveSpectrum(c, 2, 64);
  c.m_data.peaks = {10};
  c.OnCopyPeaks();
  EXPECT_EQ(ui::GetClipboard().GetText(),
            "    1/cm       Rel. Int.\r\n" + Line("%10.2f %10.2f", c.m_process.PointToX(10), c.m_process.GetDisplayValue(10)));
  // The header names what the lines hold: a mass spectrum's peaks are m/z and intensity, an
  // ultraviolet spectrum's x is in nm, a chromatogram's in seconds.
  GiveSpectrum(c, 1, 1);
  c.m_data.peaks = {1};
  c.OnCopyPeaks();
  const CSpcPoint& peak = c.m_data.scans[0].peaks[1];
  EXPECT_EQ(ui::GetClipboard().GetText(), "    m/z        Intensity\r\n" + Line("%10.2f %10.2f", peak.im, peak.re));
  GiveSpectrum(c, 3, 64);
  c.m_data.peaks = {10};
  c.m_data.integrals = {{5, 20, 1.0f}};
  c.OnCopyPeaks();
  EXPECT_EQ(ui::GetClipboard().GetText().substr(0, 26), "    nm         Rel. Int.\r\n");
  c.OnCopyIntegrals();
  EXPECT_EQ(ui::GetClipboard().GetText().substr(0, 39), "       Range (nm)               Value\r\n");
  GiveSpectrum(c, 4, 64);
  c.m_data.peaks = {10};
  c.OnCopyPeaks();
  EXPECT_EQ(ui::GetClipboard().GetText().substr(0, 26), "    sec        Rel. Int.\r\n");
}

TEST_F(AnalysisTest, ClearAreaLaysSeededNoiseIntoTheBaselineOverTheSelection) {
  CSpcControl& c = *NewControl();
  GivePeaks(c);
  Lay(c);
  c.m_drawList.m_selection = gdi::Rect(c.m_drawList.PointToX(30), 10, c.m_drawList.PointToX(70), 50);
  std::int32_t l = 0, r = 0;
  ASSERT_TRUE(c.SelectionPoints(&l, &r));
  ASSERT_GE(r - l, 11);
  c.m_noiseSeed = 7;
  const float base = c.m_process.GetBaseLevel();
  c.OnClearArea();
  ASSERT_EQ(c.m_process.m_baseline.size(), 256u);
  // hi and lo over five points at each end: the peak at 40 is inside, so 1 and 1.
  const double hi = 1.0, lo = 1.0;
  spcedit::CRand15 noise(7);
  for (std::int32_t i = 0; i < 256; ++i) {
    float expected = base;
    if (i >= l + 5 && i < r - 5)
      expected = static_cast<float>((hi - lo) * (noise.Next() - 16383.5) * 1.5259255e-5 + c.m_data.spectrum()[static_cast<std::size_t>(i)].re + base);
    ASSERT_FLOAT_EQ(c.m_process.m_baseline[static_cast<std::size_t>(i)], expected) << i;
  }
  EXPECT_FALSE(c.m_drawList.m_selection.IsRectEmpty());  // the selection stays

  // Noise of the ends' span: a range with the peak at 40 among its first five points.
  c.m_process.m_baseline.clear();
  c.m_drawList.m_selection = gdi::Rect(c.m_drawList.PointToX(37), 10, c.m_drawList.PointToX(80), 50);
  ASSERT_TRUE(c.SelectionPoints(&l, &r));
  ASSERT_TRUE(l <= 40 && 40 < l + 5) << l;
  c.OnClearArea();
  spcedit::CRand15 again(7);
  const double first = (50.0 - 1.0) * (again.Next() - 16383.5) * 1.5259255e-5 + 1.0 + base;
  EXPECT_FLOAT_EQ(c.m_process.m_baseline[static_cast<std::size_t>(l + 5)], static_cast<float>(first));

  // Fewer than 11 points: nothing.
  c.m_process.m_baseline.clear();
  c.m_drawList.m_selection = gdi::Rect(c.m_drawList.PointToX(100), 10, c.m_drawList.PointToX(108), 50);
  ASSERT_TRUE(c.SelectionPoints(&l, &r));
  ASSERT_LT(r - l, 11);
  c.OnClearArea();
  EXPECT_TRUE(c.m_process.m_baseline.empty());
}

TEST_F(AnalysisTest, NormalizeIntegralsScalesToTheLargestAndIgnoresNone) {
  CSpcControl& c = *NewControl();
  GivePeaks(c);
  c.m_data.integrals = {{30, 50, 1.0f}, {190, 210, 1.0f}};
  const double total = c.m_process.GetTotalIntegral();
  const double largest = std::max(c.m_process.GetIntegral(30, 50, nullptr, 0, 1.0f), c.m_process.GetIntegral(190, 210, nullptr, 0, 1.0f));
  c.OnNormalizeIntegrals();
  EXPECT_FLOAT_EQ(c.m_drawList.m_fIntegralScale, static_cast<float>(total / largest));
  c.m_data.integrals.clear();
  c.OnNormalizeIntegrals();  // no largest integral: the scale stays
  EXPECT_FLOAT_EQ(c.m_drawList.m_fIntegralScale, static_cast<float>(total / largest));
}

TEST_F(AnalysisTest, DialogValuesSetTheIntegralSumTheZoomRegionsAndTheReference) {
  CSpcControl& c = *NewControl();
  GivePeaks(c);
  Lay(c);
  c.m_data.integrals = {{30, 50, 1.0f}, {190, 210, 1.0f}};
  auto select = [&](std::int32_t from, std::int32_t to) {
    c.m_drawList.m_selection = gdi::Rect(c.m_drawList.PointToX(from), 10, c.m_drawList.PointToX(to), 50);
  };
  ui::ScriptedResponder responder(true);
  auto enter = [&](ui::UINT item, std::string text) {
    responder.Then(ui::ModalKind::Dialog, [item, text = std::move(text)](ui::ModalQuestion& q) {
      q.dialog->SetDlgItemText(item, text);
      return ui::IDOK;
    });
  };
  // Set Sum of Integrals: entering half the selected integrals' sum halves the integral sum.
  select(20, 220);
  const double sum = c.SelectedIntegralSum();
  ASSERT_GT(sum, 0.0);
  enter(1036, plat::formatDouble(sum / 2, 'f', 6).c_str());
  c.OnSetSumOfIntegrals();
  EXPECT_NEAR(c.m_drawList.m_fIntegSum, 50.0f, 1e-3f);
  EXPECT_TRUE(c.m_drawList.m_selection.IsRectEmpty());
  // Cancel changes nothing.
  select(20, 220);
  responder.ThenAnswer(ui::ModalKind::Dialog, ui::IDCANCEL);
  c.OnSetSumOfIntegrals();
  EXPECT_NEAR(c.m_drawList.m_fIntegSum, 50.0f, 1e-3f);

  // Add Y-Zoom over a range inside an existing region splits it around the new one.
  c.m_drawList.m_zoomRegions = {{10.0f, 200.0f, 4.0f}};
  select(60, 90);
  std::int32_t from = 0, to = 0;
  ASSERT_TRUE(c.SelectionPoints(&from, &to));
  enter(1036, "2.5");
  c.OnAddYZoom();
  EXPECT_EQ(c.m_drawList.m_zoomRegions,
            (std::vector<CZoomRegion>{{10.0f, static_cast<float>(from), 4.0f},
                                      {static_cast<float>(from), static_cast<float>(to), 2.5f},
                                      {static_cast<float>(to), 200.0f, 4.0f}}));
  c.OnAddYZoom();  // no selection: no dialog, nothing
  EXPECT_EQ(c.m_drawList.m_zoomRegions.size(), 3u);

  // Calibrate: the cursor becomes the reference point at the entered ppm.
  c.m_drawList.m_nPickCursor1 = 100;
  enter(1019, "1.5");
  c.OnCalibrate();
  EXPECT_EQ(c.m_process.m_nOP, 100);
  EXPECT_DOUBLE_EQ(c.m_process.m_dOffset, 1.5 * c.m_process.m_dFreq);
  EXPECT_TRUE(responder.Done());
  EXPECT_EQ(responder.Unexpected(), 0);
}

TEST_F(AnalysisTest, IntegralCommandsAtTheRightClickPointAndPeaksInTheSelection) {
  CSpcControl& c = *NewControl();
  GivePeaks(c);
  Lay(c);
  c.m_data.integrals = {{30, 50, 1.0f}, {60, 80, 1.0f}, {190, 210, 1.0f}};
  ui::ScriptedResponder responder(true);
  // Set Value: the integral at the right-click point shows what is entered.
  c.m_rightClick = {c.m_drawList.PointToX(200), 20};
  responder.Then(ui::ModalKind::Dialog, [](ui::ModalQuestion& q) {
    q.dialog->SetDlgItemText(1036, "10");
    return ui::IDOK;
  });
  c.OnSetIntegralValue();
  EXPECT_NEAR(c.IntegralShare(c.m_data.integrals[2], 1.0f), 10.0, 1e-3);
  // Delete Integral without a selection takes the one around the point.
  c.m_rightClick = {c.m_drawList.PointToX(70), 20};
  EXPECT_TRUE(ui::QueryCommandState(&c, 40055).enabled);
  c.OnDeleteIntegral();
  ASSERT_EQ(c.m_data.integrals.size(), 2u);
  EXPECT_EQ(c.m_data.integrals[1].from, 190u);
  // Delete Peaks takes those inside the selection only.
  c.m_data.peaks = {40, 120, 200};
  c.m_drawList.m_selection = gdi::Rect(c.m_drawList.PointToX(100), 10, c.m_drawList.PointToX(210), 50);
  c.OnDeletePeaks();
  EXPECT_EQ(c.m_data.peaks, std::vector<std::int32_t>{40});
  // Integral Correction toggles its flag.
  c.OnIntegralCorrection();
  EXPECT_EQ(ui::QueryCommandState(&c, 40138).check, 1);
  EXPECT_TRUE(responder.Done());
}

}  // namespace
}  // namespace nelvar_test
