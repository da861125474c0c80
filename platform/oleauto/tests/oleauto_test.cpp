#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/oleauto/oleauto.h"

using namespace plat::ole;

namespace {

struct Var {
  Variant v;
  Var() { variantInit(&v); }
  ~Var() { variantClear(&v); }
};

Variant i4(std::int32_t x) { Variant v{}; v.vt = VT_I4; v.i32 = x; return v; }
Variant r8(double x) { Variant v{}; v.vt = VT_R8; v.r8 = x; return v; }
Variant r4(float x) { Variant v{}; v.vt = VT_R4; v.r4 = x; return v; }

// Converts and returns the result code; out holds the value.
HResult convert(const Variant& in, VarType vt, Var* out) { return changeType(&out->v, in, 0, vt); }

std::u16string textOf(const Variant& in) {
  Var out;
  EXPECT_EQ(convert(in, VT_BSTR, &out), kOk);
  return std::u16string(stringView(out.v.bstr));
}

struct Text {
  Variant v{};
  explicit Text(std::u16string_view s) { v.vt = VT_BSTR; v.bstr = allocString(s); }
  ~Text() { variantClear(&v); }
};

}  // namespace

TEST(Bstr, CarriesByteLengthPrefixAndTerminator) {
  Bstr s = allocString(u"abc");
  ASSERT_NE(s, nullptr);
  std::uint32_t prefix = 0;
  std::memcpy(&prefix, reinterpret_cast<const std::uint8_t*>(s) - 4, 4);
  EXPECT_EQ(prefix, 6u);
  EXPECT_EQ(stringLen(s), 3u);
  EXPECT_EQ(s[3], u'\0');
  freeString(s);

  // An odd byte count keeps its length and is still terminated.
  Bstr odd = allocStringByteLen("xyz", 3);
  EXPECT_EQ(stringByteLen(odd), 3u);
  EXPECT_EQ(stringLen(odd), 1u);
  freeString(odd);

  EXPECT_EQ(stringLen(nullptr), 0u);
  freeString(nullptr);
}

TEST(SafeArray, BoundsLockingAndDeepCopy) {
  SafeArray* a = safeArrayCreateVector(VT_VARIANT, 0, 3);
  ASSERT_NE(a, nullptr);
  std::int32_t lo = 9, hi = 9;
  EXPECT_EQ(safeArrayGetLBound(a, 1, &lo), kOk);
  EXPECT_EQ(safeArrayGetUBound(a, 1, &hi), kOk);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 2);
  EXPECT_EQ(safeArrayGetUBound(a, 2, &hi), kDispBadIndex);

  Text t(u"hello");
  EXPECT_EQ(safeArrayPutElement(a, 1, &t.v), kOk);
  EXPECT_EQ(safeArrayPutElement(a, 3, &t.v), kDispBadIndex);
  Var got;
  EXPECT_EQ(safeArrayGetElement(a, 1, &got.v), kOk);
  EXPECT_EQ(got.v.vt, VT_BSTR);
  EXPECT_NE(got.v.bstr, t.v.bstr);  // a copy, not the same memory
  EXPECT_EQ(stringView(got.v.bstr), u"hello");

  EXPECT_EQ(safeArrayLock(a), kOk);
  EXPECT_EQ(safeArrayDestroy(a), kDispArrayIsLocked);
  EXPECT_EQ(safeArrayUnlock(a), kOk);
  EXPECT_EQ(safeArrayUnlock(a), kFail);
  EXPECT_EQ(safeArrayDestroy(a), kOk);

  // The upper bound must stay a 32-bit index.
  EXPECT_EQ(safeArrayCreateVector(VT_I4, std::numeric_limits<std::int32_t>::max(), 2), nullptr);
  EXPECT_EQ(safeArrayCreateVector(VarType{14}, 0, 1), nullptr);
}

TEST(Variant, IsSixteenBytesAndCopiesDeeply) {
  static_assert(sizeof(Variant) == 16);
  Text t(u"abc");
  t.v.reserved1 = 2;
  Var copy;
  EXPECT_EQ(variantCopy(&copy.v, t.v), kOk);
  EXPECT_EQ(copy.v.reserved1, 2);  // the reserved words travel with the value
  EXPECT_NE(copy.v.bstr, t.v.bstr);
  EXPECT_EQ(stringView(copy.v.bstr), u"abc");
}

