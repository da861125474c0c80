// ACD ".esp" files: detection, NMR and mass blocks, damaged input.
#include <gtest/gtest.h>
#include <utime.h>

#include <cstring>
#include <ctime>

#include "platform/base/file.h"
#include "platform/oleauto/oleauto.h"
#include "spectrum/convert/acd.h"
#include "spectrum/data/spcprocess.h"
#include "test_files.h"
#include "truncation_sweep.h"

using namespace convert_test;

namespace {

std::string Le(std::uint32_t v, int width) {
  std::string s;
  for (int i = 0; i < width; ++i) s += static_cast<char>(v >> (8 * i));
  return s;
}
std::string LeFloat(float f) {
  std::uint32_t b;
  std::memcpy(&b, &f, 4);
  return Le(b, 4);
}
// A 16-bit length and the text.
std::string Str(std::string_view s) { return Le(static_cast<std::uint32_t>(s.size()), 2) + std::string(s); }
std::string Item(std::uint8_t tag, const std::string& value) {
  return std::string(1, static_cast<char>(tag)) + static_cast<char>(value.size()) + value;
}
const std::string kMagic = Str("(C) ACD 1994");
const std::string kEndOfList(2, '\0');

struct NmrBlock {
  std::int16_t flags = 2;
  std::int32_t count = 4;
  std::string swItem = Item(3, LeFloat(5000.0f));
  std::vector<std::int16_t> reals = {1, 2, 3, 4};
  std::vector<std::int16_t> imags = {-10, -20, -30, -40};

  std::string Bytes() const {
    std::string s = kMagic + Str("XX.ESP.YY") + std::string(10, 'h');
    s += Item(1, Le(static_cast<std::uint16_t>(flags), 2)) + Item(2, Le(static_cast<std::uint32_t>(count), 4));
    s += swItem + Item(4, LeFloat(-250.0f)) + Item(5, LeFloat(400.5f));
    s += Item(99, "ignored") + Item(10, std::string("Title") + '\0' + "junk") + Item(17, "DMSO") + kEndOfList;
    s += std::string(4, 'x');
    for (std::int16_t v : reals) s += Le(static_cast<std::uint16_t>(v), 2);
    s += std::string(5, 'y');
    for (std::int16_t v : imags) s += Le(static_cast<std::uint16_t>(v), 2);
    return s;
  }
};

struct Peak {
  float mass, intensity;
};
std::string MassBlock(const std::vector<Peak>& peaks) {
  std::string s = kMagic + Str(".MASSSP.") + std::string(10, 'h');
  s += Item(26, "text") + Item(2, Le(static_cast<std::uint16_t>(peaks.size()), 2)) + kEndOfList;
  for (const Peak& p : peaks) s += LeFloat(p.mass) + LeFloat(p.intensity);
  return s;
}

bool DetectAs(const std::string& path, AcdMode mode) {
  COrvFile file(path);
  return CACD::Detect(&file, mode);
}

TEST(Acd, DetectsByExtensionAndBlockName) {
  const std::string nmr = NmrBlock().Bytes();
  for (const char* name : {"sample.esp", "SAMPLE.ESP"}) {
    const std::string path = WriteScratch(name, nmr);
    EXPECT_TRUE(DetectAs(path, AcdMode::Nmr)) << name;
    EXPECT_FALSE(DetectAs(path, AcdMode::Mass)) << name;
  }
  EXPECT_FALSE(DetectAs(WriteScratch("sample.spc", nmr), AcdMode::Nmr));

  const std::string mass = MassBlock({{10.0f, 1.0f}});
  EXPECT_TRUE(DetectAs(WriteScratch("mass.esp", mass), AcdMode::Mass));
  EXPECT_FALSE(DetectAs(WriteScratch("mass.esp", mass), AcdMode::Nmr));
  // A leading ".MASSSP." string (its length has a 0 byte) marks a mass file too.
  const std::string led = Str("lead.MASSSP.") + mass;
  EXPECT_TRUE(DetectAs(WriteScratch("led.esp", led), AcdMode::Mass));
  EXPECT_FALSE(DetectAs(WriteScratch("led.esp", led), AcdMode::Nmr));

  EXPECT_FALSE(DetectAs(WriteScratch("text.esp", "just some text\n"), AcdMode::Nmr));
  EXPECT_FALSE(DetectAs(WriteScratch("empty.esp", ""), AcdMode::Mass));
}

TEST(Acd, SpectrumIsReadInReverseFileOrder) {
  const std::string path = WriteScratch("spectrum.esp", NmrBlock().Bytes());
  const std::time_t stamp = 1000000000;  // 9 September 2001, UTC
  utimbuf times{stamp, stamp};
  ASSERT_EQ(utime(path.c_str(), &times), 0);

  CNmrConvertACD conv(13);
  CSpcData data;
  ASSERT_TRUE(conv.Read(path, &data, 0));
  EXPECT_EQ(data.nDomain, 1);
  ASSERT_EQ(data.spectrum().size(), 4u);
  const float re[] = {4, 3, 2, 1}, im[] = {-40, -30, -20, -10};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(data.spectrum()[i].re, re[i]) << i;
    EXPECT_EQ(data.spectrum()[i].im, im[i]) << i;
  }
  const CSpcParamList& p = data.params;
  EXPECT_FALSE(p.HasParam("AQ_mod"));
  EXPECT_EQ(p.GetValue("TD").GetLong(), 8);
  EXPECT_EQ(p.GetValue("SI").GetLong(), 4);
  EXPECT_EQ(p.GetValue("SW").GetFloat(), 5000.0f);
  EXPECT_EQ(p.GetValue("SFO1").GetFloat(), 400.5f);
  EXPECT_EQ(p.GetValue("OF").GetFloat(), 0.5f * 5000.0f - 250.0f);
  EXPECT_EQ(p.GetValue("PP").GetLong(), 0);
  EXPECT_EQ(p.GetValue("TITLE").GetString(), "Title");
  EXPECT_EQ(p.GetValue("SOLVENT").GetString(), "DMSO");
  EXPECT_EQ(data.strName, "spectrum.esp");

