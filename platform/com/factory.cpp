#include "platform/com/factory.h"

#include <new>

namespace plat::ole {

const ComObject::InterfaceEntry ClassFactory::kEntries[] = {
    interfaceEntry<IClassFactory, &ClassFactory::xClassFactory_>(IID_IClassFactory)};
const ComObject::InterfaceMap ClassFactory::kMap{&ComObject::kInterfaceMap, kEntries};

HResult ClassFactory::createFor(ModuleCounts& module, ObjectCreator create, const Guid& iid, void** factory) {
  if (!factory) return E_POINTER;
  *factory = nullptr;
  if (!create) return E_INVALIDARG;
  ModuleCountsScope scope(module);
  auto* f = new (std::nothrow) ClassFactory(create, module);
  if (!f) return E_OUTOFMEMORY;
  const HResult hr = f->QueryInterface(iid, factory);
  f->Release();
  return hr;
}

HResult ClassFactory::XClassFactory::CreateInstance(IUnknown* aggregator, const Guid& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (aggregator) return CLASS_E_NOAGGREGATION;
  ComObject* created = nullptr;
  ModuleCountsScope scope(outer<ClassFactory>().module_);
  try {
    created = outer<ClassFactory>().create_();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  if (!created) return E_OUTOFMEMORY;
  const HResult hr = created->QueryInterface(iid, object);
  created->Release();
  return hr;
}

HResult ClassFactory::XClassFactory::LockServer(std::int32_t lock) {
  ModuleCounts& module = outer<ClassFactory>().module_;
  if (lock) module.lock();
  else module.unlock();
  return S_OK;
}

}  // namespace plat::ole
