#pragma once
// ComObject: the reference-counted object behind COM interfaces, with an interface map.
//
// An object is a C++ object that owns one nested implementation per interface it offers
// (members of a class derived from Nested<Interface>, named X<Interface> by convention). The
// nested implementations hand QueryInterface, AddRef and Release to the object, so every
// interface of an object shares one reference count and one identity: QueryInterface for
// IID_IUnknown, from any interface, gives the same pointer.
//
// The interface map is a static table per class, chained to the base class's table:
//
//   class Sample : public ComObject {
//     ...
//     struct XSample : Nested<ISample> { using Nested::Nested; ... } xSample_{*this};
//     static const InterfaceEntry kInterfaces[];
//     static const InterfaceMap kInterfaceMap;
//     const InterfaceMap& GetInterfaceMap() const override { return kInterfaceMap; }
//   };
//   const ComObject::InterfaceEntry Sample::kInterfaces[] = {
//       interfaceEntry<ISample, &Sample::xSample_>(IID_ISample)};
//   const ComObject::InterfaceMap Sample::kInterfaceMap{&ComObject::kInterfaceMap, kInterfaces};
//
// Lifetime: an object starts with one reference, its creator's. A creator that hands the object
// out through an interface takes a reference for it and drops its own; the last Release then
// calls OnFinalRelease, which deletes the object. An object that is a member or a local of
// something else simply keeps its first reference and is destroyed by its owner.
//
// Every live object counts in the object count of the module it was made for; DllCanUnloadNow
// answers S_OK only while that count and the module's lock count are both zero. Each module (and
// the program) has counts of its own, in the static part of this library that it links. An object
// joins the counts of the module whose scope is open on its thread when it is made: a class
// factory opens its module's scope while it makes an object, so the object and everything made
// while it is being constructed count there. Objects made outside any module's scope count in the
// program's counts.
//
// Aggregation is not offered: nothing on this platform creates objects inside an outer one.
#include <atomic>
#include <cstdint>
#include <span>

#include "platform/com/guid.h"
#include "platform/com/hresult.h"

namespace plat::ole {

class ComObject;

// The counts of one module: its live objects and its server locks (IClassFactory::LockServer).
struct ModuleCounts {
  std::atomic<std::uint32_t> objects{0};
  std::atomic<std::uint32_t> locks{0};

  void lock() { ++locks; }
  // An unbalanced unlock never wraps the count around.
  void unlock() {
    std::uint32_t n = locks;
    while (n > 0 && !locks.compare_exchange_weak(n, n - 1)) {
    }
  }
  bool idle() const { return objects == 0 && locks == 0; }
};

// The counts new objects join on this thread: the innermost open scope's, else the program's.
ModuleCounts& currentModuleCounts();
ModuleCounts& programModuleCounts();
class ModuleCountsScope {
 public:
  explicit ModuleCountsScope(ModuleCounts& counts);
  ~ModuleCountsScope();
  ModuleCountsScope(const ModuleCountsScope&) = delete;
  ModuleCountsScope& operator=(const ModuleCountsScope&) = delete;

 private:
  ModuleCounts* previous_;
};

// This module's own counts (the caller's module: every module has its own copy).
[[gnu::visibility("hidden")]] ModuleCounts& thisModuleCounts();

// The implementation of one interface inside a ComObject; its IUnknown methods are the
// object's.
template <class Interface>
class Nested : public Interface {
 public:
  explicit Nested(ComObject& outer) : outer_(outer) {}
  Nested(const Nested&) = delete;
  Nested& operator=(const Nested&) = delete;

  HResult QueryInterface(const Guid& iid, void** object) override;
  std::uint32_t AddRef() override;
  std::uint32_t Release() override;

 protected:
  // The owning object, as the class that owns this implementation.
  template <class Owner>
  Owner& outer() const {
    return static_cast<Owner&>(outer_);
  }
  ComObject& outerObject() const { return outer_; }

 private:
  ComObject& outer_;
};

class ComObject {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  // The object's own reference counting and interface lookup; every nested interface forwards
  // here. QueryInterface writes null and answers E_NOINTERFACE for an interface the object
  // does not offer, E_POINTER for a null out pointer.
  HResult QueryInterface(const Guid& iid, void** object);
  std::uint32_t AddRef();
  std::uint32_t Release();

  // The identity interface (what QueryInterface gives for IID_IUnknown); no reference added.
  IUnknown* GetUnknown() { return &identity_; }
  // The counts this object is part of.
  ModuleCounts& Counts() const { return *counts_; }

  // One row of an interface map: the interface id and how to reach its implementation (null
  // when this object does not offer it at the moment).
  struct InterfaceEntry {
    const Guid* iid;
    void* (*get)(ComObject& object);
  };
  struct InterfaceMap {
    const InterfaceMap* base;
    std::span<const InterfaceEntry> entries;
  };

 protected:
  ComObject();
  virtual ~ComObject();

  // Called when the last reference goes; deletes the object.
  virtual void OnFinalRelease();

  // This class's map; the base's answers IID_IUnknown only.
  virtual const InterfaceMap& GetInterfaceMap() const { return kInterfaceMap; }
  // The interface pointer for iid, no reference added; null when not offered. Walks the map
  // chain; classes with interfaces that depend on their state may extend it.
  virtual void* GetInterface(const Guid& iid);

  static const InterfaceMap kInterfaceMap;

 private:
  Nested<IUnknown> identity_;
  std::atomic<std::uint32_t> refs_{1};
  ModuleCounts* counts_;
};

// The owner class of a data member pointer, cast from the object.
template <class Owner, class M>
Owner& memberOwner(M Owner::*, ComObject& object) {
  return static_cast<Owner&>(object);
}

// The map entry for an interface implemented by a nested member of Owner.
template <class Interface, auto Member>
constexpr ComObject::InterfaceEntry interfaceEntry(const Guid& iid) {
  return {&iid, [](ComObject& object) -> void* {
            return static_cast<Interface*>(&(memberOwner(Member, object).*Member));
          }};
}

// This module's counts (the caller's module).
[[gnu::visibility("hidden")]] std::uint32_t moduleObjectCount();
[[gnu::visibility("hidden")]] std::uint32_t moduleLockCount();
[[gnu::visibility("hidden")]] void lockModule();
[[gnu::visibility("hidden")]] void unlockModule();
// S_OK when no object is alive and no lock is held in this module, else S_FALSE.
[[gnu::visibility("hidden")]] HResult moduleCanUnloadNow();

// ---- Nested, defined now that ComObject is complete --------------------------------------------
template <class Interface>
HResult Nested<Interface>::QueryInterface(const Guid& iid, void** object) {
  return outer_.QueryInterface(iid, object);
}
template <class Interface>
std::uint32_t Nested<Interface>::AddRef() {
  return outer_.AddRef();
}
template <class Interface>
std::uint32_t Nested<Interface>::Release() {
  return outer_.Release();
}

// The object behind from asked for iid, as I (one reference for the caller); null when it has
// none or from is null.
template <class I>
I* queryInterface(IUnknown* from, const Guid& iid) {
  void* out = nullptr;
  if (!from || from->QueryInterface(iid, &out) < 0) return nullptr;
  return static_cast<I*>(out);
}

// Releases a non-null interface pointer and sets it to null; gives the release result, 0 for
// a null pointer.
template <class Interface>
std::uint32_t releaseInterface(Interface*& pointer) {
  if (!pointer) return 0;
  const std::uint32_t left = pointer->Release();
  pointer = nullptr;
  return left;
}

}  // namespace plat::ole