TEST(ChangeType, FloatToIntegerRoundsHalfToEven) {
  const struct { double in; std::int32_t out; } cases[] = {
      {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {2.5001, 3}, {-0.5, 0}, {0.5, 0}, {1.5, 2}};
  for (const auto& c : cases) {
    Var out;
    ASSERT_EQ(convert(r8(c.in), VT_I4, &out), kOk) << c.in;
    EXPECT_EQ(out.v.vt, VT_I4);
    EXPECT_EQ(out.v.i32, c.out) << c.in;
  }
}

TEST(ChangeType, RangesOverflowInsteadOfWrapping) {
  Var out;
  EXPECT_EQ(convert(i4(32767), VT_I2, &out), kOk);
  EXPECT_EQ(out.v.i16, 32767);
  EXPECT_EQ(convert(i4(32768), VT_I2, &out), kDispOverflow);
  EXPECT_EQ(out.v.vt, VT_EMPTY);
  EXPECT_EQ(convert(i4(-1), VT_UI1, &out), kDispOverflow);
  EXPECT_EQ(convert(i4(-1), VT_UI4, &out), kDispOverflow);
  EXPECT_EQ(convert(r8(2147483647.4), VT_I4, &out), kOk);
  EXPECT_EQ(out.v.i32, 2147483647);
  EXPECT_EQ(convert(r8(2147483647.5), VT_I4, &out), kDispOverflow);
  EXPECT_EQ(convert(r8(std::nan("")), VT_I4, &out), kDispOverflow);
  EXPECT_EQ(convert(r8(1e300), VT_R4, &out), kDispOverflow);
  EXPECT_EQ(convert(r8(1e300), VT_I8, &out), kDispOverflow);
  Variant big{};
  big.vt = VT_UI8;
  big.u64 = UINT64_MAX;
  EXPECT_EQ(convert(big, VT_I8, &out), kDispOverflow);
  EXPECT_EQ(textOf(big), u"18446744073709551615");
}

TEST(ChangeType, BooleansEmptyAndCurrency) {
  Variant t{};
  t.vt = VT_BOOL;
  t.boolean = kVariantTrue;
  Var out;
  EXPECT_EQ(convert(t, VT_I4, &out), kOk);
  EXPECT_EQ(out.v.i32, -1);
  EXPECT_EQ(convert(t, VT_UI1, &out), kDispOverflow);
  EXPECT_EQ(textOf(t), u"-1");
  EXPECT_EQ(convert(r8(0.25), VT_BOOL, &out), kOk);
  EXPECT_EQ(out.v.boolean, kVariantTrue);
  Text word(u" FALSE ");
  EXPECT_EQ(convert(word.v, VT_BOOL, &out), kOk);
  EXPECT_EQ(out.v.boolean, kVariantFalse);

  Variant empty{};
  EXPECT_EQ(convert(empty, VT_R8, &out), kOk);
  EXPECT_EQ(out.v.r8, 0.0);
  EXPECT_EQ(textOf(empty), u"");

  Variant cy{};
  cy.vt = VT_CY;
  cy.cy = 25000;  // 2.5
  EXPECT_EQ(convert(cy, VT_I4, &out), kOk);
  EXPECT_EQ(out.v.i32, 2);
  cy.cy = -15000;  // -1.5
  EXPECT_EQ(convert(cy, VT_I4, &out), kOk);
  EXPECT_EQ(out.v.i32, -2);
  EXPECT_EQ(textOf(cy), u"-1.5");
  cy.cy = -1;
  EXPECT_EQ(textOf(cy), u"-0.0001");
  cy.cy = 120000;
  EXPECT_EQ(textOf(cy), u"12");
  EXPECT_EQ(convert(r8(1.23456), VT_CY, &out), kOk);
  EXPECT_EQ(out.v.cy, 12346);
}

TEST(ChangeType, TextFormsOfNumbers) {
  EXPECT_EQ(textOf(i4(-12)), u"-12");
  EXPECT_EQ(textOf(r8(400.13)), u"400.13");
  EXPECT_EQ(textOf(r8(0.1)), u"0.1");
  EXPECT_EQ(textOf(r8(0.0001)), u"0.0001");
  EXPECT_EQ(textOf(r8(0.00001)), u"1E-05");
  EXPECT_EQ(textOf(r8(123456789012345.0)), u"123456789012345");
  EXPECT_EQ(textOf(r8(1e15)), u"1E+15");
  EXPECT_EQ(textOf(r8(123456789012345678.0)), u"1.23456789012346E+17");
  EXPECT_EQ(textOf(r8(1.0 / 3.0)), u"0.333333333333333");
  EXPECT_EQ(textOf(r8(-0.0)), u"0");
  EXPECT_EQ(textOf(r4(0.1f)), u"0.1");
  EXPECT_EQ(textOf(r4(1.0f / 3.0f)), u"0.3333333");
  EXPECT_EQ(textOf(r4(16777216.0f)), u"1.677722E+07");
  EXPECT_EQ(textOf(r8(std::numeric_limits<double>::infinity())), u"INF");
}

TEST(ChangeType, NumbersFromText) {
  Var out;
  const struct { const char16_t* text; double value; } good[] = {
      {u"400.13", 400.13}, {u"  -12 ", -12}, {u"+3", 3}, {u"1e3", 1000}, {u"2.5E-1", 0.25}, {u".5", 0.5}, {u"5.", 5}};
  for (const auto& g : good) {
    Text t(g.text);
    ASSERT_EQ(convert(t.v, VT_R8, &out), kOk) << std::string(g.text, g.text + std::char_traits<char16_t>::length(g.text));
    EXPECT_EQ(out.v.r8, g.value);
  }
  for (const char16_t* bad : {u"", u" ", u"1,5", u"1 000", u"abc", u"12x", u"1e", u"inf", u"nan", u"0x10", u"-", u"1e999"}) {
    Text t(bad);
    EXPECT_EQ(convert(t.v, VT_R8, &out), kDispTypeMismatch);
    EXPECT_EQ(out.v.vt, VT_EMPTY);
  }
  Text twelve(u"12");
  EXPECT_EQ(convert(twelve.v, VT_I4, &out), kOk);
  EXPECT_EQ(out.v.vt, VT_I4);
  EXPECT_EQ(out.v.i32, 12);
  Text half(u"2.5");
  EXPECT_EQ(convert(half.v, VT_I2, &out), kOk);
  EXPECT_EQ(out.v.i16, 2);
  // Large integers are read exactly, not through a double.
  Text exact(u"9007199254740993");
  EXPECT_EQ(convert(exact.v, VT_I8, &out), kOk);
  EXPECT_EQ(out.v.i64, 9007199254740993LL);
  Variant nullText{};
  nullText.vt = VT_BSTR;
  EXPECT_EQ(convert(nullText, VT_I4, &out), kDispTypeMismatch);
}

TEST(ChangeType, RefusedPairsAndInPlaceConversion) {
  Var out;
  Variant err{};
  err.vt = VT_ERROR;
  err.scode = 5;
  EXPECT_EQ(convert(err, VT_I4, &out), kDispTypeMismatch);
  EXPECT_EQ(convert(i4(5), VT_ERROR, &out), kDispTypeMismatch);
  Variant null{};
  null.vt = VT_NULL;
  EXPECT_EQ(convert(null, VT_BSTR, &out), kDispTypeMismatch);
  EXPECT_EQ(convert(i4(1), 99, &out), kDispBadVarType);
  Variant ref{};
  ref.vt = VT_BYREF | VT_I4;
  EXPECT_EQ(convert(ref, VT_I4, &out), kDispTypeMismatch);

  Text t(u"42");
  EXPECT_EQ(changeType(&t.v, t.v, 0, VT_R8), kOk);  // the source's BSTR is freed once
  EXPECT_EQ(t.v.vt, VT_R8);
  EXPECT_EQ(t.v.r8, 42.0);
}

TEST(OleDate, KnownDaysAgainstTheCalendar) {
  double d = 0;
  // 1 January 1900 is day 2; 1 January 2000 is 36526 days after 30 December 1899
  // (100 years of 365 days plus 24 leap days, plus the 2 days of 1899).
  ASSERT_TRUE(dateFromParts({1900, 1, 1, 0, 0, 0}, &d));
  EXPECT_EQ(d, 2.0);
  ASSERT_TRUE(dateFromParts({2000, 1, 1, 0, 0, 0}, &d));
  EXPECT_EQ(d, 365.0 * 100 + 24 + 2);
  ASSERT_TRUE(dateFromParts({1899, 12, 29, 6, 0, 0}, &d));
  EXPECT_EQ(d, -1.25);  // the fraction counts forwards from midnight
  ASSERT_TRUE(dateFromParts({1970, 1, 1, 12, 0, 0}, &d));
  EXPECT_EQ(d, 25569.5);
  EXPECT_FALSE(dateFromParts({1900, 2, 29, 0, 0, 0}, &d));  // 1900 was not a leap year
  EXPECT_TRUE(dateFromParts({2000, 2, 29, 0, 0, 0}, &d));
  EXPECT_FALSE(dateFromParts({99, 1, 1, 0, 0, 0}, &d));

  DateParts p;
  ASSERT_TRUE(partsFromDate(-1.25, &p));
  EXPECT_EQ(p.year, 1899);
  EXPECT_EQ(p.month, 12);
  EXPECT_EQ(p.day, 29);
  EXPECT_EQ(p.hour, 6);
  ASSERT_TRUE(partsFromDate(36526.0 + 0.99999999, &p));  // rounds up to the next midnight
  EXPECT_EQ(p.day, 2);
  EXPECT_EQ(p.hour, 0);
  EXPECT_EQ(p.dayOfWeek, 0);  // 2 January 2000 was a Sunday
  ASSERT_TRUE(partsFromDate(kMinDate, &p));
  EXPECT_EQ(p.year, 100);
  EXPECT_FALSE(partsFromDate(kMaxDate + 1.0, &p));
  EXPECT_FALSE(partsFromDate(std::nan(""), &p));
}

TEST(OleDate, CTimeBothWays) {
  EXPECT_EQ(dateFromTime(0), 25569.0);
  EXPECT_EQ(dateFromTime(86400 + 43200), 25570.5);
  EXPECT_EQ(dateFromTime(-43200), 25568.5);
  std::int64_t t = 0;
  ASSERT_TRUE(timeFromDate(36526.75, &t));
  EXPECT_EQ(t, 946684800 + 18 * 3600);  // 2000-01-01 18:00 UTC
}

TEST(OleDate, TextFormsAndTheirReader) {
  double d = 0;
  ASSERT_TRUE(dateFromParts({2001, 5, 12, 0, 0, 0}, &d));
  EXPECT_EQ(formatDate(d), "2001-05-12");
  Variant date{};
  date.vt = VT_DATE;
  date.date = d + 0.5;
  EXPECT_EQ(textOf(date), u"2001-05-12 12:00:00");
  date.date = 0.75;
  EXPECT_EQ(textOf(date), u"18:00:00");

  double back = 0;
  ASSERT_TRUE(parseDate(u"2001-05-12 12:00:00", &back));
  EXPECT_EQ(back, d + 0.5);
  ASSERT_TRUE(parseDate(u"18:00:00", &back));
  EXPECT_EQ(back, 0.75);
  EXPECT_FALSE(parseDate(u"2001-13-01", &back));
  EXPECT_FALSE(parseDate(u"12/05/2001", &back));
  Text t(u"2001-05-12");
  Var out;
  ASSERT_EQ(convert(t.v, VT_DATE, &out), kOk);
  EXPECT_EQ(out.v.date, d);
  EXPECT_EQ(convert(r8(3e6), VT_DATE, &out), kDispOverflow);
}

TEST(SafeArray, TwoDimensionsLieDimensionOneFirstAndCopyWithTheirBounds) {
  const SafeArrayBound bounds[2] = {{3, 1}, {2, 0}};
  SafeArray* a = safeArrayCreate(VT_R4, 2, bounds);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->count, 6u);
  std::int32_t lo = 9, hi = 9;
  EXPECT_EQ(safeArrayGetLBound(a, 1, &lo), kOk);
  EXPECT_EQ(safeArrayGetUBound(a, 1, &hi), kOk);
  EXPECT_EQ(lo, 1);
  EXPECT_EQ(hi, 3);
  EXPECT_EQ(safeArrayGetUBound(a, 2, &hi), kOk);
  EXPECT_EQ(hi, 1);
  EXPECT_EQ(safeArrayGetUBound(a, 3, &hi), kDispBadIndex);
  for (std::int32_t i = 1; i <= 3; ++i)
    for (std::int32_t j = 0; j <= 1; ++j) {
      const std::int32_t at[2] = {i, j};
      const float value = static_cast<float>(10 * i + j);
      ASSERT_EQ(safeArrayPutElementAt(a, at, &value), kOk);
    }
  const std::int32_t outside[2] = {4, 0};
  const float value = 1.0f;
  EXPECT_EQ(safeArrayPutElementAt(a, outside, &value), kDispBadIndex);
  // Dimension 1 varies fastest: the three (i, 0) first, then the three (i, 1).
  const auto* data = static_cast<const float*>(a->data);
  EXPECT_EQ((std::vector<float>(data, data + 6)), (std::vector<float>{10, 20, 30, 11, 21, 31}));
  SafeArray* copy = safeArrayCopy(a);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->dims, 2);
  float got = 0;
  const std::int32_t at[2] = {2, 1};
  EXPECT_EQ(safeArrayGetElementAt(copy, at, &got), kOk);
  EXPECT_EQ(got, 21.0f);
  EXPECT_EQ(safeArrayDestroy(copy), kOk);
  EXPECT_EQ(safeArrayDestroy(a), kOk);
  // Too many dimensions, or more elements than a 32-bit count holds.
  EXPECT_EQ(safeArrayCreate(VT_R4, 0, bounds), nullptr);
  const SafeArrayBound huge[2] = {{1u << 20, 0}, {1u << 12, 0}};
  EXPECT_EQ(safeArrayCreate(VT_R4, 2, huge), nullptr);
}
