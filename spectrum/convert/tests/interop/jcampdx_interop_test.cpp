// JCAMP-DX files as another program reads them: every kind's file in every ordinate form is
// saved through the kind table, then read by jcampconverter (npm), whose points and axis
// labels must be the ones we meant to write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "../jdx_test_util.h"
#include "platform/base/directory.h"
#include "platform/base/text.h"
#include "tools/interop/interop_reader.h"

using namespace convert_test;

namespace {

constexpr std::int32_t kPoints = 300;

// Integral values, or fractional ones with exact integers among them.
double Value(std::int32_t i, bool integral, bool imaginary) {
  const double v = imaginary ? 800.0 * std::cos(i * 0.031) : 1000.0 * std::sin(i * 0.05) * std::exp(-i * 0.004);
  if (integral) return std::round(v);
  return i % 5 == 0 ? std::round(v / 97.0) : v / 997.0 + 0.125;
}

void MakeRecord(Loaded& r, std::int32_t kind, std::int32_t domain, bool integral) {
  r.data.Reset();
  r.data.nDomain = domain;
  AddParam(r.data, "TITLE", Text("interop"));
  CVariant count;
  if (kind == kSpcKindMass) {
    CMassScan& scan = r.data.scans.emplace_back();
    for (std::int32_t i = 0; i < 40; ++i)
      scan.peaks.push_back(CSpcPoint{static_cast<float>(std::fabs(Value(i, integral, false))), 12.5f + 3.25f * static_cast<float>(i)});
  } else if (kind == kSpcKindNmr) {
    AddParam(r.data, "SFO1", Num(400.13));
    AddParam(r.data, "SF", Num(400.13));
    AddParam(r.data, "SW", Num(6000.0));
    AddParam(r.data, "OFFSET", Num(12.5));
    count.SetLong(kPoints);
    AddParam(r.data, "SI", count);
    count.SetLong(2 * kPoints);
    AddParam(r.data, "TD", count);
    for (std::int32_t i = 0; i < kPoints; ++i)
      r.data.data[domain].push_back(CSpcPoint{static_cast<float>(Value(i, integral, false)), static_cast<float>(Value(i, integral, true))});
  } else {
    AddParam(r.data, "FIRSTX", Num(4000.0));
    AddParam(r.data, "LASTX", Num(3252.5));
    count.SetLong(kPoints);
    AddParam(r.data, "NPOINTS", count);
    for (std::int32_t i = 0; i < kPoints; ++i) r.data.spectrum().push_back(CSpcPoint{static_cast<float>(Value(i, integral, false)), 0.0f});
  }
  r.Setup(kind);
}

// What jcampconverter found: its labels (named as it canonises them) and its spectra.
struct Reading {
  struct Spectrum {
    double firstX = NAN, lastX = NAN;
    std::string xUnits;
    std::vector<double> x, y;
  };
  std::vector<std::pair<std::string, std::string>> labels;
  std::vector<Spectrum> spectra;
  std::string Label(std::string_view name) const {
    for (const auto& [key, value] : labels)
      if (key == name) return value;
    return {};
  }
  // The n-th number of a label's comma-separated list.
  double LabelNumber(std::string_view name, std::size_t n = 0) const {
    std::stringstream list(Label(name));
    std::string item;
    for (std::size_t i = 0; std::getline(list, item, ','); ++i)
      if (i == n) return std::strtod(item.c_str(), nullptr);
    return NAN;
  }
};

Reading Parse(const std::string& text) {
  Reading reading;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("label ", 0) == 0) {
      const std::size_t eq = line.find('=');
      if (eq != std::string::npos) reading.labels.emplace_back(line.substr(6, eq - 6), line.substr(eq + 1));
    } else if (line.rfind("spectrum ", 0) == 0) {
      Reading::Spectrum& s = reading.spectra.emplace_back();
      std::istringstream words(line.substr(9));
      std::string n, first, last;
      words >> n >> first >> last;
      std::getline(words >> std::ws, s.xUnits);
      s.firstX = std::strtod(first.c_str(), nullptr);
      s.lastX = std::strtod(last.c_str(), nullptr);
    } else if (!line.empty() && line.rfind("block ", 0) != 0 && !reading.spectra.empty()) {
      char* end = nullptr;
      reading.spectra.back().x.push_back(std::strtod(line.c_str(), &end));
      reading.spectra.back().y.push_back(std::strtod(end, nullptr));
    }
  }
  return reading;
}

class JcampDxInterop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!interop::HasNodePackage("jcampconverter"))
      GTEST_SKIP() << "jcampconverter is not installed in " << interop::NodeDir()
                   << " (scripts/interop-readers installs it, with Node.js and npm)";
  }
  // Saves the record in the kind's JCAMP-DX format and save option; answers jcampconverter's reading.
  static Reading SaveAndRead(const SpcKindRow& row, std::int32_t format, std::int32_t option, Loaded& saved) {
    const std::string path = ScratchPath("interop.dx");
    plat::removeTree(path);
    EXPECT_TRUE(SpcSaveSpectrum(path, saved.process.get(), format, option, 0));
    const std::string out = ScratchPath("interop.txt");
    const int status = interop::Run("node " + interop::Quote(interop::NodeDir() + "/jdxread.mjs") + " " + interop::Quote(path), out);
    EXPECT_EQ(status, 0) << ReadAll(out + ".err");
    (void)row;
    return Parse(ReadAll(out));
  }
};

