// Prism infrared files: 513-byte records, the axis and first 48 values in record 4, 64 values in
// every further record; damaged counts and short files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "spectrum/convert/singleformats.h"
#include "spectrum/convert/tests/truncation_sweep.h"
#include "spectrum/data/spcprocess.h"

using convert_test::WriteScratch;

namespace {

constexpr std::size_t kRecord = 513;

void PutDouble(std::string& bytes, std::size_t offset, double value) {
  unsigned char raw[8];
  std::memcpy(raw, &value, 8);  // the test machine is little-endian, as the format is
  bytes.replace(offset, 8, reinterpret_cast<const char*>(raw), 8);
}

double Value(std::size_t i) { return 0.25 * static_cast<double>(i) - 3.0; }

// A Prism file declaring count points from firstX in steps of step, holding the values
// Value(0), Value(1), ... in as many data records as needed for stored values.
std::string Prism(double count, double firstX, double step, std::size_t stored, const std::string& owner = "J. Doe",
                  double sw = 3600.5) {
  const std::size_t dataRecords = stored <= 48 ? 1 : 1 + (stored - 48 + 63) / 64;
  std::string bytes((3 + dataRecords) * kRecord, '\0');
  bytes[0] = 3;
  bytes[68] = static_cast<char>(owner.size());
  bytes.replace(69, owner.size(), owner);
  PutDouble(bytes, 473, sw);
  const std::size_t axis = 3 * kRecord;
  PutDouble(bytes, axis + 0, firstX);
  PutDouble(bytes, axis + 8, step);
  PutDouble(bytes, axis + 16, count);
  for (std::size_t i = 0; i < stored; ++i) {
    const std::size_t offset = i < 48 ? axis + 128 + 8 * i : (4 + (i - 48) / 64) * kRecord + 8 * ((i - 48) % 64);
    PutDouble(bytes, offset, Value(i));
  }
  return bytes;
}

bool Detects(const std::string& bytes) {
  COrvFile file(WriteScratch("prism_detect.dat", bytes));
  CIrConvertPrism prism;
  return prism.Detect(&file);
}

bool ReadPrism(const std::string& bytes, CSpcData* data) {
  CIrConvertPrism prism;
  return prism.Read(WriteScratch("prism_read.dat", bytes), data, 0);
}

}  // namespace

TEST(PrismDetect, FirstWordThreeAndWholeRecords) {
  std::string two(1026, '\0');
  two[0] = 3;
  EXPECT_TRUE(Detects(two));
  EXPECT_FALSE(Detects(two + '\0'));  // 1027 bytes
  two[1] = 1;                         // first word 0x0103
  EXPECT_FALSE(Detects(two));
  EXPECT_FALSE(Detects(std::string("\3\0", 2)));  // below the minimum size
  EXPECT_FALSE(Detects(""));
}

