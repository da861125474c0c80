// Peak labels: the band of vertical labels with their leaders, the decimals the data gives, and
// the horizontal labels above mass peaks.
#include <gtest/gtest.h>

#include <charconv>

#include "spectrum/control/labels/peaklabels.h"
#include "spectrum/control/labels/tests/labels_testing.h"

namespace {

using namespace labels_test;

constexpr COLORREF kPeakPen = 0x0000DC;

std::string Fixed(double v, int decimals) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  return std::string(buf, r.ptr);
}

// 1000 points of a proton spectrum from 10 ppm down to 0.01 ppm: labels of 4 decimals.
SpectrumBuilder ProtonSpectrum() { return SpectrumBuilder::Nmr(1000).Constant(1.0); }
double PpmOf(int i) { return (1000 - i) * 0.01; }

TEST(PeakBand, LabelsStandAtTheirPeaksAndCrowdedOnesStepRightOnLeaders) {
  LabelPlot plot(ProtonSpectrum());
  plot.data().peaks = {100, 600, 602, 604};
  CTPeaks& peaks = plot.Add<CTPeaks>(kDrawTPeaks);
  const gdi::RasterSurface s = plot.Draw(500, 300);
  SaveRendering(s, "peak_band");

  // The font is 8 points, 11 pixels at 96 dpi; labels of 10 ppm have 4 decimals and 7 places.
  const gdi::Size cell = Alphabet(LabelFont(8, 900, 1));
  const int c = cell.cx, h = cell.cy;
  const int y1 = 7 * c + 3 * h;
  const double p = 999.0 / 500.0;
  const int unitNameHeight = Measure(LabelFont(8, 900, 1), "PPM").cy;
  auto column = [&](int point) { return static_cast<int>(point / p); };

  // The first two stand at their own columns; each later one h + h/5 right of the one before.
  std::vector<int> labelColumns;
  int right = unitNameHeight;
  for (int point : plot.data().peaks) {
    const int x = column(point);
    const int l = x < right + h ? right + h : x;
    labelColumns.push_back(l);
    right = l + h / 5;
  }
  EXPECT_EQ(labelColumns[0], column(100));
  EXPECT_EQ(labelColumns[1], column(600));
  EXPECT_EQ(labelColumns[3] - labelColumns[2], h + h / 5);
  for (std::size_t k = 0; k < labelColumns.size(); ++k) {
    const int x = column(plot.data().peaks[k]);
    // The foot of the leader at the peak's own column, the stem above the label's column.
    EXPECT_EQ(s.GetPixel(x, y1 - 1), kPeakPen) << k;
    EXPECT_EQ(s.GetPixel(x, y1 - h + 1), kPeakPen) << k;
    for (int y = 1; y < y1 - 3 * h; y += 5) EXPECT_EQ(s.GetPixel(labelColumns[k], y), kPeakPen) << k << " " << y;
  }
  // Nothing of the band below the leaders' feet; the band is the object's area.
  EXPECT_TRUE(ColorBox(s, kPeakPen, Rect(0, y1 + 1, 500, 300)).IsRectEmpty());
  EXPECT_EQ(peaks.m_area, Rect(0, 0, 500, 7 * c + 4 * h));
  // Labels in black between the stems, the unit name first.
  EXPECT_FALSE(InkBox(s, Rect(labelColumns[1] - h, 0, labelColumns[1], y1 - 3 * h)).IsRectEmpty());

  const std::vector<std::string> texts = TextsOf(peaks, Rect(0, 0, 500, 300));
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[0], "PPM");
  EXPECT_EQ(texts[1], Fixed(PpmOf(100), 4));
  EXPECT_EQ(texts[4], Fixed(PpmOf(604), 4));
}

TEST(PeakBand, TakesRoomOnlyWithPeaksInTheSpectrumDomainAndEnoughHeight) {
  LabelPlot plot(ProtonSpectrum());
  CTPeaks& peaks = plot.Add<CTPeaks>(kDrawTPeaks);
  gdi::RasterSurface surface(500, 300);
  gdi::DC dc(surface);
  auto heightTaken = [&](Rect rect) {
    const int top = rect.top;
    peaks.Draw(&dc, &rect, kDrawModeScreen);
    return rect.top - top;
  };
  EXPECT_EQ(heightTaken(Rect(0, 0, 500, 300)), 0);  // no peaks
  EXPECT_TRUE(peaks.m_area.IsRectEmpty());
  plot.data().peaks = {500};
  EXPECT_GT(heightTaken(Rect(0, 0, 500, 300)), 0);
  // Higher than 4 x 8 + 4 rows, or nothing.
  EXPECT_EQ(heightTaken(Rect(0, 0, 500, 36)), 0);
  EXPECT_TRUE(peaks.m_area.IsRectEmpty());
  EXPECT_GT(heightTaken(Rect(0, 0, 500, 37)), 0);
  plot.data().nDomain = 0;
  EXPECT_EQ(heightTaken(Rect(0, 0, 500, 300)), 0);
  // A peak that names no point is not labelled.
  plot.data().nDomain = 1;
  plot.data().peaks = {-3, 500, 1000};
  EXPECT_EQ(TextsOf(peaks, Rect(0, 0, 500, 300)).size(), 2u);
}

