// NIC mass spectra: detection by the markers in the first 255 bytes, comments, the peak list
// after "$MS", and damaged or foreign input.
#include <gtest/gtest.h>

#include <string>

#include "spectrum/convert/singleformats.h"
#include "spectrum/convert/tests/truncation_sweep.h"
#include "spectrum/data/spcprocess.h"

using convert_test::WriteScratch;

namespace {

// Pads text with trailing blank lines up to at least 257 bytes, the smallest NIC file.
std::string Padded(std::string text) {
  while (text.size() < 300) text += "\n";
  return text;
}

const std::string kSample = Padded(
    "NIC export\r\n"
    "$COMM\r\n"
    "Methyl benzoate, 70 eV\r\n"
    "$MS\r\n"
    "50 1000\t51\n"
    "200 52\n");

bool Detects(const std::string& bytes, const char* name = "nic_detect.txt") {
  COrvFile file(WriteScratch(name, bytes));
  CMassConvertNic nic;
  return nic.Detect(&file);
}

bool ReadNic(const std::string& bytes, CSpcData* data) {
  const std::string path = WriteScratch("nic_read.txt", bytes);
  CMassConvertNic nic;
  return nic.Read(path, data, 0);
}

}  // namespace

TEST(NicDetect, NeedsBothMarkersInTheFirst255BytesOfAtLeast257) {
  EXPECT_TRUE(Detects(kSample));
  const std::string markers = "$MS $COMM";
  EXPECT_FALSE(Detects(markers + std::string(256 - markers.size(), ' ')));  // 256 bytes
  EXPECT_TRUE(Detects(markers + std::string(257 - markers.size(), ' ')));
  EXPECT_FALSE(Detects(Padded("$MS only\n")));
  EXPECT_FALSE(Detects(Padded("$COMM only\n")));
  // A marker beyond byte 255, or after a 0 byte, is not looked at.
  EXPECT_FALSE(Detects("$MS" + std::string(260, ' ') + "$COMM\n"));
  EXPECT_FALSE(Detects(Padded(std::string("$MS\0$COMM\n", 10))));
  EXPECT_FALSE(Detects(""));
}

TEST(NicRead, CommentsAndPeakPairs) {
  CSpcData data;
  ASSERT_TRUE(ReadNic(kSample, &data));
  EXPECT_EQ(data.nDomain, 1);
  ASSERT_EQ(data.params.size(), 1u);
  EXPECT_EQ(data.params[0].name, "COMMENT");
  EXPECT_EQ(data.params[0].value.GetString(), "Methyl benzoate, 70 eV");
  EXPECT_EQ(data.params[0].comment, "");
  ASSERT_EQ(data.scans.size(), 1u);
  const CMassScan& scan = data.scans[0];
  EXPECT_EQ(scan.fIonCurrent, 100.0f);
  // 50 1000 51 200 52: two peaks, the odd last number has no partner.
  ASSERT_EQ(scan.peaks.size(), 2u);
  EXPECT_EQ(scan.peaks[0].im, 50.0f);
  EXPECT_EQ(scan.peaks[0].re, 1000.0f);
  EXPECT_EQ(scan.peaks[1].im, 51.0f);
  EXPECT_EQ(scan.peaks[1].re, 200.0f);
}

TEST(NicRead, EveryCommentIsAppendedAndPeaksAreOrderedByMass) {
  CSpcData data;
  ASSERT_TRUE(ReadNic(Padded("$COMM first\nline one\r\n$COMM\nline two\n$MS\n"
                             "77 10 43 999 -5 abc 91 +7\n"),
                      &data));
  ASSERT_EQ(data.params.size(), 2u);
  EXPECT_EQ(data.params[0].value.GetString(), "line one");
  EXPECT_EQ(data.params[1].value.GetString(), "line two");
  ASSERT_EQ(data.scans.size(), 1u);
  // "-5" and "abc" are no unsigned numbers: the pairs are (77,10) (43,999) (91,7).
  const auto& peaks = data.scans[0].peaks;
  ASSERT_EQ(peaks.size(), 3u);
  EXPECT_EQ(peaks[0].im, 43.0f);
  EXPECT_EQ(peaks[0].re, 999.0f);
  EXPECT_EQ(peaks[1].im, 77.0f);
  EXPECT_EQ(peaks[2].im, 91.0f);
  EXPECT_EQ(peaks[2].re, 7.0f);
}

TEST(NicRead, LongLinesAreNotCut) {
  const std::string comment(400, 'c');
  CSpcData data;
  ASSERT_TRUE(ReadNic(Padded("$COMM\n" + comment + "\n$MS\n"), &data));
  ASSERT_EQ(data.params.size(), 1u);
  EXPECT_EQ(data.params[0].value.GetString(), comment);
  // A "$MS" line gives one scan even without peaks.
  ASSERT_EQ(data.scans.size(), 1u);
  EXPECT_TRUE(data.scans[0].peaks.empty());
}

TEST(NicRead, EmptyOrMissingFileFails) {
  CSpcData data;
  EXPECT_FALSE(ReadNic("", &data));
  CMassConvertNic nic;
  EXPECT_FALSE(nic.Read(convert_test::ScratchDir("files") + "/no_such_nic.txt", &data, 0));
}

TEST(NicLoad, LoadsAsMassSpectrumThroughTheKindTable) {
  const std::string path = WriteScratch("nic_load.txt", kSample);
  {
    COrvFile file(path);
    std::string format, kinds;
    ASSERT_TRUE(SpcIdentifyFile(file, &format, &kinds));
    EXPECT_EQ(format, "NIC");
    EXPECT_EQ(kinds, "MASS");
    EXPECT_EQ(SpcCountSpectra(file), 1);
  }
  CSpcData data;
  ASSERT_EQ(SpcLoadSpectrum(path, 0, &data), SpcLoadResult::Loaded);
  EXPECT_EQ(data.nKind, kSpcKindMass);
  CSpcProcess process(&data);
  process.InitFromParams();
  EXPECT_EQ(process.m_nScans, 1);

  auto leaf = CMassConvert().CreateFormat(CMassConvertNic::kFormatIndex);
  std::string name;
  leaf->GetFormatName(name);
  EXPECT_EQ(name, "NIC");
  EXPECT_EQ(leaf->GetCaps(), kSpcCapRead);
  EXPECT_FALSE(leaf->Write(path, &process, 0, 0));
}

TEST(NicTruncation, EveryPrefixIsHandled) {
  convert_test::SweepPrefixes("nic_sweep.txt", kSample, [](const std::string& path, COrvFile& file, std::size_t length) {
    CMassConvertNic nic;
    const bool detected = nic.Detect(&file);
    EXPECT_EQ(detected, length >= 257);
    EXPECT_EQ(nic.GetSpectrumCount(&file), detected ? 1 : 0);
    CSpcData data;
    EXPECT_EQ(convert_test::ReadSayingWhy(nic, path, &data), length > 0);
    EXPECT_LE(data.scans.size(), 1u);
  });
}
