#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "spectrum/data/spcprocess.h"

namespace {

struct Axis {
  std::int32_t kind, domain, si, op;
  double freq, sw, offset;
};

CSpcProcess& setAxis(CSpcProcess& p, CSpcData& d, const Axis& a) {
  d.nKind = a.kind;
  d.nDomain = a.domain;
  p.m_nSI = a.si;
  p.m_nOP = a.op;
  p.m_dFreq = a.freq;
  p.m_dSW = a.sw;
  p.m_dOffset = a.offset;
  return p;
}

TEST(ProcessUnits, NmrSpotValues) {
  CSpcData d;
  CSpcProcess p(&d);
  setAxis(p, d, {0, 1, 1024, 0, 500.0, 5000.0, 5000.0});
  EXPECT_NEAR(p.PointToPpm(0), 10.0, 1e-12);
  EXPECT_NEAR(p.PointToPpm(1024), 0.0, 1e-12);
  EXPECT_NEAR(p.PointToPpm(512), 5.0, 1e-12);
  EXPECT_NEAR(p.PointToHertz(0), 5000.0, 1e-9);
  EXPECT_NEAR(p.PointToHertz(1023), 0.0, 1e-9);  // Hertz spans SI - 1 intervals
  EXPECT_EQ(p.PpmToPoint(10.0f), 0);
  EXPECT_EQ(p.PpmToPoint(0.0f), 1024);
  EXPECT_EQ(p.HertzToPoint(5000.0f), 0);
  // PPM truncates the distance from the right end (SI - i), so a value between points 100 and
  // 101 belongs to 101.
  EXPECT_EQ(p.PpmToPoint(static_cast<float>(10.0 - 100.5 * 5000.0 / 500.0 / 1024.0)), 101);
  EXPECT_EQ(p.PpmToPoint(static_cast<float>(10.0 - 100.1 * 5000.0 / 500.0 / 1024.0)), 101);
  EXPECT_EQ(p.PpmToPoint(static_cast<float>(10.0 - 99.9 * 5000.0 / 500.0 / 1024.0)), 100);
  // Hertz truncates (v - O) / W * (SI - 1) toward zero, which here rounds the index down.
  EXPECT_EQ(p.HertzToPoint(static_cast<float>(5000.0 - 100.5 * 5000.0 / 1023.0)), 100);

  // OP moves the Hertz origin: point OP is at the offset.
  p.m_nOP = 100;
  EXPECT_NEAR(p.PointToHertz(100), 5000.0, 1e-9);
  EXPECT_NEAR(p.PointToPpm(100), 10.0, 1e-12);
}

TEST(ProcessUnits, LinearAndTimeSpotValues) {
  CSpcData d;
  CSpcProcess p(&d);
  setAxis(p, d, {2, 1, 1801, 0, 4000.0, -3600.0, 0.0});
  EXPECT_NEAR(p.PointToX(900), 2200.0, 1e-9);
  EXPECT_EQ(p.XToPoint(2200.0f), 900);

  setAxis(p, d, {0, 0, 4096, 0, 500.0, 5000.0, 0.0});
  EXPECT_NEAR(p.PointToTime(100), 0.02, 1e-15);
  EXPECT_EQ(p.TimeToPoint(0.02f), 100);

  // Chromatogram of 600 s over 601 points: point 60 is 60 s, one minute.
  setAxis(p, d, {4, 1, 601, 0, 0.0, 600.0, 0.0});
  EXPECT_NEAR(p.PointToTime(60), 60.0, 1e-12);
  EXPECT_NEAR(p.PointToMinutes(60), 60.0 * 0.016666668f, 1e-12);
  EXPECT_EQ(p.MinutesToPoint(1.0f), 60);

  EXPECT_EQ(p.IndexToPoint(2.9f), 2);
  EXPECT_EQ(p.IndexToPoint(-2.9f), -2);
  EXPECT_DOUBLE_EQ(p.PointToIndex(-5), -5.0);
}

TEST(ProcessUnits, AvailableUnitsByKindAndDomain) {
  CSpcData d;
  CSpcProcess p(&d);
  auto mask = [&](int kind, int domain) {
    d.nKind = kind;
    d.nDomain = domain;
    return p.GetAvailableUnits();
  };
  EXPECT_EQ(mask(0, 1), (1u << 0) | (1u << 1) | (1u << 7));
  EXPECT_EQ(mask(0, 0), (1u << 4) | (1u << 7));
  EXPECT_EQ(mask(2, 1), (1u << 2) | (1u << 7));
  EXPECT_EQ(mask(3, 1), (1u << 3) | (1u << 7));
  EXPECT_EQ(mask(4, 1), (1u << 4) | (1u << 5) | (1u << 7));
  EXPECT_EQ(mask(5, 1), (1u << 4) | (1u << 5) | (1u << 7));
  EXPECT_EQ(mask(1, 1), 1u << 6);
  EXPECT_EQ(mask(1, 0), 0u);
  EXPECT_EQ(mask(6, 0), (1u << 4) | (1u << 7));
  EXPECT_EQ(mask(6, 1), (1u << 0) | (1u << 1) | (1u << 7));
  EXPECT_EQ(mask(9, 1), 0u);
}

// The names are the units' string resources 3700 + id, written as data until resources exist.
TEST(ProcessUnits, NamesByUnitIdWithTheirStringIds) {
  const char* names[] = {"PPM", "Hertz", "1/cm", "nm", "sec", "min", "m/z", "points"};
  for (std::int32_t unit = 0; unit < kSpcUnitCount; ++unit) {
    EXPECT_EQ(kSpcUnitNames[unit].stringId, 3700 + unit);
    EXPECT_EQ(kSpcUnitNames[unit].name, names[unit]);
    EXPECT_EQ(GetUnitName(unit), names[unit]);
  }
  EXPECT_EQ(GetUnitName(kUnitSecond), "sec");
  EXPECT_TRUE(GetUnitName(-1).empty());
  EXPECT_TRUE(GetUnitName(kSpcUnitCount).empty());
}

// Every point of every unit survives point -> value (as the float the control keeps) -> point.
TEST(ProcessUnits, EveryUnitRoundTripsEveryPoint) {
  const Axis axes[] = {
      {0, 1, 65536, 0, 500.13, 6009.6, 4800.0},      // NMR spectrum
      {0, 1, 32768, 1234, 400.0, 8000.0, -350.5},    // NMR with OP
      {6, 1, 4096, 0, 125.7, 25000.0, 16000.0},      // NMR 2D row
      {0, 0, 65536, 0, 500.0, 6009.6, 0.0},          // NMR fid: seconds
      {6, 0, 2048, 0, 0.0, 0.5, 0.0},                // NMR 2D fid: linear seconds
      {2, 1, 7469, 0, 3999.64, -3599.8, 0.0},        // IR, falling axis
      {3, 1, 1001, 0, 190.0, 710.0, 0.0},            // UV
      {4, 1, 36001, 0, 0.0, 3600.0, 0.0},            // chromatogram
      {5, 1, 2400, 0, 12.5, 1200.0, 0.0},            // TIC
  };
  for (const Axis& a : axes) {
    CSpcData d;
    CSpcProcess p(&d);
    setAxis(p, d, a);
    for (int unit = 0; unit < kSpcUnitCount; ++unit) {
      if (unit == kUnitPpm && a.freq == 0.0) continue;
      const auto toValue = p.GetPointToUnitFunc(unit);
      const auto toPoint = p.GetUnitToPointFunc(unit);
      int failures = 0;
      for (std::int32_t i = 0; i < a.si && failures < 3; ++i) {
        const float v = static_cast<float>((p.*toValue)(i));
        const std::int32_t back = (p.*toPoint)(v);
        if (back != i) {
          ++failures;
          ADD_FAILURE() << "kind " << a.kind << " unit " << unit << " point " << i << " -> " << v << " -> " << back;
        }
      }
    }
  }
}

TEST(ProcessUnits, DegenerateAxesGiveFiniteValues) {
  CSpcData d;
  CSpcProcess p(&d);
  const Axis axes[] = {
      {0, 1, 0, 0, 500.0, 5000.0, 0.0},
      {0, 1, 1, 0, 500.0, 5000.0, 10.0},
      {0, 1, 1024, 0, 0.0, 5000.0, 10.0},
      {0, 1, 1024, 0, 500.0, 0.0, 10.0},
      {2, 1, 1, 0, 10.0, 100.0, 0.0},
      {0, 0, 1024, 0, 500.0, 0.0, 0.0},
  };
  for (const Axis& a : axes) {
    setAxis(p, d, a);
    for (int unit = 0; unit < kSpcUnitCount; ++unit) {
      EXPECT_TRUE(std::isfinite((p.*p.GetPointToUnitFunc(unit))(5))) << unit;
      (p.*p.GetUnitToPointFunc(unit))(12.0f);
    }
  }
  setAxis(p, d, {2, 1, 1, 0, 10.0, 100.0, 0.0});
  EXPECT_DOUBLE_EQ(p.PointToX(0), 10.0);
  EXPECT_EQ(p.GetPointToUnitFunc(8), nullptr);
  EXPECT_EQ(p.GetUnitToPointFunc(-1), nullptr);
  EXPECT_EQ(p.XToPoint(55.0f), 0);
}

TEST(ProcessUnits, ValuesFarOffTheAxisSaturate) {
  CSpcData d;
  CSpcProcess p(&d);
  setAxis(p, d, {0, 1, 1024, 0, 500.0, 5000.0, 5000.0});
  EXPECT_LT(p.PpmToPoint(1e30f), -2000000000);
  EXPECT_EQ(p.PpmToPoint(-1e30f), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(p.IndexToPoint(3e9f), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(p.IndexToPoint(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(p.HertzToPoint(std::numeric_limits<float>::infinity()), 0);
}

}  // namespace
