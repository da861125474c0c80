// The edit rules of the integral and zoom-region lists, the peak scan, the 15-bit generator,
// the read-out's numbers and the copy formats.
#include <gtest/gtest.h>

#include <cstdio>

#include "spectrum/control/control/plotedits.h"

namespace {

using spcedit::InsertIntegral;
using spcedit::InsertZoomRegion;

std::string Ranges(const std::vector<CSpcIntegral>& list) {
  std::string text;
  for (const CSpcIntegral& r : list) text += "[" + std::to_string(r.from) + "," + std::to_string(r.to) + (r.factor == 1.0f ? "]" : "*]");
  return text;
}

TEST(PlotEdits, ANewIntegralReplacesSplitsAndCutsWhatItCovers) {
  std::vector<CSpcIntegral> list = {{10, 20, 2.0f}, {30, 40, 1.0f}, {50, 90, 3.0f}, {95, 99, 1.0f}};
  InsertIntegral(list, 35, 60);  // cuts [30,40] back, cuts [50,90] forward
  EXPECT_EQ(Ranges(list), "[10,20*][30,34][35,60][61,90*][95,99]");
  InsertIntegral(list, 70, 80);  // inside [61,90]: split, the tail with factor 1
  EXPECT_EQ(Ranges(list), "[10,20*][30,34][35,60][61,69*][70,80][81,90][95,99]");
  InsertIntegral(list, 0, 34);   // swallows the first two
  EXPECT_EQ(Ranges(list), "[0,34][35,60][61,69*][70,80][81,90][95,99]");
  InsertIntegral(list, 5, 4);    // reversed: nothing
  EXPECT_EQ(list.size(), 6u);
  InsertIntegral(list, 99, 99);  // a one-point range at the end cuts its neighbour
  EXPECT_EQ(Ranges(list), "[0,34][35,60][61,69*][70,80][81,90][95,98][99,99]");
}

TEST(PlotEdits, AZoomRegionInsideAnotherSplitsIt) {
  std::vector<CZoomRegion> list = {{10, 100, 4.0f}};
  InsertZoomRegion(list, 40, 60, 10.0f);
  EXPECT_EQ(list, (std::vector<CZoomRegion>{{10, 40, 4.0f}, {40, 60, 10.0f}, {60, 100, 4.0f}}));
  InsertZoomRegion(list, 30, 70, 2.0f);  // covers the middle one, trims both neighbours
  EXPECT_EQ(list, (std::vector<CZoomRegion>{{10, 30, 4.0f}, {30, 70, 2.0f}, {70, 100, 4.0f}}));
  InsertZoomRegion(list, 0, 5, 3.0f);
  EXPECT_EQ(list.front(), (CZoomRegion{0, 5, 3.0f}));
}

TEST(PlotEdits, PeakPickingFindsStrictMaximaAboveTheThreshold) {
  const std::vector<double> v = {0, 5, 1, 3, 3, 1, 7, 2, 9, 4};
  auto value = [&](std::int32_t i) { return v[static_cast<std::size_t>(i)]; };
  // 5 at 1, 7 at 6, 9 at 8; the plateau 3,3 is no peak; the last point has no right neighbour.
  EXPECT_EQ(spcedit::StrictMaxima(value, 0, 10, 0.0), (std::vector<std::int32_t>{1, 6, 8}));
  EXPECT_EQ(spcedit::StrictMaxima(value, 0, 10, 6.0), (std::vector<std::int32_t>{6, 8}));
  EXPECT_EQ(spcedit::StrictMaxima(value, 0, 8, 0.0), (std::vector<std::int32_t>{1, 6}));
  EXPECT_TRUE(spcedit::StrictMaxima(value, 4, 6, 0.0).empty());  // two points are no scan

  std::vector<std::int32_t> peaks = {3, 9};
  spcedit::InsertSorted(peaks, 5);
  spcedit::InsertSorted(peaks, 9);
  EXPECT_EQ(peaks, (std::vector<std::int32_t>{3, 5, 9}));
}

TEST(PlotEdits, TheGeneratorIsTheClassicFifteenBitSequence) {
  spcedit::CRand15 one(1);
  EXPECT_EQ(one.Next(), 41);
  EXPECT_EQ(one.Next(), 18467);
  EXPECT_EQ(one.Next(), 6334);
  spcedit::CRand15 a(12345), b(12345);
  for (int i = 0; i < 1000; ++i) {
    const int x = a.Next();
    ASSERT_EQ(x, b.Next());
    ASSERT_GE(x, 0);
    ASSERT_LE(x, 32767);
  }
}

TEST(PlotEdits, ReadOutNumbersAreTheShortestSevenDigitText) {
  EXPECT_EQ(spcedit::ReadoutValue(7.26f), "7.26");
  EXPECT_EQ(spcedit::ReadoutValue(2904.1f), "2904.1");
  EXPECT_EQ(spcedit::ReadoutValue(6.06f), "6.06");
  EXPECT_EQ(spcedit::ReadoutValue(1.0f / 3.0f), "0.3333333");
  EXPECT_EQ(spcedit::ReadoutValue(-480.3f), "-480.3");
}

TEST(PlotEdits, CopyFormatsHoldExactlyTheirFloatingConversions) {
  EXPECT_TRUE(spcedit::IsFloatFormat("%10.2f %10.2f", 2));
  EXPECT_TRUE(spcedit::IsFloatFormat("%-8.3e|%+g 100%%", 2));
  EXPECT_FALSE(spcedit::IsFloatFormat("%10.2f", 2));
  EXPECT_FALSE(spcedit::IsFloatFormat("%10.2f %s", 2));
  EXPECT_FALSE(spcedit::IsFloatFormat("%10.2f %d", 2));
  EXPECT_FALSE(spcedit::IsFloatFormat("%*f %f", 2));
  EXPECT_FALSE(spcedit::IsFloatFormat("%f %Lf", 2));
  EXPECT_FALSE(spcedit::IsFloatFormat("%f %n", 2));
  EXPECT_FALSE(spcedit::IsFloatFormat("%f %f%", 2));
  EXPECT_FALSE(spcedit::IsFloatFormat("%99999f %f", 2));
  // What they write is what printf writes.
  const char* formats[] = {"%10.2f %10.2f", "%-9.1f|%+08.3f", "%e %G", "% .0f%%%5.1f"};
  const double values[][2] = {{7.256, 2903.14}, {-1.25, 3.14159}, {12345.678, 0.0001234}, {2.5, -0.05}};
  for (const char* format : formats)
    for (const auto& pair : values) {
      char expected[128];
      std::snprintf(expected, sizeof expected, format, pair[0], pair[1]);
      EXPECT_EQ(spcedit::FormatFloats(format, pair), expected) << format;
    }
}

}  // namespace
