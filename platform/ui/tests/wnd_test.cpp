// Window objects: relations and z-order, destruction, subclassing, focus, classes, text, the
// message loop and idle processing.
#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/dc.h"
#include "platform/ui/dialog.h"
#include "platform/ui/input.h"
#include "platform/ui/tests/ui_fixture.h"
#include "platform/ui/waitcursor.h"

namespace uitest {
namespace {

std::vector<std::string>* g_log = nullptr;

// A window that writes its creation and destruction messages to the log under its name.
class Logged : public Wnd {
 public:
  explicit Logged(std::string name) : name_(std::move(name)) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (g_log && (message == WM_DESTROY || message == WM_NCDESTROY || message == WM_CREATE))
      g_log->push_back(name_ + (message == WM_CREATE ? " create" : message == WM_DESTROY ? " destroy" : " ncdestroy"));
    return Wnd::WindowProc(message, wParam, lParam);
  }
  std::string name_;
};

TEST_F(UiTest, WindowsKnowTheirRelationsAndZOrder) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  Probe a, b, c;
  ASSERT_TRUE(a.Make(&top, Rect(0, 0, 50, 50), 1));
  ASSERT_TRUE(b.Make(&top, Rect(40, 40, 90, 90), 2));
  ASSERT_TRUE(c.Make(&b, Rect(5, 5, 20, 20), 3));
  EXPECT_EQ(top.GetWindow(GW_CHILD), &a);  // the first made is on top
  EXPECT_EQ(a.GetWindow(GW_HWNDNEXT), &b);
  EXPECT_EQ(b.GetWindow(GW_HWNDPREV), &a);
  EXPECT_EQ(c.GetParent(), &b);
  EXPECT_EQ(c.GetTopLevelParent(), &top);
  EXPECT_TRUE(top.IsChild(&c));
  EXPECT_FALSE(a.IsChild(&c));
  EXPECT_EQ(top.GetDlgItem(2), &b);
  EXPECT_EQ(top.GetDlgItem(3), nullptr);  // only direct children
  b.SetWindowPos(&Wnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(top.GetWindow(GW_CHILD), &b);
  // Coordinates: client points of c on the screen and in a's client area.
  Point p{1, 2};
  c.MapWindowPoints(&a, &p, 1);
  EXPECT_EQ(p, (Point{46, 47}));
  Point s{0, 0};
  c.ClientToScreen(&s);
  Point back = s;
  c.ScreenToClient(&back);
  EXPECT_EQ(back, (Point{0, 0}));
  EXPECT_EQ(Wnd::WindowFromPoint(s), &c);
  // Visible only with every ancestor visible.
  b.ShowWindow(SW_HIDE);
  EXPECT_FALSE(c.IsWindowVisible());
  EXPECT_NE(c.GetStyle() & WS_VISIBLE, 0u);
  b.ShowWindow(SW_SHOW);
  EXPECT_TRUE(c.IsWindowVisible());
  EXPECT_EQ(b.Count(WM_SHOWWINDOW), 3);  // shown when made, hidden, shown
  c.DestroyWindow();
  a.DestroyWindow();
  b.DestroyWindow();
  top.DestroyWindow();
}

TEST_F(UiTest, TheScreenShowsSiblingsInZOrderAndABrushlessWindowShowsWhatLiesBelow) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  const gdi::Brush redBrush(gdi::RGB(255, 0, 0)), blueBrush(gdi::RGB(0, 0, 255)), greenBrush(gdi::RGB(0, 160, 0));
  const std::string red = RegisterWndClass(0, nullptr, &redBrush);
  const std::string blue = RegisterWndClass(0, nullptr, &blueBrush);
  const std::string green = RegisterWndClass(0, nullptr, &greenBrush);
  const std::string brushless = RegisterWndClass(0, nullptr, nullptr);
  Wnd first, second, under, clear;
  ASSERT_TRUE(first.Create(red.c_str(), "", WS_CHILD | WS_VISIBLE, Rect(0, 0, 50, 50), &top, 1));
  ASSERT_TRUE(second.Create(blue.c_str(), "", WS_CHILD | WS_VISIBLE, Rect(25, 25, 75, 75), &top, 2));
  ASSERT_TRUE(under.Create(green.c_str(), "", WS_CHILD | WS_VISIBLE, Rect(100, 0, 150, 50), &top, 3));
  ASSERT_TRUE(clear.Create(brushless.c_str(), "", WS_CHILD | WS_VISIBLE, Rect(0, 0, 50, 50), &under, 4));
  ClientDC(&clear).FillSolidRect(Rect(0, 0, 10, 10), gdi::RGB(0, 0, 0));
  top.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  auto colourAt = [&](int x, int y) {
    Point p{x, y};
    top.ClientToScreen(&p);
    Rect frame;
    top.GetWindowRect(&frame);
    return top.Render()->GetPixel(p.x - frame.left, p.y - frame.top);
  };
  // The window made first lies over the one made after it, until that one is brought up.
  EXPECT_EQ(colourAt(30, 30), gdi::RGB(255, 0, 0));
  EXPECT_EQ(colourAt(60, 60), gdi::RGB(0, 0, 255));
  second.SetWindowPos(&Wnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(colourAt(30, 30), gdi::RGB(0, 0, 255));
  // Without a brush a window shows only what it drew; the rest is its parent's.
  EXPECT_EQ(colourAt(105, 5), gdi::RGB(0, 0, 0));
  EXPECT_EQ(colourAt(130, 30), gdi::RGB(0, 160, 0));
  clear.MoveWindow(Rect(0, 0, 40, 45));
  EXPECT_EQ(colourAt(105, 5), gdi::RGB(0, 0, 0));
  EXPECT_EQ(colourAt(130, 30), gdi::RGB(0, 160, 0));
}

TEST_F(UiTest, AGreyedCloseOfTheSystemMenuKeepsTheWindowOpen) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  Menu* system = top.GetSystemMenu(false);
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(system, top.GetSystemMenu(false));
  EXPECT_EQ(system->GetMenuString(SC_CLOSE, MF_BYCOMMAND), "&Close\tAlt+F4");
  system->EnableMenuItem(SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  top.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(top.IsWindow());
  // Back to the standard menu, Close closes.
  EXPECT_EQ(top.GetSystemMenu(true), nullptr);
  top.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(top.IsWindow());
}

TEST_F(UiTest, DestructionGoesParentFirstThenChildrenAndOwnedWindowsGoFirst) {
  std::vector<std::string> log;
  g_log = &log;
  Logged top("top"), child("child"), grandchild("grandchild"), owned("owned");
  ASSERT_TRUE(top.Create(nullptr, "", WS_OVERLAPPEDWINDOW, Rect(0, 0, 100, 100), nullptr, 0));
  ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD, Rect(0, 0, 50, 50), &top, 1));
  ASSERT_TRUE(grandchild.Create(nullptr, "", WS_CHILD, Rect(0, 0, 10, 10), &child, 2));
  ASSERT_TRUE(owned.Create(nullptr, "", WS_POPUP, Rect(0, 0, 10, 10), &top, 0));
  EXPECT_EQ(owned.GetOwner(), &top);
  log.clear();
  top.DestroyWindow();
  EXPECT_EQ(log, (std::vector<std::string>{"owned destroy", "owned ncdestroy", "top destroy", "child destroy",
                                           "grandchild destroy", "grandchild ncdestroy", "child ncdestroy",
                                           "top ncdestroy"}));
  EXPECT_FALSE(child.IsWindow());
  EXPECT_FALSE(owned.IsWindow());
  g_log = nullptr;
}

