// The Aspect (DisNMR) reader: machine-word conversions, the header of both layouts, FID and
// spectrum data, detection and damaged files.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../../tests/test_files.h"
#include "../../tests/truncation_sweep.h"
#include "spectrum/convert/nmr/vxr.h"

namespace {

void PutWord(std::string& s, std::size_t at, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v) & 0xFFFFFF;
  s[at] = static_cast<char>(u >> 16);
  s[at + 1] = static_cast<char>(u >> 8);
  s[at + 2] = static_cast<char>(u);
}

void PutDecimal(std::string& s, std::size_t at, std::int32_t m, int k) {
  PutWord(s, at, static_cast<std::int32_t>((static_cast<std::uint32_t>(m) << 3) | static_cast<std::uint32_t>(k)));
}

// value = f * 2^e with 0.5 <= |f| < 1: f as a 37-bit fraction, e as an 11-bit code.
void PutReal(std::string& s, std::size_t at, double value) {
  int e = 0;
  const double f = std::frexp(value, &e);
  const auto fraction = static_cast<std::int64_t>(std::ldexp(f, 36));
  const auto bits = static_cast<std::uint64_t>(fraction) & ((std::uint64_t(1) << 37) - 1);
  PutWord(s, at, static_cast<std::int32_t>(bits >> 13));
  PutWord(s, at + 3, static_cast<std::int32_t>((bits & 0x1FFF) | (static_cast<std::uint64_t>(e & 0x7FF) << 13)));
}

// A conversion applied to the bytes of s from their start.
template <class Read, class... Args>
auto FromStart(Read read, const std::string& s, Args... args) {
  plat::ByteCursor in(s);
  return read(in, args...);
}

constexpr double kDate = 37023.0 + (14 * 3600 + 30 * 60 + 15) / 86400.0;  // 12 May 2001 14:30:15

std::string Header(bool layoutB, std::int32_t nc, std::int32_t word120, std::int32_t td) {
  std::string s(768, '\0');
  PutWord(s, 0, 0x4784F5);
  PutWord(s, 36, (1 << 18) | (2 << 12) | (3 << 6) | 0);  // "ABC "
  const std::string title = "proton test";
  s.replace(48, title.size(), title);
  PutWord(s, 120, word120);
  PutWord(s, 123, nc);
  PutWord(s, 126, 7);
  PutWord(s, 129, td);
  PutReal(s, 132, 100.0);
  PutWord(s, 156, 2);
  PutReal(s, 159, 5000.0);
  PutWord(s, 165, 0);
  PutReal(s, 171, 1500.0);
  PutReal(s, 189, 0.5);
  PutDecimal(s, 201, 5, 1);
  PutDecimal(s, 204, 5, 2);
  PutDecimal(s, 207, -5, 1);
  PutWord(s, 210, 16);
  PutReal(s, 231, 400.125);
  PutWord(s, 243, 3);
  PutWord(s, 255, 300);
  PutWord(s, 264, 0x1234);
  s[285] = layoutB ? '`' : 'A';
  const std::size_t day = layoutB ? 510 : 435, time = layoutB ? 288 : 438;
  s[day] = 0x12, s[day + 1] = 0x05, s[day + 2] = 0x01;
  s[time] = 0x14, s[time + 1] = 0x30, s[time + 2] = 0x15;
  PutReal(s, layoutB ? 543 : 471, -250.0);
  if (!layoutB) {
    for (int i = 0; i < 10; ++i) {
      PutDecimal(s, 327 + 3 * i, i + 1, 1);
      PutWord(s, 357 + 3 * i, -i);
      PutDecimal(s, 387 + 3 * i, i, 2);
    }
  }
  return s;
}

std::vector<std::int32_t> Words(std::size_t count) {
  std::vector<std::int32_t> v;
  for (std::size_t i = 0; i < count; ++i) v.push_back(static_cast<std::int32_t>((i % 2 ? -1 : 1) * ((i * 4099) % 8388607)));
  return v;
}

