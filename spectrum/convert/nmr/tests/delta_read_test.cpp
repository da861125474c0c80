// The Delta header and data reader: header keys, both byte orders of the data, FID and
// spectrum, detection, damaged pairs of files and the loader's view.
#include <gtest/gtest.h>

#include <bit>
#include <fstream>
#include <string>
#include <vector>

#include "../../tests/test_files.h"
#include "../../tests/truncation_sweep.h"
#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "spectrum/convert/nmr/delta.h"
#include "spectrum/data/spcprocess.h"

namespace {

using convert_test::ScratchDir;

std::string Doubles(const std::vector<double>& values, bool bigEndian) {
  std::string s;
  for (double v : values) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    for (int b = 0; b < 8; ++b) s += static_cast<char>(bits >> (bigEndian ? 56 - 8 * b : 8 * b));
  }
  return s;
}

std::vector<double> Values(std::size_t count) {
  std::vector<double> v;
  for (std::size_t i = 0; i < count; ++i) v.push_back((i % 2 ? -1.0 : 1.0) * (i * 0.75 + 1.0e-3 * i * i));
  return v;
}

std::string Header(const std::string& points, const std::string& endian, bool ppm) {
  return "filename  sample.jdf\n"
         "x_sweep  6000.5\n"
         "x_points " + points + "\n"
         "x_freq\t400.13\n"
         "temp 25.0\n"
         "solvent \"CDCl3\"\n"
         "instrument \"ECX 400\"\n"
         "author \"R. Smith\"\n"
         "x_domain \"Proton\"\n"
         "title \"ethyl benzene\"\n"
         "endian \"" + endian + "\"\r\n"
         "x_start 12.5" + (ppm ? "[ppm]" : "[s]") + "\n"
         "x_offset 5.5\n"
         "creation \"12-05-2001\"\n"
         "X_SWEEP 1\n";
}

// Writes name.hdr and name.bin (extensions as given) into their own folder; returns the
// header's path.
std::string WritePair(const std::string& name, const std::string& header, const std::string& data,
                      const std::string& headerExt = ".hdr", const std::string& dataExt = ".bin") {
  const std::string dir = plat::joinPath(ScratchDir("delta"), name);
  plat::removeTree(dir);
  plat::makeDirectories(dir);
  plat::writeFileAtomic(plat::joinPath(dir, name + dataExt), data);
  const std::string path = plat::joinPath(dir, name + headerExt);
  plat::writeFileAtomic(path, header);
  return path;
}

bool ReadDelta(const std::string& path, CSpcData* data) {
  CNmrConvertDelta leaf(10);
  return convert_test::ReadSayingWhy(leaf, path, data);
}

struct Order {
  const char* endian;
  bool big;
};

class DeltaByteOrders : public ::testing::TestWithParam<Order> {};

TEST_P(DeltaByteOrders, PointsParametersAndPadding) {
  const Order o = GetParam();
  const std::vector<double> v = Values(2000);
  const std::string path = WritePair(std::string("order") + (o.big ? "B" : "L"), Header("1000", o.endian, false),
                                     Doubles(v, o.big));
  CSpcData data;
  ASSERT_TRUE(ReadDelta(path, &data));
  ASSERT_EQ(data.fid().size(), 1024u);
  for (std::size_t i = 0; i < 1000; ++i) {
    ASSERT_EQ(data.fid()[i].re, static_cast<float>(v[2 * i + 1])) << i;
    ASSERT_EQ(data.fid()[i].im, static_cast<float>(v[2 * i])) << i;
  }
  for (std::size_t i = 1000; i < 1024; ++i) ASSERT_TRUE(data.fid()[i].re == 0.0f && data.fid()[i].im == 0.0f);
  EXPECT_TRUE(data.spectrum().empty());
  EXPECT_EQ(data.nDomain, 0);
}

// "BIG" anywhere in the text selects byte reversal; lower case does not.
INSTANTIATE_TEST_SUITE_P(All, DeltaByteOrders,
                         ::testing::Values(Order{"LITTLE_ENDIAN", false}, Order{"BIG_ENDIAN", true},
                                           Order{"xBIGx", true}, Order{"big_endian", false}));