// A button whose click handler destroys the window it sits in (and so itself).
class SelfClosing : public Wnd {
  UI_DECLARE_MESSAGE_MAP()

 public:
  void OnClose() { DestroyWindow(); }
};
UI_BEGIN_MESSAGE_MAP(SelfClosing, Wnd)
  map::Control(BN_CLICKED, 5, &SelfClosing::OnClose),
UI_END_MESSAGE_MAP()

TEST_F(UiTest, AWindowDestroyedFromItsOwnInputHandlerGoesCleanly) {
  SelfClosing top;
  ASSERT_TRUE(top.Create(nullptr, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, Rect(0, 0, 100, 100), nullptr, 0));
  auto* button = new Button;
  ASSERT_TRUE(button->Create("Close", WS_CHILD | WS_VISIBLE, Rect(0, 0, 60, 20), &top, 5));
  const HWND b = button->m_hWnd;
  input::Click(button, {10, 10});
  EXPECT_FALSE(top.IsWindow());
  EXPECT_FALSE(IsWindow(b));
  delete button;
  App::PumpPending();  // the widget whose event was running is deleted now
}

LRESULT (*g_previous)(HWND, UINT, WPARAM, LPARAM) = nullptr;
int g_subclassed = 0;
LRESULT SubclassProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER + 7) {
    ++g_subclassed;
    return 99;
  }
  return CallWindowProc(g_previous, h, message, wParam, lParam);
}

