// The VXR reader: key records of both blocks, their types and names, the data pairs, the
// file date, detection and damaged files.
#include <gtest/gtest.h>

#include <sys/time.h>

#include <bit>
#include <ctime>
#include <string>
#include <vector>

#include "../../tests/test_files.h"
#include "../../tests/truncation_sweep.h"
#include "spectrum/convert/nmr/vxr.h"

namespace {

std::string Le32(std::uint32_t v) {
  std::string s;
  for (int b = 0; b < 4; ++b) s += static_cast<char>(v >> (8 * b));
  return s;
}

std::string Record(const std::string& name3, char type, const std::string& value4) {
  return name3 + type + value4;
}

struct VxrFile {
  std::vector<std::string> first, second;
  std::vector<std::int32_t> data;
  bool endFirst = true, endSecond = true;

  std::string Bytes() const {
    std::string s = "KEYSNMR";
    s.resize(512, '\0');
    for (const std::string& r : first) s += r;
    if (endFirst) s += "END";
    s.resize(1536, '\0');
    for (const std::string& r : second) s += r;
    if (endSecond) s += "END";
    s.resize(2560, '\0');
    for (std::int32_t v : data) s += Le32(static_cast<std::uint32_t>(v));
    return s;
  }
};

std::vector<std::int32_t> Ints(std::size_t count) {
  std::vector<std::int32_t> v;
  for (std::size_t i = 0; i < count; ++i) v.push_back(static_cast<std::int32_t>((i % 2 ? -1 : 1) * (i * 70001 + 3)));
  return v;
}

VxrFile Sample(std::int32_t td) {
  VxrFile f;
  f.first = {Record("SW ", 'R', Le32(std::bit_cast<std::uint32_t>(6000.0f))),
             Record("SFO", 'R', Le32(std::bit_cast<std::uint32_t>(1.0f))),
             Record("TD ", 'L', Le32(static_cast<std::uint32_t>(td))),
             Record("NS ", 'I', std::string("\x01\x00\x02\x00", 4)),
             Record("XX ", 'Z', Le32(7))};
  f.second = {Record("DE ", 'B', Le32(static_cast<std::uint32_t>(-5))), Record("TD ", 'L', Le32(99))};
  f.data = Ints(static_cast<std::size_t>(td));
  return f;
}

bool ReadVxr(const std::string& path, CSpcData* data) {
  CNmrConvertVarian leaf(5);
  return leaf.Read(path, data, 0);
}

TEST(VxrRead, KeyRecordsDataAndPadding) {
  const std::string path = convert_test::WriteScratch("sample.vxr", Sample(2000).Bytes());
  CSpcData data;
  ASSERT_TRUE(ReadVxr(path, &data));
  const CSpcParamList& p = data.params;
  EXPECT_EQ(data.strName, "sample");
  EXPECT_EQ(data.nState, 1);
  EXPECT_EQ(data.nDomain, 0);
  EXPECT_EQ(data.nAcqCode, 1);
  EXPECT_EQ(p.GetValue("AQ_mod").GetLong(), 1);
  EXPECT_EQ(p.GetValue("SW").GetType(), plat::ole::VT_R4);
  EXPECT_EQ(p.GetValue("SW").GetDouble(), 6000.0);
  EXPECT_EQ(p.GetValue("SFO").GetDouble(), 1.0);  // three-letter names stay whole
  EXPECT_EQ(p.GetValue("NS").GetType(), plat::ole::VT_I2);
  EXPECT_EQ(p.GetValue("NS").GetLong(), 1);  // the low 16 bits
  EXPECT_EQ(p.GetValue("DE").GetLong(), -5);
  EXPECT_FALSE(p.HasParam("XX"));  // unknown type
  EXPECT_EQ(p.GetValue("TD").GetLong(), 2000);  // the first TD counts

  const std::vector<std::int32_t> v = Ints(2000);
  ASSERT_EQ(data.fid().size(), 1024u);
  for (std::size_t i = 0; i < 1000; ++i) {
    ASSERT_EQ(data.fid()[i].re, static_cast<float>(v[2 * i + 1])) << i;
    ASSERT_EQ(data.fid()[i].im, static_cast<float>(v[2 * i])) << i;
  }
  for (std::size_t i = 1000; i < 1024; ++i) ASSERT_EQ(data.fid()[i].re, 0.0f);
}

TEST(VxrRead, DateIsTheFilesLocalModificationTime) {
  const std::string path = convert_test::WriteScratch("dated.vxr", Sample(4).Bytes());
  std::tm local{};
  local.tm_year = 101;
  local.tm_mon = 4;
  local.tm_mday = 12;
  local.tm_hour = 14;
  local.tm_min = 30;
  local.tm_isdst = -1;
  const std::time_t when = std::mktime(&local);
  const timeval times[2] = {{when, 0}, {when, 0}};
  ASSERT_EQ(::utimes(path.c_str(), times), 0);
  CSpcData data;
  ASSERT_TRUE(ReadVxr(path, &data));
  ASSERT_EQ(data.params[0].name, "DATE");
  EXPECT_NEAR(data.params.GetValue("DATE").GetDate().date, 37023.0 + (14 * 60 + 30) / 1440.0, 1e-9);
}

TEST(VxrRead, UnterminatedBlocksAndMissingCounts) {
  {
    // The second block runs to the end of the file without END: its records still count.
    VxrFile f = Sample(4);
    f.endSecond = false;
    f.data.clear();
    std::string bytes = f.Bytes().substr(0, 1536 + 16);
    CSpcData data;
    EXPECT_FALSE(ReadVxr(convert_test::WriteScratch("open.vxr", bytes), &data));  // no data
    EXPECT_EQ(data.params.GetValue("DE").GetLong(), -5);
    EXPECT_TRUE(data.fid().empty());
  }
  {
    VxrFile f = Sample(8);
    f.first.erase(f.first.begin() + 2);
    f.second.pop_back();  // no TD anywhere
    CSpcData data;
    EXPECT_FALSE(ReadVxr(convert_test::WriteScratch("notd.vxr", f.Bytes()), &data));
    EXPECT_TRUE(data.fid().empty());
  }
  for (std::int32_t td : {-2, 0x7FFFFFFF, 1 << 29}) {
    VxrFile f = Sample(4);
    f.first[2] = Record("TD ", 'L', Le32(static_cast<std::uint32_t>(td)));
    CSpcData data;
    EXPECT_FALSE(ReadVxr(convert_test::WriteScratch("badtd.vxr", f.Bytes()), &data)) << td;
    EXPECT_TRUE(data.fid().empty());
  }
}

TEST(VxrRead, KeyBlockResult) {
  CSpcParamList params;
  const std::string block = Record("AB ", 'L', Le32(1)) + "END";
  EXPECT_TRUE(ReadVxrKeys(block, 0, &params));
  EXPECT_FALSE(ReadVxrKeys(block.substr(0, 8), 0, &params));
  EXPECT_FALSE(ReadVxrKeys(block, 100, &params));  // offset past the end
  EXPECT_EQ(params.size(), 2u);
}

TEST(VxrDetect, MarkerAndSize) {
  CNmrConvertVarian leaf(5);
  auto detect = [&](const std::string& bytes) {
    COrvFile f(convert_test::WriteScratch("detect.vxr", bytes));
    return leaf.Detect(&f);
  };
  EXPECT_TRUE(detect("KEY" + std::string(62, 'z')));
  EXPECT_FALSE(detect("KEYSNMR" + std::string(57, '\0')));  // 64 bytes
  EXPECT_FALSE(detect("KEX" + std::string(100, '\0')));
  EXPECT_EQ(leaf.GetCaps(), kSpcCapRead);
}

TEST(VxrTruncation, EveryPrefixIsSafe) {
  const std::string bytes = Sample(64).Bytes();
  convert_test::SweepPrefixes("t.vxr", bytes, [](const std::string& path, COrvFile& file, std::size_t) {
    CNmrConvertVarian leaf(5);
    leaf.Detect(&file);
    CSpcData data;
    EXPECT_FALSE(convert_test::ReadSayingWhy(leaf, path, &data));
    EXPECT_TRUE(data.fid().empty());
  }, 16);
}

}  // namespace
