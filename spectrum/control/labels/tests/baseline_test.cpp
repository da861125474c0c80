// The baseline object: its curve (or the base level), its points as circles, and the double
// click that adds or removes a point.
#include <gtest/gtest.h>

#include "spectrum/control/labels/baseline.h"
#include "spectrum/control/labels/tests/labels_testing.h"

namespace {

using namespace labels_test;

constexpr COLORREF kBaselinePen = 0x0000C8;
constexpr COLORREF kCircleFill = 0x00DC00;

// A ramp: point i shows i / 10, so over values 0-100 in 300 rows point i stands on row
// 300 - 3 i / 10; 1000 points in 500 columns, two per column.
struct RampPlot : LabelPlot {
  RampPlot() : LabelPlot(Points(1000, [](int i) { return i / 10.0; })) {
    SetScale(Rect(0, 0, 500, 300), 0.0f, 100.0f, 2.0f);
    baseline = &Add<CBaseline>(kDrawBaseline);
    baseline->m_bEnabled = true;
  }
  static int RowOf(double value) { return 300 - static_cast<int>(3.0 * value); }
  CBaseline* baseline;
};

TEST(Baseline, PointsAreCirclesOnTheTraceAndTheCurveRunsAcross) {
  RampPlot plot;
  plot.process().m_basePoints = {100, 500, 900};
  // A fitted curve of half the ramp.
  plot.process().m_baseline.resize(1000);
  for (int i = 0; i < 1000; ++i) plot.process().m_baseline[static_cast<std::size_t>(i)] = static_cast<float>(i) / 20.0f;
  const gdi::RasterSurface s = plot.Draw(500, 300);
  SaveRendering(s, "baseline");

  // Circles of 1.5 mm radius, 6 pixels at 96 dpi, filled, centred on the points' values.
  for (int q : {100, 500, 900}) {
    const int x = q / 2, y = RampPlot::RowOf(q / 10.0);
    EXPECT_EQ(s.GetPixel(x, y), kCircleFill) << q;
    const Rect box = ColorBox(s, kCircleFill, Rect(x - 10, y - 10, x + 10, y + 10));
    EXPECT_LE(box.left, x - 4) << q;
    EXPECT_GE(box.left, x - 6) << q;
    EXPECT_LE(box.right, x + 6) << q;
    EXPECT_GE(box.right, x + 4) << q;
  }
  // The curve: point 2c at column c, on the row of its half-ramp value (a 2-pixel pen).
  for (int c : {20, 130, 333, 480}) {
    const int row = RampPlot::RowOf(2 * c / 20.0);
    EXPECT_FALSE(ColorBox(s, kBaselinePen, Rect(c, row - 2, c + 1, row + 3)).IsRectEmpty()) << c;
  }
  EXPECT_EQ(plot.baseline->m_area, Rect(0, 0, 500, 300));
  EXPECT_EQ(plot.baseline->GetContextMenu(false), 6);
}

TEST(Baseline, WithoutPointsAFlatLineAtTheBaseLevel) {
  RampPlot plot;
  const int row = plot.list.ValueToY(plot.process().GetBaseLevel());
  const gdi::RasterSurface s = plot.Draw(500, 300);
  const Rect line = BoxOf(s, kBaselinePen);
  EXPECT_EQ(line.left, 0);
  EXPECT_GE(line.right, 499);
  EXPECT_GE(line.top, row - 1);
  EXPECT_LE(line.bottom, row + 2);
  EXPECT_TRUE(BoxOf(s, kCircleFill).IsRectEmpty());
  // A printed picture is drawn where the printer wants it; the screen area stays.
  gdi::RasterSurface printed(200, 100);
  gdi::DC dc(printed);
  Rect page(0, 0, 200, 100);
  plot.baseline->Draw(&dc, &page, kDrawModePrint);
  EXPECT_EQ(plot.baseline->m_area, Rect(0, 0, 500, 300));
}

TEST(Baseline, DoubleClickRemovesTheNearPointOrAddsOneAndRefits) {
  RampPlot plot;
  plot.Draw(500, 300);
  plot.process().m_nBaselineMethod = 0;  // smoothing spline: three points are enough
  plot.process().m_basePoints = {100, 500, 900};
  auto clickAt = [&](int x) {
    plot.list.m_selection = Rect(x, 10, x, 10);
    return plot.baseline->EditAt(0, x, 10);
  };
  // Column 250 is point 499: within five columns (9 points) of 500.
  EXPECT_TRUE(clickAt(250));
  EXPECT_EQ(plot.process().m_basePoints, (std::vector<std::int32_t>{100, 900}));
  EXPECT_TRUE(clickAt(300));
  EXPECT_EQ(plot.process().m_basePoints, (std::vector<std::int32_t>{100, 599, 900}));
  EXPECT_EQ(plot.process().m_baseline.size(), 1000u);
  EXPECT_TRUE(clickAt(5));
  EXPECT_EQ(plot.process().m_basePoints, (std::vector<std::int32_t>{9, 100, 599, 900}));

  // Zoomed in to ten points over 500 columns: a click on a point removes it, never adds it twice.
  plot.list.m_fLeftBound = 500.0f;
  plot.list.m_fRightBound = 510.0f;
  plot.process().m_basePoints = {505};
  EXPECT_TRUE(clickAt(250));
  EXPECT_TRUE(plot.process().m_basePoints.empty());
  EXPECT_TRUE(clickAt(250));
  EXPECT_EQ(plot.process().m_basePoints, (std::vector<std::int32_t>{505}));

  // No area to place a point in.
  plot.baseline->m_area = Rect(10, 0, 10, 300);
  EXPECT_FALSE(clickAt(10));
}

}  // namespace
