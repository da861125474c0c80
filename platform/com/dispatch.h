#pragma once
// Dispatch tables: what a class offers to automation, written once as a table per dispatch
// interface. Invoke, GetIDsOfNames and the type information (typelib.h) all read the same
// table, so what a client calls and what it reads in the type library cannot drift apart.
//
//   const DispInterfaceDesc& Sample::Dispatch() {
//     static constexpr DispEntry kMembers[] = {
//         dispProperty<&Sample::GetColor, &Sample::SetColor>("Color", 1, DispType::Color),
//         dispProperty<&Sample::GetCount>("Count", 2, DispType::I4),            // read-only
//         dispMethod<&Sample::Load>("Load", 100, DispType::Error, {{"pszFileName", DispType::Bstr}}),
//         dispMethod<&Sample::AboutBox>("AboutBox", DISPID_ABOUTBOX, DispType::Void),
//     };
//     static constexpr DispInterfaceDesc kDesc{"_DSample", &DIID__DSample, "Dispatch interface", kMembers};
//     return kDesc;
//   }
//
// Handlers are member functions whose C++ types fit the declared types (checked when the table
// is a constant expression, so a mismatch does not compile):
//   I2, I4, UI1, Bool, Color, Error: any integer or enumeration (Bool arrives as 0 or 1 and goes
//       out as VARIANT_TRUE for any nonzero value; Color is an OLE_COLOR, a COLORREF carried as
//       a 32-bit integer);
//   R4, R8, Date: float or double; Cy: std::int64_t (value * 10000);
//   Bstr: results are a new Bstr the caller owns, arguments a const char16_t* the handler only
//       borrows (null is the empty string);
//   Dispatch, Font: IDispatch* (results carry one reference for the caller, arguments are
//       borrowed and may be null); Unknown: IUnknown* likewise;
//   Variant: results a Variant the caller owns, arguments a const Variant&.
// A handler raises an automation exception with throwDispatchException.
//
// Invoke, by the published rules:
//  - the interface argument must be IID_NULL (else DISP_E_UNKNOWNINTERFACE); an unknown id is
//    DISP_E_MEMBERNOTFOUND; DISPID_VALUE reaches the entry flagged kDispDefault when no entry
//    has id 0 itself;
//  - a property get needs DISPATCH_PROPERTYGET and no arguments; a put needs
//    DISPATCH_PROPERTYPUT or DISPATCH_PROPERTYPUTREF and exactly one argument named
//    DISPID_PROPERTYPUT (DISP_E_PARAMNOTFOUND otherwise); a read-only property has no put
//    (DISP_E_MEMBERNOTFOUND); a method needs DISPATCH_METHOD and exactly its parameters, none
//    named (DISP_E_BADPARAMCOUNT, DISP_E_NONAMEDARGS);
//  - each argument is converted to its declared type by changeType (a VT_BYREF argument is
//    read through its reference first); a failure returns that conversion's code and the
//    argument's position in rgvarg through argErr. An OLE_COLOR takes any integer value that
//    fits 32 bits, signed or unsigned (0x80000005 as VT_UI4 or as -2147483643 in VT_I4);
//  - the result (when wanted) is written over: the caller has freed what it held before;
//  - a raised exception fills ExcepInfo (when given) and returns DISP_E_EXCEPTION; running out
//    of memory returns E_OUTOFMEMORY; no C++ exception ever leaves Invoke.
// Names are found without regard to case (ASCII and Latin-1 letters, as everywhere).
#include <cstddef>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/com/object.h"

