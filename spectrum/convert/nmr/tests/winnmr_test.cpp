// WIN-NMR data set folders: parameter files, FID and spectrum files, the display-parameter
// variant, data set choice, writing and reading back, detection and damaged files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "../../tests/test_files.h"
#include "../../tests/truncation_sweep.h"
#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "spectrum/convert/nmr/winnmr.h"
#include "spectrum/data/spcprocess.h"

namespace {

using Files = std::map<std::string, std::string>;

std::string Folder(const std::string& name, const Files& files) {
  const std::string dir = plat::joinPath(convert_test::ScratchDir("winnmr"), name);
  plat::removeTree(dir);
  plat::makeDirectories(dir);
  for (const auto& [file, bytes] : files) plat::writeFileAtomic(plat::joinPath(dir, file), bytes);
  return dir;
}

std::string Floats(const std::vector<float>& v) {
  std::string s(v.size() * 4, '\0');
  for (std::size_t i = 0; i < v.size(); ++i) {
    std::uint32_t bits;
    std::memcpy(&bits, &v[i], 4);
    for (int b = 0; b < 4; ++b) s[4 * i + b] = static_cast<char>(bits >> (8 * b));
  }
  return s;
}

std::vector<float> FloatsOf(const std::string& s) {
  std::vector<float> v(s.size() / 4);
  for (std::size_t i = 0; i < v.size(); ++i) {
    std::uint32_t bits = 0;
    for (int b = 3; b >= 0; --b) bits = bits << 8 | static_cast<unsigned char>(s[4 * i + b]);
    std::memcpy(&v[i], &bits, 4);
  }
  return v;
}

std::string Params(const std::string& labels) {
  return "##TITLE= Parameter file\n##JCAMPDX= 5.0\n##DATATYPE= Parameter Values\n" + labels + "##END=";
}

std::vector<float> Ramp(std::size_t n, float scale, float shift) {
  std::vector<float> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = scale * static_cast<float>(i) + shift;
  return v;
}

Files DataSet(const std::string& base, int td, int si) {
  return {{base + ".aqs", Params("##$TD= " + std::to_string(td) + "\n##$SW_h= 5000\n##$SFO1= 400.13\n")},
          {base + ".fqs", Params("##$SI= " + std::to_string(si) + "\n##$OFFSET= 10.5\n")},
          {base + ".fid", Floats(Ramp(static_cast<std::size_t>(td), 0.5f, -3.0f))},
          {base + ".1r", Floats(Ramp(static_cast<std::size_t>(si), 2.0f, 1.0f))},
          {base + ".1i", Floats(Ramp(static_cast<std::size_t>(si), -1.0f, 0.0f))},
          {base + ".tit", "Menthol in CDCl3\r\nsecond line"}};
}

bool ReadWinNmr(const std::string& path, CSpcData* data, SpcChooseFunc choose = nullptr) {
  CNmrConvertWinNmr leaf(7);
  leaf.m_pfnChoose = std::move(choose);
  return leaf.Read(path, data, 0);
}

TEST(WinNmrRead, FidSpectrumParametersAndTitle) {
  const std::string dir = Folder("full", DataSet("a", 1000, 64));
  CSpcData data;
  ASSERT_TRUE(ReadWinNmr(dir, &data));
  EXPECT_EQ(data.strName, "full");
  // TD 1000: 500 complex points, padded with zeros to 512.
  ASSERT_EQ(data.fid().size(), 512u);
  const std::vector<float> fid = Ramp(1000, 0.5f, -3.0f);
  for (std::size_t i = 0; i < 500; ++i) {
    EXPECT_EQ(data.fid()[i].re, fid[2 * i]);
    EXPECT_EQ(data.fid()[i].im, fid[2 * i + 1]);
  }
  for (std::size_t i = 500; i < 512; ++i) EXPECT_EQ(data.fid()[i].re, 0.0f);
  ASSERT_EQ(data.spectrum().size(), 64u);
  EXPECT_EQ(data.spectrum()[10].re, 21.0f);
  EXPECT_EQ(data.spectrum()[10].im, -10.0f);
  EXPECT_EQ(data.nDomain, 1);
  EXPECT_EQ(data.params.GetValue("PH0").GetFloat(), 0.0f);
  EXPECT_EQ(data.params.GetValue("TD").GetLong(), 1000);
  EXPECT_EQ(data.params.GetValue("SI").GetLong(), 64);
  // The ".tit" title follows the parameter files' own TITLE labels.
  std::vector<std::string> titles;
  for (const CSpcParam& p : data.params)
    if (p.name == "TITLE") titles.push_back(p.value.GetString());
  EXPECT_EQ(titles, (std::vector<std::string>{"Menthol in CDCl3"}));
}

TEST(WinNmrRead, MissingSpectrumLoadsTheFidAlone) {
  Files files = DataSet("a", 16, 8);
  files.erase("a.1r");
  CSpcData data;
  ASSERT_TRUE(ReadWinNmr(Folder("fidonly", files), &data));
  EXPECT_EQ(data.nDomain, 0);
  EXPECT_EQ(data.fid().size(), 8u);
  EXPECT_TRUE(data.spectrum().empty());
}

TEST(WinNmrRead, ShortFidKeepsWhatArrivedWithoutGrowingPastIt) {
  Files files = DataSet("a", 16, 8);
  files["a.fid"].resize(3 * 8 + 5);
  files["a.aqs"] = Params("##$TD= 200000000\n");
  files.erase("a.1r");
  CSpcData data;
  ASSERT_TRUE(ReadWinNmr(Folder("shortfid", files), &data));
  ASSERT_EQ(data.fid().size(), 4u);
  EXPECT_EQ(data.fid()[2].im, 0.5f * 5 - 3.0f);
}

TEST(WinNmrRead, DisplayParametersAreRenamedAndDerived) {
  Files files = DataSet("a", 16, 8);
  files["a.dis"] = Params("##SFREQ= 400.13\n##O1= 1000\n##OFFSET= 3000\n##SPWIDTH= 4000\n##TDSIZE= 16\n##OPERATOR= me\n");
  files["a.1r"] = Floats(Ramp(32, 1.0f, 0.0f));  // SI comes from the size of ".1r"
  CSpcData data;
  ASSERT_TRUE(ReadWinNmr(Folder("dis", files), &data));
  const CSpcParamList& p = data.params;
  EXPECT_FALSE(p.HasParam("SFREQ"));
  EXPECT_EQ(p.GetValue("OWNER").GetString(), "me");
  EXPECT_NEAR(p.GetValue("SFO1").GetDouble(), 400.131, 1e-9);
  EXPECT_NEAR(p.GetValue("OFFSET").GetDouble(), (3000.0 + 4000.0) / 400.131, 1e-9);
  EXPECT_EQ(p.GetValue("OP").GetLong(), 0);
  EXPECT_EQ(p.GetValue("SI").GetLong(), 32);
  EXPECT_FALSE(p.HasParam("SW_h"));  // ".aqs" is not read
  EXPECT_EQ(data.spectrum().size(), 32u);
  EXPECT_EQ(data.fid().size(), 8u);
}

TEST(WinNmrRead, SeveralDataSetsAreOfferedByFullBase) {
  Files files = DataSet("a", 16, 8);
  Files second = DataSet("b", 32, 4);
  files["b.aqs"] = second["b.aqs"];
  files["b.fid"] = second["b.fid"];
  const std::string dir = Folder("choice", files);
  std::vector<std::string> offered;
  CSpcData data;
  ASSERT_TRUE(ReadWinNmr(dir, &data, [&](const std::vector<std::string>& c) {
    offered = c;
    return 1;
  }));
  EXPECT_EQ(offered, (std::vector<std::string>{plat::joinPath(dir, "a"), plat::joinPath(dir, "b")}));
  EXPECT_EQ(data.fid().size(), 16u);
  data.Reset();
  EXPECT_FALSE(ReadWinNmr(dir, &data, [](const std::vector<std::string>&) { return 2; }));
}

TEST(WinNmrRead, FolderWithoutParametersFails) {
  CSpcData data;
  EXPECT_FALSE(ReadWinNmr(Folder("empty", {{"a.fid", "12345678"}}), &data));
  Files broken = DataSet("a", 16, 8);
  broken["a.aqs"] = "no labels here";
  broken["a.fqs"] = "";
  EXPECT_FALSE(ReadWinNmr(Folder("broken", broken), &data));
}

TEST(WinNmrDetect, NeedsBothParameterFiles) {
  CNmrConvertWinNmr leaf(7);
  COrvFile full(Folder("detect", DataSet("x", 16, 8)));
  EXPECT_TRUE(leaf.Detect(&full));
  COrvFile half(Folder("detecthalf", {{"x.aqs", Params("")}}));
  EXPECT_FALSE(leaf.Detect(&half));
  COrvFile file(convert_test::WriteScratch("x.aqs", Params("")));
  EXPECT_FALSE(leaf.Detect(&file));
}

TEST(WinNmrRead, TruncatedParameterAndPointFilesNeverCrash) {
  const Files files = DataSet("a", 16, 8);
  for (const char* name : {"a.aqs", "a.fid", "a.1r"}) {
    const std::string dir = Folder("sweep", files);
    const std::string target = plat::joinPath(dir, name);
    const std::string bytes = files.at(name);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
      plat::writeFileAtomic(target, bytes.substr(0, n));
      CSpcData data;
      ReadWinNmr(dir, &data);
      EXPECT_LE(data.fid().size(), 8u);
      EXPECT_LE(data.spectrum().size(), 8u);
    }
  }
}

