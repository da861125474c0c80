#pragma once
// Helpers for tests of user-interface code (the layer's and the product's).
#include <set>
#include <vector>

#include "platform/ui/types.h"

namespace ui {
class Cursor;
using HCURSOR = const Cursor*;
}  // namespace ui

namespace ui::testing {

// Windows that exist now (a test that leaves one behind leaks it).
std::vector<HWND> LiveWindows();
// A clean start for a test: no responder, an empty modal log, no focus, capture or key state.
void Reset();
// The colours of a cursor's opaque pixels (empty for a standard shape or null).
std::set<COLORREF> CursorColors(HCURSOR cursor);

}  // namespace ui::testing
