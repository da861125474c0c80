// The Bruker 1D reader: data in both byte orders and both sample types, experiment and
// processing choice, integral ranges, title, detection and the loader's view of a data set.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "bruker_test_folder.h"
#include "spectrum/convert/nmr/bruker.h"
#include "spectrum/convert/spcconvert.h"

using namespace bruker_test;

namespace {

struct Sample {
  Type type;
  bool bigEndian;
};

std::string Code(Type t) { return t == Type::Int32 ? "0" : "2"; }

// FID samples (re, im, re, im, ...) with signs, large and small magnitudes.
std::vector<double> FidValues(Type t, int n) {
  std::vector<double> v;
  for (int i = 0; i < 2 * n; ++i) {
    if (t == Type::Int32)
      v.push_back(i == 3 ? 2147483647.0 : i == 5 ? -2147483647.0 - 1 : (i % 2 ? -1.0 : 1.0) * (i * 1000 + 7));
    else
      v.push_back((i % 2 ? -1.0 : 1.0) * (i + 0.25) * std::pow(10.0, i % 7 - 3));
  }
  return v;
}

std::vector<double> SpectrumValues(Type t, int n, int salt) {
  std::vector<double> v;
  for (int i = 0; i < n; ++i) v.push_back(t == Type::Int32 ? (i - n / 2) * 12345 + salt : (i - n / 2) * 0.125 + salt);
  return v;
}

Experiment OneD(Sample fid, Sample processed, int td, int si) {
  Experiment e;
  e.acqus = {{"AQ_mod", "1"}, {"BYTORDA", fid.bigEndian ? "1" : "0"}, {"DTYPA", Code(fid.type)},
             {"TD", std::to_string(td)}, {"SW", "10"}, {"SW_h", "5000"}, {"SFO1", "500"}};
  e.fid = Encode(FidValues(fid.type, td / 2), fid.type, fid.bigEndian);
  Experiment::Processing p;
  p.procs = {{"BYTORDP", processed.bigEndian ? "1" : "0"}, {"DTYPP", Code(processed.type)}, {"SI", std::to_string(si)},
             {"OFFSET", "10"}, {"SF", "500"}, {"SW_p", "5000"}, {"PHC0", "12.5"}};
  p.r1 = Encode(SpectrumValues(processed.type, si, 1), processed.type, processed.bigEndian);
  p.i1 = Encode(SpectrumValues(processed.type, si, -3), processed.type, processed.bigEndian);
  p.title = "Ethyl acetate in CDCl3\r\nsecond line\n";
  e.processings.push_back(p);
  return e;
}

bool ReadXWin(const std::string& path, CSpcData* data, SpcChooseFunc choose = nullptr) {
  CNmrConvertXWinNmr leaf(6);
  leaf.m_pfnChoose = std::move(choose);
  return leaf.Read(path, data, 0);
}

class BrukerSampleTypes : public ::testing::TestWithParam<Sample> {};

TEST_P(BrukerSampleTypes, ReadsFidSpectrumParametersAndTitle) {
  const Sample s = GetParam();
  const std::string path = WriteDataSet("types", {OneD(s, s, 16, 32)});
  CSpcData data;
  ASSERT_TRUE(ReadXWin(path, &data));

  const std::vector<double> fid = FidValues(s.type, 8);
  ASSERT_EQ(data.fid().size(), 8u);
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(data.fid()[i].re, static_cast<float>(fid[2 * i])) << i;
    EXPECT_EQ(data.fid()[i].im, static_cast<float>(fid[2 * i + 1])) << i;
  }
  const std::vector<double> re = SpectrumValues(s.type, 32, 1), im = SpectrumValues(s.type, 32, -3);
  ASSERT_EQ(data.spectrum().size(), 32u);
  for (std::size_t i = 0; i < 32; ++i) {
    EXPECT_EQ(data.spectrum()[i].re, static_cast<float>(re[i])) << i;
    EXPECT_EQ(data.spectrum()[i].im, static_cast<float>(im[i])) << i;
  }
  EXPECT_EQ(data.nDomain, 1);
  EXPECT_EQ(data.strName, "types");
  EXPECT_FLOAT_EQ(data.params.GetValue("PH0").GetFloat(), 0.0f);
  EXPECT_FLOAT_EQ(data.params.GetValue("PH1").GetFloat(), 0.0f);

