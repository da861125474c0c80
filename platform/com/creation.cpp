#include "platform/com/creation.h"

#include <mutex>
#include <vector>

#include "platform/base/text.h"
#include "platform/com/library.h"
#include "platform/com/regkeys.h"

namespace plat::ole {

namespace {

struct RegisteredClass {
  Guid clsid;
  IUnknown* factory = nullptr;
  DWord cookie = 0;
};

struct ClassTable {
  std::mutex mutex;
  std::vector<RegisteredClass> classes;
  DWord nextCookie = 1;
};

ClassTable& classTable() {
  static ClassTable t;
  return t;
}

// The in-process class's factory with one reference added, or null.
IUnknown* registeredFactory(const Guid& clsid) {
  ClassTable& t = classTable();
  std::lock_guard lock(t.mutex);
  for (const RegisteredClass& c : t.classes)
    if (c.clsid == clsid) {
      c.factory->AddRef();
      return c.factory;
    }
  return nullptr;
}

HResult getRegisteredServerObject(const Guid& clsid, const Guid& iid, void** object) {
  String16 server;
  if (!regkeys::readString(reg::kClassesRoot, u"CLSID\\" + guidToString(clsid) + u"\\InprocServer32", u"", &server) ||
      trim(std::u16string_view(server)).empty())
    return REGDB_E_CLASSNOTREG;
  void* module = nullptr;
  const HResult hr = loadModule(toUtf8(trim(std::u16string_view(server))), true, &module);
  if (failed(hr)) return hr;
  using GetClassObjectFn = HResult (*)(const Guid&, const Guid&, void**);
  auto* get = reinterpret_cast<GetClassObjectFn>(moduleSymbol(module, "DllGetClassObject"));
  if (!get) return CO_E_ERRORINDLL;
  return get(clsid, iid, object);
}

}  // namespace

HResult getClassObject(const Guid& clsid, DWord context, const Guid& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!(context & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
  if (IUnknown* factory = registeredFactory(clsid)) {
    const HResult hr = factory->QueryInterface(iid, object);
    factory->Release();
    return hr;
  }
  return getRegisteredServerObject(clsid, iid, object);
}

HResult createInstance(const Guid& clsid, IUnknown* outer, DWord context, const Guid& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  IClassFactory* factory = nullptr;
  HResult hr = getClassObject(clsid, context, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (failed(hr)) return hr;
  hr = factory->CreateInstance(outer, iid, object);
  factory->Release();
  return hr;
}

HResult registerClassObject(const Guid& clsid, IUnknown* factory, DWord* cookie) {
  if (!factory || !cookie) return E_INVALIDARG;
  ClassTable& t = classTable();
  std::lock_guard lock(t.mutex);
  factory->AddRef();
  *cookie = t.nextCookie++;
  t.classes.push_back({clsid, factory, *cookie});
  return S_OK;
}

HResult revokeClassObject(DWord cookie) {
  IUnknown* factory = nullptr;
  {
    ClassTable& t = classTable();
    std::lock_guard lock(t.mutex);
    for (auto it = t.classes.begin(); it != t.classes.end(); ++it)
      if (it->cookie == cookie) {
        factory = it->factory;
        t.classes.erase(it);
        break;
      }
  }
  if (!factory) return E_INVALIDARG;
  factory->Release();  // outside the lock: the factory's end may reach the table again
  return S_OK;
}

HResult clsidFromProgId(std::u16string_view progId, Guid* clsid) {
  if (!clsid) return E_INVALIDARG;
  *clsid = IID_NULL;
  String16 text;
  if (progId.empty() || progId.find(u'\\') != std::u16string_view::npos ||
      !regkeys::readString(reg::kClassesRoot, String16(progId) + u"\\CLSID", u"", &text) ||
      !guidFromString(std::u16string_view(text), clsid))
    return CO_E_CLASSSTRING;
  return S_OK;
}

HResult progIdFromClsid(const Guid& clsid, String16* progId) {
  if (!progId) return E_INVALIDARG;
  progId->clear();
  if (!regkeys::readString(reg::kClassesRoot, u"CLSID\\" + guidToString(clsid) + u"\\ProgID", u"", progId) ||
      progId->empty())
    return REGDB_E_CLASSNOTREG;
  return S_OK;
}

}  // namespace plat::ole
