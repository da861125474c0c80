// CVariant: ownership, setters and getters, the text classifier and the archive form.
#include "spectrum/data/cvariant.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#include "platform/archive/archive.h"
#include "platform/base/numtext.h"
#include "platform/base/text.h"

namespace ole = plat::ole;

namespace {

constexpr ole::VarType kVariantArray = ole::VT_ARRAY | ole::VT_VARIANT;

void throwIfFailed(ole::HResult hr) {
  if (hr == ole::kOutOfMemory) throw std::bad_alloc();
}

const char* const kMonths[12][2] = {
    {"Jan", "January"}, {"Feb", "February"}, {"Mar", "March"},     {"Apr", "April"},
    {"May", "May"},     {"Jun", "June"},     {"Jul", "July"},      {"Aug", "August"},
    {"Sep", "September"}, {"Oct", "October"}, {"Nov", "November"}, {"Dec", "December"}};

bool allDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

bool onlyCharsOf(std::string_view text, std::string_view set) {
  return text.find_first_not_of(set) == std::string_view::npos;
}

// A decimal number as "%lf" would read it to the very end, with only the characters
// ".0123456789Ee-": optional "-", digits with at most one ".", at least one digit, and an
// optional exponent with optional "-" and at least one digit.
bool isWholeDecimal(std::string_view t) {
  std::size_t i = 0, digits = 0;
  if (i < t.size() && t[i] == '-') ++i;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && t[i] == '-') ++i;
    std::size_t expDigits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == t.size();
}

std::string formatDateFlagged(double date, std::uint16_t flags) {
  ole::DateParts p;
  if (!ole::partsFromDate(date, &p)) return std::string();
  char buf[64];
  if (flags & CVariant::kDateOnly)
    std::snprintf(buf, sizeof buf, "%02d-%s-%d", p.day, kMonths[p.month - 1][0], p.year);
  else if (flags & CVariant::kTimeOnly)
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", p.hour, p.minute, p.second);
  else
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d %02d-%s-%d", p.hour, p.minute, p.second, p.day,
                  kMonths[p.month - 1][0], p.year);
  return buf;
}

// Writes one VARIANT in the archive form (see WriteVariant).
void writeValue(plat::Archive& ar, const ole::Variant& v) {
  if (v.vt & ole::VT_BYREF) {
    // A reference into someone's memory cannot be stored.
    ar.writeU16(ole::VT_EMPTY);
    return;
  }
  if (v.vt & ole::VT_ARRAY) {
    // The array's own type word, then its elements, each in the archive form with its own type.
    ar.writeU16(v.vt);
    ole::SafeArray* array = v.array;
    const std::int32_t count = array ? static_cast<std::int32_t>(array->count) : 0;
    ar.writeI32(count - 1);
    for (std::int32_t i = 0; i < count; ++i) {
      void* element = nullptr;
      ole::safeArrayPtrOfIndex(array, array->lowerBound + i, &element);
      if (array->vt == ole::VT_VARIANT) {
        writeValue(ar, *static_cast<const ole::Variant*>(element));
      } else {
        ole::Variant item;
        ole::variantInit(&item);
        std::memcpy(&item.i64, element, array->elementSize);
        item.vt = array->vt;
        writeValue(ar, item);  // borrowed: not cleared
      }
    }
    return;
  }
  ar.writeU16(v.vt);
  switch (v.vt) {
    case ole::VT_I2: ar.writeI16(v.i16); break;
    case ole::VT_I4: ar.writeI32(v.i32); break;
    case ole::VT_R4: ar.writeF32(v.r4); break;
    case ole::VT_R8: ar.writeF64(v.r8); break;
    case ole::VT_CY: ar.writeI64(v.cy); break;  // low word first
    case ole::VT_DATE:
      ar.writeU16(v.reserved1);
      ar.writeF64(v.date);
      break;
    case ole::VT_BSTR: {
      const std::uint32_t bytes = ole::stringByteLen(v.bstr);
      ar.writeI32(static_cast<std::int32_t>(bytes));
      ar.writeBytes(v.bstr, bytes);
      break;
    }
    case ole::VT_ERROR: ar.writeI32(v.scode); break;
    case ole::VT_BOOL:
      ar.writeI16(v.boolean);
      ar.writeU16(0);
      break;
    case ole::VT_UI1: ar.writeU8(v.u8); break;
    default: break;  // the type alone
  }
}

}  // namespace