// ---- Writing ----

struct Record {
  CSpcData data;
  CSpcProcess process{&data};
};

void MakeRecord(Record& r) {
  auto set = [&](const char* name, const char* text) {
    CVariant v;
    v.SetString(text);
    v.ParseText();
    r.data.params.Append(CSpcParam{v, name, ""});
  };
  set("SFO1", "500");
  set("SF", "500");
  set("SW_h", "6000");
  set("OFFSET", "10");
  set("TD", "16");
  set("SI", "8");
  set("PH0", "60");
  set("PH1", "-20");
  set("TITLE", "written title");
  set("OWNER", "writer");
  set("NS", "32");
  r.data.nDomain = 1;
  for (int i = 0; i < 8; ++i) {
    r.data.fid().push_back({static_cast<float>(i - 2), static_cast<float>(3 * i)});
    r.data.spectrum().push_back({static_cast<float>(i * i), static_cast<float>(5 - i)});
  }
  r.process.InitFromParams();
  r.process.SelectData();
}

TEST(WinNmrWrite, WritesPhasedValuesAndReadsBack) {
  Record r;
  MakeRecord(r);
  const std::string dir = plat::joinPath(convert_test::ScratchDir("winnmr"), "written");
  plat::removeTree(dir);
  CNmrConvertWinNmr leaf(7);
  ASSERT_TRUE(leaf.Write(dir, &r.process, 0, 0));

  std::string bytes;
  plat::readFile(plat::joinPath(dir, "001001.aqs"), &bytes);
  EXPECT_EQ(bytes.rfind("##TITLE= Parameter file, KEDRUS        Version 2.11\n", 0), 0u);
  EXPECT_NE(bytes.find("##$SW_h= 6000.000000\n"), std::string::npos);
  EXPECT_NE(bytes.find("##$SW= 12.000000\n"), std::string::npos);
  EXPECT_NE(bytes.find("##$NS= 32\n"), std::string::npos);
  EXPECT_NE(bytes.find("##$YMAX_a= 21.000000\n"), std::string::npos);
  EXPECT_NE(bytes.find("##$YMIN_a= -2.000000\n"), std::string::npos);
  EXPECT_EQ(bytes.substr(bytes.size() - 7), "\n##END=");

  // Independent phase: angle (ph0 + (i - pivot) ph1 / n) degrees.
  plat::readFile(plat::joinPath(dir, "001001.1r"), &bytes);
  const std::vector<float> re = FloatsOf(bytes);
  plat::readFile(plat::joinPath(dir, "001001.1i"), &bytes);
  const std::vector<float> im = FloatsOf(bytes);
  ASSERT_EQ(re.size(), 8u);
  ASSERT_EQ(im.size(), 8u);
  for (std::size_t i = 0; i < 8; ++i) {
    const double a = (60.0 + i * -20.0 / 8) * 0.017453292;
    const CSpcPoint& p = r.data.spectrum()[i];
    EXPECT_NEAR(re[i], p.re * std::cos(a) + p.im * std::sin(a), 1e-4) << i;
    EXPECT_NEAR(im[i], p.im * std::cos(a) - p.re * std::sin(a), 1e-4) << i;
  }

  CSpcData back;
  ASSERT_TRUE(ReadWinNmr(dir, &back));
  EXPECT_EQ(back.params.GetValue("PH0").GetFloat(), 0.0f);
  EXPECT_EQ(back.params.GetValue("TITLE").GetString(), "written title");
  ASSERT_EQ(back.spectrum().size(), 8u);
  ASSERT_EQ(back.fid().size(), 8u);
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(back.spectrum()[i].re, re[i]);
    EXPECT_EQ(back.fid()[i].im, r.data.fid()[i].im);
  }
  CSpcProcess reloaded(&back);
  back.nKind = 0;
  reloaded.InitFromParams();
  EXPECT_NEAR(reloaded.m_dSW, 6000.0, 1e-3);
  EXPECT_NEAR(reloaded.PointToPpm(0), r.process.PointToPpm(0), 1e-4);
  EXPECT_NEAR(reloaded.PointToPpm(5), r.process.PointToPpm(5), 1e-4);
  EXPECT_EQ(reloaded.m_nAqMode, r.process.m_nAqMode);
}

