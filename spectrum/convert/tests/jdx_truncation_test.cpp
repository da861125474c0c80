// Every prefix of JCAMP-DX files written by the converters of each kind goes through detection,
// counting and reading: a clean answer each time, never a crash or a hang.
#include <gtest/gtest.h>

#include <cmath>

#include "jdx_test_util.h"
#include "spectrum/convert/jdxconvert.h"
#include "truncation_sweep.h"

using namespace convert_test;

namespace {

std::string Written(CSpcConvert& conv, Loaded& r, std::int32_t form, const char* name) {
  const std::string path = ScratchPath(name);
  EXPECT_TRUE(conv.Write(path, r.process.get(), form, 0));
  return ReadAll(path);
}

void SweepWith(const char* name, const std::string& bytes, std::unique_ptr<CSpcConvert> (*make)(std::uint32_t),
               std::uint32_t format) {
  SweepPrefixes(name, bytes, [&](const std::string& path, COrvFile& file, std::size_t) {
    auto conv = make(format);
    conv->Detect(&file);
    conv->GetSpectrumCount(&file);
    CSpcData data;
    ReadSayingWhy(*conv, path, &data);
    EXPECT_LE(data.spectrum().size() + data.fid().size(), 1u << 12);
  }, 7);
}

}  // namespace

TEST(JdxTruncation, EveryKindSurvivesEveryPrefix) {
  Loaded nmr;
  nmr.data.nDomain = 1;
  AddParam(nmr.data, "TITLE", Text("t"));
  AddParam(nmr.data, "SFO1", Num(300.0));
  AddParam(nmr.data, "SW_h", Num(3000.0));
  CVariant si;
  si.SetLong(64);
  AddParam(nmr.data, "SI", si);
  for (int i = 0; i < 64; ++i)
    nmr.data.spectrum().push_back(CSpcPoint{static_cast<float>((i * 31) % 17 * 100), static_cast<float>(i % 5)});
  nmr.Setup(kSpcKindNmr);
  for (std::int32_t form : {0, 3}) {
    CNmrConvertJcampDx conv;
    SweepWith("nmr.dx", Written(conv, nmr, form, "nmr_sample.dx"), CreateNmrConvertJcampDx, 3);
  }

  Loaded ir;
  AddParam(ir.data, "TITLE", Text("t"));
  AddParam(ir.data, "FIRSTX", Num(4000.0));
  AddParam(ir.data, "LASTX", Num(3937.0));
  ir.data.nDomain = 1;
  for (int i = 0; i < 64; ++i) ir.data.spectrum().push_back(CSpcPoint{static_cast<float>(i % 9 * 7), 0.0f});
  ir.Setup(kSpcKindIr);
  const struct {
    std::unique_ptr<CSpcConvert> (*make)(std::uint32_t);
    std::uint32_t format;
  } optical[] = {{CreateIrConvertJcampDx, 2}, {CreateUvConvertJcampDx, 1}, {CreateChConvertJcampDx, 1},
                 {CreateTicConvertJcampDx, 1}};
  for (const auto& k : optical) {
    auto conv = k.make(k.format);
    SweepWith("optical.dx", Written(*conv, ir, kJcampDiffDup, "optical_sample.dx"), k.make, k.format);
  }

  Loaded ms;
  AddParam(ms.data, "TITLE", Text("t"));
  ms.data.scans.emplace_back().peaks = {{10.0f, 15.0f}, {200.5f, 27.25f}, {3.0f, 41.0f}, {999.0f, 300.0f}};
  ms.Setup(kSpcKindMass);
  CMassConvertJcampDx massConv;
  SweepWith("mass.dx", Written(massConv, ms, 0, "mass_sample.dx"), CreateMassConvertJcampDx, 1);
}
