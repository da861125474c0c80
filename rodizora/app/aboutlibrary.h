#pragma once
// The about library, loaded by name at run time from the install directory ("ABOUT.DLL", here
// libabout.so), for the start logo and the about box. A missing library or entry point is
// skipped without a word.
#include <string>

#include "platform/base/types.h"

class CAboutLibrary {
 public:
  CAboutLibrary() = default;
  ~CAboutLibrary() { Free(); }
  CAboutLibrary(const CAboutLibrary&) = delete;
  CAboutLibrary& operator=(const CAboutLibrary&) = delete;

  // Loads (and starts) the library in installDirectory; false when it is not there.
  bool Load(const plat::String16& installDirectory);
  bool IsLoaded() const { return m_handle != nullptr; }
  // "AboutShowLogo"(show); false when the entry point is missing.
  bool ShowLogo(int show) const;
  // "AboutDoDialogBox"(title, text, moduleInfo), in 8-bit characters; false when it is missing.
  bool DoDialogBox(const std::string& title, const std::string& text, int moduleInfo) const;
  // Lets the library go (its shutdown runs once nothing else holds it).
  void Free();

 private:
  void* m_handle = nullptr;
};
