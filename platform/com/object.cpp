#include "platform/com/object.h"

namespace plat::ole {

namespace {

// This module's counts (every module linking the library has its own copy: hidden symbols).
std::atomic<std::uint32_t> gObjects{0};
std::atomic<std::uint32_t> gLocks{0};

}  // namespace

const ComObject::InterfaceMap ComObject::kInterfaceMap{nullptr, {}};

ComObject::ComObject() : identity_(*this) { ++gObjects; }

ComObject::~ComObject() { --gObjects; }

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

std::uint32_t moduleObjectCount() { return gObjects; }
std::uint32_t moduleLockCount() { return gLocks; }
void lockModule() { ++gLocks; }
void unlockModule() {
  // An unbalanced unlock never wraps the count around.
  std::uint32_t n = gLocks;
  while (n > 0 && !gLocks.compare_exchange_weak(n, n - 1)) {
  }
}
HResult moduleCanUnloadNow() { return gObjects == 0 && gLocks == 0 ? S_OK : S_FALSE; }

}  // namespace plat::ole
