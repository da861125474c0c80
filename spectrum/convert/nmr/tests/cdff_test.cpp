// CDFF files: reading the documented header and data layout, integer data, writing and
// reading back FIDs and spectra, detection and damaged files.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "../../tests/test_files.h"
#include "../../tests/truncation_sweep.h"
#include "spectrum/convert/nmr/cdff.h"
#include "spectrum/data/spcprocess.h"

namespace {

using convert_test::ReadAll;
using convert_test::WriteScratch;

void PutU32(std::string& s, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}
void PutF32(std::string& s, std::size_t at, float v) { PutU32(s, at, std::bit_cast<std::uint32_t>(v)); }
std::uint32_t GetU32(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(s[at + i]);
  return v;
}

struct Sample {
  std::uint32_t n = 5;
  std::uint32_t domain = 0;
  std::uint32_t dataType = 0;
  std::vector<std::uint32_t> values;  // as stored: imaginary, real, imaginary, real, ...
};

// A file laid out as the format documents it, byte by byte.
std::string Build(const Sample& s) {
  std::string f(1036 + s.values.size() * 4, '\0');
  PutU32(f, 0, 0x04030201);
  PutU32(f, 8, 1);
  PutU32(f, 12, s.dataType);
  PutU32(f, 384, s.n);
  PutU32(f, 388, 2);
  PutU32(f, 392, s.domain);
  PutU32(f, 400, 16);
  PutF32(f, 448, 6000.0f);
  PutF32(f, 452, 400.25f);
  PutF32(f, 456, 2500.0f);
  PutU32(f, 464, 7);
  PutF32(f, 468, 12.5f);
  PutF32(f, 472, -30.0f);
  PutF32(f, 476, 0.3f);
  PutF32(f, 816, 298.7f);
  std::memcpy(&f[820], "CDCl3", 5);
  PutF32(f, 860, 9.5f);
  PutF32(f, 864, 1.25f);
  PutU32(f, 868, 64);
  std::memcpy(&f[872], "someone", 7);
  std::memcpy(&f[944], "ethyl acetate", 13);
  PutU32(f, 1032, static_cast<std::uint32_t>(s.values.size()));
  for (std::size_t i = 0; i < s.values.size(); ++i) PutU32(f, 1036 + 4 * i, s.values[i]);
  return f;
}

std::vector<std::uint32_t> FloatPairs(std::uint32_t n) {
  std::vector<std::uint32_t> v;
  for (std::uint32_t i = 0; i < n; ++i) {
    v.push_back(std::bit_cast<std::uint32_t>(-0.5f * i));        // imaginary
    v.push_back(std::bit_cast<std::uint32_t>(100.0f + i * 3));  // real
  }
  return v;
}

bool ReadCdff(const std::string& path, CSpcData* data) {
  CNmrConvertCDFF leaf(1);
  return leaf.Read(path, data, 0);
}

TEST(CdffRead, HeaderFieldsAndPointsFollowTheLayout) {
  Sample s;
  s.values = FloatPairs(5);
  const std::string path = WriteScratch("cdff_fid.nmr", Build(s));
  CSpcData data;
  ASSERT_TRUE(ReadCdff(path, &data));
  EXPECT_EQ(data.strName, "cdff_fid.nmr");
  EXPECT_EQ(data.nDomain, 0);
  EXPECT_EQ(data.nAcqCode, 2);
  EXPECT_EQ(data.nAux, 1);
  ASSERT_EQ(data.fid().size(), 8u);  // padded to a power of two
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(data.fid()[i].re, 100.0f + i * 3) << i;
    EXPECT_EQ(data.fid()[i].im, -0.5f * i) << i;
  }
  for (std::size_t i = 5; i < 8; ++i) EXPECT_EQ(data.fid()[i].re, 0.0f);

  const CSpcParamList& p = data.params;
  const char* order[] = {"AQ_mod", "TE", "RD", "NS", "NSC", "PW", "SF", "LB", "DECIM", "SOLVENT", "OWNER",
                         "TITLE", "SW", "SFO", "OF", "OP", "PP", "PH0", "PH1", "SI", "TD"};
  ASSERT_EQ(p.size(), std::size(order));
  for (std::size_t i = 0; i < p.size(); ++i) EXPECT_EQ(p[i].name, order[i]);
  EXPECT_EQ(p.GetValue("AQ_mod").GetLong(), 2);
  EXPECT_EQ(p.GetValue("TE").GetLong(), 298);
  EXPECT_EQ(p.GetValue("NS").GetLong(), 64);
  EXPECT_EQ(p.GetValue("SOLVENT").GetString(), "CDCl3");
  EXPECT_EQ(p.GetValue("OWNER").GetString(), "someone");
  EXPECT_EQ(p.GetValue("TITLE").GetString(), "ethyl acetate");
  EXPECT_FLOAT_EQ(p.GetValue("SW").GetFloat(), 6000.0f);
  EXPECT_NEAR(p.GetValue("SFO").GetDouble(), 400.25 + 2500.0e-6, 1e-9);
  EXPECT_EQ(p.GetValue("SI").GetLong(), 5);
  EXPECT_EQ(p.GetValue("TD").GetLong(), 10);
  EXPECT_EQ(p.GetValue("OP").GetLong(), 2);
  EXPECT_EQ(p.GetValue("PP").GetLong(), 7);
  EXPECT_FLOAT_EQ(p.GetValue("PH1").GetFloat(), -30.0f);
}

