#include <gtest/gtest.h>

#include <random>

#include "jcampdx_test_util.h"
#include "jdx_test_util.h"
#include "jdx_text.h"

using namespace convert_test;

namespace {

JcampVariableList Vars(std::int32_t form, double first, double last, std::int32_t table = 1) {
  JcampVariableList vars;
  vars.vars.resize(2);
  vars.vars[0].m_dFirst = first;
  vars.vars[0].m_dLast = last;
  vars.vars[0].m_bTable = table;
  vars.vars[1].m_nForm = form;
  return vars;
}

std::string Encode(std::int32_t form, const std::vector<float>& ys, double x0 = 1, double step = 1) {
  PointMap m;
  for (std::size_t i = 0; i < ys.size(); ++i) m.set(static_cast<float>(x0 + step * i), ys[i]);
  std::string out;
  EXPECT_TRUE(CJcampDx::WriteAsdf(out, m, Vars(form, x0, x0 + step * (ys.size() - 1)), 1));
  return out;
}

// The table both decoders read from encoded lines: the standard's reading and ours.
void ExpectBothDecodersRead(const std::string& lines, const std::vector<float>& ys) {
  const auto tables = ReferenceDecode("##XYDATA= (X++(Y..Y))\r\n" + lines);
  ASSERT_EQ(tables.size(), 1u);
  EXPECT_EQ(std::vector<float>(tables[0].ys.begin(), tables[0].ys.end()), ys);
  std::vector<PointMap::Entry> pts;
  ASSERT_TRUE(DecodeTable(lines, static_cast<std::int32_t>(ys.size()), &pts, 0, static_cast<double>(ys.size() - 1)));
  EXPECT_EQ(Ys(pts), ys);
}

}  // namespace

TEST(JcampEncode, SmallTablesInEveryForm) {
  EXPECT_EQ(Encode(kJcampDiffDup, {10, 11, 12, 13}), "1 A0JU\r\n4 A3\r\n");
  EXPECT_EQ(Encode(kJcampDiffDup, {5, 5, 5, 6}), "1 EUJ\r\n4 F\r\n");
  EXPECT_EQ(Encode(kJcampDiffDup, {-5, 0, 0, 0}), "1 eN%T\r\n4 @\r\n");
  EXPECT_EQ(Encode(kJcampFix, {10, -11}), "1              10            -11\r\n");
  EXPECT_EQ(Encode(kJcampPacked, {10, -11, 0}), "1 +10-11+0\r\n");
  EXPECT_EQ(Encode(kJcampSqueezed, {10, -11, 0, 7}), "1 A0a1@G\r\n");
  EXPECT_EQ(Encode(kJcampSqueezed, {1}, -3), "-3 A\r\n");
  EXPECT_EQ(Encode(kJcampSqueezed, {}, 0), "");
  EXPECT_EQ(Encode(kJcampPacked, {1, 2}, 0.5, 0.25), "0.500000 +1+2\r\n");
}

TEST(JcampEncode, TablesWithFractionsArePlainNumbersInEveryForm) {
  // The compressed forms hold integers: with a fraction anywhere in the table, every form writes
  // the table as plain numbers, whole ones among them too (a fraction among compressed tokens
  // is taken for one more difference by other readers). No line ends in a blank.
  const std::vector<float> ys = {0.5f, 1.25f, -2.75f};
  const std::string fix = Encode(kJcampFix, ys);
  EXPECT_EQ(fix, "1 0.500000 1.250000 -2.750000\r\n");
  for (std::int32_t form : {kJcampPacked, kJcampSqueezed, kJcampDiffDup}) EXPECT_EQ(Encode(form, ys), fix);
  const std::vector<float> mixed = {0.5f, 2.0f, 3.0f, 4.0f, 4.0f, 4.25f};
  const std::string plain = Encode(kJcampFix, mixed);
  EXPECT_EQ(plain, "1 0.500000               2              3              4              4\r\n6 4.250000\r\n");
  for (std::int32_t form : {kJcampPacked, kJcampSqueezed, kJcampDiffDup}) EXPECT_EQ(Encode(form, mixed), plain);
}

TEST(JcampEncode, MixedValuesAreDelimitedInShortLinesAStandardReaderReads) {
  // Exact integers among decimals, runs, steps, and integers wider than a FIX column.
  std::vector<float> ys = {1, 0.5f, 11.5f, 2, 2, 2, 3, 4, 5, -7.25f, 1e17f, -3e16f, 12, 12, 0.125f, 7, 7, 8, 9, 10};
  for (int i = 0; i < 400; ++i) ys.push_back(i % 7 == 3 ? 0.25f * static_cast<float>(i) : static_cast<float>(i * 37 % 1000 - 500));
  for (std::int32_t form : {kJcampFix, kJcampPacked, kJcampSqueezed, kJcampDiffDup}) {
    SCOPED_TRACE(form);
    ExpectBothDecodersRead(Encode(form, ys, 0, 1), ys);
  }
}

TEST(JcampEncode, RunsAcrossALineEndStartWithADifferenceAfterTheYCheck) {
  // Plateaus of equal values among steps of three digits, so that runs cross line ends: the
  // value after a Y check is written as a difference, never as a DUP of the check.
  std::vector<float> ys;
  for (int i = 0; i < 600; ++i) ys.push_back(static_cast<float>(i % 7 < 3 ? (i / 7) * 11 : i * 7919 % 20000 - 10000));
  const std::string lines = Encode(kJcampDiffDup, ys, 0, 1);
  // Lines whose first value after the check is a zero difference: the runs that crossed.
  std::size_t crossing = 0;
  for (const std::string& line : Lines(lines)) {
    const std::size_t check = line.find(' ');
    const std::size_t after = check == std::string::npos ? check : line.find_first_of("%JKLMNOPQRjklmnopqrSTUVWXYZs", check);
    if (after != std::string::npos && line[after] == '%' && line.find_first_of("%JKLMNOPQRjklmnopqr", check) == after) ++crossing;
  }
  ASSERT_GE(crossing, 1u);
  ExpectBothDecodersRead(lines, ys);
}

