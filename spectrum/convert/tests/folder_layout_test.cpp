// Hand-made spectrum folders: point counts, range values, detection, several spectra in one
// folder and replacing one of them.
#include <gtest/gtest.h>

#include "folder_test_util.h"

using namespace folder_test;

namespace {

std::string Points(int n, float scale = 1.0f) {
  std::string bytes;
  for (int i = 0; i < n; ++i) {
    AppendFloat(bytes, scale * (i + 1));
    AppendFloat(bytes, -scale * i);
  }
  return bytes;
}

bool ReadNmr(const std::string& path, std::int32_t index, CSpcData* data) {
  CNmrConvertBase leaf;
  return leaf.Read(path, data, index);
}

}  // namespace

TEST(FolderLayout, NmrCountsComeFromTdAndSiPaddedToPowersOfTwo) {
  const std::string path = FreshFolder("counts");
  WriteBytes(plat::joinPath(path, "parameters"), "[CONTROL_NMR_0]\r\nTD=1001\r\nSI=1000\r\n");
  WriteBytes(plat::joinPath(path, "fid.0"), Points(600));  // more than TD/2: the rest is ignored
  WriteBytes(plat::joinPath(path, "spectrum.0"), Points(1000, 2.0f));
  CSpcData data;
  ASSERT_TRUE(ReadNmr(path, 0, &data));
  ASSERT_EQ(data.fid().size(), 512u);
  EXPECT_EQ(data.fid()[499].re, 500.0f);
  EXPECT_EQ(data.fid()[499].im, -499.0f);
  EXPECT_EQ(data.fid()[500].re, 0.0f);  // TD 1001 reads 500 points
  ASSERT_EQ(data.spectrum().size(), 1024u);
  EXPECT_EQ(data.spectrum()[999].re, 2000.0f);
  EXPECT_EQ(data.spectrum()[1000].re, 0.0f);
  EXPECT_EQ(data.nDomain, 1);
  EXPECT_EQ(data.nState, 1);
}

TEST(FolderLayout, MissingPointFilesAreSkipped) {
  const std::string path = FreshFolder("nofiles");
  WriteBytes(plat::joinPath(path, "parameters"), "[CONTROL_NMR_0]\r\nTD=1024\r\nSI=512\r\n");
  CSpcData data;
  ASSERT_TRUE(ReadNmr(path, 0, &data));
  EXPECT_TRUE(data.fid().empty());
  EXPECT_TRUE(data.spectrum().empty());
  EXPECT_EQ(data.params.GetValue("TD").GetLong(), 1024);
}

TEST(FolderLayout, RangeValues) {
  const std::string path = FreshFolder("ranges");
  WriteBytes(plat::joinPath(path, "parameters"),
             "[CONTROL_NMR_0]\r\nA=(1..3) 2.5 .5 7\r\nB=(1..3)\r\nC=(5)\r\nD=(1-3)\r\n"
             "E=(0..3) -1.5e3 +2 3E-2 x9\r\nF=(3..1) 1\r\nG=12-05-2001\r\nH=(0..99999) 1\r\n"
             "I=(0..1)\t4 5 6\r\nJ=42\r\nK=-7.25\r\n");
  CSpcData data;
  ASSERT_TRUE(ReadNmr(path, 0, &data));
  auto floats = [&](const char* name) {
    std::vector<float> v;
    const CVariant value = data.params.GetValue(name);
    EXPECT_TRUE(value.IsArray()) << name;
    EXPECT_EQ(value.GetLBound(), 0) << name;
    for (std::int32_t i = 0; i <= value.GetUBound(); ++i) v.push_back(value.GetItem(i).GetValue().GetFloat());
    return v;
  };
  EXPECT_EQ(floats("A"), (std::vector<float>{2.5f, 0.5f, 7.0f}));
  EXPECT_EQ(floats("B"), (std::vector<float>{0.0f, 0.0f, 0.0f}));
  EXPECT_EQ(data.params.GetValue("C").GetString(), "(5)");
  EXPECT_EQ(data.params.GetValue("D").GetString(), "(1-3)");
  EXPECT_EQ(floats("E"), (std::vector<float>{-1500.0f, 2.0f, 0.03f, 0.0f}));
  EXPECT_EQ(data.params.GetValue("F").GetType(), plat::ole::VT_BSTR);  // reversed bounds
  EXPECT_EQ(data.params.GetValue("G").GetString(), "12-05-2001");
  EXPECT_EQ(data.params.GetValue("H").GetType(), plat::ole::VT_BSTR);  // more elements than text
  EXPECT_EQ(floats("I"), (std::vector<float>{4.0f, 5.0f}));
  EXPECT_EQ(data.params.GetValue("J").GetType(), plat::ole::VT_I4);
  EXPECT_EQ(data.params.GetValue("K").GetType(), plat::ole::VT_R8);
  EXPECT_EQ(data.params.GetValue("K").GetDouble(), -7.25);
}

