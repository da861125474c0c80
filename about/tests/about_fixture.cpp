#include "about/tests/about_fixture.h"

#include <memory>

#include "about/aboutapp.h"
#include "about/pictures.h"
#include "about/tests/fakespc/fake_spc.h"
#include "common/guids.h"
#include "foundation/profdesc.h"
#include "platform/base/text.h"
#include "platform/com/library.h"
#include "platform/com/regkeys.h"
#include "platform/ui/testing.h"
#include "profile/profile.h"

namespace abouttest {

namespace {

constexpr char16_t kProductRoot[] = u"HKEY_CURRENT_USER\\Software\\Orvane\\KEDRUS Lite\\2.0";

plat::ole::HResult CallFakeModule(const char* entry) {
  void* module = nullptr;
  if (plat::ole::loadModule(FAKE_SPC_MODULE, true, &module) != plat::ole::S_OK) return plat::ole::E_FAIL;
  auto* fn = reinterpret_cast<plat::ole::HResult (*)()>(plat::ole::moduleSymbol(module, entry));
  return fn ? fn() : plat::ole::E_FAIL;
}

}  // namespace

void WriteUser(const char16_t* section, const char16_t* userName, const char16_t* companyName) {
  COrvProfDesc desc(kProductRoot, (plat::String16(u"\\") + section).c_str());
  for (auto [name, text] : {std::pair{u"UserName", userName}, std::pair{u"CompanyName", companyName}}) {
    if (text) EXPECT_EQ(OrvSetProfString(name, text, &desc), 0);
    else OrvDeleteProfValue(name, &desc);
  }
}

FakeModules::FakeModules() { EXPECT_EQ(CallFakeModule("DllRegisterServer"), plat::ole::S_OK); }
FakeModules::~FakeModules() {
  EXPECT_EQ(CallFakeModule("DllUnregisterServer"), plat::ole::S_OK);
  plat::ole::freeUnusedLibraries();
}
void FakeModules::DropSecond() {
  plat::ole::regkeys::deleteTree(plat::reg::kClassesRoot, u"CLSID\\" + plat::ole::guidToString(CLSID_SpcModule2));
}

std::string FakeControlEntry() {
  return plat::toUtf8(fakespc::kControlName) + "\n Version: 2. 5 " + plat::toUtf8(fakespc::kControlDate) + "\n\n";
}
// A null name and date read as empty; the version's words are unsigned.
std::string FakeSecondEntry() { return "\n Version: 65534.12 \n\n"; }

int RunDialog(Dialog& dialog, const std::function<int(Dialog&)>& step) {
  ScriptedResponder responder(true);
  responder.Then(ModalKind::Dialog, [&](ModalQuestion& q) { return step(*q.dialog); });
  const int result = dialog.DoModal();
  EXPECT_TRUE(responder.Done());
  EXPECT_EQ(responder.Unexpected(), 0);
  return result;
}

COLORREF PictureRgb(int index) {
  const std::uint32_t c = about::PictureColor(index);
  return RGB(c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF);
}

Rect ItemRect(const Dialog& dialog, UINT id) {
  Rect r;
  if (Wnd* item = dialog.GetDlgItem(id)) {
    item->GetWindowRect(&r);
    dialog.ScreenToClient(&r);
  }
  return r;
}

void AboutTest::SetUpTestSuite() {
  static App app("About tests");
  // The about code of this program reads its settings from the program's own section.
  static about::CSwAboutApp module;
  static const bool started = module.InitInstance();
  ASSERT_TRUE(started);
}

void AboutTest::SetUp() { ui::testing::Reset(); }

void AboutTest::TearDown() {
  App::PumpPending();
  EXPECT_TRUE(ui::testing::LiveWindows().empty());
  ui::testing::Reset();
}

}  // namespace abouttest
