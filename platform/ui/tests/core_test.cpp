// Windows and messages: message maps, handles, posting, timers, capture, hooks, painting.
#include <atomic>
#include <thread>

#include "platform/ui/commdlg.h"
#include "platform/ui/dc.h"
#include "platform/ui/input.h"
#include "platform/ui/menu.h"
#include "platform/ui/responder.h"
#include "platform/ui/tests/ui_fixture.h"

namespace uitest {
namespace {

// --- Message maps ---------------------------------------------------------------------------------

class BaseTarget : public Wnd {
  UI_DECLARE_MESSAGE_MAP()

 public:
  std::vector<std::string> calls;
  void OnOpen() { calls.push_back("base open"); }
  void OnRange(UINT id) { calls.push_back("base range " + std::to_string(id)); }
  LRESULT OnUser(WPARAM w, LPARAM) {
    calls.push_back("base user " + std::to_string(w));
    return 7;
  }
  void OnUpdateRange(CmdUI* ui) { ui->Enable(ui->m_nID % 2 == 0); }
};

UI_BEGIN_MESSAGE_MAP(BaseTarget, Wnd)
  map::Command(kCmdOpen, &BaseTarget::OnOpen),
  map::CommandRange(500, 510, &BaseTarget::OnRange),
  map::UpdateUIRange(500, 510, &BaseTarget::OnUpdateRange),
  map::Message(WM_USER + 1, &BaseTarget::OnUser),
UI_END_MESSAGE_MAP()

class DerivedTarget : public BaseTarget {
  UI_DECLARE_MESSAGE_MAP()

 public:
  void OnOpenAgain() { calls.push_back("derived open"); }
  void OnSave() { calls.push_back("derived save"); }
  void OnEditChange() { calls.push_back("edit change"); }
};

UI_BEGIN_MESSAGE_MAP(DerivedTarget, BaseTarget)
  map::Command(kCmdOpen, &DerivedTarget::OnOpenAgain),
  map::Command(kCmdSave, &DerivedTarget::OnSave),
  map::Control(EN_CHANGE, 1001, &DerivedTarget::OnEditChange),
UI_END_MESSAGE_MAP()

TEST_F(UiTest, MessageMapsLookUpTheClassFirstThenItsBasesAndCoverRanges) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  DerivedTarget w;
  ASSERT_TRUE(w.Create(nullptr, "", WS_CHILD | WS_VISIBLE, Rect(0, 0, 50, 50), &top, 9));

  w.SendMessage(WM_COMMAND, kCmdOpen);          // the derived entry hides the base's
  w.SendMessage(WM_COMMAND, kCmdSave);
  w.SendMessage(WM_COMMAND, 504);               // inside the base's range
  w.SendMessage(WM_COMMAND, 511);               // past it: nobody
  w.SendMessage(WM_COMMAND, MAKEWPARAM(1001, EN_CHANGE), HandleToParam(top.m_hWnd));
  w.SendMessage(WM_COMMAND, MAKEWPARAM(1001, EN_KILLFOCUS), HandleToParam(top.m_hWnd));
  EXPECT_EQ(w.SendMessage(WM_USER + 1, 3), 7);  // a message entry of the base
  EXPECT_EQ(w.calls, (std::vector<std::string>{"derived open", "derived save", "base range 504", "edit change", "base user 3"}));

  // The range's update handler decides per id; the enable rule covers ids without one.
  EXPECT_TRUE(QueryCommandState(&w, 504).enabled);
  EXPECT_FALSE(QueryCommandState(&w, 505).enabled);
  EXPECT_TRUE(QueryCommandState(&w, kCmdSave).enabled);       // a handler, no update entry
  EXPECT_FALSE(QueryCommandState(&w, kCmdNoHandler).enabled);  // neither
  // A disabled command from a menu or accelerator is not run.
  w.calls.clear();
  w.SendMessage(WM_COMMAND, 505);
  EXPECT_TRUE(w.calls.empty());
  w.DestroyWindow();
  top.DestroyWindow();
}

// Notifications the parent reflects back to the control that sent them.
class SelfNotifying : public Wnd {
  UI_DECLARE_MESSAGE_MAP()

