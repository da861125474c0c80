// OMNIC infrared files: header fields, the data position byte, the file date, and counts or
// sizes that do not fit the file.
#include <gtest/gtest.h>
#include <sys/time.h>

#include <cstring>
#include <ctime>
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

float Value(std::size_t i) { return 1.5f - 0.25f * static_cast<float>(i); }

// A file of n points stored at 768 + shift, holding stored of them.
std::string Omnic(std::uint32_t n, std::uint8_t shift = 0, std::size_t stored = ~std::size_t(0),
                  const std::string& title = "Polystyrene film") {
  if (stored > n) stored = n;
  std::string bytes(768 + shift + 4 * stored, '\0');
  bytes.replace(0, 18, "Spectral Data File");
  bytes.replace(30, title.size(), title);
  bytes[370] = static_cast<char>(shift);
  Put(bytes, 564, n);
  Put(bytes, 576, 3999.5f);
  Put(bytes, 580, 450.25f);
  for (std::size_t i = 0; i < stored; ++i) Put(bytes, 768 + shift + 4 * i, Value(i));
  return bytes;
}

bool Detects(const std::string& bytes) {
  COrvFile file(WriteScratch("omnic_detect.spa", bytes));
  CIrConvertOmnic omnic;
  return omnic.Detect(&file);
}

bool ReadOmnic(const std::string& bytes, CSpcData* data) {
  CIrConvertOmnic omnic;
  return omnic.Read(WriteScratch("omnic_read.spa", bytes), data, 0);
}

}  // namespace

TEST(OmnicDetect, SignatureOfEighteenBytesInAFileOfNineteen) {
  EXPECT_TRUE(Detects("Spectral Data File\n"));
  EXPECT_FALSE(Detects("Spectral Data File"));  // 18 bytes: below the minimum size
  EXPECT_FALSE(Detects("Spectral data File\n"));
  EXPECT_FALSE(Detects(""));
}

TEST(OmnicRead, HeaderFieldsAndDataAt768) {
  CSpcData data;
  ASSERT_TRUE(ReadOmnic(Omnic(200), &data));
  EXPECT_EQ(data.nDomain, 1);
  const char* names[] = {"FIRSTX", "LASTX", "NPOINTS", "TITLE", "DATE"};
  ASSERT_EQ(data.params.size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(data.params[i].name, names[i]);
  EXPECT_EQ(data.params[0].value.GetFloat(), 3999.5f);
  EXPECT_EQ(data.params[1].value.GetFloat(), 450.25f);
  EXPECT_EQ(data.params[2].value.GetLong(), 200);
  EXPECT_EQ(data.params[3].value.GetString(), "Polystyrene film");
  ASSERT_EQ(data.spectrum().size(), 200u);
  for (std::size_t i = 0; i < 200; ++i) EXPECT_EQ(data.spectrum()[i].re, Value(i)) << i;

  data.nKind = kSpcKindIr;
  CSpcProcess process(&data);
  process.InitFromParams();
  EXPECT_DOUBLE_EQ(process.m_dFreq, 3999.5);
  EXPECT_DOUBLE_EQ(process.m_dSW, 450.25 - 3999.5);
  EXPECT_EQ(process.m_nCur, 200);
}

TEST(OmnicRead, PositionByteMovesTheData) {
  CSpcData data;
  ASSERT_TRUE(ReadOmnic(Omnic(16, 255), &data));
  ASSERT_EQ(data.spectrum().size(), 16u);
  EXPECT_EQ(data.spectrum()[0].re, Value(0));
  EXPECT_EQ(data.spectrum()[15].re, Value(15));
}

TEST(OmnicRead, DateIsTheLocalLastWriteTime) {
  const std::string path = WriteScratch("omnic_date.spa", Omnic(4));
  std::tm local{};
  local.tm_year = 2001 - 1900;
  local.tm_mon = 4;
  local.tm_mday = 12;
  local.tm_hour = 14;
  local.tm_min = 30;
  local.tm_sec = 15;
  local.tm_isdst = -1;
  const timeval times[2] = {{std::mktime(&local), 0}, {std::mktime(&local), 0}};
  ASSERT_EQ(::utimes(path.c_str(), times), 0);
  CSpcData data;
  CIrConvertOmnic omnic;
  ASSERT_TRUE(omnic.Read(path, &data, 0));
  const CVariant date = data.params.GetValue("DATE");
  EXPECT_EQ(date.GetType(), plat::ole::VT_DATE);
  EXPECT_EQ(date.GetString(), "14:30:15 12-May-2001");
}

TEST(OmnicRead, TitleWithoutEndStopsAtTheHeader) {
  // No 0 byte anywhere in the header: the title runs into the other fields but not past them.
  std::string bytes = Omnic(0);
  for (std::size_t i = 30; i < 584; ++i) bytes[i] = 'T';
  Put<std::uint32_t>(bytes, 564, 0x01010101u);  // a count without a 0 byte, none of it stored
  bytes.resize(900, '\0');
  CSpcData data;
  ASSERT_TRUE(ReadOmnic(bytes, &data));
  EXPECT_EQ(data.params.GetValue("TITLE").GetString(), bytes.substr(30, 584 - 30));
  // The data start at 768 + 'T' (84): 48 bytes left hold 12 points.
  EXPECT_EQ(data.spectrum().size(), 12u);
}

TEST(OmnicRead, ShortDataAndImpossibleCounts) {
  CSpcData data;
  // 100 points declared, 30 stored: the 30 are read, nothing is invented.
  ASSERT_TRUE(ReadOmnic(Omnic(100, 0, 30), &data));
  EXPECT_EQ(data.params.GetValue("NPOINTS").GetLong(), 100);
  ASSERT_EQ(data.spectrum().size(), 30u);
  EXPECT_EQ(data.spectrum()[29].re, Value(29));

  data.Reset();
  EXPECT_FALSE(ReadOmnic(Omnic(0xFFFFFFFFu, 0, 4), &data));
  data.Reset();
  EXPECT_FALSE(ReadOmnic(Omnic(4).substr(0, 583), &data));
  EXPECT_TRUE(data.params.empty());
}

TEST(OmnicLoad, IdentifiedAndLoadedAsIr) {
  const std::string path = WriteScratch("omnic_load.spa", Omnic(32));
  {
    COrvFile file(path);
    std::string format, kinds;
    ASSERT_TRUE(SpcIdentifyFile(file, &format, &kinds));
    EXPECT_EQ(format, "OMNIC");
    EXPECT_EQ(kinds, "IR");
  }
  CSpcData data;
  ASSERT_EQ(SpcLoadSpectrum(path, 0, &data), SpcLoadResult::Loaded);
  EXPECT_EQ(data.nKind, kSpcKindIr);
}

TEST(OmnicTruncation, EveryPrefixIsHandled) {
  const std::string sample = Omnic(120, 3);
  convert_test::SweepPrefixes("omnic_sweep.spa", sample, [](const std::string& path, COrvFile& file, std::size_t length) {
    CIrConvertOmnic omnic;
    EXPECT_EQ(omnic.Detect(&file), length >= 19);
    CSpcData data;
    EXPECT_EQ(convert_test::ReadSayingWhy(omnic, path, &data), length >= 584);
    EXPECT_LE(data.spectrum().size(), 120u);
  });
}
