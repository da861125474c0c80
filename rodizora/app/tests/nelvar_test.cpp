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
    void* module = nullptr;
    if (plat::ole::loadModule("NELVAR.DLL", false, &module) >= 0 && module)
      if (auto reg = reinterpret_cast<plat::ole::HResult (*)()>(plat::ole::moduleSymbol(module, "DllRegisterServer")))
        reg();
    if (!CSpcControlRef::Create()) GTEST_SKIP() << "libnelvar.so serves no spectrum control yet";
  }

  // Counts the pixels inside an item's rectangle (less a 2-pixel border) that are not white.
  static std::int64_t DrawnPixels(CSaView* view, const CSaItem* item) {
    dynamic_cast<ui::MDIChildWnd*>(view->GetParentFrame())->MDIMaximize();
    ui::App::PumpPending();
    view->Invalidate();
    view->UpdateWindow();
    gdi::Rect r = item->GetRect();
    const gdi::WindowSurface* pixels = view->GetClientSurface();
    if (!pixels || !view->PageToClient(&r)) return 0;
    std::int64_t drawn = 0;
    for (int y = r.top + 2; y < std::min(r.bottom, pixels->Height()) - 2; ++y)
      for (int x = r.left + 2; x < std::min(r.right, pixels->Width()) - 2; ++x)
        drawn += pixels->GetPixel(x, y) != 0xFFFFFF;
    return drawn;
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
