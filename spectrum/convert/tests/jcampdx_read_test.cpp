#include <gtest/gtest.h>

#include "jcampdx_test_util.h"
#include "jdx_text.h"
#include "spectrum/convert/jdxconvert.h"

using namespace convert_test;

namespace {

const std::vector<std::string> kIr = {"INFRARED SPECTRUM"};

std::vector<float> Decode(const std::string& lines, std::int32_t n, bool* ok = nullptr) {
  std::vector<PointMap::Entry> pts;
  const bool r = DecodeTable(lines, n, &pts);
  if (ok) *ok = r;
  return Ys(pts);
}

std::vector<float> Range(float from, int count) {
  std::vector<float> v;
  for (int i = 0; i < count; ++i) v.push_back(from + static_cast<float>(i));
  return v;
}

}  // namespace

TEST(JcampLabels, NamesValuesCommentsAndArrays) {
  COrvFile f(WriteScratch("labels.dx",
                          "##TITLE= first $$ a comment\r\n"
                          "$$ ##SKIPPED= 1\n"
                          "data line without equals\n"
                          "##$TD= 16384\n"
                          "##$PRIV= <abc>\n"
                          "##$P= (0..3)\n1 -2.5 3e2 4\n"
                          "##$Q= (1..4) 7\n8 9\n10\n"
                          "##.OBSERVE FREQUENCY= 400.13"));
  std::string label;
  CVariant v;
  ASSERT_TRUE(CJcampDx::ReadLabel(f, &label, &v));
  EXPECT_EQ(label, "TITLE");
  EXPECT_EQ(v.GetString(), "first");
  ASSERT_TRUE(CJcampDx::ReadLabel(f, &label, &v));
  EXPECT_EQ(label, "TD");
  v.ParseText();
  EXPECT_EQ(v.GetType(), plat::ole::VT_I4);
  EXPECT_EQ(v.GetLong(), 16384);
  ASSERT_TRUE(CJcampDx::ReadLabel(f, &label, &v));
  EXPECT_EQ(label, "PRIV");
  EXPECT_EQ(v.GetString(), "abc");
  ASSERT_TRUE(CJcampDx::ReadLabel(f, &label, &v));
  EXPECT_EQ(label, "P");
  ASSERT_TRUE(v.IsArray());
  ASSERT_EQ(v.GetUBound(), 3);
  const float expected[] = {1.0f, -2.5f, 300.0f, 4.0f};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(v.GetItem(i).GetValue().GetFloat(), expected[i]);
  ASSERT_TRUE(CJcampDx::ReadLabel(f, &label, &v));
  EXPECT_EQ(label, "Q");
  ASSERT_EQ(v.GetUBound(), 3);
  EXPECT_EQ(v.GetItem(3).GetValue().GetFloat(), 10.0f);
  ASSERT_TRUE(CJcampDx::ReadLabel(f, &label, &v));  // last line without a line end
  EXPECT_EQ(label, ".OBSERVE FREQUENCY");
  EXPECT_FALSE(CJcampDx::ReadLabel(f, &label, &v));
}

TEST(JcampLabels, ShortArrayStopsAtTheNextLabelInsteadOfSwallowingIt) {
  COrvFile f(WriteScratch("shortarray.dx", "##$A= (0..9)\n1 2 3\n##$B= 5\n"));
  std::string label;
  CVariant v;
  ASSERT_TRUE(CJcampDx::ReadLabel(f, &label, &v));
  EXPECT_EQ(label, "B");
  COrvFile g(WriteScratch("endarray.dx", "##$A= (0..9)\n1 2 3\n"));
  EXPECT_FALSE(CJcampDx::ReadLabel(g, &label, &v));
}

TEST(JcampLabels, SplitList) {
  std::vector<CVariant> items;
  EXPECT_EQ(CJcampDx::SplitList("HZ, ARBITRARY UNITS ,  ARBITRARY UNITS,", &items), 3);
  EXPECT_EQ(items[1].GetString(), "ARBITRARY UNITS");
  EXPECT_EQ(CJcampDx::SplitList("", &items), 0);
  EXPECT_EQ(CJcampDx::SplitList("a,,b", &items), 3);
  EXPECT_EQ(items[1].GetString(), "");
}

