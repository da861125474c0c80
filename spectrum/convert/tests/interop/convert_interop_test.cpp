// Spectrum files as other programs read them: every kind's JCAMP-DX file in every ordinate form
// and the Galactic SPC files are saved through the kind table, then read by jcampconverter and
// spc-parser (npm), whose points and axis must be the ones we meant to write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>
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
    if (line.rfind("label ", 0) == 0 || line.rfind("header ", 0) == 0) {
      const std::size_t eq = line.find('='), name = line.find(' ') + 1;
      if (eq != std::string::npos) reading.labels.emplace_back(line.substr(name, eq - name), line.substr(eq + 1));
    } else if (line.rfind("spectrum ", 0) == 0) {
      Reading::Spectrum& s = reading.spectra.emplace_back();
      std::istringstream words(line.substr(9));
      std::string n, first, last;
      words >> n >> first >> last;
      std::getline(words >> std::ws, s.xUnits);
      s.firstX = std::strtod(first.c_str(), nullptr);
      s.lastX = std::strtod(last.c_str(), nullptr);
    } else if (!line.empty() && (std::isdigit(static_cast<unsigned char>(line[0])) || line[0] == '-') && !reading.spectra.empty()) {
      char* end = nullptr;
      reading.spectra.back().x.push_back(std::strtod(line.c_str(), &end));
      reading.spectra.back().y.push_back(std::strtod(end, nullptr));
    }
  }
  return reading;
}

// One file to write and read: the record, saved in a format and save option of its kind.
struct Case {
  std::string trace;
  std::int32_t kind = 0, option = 0, domain = 1;
  Loaded saved;
  std::string path;
};

constexpr const char* kNpmHint = " (scripts/interop-readers installs it, with Node.js and npm)";

// The npm reader's script, run by node, when the package is installed.
std::string NodeReader(const char* package, const char* script) {
  return interop::HasNodePackage(package) ? "node " + interop::Quote(interop::ReaderDir() + "/" + script) : std::string();
}

// Debian's Python, where python3-numpy installs numpy (another python3 may come first on PATH).
std::string NumpyReader() {
  const bool numpy = std::system("/usr/bin/python3 -c 'import numpy' >/dev/null 2>&1") == 0;
  return numpy ? "/usr/bin/python3 " + interop::Quote(interop::ReaderDir() + "/asciiread.py") : std::string();
}

