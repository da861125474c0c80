// The about library's module: its version record, its module object and logo window, and its
// entry points. The loader (platform/com/library.h) runs KedrusModuleStart when the library is
// loaded and KedrusModuleStop when it is freed; the program calls the two named functions.
#include <memory>
#include <string>

#include "about/aboutapp.h"
#include "about/logownd.h"
#include "about/maindlg.h"
#include "about/resources.h"
#include "platform/base/module.h"

KEDRUS_MODULE_VERSION(2, 0, 0, 0, plat::kVersionTypeDll);

namespace {

std::unique_ptr<about::CSwAboutApp> g_app;
// The one logo window object; its window lives from AboutShowLogo(1) to AboutShowLogo(0).
std::unique_ptr<about::CSWLogoWnd> g_logo;

about::CSWLogoWnd& Logo() {
  if (!g_logo) g_logo = std::make_unique<about::CSWLogoWnd>();
  return *g_logo;
}

}  // namespace

#define ABOUT_EXPORT extern "C" __attribute__((visibility("default")))

ABOUT_EXPORT int KedrusModuleStart() {
  g_app = std::make_unique<about::CSwAboutApp>();
  return g_app->InitInstance() ? 1 : 0;
}

ABOUT_EXPORT void KedrusModuleStop() {
  // A logo still up when the library goes goes with it, and so does its bitmap.
  if (g_logo && g_logo->IsWindow()) g_logo->DestroyWindow();
  g_logo.reset();
  if (g_app) g_app->ExitInstance();
  g_app.reset();
}

// titleSuffix and bodyText are 8-bit texts (null: empty); moduleInfo enables "&Module Info...".
ABOUT_EXPORT void AboutDoDialogBox(const char* titleSuffix, const char* bodyText, int moduleInfo) {
  ui::ModuleStateScope state(about::AboutModuleState());
  about::CMainDlg dialog(titleSuffix ? titleSuffix : "", bodyText ? bodyText : "", moduleInfo, nullptr);
  dialog.DoModal();
}

ABOUT_EXPORT void AboutShowLogo(int show) {
  ui::ModuleStateScope state(about::AboutModuleState());
  about::CSWLogoWnd& logo = Logo();
  if (show) {
    if (!logo.IsWindow()) logo.CreateLogoWindow();
  } else if (logo.IsWindow()) {
    logo.DestroyWindow();
  }
}
