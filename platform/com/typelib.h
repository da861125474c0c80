#pragma once
// Type libraries, generated from the dispatch tables; their registration and loading by id and
// version.
//
// A module describes its library as data (TypeLibDesc): aliases, dispatch and event interfaces
// (their DispInterfaceDesc tables) and coclasses. createTypeLib builds the ITypeLib and its
// ITypeInfo objects from that: a property of the table is a variable (VAR_DISPATCH), a method
// or event a function (FUNC_DISPATCH, INVOKE_FUNC), each with its dispatch id, names, types and
// flags (hidden members FHIDDEN, properties without put FREADONLY). OLE_COLOR and IFontDisp
// members refer (VT_USERDEFINED, and VT_PTR to it for the font) to the standard OLE type
// library, which is built in: OLE_COLOR is an alias of VT_UI4 and IFontDisp the font's dispatch
// interface.
//
// Registration writes, below HKEY_CLASSES_ROOT:
//   TypeLib\{libid}\<major>.<minor>          (default) the help string, else the name
//   TypeLib\{libid}\<major>.<minor>\<lcid>\linux   (default) the module's path
//   TypeLib\{libid}\<major>.<minor>\FLAGS    (default) "0"
//   TypeLib\{libid}\<major>.<minor>\HELPDIR  (default) the module's directory
//   Interface\{iid}                           (default) the interface's name, for each interface
//   Interface\{iid}\TypeLib                   (default) {libid}, "Version" <major>.<minor>
// The version is written in hexadecimal digits and the locale as a hexadecimal number ("409"),
// as the published layout has them; "linux" stands where the original platform writes its own
// system name.
//
// Loading by id and version takes, among the registered versions with the asked major number,
// the one whose minor number equals the asked one, else the highest above it; none is
// TYPE_E_LIBNOTREGISTERED (so asking 0.184 never finds a library registered as 1.0). The
// locale key is the asked locale, else its primary language, else 0, else any registered one.
// The path names a module; the library comes from its exported KedrusGetTypeLib.
#include "platform/com/dispatch.h"
#include "platform/com/typeinfo.h"

namespace plat::ole {

struct AliasDesc {
  const char* name = nullptr;
  const Guid* guid = nullptr;
  const char* helpString = nullptr;
  VarType aliased = VT_EMPTY;
};

struct CoClassDesc {
  const char* name = nullptr;
  const Guid* clsid = nullptr;
  const char* helpString = nullptr;
  const DispInterfaceDesc* dispatch = nullptr;  // the default interface
  const DispInterfaceDesc* events = nullptr;    // the default source, if any
  Word typeFlags = TYPEFLAG_FCANCREATE;
};

struct TypeLibDesc {
  const char* name = nullptr;
  const Guid* libid = nullptr;
  const char* helpString = nullptr;
  Word major = 1;
  Word minor = 0;
  Lcid lcid = 0;
  std::span<const AliasDesc* const> aliases;
  std::span<const DispInterfaceDesc* const> interfaces;
  std::span<const CoClassDesc* const> coclasses;
};

inline constexpr Guid LIBID_StdOle = guid("{00020430-0000-0000-C000-000000000046}");
// The standard OLE type library (version 2.0): OLE_COLOR and IFontDisp.
const TypeLibDesc& standardTypeLibDesc();

// Builds the library (one reference for the caller).
HResult createTypeLib(const TypeLibDesc& desc, ITypeLib** lib);
// The type information of a dispatch interface that belongs to no library.
HResult createTypeInfo(const DispInterfaceDesc& desc, ITypeInfo** info);

HResult registerTypeLib(const TypeLibDesc& desc, const String8& modulePath);
// Removes the version's keys (and the library's key when no version is left) and the keys of
// the library's interfaces.
HResult unregisterTypeLib(const TypeLibDesc& desc);
HResult queryPathOfRegTypeLib(const Guid& libid, Word major, Word minor, Lcid lcid, String8* path);
HResult loadRegTypeLib(const Guid& libid, Word major, Word minor, Lcid lcid, ITypeLib** lib);
// The library libid of the module at path (loaded for it, without its start-up).
HResult loadTypeLibFromModule(const String8& path, const Guid& libid, ITypeLib** lib);

}  // namespace plat::ole