std::string WithData(std::string header, const std::vector<std::int32_t>& words) {
  for (std::int32_t w : words) {
    std::string b(3, '\0');
    PutWord(b, 0, w);
    header += b;
  }
  return header;
}

bool ReadAspect(const std::string& path, CSpcData* data) {
  CNmrConvertAspect leaf(2);
  return leaf.Read(path, data, 0);
}

TEST(AspectWords, IntegerDecimalRealAndText) {
  std::string s(6, '\0');
  PutWord(s, 0, -1);
  EXPECT_EQ(FromStart(ReadAspectWord, s), -1);
  PutWord(s, 0, 0x4784F5);
  EXPECT_EQ(FromStart(ReadAspectWord, s), 4687093);

  const struct { std::int32_t m; int k; double value; } decimals[] = {{5, 1, 5}, {5, 2, 50}, {5, 0, 0.5}, {-5, 1, -5}, {-1048576, 7, -1048576e6}};
  for (const auto& d : decimals) {
    PutDecimal(s, 0, d.m, d.k);
    EXPECT_DOUBLE_EQ(FromStart(ReadAspectDecimal, s), d.value) << d.m << " " << d.k;
  }

  PutWord(s, 0, 1 << 22);
  PutWord(s, 3, 1 << 13);
  EXPECT_EQ(FromStart(ReadAspectReal48, s), 1.0);
  PutWord(s, 3, 0);
  EXPECT_EQ(FromStart(ReadAspectReal48, s), 0.5);
  PutWord(s, 0, 0);
  EXPECT_EQ(FromStart(ReadAspectReal48, s), 0.0);  // a zero mantissa reads zero
  for (double v : {400.125, -250.0, std::ldexp(3.0, -40), -3.75e9, 0.75, -0.5, -1.0}) {
    PutReal(s, 0, v);
    EXPECT_EQ(FromStart(ReadAspectReal48, s), v) << v;
  }
  // The largest exponent with the largest mantissa overflows a double: it saturates.
  PutWord(s, 0, 0x7FFFFF);
  PutWord(s, 3, 0x801FFF);
  EXPECT_TRUE(std::isfinite(FromStart(ReadAspectReal48, s)));

  PutWord(s, 0, (2 << 18) | (2 << 12) | (3 << 6) | 3);
  EXPECT_EQ(FromStart(ReadAspectSixbitText, s, std::size_t{3}), "BBCC");
  PutWord(s, 0, (0 << 18) | (32 << 12) | (33 << 6) | 63);
  EXPECT_EQ(FromStart(ReadAspectSixbitText, s, std::size_t{3}), "  !?");
  EXPECT_EQ(FromStart(ReadAspectSixbitText, s, std::size_t{2}), "");  // no whole word

  const std::string text = std::string("\xC1" "bc\0def", 7);
  EXPECT_EQ(FromStart(ReadAspectText, text, std::size_t{7}), "Abc");
  EXPECT_EQ(FromStart(ReadAspectText, text, std::size_t{2}), "Ab");
}

