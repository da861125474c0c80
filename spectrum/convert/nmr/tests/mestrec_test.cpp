// MestRe-C files: reading FIDs and spectra from the documented block, acquisition flags,
// writing and reading back, the trailing font record, detection and damaged files.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "../../tests/test_files.h"
#include "../../tests/truncation_sweep.h"
#include "spectrum/convert/nmr/mestrec.h"
#include "spectrum/data/spcprocess.h"

namespace {

using convert_test::ReadAll;
using convert_test::WriteScratch;

void PutU32(std::string& s, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}
void PutF64(std::string& s, std::size_t at, double v) {
  const auto bits = std::bit_cast<std::uint64_t>(v);
  PutU32(s, at, static_cast<std::uint32_t>(bits));
  PutU32(s, at + 4, static_cast<std::uint32_t>(bits >> 32));
}
std::uint32_t GetU32(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(s[at + i]);
  return v;
}

struct Sample {
  std::uint32_t n = 1000;
  bool fid = true;
  std::uint32_t complex = 1;
  std::uint32_t decim = 0;
};

float ValueAt(std::size_t k) { return static_cast<float>(k % 2 ? -0.25 * k : 3.0 * k + 1); }

std::string Build(const Sample& s, std::size_t values) {
  std::string f(1536 + values * 4, '\0');
  std::memcpy(&f[0], "MRC\x02", 4);
  PutU32(f, 1024 + 4, s.n);
  PutF64(f, 1024 + 8, 5000.0);
  PutF64(f, 1024 + 16, 400.13);
  PutU32(f, 1024 + 40, 12);
  PutU32(f, 1024 + 44, s.decim);
  PutF64(f, 1024 + 48, 100.0);
  PutU32(f, 1024 + 56, s.complex);
  PutU32(f, 1024 + 60, s.fid ? 1 : 0);
  for (std::size_t k = 0; k < values; ++k) PutU32(f, 1536 + 4 * k, std::bit_cast<std::uint32_t>(ValueAt(k)));
  return f;
}

bool ReadMrc(const std::string& path, CSpcData* data) {
  CNmrConvertMestReC leaf(14);
  return leaf.Read(path, data, 0);
}

TEST(MestReCRead, FidFromTheBlock) {
  const std::string path = WriteScratch("mrc_fid.mrc", Build({}, 1000));
  CSpcData data;
  ASSERT_TRUE(ReadMrc(path, &data));
  EXPECT_EQ(data.strName, "mrc_fid");
  EXPECT_EQ(data.nDomain, 0);
  EXPECT_EQ(data.nAux, 14);
  ASSERT_EQ(data.fid().size(), 512u);
  for (std::size_t i = 0; i < 500; ++i) {
    EXPECT_EQ(data.fid()[i].re, ValueAt(2 * i));
    EXPECT_EQ(data.fid()[i].im, ValueAt(2 * i + 1));
  }
  EXPECT_EQ(data.fid()[511].re, 0.0f);
  const CSpcParamList& p = data.params;
  const char* order[] = {"SF", "SFO1", "SW", "OF", "PP", "TD", "SI", "AQ_mod", "DECIM", "DSPFVS"};
  ASSERT_EQ(p.size(), std::size(order));
  for (std::size_t i = 0; i < p.size(); ++i) EXPECT_EQ(p[i].name, order[i]);
  EXPECT_DOUBLE_EQ(p.GetValue("SF").GetDouble(), 400.13);
  EXPECT_DOUBLE_EQ(p.GetValue("SW").GetDouble(), 5000.0);
  EXPECT_DOUBLE_EQ(p.GetValue("OF").GetDouble(), 5000.0 - 5000.0 / 1000 * 100.0);
  EXPECT_EQ(p.GetValue("TD").GetLong(), 1000);
  EXPECT_EQ(p.GetValue("SI").GetLong(), 512);
  EXPECT_EQ(p.GetValue("AQ_mod").GetLong(), 1);
  EXPECT_EQ(p.GetValue("DSPFVS").GetLong(), 12);
  EXPECT_EQ(data.nAcqCode, 1);
}

TEST(MestReCRead, SpectrumReadsTheValuesTheHeaderGives) {
  // 1000 values and nothing after them: the N values load, padded to 512 points.
  Sample s;
  s.fid = false;
  const std::string path = WriteScratch("mrc_spec.mrc", Build(s, 1000));
  CSpcData data;
  ASSERT_TRUE(ReadMrc(path, &data));
  EXPECT_EQ(data.nDomain, 1);
  ASSERT_EQ(data.spectrum().size(), 512u);
  EXPECT_EQ(data.spectrum()[499].im, ValueAt(999));
  EXPECT_EQ(data.spectrum()[500].re, 0.0f);
}

TEST(MestReCRead, AcquisitionFlags) {
  struct Case {
    std::uint32_t complex, decim;
    std::int32_t acqCode, aqMod;
  };
  for (const Case c : {Case{1, 0, 1, 1}, Case{1, 16, 1, 3}, Case{0, 16, 2, 2}}) {
    Sample s;
    s.complex = c.complex;
    s.decim = c.decim;
    CSpcData data;
    ASSERT_TRUE(ReadMrc(WriteScratch("mrc_flags.mrc", Build(s, 1000)), &data));
    EXPECT_EQ(data.nAcqCode, c.acqCode);
    EXPECT_EQ(data.params.GetValue("AQ_mod").GetLong(), c.aqMod);
  }
}

TEST(MestReCRead, DamagedFilesFail) {
  CSpcData data;
  EXPECT_FALSE(ReadMrc(WriteScratch("mrc_short.mrc", Build({}, 999)), &data));
  EXPECT_TRUE(data.fid().empty());
  Sample one;
  one.n = 1;
  data.Reset();
  EXPECT_FALSE(ReadMrc(WriteScratch("mrc_one.mrc", Build(one, 4)), &data));
  Sample huge;
  huge.n = 0xFFFFFFFFu;
  data.Reset();
  EXPECT_FALSE(ReadMrc(WriteScratch("mrc_huge.mrc", Build(huge, 4)), &data));
  EXPECT_TRUE(data.fid().empty());
}

TEST(MestReCDetect, MagicAndSize) {
  CNmrConvertMestReC leaf(14);
  COrvFile good(WriteScratch("mrc_detect.mrc", Build({}, 2)));
  EXPECT_TRUE(leaf.Detect(&good));
  COrvFile four(WriteScratch("mrc_four.mrc", "MRC\x02"));
  EXPECT_FALSE(leaf.Detect(&four));
  COrvFile other(WriteScratch("mrc_other.mrc", "MRC\x03 and more"));
  EXPECT_FALSE(leaf.Detect(&other));
}

TEST(MestReCDetect, TruncationSweep) {
  Sample s;
  s.n = 20;
  const std::string bytes = Build(s, 20);
  convert_test::SweepPrefixes("mrc_sweep.mrc", bytes, [&](const std::string& path, COrvFile& file, std::size_t n) {
    CNmrConvertMestReC leaf(14);
    EXPECT_EQ(leaf.Detect(&file), n >= 5);
    CSpcData data;
    EXPECT_FALSE(convert_test::ReadSayingWhy(leaf, path, &data));
    EXPECT_TRUE(data.fid().empty());
  }, 5);
}

// ---- Writing ----

struct Record {
  CSpcData data;
  CSpcProcess process{&data};
};

void MakeRecord(Record& r, std::int32_t domain, std::int32_t points) {
  r.data.nDomain = domain;
  auto set = [&](const char* name, double v) {
    CVariant value;
    value.SetDouble(v);
    r.data.params.Append(CSpcParam{value, name, ""});
  };
  set("SF", 600.0);
  set("SW", 7200.0);
  set("OFFSET", 11.0);
  set("TD", 2 * points);
  set("SI", points);
  set("PH0", 45.0);  // a spectrum is written phased, a FID as acquired
  set("DECIM", 24);
  for (int i = 0; i < points; ++i)
    r.data.data[domain].push_back({static_cast<float>(i * 1.5 - 7), static_cast<float>(100 - i)});
  r.process.InitFromParams();
  r.process.SelectData();
}

TEST(MestReCWrite, SpectrumRoundTripKeepsValuesAndOffset) {
  Record r;
  MakeRecord(r, 1, 300);
  const std::string path = convert_test::ScratchDir("files") + "/mrc_written.mrc";
  CNmrConvertMestReC leaf(14);
  ASSERT_TRUE(leaf.Write(path, &r.process, 0, 0));

  const std::string bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 1536u + 600 * 4 + 76);
  EXPECT_EQ(bytes.substr(0, 4), "MRC\x02");
  EXPECT_EQ(GetU32(bytes, 512), 0x00FFFFFFu);
  EXPECT_EQ(GetU32(bytes, 1024), 65612u);
  EXPECT_EQ(GetU32(bytes, 1024 + 4), 600u);
  EXPECT_EQ(GetU32(bytes, 1024 + 108), 600u);
  const std::size_t font = 1536 + 600 * 4;
  EXPECT_EQ(GetU32(bytes, font), 14u);
  EXPECT_EQ(bytes.substr(font + 28, 16), std::string("Times New Roman\0", 16));
  EXPECT_EQ(GetU32(bytes, font + 68), 0xFFFFFFFFu);
  EXPECT_EQ(GetU32(bytes, font + 72), 100u);

