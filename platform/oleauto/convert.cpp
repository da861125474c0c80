// changeType: the value conversions, by the rules written down in oleauto.h.
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "platform/base/numtext.h"
#include "platform/base/text.h"
#include "platform/oleauto/oleauto.h"

namespace plat::ole {

namespace {

using Int128 = __int128;

// A source value brought to one of three exact forms.
struct Number {
  enum Kind { Integer, Real, Currency } kind = Integer;
  Int128 integer = 0;  // Integer
  double real = 0.0;   // Real
  std::int64_t cy = 0; // Currency, value * 10000
};

bool isIntegerType(VarType vt) {
  switch (vt) {
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4:
    case VT_INT: case VT_UINT: case VT_I8: case VT_UI8: return true;
    default: return false;
  }
}

bool isKnownType(VarType vt) {
  switch (vt) {
    case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_CY:
    case VT_DATE: case VT_BSTR: case VT_DISPATCH: case VT_ERROR: case VT_BOOL: case VT_VARIANT:
    case VT_UNKNOWN: return true;
    default: return isIntegerType(vt);
  }
}

void integerRange(VarType vt, Int128* lo, Int128* hi) {
  switch (vt) {
    case VT_I1: *lo = INT8_MIN; *hi = INT8_MAX; return;
    case VT_UI1: *lo = 0; *hi = UINT8_MAX; return;
    case VT_I2: *lo = INT16_MIN; *hi = INT16_MAX; return;
    case VT_UI2: *lo = 0; *hi = UINT16_MAX; return;
    case VT_I4: case VT_INT: *lo = INT32_MIN; *hi = INT32_MAX; return;
    case VT_UI4: case VT_UINT: *lo = 0; *hi = UINT32_MAX; return;
    case VT_I8: *lo = INT64_MIN; *hi = INT64_MAX; return;
    default: *lo = 0; *hi = UINT64_MAX; return;  // VT_UI8
  }
}

// Rounds to the nearest integer, halves to even. False for NaN and values beyond 2^100.
bool roundHalfEven(double v, Int128* out) {
  if (!std::isfinite(v) || std::fabs(v) > 1e30) return false;
  double r = std::floor(v);
  const double diff = v - r;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
  *out = static_cast<Int128>(r);
  return true;
}

// Currency / 10000 rounded half to even.
Int128 currencyToInteger(std::int64_t cy) {
  Int128 q = cy / 10000;
  const std::int64_t rem = cy % 10000;
  const std::int64_t twice = 2 * (rem < 0 ? -rem : rem);
  if (twice > 10000 || (twice == 10000 && (q % 2 != 0))) q += rem < 0 ? -1 : 1;
  return q;
}

// Number text in the C locale (see oleauto.h): the whole text must be one number.
bool readNumberText(std::u16string_view text, Number* n) {
  text = trim(text);
  if (text.empty()) return false;
  std::string ascii;
  ascii.reserve(text.size());
  std::size_t i = 0, digits = 0, points = 0;
  bool integerOnly = true;
  if (text[i] == u'+' || text[i] == u'-') ascii.push_back(static_cast<char>(text[i++]));
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= u'0' && c <= u'9') {
      ++digits;
    } else if (c == u'.' && points == 0) {
      ++points;
      integerOnly = false;
    } else {
      break;
    }
    ascii.push_back(static_cast<char>(c));
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
    integerOnly = false;
    ascii.push_back('e');
    ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ascii.push_back(static_cast<char>(text[i++]));
    std::size_t expDigits = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, ++expDigits) ascii.push_back(static_cast<char>(text[i]));
    if (expDigits == 0) return false;
  }
  if (i != text.size()) return false;
  if (integerOnly) {
    std::int64_t v = 0;
    if (parseInt(ascii, &v)) {
      n->kind = Number::Integer;
      n->integer = v;
      return true;
    }
  }
  double d = 0.0;
  if (!parseDouble(ascii, &d)) return false;  // out of the double range
  n->kind = Number::Real;
  n->real = d;
  return true;
}

