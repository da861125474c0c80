#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/archive/archive.h"
#include "spectrum/data/spcprocess.h"
#include "spectrum/data/tests/process/process_test_util.h"

using proctest::addDouble;
using proctest::addLong;
using proctest::addText;

namespace {

TEST(ProcessSetup, FrequencyFallsBackFromSfo1ToSfTo200) {
  CSpcData d;
  CSpcProcess p(&d);
  addDouble(d, "sf", 400.13);
  p.InitFromParams();
  EXPECT_DOUBLE_EQ(p.m_dFreq, 400.13);
  EXPECT_EQ(d.nState, 1);

  CSpcData e;
  CSpcProcess q(&e);
  q.InitFromParams();
  EXPECT_DOUBLE_EQ(q.m_dFreq, 200.0);
  EXPECT_EQ(q.m_nAqMode, 1);
  EXPECT_EQ(q.m_nScans, 1);

  addDouble(e, "SFO1", 600.5);
  addDouble(e, "SF", 400.0);
  addLong(e, "AQ_mod", 0x13);
  q.InitFromParams();
  EXPECT_DOUBLE_EQ(q.m_dFreq, 600.5);
  EXPECT_EQ(q.m_nAqMode, 3);
}

TEST(ProcessSetup, AxisFromFirstAndLastXInPpm) {
  CSpcData d;
  CSpcProcess p(&d);
  addDouble(d, "SF", 400.0);
  addDouble(d, "FIRSTX", 10.0);
  addDouble(d, "LASTX", 0.0);
  addLong(d, "NPOINTS", 1000);
  addText(d, "XUNITS", "PPM");
  addLong(d, "OP", 17);
  p.InitFromParams();
  EXPECT_NEAR(p.m_dSW, 10.0 * 1.001 * 400.0, 1e-9);
  EXPECT_NEAR(p.m_dOffset, 10.0 * 400.0, 1e-9);
  EXPECT_EQ(p.m_nOP, 0);  // FIRSTX wins over OP
  EXPECT_EQ(p.m_nSI, 1000);
  EXPECT_EQ(p.m_nTD, 1000);
}

TEST(ProcessSetup, SweepWidthInSecondsAndWithoutPointCount) {
  CSpcData d;
  CSpcProcess p(&d);
  addDouble(d, "FIRSTX", 0.0);
  addDouble(d, "LASTX", 0.5);
  addLong(d, "NPOINTS", 1000);
  addText(d, "XUNITS", "SECONDS");
  p.InitFromParams();
  // range 0.5 widened by one point: 0.5005; 1000 points * 0.5 / 0.5005 Hz.
  EXPECT_NEAR(p.m_dSW, 500.0 / 0.5005, 1e-9);

  // No NPOINTS: the range is not widened, and nothing divides by zero.
  CSpcData e;
  CSpcProcess q(&e);
  addDouble(e, "FIRSTX", 12.0);
  addDouble(e, "LASTX", 2.0);
  q.InitFromParams();
  EXPECT_DOUBLE_EQ(q.m_dSW, 10.0);
  EXPECT_DOUBLE_EQ(q.m_dOffset, 12.0);
}

TEST(ProcessSetup, ExplicitParametersAndTheirPrecedence) {
  CSpcData d;
  CSpcProcess p(&d);
  addDouble(d, "SFO1", 500.0);
  addDouble(d, "SW", 6000.0);
  addDouble(d, "SW_h", 5000.0);
  addDouble(d, "OFFSET", 12.0);
  addLong(d, "OP", 5);
  addLong(d, "TD", 2048);
  addLong(d, "SI", 4096);
  addDouble(d, "PH0", 33.5);
  addDouble(d, "PH1", -12.0);
  addLong(d, "PP", 100);
  p.InitFromParams();
  EXPECT_DOUBLE_EQ(p.m_dSW, 5000.0);
  EXPECT_NEAR(p.m_dOffset, 6000.0, 1e-9);
  EXPECT_EQ(p.m_nOP, 0);
  EXPECT_EQ(p.m_nTD, 2048);
  EXPECT_EQ(p.m_nSI, 4096);
  EXPECT_FLOAT_EQ(p.m_fPH0, 33.5f);
  EXPECT_FLOAT_EQ(p.m_fPH1, -12.0f);
  EXPECT_EQ(p.m_nPivot, 100);

  CSpcData e;
  CSpcProcess q(&e);
  addDouble(e, "OF", 1234.5);
  addLong(e, "OP", 7);
  q.InitFromParams();
  EXPECT_DOUBLE_EQ(q.m_dOffset, 1234.5);
  EXPECT_EQ(q.m_nOP, 7);
}

TEST(ProcessSetup, NonFiniteParameterCountsAsAbsent) {
  CSpcData d;
  CSpcProcess p(&d);
  p.m_dSW = 777.0;
  addDouble(d, "SW_h", std::numeric_limits<double>::infinity());
  addDouble(d, "SF", std::numeric_limits<double>::quiet_NaN());
  p.InitFromParams();
  EXPECT_DOUBLE_EQ(p.m_dSW, 777.0);
  EXPECT_DOUBLE_EQ(p.m_dFreq, 200.0);
}

TEST(ProcessSetup, OtherKindsTakeTheirAxisFromFirstAndLastX) {
  CSpcData d;
  d.nKind = 2;  // IR
  d.nDomain = 1;
  d.data[1].resize(300);
  CSpcProcess p(&d);
  addDouble(d, "FIRSTX", 4000.0);
  addDouble(d, "LASTX", 400.0);
  p.InitFromParams();
  EXPECT_DOUBLE_EQ(p.m_dFreq, 4000.0);
  EXPECT_DOUBLE_EQ(p.m_dSW, -3600.0);
  EXPECT_EQ(p.m_nSI, 300);
  EXPECT_EQ(p.m_nCur, 300);

  CSpcData e;
  e.nKind = 4;  // CH
  CSpcProcess q(&e);
  q.InitFromParams();
  EXPECT_DOUBLE_EQ(q.m_dFreq, 0.0);
  EXPECT_DOUBLE_EQ(q.m_dSW, 1000.0);
}

TEST(ProcessSetup, CurrentPointsFollowTheirVectorAndNeverReachPastIt) {
  CSpcData d;
  d.nDomain = 1;
  d.data[1].assign(8, CSpcPoint{1.0f, 2.0f});
  CSpcProcess p(&d);
  addLong(d, "SI", 8);
  p.InitFromParams();
  ASSERT_EQ(p.m_nCur, 8);
  // The vector moves to new storage: the current points are read from there.
  d.data[1].assign(1 << 16, CSpcPoint{3.0f, 4.0f});
  EXPECT_EQ(p.m_pCur[7].re, 3.0f);
  EXPECT_EQ(p.m_pCur.size(), 8u);
  // It shrinks below the window: what is gone reads as zero, what is left stays.
  d.data[1].resize(4);
  d.data[1].shrink_to_fit();
  EXPECT_EQ(p.m_pCur.size(), 4u);
  EXPECT_EQ(p.m_pCur[3].im, 4.0f);
  EXPECT_EQ(p.m_pCur[5].re, 0.0f);
  EXPECT_EQ(p.m_pCur[-1].re, 0.0f);
  EXPECT_EQ(p.GetMagnitude(5), 0.0);
  EXPECT_EQ(p.m_pCur.span().size(), 4u);
}

TEST(ProcessSetup, TimeDomainSelectsComplexPointsRaisedToPowerOfTwo) {
  CSpcData d;
  d.data[0].resize(4096);
  CSpcProcess p(&d);
  addLong(d, "TD", 1000);
  p.InitFromParams();
  EXPECT_EQ(p.m_nCur, 512);
  EXPECT_EQ(p.m_pCur.data(), d.data[0].data());

  p.m_nTD = 1;
  p.SelectData();
  EXPECT_EQ(p.m_nCur, 1);
  p.m_nTD = -40;  // nonsense from a file
  p.SelectData();
  EXPECT_EQ(p.m_nCur, 1);
}

TEST(ProcessSetup, CurrentPointsNeverReachPastTheVector) {
  CSpcData d;
  d.nDomain = 1;
  d.data[1].resize(1000);  // a reader that did not pad to SI
  CSpcProcess p(&d);
  addLong(d, "SI", 4096);
  p.InitFromParams();
  EXPECT_EQ(p.m_nCur, 1000);

  d.nDomain = 0;
  addLong(d, "TD", 1 << 20);
  p.InitFromParams();
  EXPECT_EQ(p.m_nCur, 0);  // empty fid

  d.nDomain = 7;  // a corrupt domain selects nothing
  p.SelectData();
  EXPECT_EQ(p.m_pCur.data(), nullptr);
  EXPECT_EQ(p.m_nCur, 0);
}

TEST(ProcessSetup, ScansSelectRowsOfTwoDimensionalData) {
  CSpcData d;
  d.nDomain = 1;
  d.data[1].resize(4096);
  CSpcProcess p(&d);
  addLong(d, "NSCANS", 4);
  addLong(d, "SI", 1024);
  p.InitFromParams();
  EXPECT_EQ(p.m_nScans, 4);
  p.SetScan(2);
  EXPECT_EQ(p.m_nScan, 2);
  EXPECT_EQ(p.m_pCur.data(), d.data[1].data() + 2048);
  EXPECT_EQ(p.m_nCur, 1024);
  p.SetScan(4);
  EXPECT_EQ(p.m_nScan, 2);
  EXPECT_EQ(p.m_pCur.data(), d.data[1].data() + 2048);
  p.SetScan(-1);
  EXPECT_EQ(p.m_nScan, 2);

  // An SI larger than a row stops at the end of the data.
  p.m_nSI = 3000;
  p.SetScan(3);
  EXPECT_EQ(p.m_pCur.data(), d.data[1].data() + 3072);
  EXPECT_EQ(p.m_nCur, 1024);
}

TEST(ProcessSetup, RowOffsetsNeedSixtyFourBits) {
  CSpcData d;
  d.nDomain = 1;
  d.data[1].resize(std::size_t{1} << 20);
  CSpcProcess p(&d);
  addLong(d, "NSCANS", 2048);
  addLong(d, "SI", 512);
  p.InitFromParams();
  p.SetScan(2047);  // 2^20 * 2047 does not fit 32 bits
  EXPECT_EQ(p.m_pCur.data(), d.data[1].data() + 2047 * 512);
  EXPECT_EQ(p.m_nCur, 512);
}

TEST(ProcessSetup, MassRecordHasNoCurrentPoints) {
  CSpcData d;
  d.nKind = 1;
  d.nDomain = 1;
  d.data[1].resize(100);
  d.scans.resize(3);
  CSpcProcess p(&d);
  p.InitFromParams();
  EXPECT_EQ(p.m_nScans, 3);
  EXPECT_EQ(p.m_nCur, 0);
  EXPECT_EQ(p.m_pCur.data(), nullptr);
}

TEST(ProcessSetup, NextPow2) {
  EXPECT_EQ(CSpcProcess::NextPow2(0), 1u);
  EXPECT_EQ(CSpcProcess::NextPow2(1), 1u);
  EXPECT_EQ(CSpcProcess::NextPow2(2), 2u);
  EXPECT_EQ(CSpcProcess::NextPow2(500), 512u);
  EXPECT_EQ(CSpcProcess::NextPow2(512), 512u);
  EXPECT_EQ(CSpcProcess::NextPow2(0x80000001u), 0x80000000u);
}

TEST(ProcessSetup, ResetRestoresDefaultsAndKeepsTheAxis) {
  CSpcData d;
  d.nKind = 3;
  d.nDomain = 1;
  d.data[1].resize(10);
  addDouble(d, "X", 1.0);
  CSpcProcess p(&d);
  p.m_nDisplay = 2;
  p.m_bBaseline = 1;
  p.m_baseline.assign(10, 1.0f);
  p.m_nBaselineMethod = 0;
  p.m_dFreq = 123.0;
  p.m_fPH0 = 45.0f;
  p.m_nScans = 1;
  p.m_nSI = 10;
  p.SelectData();
  p.Reset();
  EXPECT_EQ(p.m_nDisplay, 0);
  EXPECT_EQ(p.m_bBaseline, 0);
  EXPECT_TRUE(p.m_baseline.empty());
  EXPECT_EQ(p.m_nBaselineMethod, 4);
  EXPECT_FLOAT_EQ(p.m_fSplineFactor, 4.0e9f);
  EXPECT_EQ(p.m_pCur.data(), nullptr);
  EXPECT_EQ(p.m_nScans, 0);
  EXPECT_DOUBLE_EQ(p.m_dFreq, 123.0);
  EXPECT_FLOAT_EQ(p.m_fPH0, 45.0f);
  EXPECT_TRUE(d.params.empty());
  EXPECT_TRUE(d.data[1].empty());
  EXPECT_EQ(d.nKind, 0);
  EXPECT_EQ(d.nAcqCode, 1);
}

// ---- Archive ----

void fillEngine(CSpcData& d, CSpcProcess& p) {
  d.nDomain = 1;
  d.strName = "sample";
  addDouble(d, "SF", 400.0);
  d.data[1].resize(64);
  for (std::size_t i = 0; i < 64; ++i) d.data[1][i] = {static_cast<float>(i), -1.0f};
  p.m_nSI = 64;
  p.m_nScans = 1;
  p.m_fPH0 = 12.5f;
  p.m_fPH1 = -30.0f;
  p.m_nPivot = 9;
  p.m_nDisplay = 2;
  p.m_dFreq = 400.13;
  p.m_dSW = 5000.5;
  p.m_dOffset = -12.25;
  p.m_basePoints = {3, 40, 60};
  p.m_baseline.assign(64, 0.5f);
  p.m_bBaseline = 1;
  p.m_nBaselineMethod = 2;
  p.m_nOP = 4;
  p.m_nTD = 100;
  p.m_nAqMode = 3;
  p.m_fSlope = 7.0f;
  p.SelectData();
  p.UpdatePhase();
}

std::string storeEngine(CSpcProcess& p) {
  plat::Archive ar;
  p.Serialize(ar);
  return std::string(ar.bytes().begin(), ar.bytes().end());
}

TEST(ProcessArchive, RoundTripKeepsStateButNotTheSlope) {
  CSpcData d;
  CSpcProcess p(&d);
  fillEngine(d, p);
  const std::string bytes = storeEngine(p);

  CSpcData e;
  CSpcProcess q(&e);
  q.m_fSlope = 3.0f;
  plat::Archive in(bytes);
  q.Serialize(in);
  EXPECT_TRUE(in.atEnd());
  EXPECT_FLOAT_EQ(q.m_fPH0, 12.5f);
  EXPECT_FLOAT_EQ(q.m_fPH1, -30.0f);
  EXPECT_EQ(q.m_nPivot, 9);
  EXPECT_EQ(q.m_nDisplay, 2);
  EXPECT_DOUBLE_EQ(q.m_dFreq, 400.13);
  EXPECT_DOUBLE_EQ(q.m_dSW, 5000.5);
  EXPECT_DOUBLE_EQ(q.m_dOffset, -12.25);
  EXPECT_EQ(q.m_basePoints, p.m_basePoints);
  EXPECT_EQ(q.m_baseline, p.m_baseline);
  EXPECT_EQ(q.m_bBaseline, 1);
  EXPECT_EQ(q.m_nBaselineMethod, 2);
  EXPECT_EQ(q.m_nOP, 4);
  EXPECT_EQ(q.m_nTD, 100);
  EXPECT_EQ(q.m_nAqMode, 3);
  EXPECT_FLOAT_EQ(q.m_fSin0, p.m_fSin0);
  EXPECT_FLOAT_EQ(q.m_fPhaseStep, p.m_fPhaseStep);
  EXPECT_FLOAT_EQ(q.m_fSlope, 3.0f);
  EXPECT_EQ(e.strName, "sample");
  EXPECT_EQ(q.m_nCur, 64);  // loading selects the data again
  EXPECT_EQ(q.m_pCur.data(), e.data[1].data());
}

TEST(ProcessArchive, EngineLayoutFollowsTheRecord) {
  CSpcData d;
  CSpcProcess p(&d);
  const std::string bytes = storeEngine(p);
  plat::Archive record;
  d.Store(record);
  // Engine part: 3 + 6 + 3 words, 3 doubles, 2 + 2 + 5 words, two empty counts.
  ASSERT_EQ(bytes.size(), record.bytes().size() + 12 * 4 + 3 * 8 + 9 * 4 + 2 * 4);
  plat::Archive in(bytes);
  CSpcData skip;
  skip.Load(in);
  EXPECT_EQ(in.readI32(), 4);  // baseline method
  EXPECT_EQ(in.readI32(), 0);  // subtraction off
  EXPECT_FLOAT_EQ(in.readF32(), 4.0e9f);
}

TEST(ProcessArchive, ShortArchiveFailsAndChangesNothing) {
  CSpcData d;
  CSpcProcess p(&d);
  fillEngine(d, p);
  const std::string bytes = storeEngine(p);

  CSpcData e;
  CSpcProcess q(&e);
  addDouble(e, "KEEP", 1.0);
  q.m_fPH0 = 99.0f;
  q.m_basePoints = {1};
  for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
    plat::Archive in(std::string_view(bytes).substr(0, cut));
    EXPECT_THROW(q.Serialize(in), plat::ArchiveError) << cut;
    EXPECT_FLOAT_EQ(q.m_fPH0, 99.0f);
    EXPECT_EQ(q.m_basePoints.size(), 1u);
    EXPECT_TRUE(e.params.HasParam("KEEP"));
  }
}

TEST(ProcessArchive, HugeCountsAndNonFiniteValuesAreRefused) {
  CSpcData d;
  CSpcProcess p(&d);
  std::string bytes = storeEngine(p);
  // The last count (baseline curve) claims a billion values.
  bytes.replace(bytes.size() - 4, 4, std::string("\x00\xCA\x9A\x3B", 4));
  CSpcData e;
  CSpcProcess q(&e);
  plat::Archive in(bytes);
  EXPECT_THROW(q.Serialize(in), plat::ArchiveError);

  p.m_fPH0 = std::nanf("");
  plat::Archive nan;
  p.Serialize(nan);
  plat::Archive in2(std::string(nan.bytes().begin(), nan.bytes().end()));
  EXPECT_THROW(q.Serialize(in2), plat::ArchiveError);
  EXPECT_FLOAT_EQ(q.m_fPH0, 0.0f);
}

}  // namespace
