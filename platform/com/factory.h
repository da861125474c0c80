#pragma once
// Class factories: the object a module hands out for each class it serves, which creates the
// class's objects and holds the module's lock count.
#include "platform/com/object.h"

namespace plat::ole {

inline constexpr Guid IID_IClassFactory = guid("{00000001-0000-0000-C000-000000000046}");

class IClassFactory : public IUnknown {
 public:
  virtual HResult CreateInstance(IUnknown* outer, const Guid& iid, void** object) = 0;
  // A nonzero lock keeps the module loaded (its lock count) until the matching unlock.
  virtual HResult LockServer(std::int32_t lock) = 0;

 protected:
  ~IClassFactory() = default;
};

// Makes a new object with its creation reference; may throw std::bad_alloc.
using ObjectCreator = ComObject* (*)();
template <class T>
ComObject* createObject() {
  return new T;
}

// The factory of one class, made for a module: it counts in that module's counts, makes its
// objects inside that module's scope (so they count there too) and locks that module.
// CreateInstance refuses an outer object (CLASS_E_NOAGGREGATION), creates the object, asks it
// for iid (a refused interface destroys it again) and hands it out with the one reference the
// caller then owns.
class ClassFactory final : public ComObject {
 public:
  ClassFactory(ObjectCreator create, ModuleCounts& module) : xClassFactory_(*this), create_(create), module_(module) {}

  // A new factory for the calling module, asked for iid.
  static HResult create(ObjectCreator create, const Guid& iid, void** factory) {
    return createFor(thisModuleCounts(), create, iid, factory);
  }
  static HResult createFor(ModuleCounts& module, ObjectCreator create, const Guid& iid, void** factory);

 protected:
  const InterfaceMap& GetInterfaceMap() const override { return kMap; }

 private:
  struct XClassFactory : Nested<IClassFactory> {
    using Nested::Nested;
    HResult CreateInstance(IUnknown* outer, const Guid& iid, void** object) override;
    HResult LockServer(std::int32_t lock) override;
  } xClassFactory_;
  ObjectCreator create_;
  ModuleCounts& module_;

  static const InterfaceEntry kEntries[];
  static const InterfaceMap kMap;
};

}  // namespace plat::ole