TEST(JcampDetect, NeedsTitleOnTheFirstLineVersionAndDataType) {
  auto detect = [](const std::string& text) {
    COrvFile f(WriteScratch("detect.dx", text));
    f.SetPosition(f.m_nSize);  // detection starts from the beginning whatever was read before
    return CJcampDx::IsJcampFile(f, kIr);
  };
  EXPECT_TRUE(detect("##TITLE= x\n##JCAMP-DX= 4.24\n##DATA TYPE= infrared spectrum\n"));
  EXPECT_TRUE(detect("##TITLE= x\n##DATATYPE= INFRARED SPECTRUM\n##JCAMPDX= 5"));
  EXPECT_FALSE(detect("\n##TITLE= x\n##JCAMP-DX= 4.24\n##DATA TYPE= INFRARED SPECTRUM\n"));
  EXPECT_FALSE(detect("##TITLE= x\n##JCAMP-DX= 4.24\n##DATA TYPE= UV/VIS SPECTRUM\n"));
  // One scan of the labels answers every detector that asks about the file, in any order.
  COrvFile f(WriteScratch("detect2.dx", "##TITLE= x\n##JCAMP-DX= 4.24\n##DATA TYPE= INFRARED SPECTRUM\n##END=\n"
                                        "##TITLE= y\n##JCAMP-DX= 4.24\n##DATA TYPE= UV/VIS SPECTRUM\n##END=\n"));
  EXPECT_FALSE(CJcampDx::IsJcampFile(f, {}));
  EXPECT_TRUE(CJcampDx::IsJcampFile(f, {"UV/VIS SPECTRUM"}));
  EXPECT_FALSE(CJcampDx::IsJcampFile(f, {"MASS SPECTRUM"}));
  f.SetPosition(7);
  EXPECT_TRUE(CJcampDx::IsJcampFile(f, kIr));
}

// The labels are found a few megabytes at a time: a label whose leading blanks begin in one
// stretch and whose "##" lies in the next is still a label.
TEST(JcampDetect, FindsALabelWhoseLeadingBlanksCrossTheScansStretches) {
  const std::string title = "##TITLE= x\n";
  const std::size_t stretchEnd = title.size() + (std::size_t(2) << 20);
  std::string text = title;
  while (text.size() + 16 < stretchEnd) text += "1 2 3 4 5 6 7\n";
  text += std::string(stretchEnd - 3 - text.size(), '9') + "\n";
  text += "    ##DATA TYPE= INFRARED SPECTRUM\n##JCAMP-DX= 4.24\n##END=\n";
  ASSERT_LT(text.find("    ##DATA"), stretchEnd);
  ASSERT_GT(text.find("##DATA"), stretchEnd);
  COrvFile f(WriteScratch("straddle.dx", text));
  EXPECT_TRUE(CJcampDx::IsJcampFile(f, kIr));
}

TEST(JcampDecode, CompressedForms) {
  EXPECT_EQ(Decode("0 A1J%\n", 3), (std::vector<float>{11, 12, 12}));
  EXPECT_EQ(Decode("0 A1JT\n", 3), (std::vector<float>{11, 12, 13}));
  EXPECT_EQ(Decode("0 A1JS2\n", 13), Range(11, 13));
  EXPECT_EQ(Decode("0 @T\n", 2), (std::vector<float>{0, 0}));
  EXPECT_EQ(Decode("0 1.5E+02 -3 .5\n", 3), (std::vector<float>{150, -3, 0.5f}));
  EXPECT_EQ(Decode("0 +10+20-30\n", 3), (std::vector<float>{10, 20, -30}));        // PAC
  EXPECT_EQ(Decode("0 a0b1@\n", 3), (std::vector<float>{-10, -21, 0}));           // SQZ
  EXPECT_EQ(Decode("0,10,11,12\n", 3), (std::vector<float>{10, 11, 12}));         // AFFN, commas
  EXPECT_EQ(Decode("0 A0j0\n", 2), (std::vector<float>{10, -0}));                 // DIF negative
}

