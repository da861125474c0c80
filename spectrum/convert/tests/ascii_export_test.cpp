// ASCII export: x in each unit of the save options, checked against the axis computed here.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "jdx_test_util.h"
#include "spectrum/convert/asciiexport.h"

using namespace convert_test;

namespace {

struct Row {
  double x, y;
};

std::vector<Row> ReadRows(const std::string& path) {
  std::vector<Row> rows;
  for (const std::string& line : Lines(ReadAll(path))) {
    char* end = nullptr;
    const double x = std::strtod(line.c_str(), &end);
    const double y = std::strtod(end, nullptr);
    rows.push_back({x, y});
  }
  return rows;
}

// NMR spectrum: SI 8, SF 500 MHz, SW 4000 Hz, OFFSET 10 ppm (point 0).
void MakeNmr(Loaded& r) {
  AddParam(r.data, "SFO1", Num(500.0));
  AddParam(r.data, "SW_h", Num(4000.0));
  AddParam(r.data, "OFFSET", Num(10.0));
  CVariant si;
  si.SetLong(8);
  AddParam(r.data, "SI", si);
  r.data.nDomain = 1;
  for (int i = 0; i < 8; ++i) r.data.spectrum().push_back(CSpcPoint{static_cast<float>(i * i), 1.0f});
  r.Setup(kSpcKindNmr);
}

void MakeLinear(Loaded& r, std::int32_t kind, double first, double last, int n) {
  AddParam(r.data, "FIRSTX", Num(first));
  AddParam(r.data, "LASTX", Num(last));
  CVariant np;
  np.SetLong(n);
  AddParam(r.data, "NPOINTS", np);
  r.data.nDomain = 1;
  for (int i = 0; i < n; ++i) r.data.spectrum().push_back(CSpcPoint{static_cast<float>(100 - i), 0.0f});
  r.Setup(kind);
}

void ExpectRows(const std::vector<Row>& rows, const std::vector<Row>& want) {
  ASSERT_EQ(rows.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_NEAR(rows[i].x, want[i].x, 1e-6 * std::max(1.0, std::fabs(want[i].x))) << i;
    EXPECT_NEAR(rows[i].y, want[i].y, 1e-6 * std::max(1.0, std::fabs(want[i].y))) << i;
  }
}

}  // namespace

TEST(AsciiExport, NmrInPointsPpmAndHertz) {
  Loaded r;
  MakeNmr(r);
  auto conv = CreateNmrConvertAscii(15);
  EXPECT_EQ(conv->GetSaveOptions(), "X-POINTS;X-PPM;X-HERTZ");
  EXPECT_EQ(conv->GetCaps(), kSpcCapWrite);
  const std::string path = ScratchPath("nmr.txt");

  ASSERT_TRUE(conv->Write(path, r.process.get(), 0, 0));
  std::vector<Row> want;
  for (int i = 0; i < 8; ++i) want.push_back({double(i), double(i * i)});
  ExpectRows(ReadRows(path), want);

  // ppm: 10 ppm at point 0, falling by SW / SF / SI per point; written in ascending ppm.
  ASSERT_TRUE(conv->Write(path, r.process.get(), 1, 0));
  want.clear();
  for (int i = 7; i >= 0; --i) want.push_back({10.0 - i * 4000.0 / 500.0 / 8.0, double(i * i)});
  ExpectRows(ReadRows(path), want);

  // Hz: 5000 Hz at point 0, falling by SW / (SI - 1).
  ASSERT_TRUE(conv->Write(path, r.process.get(), 2, 0));
  want.clear();
  for (int i = 7; i >= 0; --i) want.push_back({5000.0 - i * 4000.0 / 7.0, double(i * i)});
  ExpectRows(ReadRows(path), want);
}

TEST(AsciiExport, YIsThePhasedRealValue) {
  Loaded r;
  MakeNmr(r);
  r.process->m_fPH0 = 90.0f;
  const std::string path = ScratchPath("nmr_phased.txt");
  ASSERT_TRUE(CreateNmrConvertAscii(15)->Write(path, r.process.get(), 0, 0));
  for (const Row& row : ReadRows(path)) EXPECT_NEAR(row.y, 1.0, 1e-6);  // re cos 90 + im sin 90
}

TEST(AsciiExport, LinearKindsInTheirUnits) {
  struct Case {
    std::int32_t kind;
    std::unique_ptr<CSpcConvert> (*make)(std::uint32_t);
    std::uint32_t format;
  };
  for (const Case& c : {Case{kSpcKindIr, CreateIrConvertAscii, 7}, Case{kSpcKindUv, CreateUvConvertAscii, 3},
                        Case{kSpcKindTic, CreateTicConvertAscii, 5}}) {
    SCOPED_TRACE(c.kind);
    Loaded r;
    MakeLinear(r, c.kind, 4000.0, 400.0, 5);
    auto conv = c.make(c.format);
    const std::string path = ScratchPath("linear.txt");
    ASSERT_TRUE(conv->Write(path, r.process.get(), 1, 0));
    std::vector<Row> want;
    for (int i = 4; i >= 0; --i) want.push_back({4000.0 - i * 900.0, 100.0 - i});
    ExpectRows(ReadRows(path), want);
    // An option past the list writes point indices.
    ASSERT_TRUE(conv->Write(path, r.process.get(), 5, 0));
    want.clear();
    for (int i = 0; i < 5; ++i) want.push_back({double(i), 100.0 - i});
    ExpectRows(ReadRows(path), want);
  }
}

TEST(AsciiExport, MassPeaksInAscendingMass) {
  Loaded r;
  r.data.scans.emplace_back().peaks = {{7.0f, 50.0f}, {3.0f, 40.0f}};
  r.Setup(kSpcKindMass);
  const std::string path = ScratchPath("mass.txt");
  ASSERT_TRUE(CreateMassConvertAscii(8)->Write(path, r.process.get(), 0, 0));
  ExpectRows(ReadRows(path), {{40.0, 3.0}, {50.0, 7.0}});
  EXPECT_EQ(ReadAll(path), "40 3\n50 7\n");
}

TEST(AsciiExport, NeverReadsAndFailsCleanly) {
  const std::string path = WriteScratch("ascii_in.txt", "1 2\n3 4\n");
  COrvFile f(path);
  EXPECT_FALSE(CreateIrConvertAscii(7)->Detect(&f));
  EXPECT_EQ(CreateIrConvertAscii(7)->GetSpectrumCount(&f), 0);
  Loaded r;
  MakeNmr(r);
  EXPECT_FALSE(CreateNmrConvertAscii(15)->Write(ScratchPath("missing/dir/x.txt"), r.process.get(), 0, 0));
  Loaded empty;
  empty.Setup(kSpcKindIr);
  const std::string out = ScratchPath("empty.txt");
  ASSERT_TRUE(CreateIrConvertAscii(7)->Write(out, empty.process.get(), 0, 0));
  EXPECT_EQ(ReadAll(out), "");
}
