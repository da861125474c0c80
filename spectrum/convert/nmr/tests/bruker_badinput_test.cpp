// Hostile and broken data sets: missing and truncated files, absurd sizes, parameter files
// without the labels the reader needs. Each gives a clean failure or a record with what is
// there; the truncation sweeps feed every prefix of each file of a data set to the readers.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "bruker_test_folder.h"
#include "spectrum/convert/nmr/bruker.h"
#include "spectrum/convert/tests/truncation_sweep.h"

using namespace bruker_test;

namespace {

std::vector<double> Ramp(int n, double scale) {
  std::vector<double> v;
  for (int i = 0; i < n; ++i) v.push_back((i - n / 3) * scale);
  return v;
}

// A 1D experiment: TD 64 (32 points) of big-endian integers, SI 64 of little-endian doubles.
Experiment Standard(bool twoD = false) {
  Experiment e;
  e.twoD = twoD;
  e.acqus = {{"BYTORDA", "1"}, {"DTYPA", "0"}, {"TD", "64"}, {"SW_h", "5000"}, {"SFO1", "500"}};
  e.fid = Encode(Ramp(64, 1000.0), Type::Int32, true);
  // Two rows of 256 bytes each, padded to 1024 bytes, then a third row without padding.
  std::string row = Encode(Ramp(64, 3.0), Type::Int32, true);
  e.ser = row + std::string(1024 - row.size(), '\0') + row + std::string(1024 - row.size(), '\0') + row;
  Experiment::Processing p;
  p.procs = {{"BYTORDP", "0"}, {"DTYPP", "2"}, {"SI", "64"}, {"OFFSET", "10"}};
  p.r1 = Encode(Ramp(64, 0.5), Type::Float64, false);
  p.i1 = Encode(Ramp(64, -0.5), Type::Float64, false);
  p.intrng = "header one\nheader two\n8.0 7.0\n3.0 2.0\n";
  p.title = "Sweep sample\n";
  e.processings.push_back(p);
  return e;
}

struct Outcome {
  bool ok1d = false, ok2d = false;
  CSpcData d1, d2;
};

Outcome ReadBoth(const std::string& path) {
  Outcome o;
  CNmrConvertXWinNmr one(6);
  CNmr2dConvertXWinNmr two(2);
  COrvFile folder(path);
  one.Detect(&folder);
  two.Detect(&folder);
  o.ok1d = convert_test::ReadSayingWhy(one, path, &o.d1);
  o.ok2d = convert_test::ReadSayingWhy(two, path, &o.d2);
  return o;
}

// Sweeps every prefix of file rel (a path inside the data set) of a fresh data set.
void SweepFile(const std::string& set, const Experiment& e, const std::string& rel,
               const std::function<void(std::size_t length, const Outcome&)>& check, std::size_t step = 1,
               const std::string& suffix = "") {
  const std::string root = convert_test::ScratchDir("sweep");
  const std::string path = WriteDataSet(set, {e}, "Parameter Values", root);
  const std::string bytes = convert_test::ReadAll(plat::joinPath(path, rel)) + suffix;
  ASSERT_FALSE(bytes.empty()) << rel;
  convert_test::SweepPrefixes(set + "/" + rel, bytes,
                              [&](const std::string&, COrvFile&, std::size_t length) { check(length, ReadBoth(path)); },
                              step);
}

TEST(BrukerTruncation, Acqus) {
  SweepFile("t_acqus", Standard(), "1/acqus", [](std::size_t, const Outcome& o) {
    // Without its END label the file is not read; with it every point is there.
    if (o.ok1d) {
      EXPECT_EQ(o.d1.fid().size(), 32u);
      EXPECT_EQ(o.d1.spectrum().size(), 64u);
    }
  }, 2, "\n$$ written after the end\n");
}

TEST(BrukerTruncation, FidSpectrumAndImaginaryPart) {
  SweepFile("t_fid", Standard(), "1/fid", [](std::size_t, const Outcome& o) {
    ASSERT_TRUE(o.ok1d);
    EXPECT_TRUE(o.d1.fid().empty());
    EXPECT_EQ(o.d1.spectrum().size(), 64u);
  }, 3);
  SweepFile("t_1r", Standard(), "1/pdata/1/1r", [](std::size_t, const Outcome& o) {
    ASSERT_TRUE(o.ok1d);
    EXPECT_TRUE(o.d1.spectrum().empty());
    EXPECT_EQ(o.d1.nDomain, 0);
    EXPECT_EQ(o.d1.fid().size(), 32u);
  }, 7);
  SweepFile("t_1i", Standard(), "1/pdata/1/1i", [](std::size_t, const Outcome& o) {
    ASSERT_TRUE(o.ok1d);
    ASSERT_EQ(o.d1.spectrum().size(), 64u);
    EXPECT_EQ(o.d1.spectrum()[0].im, 0.0f);
    EXPECT_EQ(o.d1.spectrum()[0].re, -21 * 0.5f);
  }, 7);
}

TEST(BrukerTruncation, SerRows) {
  SweepFile("t_ser", Standard(true), "1/ser", [](std::size_t length, const Outcome& o) {
    // Rows of 256 bytes at 0, 1024 and 2048: complete when their bytes are all there.
    const std::int32_t rows = length >= 2048 + 256 ? 3 : length >= 1024 + 256 ? 2 : length >= 256 ? 1 : 0;
    EXPECT_EQ(o.ok2d, rows > 0);
    EXPECT_EQ(o.d2.fid().size(), static_cast<std::size_t>(rows) * 32u);
    EXPECT_EQ(o.d2.params.GetValue("NSCANS").GetLong(), rows);
  }, 5);
}

TEST(BrukerTruncation, TextFiles) {
  SweepFile("t_procs", Standard(), "1/pdata/1/procs", [](std::size_t, const Outcome& o) {
    ASSERT_TRUE(o.ok1d);  // the FID is there whatever procs holds
    EXPECT_EQ(o.d1.fid().size(), 32u);
  }, 3);
  SweepFile("t_intrng", Standard(), "1/pdata/1/intrng", [](std::size_t length, const Outcome& o) {
    ASSERT_TRUE(o.ok1d);
    EXPECT_LE(o.d1.integrals.size(), 2u);
    for (const CSpcIntegral& r : o.d1.integrals) EXPECT_LT(r.to, 64u) << length;
  });
  SweepFile("t_title", Standard(), "1/pdata/1/title", [](std::size_t length, const Outcome& o) {
    ASSERT_TRUE(o.ok1d);
    const CSpcParam& last = o.d1.params[o.d1.params.size() - 1];
    EXPECT_EQ(last.name, "TITLE");
    EXPECT_EQ(last.value.GetString(), std::string("Sweep sample").substr(0, length));
  });
}

TEST(BrukerBadInput, MissingOrUnreadableAcqus) {
  Experiment e = Standard();
  const std::string path = WriteDataSet("no_acqus", {e});
  plat::removeFile(plat::joinPath(path, "1/acqus"));
  EXPECT_FALSE(ReadBoth(path).ok1d);

  // A parameter file that is no JCAMP-DX at all, or lacks its END label.
  Write(plat::joinPath(path, "1/acqus"), std::string("\0\1\2binary", 9));
  EXPECT_FALSE(ReadBoth(path).ok1d);
  Write(plat::joinPath(path, "1/acqus"), "##TITLE= x\n##$TD= 64\n##$BYTORDA= 1\n");
  EXPECT_FALSE(ReadBoth(path).ok1d);
  // An acqus folder instead of a file.
  plat::removeFile(plat::joinPath(path, "1/acqus"));
  plat::makeDirectories(plat::joinPath(path, "1/acqus"));
  EXPECT_FALSE(ReadBoth(path).ok1d);
}

TEST(BrukerBadInput, SizesOfNoneOneAndAbsurd) {
  struct Case {
    const char* td;
    const char* si;
    std::size_t fidPoints;
    std::size_t specPoints;
  };
  const std::vector<Case> cases = {
      {"0", "64", 0, 64},          {"1", "64", 0, 64},        {"2", "1", 1, 1},
      {"-64", "-5", 0, 0},         {"2147483647", "2147483647", 0, 0},
      {"1e300", "99999999999", 0, 0}, {"64", "134217729", 32, 0},  {"text", "abc", 0, 0},
  };
  for (const Case& c : cases) {
    Experiment e = Standard();
    e.acqus[2] = {"TD", c.td};
    e.processings[0].procs[2] = {"SI", c.si};
    Outcome o = ReadBoth(WriteDataSet("sizes", {e}));
    EXPECT_EQ(o.d1.fid().size(), c.fidPoints) << c.td;
    EXPECT_EQ(o.d1.spectrum().size(), c.specPoints) << c.si;
    EXPECT_EQ(o.ok1d, c.fidPoints + c.specPoints > 0) << c.td << " " << c.si;
    EXPECT_LE(o.d2.fid().size(), 3u * 32u);
  }
}

TEST(BrukerBadInput, ParameterFilesWithoutTheNeededLabels) {
  Experiment e = Standard();
  e.acqus = {{"SFO1", "500"}};              // no TD, no byte order, no data type
  e.processings[0].procs = {{"OFFSET", "5"}};  // no SI
  Outcome o = ReadBoth(WriteDataSet("nolabels", {e}));
  EXPECT_FALSE(o.ok1d);
  EXPECT_FALSE(o.ok2d);
  EXPECT_TRUE(o.d1.fid().empty());
  EXPECT_TRUE(o.d1.integrals.empty());
  EXPECT_EQ(o.d2.params.GetValue("NSCANS").GetLong(), 0);
}

TEST(BrukerBadInput, ExperimentsThatAreNoExperiments) {
  // A folder of folders without parameter files: no experiment in it.
  const std::string root = plat::joinPath(convert_test::ScratchDir("bruker"), "not_a_set");
  plat::removeTree(root);
  plat::makeDirectories(plat::joinPath(root, "a/pdata/1"));
  plat::makeDirectories(plat::joinPath(root, "b"));
  Write(plat::joinPath(root, "b/fid"), std::string(64, '\1'));
  Outcome o = ReadBoth(root);
  EXPECT_FALSE(o.ok1d);
  EXPECT_FALSE(o.ok2d);
  // An empty pdata folder: the experiment reads without processing files.
  Experiment e = Standard();
  e.processings.clear();
  const std::string path = WriteDataSet("empty_pdata", {e});
  plat::makeDirectories(plat::joinPath(path, "1/pdata"));
  o = ReadBoth(path);
  EXPECT_TRUE(o.ok1d);
  EXPECT_EQ(o.d1.fid().size(), 32u);
}

}  // namespace