  // acqus labels first, then procs, then the title.
  const auto& p = data.params;
  EXPECT_LT(p.Find("TD"), p.Find("SI"));
  EXPECT_LT(p.Find("SI"), p.Find("PH0"));
  EXPECT_EQ(p.GetValue("NUC1").GetString(), "1H");
  EXPECT_EQ(p.GetValue("D").GetUBound() - p.GetValue("D").GetLBound() + 1, 4);
  EXPECT_FALSE(p.HasParam("CPDPRG"));  // an array of strings is no array of numbers
  ASSERT_GE(p.size(), 1u);
  EXPECT_EQ(p[p.size() - 1].name, "TITLE");
  // The title is the experiment's, not the parameter files' own ("Parameter file, ...").
  EXPECT_EQ(p.GetValue("TITLE").GetString(), "Ethyl acetate in CDCl3");
  EXPECT_EQ(std::count_if(p.begin(), p.end(), [](const CSpcParam& e) { return e.name == "TITLE"; }), 1);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, BrukerSampleTypes,
                         ::testing::Values(Sample{Type::Int32, false}, Sample{Type::Int32, true},
                                           Sample{Type::Float64, false}, Sample{Type::Float64, true}));

TEST(BrukerRead, ByteOrdersOfFidAndSpectrumAreIndependent) {
  // BYTORDA 1 with BYTORDP 0: FID big-endian, spectrum little-endian.
  const std::string path = WriteDataSet("mixed", {OneD({Type::Int32, true}, {Type::Int32, false}, 8, 8)});
  CSpcData data;
  ASSERT_TRUE(ReadXWin(path, &data));
  ASSERT_EQ(data.fid().size(), 4u);
  EXPECT_EQ(data.fid()[0].re, 7.0f);
  EXPECT_EQ(data.fid()[0].im, -1007.0f);
  ASSERT_EQ(data.spectrum().size(), 8u);
  EXPECT_EQ(data.spectrum()[0].re, -4 * 12345 + 1.0f);
  EXPECT_EQ(data.spectrum()[7].im, 3 * 12345 - 3.0f);
}

TEST(BrukerRead, OddTdShortFidAndMissingImaginaryPart) {
  Experiment e = OneD({Type::Int32, false}, {Type::Int32, false}, 9, 16);
  e.fid = Encode(FidValues(Type::Int32, 5), Type::Int32, false);  // 10 samples for TD 9
  e.processings[0].i1.clear();
  CSpcData data;
  ASSERT_TRUE(ReadXWin(WriteDataSet("odd", {e}), &data));
  EXPECT_EQ(data.fid().size(), 4u);  // TD / 2
  ASSERT_EQ(data.spectrum().size(), 16u);
  for (const CSpcPoint& p : data.spectrum()) EXPECT_EQ(p.im, 0.0f);
  EXPECT_EQ(data.nDomain, 1);

  // One byte short of TD / 2 points: no FID at all.
  e = OneD({Type::Int32, false}, {Type::Int32, false}, 16, 16);
  e.fid.pop_back();
  data.Reset();
  ASSERT_TRUE(ReadXWin(WriteDataSet("shortfid", {e}), &data));
  EXPECT_TRUE(data.fid().empty());
  EXPECT_EQ(data.spectrum().size(), 16u);
}

