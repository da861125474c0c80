#include <gtest/gtest.h>

#include <vector>

#include "platform/archive/archive.h"
#include "spectrum/data/spcdata.h"

namespace ole = plat::ole;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes stored(const CSpcData& d) {
  plat::Archive ar;
  d.Store(ar);
  return ar.bytes();
}

CSpcParam param(const char* name, const CVariant& value, const char* comment = "") {
  CSpcParam p;
  p.name = name;
  p.value = value;
  p.comment = comment;
  return p;
}

CVariant longValue(std::int32_t v) {
  CVariant x;
  x.SetLong(v);
  return x;
}

CVariant doubleValue(double v) {
  CVariant x;
  x.SetDouble(v);
  return x;
}

CVariant textValue(const char* s) {
  CVariant x;
  x.SetString(s);
  return x;
}

// A record with one of every kind of element.
CSpcData fullRecord() {
  CSpcData d;
  d.nState = 1;
  d.nAux = 2;
  d.nDomain = 1;
  d.nAcqCode = 1;
  d.nKind = 1;
  d.strName = "ab";
  d.params.Append(param("TD", longValue(400)));
  d.params.Append(param("TITLE", textValue("Hi"), "c"));
  d.integrals.push_back({1, 3, 1.0f});
  d.peaks.push_back(2);
  CMassScan scan;
  scan.peaks.push_back({100.0f, 50.5f});  // intensity 100 at m/z 50.5
  scan.fIonCurrent = 100.0f;
  scan.dwExtra = 7;  // neither is archived
  scan.fTime = 2.5f;
  scan.strLabel = "s";
  d.scans.push_back(scan);
  d.fid().push_back({1.0f, -1.0f});
  d.spectrum().push_back({0.5f, 0.25f});
  return d;
}

// The archive of fullRecord(), written out by hand from the record layout:
const Bytes kFullRecord = {
    0x01, 0x00, 0x00, 0x00,  // nState 1
    0x02, 0x00, 0x00, 0x00,  // nAux 2
    0x01, 0x00, 0x00, 0x00,  // nDomain 1
    0x01, 0x00, 0x00, 0x00,  // nAcqCode 1
    0x01, 0x00, 0x00, 0x00,  // nKind 1 (MASS)
    0x02, 'a', 'b',          // strName: one-byte length 2, then the characters
    0x02, 0x00, 0x00, 0x00,  // two parameters
    0x03, 0x00,              //   VT_I4
    0x90, 0x01, 0x00, 0x00,  //   400 = 0x190
    0x02, 'T', 'D',          //   name "TD"
    0x00,                    //   empty comment
    0x08, 0x00,              //   VT_BSTR
    0x04, 0x00, 0x00, 0x00,  //   4 bytes of UTF-16 text
    'H', 0x00, 'i', 0x00,    //   "Hi"
    0x05, 'T', 'I', 'T', 'L', 'E',  // name "TITLE"
    0x01, 'c',               //   comment "c"
    0x01, 0x00, 0x00, 0x00,  // one integral
    0x01, 0x00, 0x00, 0x00,  //   from 1
    0x03, 0x00, 0x00, 0x00,  //   to 3
    0x00, 0x00, 0x80, 0x3F,  //   factor 1.0f = 0x3F800000
    0x01, 0x00, 0x00, 0x00,  // one peak
    0x02, 0x00, 0x00, 0x00,  //   point 2
    0x01, 0x00, 0x00, 0x00,  // one scan
    0x01, 0x00, 0x00, 0x00,  //   one peak
    0x00, 0x00, 0x4A, 0x42,  //   mass first: 50.5f = 0x424A0000 (1.578125 * 2^5)
    0x00, 0x00, 0xC8, 0x42,  //   intensity 100.0f = 0x42C80000 (1.5625 * 2^6)
    0x00, 0x00, 0xC8, 0x42,  //   ion current 100.0f
    0x01, 's',               //   label "s" (the extra word and the time are not stored)
    0x01, 0x00, 0x00, 0x00,  // FID: one point
    0x00, 0x00, 0x80, 0x3F,  //   re 1.0f
    0x00, 0x00, 0x80, 0xBF,  //   im -1.0f = 0xBF800000
    0x01, 0x00, 0x00, 0x00,  // spectrum: one point
    0x00, 0x00, 0x00, 0x3F,  //   re 0.5f = 0x3F000000
    0x00, 0x00, 0x80, 0x3E,  //   im 0.25f = 0x3E800000
};

