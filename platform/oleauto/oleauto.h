#pragma once
// Automation values: BSTR text, the 16-byte VARIANT, one-dimensional SAFEARRAYs, the value
// conversion function and OLE dates. The layouts and numeric type codes are the well-known
// published ones, because the product stores VARIANTs byte for byte in its archives.
//
// ---------------------------------------------------------------------------------------------
// Conversion rules of changeType (always the C locale; the results end up in saved files and
// exported text, so they never depend on the machine):
//
// Integers (VT_I1, VT_UI1, VT_I2, VT_UI2, VT_I4, VT_UI4, VT_INT, VT_UINT, VT_I8, VT_UI8):
//  - from a floating value (VT_R4, VT_R8, VT_DATE) or currency: rounded to the nearest integer,
//    halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2); NaN or a value outside the
//    target's range fails with kDispOverflow;
//  - from another integer: a value outside the target's range fails with kDispOverflow (no
//    wrapping: -1 never becomes 65535);
//  - from VT_BOOL: true is -1, false 0 (so true into an unsigned type overflows);
//  - from VT_EMPTY: 0;
//  - from VT_BSTR: the text is read as a number (below), then rounded as a floating value.
// VT_R4 and VT_R8: from integers exactly (as far as the type holds them), from VT_DATE the day
//  number itself, from VT_CY the value / 10000, from VT_BOOL -1 or 0, from VT_EMPTY 0. A double
//  outside the float range fails VT_R4 with kDispOverflow.
// VT_CY (a 64-bit integer holding value * 10000): from numbers value * 10000 rounded half to even,
//  kDispOverflow when out of range.
// VT_DATE: from numbers the value as a day number; it must lie within years 100 to 9999
//  (-657434 to 2958465.99999...), else kDispOverflow.
// VT_BOOL: any nonzero number is true (-1), zero false (0); text "True"/"False" in any case,
//  else a number read from the text.
// VT_BSTR (text forms):
//  - integers: decimal digits with a leading "-" when negative ("-12");
//  - VT_R8: 15 significant digits as printf "%.15G" writes them in the C locale, so exponent
//    form is used below 1E-04 and from 1E+15 on ("0.1", "400.13", "1E-05", "1.23456789012346E+17");
//    VT_R4: the same with 7 significant digits ("%.7G"); infinities and NaN as "inf", "-inf",
//    "nan" (upper-cased by %G: "INF", "-INF", "NAN"); a negative zero is written "0";
//  - VT_CY: the value with up to four decimals, trailing zeros and a bare point dropped
//    ("1.5", "-0.0001", "12");
//  - VT_BOOL: "-1" or "0" (the flags-0 form; the product never asks for the alphabetic one);
//  - VT_DATE: "YYYY-MM-DD" when the time of day is 0, "HH:MM:SS" when the day part is 0
//    (30 Dec 1899), else "YYYY-MM-DD HH:MM:SS"; seconds rounded to the nearest second;
//  - VT_EMPTY: the empty string.
// From VT_BSTR (the number text, C locale): optional blanks, an optional "+" or "-", digits with
//  at most one ".", at least one digit, an optional exponent "e"/"E" with optional sign and
//  digits, optional trailing blanks, nothing else. No thousands separators, no "," as a decimal
//  mark, no hexadecimal, no "inf"/"nan". Anything else fails with kDispTypeMismatch, an empty
//  text too. Dates read from text take the three forms written above.
// VT_ERROR converts to and from VT_ERROR only; VT_NULL only to VT_NULL; VT_DISPATCH and
// VT_UNKNOWN only to themselves (one more reference); arrays only to the same array type (deep
// copy). Converting to VT_EMPTY always succeeds and drops the value. Every other pair, and any
// VT_BYREF value, fails with kDispTypeMismatch (kDispBadVarType for a type code we do not know).
// On failure the destination is left VT_EMPTY.
// ---------------------------------------------------------------------------------------------
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

#include "platform/base/types.h"

