// Felix FID files: detection by the text mark, points, parameters, padding and damaged headers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../../tests/test_files.h"
#include "../../tests/truncation_sweep.h"
#include "spectrum/convert/nmr/felix.h"

namespace {

using convert_test::WriteScratch;

void PutU32(std::string& s, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}
void PutF32(std::string& s, std::size_t at, float v) {
  std::uint32_t bits;
  std::memcpy(&bits, &v, 4);
  PutU32(s, at, bits);
}

std::int32_t PairValue(std::size_t k) { return static_cast<std::int32_t>(k % 2 ? -1000 * k : 77 * k + 3); }

std::string Build(std::int32_t n, std::size_t pairs) {
  std::string f(1536 + pairs * 8, '\0');
  std::memcpy(&f[0], "Felix for Windows", 17);
  PutU32(f, 34, static_cast<std::uint32_t>(n));
  PutF32(f, 38, 4500.0f);
  PutF32(f, 46, 300.13f);
  for (std::size_t k = 0; k < 2 * pairs; ++k) PutU32(f, 1536 + 4 * k, static_cast<std::uint32_t>(PairValue(k)));
  return f;
}

bool ReadFelix(const std::string& path, CSpcData* data) {
  CNmrConvertFelixW leaf(9);
  return leaf.Read(path, data, 0);
}

TEST(FelixDetect, MarkAndMinimumSize) {
  CNmrConvertFelixW leaf(9);
  std::string head = Build(0, 0).substr(0, 64);
  COrvFile exact(WriteScratch("felix64.001", head));
  EXPECT_TRUE(leaf.Detect(&exact));
  COrvFile shorter(WriteScratch("felix63.001", head.substr(0, 63)));
  EXPECT_FALSE(leaf.Detect(&shorter));
  std::string upper = head;
  std::memcpy(&upper[0], "FELIX FOR WINDOWS", 17);
  COrvFile capitals(WriteScratch("felixcap.001", upper));
  EXPECT_FALSE(leaf.Detect(&capitals));
  EXPECT_EQ(leaf.GetCaps(), 1u);
  EXPECT_EQ(leaf.GetDefaultExt(), ".001");
}

TEST(FelixRead, PointsParametersAndPadding) {
  const std::string path = WriteScratch("felix_fid.001", Build(1000, 1000));
  CSpcData data;
  ASSERT_TRUE(ReadFelix(path, &data));
  EXPECT_EQ(data.strName, "felix_fid");
  EXPECT_EQ(data.nState, 1);
  EXPECT_EQ(data.nDomain, 0);
  ASSERT_EQ(data.fid().size(), 1024u);
  for (std::size_t i = 0; i < 1000; ++i) {
    ASSERT_EQ(data.fid()[i].re, static_cast<float>(PairValue(2 * i))) << i;
    ASSERT_EQ(data.fid()[i].im, static_cast<float>(PairValue(2 * i + 1))) << i;
  }
  for (std::size_t i = 1000; i < 1024; ++i) EXPECT_EQ(data.fid()[i].re, 0.0f);

  const CSpcParamList& p = data.params;
  const char* order[] = {"DATE", "AQ_mod", "SI", "TD", "SFO", "SW", "SF"};
  ASSERT_EQ(p.size(), std::size(order));
  for (std::size_t i = 0; i < p.size(); ++i) EXPECT_EQ(p[i].name, order[i]);
  EXPECT_EQ(p.GetValue("DATE").GetType(), plat::ole::VT_DATE);
  EXPECT_EQ(p.GetValue("SI").GetLong(), 1000);
  EXPECT_EQ(p.GetValue("TD").GetLong(), 2000);
  EXPECT_FLOAT_EQ(p.GetValue("SW").GetFloat(), 4500.0f);
  EXPECT_FLOAT_EQ(p.GetValue("SF").GetFloat(), 300.13f);
}

TEST(FelixRead, SmallCounts) {
  CSpcData data;
  ASSERT_TRUE(ReadFelix(WriteScratch("felix0.001", Build(0, 0)), &data));
  ASSERT_EQ(data.fid().size(), 1u);
  EXPECT_EQ(data.fid()[0].re, 0.0f);

  std::string one = Build(1, 1);
  PutU32(one, 1536, 3);
  PutU32(one, 1540, static_cast<std::uint32_t>(-4));
  data.Reset();
  ASSERT_TRUE(ReadFelix(WriteScratch("felix1.001", one), &data));
  ASSERT_EQ(data.fid().size(), 1u);
  EXPECT_EQ(data.fid()[0].re, 3.0f);
  EXPECT_EQ(data.fid()[0].im, -4.0f);
}

TEST(FelixRead, DamagedHeadersFail) {
  CSpcData data;
  EXPECT_FALSE(ReadFelix(WriteScratch("felix_neg.001", Build(-5, 0)), &data));
  EXPECT_TRUE(data.fid().empty());
  data.Reset();
  EXPECT_FALSE(ReadFelix(WriteScratch("felix_big.001", Build(0x7FFFFFFF, 1)), &data));
  data.Reset();
  EXPECT_FALSE(ReadFelix(WriteScratch("felix_short.001", Build(10, 9)), &data));
  EXPECT_TRUE(data.fid().empty());
  EXPECT_EQ(data.params.GetValue("TD").GetLong(), 20);
  data.Reset();
  EXPECT_FALSE(ReadFelix(WriteScratch("felix_49.001", Build(0, 0).substr(0, 49)), &data));
}

TEST(FelixRead, TruncationSweep) {
  const std::string bytes = Build(12, 12);
  convert_test::SweepPrefixes("felix_sweep.001", bytes, [&](const std::string& path, COrvFile& file, std::size_t n) {
    CNmrConvertFelixW leaf(9);
    EXPECT_EQ(leaf.Detect(&file), n >= 64);
    CSpcData data;
    EXPECT_FALSE(convert_test::ReadSayingWhy(leaf, path, &data));
    EXPECT_TRUE(data.fid().empty());
  }, 3);
}

}  // namespace

namespace {

TEST(FelixLoader, FilesLoadThroughTheKindTable) {
  CSpcData data;
  std::string format;
  ASSERT_EQ(SpcLoadSpectrum(WriteScratch("felix_loader.001", Build(4, 4)), 0, &data, &format), SpcLoadResult::Loaded);
  EXPECT_EQ(format, "Felix");
  EXPECT_EQ(data.fid().size(), 4u);
}

}  // namespace
