// Tables of megabytes, which the reader decodes in slices on several threads: the points, the
// place where reading stops and the failures must be those of one pass over the lines.
#include <gtest/gtest.h>

#include <algorithm>

#include "jcampdx_test_util.h"

using namespace convert_test;

namespace {

constexpr std::int32_t kPoints = 1000000;

// A smooth signal with noise, as integers: the runs of small differences of real spectra, and
// a flat stretch where DUP counts run long.
const std::vector<float>& Signal() {
  static const std::vector<float> ys = [] {
    std::vector<float> v(kPoints);
    unsigned seed = 7;
    for (std::int32_t i = 0; i < kPoints; ++i) {
      seed = seed * 1103515245u + 12345u;
      const int d = (i % 9000) - 4500;
      const double peak = 90000.0 / (1.0 + d * d / 300.0);
      v[static_cast<std::size_t>(i)] = i >= 300000 && i < 360000 ? 5.0f : static_cast<float>(static_cast<int>(peak) + static_cast<int>((seed >> 16) % 9) - 4);
    }
    return v;
  }();
  return ys;
}

std::string Table(int form, bool onePerLine = false) {
  JcampVariableList vars = TableVars(kPoints, 0, kPoints - 1, 1.0, 1.0, 0);
  vars.vars[0].m_bTable = onePerLine ? 0 : 1;
  vars.vars[1].m_nForm = form;
  PointMap points;
  points.reserve(kPoints);
  for (std::int32_t i = 0; i < kPoints; ++i) points.set(static_cast<float>(i), Signal()[static_cast<std::size_t>(i)]);
  std::string out;
  EXPECT_TRUE(CJcampDx::WriteAsdf(out, points, vars, 1));
  return out;
}

// Reads the ordinates of a table of n points from lines followed by "##END=", and the label
// read after them.
bool ReadTable(const std::string& lines, std::int32_t n, std::vector<float>* ys, std::string* next) {
  COrvFile file(WriteScratch("large.dx", lines + "##END=\n"));
  const bool ok = CJcampDx::ReadOrdinates(file, ys, TableVars(n, 0, n - 1, 1.0, 1.0, 0), 0);
  CVariant value;
  next->clear();
  CJcampDx::ReadLabel(file, next, &value);
  return ok;
}

// Where reading a table of n points from lines stops.
std::int64_t StopOf(const std::string& lines, std::int32_t n) {
  COrvFile file(WriteScratch("large_stop.dx", lines + "##END=\n"));
  std::vector<float> ys;
  CJcampDx::ReadOrdinates(file, &ys, TableVars(n, 0, n - 1, 1.0, 1.0, 0), 0);
  return file.GetPosition();
}

std::vector<float> Head(std::size_t n) { return {Signal().begin(), Signal().begin() + static_cast<std::ptrdiff_t>(n)}; }

}  // namespace

TEST(JcampLargeTable, EveryFormAndLineEndReadsEveryPoint) {
  for (const int form : {kJcampFix, kJcampPacked, kJcampSqueezed, kJcampDiffDup}) {
    const std::string table = Table(form);  // CR LF line ends
    ASSERT_GT(table.size(), std::size_t(1) << 20);  // several slices
    std::string lf, cr;
    for (const char c : table) {
      if (c != '\n') cr += c;
      if (c != '\r') lf += c;
    }
    for (const auto& [lines, ends] : {std::pair{&table, "CR LF"}, {&lf, "LF"}, {&cr, "CR"}}) {
      SCOPED_TRACE(testing::Message() << "form " << form << ", line ends " << ends);
      std::vector<float> ys;
      std::string next;
      EXPECT_TRUE(ReadTable(*lines, kPoints, &ys, &next));
      EXPECT_EQ(ys, Signal());
      EXPECT_EQ(next, "END");
    }
  }
  // The points keyed by x as well.
  COrvFile file(WriteScratch("large_xy.dx", Table(kJcampDiffDup)));
  PointMap map;
  ASSERT_TRUE(CJcampDx::ReadXYData(file, &map, TableVars(kPoints, 0, kPoints - 1, 1.0, 1.0, 0), 0));
  ASSERT_EQ(map.count(), static_cast<std::size_t>(kPoints));
  EXPECT_EQ(map.at(123457).x, 123457.0f);
  EXPECT_EQ(map.at(123457).y, Signal()[123457]);
}

