// The spectrum control's module: its version record and its exported entry points. The code
// lives in the static libraries the module takes in whole (the control, its plot, the spectrum
// data and converters).
#include "platform/base/module.h"
#include "spectrum/control/module/registration.h"

KEDRUS_MODULE_VERSION(2, 0, 0, 0, plat::kVersionTypeDll);

KEDRUS_COM_SERVER_ENTRY_POINTS(nelvar::SpcServerModule())
KEDRUS_EXPORT plat::ole::HResult DllRegisterServer() { return nelvar::RegisterServer(); }
KEDRUS_EXPORT plat::ole::HResult DllUnregisterServer() { return nelvar::UnregisterServer(); }