TEST(DeltaRead, HeaderKeys) {
  const std::string path = WritePair("keys", Header("1000.9", "LITTLE_ENDIAN", true), Doubles(Values(2000), false));
  CSpcData data;
  ASSERT_TRUE(ReadDelta(path, &data));
  const CSpcParamList& p = data.params;
  EXPECT_EQ(data.nState, 1);
  EXPECT_EQ(data.nAcqCode, 1);
  EXPECT_EQ(data.strName, "keys");
  EXPECT_EQ(p[0].name, "AQ_mod");
  EXPECT_EQ(p.GetValue("SW").GetDouble(), 6000.5);
  EXPECT_EQ(p.Find("SW"), 1);  // X_SWEEP (capitals) adds nothing
  EXPECT_EQ(p.GetValue("SI").GetLong(), 1000);  // truncated
  EXPECT_EQ(p.GetValue("TD").GetLong(), 2000);
  EXPECT_EQ(p.GetValue("OP").GetLong(), 500);
  EXPECT_EQ(p.GetValue("SF").GetDouble(), 400.13);
  EXPECT_EQ(p.GetValue("SFO1").GetDouble(), 400.13);
  EXPECT_EQ(p.GetValue("TE").GetLong(), 298);
  EXPECT_EQ(p.GetValue("SOLVENT").GetString(), "CDCl3");
  EXPECT_EQ(p.GetValue("INSTRUM").GetString(), "ECX 400");
  EXPECT_EQ(p.GetValue("OWNER").GetString(), "R. Smith");
  EXPECT_EQ(p.GetValue("NUCLEUS").GetString(), "Proton");
  EXPECT_EQ(p.GetValue("TITLE").GetString(), "ethyl benzene");
  EXPECT_EQ(p.GetValue("OFFSET").GetDouble(), 5.5);
  EXPECT_EQ(p.GetValue("DATE").GetDate().date, 37023.0);  // 12 May 2001
  // "[ppm]" on the x_start line: a spectrum.
  EXPECT_EQ(data.nDomain, 1);
  EXPECT_EQ(data.spectrum().size(), 1024u);
  EXPECT_TRUE(data.fid().empty());
}

TEST(DeltaRead, LineScanning) {
  const DeltaHeaderLine a = DeltaHeaderLine::Scan("x_sweep \t 5000[Hz]");
  EXPECT_EQ(a.key, "x_sweep");
  ASSERT_TRUE(a.number);
  EXPECT_EQ(*a.number, 5000.0);
  const DeltaHeaderLine b = DeltaHeaderLine::Scan("title");
  EXPECT_EQ(b.key, "title");
  EXPECT_FALSE(b.number);
  EXPECT_FALSE(b.text);
  const DeltaHeaderLine c = DeltaHeaderLine::Scan("endian BIG_ENDIAN");  // unquoted: to the line's end
  ASSERT_TRUE(c.text);
  EXPECT_EQ(*c.text, "BIG_ENDIAN");
  EXPECT_TRUE(DeltaHeaderLine::Scan(" x_sweep 1").key.empty());
  // A value past any 260-byte buffer stays whole.
  const std::string longTitle = "title \"" + std::string(500, 't') + "\"";
  EXPECT_EQ(*DeltaHeaderLine::Scan(longTitle).text, std::string(500, 't'));
}

TEST(DeltaRead, OnlyTheLastFourCharactersNameTheData) {
  // The folder's name ends in ".hdr" too: only the file's extension is replaced.
  const std::string dir = plat::joinPath(ScratchDir("delta"), "run.hdr");
  plat::makeDirectories(dir);
  plat::writeFileAtomic(plat::joinPath(dir, "s.bin"), Doubles(Values(8), false));
  const std::string path = plat::joinPath(dir, "s.hdr");
  plat::writeFileAtomic(path, Header("4", "LITTLE", false));
  CSpcData data;
  ASSERT_TRUE(ReadDelta(path, &data));
  EXPECT_EQ(data.fid().size(), 4u);
  EXPECT_EQ(nmrvendor::DataPathOf("/a/b.hdr/c.HDR", ".bin"), "/a/b.hdr/c.bin");
  // The data file is found whatever the case of its name.
  for (const auto& [hdr, bin] : {std::pair{".HDR", ".BIN"}, std::pair{".hdr", ".Bin"}}) {
    CSpcData other;
    EXPECT_TRUE(ReadDelta(WritePair("cased", Header("4", "LITTLE", false), Doubles(Values(8), false), hdr, bin), &other)) << bin;
  }
}

