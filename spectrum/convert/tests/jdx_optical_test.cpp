// IR, UV, CH and TIC JCAMP-DX converters: reading, writing and reading back.
#include <gtest/gtest.h>

#include <cmath>

#include "jdx_test_util.h"
#include "jdx_text.h"
#include "spectrum/convert/jdxconvert.h"

using namespace convert_test;

namespace {

// The ordinate at wavenumber x of the hand-made IR file.
double IrValue(double x) { return std::fmod(x * 7.0, 1000.0) - 300.0; }

// FIRSTX 4000, LASTX 400, NPOINTS 3601, ten AFFN ordinates per line (x falling by one).
std::string IrFileDescending() {
  std::string s =
      "##TITLE= falling\r\n##JCAMP-DX= 4.24\r\n##DATA TYPE= INFRARED SPECTRUM\r\n##XUNITS= 1/CM\r\n"
      "##YUNITS= TRANSMITTANCE\r\n##XFACTOR= 1\r\n##YFACTOR= 1\r\n##FIRSTX= 4000\r\n##LASTX= 400\r\n"
      "##NPOINTS= 3601\r\n##XYDATA= (X++(Y..Y))\r\n";
  for (int x = 4000; x >= 400; x -= 10) {
    s += std::to_string(x);
    for (int k = 0; k < 10 && x - k >= 400; ++k) s += " " + std::to_string(static_cast<long>(IrValue(x - k)));
    s += "\r\n";
  }
  return s + "##END=\r\n";
}

// A record of kind with n points over [first, first + width].
void MakeLinear(Loaded& r, std::int32_t kind, double first, double last, std::int32_t n, bool integral) {
  r.data.Reset();
  r.data.nDomain = 1;
  AddParam(r.data, "TITLE", Text("linear"));
  AddParam(r.data, "OWNER", Text("lab"));
  AddParam(r.data, "INSTRUM", Text("bench"));
  AddParam(r.data, "FIRSTX", Num(first));
  AddParam(r.data, "LASTX", Num(last));
  CVariant np;
  np.SetLong(n);
  AddParam(r.data, "NPOINTS", np);
  for (std::int32_t i = 0; i < n; ++i) {
    const double v = integral ? std::round(1000.0 * std::sin(i * 0.37)) : 0.25 + 0.5 * std::sin(i * 0.37);
    r.data.spectrum().push_back(CSpcPoint{static_cast<float>(v), 0.0f});
  }
  r.Setup(kind);
}

}  // namespace

TEST(JdxOptical, DescendingIrKeepsEveryPointAtItsTrueX) {
  const std::string path = WriteScratch("falling_ir.dx", IrFileDescending());
  CIrConvertJcampDx conv;
  Loaded r;
  ASSERT_TRUE(LoadWith(conv, path, kSpcKindIr, &r));
  ASSERT_EQ(r.data.spectrum().size(), 3601u);
  EXPECT_EQ(r.data.params.GetValue("FIRSTX").GetDouble(), 4000.0);
  EXPECT_EQ(r.data.params.GetValue("LASTX").GetDouble(), 400.0);
  EXPECT_EQ(r.data.params.GetValue("NPOINTS").GetLong(), 3601);
  EXPECT_EQ(r.data.strName, "falling_ir.dx");
  // Point i lies at x = 4000 - i on the record's axis; its value is the file's value there.
  for (std::int32_t i = 0; i < 3601; i += 97) {
    EXPECT_DOUBLE_EQ(r.process->PointToX(i), 4000.0 - i);
    EXPECT_EQ(r.data.spectrum()[static_cast<std::size_t>(i)].re, static_cast<float>(static_cast<long>(IrValue(4000.0 - i))));
  }

  // Written and read again: same order, same axis.
  const std::string out = ScratchPath("falling_ir_out.dx");
  ASSERT_TRUE(conv.Write(out, r.process.get(), kJcampDiffDup, 0));
  const std::string text = ReadAll(out);
  EXPECT_NE(text.find("##FIRSTX= 4000\r\n"), std::string::npos);
  EXPECT_NE(text.find("##LASTX= 400\r\n"), std::string::npos);
  EXPECT_NE(text.find("##DELTAX= -1\r\n"), std::string::npos);  // signed as LASTX - FIRSTX
  // The labels of the table read come back once, as the writer's own.
  for (const char* label : {"FIRSTX=", "LASTX=", "NPOINTS=", "XUNITS=", "YUNITS=", "XFACTOR=", "YFACTOR="}) {
    EXPECT_EQ(text.find(std::string("##$") + label), std::string::npos) << label;
    EXPECT_EQ(text.find(std::string("##") + label), text.rfind(std::string("##") + label)) << label;
  }
  Loaded back;
  ASSERT_TRUE(LoadWith(conv, out, kSpcKindIr, &back));
  ASSERT_EQ(back.data.spectrum().size(), 3601u);
  for (std::size_t i = 0; i < 3601; ++i) ASSERT_EQ(back.data.spectrum()[i].re, r.data.spectrum()[i].re) << i;
  EXPECT_DOUBLE_EQ(back.process->m_dFreq, 4000.0);
  EXPECT_DOUBLE_EQ(back.process->m_dSW, -3600.0);
}

