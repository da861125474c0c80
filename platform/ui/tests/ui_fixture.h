#pragma once
// The shared set-up of the window-layer tests: one application object, a clean state per test,
// a check that no window outlives its test, a window that records its messages, and the
// resources the tests load (one set, built once).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/surface.h"
#include "platform/ui/app.h"
#include "platform/ui/resource.h"
#include "platform/ui/testing.h"
#include "platform/ui/wnd.h"

namespace uitest {

using namespace ui;

// Resource ids of the test set.
enum : UINT {
  kMenuContext = 100,
  kMenuFrame = 101,
  kAccelFrame = 101,
  kToolbarMain = 102,
  kDialogValues = 200,
  kDialogPageA = 201,
  kDialogPageB = 202,
  kDialogBar = 203,
  kCmdOpen = 40001,
  kCmdSave = 40002,
  kCmdNoHandler = 40003,
  kCmdDisabled = 40004,
  kCmdCheck = 40005,
};

// The test module's resources (made current by the fixture).
const ResourceSet& TestResources();
// A 24-bit BMP of width x height whose pixel (x, y) is color(x, y).
std::vector<std::uint8_t> MakeBmp(int width, int height, COLORREF (*color)(int x, int y));

class UiTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;
};

// A window that keeps every message it gets.
class Probe : public Wnd {
 public:
  struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  std::vector<Seen> seen;
  bool Make(Wnd* parent, const Rect& rect, UINT id = 1, DWORD style = WS_CHILD | WS_VISIBLE);
  int Count(UINT message) const;
  const Seen* Last(UINT message) const;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A visible top-level window to put children in.
class TopWindow : public Wnd {
 public:
  bool Make(int width = 400, int height = 300);
};

}  // namespace uitest
