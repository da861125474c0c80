// Every writable format and save option of every kind: a spectrum of integral values and one of
// fractional values is saved, loaded back through the kind table and compared with what was
// saved: kind, points and axis. JCAMP-DX files are also read by the reference decoder.
#include <gtest/gtest.h>

#include <cmath>

#include "jdx_test_util.h"
#include "jdx_text.h"
#include "platform/base/directory.h"
#include "platform/base/text.h"

using namespace convert_test;

namespace {

constexpr std::int32_t kPoints = 256;

std::vector<std::string> SaveOptions(const CSpcConvert& leaf) {
  std::vector<std::string> options;
  const std::string text = leaf.GetSaveOptions();
  for (std::size_t p = 0; p <= text.size();) {
    const std::size_t end = std::min(text.find(';', p), text.size());
    options.push_back(text.substr(p, end - p));
    p = end + 1;
  }
  return options;
}

// Integral values, or fractional ones with exact integers among them.
double Value(std::int32_t i, bool integral, bool imaginary) {
  const double v = imaginary ? 800.0 * std::cos(i * 0.031) : 1000.0 * std::sin(i * 0.05) * std::exp(-i * 0.004);
  if (integral) return std::round(v);
  return i % 5 == 0 ? std::round(v / 97.0) : v / 997.0 + 0.125;
}

// A record of the kind as a reader leaves it, set up as the loader does.
void MakeRecord(Loaded& r, std::int32_t kind, std::int32_t domain, bool integral) {
  r.data.Reset();
  r.data.nDomain = domain;
  AddParam(r.data, "TITLE", Text("sweep"));
  if (kind == kSpcKindMass) {
    CMassScan& scan = r.data.scans.emplace_back();
    for (std::int32_t i = 0; i < 40; ++i)
      scan.peaks.push_back(CSpcPoint{static_cast<float>(std::fabs(Value(i, integral, false))), 12.5f + 3.25f * static_cast<float>(i * i % 97)});
    std::sort(scan.peaks.begin(), scan.peaks.end(), [](const CSpcPoint& a, const CSpcPoint& b) { return a.im < b.im; });
  } else if (kind == kSpcKindNmr || kind == kSpcKindNmr2d) {
    AddParam(r.data, "SFO1", Num(400.13));
    AddParam(r.data, "SF", Num(400.13));
    AddParam(r.data, "SW", Num(6000.0));
    AddParam(r.data, "OFFSET", Num(12.5));
    CVariant v;
    v.SetLong(kPoints);
    AddParam(r.data, "SI", v);
    v.SetLong(2 * kPoints);
    AddParam(r.data, "TD", v);
    for (std::int32_t i = 0; i < kPoints; ++i)
      r.data.data[domain].push_back(CSpcPoint{static_cast<float>(Value(i, integral, false)), static_cast<float>(Value(i, integral, true))});
  } else {
    AddParam(r.data, "FIRSTX", Num(4000.0));
    AddParam(r.data, "LASTX", Num(3362.5));
    CVariant v;
    v.SetLong(kPoints);
    AddParam(r.data, "NPOINTS", v);
    for (std::int32_t i = 0; i < kPoints; ++i) r.data.spectrum().push_back(CSpcPoint{static_cast<float>(Value(i, integral, false)), 0.0f});
  }
  r.Setup(kind);
}

// How closely a format keeps fractional values: text forms keep six decimals, integer pages of
// NMR JCAMP-DX nine digits, and the Galactic NMR layout keeps real parts as integers.
double Tolerance(std::int32_t kind, const std::string& format, bool integral, bool imaginary) {
  if (integral) return 0.0;
  if (format == "Galactic" && kind == kSpcKindNmr && !imaginary) return 1.0;
  if (format == "JCAMP-DX") return kind == kSpcKindNmr ? 1e-5 : 1e-6;
  return 0.0;
}

// The spectrum of the kind among those the file holds. A TIC trace saved as JCAMP-DX ("LC") is
// also a chromatogram, which comes first.
bool LoadKind(const std::string& path, std::int32_t kind, Loaded* back, std::string* format) {
  const std::int64_t k = kind == kSpcKindTic && *format == "JCAMP-DX" ? 1 : 0;
  back->data.Reset();
  std::string loadedFormat;
  if (SpcLoadSpectrum(path, k, &back->data, &loadedFormat) != SpcLoadResult::Loaded) return false;
  EXPECT_EQ(loadedFormat, *format);
  back->Setup(back->data.nKind);
  return true;
}

void ExpectSameSpectrum(const Loaded& saved, const Loaded& back, std::int32_t kind, const std::string& format, bool integral) {
  const CSpcProcess& a = *saved.process;
  const CSpcProcess& b = *back.process;
  if (kind == kSpcKindMass) {
    ASSERT_EQ(back.data.scans.size(), 1u);
    const auto& want = saved.data.scans[0].peaks;
    const auto& got = back.data.scans[0].peaks;
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
      ASSERT_EQ(got[i].im, want[i].im) << i;
      ASSERT_NEAR(got[i].re, want[i].re, Tolerance(kind, format, integral, false)) << i;
    }
    return;
  }
  EXPECT_EQ(back.data.nDomain, saved.data.nDomain);
  ASSERT_GE(b.m_nCur, kPoints);
  const bool complex = kind == kSpcKindNmr || kind == kSpcKindNmr2d;
  for (std::int32_t i = 0; i < kPoints; ++i) {
    ASSERT_NEAR(b.GetReal(i), a.GetReal(i), Tolerance(kind, format, integral, false)) << i;
    if (complex) {
      ASSERT_NEAR(b.GetImag(i), a.GetImag(i), Tolerance(kind, format, integral, true)) << i;
    }
  }
  // The axis, to a thousandth of a point.
  if (complex && saved.data.nDomain == 1) {
    const double step = std::fabs(a.PointToPpm(1) - a.PointToPpm(0));
    EXPECT_NEAR(b.PointToPpm(0), a.PointToPpm(0), step * 1e-3);
    EXPECT_NEAR(b.PointToPpm(kPoints - 1), a.PointToPpm(kPoints - 1), step * 1e-3);
  } else if (complex) {
    EXPECT_NEAR(b.m_dSW, a.m_dSW, 1e-3);
    EXPECT_NEAR(b.m_dFreq, a.m_dFreq, 1e-4);
  } else {
    const double step = std::fabs(a.PointToX(1) - a.PointToX(0));
    EXPECT_NEAR(b.PointToX(0), a.PointToX(0), step * 1e-3);
    EXPECT_NEAR(b.PointToX(kPoints - 1), a.PointToX(kPoints - 1), step * 1e-3);
  }
}

