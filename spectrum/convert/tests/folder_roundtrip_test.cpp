// Saving each kind into a spectrum folder and loading it back through the kind table.
#include <gtest/gtest.h>

#include <cmath>

#include "folder_test_util.h"
#include "foundation/profdesc.h"
#include "platform/base/text.h"
#include "profile/profile.h"

using namespace folder_test;

namespace {

void ExpectSamePoints(const std::vector<CSpcPoint>& got, const std::vector<CSpcPoint>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    ASSERT_EQ(got[i].re, want[i].re) << i;
    ASSERT_EQ(got[i].im, want[i].im) << i;
  }
}

// An NMR record as a user leaves it: parameters from a vendor file, phases and offset changed
// in the processing state since (so the stale PH0 and SI parameters must not win).
void FillNmr(Spectrum& s) {
  s.data.fid() = Ramp(1024);
  s.data.spectrum() = Ramp(1024, 3.0f);
  s.data.nDomain = 1;
  s.data.params.Append(Param("SFO1", Double(400.13)));
  s.data.params.Append(Param("SW", Double(8000.0)));
  s.data.params.Append(Param("TD", Long(2048)));
  s.data.params.Append(Param("SI", Long(4)));
  s.data.params.Append(Param("PH0", Long(0)));
  s.data.params.Append(Param("TITLE", Text("run 7 sample; CDCl3 ")));
  s.data.params.Append(Param("NS", Long(16)));
  const float list[] = {1.5f, -2.0f, 3e-5f};
  s.data.params.Append(Param("LIST", CVariant(list, 3)));
  s.SetUp();
  s.process.m_nSI = 1024;
  s.process.m_fPH0 = 37.5f;
  s.process.m_fPH1 = -30.25f;
  s.process.m_nPivot = 100;
  s.process.m_dOffset = 3210.5;
  s.process.m_nOP = 0;
}

}  // namespace

