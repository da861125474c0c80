#pragma once
// The step between the labels of a scale. With an estimate of k x perCharacter (the data span
// that k characters cover), k and a counter m go up and down in turns until the estimate's
// decade e = ceil(log10 |estimate|) reaches m; the labels then get k - decimalBase decimals
// (0 to 9) and the step is the decade's power of ten, or its half or fifth while that still
// exceeds the estimate. No step (valid false) for an estimate that is 0 or not finite.
struct LabelStep {
  bool valid = false;
  double step = 0.0;
  int decimals = 0;
};

LabelStep ChooseLabelStep(int k, int decimalBase, double perCharacter);
