// Damaged spectrum folders: truncated or corrupt point files and parameter files fail cleanly.
#include <gtest/gtest.h>

#include "folder_test_util.h"
#include "truncation_sweep.h"

using namespace folder_test;

namespace {

// A folder saved by the writer at path (removed first), with its parameters and point files.
std::string SaveFolder(const std::string& path, std::int32_t kind) {
  plat::removeTree(path);
  Spectrum s(kind);
  if (kind == kSpcKindMass) {
    CMassScan scan;
    scan.peaks = {{1.0f, 10.0f}, {2.0f, 20.0f}};
    scan.strLabel = "ab";
    s.data.scans = {scan, scan, scan};
  } else if (kind == kSpcKindNmr || kind == kSpcKindNmr2d) {
    s.data.fid() = Ramp(16);
    s.data.spectrum() = Ramp(16);
    s.data.params.Append(Param("TD", Long(32)));
    s.data.params.Append(Param("SI", Long(16)));
  } else {
    s.data.spectrum() = Ramp(16);
  }
  s.data.params.Append(Param("TITLE", Text("damage test")));
  s.SetUp();
  EXPECT_TRUE(SpcSaveSpectrum(path, &s.process, 0, 0, 0));
  return path;
}

// Every shorter prefix of one point file is damage: a spectrum with no other point file fails,
// one with another reads that one alone and names the damaged file. The whole file reads.
void SweepPointFile(std::int32_t kind, const char* file) {
  const std::string name = "sweep_" + std::to_string(kind);
  // The sweep writes its prefixes below its own scratch folder: the folder is saved there.
  const std::string folder = SaveFolder(plat::joinPath(convert_test::ScratchDir("sweep"), name), kind);
  const std::string bytes = ReadBytes(plat::joinPath(folder, file));
  ASSERT_FALSE(bytes.empty());
  const SpcFolderKind& kindRow = *SpcFolderKindOf(kind);
  convert_test::SweepPrefixes(name + "/" + file, bytes, [&](const std::string&, COrvFile&, std::size_t length) {
    CSpcData data;
    SpcFailure why;
    const bool ok = CSpcFolderCodec(kindRow).Read(folder, &data, 0, &why);
    const bool twoFiles = kind == kSpcKindNmr || kind == kSpcKindNmr2d;
    // A 2D fid that still holds whole rows past TD / 2 reads whole; anything else short is damage.
    if (kind == kSpcKindNmr2d && length % 8 == 0 && length >= 16 * 8) {
      EXPECT_TRUE(ok && why.empty()) << why.Describe();
    } else if (twoFiles) {
      ASSERT_TRUE(ok);
      EXPECT_EQ(why.file, file) << why.Describe();
      const bool fidDamaged = std::string(file).starts_with("fid");
      EXPECT_EQ(data.fid().empty(), fidDamaged);
      EXPECT_EQ(data.spectrum().empty(), !fidDamaged);
    } else {
      EXPECT_FALSE(ok);
      EXPECT_FALSE(why.empty());
    }
  });
  CSpcData whole;
  WriteBytes(plat::joinPath(folder, file), bytes);
  EXPECT_TRUE(CSpcFolderCodec(kindRow).Read(folder, &whole, 0));
}

}  // namespace

TEST(FolderDamage, ATruncatedPointFileIsLeftOutAndNamedAndFailsASpectrumWithNoOther) {
  SweepPointFile(kSpcKindNmr, "fid.0");
  SweepPointFile(kSpcKindNmr, "spectrum.0");
  SweepPointFile(kSpcKindMass, "spectrum.0");
  SweepPointFile(kSpcKindIr, "spectrum.0");
  SweepPointFile(kSpcKindTic, "spectrum.0");
}

TEST(FolderDamage, TruncatedParameterFilesNeverCrash) {
  for (const std::int32_t kind : {kSpcKindNmr, kSpcKindMass, kSpcKindUv, kSpcKindNmr2d}) {
    const std::string name = "params_" + std::to_string(kind);
    const std::string folder = SaveFolder(plat::joinPath(convert_test::ScratchDir("sweep"), name), kind);
    const std::string bytes = ReadBytes(plat::joinPath(folder, "parameters"));
    convert_test::SweepPrefixes(name + "/parameters", bytes, [&](const std::string&, COrvFile&, std::size_t) {
      COrvFile dir(folder);
      const std::int64_t count = SpcCountSpectra(dir);
      EXPECT_LE(count, 1);
      CSpcData data;
      if (SpcLoadSpectrum(folder, 0, &data) == SpcLoadResult::Loaded) {
        // Whatever was read agrees with the counts it was read by.
        EXPECT_LE(data.spectrum().size(), 16u);
        EXPECT_LE(data.fid().size(), 16u);
        EXPECT_LE(data.scans.size(), 3u);
      }
    });
  }
}