namespace plat::ole {

using HResult = std::int32_t;
using VarType = std::uint16_t;

constexpr HResult kOk = 0;
constexpr HResult kFalse = 1;
constexpr HResult kFail = static_cast<HResult>(0x80004005u);
constexpr HResult kNoInterface = static_cast<HResult>(0x80004002u);
constexpr HResult kInvalidArg = static_cast<HResult>(0x80070057u);
constexpr HResult kOutOfMemory = static_cast<HResult>(0x8007000Eu);
constexpr HResult kDispTypeMismatch = static_cast<HResult>(0x80020005u);
constexpr HResult kDispOverflow = static_cast<HResult>(0x8002000Au);
constexpr HResult kDispBadVarType = static_cast<HResult>(0x80020008u);
constexpr HResult kDispBadIndex = static_cast<HResult>(0x8002000Bu);
constexpr HResult kDispArrayIsLocked = static_cast<HResult>(0x8002000Du);
constexpr HResult kNotImpl = static_cast<HResult>(0x80004001u);

inline bool succeeded(HResult hr) { return hr >= 0; }
inline bool failed(HResult hr) { return hr < 0; }

// The published type codes.
constexpr VarType VT_EMPTY = 0;
constexpr VarType VT_NULL = 1;
constexpr VarType VT_I2 = 2;
constexpr VarType VT_I4 = 3;
constexpr VarType VT_R4 = 4;
constexpr VarType VT_R8 = 5;
constexpr VarType VT_CY = 6;
constexpr VarType VT_DATE = 7;
constexpr VarType VT_BSTR = 8;
constexpr VarType VT_DISPATCH = 9;
constexpr VarType VT_ERROR = 10;
constexpr VarType VT_BOOL = 11;
constexpr VarType VT_VARIANT = 12;
constexpr VarType VT_UNKNOWN = 13;
constexpr VarType VT_I1 = 16;
constexpr VarType VT_UI1 = 17;
constexpr VarType VT_UI2 = 18;
constexpr VarType VT_UI4 = 19;
constexpr VarType VT_I8 = 20;
constexpr VarType VT_UI8 = 21;
constexpr VarType VT_INT = 22;
constexpr VarType VT_UINT = 23;
// Codes that only type descriptions use, never a VARIANT.
constexpr VarType VT_VOID = 24;
constexpr VarType VT_HRESULT = 25;
constexpr VarType VT_PTR = 26;
constexpr VarType VT_SAFEARRAY = 27;
constexpr VarType VT_CARRAY = 28;
constexpr VarType VT_USERDEFINED = 29;
constexpr VarType VT_LPSTR = 30;
constexpr VarType VT_LPWSTR = 31;
constexpr VarType VT_ARRAY = 0x2000;
constexpr VarType VT_BYREF = 0x4000;
constexpr VarType VT_TYPEMASK = 0x0FFF;

using VariantBool = std::int16_t;
constexpr VariantBool kVariantTrue = -1;
constexpr VariantBool kVariantFalse = 0;

// ---- Interfaces ------------------------------------------------------------------------------
// The reference-counted interfaces a VARIANT can hold. The COM layer (platform/com) builds on
// them. Interfaces are classes of pure virtual methods in the published slot order and nothing
// else, so an interface pointer handed between modules calls the same slots on both sides.
struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0, data3 = 0;
  std::uint8_t data4[8] = {};
  bool operator==(const Guid&) const = default;
};

