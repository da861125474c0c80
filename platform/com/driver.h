#pragma once
// DispatchDriver: calling an IDispatch from C++ by dispatch id, arguments in declared order.
// Attached without ownership by default (the caller keeps its reference); after a call that
// raised an exception, exception() holds what the object reported.
#include <span>

#include "platform/com/dispatch.h"

namespace plat::ole {

class DispatchDriver {
 public:
  DispatchDriver() = default;
  explicit DispatchDriver(IDispatch* dispatch, bool owned = false) { attach(dispatch, owned); }
  ~DispatchDriver();
  DispatchDriver(const DispatchDriver&) = delete;
  DispatchDriver& operator=(const DispatchDriver&) = delete;

  void attach(IDispatch* dispatch, bool owned = false);
  // Lets go of the interface: released when owned (giving null), else handed back.
  IDispatch* detach();
  IDispatch* get() const { return dispatch_; }

  HResult idOfName(std::u16string_view name, DispId* id) const;
  // result may be null; it is cleared before the call.
  HResult invoke(DispId id, Word flags, std::span<const Variant> args, Variant* result);
  HResult getProperty(DispId id, Variant* value) { return invoke(id, DISPATCH_PROPERTYGET, {}, value); }
  HResult setProperty(DispId id, const Variant& value);

  const DispatchException& exception() const { return exception_; }
  std::uint32_t argumentError() const { return argErr_; }

 private:
  IDispatch* dispatch_ = nullptr;
  bool owned_ = false;
  DispatchException exception_;
  std::uint32_t argErr_ = 0;
};

}  // namespace plat::ole
