#pragma once
// An in-process server module: its class table and its exported entry points.
//
// A module lists its classes and type libraries as data and exports the entry points with one
// macro:
//
//   const ClassEntry kClasses[] = {
//       {&CLSID_Sample, &createObject<Sample>, "Sample.Object.1", "Sample Object", ClassKind::Control,
//        kRegInsertable | kRegApartmentThreading, 0x20191, &kSampleLib, 1},
//   };
//   const TypeLibDesc* const kLibraries[] = {&kSampleLib};
//   const ServerModule kModule{kClasses, kLibraries, &startModule, &stopModule};
//   KEDRUS_COM_SERVER(kModule)
//
// which defines DllGetClassObject, DllCanUnloadNow, DllRegisterServer, DllUnregisterServer,
// KedrusModuleStart, KedrusModuleStop and KedrusGetTypeLib. A module whose registration does
// more (a settings value removed first, say) uses KEDRUS_COM_SERVER_ENTRY_POINTS and writes
// its own two registration exports around serverRegister and serverUnregister. Link the module
// with kedrus_com_server(target) (CMake), which exports those names and nothing else.
//
// Registration writes, below HKEY_CLASSES_ROOT, as the class library does:
//   CLSID\{clsid}                    (default) type name
//   CLSID\{clsid}\InprocServer32     (default) the module's path; "ThreadingModel" "Apartment"
//                                    when registered apartment-threaded
//   CLSID\{clsid}\ProgID             (default) ProgID, when the class has one
//   <ProgID>                         (default) type name;  <ProgID>\CLSID (default) {clsid}
//   CLSID\{clsid}\Insertable, <ProgID>\Insertable   when insertable
//   and for a control:
//   CLSID\{clsid}\Control
//   CLSID\{clsid}\ToolboxBitmap32    (default) "<path>, <bitmap id>", when it has a bitmap
//   CLSID\{clsid}\MiscStatus         (default) "0";  MiscStatus\1 (default) the status in decimal
//   CLSID\{clsid}\TypeLib            (default) {libid}
//   CLSID\{clsid}\Version            (default) "<major>.<minor>" of the type library, in decimal
//   CLSID\{clsid}\Verb\<n>            (default) "<name>,<menu flags>,<attributes>", for the n-th
//                                    verb of the class's list (n from 0, 0 the primary verb)
// Unregistration removes the class's CLSID key and its ProgID key with all they hold.
#include <span>

#include "platform/com/factory.h"
#include "platform/com/typelib.h"

namespace plat::ole {

enum class ClassKind : std::uint8_t { Object, Control, PropertyPage };

// One verb a control offers, numbered by its place in the control's list (0 is the primary
// verb): its menu text and what it does. Menu flags and attributes as OLE keeps them (0 and
// "on the container's menu", 2).
enum class VerbAction : std::uint8_t { Edit, Properties };
struct VerbEntry {
  const char* name = nullptr;
  VerbAction action = VerbAction::Edit;
  DWord menuFlags = 0;
  DWord attributes = 2;
};

// Registration flags, the class library's values.
constexpr unsigned kRegInsertable = 0x1;
constexpr unsigned kRegApartmentThreading = 0x2;

struct ClassEntry {
  const Guid* clsid = nullptr;
  ObjectCreator create = nullptr;
  const char* progId = nullptr;   // may be null
  const char* typeName = nullptr;
  ClassKind kind = ClassKind::Object;
  unsigned registration = kRegApartmentThreading;
  DWord miscStatus = 0;                        // controls
  const TypeLibDesc* typeLibrary = nullptr;    // controls
  int toolboxBitmap = 0;                       // controls; 0 for none
  std::span<const VerbEntry> verbs = {};       // controls; registered as their Verb keys
};

struct ServerModule {
  std::span<const ClassEntry> classes;
  std::span<const TypeLibDesc* const> typeLibraries;
  int (*start)() = nullptr;  // module start-up; 0 is failure
  void (*stop)() = nullptr;  // module shutdown
};

// What the exports do.
HResult serverGetClassObject(const ServerModule& module, const Guid& clsid, const Guid& iid, void** object);
HResult serverCanUnloadNow();
// 1. every type library (SELFREG_E_TYPELIB on failure), 2. every class (SELFREG_E_CLASS).
HResult serverRegister(const ServerModule& module);
// 1. every type library's registration removed (SELFREG_E_TYPELIB; the classes then stay),
// 2. every class's (SELFREG_E_CLASS).
HResult serverUnregister(const ServerModule& module);
HResult serverGetTypeLib(const ServerModule& module, const Guid& libid, ITypeLib** lib);
int serverStart(const ServerModule& module);
void serverStop(const ServerModule& module);

// One class's keys, written with modulePath as its server, and removed.
HResult registerClass(const ClassEntry& entry, const String8& modulePath);
HResult unregisterClass(const ClassEntry& entry);

// The file of the module that holds this code (each module has its own copy of it).
String8 thisModulePath();

}  // namespace plat::ole

#define KEDRUS_EXPORT extern "C" __attribute__((visibility("default")))

#define KEDRUS_COM_SERVER_ENTRY_POINTS(module)                                                          \
  KEDRUS_EXPORT ::plat::ole::HResult DllGetClassObject(const ::plat::ole::Guid& clsid,                  \
                                                       const ::plat::ole::Guid& iid, void** object) {   \
    return ::plat::ole::serverGetClassObject(module, clsid, iid, object);                              \
  }                                                                                                     \
  KEDRUS_EXPORT ::plat::ole::HResult DllCanUnloadNow() { return ::plat::ole::serverCanUnloadNow(); }   \
  KEDRUS_EXPORT int KedrusModuleStart() { return ::plat::ole::serverStart(module); }                   \
  KEDRUS_EXPORT void KedrusModuleStop() { ::plat::ole::serverStop(module); }                           \
  KEDRUS_EXPORT ::plat::ole::HResult KedrusGetTypeLib(const ::plat::ole::Guid& libid,                   \
                                                      ::plat::ole::ITypeLib** lib) {                    \
    return ::plat::ole::serverGetTypeLib(module, libid, lib);                                          \
  }

#define KEDRUS_COM_SERVER_REGISTRATION(module)                                                          \
  KEDRUS_EXPORT ::plat::ole::HResult DllRegisterServer() { return ::plat::ole::serverRegister(module); } \
  KEDRUS_EXPORT ::plat::ole::HResult DllUnregisterServer() { return ::plat::ole::serverUnregister(module); }

#define KEDRUS_COM_SERVER(module)         \
  KEDRUS_COM_SERVER_ENTRY_POINTS(module) \
  KEDRUS_COM_SERVER_REGISTRATION(module)
