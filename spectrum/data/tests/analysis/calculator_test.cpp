#include <gtest/gtest.h>

#include <string>

#include "spectrum/data/calculator.h"
#include "spectrum/data/spcprocess.h"

namespace {

struct Case {
  const char* text;
  const char* result;  // nullptr: refused
};

TEST(Calculator, EvaluatesATableOfExpressions) {
  const Case cases[] = {
      {"2*(3+4)", "14.000000"},
      {"10/4-1", "1.500000"},
      {"8/2/2", "2.000000"},
      {"2*(1-3)", "-4.000000"},
      {"-3+5", "2.000000"},
      {"-(2+3)*2", "-10.000000"},
      {"2*-3", "-6.000000"},
      {"2--3", "5.000000"},
      {"1+2*3-4/2", "5.000000"},
      {"(1+2)*(3+4)", "21.000000"},
      {"((2))", "2.000000"},
      {" 400.13 * 2 ", "800.260000"},
      {"1.5e3/3", "500.000000"},
      {"7-7", "0.000000"},
      {"-0", "0.000000"},
      {"10-2-3", "5.000000"},
      {"1/3", "0.333333"},
      {"(1+2", nullptr},
      {"1+2)", nullptr},
      {")(", nullptr},
      {"2*", nullptr},
      {"*2", nullptr},
      {"", nullptr},
      {"()", nullptr},
      {"1/0", nullptr},
      {"1/(2-2)", nullptr},
      {"SF*2", nullptr},
      {"1 2", nullptr},
      {"1e400", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string text = c.text;
    const bool ok = !text.empty() && CSpcProcess::Calculate(text, 0, text.size() - 1);
    if (c.result) {
      EXPECT_TRUE(ok);
      EXPECT_EQ(text, c.result);
    } else {
      EXPECT_FALSE(ok);
      EXPECT_EQ(text, c.text);
    }
  }
}

TEST(Calculator, ReplacesOnlyItsRange) {
  std::string text = "X ?= 2*(3+4) ;";
  ASSERT_TRUE(CSpcProcess::Calculate(text, 5, 11));
  EXPECT_EQ(text, "X ?= 14.000000 ;");
  EXPECT_FALSE(CSpcProcess::Calculate(text, 5, 100));
  EXPECT_FALSE(CSpcProcess::Calculate(text, 6, 5));
}

TEST(Calculator, RefusesNestingBeyondItsDepth) {
  const std::string deep = std::string(100000, '(') + "1" + std::string(100000, ')');
  double v = 0.0;
  EXPECT_FALSE(spc::EvaluateExpression(deep, &v));
  const std::string fine = std::string(50, '(') + "1" + std::string(50, ')');
  EXPECT_TRUE(spc::EvaluateExpression(fine, &v));
  EXPECT_EQ(v, 1.0);
  EXPECT_TRUE(spc::EvaluateExpression(std::string(100001, '-') + "1", &v));
  EXPECT_EQ(v, -1.0);
}

}  // namespace
