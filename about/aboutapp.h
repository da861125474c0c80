#pragma once
// CSwAboutApp: the about library's module object. Its start-up runs the profile start-up under
// the product key, so the library's settings ("UserName", "CompanyName") are read from its own
// default section. The library's entry points start it when the library is loaded and end it
// when the library is freed.
//
// It is not a ui::App: the window layer's application object is the program's, and a library
// loaded into the program only borrows its message loop.
#include "foundation/genstart.h"

namespace about {

class CSwAboutApp : public CGenStart {
 public:
  const char16_t* GetRegistryKey() const override;
  // The profile start-up; answers its result.
  bool InitInstance();
  void ExitInstance();
};

}  // namespace about
