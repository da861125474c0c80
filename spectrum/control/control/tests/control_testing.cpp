#include "spectrum/control/control/tests/control_testing.h"

#include <cmath>
#include <cstdlib>

#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "platform/base/path.h"

#include "platform/registry/registry_testing.h"
#include "platform/ui/testing.h"
#include "spectrum/control/labels/labelobjects.h"
#include "spectrum/control/module/spcapp.h"

namespace nelvar_test {

OwnRegistry::OwnRegistry() {
  if (const char* old = std::getenv("KEDRUS_REGISTRY_DIR")) m_old = old;
  const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
  m_dir = plat::joinPath(scratch && *scratch ? scratch : ::testing::TempDir(), "own-registry-XXXXXX");
  EXPECT_TRUE(plat::makeDirectories(std::string(plat::pathDirectory(m_dir))));
  EXPECT_NE(::mkdtemp(m_dir.data()), nullptr);
  ::setenv("KEDRUS_REGISTRY_DIR", m_dir.c_str(), 1);
  plat::reg::resetForTesting();
}

OwnRegistry::~OwnRegistry() {
  if (m_old) ::setenv("KEDRUS_REGISTRY_DIR", m_old->c_str(), 1);
  else ::unsetenv("KEDRUS_REGISTRY_DIR");
  plat::reg::resetForTesting();
  plat::removeTree(m_dir);
}

void ControlTest::SetUpTestSuite() {
  static ui::App app("Spectrum control tests");
  static const bool started = [] {
    RegisterLabelDrawObjects();
    return SpcApp().InitInstance();
  }();
  ASSERT_TRUE(started);
}

void ControlTest::SetUp() { ui::testing::Reset(); }

void ControlTest::TearDown() {
  for (CSpcControl* control : controls_) control->Release();
  controls_.clear();
  ui::App::PumpPending();
}

CSpcControl* ControlTest::NewControl() {
  controls_.push_back(new CSpcControl);
  return controls_.back();
}

void ControlTest::GiveSpectrum(CSpcControl& control, std::int32_t kind, std::int32_t n) {
  control.ClearData();
  CSpcData& d = control.m_data;
  d.Reset();
  d.nKind = kind;
  d.nDomain = 1;
  d.nState = 1;
  d.strName = "sample";
  if (kind == 1) {
    for (std::int32_t s = 0; s < n; ++s) {
      CMassScan scan;
      for (int k = 0; k < 5; ++k) scan.peaks.push_back({50.0f + 20.0f * k, 100.0f * (k + 1) + s});
      scan.fIonCurrent = 1000.0f + s;
      d.scans.push_back(scan);
    }
  } else {
    for (std::int32_t i = 0; i < n; ++i)
      d.spectrum().push_back({static_cast<float>(std::exp(-0.01 * (i - n / 2) * (i - n / 2))), 0.0f});
    d.params.Append("SI", n);
    d.params.Append("TD", n);
    d.params.Append("SF", 400.13);
    d.params.Append("SW", 4000.0);
  }
  control.m_process.InitFromParams();
  control.ResetView();
}

std::vector<std::uint8_t> ControlTest::SavedState(CSpcControl& control) {
  std::vector<std::uint8_t> bytes;
  EXPECT_TRUE(control.SaveState(&bytes));
  return bytes;
}

}  // namespace nelvar_test
