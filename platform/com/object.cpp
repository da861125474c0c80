#include "platform/com/object.h"

namespace plat::ole {

namespace {

thread_local ModuleCounts* tCurrentCounts = nullptr;

}  // namespace

ModuleCounts& programModuleCounts() {
  static ModuleCounts counts;
  return counts;
}

ModuleCounts& currentModuleCounts() { return tCurrentCounts ? *tCurrentCounts : programModuleCounts(); }

ModuleCountsScope::ModuleCountsScope(ModuleCounts& counts) : previous_(tCurrentCounts) { tCurrentCounts = &counts; }

ModuleCountsScope::~ModuleCountsScope() { tCurrentCounts = previous_; }

const ComObject::InterfaceMap ComObject::kInterfaceMap{nullptr, {}};

ComObject::ComObject() : identity_(*this), counts_(&currentModuleCounts()) { ++counts_->objects; }

ComObject::~ComObject() { --counts_->objects; }

void ComObject::OnFinalRelease() { delete this; }

std::uint32_t ComObject::AddRef() { return ++refs_; }

std::uint32_t ComObject::Release() {
  const std::uint32_t left = --refs_;
  if (left == 0) OnFinalRelease();
  return left;
}

HResult ComObject::QueryInterface(const Guid& iid, void** object) {
  if (!object) return E_POINTER;
  void* found = iid == IID_IUnknown ? static_cast<IUnknown*>(&identity_) : GetInterface(iid);
  *object = found;
  if (!found) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

void* ComObject::GetInterface(const Guid& iid) {
  for (const InterfaceMap* map = &GetInterfaceMap(); map; map = map->base)
    for (const InterfaceEntry& entry : map->entries)
      if (*entry.iid == iid) return entry.get(*this);
  return nullptr;
}

}  // namespace plat::ole
