// The program and the modules it loads share one platform: a window, a class registered in the
// class table and a volatile registry key that a module makes are the program's too, while each
// module keeps its own object counts.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/com/creation.h"
#include "platform/com/library.h"
#include "platform/registry/registry.h"
#include "platform/tests/probe/probe_module.h"
#include "platform/ui/app.h"
#include "platform/ui/testing.h"
#include "platform/ui/wnd.h"

namespace {

using namespace plat::ole;
using plat::DWord;

template <class F>
F probeEntry(const char* name) {
  void* module = nullptr;
  EXPECT_EQ(loadModule(PROBE_MODULE, true, &module), S_OK);
  return reinterpret_cast<F>(moduleSymbol(module, name));
}

TEST(SharedPlatform, AModulesWindowIsInTheProgramsWindowTable) {
  ui::App app("shared");
  auto make = probeEntry<probe::MakeWindowFn>("ProbeMakeWindow");
  auto destroy = probeEntry<probe::DestroyWindowFn>("ProbeDestroyWindow");
  ASSERT_TRUE(make && destroy);
  const ui::HWND hwnd = make("made by the module");
  ui::Wnd* wnd = ui::Wnd::FromHandle(hwnd);
  ASSERT_NE(wnd, nullptr);
  EXPECT_EQ(wnd->GetWindowText(), "made by the module");
  const auto live = ui::testing::LiveWindows();
  EXPECT_NE(std::find(live.begin(), live.end(), hwnd), live.end());
  destroy(hwnd);
  EXPECT_EQ(ui::Wnd::FromHandle(hwnd), nullptr);
  EXPECT_TRUE(ui::testing::LiveWindows().empty());
}

TEST(SharedPlatform, AClassAModuleRegistersIsCreatedHereAndCountsThere) {
  auto reg = probeEntry<probe::RegisterClassFn>("ProbeRegisterClass");
  auto canUnload = probeEntry<probe::CanUnloadNowFn>("ProbeCanUnloadNow");
  ASSERT_TRUE(reg && canUnload);
  DWord cookie = 0;
  ASSERT_EQ(reg(&cookie), S_OK);
  EXPECT_EQ(canUnload(), S_FALSE);  // the table holds the module's factory
  ASSERT_EQ(revokeClassObject(cookie), S_OK);
  EXPECT_EQ(canUnload(), S_OK);

  ASSERT_EQ(reg(&cookie), S_OK);
  const std::uint32_t programObjects = programModuleCounts().objects;
  IUnknown* object = nullptr;
  ASSERT_EQ(createInstance(probe::CLSID_Probe, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                           reinterpret_cast<void**>(&object)),
            S_OK);
  ASSERT_EQ(revokeClassObject(cookie), S_OK);
  EXPECT_EQ(canUnload(), S_FALSE);  // the object counts in its module, not in the program
  EXPECT_EQ(programModuleCounts().objects, programObjects);
  object->Release();
  EXPECT_EQ(canUnload(), S_OK);
}

TEST(SharedPlatform, AVolatileKeyAModuleWritesIsReadHere) {
  auto write = probeEntry<probe::WriteVolatileKeyFn>("ProbeWriteVolatileKey");
  ASSERT_TRUE(write);
  ASSERT_TRUE(write(u"Software\\ProbeVolatile"));
  namespace reg = plat::reg;
  reg::Key key = reg::kNoKey;
  ASSERT_EQ(reg::openKey(reg::kCurrentUser, u"Software\\ProbeVolatile", reg::kAllAccess, &key), reg::Status::Success);
  reg::closeKey(key);
  EXPECT_EQ(reg::deleteKey(reg::kCurrentUser, u"Software\\ProbeVolatile"), reg::Status::Success);
}

}  // namespace
