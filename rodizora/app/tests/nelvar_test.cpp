// The program with the real spectrum control (libnelvar.so, registered into the sandbox as the
// set-up registers it). Each test is skipped while the module does not yet serve what it needs.
#include <gtest/gtest.h>

#include "common/guids.h"
#include "platform/base/text.h"
#include "platform/com/library.h"
#include "platform/ui/app.h"
#include "rodizora/app/tests/app_fixture.h"
#include "rodizora/doc/sadoc.h"
#include "rodizora/doc/spectrumcontrol.h"
#include "rodizora/view/saview.h"

namespace apptest {
namespace {

class NelvarTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    if (!RegisterNelvar()) GTEST_SKIP() << "libnelvar.so serves no spectrum control yet";
  }
};

TEST_F(NelvarTest, ASpectrumItemOfTheSampleDrawsItsPlot) {
  ASSERT_TRUE(Start());
  app->OnFileNew();
  auto* doc = dynamic_cast<CSaDoc*>(Documents().front());
  CSaItem* item = doc->CreateSpectrumItem(plat::toUtf16(SAMPLE_FID), 0);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->GetMethodName(), u"NMR");
  EXPECT_EQ(item->GetRect(), gdi::Rect(0, 0, doc->PageWidth(), doc->PageHeight()));
  EXPECT_GT(DrawnPixels(dynamic_cast<CSaView*>(doc->GetViews().front()), item), 500);
  MainFrame()->Render()->SavePng(ScratchDir("nelvar_item") + "/sample_item.png");
}

TEST_F(NelvarTest, TheSampleOpensFromTheCommandLineAsAPage) {
  if (CSaDoc::GetSpectraCountInFile(plat::toUtf16(SAMPLE_FID)) != 1)
    GTEST_SKIP() << "the spectrum control does not count a file's spectra yet";
  ASSERT_TRUE(Start({SAMPLE_FID, "-PROCESS", "EM;FT;APK"}));
  ASSERT_EQ(Documents().size(), 1u);
  auto* doc = dynamic_cast<CSaDoc*>(Documents().front());
  ASSERT_GE(doc->Items().size(), 1u);
  EXPECT_GT(DrawnPixels(dynamic_cast<CSaView*>(doc->GetViews().front()), doc->Items()[0]), 500);
  MainFrame()->Render()->SavePng(ScratchDir("nelvar_page") + "/sample_page.png");
}

}  // namespace
}  // namespace apptest