TEST(JcampDecode, DifCheckValueIsRecognisedByPointIndex) {
  // The second line repeats the last point of the first (a Y check); its abscissa is written
  // with a rounding that would not equal the computed x exactly.
  std::vector<PointMap::Entry> pts;
  ASSERT_TRUE(DecodeTable("0.0 A0JJJ\n2.9999 A3JJ\n4.99 A5\n", 6, &pts, 0, 5));
  EXPECT_EQ(Ys(pts), Range(10, 6));
  // Point counters with a factor, as the NMR writer produces them (step n/(n-1) file units).
  ASSERT_TRUE(DecodeTable("0 A0JJJ\n3 A3JJ\n5 A5\n", 6, &pts, 0, 3.0, 0.5));
  EXPECT_EQ(Ys(pts), Range(10, 6));
  // A plain (non-DIF) file whose lines simply continue adds every ordinate.
  ASSERT_TRUE(DecodeTable("0 10 11 12\n3 13 14 15\n", 6, &pts));
  EXPECT_EQ(Ys(pts), Range(10, 6));
}

TEST(JcampDecode, FactorsAndDescendingAbscissae) {
  std::vector<PointMap::Entry> pts;
  ASSERT_TRUE(DecodeTable("4000 1 2 3\n", 3, &pts, 4000, 3998, 1.0, 0.5));
  ASSERT_EQ(pts.size(), 3u);
  EXPECT_EQ(pts[0].x, 3998.0f);  // ascending x: the file's last point first
  EXPECT_EQ(Ys(pts), (std::vector<float>{1.5f, 1.0f, 0.5f}));
  // XFACTOR scales file abscissae to true x.
  ASSERT_TRUE(DecodeTable("100 5 6\n", 2, &pts, 10, 10.1, 0.1));
  EXPECT_FLOAT_EQ(pts[0].x, 10.0f);
  EXPECT_FLOAT_EQ(pts[1].x, 10.1f);
}

TEST(JcampDecode, ShortTableStopsAtTheNextLabel) {
  const std::string path = WriteScratch("short.dx", "0 1 2\n##END=\n");
  COrvFile f(path);
  JcampVariableList vars;
  vars.vars.resize(4);
  vars.vars[0].m_nDim = 5;
  vars.vars[0].m_dLast = 4;
  PointMap m;
  EXPECT_FALSE(CJcampDx::ReadXYData(f, &m, vars, 0));
  std::string label;
  CVariant v;
  ASSERT_TRUE(CJcampDx::ReadLabel(f, &label, &v));
  EXPECT_EQ(label, "END");
}

TEST(JcampDecode, XyPairsSeveralPerLine) {
  std::vector<PointMap::Entry> pts;
  ASSERT_TRUE(DecodeTable("450.5, 10; 460, 20\n470 30 480 40\n", 4, &pts, 0, 0, 1.0, 1.0, 2));
  ASSERT_EQ(pts.size(), 4u);
  EXPECT_EQ(pts[0].x, 450.5f);
  EXPECT_EQ(pts[3].x, 480.0f);
  EXPECT_EQ(Ys(pts), (std::vector<float>{10, 20, 30, 40}));
  // (XYW..XYW): the third member of each group is not an ordinate.
  ASSERT_TRUE(DecodeTable("1,5,9 2,6,9\n", 2, &pts, 0, 0, 1.0, 1.0, 3));
  EXPECT_EQ(Ys(pts), (std::vector<float>{5, 6}));
}

TEST(JcampDecode, SixtyFourBitIntegersAndOddCounts) {
  std::vector<PointMap::Entry> pts;
  ASSERT_TRUE(DecodeTable("0 A000000000000 J000000000000\n", 2, &pts));
  EXPECT_EQ(pts[1].y, 2e12f);
  bool ok = true;
  EXPECT_TRUE(Decode("0 1\n", 0, &ok).empty());
  EXPECT_FALSE(ok);  // a table of no points holds no spectrum
  EXPECT_EQ(Decode("7 42\n", 1, &ok), (std::vector<float>{42}));
  EXPECT_TRUE(ok);
  EXPECT_EQ(Decode("0 1 2 3 4 5\n", 3, &ok).size(), 3u);  // stops at the count
  EXPECT_TRUE(ok);
  Decode("0 9.9E99999 1\n", 2, &ok);  // overflow is a failure, not inf
  EXPECT_FALSE(ok);
}