TEST(FolderRoundTrip, NmrKeepsPointsParametersAndProcessingState) {
  const std::string path = FreshPath("nmr_rt");
  Spectrum s(kSpcKindNmr);
  FillNmr(s);
  ASSERT_TRUE(SpcSaveSpectrum(path, &s.process, 0, 0, 0));

  // The file layout, checked byte by byte: headerless little-endian complex points.
  const std::string fid = ReadBytes(plat::joinPath(path, "fid.0"));
  ASSERT_EQ(fid.size(), 1024u * 8);
  std::string first;
  AppendFloat(first, 0.5f);
  AppendFloat(first, -0.0f);
  AppendFloat(first, 1.5f);
  AppendFloat(first, -1.25f);
  EXPECT_EQ(fid.substr(0, 16), first);
  EXPECT_EQ(ReadBytes(plat::joinPath(path, "spectrum.0")).size(), 1024u * 8);

  // Untyped values, the section header on the first line, the state's keys in place of the
  // stale parameters, each once.
  const std::string text = ReadBytes(plat::joinPath(path, "parameters"));
  EXPECT_EQ(text.rfind("[CONTROL_NMR_0]\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("\r\nPH0=37.500000\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\nPH1=-30.250000\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\nSI=1024\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\nPP=100\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\nVERSION=2\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\nLIST=(0..2) 1.5 -2 3E-05\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("PH0", text.find("PH0") + 1), std::string::npos) << text;
  EXPECT_EQ(text.find("REG_"), std::string::npos);

  CSpcData back;
  ASSERT_TRUE(Load(path, 0, &back));
  EXPECT_EQ(back.nKind, kSpcKindNmr);
  EXPECT_EQ(back.nDomain, 1);
  EXPECT_EQ(back.strName, "nmr_rt");
  ExpectSamePoints(back.fid(), s.data.fid());
  ExpectSamePoints(back.spectrum(), s.data.spectrum());
  EXPECT_EQ(back.params.GetValue("TITLE").GetString(), "run 7 sample; CDCl3 ");
  EXPECT_EQ(back.params.GetValue("NS").GetType(), plat::ole::VT_I4);
  EXPECT_EQ(back.params.GetValue("NS").GetLong(), 16);
  EXPECT_EQ(back.params.GetValue("VERSION").GetLong(), 2);
  const CVariant list = back.params.GetValue("LIST");
  ASSERT_TRUE(list.IsArray());
  ASSERT_EQ(list.GetUBound(), 2);
  EXPECT_FLOAT_EQ(list.GetItem(0).GetValue().GetFloat(), 1.5f);
  EXPECT_FLOAT_EQ(list.GetItem(1).GetValue().GetFloat(), -2.0f);
  EXPECT_FLOAT_EQ(list.GetItem(2).GetValue().GetFloat(), 3e-5f);

  // The reloaded state is the one the user saved.
  CSpcProcess again(&back);
  again.InitFromParams();
  EXPECT_EQ(again.m_fPH0, 37.5f);
  EXPECT_EQ(again.m_fPH1, -30.25f);
  EXPECT_EQ(again.m_nPivot, 100);
  EXPECT_EQ(again.m_nSI, 1024);
  EXPECT_EQ(again.m_nTD, 2048);
  EXPECT_NEAR(again.m_dFreq, 400.13, 1e-4);
  EXPECT_NEAR(again.m_dSW, 8000.0, 1e-3);
  // Offset: the ppm of point 0 is kept (to the six decimals of its text), which at OP 0 is the
  // offset in Hz over the frequency.
  EXPECT_NEAR(again.m_dOffset / again.m_dFreq, 3210.5 / 400.13, 1e-6);
  EXPECT_NEAR(again.PointToPpm(0), s.process.PointToPpm(0), 1e-5);
}

TEST(FolderRoundTrip, MassKeepsEveryScan) {
  const std::string path = FreshPath("mass_rt");
  Spectrum s(kSpcKindMass);
  CMassScan a;
  a.peaks = {{100.0f, 43.0f}, {55.5f, 57.1f}, {7.0f, 91.25f}};
  a.fIonCurrent = 1234.5f;
  a.dwExtra = 0xDEADBEEFu;
  a.fTime = 1.25f;
  a.strLabel = "scan \xC2\xB5" "1";  // a non-ASCII label
  CMassScan b;
  b.fTime = 2.5f;
  s.data.scans = {a, b};
  s.data.params.Append(Param("ScansNumber", Long(99)));  // stale: the state's count wins
  s.SetUp();
  ASSERT_TRUE(SpcSaveSpectrum(path, &s.process, 0, 0, 0));
  // 20 header bytes per scan, 7 UTF-16 units of label, 3 peaks of 8 bytes.
  EXPECT_EQ(ReadBytes(plat::joinPath(path, "spectrum.0")).size(), 2u * 20 + 7 * 2 + 3 * 8);

  CSpcData back;
  ASSERT_TRUE(Load(path, 0, &back));
  EXPECT_EQ(back.nKind, kSpcKindMass);
  EXPECT_EQ(back.nDomain, 1);
  ASSERT_EQ(back.scans.size(), 2u);
  EXPECT_EQ(back.params.GetValue("ScansNumber").GetLong(), 2);
  ExpectSamePoints(back.scans[0].peaks, a.peaks);
  EXPECT_EQ(back.scans[0].fIonCurrent, a.fIonCurrent);
  EXPECT_EQ(back.scans[0].dwExtra, a.dwExtra);
  EXPECT_EQ(back.scans[0].fTime, a.fTime);
  EXPECT_EQ(back.scans[0].strLabel, a.strLabel);
  EXPECT_TRUE(back.scans[1].peaks.empty());
  EXPECT_EQ(back.scans[1].fTime, 2.5f);
}

TEST(FolderRoundTrip, MassWithoutScansWritesNoPointFile) {
  const std::string path = FreshPath("mass_empty");
  Spectrum s(kSpcKindMass);
  s.SetUp();
  ASSERT_TRUE(SpcSaveSpectrum(path, &s.process, 0, 0, 0));
  EXPECT_FALSE(Exists(plat::joinPath(path, "spectrum.0")));
  CSpcData back;
  ASSERT_TRUE(Load(path, 0, &back));
  EXPECT_EQ(back.params.GetValue("ScansNumber").GetLong(), 0);
  EXPECT_TRUE(back.scans.empty());
}

class FolderRealKinds : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(FolderRealKinds, KeepExactlyTheirPointsAndAxis) {
  const std::int32_t kind = GetParam();
  const std::string path = FreshPath("real_rt_" + std::to_string(kind));
  Spectrum s(kind);
  s.data.spectrum() = Ramp(700);
  s.data.nDomain = 1;
  s.data.params.Append(Param("FIRSTX", Double(4000.0)));
  s.data.params.Append(Param("LASTX", Double(400.0)));
  s.data.params.Append(Param("NPOINTS", Long(700)));
  s.data.params.Append(Param("ORIGIN", Text("bench 2")));
  s.SetUp();
  ASSERT_EQ(s.process.m_nSI, 700);
  ASSERT_TRUE(SpcSaveSpectrum(path, &s.process, 0, 0, 0));
  EXPECT_EQ(ReadBytes(plat::joinPath(path, "spectrum.0")).size(), 700u * 4);
  const std::string text = ReadBytes(plat::joinPath(path, "parameters"));
  if (kind == kSpcKindIr || kind == kSpcKindUv) {
    EXPECT_NE(text.find("\r\nNPOINTS=700\r\n"), std::string::npos) << text;
  } else {
    EXPECT_NE(text.find("\r\nSF=4000.000000\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nSW=-3600.000000\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nSI=700\r\n"), std::string::npos) << text;
  }

  CSpcData back;
  ASSERT_TRUE(Load(path, 0, &back));
  EXPECT_EQ(back.nKind, kind);
  EXPECT_EQ(back.nDomain, 1);
  ASSERT_EQ(back.spectrum().size(), 700u);  // no padding
  for (std::size_t i = 0; i < 700; ++i) {
    ASSERT_EQ(back.spectrum()[i].re, s.data.spectrum()[i].re);
    ASSERT_EQ(back.spectrum()[i].im, 0.0f);
  }
  EXPECT_EQ(back.params.GetValue("ORIGIN").GetString(), "bench 2");
  CSpcProcess again(&back);
  again.InitFromParams();
  EXPECT_DOUBLE_EQ(again.m_dFreq, 4000.0);
  EXPECT_NEAR(again.m_dSW, -3600.0, 1e-3);
  EXPECT_EQ(again.m_nSI, 700);
}

INSTANTIATE_TEST_SUITE_P(Kinds, FolderRealKinds,
                         ::testing::Values(kSpcKindIr, kSpcKindUv, kSpcKindCh, kSpcKindTic));

TEST(FolderRoundTrip, RealKindWritesNoMoreThanItHolds) {
  const std::string path = FreshPath("real_si");
  Spectrum s(kSpcKindIr);
  s.data.spectrum() = Ramp(10);
  s.SetUp();
  s.process.m_nSI = 50;  // more than there are: the ten points are written and counted
  ASSERT_TRUE(SpcSaveSpectrum(path, &s.process, 0, 0, 0));
  CSpcData back;
  ASSERT_TRUE(Load(path, 0, &back));
  EXPECT_EQ(back.spectrum().size(), 10u);
}

TEST(FolderRoundTrip, Nmr2dReadsAllRowsBack) {
  const std::string path = FreshPath("nmr2d_rt");
  Spectrum s(kSpcKindNmr2d);
  s.data.fid() = Ramp(3 * 8);  // three rows of eight complex points
  s.data.params.Append(Param("TD", Long(16)));
  s.data.params.Append(Param("NSCANS", Long(3)));
  s.SetUp();
  ASSERT_TRUE(SpcSaveSpectrum(path, &s.process, 0, 0, 0));
  EXPECT_FALSE(Exists(plat::joinPath(path, "spectrum.0")));

  CSpcData back;
  ASSERT_TRUE(Load(path, 0, &back));
  EXPECT_EQ(back.nKind, kSpcKindNmr2d);
  EXPECT_EQ(back.nDomain, 0);
  ExpectSamePoints(back.fid(), s.data.fid());
  EXPECT_EQ(back.params.GetValue("NSCANS").GetLong(), 3);
}

TEST(FolderRoundTrip, WritesUntypedValuesWhateverTheTypeSwitchSays) {
  const std::string path = FreshPath("typed_save");
  Spectrum s(kSpcKindNmr);
  FillNmr(s);
  OrvSetIniTypeControl(1);
  const bool saved = SpcSaveSpectrum(path, &s.process, 0, 0, 0);

  // The switch is still on for everyone else.
  const std::string other = plat::joinPath(path, "other.ini");
  {
    COrvProfDesc desc(plat::toUtf16(other).c_str(), u"\\S");
    desc.SetIni(true);
    EXPECT_EQ(OrvSetProfString(u"k", u"v", &desc), PROF_OK);
  }
  OrvSetIniTypeControl(0);
  ASSERT_TRUE(saved);
  EXPECT_NE(ReadBytes(other).find("k = REG_SZ v"), std::string::npos);
  EXPECT_EQ(ReadBytes(plat::joinPath(path, "parameters")).find("REG_"), std::string::npos);

  CSpcData back;
  ASSERT_TRUE(Load(path, 0, &back));
  EXPECT_EQ(back.fid().size(), 1024u);
  EXPECT_EQ(back.params.GetValue("PH0").GetFloat(), 37.5f);
}

TEST(FolderRoundTrip, ReadsValuesWrittenWithTypeWords) {
  const std::string path = FreshFolder("typed_load");
  WriteBytes(plat::joinPath(path, "parameters"),
             "[CONTROL_NMR_0]\r\nSI = REG_DWORD 4\r\nTD = REG_DWORD 0x8\r\nTITLE = REG_SZ typed title\r\n"
             "BLOB = REG_BINARY 01 AB \r\nLIST = REG_SZ (0..1) 1 2\r\nEXP = REG_EXPAND_SZ %x%\r\n"
             "PH0 = REG_SZ 12.5\r\n");
  std::string points;
  for (int i = 0; i < 8; ++i) AppendFloat(points, static_cast<float>(i));
  WriteBytes(plat::joinPath(path, "fid.0"), points);
  WriteBytes(plat::joinPath(path, "spectrum.0"), points);

  CSpcData back;
  ASSERT_TRUE(Load(path, 0, &back));
  EXPECT_EQ(back.params.GetValue("SI").GetType(), plat::ole::VT_I4);
  EXPECT_EQ(back.params.GetValue("SI").GetLong(), 4);
  EXPECT_EQ(back.params.GetValue("TD").GetLong(), 8);
  EXPECT_EQ(back.params.GetValue("TITLE").GetString(), "typed title");
  EXPECT_EQ(back.params.GetValue("BLOB").GetString().rfind("01 AB", 0), 0u);
  EXPECT_EQ(back.params.GetValue("EXP").GetString(), "%x%");
  EXPECT_TRUE(back.params.GetValue("LIST").IsArray());
  EXPECT_EQ(back.fid().size(), 4u);
  EXPECT_EQ(back.spectrum().size(), 4u);
  EXPECT_EQ(back.spectrum()[3].im, 7.0f);
  CSpcProcess again(&back);
  again.InitFromParams();
  EXPECT_EQ(again.m_fPH0, 12.5f);
}