class ConvertInterop : public ::testing::Test {
 protected:
  // Saves a record of every kind with a format of this name in each of its save options (each
  // NMR one as FID and spectrum, integral and fractional values), then reads all the files in
  // one run of the reader's command line; answers the cases, their readings set.
  static std::vector<std::unique_ptr<Case>> SaveAndRead(const std::string& formatName, const std::string& reader,
                                                        std::vector<Reading>* readings) {
    std::vector<std::unique_ptr<Case>> cases;
    std::string paths;
    for (const SpcKindRow& row : SpcKindTable()) {
      for (std::uint32_t f = 0; f < row.kind->GetFormatCount(); ++f) {
        const std::unique_ptr<CSpcConvert> leaf = row.kind->CreateFormat(static_cast<std::int32_t>(f));
        std::string format;
        if (leaf) leaf->GetFormatName(format);
        if (format != formatName || !(leaf->GetCaps() & kSpcCapWrite)) continue;
        const std::string options = leaf->GetSaveOptions();
        const auto count = static_cast<std::int32_t>(options.empty() ? 1 : std::count(options.begin(), options.end(), ';') + 1);
        for (std::int32_t option = 0; option < count; ++option)
          for (const std::int32_t domain : {0, 1})
            for (const bool integral : {true, false}) {
              if (domain == 0 && row.id != kSpcKindNmr) continue;
              auto& c = *cases.emplace_back(std::make_unique<Case>());
              c.trace = plat::toUtf8(row.name) + " option " + std::to_string(option) + " domain " + std::to_string(domain) +
                        (integral ? " integral" : " fractional");
              c.kind = row.id;
              c.option = option;
              c.domain = domain;
              MakeRecord(c.saved, row.id, domain, integral);
              c.path = ScratchPath("interop" + std::to_string(cases.size()) + leaf->GetDefaultExt());
              plat::removeTree(c.path);
              EXPECT_TRUE(SpcSaveSpectrum(c.path, c.saved.process.get(), static_cast<std::int32_t>(f), option, 0)) << c.trace;
              paths += " " + interop::Quote(c.path);
            }
      }
    }
    const std::string out = ScratchPath("interop.txt");
    const int status = interop::Run(reader + paths, out);
    EXPECT_EQ(status, 0) << ReadAll(out + ".err");
    // The script's output, one section a file, each opened by "file <path>".
    const std::string text = ReadAll(out);
    readings->clear();
    for (std::size_t at = text.find("file "); at != std::string::npos;) {
      const std::size_t next = text.find("\nfile ", at);
      readings->push_back(Parse(text.substr(at, next == std::string::npos ? std::string::npos : next + 1 - at)));
      at = next == std::string::npos ? next : next + 1;
    }
    EXPECT_EQ(readings->size(), cases.size());
    readings->resize(cases.size());
    return cases;
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

TEST_F(ConvertInterop, EveryKindAndOrdinateFormOfJcampDxReadsBackInJcampconverter) {
  const std::string reader = NodeReader("jcampconverter", "jdxread.mjs");
  if (reader.empty()) GTEST_SKIP() << "jcampconverter is not installed in " << interop::ReaderDir() << kNpmHint;
  std::vector<Reading> readings;
  const auto cases = SaveAndRead("JCAMP-DX", reader, &readings);
  EXPECT_EQ(cases.size(), 2u * 2 * 4 + 4 * 2 * 4 + 2);  // NMR FID and spectrum; IR, UV, CH, TIC; MASS
  for (std::size_t n = 0; n < cases.size(); ++n) {
    const Case& c = *cases[n];
    const Reading& reading = readings[n];
    SCOPED_TRACE(c.trace);
    const CSpcProcess& p = *c.saved.process;
    if (c.kind == kSpcKindMass) {
      ASSERT_EQ(reading.spectra.size(), 1u);
      const auto& peaks = c.saved.data.scans[0].peaks;
      ASSERT_EQ(reading.spectra[0].x.size(), peaks.size());
      for (std::size_t i = 0; i < peaks.size(); ++i) {
        EXPECT_DOUBLE_EQ(reading.spectra[0].x[i], peaks[i].im) << i;
        EXPECT_NEAR(reading.spectra[0].y[i], peaks[i].re, 1e-6 * std::max(1.0f, peaks[i].re)) << i;
      }
    } else if (c.kind == kSpcKindNmr) {
      // A real and an imaginary page over time (FID) or frequency (spectrum: the reader turns
      // our Hz into ppm by the observe frequency and $OFFSET).
      ASSERT_EQ(reading.spectra.size(), 2u);
      EXPECT_EQ(reading.LabelNumber("VARDIM", 0), kPoints);
      for (std::size_t page = 0; page < 2; ++page) {
        const Reading::Spectrum& s = reading.spectra[page];
        EXPECT_EQ(s.xUnits, c.domain == 0 ? "TIME [SECONDS]" : "PPM");
        const auto unit = c.domain == 0 ? &CSpcProcess::PointToTime : &CSpcProcess::PointToPpm;
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

TEST_F(ConvertInterop, GalacticFilesReadBackInSpcParser) {
  const std::string reader = NodeReader("spc-parser", "spcread.mjs");
  if (reader.empty()) GTEST_SKIP() << "spc-parser is not installed in " << interop::ReaderDir() << kNpmHint;
  std::vector<Reading> readings;
  const auto cases = SaveAndRead("Galactic", reader, &readings);
  EXPECT_EQ(cases.size(), 2u * 2 + 2 * 2);  // NMR FID and spectrum; IR, saved "FLOAT" and "INTEGER"
  for (std::size_t n = 0; n < cases.size(); ++n) {
    const Case& c = *cases[n];
    const Reading& reading = readings[n];
    SCOPED_TRACE(c.trace);
    const CSpcProcess& p = *c.saved.process;
    // IR over wavenumbers; NMR over seconds (FID) or ppm (spectrum). The first subfile holds
    // the real parts (NMR's as integers: their fractions are not kept).
    const auto unit = c.kind == kSpcKindIr ? &CSpcProcess::PointToX
                      : c.domain == 0      ? &CSpcProcess::PointToTime
                                           : &CSpcProcess::PointToPpm;
    ASSERT_EQ(reading.spectra.size(), 1u);
    EXPECT_EQ(reading.LabelNumber("numberPoints"), kPoints);
    EXPECT_NEAR(reading.LabelNumber("startingX"), (p.*unit)(0), 1e-9);
    EXPECT_NEAR(reading.LabelNumber("endingX"), (p.*unit)(kPoints - 1), 1e-9);
    ExpectPage(reading.spectra[0], p, unit, false, c.kind == kSpcKindNmr ? 1.0 : 0.0);
  }
}

TEST_F(ConvertInterop, AsciiExportsReadBackInNumpy) {
  const std::string reader = NumpyReader();
  if (reader.empty()) GTEST_SKIP() << "numpy is not installed for /usr/bin/python3 (Debian package python3-numpy)";
  std::vector<Reading> readings;
  const auto cases = SaveAndRead("ASCII", reader, &readings);
  EXPECT_EQ(cases.size(), 3u * 2 * 2 + 2 * 2 * 3 + 2);  // NMR; IR, UV, TIC; MASS
  for (std::size_t n = 0; n < cases.size(); ++n) {
    const Case& c = *cases[n];
    SCOPED_TRACE(c.trace);
    ASSERT_EQ(readings[n].spectra.size(), 1u);
    const Reading::Spectrum& s = readings[n].spectra[0];
    const CSpcProcess& p = *c.saved.process;
    if (c.kind == kSpcKindMass) {
      const auto& peaks = c.saved.data.scans[0].peaks;
      ASSERT_EQ(s.x.size(), peaks.size());
      for (std::size_t i = 0; i < peaks.size(); ++i) {
        EXPECT_NEAR(s.x[i], peaks[i].im, 1e-6 * peaks[i].im) << i;
        EXPECT_NEAR(s.y[i], peaks[i].re, 1e-6 * std::max(1.0f, peaks[i].re)) << i;
      }
      continue;
    }
    // The option names the x column's unit (points first); the rows run in ascending x.
    CSpcProcess::PointToUnitFunc unit = nullptr;
    if (c.option == 1) unit = c.kind == kSpcKindNmr ? &CSpcProcess::PointToPpm
                            : c.kind == kSpcKindTic ? &CSpcProcess::PointToTime : &CSpcProcess::PointToX;
    if (c.option == 2) unit = &CSpcProcess::PointToHertz;
    ASSERT_EQ(s.x.size(), static_cast<std::size_t>(kPoints));
    for (std::size_t k = 0; k < s.x.size(); ++k) {
      const std::int32_t j = unit && (p.*unit)(1) < (p.*unit)(0) ? kPoints - 1 - static_cast<std::int32_t>(k) : static_cast<std::int32_t>(k);
      const double x = unit ? (p.*unit)(j) : j, y = p.GetReal(j);
      ASSERT_NEAR(s.x[k], x, 1e-6 * std::max(1.0, std::fabs(x))) << k;
      ASSERT_NEAR(s.y[k], y, 1e-6 * std::max(1.0, std::fabs(y))) << k;
    }
  }
}
