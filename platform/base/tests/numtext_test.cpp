#include "platform/base/numtext.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <limits>

namespace {

TEST(NumText, FormatsLikePrintfInTheCLocale) {
  // printf in the C locale is the independent reference.
  const double values[] = {0.0, -0.0, 1.5, -2.25, 123456789.0, 1e-7, 3.14159265358979, 1e21, 0.1};
  const char* formats[] = {"%f", "%.3f", "%e", "%.2E", "%g", "%.10g", "%G", "%.0f", "%.0g"};
  const char conv[] = {'f', 'f', 'e', 'E', 'g', 'g', 'G', 'f', 'g'};
  const int prec[] = {6, 3, 6, 2, 6, 10, 6, 0, 0};
  for (double v : values) {
    for (std::size_t i = 0; i < std::size(formats); ++i) {
      char expected[512];
      std::snprintf(expected, sizeof expected, formats[i], v);
      EXPECT_EQ(plat::formatDouble(v, conv[i], prec[i]), expected) << formats[i] << " of " << v;
    }
  }
}

TEST(NumText, IgnoresTheProcessLocale) {
  // Even under a locale with a decimal comma (when the machine has one), "." stays.
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = old ? old : "C";
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(plat::formatDouble(1.5, 'f', 2), "1.50");
  double v = 0;
  EXPECT_TRUE(plat::parseDouble("2.5", &v));
  EXPECT_EQ(v, 2.5);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumText, NonFiniteValuesHaveFixedText) {
  EXPECT_EQ(plat::formatDouble(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(plat::formatDouble(-std::numeric_limits<double>::infinity(), 'G'), "-INF");
  EXPECT_EQ(plat::formatDouble(std::numeric_limits<double>::quiet_NaN()), "nan");
}

TEST(NumText, ExactFormReadsBackBitForBit) {
  for (double v : {0.1, 1.0 / 3.0, 6.02214076e23, -4.9406564584124654e-324}) {
    double back = 0;
    ASSERT_TRUE(plat::parseDouble(plat::formatDoubleExact(v), &back));
    EXPECT_EQ(back, v);
  }
}

TEST(NumText, PrefixParsingWorksLikeStrtol) {
  std::int64_t i = 0;
  EXPECT_EQ(plat::parseIntPrefix("  -42abc", &i), 5u);
  EXPECT_EQ(i, -42);
  EXPECT_EQ(plat::parseIntPrefix("+7", &i), 2u);
  EXPECT_EQ(i, 7);
  EXPECT_EQ(plat::parseIntPrefix("x1", &i), 0u);
  EXPECT_EQ(plat::parseIntPrefix("-", &i), 0u);
  EXPECT_EQ(plat::parseIntPrefix("99999999999999999999", &i), 0u);  // out of range is refused
  EXPECT_EQ(plat::parseIntPrefix("-9223372036854775808", &i), 20u);
  EXPECT_EQ(i, std::numeric_limits<std::int64_t>::min());

  double d = 0;
  EXPECT_EQ(plat::parseDoublePrefix(" +1.5e3xyz", &d), 7u);
  EXPECT_EQ(d, 1500.0);
  EXPECT_EQ(plat::parseDoublePrefix(".5", &d), 2u);
  EXPECT_EQ(d, 0.5);
  EXPECT_EQ(plat::parseDoublePrefix("1e999", &d), 0u);  // no infinity ever reaches data
  EXPECT_EQ(plat::parseDoublePrefix("e5", &d), 0u);
}

TEST(NumText, WholeParsingAcceptsOnlyOneNumber) {
  double d = 0;
  EXPECT_TRUE(plat::parseDouble(" 12.5 ", &d));
  EXPECT_FALSE(plat::parseDouble("1,5", &d));
  EXPECT_FALSE(plat::parseDouble("12-05-2001", &d));
  EXPECT_FALSE(plat::parseDouble("", &d));
  std::int32_t i32 = 0;
  EXPECT_TRUE(plat::parseInt32("-2147483648", &i32));
  EXPECT_FALSE(plat::parseInt32("2147483648", &i32));
  std::uint32_t u32 = 0;
  EXPECT_TRUE(plat::parseUInt32("4294967295", &u32));
  EXPECT_FALSE(plat::parseUInt32("-1", &u32));
  std::int64_t i = 0;
  EXPECT_TRUE(plat::parseInt(std::u16string_view(u"123"), &i));
  EXPECT_FALSE(plat::parseInt(std::u16string_view(u"12\u00b3"), &i));
  EXPECT_EQ(plat::formatInt16(-5), u"-5");
}

TEST(NumText, MulDivRoundsHalfAwayFromZero) {
  EXPECT_EQ(plat::mulDiv(10, 10, 3), 33);
  EXPECT_EQ(plat::mulDiv(5, 1, 2), 3);
  EXPECT_EQ(plat::mulDiv(-5, 1, 2), -3);
  EXPECT_EQ(plat::mulDiv(5, -1, 2), -3);
  EXPECT_EQ(plat::mulDiv(-5, -1, -2), -3);
  EXPECT_EQ(plat::mulDiv(1, 1, 0), -1);
  EXPECT_EQ(plat::mulDiv(2000000000, 2000000000, 2000000000), 2000000000);  // 64-bit product
}

}  // namespace
