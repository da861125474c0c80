#include <gtest/gtest.h>

#include "gdi_testing.h"

using namespace gdi;
using namespace gdi_test;

namespace {

// The pixels of one colour in a row or column.
int countRow(const RasterSurface& s, int y, COLORREF c, int xEnd = 1 << 30) {
  int n = 0;
  for (int x = 0; x < std::min(s.Width(), xEnd); ++x) n += s.GetPixel(x, y) == c;
  return n;
}
int countColumn(const RasterSurface& s, int x, COLORREF c) {
  int n = 0;
  for (int y = 0; y < s.Height(); ++y) n += s.GetPixel(x, y) == c;
  return n;
}

}  // namespace

TEST(PixelRules, LinesLeaveOutTheirLastPixelAndPensUpToOneArePixelWide) {
  for (int width : {0, 1}) {
    RasterSurface s(20, 20);
    DC dc(s);
    dc.SelectObject(Pen(PS_SOLID, width, kRed));
    dc.MoveTo(2, 5);
    dc.LineTo(12, 5);   // horizontal
    dc.MoveTo(15, 2);
    dc.LineTo(15, 9);   // vertical
    dc.MoveTo(0, 10);
    dc.LineTo(6, 16);   // diagonal
    EXPECT_EQ(s.GetPixel(2, 5), kRed);
    EXPECT_EQ(s.GetPixel(11, 5), kRed);
    EXPECT_EQ(s.GetPixel(12, 5), kWhite);
    EXPECT_EQ(countRow(s, 5, kRed, 14), 10);
    EXPECT_EQ(countColumn(s, 15, kRed), 7);
    EXPECT_EQ(s.GetPixel(15, 9), kWhite);
    EXPECT_EQ(s.GetPixel(5, 15), kRed);
    EXPECT_EQ(s.GetPixel(6, 16), kWhite);
    EXPECT_EQ(s.CountPixels(kRed), 10 + 7 + 6);
    EXPECT_EQ(dc.GetCurrentPosition(), (Point{6, 16}));
  }
}

TEST(PixelRules, PenWidthInHundredthsOfAMillimetreGoesThroughMulDiv) {
  // 40 hundredths of a millimetre at 96 pixels per inch and zoom 100 are 2 pixels, 10 are 0.
  EXPECT_EQ(MulDiv(40, 96 * 100, 254000), 2);
  EXPECT_EQ(MulDiv(10, 96 * 100, 254000), 0);
  EXPECT_EQ(MulDiv(5, 1, 2), 3);
  EXPECT_EQ(MulDiv(-5, 1, 2), -3);
  EXPECT_EQ(MulDiv(7, 3, 0), -1);
  EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);
  for (int hundredths : {40, 10}) {
    RasterSurface s(30, 30);
    DC dc(s);
    dc.SelectObject(Pen(PS_SOLID, MulDiv(hundredths, dc.GetDeviceCaps(LOGPIXELSX) * 100, 254000), kBlack));
    dc.MoveTo(5, 15);
    dc.LineTo(25, 15);
    EXPECT_EQ(countColumn(s, 15, kBlack), hundredths == 40 ? 2 : 1) << hundredths;
  }
}

TEST(PixelRules, RectanglesExcludeTheirRightAndBottomEdges) {
  RasterSurface s(20, 20);
  DC dc(s);
  dc.FillRect(Rect(2, 3, 6, 8), Brush(kBlue));
  EXPECT_EQ(s.CountPixels(kBlue), 4 * 5);
  EXPECT_EQ(InkBox(s, kWhite), Rect(2, 3, 6, 8));

  // Outline in the pen on the rectangle's own pixels, inside filled with the brush.
  RasterSurface r(20, 20);
  DC d(r);
  d.SelectObject(Pen(PS_SOLID, 1, kRed));
  d.SelectObject(Brush(kBlue));
  d.Rectangle(2, 3, 10, 9);
  EXPECT_EQ(InkBox(r, kWhite), Rect(2, 3, 10, 9));
  EXPECT_EQ(r.CountPixels(kRed), 2 * 8 + 2 * 4);
  EXPECT_EQ(r.CountPixels(kBlue), 6 * 4);
  // Reversed corners draw the same rectangle.
  RasterSurface q(20, 20);
  DC e(q);
  e.SelectObject(Pen(PS_SOLID, 1, kRed));
  e.SelectObject(Brush(kBlue));
  e.Rectangle(10, 9, 2, 3);
  EXPECT_EQ(Pixels(q), Pixels(r));

  // Without a pen the fill stops where the pen's right and bottom edge would be.
  RasterSurface n(20, 20);
  DC f(n);
  f.SelectStockObject(NULL_PEN);
  f.SelectObject(Brush(kBlue));
  f.Rectangle(2, 3, 10, 9);
  EXPECT_EQ(InkBox(n, kWhite), Rect(2, 3, 9, 8));
}

TEST(PixelRules, EllipsesAndPolygonsStayInsideTheirRightAndBottomEdges) {
  RasterSurface s(40, 40);
  DC dc(s);
  dc.SelectObject(Pen(PS_SOLID, 1, kRed));
  dc.SelectObject(Brush(kBlue));
  dc.Ellipse(5, 6, 25, 20);
  EXPECT_EQ(InkBox(s, kWhite), Rect(5, 6, 25, 20));
  EXPECT_EQ(s.GetPixel(15, 13), kBlue);  // centre filled
  EXPECT_EQ(s.GetPixel(5, 6), kWhite);   // corner of the box outside the curve

  // A square polygon without a pen fills the pixels inside its left and top edges only.
  RasterSurface p(20, 20);
  DC d(p);
  d.SelectStockObject(NULL_PEN);
  d.SelectObject(Brush(kBlue));
  const Point square[4] = {{2, 2}, {12, 2}, {12, 8}, {2, 8}};
  d.Polygon(square, 4);
  EXPECT_EQ(InkBox(p, kWhite), Rect(2, 2, 12, 8));
  EXPECT_EQ(p.CountPixels(kBlue), 10 * 6);
}