namespace plat::ole {

// Standard dispatch ids.
constexpr DispId DISPID_VALUE = 0;
constexpr DispId DISPID_UNKNOWN = -1;
constexpr DispId DISPID_PROPERTYPUT = -3;
constexpr DispId DISPID_NEWENUM = -4;
constexpr DispId DISPID_BACKCOLOR = -501;
constexpr DispId DISPID_FONT = -512;
constexpr DispId DISPID_FORECOLOR = -513;
constexpr DispId DISPID_ENABLED = -514;
constexpr DispId DISPID_HWND = -515;
constexpr DispId DISPID_TEXT = -517;
constexpr DispId DISPID_CAPTION = -518;
constexpr DispId DISPID_ABOUTBOX = -552;

// Declared types of properties, results and parameters. Color is the standard OLE_COLOR type
// and Font the standard font dispatch interface (IFontDisp); the type library describes them
// by reference to the standard OLE type library.
enum class DispType : std::uint8_t { Void, I2, I4, R4, R8, Cy, Date, Bstr, Dispatch, Error, Bool, Variant, Unknown, UI1, Color, Font };

// The VARIANT type a value of a declared type travels as.
constexpr VarType wireType(DispType t) {
  switch (t) {
    case DispType::I2: return VT_I2;
    case DispType::I4: case DispType::Color: return VT_I4;
    case DispType::R4: return VT_R4;
    case DispType::R8: return VT_R8;
    case DispType::Cy: return VT_CY;
    case DispType::Date: return VT_DATE;
    case DispType::Bstr: return VT_BSTR;
    case DispType::Dispatch: case DispType::Font: return VT_DISPATCH;
    case DispType::Error: return VT_ERROR;
    case DispType::Bool: return VT_BOOL;
    case DispType::Variant: return VT_VARIANT;
    case DispType::Unknown: return VT_UNKNOWN;
    case DispType::UI1: return VT_UI1;
    case DispType::Void: break;
  }
  return VT_EMPTY;
}

struct DispParam {
  const char* name = nullptr;
  DispType type = DispType::Void;
};

// Entry flags.
constexpr unsigned kDispHidden = 0x1;    // hidden (type information flags it FHIDDEN)
constexpr unsigned kDispDefault = 0x2;   // also the object's value (DISPID_VALUE)
constexpr unsigned kDispReadOnly = 0x4;  // a property without put

constexpr std::size_t kMaxDispParams = 6;

struct DispEntry {
  enum class Kind : std::uint8_t { Property, Method };
  const char* name = nullptr;
  DispId id = 0;
  Kind kind = Kind::Method;
  DispType type = DispType::Void;  // the property's type or the method's result
  unsigned flags = 0;
  std::uint8_t paramCount = 0;
  DispParam params[kMaxDispParams] = {};
  // Handlers; null in entries that only describe (events, interfaces implemented elsewhere).
  // Arguments arrive already converted to their wire types, in declared order.
  HResult (*get)(ComObject& object, const DispEntry& entry, Variant* result) = nullptr;
  HResult (*put)(ComObject& object, const DispEntry& entry, const Variant& value) = nullptr;
  HResult (*call)(ComObject& object, const DispEntry& entry, const Variant* args, Variant* result) = nullptr;

