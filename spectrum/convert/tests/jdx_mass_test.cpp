// MASS JCAMP-DX converter: peak tables in, the current scan out.
#include <gtest/gtest.h>

#include "jdx_test_util.h"
#include "spectrum/convert/jdxconvert.h"

using namespace convert_test;

namespace {

void MakeScan(Loaded& r, const std::vector<CSpcPoint>& peaks, bool title = true) {
  r.data.Reset();
  r.data.nDomain = 1;
  if (title) AddParam(r.data, "TITLE", Text("ms"));
  AddParam(r.data, "INSTRUM", Text("quad"));
  AddParam(r.data, "Ionisation", Text("EI"));
  r.data.scans.emplace_back().peaks = {{1.0f, 10.0f}};
  r.data.scans.emplace_back().peaks = peaks;
  r.Setup(kSpcKindMass);
  r.process->SetScan(1);
}

}  // namespace

TEST(JdxMass, PeakTableBecomesOneScanInAscendingMass) {
  const std::string path = WriteScratch(
      "peaks.dx",
      "##TITLE= three\r\n##JCAMP-DX= 5.0\r\n##DATA TYPE= MASS SPECTRUM\r\n##DATA CLASS= PEAK TABLE\r\n"
      "##XUNITS= M/Z\r\n##YUNITS= RELATIVE ABUNDANCE\r\n##NPOINTS= 3\r\n##PEAK TABLE= (XY..XY)\r\n"
      "77 999\r\n41 120\r\n51.5 33\r\n##END=\r\n");
  CMassConvertJcampDx conv;
  COrvFile f(path);
  ASSERT_TRUE(conv.Detect(&f));
  CSpcData data;
  ASSERT_TRUE(conv.Read(path, &data, 0));
  ASSERT_EQ(data.scans.size(), 1u);
  const auto& peaks = data.scans[0].peaks;
  ASSERT_EQ(peaks.size(), 3u);
  EXPECT_EQ(peaks[0].im, 41.0f);
  EXPECT_EQ(peaks[0].re, 120.0f);
  EXPECT_EQ(peaks[1].im, 51.5f);
  EXPECT_EQ(peaks[2].im, 77.0f);
  EXPECT_EQ(peaks[2].re, 999.0f);
  EXPECT_EQ(data.params.GetValue("DATA CLASS").GetString(), "PEAK TABLE");
  EXPECT_EQ(data.params.GetValue("YUNITS").GetString(), "RELATIVE ABUNDANCE");
  EXPECT_EQ(data.nDomain, 1);
}

TEST(JdxMass, CurrentScanRoundTripsWithItsMasses) {
  Loaded r;
  // Unevenly spaced masses, integral and fractional intensities, one repeated mass.
  MakeScan(r, {{100.0f, 18.0f}, {5.5f, 28.0f}, {2500.0f, 43.25f}, {77.0f, 44.0f}, {80.0f, 44.0f}, {1e6f, 212.5f}});
  CMassConvertJcampDx conv;
  const std::string path = ScratchPath("scan.dx");
  ASSERT_TRUE(conv.Write(path, r.process.get(), 0, 0));
  Loaded back;
  ASSERT_TRUE(LoadWith(conv, path, kSpcKindMass, &back));
  ASSERT_EQ(back.data.scans.size(), 1u);
  const auto& peaks = back.data.scans[0].peaks;
  const std::vector<CSpcPoint> want = {{100.0f, 18.0f}, {5.5f, 28.0f}, {2500.0f, 43.25f}, {80.0f, 44.0f}, {1e6f, 212.5f}};
  ASSERT_EQ(peaks.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(peaks[i].im, want[i].im) << i;
    EXPECT_NEAR(peaks[i].re, want[i].re, 1e-6) << i;
  }
  EXPECT_EQ(back.data.params.GetValue("Ionisation").GetString(), "EI");  // "$" dropped by the reader
  EXPECT_EQ(back.data.params.GetValue("SPECTROMETER/DATA SYSTEM").GetString(), "quad");
  EXPECT_EQ(back.data.strName, "scan.dx");
}

TEST(JdxMass, UntitledRecordIsRecognisedAgain) {
  Loaded r;
  MakeScan(r, {{5.0f, 10.0f}}, false);
  const std::string path = ScratchPath("untitled_ms.dx");
  ASSERT_TRUE(CMassConvertJcampDx().Write(path, r.process.get(), 0, 0));
  EXPECT_EQ(ReadAll(path).rfind("##TITLE= \r\n", 0), 0u);
  COrvFile f(path);
  EXPECT_TRUE(CMassConvertJcampDx().Detect(&f));
}

TEST(JdxMass, NothingToSaveFailsAndKeepsTheFile) {
  const std::string path = WriteScratch("keep_ms.dx", "old");
  Loaded none;
  none.Setup(kSpcKindMass);
  EXPECT_FALSE(CMassConvertJcampDx().Write(path, none.process.get(), 0, 0));
  Loaded empty;
  MakeScan(empty, {});
  EXPECT_FALSE(CMassConvertJcampDx().Write(path, empty.process.get(), 0, 0));
  EXPECT_EQ(ReadAll(path), "old");
}