TEST(PixelRules, LogicalCoordinatesAreTruncatedTowardZero) {
  RasterSurface s(40, 40);
  DC dc(s);
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowExt(3, 3);
  dc.SetViewportExt(1, 1);
  dc.SetViewportOrg(20, 20);
  Point p[3] = {{5, 5}, {-5, -5}, {-2, 2}};
  dc.LPtoDP(p, 3);
  // 5/3 = 1.67 -> 1; -5/3 = -1.67 -> -1 (not -2); -2/3 -> 0.
  EXPECT_EQ(p[0], (Point{21, 21}));
  EXPECT_EQ(p[1], (Point{19, 19}));
  EXPECT_EQ(p[2], (Point{20, 20}));
  dc.SetPixel(-5, -5, kRed);
  EXPECT_EQ(s.GetPixel(19, 19), kRed);
}

TEST(PixelRules, MappingModesScaleAndFlipAndIsotropicKeepsUnitsSquare) {
  RasterSurface s(300, 300);
  s.SetResolution(254, 254);  // one pixel per tenth of a millimetre
  DC dc(s);
  EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 254);
  dc.SetMapMode(MM_LOMETRIC);
  Point p{100, -50};
  dc.LPtoDP(&p);
  EXPECT_EQ(p, (Point{100, 50}));  // y grows upwards
  dc.SetMapMode(MM_HIMETRIC);
  p = {1000, -1000};
  dc.LPtoDP(&p);
  EXPECT_EQ(p, (Point{100, 100}));
  dc.DPtoLP(&p);
  EXPECT_EQ(p, (Point{1000, -1000}));

  DC iso(s);
  iso.SetMapMode(MM_ISOTROPIC);
  iso.SetWindowExt(100, 100);
  iso.SetViewportExt(200, 50);
  // The smaller scale wins in both directions.
  EXPECT_EQ(iso.GetViewportExt(), (Size{50, 50}));
  // Outside the two scaling modes the extents stay.
  DC text(s);
  text.SetWindowExt(5, 5);
  EXPECT_EQ(text.GetWindowExt(), (Size{1, 1}));
}

TEST(PixelRules, ClippingAndSavedStates) {
  RasterSurface s(30, 30);
  DC dc(s);
  const int level = dc.SaveDC();
  EXPECT_EQ(level, 1);
  dc.IntersectClipRect(5, 5, 15, 15);
  dc.ExcludeClipRect(8, 8, 10, 10);
  dc.SetTextColor(kRed);
  dc.SelectObject(Brush(kBlue));
  dc.FillRect(Rect(0, 0, 30, 30), Brush(kBlue));
  EXPECT_EQ(s.CountPixels(kBlue), 10 * 10 - 2 * 2);
  Rect box;
  EXPECT_EQ(dc.GetClipBox(&box), COMPLEXREGION);
  EXPECT_EQ(box, Rect(5, 5, 15, 15));
  EXPECT_FALSE(dc.PtVisible(9, 9));
  EXPECT_TRUE(dc.PtVisible(5, 5));

  ASSERT_TRUE(dc.RestoreDC(-1));
  EXPECT_EQ(dc.GetTextColor(), kBlack);
  EXPECT_TRUE(dc.PtVisible(9, 9));
  EXPECT_FALSE(dc.RestoreDC(-1));  // nothing left to restore

  // An elliptic clip region, then back to none.
  Region round;
  round.CreateEllipticRgn(0, 0, 30, 30);
  dc.SelectClipRgn(&round);
  dc.FillRect(Rect(0, 0, 30, 30), Brush(kRed));
  EXPECT_EQ(s.GetPixel(0, 0), kWhite);
  EXPECT_EQ(s.GetPixel(15, 15), kRed);
  dc.SelectClipRgn(nullptr);
  dc.FillRect(Rect(0, 0, 1, 1), Brush(kRed));
  EXPECT_EQ(s.GetPixel(0, 0), kRed);

  // SaveDC levels are numbered; restoring to level 1 drops the ones above it.
  dc.SaveDC();
  dc.SetBkColor(kRed);
  dc.SaveDC();
  dc.SetBkColor(kBlue);
  dc.SaveDC();
  ASSERT_TRUE(dc.RestoreDC(1));
  EXPECT_EQ(dc.GetBkColor(), kWhite);
  EXPECT_FALSE(dc.RestoreDC(2));
}

TEST(PixelRules, StyledPensRepeatTheirDashesAcrossVerticesAndFillGapsWhenOpaque) {
  RasterSurface s(40, 3);
  DC dc(s);
  dc.SelectObject(Pen(PS_DOT, 1, kBlack));
  dc.SetBkColor(kRed);
  dc.SetBkMode(OPAQUE);
  const Point line[3] = {{0, 1}, {4, 1}, {13, 1}};
  dc.Polyline(line, 3);
  // Three on, three off, counted along the whole polyline.
  const COLORREF want[13] = {kBlack, kBlack, kBlack, kRed, kRed, kRed, kBlack, kBlack, kBlack, kRed, kRed, kRed, kBlack};
  for (int x = 0; x < 13; ++x) EXPECT_EQ(s.GetPixel(x, 1), want[x]) << x;
  EXPECT_EQ(s.GetPixel(13, 1), kWhite);
  dc.SetBkMode(TRANSPARENT);
  const Point next[2] = {{0, 2}, {6, 2}};
  dc.Polyline(next, 2);
  EXPECT_EQ(s.GetPixel(4, 2), kWhite);
}
