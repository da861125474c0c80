// The rulers: scale steps and decimals, ticks and labels on pixels, and the XOR marks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>

#include "platform/gdi/dc.h"
#include "platform/gdi/surface.h"
#include "rodizora/frame/rulers.h"
#include "rodizora/frame/tests/frame_fixture.h"

namespace {

constexpr gdi::COLORREF kBlack = gdi::RGB(0, 0, 0);

// The rulers of a 452 x 300 area at 4 pixels per millimetre (the scale runs from pixel 26 to
// 426), drawn on a surface of their own.
constexpr int kAreaWidth = 452;
struct DrawnRulers {
  explicit DrawnRulers(float zoom = 1.0f) : surface(460, 320, gdi::RGB(255, 255, 255)), dc(surface) {
    rulers.m_pixelsPerUnit = 4.0f;
    rulers.m_zoom = zoom;
    rulers.Draw(dc, 0, 0, kAreaWidth, 300);
  }
  // Pixels inside r that are not the rulers' face: ticks, labels, edges.
  std::int64_t Ink(const gdi::Rect& r) const {
    return std::int64_t(r.Width()) * r.Height() - surface.CountPixels(gdi::GetSysColor(gdi::COLOR_MENU), &r);
  }
  // How many black pixels column x holds between rows top and bottom.
  int InkInColumn(int x, int top, int bottom) const {
    const gdi::Rect r(x, top, x + 1, bottom);
    return static_cast<int>(surface.CountPixels(kBlack, &r));
  }
  gdi::RasterSurface surface;
  gdi::DC dc;
  CRulers rulers;
};

// "A" and the caption in the horizontal ruler font, measured on their own.
gdi::Size CharOfHorizontalFont(const gdi::RasterSurface& surface) {
  gdi::RasterSurface scratch(1, 1);
  gdi::DC dc(scratch);
  CRulers rulers;
  gdi::LOGFONTW log = rulers.m_font;
  log.lfHeight = gdi::MulDiv(8, surface.Caps().logPixelsX, 72);
  dc.SelectObject(gdi::Font(log));
  return dc.GetTextExtent(std::u16string_view(u"A"));
}

TEST(RulerScaleTest, StepsAndDecimalsFollowTheLabelRoom) {
  // Labels of 7-pixel characters. 100 mm over 426 px: B = 6 x 700 / 426 = 9.86, so 10^1 and no
  // finer divisor (5 < 9.86): a label every 10 mm with no decimals.
  RulerScale s = ComputeRulerScale(0, 100, 426, 7);
  ASSERT_TRUE(s.valid);
  EXPECT_DOUBLE_EQ(s.step, 10);
  EXPECT_DOUBLE_EQ(s.first, 0);
  EXPECT_EQ(s.decimals, 0);
  // 20 mm: B = 1.97, base 10 divided by 5 (2 > 1.97), not by 10.
  s = ComputeRulerScale(0, 20, 426, 7);
  EXPECT_DOUBLE_EQ(s.step, 2);
  EXPECT_EQ(s.decimals, 0);
  // 1 mm: B = 0.0986 needs p >= 1 on the first pass (p = -1), p >= 0 on the second (B = 0.115,
  // p = 0): one decimal; 1 / 5 = 0.2 > 0.115, 1 / 10 = 0.1 is not.
  s = ComputeRulerScale(0, 1, 426, 7);
  EXPECT_DOUBLE_EQ(s.step, 0.2);
  EXPECT_EQ(s.decimals, 1);
  // A start between labels gives the next label at or after it; a reversed span has |B|.
  s = ComputeRulerScale(13, 113, 426, 7);
  EXPECT_DOUBLE_EQ(s.first, 20);
  s = ComputeRulerScale(100, 0, 426, 7);
  EXPECT_TRUE(s.valid);
  EXPECT_DOUBLE_EQ(s.step, 10);
}

TEST(RulerScaleTest, NoScaleForAnEmptyOrEndlessSpan) {
  EXPECT_FALSE(ComputeRulerScale(5, 5, 426, 7).valid);
  EXPECT_FALSE(ComputeRulerScale(0, 100, 0, 7).valid);
  EXPECT_FALSE(ComputeRulerScale(0, 100, 426, 0).valid);
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(ComputeRulerScale(0, inf, 426, 7).valid);
  EXPECT_FALSE(ComputeRulerScale(std::nan(""), 1, 426, 7).valid);
  // Extreme but finite spans end within the pass bound.
  EXPECT_TRUE(ComputeRulerScale(0, 1e-300, 426, 7).valid);
  EXPECT_FALSE(ComputeRulerScale(-1.7e308, 1.7e308, 426, 7).valid);
}

TEST(RulersTest, AtFullZoomPixel426OfTheRulerIs100Millimetres) {
  DrawnRulers r;
  EXPECT_DOUBLE_EQ(r.rulers.PixelToUnitX(26), 0.0);
  EXPECT_DOUBLE_EQ(r.rulers.PixelToUnitX(426), 100.0);
  EXPECT_EQ(r.rulers.UnitToPixelX(100), 426);
  EXPECT_EQ(r.rulers.m_area, gdi::Rect(0, 0, kAreaWidth, 300));

  const gdi::Size a = CharOfHorizontalFont(r.surface);
  const int tickBase = 26 - 3;
  // Label every 10 mm (40 px) from x = 26; ten ticks each, the 1st and 6th longer.
  const int major = 2 * a.cy / 3, minor = 3 * a.cy / 7;
  ASSERT_GT(minor, 0);
  for (int value = 0; value < 100; value += 10) {
    const int x = 26 + 4 * value;
    EXPECT_EQ(r.InkInColumn(x, tickBase - major, tickBase + 1), major) << value;
    EXPECT_EQ(r.InkInColumn(x + 20, tickBase - major, tickBase + 1), major) << value;
    EXPECT_EQ(r.InkInColumn(x + 4, tickBase - major, tickBase + 1), minor) << value;
    EXPECT_EQ(r.InkInColumn(x + 2, tickBase - major, tickBase + 1), 0) << value;
  }
  // The label of 0 mm would crowd the ruler's start (26 - 26 < 4 x "A"): left out, ticks kept.
  const int labelY = 26 - 5 * a.cy / 3 - 3;
  const gdi::Rect firstLabel(26 - a.cx, labelY, 26 + a.cx, labelY + a.cy);
  EXPECT_EQ(r.Ink(firstLabel), 0);
  const gdi::Rect secondLabel(66 - a.cx, labelY, 66 + a.cx, labelY + a.cy);
  EXPECT_GT(r.Ink(secondLabel), 0);
  // The left ruler has its ticks along the same millimetres, leftward from its right side.
  const gdi::Rect row(0, 26 + 40, 23, 26 + 41);
  EXPECT_GT(r.surface.CountPixels(kBlack, &row), 0);
  frametest::SaveRendering(r.surface, "rulers_100.png");
}

TEST(RulersTest, WithoutAScaleOnlyEdgesAndCaptionAreDrawn) {
  // Zoom 0 makes every pixel the same unit: no span, no ticks; the drawing still ends.
  DrawnRulers flat(0.0f);
  DrawnRulers normal;
  const gdi::Rect ticks(26, 14, 300, 23);
  EXPECT_EQ(flat.surface.CountPixels(kBlack, &ticks), 0);
  EXPECT_GT(normal.surface.CountPixels(kBlack, &ticks), 0);
  // The caption sits at the right end of the top ruler either way.
  const gdi::Rect caption(kAreaWidth - 110, 3, kAreaWidth - 3, 20);
  EXPECT_GT(flat.Ink(caption), 0);
  // An area narrower than the margins and a huge zoom end too.
  gdi::RasterSurface small(60, 60);
  gdi::DC dc(small);
  CRulers rulers;
  rulers.m_zoom = 1e30f;
  rulers.Draw(dc, 0, 0, 20, 20);
  rulers.m_zoom = std::numeric_limits<float>::quiet_NaN();
  rulers.Draw(dc, 0, 0, 60, 60);
}

TEST(RulersTest, MarksAreDrawnOnceAndTakeThemselvesAway) {
  DrawnRulers r;
  const gdi::RasterSurface clean(r.surface);
  auto same = [&](const gdi::RasterSurface& other) {
    for (int y = 0; y < other.Height(); ++y)
      for (int x = 0; x < other.Width(); ++x)
        if (r.surface.GetPixel(x, y) != other.GetPixel(x, y)) return false;
    return true;
  };
  r.rulers.SetCrosshair(100, 50, r.dc);
  const gdi::RasterSurface marked(r.surface);
  EXPECT_FALSE(same(clean));
  // The vertical mark at 26 + 100 in the top ruler, the horizontal one at 26 + 50 in the left.
  EXPECT_NE(r.surface.GetPixel(126, 10), clean.GetPixel(126, 10));
  EXPECT_NE(r.surface.GetPixel(10, 76), clean.GetPixel(10, 76));
  r.rulers.SetCrosshair(100, 50, r.dc);
  EXPECT_TRUE(same(marked));
  r.rulers.SetCrosshair(200, 80, r.dc);
  r.rulers.SetRubberRect(gdi::Rect(30, 40, 150, 120), r.dc);
  EXPECT_EQ(r.rulers.m_crosshair, (gdi::Point{-1, -1}));
  r.rulers.SetCrosshair(60, 60, r.dc);
  // Hiding the marks (also a rectangle's) leaves the rulers as they were drawn.
  r.rulers.SetCrosshair(-1, -1, r.dc);
  EXPECT_TRUE(same(clean));
  r.rulers.SetRubberRect(gdi::Rect(30, 40, 150, 120), r.dc);
  r.rulers.SetCrosshair(-1, -1, r.dc);
  EXPECT_TRUE(same(clean));
  // A new drawing forgets the marks.
  r.rulers.SetCrosshair(10, 10, r.dc);
  r.rulers.Draw(r.dc, 0, 0, kAreaWidth, 300);
  EXPECT_EQ(r.rulers.m_crosshair, (gdi::Point{-1, -1}));
  EXPECT_TRUE(same(clean));
}

}  // namespace