// ---- Lifetime --------------------------------------------------------------------------------

CVariant::CVariant() { ole::variantInit(&m_v); }

CVariant::CVariant(const float* values, std::int32_t n) {
  ole::variantInit(&m_v);
  const std::uint32_t count = n > 0 ? static_cast<std::uint32_t>(n) : 0;
  ole::SafeArray* array = ole::safeArrayCreateVector(ole::VT_VARIANT, 0, count);
  if (!array) throw std::bad_alloc();
  m_v.vt = kVariantArray;
  m_v.array = array;
  for (std::uint32_t i = 0; i < count; ++i) {
    auto* element = static_cast<ole::Variant*>(array->data) + i;
    element->vt = ole::VT_R4;
    element->r4 = values[i];
  }
}

CVariant::CVariant(const CVariant& other) {
  ole::variantInit(&m_v);
  Copy(other);
}

CVariant::CVariant(CVariant&& other) noexcept : m_v(other.m_v) { ole::variantInit(&other.m_v); }

CVariant& CVariant::operator=(const CVariant& other) {
  if (this != &other) Copy(other);
  return *this;
}

CVariant& CVariant::operator=(CVariant&& other) noexcept {
  if (this != &other) {
    Clear();
    m_v = other.m_v;
    ole::variantInit(&other.m_v);
  }
  return *this;
}

CVariant::~CVariant() { Clear(); }

void CVariant::Clear() {
  // A locked array (a CSafeArrayItem still looks at it) is left to leak rather than freed
  // under the item's feet.
  ole::variantClear(&m_v);
  ole::variantInit(&m_v);
}

void CVariant::Copy(const CVariant& source) { Copy(source.m_v); }

void CVariant::Copy(const ole::Variant& source) {
  if (&source == &m_v) return;
  ole::Variant copy;
  ole::variantInit(&copy);
  throwIfFailed(ole::variantCopy(&copy, source));
  Clear();
  m_v = copy;
}

bool CVariant::AssignKeepType(const CVariant& source) {
  if (m_v.vt == ole::VT_EMPTY || m_v.vt == source.m_v.vt) {
    Copy(source);
    return true;
  }
  ole::Variant converted;
  ole::variantInit(&converted);
  const ole::HResult hr = ole::changeType(&converted, source.m_v, 0, m_v.vt);
  throwIfFailed(hr);
  if (ole::failed(hr)) return false;
  Clear();
  m_v = converted;
  return true;
}

void CVariant::Detach(ole::Variant* out) {
  *out = m_v;
  ole::variantInit(&m_v);
}

void CVariant::Attach(ole::Variant* in) {
  Clear();
  m_v = *in;
  ole::variantInit(in);
}

void CVariant::SetRaw(ole::VarType type, std::uint32_t word1, std::uint32_t word2, std::uint32_t word3) {
  Clear();
  m_v.vt = type;
  const std::uint32_t words[3] = {word1, word2, word3};
  std::memcpy(reinterpret_cast<std::uint8_t*>(&m_v) + 4, words, sizeof words);
}

// ---- Setters ---------------------------------------------------------------------------------

void CVariant::SetShort(std::int16_t value) {
  Clear();
  m_v.vt = ole::VT_I2;
  m_v.i16 = value;
}

void CVariant::SetLong(std::int32_t value) {
  Clear();
  m_v.vt = ole::VT_I4;
  m_v.i32 = value;
}

void CVariant::SetFloat(float value) {
  Clear();
  m_v.vt = ole::VT_R4;
  m_v.r4 = value;
}

void CVariant::SetDouble(double value) {
  Clear();
  m_v.vt = ole::VT_R8;
  m_v.r8 = value;
}