TEST(JcampEncode, PeakTablesHoldOneOrdinatePerLine) {
  PointMap m;
  m.set(100.0f, 5.0f);
  m.set(101.5f, 7.0f);
  std::string peaks;
  CJcampDx::WriteAsdf(peaks, m, Vars(kJcampFix, 100, 101.5, 0), 1);
  EXPECT_EQ(peaks, "100               5\r\n101.500000               7\r\n");
}

TEST(JcampEncode, RoundTripOfLargeTablesInEveryForm) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> jump(-3, 3);
  std::uniform_int_distribution<int> big(-2000000, 2000000);
  std::vector<float> ys(200000);
  float y = 0;
  for (std::size_t i = 0; i < ys.size(); ++i) {
    // Runs of equal values and equal differences, and some jumps, so DUP and DIF both occur.
    if (i % 1000 < 100) {
    } else if (i % 997 == 0) {
      y = static_cast<float>(big(rng));
    } else {
      y += static_cast<float>(jump(rng));
    }
    ys[i] = y;
  }
  for (std::int32_t form : {kJcampFix, kJcampPacked, kJcampSqueezed, kJcampDiffDup}) {
    SCOPED_TRACE(form);
    const std::string text = Encode(form, ys, 0, 1);
    std::vector<PointMap::Entry> pts;
    ASSERT_TRUE(DecodeTable(text, static_cast<std::int32_t>(ys.size()), &pts, 0, static_cast<double>(ys.size() - 1)));
    EXPECT_EQ(Ys(pts), ys);
  }
  // Descending abscissae come back at their true x.
  const std::vector<float> small(ys.begin(), ys.begin() + 3000);
  const std::string text = Encode(kJcampDiffDup, small, 4000, -1);
  std::vector<PointMap::Entry> pts;
  ASSERT_TRUE(DecodeTable(text, 3000, &pts, 4000, 1001));
  EXPECT_EQ(pts.front().x, 1001.0f);
  EXPECT_EQ(pts.back().y, small.front());
}

TEST(JcampEncode, LabelsArraysAndRows) {
  std::string out;
  CVariant v;
  v.SetString("hello");
  CJcampDx::WriteLabel(out, "TITLE", v);
  CJcampDx::WriteLabel(out, "$$", v);
  EXPECT_EQ(out, "##TITLE= hello\r\n$$ hello\r\n");

  std::vector<float> values(30);
  for (int i = 0; i < 30; ++i) values[i] = 1000.0f + static_cast<float>(i);
  out.clear();
  CJcampDx::WriteLabel(out, "P", CVariant(values.data(), 30));
  ASSERT_EQ(out.rfind("##P= (0..29)\r\n", 0), 0u);
  std::size_t start = 0, lines = 0;
  while (start < out.size()) {
    const auto end = out.find("\r\n", start);
    EXPECT_LE(end - start, 75u);
    EXPECT_GT(end - start, 0u);  // no empty line
    start = end + 2;
    ++lines;
  }
  EXPECT_GE(lines, 3u);
  // The array reads back.
  COrvFile f(WriteScratch("array.dx", out));
  std::string label;
  CVariant back;
  ASSERT_TRUE(CJcampDx::ReadLabel(f, &label, &back));
  ASSERT_EQ(back.GetUBound(), 29);
  EXPECT_EQ(back.GetItem(29).GetValue().GetFloat(), 1029.0f);

  EXPECT_EQ(CJcampDx::FormatRow("##SYMBOL", "X", "R", "I", "N"),
            "##SYMBOL=    X,            R,              I,              N               \r\n");
}

TEST(JcampWrite, WholeFileReadsBackAndAFailedWriteKeepsTheOldFile) {
  RecordingJcamp w;
  w.writeVars = Vars(kJcampDiffDup, 0, 3);
  w.writeVars.vars[0].m_nDim = 4;
  w.writeVars.vars[0].m_strUnits = "1/CM";
  for (int i = 0; i < 4; ++i) w.writePoints.set(static_cast<float>(i), static_cast<float>(10 + i));
  const std::string path = plat::joinPath(ScratchDir("write"), "out.dx");
  ASSERT_TRUE(w.WriteNtuples(path, nullptr));
  const std::string text = ReadAll(path);
  EXPECT_NE(text.find("##TITLE= test\r\n"), std::string::npos);
  EXPECT_NE(text.find("##XYDATA= (X++(Y..Y))\r\n0 A0JU\r\n3 A3\r\n##END= \r\n"), std::string::npos);
  RecordingJcamp r;
  ASSERT_TRUE(r.ReadFile(path, nullptr, nullptr));
  EXPECT_EQ(Ys(r.blocks.at(0).points), (std::vector<float>{10, 11, 12, 13}));

  // Data that cannot be written fails and leaves the file as it was.
  w.writePoints.set(9.0f, std::numeric_limits<float>::infinity());
  EXPECT_FALSE(w.WriteNtuples(path, nullptr));
  EXPECT_EQ(ReadAll(path), text);
  EXPECT_FALSE(w.WriteNtuples(plat::joinPath(ScratchDir("write"), "no/such/dir/out.dx"), nullptr));
}