 public:
  int reflected = 0;
  void OnReflectedClick() { ++reflected; }
  void OnReflectedNotify(NMHDR* hdr, LRESULT* result) {
    reflected += 10;
    *result = hdr->code == NM_DBLCLK ? 5 : 0;
  }
};

UI_BEGIN_MESSAGE_MAP(SelfNotifying, Wnd)
  map::ReflectCommand(BN_CLICKED, &SelfNotifying::OnReflectedClick),
  map::ReflectNotify(NM_DBLCLK, &SelfNotifying::OnReflectedNotify),
UI_END_MESSAGE_MAP()

class NotifiedParent : public Wnd {
  UI_DECLARE_MESSAGE_MAP()

 public:
  int clicks = 0;
  int notifies = 0;
  void OnClick() { ++clicks; }
  void OnListNotify(NMHDR*, LRESULT*) { ++notifies; }
};

UI_BEGIN_MESSAGE_MAP(NotifiedParent, Wnd)
  map::Control(BN_CLICKED, 7, &NotifiedParent::OnClick),
  map::Control(BN_DOUBLECLICKED, 7, &NotifiedParent::OnClick),
  map::Notify(NM_DBLCLK, 7, &NotifiedParent::OnListNotify),
  map::Notify(NM_CLICK, 7, &NotifiedParent::OnListNotify),
UI_END_MESSAGE_MAP()

TEST_F(UiTest, ReflectedNotificationsReachTheControlInsteadOfItsParent) {
  NotifiedParent parent;
  ASSERT_TRUE(parent.Create(nullptr, "", WS_OVERLAPPEDWINDOW, Rect(0, 0, 100, 100), nullptr, 0));
  SelfNotifying child;
  ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD, Rect(0, 0, 10, 10), &parent, 7));
  parent.SendMessage(WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), HandleToParam(child.m_hWnd));
  parent.SendMessage(WM_COMMAND, MAKEWPARAM(7, BN_DOUBLECLICKED), HandleToParam(child.m_hWnd));
  NMHDR dbl{child.m_hWnd, 7, NM_DBLCLK};
  EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&dbl)), 5);
  NMHDR click{child.m_hWnd, 7, NM_CLICK};
  parent.SendMessage(WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&click));
  EXPECT_EQ(child.reflected, 11);
  EXPECT_EQ(parent.clicks, 1);    // the double click was not reflected
  EXPECT_EQ(parent.notifies, 1);  // nor the click notification
  parent.DestroyWindow();
}

// --- Handles and posting ---------------------------------------------------------------------------------

TEST_F(UiTest, AStaleHandleReachesNoWindowEvenAfterNewOnesAreMade) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  Probe first;
  ASSERT_TRUE(first.Make(&top, Rect(0, 0, 10, 10)));
  const HWND stale = first.m_hWnd;
  first.DestroyWindow();
  EXPECT_EQ(first.m_hWnd, kNoWnd);
  Probe second;
  ASSERT_TRUE(second.Make(&top, Rect(0, 0, 10, 10)));
  EXPECT_NE(second.m_hWnd, stale);
  EXPECT_EQ(Wnd::FromHandle(stale), nullptr);
  EXPECT_FALSE(IsWindow(stale));
  EXPECT_EQ(SendMessage(stale, WM_USER), 0);
  EXPECT_FALSE(PostMessage(stale, WM_USER));
  // A message posted before its window went is dropped, never delivered to another.
  ASSERT_TRUE(second.PostMessage(WM_USER + 5));
  const HWND gone = second.m_hWnd;
  second.DestroyWindow();
  Probe third;
  ASSERT_TRUE(third.Make(&top, Rect(0, 0, 10, 10)));
  App::PumpPending();
  EXPECT_EQ(third.Count(WM_USER + 5), 0);
  EXPECT_NE(third.m_hWnd, gone);
  third.DestroyWindow();
  top.DestroyWindow();
}

TEST_F(UiTest, MessagesPostedFromWorkerThreadsArriveInOrderOnTheUserInterfaceThread) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  Probe w;
  ASSERT_TRUE(w.Make(&top, Rect(0, 0, 10, 10)));
  const HWND h = w.m_hWnd;
  constexpr int kCount = 200;
  std::atomic<bool> sendRefused{false};
  std::thread worker([h, &sendRefused] {
    for (int i = 0; i < kCount; ++i) PostMessage(h, WM_APP, static_cast<WPARAM>(i));
    // Only posting works from another thread: a send is refused rather than run there.
    sendRefused = SendMessage(h, WM_APP + 1) == 0;
    App::PostThreadMessage(WM_APP + 2);
  });
  worker.join();
  ASSERT_TRUE(App::PumpUntil([&] { return w.Count(WM_APP) == kCount; }, 5000));
  std::vector<WPARAM> order;
  for (const auto& s : w.seen)
    if (s.message == WM_APP) order.push_back(s.wParam);
  for (int i = 0; i < kCount; ++i) EXPECT_EQ(order[static_cast<std::size_t>(i)], static_cast<WPARAM>(i));
  EXPECT_TRUE(sendRefused);
  EXPECT_EQ(w.Count(WM_APP + 1), 0);
  w.DestroyWindow();
  top.DestroyWindow();
}

