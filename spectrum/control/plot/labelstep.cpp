#include "spectrum/control/plot/labelstep.h"

#include <algorithm>
#include <cmath>

LabelStep ChooseLabelStep(int k, int decimalBase, double perCharacter) {
  LabelStep result;
  if (!std::isfinite(perCharacter) || perCharacter == 0.0) return result;
  // Each round lowers m by one while e hardly moves, so a few hundred rounds reach any decade
  // a double holds.
  constexpr int kMaxRounds = 700;
  double estimate = 0.0, e = 0.0;
  int m = 2;
  for (int round = 0; round < kMaxRounds; ++round) {
    estimate = k * perCharacter;
    e = std::ceil(std::log10(std::fabs(estimate)));
    ++k;
    --m;
    if (std::trunc(e) >= m) break;
  }
  const double power = std::pow(10.0, e);
  const double magnitude = std::fabs(estimate);
  double step = power;
  if (power / 2 > magnitude) step = power / 2;
  if (power / 5 > magnitude) step = power / 5;
  if (!std::isfinite(step) || step <= 0.0) return result;
  result.valid = true;
  result.step = step;
  result.decimals = std::clamp(k - decimalBase, 0, 9);
  return result;
}
