#pragma once
// COrvCtlApp: the module object of KARVEL, the auxiliary controls' library. One instance lives
// from load to unload; its start-up runs when the module is started (KedrusModuleStart): the
// profile start-up under the product key, so the controls' settings live in the module's own
// default section ("karvel") and the machine-wide defaults are copied to the user on a first
// start.
#include "foundation/genstart.h"
#include "platform/ui/resource.h"

namespace karvel {

class COrvCtlApp : public CGenStart {
 public:
  COrvCtlApp();

  // "Orvane\KEDRUS Lite\2.0".
  const char16_t* GetRegistryKey() const override;

  bool InitInstance();
  void ExitInstance();

  // The module state every entry point enters: the module's resources.
  ui::ModuleState* ModuleState() { return &m_moduleState; }

 private:
  ui::ModuleState m_moduleState;
};

COrvCtlApp& KarvelApp();

// The module's resources: the type-name and caption strings and the toolbox bitmaps.
const ui::ResourceSet& KarvelResources();

}  // namespace karvel