  // DATE is the file's time on the user's clock.
  plat::LocalTime local;
  ASSERT_TRUE(plat::toLocalTime(stamp, &local));
  double want = 0.0;
  ASSERT_TRUE(plat::ole::dateFromParts({local.year, local.month, local.day, local.hour, local.minute, local.second},
                                       &want));
  EXPECT_EQ(p.GetValue("DATE").GetDate().date, want);
}

TEST(Acd, FidFlagsGiveTheAcquisitionMode) {
  struct Case {
    std::int16_t flags;
    std::int32_t aqMode;
  };
  for (const Case& c : {Case{0x11, 2}, Case{0x01, 1}, Case{0x81, 2}}) {
    NmrBlock block;
    block.flags = c.flags;
    CSpcData data;
    ASSERT_TRUE(CACD::Read(WriteScratch("fid.esp", block.Bytes()), &data, 0, AcdMode::Nmr));
    EXPECT_EQ(data.nDomain, 0);
    EXPECT_EQ(data.params.GetValue("AQ_mod").GetLong(), c.aqMode);
    EXPECT_EQ(data.nAcqCode, c.aqMode);
    ASSERT_EQ(data.fid().size(), 4u);
    EXPECT_EQ(data.fid()[0].re, 1.0f);  // file order
    EXPECT_EQ(data.fid()[3].im, -40.0f);
  }
}

TEST(Acd, TagsOfTheWrongSizeAreSkipped) {
  NmrBlock block;
  block.swItem = Item(3, Le(7, 2));
  CSpcData data;
  ASSERT_TRUE(CACD::Read(WriteScratch("badsw.esp", block.Bytes()), &data, 0, AcdMode::Nmr));
  EXPECT_TRUE(data.params.HasParam("SW"));
  EXPECT_TRUE(data.params.GetValue("SW").IsEmpty());
  EXPECT_EQ(data.params.GetValue("OF").GetFloat(), -250.0f);
  ASSERT_EQ(data.spectrum().size(), 4u);
}

TEST(Acd, LargeCountAndShortData) {
  NmrBlock block;
  block.count = 1024;
  block.reals.assign(1024, 5);
  block.imags.assign(10, 6);  // the rest of the imaginary parts is missing
  CSpcData data;
  ASSERT_TRUE(CACD::Read(WriteScratch("big.esp", block.Bytes()), &data, 0, AcdMode::Nmr));
  EXPECT_EQ(data.params.GetValue("SI").GetLong(), 1024);
  EXPECT_EQ(data.params.GetValue("TD").GetLong(), 2048);
  ASSERT_EQ(data.spectrum().size(), 1024u);
  EXPECT_EQ(data.spectrum()[1023].im, 6.0f);  // file point 0
  EXPECT_EQ(data.spectrum()[0].im, 0.0f);
  EXPECT_EQ(data.spectrum()[0].re, 5.0f);

  // Counts the file cannot hold fail instead of making room for them.
  for (std::int32_t count : {-1, 1 << 20, 0x7FFFFFFF}) {
    NmrBlock bad;
    bad.count = count;
    CSpcData d;
    EXPECT_FALSE(CACD::Read(WriteScratch("huge.esp", bad.Bytes()), &d, 0, AcdMode::Nmr)) << count;
  }
}