TEST(JdxOptical, EveryFormRoundTripsEveryKind) {
  struct Kind {
    std::int32_t id;
    std::unique_ptr<CSpcConvert> (*make)(std::uint32_t);
    std::uint32_t format;
  };
  const Kind kinds[] = {{kSpcKindIr, CreateIrConvertJcampDx, 2},
                        {kSpcKindUv, CreateUvConvertJcampDx, 1},
                        {kSpcKindCh, CreateChConvertJcampDx, 1},
                        {kSpcKindTic, CreateTicConvertJcampDx, 1}};
  for (const Kind& k : kinds) {
    for (const bool integral : {true, false}) {
      for (std::int32_t form = 0; form < 4; ++form) {
        SCOPED_TRACE("kind " + std::to_string(k.id) + " form " + std::to_string(form) + (integral ? " int" : " float"));
        Loaded r;
        MakeLinear(r, k.id, 200.0, 700.0, 301, integral);
        auto conv = k.make(k.format);
        const std::string path = ScratchPath("round.dx");
        ASSERT_TRUE(conv->Write(path, r.process.get(), form, 0));
        Loaded back;
        ASSERT_TRUE(LoadWith(*conv, path, k.id, &back));
        ASSERT_EQ(back.data.spectrum().size(), 301u);
        for (std::size_t i = 0; i < 301; ++i)
          ASSERT_NEAR(back.data.spectrum()[i].re, r.data.spectrum()[i].re, integral ? 0.0 : 1e-6) << i;
        EXPECT_EQ(back.data.params.GetValue("TITLE").GetString(), "linear");
        EXPECT_EQ(back.data.params.GetValue("OWNER").GetString(), "lab");
        EXPECT_EQ(back.data.params.GetValue("SPECTROMETER/DATA SYSTEM").GetString(), "bench");
        EXPECT_EQ(back.data.params.GetValue("INSTRUM").GetString(), "bench");  // as a private label
        EXPECT_EQ(back.process->m_nSI, 301);
        if (k.id == kSpcKindIr || k.id == kSpcKindUv) {
          EXPECT_DOUBLE_EQ(back.process->m_dFreq, 200.0);
          EXPECT_DOUBLE_EQ(back.process->m_dSW, 500.0);
        } else {
          EXPECT_EQ(back.data.params.GetValue("SI").GetLong(), 301);
          EXPECT_DOUBLE_EQ(back.data.params.GetValue("SFO1").GetDouble(), 200.0);
          EXPECT_DOUBLE_EQ(back.data.params.GetValue("SW").GetDouble(), 500.0);
        }
      }
    }
  }
}

TEST(JdxOptical, WriterTakesPhasedValuesLessTheBaseline) {
  Loaded r;
  MakeLinear(r, kSpcKindIr, 1000.0, 1100.0, 11, true);
  r.process->m_fPH0 = 180.0f;
  r.process->m_bBaseline = 1;
  r.process->m_baseline.assign(11, 5.0f);
  CIrConvertJcampDx conv;
  const std::string path = ScratchPath("phased.dx");
  ASSERT_TRUE(conv.Write(path, r.process.get(), kJcampFix, 0));
  Loaded back;
  ASSERT_TRUE(LoadWith(conv, path, kSpcKindIr, &back));
  for (std::size_t i = 0; i < 11; ++i) EXPECT_NEAR(back.data.spectrum()[i].re, -r.data.spectrum()[i].re - 5.0, 1e-4) << i;
}

