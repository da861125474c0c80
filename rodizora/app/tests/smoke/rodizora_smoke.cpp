// The program on a real X server (run under xvfb-run by ctest) with the real spectrum control:
// started on the shipped sample, its window maps and the sample's spectrum item is drawn.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "platform/ui/app.h"
#include "rodizora/app/tests/app_fixture.h"
#include "rodizora/doc/sadoc.h"

namespace apptest {
namespace {

class SmokeTest : public AppTest {};

TEST_F(SmokeTest, TheSampleOpensInARealWindowAndItsItemIsDrawn) {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (!std::getenv("DISPLAY") || !platform || std::strcmp(platform, "xcb") != 0) GTEST_SKIP() << "no X display";
  ASSERT_FALSE(ui::App::IsHeadless());
  ASSERT_TRUE(RegisterNelvar()) << "libnelvar.so serves no spectrum control";
  ASSERT_TRUE(Start({SAMPLE_FID}));
  ASSERT_TRUE(MainFrame()->IsWindowVisible());
  ASSERT_EQ(Documents().size(), 1u);
  auto* doc = dynamic_cast<CSaDoc*>(Documents().front());
  ASSERT_NE(doc, nullptr);
  ASSERT_FALSE(doc->Items().empty());
  auto* view = dynamic_cast<CSaView*>(doc->GetViews().front());
  ASSERT_NE(view, nullptr);
  ui::App::PumpUntil([] { return false; }, 500);
  // The plot inside the item's rectangle, not an empty page.
  EXPECT_GT(DrawnPixels(view, doc->Items()[0]), 500);
  MainFrame()->Render()->SavePng(ScratchDir("smoke") + "/window.png");
}

}  // namespace
}  // namespace apptest
