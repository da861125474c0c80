#pragma once
// AutomationObject: a ComObject that is automated through a dispatch table, describes itself
// through type information, tells its class (class info) and fires events through connection
// points.
//
// It answers IDispatch, and the dispatch interface's own id, with Invoke and GetIDsOfNames
// from the table (dispatch.h). GetTypeInfo gives the dispatch interface's type information:
// from the registered type library (loaded by its id and version, typelib.h) when the object
// names one, else built from the table. An object made for a coclass also answers
// IProvideClassInfo and IProvideClassInfo2 (the coclass's type information, the event
// interface's id) and, when the coclass has an event interface, IConnectionPointContainer
// with one connection point for it; FireEvent calls the event on every connected sink.
#include <memory>
#include <vector>

#include "platform/com/connection.h"
#include "platform/com/dispatch.h"
#include "platform/com/typelib.h"

namespace plat::ole {

inline constexpr Guid IID_IProvideClassInfo = guid("{B196B283-BAB4-101A-B69C-00AA00341D07}");
inline constexpr Guid IID_IProvideClassInfo2 = guid("{A6BC3AC0-DBAA-11CE-9DE3-00AA004BB851}");
constexpr DWord GUIDKIND_DEFAULT_SOURCE_DISP_IID = 1;

class IProvideClassInfo : public IUnknown {
 public:
  virtual HResult GetClassInfo(ITypeInfo** info) = 0;

 protected:
  ~IProvideClassInfo() = default;
};

class IProvideClassInfo2 : public IProvideClassInfo {
 public:
  virtual HResult GetGUID(DWord kind, Guid* guid) = 0;

 protected:
  ~IProvideClassInfo2() = default;
};

class AutomationObject : public ComObject {
 public:
  // The object's IDispatch, with a reference added when asked.
  IDispatch* GetIDispatch(bool addRef);
  const DispInterfaceDesc& DispatchInterface() const { return dispatch_; }

 protected:
  explicit AutomationObject(const DispInterfaceDesc& dispatch, const TypeLibDesc* library = nullptr);
  AutomationObject(const CoClassDesc& coclass, const TypeLibDesc* library);
  ~AutomationObject() override;

  // Calls event id of the event interface on every connected sink, args in declared order.
  void FireEvent(DispId id, std::span<const Variant> args = {});
  // Offers one more connection point (a part of the derived object) through the container.
  void AddConnectionPoint(ConnectionPoint& point);

  // The dispatch interface's type information (see above).
  virtual HResult GetDispatchTypeInfo(Lcid lcid, ITypeInfo** info);

  void* GetInterface(const Guid& iid) override;

 private:
  // The registered library's type information of guid.
  HResult libraryTypeInfo(const Guid& guid, Lcid lcid, ITypeInfo** info);

  struct XDispatch : Nested<IDispatch> {
    using Nested::Nested;
    HResult GetTypeInfoCount(std::uint32_t* count) override;
    HResult GetTypeInfo(std::uint32_t index, Lcid lcid, ITypeInfo** info) override;
    HResult GetIDsOfNames(const Guid& iid, const char16_t* const* names, std::uint32_t count, Lcid lcid,
                          DispId* ids) override;
    HResult Invoke(DispId id, const Guid& iid, Lcid lcid, Word flags, DispParams* params, Variant* result,
                   ExcepInfo* excepInfo, std::uint32_t* argErr) override;
  } xDispatch_;
  struct XProvideClassInfo : Nested<IProvideClassInfo2> {
    using Nested::Nested;
    HResult GetClassInfo(ITypeInfo** info) override;
    HResult GetGUID(DWord kind, Guid* guid) override;
  } xProvideClassInfo_;
  struct XConnectionPointContainer : Nested<IConnectionPointContainer> {
    using Nested::Nested;
    HResult EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HResult FindConnectionPoint(const Guid& iid, IConnectionPoint** point) override;
  } xConnectionPointContainer_;

  const DispInterfaceDesc& dispatch_;
  const CoClassDesc* coclass_ = nullptr;
  const TypeLibDesc* library_ = nullptr;
  std::unique_ptr<ConnectionPoint> events_;
  std::vector<ConnectionPoint*> points_;
};

}  // namespace plat::ole