TEST(PrismRead, HundredPointsSpanTwoRecords) {
  CSpcData data;
  ASSERT_TRUE(ReadPrism(Prism(100, 400.0, 2.0, 100), &data));
  EXPECT_EQ(data.nDomain, 1);
  EXPECT_EQ(data.strName, "prism_read.dat");
  const char* names[] = {"SW", "OWNER", "FIRSTX", "LASTX", "NPOINTS"};
  ASSERT_EQ(data.params.size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(data.params[i].name, names[i]);
  EXPECT_DOUBLE_EQ(data.params[0].value.GetDouble(), 3600.5);
  EXPECT_EQ(data.params[1].value.GetString(), "J. Doe");
  EXPECT_DOUBLE_EQ(data.params[2].value.GetDouble(), 400.0);
  EXPECT_DOUBLE_EQ(data.params[3].value.GetDouble(), 600.0);  // 100 x 2 + 400
  EXPECT_EQ(data.params[4].value.GetLong(), 100);

  // 48 values from record 4, the next 52 from record 5.
  ASSERT_EQ(data.spectrum().size(), 100u);
  for (std::size_t i = 0; i < 100; ++i) {
    EXPECT_EQ(data.spectrum()[i].re, static_cast<float>(Value(i))) << i;
    EXPECT_EQ(data.spectrum()[i].im, 0.0f);
  }

  data.nKind = kSpcKindIr;
  CSpcProcess process(&data);
  process.InitFromParams();
  EXPECT_DOUBLE_EQ(process.m_dFreq, 400.0);
  EXPECT_DOUBLE_EQ(process.m_dSW, 200.0);
  EXPECT_EQ(process.m_nSI, 100);
  EXPECT_EQ(process.m_nCur, 100);
}

TEST(PrismRead, ValuesOfThirdDataRecordAndUnusedLastByte) {
  CSpcData data;
  std::string bytes = Prism(200, 0.0, 1.0, 200);
  bytes[4 * kRecord + 512] = '\x7f';  // the unused byte of record 5 is not data
  ASSERT_TRUE(ReadPrism(bytes, &data));
  ASSERT_EQ(data.spectrum().size(), 200u);
  EXPECT_EQ(data.spectrum()[112].re, static_cast<float>(Value(112)));  // first value of record 6
  EXPECT_EQ(data.spectrum()[199].re, static_cast<float>(Value(199)));
}

TEST(PrismRead, DeclaredCountBeyondTheFileKeepsWhatIsThere) {
  CSpcData data;
  ASSERT_TRUE(ReadPrism(Prism(1000, 10.0, 0.5, 60), &data));
  EXPECT_EQ(data.params.GetValue("NPOINTS").GetLong(), 1000);
  EXPECT_DOUBLE_EQ(data.params.GetValue("LASTX").GetDouble(), 510.0);
  // Two data records hold 48 + 64 values.
  ASSERT_EQ(data.spectrum().size(), 112u);
  EXPECT_EQ(data.spectrum()[59].re, static_cast<float>(Value(59)));
  EXPECT_EQ(data.spectrum()[60].re, 0.0f);

  data.nKind = kSpcKindIr;
  CSpcProcess process(&data);
  process.InitFromParams();
  EXPECT_EQ(process.m_nCur, 112);
}

TEST(PrismRead, DamagedHeadersFail) {
  CSpcData data;
  const double bad[] = {-1.0, std::nan(""), std::numeric_limits<double>::infinity(), 1e12};
  for (double count : bad) {
    data.Reset();
    EXPECT_FALSE(ReadPrism(Prism(count, 0.0, 1.0, 10), &data)) << count;
  }
  // Three records: no axis record.
  std::string three(3 * kRecord, '\0');
  three[0] = 3;
  data.Reset();
  EXPECT_FALSE(ReadPrism(three, &data));
  CIrConvertPrism prism;
  EXPECT_FALSE(prism.Read(convert_test::ScratchDir("files") + "/no_such.dat", &data, 0));
}

TEST(PrismRead, OutOfRangeDataReadAsZero) {
  std::string bytes = Prism(3, 0.0, 1.0, 3);
  PutDouble(bytes, 3 * kRecord + 128, 1e300);
  PutDouble(bytes, 3 * kRecord + 136, std::nan(""));
  CSpcData data;
  ASSERT_TRUE(ReadPrism(bytes, &data));
  ASSERT_EQ(data.spectrum().size(), 3u);
  EXPECT_EQ(data.spectrum()[0].re, 0.0f);
  EXPECT_EQ(data.spectrum()[1].re, 0.0f);
  EXPECT_EQ(data.spectrum()[2].re, static_cast<float>(Value(2)));
}

TEST(PrismLoad, IdentifiedAndLoadedAsIr) {
  const std::string path = WriteScratch("prism_load.dat", Prism(100, 400.0, 2.0, 100));
  {
    COrvFile file(path);
    std::string format, kinds;
    ASSERT_TRUE(SpcIdentifyFile(file, &format, &kinds));
    EXPECT_EQ(format, "Prism");
    EXPECT_EQ(kinds, "IR");
  }
  CSpcData data;
  ASSERT_EQ(SpcLoadSpectrum(path, 0, &data), SpcLoadResult::Loaded);
  EXPECT_EQ(data.nKind, kSpcKindIr);
  auto leaf = CIrConvert().CreateFormat(CIrConvertPrism::kFormatIndex);
  EXPECT_EQ(leaf->GetDefaultExt(), ".dat");
  EXPECT_EQ(leaf->GetCaps(), kSpcCapRead);
}

TEST(PrismTruncation, EveryPrefixIsHandled) {
  const std::string sample = Prism(150, 400.0, 2.0, 150);
  convert_test::SweepPrefixes(
      "prism_sweep.dat", sample,
      [](const std::string& path, COrvFile& file, std::size_t length) {
        CIrConvertPrism prism;
        EXPECT_EQ(prism.Detect(&file), length >= kRecord && length % kRecord == 0);
        CSpcData data;
        EXPECT_EQ(convert_test::ReadSayingWhy(prism, path, &data), length >= 4 * kRecord);
        EXPECT_LE(data.spectrum().size(), 150u);
      },
      7);
}