void CVariant::SetDate(double value) {
  const std::uint16_t flags = m_v.reserved1;
  Clear();
  m_v.vt = ole::VT_DATE;
  m_v.reserved1 = flags;
  m_v.date = value;
}

void CVariant::SetDispatch(ole::IDispatch* dispatch) {
  if (dispatch) dispatch->AddRef();  // before Clear: it may hold the same interface
  Clear();
  m_v.vt = ole::VT_DISPATCH;
  m_v.dispatch = dispatch;
}

void CVariant::SetString(std::string_view text) {
  const std::u16string wide = plat::toUtf16(text);
  ole::Bstr s = ole::allocString(wide);
  if (!s) throw std::bad_alloc();
  Clear();
  m_v.vt = ole::VT_BSTR;
  m_v.bstr = s;
}

// ---- Getters ---------------------------------------------------------------------------------

std::int32_t CVariant::GetLong() const {
  CVariant tmp;
  return ole::succeeded(ole::changeType(&tmp.m_v, m_v, 0, ole::VT_I4)) ? tmp.m_v.i32 : 0;
}

std::int16_t CVariant::GetShort() const {
  CVariant tmp;
  return ole::succeeded(ole::changeType(&tmp.m_v, m_v, 0, ole::VT_I2)) ? tmp.m_v.i16 : 0;
}

double CVariant::GetDouble() const {
  if (m_v.vt == ole::VT_BSTR) return ReadNumber(ole::stringView(m_v.bstr));
  CVariant tmp;
  return ole::succeeded(ole::changeType(&tmp.m_v, m_v, 0, ole::VT_R8)) ? tmp.m_v.r8 : 0.0;
}

float CVariant::GetFloat() const {
  if (m_v.vt == ole::VT_BSTR) {
    const double v = ReadNumber(ole::stringView(m_v.bstr));
    // Beyond the float range the conversion has failed, as it does for other types.
    return std::fabs(v) <= 3.4028234663852886e38 ? static_cast<float>(v) : 0.0f;
  }
  CVariant tmp;
  return ole::succeeded(ole::changeType(&tmp.m_v, m_v, 0, ole::VT_R4)) ? tmp.m_v.r4 : 0.0f;
}

std::string CVariant::GetString() const {
  if (m_v.vt == ole::VT_DATE) return formatDateFlagged(m_v.date, m_v.reserved1);
  if (m_v.vt == ole::VT_BSTR) return plat::toUtf8(ole::stringView(m_v.bstr));
  CVariant tmp;
  if (ole::failed(ole::changeType(&tmp.m_v, m_v, 0, ole::VT_BSTR))) return std::string();
  return plat::toUtf8(ole::stringView(tmp.m_v.bstr));
}

CDateTime CVariant::GetDate() const {
  switch (m_v.vt) {
    case ole::VT_I4: return CDateTime{ole::dateFromTime(m_v.i32), true};
    case ole::VT_DATE: {
      ole::DateParts p;
      return CDateTime{m_v.date, ole::partsFromDate(m_v.date, &p)};
    }
    case ole::VT_BSTR: return ParseDate(GetString());
    default: return CDateTime{};
  }
}

// ---- Arrays ----------------------------------------------------------------------------------

std::int32_t CVariant::GetLBound() const {
  std::int32_t bound = 0;
  if (IsArray() && m_v.array) ole::safeArrayGetLBound(m_v.array, 1, &bound);
  return bound;
}

std::int32_t CVariant::GetUBound() const {
  std::int32_t bound = -1;
  if (IsArray() && m_v.array) ole::safeArrayGetUBound(m_v.array, 1, &bound);
  return bound;
}

CSafeArrayItem CVariant::GetItem(std::int32_t index) const {
  if (!IsArray() || !m_v.array) return CSafeArrayItem();
  return CSafeArrayItem(m_v.array, index);
}

CSafeArrayItem::CSafeArrayItem(ole::SafeArray* array, std::int32_t index) { Set(array, index); }

