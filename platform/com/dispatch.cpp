#include "platform/com/dispatch.h"

#include <cstring>
#include <new>
#include <vector>

#include "platform/base/text.h"

namespace plat::ole {

void throwDispatchException(HResult scode, std::u16string_view description, std::u16string_view source) {
  DispatchException e;
  e.scode = scode;
  e.description = String16(description);
  e.source = String16(source);
  throw e;
}

const DispEntry* findDispEntry(const DispInterfaceDesc& desc, DispId id) {
  for (const DispEntry& e : desc.members)
    if (e.id == id) return &e;
  if (id == DISPID_VALUE)
    for (const DispEntry& e : desc.members)
      if (e.flags & kDispDefault) return &e;
  return nullptr;
}

const DispEntry* findDispEntry(const DispInterfaceDesc& desc, std::u16string_view name) {
  for (const DispEntry& e : desc.members)
    if (e.name && equalsNoCase(toUtf16(e.name), name)) return &e;
  return nullptr;
}

HResult dispatchGetIDsOfNames(const DispInterfaceDesc& desc, const Guid& iid, const char16_t* const* names,
                              std::uint32_t count, DispId* ids) {
  if (!(iid == IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (count == 0) return S_OK;
  if (!names || !ids) return E_INVALIDARG;
  for (std::uint32_t i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  const DispEntry* entry = names[0] ? findDispEntry(desc, std::u16string_view(names[0])) : nullptr;
  if (!entry) return DISP_E_UNKNOWNNAME;
  ids[0] = entry->id;
  HResult hr = S_OK;
  // Further names are the member's parameters; their ids are their positions.
  for (std::uint32_t i = 1; i < count; ++i) {
    for (std::uint8_t p = 0; p < entry->paramCount && names[i]; ++p)
      if (equalsNoCase(toUtf16(entry->params[p].name ? entry->params[p].name : ""), std::u16string_view(names[i])))
        ids[i] = p;
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

namespace {

// The value a VT_BYREF argument refers to, as a plain (borrowed) variant.
HResult dereference(const Variant& argument, Variant* plain) {
  variantInit(plain);
  const VarType base = static_cast<VarType>(argument.vt & ~VT_BYREF);
  if (!argument.byref || (base & VT_ARRAY)) return DISP_E_TYPEMISMATCH;
  if (base == VT_VARIANT) {
    if (argument.variantRef->vt & VT_BYREF) return DISP_E_TYPEMISMATCH;
    *plain = *argument.variantRef;
    return S_OK;
  }
  const std::uint32_t size = elementSizeOf(base);
  if (size == 0 || size > sizeof plain->u64) return DISP_E_TYPEMISMATCH;
  plain->vt = base;
  std::memcpy(&plain->u64, argument.byref, size);
  return S_OK;
}

void fillException(const DispatchException& e, ExcepInfo* info) {
  if (!info) return;
  *info = ExcepInfo{};
  info->scode = e.scode ? e.scode : E_FAIL;
  if (!e.source.empty()) info->bstrSource = allocString(e.source);
  if (!e.description.empty()) info->bstrDescription = allocString(e.description);
  if (!e.helpFile.empty()) info->bstrHelpFile = allocString(e.helpFile);
  info->dwHelpContext = e.helpContext;
}

// Converted arguments, freed when the call is over.
class ArgumentList {
 public:
  explicit ArgumentList(std::size_t n) : values_(n) {
    for (Variant& v : values_) variantInit(&v);
  }
  ~ArgumentList() {
    for (Variant& v : values_) variantClear(&v);
  }
  ArgumentList(const ArgumentList&) = delete;
  ArgumentList& operator=(const ArgumentList&) = delete;
  Variant* data() { return values_.data(); }
  Variant& operator[](std::size_t i) { return values_[i]; }

 private:
  std::vector<Variant> values_;
};

HResult runHandler(const DispEntry& entry, ComObject& object, Word flags, const DispParams& params, Variant* result,
                   std::uint32_t* argErr) {
  // The caller's result, or a scratch value freed here when the caller wants none.
  Variant scratch;
  variantInit(&scratch);
  Variant* out = result ? result : &scratch;
  HResult hr = S_OK;
  auto convert = [&](ArgumentList& list, std::uint32_t slot, std::uint32_t rgIndex, DispType type) {
    const HResult c = coerceArgument(params.rgvarg[rgIndex], type, &list[slot]);
    if (failed(c) && argErr) *argErr = rgIndex;
    return c;
  };
  if (entry.isProperty()) {
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
      if (!entry.put) return DISP_E_MEMBERNOTFOUND;
      if (params.cArgs != 1) return DISP_E_BADPARAMCOUNT;
      if (params.cNamedArgs != 1 || params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) return DISP_E_PARAMNOTFOUND;
      ArgumentList value(1);
      if (failed(hr = convert(value, 0, 0, entry.type))) return hr;
      return entry.put(object, entry, value[0]);
    }
    if (!(flags & DISPATCH_PROPERTYGET) || !entry.get) return DISP_E_MEMBERNOTFOUND;
    if (params.cNamedArgs) return DISP_E_NONAMEDARGS;
    if (params.cArgs) return DISP_E_BADPARAMCOUNT;
    hr = entry.get(object, entry, out);
  } else {
    if (!(flags & DISPATCH_METHOD) || !entry.call) return DISP_E_MEMBERNOTFOUND;
    if (params.cNamedArgs) return DISP_E_NONAMEDARGS;
    if (params.cArgs != entry.paramCount) return DISP_E_BADPARAMCOUNT;
    ArgumentList args(entry.paramCount);
    for (std::uint32_t i = 0; i < entry.paramCount; ++i)
      if (failed(hr = convert(args, i, params.cArgs - 1 - i, entry.params[i].type))) return hr;
    hr = entry.call(object, entry, args.data(), out);
  }
  variantClear(&scratch);
  return hr;
}

}  // namespace

HResult coerceArgument(const Variant& argument, DispType type, Variant* out) {
  variantInit(out);
  Variant plain;
  if (argument.vt & VT_BYREF) {
    const HResult hr = dereference(argument, &plain);
    if (failed(hr)) return hr;
  } else {
    plain = argument;  // borrowed: never freed here
  }
  if (type == DispType::Variant) return variantCopy(out, plain);
  if (type == DispType::Color) {
    Variant wide;
    variantInit(&wide);
    const HResult hr = changeType(&wide, plain, 0, VT_I8);
    if (failed(hr)) return hr;
    if (wide.i64 < INT32_MIN || wide.i64 > std::int64_t(UINT32_MAX)) return DISP_E_OVERFLOW;
    out->vt = VT_I4;
    out->i32 = static_cast<std::int32_t>(static_cast<std::uint32_t>(wide.i64));
    return S_OK;
  }
  return changeType(out, plain, 0, wireType(type));
}

HResult dispatchInvoke(const DispInterfaceDesc& desc, ComObject& object, DispId id, const Guid& iid, Word flags,
                       DispParams* params, Variant* result, ExcepInfo* excepInfo, std::uint32_t* argErr) {
  if (!(iid == IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  const DispEntry* entry = findDispEntry(desc, id);
  if (!entry) return DISP_E_MEMBERNOTFOUND;
  const DispParams none;
  const DispParams& p = params ? *params : none;
  if ((p.cArgs && !p.rgvarg) || p.cNamedArgs > p.cArgs || (p.cNamedArgs && !p.rgdispidNamedArgs)) return E_INVALIDARG;
  if (result) variantInit(result);
  try {
    return runHandler(*entry, object, flags, p, result, argErr);
  } catch (const DispatchException& e) {
    fillException(e, excepInfo);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    fillException(DispatchException{}, excepInfo);
  }
  if (result) variantClear(result);
  return DISP_E_EXCEPTION;
}

}  // namespace plat::ole
