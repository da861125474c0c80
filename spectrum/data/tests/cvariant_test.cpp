#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/archive/archive.h"
#include "spectrum/data/cvariant.h"

namespace ole = plat::ole;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes archived(const CVariant& v) {
  plat::Archive ar;
  v.WriteVariant(ar);
  return ar.bytes();
}

CVariant loaded(const Bytes& bytes) {
  plat::Archive ar{std::span<const std::uint8_t>(bytes)};
  CVariant v;
  v.ReadVariant(ar);
  EXPECT_TRUE(ar.atEnd());
  return v;
}

CVariant text(const char* s) {
  CVariant v;
  v.SetString(s);
  return v;
}

// Counts references, as an interface held by a variant must.
struct CountingDispatch : ole::IDispatch {
  std::uint32_t refs = 1;
  ole::HResult QueryInterface(const ole::Guid&, void**) override { return ole::kNoInterface; }
  std::uint32_t AddRef() override { return ++refs; }
  std::uint32_t Release() override { return --refs; }
};

double dateOf(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
  double date = 0;
  EXPECT_TRUE(ole::dateFromParts({y, m, d, h, mi, s}, &date));
  return date;
}

}  // namespace

TEST(CVariantArchive, EveryScalarTypeByteForByte) {
  CVariant v;
  EXPECT_EQ(archived(v), (Bytes{0x00, 0x00}));
  v.SetRaw(ole::VT_NULL, 0, 0, 0);
  EXPECT_EQ(archived(v), (Bytes{0x01, 0x00}));
  v.SetShort(-2);
  EXPECT_EQ(archived(v), (Bytes{0x02, 0x00, 0xFE, 0xFF}));
  v.SetLong(400);
  EXPECT_EQ(archived(v), (Bytes{0x03, 0x00, 0x90, 0x01, 0x00, 0x00}));
  v.SetFloat(1.0f);
  EXPECT_EQ(archived(v), (Bytes{0x04, 0x00, 0x00, 0x00, 0x80, 0x3F}));
  v.SetDouble(1.0);
  EXPECT_EQ(archived(v), (Bytes{0x05, 0x00, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
  v.SetRaw(ole::VT_CY, 0, 15000, 0);  // 1.5: 15000 = 0x3A98, low word first
  EXPECT_EQ(archived(v), (Bytes{0x06, 0x00, 0x98, 0x3A, 0, 0, 0, 0, 0, 0}));
  v.SetRaw(ole::VT_DATE, 0, 0, 0);
  v.SetDateFlags(CVariant::kDateOnly);
  v.SetDate(2.0);  // keeps the flag
  EXPECT_EQ(archived(v), (Bytes{0x07, 0x00, 0x02, 0x00, 0, 0, 0, 0, 0, 0, 0x00, 0x40}));
  v.SetString("Hi");
  EXPECT_EQ(archived(v), (Bytes{0x08, 0x00, 0x04, 0, 0, 0, 'H', 0, 'i', 0}));
  v.SetRaw(ole::VT_ERROR, 0, 0x80004005u, 0);
  EXPECT_EQ(archived(v), (Bytes{0x0A, 0x00, 0x05, 0x40, 0x00, 0x80}));
  v.SetRaw(ole::VT_BOOL, 0, 0xFFFF, 0);
  EXPECT_EQ(archived(v), (Bytes{0x0B, 0x00, 0xFF, 0xFF, 0x00, 0x00}));
  v.SetRaw(ole::VT_UI1, 0, 200, 0);
  EXPECT_EQ(archived(v), (Bytes{0x11, 0x00, 0xC8}));
  v.SetRaw(ole::VT_I8, 0, 5, 0);  // the form carries no value for this type
  EXPECT_EQ(archived(v), (Bytes{0x14, 0x00}));

  // And back.
  EXPECT_EQ(loaded({0x02, 0x00, 0xFE, 0xFF}).GetShort(), -2);
  EXPECT_EQ(loaded({0x03, 0x00, 0x90, 0x01, 0x00, 0x00}).GetLong(), 400);
  EXPECT_EQ(loaded({0x04, 0x00, 0x00, 0x00, 0x80, 0x3F}).GetFloat(), 1.0f);
  EXPECT_EQ(loaded({0x05, 0x00, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}).GetDouble(), 1.0);
  EXPECT_EQ(loaded({0x06, 0x00, 0x98, 0x3A, 0, 0, 0, 0, 0, 0}).GetString(), "1.5");
  const CVariant date = loaded({0x07, 0x00, 0x02, 0x00, 0, 0, 0, 0, 0, 0, 0x00, 0x40});
  EXPECT_EQ(date.GetType(), ole::VT_DATE);
  EXPECT_EQ(date.GetDateFlags(), CVariant::kDateOnly);
  EXPECT_EQ(date.GetString(), "01-Jan-1900");
  EXPECT_EQ(loaded({0x08, 0x00, 0x04, 0, 0, 0, 'H', 0, 'i', 0}).GetString(), "Hi");
  const CVariant err = loaded({0x0A, 0x00, 0x05, 0x40, 0x00, 0x80});
  EXPECT_EQ(err.Raw().scode, static_cast<std::int32_t>(0x80004005u));
  const CVariant boolean = loaded({0x0B, 0x00, 0xFF, 0xFF, 0x12, 0x34});  // high half ignored
  EXPECT_EQ(boolean.Raw().boolean, ole::kVariantTrue);
  EXPECT_EQ(loaded({0x11, 0x00, 0xC8}).GetLong(), 200);
  const CVariant dispatch = loaded({0x09, 0x00});
  EXPECT_EQ(dispatch.GetType(), ole::VT_DISPATCH);
  EXPECT_EQ(dispatch.Raw().dispatch, nullptr);
  EXPECT_EQ(loaded({0x01, 0x00}).GetType(), ole::VT_NULL);
}

TEST(CVariantArchive, EmptyAndNegativeLengthTextLoadsAsNullText) {
  const CVariant empty = text("");
  EXPECT_EQ(archived(empty), (Bytes{0x08, 0x00, 0, 0, 0, 0}));
  const CVariant back = loaded({0x08, 0x00, 0, 0, 0, 0});
  EXPECT_EQ(back.GetType(), ole::VT_BSTR);
  EXPECT_EQ(back.Raw().bstr, nullptr);
  EXPECT_EQ(back.GetString(), "");
  EXPECT_EQ(loaded({0x08, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}).Raw().bstr, nullptr);
  // An odd byte count keeps its bytes.
  const CVariant odd = loaded({0x08, 0x00, 0x03, 0, 0, 0, 'A', 0, 'B'});
  EXPECT_EQ(ole::stringByteLen(odd.Raw().bstr), 3u);
}

TEST(CVariantArchive, ArraysAndArraysOfArrays) {
  const float values[2] = {1.0f, 2.0f};
  const CVariant array(values, 2);
  EXPECT_EQ(array.GetType(), ole::VT_ARRAY | ole::VT_VARIANT);
  EXPECT_EQ(archived(array), (Bytes{0x0C, 0x20, 0x01, 0, 0, 0,            // upper bound 1
                                    0x04, 0x00, 0x00, 0x00, 0x80, 0x3F,    // VT_R4 1.0
                                    0x04, 0x00, 0x00, 0x00, 0x00, 0x40})); // VT_R4 2.0
  const CVariant none(values, 0);
  EXPECT_EQ(archived(none), (Bytes{0x0C, 0x20, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(loaded({0x0C, 0x20, 0xFF, 0xFF, 0xFF, 0xFF}).GetUBound(), -1);

  // [ [1.0, 2.0], "x", [] ] built by hand, stored and loaded.
  ole::SafeArray* outer = ole::safeArrayCreateVector(ole::VT_VARIANT, 0, 3);
  ole::Variant element;
  ole::variantInit(&element);
  CVariant(array).Detach(&element);
  ole::safeArrayPutElement(outer, 0, &element);
  ole::variantClear(&element);
  text("x").Detach(&element);
  ole::safeArrayPutElement(outer, 1, &element);
  ole::variantClear(&element);
  CVariant(none).Detach(&element);
  ole::safeArrayPutElement(outer, 2, &element);
  ole::variantClear(&element);
  ole::Variant raw;
  ole::variantInit(&raw);
  raw.vt = ole::VT_ARRAY | ole::VT_VARIANT;
  raw.array = outer;
  CVariant nested;
  nested.Attach(&raw);

  const Bytes bytes = archived(nested);
  const CVariant back = loaded(bytes);
  EXPECT_EQ(archived(back), bytes);
  ASSERT_EQ(back.GetUBound(), 2);
  const CVariant first = back.GetItem(0).GetValue();
  ASSERT_TRUE(first.IsArray());
  EXPECT_EQ(first.GetItem(1).GetValue().GetType(), ole::VT_R4);
  EXPECT_EQ(first.GetItem(1).GetValue().GetFloat(), 2.0f);
  EXPECT_EQ(back.GetItem(1).GetValue().GetString(), "x");
  EXPECT_EQ(back.GetItem(2).GetValue().GetUBound(), -1);
  EXPECT_TRUE(back.GetItem(3).GetValue().IsEmpty());
}

// Type words the form carries no value for load as that type with a zero value; arrays of any
// element type load as vectors of variants that keep their type word.
TEST(CVariantArchive, OtherTypeWordsLoadAsThatTypeWithAZeroValue) {
  for (const ole::VarType vt : {ole::VarType(0x000C), ole::VarType(0x000E), ole::VarType(0x0019),
                                ole::VarType(0x0024), ole::VarType(0x0040), ole::VarType(0x4003),
                                ole::VarType(0x4008), ole::VarType(0x100C), ole::VarType(0xFFF)}) {
    const CVariant v = loaded({static_cast<std::uint8_t>(vt), static_cast<std::uint8_t>(vt >> 8)});
    EXPECT_EQ(v.GetType(), vt);
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&v.Raw());
    EXPECT_EQ(Bytes(raw + 2, raw + 16), Bytes(14, 0)) << vt;
    EXPECT_EQ(v.GetDouble(), 0.0);
    EXPECT_EQ(v.GetString(), "");
    const CVariant copy(v);
    EXPECT_EQ(copy.GetType(), vt);
  }
  // A by-reference value cannot be stored; it is stored as VT_EMPTY.
  EXPECT_EQ(archived(loaded({0x03, 0x40})), (Bytes{0x00, 0x00}));

  // [VT_I4 7, "x"] under the type word of an array of VT_I4, stored back with that word.
  const Bytes ints{0x03, 0x20, 0x01, 0, 0, 0, 0x03, 0x00, 7, 0, 0, 0, 0x08, 0x00, 0x02, 0, 0, 0, 'x', 0};
  const CVariant array = loaded(ints);
  EXPECT_EQ(array.GetType(), ole::VT_ARRAY | ole::VT_I4);
  ASSERT_EQ(array.GetUBound(), 1);
  EXPECT_EQ(array.GetItem(0).GetValue().GetLong(), 7);
  EXPECT_EQ(array.GetItem(1).GetValue().GetString(), "x");
  EXPECT_EQ(archived(array), ints);
  EXPECT_EQ(archived(CVariant(array)), ints);
  // An array marked by-reference is an array this variant owns all the same.
  Bytes byRef = ints;
  byRef[1] = 0x60;
  EXPECT_EQ(loaded(byRef).GetType(), ole::VT_ARRAY | ole::VT_I4);
}

TEST(CVariantArchive, CorruptFormsAreRefused) {
  const Bytes cases[] = {
      {0x0C, 0x20, 0xFE, 0xFF, 0xFF, 0xFF},  // upper bound -2
      {0x03, 0x20, 0xFF, 0xFF, 0xFF, 0x7F},  // 2^31 elements of an array of VT_I4 promised by 0 bytes
      {0x0C, 0x20, 0xFF, 0xFF, 0xFF, 0x7F},  // 2^31 elements promised by 0 bytes
      {0x08, 0x00, 0x10, 0, 0, 0, 'a', 0},   // text longer than the input
      {0x05, 0x00, 0, 0},                    // short double
  };
  for (const Bytes& bytes : cases) {
    plat::Archive ar{std::span<const std::uint8_t>(bytes)};
    CVariant v;
    v.SetString("before");
    EXPECT_THROW(v.ReadVariant(ar), plat::ArchiveError);
    EXPECT_TRUE(v.IsEmpty());
  }
  // Nesting beyond the limit: arrays of one array each.
  Bytes deep;
  for (int i = 0; i <= CVariant::kMaxArchiveDepth; ++i) deep.insert(deep.end(), {0x0C, 0x20, 0, 0, 0, 0});
  deep.insert(deep.end(), {0x00, 0x00});
  plat::Archive ar{std::span<const std::uint8_t>(deep)};
  CVariant v;
  EXPECT_THROW(v.ReadVariant(ar), plat::ArchiveError);
  EXPECT_TRUE(v.IsEmpty());
}

TEST(CVariant, OwnershipCopiesAndReferences) {
  CountingDispatch d;
  {
    CVariant v;
    v.SetDispatch(&d);
    EXPECT_EQ(d.refs, 2u);
    EXPECT_EQ(archived(v), (Bytes{0x09, 0x00}));  // the type alone, never the pointer
    CVariant copy(v);
    EXPECT_EQ(d.refs, 3u);
    copy.SetDispatch(&d);  // same interface again
    EXPECT_EQ(d.refs, 3u);
  }
  EXPECT_EQ(d.refs, 1u);

  const CVariant a = text("abc");
  CVariant b;
  b.Copy(a);
  EXPECT_NE(a.Raw().bstr, b.Raw().bstr);
  ole::Variant out;
  ole::variantInit(&out);
  b.Detach(&out);
  EXPECT_TRUE(b.IsEmpty());
  EXPECT_EQ(out.vt, ole::VT_BSTR);
  ole::variantClear(&out);

  const float values[3] = {1, 2, 3};
  CVariant array(values, 3);
  {
    CSafeArrayItem item = array.GetItem(2);
    EXPECT_EQ(array.Raw().array->locks, 1u);
    EXPECT_EQ(item.GetValue().GetFloat(), 3.0f);
  }
  EXPECT_EQ(array.Raw().array->locks, 0u);
}

TEST(CVariant, AssignKeepType) {
  CVariant target;
  target.SetLong(0);
  ASSERT_TRUE(target.AssignKeepType(text("12")));
  EXPECT_EQ(target.GetType(), ole::VT_I4);
  EXPECT_EQ(target.GetLong(), 12);

  CVariant real;
  real.SetDouble(7.0);
  EXPECT_FALSE(real.AssignKeepType(text("abc")));
  EXPECT_EQ(real.GetDouble(), 7.0);  // unchanged

  CVariant empty;
  ASSERT_TRUE(empty.AssignKeepType(text("x")));
  EXPECT_EQ(empty.GetType(), ole::VT_BSTR);

  CVariant small;
  small.SetShort(1);
  CVariant big;
  big.SetLong(100000);
  EXPECT_FALSE(small.AssignKeepType(big));
  EXPECT_EQ(small.GetShort(), 1);
}

TEST(CVariant, Getters) {
  CVariant v;
  v.SetDouble(2.5);
  EXPECT_EQ(v.GetLong(), 2);  // halves to even
  v.SetDouble(3.5);
  EXPECT_EQ(v.GetShort(), 4);
  EXPECT_EQ(text("abc").GetLong(), 0);
  EXPECT_NEAR(text("400.13").GetDouble(), 400.13, 1e-5);  // single-precision tenths
  v.SetFloat(0.1f);
  EXPECT_EQ(v.GetString(), "0.1");
  EXPECT_EQ(v.GetDouble(), static_cast<double>(0.1f));
  v.SetLong(-3);
  EXPECT_EQ(v.GetString(), "-3");
  EXPECT_EQ(CVariant().GetString(), "");
}

TEST(CVariant, DatesPrintByTheirFlag) {
  CVariant v;
  v.SetDate(dateOf(2001, 5, 12, 14, 30, 15));
  EXPECT_EQ(v.GetString(), "14:30:15 12-May-2001");
  v.SetDateFlags(CVariant::kDateOnly);
  EXPECT_EQ(v.GetString(), "12-May-2001");
  v.SetDateFlags(CVariant::kTimeOnly);
  EXPECT_EQ(v.GetString(), "14:30:15");
  v.SetDateFlags(CVariant::kTimeOnly | CVariant::kDateOnly);  // date wins
  EXPECT_EQ(v.GetString(), "12-May-2001");
}

TEST(CVariant, GetDateFromEachSource) {
  CVariant v;
  v.SetLong(0);
  EXPECT_EQ(v.GetDate().date, 25569.0);  // 1 January 1970
  v.SetLong(86400 * 2 + 3600 * 6);
  EXPECT_EQ(v.GetDate().date, 25571.25);
  EXPECT_EQ(text("12-05-2001").GetDate().date, dateOf(2001, 5, 12));
  EXPECT_EQ(text("5-May-2001").GetDate().date, dateOf(2001, 5, 5));
  EXPECT_EQ(text("05--SEPTEMBER--2001").GetDate().date, dateOf(2001, 9, 5));
  EXPECT_EQ(text("31-Feb-2001").GetDate().valid, false);
  EXPECT_EQ(text("12-13-2001").GetDate().valid, false);
  EXPECT_EQ(text("yesterday").GetDate().valid, false);
  EXPECT_EQ(text("1-2-3-4").GetDate().valid, false);
  v.SetDouble(5.0);
  EXPECT_TRUE(v.GetDate().valid);
  EXPECT_EQ(v.GetDate().date, 0.0);
}

TEST(CVariant, LenientNumberReaderOfText) {
  EXPECT_NEAR(text(" -12,25").GetDouble(), -12.25, 1e-6);
  EXPECT_NEAR(text("3.0e-2").GetDouble(), 0.03, 1e-9);
  EXPECT_NEAR(text("1,5").GetDouble(), 1.5, 1e-7);
  EXPECT_NEAR(text("2.5E3").GetDouble(), 2500.0, 1e-3);
  EXPECT_EQ(text("1e3").GetDouble(), 1.0);  // no decimal mark, no exponent
  EXPECT_EQ(text("\t7 apples").GetDouble(), 7.0);
  EXPECT_EQ(text("abc").GetDouble(), 0.0);
  EXPECT_EQ(text("").GetFloat(), 0.0f);
  EXPECT_EQ(text("1.0e999999999999").GetDouble(), 0.0);  // never an infinity
  EXPECT_EQ(text("1.0e60").GetFloat(), 0.0f);
  // The decimals weigh by the single-precision tenth.
  EXPECT_EQ(text("0.5").GetDouble(), 5 * static_cast<double>(0.1f));
}

TEST(CVariant, ParseTextConvertsOnlyWholeNumbers) {
  const struct { const char* in; ole::VarType type; double value; } cases[] = {
      {"12", ole::VT_I4, 12},       {"-7", ole::VT_I4, -7},         {"400.13", ole::VT_R8, 400.13},
      {"1e5", ole::VT_R8, 1e5},     {".5", ole::VT_R8, 0.5},        {"99999999999", ole::VT_R8, 99999999999.0},
      {"1,5", ole::VT_BSTR, 0},     {"12-05-2001", ole::VT_BSTR, 0}, {"", ole::VT_BSTR, 0},
      {"-", ole::VT_BSTR, 0},       {" 12", ole::VT_BSTR, 0},       {"1e999", ole::VT_BSTR, 0},
      {"1e", ole::VT_BSTR, 0},      {"+3", ole::VT_BSTR, 0},        {"E", ole::VT_BSTR, 0},
  };
  for (const auto& c : cases) {
    CVariant v = text(c.in);
    v.ParseText();
    EXPECT_EQ(v.GetType(), c.type) << c.in;
    if (c.type == ole::VT_I4) {
      EXPECT_EQ(v.GetLong(), c.value) << c.in;
    } else if (c.type == ole::VT_R8) {
      EXPECT_EQ(v.GetDouble(), c.value) << c.in;
    } else {
      EXPECT_EQ(v.GetString(), c.in);
    }
  }
  CVariant n;
  n.SetLong(5);
  n.ParseText();
  EXPECT_EQ(n.GetLong(), 5);
}