TEST(JcampDecode, DigitRunsOfEveryLengthAndTheOrdinatesAloneAgreeWithThePoints) {
  // Integer parts of 1 to 20 digits, read eight at a time where eight bytes are left: at the end
  // of the bytes, before a DUP, a DIF and a fraction.
  for (int digits = 1; digits <= 20; ++digits) {
    const std::string run(static_cast<std::size_t>(digits), '7');
    const double value = std::stod(run);
    SCOPED_TRACE(digits);
    EXPECT_EQ(Decode("0 " + run, 1), (std::vector<float>{static_cast<float>(value)}));
    EXPECT_EQ(Decode("0 " + run + "T J1.5\n", 3),
              (std::vector<float>{static_cast<float>(value), static_cast<float>(value),
                                  static_cast<float>(value + 11.5)}));
  }
  const auto ordinates = [](const std::string& lines, std::int32_t n, double first, double last, std::int32_t group) {
    std::vector<float> out;
    EXPECT_TRUE(DecodeOrdinates(lines, n, &out, first, last, group));
    return out;
  };
  std::vector<PointMap::Entry> pts;
  ASSERT_TRUE(DecodeTable("4000 1 2 3\n", 3, &pts, 4000, 3998));  // descending x
  EXPECT_EQ(ordinates("4000 1 2 3\n", 3, 4000, 3998, 0), Ys(pts));
  ASSERT_TRUE(DecodeTable("0 A1JJ\n2 A3J\n", 4, &pts, 0, 3));
  EXPECT_EQ(ordinates("0 A1JJ\n2 A3J\n", 4, 0, 3, 0), Ys(pts));
  ASSERT_TRUE(DecodeTable("30, 3; 10, 1; 20, 2\n", 3, &pts, 0, 0, 1.0, 1.0, 2));  // pairs in any order
  EXPECT_EQ(ordinates("30, 3; 10, 1; 20, 2\n", 3, 0, 0, 2), (std::vector<float>{1, 2, 3}));
}

TEST(JcampRead, PlainXyDataFileWithYFactorAndNoFinalLineEnd) {
  const std::string path = WriteScratch("plain.dx",
                                        "##TITLE= sample\r\n##JCAMP-DX= 4.24\r\n##DATA TYPE= INFRARED SPECTRUM\r\n"
                                        "##XUNITS= 1/CM\r\n##YUNITS= TRANSMITTANCE\r\n##XFACTOR= 1\r\n##YFACTOR= 0.001\r\n"
                                        "##FIRSTX= 400\r\n##LASTX= 403\r\n##NPOINTS= 4\r\n##XYDATA= (X++(Y..Y))\r\n"
                                        "400 1000 2000 3000 4000\r\n##END=");
  RecordingJcamp r;
  ASSERT_TRUE(r.ReadFile(path, nullptr, &kIr));
  ASSERT_EQ(r.blocks.size(), 1u);
  EXPECT_EQ(r.blocks[0].page, 0);
  EXPECT_EQ(Ys(r.blocks[0].points), (std::vector<float>{1, 2, 3, 4}));
  ASSERT_NE(r.Param("YFACTOR"), nullptr);
  EXPECT_EQ(r.Param("TITLE")->GetString(), "sample");
  EXPECT_EQ(r.Param("FIRSTX"), nullptr);  // consumed by the reader
  // Without END the read fails.
  const std::string cut = WriteScratch("noend.dx", ReadAll(path).substr(0, ReadAll(path).size() - 6));
  RecordingJcamp r2;
  EXPECT_FALSE(r2.ReadFile(cut, nullptr, &kIr));
}

