// Opus infrared files are named but not read; the single-format detectors leave each other's
// files and foreign bytes alone.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "spectrum/convert/singleformats.h"
#include "spectrum/convert/tests/test_files.h"

using convert_test::WriteScratch;

namespace {

const std::string kOpus = std::string("\x0d\x0a\x0d\x0a\xfe\xfe", 6) + std::string(10, '\x01');

bool Detects(const std::string& bytes) {
  COrvFile file(WriteScratch("opus_detect.0", bytes));
  CIrConvertOpus opus;
  return opus.Detect(&file);
}

}  // namespace

TEST(OpusDetect, SignatureInAFileOfFourteenBytes) {
  EXPECT_TRUE(Detects(kOpus));
  EXPECT_TRUE(Detects(kOpus.substr(0, 14)));
  EXPECT_FALSE(Detects(kOpus.substr(0, 13)));
  std::string other = kOpus;
  other[5] = '\xfd';
  EXPECT_FALSE(Detects(other));
}

TEST(OpusLoad, IdentifiedAsIrButLoadingFailsWithItsName) {
  const std::string path = WriteScratch("opus_load.0", kOpus);
  {
    COrvFile file(path);
    std::string format, kinds;
    ASSERT_TRUE(SpcIdentifyFile(file, &format, &kinds));
    EXPECT_EQ(format, "Opus");
    EXPECT_EQ(kinds, "IR");
    EXPECT_EQ(SpcCountSpectra(file), 1);
  }
  CSpcData data;
  std::string failed;
  EXPECT_EQ(SpcLoadSpectrum(path, 0, &data, &failed), SpcLoadResult::ReadFailed);
  EXPECT_EQ(failed, "Opus");

  auto leaf = CIrConvert().CreateFormat(CIrConvertOpus::kFormatIndex);
  EXPECT_EQ(leaf->GetCaps(), kSpcCapRead);
  EXPECT_EQ(leaf->GetDefaultExt(), ".0");
  EXPECT_EQ(leaf->GetSaveOptions(), "");
}

TEST(SingleFormats, ForeignBytesAreNoneOfThem) {
  std::vector<std::unique_ptr<CSpcConvert>> leaves;
  leaves.push_back(std::make_unique<CMassConvertNic>());
  leaves.push_back(std::make_unique<CIrConvertPrism>());
  leaves.push_back(std::make_unique<CIrConvertOmnic>());
  leaves.push_back(std::make_unique<CIrConvertSpectramax>());
  leaves.push_back(std::make_unique<CIrConvertOpus>());

  std::string garbage(4096, '\0');
  std::uint32_t state = 12345;
  for (char& c : garbage) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 24);
  }
  garbage[0] = 'x';  // not a Prism first word either
  const std::string samples[] = {"", "##TITLE=x\n##END=\n", garbage, std::string(1026, 'a')};
  int n = 0;
  for (const std::string& bytes : samples) {
    const std::string path = WriteScratch("single_foreign_" + std::to_string(n++), bytes);
    COrvFile file(path);
    for (auto& leaf : leaves) {
      EXPECT_FALSE(leaf->Detect(&file));
      EXPECT_EQ(leaf->GetSpectrumCount(&file), 0);
    }
  }
  // A folder is no file of these formats, and reading one fails cleanly.
  const std::string dir = convert_test::ScratchDir("single_folder");
  COrvFile folder(dir);
  for (auto& leaf : leaves) {
    EXPECT_FALSE(leaf->Detect(&folder));
    CSpcData data;
    leaf->Read(dir, &data, 0);
    EXPECT_TRUE(data.spectrum().empty());
  }
}
