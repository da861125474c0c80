#include "spectrum/convert/masslynx.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "test_files.h"

using namespace convert_test;

namespace {

// Little-endian bytes of the index and data files, written here field by field.
template <class T>
void Put(std::string& out, T value) {
  unsigned char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  out.append(reinterpret_cast<const char*>(bytes), sizeof(T));
}

struct Record {
  std::int32_t offset;
  std::uint16_t count;
  std::uint16_t type;
  float base;
  float minutes;
  std::int16_t tic;
};

std::string IndexFile(const std::vector<Record>& records) {
  std::string out;
  for (const Record& r : records) {
    Put(out, r.offset);
    Put(out, r.count);
    Put(out, r.type);
    Put(out, r.base);
    Put(out, r.minutes);
    Put(out, r.tic);
    Put(out, std::uint32_t{0});
  }
  EXPECT_EQ(out.size(), records.size() * 22);
  return out;
}

std::string FreshFolder(const std::string& name) {
  const std::string dir = ScratchDir("masslynx/" + name);
  plat::removeTree(dir);
  plat::makeDirectories(dir);
  return dir;
}

// Plain writes: the sweeps rewrite a file hundreds of times.
void WriteIn(const std::string& dir, const std::string& name, const std::string& bytes) {
  std::ofstream out(plat::joinPath(dir, name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good());
}

// Function 1: wide items (divisor, value) with a base, narrow items (value, divisor), and an
// acquisition of an unknown item type.
struct SampleFolder {
  std::string dir;
  std::string dat;
  std::string idx;
};

SampleFolder MakeSample(const std::string& name) {
  SampleFolder s;
  s.dir = FreshFolder(name);
  // Acquisition 0: wide items at offset 0, out of mass order.
  Put(s.dat, std::uint32_t{10});  // 1000 / 10 = m/z 100
  Put(s.dat, std::int32_t{1000});
  Put(s.dat, std::uint32_t{4});   // 200 / 4 = m/z 50
  Put(s.dat, std::int32_t{200});
  // Acquisition 1: narrow items at offset 16.
  Put(s.dat, std::int32_t{500});  // 500 / 4 = m/z 125
  Put(s.dat, std::uint16_t{4});
  Put(s.dat, std::int32_t{300});  // 300 / 2 = m/z 150
  Put(s.dat, std::uint16_t{2});
  s.idx = IndexFile({{0, 2, 2048, 50.0f, 0.5f, 1234},
                     {16, 2, 6144, 0.0f, 1.0f, -7},
                     {0, 2, 999, 0.0f, 2.0f, 42}});
  WriteIn(s.dir, "_FUNC001.DAT", s.dat);
  WriteIn(s.dir, "_FUNC001.IDX", s.idx);
  // Function 2, spelt in lower case, with one acquisition.
  std::string dat2;
  Put(dat2, std::uint32_t{10});
  Put(dat2, std::int32_t{1000});
  WriteIn(s.dir, "_func002.dat", dat2);
  WriteIn(s.dir, "_Func002.Idx", IndexFile({{0, 1, 2048, 0.0f, 3.0f, 9}}));
  return s;
}

double ParamDouble(const CSpcData& d, const char* name) { return d.params.GetValue(name).GetDouble(); }

}  // namespace

TEST(MassLynx, CountsOneSpectrumPerFunctionInBothKinds) {
  const SampleFolder s = MakeSample("count");
  COrvFile folder(s.dir);
  CMassConvertMassLynx mass(6);
  CTicConvertMassLynx tic(4);
  EXPECT_TRUE(mass.Detect(&folder));
  EXPECT_EQ(mass.GetSpectrumCount(&folder), 2);
  EXPECT_EQ(tic.GetSpectrumCount(&folder), 2);

  // The loader walks MASS before TIC: spectra 0-1 are MASS, 2-3 TIC, each reading its function.
  SpcLocation where;
  ASSERT_TRUE(SpcFindConverter(folder, 3, &where));
  EXPECT_EQ(where.kindId, kSpcKindTic);
  EXPECT_EQ(where.indexInFile, 1);
  std::string name;
  where.leaf->GetFormatName(name);
  EXPECT_EQ(name, "MassLynx");
  EXPECT_EQ(where.leaf->GetDefaultExt(), "");
  EXPECT_EQ(mass.GetDefaultExt(), ".");
  EXPECT_EQ(mass.GetCaps(), kSpcCapRead);

  CSpcData data;
  ASSERT_EQ(SpcLoadSpectrum(s.dir, 1, &data), SpcLoadResult::Loaded);
  EXPECT_EQ(data.nKind, kSpcKindMass);
  ASSERT_EQ(data.scans.size(), 1u);  // function 2 has one acquisition
  EXPECT_FLOAT_EQ(data.scans[0].fIonCurrent, 9.0f);
}

TEST(MassLynx, ReadsMassScansFromBothItemTypes) {
  const SampleFolder s = MakeSample("mass");
  CMassConvertMassLynx mass(6);
  CSpcData data;
  ASSERT_TRUE(mass.Read(s.dir + "/", &data, 0));
  EXPECT_EQ(data.strName, "mass");
  EXPECT_EQ(data.nDomain, 1);
  ASSERT_EQ(data.scans.size(), 3u);

  // Wide items: intensity value - base, m/z value / divisor, sorted by m/z.
  const auto& wide = data.scans[0].peaks;
  ASSERT_EQ(wide.size(), 2u);
  EXPECT_FLOAT_EQ(wide[0].im, 50.0f);
  EXPECT_FLOAT_EQ(wide[0].re, 150.0f);
  EXPECT_FLOAT_EQ(wide[1].im, 100.0f);
  EXPECT_FLOAT_EQ(wide[1].re, 950.0f);
  EXPECT_FLOAT_EQ(data.scans[0].fIonCurrent, 1234.0f);

  const auto& narrow = data.scans[1].peaks;
  ASSERT_EQ(narrow.size(), 2u);
  EXPECT_FLOAT_EQ(narrow[0].im, 125.0f);
  EXPECT_FLOAT_EQ(narrow[0].re, 500.0f);
  EXPECT_FLOAT_EQ(narrow[1].im, 150.0f);
  EXPECT_FLOAT_EQ(narrow[1].re, 300.0f);
  EXPECT_FLOAT_EQ(data.scans[1].fIonCurrent, -7.0f);

  // Unknown item type: a scan without peaks that keeps its ion current.
  EXPECT_TRUE(data.scans[2].peaks.empty());
  EXPECT_FLOAT_EQ(data.scans[2].fIonCurrent, 42.0f);
}

TEST(MassLynx, ReadsIonCurrentTraceWithAxisInSeconds) {
  const SampleFolder s = MakeSample("tic");
  CTicConvertMassLynx tic(4);
  CSpcData data;
  ASSERT_TRUE(tic.Read(s.dir, &data, 0));
  ASSERT_EQ(data.spectrum().size(), 3u);
  EXPECT_FLOAT_EQ(data.spectrum()[0].re, 1234.0f);
  EXPECT_FLOAT_EQ(data.spectrum()[1].re, -7.0f);
  EXPECT_FLOAT_EQ(data.spectrum()[2].re, 42.0f);
  EXPECT_FLOAT_EQ(data.spectrum()[2].im, 0.0f);
  EXPECT_DOUBLE_EQ(ParamDouble(data, "FIRSTX"), 30.0);   // 0.5 min
  EXPECT_DOUBLE_EQ(ParamDouble(data, "LASTX"), 120.0);   // 2.0 min
  EXPECT_EQ(data.params[0].name, "FIRSTX");
  EXPECT_TRUE(data.scans.empty());
}

TEST(MassLynx, FoldersWithoutFunctionFilesAreNotRecognised) {
  const std::string dir = FreshFolder("subfolder");
  plat::makeDirectories(plat::joinPath(dir, "_FUNC001.DAT"));
  WriteIn(dir, "_FUNC01.DAT", "x");  // two digits: not a function file
  COrvFile folder(dir);
  CMassConvertMassLynx mass(6);
  EXPECT_FALSE(mass.Detect(&folder));
  EXPECT_EQ(mass.GetSpectrumCount(&folder), 0);
  CSpcData data;
  EXPECT_FALSE(mass.Read(dir, &data, 0));

  // A plain file named like a function file is no folder.
  const std::string file = WriteScratch("_FUNC001.DAT", std::string(64, '\0'));
  COrvFile plain(file);
  EXPECT_FALSE(mass.Detect(&plain));
  COrvFile missing(dir + "/nothing");
  EXPECT_EQ(mass.GetSpectrumCount(&missing), 0);
}

TEST(MassLynx, FunctionWithoutItsFilesFailsToRead) {
  const std::string dir = FreshFolder("noindex");
  WriteIn(dir, "_FUNC001.DAT", std::string(16, '\0'));
  CMassConvertMassLynx mass(6);
  CTicConvertMassLynx tic(4);
  COrvFile folder(dir);
  EXPECT_EQ(mass.GetSpectrumCount(&folder), 1);
  CSpcData data;
  EXPECT_FALSE(mass.Read(dir, &data, 0));
  EXPECT_FALSE(tic.Read(dir, &data, 0));
  EXPECT_FALSE(mass.Read(dir, &data, 1));
  EXPECT_FALSE(mass.Read(dir, &data, -1));
}

TEST(MassLynx, DamagedIndexNeverReadsOutsideTheData) {
  const std::string dir = FreshFolder("damaged");
  std::string dat;
  Put(dat, std::uint32_t{0});  // divisor 0: no mass, the item is dropped
  Put(dat, std::int32_t{5});
  Put(dat, std::uint32_t{2});
  Put(dat, std::int32_t{8});
  WriteIn(dir, "_FUNC001.DAT", dat);
  std::string idx = IndexFile({{0, 65535, 2048, 0.0f, 1.0f, 1},   // count far past the file
                               {-8, 3, 2048, 0.0f, 1.0f, 2},     // negative offset
                               {1 << 30, 3, 6144, 0.0f, 1.0f, 3},  // offset past the end
                               {12, 1, 6144, 0.0f, 1.0f, 4}});   // the last 4 bytes hold no item
  idx += "tail";  // a partial record is not an acquisition
  WriteIn(dir, "_FUNC001.IDX", idx);
  CMassConvertMassLynx mass(6);
  CSpcData data;
  ASSERT_TRUE(mass.Read(dir, &data, 0));
  ASSERT_EQ(data.scans.size(), 4u);
  ASSERT_EQ(data.scans[0].peaks.size(), 1u);
  EXPECT_FLOAT_EQ(data.scans[0].peaks[0].im, 4.0f);
  EXPECT_FLOAT_EQ(data.scans[0].peaks[0].re, 8.0f);
  for (std::size_t i = 1; i < 4; ++i) EXPECT_TRUE(data.scans[i].peaks.empty()) << i;
}

TEST(MassLynx, TruncatedFilesReadWhatTheyHold) {
  const SampleFolder s = MakeSample("sweep");
  CMassConvertMassLynx mass(6);
  CTicConvertMassLynx tic(4);
  for (std::size_t n = 0; n < s.idx.size(); ++n) {
    WriteIn(s.dir, "_FUNC001.IDX", s.idx.substr(0, n));
    CSpcData m, t;
    ASSERT_TRUE(mass.Read(s.dir, &m, 0));
    ASSERT_TRUE(tic.Read(s.dir, &t, 0));
    EXPECT_EQ(m.scans.size(), n / 22);
    EXPECT_EQ(t.spectrum().size(), n / 22);
  }
  WriteIn(s.dir, "_FUNC001.IDX", s.idx);
  for (std::size_t n = 0; n < s.dat.size(); ++n) {
    WriteIn(s.dir, "_FUNC001.DAT", s.dat.substr(0, n));
    CSpcData m;
    ASSERT_TRUE(mass.Read(s.dir, &m, 0));
    std::size_t peaks = 0;
    for (const CMassScan& scan : m.scans) peaks += scan.peaks.size();
    EXPECT_LE(peaks, n / 6);
  }
}