TEST(Acd, OtherBlocksAreSkippedWhenAnotherFollows) {
  const std::string highRes = kMagic + Str(".HRSP.") + std::string(8, 'h');
  CSpcData data;
  ASSERT_TRUE(CACD::Read(WriteScratch("hr.esp", highRes + NmrBlock().Bytes()), &data, 0, AcdMode::Nmr));
  EXPECT_EQ(data.spectrum().size(), 4u);
  CSpcData none;
  EXPECT_FALSE(CACD::Read(WriteScratch("hr.esp", highRes), &none, 0, AcdMode::Nmr));
  EXPECT_FALSE(CACD::Read(WriteScratch("nmronly.esp", NmrBlock().Bytes()), &none, 0, AcdMode::Mass));
}

TEST(Acd, MassPeaksSortedWithTotalIonCurrent) {
  const std::string path =
      WriteScratch("peaks.esp", Str("x.MASSSP.") + MassBlock({{91.0f, 50.0f}, {43.5f, 20.0f}, {120.0f, 5.5f}}));
  CMassConvertACD conv(7);
  CSpcData data;
  ASSERT_TRUE(conv.Read(path, &data, 0));
  ASSERT_EQ(data.scans.size(), 1u);
  const CMassScan& scan = data.scans[0];
  ASSERT_EQ(scan.peaks.size(), 3u);
  EXPECT_EQ(scan.peaks[0].im, 43.5f);
  EXPECT_EQ(scan.peaks[0].re, 20.0f);
  EXPECT_EQ(scan.peaks[2].im, 120.0f);
  EXPECT_EQ(scan.fIonCurrent, 75.5f);
  EXPECT_EQ(data.nDomain, 1);
  EXPECT_EQ(data.strName, "peaks.esp");

  CSpcData empty;
  ASSERT_TRUE(conv.Read(WriteScratch("nopeaks.esp", MassBlock({})), &empty, 0));
  ASSERT_EQ(empty.scans.size(), 1u);
  EXPECT_TRUE(empty.scans[0].peaks.empty());
  EXPECT_EQ(empty.scans[0].fIonCurrent, 0.0f);
}

TEST(Acd, LoadsThroughTheKindTable) {
  const std::string path = WriteScratch("table.esp", NmrBlock().Bytes());
  CSpcData data;
  std::string format;
  ASSERT_EQ(SpcLoadSpectrum(path, 0, &data, &format), SpcLoadResult::Loaded);
  EXPECT_EQ(format, "ACD");
  EXPECT_EQ(data.nKind, kSpcKindNmr);
  CSpcProcess process(&data);
  process.InitFromParams();
  EXPECT_EQ(process.m_nSI, 4);
  EXPECT_EQ(process.m_dSW, 5000.0);
  EXPECT_NEAR(process.m_dFreq, 400.5, 1e-4);
  EXPECT_EQ(process.m_nCur, 4);

  const std::string massPath = WriteScratch("table_mass.esp", MassBlock({{1.0f, 2.0f}}));
  CSpcData mass;
  ASSERT_EQ(SpcLoadSpectrum(massPath, 0, &mass, &format), SpcLoadResult::Loaded);
  EXPECT_EQ(mass.nKind, kSpcKindMass);
}

TEST(Acd, TruncatedFilesNeverCrash) {
  CNmrConvertACD nmr(13);
  CMassConvertACD mass(7);
  const auto check = [&](const std::string& path, COrvFile& file, std::size_t) {
    nmr.Detect(&file);
    mass.Detect(&file);
    CSpcData a, b;
    ReadSayingWhy(nmr, path, &a);
    ReadSayingWhy(mass, path, &b);
  };
  NmrBlock block;
  block.flags = 0x11;
  SweepPrefixes("nmr.esp", block.Bytes(), check);
  SweepPrefixes("mass.esp", Str(".MASSSP.") + MassBlock({{1.0f, 2.0f}, {3.0f, 4.0f}}), check);
}

}  // namespace
