// libabout.so as the program uses it: loaded by its platform name from an install directory, its
// two functions bound by name, the logo shown and taken down, the about box answered by the
// responder with the module information, and everything gone when the library is freed.
#include <unistd.h>

#include "about/tests/about_fixture.h"
#include "platform/base/path.h"
#include "platform/base/tests/dynamic_symbols.h"
#include "platform/base/tests/scratch.h"
#include "platform/com/library.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/styles.h"
#include "platform/ui/testing.h"

namespace abouttest {
namespace {

using AboutDoDialogBoxFn = void (*)(const char*, const char*, int);
using AboutShowLogoFn = void (*)(int);

// An install directory holding the library and the profile store it needs.
std::string InstallDirectory() {
  const std::string dir = plat_test::ScratchDir("install");
  for (const char* file : {ABOUT_LIBRARY_PATH, DORLIN_LIBRARY_PATH}) {
    const std::string link = plat::joinPath(dir, plat::pathFileName(file));
    ::unlink(link.c_str());
    EXPECT_EQ(::symlink(file, link.c_str()), 0) << link;
  }
  return dir;
}

// The top-level windows that are up now.
std::vector<Wnd*> TopLevelWindows() {
  std::vector<Wnd*> out;
  for (HWND h : ui::testing::LiveWindows())
    if (Wnd* w = Wnd::FromHandle(h); w && !w->GetParent()) out.push_back(w);
  return out;
}

using AboutModule = AboutTest;

TEST_F(AboutModule, ExportsItsTwoFunctionsAndItsStartAndStopOnly) {
  const auto defined = plat_test::DynamicSymbols(ABOUT_LIBRARY_PATH, true);
  if (!defined) GTEST_SKIP() << "nm not available";
  std::vector<std::string> names;
  for (const auto& [name, kind] : *defined) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"AboutDoDialogBox", "AboutShowLogo", "KedrusModuleStart",
                                             "KedrusModuleStop"}));
}

TEST_F(AboutModule, LoadedByNameItShowsTheLogoAndTheAboutBoxWithModuleInformation) {
  WriteUser(kLibrarySection, u"Jane Roe", u"Orvane Labs");
  const std::string install = InstallDirectory();
  void* library = nullptr;
  ASSERT_EQ(plat::ole::loadLibrary(install + "\\ABOUT.DLL", &library), plat::ole::S_OK);
  auto* showLogo = reinterpret_cast<AboutShowLogoFn>(plat::ole::moduleSymbol(library, "AboutShowLogo"));
  auto* doDialogBox = reinterpret_cast<AboutDoDialogBoxFn>(plat::ole::moduleSymbol(library, "AboutDoDialogBox"));
  ASSERT_NE(showLogo, nullptr);
  ASSERT_NE(doDialogBox, nullptr);

  // One logo, however often it is asked for, taken down by 0; 0 with none changes nothing.
  showLogo(1);
  showLogo(1);
  auto windows = TopLevelWindows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_NE(windows[0]->GetExStyle() & WS_EX_TOPMOST, 0u);
  Rect logo;
  windows[0]->GetWindowRect(&logo);
  EXPECT_EQ(logo.Width(), 400);
  EXPECT_EQ(logo.Height(), 240);
  showLogo(0);
  EXPECT_TRUE(TopLevelWindows().empty());
  showLogo(0);

  // The about box, without and then with spectrum modules to ask.
  std::string moduleInfo;
  auto aboutBox = [&] {
    ScriptedResponder responder(true);
    responder
        .Then(ModalKind::Dialog,
              [&](ModalQuestion& q) {
                Dialog& d = *q.dialog;
                EXPECT_EQ(d.GetWindowText(), "About KEDRUS Rodizora");
                EXPECT_EQ(d.GetDlgItemText(1000), "KEDRUS Rodizora 2.00.0, 01-Jan-2024.");
                EXPECT_EQ(d.GetDlgItemText(1004), "  Jane Roe\n  Orvane Labs");
                d.PressButton(1002);
                return IDOK;
              })
        .Then(ModalKind::MessageBox, [&](ModalQuestion& q) {
          moduleInfo = q.text;
          EXPECT_EQ(q.style, UINT(MB_OK | MB_ICONINFORMATION));
          return IDOK;
        });
    doDialogBox("KEDRUS Rodizora", "KEDRUS Rodizora 2.00.0, 01-Jan-2024.", 1);
    EXPECT_TRUE(responder.Done());
    EXPECT_EQ(responder.Unexpected(), 0);
  };
  aboutBox();
  EXPECT_EQ(moduleInfo, "Module info:\n ");
  {
    FakeModules fakes;
    aboutBox();
    EXPECT_EQ(moduleInfo, "Module info:\n " + FakeControlEntry() + FakeSecondEntry());
  }

  // A logo still up when the library is freed goes with it.
  showLogo(1);
  EXPECT_EQ(TopLevelWindows().size(), 1u);
  plat::ole::freeLibrary(library);
  EXPECT_FALSE(plat::ole::isModuleLoaded(install + "/libabout.so"));
  EXPECT_TRUE(TopLevelWindows().empty());
}

}  // namespace
}  // namespace abouttest