TEST(AspectRead, LayoutAFidHeaderAndArrays) {
  const std::vector<std::int32_t> w = Words(2000);
  const std::string path = convert_test::WriteScratch("fid.001", WithData(Header(false, 1, 4096, 2000), w));
  CSpcData data;
  ASSERT_TRUE(ReadAspect(path, &data));
  const CSpcParamList& p = data.params;
  EXPECT_EQ(data.strName, "fid");
  EXPECT_EQ(data.nState, 1);
  EXPECT_EQ(data.nAcqCode, 2);
  EXPECT_EQ(data.nDomain, 0);

  const char* order[] = {"AQ_mod", "LB", "TE", "SF", "PW", "RD", "DE", "NS", "RG", "DS", "DP", "NSC", "NC", "NE",
                         "DW", "OWNER", "TITLE", "SI", "TD", "SW", "SFO1", "O1", "OF", "OP", "DATE", "D", "S", "P"};
  ASSERT_EQ(p.size(), std::size(order));
  for (std::size_t i = 0; i < p.size(); ++i) EXPECT_EQ(p[i].name, order[i]) << i;

  EXPECT_EQ(p.GetValue("AQ_mod").GetLong(), 2);
  EXPECT_EQ(p.GetValue("LB").GetDouble(), 0.5);
  EXPECT_EQ(p.GetValue("TE").GetLong(), 300);
  EXPECT_EQ(p.GetValue("SF").GetDouble(), 400.125);
  EXPECT_EQ(p.GetValue("PW").GetType(), plat::ole::VT_R4);
  EXPECT_EQ(p.GetValue("PW").GetFloat(), 50.0f);
  EXPECT_EQ(p.GetValue("RD").GetFloat(), 5e-6f);
  EXPECT_EQ(p.GetValue("DE").GetFloat(), -5.0f);
  EXPECT_EQ(p.GetValue("NS").GetLong(), 16);
  EXPECT_EQ(p.GetValue("NE").GetLong(), 16);
  EXPECT_EQ(p.GetValue("RG").GetLong(), 0x34);
  EXPECT_EQ(p.GetValue("DS").GetLong(), 2);
  EXPECT_EQ(p.GetValue("DP").GetLong(), 3);
  EXPECT_EQ(p.GetValue("NSC").GetLong(), 7);
  EXPECT_EQ(p.GetValue("NC").GetLong(), 1);
  EXPECT_DOUBLE_EQ(p.GetValue("DW").GetDouble(), 1e-4);
  EXPECT_EQ(p.GetValue("OWNER").GetString(), "ABC ");
  EXPECT_EQ(p.GetValue("TITLE").GetString(), "proton test");
  EXPECT_EQ(p.GetValue("SI").GetLong(), 2048);
  EXPECT_EQ(p.GetValue("TD").GetLong(), 2000);
  EXPECT_EQ(p.GetValue("SW").GetDouble(), 5000.0);
  EXPECT_DOUBLE_EQ(p.GetValue("SFO1").GetDouble(), 400.1265);
  EXPECT_EQ(p.GetValue("O1").GetDouble(), 1500.0);
  EXPECT_EQ(p.GetValue("OF").GetDouble(), 4750.0);
  EXPECT_EQ(p.GetValue("OP").GetLong(), 0);
  EXPECT_NEAR(p.GetValue("DATE").GetDate().date, kDate, 1e-9);
  const CVariant d = p.GetValue("D"), s = p.GetValue("S"), pulses = p.GetValue("P");
  ASSERT_EQ(d.GetUBound(), 9);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(d.GetItem(i).GetValue().GetFloat(), static_cast<float>((i + 1) * 1e-6)) << i;
    EXPECT_EQ(s.GetItem(i).GetValue().GetFloat(), static_cast<float>(-i)) << i;
    EXPECT_EQ(pulses.GetItem(i).GetValue().GetFloat(), static_cast<float>(i * 10)) << i;
  }

  ASSERT_EQ(data.fid().size(), 1024u);
  for (std::size_t i = 0; i < 1000; ++i) {
    ASSERT_EQ(data.fid()[i].re, static_cast<float>(w[2 * i])) << i;  // real part first
    ASSERT_EQ(data.fid()[i].im, static_cast<float>(w[2 * i + 1])) << i;
  }
  for (std::size_t i = 1000; i < 1024; ++i) ASSERT_EQ(data.fid()[i].re, 0.0f);
}

