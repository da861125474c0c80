#include <gtest/gtest.h>

#include "platform/gdi/qt_bridge.h"
#include "gdi_testing.h"

using namespace gdi;
using namespace gdi_test;

TEST(Fills, HatchesAndPatternsTileFromTheBrushOrigin) {
  RasterSurface s(16, 16);
  DC dc(s);
  dc.SetBkColor(kRed);
  dc.FillRect(Rect(0, 0, 16, 16), Brush(HS_CROSS, kBlue));
  // Lines every 8 pixels, the background colour between them.
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(s.GetPixel(i, 8), kBlue);
    EXPECT_EQ(s.GetPixel(8, i), kBlue);
  }
  EXPECT_EQ(s.GetPixel(3, 5), kRed);
  EXPECT_EQ(s.CountPixels(kBlue), 2 * 16 + 2 * 16 - 4);

  // A transparent background leaves the pixels between the hatch lines alone.
  RasterSurface t(8, 8);
  DC d(t);
  d.SetBkMode(TRANSPARENT);
  d.SelectStockObject(NULL_PEN);
  d.SelectObject(Brush(HS_BDIAGONAL, kBlue));
  d.Rectangle(0, 0, 9, 9);
  EXPECT_EQ(t.CountPixels(kBlue), 8);
  EXPECT_EQ(t.GetPixel(7, 0), kBlue);  // "/" from the lower left to the upper right
  EXPECT_EQ(t.GetPixel(0, 7), kBlue);

  // A 2 x 1 pattern moved one pixel by the brush origin.
  Bitmap pattern;
  pattern.CreateBitmap(2, 1);
  pattern.Surface()->SetPixel(0, 0, kRed);
  RasterSurface u(6, 2);
  DC e(u);
  e.SetBrushOrg(1, 0);
  e.FillRect(Rect(0, 0, 6, 2), Brush(pattern));
  for (int x = 0; x < 6; ++x) EXPECT_EQ(u.GetPixel(x, 1), x % 2 == 1 ? kRed : kWhite) << x;
}

TEST(Fills, ArcsRunCounterClockwiseFromTheStartRadial) {
  RasterSurface s(40, 40);
  DC dc(s);
  dc.SelectStockObject(NULL_PEN);
  dc.SelectObject(Brush(kBlue));
  // From the radial through the right (0 degrees) to the one through the top (90 degrees).
  dc.Pie(0, 0, 40, 40, 40, 20, 20, 0);
  EXPECT_EQ(s.GetPixel(30, 10), kBlue);  // upper right quadrant
  EXPECT_EQ(s.GetPixel(10, 10), kWhite);
  EXPECT_EQ(s.GetPixel(30, 30), kWhite);
  EXPECT_EQ(s.GetPixel(10, 30), kWhite);
  RasterSurface c(40, 40);
  DC d(c);
  d.SelectStockObject(NULL_PEN);
  d.SelectObject(Brush(kBlue));
  // The chord of the lower half: from the left radial round through the bottom to the right one.
  d.Chord(0, 0, 40, 40, 0, 20, 40, 20);
  EXPECT_EQ(c.GetPixel(20, 35), kBlue);
  EXPECT_EQ(c.GetPixel(20, 5), kWhite);
}

TEST(Fills, EdgesAndThreeDRectanglesUseTheSystemColours) {
  RasterSurface s(20, 20);
  DC dc(s);
  Rect r(0, 0, 20, 20);
  ASSERT_TRUE(dc.DrawEdge(&r, EDGE_SUNKEN, BF_RECT | BF_ADJUST));
  EXPECT_EQ(r, Rect(2, 2, 18, 18));
  EXPECT_EQ(s.GetPixel(5, 0), GetSysColor(COLOR_BTNSHADOW));     // outer top
  EXPECT_EQ(s.GetPixel(5, 19), GetSysColor(COLOR_BTNHIGHLIGHT)); // outer bottom
  EXPECT_EQ(s.GetPixel(5, 1), GetSysColor(COLOR_3DDKSHADOW));    // inner top
  EXPECT_EQ(s.GetPixel(5, 18), GetSysColor(COLOR_3DLIGHT));      // inner bottom
  EXPECT_EQ(s.GetPixel(10, 10), kWhite);

  RasterSurface t(10, 10);
  DC d(t);
  d.Draw3dRect(Rect(0, 0, 10, 10), kRed, kBlue);
  EXPECT_EQ(t.GetPixel(0, 0), kRed);
  EXPECT_EQ(t.GetPixel(9, 0), kBlue);  // the top right corner is the bottom-right colour's
  EXPECT_EQ(t.GetPixel(0, 9), kBlue);
  EXPECT_EQ(t.CountPixels(kRed) + t.CountPixels(kBlue), 36);
}

TEST(Fills, RegionsCombineAndClipWindowDCsInsideTheirSystemClip) {
  Region a = Region::FromRect(Rect(0, 0, 10, 10)), b = Region::FromRect(Rect(5, 5, 15, 15)), c;
  EXPECT_EQ(c.CombineRgn(a, b, RGN_AND), SIMPLEREGION);
  Rect box;
  c.GetRgnBox(&box);
  EXPECT_EQ(box, Rect(5, 5, 10, 10));
  EXPECT_EQ(c.CombineRgn(a, b, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(c.CombineRgn(a, a, RGN_DIFF), NULLREGION);
  EXPECT_EQ(c.CombineRgn(a, b, RGN_XOR), COMPLEXREGION);
  EXPECT_FALSE(c.PtInRegion(7, 7));
  EXPECT_TRUE(c.PtInRegion(12, 12));
  EXPECT_TRUE(c.RectInRegion(Rect(6, 6, 13, 13)));

  // A paint DC: its system clip holds, the device origin moves everything it draws.
  WindowSurface surface(40, 40);
  DC dc(surface);
  const Region update = Region::FromRect(Rect(10, 10, 30, 30));
  qt::SetSystemClip(dc, &update);
  qt::SetDeviceOrigin(dc, {5, 5});
  dc.SelectClipRgn(nullptr);  // cannot widen the system clip
  dc.FillRect(Rect(0, 0, 40, 40), Brush(kRed));
  EXPECT_EQ(InkBox(surface, GetSysColor(COLOR_WINDOW)), Rect(10, 10, 30, 30));
  const Region own = Region::FromRect(Rect(0, 0, 10, 10));  // relative to the origin
  dc.SelectClipRgn(&own);
  dc.FillRect(Rect(0, 0, 40, 40), Brush(kBlue));
  EXPECT_EQ(surface.CountPixels(kBlue), 5 * 5);
  EXPECT_EQ(surface.GetPixel(14, 14), kBlue);
  Rect clip;
  dc.GetClipBox(&clip);
  EXPECT_EQ(clip, Rect(5, 5, 10, 10));
}
