// NMR JCAMP-DX converter: NTUPLES and plain tables in; phased NTUPLES pages out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "spectrum/convert/jdxconvert.h"
#include "spectrum/convert/tests/jdx_test_util.h"

using namespace convert_test;

namespace {

float FidRe(int i) { return static_cast<float>((i * 37) % 2001 - 1000); }
float FidIm(int i) { return static_cast<float>((i * 53) % 1501 - 700); }

// A two-page NTUPLES FID of 1000 points, ten AFFN values a line.
std::string NtuplesFid() {
  std::string s =
      "##TITLE= fid\r\n##JCAMP-DX= 5.00\r\n##DATA TYPE= NMR FID\r\n##DATA CLASS= NTUPLES\r\n"
      "##.OBSERVE FREQUENCY= 400.13\r\n##$SW_h= 5000\r\n##$TD= 2000\r\n##NTUPLES= NMR FID\r\n"
      "##VAR_NAME= TIME, FID/REAL, FID/IMAG, PAGE NUMBER\r\n##SYMBOL= X, R, I, N\r\n"
      "##VAR_DIM= 1000, 1000, 1000, 2\r\n##UNITS= SECONDS, ARBITRARY UNITS, ARBITRARY UNITS,\r\n"
      "##FIRST= 0, 0, 0, 1\r\n##LAST= 0.1998, 0, 0, 2\r\n##FACTOR= 0.0002, 1, 1, 1\r\n";
  for (int page = 1; page <= 2; ++page) {
    s += "##PAGE= N=" + std::to_string(page) + "\r\n##DATA TABLE= (X++(" + (page == 1 ? "R..R" : "I..I") +
         ")), XYDATA\r\n";
    for (int i = 0; i < 1000; i += 10) {
      s += std::to_string(i);
      for (int k = i; k < i + 10; ++k) s += " " + std::to_string(static_cast<int>(page == 1 ? FidRe(k) : FidIm(k)));
      s += "\r\n";
    }
  }
  return s + "##END NTUPLES= NMR FID\r\n##END=\r\n";
}

// A two-page NTUPLES spectrum whose labels give declared points and whose pages hold held of
// them, FidRe and FidIm, ten AFFN values a line; x runs up in the given units.
std::string NtuplesSpectrum(int held, int declared, const std::string& units) {
  const std::string n = std::to_string(declared);
  std::string s = "##TITLE= large\r\n##JCAMP-DX= 5.00\r\n##DATA TYPE= NMR SPECTRUM\r\n##DATA CLASS= NTUPLES\r\n"
                  "##NTUPLES= NMR SPECTRUM\r\n##VAR_NAME= FREQUENCY, SPECTRUM/REAL, SPECTRUM/IMAG, PAGE NUMBER\r\n"
                  "##SYMBOL= X, R, I, N\r\n##VAR_DIM= " + n + ", " + n + ", " + n + ", 2\r\n##UNITS= " + units +
                  ", ARBITRARY UNITS, ARBITRARY UNITS,\r\n##FIRST= 0, 0, 0, 1\r\n##LAST= " + n +
                  ", 0, 0, 2\r\n##FACTOR= 1, 1, 1, 1\r\n";
  s.reserve(static_cast<std::size_t>(held) * 12);
  for (int page = 1; page <= 2; ++page) {
    s += "##PAGE= N=" + std::to_string(page) + "\r\n##DATA TABLE= (X++(" + (page == 1 ? "R..R" : "I..I") +
         ")), XYDATA\r\n";
    for (int i = 0; i < held; i += 10) {
      s += std::to_string(i);
      for (int k = i; k < std::min(held, i + 10); ++k)
        s += " " + std::to_string(static_cast<int>(page == 1 ? FidRe(k) : FidIm(k)));
      s += "\r\n";
    }
  }
  return s + "##END NTUPLES= NMR SPECTRUM\r\n##END=\r\n";
}

// A spectrum record as a Bruker reader leaves it, set up.
void MakeSpectrum(Loaded& r, std::int32_t n, double scale, bool integral) {
  r.data.Reset();
  r.data.nDomain = 1;
  AddParam(r.data, "TITLE", Text("proton"));
  AddParam(r.data, "SFO1", Num(400.13));
  AddParam(r.data, "SF", Num(400.13));
  AddParam(r.data, "SW_h", Num(6000.0));
  AddParam(r.data, "OFFSET", Num(12.5));
  CVariant si;
  si.SetLong(n);
  AddParam(r.data, "SI", si);
  AddParam(r.data, "NUCLEUS", Text("1H"));
  AddParam(r.data, "INSTRUM", Text("spect"));
  for (std::int32_t i = 0; i < n; ++i) {
    double re = scale * std::sin(i * 0.05) * std::exp(-i * 0.002), im = scale * std::cos(i * 0.031);
    if (integral) re = std::round(re), im = std::round(im);
    r.data.spectrum().push_back(CSpcPoint{static_cast<float>(re), static_cast<float>(im)});
  }
  r.Setup(kSpcKindNmr);
}

}  // namespace