CSafeArrayItem::CSafeArrayItem(const CSafeArrayItem& other) { Set(other.m_array, other.m_index); }

CSafeArrayItem& CSafeArrayItem::operator=(const CSafeArrayItem& other) {
  if (this != &other) Set(other.m_array, other.m_index);
  return *this;
}

CSafeArrayItem::~CSafeArrayItem() {
  if (m_array) ole::safeArrayUnlock(m_array);
}

void CSafeArrayItem::Set(ole::SafeArray* array, std::int32_t index) {
  if (array) ole::safeArrayLock(array);
  if (m_array) ole::safeArrayUnlock(m_array);
  m_array = array;
  m_index = index;
}

bool CSafeArrayItem::IsValid() const {
  if (!m_array) return false;
  const std::int64_t rel = static_cast<std::int64_t>(m_index) - m_array->lowerBound;
  return rel >= 0 && rel < static_cast<std::int64_t>(m_array->count);
}

CVariant CSafeArrayItem::GetValue() const {
  CVariant result;
  if (!IsValid()) return result;
  ole::Variant value;
  ole::variantInit(&value);
  if (m_array->vt == ole::VT_VARIANT) {
    throwIfFailed(ole::safeArrayGetElement(m_array, m_index, &value));
  } else {
    throwIfFailed(ole::safeArrayGetElement(m_array, m_index, &value.i64));
    value.vt = m_array->vt;
  }
  result.Attach(&value);
  return result;
}

// ---- Text ------------------------------------------------------------------------------------

void CVariant::ParseText() {
  if (m_v.vt != ole::VT_BSTR) return;
  const std::string text = GetString();
  if (text.empty()) return;
  std::int32_t i = 0;
  if (onlyCharsOf(text, "0123456789-") && plat::parseInt32(text, &i)) {
    SetLong(i);
    return;
  }
  double d = 0.0;
  // Out-of-range values stay text rather than become infinities.
  if (onlyCharsOf(text, ".,0123456789Ee-") && isWholeDecimal(text) && plat::parseDouble(text, &d)) SetDouble(d);
}

double CVariant::ReadNumber(std::u16string_view text) {
  const double kTenth = static_cast<double>(0.1f);
  std::size_t i = 0;
  auto digit = [&](std::size_t k) { return k < text.size() && text[k] >= u'0' && text[k] <= u'9'; };
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < text.size() && text[i] == u'-') {
    negative = true;
    ++i;
  }
  double value = 0.0;
  for (; digit(i); ++i) value = value * 10.0 + (text[i] - u'0');
  if (i < text.size() && (text[i] == u'.' || text[i] == u',')) {
    ++i;
    double weight = kTenth;
    for (; digit(i); ++i) {
      value += (text[i] - u'0') * weight;
      weight *= kTenth;
    }
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
      ++i;
      bool negativeExponent = false;
      if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negativeExponent = text[i++] == u'-';
      int exponent = 0;
      for (; digit(i); ++i) exponent = exponent < 100000 ? exponent * 10 + (text[i] - u'0') : exponent;
      value *= std::pow(10.0, negativeExponent ? -exponent : exponent);
    }
  }
  if (negative) value = -value;
  // A number too large for a double is no number; no infinity reaches the data.
  return std::isfinite(value) ? value : 0.0;
}