// A standard reading of a written JCAMP-DX file gives the values our reader gives.
void ExpectStandardReading(const std::string& path, const Loaded& back, std::int32_t kind) {
  const auto tables = ReferenceDecode(ReadAll(path));
  if (kind == kSpcKindMass) {
    ASSERT_EQ(tables.size(), 1u);
    const auto& peaks = back.data.scans.at(0).peaks;
    ASSERT_EQ(tables[0].ys.size(), peaks.size());
    for (std::size_t i = 0; i < peaks.size(); ++i) {
      EXPECT_EQ(static_cast<float>(tables[0].xs[i]), peaks[i].im) << i;
      EXPECT_EQ(static_cast<float>(tables[0].ys[i]), peaks[i].re) << i;
    }
    return;
  }
  const CSpcProcess& b = *back.process;
  const bool nmr = kind == kSpcKindNmr;
  ASSERT_EQ(tables.size(), nmr ? 2u : 1u);
  for (std::size_t page = 0; page < tables.size(); ++page) {
    ASSERT_EQ(tables[page].ys.size(), static_cast<std::size_t>(kPoints)) << page;
    for (std::int32_t i = 0; i < kPoints; ++i) {
      const double v = page == 0 ? b.GetReal(i) : b.GetImag(i);
      ASSERT_NEAR(tables[page].ys[static_cast<std::size_t>(i)], v, std::fabs(v) * 1e-6) << page << " " << i;
    }
  }
  if (!nmr) {
    // The labels of the plain table describe the axis the record has.
    EXPECT_DOUBLE_EQ(tables[0].first, b.PointToX(0));
    EXPECT_NEAR(tables[0].last, b.PointToX(kPoints - 1), 1e-9);
    EXPECT_EQ(tables[0].npoints, kPoints);
    EXPECT_NEAR(tables[0].delta, (tables[0].last - tables[0].first) / (kPoints - 1), 1e-9);
    EXPECT_NEAR(tables[0].firstY, tables[0].ys.front(), std::fabs(tables[0].ys.front()) * 1e-6);
  }
}

}  // namespace

TEST(RoundTripSweep, EveryWritableFormatAndOptionKeepsKindPointsAndAxis) {
  for (const SpcKindRow& row : SpcKindTable()) {
    for (std::uint32_t f = 0; f < row.kind->GetFormatCount(); ++f) {
      const std::unique_ptr<CSpcConvert> leaf = row.kind->CreateFormat(static_cast<std::int32_t>(f));
      if (!leaf || (leaf->GetCaps() & kSpcCapReadWrite) != kSpcCapReadWrite) continue;
      std::string format;
      leaf->GetFormatName(format);
      const std::vector<std::string> options = SaveOptions(*leaf);
      for (std::size_t option = 0; option < options.size(); ++option) {
        for (const std::int32_t domain : {0, 1}) {
          if ((row.id == kSpcKindNmr2d && domain == 1) || (row.id != kSpcKindNmr && row.id != kSpcKindNmr2d && domain == 0))
            continue;
          for (const bool integral : {true, false}) {
            SCOPED_TRACE(plat::toUtf8(row.name) + " " + format + " option " + std::to_string(option) + " domain " +
                         std::to_string(domain) + (integral ? " integral" : " fractional"));
            Loaded saved;
            MakeRecord(saved, row.id, domain, integral);
            const std::string path = ScratchPath("sweep" + leaf->GetDefaultExt());
            plat::removeTree(path);
            ASSERT_TRUE(SpcSaveSpectrum(path, saved.process.get(), static_cast<std::int32_t>(f),
                                        static_cast<std::int32_t>(option), 0));
            Loaded back;
            ASSERT_TRUE(LoadKind(path, row.id, &back, &format));
            EXPECT_EQ(back.data.nKind, row.id);
            ExpectSameSpectrum(saved, back, row.id, format, integral);
            if (format == "JCAMP-DX") ExpectStandardReading(path, back, row.id);
          }
        }
      }
    }
  }
}