TEST(BrukerRead, FidOnlyExperimentAndUnknownDataType) {
  Experiment e = OneD({Type::Float64, true}, {Type::Int32, false}, 16, 16);
  e.processings.clear();  // no pdata folder at all
  CSpcData data;
  ASSERT_TRUE(ReadXWin(WriteDataSet("fidonly", {e}), &data));
  EXPECT_EQ(data.fid().size(), 8u);
  EXPECT_TRUE(data.spectrum().empty());
  EXPECT_EQ(data.nDomain, 0);
  // Only the TITLE label of acqus: no title file without a processing folder.
  EXPECT_EQ(std::count_if(data.params.begin(), data.params.end(), [](const CSpcParam& p) { return p.name == "TITLE"; }),
            1);

  // A data type we cannot decode is not read as garbage.
  e.acqus[2] = {"DTYPA", "7"};
  data.Reset();
  EXPECT_FALSE(ReadXWin(WriteDataSet("dtype7", {e}), &data));
  EXPECT_TRUE(data.fid().empty());
  EXPECT_TRUE(data.params.HasParam("TD"));  // the parameters were read before
}

TEST(BrukerRead, ZeroSiKeepsTheFidDomain) {
  Experiment e = OneD({Type::Int32, false}, {Type::Int32, false}, 16, 16);
  e.processings[0].procs[2] = {"SI", "0"};
  CSpcData data;
  ASSERT_TRUE(ReadXWin(WriteDataSet("si0", {e}), &data));
  EXPECT_EQ(data.nDomain, 0);
  EXPECT_TRUE(data.spectrum().empty());
  EXPECT_FALSE(data.params.HasParam("PH0"));
}

// ---- Choice of experiment and processing ----

struct ChoiceLog {
  std::vector<std::vector<std::string>> calls;
  std::vector<std::int32_t> answers;
  SpcChooseFunc Func() {
    return [this](const std::vector<std::string>& list) {
      calls.push_back(list);
      const std::size_t k = calls.size() - 1;
      return k < answers.size() ? answers[k] : 0;
    };
  }
};

std::vector<Experiment> TwoExperiments() {
  Experiment a = OneD({Type::Int32, false}, {Type::Int32, false}, 8, 8);
  Experiment b = OneD({Type::Int32, true}, {Type::Int32, true}, 32, 16);
  b.name = "2";
  Experiment::Processing second = b.processings[0];
  second.name = "2";
  second.procs[2] = {"SI", "4"};
  b.processings.push_back(second);
  return {a, b};
}

TEST(BrukerChoice, SingleCandidatesAskNothing) {
  ChoiceLog log;
  CSpcData data;
  ASSERT_TRUE(ReadXWin(WriteDataSet("single", {OneD({Type::Int32, false}, {Type::Int32, false}, 8, 8)}), &data,
                       log.Func()));
  EXPECT_TRUE(log.calls.empty());
}

TEST(BrukerChoice, ExperimentThenProcessingAreChosen) {
  const std::string path = WriteDataSet("choice", TwoExperiments());
  ChoiceLog log;
  log.answers = {1, 1};
  CSpcData data;
  ASSERT_TRUE(ReadXWin(path, &data, log.Func()));
  ASSERT_EQ(log.calls.size(), 2u);
  EXPECT_EQ(log.calls[0], (std::vector<std::string>{plat::joinPath(path, "1"), plat::joinPath(path, "2")}));
  const std::string pdata = plat::joinPath(plat::joinPath(path, "2"), "pdata");
  EXPECT_EQ(log.calls[1], (std::vector<std::string>{plat::joinPath(pdata, "1"), plat::joinPath(pdata, "2")}));
  EXPECT_EQ(data.fid().size(), 16u);
  EXPECT_EQ(data.spectrum().size(), 4u);

  // Without a choice function (or a cancelled choice: 0), the first of each list.
  data.Reset();
  ASSERT_TRUE(ReadXWin(path, &data));
  EXPECT_EQ(data.fid().size(), 4u);
  EXPECT_EQ(data.spectrum().size(), 8u);
}

TEST(BrukerChoice, AnswersOutsideTheListFailTheRead) {
  const std::string path = WriteDataSet("badchoice", TwoExperiments());
  const std::vector<std::vector<std::int32_t>> cases = {{-1}, {2}, {1, 5}, {1, -1}};
  for (const std::vector<std::int32_t>& answers : cases) {
    ChoiceLog log;
    log.answers = answers;
    CSpcData data;
    EXPECT_FALSE(ReadXWin(path, &data, log.Func())) << answers.back();
    EXPECT_FALSE(data.HasData());
  }
}

