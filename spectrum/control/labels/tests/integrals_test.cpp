// Integral curves with their correction handles, integral sums with their brackets, and the
// mouse operations on both: handle drags, range shifts within their clamps, splits.
#include <gtest/gtest.h>

#include <numeric>

#include "spectrum/control/labels/integrals.h"
#include "spectrum/control/labels/tests/labels_testing.h"

namespace {

using namespace labels_test;

constexpr COLORREF kIntegralPen = 0x006400;

// 1000 points, 0 but for a block of ones over points 400-499: the base level is 0, the total
// integral 100 and the integral of a range the number of its points in the block.
struct BlockPlot : LabelPlot {
  BlockPlot() : LabelPlot(Points(1000, [](int i) { return i >= 400 && i < 500 ? 1.0 : 0.0; })) {}
  // Sum of (value - base level) + factor per point over [from, to], computed from the data.
  static double Integral(int from, int to, double factor = 0.0) {
    double sum = 0.0;
    for (int i = from; i <= to; ++i) sum += (i >= 400 && i < 500 ? 1.0 : 0.0) + factor;
    return sum;
  }
};

// The topmost and bottommost row of a colour in one column (-1, -1 when none).
std::pair<int, int> RowsOf(const gdi::RasterSurface& s, int x, COLORREF color) {
  int top = -1, bottom = -1;
  for (int y = 0; y < s.Height(); ++y)
    if (s.GetPixel(x, y) == color) {
      if (top < 0) top = y;
      bottom = y;
    }
  return {top, bottom};
}

TEST(IntegralCurves, RiseOverTheirRangesToTheirShareOfThePlotHeight) {
  BlockPlot plot;
  ASSERT_EQ(plot.process().GetBaseLevel(), 0.0f);
  plot.data().integrals = {{400, 499, 0.0f}, {700, 800, 0.0f}};
  plot.Add<CIntegrals>(kDrawIntegrals);
  plot.list.m_fIntegralScale = 0.5f;
  const gdi::RasterSurface s = plot.Draw(500, 300);
  SaveRendering(s, "integral_curves");

  // Columns trunc(point / (999 / 500)); a fifteenth of the height (20 rows) stays free at the
  // bottom; the total / integral scale (200) would fill the other 280 rows.
  const double p = 999.0 / 500.0;
  const int c0 = static_cast<int>(400 / p), c1 = static_cast<int>(499 / p);
  auto row = [](double v) { return 300 - static_cast<int>(280.0 * v / 200.0) - 20; };
  // The last pixel of a line is not drawn: the curve's end is one row or column short.
  const Rect ink = ColorBox(s, kIntegralPen, Rect(0, 0, 300, 300));
  EXPECT_EQ(ink.left, c0);
  EXPECT_GE(ink.right, c1);
  EXPECT_LE(ink.right, c1 + 1);
  EXPECT_LE(std::abs(ink.top - row(100.0)), 1);
  // On the way the curve holds the block's points up to each column.
  for (int column : {c0 + 10, (c0 + c1) / 2, c1 - 10}) {
    const int point = static_cast<int>(column * p);
    EXPECT_LE(std::abs(RowsOf(s, column, kIntegralPen).first - row(BlockPlot::Integral(400, point))), 3) << column;
  }
  // A range over zeros is a flat line at the curves' zero row.
  EXPECT_EQ(RowsOf(s, static_cast<int>(750 / p), kIntegralPen), std::make_pair(row(0.0), row(0.0)));
  EXPECT_TRUE(ColorBox(s, kIntegralPen, Rect(c1 + 2, 0, static_cast<int>(700 / p), 300)).IsRectEmpty());
}

TEST(IntegralCurves, StayInsideThePlotRectangleWhateverTheirScale) {
  // The default plot (frame, axes, trace), so the trace's rectangle lies inside the picture.
  LabelPlot plot(Points(1000, [](int i) { return i >= 400 && i < 500 ? 1.0 : 0.0; }), true);
  plot.list.FindDrawObject(kDrawIntegSums)->m_bEnabled = false;  // its brackets share the pen colour
  // One curve four times the height the plot gives it, one falling below its zero row.
  plot.data().integrals = {{400, 499, 0.0f}, {600, 900, -0.1f}};
  plot.list.m_fIntegralScale = 4.0f;
  plot.list.m_bIntegralCorrection = true;
  const gdi::RasterSurface s = plot.Draw(500, 300);
  SaveRendering(s, "integral_curves_clipped");
  const Rect inside = plot.list.m_plotRect;
  ASSERT_FALSE(inside.IsRectEmpty());
  const Rect ink = ColorBox(s, kIntegralPen, Rect(0, 0, 500, 300));
  ASSERT_FALSE(ink.IsRectEmpty());
  EXPECT_GE(ink.top, inside.top);
  EXPECT_LE(ink.bottom, inside.bottom);
  EXPECT_GE(ink.left, inside.left);
  EXPECT_LE(ink.right, inside.right);
}

TEST(IntegralCurves, NothingToScaleToDrawsNothing) {
  // A zero spectrum has a total integral of 0; an integral scale of 0 makes it infinite.
  LabelPlot plot(SpectrumBuilder::Nmr(1000).Constant(0.0));
  plot.data().integrals = {{100, 200, 0.0f}};
  CIntegrals& curves = plot.Add<CIntegrals>(kDrawIntegrals);
  plot.list.m_bIntegralCorrection = true;
  EXPECT_TRUE(BoxOf(plot.Draw(500, 300), kIntegralPen).IsRectEmpty());
  EXPECT_TRUE(curves.m_handleX.empty());
  BlockPlot block;
  block.data().integrals = {{400, 499, 0.0f}};
  block.Add<CIntegrals>(kDrawIntegrals);
  block.list.m_fIntegralScale = 0.0f;
  EXPECT_TRUE(BoxOf(block.Draw(500, 300), kIntegralPen).IsRectEmpty());
}

TEST(IntegralHandles, OnTheScreenOnlyAndDraggedTheCurveEndFollowsTheMouse) {
  BlockPlot plot;
  plot.data().integrals = {{400, 499, 0.0f}};
  CIntegrals& curves = plot.Add<CIntegrals>(kDrawIntegrals);
  plot.list.m_fIntegralScale = 0.5f;
  plot.list.m_plotRect = Rect(0, 0, 500, 300);
  // Without integral correction: no handle and nothing to grab.
  plot.Draw(500, 300);
  EXPECT_TRUE(curves.m_handleX.empty());
  plot.list.m_bIntegralCorrection = true;
  EXPECT_EQ(curves.HitTest(249, 0), 0);

  gdi::RasterSurface s = plot.Draw(500, 300);
  SaveRendering(s, "integral_handle");
  ASSERT_EQ(curves.m_handleX.size(), 1u);
  const int hx = curves.m_handleX[0], hy = curves.m_handleY[0];
  // At the curve's end: 100 of 200 is half of 280 rows above the zero row.
  EXPECT_EQ(hx, static_cast<int>(499 / (999.0 / 500.0)));
  EXPECT_EQ(hy, 300 - 140 - 20);
  const Rect square(hx - 4, hy - 4, hx + 4, hy + 4);
  EXPECT_EQ(s.CountPixels(kIntegralPen, &square), 64);
  EXPECT_EQ(curves.HitTest(hx + 4, hy), 1);
  EXPECT_EQ(curves.HitTest(hx - 5, hy - 5), 1);
  EXPECT_EQ(curves.HitTest(hx + 5, hy), 0);

  // A printed picture has no handles (and leaves none to grab).
  gdi::RasterSurface printed(500, 300);
  gdi::DC printer(printed);
  printer.SetPrinting(true);
  const Rect client(0, 0, 500, 300);
  plot.list.DrawAll(&printer, &client, kDrawModePrint);
  EXPECT_LT(printed.CountPixels(kIntegralPen, &square), 16);  // only the curve passes there
  EXPECT_TRUE(curves.m_handleX.empty());
  EXPECT_EQ(curves.HitTest(hx, hy), 0);
}

TEST(IntegralHandles, DragSetsTheFactorThatPutsTheCurveEndOnTheMouseRow) {
  BlockPlot plot;
  plot.data().integrals = {{400, 499, 0.0f}, {600, 600, 0.0f}};
  CIntegrals& curves = plot.Add<CIntegrals>(kDrawIntegrals);
  plot.list.m_bIntegralCorrection = true;
  plot.list.m_fIntegralScale = 4.0f;  // the curve of 100 of 25 ends above the plot
  plot.list.m_plotRect = Rect(0, 0, 500, 300);
  plot.Draw(500, 300);
  ASSERT_EQ(curves.m_handleX.size(), 2u);
  const int hx = curves.m_handleX[0], hy = curves.m_handleY[0];

  // Nothing grabbed away from a handle.
  EXPECT_FALSE(curves.Drag(hx, 150, hx + 20, hy));
  // To row 150: the end value is (300 - 20 - 150) / 280 of the total's 25.
  ASSERT_TRUE(curves.Drag(hx, 150, hx, hy));
  const double target = (300.0 - 20.0 - 150.0) * 25.0 / 280.0;
  const float factor = plot.data().integrals[0].factor;
  EXPECT_NEAR(BlockPlot::Integral(400, 499, factor), target, 1e-3);
  // Further moves find the handle where the mouse left it, drawn or not.
  ASSERT_TRUE(curves.Drag(hx, 160, hx, 150));
  ASSERT_TRUE(curves.Drag(hx, 150, hx, 160));
  plot.Draw(500, 300);
  EXPECT_LE(std::abs(curves.m_handleY[0] - 150), 1);
  // To the curves' zero row: the range integrates to 0.
  ASSERT_TRUE(curves.Drag(hx, 300 - 20, curves.m_handleX[0], curves.m_handleY[0]));
  EXPECT_NEAR(BlockPlot::Integral(400, 499, plot.data().integrals[0].factor), 0.0, 1e-3);
  // A one-point range has no slope to set.
  EXPECT_FALSE(curves.Drag(curves.m_handleX[1], 100, curves.m_handleX[1], curves.m_handleY[1]));
  EXPECT_EQ(plot.data().integrals[1].factor, 0.0f);
}

// Ranges shown with integral sums: a plot whose trace stood in 500 columns, one point each.
struct SumsPlot : BlockPlot {
  SumsPlot() {
    list.m_fRightBound = 499.0f;
    SetScale(Rect(0, 0, 500, 300), 0.0f, 1.0f, 1.0f);
  }
};

TEST(IntegralSums, LabelTheShareOfTheTotalUnderBracketsInABandAtTheBottom) {
  BlockPlot plot;
  plot.data().integrals = {{400, 449, 0.0f}, {450, 499, 0.0f}, {700, 799, 0.5f}, {950, 1200, 0.0f}};
  CIntegSums& sums = plot.Add<CIntegSums>(kDrawIntegSums);
  plot.list.m_fIntegSum = 300.0f;
  // Shares of the total 100 in 300; the third holds 100 x 0.5 of added slope; the last is cut
  // at the view's end.
  EXPECT_EQ(TextsOf(sums, Rect(0, 0, 500, 300)),
            (std::vector<std::string>{"150.00", "150.00", "150.00", "0.00"}));

  gdi::RasterSurface s(500, 300, kWhite);
  gdi::DC dc(s);
  Rect rect(0, 0, 500, 300);
  sums.Draw(&dc, &rect, kDrawModeScreen);
  SaveRendering(s, "integral_sums");
  // Vertical labels of 9 points: the band holds 3 half lines and the label's length of
  // trunc(log10 300) + 2 + 1 characters.
  const gdi::Size cell = Alphabet(LabelFont(9, 900, 0));
  const int c = cell.cx, h = cell.cy / 2;
  const int y0 = 300 - 3 * h - 5 * c;
  EXPECT_EQ(rect, Rect(0, 0, 500, y0));
  EXPECT_EQ(sums.m_area, Rect(0, y0, 500, 300));
  // The bracket of the first range starts at its ends' columns and comes down to the bottom.
  const double p = 999.0 / 500.0;
  const int xa = static_cast<int>(400 / p), xb = static_cast<int>(449 / p);
  for (int y = y0; y < y0 + h; ++y) {
    EXPECT_EQ(s.GetPixel(xa, y), kIntegralPen) << y;
    EXPECT_EQ(s.GetPixel(xb, y), kIntegralPen) << y;
  }
  EXPECT_FALSE(ColorBox(s, kIntegralPen, Rect(xa - c, 299, xb + c, 300)).IsRectEmpty());
  EXPECT_TRUE(ColorBox(s, kIntegralPen, Rect(0, 0, 500, y0)).IsRectEmpty());

  // Horizontal labels need only two half lines beside the brackets.
  sums.m_logFont.lfEscapement = 0;
  rect = Rect(0, 0, 500, 300);
  sums.Draw(&dc, &rect, kDrawModeScreen);
  EXPECT_EQ(rect.bottom, 300 - 3 * (Alphabet(LabelFont(9, 0, 0)).cy / 2) - 2 * (Alphabet(LabelFont(9, 0, 0)).cy / 2));
}

TEST(IntegralSums, CrowdedLabelsStandSideBySide) {
  BlockPlot plot;
  plot.data().integrals = {{400, 403, 0.0f}, {404, 407, 0.0f}, {408, 411, 0.0f}};
  CIntegSums& sums = plot.Add<CIntegSums>(kDrawIntegSums);
  gdi::RasterSurface s(500, 300, kWhite);
  gdi::DC dc(s);
  Rect rect(0, 0, 500, 300);
  sums.Draw(&dc, &rect, kDrawModeScreen);
  SaveRendering(s, "integral_sums_crowded");
  // Each label "4.00" (vertical: its width is the line height) between the bracket's legs; a
  // label that would start left of the previous one's right leg starts there instead.
  const gdi::LOGFONTA font = LabelFont(9, 900, 0);
  const gdi::Size cell = Alphabet(font);
  const int c = cell.cx, h = cell.cy / 2;
  const int w = Measure(font, "4.00").cy;
  const double p = 999.0 / 500.0;
  int right = 0;
  std::vector<std::pair<int, int>> legs;
  for (const CSpcIntegral& r : plot.data().integrals) {
    const int xa = static_cast<int>(r.from / p), xb = static_cast<int>(r.to / p);
    const int g = (xb - w - xa) / 2;
    int lx = xa + g - c / 2, rx = xb - g + c / 2;
    if (lx < right) rx += right - lx, lx = right;
    right = rx;
    legs.emplace_back(lx, rx);
  }
  EXPECT_EQ(legs[1].first, legs[0].second);
  EXPECT_EQ(legs[2].first, legs[1].second);
  for (const auto& [lx, rx] : legs) {
    EXPECT_EQ(s.GetPixel(lx, 298), kIntegralPen) << lx;
    EXPECT_EQ(s.GetPixel(rx, 298), kIntegralPen) << rx;
    // The label's ink lies between the legs.
    const Rect ink = InkBox(s, Rect(lx + 1, rect.bottom + 3 * h, rx, 300));
    EXPECT_FALSE(ink.IsRectEmpty());
    EXPECT_LE(ink.right, rx + 1);
  }
}

TEST(IntegralSums, NothingBeyondTheSpectrumAndNeverADivisionByZero) {
  LabelPlot plot(SpectrumBuilder::Nmr(1000).Constant(0.0));
  plot.data().integrals = {{100, 200, 0.0f}};
  CIntegSums& sums = plot.Add<CIntegSums>(kDrawIntegSums);
  // A zero total: the share reads 0, whatever the integral sum (0 and below count as 1).
  plot.list.m_fIntegSum = 0.0f;
  EXPECT_EQ(TextsOf(sums, Rect(0, 0, 500, 300)), (std::vector<std::string>{"0.00"}));
  sums.m_nDigits = 40;
  EXPECT_EQ(TextsOf(sums, Rect(0, 0, 500, 300)), (std::vector<std::string>{"0.000000000"}));
  // No band without ranges or in the time domain.
  Rect rect(0, 0, 500, 300);
  gdi::RasterSurface s(500, 300);
  gdi::DC dc(s);
  plot.data().nDomain = 0;
  sums.Draw(&dc, &rect, kDrawModeScreen);
  EXPECT_EQ(rect, Rect(0, 0, 500, 300));
  EXPECT_TRUE(sums.m_area.IsRectEmpty());
}

TEST(IntegralSums, HitTestSplitAndSelectionAreOnTheRangeUnderTheMouse) {
  SumsPlot plot;
  plot.data().integrals = {{100, 200, 0.5f}, {300, 400, 1.0f}};
  CIntegSums& sums = plot.Add<CIntegSums>(kDrawIntegSums);
  sums.m_area = Rect(0, 250, 500, 300);
  EXPECT_EQ(sums.HitTest(150, 260), 1);
  EXPECT_EQ(sums.HitTest(250, 260), 0);  // between ranges
  EXPECT_EQ(sums.HitTest(100, 260), 0);  // on an end: not inside
  EXPECT_EQ(sums.HitTest(150, 200), 0);  // above the band

  plot.list.m_selection = Rect(10, 260, 40, 280);
  EXPECT_TRUE(sums.EditAt(0, 150, 260));
  EXPECT_EQ(plot.data().integrals.size(), 3u);
  EXPECT_EQ(plot.data().integrals[0].from, 100u);
  EXPECT_EQ(plot.data().integrals[0].to, 150u);
  EXPECT_EQ(plot.data().integrals[0].factor, 0.5f);
  EXPECT_EQ(plot.data().integrals[1].from, 151u);
  EXPECT_EQ(plot.data().integrals[1].to, 200u);
  EXPECT_EQ(plot.data().integrals[1].factor, 1.0f);
  EXPECT_TRUE(plot.list.m_selection.IsRectEmpty());
  plot.list.m_selection = Rect(10, 260, 40, 280);
  EXPECT_FALSE(sums.EditAt(0, 250, 260));
  EXPECT_TRUE(plot.list.m_selection.IsRectEmpty());

  sums.m_area = Rect(10, 250, 400, 300);
  plot.list.m_selection = Rect(100, 20, 100, 20);
  sums.SetVerticalArea(0, 50, 30);
  EXPECT_EQ(plot.list.m_selection, Rect(50, 250, 100, 300));
  EXPECT_EQ(sums.GetContextMenu(true), 2);
}

TEST(IntegralSums, ShiftedRangesStopAtTheirNeighboursAndAtTheDataEnds) {
  SumsPlot plot;
  CIntegSums& sums = plot.Add<CIntegSums>(kDrawIntegSums);
  auto ranges = [&] {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> out;
    for (const CSpcIntegral& r : plot.data().integrals) out.emplace_back(r.from, r.to);
    return out;
  };
  using Ranges = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
  plot.data().integrals = {{100, 200, 1.0f}, {300, 400, 1.0f}, {600, 700, 1.0f}};
  // Left by 50: free; left by 150 more: stops where it touches the predecessor.
  EXPECT_TRUE(sums.Drag(300, 0, 350, 0));
  EXPECT_EQ(ranges(), (Ranges{{100, 200}, {250, 350}, {600, 700}}));
  EXPECT_TRUE(sums.Drag(150, 0, 300, 0));
  EXPECT_EQ(ranges(), (Ranges{{100, 200}, {200, 300}, {600, 700}}));
  // Right: stops where its end touches the successor's start.
  EXPECT_TRUE(sums.Drag(650, 0, 250, 0));
  EXPECT_EQ(ranges(), (Ranges{{100, 200}, {500, 600}, {600, 700}}));
  // The first past point 0, the last past the last point (999).
  EXPECT_TRUE(sums.Drag(0, 0, 150, 0));
  EXPECT_EQ(ranges()[0], std::make_pair(0u, 100u));
  EXPECT_TRUE(sums.Drag(1000, 0, 650, 0));
  EXPECT_EQ(ranges()[2], std::make_pair(899u, 999u));
  // A press outside every range moves nothing.
  EXPECT_FALSE(sums.Drag(400, 0, 450, 0));
}

}  // namespace
