#pragma once
// Creating objects by class id, and finding class ids by ProgID.
//
// A class id is looked up first in this process's class table (classes registered directly,
// as tests do with fakes), then in HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32, whose
// default value names the module: it is loaded and started (library.h) and its
// DllGetClassObject asked for the factory. Only in-process servers exist here: a request
// whose context has no CLSCTX_INPROC_SERVER finds nothing.
//
// Results: REGDB_E_CLASSNOTREG for a class found nowhere, CO_E_DLLNOTFOUND for a module that
// cannot be loaded, CO_E_ERRORINDLL for one without DllGetClassObject, else the factory's.
#include "platform/com/factory.h"

namespace plat::ole {

constexpr DWord CLSCTX_INPROC_SERVER = 0x1;
constexpr DWord CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWord CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWord CLSCTX_REMOTE_SERVER = 0x10;
constexpr DWord CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr DWord CLSCTX_ALL = CLSCTX_SERVER | CLSCTX_INPROC_HANDLER;

HResult getClassObject(const Guid& clsid, DWord context, const Guid& iid, void** object);
HResult createInstance(const Guid& clsid, IUnknown* outer, DWord context, const Guid& iid, void** object);

// The in-process class table: factory (one reference kept) serves clsid before the registry
// does, until revoked. The cookie is never 0.
HResult registerClassObject(const Guid& clsid, IUnknown* factory, DWord* cookie);
HResult revokeClassObject(DWord cookie);

// HKEY_CLASSES_ROOT\<progId>\CLSID and HKEY_CLASSES_ROOT\CLSID\{clsid}\ProgID; a ProgID not
// registered (or naming no valid class id) is CO_E_CLASSSTRING, a class without one
// REGDB_E_CLASSNOTREG.
HResult clsidFromProgId(std::u16string_view progId, Guid* clsid);
HResult progIdFromClsid(const Guid& clsid, String16* progId);

}  // namespace plat::ole