TEST_F(UiTest, ASubclassingProcedureSeesMessagesFirstAndHandsTheRestOn) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  Probe w;
  ASSERT_TRUE(w.Make(&top, Rect(0, 0, 10, 10)));
  g_previous = w.SetWindowProc(SubclassProc);
  EXPECT_EQ(w.SendMessage(WM_USER + 7), 99);
  w.SendMessage(WM_USER + 8);
  EXPECT_EQ(g_subclassed, 1);
  EXPECT_EQ(w.Count(WM_USER + 7), 0);
  EXPECT_EQ(w.Count(WM_USER + 8), 1);  // handed on to the object
  w.SetWindowProc(g_previous);
  w.SendMessage(WM_USER + 7);
  EXPECT_EQ(w.Count(WM_USER + 7), 1);
  w.DestroyWindow();
  top.DestroyWindow();
}

// The product's numeric edit: typed characters outside its set are taken back.
class NumEdit : public Edit {
  UI_DECLARE_MESSAGE_MAP()

 public:
  void OnChar(UINT ch, UINT repeat, UINT flags) {
    const std::string before = GetWindowText();
    Wnd::OnChar(ch, repeat, flags);
    const std::string after = GetWindowText();
    if (after.find_first_not_of("1234567890.,-") != std::string::npos) SetWindowText(before);
  }
};
UI_BEGIN_MESSAGE_MAP(NumEdit, Edit)
  map::Char(&NumEdit::OnChar),
UI_END_MESSAGE_MAP()

class NumDialog : public Dialog {
 public:
  NumDialog() : Dialog(kDialogValues) {}
  NumEdit number;
  void DoDataExchange(DataExchange* dx) override { DDX_Control(dx, 1003, number); }
};

TEST_F(UiTest, ADialogItemCanBeTakenOverByAnObjectOfTheProduct) {
  NumDialog dlg;
  ASSERT_TRUE(dlg.Create(kDialogValues));
  ASSERT_EQ(dlg.GetDlgItem(1003), &dlg.number);
  dlg.number.SetFocus();
  input::Type("1.5x,2");
  EXPECT_EQ(dlg.number.GetWindowText(), "1.5,2");
  // A window that already has an object of the product's is not taken over again.
  Edit other;
  EXPECT_FALSE(other.SubclassDlgItem(1003, &dlg));
  dlg.DestroyWindow();
  EXPECT_FALSE(dlg.number.IsWindow());
}

TEST_F(UiTest, FocusMovesWithNoticesAndLeavesHiddenDisabledAndDestroyedWindows) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  Probe a, b;
  ASSERT_TRUE(a.Make(&top, Rect(0, 0, 10, 10), 1));
  ASSERT_TRUE(b.Make(&top, Rect(20, 0, 30, 10), 2));
  a.SetFocus();
  EXPECT_EQ(Wnd::GetFocus(), &a);
  EXPECT_EQ(b.SetFocus(), &a);
  EXPECT_EQ(a.Count(WM_KILLFOCUS), 1);
  EXPECT_EQ(ParamToHandle(static_cast<std::intptr_t>(a.Last(WM_KILLFOCUS)->wParam)), b.m_hWnd);
  EXPECT_EQ(b.Count(WM_SETFOCUS), 1);
  b.EnableWindow(false);
  EXPECT_EQ(Wnd::GetFocus(), nullptr);
  EXPECT_EQ(b.Count(WM_ENABLE), 1);
  b.EnableWindow(true);
  a.SetFocus();
  a.ShowWindow(SW_HIDE);
  EXPECT_EQ(Wnd::GetFocus(), &top);
  b.SetFocus();
  b.DestroyWindow();
  EXPECT_EQ(Wnd::GetFocus(), nullptr);
  a.DestroyWindow();
  top.DestroyWindow();
}