  bool isProperty() const { return kind == Kind::Property; }
};

// One dispatch interface (or event interface) of a class.
struct DispInterfaceDesc {
  const char* name = nullptr;
  const Guid* iid = nullptr;
  const char* helpString = nullptr;
  std::span<const DispEntry> members;
};

// An automation exception, raised by a handler and reported through ExcepInfo.
struct DispatchException {
  HResult scode = E_FAIL;
  String16 description;
  String16 source;
  String16 helpFile;
  DWord helpContext = 0;
};
[[noreturn]] void throwDispatchException(HResult scode, std::u16string_view description,
                                         std::u16string_view source = {});

// The table-driven IDispatch methods (AutomationObject calls them for its interface).
const DispEntry* findDispEntry(const DispInterfaceDesc& desc, DispId id);
const DispEntry* findDispEntry(const DispInterfaceDesc& desc, std::u16string_view name);
HResult dispatchGetIDsOfNames(const DispInterfaceDesc& desc, const Guid& iid, const char16_t* const* names,
                              std::uint32_t count, DispId* ids);
HResult dispatchInvoke(const DispInterfaceDesc& desc, ComObject& object, DispId id, const Guid& iid, Word flags,
                       DispParams* params, Variant* result, ExcepInfo* excepInfo, std::uint32_t* argErr);

// Converts an argument to a declared type, as Invoke does (VT_BYREF read through, OLE_COLOR
// taking unsigned values). out must hold nothing that needs freeing.
HResult coerceArgument(const Variant& argument, DispType type, Variant* out);

// ---- Building entries ----------------------------------------------------------------------------
namespace detail {

template <class F>
struct MemberFn;
template <class C, class R, class... A>
struct MemberFn<R (C::*)(A...)> {
  using Class = C;
  using Result = R;
  using Args = std::tuple<A...>;
};
template <class C, class R, class... A>
struct MemberFn<R (C::*)(A...) const> : MemberFn<R (C::*)(A...)> {};
template <class C, class R, class... A>
struct MemberFn<R (C::*)(A...) noexcept> : MemberFn<R (C::*)(A...)> {};
template <class C, class R, class... A>
struct MemberFn<R (C::*)(A...) const noexcept> : MemberFn<R (C::*)(A...)> {};

// Whether a handler's C++ type can carry a declared type (see the list at the top).
template <class T>
constexpr bool fits(DispType t) {
  using U = std::remove_cvref_t<T>;
  switch (t) {
    case DispType::Void: return std::is_void_v<U>;
    case DispType::I2: case DispType::I4: case DispType::UI1: case DispType::Bool: case DispType::Color:
    case DispType::Error:
      return std::is_integral_v<U> || std::is_enum_v<U>;
    case DispType::R4: case DispType::R8: case DispType::Date: return std::is_floating_point_v<U>;
    case DispType::Cy: return std::is_same_v<U, std::int64_t>;
    case DispType::Bstr: return std::is_same_v<U, char16_t*> || std::is_same_v<U, const char16_t*>;
    case DispType::Dispatch: case DispType::Font: return std::is_same_v<U, IDispatch*>;
    case DispType::Unknown: return std::is_same_v<U, IUnknown*>;
    case DispType::Variant: return std::is_same_v<U, Variant>;
  }
  return false;
}

// A handler's result as a value of its wire type; ownership of strings, interfaces and
// variants passes to out.
template <class T>
void toWire(T&& value, DispType type, Variant* out) {
  using U = std::remove_cvref_t<T>;
  variantInit(out);
  out->vt = wireType(type);
  if constexpr (std::is_same_v<U, Variant>) {
    *out = value;
    variantInit(&value);
  } else if constexpr (std::is_same_v<U, char16_t*>) {
    out->bstr = value;
  } else if constexpr (std::is_same_v<U, IDispatch*>) {
    out->dispatch = value;
  } else if constexpr (std::is_same_v<U, IUnknown*>) {
    out->unknown = value;
  } else if constexpr (std::is_floating_point_v<U>) {
    if (type == DispType::R4) out->r4 = static_cast<float>(value);
    else out->r8 = static_cast<double>(value);  // R8 and Date share the slot
  } else {
    static_assert(std::is_integral_v<U> || std::is_enum_v<U>);
    const auto n = static_cast<std::int64_t>(value);
    switch (type) {
      case DispType::I2: out->i16 = static_cast<std::int16_t>(n); break;
      case DispType::UI1: out->u8 = static_cast<std::uint8_t>(n); break;
      case DispType::Bool: out->boolean = n != 0 ? kVariantTrue : kVariantFalse; break;
      case DispType::Cy: out->cy = n; break;
      default: out->i32 = static_cast<std::int32_t>(static_cast<std::uint32_t>(n)); break;  // I4, Color, Error
    }
  }
}

// A wire value (already of its declared type's wire type) as a handler's argument type.
template <class T>
decltype(auto) fromWire(const Variant& v) {
  using U = std::remove_cvref_t<T>;
  if constexpr (std::is_same_v<U, Variant>) {
    return static_cast<const Variant&>(v);
  } else if constexpr (std::is_same_v<U, char16_t*> || std::is_same_v<U, const char16_t*>) {
    return static_cast<const char16_t*>(v.bstr);
  } else if constexpr (std::is_same_v<U, IDispatch*>) {
    return v.dispatch;
  } else if constexpr (std::is_same_v<U, IUnknown*>) {
    return v.unknown;
  } else if constexpr (std::is_floating_point_v<U>) {
    return static_cast<U>(v.vt == VT_R4 ? double(v.r4) : v.r8);
  } else if constexpr (std::is_same_v<U, bool>) {
    return v.vt == VT_BOOL ? v.boolean != 0 : v.i32 != 0;
  } else {
    std::int64_t n = 0;
    switch (v.vt) {
      case VT_I2: n = v.i16; break;
      case VT_UI1: n = v.u8; break;
      case VT_BOOL: n = v.boolean != 0 ? 1 : 0; break;
      case VT_CY: n = v.cy; break;
      default: n = v.i32; break;  // VT_I4, VT_ERROR
    }
    return static_cast<U>(n);
  }
}

template <auto Get>
HResult getAdapter(ComObject& object, const DispEntry& entry, Variant* result) {
  using F = MemberFn<decltype(Get)>;
  auto& self = static_cast<typename F::Class&>(object);
  toWire((self.*Get)(), entry.type, result);
  return S_OK;
}

template <auto Put>
HResult putAdapter(ComObject& object, const DispEntry&, const Variant& value) {
  using F = MemberFn<decltype(Put)>;
  auto& self = static_cast<typename F::Class&>(object);
  (self.*Put)(fromWire<std::tuple_element_t<0, typename F::Args>>(value));
  return S_OK;
}

template <auto Fn, std::size_t... I>
HResult callWith(ComObject& object, const DispEntry& entry, const Variant* args, Variant* result,
                 std::index_sequence<I...>) {
  using F = MemberFn<decltype(Fn)>;
  auto& self = static_cast<typename F::Class&>(object);
  (void)args;
  if constexpr (std::is_void_v<typename F::Result>) {
    (self.*Fn)(fromWire<std::tuple_element_t<I, typename F::Args>>(args[I])...);
    variantInit(result);
  } else {
    toWire((self.*Fn)(fromWire<std::tuple_element_t<I, typename F::Args>>(args[I])...), entry.type, result);
  }
  return S_OK;
}

template <auto Fn>
HResult callAdapter(ComObject& object, const DispEntry& entry, const Variant* args, Variant* result) {
  using F = MemberFn<decltype(Fn)>;
  return callWith<Fn>(object, entry, args, result, std::make_index_sequence<std::tuple_size_v<typename F::Args>>());
}

constexpr void requireFit(bool fits) {
  // Reached while a table is evaluated at compile time, this stops the build.
  if (!fits) throw std::logic_error("a dispatch handler's C++ type does not fit its declared type");
}

template <class Args, std::size_t... I>
constexpr void requireParams(const DispEntry& e, std::index_sequence<I...>) {
  if (e.paramCount != sizeof...(I)) throw std::logic_error("a dispatch method's parameter count differs from its handler's");
  (requireFit(fits<std::tuple_element_t<I, Args>>(e.params[I].type)), ...);
}

constexpr DispEntry makeEntry(const char* name, DispId id, DispEntry::Kind kind, DispType type, unsigned flags,
                               std::initializer_list<DispParam> params = {}) {
  DispEntry e;
  e.name = name;
  e.id = id;
  e.kind = kind;
  e.type = type;
  e.flags = flags;
  if (params.size() > kMaxDispParams) throw std::logic_error("too many dispatch parameters");
  for (const DispParam& p : params) e.params[e.paramCount++] = p;
  return e;
}

}  // namespace detail

// A property with a get handler and, unless Put is nullptr, a put handler.
template <auto Get, auto Put = nullptr>
constexpr DispEntry dispProperty(const char* name, DispId id, DispType type, unsigned flags = 0) {
  using G = detail::MemberFn<decltype(Get)>;
  detail::requireFit(type != DispType::Void && detail::fits<typename G::Result>(type));
  DispEntry e = detail::makeEntry(name, id, DispEntry::Kind::Property, type, flags);
  e.get = &detail::getAdapter<Get>;
  if constexpr (std::is_null_pointer_v<decltype(Put)>) {
    e.flags |= kDispReadOnly;
  } else {
    using P = detail::MemberFn<decltype(Put)>;
    static_assert(std::tuple_size_v<typename P::Args> == 1, "a property put takes one value");
    detail::requireFit(detail::fits<std::tuple_element_t<0, typename P::Args>>(type));
    e.put = &detail::putAdapter<Put>;
  }
  return e;
}

// A method with its result type (Void for none) and named, typed parameters.
template <auto Fn>
constexpr DispEntry dispMethod(const char* name, DispId id, DispType result, std::initializer_list<DispParam> params = {},
                               unsigned flags = 0) {
  using F = detail::MemberFn<decltype(Fn)>;
  DispEntry e = detail::makeEntry(name, id, DispEntry::Kind::Method, result, flags, params);
  detail::requireFit(detail::fits<typename F::Result>(result));
  detail::requireParams<typename F::Args>(e, std::make_index_sequence<std::tuple_size_v<typename F::Args>>());
  e.call = &detail::callAdapter<Fn>;
  return e;
}

// Entries that only describe: an event (a method that sinks implement) and a property of an
// interface implemented elsewhere.
constexpr DispEntry dispEvent(const char* name, DispId id, std::initializer_list<DispParam> params = {},
                              unsigned flags = 0) {
  return detail::makeEntry(name, id, DispEntry::Kind::Method, DispType::Void, flags, params);
}
constexpr DispEntry dispPropertyDesc(const char* name, DispId id, DispType type, unsigned flags = 0) {
  return detail::makeEntry(name, id, DispEntry::Kind::Property, type, flags);
}

}  // namespace plat::ole