void expectSameRecord(const CSpcData& a, const CSpcData& b) { EXPECT_EQ(stored(a), stored(b)); }

}  // namespace

TEST(SpcDataArchive, EmptyRecordIsFiveIntegersAnEmptyNameAndSixZeroCounts) {
  const Bytes expected = {
      0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,  // nState, nAux, nDomain
      1, 0, 0, 0,                            // nAcqCode 1 after a reset
      0, 0, 0, 0,                            // nKind
      0x00,                                  // empty name
      0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,  // parameters, integrals, peaks
      0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,  // scans, FID, spectrum
  };
  EXPECT_EQ(stored(CSpcData()), expected);
}

TEST(SpcDataArchive, FullRecordMatchesTheHandWrittenBytes) {
  EXPECT_EQ(stored(fullRecord()), kFullRecord);
}

TEST(SpcDataArchive, LoadsTheHandWrittenBytesAndStoresThemAgain) {
  plat::Archive ar{std::span<const std::uint8_t>(kFullRecord)};
  CSpcData d;
  d.Load(ar);
  EXPECT_TRUE(ar.atEnd());
  EXPECT_EQ(d.nAux, 2);
  EXPECT_EQ(d.strName, "ab");
  ASSERT_EQ(d.params.size(), 2u);
  EXPECT_EQ(d.params[1].comment, "c");
  EXPECT_EQ(d.params.GetValue("title").GetString(), "Hi");
  ASSERT_EQ(d.scans.size(), 1u);
  EXPECT_EQ(d.scans[0].peaks[0].im, 50.5f);  // the mass comes back into im
  EXPECT_EQ(d.scans[0].peaks[0].re, 100.0f);
  EXPECT_EQ(d.scans[0].fTime, 0.0f);
  EXPECT_EQ(d.scans[0].dwExtra, 0u);
  EXPECT_EQ(d.spectrum()[0].im, 0.25f);
  EXPECT_EQ(stored(d), kFullRecord);
}

TEST(SpcDataArchive, StoreLoadStoreIsByteExactWithDuplicatesAndEmptyScans) {
  CSpcData d = fullRecord();
  d.params.Append(param("td", doubleValue(1.5), "second"));  // duplicate name, kept as is
  CVariant date;
  date.SetDateFlags(CVariant::kTimeOnly);
  date.SetDate(0.75);
  d.params.Append(param("TIME", date));
  const float values[2] = {3, 4};
  d.params.Append(param("LIST", CVariant(values, 2)));
  d.params.Append(param("EMPTY", CVariant()));
  d.params.Append(param(std::string(300, 'N').c_str(), textValue(std::string(70000, 'x').c_str())));
  d.scans.push_back(CMassScan());
  for (int i = 0; i < 1000; ++i) d.fid().push_back({static_cast<float>(i), -0.5f * i});

  const Bytes first = stored(d);
  plat::Archive ar{std::span<const std::uint8_t>(first)};
  CSpcData back;
  back.Load(ar);
  EXPECT_TRUE(ar.atEnd());
  EXPECT_EQ(stored(back), first);
  ASSERT_EQ(back.params.size(), 7u);
  EXPECT_EQ(back.params.GetValue("TD").GetType(), ole::VT_I4);  // the first one
  EXPECT_EQ(back.params[2].name, "td");
  EXPECT_EQ(back.params.GetValue("TIME").GetString(), "18:00:00");
  EXPECT_TRUE(back.scans[1].peaks.empty());
}

