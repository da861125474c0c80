#pragma once
// The documents' test fixture: an application object, the program's resources, the fake
// controls served, settings back to their defaults and one document, checked at the end to leave
// no control behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "foundation/profdesc.h"
#include "platform/ui/app.h"
#include "platform/ui/testing.h"
#include "profile/profile.h"
#include "rodizora/doc/sadoc.h"
#include "rodizora/doc/sasettings.h"
#include "rodizora/doc/tests/fakecontrols.h"
#include "rodizora/res/saresources.h"

namespace sadoctest {

using fakes::FakeSpectrum;


// The page of the PDF printer (the tests' printer): landscape A4 less its 5 mm margins.
constexpr int W = 1148, H = 800;

inline std::string Dir() {
  const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string dir = std::string(scratch ? scratch : "/tmp") + "/doc";
  std::filesystem::create_directories(dir);
  return dir;
}

inline void SetProfileInt(const char16_t* name, int value) {
  COrvProfDesc desc;
  OrvSetProfInt(name, value, &desc);
}

class DocTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static ui::App app("doc tests");
    ui::SetAppResources(&ProgramResources());
  }
  void SetUp() override {
    ui::testing::Reset();
    SaSettings().processCommands.clear();
    SaSettings().app = CSaAppSettings();
    SaSettings().documentZoom = 100;
    // No tables unless a test asks for them.
    for (const char16_t* kind : {u"NMR\\Table", u"MASS\\Table"}) SetProfileInt(kind, 0);
    doc = std::make_unique<CSaDoc>();
    doc->m_bAutoDelete = false;
  }
  void TearDown() override {
    doc.reset();
    ui::App::PumpPending();
    EXPECT_TRUE(FakeSpectrum::Live().empty());
    EXPECT_TRUE(fakes::FakeTable::Live().empty());
  }
  std::vector<gdi::Rect> Rects() const {
    std::vector<gdi::Rect> rects;
    for (CSaItem* item : doc->Items()) rects.push_back(item->GetRect());
    return rects;
  }
  // The stand-in control of an item (null when it is not one of that class).
  template <class Fake>
  static Fake* FakeOf(CSaItem* item) {
    auto* unknown = static_cast<plat::ole::IUnknown*>(item->QueryObject(plat::ole::IID_IUnknown));
    if (!unknown) return nullptr;
    unknown->Release();
    for (Fake* c : Fake::Live())
      if (c->GetUnknown() == unknown) return c;
    return nullptr;
  }
  static FakeSpectrum* ControlOf(CSaItem* item) { return FakeOf<FakeSpectrum>(item); }

  fakes::FakeControls controls;
  std::unique_ptr<CSaDoc> doc;
};

}  // namespace sadoctest