TEST(WinNmrWrite, FidOnlySaveRemovesAnOlderSpectrum) {
  Record r;
  MakeRecord(r);
  const std::string dir = plat::joinPath(convert_test::ScratchDir("winnmr"), "resaved");
  plat::removeTree(dir);
  CNmrConvertWinNmr leaf(7);
  ASSERT_TRUE(leaf.Write(dir, &r.process, 0, 0));
  r.data.spectrum().clear();
  r.data.nDomain = 0;
  r.process.SelectData();
  ASSERT_TRUE(leaf.Write(dir, &r.process, 0, 0));
  EXPECT_FALSE(plat::fileExists(plat::joinPath(dir, "001001.1r")));
  CSpcData back;
  ASSERT_TRUE(ReadWinNmr(dir, &back));
  EXPECT_EQ(back.nDomain, 0);
  EXPECT_TRUE(back.spectrum().empty());
}

TEST(WinNmrLoader, FolderLoadsThroughTheKindTable) {
  const std::string dir = Folder("loader", DataSet("a", 16, 8));
  CSpcData data;
  std::string format;
  ASSERT_EQ(SpcLoadSpectrum(dir, 0, &data, &format), SpcLoadResult::Loaded);
  EXPECT_EQ(format, "WIN-NMR");
  EXPECT_EQ(data.nKind, kSpcKindNmr);
  EXPECT_EQ(data.spectrum().size(), 8u);
}