// The source as a number; kDispTypeMismatch when it is none.
HResult toNumber(const Variant& s, Number* n) {
  switch (s.vt) {
    case VT_EMPTY: n->integer = 0; return kOk;
    case VT_I1: n->integer = s.i8; return kOk;
    case VT_UI1: n->integer = s.u8; return kOk;
    case VT_I2: n->integer = s.i16; return kOk;
    case VT_UI2: n->integer = s.u16; return kOk;
    case VT_I4: case VT_INT: n->integer = s.i32; return kOk;
    case VT_UI4: case VT_UINT: n->integer = s.u32; return kOk;
    case VT_I8: n->integer = s.i64; return kOk;
    case VT_UI8: n->integer = s.u64; return kOk;
    case VT_BOOL: n->integer = s.boolean ? -1 : 0; return kOk;
    case VT_R4: n->kind = Number::Real; n->real = s.r4; return kOk;
    case VT_R8: n->kind = Number::Real; n->real = s.r8; return kOk;
    case VT_DATE: n->kind = Number::Real; n->real = s.date; return kOk;
    case VT_CY: n->kind = Number::Currency; n->cy = s.cy; return kOk;
    case VT_BSTR: return readNumberText(stringView(s.bstr), n) ? kOk : kDispTypeMismatch;
    default: return kDispTypeMismatch;
  }
}

double asDouble(const Number& n) {
  switch (n.kind) {
    case Number::Integer: return static_cast<double>(n.integer);
    case Number::Real: return n.real;
    default: return static_cast<double>(n.cy) / 10000.0;
  }
}

HResult toInteger(const Number& n, VarType vt, Variant* out) {
  Int128 v = 0;
  if (n.kind == Number::Integer)
    v = n.integer;
  else if (n.kind == Number::Currency)
    v = currencyToInteger(n.cy);
  else if (!roundHalfEven(n.real, &v))
    return kDispOverflow;
  Int128 lo = 0, hi = 0;
  integerRange(vt, &lo, &hi);
  if (v < lo || v > hi) return kDispOverflow;
  switch (vt) {
    case VT_I1: out->i8 = static_cast<std::int8_t>(v); break;
    case VT_UI1: out->u8 = static_cast<std::uint8_t>(v); break;
    case VT_I2: out->i16 = static_cast<std::int16_t>(v); break;
    case VT_UI2: out->u16 = static_cast<std::uint16_t>(v); break;
    case VT_I4: case VT_INT: out->i32 = static_cast<std::int32_t>(v); break;
    case VT_UI4: case VT_UINT: out->u32 = static_cast<std::uint32_t>(v); break;
    case VT_I8: out->i64 = static_cast<std::int64_t>(v); break;
    default: out->u64 = static_cast<std::uint64_t>(v); break;
  }
  return kOk;
}

HResult toCurrency(const Number& n, Variant* out) {
  Int128 v = 0;
  if (n.kind == Number::Currency) {
    out->cy = n.cy;
    return kOk;
  }
  if (n.kind == Number::Integer)
    v = n.integer * 10000;
  else if (!roundHalfEven(n.real * 10000.0, &v))
    return kDispOverflow;
  if (v < INT64_MIN || v > INT64_MAX) return kDispOverflow;
  out->cy = static_cast<std::int64_t>(v);
  return kOk;
}

// Text forms ----------------------------------------------------------------------------------

std::string realText(double v, int digits) {
  if (v == 0.0) return "0";  // also a negative zero
  return formatDouble(v, 'G', digits);
}

std::string integerText(Int128 v) {
  // Sign added by insert: GCC 12 at -O3 misreads `"-" + std::string` as an overlapping copy.
  std::string text = formatUInt(static_cast<std::uint64_t>(v < 0 ? -v : v));
  if (v < 0) text.insert(text.begin(), '-');
  return text;
}

std::string currencyText(std::int64_t cy) {
  const bool negative = cy < 0;
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(cy) : static_cast<std::uint64_t>(cy);
  std::string text = formatUInt(magnitude / 10000);
  if (negative) text.insert(text.begin(), '-');
  std::string fraction = formatUInt(magnitude % 10000);
  fraction.insert(0, 4 - fraction.size(), '0');
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += "." + fraction;
  return text;
}

HResult textOf(const Variant& s, std::string* text) {
  switch (s.vt) {
    case VT_EMPTY: text->clear(); return kOk;
    case VT_R4: *text = realText(s.r4, 7); return kOk;
    case VT_R8: *text = realText(s.r8, 15); return kOk;
    case VT_CY: *text = currencyText(s.cy); return kOk;
    case VT_BOOL: *text = s.boolean ? "-1" : "0"; return kOk;
    case VT_DATE: {
      DateParts p;
      if (!partsFromDate(s.date, &p)) return kDispOverflow;
      *text = formatDate(s.date);
      return kOk;
    }
    default:
      if (isIntegerType(s.vt)) {
        Number n;
        toNumber(s, &n);
        *text = integerText(n.integer);
        return kOk;
      }
      return kDispTypeMismatch;
  }
}

