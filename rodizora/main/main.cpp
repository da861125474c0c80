// The rodizora program: the application object's start-up, message loop and exit.
//
// With $KEDRUS_SCREENSHOT naming a file, the program saves a picture of its main window as PNG
// there once start-up is done and the window has painted, and ends (scripts/run uses it on a
// machine without a display). With $KEDRUS_EXIT_PAINTED set it ends as soon as start-up is done and
// every window has painted, without the logo's pause and without an orderly exit: what
// bench/open_speed times.
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/base/memory.h"
#include "platform/base/module.h"
#include "platform/gdi/surface.h"
#include "platform/ui/app.h"
#include "rodizora/app/saapp.h"
#include "rodizora/res/saresources.h"

KEDRUS_MODULE_VERSION(2, 0, 1, 0, plat::kVersionTypeApp);

namespace {

constexpr int kSettleMs = 1500;

int SaveScreenshot(CSaApp& app, const char* path) {
  ui::App::PumpFor(kSettleMs);
  ui::Wnd* main = app.GetMainWnd();
  const auto picture = main ? main->Render() : nullptr;
  const bool saved = picture && picture->SavePng(path);
  app.CloseAllDocuments(false);
  if (main && main->IsWindow()) main->DestroyWindow();
  app.ExitInstance();
  return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  plat::reuseLargeBlocks();
  ui::App::SetCommandLine(argc, argv);
  ui::SetAppResources(&ProgramResources());
  CSaApp app;
  const bool exitPainted = std::getenv("KEDRUS_EXIT_PAINTED") != nullptr;
  if (exitPainted) app.m_logoPauseMs = 0;
  app.SetArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (!app.InitInstance()) {
    if (ui::Wnd* main = app.GetMainWnd(); main && main->IsWindow()) main->DestroyWindow();
    app.ExitInstance();
    return 1;
  }
  if (exitPainted) {
    ui::App::PumpPending();
    _exit(0);
  }
  if (const char* shot = std::getenv("KEDRUS_SCREENSHOT"); shot && *shot) return SaveScreenshot(app, shot);
  // No other program can embed or automate this one here: such a start ends once it is set up.
  if (app.StartedForEmbedding()) return app.ExitInstance();
  return app.Run();
}
