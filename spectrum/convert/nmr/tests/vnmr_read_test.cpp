// The VNMR folder reader: the three sample types of the big-endian fid, procpar entries,
// derived parameters, the title, detection, damaged folders and the loader's view.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "../../tests/test_files.h"
#include "../../tests/truncation_sweep.h"
#include "platform/base/file.h"
#include "spectrum/convert/nmr/vnmr.h"
#include "spectrum/data/spcprocess.h"

namespace {

using convert_test::ScratchDir;

void PutBe32(std::string& s, std::size_t at, std::uint32_t v) {
  for (int b = 0; b < 4; ++b) s[at + b] = static_cast<char>(v >> (24 - 8 * b));
}

void PutBe16(std::string& s, std::size_t at, std::uint16_t v) {
  s[at] = static_cast<char>(v >> 8);
  s[at + 1] = static_cast<char>(v);
}

constexpr std::uint16_t kInt16 = 0x0000, kInt32 = 0x0004, kFloat = 0x0008;

// The fid file: 32-byte header, 28-byte block header, then np big-endian values.
std::string FidBytes(std::int32_t np, std::uint16_t status, const std::vector<double>& values) {
  std::string s(60, '\0');
  PutBe32(s, 8, static_cast<std::uint32_t>(np));
  PutBe16(s, 26, status);
  for (double v : values) {
    if (status & kFloat) {
      std::string w(4, '\0');
      PutBe32(w, 0, std::bit_cast<std::uint32_t>(static_cast<float>(v)));
      s += w;
    } else if (status & kInt32) {
      std::string w(4, '\0');
      PutBe32(w, 0, static_cast<std::uint32_t>(static_cast<std::int32_t>(v)));
      s += w;
    } else {
      std::string w(2, '\0');
      PutBe16(w, 0, static_cast<std::uint16_t>(static_cast<std::int16_t>(v)));
      s += w;
    }
  }
  return s;
}

std::vector<double> Values(std::size_t count, std::uint16_t status) {
  std::vector<double> v;
  for (std::size_t i = 0; i < count; ++i) {
    const double sign = i % 3 ? 1.0 : -1.0;
    v.push_back(status & kFloat ? sign * (i + 0.5) * 1.25 : status & kInt32 ? sign * (i * 100003.0 + 7) : sign * (i % 30000));
  }
  return v;
}

const char* kProcpar =
    "sw 1 1 1000000 0 0 2 1 0 1 64\n"
    "1 6000\n"
    "0\n"
    "sw1 1 1 1000000 0 0 2 1 0 1 64\n"
    "1 99\n"
    "0\n"
    "sfrq 1 1 1e+09 0 0 2 1 0 1 64\n"
    "1 400\n"
    "0\n"
    "temp 1 1 1e+09 0 0 2 1 0 1 64\n"
    "1 25.7\n"
    "0\n"
    "gain 7 1 1e+09 0 0 2 1 0 1 64\n"
    "1 30\n"
    "alfa 1 1 1e+09 0 0 2 1 0 1 64\n"
    "1 6.5\n"
    "pw 1 1 1e+09 0 0 2 1 0 1 64\n"
    "1 7.25\n"
    "rfl 1 1 1e+09 0 0 2 1 0 1 64\n"
    "1 1000\n"
    "rfp 1 1 1e+09 0 0 2 1 0 1 64\n"
    "1 200\n"
    "solvent 2 2 8 0 0 2 1 0 1 64\n"
    "1 \"cdcl3\"\n"
    "date 2 2 8 0 0 2 1 0 1 64\n"
    "1 \"12-05-2001\"\n"
    "console 2 2 8 0 0 2 1 0 1 64\n"
    "1 \"inova\"\n"
    "sfrq 1 1 1e+09 0 0 2 1 0 1 64\n"
    "1 500\n";

std::string MakeFolder(const std::string& name, const std::string& fid, const std::string& procpar,
                       const std::string* text = nullptr) {
  const std::string dir = plat::joinPath(ScratchDir("vnmr"), name);
  plat::makeDirectories(dir);
  plat::writeFileAtomic(plat::joinPath(dir, "fid"), fid);
  plat::writeFileAtomic(plat::joinPath(dir, "procpar"), procpar);
  if (text) plat::writeFileAtomic(plat::joinPath(dir, "text"), *text);
  return dir;
}

// Plain overwrite, for the many rewrites of a sweep.
void Overwrite(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool ReadFolder(const std::string& dir, CSpcData* data) {
  CNmrConvertVNMR leaf(8);
  return convert_test::ReadSayingWhy(leaf, dir, data);
}

std::size_t CountOf(const CSpcParamList& params, std::string_view name) {
  std::size_t n = 0;
  for (const CSpcParam& p : params) n += p.name == name;
  return n;
}

class VnmrSampleTypes : public ::testing::TestWithParam<std::uint16_t> {};

TEST_P(VnmrSampleTypes, SecondValueOfEachPairIsTheRealPart) {
  const std::uint16_t status = GetParam();
  const std::vector<double> v = Values(2000, status);
  const std::string dir = MakeFolder("types" + std::to_string(status) + ".fid", FidBytes(2000, status, v), kProcpar);
  CSpcData data;
  ASSERT_TRUE(ReadFolder(dir, &data));
  EXPECT_EQ(data.params.GetValue("TD").GetLong(), 2000);
  EXPECT_EQ(data.params.GetValue("SI").GetLong(), 2048);
  ASSERT_EQ(data.fid().size(), 1024u);
  for (std::size_t i = 0; i < 1000; ++i) {
    ASSERT_EQ(data.fid()[i].re, static_cast<float>(v[2 * i + 1])) << i;
    ASSERT_EQ(data.fid()[i].im, static_cast<float>(v[2 * i])) << i;
  }
  for (std::size_t i = 1000; i < 1024; ++i) ASSERT_TRUE(data.fid()[i].re == 0.0f && data.fid()[i].im == 0.0f) << i;
  EXPECT_TRUE(data.spectrum().empty());
}

// Bits 2 and 3 together still mean floats.
INSTANTIATE_TEST_SUITE_P(All, VnmrSampleTypes,
                         ::testing::Values(kInt16, kInt32, kFloat, static_cast<std::uint16_t>(kFloat | kInt32)));

TEST(VnmrRead, ProcparEntriesAndDerivedParameters) {
  const std::string text = "Strychnine 1H\r\nsecond line\n";
  const std::string dir = MakeFolder("params.fid", FidBytes(8, kInt16, Values(8, kInt16)), kProcpar, &text);
  CSpcData data;
  ASSERT_TRUE(ReadFolder(dir, &data));
  const CSpcParamList& p = data.params;
  EXPECT_EQ(data.nState, 1);
  EXPECT_EQ(data.nDomain, 0);
  EXPECT_EQ(data.nAcqCode, 1);
  EXPECT_EQ(data.strName, "params");
  EXPECT_EQ(p[0].name, "AQ_mod");
  EXPECT_EQ(p.GetValue("AQ_mod").GetLong(), 1);
  EXPECT_EQ(p.GetValue("SW").GetDouble(), 6000.0);
  EXPECT_EQ(CountOf(p, "SW"), 1u);  // "sw1" is another parameter
  // Two sfrq entries: two SFO1, and both SF copies of the first SFO1.
  ASSERT_EQ(CountOf(p, "SFO1"), 2u);
  ASSERT_EQ(CountOf(p, "SF"), 2u);
  for (const CSpcParam& e : p)
    if (e.name == "SF") {
      EXPECT_EQ(e.value.GetDouble(), 400.0);
    }
  EXPECT_EQ(p.GetValue("TE").GetLong(), 298);  // integer part of 25.7, plus 273
  EXPECT_EQ(p.GetValue("TE").GetType(), plat::ole::VT_I4);
  EXPECT_EQ(p.GetValue("RG").GetLong(), 30);
  EXPECT_EQ(p.GetValue("DE").GetDouble(), 6.5);
  EXPECT_EQ(p.GetValue("PW").GetDouble(), 7.25);
  EXPECT_EQ(p.GetValue("SOLVENT").GetString(), "cdcl3");
  EXPECT_EQ(p.GetValue("INSTRUM").GetString(), "inova");
  EXPECT_EQ(p.GetValue("DATE").GetType(), plat::ole::VT_DATE);
  EXPECT_EQ(p.GetValue("DATE").GetDate().date, 37023.0);  // 12 May 2001
  EXPECT_FALSE(p.HasParam("rfl"));
  EXPECT_EQ(p.GetValue("OFFSET").GetDouble(), 13.0);  // (6000 + 200 - 1000) / 400
  EXPECT_EQ(p.GetValue("OP").GetLong(), 0);
  EXPECT_EQ(p.GetValue("TITLE").GetString(), "Strychnine 1H");
}

TEST(VnmrRead, OffsetWithoutReferenceAndWithoutFrequency) {
  CSpcData data;
  ASSERT_TRUE(ReadFolder(MakeFolder("offset.fid", FidBytes(2, kInt16, {1, 2}), "sw x\n1 6000\nsfrq x\n1 400\n"), &data));
  EXPECT_EQ(data.params.GetValue("OFFSET").GetDouble(), 15.0);
  EXPECT_FALSE(data.params.HasParam("TITLE"));  // no text file

  CSpcData none;
  ASSERT_TRUE(ReadFolder(MakeFolder("nofreq.fid", FidBytes(2, kInt16, {1, 2}), "sw x\n1 6000\nsfrq x\n"), &none));
  EXPECT_FALSE(none.params.HasParam("SFO1"));  // the value line is missing
  EXPECT_EQ(none.params.GetValue("OFFSET").GetDouble(), 0.0);
}

TEST(VnmrRead, LongLinesAreNeverSplitIntoFalseEntries) {
  // Past a 260-byte buffer the tail of this line would read as a "sw " entry of its own.
  const std::string procpar = "comment 1\n1 \"" + std::string(300, 'x') + "\"\n" + std::string(259, 'y') +
                              "sw 1\n1 77\nsolvent 1\n1 \"" + std::string(400, 'c') + "\"\n";
  CSpcData data;
  ASSERT_TRUE(ReadFolder(MakeFolder("long.fid", FidBytes(2, kInt16, {1, 2}), procpar), &data));
  EXPECT_FALSE(data.params.HasParam("SW"));
  EXPECT_EQ(data.params.GetValue("SOLVENT").GetString(), std::string(400, 'c'));
}

TEST(VnmrRead, EmptyTextGivesEmptyTitleAndNoPointsGiveOneZeroPoint) {
  const std::string empty;
  CSpcData data;
  ASSERT_TRUE(ReadFolder(MakeFolder("zero.fid", FidBytes(0, kInt16, {}), "", &empty), &data));
  EXPECT_TRUE(data.params.HasParam("TITLE"));
  EXPECT_EQ(data.params.GetValue("TITLE").GetString(), "");
  EXPECT_EQ(data.params.GetValue("TD").GetLong(), 0);
  EXPECT_EQ(data.params.GetValue("SI").GetLong(), 1);
  ASSERT_EQ(data.fid().size(), 1u);
  EXPECT_EQ(data.fid()[0].re, 0.0f);
}

TEST(VnmrRead, DamagedFoldersFailCleanly) {
  {
    CSpcData data;
    const std::string dir = plat::joinPath(ScratchDir("vnmr"), "noprocpar.fid");
    plat::makeDirectories(dir);
    plat::writeFileAtomic(plat::joinPath(dir, "fid"), FidBytes(2, kInt16, {1, 2}));
    EXPECT_FALSE(ReadFolder(dir, &data));
    EXPECT_TRUE(data.params.empty());  // untouched
  }
  {
    // Short block: the parameters stay, the FID stays empty.
    std::string fid = FidBytes(8, kInt32, Values(8, kInt32));
    fid.pop_back();
    CSpcData data;
    EXPECT_FALSE(ReadFolder(MakeFolder("short.fid", fid, kProcpar), &data));
    EXPECT_TRUE(data.params.HasParam("SW"));
    EXPECT_TRUE(data.fid().empty());
  }
  {
    // A negative or absurd count is refused without sizing anything.
    for (std::uint32_t np : {0x80000000u, 0xFFFFFFFEu, 0x40000000u, 0x7FFFFFFFu}) {
      std::string fid = FidBytes(4, kInt16, {1, 2, 3, 4});
      PutBe32(fid, 8, np);
      CSpcData data;
      EXPECT_FALSE(ReadFolder(MakeFolder("badnp.fid", fid, kProcpar), &data)) << np;
      EXPECT_TRUE(data.fid().empty());
    }
  }
}

TEST(VnmrDetect, NeedsAFolderWithFidAndProcpar) {
  const std::string good = MakeFolder("detect.fid", FidBytes(2, kInt16, {1, 2}), kProcpar);
  CNmrConvertVNMR leaf(8);
  COrvFile folder(good);
  EXPECT_TRUE(leaf.Detect(&folder));
  EXPECT_EQ(leaf.GetSpectrumCount(&folder), 1);

  const std::string noFid = plat::joinPath(ScratchDir("vnmr"), "nofid");
  plat::makeDirectories(noFid);
  plat::writeFileAtomic(plat::joinPath(noFid, "procpar"), kProcpar);
  COrvFile a(noFid);
  EXPECT_FALSE(leaf.Detect(&a));

  COrvFile plain(plat::joinPath(good, "fid"));
  EXPECT_FALSE(leaf.Detect(&plain));
  EXPECT_EQ(leaf.GetCaps(), kSpcCapRead);
  EXPECT_EQ(leaf.GetDefaultExt(), "");
}

TEST(VnmrLoad, LoaderFindsTheFormatAndSetsUpProcessing) {
  const std::string dir = MakeFolder("load.fid", FidBytes(16, kInt32, Values(16, kInt32)), kProcpar);
  COrvFile folder(dir);
  std::string format, kinds;
  ASSERT_TRUE(SpcIdentifyFile(folder, &format, &kinds));
  EXPECT_EQ(format, "VNMR");
  CSpcData data;
  ASSERT_EQ(SpcLoadSpectrum(dir, 0, &data), SpcLoadResult::Loaded);
  CSpcProcess process(&data);
  process.InitFromParams();
  process.SelectData();
  EXPECT_EQ(process.m_dFreq, 400.0);
  EXPECT_EQ(process.m_dSW, 6000.0);
  EXPECT_EQ(process.m_nTD, 16);
  EXPECT_EQ(process.m_nSI, 16);
  EXPECT_EQ(process.m_nCur, 8);
}

TEST(VnmrTruncation, EveryPrefixOfFidAndProcparIsSafe) {
  const std::string dir = MakeFolder("sweep.fid", FidBytes(64, kFloat, Values(64, kFloat)), kProcpar, nullptr);
  const std::string fid = convert_test::ReadAll(plat::joinPath(dir, "fid"));
  convert_test::SweepPrefixes("fid", fid, [&](const std::string& path, COrvFile&, std::size_t) {
    Overwrite(plat::joinPath(dir, "fid"), convert_test::ReadAll(path));
    CSpcData data;
    EXPECT_FALSE(ReadFolder(dir, &data));
    EXPECT_TRUE(data.fid().empty());
  });
  plat::writeFileAtomic(plat::joinPath(dir, "fid"), fid);
  const std::string procpar = kProcpar;
  convert_test::SweepPrefixes("procpar", procpar, [&](const std::string& path, COrvFile&, std::size_t) {
    Overwrite(plat::joinPath(dir, "procpar"), convert_test::ReadAll(path));
    CSpcData data;
    EXPECT_TRUE(ReadFolder(dir, &data));
    EXPECT_EQ(data.fid().size(), 32u);
  });
}

}  // namespace