  CSpcData back;
  ASSERT_TRUE(ReadMrc(path, &back));
  ASSERT_EQ(back.spectrum().size(), 512u);
  // The file keeps no phases: the reload shows the phased spectrum the user saw.
  for (std::size_t i = 0; i < 300; ++i) {
    const auto k = static_cast<std::int32_t>(i);
    ASSERT_EQ(back.spectrum()[i].re, static_cast<float>(r.process.GetReal(k))) << i;
    ASSERT_EQ(back.spectrum()[i].im, static_cast<float>(r.process.GetImag(k))) << i;
  }
  EXPECT_NE(back.spectrum()[10].re, r.data.spectrum()[10].re);
  EXPECT_NEAR(back.params.GetValue("OF").GetDouble(), r.process.PointToHertz(0), 1e-6);
  EXPECT_DOUBLE_EQ(back.params.GetValue("SW").GetDouble(), 7200.0);
  EXPECT_EQ(back.params.GetValue("DECIM").GetLong(), 24);
}

TEST(MestReCWrite, FidRoundTrip) {
  Record r;
  MakeRecord(r, 0, 64);
  const std::string path = convert_test::ScratchDir("files") + "/mrc_written_fid.mrc";
  CNmrConvertMestReC leaf(14);
  ASSERT_TRUE(leaf.Write(path, &r.process, 0, 0));
  CSpcData back;
  ASSERT_TRUE(ReadMrc(path, &back));
  EXPECT_EQ(back.nDomain, 0);
  ASSERT_EQ(back.fid().size(), 64u);
  for (std::size_t i = 0; i < 64; ++i) EXPECT_EQ(back.fid()[i].im, r.data.fid()[i].im);
  EXPECT_EQ(back.params.GetValue("TD").GetLong(), 128);
}

TEST(MestReCWrite, EmptyRecordIsRefused) {
  Record r;
  r.process.InitFromParams();
  CNmrConvertMestReC leaf(14);
  EXPECT_FALSE(leaf.Write(convert_test::ScratchDir("files") + "/mrc_empty.mrc", &r.process, 0, 0));
}

}  // namespace

namespace {

TEST(MestReCLoader, FilesLoadThroughTheKindTable) {
  CSpcData data;
  std::string format;
  ASSERT_EQ(SpcLoadSpectrum(WriteScratch("mrc_loader.mrc", Build({}, 1000)), 0, &data, &format), SpcLoadResult::Loaded);
  EXPECT_EQ(format, "MestRe-C");
  EXPECT_EQ(data.fid().size(), 512u);
}

}  // namespace
