// The program with the real spectrum control (libnelvar.so, registered into the sandbox as the
// set-up registers it): a sample opens as a page whose spectrum item draws. Skipped while the
// module serves no spectrum control.
#include <gtest/gtest.h>

#include <fstream>

#include "common/guids.h"
#include "platform/com/creation.h"
#include "platform/com/library.h"
#include "platform/ui/app.h"
#include "platform/ui/responder.h"
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
};

TEST_F(NelvarTest, TheSampleOpensAsAPageWhoseSpectrumDraws) {
  ASSERT_TRUE(Start({SAMPLE_FID, "-PROCESS", "EM;FT;APK"}));
  const auto docs = Documents();
  ASSERT_EQ(docs.size(), 1u);
  auto* doc = dynamic_cast<CSaDoc*>(docs.front());
  ASSERT_EQ(doc->Items().size(), 1u);
  CSaItem* item = doc->Items()[0];
  EXPECT_EQ(item->GetMethodName(), u"NMR");
  EXPECT_EQ(item->GetRect(), gdi::Rect(0, 0, doc->PageWidth(), doc->PageHeight() - 60));
  auto* view = dynamic_cast<CSaView*>(doc->GetViews().front());
  dynamic_cast<ui::MDIChildWnd*>(view->GetParentFrame())->MDIMaximize();
  ui::App::PumpPending();
  view->Invalidate();
  view->UpdateWindow();
  gdi::Rect r = item->GetRect();
  ASSERT_TRUE(view->PageToClient(&r));
  const gdi::WindowSurface* pixels = view->GetClientSurface();
  ASSERT_NE(pixels, nullptr);
  std::int64_t drawn = 0;
  for (int y = r.top + 2; y < std::min(r.bottom, pixels->Height()) - 2; ++y)
    for (int x = r.left + 2; x < std::min(r.right, pixels->Width()) - 2; ++x) drawn += pixels->GetPixel(x, y) != 0xFFFFFF;
  EXPECT_GT(drawn, 500);
  MainFrame()->Render()->SavePng(ScratchDir("nelvar") + "/sample.png");
}

TEST_F(NelvarTest, ACorruptFileOpensNothingAndSaysSo) {
  const std::string dir = ScratchDir("corrupt");
  const std::string file = WriteFile(dir, "broken.dx", "##TITLE= broken\n##JCAMP-DX= 5.0\n##DATA TYPE= NMR SPECTRUM\n##XYDATA=(X++(Y..Y))\n1 2 3\n");
  ASSERT_TRUE(Start());
  EXPECT_EQ(app->OpenDocumentFile(file), nullptr);
  EXPECT_TRUE(Documents().empty());
}

}  // namespace
}  // namespace apptest
