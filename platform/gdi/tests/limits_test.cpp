#include <gtest/gtest.h>

#include <climits>

#include "platform/gdi/qt_bridge.h"
#include "gdi_testing.h"

using namespace gdi;
using namespace gdi_test;

TEST(Limits, HugeCoordinatesAreClippedBeforeTheyAreWalked) {
  RasterSurface s(50, 50);
  DC dc(s);
  dc.SelectObject(Pen(PS_SOLID, 0, kRed));
  // A line across the whole int range crosses the surface in its row, and returns at once.
  dc.MoveTo(INT_MIN, 25);
  dc.LineTo(INT_MAX, 25);
  EXPECT_EQ(s.CountPixels(kRed), 50);
  // A steep line far outside, and one whose clipped part must keep the unclipped line's pixels.
  dc.MoveTo(-1000000, -1000000);
  dc.LineTo(1000000, 1000000);
  EXPECT_EQ(s.GetPixel(10, 10), kRed);
  EXPECT_EQ(s.GetPixel(10, 11), kWhite);
  RasterSurface whole(200, 100), part(200, 100);
  DC a(whole), b(part);
  a.SelectObject(Pen(PS_SOLID, 0, kRed));
  b.SelectObject(Pen(PS_SOLID, 0, kRed));
  a.MoveTo(0, 3);
  a.LineTo(199, 71);
  b.IntersectClipRect(60, 0, 140, 100);
  b.MoveTo(0, 3);
  b.LineTo(199, 71);
  for (int x = 60; x < 140; ++x)
    for (int y = 0; y < 100; ++y) ASSERT_EQ(part.GetPixel(x, y), whole.GetPixel(x, y)) << x << "," << y;
  EXPECT_EQ(part.CountPixels(kRed), 80);
  // Wide shapes and text far away draw nothing and do not allocate their size.
  dc.SelectObject(Pen(PS_SOLID, 9, kBlue));
  dc.Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
  dc.TextOut(INT_MAX - 10, INT_MAX - 10, "far");
  EXPECT_EQ(s.CountPixels(kBlue), 0);
}

TEST(Limits, RectangleArithmeticWrapsAsThePlatformsDoesWithoutOverflowing) {
  // The width from the "default position" sentinel to 0 is the sentinel again: callers test it.
  const Rect defaults(INT_MIN, INT_MIN, 0, 0);
  EXPECT_EQ(defaults.Width(), INT_MIN);
  Rect r(INT_MAX - 1, 0, INT_MAX, 10);
  r.OffsetRect(2, 0);
  EXPECT_EQ(r.left, INT_MIN);
  EXPECT_EQ(Rect(Point{INT_MAX, 0}, Size{1, 1}).right, INT_MIN);
  RasterSurface s(10, 10);
  DC dc(s);
  dc.FillRect(Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), Brush(kRed));
  EXPECT_EQ(s.CountPixels(kRed), 100);
}

TEST(Limits, DegenerateArgumentsChangeNothing) {
  RasterSurface s(20, 20);
  const std::vector<COLORREF> before = Pixels(s);
  DC dc(s);
  dc.SetMapMode(MM_ANISOTROPIC);
  EXPECT_EQ(dc.SetWindowExt(0, 5), (Size{}));  // refused
  EXPECT_EQ(dc.GetWindowExt(), (Size{1, 1}));
  EXPECT_EQ(dc.SetViewportExt(5, 0), (Size{}));
  EXPECT_EQ(dc.ScaleViewportExt(1, 0, 1, 0), (Size{1, 1}));  // zero divisors leave the extent
  dc.SetMapMode(MM_TEXT);
  EXPECT_FALSE(dc.Polyline(nullptr, 3));
  const Point one{5, 5};
  EXPECT_FALSE(dc.Polygon(&one, 1));
  const int counts[2] = {3, -4};
  const Point tri[3] = {{0, 0}, {5, 0}, {0, 5}};
  EXPECT_FALSE(dc.PolyPolygon(tri, counts, 2));
  dc.FillRect(Rect(10, 10, 10, 20), Brush(kRed));  // empty
  dc.Ellipse(5, 5, 5, 5);
  dc.TextOut(3, 3, "");
  EXPECT_FALSE(dc.SetBkMode(7));
  EXPECT_FALSE(dc.SetROP2(0));
  EXPECT_FALSE(dc.RestoreDC(0));
  EXPECT_FALSE(dc.RestoreDC(5));
  EXPECT_EQ(Pixels(s), before);

  // A DC without a target answers zeros and draws nothing.
  DC none;
  EXPECT_FALSE(none.IsValid());
  EXPECT_FALSE(none.LineTo(3, 3));
  EXPECT_EQ(none.GetTextExtent("abc"), (Size{}));
  EXPECT_EQ(none.GetPixel(0, 0), CLR_INVALID);
  EXPECT_EQ(none.GetDeviceCaps(LOGPIXELSX), 0);
  EXPECT_TRUE(none.CloseEnhMetaFile().IsNull());
  EXPECT_TRUE(DC::CreateCompatibleDC(nullptr).SelectObject(Bitmap()).IsNull());
  Bitmap tooBig;
  EXPECT_FALSE(tooBig.CreateBitmap(100000, 100000));
  EXPECT_FALSE(tooBig.CreateBitmap(0, 5));
}

TEST(Limits, FontsOfAnyHeightAndQtFontsOfTheSameFace) {
  RasterSurface s(10, 10);
  DC dc(s);
  for (int h : {0, 1, -1, 100000, -100000}) {
    Font f;
    f.CreateFont(h, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    dc.SelectObject(f);
    const Size e = dc.GetTextExtent("W");
    EXPECT_GT(e.cy, 0) << h;
    EXPECT_GE(e.cx, 0) << h;
  }
  // Stored fonts may hold any 32-bit height and width: INT_MIN is as large a character height as
  // -INT_MAX (both beyond the largest font drawn), never a cell height.
  const auto metrics = [&](int h, int w) {
    Font f;
    f.CreateFont(h, w, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    dc.SelectObject(f);
    TEXTMETRIC tm{};
    EXPECT_TRUE(dc.GetTextMetrics(&tm)) << h;
    return std::make_pair(tm.tmHeight, tm.tmAveCharWidth);
  };
  EXPECT_EQ(metrics(INT_MIN, 0), metrics(-INT_MAX, 0));
  EXPECT_EQ(metrics(10, INT_MIN), metrics(10, INT_MAX));
  Font f;
  f.CreateFont(-20, 0, 0, 0, FW_BOLD, 1, 0, 0, 0, 0, 0, 0, 0, "Times New Roman");
  const QFont q = qt::ToQFont(f);
  EXPECT_EQ(q.family(), QStringLiteral("Liberation Serif"));
  EXPECT_EQ(q.pixelSize(), 20);
  EXPECT_TRUE(q.bold());
  EXPECT_TRUE(q.italic());
  EXPECT_EQ(qt::FromQRgb(qt::ToQRgb(RGB(1, 2, 3))), RGB(1, 2, 3));
  EXPECT_EQ(qt::ToQColor(RGB(255, 0, 0)), QColor(Qt::red));
}