TEST(JdxOptical, ChStoresNanometreRangeAsWavenumbers) {
  const std::string path = WriteScratch(
      "ch_nm.dx",
      "##TITLE= lc\r\n##JCAMP-DX= 5.0\r\n##DATA TYPE= LC\r\n##XUNITS= NANOMETERS\r\n##FIRSTX= 200\r\n##LASTX= 400\r\n"
      "##NPOINTS= 3\r\n##XYDATA= (X++(Y..Y))\r\n200 1 2 3\r\n##END=\r\n");
  CChConvertJcampDx conv;
  CSpcData data;
  ASSERT_TRUE(conv.Read(path, &data, 0));
  EXPECT_DOUBLE_EQ(data.params.GetValue("SFO1").GetDouble(), 50000.0);
  EXPECT_DOUBLE_EQ(data.params.GetValue("SW").GetDouble(), -25000.0);
  EXPECT_EQ(data.params.GetValue("SI").GetLong(), 3);
  ASSERT_EQ(data.spectrum().size(), 3u);
  EXPECT_EQ(data.spectrum()[2].re, 3.0f);
}

TEST(JdxOptical, TimeTracesKeepTheirAxisThroughALoadAndASave) {
  // A chromatogram from 30 s to 120 s: the processing state sees that axis, and a save writes it.
  const std::string path = WriteScratch(
      "tic_time.dx",
      "##TITLE= trace\r\n##JCAMP-DX= 5.0\r\n##DATA TYPE= LC\r\n##XUNITS= SECONDS\r\n##FIRSTX= 30\r\n"
      "##LASTX= 120\r\n##NPOINTS= 4\r\n##XYDATA= (X++(Y..Y))\r\n30 5 6 7 8\r\n##END=\r\n");
  for (std::int32_t kind : {kSpcKindCh, kSpcKindTic}) {
    Loaded r;
    std::unique_ptr<CSpcConvert> conv;
    if (kind == kSpcKindCh) conv = std::make_unique<CChConvertJcampDx>(); else conv = std::make_unique<CTicConvertJcampDx>();
    ASSERT_TRUE(LoadWith(*conv, path, kind, &r)) << kind;
    EXPECT_DOUBLE_EQ(r.process->m_dFreq, 30.0) << kind;
    EXPECT_DOUBLE_EQ(r.process->m_dSW, 90.0) << kind;

    const std::string out = ScratchPath("tic_time_out.dx");
    ASSERT_TRUE(conv->Write(out, r.process.get(), 0, 0)) << kind;
    Loaded back;
    ASSERT_TRUE(LoadWith(*conv, out, kind, &back)) << kind;
    EXPECT_DOUBLE_EQ(back.process->m_dFreq, 30.0) << kind;
    EXPECT_DOUBLE_EQ(back.process->m_dSW, 90.0) << kind;
    ASSERT_EQ(back.data.spectrum().size(), 4u);
    EXPECT_EQ(back.data.spectrum()[3].re, 8.0f);
  }
}

TEST(JdxOptical, ChReadsFromTheStartUpToTheFirstEnd) {
  const std::string path = WriteScratch(
      "ch_multi.dx",
      "##TITLE= first\r\n##JCAMP-DX= 5.0\r\n##DATA TYPE= INFRARED SPECTRUM\r\n##FIRSTX= 1\r\n##LASTX= 2\r\n"
      "##NPOINTS= 2\r\n##XYDATA= (X++(Y..Y))\r\n1 7 8\r\n##END=\r\n"
      "##TITLE= second\r\n##JCAMP-DX= 5.0\r\n##DATA TYPE= LC\r\n##FIRSTX= 1\r\n##LASTX= 3\r\n"
      "##NPOINTS= 3\r\n##XYDATA= (X++(Y..Y))\r\n1 4 5 6\r\n##END=\r\n");
  CSpcData ch, tic;
  ASSERT_TRUE(CChConvertJcampDx().Read(path, &ch, 0));
  ASSERT_EQ(ch.spectrum().size(), 2u);
  EXPECT_EQ(ch.spectrum()[0].re, 7.0f);
  ASSERT_TRUE(CTicConvertJcampDx().Read(path, &tic, 0));  // the TIC reader takes the LC block
  ASSERT_EQ(tic.spectrum().size(), 3u);
  EXPECT_EQ(tic.spectrum()[0].re, 4.0f);
}

