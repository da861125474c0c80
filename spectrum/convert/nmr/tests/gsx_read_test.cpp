// The GSX reader: prefix-matched parameter lines, the integer data without padding, FID and
// spectrum, detection by extension and damaged pairs of files.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "../../tests/test_files.h"
#include "../../tests/truncation_sweep.h"
#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "spectrum/convert/nmr/gsx.h"

namespace {

using convert_test::ScratchDir;

std::string Ints(const std::vector<std::int32_t>& values) {
  std::string s;
  for (std::int32_t v : values)
    for (int b = 0; b < 4; ++b) s += static_cast<char>(static_cast<std::uint32_t>(v) >> (8 * b));
  return s;
}

std::vector<std::int32_t> Values(std::size_t count) {
  std::vector<std::int32_t> v;
  for (std::size_t i = 0; i < count; ++i) v.push_back(static_cast<std::int32_t>((i % 2 ? -1 : 1) * (i * 1000003 + 11)));
  return v;
}

std::string Params(const std::string& points, bool ppm) {
  return "FREQUENCY 6000.5\n"
         "POINT " + points + "\n"
         "OBFRQ\t400.13\n"
         "TEMP. 25\n"
         "SLVNT CDCl3\n"
         "instrument GSX 270\n"
         "OBNUC 1H\n"
         "COMNT  ethyl  benzene, 5 mg\r\n"
         "x_start 12.5" + (ppm ? "[ppm]" : "") + "\n"
         "x_offset 5.5\n"
         "creation 12-05-2001\n"
         "freq 1\n";
}

std::string WritePair(const std::string& name, const std::string& params, const std::string& data,
                      const std::string& paramExt = ".gxp", const std::string& dataExt = ".gxd") {
  const std::string dir = plat::joinPath(ScratchDir("gsx"), name);
  plat::removeTree(dir);
  plat::makeDirectories(dir);
  plat::writeFileAtomic(plat::joinPath(dir, name + dataExt), data);
  const std::string path = plat::joinPath(dir, name + paramExt);
  plat::writeFileAtomic(path, params);
  return path;
}

bool ReadGsx(const std::string& path, CSpcData* data) {
  CNmrConvertGSX leaf(11);
  return convert_test::ReadSayingWhy(leaf, path, data);
}

TEST(GsxRead, ParametersAndUnpaddedFid) {
  const std::vector<std::int32_t> v = Values(2000);
  const std::string path = WritePair("fid", Params("2000", false), Ints(v));
  CSpcData data;
  ASSERT_TRUE(ReadGsx(path, &data));
  const CSpcParamList& p = data.params;
  EXPECT_EQ(data.strName, "fid");
  EXPECT_EQ(data.nState, 1);
  EXPECT_EQ(data.nAcqCode, 1);
  EXPECT_EQ(data.nDomain, 0);
  EXPECT_EQ(p[0].name, "AQ_mod");
  EXPECT_EQ(p.GetValue("SW").GetDouble(), 6000.5);  // "FREQUENCY" starts with "FREQU"
  EXPECT_EQ(p.Find("SW"), 1);  // "freq" (lower case) adds nothing
  EXPECT_EQ(p.GetValue("SI").GetLong(), 1000);
  EXPECT_EQ(p.GetValue("TD").GetLong(), 2000);
  EXPECT_EQ(p.GetValue("OP").GetLong(), 500);
  EXPECT_EQ(p.GetValue("SFO1").GetDouble(), 400.13);
  EXPECT_EQ(p.GetValue("SF").GetDouble(), 400.13);
  EXPECT_EQ(p.GetValue("TE").GetLong(), 298);
  EXPECT_EQ(p.GetValue("SOLVENT").GetString(), "CDCl3");
  EXPECT_EQ(p.GetValue("INSTRUM").GetString(), "GSX 270");
  EXPECT_EQ(p.GetValue("NUCLEUS").GetString(), "1H");
  EXPECT_EQ(p.GetValue("TITLE").GetString(), "ethyl  benzene, 5 mg");
  EXPECT_EQ(p.GetValue("OFFSET").GetDouble(), 5.5);
  EXPECT_EQ(p.GetValue("DATE").GetDate().date, 37023.0);  // 12 May 2001

  ASSERT_EQ(data.fid().size(), 1000u);  // no padding to a power of two
  for (std::size_t i = 0; i < 1000; ++i) {
    ASSERT_EQ(data.fid()[i].re, static_cast<float>(v[2 * i + 1])) << i;
    ASSERT_EQ(data.fid()[i].im, static_cast<float>(v[2 * i])) << i;
  }
}

TEST(GsxRead, SpectrumByPpmStart) {
  const std::string path = WritePair("sample", Params("2048", true), Ints(Values(2048)));
  CSpcData data;
  ASSERT_TRUE(ReadGsx(path, &data));
  EXPECT_EQ(data.nDomain, 1);
  EXPECT_EQ(data.params.GetValue("SI").GetLong(), 1024);
  EXPECT_EQ(data.params.GetValue("OP").GetLong(), 512);
  EXPECT_EQ(data.spectrum().size(), 1024u);
  // The data file is found whatever the case of its name.
  CSpcData cased;
  EXPECT_TRUE(ReadGsx(WritePair("cased", Params("2048", true), Ints(Values(2048)), ".GXP", ".GXD"), &cased));
  EXPECT_TRUE(data.fid().empty());
}

TEST(GsxRead, LineScanning) {
  const GsxParamLine a = GsxParamLine::Scan("COMNT\t  two  words ");
  ASSERT_TRUE(a.text);
  EXPECT_EQ(*a.text, "two  words ");
  EXPECT_FALSE(a.number);
  const GsxParamLine b = GsxParamLine::Scan("POINT");
  EXPECT_FALSE(b.number);
  EXPECT_FALSE(b.text);
  const std::string longComment = "COMNT " + std::string(600, 'c');
  EXPECT_EQ(*GsxParamLine::Scan(longComment).text, std::string(600, 'c'));
}

TEST(GsxRead, DamagedPairsFailCleanly) {
  {
    CSpcData data;
    EXPECT_FALSE(ReadGsx(plat::joinPath(ScratchDir("gsx"), "missing.gxp"), &data));
    EXPECT_TRUE(data.params.empty());
  }
  {
    std::string gxd = Ints(Values(16));
    gxd.pop_back();
    CSpcData data;
    EXPECT_FALSE(ReadGsx(WritePair("short", Params("16", false), gxd), &data));
    EXPECT_TRUE(data.params.HasParam("TD"));
    EXPECT_TRUE(data.fid().empty());
  }
  for (const char* points : {"", "-16", "4e9", "536870914"}) {
    CSpcData data;
    EXPECT_FALSE(ReadGsx(WritePair("badpoint", Params(points, false), Ints(Values(16))), &data)) << points;
    EXPECT_FALSE(data.params.HasParam("TD")) << points;
    EXPECT_TRUE(data.fid().empty());
  }
}

TEST(GsxDetect, ExtensionOnly) {
  CNmrConvertGSX leaf(11);
  for (const char* name : {"a.gxp", "B.GXP", "c.GxP"}) {
    COrvFile f(convert_test::WriteScratch(name, "anything"));
    EXPECT_TRUE(leaf.Detect(&f)) << name;
  }
  COrvFile four(".gxp"), other(convert_test::WriteScratch("a.gxd", "POINT 2\n"));
  EXPECT_FALSE(leaf.Detect(&four));
  EXPECT_FALSE(leaf.Detect(&other));
  EXPECT_EQ(leaf.GetDefaultExt(), ".gxp");
  EXPECT_EQ(leaf.GetCaps(), kSpcCapRead);
}

TEST(GsxTruncation, EveryPrefixOfParametersAndDataIsSafe) {
  const std::string params = Params("16", false);
  const std::string gxd = Ints(Values(16));
  const std::string dir = ScratchDir("sweep");
  convert_test::SweepPrefixes("t.gxp", params, [&](const std::string& path, COrvFile&, std::size_t) {
    std::ofstream(plat::joinPath(dir, "t.gxd"), std::ios::binary | std::ios::trunc) << gxd;
    CSpcData data;
    if (ReadGsx(path, &data)) {
      EXPECT_LE(data.fid().size(), 8u);
    }
  });
  const std::string paramPath = plat::joinPath(dir, "u.gxp");
  plat::writeFileAtomic(paramPath, params);
  convert_test::SweepPrefixes("u.gxd", gxd, [&](const std::string&, COrvFile&, std::size_t) {
    CSpcData data;
    EXPECT_FALSE(ReadGsx(paramPath, &data));
    EXPECT_TRUE(data.fid().empty());
  });
}

}  // namespace
