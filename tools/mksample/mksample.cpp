// mksample: writes the synthetic proton FID the project ships as its sample data
// (samples/ethyl_acetate_fid.dx). Everything in it is computed here: four multiplets of ethyl
// acetate in CDCl3 at 400.13 MHz, a solvent line, exponential decay, a zero-order phase error of
// 40 degrees and a little Gaussian noise from a fixed seed.
//
//   mksample OUT.dx
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>
#include <string>

#include "spectrum/convert/spcconvert.h"
#include "spectrum/data/spcprocess.h"

namespace {

struct Line {
  double ppm;
  double intensity;
};

// Multiplets as their lines (J = 7.1 Hz for the ethyl group).
constexpr double kJ = 7.1;
constexpr double kFrequency = 400.13;  // MHz
constexpr double kSweepHz = 4800.0;
constexpr double kLeftPpm = 12.0;
constexpr int kComplexPoints = 8192;

void SetNumber(CSpcParamList& params, const char* name, double value) {
  CVariant v;
  v.SetDouble(value);
  params.SetParam(name, v);
}

void SetInteger(CSpcParamList& params, const char* name, std::int32_t value) {
  CVariant v;
  v.SetLong(value);
  params.SetParam(name, v);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mksample OUT.dx\n");
    return 1;
  }
  std::vector<Line> lines = {{7.26, 0.3}, {2.05, 3.0}};
  const double quartet[] = {1, 3, 3, 1}, triplet[] = {1, 2, 1};
  for (int k = 0; k < 4; ++k) lines.push_back({4.12 + (k - 1.5) * kJ / kFrequency, 2.0 * quartet[k] / 8});
  for (int k = 0; k < 3; ++k) lines.push_back({1.26 + (k - 1.0) * kJ / kFrequency, 3.0 * triplet[k] / 4});

  const double centrePpm = kLeftPpm - kSweepHz / kFrequency / 2;
  const double dt = 1.0 / kSweepHz;
  const double t2 = 0.4;  // seconds
  const double phase0 = 40.0 * std::numbers::pi / 180.0;
  std::mt19937 rng(20261208);
  std::normal_distribution<double> noise(0.0, 0.002);

  CSpcData data;
  data.nDomain = 0;
  data.nAcqCode = 1;
  data.strName = "ethyl acetate";
  std::vector<CSpcPoint>& fid = data.data[0];
  fid.resize(kComplexPoints);
  for (int n = 0; n < kComplexPoints; ++n) {
    const double t = n * dt;
    double re = 0, im = 0;
    for (const Line& line : lines) {
      // As a spectrometer records it: a line above the carrier turns counter-clockwise, at
      // its offset from the carrier.
      const double hz = (line.ppm - centrePpm) * kFrequency;
      const double angle = 2 * std::numbers::pi * hz * t + phase0;
      const double amplitude = line.intensity * std::exp(-t / t2);
      re += amplitude * std::cos(angle);
      im += amplitude * std::sin(angle);
    }
    // Scaled so that the file's integers keep every significant digit.
    fid[n].re = static_cast<float>((re + noise(rng)) * 1.0e6);
    fid[n].im = static_cast<float>((im + noise(rng)) * 1.0e6);
  }

  CSpcParamList& params = data.params;
  CVariant title;
  title.SetString("ethyl acetate in CDCl3, synthetic");
  params.SetParam("TITLE", title);
  SetNumber(params, "SFO1", kFrequency);
  SetNumber(params, "SF", kFrequency);
  SetNumber(params, "SW_h", kSweepHz);
  SetNumber(params, "SW", kSweepHz / kFrequency);
  SetNumber(params, "OFFSET", kLeftPpm);
  SetInteger(params, "TD", 2 * kComplexPoints);
  SetInteger(params, "SI", 2 * kComplexPoints);
  SetInteger(params, "AQ_mod", 1);
  SetNumber(params, "LB", 0.3);
  SetInteger(params, "NS", 16);

  CSpcProcess process(&data);
  process.InitFromParams();
  process.SelectData();
  if (!SpcSaveSpectrum(argv[1], &process, 3 /* JCAMP-DX */, 3 /* DIFFDUP */, 0)) {
    std::fprintf(stderr, "mksample: could not write %s\n", argv[1]);
    return 1;
  }
  std::printf("wrote %s\n", argv[1]);
  return 0;
}