// ---- Integral ranges ----

TEST(BrukerIntegrals, PpmRangesBecomePointRanges) {
  // Axis: SI 1024 over 10 ppm to 0 ppm (SW 5000 Hz at 500 MHz, offset 10 ppm).
  Experiment e = OneD({Type::Int32, false}, {Type::Int32, false}, 16, 1024);
  e.processings[0].intrng =
      "A    1.0000000000000000 #regions in PPM\n"
      "         LowField          HighField          Bias          Slope\n"
      "   7.5   6.0                 0                 0\n"
      "not a range\n"
      "   2.5\n"
      "   12.0   -3.0\n"
      "   nan 4.0\n"
      "\t5.0 1.25";
  CSpcData data;
  ASSERT_TRUE(ReadXWin(WriteDataSet("intrng", {e}), &data));
  ASSERT_EQ(data.integrals.size(), 3u);
  // 7.5 ppm is 2.5 ppm from the left edge: 2.5 / 10 x 1024 = 256 points; 6.0 ppm: 409.6,
  // which the axis puts at point 410 (its points count from the right edge).
  EXPECT_EQ(data.integrals[0].from, 256u);
  EXPECT_EQ(data.integrals[0].to, 410u);
  EXPECT_EQ(data.integrals[0].factor, 1.0f);
  // Ranges beyond the spectrum are kept inside it.
  EXPECT_EQ(data.integrals[1].from, 0u);
  EXPECT_EQ(data.integrals[1].to, 1023u);
  EXPECT_EQ(data.integrals[2].from, 512u);
  EXPECT_EQ(data.integrals[2].to, 1024u - 128u);
  EXPECT_EQ(data.nKind, kSpcKindNmr);
}

TEST(BrukerIntegrals, NoAxisNoRanges) {
  Experiment e = OneD({Type::Int32, false}, {Type::Int32, false}, 16, 16);
  e.processings[0].procs[2] = {"SI", "0"};
  e.processings[0].intrng = "h1\nh2\n1.0 2.0\n";
  CSpcData data;
  ASSERT_TRUE(ReadXWin(WriteDataSet("intrng0", {e}), &data));
  EXPECT_TRUE(data.integrals.empty());
}

// ---- Detection and the loader ----

bool DetectWith(CSpcConvert& leaf, const std::string& path) {
  COrvFile file(path);
  return leaf.Detect(&file);
}

TEST(BrukerDetect, DataTypeAndLastExperimentDecide) {
  CNmrConvertUxNmr ux(4);
  CNmrConvertXWinNmr xwin(6);
  CNmr2dConvertUxNmr ux2(1);
  CNmr2dConvertXWinNmr xwin2(2);

  const std::string xw = WriteDataSet("det_xwin", {OneD({Type::Int32, false}, {Type::Int32, false}, 8, 8)});
  EXPECT_TRUE(DetectWith(xwin, xw));
  EXPECT_FALSE(DetectWith(ux, xw));
  EXPECT_FALSE(DetectWith(xwin2, xw));

  const std::string uxPath =
      WriteDataSet("det_ux", {OneD({Type::Int32, false}, {Type::Int32, false}, 8, 8)}, "UXNMR Parameter Values");
  EXPECT_TRUE(DetectWith(ux, uxPath));
  EXPECT_FALSE(DetectWith(xwin, uxPath));

  // The last experiment is 2D: not a 1D data set, whatever the others hold; and the reverse.
  std::vector<Experiment> list = TwoExperiments();
  list[1].twoD = true;
  const std::string last2d = WriteDataSet("det_last2d", list);
  EXPECT_FALSE(DetectWith(xwin, last2d));
  EXPECT_TRUE(DetectWith(xwin2, last2d));
  std::swap(list[0].twoD, list[1].twoD);
  const std::string first2d = WriteDataSet("det_first2d", list);
  EXPECT_TRUE(DetectWith(xwin, first2d));
  EXPECT_FALSE(DetectWith(xwin2, first2d));

  // Files and empty or missing folders are no data sets.
  EXPECT_FALSE(DetectWith(xwin, plat::joinPath(xw, "1/acqus")));
  EXPECT_FALSE(DetectWith(xwin, plat::joinPath(xw, "no_such_folder")));
  const std::string empty = plat::joinPath(convert_test::ScratchDir("bruker"), "empty_set");
  plat::makeDirectories(empty);
  EXPECT_FALSE(DetectWith(xwin, empty));
  EXPECT_FALSE(DetectWith(xwin2, empty));
  CSpcData data;
  EXPECT_FALSE(ReadXWin(empty, &data));
}