TEST(FolderLayout, DuplicateNamesAndLongNamesAllLoad) {
  const std::string path = FreshFolder("names");
  const std::string longName(300, 'N');
  WriteBytes(plat::joinPath(path, "parameters"),
             "[CONTROL_NMR_0]\r\nX=1\r\n" + longName + "=2\r\nAFTER=3\r\n");
  CSpcData data;
  ASSERT_TRUE(ReadNmr(path, 0, &data));
  ASSERT_EQ(data.params.size(), 3u);
  EXPECT_EQ(data.params.GetValue(longName).GetLong(), 2);
  EXPECT_EQ(data.params.GetValue("AFTER").GetLong(), 3);
}

TEST(FolderLayout, NamesTheRecordAfterTheFolder) {
  const std::string parent = FreshFolder("naming");
  const std::string path = plat::joinPath(parent, "run7");
  plat::makeDirectories(path);
  WriteBytes(plat::joinPath(path, "parameters"), "[CONTROL_IR_0]\r\n");
  CSpcData data;
  ASSERT_TRUE(Load(path, 0, &data));
  EXPECT_EQ(data.strName, "run7");
  EXPECT_EQ(data.nKind, kSpcKindIr);
}

TEST(FolderLayout, DetectionLooksForAnySectionOfTheKind) {
  const std::string path = FreshFolder("detect");
  // Only spectrum 1, far down the file, written in another case.
  WriteBytes(plat::joinPath(path, "parameters"), std::string(400, ';') + "\r\n[control_nmr_1]\r\nSI=0\r\n");
  COrvFile folder(path);
  EXPECT_TRUE(CNmrConvertBase().Detect(&folder));
  EXPECT_FALSE(CIrConvertBase().Detect(&folder));
  EXPECT_FALSE(CNmr2dConvertBase().Detect(&folder));
  EXPECT_EQ(SpcFolderSpectrumCount(path), 2);
  CSpcData data;
  EXPECT_FALSE(Load(path, 0, &data));  // nothing is stored as spectrum 0
  EXPECT_TRUE(Load(path, 1, &data));

  // Not folders of ours: a plain file, a folder without parameters, a subsection only.
  COrvFile file(plat::joinPath(path, "parameters"));
  EXPECT_FALSE(CNmrConvertBase().Detect(&file));
  const std::string bare = FreshFolder("detect_bare");
  COrvFile bareFolder(bare);
  EXPECT_FALSE(CNmrConvertBase().Detect(&bareFolder));
  EXPECT_FALSE(Exists(plat::joinPath(bare, "parameters")));  // looking made no file
  const std::string sub = FreshFolder("detect_sub");
  WriteBytes(plat::joinPath(sub, "parameters"), "[CONTROL_NMR_0\\Peaks]\r\n[CONTROL_NMR2D_x]\r\n");
  COrvFile subFolder(sub);
  EXPECT_FALSE(CNmrConvertBase().Detect(&subFolder));
  EXPECT_FALSE(CNmr2dConvertBase().Detect(&subFolder));
}

TEST(FolderLayout, FormatRowsOfTheKindTable) {
  for (const SpcKindRow& row : SpcKindTable()) {
    std::unique_ptr<CSpcConvert> leaf = row.kind->CreateFormat(0);
    ASSERT_NE(leaf, nullptr);
    std::string name;
    leaf->GetFormatName(name);
    EXPECT_EQ(name, "KEDRUS");
    EXPECT_EQ(leaf->GetCaps(), kSpcCapReadWrite);
    EXPECT_EQ(leaf->GetSaveOptions(), "");
    EXPECT_EQ(leaf->GetDefaultExt(), "");
  }
}