TEST(CdffRead, IntegerDataConvertByValue) {
  Sample s;
  s.n = 1;
  s.dataType = 1;
  s.values = {static_cast<std::uint32_t>(-2), 7};
  const std::string path = WriteScratch("cdff_int.nmr", Build(s));
  CSpcData data;
  ASSERT_TRUE(ReadCdff(path, &data));
  ASSERT_EQ(data.fid().size(), 1u);
  EXPECT_EQ(data.fid()[0].re, 7.0f);
  EXPECT_EQ(data.fid()[0].im, -2.0f);
}

TEST(CdffRead, SpectrumDomainFillsTheSpectrum) {
  Sample s;
  s.domain = 1;
  s.values = FloatPairs(5);
  const std::string path = WriteScratch("cdff_spec.nmr", Build(s));
  CSpcData data;
  ASSERT_TRUE(ReadCdff(path, &data));
  EXPECT_TRUE(data.fid().empty());
  ASSERT_EQ(data.spectrum().size(), 8u);
  EXPECT_EQ(data.spectrum()[4].re, 112.0f);
}

TEST(CdffRead, DamagedFilesFailCleanly) {
  Sample s;
  s.values = FloatPairs(5);
  CSpcData data;
  // Fewer points than the header counts: the parameters stay, no points are made.
  std::string shortData = Build(s);
  shortData.resize(shortData.size() - 1);
  EXPECT_FALSE(ReadCdff(WriteScratch("cdff_short.nmr", shortData), &data));
  EXPECT_TRUE(data.fid().empty());
  EXPECT_EQ(data.params.GetValue("TD").GetLong(), 10);

  Sample huge = s;
  huge.n = 0xFFFFFFF0u;
  data.Reset();
  EXPECT_FALSE(ReadCdff(WriteScratch("cdff_huge.nmr", Build(huge)), &data));
  Sample badDomain = s;
  badDomain.domain = 5;
  data.Reset();
  EXPECT_FALSE(ReadCdff(WriteScratch("cdff_domain.nmr", Build(badDomain)), &data));
  EXPECT_FALSE(ReadCdff(WriteScratch("cdff_header.nmr", Build(s).substr(0, 1031)), &data));
}

TEST(CdffDetect, MagicDecides) {
  Sample s;
  s.values = FloatPairs(2);
  CNmrConvertCDFF leaf(1);
  COrvFile good(WriteScratch("cdff_detect.nmr", Build(s)));
  EXPECT_TRUE(leaf.Detect(&good));
  EXPECT_EQ(leaf.GetSpectrumCount(&good), 1);
  COrvFile tiny(WriteScratch("cdff_tiny.nmr", std::string("\x01\x02\x03", 3)));
  EXPECT_FALSE(leaf.Detect(&tiny));
  COrvFile other(WriteScratch("cdff_other.nmr", "##TITLE= not a CDFF file\n"));
  EXPECT_FALSE(leaf.Detect(&other));
  COrvFile swapped(WriteScratch("cdff_swapped.nmr", std::string("\x04\x03\x02\x01", 4)));
  EXPECT_FALSE(leaf.Detect(&swapped));
}

TEST(CdffDetect, TruncationSweep) {
  Sample s;
  s.values = FloatPairs(5);
  const std::string bytes = Build(s);
  convert_test::SweepPrefixes("cdff_sweep.nmr", bytes, [&](const std::string& path, COrvFile& file, std::size_t n) {
    CNmrConvertCDFF leaf(1);
    EXPECT_EQ(leaf.Detect(&file), n >= 4);
    CSpcData data;
    EXPECT_FALSE(convert_test::ReadSayingWhy(leaf, path, &data));
    EXPECT_TRUE(data.fid().empty());
  }, 7);
}

// ---- Writing ----

struct Written {
  CSpcData data;
  CSpcProcess process{&data};
};

void MakeRecord(Written& w, std::int32_t domain) {
  w.data.nDomain = domain;
  auto set = [&](const char* name, double v) {
    CVariant value;
    value.SetDouble(v);
    w.data.params.Append(CSpcParam{value, name, ""});
  };
  set("SF", 500.0);
  set("SW", 8000.0);
  set("OFFSET", 12.0);
  set("TD", 16);
  set("SI", 8);
  set("PH0", 30.0);
  set("PH1", 0.0);
  set("PP", 3);
  set("LB", 0.5);
  CVariant text;
  text.SetString("a title that is longer than eighty-three characters, so the writer has to cut it short ...");
  w.data.params.Append(CSpcParam{text, "TITLE", ""});
  auto& v = w.data.data[domain];
  for (int i = 0; i < 8; ++i) v.push_back({static_cast<float>(i + 1), static_cast<float>(2 * i - 5)});
  w.process.InitFromParams();
  w.process.SelectData();
}

