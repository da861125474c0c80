#include <gtest/gtest.h>
#include "platform/gdi/gdi.h"
TEST(GdiSmoke, Builds) {
  gdi::RasterSurface s(10, 10);
  gdi::DC dc(s);
  dc.MoveTo(0, 0);
  dc.LineTo(5, 0);
  EXPECT_EQ(s.GetPixel(4, 0), 0u);
}