TEST(JdxNmr, NtuplesFidGivesComplexPointsPaddedToAPowerOfTwo) {
  const std::string path = WriteScratch("fid.dx", NtuplesFid());
  CNmrConvertJcampDx conv;
  COrvFile f(path);
  ASSERT_TRUE(conv.Detect(&f));
  EXPECT_EQ(conv.GetSpectrumCount(&f), 1);
  CSpcData data;
  ASSERT_TRUE(conv.Read(path, &data, 0));
  EXPECT_EQ(data.strName, "fid");
  EXPECT_EQ(data.nDomain, 0);
  ASSERT_EQ(data.fid().size(), 1024u);
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(data.fid()[static_cast<std::size_t>(i)].re, FidRe(i)) << i;
    ASSERT_EQ(data.fid()[static_cast<std::size_t>(i)].im, FidIm(i)) << i;
  }
  for (std::size_t i = 1000; i < 1024; ++i) EXPECT_EQ(data.fid()[i].re, 0.0f);
  // Each page appended the five block entries; look-ups find the first.
  std::size_t npoints = 0;
  for (const CSpcParam& p : data.params) npoints += p.name == "NPOINTS";
  EXPECT_EQ(npoints, 2u);
  EXPECT_EQ(data.params.GetValue("XUNITS").GetString(), "SECONDS");
  EXPECT_EQ(data.params.GetValue("SW_h").GetDouble(), 5000.0);
}

// A real page that cannot be read fails the read, whatever the imaginary page holds: it must
// not stand in for the real points.
TEST(JdxNmr, ARealPageThatCannotBeReadFailsTheRead) {
  std::string text = NtuplesFid();
  const std::size_t real = text.find("R..R");
  const std::size_t line = text.find("\r\n10 ", real);
  ASSERT_NE(line, std::string::npos);
  text.insert(line + 5, "9999999999999999999999999999999999999999 ");  // past what a float holds
  const std::string path = WriteScratch("badreal.dx", text);
  CNmrConvertJcampDx conv;
  CSpcData data;
  EXPECT_FALSE(conv.Read(path, &data, 0));
}

// Pages of millions of points: their points are zeroed while the real page is decoded and
// filled in parts at once. Every point lands where one pass would put it, in either direction,
// and a table one point short of its count (the count's power of two one larger than the
// points') is padded to the points' power of two.
TEST(JdxNmr, LargePagesGiveEveryPointPaddedWithZeros) {
  struct Case {
    int held, declared;
    const char* units;
    std::size_t size;
  };
  for (const Case c : {Case{(1 << 20) + 3, (1 << 20) + 3, "HZ", std::size_t(1) << 21},
                       Case{(1 << 20) + 3, (1 << 20) + 3, "PPM", std::size_t(1) << 21},
                       Case{1 << 19, (1 << 19) + 1, "HZ", std::size_t(1) << 19}}) {
    SCOPED_TRACE(std::to_string(c.declared) + " " + c.units);
    const std::string path = WriteScratch("large.dx", NtuplesSpectrum(c.held, c.declared, c.units));
    CSpcData data;
    ASSERT_TRUE(CNmrConvertJcampDx().Read(path, &data, 0));
    const std::vector<CSpcPoint>& points = data.spectrum();
    ASSERT_EQ(points.size(), c.size);
    const bool reversed = std::string(c.units) == "PPM";
    for (int j = 0; j < c.held; ++j) {
      const int i = reversed ? c.held - 1 - j : j;
      ASSERT_EQ(points[static_cast<std::size_t>(j)].re, FidRe(i)) << j;
      ASSERT_EQ(points[static_cast<std::size_t>(j)].im, FidIm(i)) << j;
    }
    for (std::size_t j = static_cast<std::size_t>(c.held); j < points.size(); ++j) {
      ASSERT_EQ(points[j].re, 0.0f) << j;
      ASSERT_EQ(points[j].im, 0.0f) << j;
    }
  }
}

