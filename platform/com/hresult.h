#pragma once
// Result codes of the component layer, under their published names and numbers (diagnostics
// and stored error texts read the same as on the original platform). A negative code is a
// failure; S_FALSE is a success that says "no" or "not all".
#include "platform/oleauto/oleauto.h"

namespace plat::ole {

constexpr HResult S_OK = 0;
constexpr HResult S_FALSE = 1;

constexpr HResult E_NOTIMPL = static_cast<HResult>(0x80004001u);
constexpr HResult E_NOINTERFACE = static_cast<HResult>(0x80004002u);
constexpr HResult E_POINTER = static_cast<HResult>(0x80004003u);
constexpr HResult E_ABORT = static_cast<HResult>(0x80004004u);
constexpr HResult E_FAIL = static_cast<HResult>(0x80004005u);
constexpr HResult E_UNEXPECTED = static_cast<HResult>(0x8000FFFFu);
constexpr HResult E_ACCESSDENIED = static_cast<HResult>(0x80070005u);
constexpr HResult E_OUTOFMEMORY = static_cast<HResult>(0x8007000Eu);
constexpr HResult E_INVALIDARG = static_cast<HResult>(0x80070057u);

// Automation (Invoke and its helpers).
constexpr HResult DISP_E_UNKNOWNINTERFACE = static_cast<HResult>(0x80020001u);
constexpr HResult DISP_E_MEMBERNOTFOUND = static_cast<HResult>(0x80020003u);
constexpr HResult DISP_E_PARAMNOTFOUND = static_cast<HResult>(0x80020004u);
constexpr HResult DISP_E_TYPEMISMATCH = static_cast<HResult>(0x80020005u);
constexpr HResult DISP_E_UNKNOWNNAME = static_cast<HResult>(0x80020006u);
constexpr HResult DISP_E_NONAMEDARGS = static_cast<HResult>(0x80020007u);
constexpr HResult DISP_E_BADVARTYPE = static_cast<HResult>(0x80020008u);
constexpr HResult DISP_E_EXCEPTION = static_cast<HResult>(0x80020009u);
constexpr HResult DISP_E_OVERFLOW = static_cast<HResult>(0x8002000Au);
constexpr HResult DISP_E_BADINDEX = static_cast<HResult>(0x8002000Bu);
constexpr HResult DISP_E_BADPARAMCOUNT = static_cast<HResult>(0x8002000Eu);
constexpr HResult DISP_E_PARAMNOTOPTIONAL = static_cast<HResult>(0x8002000Fu);

// Type libraries.
constexpr HResult TYPE_E_REGISTRYACCESS = static_cast<HResult>(0x8002801Cu);
constexpr HResult TYPE_E_LIBNOTREGISTERED = static_cast<HResult>(0x8002801Du);
constexpr HResult TYPE_E_ELEMENTNOTFOUND = static_cast<HResult>(0x8002802Bu);
constexpr HResult TYPE_E_CANTLOADLIBRARY = static_cast<HResult>(0x80029C4Au);

// Classes, their registration and creation.
constexpr HResult CLASS_E_NOAGGREGATION = static_cast<HResult>(0x80040110u);
constexpr HResult CLASS_E_CLASSNOTAVAILABLE = static_cast<HResult>(0x80040111u);
constexpr HResult REGDB_E_READREGDB = static_cast<HResult>(0x80040150u);
constexpr HResult REGDB_E_WRITEREGDB = static_cast<HResult>(0x80040151u);
constexpr HResult REGDB_E_CLASSNOTREG = static_cast<HResult>(0x80040154u);
constexpr HResult CO_E_CLASSSTRING = static_cast<HResult>(0x800401F3u);
constexpr HResult CO_E_DLLNOTFOUND = static_cast<HResult>(0x800401F8u);
constexpr HResult CO_E_ERRORINDLL = static_cast<HResult>(0x800401F9u);

// Self-registration of a module (DllRegisterServer, DllUnregisterServer).
constexpr HResult SELFREG_E_TYPELIB = static_cast<HResult>(0x80040200u);
constexpr HResult SELFREG_E_CLASS = static_cast<HResult>(0x80040201u);

// Connection points (the same numbers as the self-registration codes, in another context).
constexpr HResult CONNECT_E_NOCONNECTION = static_cast<HResult>(0x80040200u);
constexpr HResult CONNECT_E_ADVISELIMIT = static_cast<HResult>(0x80040201u);
constexpr HResult CONNECT_E_CANNOTCONNECT = static_cast<HResult>(0x80040202u);

static_assert(E_FAIL == kFail && E_NOINTERFACE == kNoInterface && E_NOTIMPL == kNotImpl);

}  // namespace plat::ole
