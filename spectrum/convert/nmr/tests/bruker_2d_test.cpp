// The Bruker 2D reader: rows of the serial file at their 1024-byte block positions, in both
// byte orders and both sample types, the row count, and the loader's NMR 2D kind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bruker_test_folder.h"
#include "spectrum/convert/nmr/bruker.h"
#include "spectrum/convert/spcconvert.h"

using namespace bruker_test;

namespace {

struct SerCase {
  Type type;
  bool bigEndian;
  int td;
};

double Value(Type t, int row, int k) {
  // k counts the samples of a row: even real, odd imaginary.
  const double v = (row + 1) * 100000.0 + k * (k % 2 ? -1.0 : 1.0);
  return t == Type::Int32 ? v : v / 64.0;
}

// rows complete rows, each padded to whole 1024-byte blocks with bytes that are no data, then
// extraBytes of a further row.
std::string Ser(Type t, bool big, int td, int rows, std::size_t extraBytes) {
  const std::size_t size = t == Type::Int32 ? 4 : 8;
  const std::size_t rowBytes = static_cast<std::size_t>(td / 2) * 2 * size;
  const std::size_t stride = (rowBytes + 1023) / 1024 * 1024;
  std::string out;
  for (int r = 0; r <= rows; ++r) {
    std::vector<double> samples;
    for (int k = 0; k < td / 2 * 2; ++k) samples.push_back(Value(t, r, k));
    std::string row = Encode(samples, t, big);
    if (r == rows) {
      out += row.substr(0, extraBytes);
      break;
    }
    row.resize(stride, '\x7f');
    out += row;
  }
  return out;
}

Experiment TwoD(Type t, bool big, int td, const std::string& ser) {
  Experiment e;
  e.twoD = true;
  e.acqus = {{"BYTORDA", big ? "1" : "0"}, {"DTYPA", t == Type::Int32 ? "0" : "2"}, {"TD", std::to_string(td)},
             {"SW_h", "5000"}, {"SFO1", "500"}};
  e.ser = ser;
  Experiment::Processing p;
  p.procs = {{"SI", "1024"}, {"OFFSET", "10"}};
  p.intrng = "h\nh\n7.5 6.0\n";
  p.title = "HSQC";
  e.processings.push_back(p);
  return e;
}

bool Read2d(const std::string& path, CSpcData* data) {
  CNmr2dConvertXWinNmr leaf(2);
  return leaf.Read(path, data, 0);
}

class BrukerSer : public ::testing::TestWithParam<SerCase> {};

TEST_P(BrukerSer, RowsAreReadAtTheirBlockPositions) {
  const SerCase c = GetParam();
  const int n = c.td / 2;
  // Three and a half rows: the half row is dropped.
  const std::size_t half = static_cast<std::size_t>(n) * (c.type == Type::Int32 ? 4 : 8);
  const std::string path = WriteDataSet("ser", {TwoD(c.type, c.bigEndian, c.td, Ser(c.type, c.bigEndian, c.td, 3, half))});
  CSpcData data;
  ASSERT_TRUE(Read2d(path, &data));
  ASSERT_EQ(data.fid().size(), static_cast<std::size_t>(3 * n));
  for (int r = 0; r < 3; ++r) {
    for (int i = 0; i < n; ++i) {
      const CSpcPoint& p = data.fid()[static_cast<std::size_t>(r * n + i)];
      ASSERT_EQ(p.re, static_cast<float>(Value(c.type, r, 2 * i))) << r << " " << i;
      ASSERT_EQ(p.im, static_cast<float>(Value(c.type, r, 2 * i + 1))) << r << " " << i;
    }
  }
  EXPECT_EQ(data.params.GetValue("NSCANS").GetLong(), 3);
  EXPECT_EQ(data.nDomain, 0);
  EXPECT_TRUE(data.spectrum().empty());
  EXPECT_FALSE(data.params.HasParam("PH0"));
  ASSERT_EQ(data.integrals.size(), 1u);
  EXPECT_EQ(data.integrals[0].from, 256u);
  EXPECT_EQ(data.params[data.params.size() - 1].value.GetString(), "HSQC");
}

INSTANTIATE_TEST_SUITE_P(AllFormats, BrukerSer,
                         ::testing::Values(SerCase{Type::Int32, false, 200}, SerCase{Type::Int32, true, 200},
                                           SerCase{Type::Float64, false, 200}, SerCase{Type::Float64, true, 200},
                                           SerCase{Type::Int32, true, 256}, SerCase{Type::Float64, false, 130},
                                           SerCase{Type::Int32, false, 257}));

TEST(BrukerSerRows, LastRowNeedsItsDataNotItsPadding) {
  // Two padded rows and a third whose data is complete but whose padding is missing.
  const std::string ser = Ser(Type::Int32, false, 200, 2, 800);
  CSpcData data;
  ASSERT_TRUE(Read2d(WriteDataSet("unpadded_tail", {TwoD(Type::Int32, false, 200, ser)}), &data));
  EXPECT_EQ(data.params.GetValue("NSCANS").GetLong(), 3);
  EXPECT_EQ(data.fid().back().re, static_cast<float>(Value(Type::Int32, 2, 198)));
}

TEST(BrukerSerRows, NoRowsFailTheRead) {
  struct Case {
    const char* name;
    int td;
    bool writeSer;
    std::string ser;
  };
  const std::vector<Case> cases = {
      {"ser_td0", 0, true, std::string(4096, '\1')},
      {"ser_td1", 1, true, std::string(4096, '\1')},
      {"ser_missing", 200, false, ""},
      {"ser_empty", 200, true, ""},
      {"ser_short", 200, true, std::string(799, '\1')},
      {"ser_huge_td", 2147483647, true, std::string(4096, '\1')},
  };
  for (const Case& c : cases) {
    Experiment e = TwoD(Type::Int32, false, c.td, c.ser);
    e.writeSer = c.writeSer;
    CSpcData data;
    EXPECT_FALSE(Read2d(WriteDataSet(c.name, {e}), &data)) << c.name;
    EXPECT_TRUE(data.fid().empty()) << c.name;
    EXPECT_EQ(data.params.GetValue("NSCANS").GetType(), plat::ole::VT_I4) << c.name;
    EXPECT_EQ(data.params.GetValue("NSCANS").GetLong(), 0) << c.name;
  }
}

TEST(BrukerSerRows, LoaderGivesTheNmr2dKind) {
  const std::string path =
      WriteDataSet("loader2d", {TwoD(Type::Int32, true, 256, Ser(Type::Int32, true, 256, 4, 0))}, "UXNMR Parameter Values");
  COrvFile file(path);
  std::string format, kinds;
  ASSERT_TRUE(SpcIdentifyFile(file, &format, &kinds));
  EXPECT_EQ(format, "UXNMR");
  EXPECT_EQ(kinds, "NMR 2D");

  CSpcData data;
  ASSERT_EQ(SpcLoadSpectrum(path, 0, &data), SpcLoadResult::Loaded);
  EXPECT_EQ(data.nKind, kSpcKindNmr2d);
  EXPECT_EQ(data.fid().size(), 4u * 128u);
  EXPECT_EQ(data.params.GetValue("NSCANS").GetLong(), 4);
}

}  // namespace
