#pragma once
// Waits the end-to-end cases share.
#include <algorithm>
#include <optional>
#include <set>
#include <vector>

#include "rodizora/main/tests/xsession.h"

namespace e2e {

// The start logo (a large window without a title) goes after its two seconds; input sent while
// it is up waits until then.
inline bool WaitForStartLogoGone(const XSession& x, int timeoutMs = 10000) {
  return XSession::WaitUntil(
      [&] {
        const std::vector<XWindow> stack = x.Stack();
        return std::none_of(stack.begin(), stack.end(), [](const XWindow& w) { return w.title.empty() && w.box.w > 200; });
      },
      timeoutMs);
}

// Waits until something is drawn dark inside box (a menu's item, a label).
inline bool WaitForInk(const XSession& x, const Box& box, int pixels = 20, int timeoutMs = 5000) {
  return XSession::WaitUntil([&] { return x.Grab(box).CountDark(box) > pixels; }, timeoutMs);
}

// Waits for a top-level window that was not in before and is no main window (a popup menu);
// none when it did not come.
inline std::optional<XWindow> WaitForPopup(const XSession& x, const std::vector<XWindow>& before, int timeoutMs = 5000) {
  std::set<unsigned long> old;
  for (const XWindow& w : before) old.insert(w.id);
  std::optional<XWindow> found;
  XSession::WaitUntil(
      [&] {
        for (const XWindow& w : x.Stack())
          if (!old.count(w.id) && w.title.find("KEDRUS") == std::string::npos && w.box.w > 20 && w.box.h > 20) found = w;
        return found.has_value();
      },
      timeoutMs);
  return found;
}

}  // namespace e2e
