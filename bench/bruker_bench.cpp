// Loading a 1024 x 2048 complex ser file (little- and big-endian integers, and doubles), and
// detecting a data set folder of 200 experiments (the Bruker leaves, and every converter).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "platform/base/file.h"
#include "platform/base/path.h"
#include "spectrum/convert/nmr/bruker.h"
#include "spectrum/convert/spcconvert.h"

namespace {

constexpr int kRows = 1024;
constexpr int kPoints = 2048;  // complex points per row

std::string BenchRoot() {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/kedrus_bruker_bench";
}

void WriteFile(const std::string& dir, const std::string& name, const std::string& bytes) {
  const std::string path = plat::joinPath(dir, name);
  plat::makeDirectories(std::string(plat::pathDirectory(path)));
  plat::writeFileAtomic(path, bytes);
}

std::string Acqus(bool bigEndian, int dataType, int td) {
  return "##TITLE= Parameter file\n##JCAMPDX= 5.0\n##DATATYPE= Parameter Values\n##$BYTORDA= " +
         std::string(bigEndian ? "1" : "0") + "\n##$DTYPA= " + std::to_string(dataType) + "\n##$TD= " +
         std::to_string(td) + "\n##$SW_h= 5000\n##$SFO1= 500\n##END=\n";
}

// A 2D data set whose ser holds kRows rows of kPoints complex samples.
std::string SerDataSet(bool bigEndian, bool doubles) {
  const std::string root = BenchRoot() + (doubles ? "/ser_f64" : bigEndian ? "/ser_be" : "/ser_le");
  const std::string exp = plat::joinPath(root, "1");
  if (plat::fileExists(plat::joinPath(exp, "ser"))) return root;
  const std::string acqus = Acqus(bigEndian, doubles ? 2 : 0, 2 * kPoints);
  WriteFile(exp, "acqus", acqus);
  WriteFile(exp, "acqu2", acqus);
  const std::size_t size = doubles ? 8 : 4;
  std::string ser(static_cast<std::size_t>(kRows) * kPoints * 2 * size, '\0');
  for (std::size_t i = 0; i < ser.size(); i += 7) ser[i] = static_cast<char>(i * 31);
  WriteFile(exp, "ser", ser);
  return root;
}

void BM_ReadSer(benchmark::State& state) {
  const bool big = state.range(0) == 1, doubles = state.range(0) == 2;
  const std::string path = SerDataSet(big, doubles);
  for (auto _ : state) {
    CSpcData data;
    CNmr2dConvertXWinNmr leaf(2);
    if (!leaf.Read(path, &data, 0) || data.fid().size() != static_cast<std::size_t>(kRows) * kPoints)
      state.SkipWithError("read failed");
    benchmark::DoNotOptimize(data.fid().data());
  }
  state.SetBytesProcessed(state.iterations() * kRows * kPoints * 2 * (doubles ? 8 : 4));
}
BENCHMARK(BM_ReadSer)->Arg(0)->Arg(1)->Arg(2)->ArgNames({"le0_be1_f64"})->Unit(benchmark::kMillisecond);

// A 1D data set of 200 experiments, each with its acqus, acqu and a small fid.
std::string ManyExperiments() {
  const std::string root = BenchRoot() + "/many";
  if (plat::fileExists(plat::joinPath(root, "200/fid"))) return root;
  const std::string acqus = Acqus(false, 0, 64);
  for (int e = 1; e <= 200; ++e) {
    const std::string exp = plat::joinPath(root, std::to_string(e));
    WriteFile(exp, "acqus", acqus);
    WriteFile(exp, "acqu", acqus);
    WriteFile(exp, "fid", std::string(256, '\1'));
    WriteFile(exp, "pdata/1/procs", "##TITLE= p\n##END=\n");
  }
  return root;
}

void BM_DetectLeaf(benchmark::State& state) {
  const std::string path = ManyExperiments();
  for (auto _ : state) {
    COrvFile file(path);
    CNmrConvertXWinNmr leaf(6);
    if (!leaf.Detect(&file)) state.SkipWithError("not detected");
  }
}
BENCHMARK(BM_DetectLeaf)->Unit(benchmark::kMicrosecond);

void BM_IdentifyAllConverters(benchmark::State& state) {
  const std::string path = ManyExperiments();
  for (auto _ : state) {
    COrvFile file(path);
    std::string format, kinds;
    if (!SpcIdentifyFile(file, &format, &kinds) || format != "XWIN-NMR") state.SkipWithError("not identified");
  }
}
BENCHMARK(BM_IdentifyAllConverters)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