// The null identifier (also the "no interface" argument of IDispatch).
inline constexpr Guid IID_NULL{};
inline constexpr Guid IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr Guid IID_IDispatch{0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

class IUnknown {
 public:
  virtual HResult QueryInterface(const Guid& iid, void** object) = 0;
  virtual std::uint32_t AddRef() = 0;
  virtual std::uint32_t Release() = 0;

 protected:
  ~IUnknown() = default;
};

using DispId = std::int32_t;
using Lcid = std::uint32_t;
struct Variant;
class ITypeInfo;  // platform/com/typeinfo.h

// Arguments of IDispatch::Invoke: rgvarg holds them last argument first; the first cNamedArgs
// of them are named by rgdispidNamedArgs.
struct DispParams {
  Variant* rgvarg = nullptr;
  DispId* rgdispidNamedArgs = nullptr;
  std::uint32_t cArgs = 0;
  std::uint32_t cNamedArgs = 0;
};

// What a dispatch member reports when it raises an exception; the BSTRs belong to the caller.
struct ExcepInfo {
  Word wCode = 0;
  Word wReserved = 0;
  char16_t* bstrSource = nullptr;
  char16_t* bstrDescription = nullptr;
  char16_t* bstrHelpFile = nullptr;
  DWord dwHelpContext = 0;
  void* pvReserved = nullptr;
  HResult (*pfnDeferredFillIn)(ExcepInfo*) = nullptr;
  HResult scode = 0;
};

// Invoke's flags.
constexpr Word DISPATCH_METHOD = 1;
constexpr Word DISPATCH_PROPERTYGET = 2;
constexpr Word DISPATCH_PROPERTYPUT = 4;
constexpr Word DISPATCH_PROPERTYPUTREF = 8;

// Automation. The platform/com layer implements these from dispatch tables; an object that
// offers no automation of its own may leave them: they answer kNotImpl.
class IDispatch : public IUnknown {
 public:
  virtual HResult GetTypeInfoCount(std::uint32_t* count) {
    if (count) *count = 0;
    return kNotImpl;
  }
  virtual HResult GetTypeInfo(std::uint32_t /*index*/, Lcid /*lcid*/, ITypeInfo** info) {
    if (info) *info = nullptr;
    return kNotImpl;
  }
  virtual HResult GetIDsOfNames(const Guid& /*iid*/, const char16_t* const* /*names*/, std::uint32_t /*count*/,
                                Lcid /*lcid*/, DispId* /*ids*/) {
    return kNotImpl;
  }
  virtual HResult Invoke(DispId /*id*/, const Guid& /*iid*/, Lcid /*lcid*/, Word /*flags*/, DispParams* /*params*/,
                         Variant* /*result*/, ExcepInfo* /*excepInfo*/, std::uint32_t* /*argErr*/) {
    return kNotImpl;
  }

 protected:
  ~IDispatch() = default;
};

// ---- BSTR ------------------------------------------------------------------------------------
// Points at the first character; a 32-bit byte length sits in the 4 bytes before it and a
// 16-bit NUL after the text. A null BSTR is the empty string.
using Bstr = char16_t*;

Bstr allocString(const char16_t* text);                          // NUL-terminated text
Bstr allocStringLen(const char16_t* text, std::uint32_t chars);  // text may be null: zeroed
Bstr allocStringByteLen(const void* bytes, std::uint32_t byteCount);  // any byte count, odd too
Bstr allocString(std::u16string_view text);
void freeString(Bstr text);
std::uint32_t stringLen(const char16_t* text);      // characters (byte length / 2)
std::uint32_t stringByteLen(const char16_t* text);  // bytes
std::u16string_view stringView(const char16_t* text);

// ---- VARIANT ---------------------------------------------------------------------------------
struct SafeArray;

struct Variant {
  VarType vt;
  std::uint16_t reserved1;  // the product keeps a VT_DATE display flag here
  std::uint16_t reserved2;
  std::uint16_t reserved3;
  union {
    std::int64_t i64;
    std::uint64_t u64;
    std::int32_t i32;
    std::uint32_t u32;
    std::int16_t i16;
    std::uint16_t u16;
    std::int8_t i8;
    std::uint8_t u8;
    float r4;
    double r8;
    std::int64_t cy;  // currency: value * 10000
    double date;      // days since 30 December 1899
    VariantBool boolean;
    std::int32_t scode;
    Bstr bstr;
    IUnknown* unknown;
    IDispatch* dispatch;
    SafeArray* array;
    Variant* variantRef;
    void* byref;
  };
};
static_assert(sizeof(Variant) == 16, "a VARIANT is 16 bytes");
static_assert(offsetof(Variant, i64) == 8);

void variantInit(Variant* v);                       // all 16 bytes zero: VT_EMPTY
HResult variantClear(Variant* v);                   // frees what v owns, then VT_EMPTY
HResult variantCopy(Variant* dest, const Variant& source);  // deep copy; dest cleared first
HResult changeType(Variant* dest, const Variant& source, std::uint16_t flags, VarType vt);

// ---- SAFEARRAY ---------------------------------------------------------------------------------
// One dimension, or up to kSafeArrayMaxDims. Dimension d (counted from 1) has bounds[d - 1];
// dimension 1 varies fastest in memory, so the elements (i, 0) of an n x 2 array come first, then
// the elements (i, 1). count is the number of all elements and lowerBound that of dimension 1.
struct SafeArrayBound {
  std::uint32_t count = 0;
  std::int32_t lowerBound = 0;
};
constexpr std::uint16_t kSafeArrayMaxDims = 8;
struct SafeArray {
  std::uint16_t dims = 1;
  VarType vt = VT_EMPTY;  // element type
  std::uint32_t elementSize = 0;
  std::uint32_t locks = 0;
  std::uint32_t count = 0;
  std::int32_t lowerBound = 0;
  void* data = nullptr;
  SafeArrayBound bounds[kSafeArrayMaxDims] = {};
};

// Element types: VT_VARIANT, VT_BSTR, VT_UNKNOWN, VT_DISPATCH and the fixed-size scalars.
// Elements start zeroed (VT_EMPTY, null BSTR, 0). Null when the type is not supported, the
// count is too large or memory runs out.
SafeArray* safeArrayCreateVector(VarType vt, std::int32_t lowerBound, std::uint32_t count);
HResult safeArrayDestroy(SafeArray* array);  // kDispArrayIsLocked while locked
HResult safeArrayLock(SafeArray* array);
HResult safeArrayUnlock(SafeArray* array);   // kFail when not locked
// An array of dims dimensions (1 to kSafeArrayMaxDims), bounds[d - 1] for dimension d; null as
// for vectors, or when dims is out of range or the element count passes 32 bits.
SafeArray* safeArrayCreate(VarType vt, std::uint16_t dims, const SafeArrayBound* bounds);
// dim counts from 1; kDispBadIndex past the array's dimensions.
HResult safeArrayGetLBound(const SafeArray* array, std::uint32_t dim, std::int32_t* bound);
HResult safeArrayGetUBound(const SafeArray* array, std::uint32_t dim, std::int32_t* bound);
// Deep copies out of / into the array (a Variant element is variantCopy'd, a BSTR duplicated).
// The single index forms count the elements in memory order from dimension 1's lower bound
// (the index of a vector); the forms with indices take one index per dimension, indices[d - 1]
// for dimension d.
HResult safeArrayGetElement(const SafeArray* array, std::int32_t index, void* out);
HResult safeArrayPutElement(SafeArray* array, std::int32_t index, const void* in);
HResult safeArrayPtrOfIndex(SafeArray* array, std::int32_t index, void** element);
HResult safeArrayGetElementAt(const SafeArray* array, const std::int32_t* indices, void* out);
HResult safeArrayPutElementAt(SafeArray* array, const std::int32_t* indices, const void* in);
// Deep copy of the whole array; null on failure.
SafeArray* safeArrayCopy(const SafeArray* array);
std::uint32_t elementSizeOf(VarType vt);  // 0 for element types not supported

// ---- OLE dates -------------------------------------------------------------------------------
// A date is the number of days since 30 December 1899 00:00 as a double; the fraction is the
// time of day. For days before the epoch the fraction still counts forwards from midnight of
// the day in the integer part (-1.25 is 29 December 1899 06:00), as the published rule says.
struct DateParts {
  int year = 1899, month = 12, day = 30;  // month 1-12
  int hour = 0, minute = 0, second = 0;
  int dayOfWeek = 0;   // 0 Sunday
  int dayOfYear = 1;   // 1-366
};

constexpr double kMinDate = -657434.0;   // 1 January 100
constexpr double kMaxDate = 2958465.99999999;  // 31 December 9999, 23:59:59

// False when a field is out of range (month 1-12, day within the month, hour 0-23, minute and
// second 0-59, year 100-9999).
bool dateFromParts(const DateParts& parts, double* date);
// Rounds to the nearest second. False when the date is outside kMinDate..kMaxDate or not finite.
bool partsFromDate(double date, DateParts* parts);
// C time (seconds since 1 January 1970 UTC) to and from a date (no time zone shift).
double dateFromTime(std::int64_t seconds);
bool timeFromDate(double date, std::int64_t* seconds);

// The fixed text forms of dates described above, and their reader.
std::string formatDate(double date);
bool parseDate(std::u16string_view text, double* date);

}  // namespace plat::ole
