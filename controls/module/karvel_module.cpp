// The auxiliary controls' module: its version record and its exported entry points. The code
// lives in the static libraries the module takes in whole (the controls, their models, the
// module object and its class table).
#include "controls/module/karvelapp.h"
#include "controls/module/registration.h"
#include "platform/base/module.h"

KEDRUS_MODULE_VERSION(2, 0, 0, 0, plat::kVersionTypeDll);

namespace {

// Each entry point runs in the module's state (its resources).
template <class F>
auto InModule(F f) {
  ui::ModuleStateScope scope(karvel::KarvelApp().ModuleState());
  return f();
}

}  // namespace

KEDRUS_EXPORT plat::ole::HResult DllGetClassObject(const plat::ole::Guid& clsid, const plat::ole::Guid& iid,
                                                   void** object) {
  return InModule([&] { return plat::ole::serverGetClassObject(karvel::KarvelServerModule(), clsid, iid, object); });
}
KEDRUS_EXPORT plat::ole::HResult DllCanUnloadNow() { return plat::ole::serverCanUnloadNow(); }
KEDRUS_EXPORT int KedrusModuleStart() { return plat::ole::serverStart(karvel::KarvelServerModule()); }
KEDRUS_EXPORT void KedrusModuleStop() { plat::ole::serverStop(karvel::KarvelServerModule()); }
KEDRUS_EXPORT plat::ole::HResult KedrusGetTypeLib(const plat::ole::Guid& libid, plat::ole::ITypeLib** lib) {
  return plat::ole::serverGetTypeLib(karvel::KarvelServerModule(), libid, lib);
}
KEDRUS_EXPORT plat::ole::HResult DllRegisterServer() { return karvel::RegisterServer(); }
KEDRUS_EXPORT plat::ole::HResult DllUnregisterServer() { return karvel::UnregisterServer(); }
