// The console's numeric and text expressions, with parameters from a fixed table.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "spectrum/control/control/expressions.h"

namespace {

using nelvar::EvaluateExpression;
using nelvar::ExpandStringExpression;
using nelvar::PlainDecimal;

bool Lookup(std::string_view name, std::string* value) {
  static const std::map<std::string, std::string, std::less<>> params = {
      {"SI", "1024"}, {"SF", "400.13"}, {"TITLE", "Ethyl acetate"}};
  const auto it = params.find(std::string(name) == "si" ? "SI" : name);
  if (it == params.end()) return false;
  *value = it->second;
  return true;
}

std::string Eval(std::string text) {
  EvaluateExpression(text, Lookup);
  return text;
}

std::string Expand(std::string text) {
  ExpandStringExpression(text, Lookup);
  return text;
}

TEST(Expressions, NumbersTakeTheirUnitLettersAndParametersTheirValues) {
  EXPECT_EQ(Eval("16K"), "16384.000000");
  EXPECT_EQ(Eval("5U*1000000"), "5.000000");
  EXPECT_EQ(Eval("2m"), "0.002000");
  EXPECT_EQ(Eval("si*2"), "2048.000000");
  EXPECT_EQ(Eval(" SF - 0.13 "), "400.000000");
  // An exponent's sign stays in its number; a minus after a name is an operator.
  EXPECT_EQ(Eval("1E-3*1000"), "1.000000");
  EXPECT_EQ(Eval("2.5e+1+SI-24"), "1025.000000");
  EXPECT_EQ(Eval("-(2*(1-3))"), "4.000000");
  // A name that is no parameter is left for the calculator, which refuses it.
  EXPECT_EQ(Eval("NOPE+1"), "NOPE+1");
}

TEST(Expressions, AQuoteMakesAStringLiteral) {
  EXPECT_EQ(Eval("\"Proton 1H\""), "Proton 1H");
  EXPECT_EQ(Eval("x \"a\" + \"b\" y"), "a\" + \"b");
  EXPECT_EQ(Eval("\"lone"), "");
}

TEST(Expressions, PlainDecimalsKeepFifteenDigitsWithoutExponent) {
  EXPECT_EQ(PlainDecimal(12.345 * 0.000001), "0.000012345");
  EXPECT_EQ(PlainDecimal(16384.0), "16384");
  EXPECT_EQ(PlainDecimal(-0.5), "-0.5");
  EXPECT_EQ(PlainDecimal(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(PlainDecimal(2.5e20), "250000000000000000000");
  EXPECT_EQ(PlainDecimal(0.0), "0");
}

TEST(Expressions, TextsJoinQuotedPiecesAndParameterValues) {
  EXPECT_EQ(Expand("\"Title: \" + TITLE"), "Title: Ethyl acetate");
  EXPECT_EQ(Expand("\"a+b\"+SI+\" pts\""), "a+b1024 pts");
  EXPECT_EQ(Expand("UNKNOWN + \"!\""), "UNKNOWN!");
  EXPECT_EQ(Expand(""), "");
}

}  // namespace
