#include "spectrum/convert/chemstation.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "test_files.h"

using namespace convert_test;

namespace {

// Byte writers: the header and the ".ms" and ".ch" data are big-endian, ".uv" blocks little.
void PutBe(std::string& out, std::size_t at, std::uint32_t value, std::size_t size) {
  if (out.size() < at + size) out.resize(at + size, '\0');
  for (std::size_t i = 0; i < size; ++i) out[at + i] = static_cast<char>((value >> (8 * (size - 1 - i))) & 0xFF);
}
void PutLe(std::string& out, std::size_t at, std::uint32_t value, std::size_t size) {
  if (out.size() < at + size) out.resize(at + size, '\0');
  for (std::size_t i = 0; i < size; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}
void AppendBe16(std::string& out, std::uint16_t v) { PutBe(out, out.size(), v, 2); }
void AppendLe16(std::string& out, std::uint16_t v) { PutLe(out, out.size(), v, 2); }

void PutText(std::string& out, std::size_t at, const std::string& text) {
  out[at] = static_cast<char>(text.size());
  out.replace(at + 1, text.size(), text);
}

std::string Header(const std::string& signature, std::int16_t scans, std::size_t dataStart) {
  std::string h(dataStart, '\0');
  h[0] = 1;
  h.replace(1, signature.size(), signature);
  PutText(h, 24, "sample A");
  PutText(h, 148, "op");
  PutText(h, 208, "GC-MS 5");
  PutBe(h, 280, static_cast<std::uint16_t>(scans), 2);
  PutBe(h, 282, 60000, 4);   // start, ms
  PutBe(h, 286, 120000, 4);  // end, ms
  return h;
}

std::uint16_t Packed(unsigned exponent, unsigned mantissa) {
  return static_cast<std::uint16_t>(exponent << 14 | mantissa);
}

struct MsPeak {
  std::uint16_t massCode;  // m/z * 20
  std::uint16_t packed;
};

// A scan with its header, its peaks and a 10-byte trailer that its length covers.
void AppendScan(std::string& f, std::int32_t retentionMs, const std::vector<MsPeak>& peaks) {
  const std::size_t at = f.size();
  const std::size_t bytes = 18 + 4 * peaks.size() + 10;
  PutBe(f, at, static_cast<std::uint32_t>(bytes / 2), 2);
  PutBe(f, at + 2, static_cast<std::uint32_t>(retentionMs), 4);
  PutBe(f, at + 12, static_cast<std::uint32_t>(peaks.size()), 2);
  f.resize(at + 18);
  for (const MsPeak& p : peaks) {
    AppendBe16(f, p.massCode);
    AppendBe16(f, p.packed);
  }
  f.resize(at + bytes, '\0');
}

std::string MsFile() {
  std::string f = Header("2", 2, 754);
  AppendScan(f, 60000, {{1000, Packed(1, 1)}, {600, Packed(3, 3)}, {2000, Packed(0, 100)}});
  AppendScan(f, 61500, {{20, Packed(2, 16383)}});
  return f;
}

std::string UvFile() {
  std::string f = Header("31", 2, 512);
  // Block 1: absolute 500, +3, -1; four bytes of padding that its length covers.
  std::size_t at = f.size();
  f.resize(at + 22, '\0');
  PutLe(f, at + 2, 22 + 10 + 4, 2);
  PutLe(f, at + 8, 3800, 2);   // 190 nm
  PutLe(f, at + 10, 4000, 2);  // 200 nm
  PutLe(f, at + 18, 3, 2);
  AppendLe16(f, 0x8000);
  PutLe(f, f.size(), 500, 4);
  AppendLe16(f, 3);
  AppendLe16(f, static_cast<std::uint16_t>(-1));
  f.resize(f.size() + 4, '\x7f');
  // Block 2: the running value goes on from 502.
  at = f.size();
  f.resize(at + 22, '\0');
  PutLe(f, at + 2, 22 + 4, 2);
  PutLe(f, at + 18, 2, 2);
  AppendLe16(f, 10);
  AppendLe16(f, static_cast<std::uint16_t>(-20));
  return f;
}

std::string ChFile() {
  std::string f = Header("30", 0, 1024);
  f += std::string("\0\3", 2);
  AppendBe16(f, 0x8000);
  PutBe(f, f.size(), 1000, 4);
  AppendBe16(f, 5);
  AppendBe16(f, static_cast<std::uint16_t>(-10));
  f += std::string("\0\1", 2);
  AppendBe16(f, 2);
  return f;
}

std::string Folder(const std::string& name) {
  const std::string dir = ScratchDir("chemstation/" + name + ".d");
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

CMassConvertChemStation Mass() { return CMassConvertChemStation(5); }

double Param(const CSpcData& d, const char* name) { return d.params.GetValue(name).GetDouble(); }

}  // namespace

TEST(ChemStation, DetectsEachKindBySignature) {
  const std::string dir = Folder("detect");
  WriteIn(dir, "data.ms", std::string("\1" "2\0\0\0", 5));
  COrvFile folder(dir);
  CMassConvertChemStation mass(5);
  CTicConvertChemStation tic(2);
  CUvConvertChemStation uv(2);
  CChConvertChemStation ch(2);
  EXPECT_TRUE(mass.Detect(&folder));
  EXPECT_TRUE(tic.Detect(&folder));
  EXPECT_FALSE(uv.Detect(&folder));
  EXPECT_FALSE(ch.Detect(&folder));
  EXPECT_FALSE(mass.CChemStation::Detect(&folder, kSpcKindNmr));
  EXPECT_EQ(mass.GetDefaultExt(), ".d");
  std::string name;
  uv.GetFormatName(name);
  EXPECT_EQ(name, "ChemStation");

  const std::string other = Folder("detect_other");
  WriteIn(other, "data.ms", std::string("\1" "2x\0\0", 5));
  plat::makeDirectories(plat::joinPath(other, "folder.ch"));
  WriteIn(other, "DAD1.UV", "\1" "31");  // upper-case extension, three bytes only
  COrvFile second(other);
  EXPECT_FALSE(mass.Detect(&second));
  EXPECT_FALSE(ch.Detect(&second));
  EXPECT_TRUE(uv.Detect(&second));

  COrvFile file(WriteScratch("chem.ms", std::string("\1" "2\0\0\0", 5)));
  EXPECT_FALSE(mass.Detect(&file));  // a data file on its own is no data folder
}

TEST(ChemStation, ReadsMassScans) {
  const std::string dir = Folder("mass");
  WriteIn(dir, "DATA.MS", MsFile());
  CSpcData data;
  ASSERT_TRUE(Mass().Read(dir, &data, 0));
  EXPECT_EQ(data.strName, "mass.d");
  EXPECT_EQ(data.nDomain, 1);
  EXPECT_EQ(data.params.GetValue("TITLE").GetString(), "sample A");
  EXPECT_EQ(data.params.GetValue("OWNER").GetString(), "op");
  EXPECT_EQ(data.params.GetValue("INSTRUM").GetString(), "GC-MS 5");
  ASSERT_EQ(data.scans.size(), 2u);

  const auto& peaks = data.scans[0].peaks;  // sorted by m/z
  ASSERT_EQ(peaks.size(), 3u);
  EXPECT_FLOAT_EQ(peaks[0].im, 30.0f);
  EXPECT_FLOAT_EQ(peaks[0].re, 1536.0f);  // 3 * 8^3
  EXPECT_FLOAT_EQ(peaks[1].im, 50.0f);
  EXPECT_FLOAT_EQ(peaks[1].re, 8.0f);     // 1 * 8
  EXPECT_FLOAT_EQ(peaks[2].im, 100.0f);
  EXPECT_FLOAT_EQ(peaks[2].re, 100.0f);
  EXPECT_FLOAT_EQ(data.scans[0].fIonCurrent, 1644.0f);
  EXPECT_FLOAT_EQ(data.scans[0].fTime, 60.0f);

  ASSERT_EQ(data.scans[1].peaks.size(), 1u);
  EXPECT_FLOAT_EQ(data.scans[1].peaks[0].im, 1.0f);
  EXPECT_FLOAT_EQ(data.scans[1].peaks[0].re, 16383.0f * 64.0f);
  EXPECT_FLOAT_EQ(data.scans[1].fTime, 61.5f);
}

TEST(ChemStation, ReadsIonCurrentTrace) {
  const std::string dir = Folder("tic");
  WriteIn(dir, "data.ms", MsFile());
  CTicConvertChemStation tic(2);
  CSpcData data;
  ASSERT_TRUE(tic.Read(dir, &data, 0));
  ASSERT_EQ(data.spectrum().size(), 2u);
  EXPECT_FLOAT_EQ(data.spectrum()[0].re, 1644.0f);
  EXPECT_FLOAT_EQ(data.spectrum()[1].re, 1048512.0f);
  EXPECT_DOUBLE_EQ(Param(data, "FIRSTX"), 60.0);
  EXPECT_DOUBLE_EQ(Param(data, "LASTX"), 120.0);
  EXPECT_TRUE(data.scans.empty());
}

TEST(ChemStation, ReadsUvBlocksWithRunningValue) {
  const std::string dir = Folder("uv");
  WriteIn(dir, "dad1.uv", UvFile());
  CUvConvertChemStation uv(2);
  CSpcData data;
  ASSERT_TRUE(uv.Read(dir, &data, 0));
  EXPECT_EQ(data.params.GetValue("NSCANS").GetLong(), 2);
  EXPECT_DOUBLE_EQ(Param(data, "FIRSTX"), 190.0);
  EXPECT_DOUBLE_EQ(Param(data, "LASTX"), 200.0);
  EXPECT_EQ(data.params.GetValue("NPOINTS").GetLong(), 3);
  const std::vector<float> expected = {500, 503, 502, 512, 492};
  ASSERT_EQ(data.spectrum().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_FLOAT_EQ(data.spectrum()[i].re, expected[i]) << i;
}

TEST(ChemStation, ReadsChromatogramGroups) {
  const std::string dir = Folder("ch");
  WriteIn(dir, "fid1a.ch", ChFile());
  CChConvertChemStation ch(2);
  CSpcData data;
  ASSERT_TRUE(ch.Read(dir, &data, 0));
  const std::vector<float> expected = {1000, 1005, 995, 997};
  ASSERT_EQ(data.spectrum().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_FLOAT_EQ(data.spectrum()[i].re, expected[i]) << i;
}

TEST(ChemStation, ReadSkipsFilesThatAreNotData) {
  const std::string dir = Folder("stray");
  WriteIn(dir, "a.ms", std::string(400, 'x'));   // same extension, other signature
  WriteIn(dir, "b.ms", std::string("\1" "2", 2));  // too short for a header
  CSpcData data;
  EXPECT_FALSE(Mass().Read(dir, &data, 0));
  WriteIn(dir, "c.ms", MsFile());
  ASSERT_TRUE(Mass().Read(dir, &data, 0));
  EXPECT_EQ(data.scans.size(), 2u);
  CSpcData none;
  CChConvertChemStation ch(2);
  EXPECT_FALSE(ch.Read(dir, &none, 0));
}

TEST(ChemStation, DamagedLengthsEndTheWalk) {
  const std::string dir = Folder("damaged");
  std::string ms = MsFile();
  PutBe(ms, 754, 0, 2);                    // first scan claims no length
  PutBe(ms, 280, 0x7FFF, 2);               // and the header claims 32767 scans
  WriteIn(dir, "data.ms", ms);
  std::string uv = UvFile();
  PutLe(uv, 512 + 18, 60000, 2);           // more codes than the block holds
  WriteIn(dir, "dad1.uv", uv);
  CSpcData mass;
  ASSERT_TRUE(Mass().Read(dir, &mass, 0));
  EXPECT_TRUE(mass.scans.empty());
  CSpcData trace;
  CUvConvertChemStation uvLeaf(2);
  ASSERT_TRUE(uvLeaf.Read(dir, &trace, 0));
  EXPECT_LE(trace.spectrum().size(), 7u);  // only the codes inside the 36-byte block
}

TEST(ChemStation, TruncatedDataFilesReadWhatTheyHold) {
  struct Case {
    std::string name;
    std::string bytes;
    std::int32_t kind;
  };
  const std::vector<Case> cases = {
      {"data.ms", MsFile(), kSpcKindMass}, {"data.ms", MsFile(), kSpcKindTic},
      {"dad1.uv", UvFile(), kSpcKindUv},   {"fid1a.ch", ChFile(), kSpcKindCh}};
  CChemStation reader;
  for (const Case& c : cases) {
    const std::string dir = Folder("sweep");
    // Every length around the header's end and the data's end, a sample of the rest.
    const auto near = [&](std::size_t n) { return n < 8 || (n >= 290 && n < 310) || c.bytes.size() - n < 48; };
    for (std::size_t n = 0; n < c.bytes.size(); n += near(n) ? 1 : 11) {
      WriteIn(dir, c.name, c.bytes.substr(0, n));
      COrvFile folder(dir);
      EXPECT_EQ(reader.Detect(&folder, c.kind), n >= 2u + (c.kind == kSpcKindUv || c.kind == kSpcKindCh ? 1u : 0u)) << n;
      CSpcData data;
      EXPECT_EQ(reader.Read(dir, &data, c.kind, 0), n >= 298) << c.name << " " << n;
    }
  }
}