TEST_F(UiTest, PeekMessageFindsPostedMessagesByWindowAndRangeAndTakesThemWhenAsked) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  Probe a, b;
  ASSERT_TRUE(a.Make(&top, Rect(0, 0, 10, 10), 1));
  ASSERT_TRUE(b.Make(&top, Rect(0, 0, 10, 10), 2));
  a.PostMessage(WM_USER + 1);
  b.PostMessage(WM_SETMESSAGESTRING, 7);
  a.PostMessage(WM_SETMESSAGESTRING, 8);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, a.m_hWnd, WM_SETMESSAGESTRING, WM_SETMESSAGESTRING, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 8u);
  EXPECT_FALSE(PeekMessage(&msg, a.m_hWnd, WM_SETMESSAGESTRING, WM_SETMESSAGESTRING, PM_NOREMOVE));
  EXPECT_TRUE(PeekMessage(&msg, kNoWnd, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 1u);
  App::PumpPending();
  EXPECT_EQ(a.Count(WM_SETMESSAGESTRING), 0);
  EXPECT_EQ(b.Count(WM_SETMESSAGESTRING), 1);
  EXPECT_EQ(a.Count(WM_USER + 1), 1);

  // The 44-byte placement record comes back as it went; another length is refused.
  WINDOWPLACEMENT wp;
  ASSERT_TRUE(top.GetWindowPlacement(&wp));
  EXPECT_EQ(wp.length, 44u);
  EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  wp.rcNormalPosition = Rect(20, 30, 320, 230);
  ASSERT_TRUE(top.SetWindowPlacement(&wp));
  Rect r;
  top.GetWindowRect(&r);
  EXPECT_EQ(r, Rect(20, 30, 320, 230));
  wp.length = 40;
  EXPECT_FALSE(top.SetWindowPlacement(&wp));
  a.DestroyWindow();
  b.DestroyWindow();
  top.DestroyWindow();
}

TEST_F(UiTest, TimersTickUntilKilledAndDieWithTheirWindow) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  Probe w;
  ASSERT_TRUE(w.Make(&top, Rect(0, 0, 10, 10)));
  EXPECT_EQ(w.SetTimer(42, 5), 42u);
  ASSERT_TRUE(App::PumpUntil([&] { return w.Count(WM_TIMER) >= 3; }, 5000));
  EXPECT_EQ(w.Last(WM_TIMER)->wParam, 42u);
  EXPECT_TRUE(w.KillTimer(42));
  EXPECT_FALSE(w.KillTimer(42));
  App::PumpPending();
  const int ticks = w.Count(WM_TIMER);
  App::PumpUntil([] { return false; }, 40);
  EXPECT_EQ(w.Count(WM_TIMER), ticks);

  Probe other;
  ASSERT_TRUE(other.Make(&top, Rect(0, 0, 10, 10)));
  other.SetTimer(1, 1);
  other.DestroyWindow();
  App::PumpUntil([] { return false; }, 20);  // no tick for a window that is gone
  w.DestroyWindow();
  top.DestroyWindow();
}

// --- Input ---------------------------------------------------------------------------------------------

