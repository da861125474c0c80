#pragma once
// The view tests' fixture: the program started with the stand-in controls served, no parameters
// tables, a 900 x 700 main frame, and pages of fake spectrum files opened in maximised windows
// at 50 % (where the page's point p shows at p / 2 + 20).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/profdesc.h"
#include "platform/ui/app.h"
#include "profile/profile.h"
#include "rodizora/app/tests/app_fixture.h"
#include "rodizora/doc/sasettings.h"
#include "rodizora/doc/tests/fakecontrols.h"
#include "rodizora/view/saview.h"

namespace apptest {

class PageTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    controls = std::make_unique<fakes::FakeControls>();
    ASSERT_TRUE(Start());
    SaSettings().documentZoom = 50;
    // No parameters tables unless a test asks for them.
    COrvProfDesc desc;
    for (const char16_t* kind : {u"NMR\\Table", u"MASS\\Table"}) OrvSetProfInt(kind, 0, &desc);
    MainFrame()->MoveWindow(0, 0, 900, 700);
    dir = ScratchDir("pages");
  }
  void TearDown() override {
    AppTest::TearDown();
    controls.reset();
    EXPECT_TRUE(fakes::FakeSpectrum::Live().empty());
  }
  // Opens a file of these kinds in a maximised window (zoom 50 %); its view.
  CSaView* Open(const std::string& name, const std::vector<std::string>& kinds, bool maximise = true) {
    ui::Document* doc = app->OpenDocumentFile(fakes::WriteSpectrumFile(dir, name, kinds));
    if (!doc || doc->GetViews().empty()) return nullptr;
    auto* view = dynamic_cast<CSaView*>(doc->GetViews().front());
    if (maximise) dynamic_cast<ui::MDIChildWnd*>(view->GetParentFrame())->MDIMaximize();
    Repaint(view);
    return view;
  }
  static void Repaint(CSaView* view) {
    ui::App::PumpPending();
    view->Invalidate();
    view->UpdateWindow();
  }
  static gdi::COLORREF Pixel(CSaView* view, int x, int y) { return view->GetClientSurface()->GetPixel(x, y); }

  std::unique_ptr<fakes::FakeControls> controls;
  std::string dir;
};

// The page of the PDF printer (the tests' printer): landscape A4 less its 5 mm margins.
inline constexpr int kPageWidth = 1148, kPageHeight = 800;

// At 50 % the page's point p shows at p / 2 + 20.
inline constexpr int At(int page) { return page / 2 + 20; }

}  // namespace apptest
