#pragma once
// Waits the end-to-end cases of the first start and of the property pages share.
#include <algorithm>
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

}  // namespace e2e