TEST_F(UiTest, CaptureSendsMouseInputToTheCapturingWindowUntilReleased) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  Probe a, b;
  ASSERT_TRUE(a.Make(&top, Rect(0, 0, 50, 50), 1));
  ASSERT_TRUE(b.Make(&top, Rect(100, 0, 150, 50), 2));
  a.SetCapture();
  EXPECT_EQ(Wnd::GetCapture(), &a);
  input::MouseMove(&b, {10, 20});
  ASSERT_EQ(a.Count(WM_MOUSEMOVE), 1);
  EXPECT_EQ(ParamToPoint(a.Last(WM_MOUSEMOVE)->lParam), (Point{110, 20}));  // in a's coordinates
  EXPECT_EQ(b.Count(WM_MOUSEMOVE), 0);
  Wnd::ReleaseCapture();
  EXPECT_EQ(a.Count(WM_CAPTURECHANGED), 1);
  input::MouseMove(&b, {10, 20});
  EXPECT_EQ(b.Count(WM_MOUSEMOVE), 1);
  // A modal run takes the capture away first.
  b.SetCapture();
  EXPECT_EQ(MessageBox(&top, "Sure?", "Test", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(Wnd::GetCapture(), nullptr);
  EXPECT_EQ(b.Count(WM_CAPTURECHANGED), 1);
  a.DestroyWindow();
  b.DestroyWindow();
  top.DestroyWindow();
}

struct HookLog {
  std::vector<WPARAM> keys;
  std::vector<WPARAM> mouse;
  bool swallowKeys = false;
  HHOOK keyHook{};
  HHOOK mouseHook{};
};
HookLog* g_hooks = nullptr;

LRESULT KeyHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && !(static_cast<std::uint32_t>(lParam) & KF_UP_BIT)) g_hooks->keys.push_back(wParam);
  if (g_hooks->swallowKeys) return 1;
  return CallNextHookEx(g_hooks->keyHook, code, wParam, lParam);
}

LRESULT MouseHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) g_hooks->mouse.push_back(wParam);
  return CallNextHookEx(g_hooks->mouseHook, code, wParam, lParam);
}

TEST_F(UiTest, ThreadHooksSeeInjectedInputButNeverPostedMessages) {
  HookLog log;
  g_hooks = &log;
  log.keyHook = SetWindowsHookEx(WH_KEYBOARD, KeyHook);
  log.mouseHook = SetWindowsHookEx(WH_MOUSE, MouseHook);
  TopWindow top;
  ASSERT_TRUE(top.Make());
  Probe w;
  ASSERT_TRUE(w.Make(&top, Rect(0, 0, 50, 50)));
  w.SetFocus();

  input::Key('A');
  input::Click(&w, {5, 5});
  EXPECT_EQ(log.keys, (std::vector<WPARAM>{'A'}));
  EXPECT_EQ(log.mouse, (std::vector<WPARAM>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
  EXPECT_EQ(w.Count(WM_KEYDOWN), 1);
  EXPECT_EQ(w.Count(WM_CHAR), 1);
  EXPECT_EQ(w.Last(WM_CHAR)->wParam, static_cast<WPARAM>('a'));

  // A posted key reaches the window (and makes its character) but no hook.
  w.PostMessage(WM_KEYDOWN, 'B', 1);
  App::PumpPending();
  EXPECT_EQ(w.Count(WM_KEYDOWN), 2);
  EXPECT_EQ(w.Last(WM_CHAR)->wParam, static_cast<WPARAM>('b'));
  EXPECT_EQ(log.keys.size(), 1u);

  // A hook that answers nonzero swallows the key.
  log.swallowKeys = true;
  input::Key('C');
  EXPECT_EQ(log.keys.size(), 2u);
  EXPECT_EQ(w.Count(WM_KEYDOWN), 2);

  EXPECT_TRUE(UnhookWindowsHookEx(log.keyHook));
  EXPECT_TRUE(UnhookWindowsHookEx(log.mouseHook));
  EXPECT_FALSE(UnhookWindowsHookEx(log.keyHook));
  input::Key('D');
  EXPECT_EQ(log.keys.size(), 2u);
  EXPECT_EQ(w.Count(WM_KEYDOWN), 3);
  g_hooks = nullptr;
  w.DestroyWindow();
  top.DestroyWindow();
}

// --- Painting -----------------------------------------------------------------------------------------

class Canvas : public Wnd {
  UI_DECLARE_MESSAGE_MAP()

 public:
  COLORREF fill = RGB(0, 0, 255);
  int paints = 0;
  Point last{-1, -1};
  void OnPaint() {
    PaintDC dc(this);
    ++paints;
    Rect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, fill);
  }
  // A rubber line between the press point and the pointer, XOR-drawn on a client DC.
  void OnMouseMove(UINT flags, Point p) {
    if (!(flags & MK_LBUTTON)) return;
    ClientDC dc(this);
    dc.SetROP2(gdi::R2_XORPEN);
    dc.SelectObject(gdi::Pen(gdi::PS_SOLID, 1, RGB(255, 255, 0)));
    if (last.x >= 0) {
      dc.MoveTo(0, 0);
      dc.LineTo(last);
    }
    dc.MoveTo(0, 0);
    dc.LineTo(p);
    last = p;
  }
};

UI_BEGIN_MESSAGE_MAP(Canvas, Wnd)
  map::Paint(&Canvas::OnPaint),
  map::MouseMove(&Canvas::OnMouseMove),
UI_END_MESSAGE_MAP()

TEST_F(UiTest, XorMarksOfAClientDcEraseExactlyOverWhatOnPaintDrew) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  Canvas c;
  ASSERT_TRUE(c.Create(nullptr, "", WS_CHILD | WS_VISIBLE, Rect(0, 0, 60, 40), &top, 1));
  c.UpdateWindow();
  ASSERT_EQ(c.paints, 1);
  const gdi::RasterSurface painted = *c.GetClientSurface();
  input::MouseMove(&c, {30, 20}, MK_LBUTTON);
  input::MouseMove(&c, {50, 10}, MK_LBUTTON);
  EXPECT_LT(c.GetClientSurface()->CountPixels(RGB(0, 0, 255)), painted.CountPixels(RGB(0, 0, 255)));
  // Drawing the last mark again leaves exactly what OnPaint drew.
  {
    ClientDC dc(&c);
    dc.SetROP2(gdi::R2_XORPEN);
    dc.SelectObject(gdi::Pen(gdi::PS_SOLID, 1, RGB(255, 255, 0)));
    dc.MoveTo(0, 0);
    dc.LineTo(c.last);
  }
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) ASSERT_EQ(c.GetClientSurface()->GetPixel(x, y), painted.GetPixel(x, y)) << x << "," << y;
  EXPECT_EQ(c.paints, 1);  // client DCs never cause a paint
  c.DestroyWindow();
  top.DestroyWindow();
}

