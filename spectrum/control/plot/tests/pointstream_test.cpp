// The points a trace streams: the second walk reads the first walk's kept values, which are the
// display values, and past what was kept it reads the points again.
#include <gtest/gtest.h>

#include <cmath>

#include "spectrum/control/plot/pointstream.h"
#include "spectrum/control/plot/tests/plot_testing.h"

namespace plot_test {
namespace {

TEST(PointStream, TheSecondWalkReadsTheKeptValuesAndReadsOnPastThem) {
  auto s = SpectrumBuilder::Nmr(20000).Values([](int i) { return std::sin(i * 0.01) * 1000.0; }, [](int i) {
             return std::cos(i * 0.013) * 700.0;
           }).Build();
  s->process.m_fPH0 = 33.0f;
  s->process.m_fPH1 = -80.0f;
  s->process.UpdatePhase();
  PointBuffers buffers;
  // Keeps points 100 .. 10099; the first walk reads 100 .. 15099 in runs.
  PointStream points(s->process, buffers, 100, 10000);
  std::vector<float> first(15100);
  for (std::int64_t i = 100; i < 15100;) {
    const float *values, *powers;
    const std::int64_t run = points.Run(i, &values, &powers);
    ASSERT_GE(run, 1);
    ASSERT_NE(powers, nullptr);
    for (std::int64_t r = 0; r < run && i + r < 15100; ++r) first[static_cast<std::size_t>(i + r)] = values[r];
    i += run;
  }
  // Read one by one from the process, the values are the same.
  for (const std::int32_t i : {100, 4195, 10099, 15099}) {
    float value, power;
    s->process.GetDisplayValues(i, 1, &value, &power);
    EXPECT_NEAR(first[static_cast<std::size_t>(i)], value, 1e-3f * std::fabs(value) + 1e-3f) << i;
  }
  points.SecondWalk();
  for (std::int64_t i = 100; i < 15100; ++i) ASSERT_EQ(points.Value(i), first[static_cast<std::size_t>(i)]) << i;
  const float *values, *powers;
  EXPECT_EQ(points.Run(100, &values, &powers), 10000);  // all that was kept, at once
  EXPECT_EQ(powers, nullptr);
  EXPECT_EQ(points.Value(-1), 0.0f);
  EXPECT_EQ(points.Value(20000), 0.0f);
}

}  // namespace
}  // namespace plot_test