TEST(SpcDataArchive, EmptyScanIsAZeroCountThenIonCurrentAndLabel) {
  CSpcData d;
  CMassScan scan;
  scan.fIonCurrent = 2.0f;
  scan.strLabel = "L";
  d.scans.push_back(scan);
  const Bytes bytes = stored(d);
  // Five integers and the empty name take 21 bytes, then three zero counts, then the scans.
  const Bytes scans(bytes.begin() + 33, bytes.end() - 8);
  EXPECT_EQ(scans, (Bytes{0x01, 0, 0, 0, 0x00, 0, 0, 0, 0x00, 0x00, 0x00, 0x40, 0x01, 'L'}));
}

TEST(SpcDataArchive, EveryTruncatedArchiveFailsAndLeavesTheRecordAlone) {
  CSpcData big = fullRecord();
  const float values[2] = {3, 4};
  big.params.Append(param("LIST", CVariant(values, 2)));
  big.params.Append(param("LONG", textValue(std::string(300, 'y').c_str()), std::string(260, 'z').c_str()));
  const Bytes full = stored(big);
  const CSpcData sentinel = fullRecord();
  for (std::size_t n = 0; n < full.size(); ++n) {
    plat::Archive ar{std::span<const std::uint8_t>(full.data(), n)};
    CSpcData d = sentinel;
    EXPECT_THROW(d.Load(ar), plat::ArchiveError) << n;
    expectSameRecord(d, sentinel);
  }
  plat::Archive ar{std::span<const std::uint8_t>(full)};
  CSpcData d;
  d.Load(ar);
  expectSameRecord(d, big);
}

TEST(SpcDataArchive, CorruptBytesNeverCrashOrOverAllocate) {
  // Every byte replaced by values that make large or negative counts and odd type words.
  for (std::size_t i = 0; i < kFullRecord.size(); ++i) {
    for (std::uint8_t b : {0x00, 0x7F, 0x80, 0xFE, 0xFF}) {
      Bytes bytes = kFullRecord;
      bytes[i] = b;
      plat::Archive ar{std::span<const std::uint8_t>(bytes)};
      CSpcData d;
      try {
        d.Load(ar);
      } catch (const plat::ArchiveError&) {
        EXPECT_FALSE(d.HasData());
      }
    }
  }
  // A count that promises more points than the archive could hold.
  Bytes bytes = stored(CSpcData());
  bytes[bytes.size() - 4] = 0x00;
  bytes[bytes.size() - 1] = 0x01;  // 2^24 spectrum points, no bytes behind them
  plat::Archive ar{std::span<const std::uint8_t>(bytes)};
  CSpcData d;
  EXPECT_THROW(d.Load(ar), plat::ArchiveError);
}

TEST(SpcDataArchive, RandomMutationsLoadOrFailCleanly) {
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  for (int round = 0; round < 3000; ++round) {
    Bytes bytes = kFullRecord;
    for (int k = 1 + static_cast<int>(next() % 4); k > 0; --k) bytes[next() % bytes.size()] = static_cast<std::uint8_t>(next());
    if (next() % 3 == 0) bytes.resize(next() % bytes.size());
    plat::Archive ar{std::span<const std::uint8_t>(bytes)};
    CSpcData d;
    try {
      d.Load(ar);
      // Whatever loaded stores in a form that loads back to the same record.
      const Bytes again = stored(d);
      plat::Archive ar2{std::span<const std::uint8_t>(again)};
      CSpcData d2;
      d2.Load(ar2);
      EXPECT_EQ(stored(d2), again);
    } catch (const plat::ArchiveError&) {
      EXPECT_FALSE(d.HasData());
    }
  }
}

