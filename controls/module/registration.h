#pragma once
// KARVEL as an in-process server: its classes (five controls and six property pages), its type
// library, and what its COM entry points do.
#include "platform/com/server.h"

namespace karvel {

const plat::ole::ServerModule& KarvelServerModule();

// DllRegisterServer: the type library, then every class; S_OK, SELFREG_E_TYPELIB or
// SELFREG_E_CLASS.
plat::ole::HResult RegisterServer();
// DllUnregisterServer: removes "Start" from the module's default profile section (so the next
// start of any module copies the machine-wide defaults again) whatever follows, then the type
// library's and the classes' registration; S_OK, SELFREG_E_TYPELIB (the classes then stay) or
// SELFREG_E_CLASS.
plat::ole::HResult UnregisterServer();

}  // namespace karvel