TEST(FolderLayout, SeveralKindsLoadByTheirNumbers) {
  const std::string path = FreshPath("mixed");
  Spectrum nmr(kSpcKindNmr);
  nmr.data.spectrum() = Ramp(16);
  nmr.data.params.Append(Param("SI", Long(16)));
  nmr.SetUp();
  Spectrum ir(kSpcKindIr);
  ir.data.spectrum() = Ramp(5);
  ir.SetUp();
  ASSERT_TRUE(SpcSaveSpectrum(path, &nmr.process, 0, 0, 0));
  ASSERT_TRUE(SpcSaveSpectrum(path, &ir.process, 0, 0, 1));

  EXPECT_EQ(CountSpectra(path), 2);
  CSpcData a, b;
  ASSERT_TRUE(Load(path, 0, &a));
  ASSERT_TRUE(Load(path, 1, &b));
  EXPECT_EQ(a.nKind, kSpcKindNmr);
  EXPECT_EQ(a.spectrum().size(), 16u);
  EXPECT_EQ(b.nKind, kSpcKindIr);
  ASSERT_EQ(b.spectrum().size(), 5u);
  EXPECT_EQ(b.spectrum()[4].re, ir.data.spectrum()[4].re);
  CSpcData none;
  EXPECT_EQ(SpcLoadSpectrum(path, 2, &none), SpcLoadResult::NotFound);

  // A later NMR spectrum after the IR one: every number still reads with its own kind.
  ASSERT_TRUE(SpcSaveSpectrum(path, &nmr.process, 0, 0, 2));
  EXPECT_EQ(SpcFolderSpectrumCount(path), 3);
  EXPECT_EQ(CountSpectra(path), 3);
  for (std::int32_t j = 0; j < 3; ++j) {
    CSpcData d;
    ASSERT_TRUE(SpcFolderReadSpectrum(path, j, &d)) << j;
    EXPECT_EQ(d.nKind, j == 1 ? kSpcKindIr : kSpcKindNmr) << j;
    // The loader reaches every number too, with the kind of its section.
    CSpcData loaded;
    ASSERT_TRUE(Load(path, j, &loaded)) << j;
    EXPECT_EQ(loaded.nKind, j == 1 ? kSpcKindIr : kSpcKindNmr) << j;
  }
  std::int32_t kind = -1;
  EXPECT_FALSE(SpcFolderFindSpectrum(path, 3, &kind));
}

TEST(FolderLayout, ResavingOneSpectrumReplacesItAndKeepsTheOthers) {
  const std::string path = FreshPath("resave");
  Spectrum s(kSpcKindNmr);
  s.data.fid() = Ramp(32);
  s.data.spectrum() = Ramp(32, 2.0f);
  s.data.params.Append(Param("TD", Long(64)));
  s.data.params.Append(Param("SI", Long(32)));
  s.data.params.Append(Param("OLDKEY", Text("first save")));
  s.SetUp();
  for (std::int32_t n = 0; n < 3; ++n) ASSERT_TRUE(SpcSaveSpectrum(path, &s.process, 0, 0, n));
  WriteBytes(plat::joinPath(path, "properties"), "[CONTROL_1]\r\nmine=1\r\n");  // the control's own
  const std::string fid0 = ReadBytes(plat::joinPath(path, "fid.0"));
  const std::string spec2 = ReadBytes(plat::joinPath(path, "spectrum.2"));

  // Spectrum 1 again, now without a fid (TD stays) and without the old parameter.
  Spectrum t(kSpcKindNmr);
  t.data.spectrum() = Ramp(32, 5.0f);
  t.data.params.Append(Param("TD", Long(64)));
  t.data.params.Append(Param("SI", Long(32)));
  t.SetUp();
  ASSERT_TRUE(SpcSaveSpectrum(path, &t.process, 0, 0, 1));
  EXPECT_FALSE(Exists(plat::joinPath(path, "fid.1")));
  EXPECT_EQ(ReadBytes(plat::joinPath(path, "fid.0")), fid0);
  EXPECT_EQ(ReadBytes(plat::joinPath(path, "spectrum.2")), spec2);
  EXPECT_EQ(ReadBytes(plat::joinPath(path, "properties")), "[CONTROL_1]\r\nmine=1\r\n");

  CSpcData one;
  ASSERT_TRUE(Load(path, 1, &one));
  EXPECT_TRUE(one.fid().empty());
  EXPECT_EQ(one.params.GetValue("TD").GetLong(), 64);
  EXPECT_FALSE(one.params.HasParam("OLDKEY"));
  EXPECT_EQ(one.spectrum()[1].re, 5.0f * 1.5f);
  CSpcData zero;
  ASSERT_TRUE(Load(path, 0, &zero));
  EXPECT_EQ(zero.params.GetValue("OLDKEY").GetString(), "first save");

  // Spectrum 1 becomes an IR spectrum: the NMR section of that number goes.
  Spectrum ir(kSpcKindIr);
  ir.data.spectrum() = Ramp(3);
  ir.SetUp();
  ASSERT_TRUE(SpcSaveSpectrum(path, &ir.process, 0, 0, 1));
  const std::string text = ReadBytes(plat::joinPath(path, "parameters"));
  EXPECT_EQ(text.find("[CONTROL_NMR_1]"), std::string::npos) << text;
  EXPECT_NE(text.find("[CONTROL_IR_1]"), std::string::npos) << text;
  EXPECT_FALSE(Exists(plat::joinPath(path, "fid.1")));
  std::int32_t kind = -1;
  ASSERT_TRUE(SpcFolderFindSpectrum(path, 1, &kind));
  EXPECT_EQ(kind, kSpcKindIr);
}