TEST(SpcParamList, SetParamKeepsTheStoredNameCommentAndType) {
  CSpcParamList list;
  list.Append(param("SF", doubleValue(1.0), "spectrometer"));
  EXPECT_TRUE(list.SetParam(param("sf", textValue("400.13"), "ignored")));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].name, "SF");
  EXPECT_EQ(list[0].comment, "spectrometer");
  EXPECT_EQ(list[0].value.GetType(), ole::VT_R8);
  EXPECT_EQ(list[0].value.GetDouble(), 400.13);

  // Text that is no number: refused, the old value stays.
  EXPECT_FALSE(list.SetParam(param("SF", textValue("fast"))));
  EXPECT_EQ(list.GetValue("SF").GetDouble(), 400.13);

  // An entry that holds nothing takes the new value as it is.
  list.Append(param("NS", CVariant()));
  EXPECT_TRUE(list.SetParam("ns", longValue(16)));
  EXPECT_EQ(list.GetValue("NS").GetType(), ole::VT_I4);
  EXPECT_EQ(list.GetValue("NS").GetLong(), 16);

  // A new name is appended with its comment.
  EXPECT_TRUE(list.SetParam(param("LB", doubleValue(0.3), "line broadening")));
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[2].comment, "line broadening");
}

TEST(SpcParamList, LookupsRenameAndDuplicates) {
  CSpcParamList list;
  list.Append(param("TD", longValue(1)));
  list.Append(param("td", longValue(2)));
  EXPECT_EQ(list.GetValue("Td").GetLong(), 1);
  EXPECT_TRUE(list.HasParam("TD"));
  EXPECT_FALSE(list.HasParam("SI"));
  EXPECT_TRUE(list.GetValue("SI").IsEmpty());
  const CSpcParam missing = list.GetParam("SI");
  EXPECT_TRUE(missing.value.IsEmpty());
  EXPECT_TRUE(missing.name.empty());

  EXPECT_FALSE(list.RenameParam("SI", "TD"));
  EXPECT_EQ(list.size(), 2u);
  EXPECT_TRUE(list.RenameParam("td", "SI"));  // the first match, whatever its case
  EXPECT_EQ(list[0].name, "SI");
  EXPECT_EQ(list[1].name, "td");
  EXPECT_EQ(list.GetValue("td").GetLong(), 2);

  // GetParam hands out a deep copy.
  list.Append(param("TITLE", textValue("x")));
  CSpcParam copy = list.GetParam("TITLE");
  copy.value.SetString("changed");
  EXPECT_EQ(list.GetValue("TITLE").GetString(), "x");
}

TEST(SpcParamList, TypedAppendsKeepTheArgumentsTypeAndNeverMerge) {
  namespace ole = plat::ole;
  CSpcParamList list;
  list.Append("S", std::int16_t{-2});
  list.Append("L", 7);
  list.Append("F", 1.5f);
  list.Append("D", 2.25);
  list.Append("T", "text");
  list.AppendDate("DATE", 36526.5);
  list.Append("L", longValue(8));
  ASSERT_EQ(list.size(), 7u);
  const ole::VarType types[] = {ole::VT_I2, ole::VT_I4, ole::VT_R4, ole::VT_R8, ole::VT_BSTR, ole::VT_DATE, ole::VT_I4};
  for (std::size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list[i].value.GetType(), types[i]) << list[i].name;
    EXPECT_TRUE(list[i].comment.empty());
  }
  EXPECT_EQ(list.GetValue("T").GetString(), "text");
  EXPECT_EQ(list.GetValue("L").GetLong(), 7);  // the first of two
  EXPECT_EQ(list.GetValue("DATE").GetDate().date, 36526.5);
}

TEST(SpcData, ResetAndHasData) {
  CSpcData d = fullRecord();
  EXPECT_TRUE(d.HasData());
  d.Reset();
  EXPECT_FALSE(d.HasData());
  EXPECT_EQ(d.nAcqCode, 1);
  EXPECT_EQ(stored(d), stored(CSpcData()));
}
