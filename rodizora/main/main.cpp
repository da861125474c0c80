// The rodizora program: the application object's start-up, message loop and exit.
#include <string>
#include <vector>

#include "platform/base/module.h"
#include "platform/ui/app.h"
#include "rodizora/app/saapp.h"
#include "rodizora/res/saresources.h"

KEDRUS_MODULE_VERSION(2, 0, 1, 0, plat::kVersionTypeApp);

int main(int argc, char** argv) {
  ui::App::SetCommandLine(argc, argv);
  ui::SetAppResources(&ProgramResources());
  CSaApp app;
  app.SetArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (!app.InitInstance()) {
    if (ui::Wnd* main = app.GetMainWnd(); main && main->IsWindow()) main->DestroyWindow();
    app.ExitInstance();
    return 1;
  }
  // No other program can embed or automate this one here: such a start ends once it is set up.
  if (app.StartedForEmbedding()) return app.ExitInstance();
  return app.Run();
}
