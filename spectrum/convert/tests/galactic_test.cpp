// Galactic SPC: detection, NMR, IR and mass reading, writing and reading back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "platform/oleauto/oleauto.h"
#include "spectrum/convert/galactic.h"
#include "spectrum/data/spcprocess.h"
#include "test_files.h"
#include "truncation_sweep.h"

using namespace convert_test;

namespace {

// Little-endian bytes, written the way the format lays them out.
struct Bytes {
  std::string s;
  explicit Bytes(std::size_t n = 0) : s(n, '\0') {}
  void U8(std::size_t at, std::uint8_t v) { s[at] = static_cast<char>(v); }
  void U16(std::size_t at, std::uint16_t v) {
    U8(at, v & 0xFF);
    U8(at + 1, v >> 8);
  }
  void U32(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) U8(at + i, static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void F32(std::size_t at, float f) {
    std::uint32_t b;
    std::memcpy(&b, &f, 4);
    U32(at, b);
  }
  void F64(std::size_t at, double d) {
    std::uint64_t b;
    std::memcpy(&b, &d, 8);
    U32(at, static_cast<std::uint32_t>(b));
    U32(at + 4, static_cast<std::uint32_t>(b >> 32));
  }
  void Text(std::size_t at, std::string_view t) { s.replace(at, t.size(), t); }
  void Append(std::size_t n) { s.append(n, '\0'); }
};

std::uint32_t PackDate(int y, int mo, int d, int h, int mi) {
  return static_cast<std::uint32_t>(mi | h << 6 | d << 11 | mo << 16 | y << 20);
}

// A new-format header of n points with x-units code xtype and exponent fexp.
Bytes NewHeader(std::uint8_t xtype, std::int32_t n, std::uint8_t fexp, double first, double last) {
  Bytes b(512 + 32);
  b.U8(1, 'K');
  b.U8(3, fexp);
  b.U32(4, static_cast<std::uint32_t>(n));
  b.F64(8, first);
  b.F64(16, last);
  b.U32(24, 1);
  b.U8(28, xtype);
  b.U32(32, PackDate(2001, 5, 12, 14, 30));
  b.Text(88, "memo text");
  return b;
}

// The date 12 May 2001 14:30:01, computed apart from the reader.
double ExpectedDate() {
  double d = 0.0;
  EXPECT_TRUE(plat::ole::dateFromParts({2001, 5, 12, 14, 30, 1}, &d));
  return d;
}

// An NMR spectrum of n points in our layout: reals at 544, a subfile header, imaginary parts,
// then the log. With shortWords (flag bit 0) both arrays are 16-bit integers.
std::string NmrSpectrumFile(std::int32_t n, std::uint8_t fexp, const std::string& log, bool shortWords = false) {
  Bytes b = NewHeader(10, n, fexp, 12.5, -1.5);
  const std::size_t width = shortWords ? 2 : 4;
  if (shortWords) b.U8(0, 1);
  for (std::int32_t i = 0; i < n; ++i) {
    b.Append(width);
    if (shortWords) {
      b.U16(544 + 2 * i, static_cast<std::uint16_t>(i * 3 - 500));
    } else {
      b.U32(544 + 4 * i, static_cast<std::uint32_t>(i * 3 - 500));
    }
  }
  b.Append(32);
  const std::size_t imagAt = 576 + width * static_cast<std::size_t>(n);
  for (std::int32_t i = 0; i < n; ++i) {
    b.Append(width);
    if (shortWords) {
      b.U16(imagAt + 2 * i, static_cast<std::uint16_t>(7 * i));
    } else {
      b.F32(imagAt + 4 * i, 0.5f * i);
    }
  }
  return b.s + log;
}

CSpcParamList ReadParams(const std::string& path, CSpcData* data, GalacticMode mode) {
  EXPECT_TRUE(CGalactic::Read(path, data, 0, mode));
  return data->params;
}

TEST(Galactic, DetectsByVersionAndXUnits) {
  struct Case {
    char version;
    std::uint8_t code;
    bool nmr, mass, ir;
  };
  const Case cases[] = {{'K', 10, true, false, false}, {'K', 4, true, false, false}, {'K', 9, false, true, false},
                        {'K', 13, false, false, true}, {'K', 1, false, false, true},  {'K', 3, false, false, false},
                        {'M', 1, false, false, true},  {'X', 10, false, false, false}};
  for (const Case& c : cases) {
    Bytes b(512);
    b.U8(1, static_cast<std::uint8_t>(c.version));
    b.U8(c.version == 'M' ? 16 : 28, c.code);
    const std::string path = WriteScratch("detect.spc", b.s);
    COrvFile file(path);
    SCOPED_TRACE(std::string(1, c.version) + " code " + std::to_string(c.code));
    EXPECT_EQ(CGalactic::Detect(&file, GalacticMode::Nmr), c.nmr);
    EXPECT_EQ(CGalactic::Detect(&file, GalacticMode::Mass), c.mass);
    EXPECT_EQ(CGalactic::Detect(&file, GalacticMode::Ir), c.ir);
  }
  Bytes shortFile(511);
  shortFile.U8(1, 'K');
  shortFile.U8(28, 10);
  COrvFile file(WriteScratch("short.spc", shortFile.s));
  EXPECT_FALSE(CGalactic::Detect(&file, GalacticMode::Nmr));
}

TEST(Galactic, IrIntegerAndFloatData) {
  // 16-bit values with fexp 16 are the raw integers; fexp 20 scales by 2^4.
  for (std::uint8_t fexp : {16, 20}) {
    Bytes b = NewHeader(1, 3, fexp, 4000.0, 400.0);
    b.U8(0, 1);
    b.Append(6);
    b.U16(544, 7);
    b.U16(546, static_cast<std::uint16_t>(-300));
    b.U16(548, 32767);
    CSpcData data;
    ReadParams(WriteScratch("ir16.spc", b.s), &data, GalacticMode::Ir);
    const double scale = std::pow(2.0, fexp - 16);
    ASSERT_EQ(data.spectrum().size(), 3u);
    EXPECT_EQ(data.spectrum()[0].re, 7 * scale);
    EXPECT_EQ(data.spectrum()[1].re, -300 * scale);
    EXPECT_EQ(data.spectrum()[2].re, 32767 * scale);
  }
  // 32-bit words: integers with fexp 32, floats with fexp 128.
  Bytes ints = NewHeader(13, 2, 32, 100.0, 200.0);
  ints.Append(8);
  ints.U32(544, 123456);
  ints.U32(548, static_cast<std::uint32_t>(-99));
  CSpcData data;
  const CSpcParamList params = ReadParams(WriteScratch("ir32.spc", ints.s), &data, GalacticMode::Ir);
  EXPECT_EQ(data.spectrum()[0].re, 123456.0f);
  EXPECT_EQ(data.spectrum()[1].re, -99.0f);
  EXPECT_EQ(data.nDomain, 1);
  EXPECT_EQ(params.GetValue("FIRSTX").GetDouble(), 100.0);
  EXPECT_EQ(params.GetValue("LASTX").GetDouble(), 200.0);
  EXPECT_EQ(params.GetValue("NPOINTS").GetLong(), 2);
  EXPECT_EQ(params.GetValue("TITLE").GetString(), "memo text");
  EXPECT_EQ(params.GetValue("DATE").GetDate().date, ExpectedDate());
  EXPECT_EQ(data.strName, "ir32");

  Bytes floats = NewHeader(1, 2, 128, 0.0, 1.0);
  floats.Append(8);
  floats.F32(544, 0.125f);
  floats.F32(548, -3.5e7f);
  CSpcData fdata;
  ReadParams(WriteScratch("irf.spc", floats.s), &fdata, GalacticMode::Ir);
  EXPECT_EQ(fdata.spectrum()[0].re, 0.125f);
  EXPECT_EQ(fdata.spectrum()[1].re, -3.5e7f);
}

TEST(Galactic, OldFormatIrSwapsWordHalves) {
  Bytes b(512);  // a header is always read whole, even where old data start earlier
  b.U8(1, 'M');
  b.U16(2, 32);
  b.F32(4, 2.0f);
  b.F32(8, 10.0f);
  b.F32(12, 20.0f);
  b.U8(16, 1);
  b.U16(18, 1999);
  b.U8(20, 12);
  b.U8(21, 31);
  b.U8(22, 23);
  b.U8(23, 59);
  b.Text(64, "old memo");
  const std::uint32_t value = 0x00012345;
  b.U32(256, value << 16 | value >> 16);
  b.U32(260, static_cast<std::uint32_t>(-2) << 16 | static_cast<std::uint32_t>(-2) >> 16);
  CSpcData data;
  const CSpcParamList params = ReadParams(WriteScratch("old.spc", b.s), &data, GalacticMode::Ir);
  ASSERT_EQ(data.spectrum().size(), 2u);
  EXPECT_EQ(data.spectrum()[0].re, static_cast<float>(0x12345));
  EXPECT_EQ(data.spectrum()[1].re, -2.0f);
  EXPECT_EQ(params.GetValue("FIRSTX").GetType(), plat::ole::VT_R4);
  EXPECT_EQ(params.GetValue("TITLE").GetString(), "old memo");
  double date = 0.0;
  ASSERT_TRUE(plat::ole::dateFromParts({1999, 12, 31, 23, 59, 1}, &date));
  EXPECT_EQ(params.GetValue("DATE").GetDate().date, date);
}

TEST(Galactic, IrShortDataOrHugeCountFails) {
  Bytes b = NewHeader(1, 4, 128, 0.0, 1.0);
  b.Append(12);  // one point short
  CSpcData data;
  EXPECT_FALSE(CGalactic::Read(WriteScratch("irshort.spc", b.s), &data, 0, GalacticMode::Ir));
  for (std::uint32_t n : {0x7FFFFFFFu, 0x80000000u, (1u << 27) + 1}) {
    Bytes huge = NewHeader(1, 0, 128, 0.0, 1.0);
    huge.U32(4, n);
    CSpcData d;
    EXPECT_FALSE(CGalactic::Read(WriteScratch("irhuge.spc", huge.s), &d, 0, GalacticMode::Nmr));
    EXPECT_FALSE(CGalactic::Read(WriteScratch("irhuge.spc", huge.s), &d, 0, GalacticMode::Ir));
  }
}

TEST(Galactic, NmrSpectrumOfThousandPointsWithLog) {
  const std::string log =
      "INSTRUM=bench\r\nSW_HZ=4000.5\nNUCFREQ=400.13\nDETMODE=SEQ\nSCANS=16\nSOLVENT=CDCl3\nno equals sign\n"
      "=orphan\nNMREND=NMREND";
  CSpcData data;
  const CSpcParamList p = ReadParams(WriteScratch("nmr1000.spc", NmrSpectrumFile(1000, 32, log)), &data,
                                     GalacticMode::Nmr);
  EXPECT_EQ(data.nDomain, 1);
  ASSERT_EQ(data.spectrum().size(), 1024u);
  EXPECT_TRUE(data.fid().empty());
  EXPECT_EQ(p.GetValue("SI").GetLong(), 1024);
  EXPECT_EQ(p.GetValue("TD").GetLong(), 2000);
  EXPECT_EQ(p.GetValue("NPOINTS").GetLong(), 1000);
  EXPECT_EQ(p.GetValue("XUNITS").GetString(), "PPM");
  // The points sit where the file holds them for 1000 points; the padding stays 0.
  for (int i : {0, 1, 500, 999}) {
    EXPECT_EQ(data.spectrum()[i].re, static_cast<float>(i * 3 - 500)) << i;
    EXPECT_EQ(data.spectrum()[i].im, 0.5f * i) << i;
  }
  EXPECT_EQ(data.spectrum()[1000].re, 0.0f);
  EXPECT_EQ(data.spectrum()[1023].im, 0.0f);

  EXPECT_EQ(p.GetValue("SW").GetDouble(), 4000.5);
  EXPECT_EQ(p.GetValue("SF").GetDouble(), 400.13);
  EXPECT_EQ(p.GetValue("SFO1").GetDouble(), 400.13);
  EXPECT_EQ(p.GetValue("AQ_mod").GetLong(), 1);
  EXPECT_EQ(p.GetValue("NS").GetLong(), 16);
  EXPECT_EQ(p.GetValue("NSC").GetLong(), 16);
  EXPECT_EQ(p.GetValue("INSTRUM").GetString(), "bench");
  EXPECT_EQ(p.GetValue("SOLVENT").GetString(), "CDCl3");
  EXPECT_EQ(p.GetValue("NMREND").GetString(), "NMREND");
  EXPECT_FALSE(p.HasParam("no equals sign"));
  EXPECT_EQ(p.GetValue("OFFSET").GetDouble(), 12.5);
  EXPECT_FALSE(p.HasParam("OF"));
  EXPECT_EQ(p[p.size() - 1].name, "OFFSET");
}

TEST(Galactic, NmrAppliesTheExponentAndToleratesMissingParts) {
  CSpcData scaled;
  ReadParams(WriteScratch("nmrexp.spc", NmrSpectrumFile(4, 30, "")), &scaled, GalacticMode::Nmr);
  EXPECT_EQ(scaled.spectrum()[0].re, -500.0f / 4.0f);
  EXPECT_EQ(scaled.spectrum()[3].re, (9.0f - 500.0f) / 4.0f);

  // Without imaginary parts and log: the reals and the header parameters only.
  std::string cut = NmrSpectrumFile(4, 32, "SW_HZ=10\n");
  cut.resize(544 + 16 + 20);
  CSpcData data;
  const CSpcParamList p = ReadParams(WriteScratch("nmrcut.spc", cut), &data, GalacticMode::Nmr);
  EXPECT_EQ(data.spectrum()[1].re, -497.0f);
  EXPECT_EQ(data.spectrum()[1].im, 0.0f);
  EXPECT_FALSE(p.HasParam("SW"));
  EXPECT_TRUE(p.HasParam("OFFSET"));

  // Reals cut short: the file cannot describe its points.
  cut.resize(544 + 8);
  CSpcData none;
  EXPECT_FALSE(CGalactic::Read(WriteScratch("nmrcut2.spc", cut), &none, 0, GalacticMode::Nmr));

  // 16-bit data (flag bit 0), scaled by 2^(exponent - 16); the log still follows them.
  CSpcData shortData;
  const CSpcParamList sp =
      ReadParams(WriteScratch("nmr16.spc", NmrSpectrumFile(4, 17, "SW_HZ=10\n", true)), &shortData, GalacticMode::Nmr);
  ASSERT_EQ(shortData.spectrum().size(), 4u);
  EXPECT_EQ(shortData.spectrum()[3].re, (9.0f - 500.0f) * 2.0f);
  EXPECT_EQ(shortData.spectrum()[3].im, 42.0f);
  EXPECT_EQ(sp.GetValue("SW").GetDouble(), 10.0);
}

// A FID record set up as the loader would.
struct FidRecord {
  CSpcData data;
  CSpcProcess process{&data};
  explicit FidRecord(std::int32_t complexPoints) {
    data.nKind = kSpcKindNmr;
    data.nDomain = 0;
    auto add = [&](const char* name, CVariant v) { data.params.Append(CSpcParam{v, name, ""}); };
    CVariant v;
    v.SetDouble(500.25);
    add("SFO1", v);
    v.SetDouble(6000.0);
    add("SW", v);
    v.SetLong(2 * complexPoints);
    add("TD", v);
    v.SetLong(2 * complexPoints);
    add("SI", v);
    v.SetLong(8);
    add("NSC", v);
    v.SetDouble(6.5);
    add("DE", v);
    v.SetString("spectrometer-x");
    add("INSTRUM", v);
    v.SetString("line one\nline two");
    add("TITLE", v);
    v.SetString("1H");
    add("NUCLEUS", v);
    double date = 0.0;
    EXPECT_TRUE(plat::ole::dateFromParts({2003, 7, 4, 9, 15, 42}, &date));
    v.SetDate(date);
    add("DATE", v);
    for (std::int32_t i = 0; i < complexPoints; ++i)
      data.fid().push_back(CSpcPoint{static_cast<float>(1000.7 * std::sin(i * 0.3) - 2.5), 0.25f * i - 3.0f});
    process.InitFromParams();
    process.SelectData();
  }
};

TEST(Galactic, NmrFidWrittenAndReadBack) {
  FidRecord rec(64);
  const std::string path = plat::joinPath(ScratchDir("files"), "fid_out.spc");
  CNmrConvertGalactic conv(12);
  ASSERT_TRUE(conv.Write(path, &rec.process, 0, 0));

  const std::string bytes = ReadAll(path);
  ASSERT_GE(bytes.size(), 576u + 8 * 64);
  EXPECT_EQ(bytes[1], 'K');
  EXPECT_EQ(bytes[2], 10);
  EXPECT_EQ(bytes[3], 32);
  EXPECT_EQ(bytes[28], 4);
  EXPECT_EQ(bytes[512 + 1], 32);
  EXPECT_EQ(std::string(bytes.c_str() + 45), "spectrom");  // 8 characters at most
  EXPECT_EQ(bytes.substr(576 + 8 * 64, 8), "INSTRUM=");
  // The x range in seconds: the first and the last point's time, not the point count.
  double first = -1, last = -1;
  std::memcpy(&first, bytes.data() + 8, 8);
  std::memcpy(&last, bytes.data() + 16, 8);
  EXPECT_EQ(first, 0.0);
  EXPECT_DOUBLE_EQ(last, 63 / 6000.0);

  CSpcData back;
  ASSERT_TRUE(conv.Read(path, &back, 0));
  EXPECT_EQ(back.nDomain, 0);
  ASSERT_EQ(back.fid().size(), 64u);
  for (std::size_t i = 0; i < 64; ++i) {
    const CSpcPoint& orig = rec.data.fid()[i];
    EXPECT_EQ(back.fid()[i].re, std::trunc(orig.re)) << i;  // truncated toward zero
    EXPECT_EQ(back.fid()[i].im, orig.im) << i;
  }
  const CSpcParamList& p = back.params;
  EXPECT_EQ(p.GetValue("TD").GetLong(), 128);
  EXPECT_EQ(p.GetValue("XUNITS").GetString(), "HERTZ");
  EXPECT_EQ(p.GetValue("SW").GetDouble(), 6000.0);
  EXPECT_EQ(p.GetValue("SFO1").GetDouble(), 500.25);
  EXPECT_EQ(p.GetValue("NSC").GetLong(), 8);
  EXPECT_EQ(p.GetValue("AQ_mod").GetLong(), 1);  // the acquisition mode of the FID
  rec.process.m_nAqMode = 2;
  ASSERT_TRUE(conv.Write(path, &rec.process, 0, 0));
  CSpcData again;
  ASSERT_TRUE(conv.Read(path, &again, 0));
  EXPECT_EQ(again.params.GetValue("AQ_mod").GetLong(), 2);
  EXPECT_EQ(p.GetValue("TITLE").GetString(), "line one\nline two");
  EXPECT_EQ(p.GetValue("DELAY").GetString(), "6.500000");
  EXPECT_NEAR(p.GetValue("DWELL").GetDouble(), 0.5 / 6000.0, 1e-6);
  EXPECT_NEAR(p.GetValue("ACQTIME").GetDouble(), 64 / 6000.0, 1e-6);
  EXPECT_EQ(p.GetValue("FID").GetString(), "TRUE");
  EXPECT_EQ(p.GetValue("OF").GetDouble(), 0.0);
  double date = 0.0;
  ASSERT_TRUE(plat::ole::dateFromParts({2003, 7, 4, 9, 15, 1}, &date));
  EXPECT_EQ(p.GetValue("DATE").GetDate().date, date);
}

// A phased spectrum record of n points (n need not be a power of two).
struct SpectrumRecord {
  CSpcData data;
  CSpcProcess process{&data};
  SpectrumRecord(std::int32_t n, double amplitude) {
    data.nKind = kSpcKindNmr;
    data.nDomain = 1;
    CVariant v;
    v.SetDouble(400.0);
    data.params.Append(CSpcParam{v, "SF", ""});
    v.SetDouble(8000.0);
    data.params.Append(CSpcParam{v, "SW", ""});
    v.SetDouble(10.0);
    data.params.Append(CSpcParam{v, "OFFSET", ""});
    v.SetLong(n);
    data.params.Append(CSpcParam{v, "SI", ""});
    for (std::int32_t i = 0; i < n; ++i)
      data.spectrum().push_back(CSpcPoint{static_cast<float>(amplitude * std::cos(i * 0.01)), static_cast<float>(i)});
    process.InitFromParams();
  }
};

TEST(Galactic, NmrSpectrumOfOddSizeRoundTrips) {
  SpectrumRecord rec(1000, 5.0e4);
  const std::string path = plat::joinPath(ScratchDir("files"), "odd_out.spc");
  CNmrConvertGalactic conv(12);
  ASSERT_TRUE(conv.Write(path, &rec.process, 0, 0));
  CSpcData back;
  ASSERT_TRUE(conv.Read(path, &back, 0));
  ASSERT_EQ(back.spectrum().size(), 1024u);
  for (std::size_t i = 0; i < 1000; ++i) {
    EXPECT_EQ(back.spectrum()[i].re, std::trunc(rec.data.spectrum()[i].re)) << i;
    EXPECT_EQ(back.spectrum()[i].im, rec.data.spectrum()[i].im) << i;
  }
  // ppm of point 0 is OFFSET (Hz at the left edge / SF); the last point is one step short of
  // the right edge: 10 - 999 * (8000 / 400) / 1000.
  EXPECT_NEAR(back.params.GetValue("FIRSTX").GetDouble(), 10.0, 1e-9);
  EXPECT_NEAR(back.params.GetValue("LASTX").GetDouble(), 10.0 - 999 * 0.02, 1e-9);
  EXPECT_NEAR(back.params.GetValue("OFFSET").GetDouble(), 10.0, 1e-9);
  EXPECT_EQ(back.params.GetValue("FID").GetString(), "FALSE");
}

TEST(Galactic, NmrValuesBeyondTheIntegerRangeAreScaledNotWrapped) {
  SpectrumRecord rec(256, 3.0e11);
  const std::string path = plat::joinPath(ScratchDir("files"), "big_out.spc");
  CNmrConvertGalactic conv(12);
  ASSERT_TRUE(conv.Write(path, &rec.process, 0, 0));
  EXPECT_GT(static_cast<unsigned char>(ReadAll(path)[3]), 32u);
  CSpcData back;
  ASSERT_TRUE(conv.Read(path, &back, 0));
  for (std::size_t i = 0; i < 256; i += 17) {
    const double want = rec.data.spectrum()[i].re;
    EXPECT_NEAR(back.spectrum()[i].re, want, 3.0e11 * 1e-6) << i;
  }
}

TEST(Galactic, IrWrittenAndReadBack) {
  CSpcData data;
  data.nKind = kSpcKindIr;
  data.nDomain = 1;
  CVariant v;
  v.SetDouble(4000.0);
  data.params.Append(CSpcParam{v, "FIRSTX", ""});
  v.SetDouble(400.0);
  data.params.Append(CSpcParam{v, "LASTX", ""});
  v.SetLong(37);
  data.params.Append(CSpcParam{v, "NPOINTS", ""});
  for (int i = 0; i < 37; ++i) data.spectrum().push_back(CSpcPoint{0.01f * i * i - 0.3f, 0.0f});
  CSpcProcess process(&data);
  process.InitFromParams();

  const std::string path = plat::joinPath(ScratchDir("files"), "ir_out.spc");
  CIrConvertGalactic conv(5);
  EXPECT_EQ(conv.GetSaveOptions(), "FLOAT;INTEGER");
  ASSERT_TRUE(conv.Write(path, &process, 1, 0));  // either option writes floats
  EXPECT_EQ(static_cast<unsigned char>(ReadAll(path)[3]), 128u);
  EXPECT_EQ(ReadAll(path).size(), 544u + 4 * 37);
  COrvFile file(path);
  EXPECT_TRUE(conv.Detect(&file));

  CSpcData back;
  ASSERT_TRUE(conv.Read(path, &back, 0));
  ASSERT_EQ(back.spectrum().size(), 37u);
  for (int i = 0; i < 37; ++i) EXPECT_EQ(back.spectrum()[i].re, data.spectrum()[i].re) << i;
  EXPECT_EQ(back.params.GetValue("FIRSTX").GetDouble(), 4000.0);
  EXPECT_EQ(back.params.GetValue("LASTX").GetDouble(), 400.0);
  EXPECT_FALSE(back.params.HasParam("DATE"));  // none was written
}

TEST(Galactic, WriteFailuresAreReported) {
  SpectrumRecord rec(16, 1.0);
  CNmrConvertGalactic conv(12);
  EXPECT_FALSE(conv.Write("/nonexistent-folder/x.spc", &rec.process, 0, 0));
  EXPECT_FALSE(conv.Write("/tmp/x.spc", nullptr, 0, 0));
  CSpcData empty;
  empty.nDomain = 1;
  CSpcProcess none(&empty);
  EXPECT_FALSE(conv.Write(plat::joinPath(ScratchDir("files"), "empty.spc"), &none, 0, 0));
}

std::string MassFile() {
  Bytes b = NewHeader(9, 0, 128, 0.0, 0.0);
  const std::int32_t n = 4;
  b.U32(512 + 16, n);
  b.Append(6 * n);
  const float masses[] = {120.5f, 43.0f, 77.25f, 43.0f};
  const std::int16_t intensities[] = {500, 1000, -5, 7};
  for (int i = 0; i < n; ++i) {
    b.F32(544 + 4 * i, masses[i]);
    b.U16(544 + 4 * n + 2 * i, static_cast<std::uint16_t>(intensities[i]));
  }
  return b.s;
}

TEST(Galactic, MassPeaksSortedByMass) {
  const std::string path = WriteScratch("peaks.spc", MassFile());
  CMassConvertGalactic conv(3);
  COrvFile file(path);
  EXPECT_TRUE(conv.Detect(&file));
  CSpcData data;
  ASSERT_TRUE(conv.Read(path, &data, 0));
  ASSERT_EQ(data.scans.size(), 1u);
  const CMassScan& scan = data.scans[0];
  EXPECT_EQ(scan.fIonCurrent, 100.0f);
  ASSERT_EQ(scan.peaks.size(), 4u);
  const float wantMass[] = {43.0f, 43.0f, 77.25f, 120.5f};
  const float wantIntensity[] = {1000.0f, 7.0f, -5.0f, 500.0f};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(scan.peaks[i].im, wantMass[i]) << i;
    EXPECT_EQ(scan.peaks[i].re, wantIntensity[i]) << i;
  }
  EXPECT_EQ(data.strName, "peaks.spc");
  EXPECT_EQ(data.params.GetValue("DATE").GetDate().date, ExpectedDate());