TEST_F(UiTest, DoubleClicksNeedAClassThatAsksForThem) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  Probe plain;
  const std::string noDouble = RegisterWndClass(CS_HREDRAW);
  ASSERT_TRUE(plain.Create(noDouble.c_str(), "", WS_CHILD | WS_VISIBLE, Rect(0, 0, 20, 20), &top, 1));
  Probe dbl;
  ASSERT_TRUE(dbl.Make(&top, Rect(30, 0, 50, 20), 2));
  input::DoubleClick(&plain, {5, 5});
  input::DoubleClick(&dbl, {5, 5});
  EXPECT_EQ(plain.Count(WM_LBUTTONDBLCLK), 0);
  EXPECT_EQ(plain.Count(WM_LBUTTONDOWN), 2);
  EXPECT_EQ(dbl.Count(WM_LBUTTONDBLCLK), 1);
  EXPECT_EQ(dbl.Count(WM_LBUTTONDOWN), 1);
  // Mouse messages carry the key state; the wheel its delta.
  input::Click(&dbl, {6, 7}, MK_LBUTTON, input::kControl | input::kShift);
  EXPECT_EQ(dbl.Last(WM_LBUTTONDOWN)->wParam & (MK_CONTROL | MK_SHIFT | MK_LBUTTON), static_cast<WPARAM>(MK_CONTROL | MK_SHIFT | MK_LBUTTON));
  EXPECT_EQ(ParamToPoint(dbl.Last(WM_LBUTTONDOWN)->lParam), (Point{6, 7}));
  input::Wheel(&dbl, {5, 5}, -120);
  ASSERT_EQ(dbl.Count(WM_MOUSEWHEEL), 1);
  EXPECT_EQ(static_cast<short>(HIWORD(dbl.Last(WM_MOUSEWHEEL)->wParam)), -120);
  plain.DestroyWindow();
  dbl.DestroyWindow();
  top.DestroyWindow();
}

TEST_F(UiTest, WindowTextIsReadWhole) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  Edit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, Rect(0, 0, 100, 20), &top, 1));
  const std::string longText(1000, 'x');
  edit.SetWindowText(longText + "end");
  EXPECT_EQ(edit.GetWindowText(), longText + "end");
  EXPECT_EQ(edit.GetWindowTextLength(), 1003);
  top.SetWindowText("Grüße");  // UTF-8 text
  EXPECT_EQ(top.GetWindowText(), "Grüße");
  edit.DestroyWindow();
  top.DestroyWindow();
}

int g_procTicks = 0;
void TickProc(HWND, UINT, UINT_PTR id, DWORD) {
  if (id == 3) ++g_procTicks;
}

class CountingApp : public App {
 public:
  CountingApp() : App("KEDRUS Test") {}
  int idles = 0;
  bool OnIdle(long count) override {
    if (count == 0) ++idles;
    return App::OnIdle(count);
  }
};

TEST_F(UiTest, TheMessageLoopRunsUntilQuitIdlingBetweenBursts) {
  CountingApp app;
  TopWindow top;
  ASSERT_TRUE(top.Make());
  Probe w;
  ASSERT_TRUE(w.Make(&top, Rect(0, 0, 10, 10)));
  g_procTicks = 0;
  top.SetTimer(3, 2, TickProc);
  // A worker-free way to end the loop: the third tick posts the quit message.
  struct Quitter {
    static void Proc(HWND, UINT, UINT_PTR, DWORD) {
      if (g_procTicks >= 3) App::PostQuitMessage(7);
    }
  };
  w.SetTimer(4, 5, Quitter::Proc);
  for (int i = 0; i < 5; ++i) w.PostMessage(WM_USER, static_cast<WPARAM>(i));
  EXPECT_EQ(app.Run(), 7);
  EXPECT_GE(g_procTicks, 3);
  EXPECT_EQ(w.Count(WM_USER), 5);
  EXPECT_GE(app.idles, 1);
  EXPECT_EQ(w.Count(WM_TIMER), 0);  // a timer procedure gets the ticks instead
  top.KillTimer(3);
  w.KillTimer(4);
  w.DestroyWindow();
  top.DestroyWindow();
}

}  // namespace
}  // namespace uitest

namespace uitest {
namespace {

TEST_F(UiTest, TheWaitCursorShowsFromTheFirstBeginToTheLastEndAndNeverOverAModalRun) {
  EXPECT_FALSE(ui::IsWaitCursorShown());
  {
    ui::WaitCursor outer;
    EXPECT_TRUE(ui::IsWaitCursorShown());
    {
      ui::WaitCursor inner;
      {
        ui::WaitCursorPause pause;  // a message box, say
        EXPECT_FALSE(ui::IsWaitCursorShown());
      }
      EXPECT_TRUE(ui::IsWaitCursorShown());
    }
    EXPECT_TRUE(ui::IsWaitCursorShown());
  }
  EXPECT_FALSE(ui::IsWaitCursorShown());
  ui::EndWaitCursor();  // one end too many changes nothing
  ui::WaitCursorPause pause;
  EXPECT_FALSE(ui::IsWaitCursorShown());
}

}  // namespace
}  // namespace uitest
