#pragma once
// Shared set-up of the spectrum control's tests: the module's start (sandbox registry, label
// classes), controls made directly, and records of each kind built in memory.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/ui/app.h"
#include "spectrum/control/control/spccontrol.h"

namespace nelvar_test {

// For one test: a registry of its own, empty whatever the user's registry (or an earlier test's)
// holds, so that no class registered there (property pages, knobs) is found; the registry before
// comes back afterwards.
class OwnRegistry {
 public:
  OwnRegistry();
  ~OwnRegistry();
  OwnRegistry(const OwnRegistry&) = delete;
  OwnRegistry& operator=(const OwnRegistry&) = delete;

 private:
  std::optional<std::string> m_old;
  std::string m_dir;
};

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
