#pragma once
// Helpers for tests of user-interface code (the layer's and the product's).
#include <vector>

#include "platform/ui/types.h"

namespace ui::testing {

// Windows that exist now (a test that leaves one behind leaks it).
std::vector<HWND> LiveWindows();
// A clean start for a test: no responder, an empty modal log, no focus, capture or key state.
void Reset();

}  // namespace ui::testing
