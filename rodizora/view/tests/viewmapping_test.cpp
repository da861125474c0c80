// The view's mappings and zoom, against values computed here.
#include "rodizora/view/viewmapping.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using saview::ViewMapping;
using saview::ViewMode;

// a x b / c rounded half away from zero.
int RoundMulDiv(int a, int b, int c) {
  const double v = double(a) * b / c;
  return static_cast<int>(v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5));
}

TEST(ViewMapping, PageLayoutAtZoomWithScroll) {
  ViewMapping m;
  m.zoom = 79;
  m.scroll = {13, 7};
  for (const gdi::Point page : {gdi::Point{0, 0}, gdi::Point{1188, 840}, gdi::Point{333, 601}, gdi::Point{-5, 3}}) {
    gdi::Point p = page;
    ASSERT_TRUE(m.PageToClient(&p));
    EXPECT_EQ(p.x, RoundMulDiv(page.x, 79, 100) + 20 - 13);
    EXPECT_EQ(p.y, RoundMulDiv(page.y, 79, 100) + 20 - 7);
    ASSERT_TRUE(m.ClientToPage(&p));
    EXPECT_EQ(p.x, RoundMulDiv(RoundMulDiv(page.x, 79, 100) + 20 - 13 - 20 + 13, 100, 79));
  }
  // A new window: the page's corner 20 pixels in.
  ViewMapping fresh;
  gdi::Point corner{0, 0};
  fresh.PageToClient(&corner);
  EXPECT_EQ(corner, (gdi::Point{20, 20}));
  // A zoom below 10 counts as 10.
  fresh.zoom = 0;
  gdi::Point far{1000, 0};
  fresh.PageToClient(&far);
  EXPECT_EQ(far.x, 120);
}

TEST(ViewMapping, FullViewStretchesTheFullViewRectangleOverTheClient) {
  ViewMapping m;
  m.mode = ViewMode::FullView;
  m.fullView = {0, 100, 1188, 500};  // two strips of one band
  m.client = {800, 600};
  gdi::Rect r(0, 100, 1188, 500);
  ASSERT_TRUE(m.PageToClient(&r));
  EXPECT_EQ(r, gdi::Rect(0, 0, 800, 600));
  gdi::Point p{594, 300};
  ASSERT_TRUE(m.PageToClient(&p));
  EXPECT_EQ(p, (gdi::Point{RoundMulDiv(594, 800, 1188), RoundMulDiv(200, 600, 400)}));
  gdi::Point back{400, 300};
  ASSERT_TRUE(m.ClientToPage(&back));
  EXPECT_EQ(back, (gdi::Point{594, 300}));
  // Zero sizes map nothing.
  ViewMapping noClient = m;
  noClient.client = {0, 600};
  gdi::Point q{5, 5};
  EXPECT_FALSE(noClient.PageToClient(&q));
  EXPECT_FALSE(noClient.ClientToPage(&q));
  EXPECT_EQ(q, (gdi::Point{5, 5}));
  m.fullView = {10, 10, 10, 50};
  EXPECT_FALSE(m.PageToClient(&q));
}

TEST(ViewMapping, PrintingStretchesThePageOverThePrinterPageAndRectanglesComeNormalised) {
  ViewMapping m;
  m.mode = ViewMode::Printing;
  m.print = {4725, 3307};
  gdi::Rect r(1188, 840, 0, 0);
  ASSERT_TRUE(m.PageToClient(&r));
  EXPECT_EQ(r, gdi::Rect(0, 0, 4725, 3307));
  gdi::Point p{100, 100};
  ASSERT_TRUE(m.PageToClient(&p));
  EXPECT_EQ(p, (gdi::Point{RoundMulDiv(100, 4725, 1188), RoundMulDiv(100, 3307, 840)}));
  m.print = {};
  EXPECT_FALSE(m.ClientToPage(&p));
}

TEST(ViewMapping, ZoomCommands) {
  const gdi::Size a4{1188, 840};
  // "Page Width" on a 1000 x 700 window: min(960 x 100 / 1188, 660 x 100 / 840) = min(81, 79).
  EXPECT_EQ(saview::ZoomForCommand(1500, {1000, 700}, a4, 100), 79);
  EXPECT_EQ(saview::ZoomForCommand(1500, {3000, 2000}, a4, 100),
            std::min(RoundMulDiv(2960, 100, 1188), RoundMulDiv(1960, 100, 840)));
  EXPECT_EQ(saview::ZoomForCommand(1600, {1000, 700}, a4, 75), 100);
  EXPECT_EQ(saview::ZoomForCommand(2000, {1000, 700}, a4, 75), 500);
  EXPECT_EQ(saview::ZoomForCommand(1505, {1000, 700}, a4, 75), 10);
  EXPECT_EQ(saview::ZoomForCommand(1500, {30, 30}, a4, 75), 10);
  // Nothing to fit: the zoom stays.
  EXPECT_EQ(saview::ZoomForCommand(1500, {0, 0}, a4, 75), 75);
  EXPECT_EQ(saview::ZoomForCommand(1500, {1000, 700}, {0, 840}, 75), 75);
  EXPECT_EQ(saview::PageLayoutExtent(a4, 79), (gdi::Size{RoundMulDiv(1188, 79, 100) + 40, RoundMulDiv(840, 79, 100) + 40}));
}

TEST(ViewMapping, RulerOriginIsThePagesMillimetreAtTheViewsCorner) {
  EXPECT_FLOAT_EQ(saview::RulerOriginMillimetres(0, 100), -5.0f);
  EXPECT_FLOAT_EQ(saview::RulerOriginMillimetres(20, 100), 0.0f);
  // 400 pixels at 100 % are 400 page units, 100 mm; at 200 % half of it.
  EXPECT_FLOAT_EQ(saview::RulerOriginMillimetres(420, 100), 100.0f);
  EXPECT_FLOAT_EQ(saview::RulerOriginMillimetres(420, 200), 50.0f);
}

}  // namespace
