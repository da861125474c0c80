#include "rodizora/app/aboutlibrary.h"

#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/com/library.h"

namespace {

using ShowLogoFn = void (*)(int);
using DoDialogBoxFn = void (*)(const char*, const char*, int);

}  // namespace

bool CAboutLibrary::Load(const plat::String16& installDirectory) {
  Free();
  // The platform's file name of "ABOUT.DLL".
  const plat::String8 path = plat::joinPath(plat::toUtf8(installDirectory), "libabout.so");
  void* handle = nullptr;
  if (plat::ole::loadModule(path, true, &handle) < 0 || !handle) return false;
  m_handle = handle;
  return true;
}

bool CAboutLibrary::ShowLogo(int show) const {
  auto fn = m_handle ? reinterpret_cast<ShowLogoFn>(plat::ole::moduleSymbol(m_handle, "AboutShowLogo")) : nullptr;
  if (!fn) return false;
  fn(show);
  return true;
}

bool CAboutLibrary::DoDialogBox(const std::string& title, const std::string& text, int moduleInfo) const {
  auto fn =
      m_handle ? reinterpret_cast<DoDialogBoxFn>(plat::ole::moduleSymbol(m_handle, "AboutDoDialogBox")) : nullptr;
  if (!fn) return false;
  fn(title.c_str(), text.c_str(), moduleInfo);
  return true;
}

void CAboutLibrary::Free() {
  if (!m_handle) return;
  m_handle = nullptr;
  plat::ole::freeUnusedLibraries();
}