HResult convertScalar(const Variant& s, VarType vt, Variant* out) {
  if (isIntegerType(vt)) {
    Number n;
    const HResult hr = toNumber(s, &n);
    return failed(hr) ? hr : toInteger(n, vt, out);
  }
  switch (vt) {
    case VT_R4: case VT_R8: {
      Number n;
      const HResult hr = toNumber(s, &n);
      if (failed(hr)) return hr;
      const double d = asDouble(n);
      if (vt == VT_R8) {
        out->r8 = d;
      } else {
        if (std::isfinite(d) && std::fabs(d) > FLT_MAX) return kDispOverflow;
        out->r4 = static_cast<float>(d);
      }
      return kOk;
    }
    case VT_CY: {
      Number n;
      const HResult hr = toNumber(s, &n);
      return failed(hr) ? hr : toCurrency(n, out);
    }
    case VT_DATE: {
      if (s.vt == VT_BSTR) {
        double d = 0;
        if (!parseDate(stringView(s.bstr), &d)) return kDispTypeMismatch;
        out->date = d;
        return kOk;
      }
      Number n;
      const HResult hr = toNumber(s, &n);
      if (failed(hr)) return hr;
      const double d = asDouble(n);
      if (!(d >= kMinDate && d < 2958466.0)) return kDispOverflow;
      out->date = d;
      return kOk;
    }
    case VT_BOOL: {
      if (s.vt == VT_BSTR) {
        const std::u16string_view t = trim(stringView(s.bstr));
        if (equalsNoCase(t, u"true")) {
          out->boolean = kVariantTrue;
          return kOk;
        }
        if (equalsNoCase(t, u"false")) {
          out->boolean = kVariantFalse;
          return kOk;
        }
      }
      Number n;
      const HResult hr = toNumber(s, &n);
      if (failed(hr)) return hr;
      const bool nonzero = n.kind == Number::Integer ? n.integer != 0
                           : n.kind == Number::Currency ? n.cy != 0
                                                        : n.real != 0.0;
      out->boolean = nonzero ? kVariantTrue : kVariantFalse;
      return kOk;
    }
    case VT_BSTR: {
      std::string text;
      const HResult hr = textOf(s, &text);
      if (failed(hr)) return hr;
      out->bstr = allocString(toUtf16(text));
      return out->bstr || text.empty() ? kOk : kOutOfMemory;
    }
    default: return kDispTypeMismatch;
  }
}

}  // namespace

HResult changeType(Variant* dest, const Variant& source, std::uint16_t /*flags*/, VarType vt) {
  if (!dest) return kInvalidArg;
  if (!(vt & VT_ARRAY) && !isKnownType(vt & VT_TYPEMASK)) return kDispBadVarType;
  if ((source.vt & VT_BYREF) || (vt & VT_BYREF)) return kDispTypeMismatch;
  if (source.vt == vt) {
    if (dest == &source) return kOk;
    return variantCopy(dest, source);
  }
  Variant result;
  variantInit(&result);
  HResult hr = kOk;
  if (vt == VT_EMPTY) {
    hr = kOk;
  } else if ((vt & VT_ARRAY) || (source.vt & VT_ARRAY)) {
    hr = kDispTypeMismatch;
  } else if (!isKnownType(source.vt)) {
    hr = kDispBadVarType;
  } else if (vt == VT_NULL || source.vt == VT_NULL || vt == VT_ERROR || source.vt == VT_ERROR ||
             vt == VT_DISPATCH || vt == VT_UNKNOWN || vt == VT_VARIANT || source.vt == VT_DISPATCH ||
             source.vt == VT_UNKNOWN) {
    hr = kDispTypeMismatch;
  } else {
    hr = convertScalar(source, vt, &result);
  }
  // The result is independent of the source, so the destination may be the source itself.
  variantClear(dest);
  if (failed(hr)) return hr;
  result.vt = vt;
  *dest = result;
  return kOk;
}

}  // namespace plat::ole