  std::string cut = MassFile();
  cut.pop_back();
  CSpcData none;
  EXPECT_FALSE(conv.Read(WriteScratch("peaks_cut.spc", cut), &none, 0));
}

TEST(Galactic, LoadsThroughTheKindTable) {
  const std::string path = WriteScratch("table.spc", NmrSpectrumFile(8, 32, "SW_HZ=2000\nNUCFREQ=100\n"));
  CSpcData data;
  std::string format;
  ASSERT_EQ(SpcLoadSpectrum(path, 0, &data, &format), SpcLoadResult::Loaded);
  EXPECT_EQ(format, "Galactic");
  EXPECT_EQ(data.nKind, kSpcKindNmr);
  CSpcProcess process(&data);
  process.InitFromParams();
  EXPECT_EQ(process.m_nSI, 8);
  EXPECT_EQ(process.m_dSW, 2000.0);
  EXPECT_EQ(process.m_dFreq, 100.0);
  EXPECT_NEAR(process.m_dOffset, 12.5 * 100.0, 1e-3);
  EXPECT_EQ(process.m_nCur, 8);
}

TEST(Galactic, TruncatedFilesNeverCrash) {
  const auto sweep = [](std::string_view name, const std::string& bytes, CSpcConvert& conv) {
    SweepPrefixes(name, bytes, [&](const std::string& path, COrvFile& file, std::size_t length) {
      const bool detected = conv.Detect(&file);
      if (length < 512) {
        EXPECT_FALSE(detected);
      }
      CSpcData data;
      ReadSayingWhy(conv, path, &data);
    });
  };
  CNmrConvertGalactic nmr(12);
  CIrConvertGalactic ir(5);
  CMassConvertGalactic mass(3);
  sweep("nmr.spc", NmrSpectrumFile(20, 32, "SW_HZ=1\nSCANS=2\n"), nmr);
  Bytes irFile = NewHeader(1, 10, 128, 0.0, 1.0);
  irFile.Append(40);
  sweep("ir.spc", irFile.s, ir);
  sweep("mass.spc", MassFile(), mass);
}

}  // namespace
