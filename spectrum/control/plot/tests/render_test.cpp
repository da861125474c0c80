// Renderings of whole plots at 800 x 400, checked on their pixels against positions derived
// here from the data range and the fonts' measures.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "spectrum/control/plot/axes.h"
#include "spectrum/control/plot/trace.h"
#include "spectrum/control/plot/tests/plot_testing.h"

namespace plot_test {
namespace {

constexpr int kWidth = 800, kHeight = 400;

// Where the axes of a default plot lie, worked out from the fonts and the zoom.
struct Layout {
  int zoom;
  int c;       // character width of the vertical scale's font
  int h;       // half its height
  int a, b;    // "A" in two thirds of the x axis font
  int left;    // where the x axis and the trace start (after the vertical scale's band)
  int axisTop; // the x axis line
  int plotBottom;

  Layout(int z, std::string_view unitName, int bandChars = 4) : zoom(z) {
    const gdi::Size letters = TextSize(MakeLogFont(10, 400, 0, "Arial"), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", z);
    c = letters.cx / 52;
    h = letters.cy / 2;
    const gdi::Size letter = TextSize(MakeLogFont(8, 400, 0, "Arial"), "A", z);  // 12 x 2 / 3
    a = letter.cx;
    b = letter.cy;
    left = c * bandChars;
    axisTop = XAxisTop(kHeight, unitName, z);
    plotBottom = axisTop - b / 2;
  }
};

// The columns of the x axis's major ticks, from the axis values at the left and right.
std::set<int> MajorTicks(double x0, double x1, const Layout& l) { return MajorTickColumns(x0, x1, l.left, kWidth, l.a, l.b); }

// The major ticks of the vertical scale (percent of the plot height), as rows.
std::set<int> PercentTicks(const Layout& l, int plotTop, double amplitude) {
  const double full = 100 / amplitude, height = l.plotBottom - plotTop;
  const double s = LabelStepOf(4, -100 / amplitude * l.h / height);
  const double perPixel = full / height;
  std::set<int> rows;
  for (double v = 0; v < full; v += s) {
    const int py = static_cast<int>(v / perPixel);
    for (const int j : {0, 5}) {
      const int y = l.plotBottom - py - static_cast<int>(std::lround(static_cast<int>(s / perPixel) * j / 10.0));
      if (plotTop < y && y < l.plotBottom) rows.insert(y);
    }
  }
  return rows;
}

// Columns of a row in a colour.
std::set<int> Blue(const gdi::RasterSurface& s, int y) {
  const std::vector<int> xs = ColumnsOf(s, y, kScaleBlue);
  return std::set<int>(xs.begin(), xs.end());
}

// Checks one rendering: the x axis's major ticks, the vertical scale's, the trace inside its
// rectangle, the frame when shown.
void CheckRender(TestPlot& plot, const std::string& name, double x0, double x1, int zoom = 100) {
  SCOPED_TRACE(name);
  const gdi::RasterSurface s = plot.Render(kWidth, kHeight, zoom, name + ".png");
  const Layout l(zoom, GetUnitName(plot.list.UsableUnit(plot.Find<CScale>(kDrawScale)->m_nUnit)));
  const Rect plotRect = plot.list.m_plotRect;
  EXPECT_EQ(plotRect, Rect(l.left, 0, kWidth, l.plotBottom));

  // Major ticks reach b / 3 below the axis line, minor ones only b / 4. At 100 % the pens are
  // one pixel wide; at 200 % every tick is two (the minor ones' ends may reach further).
  const auto expectTicks = [zoom](const std::set<int>& drawn, const std::set<int>& expected) {
    if (zoom == 100) {
      EXPECT_EQ(drawn, expected);
      return;
    }
    for (const int at : expected) EXPECT_TRUE(drawn.count(at) && drawn.count(at + 1)) << at;
  };
  expectTicks(Blue(s, l.axisTop + l.b / 3 - 1), MajorTicks(x0, x1, l));

  // The vertical scale: its axis at the band's right edge, major ticks 2h / 3 long.
  const int axisX = l.left;
  std::set<int> rows;
  for (int y = 1; y < l.plotBottom - 1; ++y)
    if (s.GetPixel(axisX - 2 * l.h / 3 + 1, y) == kScaleBlue) rows.insert(y);
  expectTicks(rows, PercentTicks(l, 0, plot.list.m_fAmplitude));

  // Trace pixels lie in the plot rectangle (its minimum on the row just below it), right of
  // the unit name.
  Rect trace;
  for (int y = 0; y < kHeight; ++y)
    for (int x = l.left + l.b + 1; x < kWidth; ++x)
      if (s.GetPixel(x, y) == kBlack) trace.UnionRect(trace, Rect(x, y, x + 1, y + 1));
  ASSERT_FALSE(trace.IsRectEmpty());
  EXPECT_GE(trace.top, plotRect.top);
  EXPECT_LE(trace.bottom, plotRect.bottom + 1);
  EXPECT_GE(trace.left, plotRect.left);
}

TEST(Render, NmrSpectrumOnAFallingPpmAxis) {
  // 16384 points over 10 .. 0 ppm; lines at 7.26, 4.12, 2.05 and 1.26 ppm.
  constexpr int n = 16384;
  auto ppmPoint = [](double ppm) { return (10.0 - ppm) / 10.0 * n; };
  TestPlot plot(SpectrumBuilder::Nmr(n)
                    .Lines({{ppmPoint(7.26), 20, 4}, {ppmPoint(4.12), 60, 5}, {ppmPoint(2.05), 90, 5}, {ppmPoint(1.26), 100, 6}})
                    .Build());
  CheckRender(plot, "render_nmr", plot.spectrum->process.PointToPpm(0), plot.spectrum->process.PointToPpm(n - 1));
}

TEST(Render, FreeInductionDecayOnATimeAxis) {
  const int n = 8192;
  TestPlot plot(SpectrumBuilder::Fid(n)
                    .Values([](int i) { return 100 * std::exp(-i / 1500.0) * std::cos(i * 0.21); },
                            [](int i) { return 100 * std::exp(-i / 1500.0) * std::sin(i * 0.21); })
                    .Build());
  CheckRender(plot, "render_fid", plot.spectrum->process.PointToTime(0), plot.spectrum->process.PointToTime(n - 1));
}

TEST(Render, InfraredSpectrumOnAFallingWavenumberAxis) {
  const int n = 3601;
  TestPlot plot(SpectrumBuilder::Ir(n)
                    .Values([](int i) { return 95 - Lorentz({{1900, 60, 12}, {2800, 35, 30}, {600, 50, 8}}, i); })
                    .Build());
  CheckRender(plot, "render_ir", plot.spectrum->process.PointToX(0), plot.spectrum->process.PointToX(n - 1));
}

TEST(Render, MassSpectrumOnAMassAxis) {
  std::vector<CSpcPoint> peaks;
  for (int mz = 40; mz <= 300; mz += 13) peaks.push_back({static_cast<float>((mz * 37) % 100 + 5), static_cast<float>(mz)});
  TestPlot plot(SpectrumBuilder::Mass().Scan(peaks).Build());
  plot.list.m_fLeftBound = 30.0f;
  plot.list.m_fRightBound = 310.0f;
  CheckRender(plot, "render_mass", 30.0, 310.0);
}

// At zoom 200 pens are twice as wide and fonts twice as high, by the appearance formulas.
TEST(Render, ZoomTwoHundredDoublesPensAndFonts) {
  auto build = [] { return SpectrumBuilder::Nmr(4096).Lines({{1000, 50, 4}, {3000, 100, 4}}).Build(); };
  TestPlot plot(build());
  CheckRender(plot, "render_zoom200", plot.spectrum->process.PointToPpm(0), plot.spectrum->process.PointToPpm(4095), 200);

  // The frame: 0.3 mm is 1 pixel at 100 % and 2 at 200 %, drawn in red.
  for (const int zoom : {100, 200}) {
    TestPlot framed(build());
    framed.list.FindDrawObject(kDrawBorder)->m_bEnabled = true;
    const gdi::RasterSurface s = framed.Render(kWidth, kHeight, zoom, "render_frame_" + std::to_string(zoom) + ".png");
    const int w = ScalePenWidth(30, zoom, 96);
    EXPECT_EQ(w, zoom / 100);
    int red = 0;
    for (int x = 0; x < 10; ++x) red += s.GetPixel(x, kHeight / 2) == kBorderRed;
    EXPECT_EQ(red, w);
    EXPECT_EQ(gdi::GetRValue(kBorderRed), 0xC0u);
    // Everything else lies w / 2 + w inside the edge.
    EXPECT_EQ(framed.list.m_plotRect.top, w / 2 + w);
  }

  // The trace pen: 0.1 mm is one pixel at both zooms, 1 mm is 4 and 8.
  TestPlot thick(build());
  thick.Find<CSpectrum>(kDrawSpectrum)->m_tracePen.lopnWidth = {100, 100};
  for (const int zoom : {100, 200}) {
    const gdi::RasterSurface s = thick.Render(kWidth, kHeight, zoom);
    const int column = thick.list.PointToX(2000);  // between the lines: the trace is flat there
    int rows = 0;
    for (int y = 0; y < kHeight; ++y) rows += s.GetPixel(column, y) == kBlack;
    EXPECT_EQ(rows, ScalePenWidth(100, zoom, 96));
  }
}

}  // namespace
}  // namespace plot_test