TEST(DeltaRead, DamagedPairsFailCleanly) {
  {
    CSpcData data;
    EXPECT_FALSE(ReadDelta(plat::joinPath(ScratchDir("delta"), "missing.hdr"), &data));
    EXPECT_TRUE(data.params.empty());
  }
  {
    std::string bin = Doubles(Values(2000), false);
    bin.pop_back();
    CSpcData data;
    EXPECT_FALSE(ReadDelta(WritePair("short", Header("1000", "LITTLE", false), bin), &data));
    EXPECT_TRUE(data.params.HasParam("SW"));
    EXPECT_TRUE(data.fid().empty() && data.spectrum().empty());
  }
  {
    // No x_points: nothing to read. Absurd or negative counts are not taken.
    for (const char* points : {"", "-4", "1e12", "1073741824", "nan"}) {
      CSpcData data;
      EXPECT_FALSE(ReadDelta(WritePair("nopoints", Header(points, "LITTLE", false), Doubles(Values(8), false)), &data))
          << points;
      EXPECT_FALSE(data.params.HasParam("TD")) << points;
      EXPECT_TRUE(data.fid().empty());
    }
  }
}

TEST(DeltaDetect, ExtensionAndLeadingWord) {
  CNmrConvertDelta leaf(10);
  auto detect = [&](const std::string& name, const std::string& bytes) {
    COrvFile f(convert_test::WriteScratch(name, bytes));
    return leaf.Detect(&f);
  };
  EXPECT_TRUE(detect("a.hdr", "filename x\n"));
  EXPECT_TRUE(detect("B.HDR", "filename x\n"));
  EXPECT_FALSE(detect("c.hdr", "filename x"));   // 10 bytes
  EXPECT_FALSE(detect("d.hdr", "Filename x\n"));  // content compares case-sensitively
  EXPECT_FALSE(detect("e.txt", "filename x\n"));
  COrvFile four(".hdr");
  EXPECT_FALSE(leaf.Detect(&four));
  EXPECT_EQ(leaf.GetDefaultExt(), ".hdr");
  EXPECT_EQ(leaf.GetCaps(), kSpcCapRead);
}

TEST(DeltaLoad, LoaderAndProcessing) {
  const std::string path = WritePair("load", Header("16", "LITTLE", false), Doubles(Values(32), false));
  CSpcData data;
  std::string format;
  ASSERT_EQ(SpcLoadSpectrum(path, 0, &data, &format), SpcLoadResult::Loaded);
  COrvFile f(path);
  std::string name, kinds;
  ASSERT_TRUE(SpcIdentifyFile(f, &name, &kinds));
  EXPECT_EQ(name, "Delta");
  CSpcProcess process(&data);
  process.InitFromParams();
  process.SelectData();
  EXPECT_EQ(process.m_dFreq, 400.13);
  EXPECT_EQ(process.m_dSW, 6000.5);
  EXPECT_EQ(process.m_nSI, 16);
  EXPECT_EQ(process.m_nTD, 32);
  EXPECT_EQ(process.m_nCur, 16);
}

TEST(DeltaTruncation, EveryPrefixOfHeaderAndDataIsSafe) {
  const std::string header = Header("16", "BIG", false);
  const std::string bin = Doubles(Values(32), true);
  const std::string dir = ScratchDir("sweep");
  convert_test::SweepPrefixes("t.hdr", header, [&](const std::string& path, COrvFile& file, std::size_t length) {
    std::ofstream(plat::joinPath(dir, "t.bin"), std::ios::binary | std::ios::trunc) << bin;
    CNmrConvertDelta leaf(10);
    EXPECT_EQ(leaf.Detect(&file), length >= 11);
    CSpcData data;
    // A cut x_points line names fewer points; never more than the whole header does.
    if (ReadDelta(path, &data)) {
      EXPECT_LE(data.fid().size(), 16u);
    }
  });
  const std::string headerPath = plat::joinPath(dir, "u.hdr");
  plat::writeFileAtomic(headerPath, header);
  convert_test::SweepPrefixes("u.bin", bin, [&](const std::string&, COrvFile&, std::size_t) {
    CSpcData data;
    EXPECT_FALSE(ReadDelta(headerPath, &data));
    EXPECT_TRUE(data.fid().empty());
  });
}

}  // namespace