TEST(JdxOptical, SavedFilesAreFoundByTheirOwnKinds) {
  Loaded uv, ch;
  MakeLinear(uv, kSpcKindUv, 200, 300, 21, true);
  MakeLinear(ch, kSpcKindCh, 0, 60, 21, true);
  const std::string uvPath = ScratchPath("found_uv.dx"), chPath = ScratchPath("found_ch.dx");
  ASSERT_TRUE(CUvConvertJcampDx().Write(uvPath, uv.process.get(), 0, 0));
  ASSERT_TRUE(CChConvertJcampDx().Write(chPath, ch.process.get(), 0, 0));
  COrvFile uvFile(uvPath), chFile(chPath);
  EXPECT_TRUE(CUvConvertJcampDx().Detect(&uvFile));
  EXPECT_FALSE(CIrConvertJcampDx().Detect(&uvFile));
  EXPECT_TRUE(CChConvertJcampDx().Detect(&chFile));
  EXPECT_TRUE(CTicConvertJcampDx().Detect(&chFile));
  EXPECT_FALSE(CUvConvertJcampDx().Detect(&chFile));
  EXPECT_EQ(CTicConvertJcampDx().GetSpectrumCount(&chFile), 1);
  // Through the kind table, too.
  std::string format, kinds;
  ASSERT_TRUE(SpcIdentifyFile(chFile, &format, &kinds));
  EXPECT_EQ(format, "JCAMP-DX");
  EXPECT_NE(kinds.find("TIC"), std::string::npos);
}

TEST(JdxOptical, TheFirstLabelMustOpenTheFile) {
  const std::string labels = "##TITLE= t\r\n##JCAMP-DX= 4.24\r\n##DATA TYPE= INFRARED SPECTRUM\r\n##END=\r\n";
  COrvFile opening(WriteScratch("label_first.dx", "\xEF\xBB\xBF  " + labels));
  EXPECT_TRUE(CIrConvertJcampDx().Detect(&opening));
  // A large first line (a binary file has no line ends) is not read through for a label.
  COrvFile buried(WriteScratch("label_buried.dx", std::string(1 << 20, 'x') + labels));
  EXPECT_FALSE(CIrConvertJcampDx().Detect(&buried));
}

TEST(JdxOptical, RecordWithoutTitleStillWritesTheTitleLabel) {
  Loaded r;
  MakeLinear(r, kSpcKindIr, 0, 10, 11, true);
  r.data.params.entries().erase(r.data.params.entries().begin());  // TITLE
  const std::string path = ScratchPath("untitled.dx");
  ASSERT_TRUE(CIrConvertJcampDx().Write(path, r.process.get(), 0, 0));
  EXPECT_EQ(ReadAll(path).rfind("##TITLE= \r\n", 0), 0u);
  COrvFile f(path);
  EXPECT_TRUE(CIrConvertJcampDx().Detect(&f));
}

TEST(JdxOptical, ParametersThatSteerTheReaderAreNotWritten) {
  Loaded r;
  MakeLinear(r, kSpcKindIr, 0, 10, 11, true);
  AddParam(r.data, "PAGE", Text("N=7"));
  AddParam(r.data, "END", Text(""));
  AddParam(r.data, "Comment", Text("kept"));
  const std::string path = ScratchPath("steer.dx");
  ASSERT_TRUE(CIrConvertJcampDx().Write(path, r.process.get(), 0, 0));
  Loaded back;
  ASSERT_TRUE(LoadWith(*CreateIrConvertJcampDx(2), path, kSpcKindIr, &back));
  EXPECT_EQ(back.data.spectrum().size(), 11u);
  EXPECT_EQ(back.data.params.GetValue("Comment").GetString(), "kept");
}

