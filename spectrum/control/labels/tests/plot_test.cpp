// The labels on a whole plot, painted as the control paints it: every label stands where the
// data puts it on the trace that the plot's own objects drew.
#include <gtest/gtest.h>

#include <limits>

#include "spectrum/control/labels/integrals.h"
#include "spectrum/control/labels/peaklabels.h"
#include "spectrum/control/labels/tests/labels_testing.h"
#include "spectrum/control/labels/texts.h"

namespace {

using namespace labels_test;

constexpr COLORREF kPeakPen = 0x0000DC;
constexpr COLORREF kIntegralPen = 0x006400;

// The column of a peak's top on the trace (black) between two columns: where the black pixels
// reach highest.
int TraceTopColumn(const gdi::RasterSurface& s, const Rect& plot, int from, int to) {
  int best = -1, bestRow = plot.bottom;
  for (int x = from; x < to; ++x)
    for (int y = plot.top; y < plot.bottom; ++y)
      if (s.GetPixel(x, y) == kBlack) {
        if (y < bestRow) best = x, bestRow = y;
        break;
      }
  return best;
}

TEST(LabelsOnAPlot, PeaksIntegralsAndTextsStandWhereTheDataPutsThem) {
  LabelPlot plot(SpectrumBuilder::Nmr(4096).Lines({{1000, 100, 6}, {2000, 60, 6}, {3000, 30, 6}}), true);
  plot.data().peaks = {1000, 2000, 3000};
  plot.data().integrals = {{950, 1050, 0.0f}, {1950, 2050, 0.0f}, {2950, 3050, 0.0f}};
  plot.Find<CMPeaks>(kDrawMPeaks)->m_bEnabled = false;  // keeps the peak tops free of text
  CText* note = CText::Create(plot.list, "impurity", 0, 0);
  note->m_nX = 2500;
  note->m_fY = 40.0f;
  const gdi::RasterSurface s = plot.Render(800, 500, 100, "labels_on_a_plot.png");
  const Rect area = plot.list.m_plotRect;
  ASSERT_FALSE(area.IsRectEmpty());

  // The peak band above the trace, the brackets below it.
  const CTPeaks& band = *plot.Find<CTPeaks>(kDrawTPeaks);
  const CIntegSums& sums = *plot.Find<CIntegSums>(kDrawIntegSums);
  EXPECT_EQ(band.m_area.bottom, area.top);
  EXPECT_EQ(sums.m_area.top, area.bottom);
  // Band: 8-point labels of 10 ppm (4 decimals, 7 places); the leaders' feet end h above its
  // bottom.
  const gdi::Size cell = Alphabet(LabelFont(8, 900, 1));
  const int footRow = band.m_area.top + 7 * cell.cx + 3 * cell.cy - 1;
  const double x0 = plot.list.m_fLeftBound, x1 = plot.list.m_fRightBound;
  for (const int peak : plot.data().peaks) {
    const int column = plot.list.PointToX(peak);
    const int top = TraceTopColumn(s, area, column - 20, column + 20);
    EXPECT_LE(std::abs(top - column), 1) << peak;
    const std::vector<int> feet = ColumnsOf(s, footRow, kPeakPen);
    EXPECT_TRUE(std::any_of(feet.begin(), feet.end(), [&](int x) { return std::abs(x - top) <= 1; })) << peak;
  }
  // Integral curves over their ranges only; brackets from the ranges' ends.
  for (const CSpcIntegral& r : plot.data().integrals) {
    const int from = static_cast<int>(r.from), to = static_cast<int>(r.to);
    const Rect over(plot.list.PointToX(from), area.top, plot.list.PointToX(to) + 2, area.bottom);
    EXPECT_FALSE(ColorBox(s, kIntegralPen, over).IsRectEmpty()) << r.from;
    const double p = (x1 - x0) / sums.m_area.Width();
    EXPECT_EQ(s.GetPixel(sums.m_area.left + static_cast<int>((r.from - x0) / p), sums.m_area.top), kIntegralPen);
  }
  // (The integral objects place a point at (point - x0) / (span / width), the trace at span /
  // (width + 1): a range may start a column left of the trace's column of its first point.)
  const Rect gap(plot.list.PointToX(1052) + 1, area.top, plot.list.PointToX(1950) - 1, area.bottom);
  EXPECT_TRUE(ColorBox(s, kIntegralPen, gap).IsRectEmpty());
  // The text on its anchor.
  EXPECT_TRUE(note->m_area.PtInRect({plot.list.PointToX(2500), plot.list.ValueToY(40.0f)}));
  EXPECT_FALSE(InkBox(s, note->m_area).IsRectEmpty());
}

TEST(LabelsOnAPlot, AnyViewAndScaleDrawsWithoutFault) {
  // Views and scales a console, a knob or a file can leave: empty, reversed, huge or not finite.
  // The trace is left out: the scale it would set is given, degenerate ones included.
  LabelPlot plot(SpectrumBuilder::Nmr(1000).Lines({{300, 50, 5}}), true);
  plot.data().peaks = {10, 300, 999};
  plot.data().integrals = {{0, 999, 0.0f}, {250, 350, 1e30f}};
  plot.process().m_basePoints = {5, 500, 995};
  plot.list.m_bIntegralCorrection = true;
  for (const std::int32_t type : {kDrawBaseline, kDrawTitle}) plot.list.FindDrawObject(type)->m_bEnabled = true;
  plot.list.FindDrawObject(kDrawSpectrum)->m_bEnabled = false;
  CText::Create(plot.list, "t", 100, 100);
  const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
  const std::pair<float, float> views[] = {{0, 999},       {500, 500},   {999, 0},    {-1e30f, 1e30f},
                                           {nan, 5},       {1e9f, 2e9f}, {-inf, inf}};
  const struct {
    float yMin, yMax, pointsPerPixel;
  } scales[] = {{0, 50, 3.3f}, {0, 0, 0}, {-inf, nan, inf}, {-1e30f, 1e30f, 1e-30f}};
  for (const auto& [left, right] : views)
    for (const auto& scale : scales)
      for (const float amplitude : {1.0f, 0.0f, 1e30f}) {
        plot.list.m_fLeftBound = left;
        plot.list.m_fRightBound = right;
        plot.list.m_fAmplitude = amplitude;
        plot.list.m_fIntegralScale = amplitude - 1.0f;
        plot.list.m_fIntegSum = amplitude * -100.0f;
        plot.SetScale(Rect(30, 40, 300, 180), scale.yMin, scale.yMax, scale.pointsPerPixel);
        plot.Draw(300, 200);
        for (std::size_t i = 0; i < plot.list.GetSize(); ++i) {
          CDrawObject* object = plot.list.GetAt(i);
          object->HitTest(150, 100);
          object->Drag(10, 10, 150, 100);
          plot.list.m_selection = Rect(150, 100, 150, 100);
          object->EditAt(0, 150, 100);
        }
      }
}

}  // namespace