// The point of the record at x: the one whose axis value is nearest, with how far off it is in points.
std::int32_t PointAt(const CSpcProcess& p, CSpcProcess::PointToUnitFunc unit, double x, double* off) {
  const double x0 = (p.*unit)(0), step = (p.*unit)(1) - x0;
  const double at = (x - x0) / step;
  const auto j = static_cast<std::int32_t>(std::lround(at));
  *off = std::fabs(at - j);
  return j;
}

// The written table of one page, as the other reader decoded it: every point at the x the record
// has it, with the value it has there, to the file's precision (its FACTOR).
void ExpectPage(const Reading::Spectrum& s, const CSpcProcess& p, CSpcProcess::PointToUnitFunc unit, bool imaginary,
                double factor) {
  ASSERT_EQ(s.x.size(), static_cast<std::size_t>(kPoints));
  const double tolerance = std::max(factor, 1e-6);
  for (std::size_t k = 0; k < s.x.size(); ++k) {
    double off = 0;
    const std::int32_t j = PointAt(p, unit, s.x[k], &off);
    ASSERT_LT(off, 1e-3) << "x " << s.x[k] << " lies between points";
    ASSERT_TRUE(j >= 0 && j < kPoints) << s.x[k];
    const double want = imaginary ? p.GetImag(j) : p.GetReal(j);
    ASSERT_NEAR(s.y[k], want, tolerance + 1e-6 * std::fabs(want)) << "point " << j << " (x " << s.x[k] << ")";
  }
}

}  // namespace

TEST_F(JcampDxInterop, EveryKindAndOrdinateFormReadsBackInJcampconverter) {
  int files = 0;
  for (const SpcKindRow& row : SpcKindTable()) {
    for (std::uint32_t f = 0; f < row.kind->GetFormatCount(); ++f) {
      const std::unique_ptr<CSpcConvert> leaf = row.kind->CreateFormat(static_cast<std::int32_t>(f));
      std::string format;
      if (leaf) leaf->GetFormatName(format);
      if (format != "JCAMP-DX" || !(leaf->GetCaps() & kSpcCapWrite)) continue;
      const std::int32_t options = leaf->GetSaveOptions().empty() ? 1 : 4;  // FIX, PACKED, SQUEEZED, DIFFDUP
      for (std::int32_t option = 0; option < options; ++option) {
        for (const std::int32_t domain : {0, 1}) {
          if (domain == 0 && row.id != kSpcKindNmr) continue;
          for (const bool integral : {true, false}) {
            SCOPED_TRACE(plat::toUtf8(row.name) + " option " + std::to_string(option) + " domain " + std::to_string(domain) +
                         (integral ? " integral" : " fractional"));
            Loaded saved;
            MakeRecord(saved, row.id, domain, integral);
            const Reading reading = SaveAndRead(row, static_cast<std::int32_t>(f), option, saved);
            ++files;
            const CSpcProcess& p = *saved.process;
            if (row.id == kSpcKindMass) {
              ASSERT_EQ(reading.spectra.size(), 1u);
              const auto& peaks = saved.data.scans[0].peaks;
              ASSERT_EQ(reading.spectra[0].x.size(), peaks.size());
              for (std::size_t i = 0; i < peaks.size(); ++i) {
                EXPECT_DOUBLE_EQ(reading.spectra[0].x[i], peaks[i].im) << i;
                EXPECT_NEAR(reading.spectra[0].y[i], peaks[i].re, 1e-6 * std::max(1.0f, peaks[i].re)) << i;
              }
            } else if (row.id == kSpcKindNmr) {
              // A real and an imaginary page over time (FID) or frequency (spectrum: the reader
              // turns our Hz into ppm by the observe frequency and $OFFSET).
              ASSERT_EQ(reading.spectra.size(), 2u);
              EXPECT_EQ(reading.LabelNumber("VARDIM", 0), kPoints);
              for (std::size_t page = 0; page < 2; ++page) {
                const Reading::Spectrum& s = reading.spectra[page];
                EXPECT_EQ(s.xUnits, domain == 0 ? "TIME [SECONDS]" : "PPM");
                const auto unit = domain == 0 ? &CSpcProcess::PointToTime : &CSpcProcess::PointToPpm;
                EXPECT_NEAR(s.firstX, (p.*unit)(0), 1e-9);
                EXPECT_NEAR(s.lastX, (p.*unit)(kPoints - 1), 1e-9);
                const double factor = reading.LabelNumber("FACTOR", page + 1);
                ExpectPage(s, p, unit, page == 1, factor);
                // The page's FIRST and LAST are its first and last values as written.
                ASSERT_FALSE(s.y.empty());
                EXPECT_NEAR(reading.LabelNumber("FIRST", page + 1), s.y.front(), factor + 1e-6 * std::fabs(s.y.front()));
                EXPECT_NEAR(reading.LabelNumber("LAST", page + 1), s.y.back(), factor + 1e-6 * std::fabs(s.y.back()));
              }
            } else {
              ASSERT_EQ(reading.spectra.size(), 1u);
              EXPECT_EQ(reading.LabelNumber("NPOINTS"), kPoints);
              EXPECT_NEAR(reading.LabelNumber("FIRSTX"), p.PointToX(0), 1e-9);
              EXPECT_NEAR(reading.LabelNumber("LASTX"), p.PointToX(kPoints - 1), 1e-9);
              const double yFactor = reading.LabelNumber("YFACTOR");
              EXPECT_GT(yFactor, 0);
              ExpectPage(reading.spectra[0], p, &CSpcProcess::PointToX, false, yFactor);
            }
          }
        }
      }
    }
  }
  EXPECT_EQ(files, 2 * 2 * 4 + 4 * 2 * 4 + 2);  // NMR FID and spectrum; IR, UV, CH, TIC; MASS
}