TEST(JdxOptical, FailedSaveLeavesTheOldFile) {
  const std::string path = WriteScratch("keep.dx", "old contents");
  Loaded empty;
  empty.Setup(kSpcKindIr);
  EXPECT_FALSE(CIrConvertJcampDx().Write(path, empty.process.get(), 0, 0));
  EXPECT_EQ(ReadAll(path), "old contents");
  Loaded r;
  MakeLinear(r, kSpcKindIr, 0, 10, 11, true);
  r.data.spectrum()[3].re = std::nanf("");
  EXPECT_FALSE(CIrConvertJcampDx().Write(path, r.process.get(), 0, 0));
  EXPECT_EQ(ReadAll(path), "old contents");
  EXPECT_FALSE(CIrConvertJcampDx().Write(ScratchPath("no/such/dir/x.dx"), r.process.get(), 0, 0));
}

TEST(JdxOptical, SinglePointHasNoStep) {
  Loaded r;
  MakeLinear(r, kSpcKindUv, 250, 250, 1, true);
  const std::string path = ScratchPath("one.dx");
  ASSERT_TRUE(CUvConvertJcampDx().Write(path, r.process.get(), 3, 0));
  const std::string text = ReadAll(path);
  EXPECT_EQ(text.find("nan"), std::string::npos);
  EXPECT_EQ(text.find("inf"), std::string::npos);
  Loaded back;
  ASSERT_TRUE(LoadWith(*CreateUvConvertJcampDx(1), path, kSpcKindUv, &back));
  ASSERT_EQ(back.data.spectrum().size(), 1u);
  EXPECT_EQ(back.data.spectrum()[0].re, r.data.spectrum()[0].re);
}

TEST(JdxOptical, FloatSpectrumReadsBackEveryPointInEveryForm) {
  // A transmittance spectrum as instruments give it: single-precision percentages with bands,
  // clipped to exactly 100 on the baseline and to 0 where a band saturates, and a weak band of
  // values below a thousandth. Each save option writes the ordinates as integers of a YFACTOR
  // (the compressed forms hold integers), and every point reads back, in our reader and in
  // the standard's reading, to about nine digits of the largest value.
  const std::int32_t n = 2000;
  Loaded r;
  MakeLinear(r, kSpcKindIr, 4000.0, 400.0, n, true);
  double largest = 0.0;
  for (std::int32_t i = 0; i < n; ++i) {
    const double x = 4000.0 - 1.8009 * i;
    const double absorbance = 2.5 * std::exp(-std::pow((x - 2900.0) / 30.0, 2)) + 0.8 * std::exp(-std::pow((x - 1700.0) / 12.0, 2));
    double t = 100.4 * std::exp(-absorbance * 2.302585);
    if (t > 100.0) t = 100.0;
    if (absorbance > 2.0) t = 0.0;
    if (x > 800.0 && x < 820.0) t = 3.0e-4 * (1.0 + std::sin(i * 0.7));
    r.data.spectrum()[static_cast<std::size_t>(i)].re = static_cast<float>(t);
    largest = std::max(largest, std::fabs(t));
  }
  const double tolerance = 1e-7 * largest;
  CIrConvertJcampDx conv;
  for (std::int32_t form = kJcampFix; form <= kJcampDiffDup; ++form) {
    SCOPED_TRACE("form " + std::to_string(form));
    const std::string path = ScratchPath("float_ir.dx");
    ASSERT_TRUE(conv.Write(path, r.process.get(), form, 0));
    const std::string text = ReadAll(path);
    EXPECT_NE(text.find("##YFACTOR= 1E-06\r\n"), std::string::npos);  // 100 % as 100000000
    for (const std::string& line : Lines(text)) {
      const bool dataLine = !line.starts_with("##");
      EXPECT_FALSE(dataLine && !line.empty() && line.back() == ' ') << line;
    }

    Loaded back;
    ASSERT_TRUE(LoadWith(conv, path, kSpcKindIr, &back));
    ASSERT_EQ(back.data.spectrum().size(), static_cast<std::size_t>(n));
    const auto tables = ReferenceDecode(text);
    ASSERT_EQ(tables.size(), 1u);
    ASSERT_EQ(tables[0].ys.size(), static_cast<std::size_t>(n));
    EXPECT_NEAR(tables[0].firstY, r.data.spectrum()[0].re, tolerance);
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
      const double want = r.data.spectrum()[i].re;
      ASSERT_NEAR(back.data.spectrum()[i].re, want, tolerance) << "our reader, point " << i;
      ASSERT_NEAR(tables[0].ys[i], want, tolerance) << "standard reading, point " << i;
    }
  }
}
