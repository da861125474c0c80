// Real spectrometer data (spectrum/convert/tests/data/real, see its SOURCES): each FID is read,
// windowed, transformed and phased automatically as a user would, and compared with the
// spectrometer software's own processed spectrum of the same experiment: the shape by
// correlation, the strongest peaks by position.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "spectrum/convert/nmr/bruker.h"
#include "spectrum/convert/orvfile.h"
#include "spectrum/convert/spcconvert.h"
#include "spectrum/data/spcprocess.h"
#include "../../tests/test_files.h"

namespace {

std::string RealData(std::string_view name) { return plat::joinPath(KEDRUS_REAL_DATA, name); }

// A record and its engine, set up from the parameters as the control does after a load.
struct Loaded {
  CSpcData data;
  CSpcProcess process{&data};
  std::string reader;
};

std::unique_ptr<Loaded> Load(const std::string& path, std::int32_t index = 0) {
  auto loaded = std::make_unique<Loaded>();
  SpcFailure why;
  if (SpcLoadSpectrum(path, index, &loaded->data, &loaded->reader, &why) != SpcLoadResult::Loaded) {
    ADD_FAILURE() << path << " does not load: " << why.Describe();
    return nullptr;
  }
  loaded->process.InitFromParams();
  loaded->process.SelectData();
  return loaded;
}

// What the user does with a new FID: the exponential window of the processing parameters'
// LB (the vendor's, when the FID's own record has none), FT, automatic phase.
void TransformAndPhase(Loaded& fid, const Loaded& vendor) {
  if (!fid.data.params.HasParam("LB")) fid.data.params.SetParam("LB", vendor.data.params.GetValue("LB"));
  fid.data.nDomain = 0;
  fid.process.SelectData();
  ASSERT_TRUE(fid.process.ExpMultiply());
  ASSERT_EQ(fid.process.FourierTransform(0), 1);
  ASSERT_EQ(fid.process.AutoPhase(), 1);
}

// The displayed real (or imaginary) part of every current point, with its ppm.
struct Trace {
  std::vector<double> ppm;
  std::vector<double> value;
};

Trace Shown(const CSpcProcess& p, bool imaginary = false) {
  Trace t;
  for (std::int32_t i = 0; i < p.m_nCur; ++i) {
    t.ppm.push_back(p.PointToPpm(i));
    t.value.push_back(imaginary ? p.GetImag(i) : p.GetReal(i));
  }
  return t;
}

// Pearson's correlation of two traces point by point (both on the same axis).
double Correlation(const std::vector<double>& a, const std::vector<double>& b) {
  const std::size_t n = std::min(a.size(), b.size());
  double ma = 0, mb = 0;
  for (std::size_t i = 0; i < n; ++i) ma += a[i], mb += b[i];
  ma /= static_cast<double>(n);
  mb /= static_cast<double>(n);
  double ab = 0, aa = 0, bb = 0;
  for (std::size_t i = 0; i < n; ++i) {
    ab += (a[i] - ma) * (b[i] - mb);
    aa += (a[i] - ma) * (a[i] - ma);
    bb += (b[i] - mb) * (b[i] - mb);
  }
  return ab / std::sqrt(aa * bb);
}

// The ppm of the strongest local maxima, strongest first, each more than `apart` ppm from
// those before it.
std::vector<double> StrongestPeaks(const Trace& t, std::size_t count, double apart = 0.05) {
  std::vector<std::size_t> maxima;
  for (std::size_t i = 1; i + 1 < t.value.size(); ++i)
    if (t.value[i] > t.value[i - 1] && t.value[i] >= t.value[i + 1]) maxima.push_back(i);
  std::sort(maxima.begin(), maxima.end(), [&](std::size_t a, std::size_t b) { return t.value[a] > t.value[b]; });
  std::vector<double> peaks;
  for (std::size_t i : maxima) {
    if (std::all_of(peaks.begin(), peaks.end(), [&](double p) { return std::fabs(p - t.ppm[i]) > apart; }))
      peaks.push_back(t.ppm[i]);
    if (peaks.size() == count) break;
  }
  return peaks;
}

// Our spectrum against the vendor's: the same axis, a correlation of at least 0.9, and each of
// the vendor's five strongest peaks among our seven strongest within 0.02 ppm. Prints the
// figures.
void ExpectMatchesVendor(const std::string& what, const CSpcProcess& ours, const CSpcProcess& vendor) {
  ASSERT_EQ(ours.m_nCur, vendor.m_nCur) << what;
  ASSERT_NEAR(ours.PointToPpm(0), vendor.PointToPpm(0), 1e-4) << what;
  ASSERT_NEAR(ours.PointToPpm(ours.m_nCur - 1), vendor.PointToPpm(vendor.m_nCur - 1), 1e-4) << what;
  const Trace o = Shown(ours), v = Shown(vendor);
  const double correlation = Correlation(o.value, v.value);
  const std::vector<double> ourPeaks = StrongestPeaks(o, 7), vendorPeaks = StrongestPeaks(v, 5);
  std::string figures = what + ": correlation " + std::to_string(correlation) + "; peaks (vendor -> ours, ppm):";
  for (double p : vendorPeaks) {
    double nearest = ourPeaks.front();
    for (double q : ourPeaks)
      if (std::fabs(q - p) < std::fabs(nearest - p)) nearest = q;
    figures += " " + std::to_string(p) + " -> " + std::to_string(nearest);
    EXPECT_NEAR(nearest, p, 0.02) << what << ": no peak of ours near the vendor's at " << p << " ppm";
  }
  std::printf("%s\n", figures.c_str());
  ::testing::Test::RecordProperty(what, figures);
  EXPECT_GE(correlation, 0.9) << what;
  // And the other way round: our strongest peak is one of the vendor's strongest (peaks of
  // nearly the same height may swap their ranks).
  EXPECT_TRUE(std::any_of(vendorPeaks.begin(), vendorPeaks.end(),
                          [&](double p) { return std::fabs(p - ourPeaks.front()) <= 0.02; }))
      << what << ": our strongest peak, at " << ourPeaks.front() << " ppm, is none of the vendor's";
}

// ---- Bruker experiment folders ----

TEST(RealSpectra, BrukerFidWithTheTableDelayMatchesTheProcessedSpectrum) {
  // Aspirin at 300 MHz, filter version 10 (its delay from the table): the fid of one copy of
  // the data set, the spectrometer's processed spectrum (1r, 1i) of the other. Also the
  // imaginary part has the sense of the vendor's.
  auto fid = Load(RealData("aspirin-1h"));
  auto vendor = Load(RealData("aspirin-1h-processed"));
  ASSERT_TRUE(fid && vendor);
  EXPECT_EQ(fid->data.nDomain, 0);
  EXPECT_EQ(fid->data.fid().size(), 8192u);
  ASSERT_EQ(vendor->data.nDomain, 1);
  TransformAndPhase(*fid, *vendor);
  ExpectMatchesVendor("aspirin-1h (Bruker fid, DSPFVS 10)", fid->process, vendor->process);
  const double imaginary = Correlation(Shown(fid->process, true).value, Shown(vendor->process, true).value);
  std::printf("aspirin-1h imaginary part: correlation %f\n", imaginary);
  EXPECT_GE(imaginary, 0.9);
}

TEST(RealSpectra, BrukerFidWithTheRecordedDelayMatchesTheProcessedSpectrum) {
  // Strychnine at 400 MHz, filter version 20: the delay is GRPDLY, 67.98 points, whose
  // fraction is almost a whole turn of first-order phase. The experiment holds both the fid
  // and the processed spectrum; the loader shows the spectrum, the FT takes the fid.
  auto fid = Load(RealData("strychnine"));
  auto vendor = Load(RealData("strychnine"));
  ASSERT_TRUE(fid && vendor);
  ASSERT_EQ(fid->data.fid().size(), 40063u);
  TransformAndPhase(*fid, *vendor);
  ExpectMatchesVendor("strychnine (Bruker fid, DSPFVS 20, GRPDLY 67.98)", fid->process, vendor->process);
}

// A 2D data set in scratch whose ser holds the strychnine fid as its first row (padded to the
// next 1024 bytes, as the spectrometer writes rows) and the fid negated as its second.
std::string SerDataSet() {
  const std::string root = plat::joinPath(convert_test::ScratchDir("real"), "strychnine-ser");
  plat::removeTree(root);
  const std::string exp = plat::joinPath(root, "10"), source = RealData("strychnine/10");
  plat::makeDirectories(plat::joinPath(exp, "pdata/1"));
  for (const char* name : {"acqus", "acqu", "pdata/1/procs"}) {
    plat::writeFileAtomic(plat::joinPath(exp, name), convert_test::ReadAll(plat::joinPath(source, name)));
  }
  // The indirect dimension's parameters: the acquisition's, as far as detection and reading go.
  for (const char* name : {"acqu2", "acqu2s"})
    plat::writeFileAtomic(plat::joinPath(exp, name), convert_test::ReadAll(plat::joinPath(source, "acqus")));
  std::string row = convert_test::ReadAll(plat::joinPath(source, "fid"));
  row.resize((row.size() + 1023) / 1024 * 1024, '\0');
  std::string negated = row;
  for (std::size_t i = 0; i + 4 <= negated.size(); i += 4) {
    std::uint32_t v = 0;
    for (int b = 0; b < 4; ++b) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(negated[i + b])) << (8 * b);
    v = ~v + 1;
    for (int b = 0; b < 4; ++b) negated[i + b] = static_cast<char>((v >> (8 * b)) & 0xFF);
  }
  plat::writeFileAtomic(plat::joinPath(exp, "ser"), row + negated);
  return root;
}