TEST(AspectRead, LayoutBSpectrum) {
  const std::vector<std::int32_t> w = Words(4096);
  std::string header = Header(true, -1, 4096, 2000);
  header.replace(48, 72, std::string(72, 'T'));  // a full title field and no terminator
  const std::string path = convert_test::WriteScratch("sample.001", WithData(header, w));
  CSpcData data;
  ASSERT_TRUE(ReadAspect(path, &data));
  EXPECT_EQ(data.nDomain, 1);
  EXPECT_TRUE(data.fid().empty());
  ASSERT_EQ(data.spectrum().size(), 2048u);
  EXPECT_EQ(data.spectrum()[2047].re, static_cast<float>(w[4094]));
  EXPECT_EQ(data.spectrum()[2047].im, static_cast<float>(w[4095]));
  const CSpcParamList& p = data.params;
  EXPECT_FALSE(p.HasParam("D"));
  EXPECT_EQ(p.GetValue("OF").GetDouble(), 4750.0);
  EXPECT_NEAR(p.GetValue("DATE").GetDate().date, kDate, 1e-9);
  // The title is its own 72 bytes, not the parameter words after it.
  EXPECT_EQ(p.GetValue("TITLE").GetString(), std::string(72, 'T'));
}

TEST(AspectRead, BcdYearsAndInvalidDates) {
  const struct { unsigned char raw; double firstOfMay; } years[] = {{0x99, 36281.0}, {0x05, 38473.0}, {0x80, 29342.0}};
  for (const auto& y : years) {
    std::string h = Header(false, 1, 0, 0);
    h[435] = 0x01, h[436] = 0x05, h[437] = static_cast<char>(y.raw);
    h[438] = h[439] = h[440] = 0;
    CSpcData data;
    ASSERT_TRUE(ReadAspect(convert_test::WriteScratch("year.001", h), &data));
    EXPECT_EQ(data.params.GetValue("DATE").GetDate().date, y.firstOfMay) << int(y.raw);
    EXPECT_EQ(data.fid().size(), 1u);  // no points: one zero point
  }
  std::string h = Header(false, 1, 0, 0);
  h[436] = 0x13;  // month 13
  CSpcData data;
  ASSERT_TRUE(ReadAspect(convert_test::WriteScratch("baddate.001", h), &data));
  EXPECT_FALSE(data.params.HasParam("DATE"));
}

TEST(AspectRead, DamagedFilesFailCleanly) {
  const std::string full = WithData(Header(false, 1, 0, 16), Words(16));
  {
    CSpcData data;
    EXPECT_FALSE(ReadAspect(convert_test::WriteScratch("short.001", full.substr(0, 554)), &data));
    EXPECT_TRUE(data.params.empty());
  }
  {
    CSpcData data;
    EXPECT_FALSE(ReadAspect(convert_test::WriteScratch("cut.001", full.substr(0, full.size() - 1)), &data));
    EXPECT_TRUE(data.params.HasParam("DATE"));
    EXPECT_TRUE(data.fid().empty());
  }
  {
    CSpcData data;
    EXPECT_FALSE(ReadAspect(convert_test::WriteScratch("neg.001", WithData(Header(false, 1, 0, -16), Words(16))), &data));
    EXPECT_TRUE(data.fid().empty());
  }
}

TEST(AspectDetect, MagicWordAndSize) {
  CNmrConvertAspect leaf(2);
  const std::string h = Header(false, 1, 0, 0);
  COrvFile whole(convert_test::WriteScratch("d.001", h.substr(0, 555)));
  EXPECT_TRUE(leaf.Detect(&whole));
  COrvFile shorter(convert_test::WriteScratch("d.001", h.substr(0, 554)));
  EXPECT_FALSE(leaf.Detect(&shorter));
  COrvFile other(convert_test::WriteScratch("d.001", std::string(600, 'x')));
  EXPECT_FALSE(leaf.Detect(&other));
  EXPECT_EQ(leaf.GetDefaultExt(), ".001");
}

TEST(AspectTruncation, EveryPrefixIsSafe) {
  const std::string bytes = WithData(Header(false, 1, 0, 64), Words(64));
  convert_test::SweepPrefixes("t.001", bytes, [](const std::string& path, COrvFile& file, std::size_t length) {
    CNmrConvertAspect leaf(2);
    EXPECT_EQ(leaf.Detect(&file), length >= 555);
    CSpcData data;
    EXPECT_FALSE(convert_test::ReadSayingWhy(leaf, path, &data));
    EXPECT_TRUE(data.fid().empty());
  }, 8);
}

}  // namespace
