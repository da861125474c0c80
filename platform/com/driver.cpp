#include "platform/com/driver.h"

#include <vector>

namespace plat::ole {

namespace {

String16 takeString(Bstr& text) {
  String16 out(stringView(text));
  freeString(text);
  text = nullptr;
  return out;
}

}  // namespace

DispatchDriver::~DispatchDriver() { detach(); }

void DispatchDriver::attach(IDispatch* dispatch, bool owned) {
  detach();
  dispatch_ = dispatch;
  owned_ = owned;
}

IDispatch* DispatchDriver::detach() {
  IDispatch* d = dispatch_;
  const bool owned = owned_;
  dispatch_ = nullptr;
  owned_ = false;
  if (d && owned) {
    d->Release();
    return nullptr;
  }
  return d;
}

HResult DispatchDriver::idOfName(std::u16string_view name, DispId* id) const {
  if (!dispatch_) return E_POINTER;
  const String16 text(name);
  const char16_t* names[] = {text.c_str()};
  return dispatch_->GetIDsOfNames(IID_NULL, names, 1, 0, id);
}

HResult DispatchDriver::invoke(DispId id, Word flags, std::span<const Variant> args, Variant* result) {
  if (result) variantClear(result);
  if (!dispatch_) return E_POINTER;
  // Invoke takes the arguments last first; the copies are shallow, the caller keeps ownership.
  std::vector<Variant> reversed(args.rbegin(), args.rend());
  DispId named = DISPID_PROPERTYPUT;
  DispParams params;
  params.rgvarg = reversed.empty() ? nullptr : reversed.data();
  params.cArgs = static_cast<std::uint32_t>(reversed.size());
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  ExcepInfo info;
  argErr_ = 0;
  exception_ = DispatchException{};
  const HResult hr = dispatch_->Invoke(id, IID_NULL, 0, flags, &params, result, &info, &argErr_);
  if (hr == DISP_E_EXCEPTION && info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
  DispatchException reported{info.scode, takeString(info.bstrDescription), takeString(info.bstrSource),
                             takeString(info.bstrHelpFile), info.dwHelpContext};
  if (hr == DISP_E_EXCEPTION) exception_ = std::move(reported);
  return hr;
}

HResult DispatchDriver::setProperty(DispId id, const Variant& value) {
  const bool reference = value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN;
  return invoke(id, reference ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT, {&value, 1}, nullptr);
}

}  // namespace plat::ole
