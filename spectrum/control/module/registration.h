#pragma once
// NELVAR as an in-process server: its classes (the spectrum control and its thirteen property
// pages), its type library, and what its four COM entry points do.
#include "platform/com/server.h"

namespace nelvar {

// The class table and type library, built on first use under the module's resources.
const plat::ole::ServerModule& SpcServerModule();

// DllRegisterServer: the type library, then every class; S_OK, SELFREG_E_TYPELIB or
// SELFREG_E_CLASS.
plat::ole::HResult RegisterServer();
// DllUnregisterServer: removes "Start" from the module's profile (so the next start copies the
// machine-wide defaults again) whatever follows, then the type library's and the classes'
// registration; S_OK, SELFREG_E_TYPELIB (the classes then stay) or SELFREG_E_CLASS.
plat::ole::HResult UnregisterServer();

// How a property page of the control is made (null for a class id that is not a page's).
plat::ole::ObjectCreator PropPageCreator(const plat::ole::Guid& clsid);

}  // namespace nelvar
