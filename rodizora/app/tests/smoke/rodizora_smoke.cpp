// The program on a real X server (run under xvfb-run by ctest) with the real spectrum control:
// started on the shipped sample, its window maps and the sample's spectrum item is drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>
#include <cstring>

#include "platform/ui/app.h"
#include "rodizora/app/tests/app_fixture.h"
#include "rodizora/doc/sadoc.h"
#include "rodizora/frame/standardbar.h"

namespace apptest {
namespace {

class SmokeTest : public AppTest {
 protected:
  // The one document the program opened, its view and first item; false (with the test's
  // failure) when there is none.
  bool OpenedDocument(CSaDoc** doc, CSaView** view) {
    EXPECT_EQ(Documents().size(), 1u);
    *doc = Documents().empty() ? nullptr : dynamic_cast<CSaDoc*>(Documents().front());
    if (!*doc || (*doc)->Items().empty()) {
      ADD_FAILURE() << "no document with an item";
      return false;
    }
    *view = dynamic_cast<CSaView*>((*doc)->GetViews().front());
    EXPECT_NE(*view, nullptr);
    return *view != nullptr;
  }
};

TEST_F(SmokeTest, TheSampleOpensInARealWindowAndItsItemIsDrawn) {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (!std::getenv("DISPLAY") || !platform || std::strcmp(platform, "xcb") != 0) GTEST_SKIP() << "no X display";
  ASSERT_FALSE(ui::App::IsHeadless());
  ASSERT_TRUE(RegisterNelvar()) << "libnelvar.so serves no spectrum control";
  ASSERT_TRUE(Start({SAMPLE_FID}));
  ASSERT_TRUE(MainFrame()->IsWindowVisible());
  CSaDoc* doc = nullptr;
  CSaView* view = nullptr;
  ASSERT_TRUE(OpenedDocument(&doc, &view));
  ui::App::PumpUntil([] { return false; }, 500);
  // The plot inside the item's rectangle, not an empty page.
  EXPECT_GT(DrawnPixels(view, doc->Items()[0]), 500);
  MainFrame()->Render()->SavePng(ScratchDir("smoke") + "/window.png");
}

// A real spectrometer's FID (aspirin at 300 MHz, Bruker), opened with the commands a chemist
// gives it on the command line: window, FT, automatic phase. With the page zoomed to its width,
// the trace's tallest peak (the methyl singlet at 2.29 ppm, 83 % of the way along an axis from
// 15.48 to -0.48 ppm) lies in the right part of the plot, right of the aromatic lines
// (7-8 ppm); mirrored it would stand at 12.7 ppm in the left part.
TEST_F(SmokeTest, ARealFidShowsItsPeaksWhereTheSpectrometerPutsThem) {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (!std::getenv("DISPLAY") || !platform || std::strcmp(platform, "xcb") != 0) GTEST_SKIP() << "no X display";
  ASSERT_TRUE(RegisterNelvar()) << "libnelvar.so serves no spectrum control";
  ASSERT_TRUE(Start({std::string(KEDRUS_REAL_DATA) + "/aspirin-1h", "-PROCESS", "EM;FT;AP"}));
  CSaDoc* doc = nullptr;
  CSaView* view = nullptr;
  ASSERT_TRUE(OpenedDocument(&doc, &view));
  dynamic_cast<ui::MDIChildWnd*>(view->GetParentFrame())->MDIMaximize();
  view->SendMessage(ui::WM_COMMAND, CStandardBar::kZoomCommandFirst, 0);  // "Page Width"
  ui::App::PumpUntil([] { return false; }, 500);
  view->Invalidate();
  view->UpdateWindow();
  const gdi::WindowSurface* pixels = view->GetClientSurface();
  ASSERT_NE(pixels, nullptr);
  pixels->SavePng(ScratchDir("smoke_real") + "/aspirin.png");
  gdi::Rect r = doc->Items()[0]->GetRect();
  ASSERT_TRUE(view->PageToClient(&r));
  r.right = std::min(r.right, pixels->Width());
  r.bottom = std::min(r.bottom, pixels->Height());
  ASSERT_GT(r.Width(), 300);

  // The trace is drawn black: per column, the height of its topmost black pixel above the
  // item's bottom (0 for a column without one).
  std::vector<int> height(static_cast<std::size_t>(r.Width()), 0);
  for (int x = r.left; x < r.right; ++x)
    for (int y = r.top; y < r.bottom; ++y)
      if (pixels->GetPixel(x, y) == 0x000000) {
        height[static_cast<std::size_t>(x - r.left)] = r.bottom - y;
        break;
      }
  const auto tallest = std::max_element(height.begin(), height.end());
  const double at = static_cast<double>(tallest - height.begin()) / r.Width();
  // The aromatic lines: the tallest column well left of it.
  const auto leftPart = height.begin() + (tallest - height.begin()) * 8 / 10;
  const auto aromatic = std::max_element(height.begin(), leftPart);
  const double aromaticAt = static_cast<double>(aromatic - height.begin()) / r.Width();
  EXPECT_GT(at, 0.7) << "the tallest peak is not where the methyl singlet belongs";
  EXPECT_LT(at, 0.95);
  EXPECT_GT(aromaticAt, 0.35);
  EXPECT_LT(aromaticAt, 0.65);
  EXPECT_GT(*aromatic, *tallest / 10) << "no aromatic lines left of the methyl singlet";
}

}  // namespace
}  // namespace apptest