TEST(PeakBand, DecimalsFollowTheLargestValueOfTheAxis) {
  // For mass spectra the largest mass decides: five significant places below 1 (at most 9
  // decimals), 5 - e from there, none from five digits on; a largest value of 0 counts as one.
  const struct {
    float maxMass;
    int decimals;
    int length;
  } cases[] = {{12.3f, 3, 7}, {0.5f, 5, 7}, {0.05f, 6, 8}, {0.00012f, 8, 10}, {1e-7f, 9, 11},
               {99999.0f, 0, 7}, {123456.0f, 0, 8}, {0.0f, 4, 7}, {1.0f, 5, 7}};
  for (const auto& t : cases) {
    LabelPlot plot(SpectrumBuilder::Mass().Scan({{10.0f, t.maxMass}}));
    plot.list.m_fLeftBound = 0.0f;
    plot.data().peaks = {0};
    CTPeaks& peaks = plot.Add<CTPeaks>(kDrawTPeaks);
    const CTPeaks::LabelFormat format = peaks.GetLabelFormat();
    EXPECT_EQ(format.decimals, t.decimals) << t.maxMass;
    EXPECT_EQ(format.length, t.length) << t.maxMass;
    if (t.maxMass > 0.0f) {
      const std::vector<std::string> texts = TextsOf(peaks, Rect(0, 0, 500, 300));
      ASSERT_EQ(texts.size(), 2u) << t.maxMass;
      EXPECT_EQ(texts[0], "m/z");
      EXPECT_EQ(texts[1], Fixed(t.maxMass, t.decimals));
    }
  }
  // The digits property is kept but does not decide.
  LabelPlot plot(ProtonSpectrum());
  plot.data().peaks = {500};
  CTPeaks& peaks = plot.Add<CTPeaks>(kDrawTPeaks);
  peaks.m_nDigits = 1;
  EXPECT_EQ(TextsOf(peaks, Rect(0, 0, 500, 300))[1], Fixed(PpmOf(500), 4));
}

TEST(PeakBand, SelectionIsAnXRangeOfTheBand) {
  LabelPlot plot(ProtonSpectrum());
  CTPeaks& peaks = plot.Add<CTPeaks>(kDrawTPeaks);
  peaks.m_area = Rect(10, 0, 400, 60);
  plot.list.m_selection = Rect(100, 20, 100, 20);
  peaks.SetVerticalArea(0, 50, 30);
  EXPECT_EQ(plot.list.m_selection, Rect(50, 0, 100, 60));
  EXPECT_EQ(peaks.GetContextMenu(false), 3);
}

// A mass scan: {intensity, m/z}; plot rectangle 400 x 200 from row 30, masses 0-400.
struct MassPlot : LabelPlot {
  MassPlot() : LabelPlot(SpectrumBuilder::Mass().Scan({{100.0f, 50.0f}, {37.0f, 152.1f}, {5.0f, 200.0f}})) {
    list.m_fLeftBound = 0.0f;
    list.m_fRightBound = 400.0f;
    data().peaks = {0, 1, 2, 7};
    SetScale(Rect(0, 30, 400, 230), 0.0f, 100.0f, 0.0f);
  }
};

TEST(MassPeakLabels, StandAboveTheirPeaksWithRelativeIntensity) {
  MassPlot plot;
  plot.list.m_fMassThreshold = 0.1f;  // the peak at 5 % is not labelled
  CMPeaks& labels = plot.Add<CMPeaks>(kDrawMPeaks);
  labels.m_nDigits = 1;
  labels.m_bRelativeIntensity = true;
  // Pair 7 does not exist in the scan: skipped.
  EXPECT_EQ(TextsOf(labels, Rect()), (std::vector<std::string>{"50.0(100%)", "152.1(37%)"}));

  const gdi::RasterSurface s = plot.Draw(400, 240);
  SaveRendering(s, "mass_peak_labels");
  const gdi::LOGFONTA font = LabelFont(8, 0, 1);
  // Row of 37 % of 200 rows above the bottom, column of mass 152 of 400 columns.
  const gdi::Size size = Measure(font, "152.1(37%)");
  const Rect expected(152 - size.cx / 2, 230 - 74 - size.cy, 152 - size.cx / 2 + size.cx, 230 - 74);
  EXPECT_TRUE(InkInCell(InkBox(s, Rect(100, 60, 230, 200)), expected));
  // The largest peak's label stands on the plot's top.
  const gdi::Size top = Measure(font, "50.0(100%)");
  const Rect topInk = InkBox(s, Rect(0, 0, 100, 60));
  EXPECT_GE(topInk.top, 30 - top.cy);
  EXPECT_LE(topInk.bottom, 30 + 1);
  EXPECT_TRUE(labels.m_area.IsRectEmpty());
  EXPECT_EQ(labels.GetContextMenu(false), 2);
}

TEST(MassPeakLabels, ZoomRegionsMagnifyAndAZeroMaximumShowsNoPercentage) {
  MassPlot plot;
  CMPeaks& labels = plot.Add<CMPeaks>(kDrawMPeaks);
  labels.m_bRelativeIntensity = true;
  plot.list.m_zoomRegions = {{140.0f, 160.0f, 2.0f}};
  EXPECT_EQ(TextsOf(labels, Rect()), (std::vector<std::string>{"50(100%)", "152(74%)", "200(5%)"}));
  plot.list.m_fYMax = 0.0f;
  EXPECT_EQ(TextsOf(labels, Rect()), (std::vector<std::string>{"50", "152", "200"}));
  // Outside the spectrum domain nothing is labelled.
  plot.data().nDomain = 0;
  EXPECT_TRUE(TextsOf(labels, Rect()).empty());
}

}  // namespace