TEST(JcampLargeTable, LinesThatOpenWithADifferenceFollowTheLinesBefore) {
  // Every line opens with a DIF Y check ('%': the last point again), so no line can be decoded
  // without the one before it.
  std::string lines = "0 @JJJ\n";
  const std::int32_t n = 1000000;
  for (std::int32_t i = 4; i < n; i += 3) lines += std::to_string(i - 1) + " %JJJ\n";
  std::vector<float> ys, expected(n);
  for (std::int32_t i = 0; i < n; ++i) expected[static_cast<std::size_t>(i)] = static_cast<float>(i);
  std::string next;
  EXPECT_TRUE(ReadTable(lines, n, &ys, &next));
  EXPECT_EQ(ys, expected);
  EXPECT_EQ(next, "END");
}

TEST(JcampLargeTable, CountsThatEndTheTableEarlyOrLate) {
  const std::string table = Table(kJcampDiffDup);
  std::vector<float> ys;
  std::string next;
  // Fewer points than the lines hold: the table ends on the line of its last point, and the
  // rest are no labels.
  EXPECT_TRUE(ReadTable(table, 555555, &ys, &next));
  EXPECT_EQ(ys, Head(555555));
  EXPECT_EQ(next, "END");
  // One more than the lines hold, at the next label: the values are the table; two more fail.
  EXPECT_TRUE(ReadTable(table, kPoints + 1, &ys, &next));
  EXPECT_EQ(ys, Signal());
  EXPECT_FALSE(ReadTable(table, kPoints + 2, &ys, &next));
  EXPECT_EQ(next, "END");
  // Reading stops after the line of the last point, lines after it unread.
  const std::string single = Table(kJcampSqueezed, true);  // a point a line
  std::size_t line = 0;
  for (int i = 0; i < 555555; ++i) line = single.find('\n', line) + 1;
  EXPECT_EQ(StopOf(single, 555555), static_cast<std::int64_t>(line));
  EXPECT_EQ(StopOf(single + "\r\n\r\n", kPoints), static_cast<std::int64_t>(single.size()));
  // The DIF table's last line only repeats its last point (the Y check): it is not read.
  EXPECT_EQ(StopOf(table + "\r\n\r\n", kPoints), static_cast<std::int64_t>(table.rfind('\n', table.size() - 2) + 1));
  // A label within the lines ends the table there.
  std::string cut = table;
  const std::size_t at = cut.find('\n', cut.size() / 2) + 1;
  cut.insert(at, "  ##$REMARK= cut\n");
  EXPECT_FALSE(ReadTable(cut, kPoints, &ys, &next));
  EXPECT_EQ(next, "REMARK");
}

TEST(JcampLargeTable, AValueThatCannotBeStoredFailsWhereItStands) {
  std::string table = Table(kJcampFix);
  const std::size_t line = table.find('\n', table.size() * 2 / 3) + 1;
  const std::size_t lineEnd = table.find('\r', line);
  table.insert(lineEnd, " 1.0E39");
  // The points before it stay; reading goes on after its line.
  COrvFile file(WriteScratch("large_inf.dx", table));
  std::vector<float> ys;
  EXPECT_FALSE(CJcampDx::ReadOrdinates(file, &ys, TableVars(kPoints, 0, kPoints - 1, 1.0, 1.0, 0), 0));
  ASSERT_GT(ys.size(), std::size_t(kPoints / 2));
  EXPECT_EQ(ys, Head(ys.size()));
  EXPECT_EQ(file.GetPosition(), static_cast<std::int64_t>(lineEnd + 9));
}
