// Decoding and encoding 1M-point JCAMP-DX tables in each ordinate form, and identifying a
// large file through every converter of every kind.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "spectrum/convert/jcampdx.h"
#include "spectrum/convert/spcconvert.h"

namespace {

constexpr int kPoints = 1 << 20;

JcampVariableList Vars(int form) {
  JcampVariableList vars;
  vars.vars.resize(2);
  vars.vars[0].m_dFirst = 0;
  vars.vars[0].m_dLast = kPoints - 1;
  vars.vars[0].m_nDim = kPoints;
  vars.vars[0].m_bTable = 1;
  vars.vars[1].m_nForm = form;
  return vars;
}

// A smooth signal with noise, as integers: runs of small differences like real spectra.
const PointMap& Points() {
  static PointMap m = [] {
    PointMap p;
    p.reserve(kPoints);
    unsigned seed = 1;
    for (int i = 0; i < kPoints; ++i) {
      seed = seed * 1103515245u + 12345u;
      const double peak = 100000.0 / (1.0 + ((i % 8192) - 4096) * ((i % 8192) - 4096) / 400.0);
      p.set(static_cast<float>(i), static_cast<float>(static_cast<int>(peak) + static_cast<int>((seed >> 16) % 7) - 3));
    }
    return p;
  }();
  return m;
}

std::string TempPath(const std::string& name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/kedrus_convert_bench_" + name;
}

void BM_Encode(benchmark::State& state) {
  const JcampVariableList vars = Vars(static_cast<int>(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string out;
    out.reserve(32 << 20);
    CJcampDx::WriteAsdf(out, Points(), vars, 1);
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  state.SetItemsProcessed(state.iterations() * kPoints);
}

void BM_Decode(benchmark::State& state) {
  JcampVariableList vars = Vars(static_cast<int>(state.range(0)));
  vars.vars.resize(4);
  std::string text;
  CJcampDx::WriteAsdf(text, Points(), vars, 1);
  const std::string path = TempPath("decode_" + std::to_string(state.range(0)));
  std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
  for (auto _ : state) {
    COrvFile file(path);
    PointMap points;
    if (!CJcampDx::ReadXYData(file, &points, vars, 0)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(points.count());
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  std::remove(path.c_str());
}

void BM_IdentifyLargeFile(benchmark::State& state) {
  // A 1M-point JCAMP-DX file: every detector of every kind looks at it.
  std::string text = "##TITLE= large\r\n##JCAMP-DX= 4.24\r\n##DATA TYPE= INFRARED SPECTRUM\r\n##NPOINTS= 1048576\r\n"
                     "##FIRSTX= 0\r\n##LASTX= 1048575\r\n##XYDATA= (X++(Y..Y))\r\n";
  CJcampDx::WriteAsdf(text, Points(), Vars(kJcampDiffDup), 1);
  text += "##END= \r\n";
  const std::string path = TempPath("identify.dx");
  std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
  const std::vector<std::string> types = {"INFRARED SPECTRUM"};
  for (auto _ : state) {
    COrvFile file(path);
    std::string format, kinds;
    benchmark::DoNotOptimize(SpcIdentifyFile(file, &format, &kinds));
    benchmark::DoNotOptimize(SpcCountSpectra(file));
    // What a JCAMP-DX detector of another kind does: scan all labels for its data type.
    benchmark::DoNotOptimize(CJcampDx::IsJcampFile(file, {"UV/VIS SPECTRUM"}));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  std::remove(path.c_str());
}

void BM_IdentifyForeignFile(benchmark::State& state) {
  // A 12 MB JCAMP-DX file of a data type no kind reads: every JCAMP-DX detector rejects it.
  std::string text = "##TITLE= foreign\r\n##JCAMP-DX= 5.01\r\n##DATA TYPE= nD NMR SPECTRUM\r\n##NPOINTS= 1048576\r\n"
                     "##FIRSTX= 0\r\n##LASTX= 1048575\r\n##XYDATA= (X++(Y..Y))\r\n";
  for (int i = 0; i < 12 << 20 >> 4; ++i) text += "0 1 2 3 4 5 6\r\n";
  text += "##END= \r\n";
  const std::string path = TempPath("foreign.dx");
  std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
  for (auto _ : state) {
    COrvFile file(path);
    std::string format, kinds;
    benchmark::DoNotOptimize(SpcIdentifyFile(file, &format, &kinds));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  std::remove(path.c_str());
}

}  // namespace

BENCHMARK(BM_Encode)->DenseRange(kJcampFix, kJcampDiffDup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decode)->DenseRange(kJcampFix, kJcampDiffDup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdentifyLargeFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdentifyForeignFile)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