TEST(WinNmrWrite, BaseLevelIsRemovedWhenThereIsNoCurve) {
  Record r;
  MakeRecord(r);
  r.process.m_fPH0 = r.process.m_fPH1 = 0.0f;
  r.process.m_bBaseline = 1;
  const float level = r.process.GetBaseLevel();
  const std::string dir = plat::joinPath(convert_test::ScratchDir("winnmr"), "baselevel");
  CNmrConvertWinNmr leaf(7);
  ASSERT_TRUE(leaf.Write(dir, &r.process, 0, 0));
  std::string bytes;
  plat::readFile(plat::joinPath(dir, "001001.1r"), &bytes);
  const std::vector<float> re = FloatsOf(bytes);
  ASSERT_EQ(re.size(), 8u);
  for (std::size_t i = 0; i < 8; ++i) EXPECT_NEAR(re[i], r.data.spectrum()[i].re - level, 1e-4);
}

TEST(WinNmrWrite, UnwritableFolderFails) {
  Record r;
  MakeRecord(r);
  CNmrConvertWinNmr leaf(7);
  const std::string file = convert_test::WriteScratch("winnmr_plain_file", "x");
  EXPECT_FALSE(leaf.Write(plat::joinPath(file, "sub"), &r.process, 0, 0));
}

}  // namespace
