#pragma once
// CVariant: the value of a spectrum parameter and of values that cross the control's
// interfaces. Exactly one 16-byte VARIANT and nothing else, so it can be handed to the
// automation functions wherever a VARIANT is expected. It owns what it holds (a BSTR, one
// reference of an interface, or an array with all its elements).
//
// Arrays are one-dimensional, lower bound 0, of VT_VARIANT elements (type VT_ARRAY|VT_VARIANT);
// elements may be arrays again. A VT_DATE keeps a display flag in the first reserved word:
// kDateOnly, kTimeOnly or 0 for both.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/oleauto/oleauto.h"

namespace plat {
class Archive;
}

class CSafeArrayItem;
class CVariant;

// A date-time value with a validity status.
struct CDateTime {
  double date = 0.0;  // days since 30 December 1899
  bool valid = true;
};

class CVariant {
 public:
  static constexpr std::uint16_t kTimeOnly = 1;
  static constexpr std::uint16_t kDateOnly = 2;
  // Deepest array nesting an archive may hold.
  static constexpr int kMaxArchiveDepth = 32;

  CVariant();
  // An array of n VT_R4 elements; n < 1 gives an empty array (still VT_ARRAY|VT_VARIANT).
  CVariant(const float* values, std::int32_t n);
  CVariant(const CVariant& other);  // deep copy
  CVariant(CVariant&& other) noexcept;
  CVariant& operator=(const CVariant& other);
  CVariant& operator=(CVariant&& other) noexcept;
  ~CVariant();

  void Clear();
  void Copy(const CVariant& source);
  void Copy(const plat::ole::Variant& source);
  // Converts source to the type this variant holds now and stores it; a VT_EMPTY variant takes
  // the source as it is. A conversion that fails leaves this variant unchanged and returns false.
  bool AssignKeepType(const CVariant& source);
  // Moves the 16 bytes to out (which must hold nothing that needs freeing) and leaves this
  // VT_EMPTY.
  void Detach(plat::ole::Variant* out);
  // Takes over a VARIANT the caller owned (it is left VT_EMPTY).
  void Attach(plat::ole::Variant* in);
  void SetRaw(plat::ole::VarType type, std::uint32_t word1, std::uint32_t word2, std::uint32_t word3);

  void SetShort(std::int16_t value);
  void SetLong(std::int32_t value);
  void SetFloat(float value);
  void SetDouble(double value);
  void SetDate(double value);  // leaves the display flag as it was
  void SetDispatch(plat::ole::IDispatch* dispatch);  // takes one reference
  void SetString(std::string_view text);             // UTF-8 text, held as 16-bit text

  plat::ole::VarType GetType() const { return m_v.vt; }
  bool IsEmpty() const { return m_v.vt == plat::ole::VT_EMPTY; }
  bool IsArray() const { return (m_v.vt & plat::ole::VT_ARRAY) != 0; }
  std::uint16_t GetDateFlags() const { return m_v.reserved1; }
  void SetDateFlags(std::uint16_t flags) { m_v.reserved1 = flags; }

  // Conversions; the variant itself never changes. A failed conversion gives 0 or "".
  std::int32_t GetLong() const;
  std::int16_t GetShort() const;
  double GetDouble() const;  // text through ReadNumber
  float GetFloat() const;    // text through ReadNumber
  // A VT_DATE prints by its flag: "%d-%b-%Y", "%H:%M:%S" or both ("14:30:15 12-May-2001"), with
  // the C locale's month abbreviations; other types through the conversion rules of oleauto.h.
  std::string GetString() const;
  // VT_I4 is a C time (seconds since 1970, taken as UTC so the result does not depend on the
  // machine's time zone); VT_DATE is the value (invalid outside years 100-9999); VT_BSTR goes
  // through ParseDate; anything else is the zero date, valid.
  CDateTime GetDate() const;

  // Arrays (dimension 1). Bounds of a non-array are 0 and -1.
  std::int32_t GetLBound() const;
  std::int32_t GetUBound() const;
  CSafeArrayItem GetItem(std::int32_t index) const;

  // Turns a VT_BSTR whose whole text is a number into VT_I4 (digits with an optional leading
  // "-", within the 32-bit range) or VT_R8 (a decimal number with "." and optional exponent).
  // Anything else, the empty text included, stays text.
  void ParseText();

  // The archive form. A type word whose value the form does not carry (VT_EMPTY, VT_NULL, the
  // interfaces, VT_DECIMAL, flagged words ...) is stored alone and loads as that type with a
  // zero value; a by-reference value is stored as VT_EMPTY. An array keeps its type word and
  // loads as a vector of variants.
  void WriteVariant(plat::Archive& ar) const;
  // Clears first; on a format error the variant is left VT_EMPTY and the error propagates.
  void ReadVariant(plat::Archive& ar);

  const plat::ole::Variant& Raw() const { return m_v; }

  // The lenient number reader used for text by GetDouble and GetFloat: leading blanks, "-",
  // digits, "." or "," and decimals, and only after a decimal mark an exponent; the rest of the
  // text is ignored ("1,5" is 1.5, "1e3" is 1).
  static double ReadNumber(std::u16string_view text);
  // Text to date in the forms "dd-mm-yyyy" and "dd-Mon-yyyy" (month name short or full).
  static CDateTime ParseDate(std::string_view text);

 private:
  void ReadVariantAt(plat::Archive& ar, int depth);

  plat::ole::Variant m_v;
};
static_assert(sizeof(CVariant) == 16, "a CVariant is exactly one VARIANT");

// One element of an array variant; keeps the array locked while it exists.
class CSafeArrayItem {
 public:
  CSafeArrayItem() = default;
  CSafeArrayItem(plat::ole::SafeArray* array, std::int32_t index);
  CSafeArrayItem(const CSafeArrayItem& other);
  CSafeArrayItem& operator=(const CSafeArrayItem& other);
  ~CSafeArrayItem();

  void Set(plat::ole::SafeArray* array, std::int32_t index);
  bool IsValid() const;
  // A deep copy of the element; VT_EMPTY when the index is outside the array.
  CVariant GetValue() const;

 private:
  plat::ole::SafeArray* m_array = nullptr;
  std::int32_t m_index = 0;
};