TEST(JcampRead, BlockSelectionAndNtuplesPages) {
  const std::string text =
      "##TITLE= block one\n##JCAMP-DX= 5.0\n##DATA TYPE= MASS SPECTRUM\n##OWNER= first\n##END=\n"
      "##TITLE= block two\n##JCAMP-DX= 5.0\n##DATA TYPE= NMR SPECTRUM\n##NTUPLES= NMR SPECTRUM\n"
      "##VAR_NAME= FREQUENCY, SPECTRUM/REAL, SPECTRUM/IMAG, PAGE NUMBER\n"
      "##SYMBOL= X, R, I, N\n##VAR_DIM= 3, 3, 3, 2\n##FIRST= 0, 1, 1, 1\n##LAST= 2, 1, 1, 2\n"
      "##FACTOR= 1, 2, 1, 1\n"
      "##PAGE= N=1\n##DATA TABLE= (X++(R..R)), XYDATA\n0 1 2 3\n"
      "##PAGE= N=2\n##DATA TABLE= (X++(I..I)), XYDATA\n0 4 5 6\n"
      "##PAGE= N=7\n##DATA TABLE= (X++(I..I)), XYDATA\n0 4 5 6\n"
      "##END NTUPLES= NMR SPECTRUM\n##END=\n";
  const std::string path = WriteScratch("blocks.dx", text);
  const std::vector<std::string> nmr = {"NMR SPECTRUM"};
  RecordingJcamp r;
  EXPECT_FALSE(r.ReadFile(path, nullptr, &nmr));  // the last table names page 7 of 4 variables
  ASSERT_EQ(r.blocks.size(), 2u);
  EXPECT_EQ(r.blocks[0].page, 1);
  EXPECT_EQ(Ys(r.blocks[0].points), (std::vector<float>{2, 4, 6}));  // FACTOR of R applied
  EXPECT_EQ(Ys(r.blocks[1].points), (std::vector<float>{4, 5, 6}));
  EXPECT_EQ(r.Param("OWNER"), nullptr);  // labels of the other block stay out
  EXPECT_NE(r.Param("END NTUPLES"), nullptr);
  ASSERT_EQ(r.params[0].first, "TITLE");
  EXPECT_EQ(r.params[1].second.GetString(), "block two");
}

TEST(JcampRead, LongDataLinesAreReadWhole) {
  std::string line = "0";
  for (int i = 0; i < 200; ++i) line += " " + std::to_string(1000 + i);
  const std::string path =
      WriteScratch("longline.dx", "##TITLE= t\n##NPOINTS= 200\n##FIRSTX= 0\n##LASTX= 199\n##XYDATA= (X++(Y..Y))\n" + line + "\n##END=\n");
  RecordingJcamp r;
  ASSERT_TRUE(r.ReadFile(path, nullptr, nullptr));
  EXPECT_EQ(Ys(r.blocks[0].points), Range(1000, 200));
}

// ---- Files as other programs write them ----

namespace {

// A signal of integers with peaks, runs and steps, as spectra have them.
std::vector<long long> Signal(std::size_t n) {
  std::vector<long long> ys(n);
  for (std::size_t i = 0; i < n; ++i)
    ys[i] = static_cast<long long>(20000.0 / (1.0 + (static_cast<double>(i % 700) - 350.0) * (static_cast<double>(i % 700) - 350.0) / 90.0)) -
            static_cast<long long>(i % 13) * 7 + (i / 1000) * 31;
  return ys;
}

std::vector<float> AsFloats(const std::vector<long long>& ys) { return std::vector<float>(ys.begin(), ys.end()); }

// The values the reader gives for a whole file, in file order (a descending file's points come
// in ascending x).
std::vector<float> ReadValues(const std::string& text, const char* name, bool* ok, bool descending = false) {
  RecordingJcamp r;
  *ok = r.ReadFile(WriteScratch(name, text), nullptr, &kIr) && r.blocks.size() == 1;
  if (r.blocks.empty()) return {};
  std::vector<float> ys = Ys(r.blocks[0].points);
  return descending ? std::vector<float>(ys.rbegin(), ys.rend()) : ys;
}

}  // namespace

TEST(JcampExported, DifTablesWhoseAbscissaeAreTruncatedOrLateKeepEveryPoint) {
  // A 13C spectrum over a falling Hz axis of half-hertz steps: exporters write each line's
  // abscissa truncated to whole hertz, or at the first new point after the Y check.
  const std::vector<long long> ys = Signal(5243);
  for (const LineAbscissa style : {LineAbscissa{true, 0}, LineAbscissa{false, 1}, LineAbscissa{true, 1}}) {
    SCOPED_TRACE(std::to_string(style.truncated) + " shift " + std::to_string(style.shift));
    bool ok = false;
    const std::string text = XyFile("INFRARED SPECTRUM", 2500.37, -116.43, ys.size(), XyLines(ys, 2500.37, -116.43, 10, true, style));
    EXPECT_EQ(ReadValues(text, "dif_exported.dx", &ok, true), AsFloats(ys));
    EXPECT_TRUE(ok);
  }
}

