// mkspectrum: writes a large synthetic NMR spectrum as JCAMP-DX, for the whole-program timings
// of bench/open_speed (the loader beside the main program on the same file).
//
//   mkspectrum OUT.dx POINTS FORM [NOISE]
//
// POINTS complex points of a phased spectrum (Lorentzian lines over integer noise of +-NOISE,
// default 40), FORM the ordinate form: 0 AFFN (FIX), 1 PACKED, 2 SQUEEZED, 3 DIFDUP.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "spectrum/convert/spcconvert.h"
#include "spectrum/data/spcprocess.h"

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5) {
    std::fprintf(stderr, "usage: mkspectrum OUT.dx POINTS FORM [NOISE]\n");
    return 1;
  }
  const long points = std::strtol(argv[2], nullptr, 10);
  const int form = std::atoi(argv[3]);
  const int noise = argc == 5 ? std::atoi(argv[4]) : 40;
  if (points < 2 || points > (1L << 26) || form < 0 || form > 3 || noise < 0) {
    std::fprintf(stderr, "mkspectrum: bad arguments\n");
    return 1;
  }
  CSpcData data;
  data.nDomain = 1;
  data.nAcqCode = 1;
  data.strName = "synthetic";
  std::vector<CSpcPoint>& spectrum = data.data[1];
  spectrum.resize(static_cast<std::size_t>(points));
  std::mt19937 rng(44);
  std::uniform_int_distribution<int> jitter(-noise, noise);
  const double lines[] = {0.12, 0.3, 0.31, 0.52, 0.7, 0.86};
  const double width = points * 2e-4;
  for (long k = 0; k < points; ++k) {
    double re = 0, im = 0;
    for (const double at : lines) {
      const double x = k - at * points;
      re += 2.0e6 * width * width / (width * width + x * x);
      im -= 2.0e6 * width * x / (width * width + x * x);
    }
    // Whole numbers, so the pages keep the factor 1 and every digit.
    spectrum[static_cast<std::size_t>(k)] = {static_cast<float>(std::trunc(re) + jitter(rng)),
                                             static_cast<float>(std::trunc(im) + jitter(rng))};
  }
  CSpcParamList& params = data.params;
  CVariant v;
  v.SetString("synthetic spectrum of " + std::to_string(points) + " points");
  params.SetParam("TITLE", v);
  v.SetDouble(400.13);
  params.SetParam("SFO1", v);
  params.SetParam("SF", v);
  v.SetDouble(4800.0);
  params.SetParam("SW_h", v);
  v.SetDouble(12.0);
  params.SetParam("OFFSET", v);
  v.SetLong(static_cast<std::int32_t>(2 * points));
  params.SetParam("TD", v);
  v.SetLong(static_cast<std::int32_t>(points));
  params.SetParam("SI", v);

  CSpcProcess process(&data);
  process.InitFromParams();
  process.SelectData();
  if (!SpcSaveSpectrum(argv[1], &process, 3 /* JCAMP-DX */, form, 0)) {
    std::fprintf(stderr, "mkspectrum: could not write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