TEST(CdffWrite, FidRoundTripKeepsPointsAndAxis) {
  Written w;
  MakeRecord(w, 0);
  const std::string path = convert_test::ScratchDir("files") + "/cdff_written_fid.nmr";
  CNmrConvertCDFF leaf(1);
  ASSERT_TRUE(leaf.Write(path, &w.process, 0, 0));
  const std::string bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 1036u + 8 * 8);
  EXPECT_EQ(GetU32(bytes, 1032), 16u);
  EXPECT_EQ(GetU32(bytes, 24), 5105u);
  EXPECT_EQ(bytes.substr(944, 84), std::string(w.data.params.GetValue("TITLE").GetString(), 0, 83) + '\0');

  CSpcData back;
  ASSERT_TRUE(ReadCdff(path, &back));
  ASSERT_EQ(back.fid().size(), 8u);
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(back.fid()[i].re, w.data.fid()[i].re);
    EXPECT_EQ(back.fid()[i].im, w.data.fid()[i].im);
  }
  EXPECT_EQ(back.params.GetValue("TD").GetLong(), 16);
  EXPECT_EQ(back.params.GetValue("SI").GetLong(), 8);
  EXPECT_EQ(back.params.GetValue("OP").GetLong(), 4);
  EXPECT_EQ(back.params.GetValue("PP").GetLong(), 3);
  EXPECT_FLOAT_EQ(back.params.GetValue("PH0").GetFloat(), 30.0f);
  EXPECT_FLOAT_EQ(back.params.GetValue("PH1").GetFloat(), 0.0f);
  EXPECT_FLOAT_EQ(back.params.GetValue("SW").GetFloat(), 8000.0f);

  // The reloaded axis is the written one: OF at OP.
  CSpcProcess reloaded(&back);
  reloaded.InitFromParams();
  for (std::int32_t i : {0, 3, 7}) EXPECT_NEAR(reloaded.PointToHertz(i), w.process.PointToHertz(i), 0.01) << i;
}

TEST(CdffWrite, SpectrumIsWrittenPhasedWithZeroPhases) {
  Written w;
  MakeRecord(w, 1);
  const std::string path = convert_test::ScratchDir("files") + "/cdff_written_spec.nmr";
  CNmrConvertCDFF leaf(1);
  ASSERT_TRUE(leaf.Write(path, &w.process, 0, 0));
  CSpcData back;
  ASSERT_TRUE(ReadCdff(path, &back));
  EXPECT_EQ(back.params.GetValue("PH0").GetFloat(), 0.0f);
  ASSERT_EQ(back.spectrum().size(), 8u);
  const double a = 30.0 * 0.017453292;
  for (std::size_t i = 0; i < 8; ++i) {
    const CSpcPoint& in = w.data.spectrum()[i];
    EXPECT_NEAR(back.spectrum()[i].re, in.re * std::cos(a) + in.im * std::sin(a), 1e-4) << i;
    EXPECT_NEAR(back.spectrum()[i].im, in.im * std::cos(a) - in.re * std::sin(a), 1e-4) << i;
  }
}

TEST(CdffWrite, BaselineCurveIsRemovedOnce) {
  Written w;
  MakeRecord(w, 1);
  w.process.m_fPH0 = 0.0f;
  w.process.m_bBaseline = 1;
  w.process.m_baseline.assign(8, 2.5f);
  const std::string path = convert_test::ScratchDir("files") + "/cdff_baseline.nmr";
  CNmrConvertCDFF leaf(1);
  ASSERT_TRUE(leaf.Write(path, &w.process, 0, 0));
  CSpcData back;
  ASSERT_TRUE(ReadCdff(path, &back));
  for (std::size_t i = 0; i < 8; ++i) EXPECT_FLOAT_EQ(back.spectrum()[i].re, w.data.spectrum()[i].re - 2.5f);
}

TEST(CdffWrite, FailedWriteLeavesNothingBehind) {
  Written w;
  MakeRecord(w, 0);
  CNmrConvertCDFF leaf(1);
  EXPECT_FALSE(leaf.Write("/nonexistent-folder/x.nmr", &w.process, 0, 0));
  EXPECT_FALSE(leaf.Write("/tmp/x.nmr", nullptr, 0, 0));
}

}  // namespace

namespace {

TEST(CdffLoader, FilesLoadThroughTheKindTable) {
  Sample s;
  s.values = FloatPairs(5);
  CSpcData data;
  std::string format;
  ASSERT_EQ(SpcLoadSpectrum(WriteScratch("cdff_loader.nmr", Build(s)), 0, &data, &format), SpcLoadResult::Loaded);
  EXPECT_EQ(format, "CDFF");
  EXPECT_EQ(data.nKind, kSpcKindNmr);
  EXPECT_EQ(data.fid().size(), 8u);
}

}  // namespace