TEST(JdxNmr, PlainTablesAreSpectraAndPpmRunsFromTheHighEnd) {
  const std::string path = WriteScratch(
      "plain.dx",
      "##TITLE= plain\r\n##JCAMP-DX= 5.0\r\n##DATA TYPE= NMR FID\r\n##XUNITS= PPM\r\n##FIRSTX= 0\r\n"
      "##LASTX= 3\r\n##NPOINTS= 4\r\n##XYDATA= (X++(Y..Y))\r\n0 10 20 30 40\r\n##END=\r\n");
  CSpcData data;
  ASSERT_TRUE(CNmrConvertJcampDx().Read(path, &data, 0));
  EXPECT_EQ(data.nDomain, 1);
  ASSERT_EQ(data.spectrum().size(), 4u);
  EXPECT_EQ(data.spectrum()[0].re, 40.0f);  // the largest ppm, last in the file
  EXPECT_EQ(data.spectrum()[3].re, 10.0f);
}

TEST(JdxNmr, SpectrumRoundTripsInEveryForm) {
  for (std::int32_t form = 0; form < 4; ++form) {
    SCOPED_TRACE("form " + std::to_string(form));
    Loaded r;
    MakeSpectrum(r, 1024, 50000.0, true);
    CNmrConvertJcampDx conv;
    const std::string path = ScratchPath("spectrum.dx");
    ASSERT_TRUE(conv.Write(path, r.process.get(), form, 0));
    Loaded back;
    ASSERT_TRUE(LoadWith(conv, path, kSpcKindNmr, &back));
    EXPECT_EQ(back.data.nDomain, 1);
    ASSERT_EQ(back.data.spectrum().size(), 1024u);
    for (std::size_t i = 0; i < 1024; ++i) {
      ASSERT_EQ(back.data.spectrum()[i].re, r.data.spectrum()[i].re) << i;
      ASSERT_EQ(back.data.spectrum()[i].im, r.data.spectrum()[i].im) << i;
    }
    const CSpcProcess& a = *r.process;
    const CSpcProcess& b = *back.process;
    EXPECT_DOUBLE_EQ(b.m_dFreq, 400.13);
    EXPECT_DOUBLE_EQ(b.m_dSW, 6000.0);
    EXPECT_EQ(b.m_nSI, 1024);
    EXPECT_NEAR(b.PointToPpm(0), a.PointToPpm(0), 1e-5);
    EXPECT_NEAR(b.PointToPpm(700), a.PointToPpm(700), 1e-5);
    // Independently: point 0 at OFFSET, SW_h / SF ppm over SI points.
    EXPECT_NEAR(b.PointToPpm(512), 12.5 - 512 * 6000.0 / 400.13 / 1024, 1e-5);
    EXPECT_EQ(back.data.params.GetValue(".OBSERVE NUCLEUS").GetString(), "1H");
    EXPECT_EQ(back.data.params.GetValue("NUCLEUS").GetString(), "1H");
    EXPECT_EQ(back.data.params.GetValue("TITLE").GetString(), "proton");
  }
}

TEST(JdxNmr, TheSpectrumsFirstAndLastAreThoseOfTheShownAxisAndTheTablesEnds) {
  Loaded r;
  MakeSpectrum(r, 1024, 50000.0, true);
  const std::string path = ScratchPath("axis.dx");
  ASSERT_TRUE(CNmrConvertJcampDx().Write(path, r.process.get(), kJcampDiffDup, 0));
  const std::string text = ReadAll(path);
  // The numbers of one row of the NTUPLES header: X, R, I, N.
  const auto row = [&](const std::string& label) {
    std::vector<double> values;
    const std::size_t at = text.find("##" + label + "=");
    if (at == std::string::npos) return values;
    const std::string line = text.substr(at + label.size() + 3, text.find('\r', at) - at - label.size() - 3);
    for (std::size_t p = 0; p <= line.size();) {
      const std::size_t comma = std::min(line.find(',', p), line.size());
      values.push_back(std::strtod(line.substr(p, comma - p).c_str(), nullptr));
      p = comma + 1;
    }
    return values;
  };
  const std::vector<double> first = row("FIRST"), last = row("LAST");
  ASSERT_EQ(first.size(), 4u);
  ASSERT_EQ(last.size(), 4u);
  // Hz of the ppm axis: point 0 at OFFSET, SW_h / SI a point, so the last point lies one point
  // short of OFFSET - SW.
  EXPECT_NEAR(first[0], 12.5 * 400.13, 1e-6);
  EXPECT_NEAR(last[0], 12.5 * 400.13 - 1023 * 6000.0 / 1024, 1e-6);
  // The pages run from point 0: their first values are point 0's.
  EXPECT_EQ(first[1], r.data.spectrum()[0].re);
  EXPECT_EQ(first[2], r.data.spectrum()[0].im);
  EXPECT_EQ(last[1], r.data.spectrum()[1023].re);
  EXPECT_EQ(last[2], r.data.spectrum()[1023].im);
  // Without $SW_h the width comes from FIRST and LAST: the same axis.
  std::string bare = text;
  bare.erase(bare.find("##$SW_h="), bare.find('\n', bare.find("##$SW_h=")) + 1 - bare.find("##$SW_h="));
  bare.erase(bare.find("##$SW="), bare.find('\n', bare.find("##$SW=")) + 1 - bare.find("##$SW="));
  Loaded back;
  CNmrConvertJcampDx conv;
  ASSERT_TRUE(LoadWith(conv, WriteScratch("axis_bare.dx", bare), kSpcKindNmr, &back));
  EXPECT_NEAR(back.process->m_dSW, 6000.0, 0.05);  // FIRST and LAST as written, to float precision
  EXPECT_NEAR(back.process->PointToPpm(700), r.process->PointToPpm(700), 1e-4);
}