TEST(FolderDamage, CorruptCountsFailWithoutHugeAllocations) {
  const std::string path = FreshFolder("corrupt");
  const std::string params = plat::joinPath(path, "parameters");
  WriteBytes(plat::joinPath(path, "fid.0"), std::string(64, '\0'));
  WriteBytes(plat::joinPath(path, "spectrum.0"), std::string(64, '\0'));
  CSpcData data;
  for (const char* section : {"[CONTROL_NMR_0]\r\nTD=-8\r\n", "[CONTROL_NMR_0]\r\nSI=-1\r\n",
                              "[CONTROL_NMR_0]\r\nSI=2000000000\r\n", "[CONTROL_NMR_0]\r\nTD=2147483647\r\n",
                              "[CONTROL_IR_0]\r\nNPOINTS=1073741824\r\n", "[CONTROL_CH_0]\r\nSI=-4\r\n",
                              "[CONTROL_MASS_0]\r\nScansNumber=-1\r\n", "[CONTROL_MASS_0]\r\nScansNumber=1000000\r\n",
                              "[CONTROL_NMR2D_0]\r\nTD=200\r\n", "[CONTROL_NMR_0]\r\nSI=99999999999\r\n",
                              "[CONTROL_NMR_0]\r\nSI=0x400\r\n", "[CONTROL_IR_0]\r\nNPOINTS=12.5\r\n",
                              "[CONTROL_MASS_0]\r\nScansNumber=many\r\n",
                              "[CONTROL_NMR_0]\r\nSI=4\r\nSAVING=elsewhere fid\r\n"}) {
    WriteBytes(params, section);
    data.Reset();
    SpcFailure why;
    EXPECT_EQ(SpcLoadSpectrum(path, 0, &data, nullptr, &why), SpcLoadResult::ReadFailed) << section;
    EXPECT_FALSE(why.empty()) << section;
  }
}

TEST(FolderDamage, SectionNumbersBeyondTheLastSpectrumAreSkipped) {
  const std::string path = FreshFolder("numbers");
  const std::string params = plat::joinPath(path, "parameters");
  WriteBytes(params, "[CONTROL_NMR_0]\r\n[CONTROL_IR_2147483647]\r\n[CONTROL_NMR_65536]\r\n[CONTROL_UV_65535]\r\n");
  EXPECT_EQ(SpcFolderSpectrumCount(path), kSpcFolderMaxNumber + 1);
  std::int32_t kind = -1;
  EXPECT_FALSE(SpcFolderFindSpectrum(path, 65536, &kind));
  WriteBytes(params, "[CONTROL_NMR_2147483647]\r\nSI=4\r\n");
  EXPECT_EQ(CountSpectra(path), 0);
}

TEST(FolderDamage, CorruptScanRecordsFail) {
  const std::string path = FreshFolder("corrupt_scans");
  WriteBytes(plat::joinPath(path, "parameters"), "[CONTROL_MASS_0]\r\nScansNumber=1\r\n");
  auto record = [](std::uint32_t peaks, std::uint32_t label) {
    std::string r;
    AppendLe(r, peaks);
    AppendFloat(r, 1.0f);
    AppendLe(r, 0);
    AppendFloat(r, 2.0f);
    AppendLe(r, label);
    return r + std::string(16, '\0');
  };
  CSpcData data;
  for (const std::string& bytes : {record(0xFFFFFFFFu, 0), record(0, 0x80000000u), record(0x10000000u, 1),
                                   record(0, 0x7FFFFFFFu)}) {
    WriteBytes(plat::joinPath(path, "spectrum.0"), bytes);
    data.Reset();
    EXPECT_FALSE(Load(path, 0, &data));
  }
  WriteBytes(plat::joinPath(path, "spectrum.0"), record(2, 0));  // two peaks fit in 16 bytes
  data.Reset();
  ASSERT_TRUE(Load(path, 0, &data));
  ASSERT_EQ(data.scans.size(), 1u);
  EXPECT_EQ(data.scans[0].peaks.size(), 2u);
}

TEST(FolderDamage, A2dFileOfTornPointsFails) {
  const std::string path = FreshFolder("torn2d");
  WriteBytes(plat::joinPath(path, "parameters"), "[CONTROL_NMR2D_0]\r\nTD=4\r\n");
  WriteBytes(plat::joinPath(path, "fid.0"), std::string(8 * 6 + 3, '\0'));
  CSpcData data;
  EXPECT_FALSE(Load(path, 0, &data));
  WriteBytes(plat::joinPath(path, "fid.0"), std::string(8 * 6, '\0'));
  ASSERT_TRUE(Load(path, 0, &data));
  EXPECT_EQ(data.fid().size(), 6u);  // three rows of two points, no padding
}
