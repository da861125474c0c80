// Saving a million-point NMR record over the one stored in a spectrum folder and loading it
// back, and writing a section of 300 values into an INI file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "foundation/profdesc.h"
#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "platform/base/text.h"
#include "profile/profile.h"
#include "spectrum/convert/spcconvert.h"
#include "spectrum/data/spcprocess.h"

namespace {

constexpr int kPoints = 1 << 20;
constexpr int kParams = 300;

std::string TempPath(const std::string& name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/kedrus_folder_bench_" + name;
}

struct Record {
  CSpcData data;
  CSpcProcess process{&data};
  Record() {
    data.nKind = kSpcKindNmr;
    data.nDomain = 1;
    data.fid().resize(kPoints);
    data.spectrum().resize(kPoints);
    for (int i = 0; i < kPoints; ++i) {
      data.fid()[i] = {static_cast<float>(i % 977), static_cast<float>(-(i % 331))};
      data.spectrum()[i] = {static_cast<float>(i % 541), static_cast<float>(i % 13)};
    }
    CVariant v;
    v.SetLong(2 * kPoints);
    data.params.SetParam("TD", v);
    v.SetLong(kPoints);
    data.params.SetParam("SI", v);
    for (int i = 0; i < kParams; ++i) {
      v.SetDouble(i * 0.25);
      data.params.SetParam("P" + std::to_string(i), v);
    }
    process.InitFromParams();
    process.SelectData();
  }
};

void BM_FolderSave(benchmark::State& state) {
  Record r;
  const std::string path = TempPath("save");
  plat::removeTree(path);
  for (auto _ : state) {
    if (!SpcSaveSpectrum(path, &r.process, 0, 0, 0)) state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t{16} * kPoints);
  plat::removeTree(path);
}

void BM_FolderLoad(benchmark::State& state) {
  Record r;
  const std::string path = TempPath("load");
  plat::removeTree(path);
  if (!SpcSaveSpectrum(path, &r.process, 0, 0, 0)) state.SkipWithError("save failed");
  for (auto _ : state) {
    CSpcData data;
    if (SpcLoadSpectrum(path, 0, &data) != SpcLoadResult::Loaded) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(data.fid().data());
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t{16} * kPoints);
  plat::removeTree(path);
}

// One open section, 300 values, one close (the file is written once).
void BM_IniSectionWrite(benchmark::State& state) {
  const std::string path = TempPath("section.ini");
  plat::removeFile(path);
  COrvProfDesc desc(plat::toUtf16(path).c_str(), u"\\CONTROL_NMR_0");
  desc.SetIni(true);
  for (auto _ : state) {
    if (desc.Open(PROF_MODE_ALL) != PROF_OK) state.SkipWithError("open failed");
    for (int i = 0; i < kParams; ++i)
      OrvSetProfInt(plat::toUtf16("P" + std::to_string(i)).c_str(), i, &desc);
    if (desc.Close() != PROF_OK) state.SkipWithError("close failed");
  }
  state.SetItemsProcessed(state.iterations() * kParams);
  plat::removeFile(path);
}

}  // namespace

BENCHMARK(BM_FolderSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FolderLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IniSectionWrite)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
