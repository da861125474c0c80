// The labels of the scales, read from the log of the drawing calls and checked against the
// values and places the scale rules give for the data range (worked out here).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "spectrum/control/plot/axes.h"
#include "spectrum/control/plot/testing/drawlog.h"
#include "spectrum/control/plot/tests/plot_testing.h"

namespace plot_test {
namespace {

constexpr int kWidth = 800, kHeight = 400;

struct DrawnText {
  int x = 0, y = 0;
  std::string text;
};

// Every text the list draws at 96 pixels per inch into kWidth x kHeight, in drawing order.
std::vector<DrawnText> TextsOf(CDrawObjectList& list) {
  gdi::RasterSurface reference(kWidth, kHeight);
  gdi::DC referenceDc(reference);
  gdi::DC recording = gdi::DC::CreateEnhMetaFile(&referenceDc, nullptr, u"KEDRUS");
  const Rect client(0, 0, kWidth, kHeight);
  list.DrawAll(&recording, &client, kDrawModeScreen);
  std::vector<DrawnText> texts;
  for (const std::string& line : plot_testing::DescribeDrawing(recording.CloseEnhMetaFile())) {
    DrawnText t;
    const std::size_t open = line.find('"'), close = line.rfind('"');
    if (std::sscanf(line.c_str(), "text %d,%d", &t.x, &t.y) != 2 || open == close) continue;
    t.text = line.substr(open + 1, close - open - 1);
    texts.push_back(t);
  }
  return texts;
}

std::string Fixed(double v, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, v == 0.0 ? 0.0 : v);
  return text;
}

// The x axis's labels as drawn: below the axis line, left to right in drawing order.
std::vector<std::string> AxisLabels(const std::vector<DrawnText>& texts, int axisTop) {
  std::vector<std::string> labels;
  for (const DrawnText& t : texts)
    if (t.y > axisTop && t.text.find_first_not_of("-.0123456789") == std::string::npos) labels.push_back(t.text);
  return labels;
}

struct AxisLayout {
  int a, b, axisTop, left;
  AxisLayout(const CDrawObjectList& list, std::string_view unitName) {
    const gdi::Size letter = TextSize(MakeLogFont(8, 400, 0, "Arial"), "A");
    a = letter.cx;
    b = letter.cy;
    axisTop = XAxisTop(kHeight, unitName);
    left = list.m_plotRect.left;
  }
  // A label centred at x leaves the unit name's column (left of the axis line's start) free.
  bool ClearOfName(int x, const std::string& label) const {
    return x - TextSize(MakeLogFont(12, 400, 0, "Arial"), label).cx / 2 > left + b;
  }
};

TEST(AxisLabels, FallingPpmAxisLabelsEveryStepWhereverTheyFall) {
  constexpr int n = 16384;
  TestPlot plot(SpectrumBuilder::Nmr(n).Lines({{8000, 50, 5}}).Build());
  const std::vector<DrawnText> texts = TextsOf(plot.list);
  const AxisLayout l(plot.list, "PPM");
  const double x0 = plot.spectrum->process.PointToPpm(0), x1 = plot.spectrum->process.PointToPpm(n - 1);
  ASSERT_GT(x0, x1);
  const int width = kWidth - l.left;
  int decimals = 0;
  const double s = LabelStepOf(6, (x1 - x0) * l.a / width, &decimals);
  std::vector<std::string> expected;
  for (double t = (std::round(x0 / s) + 1) * s; t > x1; t -= s) {
    const int x = l.left + static_cast<int>(std::round((t - x0) / (x1 - x0) * width));
    if (l.left + l.b < x && x < kWidth && l.ClearOfName(x, Fixed(t, decimals))) expected.push_back(Fixed(t, decimals));
  }
  ASSERT_GE(expected.size(), 5u);
  EXPECT_EQ(AxisLabels(texts, l.axisTop), expected);
}

TEST(AxisLabels, RisingTimeAxisLeavesOutLabelsThatWouldReachPastItsEnds) {
  constexpr int n = 8192;
  TestPlot plot(SpectrumBuilder::Fid(n).Values([](int i) { return 100 * std::exp(-i / 1500.0) * std::cos(i * 0.2); }).Build());
  const std::vector<DrawnText> texts = TextsOf(plot.list);
  const AxisLayout l(plot.list, "sec");
  const double x0 = plot.spectrum->process.PointToTime(0), x1 = plot.spectrum->process.PointToTime(n - 1);
  const int width = kWidth - l.left;
  int decimals = 0;
  const double s = LabelStepOf(6, (x1 - x0) * l.a / width, &decimals);
  std::vector<std::string> expected;
  int leftOut = 0;
  for (double t = std::round(x0 / s) * s; t < x1; t += s) {
    const int x = l.left + static_cast<int>(std::round((t - x0) / (x1 - x0) * width));
    if (!(l.left + l.b < x && x < kWidth)) continue;
    const std::string label = Fixed(t, decimals);
    const int w = TextSize(MakeLogFont(12, 400, 0, "Arial"), label).cx;
    if (x - w > l.left && x + w < kWidth && l.ClearOfName(x, label)) expected.push_back(label);
    else ++leftOut;
  }
  EXPECT_GE(leftOut, 1);  // the label at the axis's start
  ASSERT_GE(expected.size(), 5u);
  EXPECT_EQ(AxisLabels(texts, l.axisTop), expected);
}

TEST(AxisLabels, TheUnitNameStaysBelowTheAxisLineAndLeftOfItsStart) {
  constexpr int n = 16384;
  for (const std::int32_t unit : {kUnitPpm, kUnitHertz, kUnitPoint}) {
    TestPlot plot(SpectrumBuilder::Nmr(n).Lines({{8000, 50, 5}}).Build());
    auto* scale = plot.Find<CScale>(kDrawScale);
    scale->m_nUnit = unit;
    const std::string name(GetUnitName(unit));
    SCOPED_TRACE(name);
    const std::vector<DrawnText> texts = TextsOf(plot.list);
    const auto drawn = std::find_if(texts.begin(), texts.end(), [&](const DrawnText& t) { return t.text == name; });
    ASSERT_NE(drawn, texts.end());
    const AxisLayout l(plot.list, name);
    // The axis line lies half a letter below the band's top, the plot half a letter above it.
    const int axisRow = scale->m_area.top + l.b / 2;
    EXPECT_EQ(axisRow, l.axisTop);
    EXPECT_GE(drawn->y - TextSize(MakeLogFont(8, 400, 0, "Arial"), name).cx, axisRow);
    EXPECT_LE(plot.list.m_plotRect.bottom, axisRow - l.b / 2);
  }
}

TEST(AxisLabels, HalfAmplitudeRunsTheVerticalScaleToTwoHundredPercent) {
  TestPlot plot(SpectrumBuilder::Nmr(4096).Lines({{2000, 80, 4}}).Build());
  plot.list.m_fAmplitude = 0.5f;
  const std::vector<DrawnText> texts = TextsOf(plot.list);
  const Rect r = plot.list.m_plotRect;
  const gdi::Size letters = TextSize(MakeLogFont(10, 400, 0, "Arial"), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const int c = letters.cx / 52, h = letters.cy / 2;
  const double full = 200.0, height = r.bottom - r.top, perPixel = full / height;
  int decimals = 0;
  const double s = LabelStepOf(4, -100.0 / 0.5 * h / height, &decimals);
  std::vector<std::string> expected;
  for (int k = 0; k * s < full + s; ++k) {
    const int py = static_cast<int>(k * s / perPixel);
    if (4 * c <= py && py <= r.bottom - 2 * c - r.top) expected.push_back(Fixed(k * s, decimals));
  }
  ASSERT_FALSE(expected.empty());
  EXPECT_GT(std::stod(expected.back()), 150.0);
  std::vector<std::string> drawn;
  for (const DrawnText& t : texts)
    if (t.x < r.left && t.y < r.bottom && t.text != "%") drawn.push_back(t.text);
  EXPECT_EQ(drawn, expected);
}

}  // namespace
}  // namespace plot_test