TEST_F(UiTest, InvalidationRepaintsOnlyTheInvalidRegion) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  Canvas c;
  ASSERT_TRUE(c.Create(nullptr, "", WS_CHILD | WS_VISIBLE, Rect(0, 0, 60, 40), &top, 1));
  App::PumpPending();  // the loop paints what shows
  ASSERT_EQ(c.paints, 1);
  c.fill = RGB(0, 255, 0);
  gdi::Region region = gdi::Region::FromRect(Rect(0, 0, 10, 10));
  region.CombineRgn(region, gdi::Region::FromRect(Rect(20, 20, 30, 25)), gdi::RGN_OR);
  c.InvalidateRgn(&region, false);
  Rect box;
  EXPECT_TRUE(c.GetUpdateRect(&box));
  EXPECT_EQ(box, Rect(0, 0, 30, 25));
  c.UpdateWindow();
  EXPECT_EQ(c.paints, 2);
  EXPECT_EQ(c.GetClientSurface()->CountPixels(RGB(0, 255, 0)), 100 + 50);
  EXPECT_FALSE(c.GetUpdateRect(&box));
  c.UpdateWindow();  // nothing invalid: no paint
  EXPECT_EQ(c.paints, 2);
  // A hidden window keeps its update region until it shows.
  c.ShowWindow(SW_HIDE);
  c.Invalidate();
  App::PumpPending();
  EXPECT_EQ(c.paints, 2);
  c.ShowWindow(SW_SHOW);
  App::PumpPending();
  EXPECT_EQ(c.paints, 3);
  c.DestroyWindow();
  top.DestroyWindow();
}

// A frame change that takes a scroll bar away leaves the window's size but grows its client: the
// strip the bar gave back is invalid and painted, the rest stays valid.
TEST_F(UiTest, AScrollBarTakenAwayLeavesItsStripToBePainted) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  Canvas c;
  ASSERT_TRUE(c.Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_HSCROLL, Rect(0, 0, 60, 40), &top, 1));
  App::PumpPending();
  Rect before;
  c.GetClientRect(&before);
  ASSERT_LT(before.Height(), 40);
  const int paints = c.paints;
  c.fill = RGB(0, 255, 0);
  c.ShowScrollBar(SB_HORZ, false);
  Rect after;
  c.GetClientRect(&after);
  EXPECT_EQ(after, Rect(0, 0, 60, 40));
  Rect box;
  ASSERT_TRUE(c.GetUpdateRect(&box));
  EXPECT_EQ(box, Rect(0, before.Height(), 60, 40));
  c.UpdateWindow();
  EXPECT_EQ(c.paints, paints + 1);
  EXPECT_EQ(c.GetClientSurface()->CountPixels(RGB(0, 255, 0)), 60 * (40 - before.Height()));
  c.DestroyWindow();
  top.DestroyWindow();
}