TEST(RealSpectra, BrukerSerRowsTransformAsTheirFids) {
  const std::string root = SerDataSet();
  auto rows = Load(root);
  auto vendor = Load(RealData("strychnine"));
  ASSERT_TRUE(rows && vendor);
  EXPECT_EQ(rows->data.nKind, kSpcKindNmr2d);
  EXPECT_EQ(rows->data.params.GetValue("NSCANS").GetLong(), 2);
  TransformAndPhase(*rows, *vendor);
  ExpectMatchesVendor("strychnine (first row of a Bruker ser)", rows->process, vendor->process);
}

TEST(RealSpectra, BrukerDataSetsBesideOtherFolders) {
  // As unpacked from an archive made on a Mac: "__MACOSX" (AppleDouble files) beside "1".
  const std::string mac = RealData("aspirin-1h-processed");
  ASSERT_TRUE(plat::isDirectory(plat::joinPath(mac, "__MACOSX")));
  COrvFile file(mac);
  std::string format, kinds;
  ASSERT_TRUE(SpcIdentifyFile(file, &format, &kinds));
  EXPECT_EQ(format, "XWIN-NMR");
  auto processed = Load(mac);
  ASSERT_TRUE(processed);
  EXPECT_EQ(processed->data.spectrum().size(), 32768u);
  EXPECT_EQ(processed->data.strName, "aspirin-1h-processed");

  // Several experiments (aspirin's "1", strychnine's "10") with folders that are none before
  // and after them: the last experiment in name order decides what the set is, and a read
  // without a choice opens the first; choosing the second opens strychnine.
  const std::string several = plat::joinPath(convert_test::ScratchDir("real"), "several");
  plat::removeTree(several);
  const struct {
    const char* from;
    const char* to;
  } files[] = {{"aspirin-1h/1/acqus", "1/acqus"},           {"aspirin-1h/1/acqu", "1/acqu"},
               {"aspirin-1h/1/fid", "1/fid"},               {"aspirin-1h/1/pdata/1/procs", "1/pdata/1/procs"},
               {"strychnine/10/acqus", "10/acqus"},         {"strychnine/10/acqu", "10/acqu"},
               {"strychnine/10/fid", "10/fid"},             {"strychnine/10/pdata/1/procs", "10/pdata/1/procs"},
               {"aspirin-1h-processed/__MACOSX/1/._acqus", "__MACOSX/1/._acqus"}};
  for (const auto& f : files) {
    const std::string to = plat::joinPath(several, f.to);
    plat::makeDirectories(std::string(plat::pathDirectory(to)));
    ASSERT_TRUE(plat::writeFileAtomic(to, convert_test::ReadAll(RealData(f.from))));
  }
  plat::makeDirectories(plat::joinPath(several, "0 old"));
  plat::makeDirectories(plat::joinPath(several, "backup"));
  COrvFile set(several);
  ASSERT_TRUE(SpcIdentifyFile(set, &format, &kinds));
  EXPECT_EQ(format, "XWIN-NMR");
  auto first = Load(several);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->data.fid().size(), 8192u);  // aspirin
  EXPECT_NEAR(first->process.m_dFreq, 300.132250975, 1e-6);

  CNmrConvertXWinNmr reader(6);
  std::vector<std::string> offered;
  reader.m_pfnChoose = [&](const std::vector<std::string>& list) {
    offered = list;
    return 1;
  };
  CSpcData second;
  ASSERT_TRUE(reader.Read(several, &second, 0));
  EXPECT_EQ(offered, (std::vector<std::string>{plat::joinPath(several, "1"), plat::joinPath(several, "10")}));
  EXPECT_EQ(second.fid().size(), 40063u);  // strychnine
}

