#include "platform/com/server.h"

#include "platform/base/module.h"
#include "platform/base/text.h"
#include "platform/com/regkeys.h"

namespace plat::ole {

String8 thisModulePath() { return moduleFileName(reinterpret_cast<const void*>(&thisModulePath)); }

HResult serverGetClassObject(const ServerModule& module, const Guid& clsid, const Guid& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  for (const ClassEntry& entry : module.classes)
    if (*entry.clsid == clsid) return ClassFactory::create(entry.create, iid, object);
  return CLASS_E_CLASSNOTAVAILABLE;
}

HResult serverCanUnloadNow() { return moduleCanUnloadNow(); }

HResult serverRegister(const ServerModule& module) {
  const String8 path = thisModulePath();
  if (path.empty()) return SELFREG_E_CLASS;
  for (const TypeLibDesc* lib : module.typeLibraries)
    if (failed(registerTypeLib(*lib, path))) return SELFREG_E_TYPELIB;
  for (const ClassEntry& entry : module.classes)
    if (failed(registerClass(entry, path))) return SELFREG_E_CLASS;
  return S_OK;
}

HResult serverUnregister(const ServerModule& module) {
  for (const TypeLibDesc* lib : module.typeLibraries)
    if (failed(unregisterTypeLib(*lib))) return SELFREG_E_TYPELIB;
  for (const ClassEntry& entry : module.classes)
    if (failed(unregisterClass(entry))) return SELFREG_E_CLASS;
  return S_OK;
}

HResult serverGetTypeLib(const ServerModule& module, const Guid& libid, ITypeLib** lib) {
  if (!lib) return E_POINTER;
  *lib = nullptr;
  for (const TypeLibDesc* desc : module.typeLibraries)
    if (*desc->libid == libid) return createTypeLib(*desc, lib);
  return TYPE_E_ELEMENTNOTFOUND;
}

int serverStart(const ServerModule& module) { return module.start ? module.start() : 1; }

void serverStop(const ServerModule& module) {
  if (module.stop) module.stop();
}

HResult registerClass(const ClassEntry& entry, const String8& modulePath) {
  if (!entry.clsid || modulePath.empty()) return E_INVALIDARG;
  const String16 key = u"CLSID\\" + guidToString(*entry.clsid);
  const String16 typeName = toUtf16(entry.typeName ? entry.typeName : "");
  const String16 path = toUtf16(modulePath);
  const bool insertable = entry.registration & kRegInsertable;
  const reg::Key root = reg::kClassesRoot;
  bool ok = regkeys::writeKey(root, key, &typeName) == reg::Status::Success &&
            regkeys::writeKey(root, key + u"\\InprocServer32", &path) == reg::Status::Success;
  if (ok && (entry.registration & kRegApartmentThreading)) {
    reg::Key server = reg::kNoKey;
    ok = reg::openKey(root, key + u"\\InprocServer32", reg::kSetValue, &server) == reg::Status::Success &&
         regkeys::writeString(server, u"ThreadingModel", u"Apartment") == reg::Status::Success;
    if (server != reg::kNoKey) reg::closeKey(server);
  }
  if (ok && entry.progId) {
    const String16 progId = toUtf16(entry.progId);
    const String16 clsidText = guidToString(*entry.clsid);
    ok = regkeys::writeKey(root, key + u"\\ProgID", &progId) == reg::Status::Success &&
         regkeys::writeKey(root, progId, &typeName) == reg::Status::Success &&
         regkeys::writeKey(root, progId + u"\\CLSID", &clsidText) == reg::Status::Success &&
         (!insertable || regkeys::writeKey(root, progId + u"\\Insertable") == reg::Status::Success);
  }
  if (ok && insertable) ok = regkeys::writeKey(root, key + u"\\Insertable") == reg::Status::Success;
  if (ok && entry.kind == ClassKind::Control) {
    const String16 zero = u"0";
    const String16 status = toUtf16(std::to_string(entry.miscStatus));
    ok = regkeys::writeKey(root, key + u"\\Control") == reg::Status::Success &&
         regkeys::writeKey(root, key + u"\\MiscStatus", &zero) == reg::Status::Success &&
         regkeys::writeKey(root, key + u"\\MiscStatus\\1", &status) == reg::Status::Success;
    if (ok && entry.toolboxBitmap) {
      const String16 bitmap = path + u", " + toUtf16(std::to_string(entry.toolboxBitmap));
      ok = regkeys::writeKey(root, key + u"\\ToolboxBitmap32", &bitmap) == reg::Status::Success;
    }
    for (std::size_t n = 0; ok && n < entry.verbs.size(); ++n) {
      const VerbEntry& verb = entry.verbs[n];
      const String16 text = toUtf16(std::string(verb.name ? verb.name : "") + "," + std::to_string(verb.menuFlags) +
                                    "," + std::to_string(verb.attributes));
      ok = regkeys::writeKey(root, key + u"\\Verb\\" + toUtf16(std::to_string(n)), &text) == reg::Status::Success;
    }
    if (ok && entry.typeLibrary) {
      const TypeLibDesc& lib = *entry.typeLibrary;
      const String16 libid = guidToString(*lib.libid);
      const String16 version = toUtf16(std::to_string(lib.major) + "." + std::to_string(lib.minor));
      ok = regkeys::writeKey(root, key + u"\\TypeLib", &libid) == reg::Status::Success &&
           regkeys::writeKey(root, key + u"\\Version", &version) == reg::Status::Success;
    }
  }
  return ok ? S_OK : REGDB_E_WRITEREGDB;
}

HResult unregisterClass(const ClassEntry& entry) {
  if (!entry.clsid) return E_INVALIDARG;
  bool ok = regkeys::deleteTree(reg::kClassesRoot, u"CLSID\\" + guidToString(*entry.clsid)) == reg::Status::Success;
  if (ok && entry.progId) ok = regkeys::deleteTree(reg::kClassesRoot, toUtf16(entry.progId)) == reg::Status::Success;
  return ok ? S_OK : REGDB_E_WRITEREGDB;
}

}  // namespace plat::ole