CDateTime CVariant::ParseDate(std::string_view text) {
  CDateTime invalid{0.0, false};
  // Split into the fields between runs of dashes.
  std::string_view fields[3];
  std::size_t count = 0, i = 0;
  while (i < text.size()) {
    const std::size_t start = i;
    while (i < text.size() && text[i] != '-') ++i;
    if (i == start || count == 3) return invalid;
    fields[count++] = text.substr(start, i - start);
    while (i < text.size() && text[i] == '-') ++i;
  }
  if (count != 3) return invalid;
  std::string_view day = plat::trimLeft(fields[0]);
  std::string_view year = plat::trimLeft(fields[2]);
  if (!allDigits(day) || !allDigits(year) || day.size() > 2 || year.size() > 4) return invalid;
  int month = 0;
  if (fields[0].size() == 2 && fields[1].size() == 2 && fields[2].size() == 4 && allDigits(fields[1])) {
    month = (fields[1][0] - '0') * 10 + (fields[1][1] - '0');
  } else {
    for (int m = 0; m < 12 && month == 0; ++m)
      if (plat::equalsNoCase(fields[1], kMonths[m][0]) || plat::equalsNoCase(fields[1], kMonths[m][1])) month = m + 1;
  }
  ole::DateParts p;
  p.day = std::stoi(std::string(day));
  p.month = month;
  p.year = std::stoi(std::string(year));
  double date = 0.0;
  if (!ole::dateFromParts(p, &date)) return invalid;
  return CDateTime{date, true};
}

// ---- Archive form ----------------------------------------------------------------------------

void CVariant::WriteVariant(plat::Archive& ar) const { writeValue(ar, m_v); }

void CVariant::ReadVariant(plat::Archive& ar) {
  Clear();
  CVariant loaded;
  loaded.ReadVariantAt(ar, 0);
  *this = std::move(loaded);
}

void CVariant::ReadVariantAt(plat::Archive& ar, int depth) {
  ole::VarType vt = ar.readU16();
  if (vt & ole::VT_ARRAY) {
    // Whatever its type word says, a loaded array is a vector of variants that this variant
    // owns; the word is kept, but for a by-reference flag, which would disown the array.
    vt &= static_cast<ole::VarType>(~ole::VT_BYREF);
    if (depth >= kMaxArchiveDepth) plat::Archive::fail(plat::ArchiveError::Kind::TooDeep, "arrays nest too deeply");
    const std::int32_t upper = ar.readI32();
    if (upper < -1) plat::Archive::fail(plat::ArchiveError::Kind::BadFormat, "bad array bound");
    const std::uint32_t count = static_cast<std::uint32_t>(upper) + 1u;
    ar.requireItems(count, 2);  // every element has at least its type word
    ole::SafeArray* array = ole::safeArrayCreateVector(ole::VT_VARIANT, 0, count);
    if (!array) throw std::bad_alloc();
    // Owned from here on, so a failure below frees what was read so far.
    m_v.vt = vt;
    m_v.array = array;
    for (std::uint32_t i = 0; i < count; ++i) {
      CVariant element;
      element.ReadVariantAt(ar, depth + 1);
      element.Detach(static_cast<ole::Variant*>(array->data) + i);
    }
    return;
  }
  ole::Variant v;
  ole::variantInit(&v);
  switch (vt) {
    case ole::VT_I2: v.i16 = ar.readI16(); break;
    case ole::VT_I4: v.i32 = ar.readI32(); break;
    case ole::VT_R4: v.r4 = ar.readF32(); break;
    case ole::VT_R8: v.r8 = ar.readF64(); break;
    case ole::VT_CY: v.cy = ar.readI64(); break;
    case ole::VT_DATE:
      v.reserved1 = ar.readU16();
      v.date = ar.readF64();
      break;
    case ole::VT_BSTR: {
      const std::int32_t bytes = ar.readI32();
      if (bytes > 0) {
        ar.requireItems(static_cast<std::uint32_t>(bytes), 1);
        v.bstr = ole::allocStringByteLen(nullptr, static_cast<std::uint32_t>(bytes));
        if (!v.bstr) throw std::bad_alloc();
        // Hand the BSTR to this variant before reading into it, so nothing leaks.
        v.vt = ole::VT_BSTR;
        m_v = v;
        ar.readBytes(v.bstr, static_cast<std::size_t>(bytes));
        return;
      }
      break;
    }
    case ole::VT_ERROR: v.scode = ar.readI32(); break;
    case ole::VT_BOOL:
      v.boolean = ar.readI16();
      ar.readU16();
      break;
    case ole::VT_UI1: v.u8 = ar.readU8(); break;
    default: break;  // any other type word, flags included: that type with a zero value
  }
  v.vt = vt;
  m_v = v;
}
