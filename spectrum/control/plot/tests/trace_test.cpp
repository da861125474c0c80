#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "spectrum/control/plot/trace.h"
#include "spectrum/control/plot/tests/plot_testing.h"

namespace plot_test {
namespace {

// A plot holding only the trace, which then draws in the whole surface.
struct TracePlot {
  explicit TracePlot(std::unique_ptr<TestSpectrum> s) : plot(std::move(s), false) {
    trace = dynamic_cast<CSpectrum*>(plot.list.GetDrawObject(kDrawSpectrum));
    plot.ViewAll();
  }
  gdi::RasterSurface Draw(int width, int height, const std::string& png = "") {
    return DrawList(plot.list, width, height, png);
  }
  // The row of a value as the scale puts it, computed from the list's range.
  int Row(double v, int height) const {
    const CDrawObjectList& l = plot.list;
    const double range = double(l.m_fYMax) - l.m_fYMin;
    const int zero = static_cast<int>((l.m_fYMin / range - l.m_fVerticalOffset) * height + height);
    return static_cast<int>(zero - height * v / range * l.m_fAmplitude);
  }
  TestPlot plot;
  CSpectrum* trace;
};

// Values whose power and value do not rise together: the buffer must choose by power.
double Signed(int i) { return i % 3 == 1 ? -(i + 1.0) : i * 0.5; }

TEST(Trace, ColumnBufferTakesTheStrongestPointOfEachColumn) {
  TracePlot t(SpectrumBuilder::Nmr(1001).Values(Signed).Build());
  t.plot.list.m_fRightBound = 1000.0f;
  t.Draw(400, 200);
  const std::vector<float>& b = t.trace->m_buffer;
  ASSERT_EQ(b.size(), 401u);
  EXPECT_FLOAT_EQ(t.plot.list.m_fPointsPerPixel, 1000.0f / 401.0f);
  EXPECT_EQ(b[0], Signed(1));   // points 0 and 1
  EXPECT_EQ(b[1], Signed(3));   // 2 and 3: 1.0, -4... 3 % 3 == 0, so 1.5 against 1.0
  EXPECT_EQ(b[2], Signed(4));   // 4, 5, 6
  // The scale is the range of the stored values.
  EXPECT_EQ(t.plot.list.m_fYMax, *std::max_element(b.begin(), b.end() - 1));
  EXPECT_EQ(t.plot.list.m_fYMin, std::min(0.0f, *std::min_element(b.begin(), b.end() - 1)));
  EXPECT_FLOAT_EQ(t.plot.list.m_fValuePerPixel, (t.plot.list.m_fYMax - t.plot.list.m_fYMin) / 200.0f);
}

TEST(Trace, FewPointsAreEachDrawnAtTheirColumn) {
  // A zigzag of 101 points over 400 columns: point k at column trunc(k x 401 / 100).
  TracePlot t(SpectrumBuilder::Nmr(101).Values([](int i) { return i % 2 ? 1.0 : -1.0; }).Build());
  t.trace->m_nDrawAlgorithm = 0;
  const gdi::RasterSurface s = t.Draw(400, 201, "trace_zigzag.png");
  ASSERT_EQ(t.trace->m_buffer.size(), 101u);
  for (int k = 1; k < 100; k += 2) EXPECT_EQ(s.GetPixel(k * 401 / 100, t.Row(1.0, 201)), kBlack) << k;
}

TEST(Trace, ValuesAboveTheTopLieOnTheTopRowAsLinesAndAreLeftOutAsDots) {
  auto spectrum = [] { return SpectrumBuilder::Nmr(200).Values([](int i) { return i == 100 ? 10.0 : i % 2; }).Build(); };
  for (const int algorithm : {0, 1}) {
    TracePlot t(spectrum());
    t.trace->m_nDrawAlgorithm = algorithm;
    t.plot.list.m_fAmplitude = 4.0f;
    const gdi::RasterSurface s = t.Draw(400, 200);
    EXPECT_FALSE(ColumnsOf(s, 0, kBlack).empty()) << algorithm;
  }
  TracePlot dots(spectrum());
  dots.plot.list.m_bDots = true;
  dots.plot.list.m_fAmplitude = 4.0f;
  const gdi::RasterSurface s = dots.Draw(400, 200, "trace_dots.png");
  EXPECT_TRUE(ColumnsOf(s, 0, kBlack).empty());
  // The odd points are dots on the row of 1 (point k at column trunc(k x 401 / 199)); the
  // zeros lie on the row below the rectangle and the last point one column past its right.
  EXPECT_EQ(dots.Row(1.0, 200), 120);
  EXPECT_EQ(s.GetPixel(2, 120), kBlack);
  EXPECT_EQ(s.CountPixels(kBlack), 99);
}

TEST(Trace, ZoomRegionIsDrawnMagnifiedAndMarkedOnceTheWalkPassesIt) {
  auto lines = [](int i) { return Lorentz({{150, 10, 3}, {500, 40, 3}}, i); };
  TracePlot t(SpectrumBuilder::Nmr(801).Values(lines).Build());
  t.trace->m_zoomColor = gdi::RGB(255, 0, 0);
  t.plot.list.m_zoomRegions = {{100, 200, 4}};
  const gdi::RasterSurface s = t.Draw(801, 300, "trace_zoom.png");
  // p = 800 / 802: point 150 at column trunc(150 / p) = 150; drawn at 4 x its height.
  const int column = static_cast<int>(150 / (800.0 / 802.0));
  EXPECT_EQ(s.GetPixel(column, t.Row(4 * lines(150), 300)), kBlack);
  EXPECT_NE(s.GetPixel(column, t.Row(lines(150), 300)), kBlack);
  // The label is in the zoom colour, above the start mark.
  const Rect label = RedBox(s);
  ASSERT_FALSE(label.IsRectEmpty());
  const int start = static_cast<int>(100 / (800.0 / 802.0));
  EXPECT_GE(label.left, start);
  EXPECT_LT(label.left, start + 4);
  // The end mark: a short vertical line at point 200's column.
  const int end = static_cast<int>(200 / (800.0 / 802.0));
  const int cy = TextSize(MakeLogFont(10, 400, 1, "Arial"), "X").cy;
  const int markRow = std::max(2 * cy, t.Row(4 * lines(150), 300));
  EXPECT_EQ(s.GetPixel(end, markRow - cy / 2), kBlack);

  // A region the walk never passes gets no marks.
  TracePlot open(SpectrumBuilder::Nmr(801).Values(lines).Build());
  open.trace->m_zoomColor = gdi::RGB(255, 0, 0);
  open.plot.list.m_zoomRegions = {{700, 900, 2}};
  EXPECT_TRUE(RedBox(open.Draw(801, 300)).IsRectEmpty());
}

TEST(Trace, HoldFlagKeepsTheZeroRowAndScalesTheAmplitude) {
  auto build = [](double scale) {
    return SpectrumBuilder::Nmr(400).Values([scale](int i) { return scale * (Lorentz({{200, 10, 5}}, i) - 1.0); }).Build();
  };
  TracePlot t(build(1.0));
  t.Draw(400, 200);
  const int zero = t.plot.list.GetZeroY(&t.plot.list.m_plotRect);
  // A processing step doubles the values under the hold flag.
  for (CSpcPoint& p : t.plot.spectrum->data.spectrum()) p.re *= 2;
  t.plot.list.m_bHold = true;
  t.Draw(400, 200);
  EXPECT_FLOAT_EQ(t.plot.list.m_fAmplitude, 2.0f);
  EXPECT_FALSE(t.plot.list.m_bHold);
  EXPECT_EQ(t.plot.list.m_nHeldZeroY, zero);
  // A flat result has no range to scale by: the amplitude stays.
  for (CSpcPoint& p : t.plot.spectrum->data.spectrum()) p.re = 0;
  t.plot.list.m_bHold = true;
  t.Draw(400, 200);
  EXPECT_FLOAT_EQ(t.plot.list.m_fAmplitude, 2.0f);
}

// "Best" through 50 points a column of wild values: the pixels are those of a one-pixel line
// through every point, drawn here segment by segment. Values 0 .. 200 on 200 rows make the
// scale exact: value v lies on row 200 - v.
TEST(Trace, BestCoversThePixelsOfEverySegment) {
  auto value = [](int i) { return double((static_cast<long long>(i) * 7919) % 201); };
  constexpr int n = 20000;
  TracePlot t(SpectrumBuilder::Nmr(n).Values(value).Build());
  const gdi::RasterSurface drawn = t.Draw(400, 200);
  ASSERT_EQ(t.plot.list.m_fYMin, 0.0f);
  ASSERT_EQ(t.plot.list.m_fYMax, 200.0f);

  gdi::RasterSurface expected(400, 200, kWhite);
  gdi::DC dc(expected);
  const double p = (n - 1) / 401.0;
  dc.MoveTo(0, std::max(0, static_cast<int>(200 - t.trace->m_buffer[0])));
  int lastX = -1, lastY = -1;
  for (int k = 0; k < n; ++k) {
    const int x = static_cast<int>(k / p), y = std::max(0, static_cast<int>(200 - value(k)));
    if (x == lastX && y == lastY) continue;
    dc.LineTo(x, y);
    lastX = x;
    lastY = y;
  }
  int differing = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 400; ++x) differing += drawn.GetPixel(x, y) != expected.GetPixel(x, y);
  EXPECT_EQ(differing, 0);
}

TEST(Trace, FastestKeepsBothExtremesOfEveryColumn) {
  // 100 000 points in 400 columns; a one-point spike up and one down share column 200. The
  // column's buffer value is the spike up (the greater power), so only the extremes show the
  // spike down.
  auto values = [](int i) { return i == 50000 ? 8.0 : i == 50050 ? -1.5 : 2 * std::sin(i * 0.001); };
  TracePlot fast(SpectrumBuilder::Nmr(100000).Values(values).Build());
  fast.trace->m_nDrawAlgorithm = 0;
  const gdi::RasterSurface f = fast.Draw(400, 200, "trace_fastest.png");
  TracePlot best(SpectrumBuilder::Nmr(100000).Values(values).Build());
  const gdi::RasterSurface b = best.Draw(400, 200, "trace_best.png");
  const double p = 99999.0 / 401.0;
  const int column = static_cast<int>(50000 / p);
  ASSERT_EQ(column, static_cast<int>(50050 / p));
  for (const gdi::RasterSurface* s : {&f, &b}) {
    EXPECT_EQ(s->GetPixel(column, fast.Row(8.0, 200)), kBlack);
    EXPECT_EQ(s->GetPixel(column, fast.Row(-1.5, 200)), kBlack);
  }
  // Both drawings reach every column and nothing beyond the stored ones.
  for (const gdi::RasterSurface* s : {&f, &b}) {
    const Rect box = BoxOf(*s, kBlack);
    EXPECT_EQ(box.left, 0);
    EXPECT_GE(box.right, 399);
    EXPECT_EQ(box.top, fast.Row(8.0, 200));
  }
}

// The list drawn into the top 400 x 200 of a taller surface, so the row just below the plot
// rectangle (where the smallest value lies) shows.
gdi::RasterSurface DrawAbove(CDrawObjectList& list) {
  gdi::RasterSurface surface(400, 210, kWhite);
  gdi::DC dc(surface);
  const Rect client(0, 0, 400, 200);
  list.DrawAll(&dc, &client, kDrawModeScreen);
  return surface;
}

TEST(Trace, ZeroSpansDrawTheDegenerateCase) {
  // All values equal: a flat line on the zero row, the plot's bottom, in every drawing.
  TracePlot flat(SpectrumBuilder::Nmr(1000).Constant(5.0).Build());
  for (const int algorithm : {0, 1}) {
    flat.trace->m_nDrawAlgorithm = algorithm;
    const gdi::RasterSurface s = DrawAbove(flat.plot.list);
    // "Fastest" ends at the last column, "Best" at the column of the last point (400).
    EXPECT_EQ(BoxOf(s, kBlack), Rect(0, 200, algorithm == 0 ? 399 : 400, 201)) << algorithm;
    EXPECT_EQ(flat.plot.list.m_fValuePerPixel, 0.0f);
  }

  // One point (and any view of a single point): p = 0, the flat line across the plot.
  TracePlot one(SpectrumBuilder::Nmr(1).Constant(3.0).Build());
  for (const int algorithm : {0, 1}) {
    one.trace->m_nDrawAlgorithm = algorithm;
    const gdi::RasterSurface s = DrawAbove(one.plot.list);
    EXPECT_EQ(one.plot.list.m_fPointsPerPixel, 0.0f);
    EXPECT_EQ(one.trace->m_buffer.size(), 1u);
    EXPECT_EQ(BoxOf(s, kBlack), Rect(0, 200, 400, 201)) << algorithm;
  }
  TracePlot narrow(SpectrumBuilder::Nmr(100).Values(Signed).Build());
  narrow.plot.list.m_fLeftBound = narrow.plot.list.m_fRightBound = 40.0f;
  EXPECT_EQ(BoxOf(DrawAbove(narrow.plot.list), kBlack), Rect(0, 200, 400, 201));
  // As dots the one point is one pixel at the left edge.
  one.plot.list.m_bDots = true;
  EXPECT_EQ(BoxOf(DrawAbove(one.plot.list), kBlack), Rect(0, 200, 1, 201));

  // No data, reversed or absurd bounds, an empty rectangle: nothing to draw, no fault.
  TracePlot empty(SpectrumBuilder::Nmr(0).Build());
  EXPECT_EQ(BoxOf(DrawAbove(empty.plot.list), kBlack).IsRectEmpty(), true);
  empty.plot.list.m_fLeftBound = empty.plot.list.m_fRightBound = 0.0f;
  EXPECT_EQ(BoxOf(DrawAbove(empty.plot.list), kBlack).IsRectEmpty(), true);
  TracePlot odd(SpectrumBuilder::Nmr(100).Values(Signed).Build());
  odd.plot.list.m_fLeftBound = 90.0f;
  odd.plot.list.m_fRightBound = 10.0f;
  odd.Draw(400, 200);
  odd.plot.list.m_fLeftBound = -1.0e12f;
  odd.plot.list.m_fRightBound = 1.0e12f;
  for (const int algorithm : {0, 1}) {
    odd.trace->m_nDrawAlgorithm = algorithm;
    odd.Draw(400, 200);
  }
  odd.plot.list.m_bDots = true;
  odd.Draw(400, 200);
  // So far out that neighbouring points cannot be told apart: the walks end.
  odd.plot.list.m_fLeftBound = -1.0e30f;
  odd.plot.list.m_fRightBound = 1.0e30f;
  odd.Draw(400, 200);
  odd.plot.list.m_bDots = false;
  odd.Draw(400, 200);
  odd.plot.list.m_fRightBound = std::nanf("");
  odd.Draw(400, 200);
  // Absurd but finite view values (as an archive may hold them) stay inside the pixel range.
  odd.plot.list.m_bDots = false;
  odd.plot.list.m_fLeftBound = 0.0f;
  odd.plot.list.m_fRightBound = 99.0f;
  odd.plot.list.m_fAmplitude = 1e30f;
  odd.plot.list.m_fTopMargin = -1e30f;
  odd.plot.list.m_zoomRegions = {{-1e30f, 1e30f, 1e30f}};
  for (const int algorithm : {0, 1}) {
    odd.trace->m_nDrawAlgorithm = algorithm;
    odd.Draw(400, 200);
  }
  TestPlot wild(SpectrumBuilder::Nmr(100).Values(Signed).Build());
  wild.list.m_fAmplitude = 1e-30f;
  wild.list.m_fBottomMargin = 1e30f;
  wild.Render(400, 200);
  wild.list.m_fBottomMargin = 0.0f;
  wild.list.m_fAmplitude = 1e30f;
  wild.Render(400, 200);
  gdi::RasterSurface surface(10, 10);
  gdi::DC dc(surface);
  gdi::Rect nothing(5, 5, 5, 50);
  odd.trace->Draw(&dc, &nothing, kDrawModeScreen);
  EXPECT_EQ(odd.plot.list.m_plotRect, nothing);
}

TEST(Trace, MassScanIsDrawnAsSticksAboveTheThreshold) {
  std::vector<CSpcPoint> peaks = {{100, 20}, {5, 40}, {60, 60}, {9, 80}, {30, 90}};
  TracePlot t(SpectrumBuilder::Mass().Scan(peaks).Build());
  t.plot.list.m_fLeftBound = 0.0f;
  t.plot.list.m_fRightBound = 100.0f;
  t.plot.list.m_fMassThreshold = 0.1f;
  const gdi::RasterSurface s = t.Draw(401, 200, "trace_mass.png");
  // x = mass / 100 x 401; a stick from the bottom up to (not including) the row of its height.
  EXPECT_EQ(t.plot.list.m_fYMax, 100.0f);
  for (const CSpcPoint& p : peaks) {
    const int x = static_cast<int>(p.im / 100.0 * 401);
    const int top = static_cast<int>(200 - 200 * p.re / 100.0);
    const bool drawn = p.re > 10.0f;
    EXPECT_EQ(s.GetPixel(x, 199) == kBlack, drawn) << p.im;
    if (drawn) {
      EXPECT_EQ(s.GetPixel(x, top + 1), kBlack);
      EXPECT_NE(s.GetPixel(x, top), kBlack);
    }
  }
  // A zoom region over 50-70 draws the peak at 60 three times higher, clamped at the top.
  t.plot.list.m_zoomRegions = {{50, 70, 3}};
  t.plot.list.m_fMassThreshold = 0.0f;
  t.trace->m_zoomColor = gdi::RGB(255, 0, 0);
  const gdi::RasterSurface z = t.Draw(401, 200);
  EXPECT_EQ(z.GetPixel(static_cast<int>(0.6 * 401), 1), kBlack);
  EXPECT_FALSE(RedBox(z).IsRectEmpty());
  // No peaks: nothing.
  TracePlot none(SpectrumBuilder::Mass().Scan({}).Build());
  EXPECT_TRUE(BoxOf(none.Draw(100, 100), kBlack).IsRectEmpty());
}

TEST(Trace, EachRowOfTwoDimensionalDataIsItsOwnTrace) {
  TracePlot t(SpectrumBuilder::Nmr2D(2, 100).Values([](int i) { return i < 100 ? 1.0 : Lorentz({{150, 5, 2}}, i); }).Build());
  EXPECT_TRUE(BoxOf(t.Draw(100, 100), kBlack).Height() <= 1);  // row 0 is flat
  t.plot.spectrum->process.SetScan(1);
  const gdi::RasterSurface s = t.Draw(100, 100);
  EXPECT_GT(BoxOf(s, kBlack).Height(), 50);
}

TEST(Trace, IonCurrentRunsThroughOneValuePerScan) {
  auto spectrum = SpectrumBuilder::Mass()
                      .Scan({{1, 50}}, 10.0f)
                      .Scan({{1, 50}}, 40.0f)
                      .Scan({{1, 50}}, 20.0f)
                      .Scan({{1, 50}}, 0.0f)
                      .Build();
  TestPlot plot(std::move(spectrum), false);
  CIonCurrent current(&plot.list, &plot.spectrum->process, 0);
  current.SetDefaults();
  gdi::RasterSurface s(400, 200, kWhite);
  gdi::DC dc(s);
  Rect area(0, 0, 400, 200);
  current.Draw(&dc, &area, kDrawModePrint);
  // Scan i at x = i x 400 / 4, y = 200 - value x 200 / 40.
  EXPECT_EQ(s.GetPixel(0, 150), kBlack);
  EXPECT_EQ(s.GetPixel(100, 0), kBlack);
  EXPECT_EQ(s.GetPixel(200, 100), kBlack);
  EXPECT_TRUE(current.m_area.IsRectEmpty());
  EXPECT_EQ(current.GetContextMenu(false), 1);
  EXPECT_EQ(current.GetContextMenu(true), 0);

  // Without any current the curve lies on the bottom row; without scans nothing is drawn.
  for (CMassScan& scan : plot.spectrum->data.scans) scan.fIonCurrent = 0;
  gdi::RasterSurface flat(400, 201, kWhite);
  gdi::DC flatDc(flat);
  current.Draw(&flatDc, &area, kDrawModePrint);
  EXPECT_EQ(BoxOf(flat, kBlack), Rect(0, 200, 300, 201));
  plot.spectrum->data.scans.clear();
  gdi::RasterSurface none(400, 200, kWhite);
  gdi::DC noneDc(none);
  current.Draw(&noneDc, &area, kDrawModePrint);
  EXPECT_TRUE(BoxOf(none, kBlack).IsRectEmpty());
}

}  // namespace
}  // namespace plot_test
