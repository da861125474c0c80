#include <gtest/gtest.h>

#include "spectrum/control/plot/axes.h"
#include "spectrum/control/plot/trace.h"
#include "spectrum/control/plot/tests/plot_testing.h"

namespace plot_test {
namespace {

constexpr COLORREF kGridGrey = 0xC0C0C0;

TEST(Axes, FrameIsHiddenByBaseWithoutLosingItsFlag) {
  TestPlot plot(SpectrumBuilder::Nmr(100).Constant(1).Build());
  plot.list.FindDrawObject(kDrawBorder)->m_bEnabled = true;
  plot.list.m_nBase = 0;
  const gdi::RasterSurface s = DrawList(plot.list, 300, 200);
  EXPECT_EQ(s.CountPixels(kBorderRed), 0);
  EXPECT_TRUE(plot.list.FindDrawObject(kDrawBorder)->m_bEnabled);
  EXPECT_EQ(plot.list.m_plotRect.top, 0);
  plot.list.m_nBase = 1;
  const gdi::RasterSurface framed = DrawList(plot.list, 300, 200);
  EXPECT_EQ(framed.GetPixel(0, 100), kBorderRed);
  EXPECT_EQ(framed.GetPixel(299, 100), kBorderRed);
  EXPECT_EQ(framed.GetPixel(150, 0), kBorderRed);
  EXPECT_EQ(plot.list.m_plotRect.top, 1);
}

TEST(Axes, GridLinesEveryHundredPixelsOnTheScreenOnly) {
  TestPlot plot(SpectrumBuilder::Nmr(100).Constant(1).Build(), false);
  CDrawObject* grid = plot.list.GetDrawObject(kDrawGrid);
  grid->m_bEnabled = true;
  const gdi::RasterSurface s = DrawList(plot.list, 350, 250);
  // Dotted lines at the columns 0, 100, 200, 300 and the rows 0, 100, 200.
  std::vector<int> columns, rows;
  for (int x = 0; x < 350; ++x) {
    int n = 0;
    for (int y = 0; y < 250; ++y) n += s.GetPixel(x, y) == kGridGrey;
    if (n > 50) columns.push_back(x);
  }
  for (int y = 0; y < 250; ++y)
    if (ColumnsOf(s, y, kGridGrey).size() > 100) rows.push_back(y);
  EXPECT_EQ(columns, (std::vector<int>{0, 100, 200, 300}));
  EXPECT_EQ(rows, (std::vector<int>{0, 100, 200}));
  gdi::RasterSurface printed(350, 250, kWhite);
  gdi::DC dc(printed);
  dc.SetPrinting(true);
  const Rect client(0, 0, 350, 250);
  plot.list.DrawAll(&dc, &client, kDrawModePrint);
  EXPECT_EQ(printed.CountPixels(kGridGrey), 0);
}

TEST(Axes, VerticalScaleBandFitsTheLargestPercentage) {
  TestPlot plot(SpectrumBuilder::Nmr(100).Constant(1).Build());
  auto* band = plot.Find<CScaleY1>(kDrawScaleY1);
  const int c = TextSize(band->m_logFont, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz").cx / 52;
  for (const auto& [amplitude, chars] : std::vector<std::pair<float, int>>{{1.0f, 4}, {0.5f, 4}, {1.0f / 1024, 7}, {0.0f, 4}, {-2.0f, 4}}) {
    plot.list.m_fAmplitude = amplitude;
    DrawList(plot.list, 400, 200);
    EXPECT_EQ(band->m_band, Rect(0, 0, c * chars, 200)) << amplitude;
    EXPECT_EQ(band->m_area, band->m_band);
    EXPECT_EQ(plot.list.m_plotRect.left, c * chars);
  }
  // Too narrow for the band: none, and the vertical scale draws nothing.
  plot.list.m_fAmplitude = 1.0f;
  const gdi::RasterSurface narrow = DrawList(plot.list, c * 4, 200);
  EXPECT_TRUE(band->m_band.IsRectEmpty());
  EXPECT_EQ(plot.list.m_plotRect.left, 0);
  // Tick pens are made from the axis pens at each drawing.
  band->m_tickPen = MakeLogPen(gdi::PS_DOT, 99, 1);
  plot.Find<CScale>(kDrawScale)->m_tickPen = MakeLogPen(gdi::PS_DOT, 99, 1);
  plot.Find<CScale>(kDrawScale)->m_axisPen.lopnWidth = {60, 60};
  DrawList(plot.list, 400, 200);
  EXPECT_EQ(band->m_tickPen, MakeLogPen(gdi::PS_SOLID, 20, kScaleBlue));
  EXPECT_EQ(plot.Find<CScale>(kDrawScale)->m_tickPen, MakeLogPen(gdi::PS_SOLID, 30, kScaleBlue));
}

TEST(Axes, XAxisWithoutSpanOrWithAnUnofferedUnitStillDrawsItsLine) {
  // One point: no span, so the axis line and unit name but no ticks.
  TestPlot one(SpectrumBuilder::Nmr(1).Constant(1).Build());
  const gdi::RasterSurface s = one.Render(400, 200);
  auto* scale = one.Find<CScale>(kDrawScale);
  const int b = TextSize(MakeLogFont(8, 400, 0, "Arial"), "A").cy;
  const int axis = XAxisTop(200, "PPM");
  EXPECT_GT(ColumnsOf(s, axis, kScaleBlue).size(), 300u);
  EXPECT_TRUE(ColumnsOf(s, axis + b / 3 - 1, kScaleBlue).empty());
  EXPECT_EQ(scale->m_area.top, axis - b / 2);
  EXPECT_EQ(scale->GetContextMenu(false), 4);

  // m/z is not a unit of an NMR spectrum: ppm is drawn, the field stays.
  TestPlot nmr(SpectrumBuilder::Nmr(1000).Constant(1).Build());
  nmr.Find<CScale>(kDrawScale)->m_nUnit = kUnitMass;
  const gdi::RasterSurface ppm = nmr.Render(400, 200);
  EXPECT_EQ(nmr.Find<CScale>(kDrawScale)->m_nUnit, kUnitMass);
  TestPlot reference(SpectrumBuilder::Nmr(1000).Constant(1).Build());
  const gdi::RasterSurface expected = reference.Render(400, 200);
  EXPECT_EQ(ColumnsOf(ppm, axis + b / 3 - 1, kScaleBlue), ColumnsOf(expected, axis + b / 3 - 1, kScaleBlue));
  EXPECT_FALSE(ColumnsOf(ppm, axis + b / 3 - 1, kScaleBlue).empty());
}

}  // namespace
}  // namespace plot_test
