// Static splitters and the modal runs of windows that are not dialogs.
#include "platform/ui/controls.h"
#include "platform/ui/modalloop.h"
#include "platform/ui/responder.h"
#include "platform/ui/splitter.h"
#include "platform/ui/tests/ui_fixture.h"

namespace uitest {
namespace {

// A parent that keeps the notifications and commands its splitter hands on.
class Host : public TopWindow {
 public:
  std::vector<int> notified;
  std::vector<UINT> commands;
  bool OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override {
    notified.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
    *result = 7;
    return true;
  }
  bool OnCommand(WPARAM wParam, LPARAM) override {
    commands.push_back(LOWORD(wParam));
    return true;
  }
};

Rect PaneRect(SplitterWnd& splitter, int row) {
  Rect r;
  splitter.GetPane(row, 0)->GetWindowRect(&r);
  splitter.ScreenToClient(&r);
  return r;
}

TEST_F(UiTest, AStaticSplitterLaysOutItsPanesAndTheUserDragsTheBar) {
  Host host;
  ASSERT_TRUE(host.Make(300, 200));
  SplitterWnd splitter;
  ASSERT_TRUE(splitter.CreateStatic(&host, 2, 1));
  EXPECT_EQ(splitter.IdFromRowCol(1, 0), AFX_IDW_PANE_FIRST + 16);
  ListCtrl top, bottom;
  ASSERT_TRUE(top.Create(WS_CHILD | WS_VISIBLE | LVS_LIST, Rect(), &splitter, splitter.IdFromRowCol(0, 0)));
  ASSERT_TRUE(bottom.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, Rect(), &splitter, splitter.IdFromRowCol(1, 0)));
  EXPECT_EQ(splitter.GetPane(0, 0), &top);
  splitter.SetRowInfo(0, 60, 10);
  splitter.MoveWindow(Rect(0, 0, 300, 200));
  EXPECT_EQ(PaneRect(splitter, 0), Rect(0, 0, 300, 60));
  EXPECT_EQ(PaneRect(splitter, 1), Rect(0, 60 + SplitterWnd::kBarSize, 300, 200));
  // A row asking for more than there is gets what there is; the last row the rest.
  splitter.SetRowInfo(0, 500, 0);
  splitter.RecalcLayout();
  EXPECT_EQ(PaneRect(splitter, 0).Height(), 200 - SplitterWnd::kBarSize);
  EXPECT_EQ(PaneRect(splitter, 1).Height(), 0);
  splitter.SetRowInfo(0, 60, 10);
  splitter.RecalcLayout();
  // Dragging the bar to y = 103 puts the bar's middle there; never above the minimum.
  const int barMiddle = 60 + SplitterWnd::kBarSize / 2;
  splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointToParam({150, barMiddle}));
  splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, PointToParam({150, 103}));
  splitter.SendMessage(WM_LBUTTONUP, 0, PointToParam({150, 103}));
  int height = 0, minimum = 0;
  ASSERT_TRUE(splitter.GetRowInfo(0, &height, &minimum));
  EXPECT_EQ(height, 103 - SplitterWnd::kBarSize / 2);
  EXPECT_EQ(minimum, 10);
  EXPECT_EQ(PaneRect(splitter, 1).top, height + SplitterWnd::kBarSize);
  splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointToParam({150, height + 1}));
  splitter.SendMessage(WM_LBUTTONUP, 0, PointToParam({150, 0}));
  splitter.GetRowInfo(0, &height, nullptr);
  EXPECT_EQ(height, 10);
  // A press inside a pane moves nothing; the panes' notifications reach the parent.
  EXPECT_FALSE(splitter.GetRowInfo(2, &height, nullptr));
  NMHDR hdr;
  hdr.hwndFrom = bottom.m_hWnd;
  hdr.idFrom = bottom.GetDlgCtrlID();
  hdr.code = NM_DBLCLK;
  EXPECT_EQ(splitter.SendMessage(WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr)), 7);
  EXPECT_EQ(host.notified, std::vector<int>{NM_DBLCLK});
  splitter.SendMessage(WM_COMMAND, MAKEWPARAM(4401, CBN_SELCHANGE), 0);
  EXPECT_EQ(host.commands, std::vector<UINT>{4401});
  host.DestroyWindow();
}

// A window that ends its modal run on IDOK and refuses it while told to.
class Runner : public TopWindow {
 public:
  ModalLoop loop;
  bool refuse = false;
  int oks = 0;
  bool OnCommand(WPARAM wParam, LPARAM) override {
    if (LOWORD(wParam) == IDOK) {
      ++oks;
      if (!refuse) loop.End(IDOK);
    }
    return true;
  }
};

TEST_F(UiTest, AWindowRunsModallyUntilItsHandlersEndTheRun) {
  TopWindow owner;
  ASSERT_TRUE(owner.Make());
  Runner runner;
  ASSERT_TRUE(runner.Make());
  runner.SetOwner(&owner);
  ScriptedResponder script(true);
  script
      .Then(ModalKind::Window,
            [&](ModalQuestion& q) {
              EXPECT_EQ(q.window, &runner);
              EXPECT_TRUE(runner.loop.IsRunning());
              EXPECT_FALSE(owner.IsWindowEnabled());
              runner.loop.End(41);
              return IDCANCEL;
            })
      .ThenAnswer(ModalKind::Window, IDOK)
      .Then(ModalKind::Window, [&](ModalQuestion&) {
        runner.refuse = true;
        return IDOK;
      });
  // The handlers' end wins over the answer.
  EXPECT_EQ(runner.loop.Run(&runner), 41);
  EXPECT_TRUE(owner.IsWindowEnabled());
  EXPECT_FALSE(runner.loop.IsRunning());
  // An answer reaches the window as its command; one it refuses cancels the run.
  EXPECT_EQ(runner.loop.Run(&runner), IDOK);
  EXPECT_EQ(runner.loop.Run(&runner), IDCANCEL);
  EXPECT_EQ(runner.oks, 2);
  ASSERT_EQ(ModalLog().size(), 3u);
  EXPECT_EQ(ModalLog()[0].kind, ModalKind::Window);
  EXPECT_EQ(ModalLog()[0].answer, 41);
  EXPECT_EQ(runner.loop.Run(nullptr), -1);
  runner.DestroyWindow();
  owner.DestroyWindow();
}

}  // namespace
}  // namespace uitest