TEST(JcampExported, PlainTablesHaveNoCheckValueWhereverTheirAbscissaStands) {
  // Quantitative IR files: AFFN values, each line's abscissa one step behind (or ahead).
  const std::vector<long long> ys = Signal(1801);
  for (const int shift : {-1, 0, 1}) {
    SCOPED_TRACE(shift);
    bool ok = false;
    const std::string text = XyFile("INFRARED SPECTRUM", 4000, 400, ys.size(), XyLines(ys, 4000, 400, 8, false, {false, shift}));
    EXPECT_EQ(ReadValues(text, "plain_exported.dx", &ok, true), AsFloats(ys));
    EXPECT_TRUE(ok);
  }
}

TEST(JcampExported, LabelSpellingsCrLinesAndBareEnd) {
  // Case, blanks, "-", "/" and "_" do not count in a label name; lines may end in CR alone.
  const std::string text =
      "##TITLE =spelt\r## JCAMP_DX= 5.01\r##Data_Type= infrared spectrum\r##FIRST X= 10\r##lastx= 13\r"
      "##N-POINTS= 4\r##XY DATA= (X++(Y..Y))\r10 1 2\r12 3 4\r##END\r";
  COrvFile f(WriteScratch("spelt.dx", text));
  EXPECT_TRUE(CJcampDx::IsJcampFile(f, kIr));
  bool ok = false;
  EXPECT_EQ(ReadValues(text, "spelt.dx", &ok), (std::vector<float>{1, 2, 3, 4}));
  EXPECT_TRUE(ok);
}

TEST(JcampExported, PagesNamedByAnotherVariableReadEachRow) {
  // Rows of a series, each page given by its time: each row is described by the variable of its
  // table's ordinate (Y), and none drifts.
  const std::vector<long long> ys = Signal(300);
  std::string text =
      "##TITLE= series\r\n##JCAMP-DX= 5.00\r\n##DATA TYPE= INFRARED SPECTRUM\r\n##NTUPLES= SERIES\r\n"
      "##VAR_NAME= WAVENUMBER, ABSORBANCE, TIME\r\n##SYMBOL= X, Y, T\r\n##VAR DIM= 300, 300, 2\r\n"
      "##FIRST= 1000, 0, 272\r\n##LAST= 1299, 0, 300\r\n##FACTOR= 1, 1, 1\r\n";
  for (const char* t : {"272", "300"}) {
    text += std::string("##PAGE= T= ") + t + "\r\n##DATA TABLE= (X++(Y..Y)), XYDATA\r\n" +
            XyLines(ys, 1000, 1299, 10, true, {true, 1});
  }
  text += "##END NTUPLES= SERIES\r\n##END=\r\n";
  RecordingJcamp r;
  ASSERT_TRUE(r.ReadFile(WriteScratch("series.dx", text), nullptr, &kIr));
  ASSERT_EQ(r.blocks.size(), 2u);
  for (const auto& b : r.blocks) {
    EXPECT_EQ(b.page, 1);
    EXPECT_EQ(Ys(b.points), AsFloats(ys));
  }
}

TEST(JcampExported, CountsThatDisagreeWithTheTable) {
  const std::vector<long long> ys = Signal(64);
  bool ok = true;
  // One more than the values, the table ending at the next label: the values are the table.
  EXPECT_EQ(ReadValues(XyFile("INFRARED SPECTRUM", 0, 64, 65, XyLines(ys, 0, 63, 10, false)), "over1.dx", &ok), AsFloats(ys));
  EXPECT_TRUE(ok);
  ReadValues(XyFile("INFRARED SPECTRUM", 0, 65, 66, XyLines(ys, 0, 63, 10, false)), "over2.dx", &ok);
  EXPECT_FALSE(ok);
  // No point at all: a count of 0, a misspelt count, a table of a form not read.
  const std::pair<std::string, std::string> spoilt[] = {{"##NPOINTS= 64", "##NPOINTS= 0"},
                                                        {"##NPOINTS= 64", "##NPOINT= 64"},
                                                        {"##XYDATA= (X++(Y..Y))", "##XYPOINTS= (XY..XY)"}};
  for (const auto& [from, to] : spoilt) {
    SCOPED_TRACE(to);
    std::string text = XyFile("INFRARED SPECTRUM", 0, 63, 64, XyLines(ys, 0, 63, 10, false));
    text.replace(text.find(from), from.size(), to);
    CIrConvertJcampDx conv;
    CSpcData data;
    EXPECT_FALSE(conv.Read(WriteScratch("nopoints.dx", text), &data, 0));
    EXPECT_FALSE(conv.GetFailure().empty());
  }
}