TEST(JdxNmr, WrittenPagesArePhasedAndReloadDoesNotPhaseAgain) {
  Loaded r;
  MakeSpectrum(r, 256, 1.0e6, true);
  AddParam(r.data, "PH0", Num(90.0));
  r.process->InitFromParams();
  r.process->SelectData();
  ASSERT_EQ(r.process->m_fPH0, 90.0f);
  CNmrConvertJcampDx conv;
  const std::string path = ScratchPath("phased.dx");
  ASSERT_TRUE(conv.Write(path, r.process.get(), kJcampDiffDup, 0));
  Loaded back;
  ASSERT_TRUE(LoadWith(conv, path, kSpcKindNmr, &back));
  EXPECT_EQ(back.process->m_fPH0, 0.0f);
  for (std::int32_t i = 0; i < 256; ++i) {
    // 90 degrees: the real value is the stored imaginary part, up to truncation and float rounding.
    ASSERT_NEAR(back.process->GetReal(i), r.data.spectrum()[static_cast<std::size_t>(i)].im, 1.0) << i;
    ASSERT_NEAR(back.process->GetReal(i), r.process->GetReal(i), 1.0) << i;
  }
}

TEST(JdxNmr, SmallValuesKeepTheirPrecision) {
  Loaded r;
  MakeSpectrum(r, 512, 0.75, false);
  const std::string path = ScratchPath("small.dx");
  ASSERT_TRUE(CNmrConvertJcampDx().Write(path, r.process.get(), kJcampSqueezed, 0));
  Loaded back;
  ASSERT_TRUE(LoadWith(*CreateNmrConvertJcampDx(3), path, kSpcKindNmr, &back));
  for (std::size_t i = 0; i < 512; ++i) {
    ASSERT_NEAR(back.data.spectrum()[i].re, r.data.spectrum()[i].re, 1e-6) << i;
    ASSERT_NEAR(back.data.spectrum()[i].im, r.data.spectrum()[i].im, 1e-6) << i;
  }
}

TEST(JdxNmr, FidRoundTrips) {
  Loaded r;
  r.data.nDomain = 0;
  AddParam(r.data, "SFO1", Num(100.6));
  AddParam(r.data, "SW_h", Num(20000.0));
  CVariant td;
  td.SetLong(512);
  AddParam(r.data, "TD", td);
  for (int i = 0; i < 256; ++i) r.data.fid().push_back(CSpcPoint{FidRe(i), FidIm(i)});
  r.Setup(kSpcKindNmr);
  ASSERT_EQ(r.process->m_nCur, 256);
  const std::string path = ScratchPath("fid_out.dx");
  CNmrConvertJcampDx conv;
  ASSERT_TRUE(conv.Write(path, r.process.get(), kJcampPacked, 0));
  const std::string text = ReadAll(path);
  EXPECT_NE(text.find("##DATA TYPE= NMR FID"), std::string::npos);
  EXPECT_EQ(text.find("##SFO1="), std::string::npos);  // only as $SFO1
  Loaded back;
  ASSERT_TRUE(LoadWith(conv, path, kSpcKindNmr, &back));
  EXPECT_EQ(back.data.nDomain, 0);
  ASSERT_EQ(back.data.fid().size(), 256u);
  for (int i = 0; i < 256; ++i) {
    ASSERT_EQ(back.data.fid()[static_cast<std::size_t>(i)].re, FidRe(i)) << i;
    ASSERT_EQ(back.data.fid()[static_cast<std::size_t>(i)].im, FidIm(i)) << i;
  }
  EXPECT_EQ(back.process->m_nTD, 512);
  EXPECT_DOUBLE_EQ(back.process->m_dSW, 20000.0);
}

TEST(JdxNmr, NothingToSaveFails) {
  const std::string path = WriteScratch("keep_nmr.dx", "old");
  Loaded empty;
  empty.Setup(kSpcKindNmr);
  EXPECT_FALSE(CNmrConvertJcampDx().Write(path, empty.process.get(), 0, 0));
  EXPECT_EQ(ReadAll(path), "old");
}
