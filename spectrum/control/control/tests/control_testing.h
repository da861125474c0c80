#pragma once
// Shared set-up of the spectrum control's tests: the module's start (sandbox registry, label
// classes), controls made directly, and records of each kind built in memory.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/app.h"
#include "spectrum/control/control/spccontrol.h"

namespace nelvar_test {

class ControlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // A new control (one reference, released by the fixture).
  CSpcControl* NewControl();
  // Gives the control a spectrum of n points (or, for MASS, n scans of five peaks), set up and
  // its view reset as a load leaves it.
  static void GiveSpectrum(CSpcControl& control, std::int32_t kind, std::int32_t n = 256);
  static std::vector<std::uint8_t> SavedState(CSpcControl& control);

  std::vector<CSpcControl*> controls_;
};

}  // namespace nelvar_test
