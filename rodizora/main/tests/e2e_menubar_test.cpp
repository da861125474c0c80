// The owner-drawn menu bar floating in a small frame of its own: the frame's Close is greyed, so
// a close request leaves the menu where it is (a floated toolbar closes).
#include <set>

#include "rodizora/main/tests/e2e.h"

namespace e2e {
namespace {

// The window that came up since before was taken; none when nothing came in time.
std::optional<XWindow> NewWindow(XSession& x, const std::vector<XWindow>& before) {
  std::set<unsigned long> old;
  for (const XWindow& w : before) old.insert(w.id);
  std::optional<XWindow> found;
  XSession::WaitUntil(
      [&] {
        for (const XWindow& w : x.Stack())
          if (!old.count(w.id) && w.box.w > 20 && w.box.h > 10) found = w;
        return found.has_value();
      },
      5000);
  return found;
}

bool Shown(XSession& x, const XWindow& window) {
  for (const XWindow& w : x.Stack())
    if (w.id == window.id) return true;
  return false;
}

TEST_F(E2eTest, TheFloatingMenuBarRefusesToCloseWhereAFloatingToolbarCloses) {
  ASSERT_TRUE(StartProgram({Sample()}));
  const auto main = MainWindow();
  ASSERT_TRUE(main);
  Step("docked");

  // The menu bar's gripper is at the left end of its row, the top of the window.
  std::vector<XWindow> before = x().Stack();
  x().Drag(main->box.x + 4, main->box.y + 16, main->box.CenterX(), main->box.CenterY());
  const std::optional<XWindow> menu = NewWindow(x(), before);
  ASSERT_TRUE(menu) << "the menu bar did not float";
  EXPECT_GT(Step("menu bar floating").CountDark(menu->box), 100) << "the floating menu shows no items";
  x().RequestClose(*menu);
  XSession::Pause(1000);
  EXPECT_TRUE(Shown(x(), *menu)) << "the floating menu bar closed";
  EXPECT_GT(Step("menu bar asked to close").CountDark(menu->box), 100);

  // The standard bar, now the first row, floats too, and closes when asked.
  before = x().Stack();
  x().Drag(main->box.x + 4, main->box.y + 12, main->box.CenterX(), main->box.y + main->box.h * 3 / 4);
  const std::optional<XWindow> toolbar = NewWindow(x(), before);
  ASSERT_TRUE(toolbar) << "the toolbar did not float";
  Step("toolbar floating");
  x().RequestClose(*toolbar);
  EXPECT_TRUE(XSession::WaitUntil([&] { return !Shown(x(), *toolbar); }, 5000)) << "the floating toolbar stayed";
  EXPECT_TRUE(Shown(x(), *menu));
  Step("toolbar closed");
}

}  // namespace
}  // namespace e2e
