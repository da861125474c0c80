// Typed millimetres and radii become the properties' integers exactly, and scheme names that
// cannot stand as section names are told apart.
#include <gtest/gtest.h>

#include <climits>

#include "spectrum/control/pages/schemes.h"
#include "spectrum/control/pages/spcproppage.h"

namespace {

using nelvar::ScaleDecimalText;

TEST(DecimalText, ScalesTheTypedDigitsAndTruncatesTowardZero) {
  struct Case {
    const char* text;
    int shift;
    int expected;
  } const cases[] = {
      {"10.01", 2, 1001},  {"10", 2, 1000},     {"25.5", 2, 2550},   {"0.999", 2, 99},    {"-1.239", 2, -123},
      {"-0.005", 2, 0},    {" +3.5mm", 2, 350}, {".5", 1, 5},        {"7.", 1, 70},       {"2.5e1", 2, 2500},
      {"1E-2", 2, 1},      {"1e", 2, 100},      {"", 2, 0},          {"abc", 2, 0},       {"-", 2, 0},
      {"4.29", 2, 429},    {"0.29", 2, 29},     {"1.15", 1, 11},     {"21474836.47", 2, INT_MAX},
      {"99999999999", 2, INT_MAX}, {"-99999999999", 2, INT_MIN},    {"1e999999", 0, INT_MAX}, {"1e-999999", 2, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ScaleDecimalText(c.text, c.shift, false), c.expected) << c.text;
  // Read as a float and scaled, 4.29 would store 428.
  volatile float typed = 4.29f;
  EXPECT_EQ(static_cast<int>(static_cast<double>(typed) * 100.0), 428);
}

TEST(DecimalText, ACommaIsADecimalMarkOnlyWhereAsked) {
  EXPECT_EQ(ScaleDecimalText("1,5", 1, true), 15);
  EXPECT_EQ(ScaleDecimalText("1,5", 1, false), 10);
  EXPECT_EQ(ScaleDecimalText("1.5,2", 1, true), 15);  // one mark only
}

TEST(SchemeNames, EmptyNamesAndSectionCharactersAreRefused) {
  for (const char* bad : {"", "a\\b", "[x", "x]", "tab\there", "line\nbreak", "\x7f"})
    EXPECT_FALSE(nelvar::IsValidSchemeName(bad)) << bad;
  for (const char* good : {"Dark", "Print 2", "a.b-c", "Ärger"}) EXPECT_TRUE(nelvar::IsValidSchemeName(good)) << good;
}

}  // namespace