TEST(BrukerDetect, TheLastExperimentInNameOrderDecides) {
  CNmrConvertXWinNmr xwin(6);
  CNmr2dConvertXWinNmr xwin2(2);
  // Name order, not numeric order: "10" comes before "9", so the 2D experiment 9 decides.
  std::vector<Experiment> list = TwoExperiments();
  list[0].name = "10";
  list[1].name = "9";
  list[1].twoD = true;
  const std::string path = WriteDataSet("det_names", list);
  EXPECT_FALSE(DetectWith(xwin, path));
  EXPECT_TRUE(DetectWith(xwin2, path));
  // The list offered to choose from is in the same order, and holds the experiments alone.
  ChoiceLog log;
  CSpcData data;
  ReadXWin(path, &data, log.Func());
  ASSERT_FALSE(log.calls.empty());
  EXPECT_EQ(log.calls[0], (std::vector<std::string>{plat::joinPath(path, "10"), plat::joinPath(path, "9")}));

  // An experiment that kept only its acquired parameters (acqus, acqu2s) is one too.
  for (const char* name : {"9/acqu", "9/acqu2"}) plat::removeFile(plat::joinPath(path, name));
  EXPECT_FALSE(DetectWith(xwin, path));
  EXPECT_TRUE(DetectWith(xwin2, path));
  for (const char* name : {"9/acqu2s"}) plat::removeFile(plat::joinPath(path, name));
  EXPECT_TRUE(DetectWith(xwin, path));
  EXPECT_FALSE(DetectWith(xwin2, path));
  // A folder without either is no experiment: the one before it decides.
  plat::removeFile(plat::joinPath(path, "9/acqus"));
  EXPECT_TRUE(DetectWith(xwin, path));
  log.calls.clear();
  data.Reset();
  ASSERT_TRUE(ReadXWin(path, &data, log.Func()));
  EXPECT_TRUE(log.calls.empty());  // one experiment with one processing: nothing to choose
  EXPECT_EQ(data.fid().size(), 4u);
}

TEST(BrukerDetect, LoaderFindsAndReadsTheDataSet) {
  const std::string path = WriteDataSet("loader", {OneD({Type::Int32, true}, {Type::Int32, true}, 16, 32)});
  COrvFile file(path);
  std::string format, kinds;
  ASSERT_TRUE(SpcIdentifyFile(file, &format, &kinds));
  EXPECT_EQ(format, "XWIN-NMR");
  EXPECT_EQ(kinds, "NMR");
  EXPECT_EQ(SpcCountSpectra(file), 1);

  CSpcData data;
  std::string reader;
  ASSERT_EQ(SpcLoadSpectrum(path + "/", 0, &data, &reader), SpcLoadResult::Loaded);
  EXPECT_EQ(reader, "XWIN-NMR");
  EXPECT_EQ(data.nKind, kSpcKindNmr);
  EXPECT_EQ(data.strName, "loader");
  EXPECT_EQ(data.spectrum().size(), 32u);

  // The factories make leaves that name their rows.
  std::unique_ptr<CSpcConvert> leaf = CNmrConvert().CreateFormat(4);
  std::string name;
  leaf->GetFormatName(name);
  EXPECT_EQ(name, "UXNMR");
  EXPECT_EQ(leaf->GetCaps(), kSpcCapRead);
  EXPECT_FALSE(leaf->Write(path, nullptr, 0, 0));
  CNmr2dConvert().CreateFormat(2)->GetFormatName(name);
  EXPECT_EQ(name, "XWIN-NMR");
}

}  // namespace