// --- Context menus and the responder ------------------------------------------------------------------

class MenuOwner : public Wnd {
  UI_DECLARE_MESSAGE_MAP()

 public:
  std::vector<UINT> commands;
  int chosen = -1;
  void OnOpen() { commands.push_back(kCmdOpen); }
  void OnDisabled() { commands.push_back(kCmdDisabled); }
  void OnUpdateDisabled(CmdUI* ui) { ui->Enable(false); }
  void OnContextMenu(Wnd*, Point p) {
    Menu menu;
    ASSERT_TRUE(menu.LoadMenu(kMenuContext));
    chosen = menu.GetSubMenu(0)->TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, p.x, p.y, this);
  }
};

UI_BEGIN_MESSAGE_MAP(MenuOwner, Wnd)
  map::Command(kCmdOpen, &MenuOwner::OnOpen),
  map::Command(kCmdDisabled, &MenuOwner::OnDisabled),
  map::UpdateUI(kCmdDisabled, &MenuOwner::OnUpdateDisabled),
  map::ContextMenu(&MenuOwner::OnContextMenu),
UI_END_MESSAGE_MAP()

TEST_F(UiTest, AContextMenuIsAnsweredByTheResponderWithTheStateItsOwnerGives) {
  TopWindow top;
  ASSERT_TRUE(top.Make());
  MenuOwner owner;
  ASSERT_TRUE(owner.Create(nullptr, "", WS_CHILD | WS_VISIBLE, Rect(0, 0, 80, 80), &top, 1));
  std::vector<UINT> states;
  ScriptedResponder script(true);
  script
      .Then(ModalKind::PopupMenu,
            [&](ModalQuestion& q) {
              for (int i = 0; i < q.menu->GetMenuItemCount(); ++i) states.push_back(q.menu->GetMenuState(static_cast<UINT>(i), MF_BYPOSITION));
              return static_cast<int>(kCmdOpen);
            })
      .ThenAnswer(ModalKind::PopupMenu, kCmdDisabled);
  // A right click: WM_CONTEXTMENU comes after the button goes up.
  input::Click(&owner, {10, 10}, MK_RBUTTON);
  EXPECT_EQ(owner.chosen, static_cast<int>(kCmdOpen));
  ASSERT_EQ(states.size(), 4u);
  EXPECT_EQ(states[0] & MF_GRAYED, 0u);           // a handler: enabled
  EXPECT_NE(states[1] & MF_SEPARATOR, 0u);
  EXPECT_NE(states[2] & MF_GRAYED, 0u);           // its update handler disables it
  EXPECT_NE(states[3] & MF_GRAYED, 0u);           // no handler: disabled
  // A disabled item cannot be chosen.
  input::Click(&owner, {10, 10}, MK_RBUTTON);
  EXPECT_EQ(owner.chosen, 0);
  EXPECT_TRUE(script.Done());
  ASSERT_EQ(ModalLog().size(), 2u);
  EXPECT_EQ(ModalLog()[0].kind, ModalKind::PopupMenu);
  EXPECT_EQ(ModalLog()[0].answer, static_cast<int>(kCmdOpen));
  EXPECT_EQ(ModalLog()[1].answer, 0);

  // Without a responder nothing is chosen and nothing waits; without TPM_RETURNCMD a choice is
  // posted to the owner as a command.
  SetResponder(nullptr);
  Menu menu;
  ASSERT_TRUE(menu.LoadMenu(kMenuContext));
  EXPECT_EQ(menu.GetSubMenu(0)->TrackPopupMenu(TPM_RETURNCMD, 0, 0, &owner), 0);
  ScriptedResponder again(true);
  again.ThenAnswer(ModalKind::PopupMenu, kCmdOpen);
  EXPECT_EQ(menu.GetSubMenu(0)->TrackPopupMenu(0, 0, 0, &owner), 1);
  EXPECT_TRUE(owner.commands.empty());
  App::PumpPending();
  EXPECT_EQ(owner.commands, (std::vector<UINT>{kCmdOpen}));
  owner.DestroyWindow();
  top.DestroyWindow();
}

}  // namespace
}  // namespace uitest
