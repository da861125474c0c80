#include "rodizora/app/tests/app_fixture.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "foundation/profdesc.h"
#include "platform/com/library.h"
#include "platform/ui/app.h"
#include "platform/ui/docview.h"
#include "platform/ui/frame.h"
#include "platform/ui/testing.h"
#include "profile/profile.h"
#include "rodizora/doc/spectrumcontrol.h"
#include "rodizora/res/saresources.h"

namespace apptest {

namespace {

const char kFakeAbout[] = FAKE_ABOUT_DIR "/libabout.so";

void SetInstallPath(const std::string& dir) {
  COrvProfDesc machine(u"HKEY_LOCAL_MACHINE\\Software", u"\\Orvane\\KEDRUS Lite\\2.0");
  const std::u16string path(dir.begin(), dir.end());
  OrvSetProfString(u"Path", path.c_str(), &machine);
}

template <class Fn>
Fn FakeAboutEntry(const char* name) {
  void* handle = ::dlopen(kFakeAbout, RTLD_NOW | RTLD_LOCAL);
  return handle ? reinterpret_cast<Fn>(::dlsym(handle, name)) : nullptr;
}

// Loads a server module and runs its (un)registration entry; false when either fails.
bool RunModuleEntry(const char* name, const char* entry) {
  void* module = nullptr;
  if (plat::ole::loadModule(name, false, &module) < 0 || !module) return false;
  auto run = reinterpret_cast<plat::ole::HResult (*)()>(plat::ole::moduleSymbol(module, entry));
  return run && run() >= 0;
}

}  // namespace

bool RegisterNelvar() {
  RunModuleEntry("NELVAR.DLL", "DllRegisterServer");
  return static_cast<bool>(CSpcControlRef::Create());
}

bool RegisterKarvel() { return RunModuleEntry("KARVEL.DLL", "DllRegisterServer"); }
bool UnregisterKarvel() { return RunModuleEntry("KARVEL.DLL", "DllUnregisterServer"); }

std::int64_t DrawnPixels(CSaView* view, const CSaItem* item) {
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

std::string ScratchDir(const std::string& name) {
  const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::filesystem::path dir = std::filesystem::path(scratch ? scratch : "/tmp") / name;
  std::error_code error;
  std::filesystem::remove_all(dir, error);
  std::filesystem::create_directories(dir, error);
  return dir.string();
}

std::string WriteFile(const std::string& dir, const std::string& name, const std::string& text) {
  const std::string path = dir + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

void AppTest::SetUp() {
  ui::SetAppResources(&ProgramResources());
  ui::testing::Reset();
  UseAboutLibrary(false);
}

void AppTest::TearDown() {
  if (app) {
    // As the program ends: the documents close (their items deactivate) before the windows go.
    app->CloseAllDocuments(false);
    if (ui::Wnd* main = app->GetMainWnd(); main && main->IsWindow()) main->DestroyWindow();
    app->m_pMainWnd = nullptr;
    app.reset();
  }
  ui::App::PumpPending();
  EXPECT_TRUE(ui::testing::LiveWindows().empty());
}

void AppTest::UseAboutLibrary(bool present) {
  SetInstallPath(present ? FAKE_ABOUT_DIR : ScratchDir("install"));
  AboutCalls();
}

std::string AppTest::AboutCalls() {
  auto calls = FakeAboutEntry<const char* (*)()>("FakeAboutCalls");
  auto reset = FakeAboutEntry<void (*)()>("FakeAboutReset");
  if (!calls || !reset) return "(no stand-in)";
  std::string text = calls();
  reset();
  return text;
}

bool AppTest::Start(const std::vector<std::string>& args) {
  app = std::make_unique<CSaApp>();
  app->m_logoPauseMs = 0;
  app->SetArguments(args);
  return app->InitInstance();
}

CMainFrame* AppTest::MainFrame() const { return app ? dynamic_cast<CMainFrame*>(app->GetMainWnd()) : nullptr; }

std::vector<ui::Document*> AppTest::Documents() const {
  std::vector<ui::Document*> docs;
  if (app)
    for (ui::DocTemplate* t : app->GetDocTemplates()) docs.insert(docs.end(), t->GetDocuments().begin(), t->GetDocuments().end());
  return docs;
}

}  // namespace apptest
