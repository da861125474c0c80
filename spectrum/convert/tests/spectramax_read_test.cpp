// SpectraMax infrared files: the header's pointer to the axis block, the data floats right
// before it, and pointers or counts that lead outside the file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "spectrum/convert/singleformats.h"
#include "spectrum/convert/tests/truncation_sweep.h"
#include "spectrum/data/spcprocess.h"

using convert_test::WriteScratch;

namespace {

template <class T>
void Put(std::string& bytes, std::size_t offset, T value) {
  char raw[sizeof(T)];
  std::memcpy(raw, &value, sizeof(T));  // the test machine is little-endian, as the format is
  bytes.replace(offset, sizeof(T), raw, sizeof(T));
}

float Value(std::size_t i) { return 0.5f * static_cast<float>(i) + 0.125f; }

// Header, a gap, n data floats, then the axis block at D and a tail.
std::string Spectramax(std::uint16_t n, float firstX = 4000.0f, float lastX = 400.0f, std::size_t gap = 40) {
  const std::size_t d = 111 + gap + 4u * n;
  std::string bytes(d + 19 + 5, '\0');
  bytes.replace(0, 11, "\x0aRUBISDATA2");
  Put<std::uint32_t>(bytes, 68, static_cast<std::uint32_t>(d));
  for (std::size_t i = 0; i < n; ++i) Put(bytes, d - 4u * n + 4 * i, Value(i));
  Put(bytes, d + 5, firstX);
  Put(bytes, d + 9, lastX);
  Put<std::uint16_t>(bytes, d + 17, n);
  return bytes;
}

bool Detects(const std::string& bytes) {
  COrvFile file(WriteScratch("smax_detect.spa", bytes));
  CIrConvertSpectramax smax;
  return smax.Detect(&file);
}

bool ReadSpectramax(const std::string& bytes, CSpcData* data) {
  CIrConvertSpectramax smax;
  return smax.Read(WriteScratch("smax_read.spa", bytes), data, 0);
}

}  // namespace

TEST(SpectramaxDetect, LengthByteAndName) {
  EXPECT_TRUE(Detects(std::string("\x0aRUBISDATA2", 11)));
  EXPECT_FALSE(Detects(std::string("\x0aRUBISDATA3", 11)));  // last character differs
  EXPECT_FALSE(Detects(std::string("\x0bRUBISDATA2", 11)));
  EXPECT_FALSE(Detects(std::string("\x0aRUBISDATA", 10)));   // below the minimum size
  EXPECT_FALSE(Detects(""));
}

TEST(SpectramaxRead, DataLieRightBeforeTheAxisBlock) {
  CSpcData data;
  ASSERT_TRUE(ReadSpectramax(Spectramax(300), &data));
  EXPECT_EQ(data.nDomain, 1);
  EXPECT_EQ(data.strName, "smax_read.spa");
  ASSERT_EQ(data.params.size(), 3u);
  EXPECT_EQ(data.params[0].name, "FIRSTX");
  EXPECT_EQ(data.params[0].value.GetFloat(), 4000.0f);
  EXPECT_EQ(data.params[1].name, "LASTX");
  EXPECT_EQ(data.params[1].value.GetFloat(), 400.0f);
  EXPECT_EQ(data.params[2].name, "NPOINTS");
  EXPECT_EQ(data.params[2].value.GetLong(), 300);
  ASSERT_EQ(data.spectrum().size(), 300u);
  for (std::size_t i = 0; i < 300; ++i) EXPECT_EQ(data.spectrum()[i].re, Value(i)) << i;

  data.nKind = kSpcKindIr;
  CSpcProcess process(&data);
  process.InitFromParams();
  EXPECT_DOUBLE_EQ(process.m_dFreq, 4000.0);
  EXPECT_DOUBLE_EQ(process.m_dSW, -3600.0);
  EXPECT_EQ(process.m_nCur, 300);
}

TEST(SpectramaxRead, PointersOutsideTheFileFail) {
  CSpcData data;
  // The block pointer beyond the end, or with less than 19 bytes left.
  std::string bytes = Spectramax(10);
  Put<std::uint32_t>(bytes, 68, static_cast<std::uint32_t>(bytes.size() - 18));
  EXPECT_FALSE(ReadSpectramax(bytes, &data));
  Put<std::uint32_t>(bytes, 68, 0xFFFFFFF0u);
  EXPECT_FALSE(ReadSpectramax(bytes, &data));
  // A count whose data would start before the file.
  bytes = Spectramax(10, 1.0f, 2.0f, 0);
  Put<std::uint16_t>(bytes, 111 + 40 + 17, 60000);
  EXPECT_FALSE(ReadSpectramax(bytes, &data));
  // A header shorter than 111 bytes.
  EXPECT_FALSE(ReadSpectramax(Spectramax(0).substr(0, 110), &data));
  EXPECT_TRUE(data.spectrum().empty());
}

TEST(SpectramaxRead, ZeroPointsIsAnEmptySpectrum) {
  CSpcData data;
  ASSERT_TRUE(ReadSpectramax(Spectramax(0), &data));
  EXPECT_EQ(data.params.GetValue("NPOINTS").GetLong(), 0);
  EXPECT_TRUE(data.spectrum().empty());
}

TEST(SpectramaxLoad, IdentifiedAndLoadedAsIr) {
  const std::string path = WriteScratch("smax_load.spa", Spectramax(64));
  {
    COrvFile file(path);
    std::string format, kinds;
    ASSERT_TRUE(SpcIdentifyFile(file, &format, &kinds));
    EXPECT_EQ(format, "SpectraMax");
    EXPECT_EQ(kinds, "IR");
  }
  CSpcData data;
  ASSERT_EQ(SpcLoadSpectrum(path, 0, &data), SpcLoadResult::Loaded);
  EXPECT_EQ(data.nKind, kSpcKindIr);
  EXPECT_EQ(CIrConvert().CreateFormat(CIrConvertSpectramax::kFormatIndex)->GetDefaultExt(), ".spa");
}

TEST(SpectramaxTruncation, EveryPrefixIsHandled) {
  const std::string sample = Spectramax(100);
  const std::size_t blockEnd = sample.size() - 5;
  convert_test::SweepPrefixes("smax_sweep.spa", sample, [&](const std::string& path, COrvFile& file, std::size_t length) {
    CIrConvertSpectramax smax;
    EXPECT_EQ(smax.Detect(&file), length >= 11);
    CSpcData data;
    EXPECT_EQ(convert_test::ReadSayingWhy(smax, path, &data), length >= blockEnd);
    EXPECT_LE(data.spectrum().size(), 100u);
  });
}
