// Owned and topmost windows, and the modal runs over them: an owned window is a window of its
// own that the disabled owner leaves usable; a window run modally takes the keys and cancels on
// Escape; hiding the active window hands the activation back to its owner; a timed pause of the
// loop sleeps in it.
#include <QWidget>
#include <QWindow>

#include <chrono>

#include "platform/ui/input.h"
#include "platform/ui/internal/state.h"
#include "platform/ui/modalloop.h"
#include "platform/ui/responder.h"
#include "platform/ui/tests/ui_fixture.h"

namespace uitest {
namespace {

QWidget* WidgetOf(const Wnd& w) { return w.impl() ? w.impl()->widget.data() : nullptr; }

class Owned : public Wnd {
 public:
  bool Make(Wnd* owner, DWORD exStyle = 0) {
    return CreateEx(exStyle, nullptr, "owned", WS_POPUP | WS_CAPTION, Rect(10, 10, 110, 90), owner, 0);
  }
};

TEST_F(UiTest, AnOwnedWindowIsAWindowOfItsOwnThatTheDisabledOwnerLeavesUsable) {
  TopWindow owner;
  ASSERT_TRUE(owner.Make());
  Owned dialog;
  ASSERT_TRUE(dialog.Make(&owner));
  Probe item;
  ASSERT_TRUE(item.Make(&dialog, Rect(0, 0, 20, 20)));
  EXPECT_EQ(dialog.GetOwner(), &owner);
  QWidget* widget = WidgetOf(dialog);
  ASSERT_TRUE(widget);
  EXPECT_EQ(widget->parentWidget(), nullptr);
  EXPECT_TRUE(widget->isWindow());
  ASSERT_TRUE(widget->windowHandle());
  EXPECT_EQ(widget->windowHandle()->transientParent(), WidgetOf(owner)->windowHandle());

  owner.EnableWindow(false);
  EXPECT_FALSE(WidgetOf(owner)->isEnabled());
  EXPECT_TRUE(dialog.IsWindowEnabled());
  EXPECT_TRUE(widget->isEnabled());
  EXPECT_TRUE(WidgetOf(item)->isEnabled());
  owner.EnableWindow(true);

  // It still goes with its owner.
  owner.DestroyWindow();
  EXPECT_FALSE(dialog.IsWindow());
  EXPECT_FALSE(item.IsWindow());
}

TEST_F(UiTest, ATopmostWindowAsksTheWindowSystemToStayOnTop) {
  Owned logo, plain;
  ASSERT_TRUE(logo.Make(nullptr, WS_EX_TOPMOST));
  ASSERT_TRUE(plain.Make(nullptr));
  EXPECT_TRUE(WidgetOf(logo)->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(WidgetOf(plain)->windowFlags() & Qt::WindowStaysOnTopHint);
  logo.DestroyWindow();
  plain.DestroyWindow();
}

// A frame run modally that ends its run on IDCANCEL.
class Cancellable : public TopWindow {
 public:
  ModalLoop loop;
  int cancels = 0;
  bool OnCommand(WPARAM wParam, LPARAM) override {
    if (LOWORD(wParam) == IDCANCEL) {
      ++cancels;
      loop.End(IDCANCEL);
    }
    return true;
  }
};

TEST_F(UiTest, AWindowRunModallyIsActiveAndEscapeAnywhereInItCancelsTheRun) {
  TopWindow owner;
  ASSERT_TRUE(owner.Make());
  owner.ShowWindow(SW_SHOW);
  Cancellable frame;
  ASSERT_TRUE(frame.Make());
  frame.SetOwner(&owner);
  Probe list;
  ASSERT_TRUE(list.Make(&frame, Rect(0, 0, 50, 50)));
  // Shown without activation, as the file dialogs show theirs.
  frame.ShowWindow(SW_SHOWNOACTIVATE);
  owner.SetActiveWindow();
  ASSERT_EQ(Wnd::GetActiveWindow(), &owner);
  ScriptedResponder script(true);
  script.Then(ModalKind::Window, [&](ModalQuestion&) {
    EXPECT_EQ(Wnd::GetActiveWindow(), &frame);
    list.SetFocus();
    input::Key(VK_ESCAPE);
    return IDOK;
  });
  EXPECT_EQ(frame.loop.Run(&frame), IDCANCEL);
  EXPECT_EQ(frame.cancels, 1);
  // Escape outside a run is the window's own business.
  list.SetFocus();
  input::Key(VK_ESCAPE);
  EXPECT_EQ(frame.cancels, 1);
  frame.DestroyWindow();
  owner.DestroyWindow();
}

TEST_F(UiTest, HidingTheActiveOwnedWindowActivatesItsOwner) {
  TopWindow owner;
  ASSERT_TRUE(owner.Make());
  owner.ShowWindow(SW_SHOW);
  Owned dialog;
  ASSERT_TRUE(dialog.Make(&owner));
  dialog.ShowWindow(SW_SHOW);
  EXPECT_EQ(Wnd::GetActiveWindow(), &dialog);
  dialog.ShowWindow(SW_HIDE);
  EXPECT_EQ(Wnd::GetActiveWindow(), &owner);
  // A disabled owner is no place for the activation.
  dialog.ShowWindow(SW_SHOW);
  owner.EnableWindow(false);
  dialog.ShowWindow(SW_HIDE);
  EXPECT_EQ(Wnd::GetActiveWindow(), nullptr);
  owner.EnableWindow(true);
  dialog.DestroyWindow();
  owner.DestroyWindow();
}

TEST_F(UiTest, APauseOfTheLoopDeliversWhatArrivesAndEndsOnTime) {
  Probe target;
  TopWindow top;
  ASSERT_TRUE(top.Make());
  ASSERT_TRUE(target.Make(&top, Rect(0, 0, 10, 10)));
  target.PostMessage(WM_USER + 5, 1, 2);
  const auto start = std::chrono::steady_clock::now();
  App::PumpFor(120);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(115));
  EXPECT_LT(took, std::chrono::milliseconds(2000));
  EXPECT_EQ(target.Count(WM_USER + 5), 1);
  top.DestroyWindow();
}

}  // namespace
}  // namespace uitest