// ---- JCAMP-DX ----

TEST(RealSpectra, JcampDxFidMatchesTheExportedSpectrum) {
  // The aspirin fid and its processed spectrum as the spectrometer software exports them.
  auto fid = Load(RealData("aspirin-1h.fid.dx"));
  auto vendor = Load(RealData("aspirin-1h.dx"));
  ASSERT_TRUE(fid && vendor);
  EXPECT_EQ(fid->reader, "JCAMP-DX");
  EXPECT_EQ(fid->data.nDomain, 0);
  EXPECT_EQ(vendor->data.nDomain, 1);
  TransformAndPhase(*fid, *vendor);
  ExpectMatchesVendor("aspirin-1h.fid.dx (JCAMP-DX fid)", fid->process, vendor->process);

  // The same FID read from the experiment folder gives the same spectrum.
  auto bruker = Load(RealData("aspirin-1h"));
  ASSERT_TRUE(bruker);
  TransformAndPhase(*bruker, *vendor);
  EXPECT_GE(Correlation(Shown(bruker->process).value, Shown(fid->process).value), 0.999);
}

TEST(RealSpectra, BrukerTitleIsTheExperimentsAsTheSpectrometerExportsIt) {
  // The spectrometer software's own JCAMP-DX export of the aspirin experiment titles it with the
  // text of the experiment's title file; the parameter files' TITLE labels only name themselves.
  auto exported = Load(RealData("aspirin-1h.fid.dx"));
  auto bruker = Load(RealData("aspirin-1h"));
  ASSERT_TRUE(exported && bruker);
  EXPECT_EQ(exported->data.params.GetValue("TITLE").GetString(), "1H BBI");
  EXPECT_EQ(bruker->data.params.GetValue("TITLE").GetString(), "1H BBI");
  // Strychnine's title file holds an empty line: the experiment has no title.
  auto untitled = Load(RealData("strychnine"));
  ASSERT_TRUE(untitled);
  EXPECT_EQ(untitled->data.params.GetValue("TITLE").GetString(), "");
  EXPECT_TRUE(untitled->data.params.HasParam("TITLE"));
}

}  // namespace
