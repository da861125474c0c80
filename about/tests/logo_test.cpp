// The start logo: a topmost bordered popup centred on the screen, painted with its bitmap at
// once; a bitmap larger than the screen puts it partly off screen.
#include <vector>

#include "about/logownd.h"
#include "about/pictures.h"
#include "about/tests/about_fixture.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/types.h"
#include "platform/ui/styles.h"

namespace abouttest {
namespace {

using about::CSWLogoWnd;

using Logo = AboutTest;

const int kScreenWidth = gdi::ScreenCaps().horzRes, kScreenHeight = gdi::ScreenCaps().vertRes;

TEST_F(Logo, IsATopmostPopupCentredOnTheScreenAndPaintedAtOnce) {
  ModuleStateScope state(about::AboutModuleState());
  CSWLogoWnd logo;
  ASSERT_TRUE(logo.CreateLogoWindow());
  EXPECT_EQ(logo.BitmapWidth(), about::kLogoWidth);
  EXPECT_EQ(logo.BitmapHeight(), about::kLogoHeight);
  Rect r;
  logo.GetWindowRect(&r);
  const int x = (kScreenWidth - about::kLogoWidth) / 2, y = (kScreenHeight - about::kLogoHeight) / 2;
  EXPECT_EQ(r, Rect(x, y, x + about::kLogoWidth, y + about::kLogoHeight));
  EXPECT_EQ(logo.GetStyle() & 0xFFFF0000u, 0x90800000u);
  EXPECT_NE(logo.GetExStyle() & WS_EX_TOPMOST, 0u);
  EXPECT_TRUE(logo.IsWindowVisible());
  Rect update;
  EXPECT_FALSE(logo.GetUpdateRect(&update));  // painted before the call returned

  // The client area is the bitmap from its origin: the field, the baseline and its ticks.
  const gdi::RasterSurface* pixels = logo.GetClientSurface();
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(pixels->GetPixel(5, 0), PictureRgb(0));
  EXPECT_EQ(pixels->GetPixel(100, 196), PictureRgb(about::kAxis));
  EXPECT_EQ(pixels->GetPixel(50, 199), PictureRgb(about::kAxis));
  EXPECT_GT(pixels->CountPixels(PictureRgb(about::kTrace)), 400);
  logo.DestroyWindow();
}

TEST_F(Logo, ALogoLargerThanTheScreenIsCentredPartlyOffIt) {
  const int width = kScreenWidth + 80, height = kScreenHeight + 20;
  std::vector<std::uint8_t> bmp(about::Bmp8Size(width, height));
  about::DrawSpectrumPicture(bmp.data(), width, height, {30, width - 30, height - 40, height / 2});
  const BitmapResource bitmaps[] = {{about::IDB_LOGO, bmp}};
  ResourceSet resources;
  resources.bitmaps = bitmaps;
  ModuleState big{&resources};
  ModuleStateScope state(&big);
  CSWLogoWnd logo;
  ASSERT_TRUE(logo.CreateLogoWindow());
  Rect r;
  logo.GetWindowRect(&r);
  EXPECT_EQ(r, Rect(-40, -10, -40 + width, -10 + height));
  logo.DestroyWindow();
}

}  // namespace
}  // namespace abouttest
