// Frames, the command route, accelerators, menus and bars; documents, views and templates;
// multiple-document frames; the clipboard.
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/ui/bars.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/docview.h"
#include "platform/ui/input.h"
#include "platform/ui/responder.h"
#include "platform/ui/controls.h"
#include "platform/ui/internal/wndaccess.h"
#include "platform/ui/metrics.h"
#include "platform/ui/tests/ui_fixture.h"

namespace uitest {
namespace {

constexpr UINT kAll = 41000, kDocFrame = 41001, kAppOnly = 41002, kFrameOnly = 41003, kViewOnly = 41004;

std::vector<std::string>* g_route = nullptr;
void Took(const char* who) {
  if (g_route) g_route->push_back(who);
}

class RouteApp : public App {
  UI_DECLARE_MESSAGE_MAP()

 public:
  RouteApp() : App("KEDRUS Test") {}
  void OnAll() { Took("app"); }
  void OnAppOnly() { Took("app"); }
};
UI_BEGIN_MESSAGE_MAP(RouteApp, App)
  map::Command(kAll, &RouteApp::OnAll),
  map::Command(kAppOnly, &RouteApp::OnAppOnly),
UI_END_MESSAGE_MAP()

class TestDoc : public Document {
  UI_DECLARE_DYNCREATE(TestDoc)
  UI_DECLARE_MESSAGE_MAP()

 public:
  std::string payload;
  int value = 0;
  void OnAll() { Took("document"); }
  void OnDocFrame() { Took("document"); }
  void Serialize(plat::Archive& ar) override {
    if (ar.isStoring()) {
      ar.writeString(payload);
      ar.writeI32(value);
    } else {
      payload = ar.readString();
      value = ar.readI32();
    }
  }
};
UI_IMPLEMENT_DYNCREATE(TestDoc, Document)
UI_BEGIN_MESSAGE_MAP(TestDoc, Document)
  map::Command(kAll, &TestDoc::OnAll),
  map::Command(kDocFrame, &TestDoc::OnDocFrame),
UI_END_MESSAGE_MAP()

class TestView : public ScrollView {
  UI_DECLARE_DYNCREATE(TestView)
  UI_DECLARE_MESSAGE_MAP()

 public:
  int draws = 0;
  Point origin;
  void OnAll() { Took("view"); }
  void OnViewOnly() { Took("view"); }
  void OnInitialUpdate() override {
    SetScrollSizes(gdi::MM_TEXT, {2000, 1500}, {200, 150}, {20, 15});
    ScrollView::OnInitialUpdate();
  }
  void OnDraw(gdi::DC* dc) override {
    ++draws;
    origin = dc->GetViewportOrg();
  }
};
UI_IMPLEMENT_DYNCREATE(TestView, ScrollView)
UI_BEGIN_MESSAGE_MAP(TestView, ScrollView)
  map::Command(kAll, &TestView::OnAll),
  map::Command(kViewOnly, &TestView::OnViewOnly),
UI_END_MESSAGE_MAP()

class TestFrame : public FrameWnd {
  UI_DECLARE_DYNCREATE(TestFrame)
  UI_DECLARE_MESSAGE_MAP()

 public:
  int opens = 0, saves = 0, disabledRuns = 0, checks = 0;
  bool checkOn = false;
  bool saveEnabled = true;
  void OnAll() { Took("frame"); }
  void OnDocFrame() { Took("frame"); }
  void OnFrameOnly() { Took("frame"); }
  void OnOpen() { ++opens; }
  void OnSave() { ++saves; }
  void OnDisabled() { ++disabledRuns; }
  void OnCheck() {
    ++checks;
    checkOn = !checkOn;
  }
  void OnUpdateSave(CmdUI* ui) { ui->Enable(saveEnabled); }
  void OnUpdateDisabled(CmdUI* ui) { ui->Enable(false); }
  void OnUpdateCheck(CmdUI* ui) { ui->SetCheck(checkOn); }
};
UI_IMPLEMENT_DYNCREATE(TestFrame, FrameWnd)
UI_BEGIN_MESSAGE_MAP(TestFrame, FrameWnd)
  map::Command(kAll, &TestFrame::OnAll),
  map::Command(kDocFrame, &TestFrame::OnDocFrame),
  map::Command(kFrameOnly, &TestFrame::OnFrameOnly),
  map::Command(kCmdOpen, &TestFrame::OnOpen),
  map::Command(kCmdSave, &TestFrame::OnSave),
  map::Command(kCmdDisabled, &TestFrame::OnDisabled),
  map::Command(kCmdCheck, &TestFrame::OnCheck),
  map::UpdateUI(kCmdSave, &TestFrame::OnUpdateSave),
  map::UpdateUI(kCmdDisabled, &TestFrame::OnUpdateDisabled),
  map::UpdateUI(kCmdCheck, &TestFrame::OnUpdateCheck),
UI_END_MESSAGE_MAP()

class FrameTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    g_route = &route;
  }
  void TearDown() override {
    g_route = nullptr;
    UiTest::TearDown();
  }
  std::vector<std::string> route;

  // A shown multiple-document main frame of the test resources, the application's main window,
  // with the test template added.
  static MDIFrameWnd* MakeMdiMain(App& app) {
    auto* main = new MDIFrameWnd;
    if (!main->LoadFrame(kMenuFrame)) {
      delete main;
      return nullptr;
    }
    app.m_pMainWnd = main;
    main->ShowWindow(SW_SHOW);
    app.AddDocTemplate(new MultiDocTemplate(kMenuFrame, UI_RUNTIME_CLASS(TestDoc), UI_RUNTIME_CLASS(MDIChildWnd),
                                            UI_RUNTIME_CLASS(TestView)));
    return main;
  }
  static Document* OpenTestDocument(App& app) { return app.GetDocTemplates().front()->OpenDocumentFile({}); }
};

TEST_F(FrameTest, CommandsRouteViewDocumentFrameApplicationAndTheEnableRuleFollowsIt) {
  RouteApp app;
  auto* tmpl = new SingleDocTemplate(kMenuFrame, UI_RUNTIME_CLASS(TestDoc), UI_RUNTIME_CLASS(TestFrame), UI_RUNTIME_CLASS(TestView));
  app.AddDocTemplate(tmpl);
  auto* doc = dynamic_cast<TestDoc*>(tmpl->OpenDocumentFile({}));
  ASSERT_NE(doc, nullptr);
  auto* frame = dynamic_cast<TestFrame*>(app.GetMainWnd());
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(frame->GetActiveView(), nullptr);
  EXPECT_EQ(frame->GetActiveDocument(), doc);
  EXPECT_EQ(doc->GetTitle(), "Doc");

  for (UINT id : {kAll, kDocFrame, kFrameOnly, kAppOnly, kViewOnly}) frame->SendMessage(WM_COMMAND, id);
  EXPECT_EQ(route, (std::vector<std::string>{"view", "document", "frame", "app", "view"}));
  // Enabled where some target of the route handles the command, disabled where none does.
  for (UINT id : {kAll, kDocFrame, kFrameOnly, kAppOnly, kViewOnly}) EXPECT_TRUE(QueryCommandState(frame, id).enabled) << id;
  EXPECT_FALSE(QueryCommandState(frame, kCmdNoHandler).enabled);
  EXPECT_FALSE(QueryCommandState(frame, kCmdDisabled).enabled);
  EXPECT_TRUE(QueryCommandState(frame, kCmdDisabled).updateHandled);

  // The application's exit closes the main window (nothing is modified: no question).
  frame->SendMessage(WM_COMMAND, ID_APP_EXIT);
  EXPECT_EQ(app.GetMainWnd(), nullptr);
  EXPECT_TRUE(ModalLog().empty());
}

TEST_F(FrameTest, AcceleratorsAndTheMenuBarSendCommandsTheirUpdateRulesAllow) {
  auto* frame = new TestFrame;
  ASSERT_TRUE(frame->LoadFrame(kMenuFrame));
  frame->ShowWindow(SW_SHOW);
  EXPECT_EQ(frame->GetWindowText(), "Test Frame");
  ASSERT_NE(frame->GetMenu(), nullptr);
  frame->SetFocus();
  input::Key('O', input::kControl);
  input::Key(VK_F5);
  EXPECT_EQ(frame->opens, 1);
  EXPECT_EQ(frame->saves, 1);
  input::Key(VK_F6, input::kShift);  // its update handler disables it
  EXPECT_EQ(frame->disabledRuns, 0);
  input::Key('O');                   // no accelerator without Ctrl
  EXPECT_EQ(frame->opens, 1);

  EXPECT_TRUE(input::ChooseMenuCommand(frame, kCmdOpen));
  App::PumpPending();
  EXPECT_EQ(frame->opens, 2);
  EXPECT_FALSE(input::ChooseMenuCommand(frame, kCmdNoHandler));  // no handler: grey
  frame->saveEnabled = false;
  EXPECT_FALSE(input::ChooseMenuCommand(frame, kCmdSave));
  EXPECT_EQ(frame->GetMenu()->GetMenuState(kCmdSave, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
  frame->DestroyWindow();
}

TEST_F(FrameTest, ToolbarsAndTheStatusBarFollowTheirCommandsOnIdle) {
  auto* frame = new TestFrame;
  ASSERT_TRUE(frame->Create(nullptr, "Bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, Rect(0, 0, 640, 480)));
  frame->EnableDocking(CBRS_ALIGN_ANY);
  ToolBar bar;
  ASSERT_TRUE(bar.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS, Rect(), kToolbarMain));
  ASSERT_TRUE(bar.LoadToolBar(kToolbarMain));
  bar.EnableDocking(CBRS_ALIGN_ANY);
  frame->DockControlBar(&bar);
  StatusBar status;
  ASSERT_TRUE(status.Create(frame));
  const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
  status.SetIndicators(indicators, 3);
  frame->RecalcLayout();

  EXPECT_EQ(bar.GetCount(), 4);
  EXPECT_EQ(bar.GetButtonSize(), (Size{23, 22}));
  Rect sep;
  bar.GetItemRect(1, &sep);
  EXPECT_EQ(sep.Width(), 8);

  frame->saveEnabled = false;
  App::PumpPending();
  EXPECT_EQ(bar.GetButtonStyle(0) & TBBS_DISABLED, 0u);   // a handler
  EXPECT_NE(bar.GetButtonStyle(2) & TBBS_DISABLED, 0u);   // its update disables it
  EXPECT_EQ(bar.GetButtonStyle(3) & TBBS_CHECKED, 0u);
  frame->checkOn = true;
  frame->saveEnabled = true;
  App::PumpPending();
  EXPECT_NE(bar.GetButtonStyle(3) & TBBS_CHECKED, 0u);
  EXPECT_EQ(bar.GetButtonStyle(2) & TBBS_DISABLED, 0u);

  // A click on a button is the command; its tip is its string's second line.
  Rect open;
  bar.GetItemRect(0, &open);
  input::Click(&bar, open.CenterPoint());
  App::PumpPending();
  EXPECT_EQ(frame->opens, 1);
  EXPECT_EQ(input::Hover(&bar, open.CenterPoint()), "Open");
  bar.UpdateWindow();
  Rect icon;
  bar.GetItemRect(0, &icon);
  EXPECT_GT(bar.GetClientSurface()->CountPixels(RGB(255, 0, 0), &icon), 40);  // its image, red

  // The indicators show while their key is toggled; the message line takes text.
  EXPECT_EQ(status.GetPaneStyle(1) & SBPS_DISABLED, SBPS_DISABLED);
  input::Key(VK_CAPITAL);
  App::PumpPending();
  EXPECT_EQ(status.GetPaneStyle(1) & SBPS_DISABLED, 0u);
  EXPECT_EQ(status.GetPaneText(1), "CAP");
  frame->SetMessageText("Ready");
  EXPECT_EQ(status.GetPaneText(0), "Ready");
  input::Key(VK_CAPITAL);
  // The layout: the bar at the top, the status bar at the bottom.
  Rect inside, client;
  frame->GetInsideClientRect(&inside);
  frame->GetClientRect(&client);
  Rect barRect, statusRect;
  bar.GetWindowRect(&barRect);
  status.GetWindowRect(&statusRect);
  EXPECT_EQ(inside.top, barRect.Height());
  EXPECT_EQ(inside.bottom, client.bottom - statusRect.Height());
  frame->DestroyWindow();
}

TEST_F(FrameTest, TheStatusLineShowsTheIdlePromptAndTheHelpOfWhatThePointerIsOn) {
  auto* frame = new TestFrame;
  ASSERT_TRUE(frame->Create(nullptr, "Bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, Rect(0, 0, 640, 480)));
  ToolBar bar;
  ASSERT_TRUE(bar.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_FLYBY, Rect(), kToolbarMain));
  ASSERT_TRUE(bar.LoadToolBar(kToolbarMain));
  StatusBar status;
  ASSERT_TRUE(status.Create(frame));
  const UINT indicators[] = {ID_SEPARATOR};
  status.SetIndicators(indicators, 1);
  frame->RecalcLayout();
  const std::string idle = GetSubString(LoadString(AFX_IDS_IDLEMESSAGE), 0);
  status.SetPaneText(0, "something else");
  App::PumpPending();
  EXPECT_EQ(status.GetPaneText(0), idle);
  // A menu item the pointer is on, then the menu closed.
  frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(kCmdOpen, 0), 0);
  EXPECT_EQ(status.GetPaneText(0), "Opens a file");
  frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP), 0);
  EXPECT_EQ(status.GetPaneText(0), "");
  frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_EQ(status.GetPaneText(0), idle);
  // A button of a bar with fly-by help; off it, the idle prompt again.
  Rect open;
  bar.GetItemRect(0, &open);
  input::MouseMove(&bar, open.CenterPoint());
  EXPECT_EQ(status.GetPaneText(0), "Opens a file");
  Rect separator;
  bar.GetItemRect(1, &separator);
  input::MouseMove(&bar, separator.CenterPoint());
  EXPECT_EQ(status.GetPaneText(0), idle);
  frame->DestroyWindow();
}

TEST_F(FrameTest, DocumentsOpenAndSaveThroughTheirArchiveAndAskBeforeLosingChanges) {
  RouteApp app;
  auto* tmpl = new MultiDocTemplate(kMenuFrame, UI_RUNTIME_CLASS(TestDoc), UI_RUNTIME_CLASS(TestFrame), UI_RUNTIME_CLASS(TestView));
  app.AddDocTemplate(tmpl);
  const std::string dir = plat::joinPath(std::getenv("KEDRUS_TEST_SCRATCH") ? std::getenv("KEDRUS_TEST_SCRATCH") : "/tmp", "docs");
  ASSERT_TRUE(plat::makeDirectories(dir));
  const std::string path = plat::joinPath(dir, "page.tst");

  auto* doc = dynamic_cast<TestDoc*>(tmpl->OpenDocumentFile({}));
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->GetTitle(), "Doc1");
  doc->payload = "peaks";
  doc->value = 42;
  ASSERT_TRUE(doc->DoSave(path));
  EXPECT_EQ(doc->GetTitle(), "page.tst");
  EXPECT_FALSE(doc->IsModified());
  // The same path opens the open document; a template's extension makes it native.
  Document* match = nullptr;
  EXPECT_EQ(tmpl->MatchDocType(path, match), DocTemplate::yesAlreadyOpen);
  EXPECT_EQ(app.OpenDocumentFile(path), doc);
  EXPECT_EQ(tmpl->MatchDocType(plat::joinPath(dir, "other.TST"), match), DocTemplate::yesAttemptNative);
  EXPECT_EQ(tmpl->MatchDocType(plat::joinPath(dir, "other.dx"), match), DocTemplate::yesAttemptForeign);

  // Closing a modified document asks; Cancel keeps it, No lets it go.
  doc->SetModifiedFlag();
  ScriptedResponder script(true);
  script.ThenAnswer(ModalKind::MessageBox, IDCANCEL).ThenAnswer(ModalKind::MessageBox, IDNO);
  FrameWnd* frame = doc->GetViews().front()->GetParentFrame();
  frame->SendMessage(WM_CLOSE);
  ASSERT_TRUE(frame->IsWindow());
  frame->SendMessage(WM_CLOSE);
  EXPECT_TRUE(tmpl->GetDocuments().empty());
  EXPECT_TRUE(script.Done());

  auto* again = dynamic_cast<TestDoc*>(app.OpenDocumentFile(path));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->payload, "peaks");
  EXPECT_EQ(again->value, 42);
  // A file that is not one of ours fails cleanly and leaves no frame.
  const std::string bad = plat::joinPath(dir, "bad.tst");
  ASSERT_TRUE(plat::writeFileAtomic(bad, std::string("\x05" "ab", 3)));
  const auto windows = ui::testing::LiveWindows().size();
  EXPECT_EQ(app.OpenDocumentFile(bad), nullptr);
  EXPECT_EQ(ui::testing::LiveWindows().size(), windows);
  EXPECT_EQ(ModalLog().back().text, "Unexpected file format.");
  app.CloseAllDocuments(false);
  EXPECT_TRUE(tmpl->GetDocuments().empty());
}

TEST_F(FrameTest, AScrollViewMovesItsOriginAndKeepsThePositionInRange) {
  RouteApp app;
  auto* tmpl = new SingleDocTemplate(kMenuFrame, UI_RUNTIME_CLASS(TestDoc), UI_RUNTIME_CLASS(TestFrame), UI_RUNTIME_CLASS(TestView));
  app.AddDocTemplate(tmpl);
  ASSERT_NE(tmpl->OpenDocumentFile({}), nullptr);
  auto* frame = dynamic_cast<FrameWnd*>(app.GetMainWnd());
  auto* view = dynamic_cast<TestView*>(frame->GetActiveView());
  ASSERT_NE(view, nullptr);
  EXPECT_NE(view->GetStyle() & WS_VSCROLL, 0u);  // 1500 does not fit
  view->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
  view->SendMessage(WM_HSCROLL, SB_LINEDOWN);
  EXPECT_EQ(view->GetScrollPosition(), (Point{20, 150}));
  EXPECT_EQ(view->GetScrollPos(SB_VERT), 150);
  view->ScrollToPosition({5000, 5000});
  Rect client;
  view->GetClientRect(&client);
  EXPECT_EQ(view->GetScrollPosition(), (Point{2000 - client.Width(), 1500 - client.Height()}));
  view->Invalidate();
  view->UpdateWindow();
  EXPECT_EQ(view->origin, (Point{-(2000 - client.Width()), -(1500 - client.Height())}));
  frame->DestroyWindow();
}

TEST_F(FrameTest, MdiChildrenCycleAndTheActiveOneTakesTheCommands) {
  RouteApp app;
  auto* main = new MDIFrameWnd;
  ASSERT_TRUE(main->LoadFrame(kMenuFrame));
  app.m_pMainWnd = main;
  main->ShowWindow(SW_SHOW);
  auto* tmpl = new MultiDocTemplate(kMenuFrame, UI_RUNTIME_CLASS(TestDoc), UI_RUNTIME_CLASS(MDIChildWnd), UI_RUNTIME_CLASS(TestView));
  app.AddDocTemplate(tmpl);
  Document* d1 = tmpl->OpenDocumentFile({});
  Document* d2 = tmpl->OpenDocumentFile({});
  Document* d3 = tmpl->OpenDocumentFile({});
  ASSERT_TRUE(d1 && d2 && d3);
  auto frameOf = [](Document* d) { return d->GetViews().front()->GetParentFrame(); };
  EXPECT_EQ(main->MDIGetActive(), frameOf(d3));
  EXPECT_EQ(main->GetActiveDocument(), d3);
  main->MDINext(false);
  EXPECT_EQ(main->MDIGetActive(), frameOf(d2));
  main->MDINext(true);
  EXPECT_EQ(main->MDIGetActive(), frameOf(d3));
  // The message the product sends to the MDI client.
  main->GetMDIClient()->SendMessage(WM_MDINEXT, 0, 1);
  EXPECT_EQ(main->MDIGetActive(), frameOf(d1));
  // The window menu lists the children, the active one checked.
  Menu* window = main->GetActiveMenu()->GetSubMenu(1);
  ASSERT_NE(window, nullptr);
  int listed = 0;
  for (int i = 0; i < window->GetMenuItemCount(); ++i)
    if (window->GetMenuItemID(i) >= AFX_IDM_FIRST_MDICHILD && window->GetMenuItemID(i) < AFX_IDM_FIRST_MDICHILD + 9) {
      ++listed;
      if (window->GetMenuString(static_cast<UINT>(i), MF_BYPOSITION).find("Doc1") != std::string::npos) {
        EXPECT_NE(window->GetMenuState(static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED, 0u);
      }
    }
  EXPECT_EQ(listed, 3);
  route.clear();
  main->SendMessage(WM_COMMAND, kViewOnly);
  EXPECT_EQ(route, (std::vector<std::string>{"view"}));
  // A maximised child fills the client; the next active one takes its place maximised.
  auto* child = dynamic_cast<MDIChildWnd*>(frameOf(d1));
  child->MDIMaximize();
  Rect c, clientArea;
  child->GetWindowRect(&c);
  main->GetMDIClient()->GetClientRect(&clientArea);
  EXPECT_EQ(c.Width(), clientArea.Width());
  child->SendMessage(WM_CLOSE);
  bool maximized = false;
  EXPECT_NE(main->MDIGetActive(&maximized), nullptr);
  EXPECT_TRUE(maximized);
  main->SendMessage(WM_CLOSE);
  EXPECT_EQ(app.GetMainWnd(), nullptr);
}

TEST_F(FrameTest, TheActiveDocumentsKeysWorkWhereverTheMainFrameHasTheInput) {
  RouteApp app;
  MDIFrameWnd* main = MakeMdiMain(app);
  ASSERT_TRUE(main);
  main->m_accelTable = AccelTable();
  Document* doc = OpenTestDocument(app);
  ASSERT_TRUE(doc);
  auto* child = dynamic_cast<MDIChildWnd*>(doc->GetViews().front()->GetParentFrame());
  child->m_accelTable = AccelTable(std::vector<ACCEL>{{FVIRTKEY | FCONTROL, 'Q', kViewOnly}});
  // The keys reach the main frame itself (nothing inside the document window has the focus).
  main->SetFocus();
  input::Key('Q', input::kControl);
  EXPECT_EQ(route, (std::vector<std::string>{"view"}));
  // From the view they go the child's way once.
  route.clear();
  doc->GetViews().front()->SetFocus();
  input::Key('Q', input::kControl);
  EXPECT_EQ(route, (std::vector<std::string>{"view"}));
  // A key handed on to a window outside the document window by a hook while Control was down,
  // and delivered after it came up (the bars' edits get the letters typed in a frame so), meets
  // the keys as they were: still Ctrl+Q.
  route.clear();
  Probe edit;
  ASSERT_TRUE(edit.Make(main, Rect(0, 0, 40, 20), 77));
  input::KeyDown(VK_CONTROL);
  edit.PostMessage(WM_KEYDOWN, 'Q', 0);
  input::KeyUp(VK_CONTROL);
  App::PumpPending();
  EXPECT_EQ(route, (std::vector<std::string>{"view"}));
  EXPECT_EQ(edit.Count(WM_KEYDOWN), 0);
  // Without a key of that combination it reaches the window, with its control character.
  route.clear();
  input::KeyDown(VK_CONTROL);
  edit.PostMessage(WM_KEYDOWN, 'W', 0);
  input::KeyUp(VK_CONTROL);
  App::PumpPending();
  EXPECT_TRUE(route.empty());
  ASSERT_NE(edit.Last(WM_CHAR), nullptr);
  EXPECT_EQ(edit.Last(WM_CHAR)->wParam, WPARAM{'W' - 'A' + 1});
  EXPECT_GE(GetKeyState(VK_CONTROL), 0);
  main->SendMessage(WM_CLOSE);
}

TEST_F(FrameTest, AComboBoxOnABarGivesTheFocusBackToTheViewAfterAChoiceOrReturn) {
  RouteApp app;
  MDIFrameWnd* main = MakeMdiMain(app);
  ASSERT_TRUE(main);
  main->EnableDocking(CBRS_ALIGN_ANY);
  ToolBar bar;
  ASSERT_TRUE(bar.Create(main, WS_CHILD | WS_VISIBLE | CBRS_TOP, kToolbarMain));
  ASSERT_TRUE(bar.LoadToolBar(kToolbarMain));
  bar.EnableDocking(CBRS_ALIGN_ANY);
  main->DockControlBar(&bar);
  ComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, Rect(100, 0, 200, 200), &bar, 1500));
  combo.AddString("100%");
  combo.AddString("50%");
  Document* doc = OpenTestDocument(app);
  ASSERT_TRUE(doc);
  View* view = doc->GetViews().front();
  // Return in the combo.
  combo.SetFocus();
  input::Key(VK_RETURN);
  EXPECT_EQ(Wnd::GetFocus(), view);
  // A choice from its list: the list closes.
  combo.SetFocus();
  combo.ShowDropDown(true);
  combo.SetCurSel(1);
  combo.ShowDropDown(false);
  EXPECT_EQ(Wnd::GetFocus(), view);
  // Other keys stay in the combo.
  combo.SetFocus();
  input::Key(VK_DOWN);
  EXPECT_EQ(Wnd::GetFocus(), &combo);
  combo.DestroyWindow();
  main->SendMessage(WM_CLOSE);
}

TEST_F(FrameTest, EscapeInAMultiLineEditOnABarReachesTheActiveDocumentsKeys) {
  RouteApp app;
  MDIFrameWnd* main = MakeMdiMain(app);
  ASSERT_TRUE(main);
  main->EnableDocking(CBRS_ALIGN_ANY);
  ToolBar bar;
  ASSERT_TRUE(bar.Create(main, WS_CHILD | WS_VISIBLE | CBRS_TOP, kToolbarMain));
  ASSERT_TRUE(bar.LoadToolBar(kToolbarMain));
  bar.EnableDocking(CBRS_ALIGN_ANY);
  main->DockControlBar(&bar);
  Document* doc = OpenTestDocument(app);
  ASSERT_TRUE(doc);
  auto* child = dynamic_cast<MDIChildWnd*>(doc->GetViews().front()->GetParentFrame());
  child->m_accelTable = AccelTable(std::vector<ACCEL>{{FVIRTKEY, VK_ESCAPE, kViewOnly}});
  // A console: its Escape is the document's (which gives the page back from an active object).
  Edit console;
  ASSERT_TRUE(console.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, Rect(100, 0, 200, 20), &bar, 1501));
  console.SetFocus();
  input::Key(VK_ESCAPE);
  EXPECT_EQ(route, (std::vector<std::string>{"view"}));
  // A one-line field gives the focus back to the view instead.
  route.clear();
  Edit field;
  ASSERT_TRUE(field.Create(WS_CHILD | WS_VISIBLE, Rect(200, 0, 260, 20), &bar, 1502));
  field.SetFocus();
  input::Key(VK_ESCAPE);
  EXPECT_TRUE(route.empty());
  EXPECT_EQ(Wnd::GetFocus(), doc->GetViews().front());
  console.DestroyWindow();
  field.DestroyWindow();
  main->SendMessage(WM_CLOSE);
}

TEST_F(FrameTest, WindowsLeftToTheLayerAreLargeAndDocumentWindowsWorkByTheirCaptionButtons) {
  RouteApp app;
  MDIFrameWnd* main = MakeMdiMain(app);
  ASSERT_TRUE(main);
  // The default place is most of the work area (the fixed 1920 x 1080 screen here), centred.
  Rect frame;
  main->GetWindowRect(&frame);
  const Rect work = GetWorkArea();
  EXPECT_EQ(frame.Width(), work.Width() * 7 / 8);
  EXPECT_EQ(frame.Height(), work.Height() * 7 / 8);
  EXPECT_EQ(frame.left, work.left + (work.Width() - frame.Width()) / 2);
  Document* doc = OpenTestDocument(app);
  ASSERT_TRUE(doc);
  auto* child = dynamic_cast<MDIChildWnd*>(doc->GetViews().front()->GetParentFrame());
  ASSERT_TRUE(child);
  // A document window fills the client area less the cascade.
  Rect client, rect;
  main->GetMDIClient()->GetClientRect(&client);
  child->GetWindowRect(&rect);
  main->GetMDIClient()->ScreenToClient(&rect);
  EXPECT_EQ(rect, Rect(0, 0, client.right - 20, client.bottom - 20));

  // The caption's buttons from its right end: close, maximise, minimise.
  WndImpl* impl = WndAccess::Impl(child);
  const int y = 4 + 9;
  const int right = rect.Width() - 4 - 2;
  EXPECT_EQ(WndAccess::NonClientHitTest(impl, {right - 8, y}), HTCLOSE);
  EXPECT_EQ(WndAccess::NonClientHitTest(impl, {right - 18 - 8, y}), HTMAXBUTTON);
  EXPECT_EQ(WndAccess::NonClientHitTest(impl, {right - 34 - 8, y}), HTMINBUTTON);
  EXPECT_EQ(WndAccess::NonClientHitTest(impl, {60, y}), HTCAPTION);
  EXPECT_EQ(WndAccess::NonClientHitTest(impl, {60, 60}), HTCLIENT);

  child->SendMessage(WM_NCLBUTTONDOWN, HTMAXBUTTON, 0);
  EXPECT_TRUE(child->IsMaximized());
  child->SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(child->IsMaximized());
  child->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  EXPECT_TRUE(child->IsMaximized());
  // Minimised from maximised: only the caption, at the bottom of the client area.
  child->SendMessage(WM_NCLBUTTONDOWN, HTMINBUTTON, 0);
  EXPECT_TRUE(child->IsMinimized());
  EXPECT_FALSE(child->IsMaximized());
  Rect small;
  child->GetWindowRect(&small);
  main->GetMDIClient()->ScreenToClient(&small);
  EXPECT_EQ(small.bottom, client.bottom);
  EXPECT_EQ(small.Height(), impl->insets.top + impl->insets.bottom);
  child->SendMessage(WM_NCLBUTTONDOWN, HTMINBUTTON, 0);
  EXPECT_FALSE(child->IsMinimized());
  child->GetWindowRect(&small);
  main->GetMDIClient()->ScreenToClient(&small);
  EXPECT_EQ(small, rect);
  child->SendMessage(WM_NCLBUTTONDOWN, HTCLOSE, 0);
  EXPECT_EQ(main->MDIGetActive(), nullptr);
  main->SendMessage(WM_CLOSE);
}

TEST_F(FrameTest, TheMdiClientScrollsToDocumentWindowsThatExtendPastIt) {
  RouteApp app;
  MDIFrameWnd* main = MakeMdiMain(app);
  ASSERT_TRUE(main);
  Document* doc = OpenTestDocument(app);
  ASSERT_TRUE(doc);
  auto* child = dynamic_cast<MDIChildWnd*>(doc->GetViews().front()->GetParentFrame());
  ASSERT_TRUE(child);
  Wnd* client = main->GetMDIClient();
  auto bars = [&] { return client->GetStyle() & (WS_HSCROLL | WS_VSCROLL); };
  auto placed = [&] {
    Rect r;
    child->GetWindowRect(&r);
    client->ScreenToClient(&r);
    return r;
  };
  main->RecalcLayout();
  // All inside: no bars.
  EXPECT_EQ(bars(), 0u);
  Rect area;
  client->GetClientRect(&area);
  const Rect inside = placed();

  // The area shrinks under the window (an object active in place takes border space at the
  // top): its bottom is past the area, and a vertical bar reaches it.
  main->m_rectBorder = Rect(0, 215, 0, 0);
  main->RecalcLayout();
  EXPECT_EQ(bars(), DWORD{WS_VSCROLL});
  Rect shrunk;
  client->GetClientRect(&shrunk);
  EXPECT_EQ(shrunk.Height(), area.Height() - 215);
  SCROLLINFO si;
  ASSERT_TRUE(client->GetScrollInfo(SB_VERT, &si));
  EXPECT_EQ(si.nMin, 0);
  EXPECT_EQ(si.nMax, inside.bottom - 1);
  EXPECT_EQ(si.nPage, static_cast<UINT>(shrunk.Height()));
  EXPECT_EQ(si.nPos, 0);
  // Scrolling moves the children; the range follows so that the view stays at 0.
  client->SendMessage(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(placed().bottom, shrunk.bottom);
  EXPECT_EQ(placed().Height(), inside.Height());
  ASSERT_TRUE(client->GetScrollInfo(SB_VERT, &si));
  EXPECT_EQ(si.nMin, shrunk.bottom - inside.bottom);
  EXPECT_EQ(si.nPos, 0);
  client->SendMessage(WM_VSCROLL, SB_LINEUP);
  EXPECT_EQ(placed().bottom, shrunk.bottom + GetSystemMetrics(SM_CYHSCROLL));
  client->SendMessage(WM_VSCROLL, SB_TOP);
  EXPECT_EQ(placed(), inside);
  // Scrolling past either end stops there.
  client->SendMessage(WM_VSCROLL, SB_PAGEUP);
  EXPECT_EQ(placed(), inside);

  // Wider than the area too: both bars, and the horizontal one moves it sideways.
  child->MoveWindow(30, 0, shrunk.Width() + 100, inside.Height());
  EXPECT_EQ(bars(), DWORD{WS_HSCROLL | WS_VSCROLL});
  client->GetClientRect(&shrunk);
  client->SendMessage(WM_HSCROLL, SB_BOTTOM);
  EXPECT_EQ(placed().right, shrunk.right);

  // Maximised: no bars, and it fills the whole area.
  child->MDIMaximize();
  EXPECT_EQ(bars(), 0u);
  client->GetClientRect(&area);
  EXPECT_EQ(placed(), area);
  child->MDIRestore();
  EXPECT_EQ(bars(), DWORD{WS_HSCROLL | WS_VSCROLL});

  // Back inside the area: none.
  child->MoveWindow(0, 0, 200, 150);
  EXPECT_EQ(bars(), 0u);
  // A window left of the area counts as well as one right of it.
  child->MoveWindow(-50, 0, 200, 150);
  EXPECT_EQ(bars(), DWORD{WS_HSCROLL});
  ASSERT_TRUE(client->GetScrollInfo(SB_HORZ, &si));
  EXPECT_EQ(si.nMin, -50);
  client->SendMessage(WM_HSCROLL, SB_TOP);
  EXPECT_EQ(placed().left, 0);
  EXPECT_EQ(bars(), 0u);
  main->SendMessage(WM_CLOSE);
}

TEST_F(UiTest, TheClipboardCarriesTextNamedFormatsAndPictures) {
  const UINT format = RegisterClipboardFormat("KEDRUS Rodizora Format");
  EXPECT_GE(format, 0xC000u);
  EXPECT_EQ(RegisterClipboardFormat("kedrus rodizora format"), format);
  EXPECT_EQ(GetClipboardFormatName(format), "KEDRUS Rodizora Format");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_TEXT, {'1', '.', '5', '\t', '2'});
  SetClipboardData(format, {1, 2, 3, 0, 4});
  EXPECT_TRUE(CloseClipboard());
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_TRUE(IsClipboardFormatAvailable(format));
  EXPECT_EQ(GetClipboardData(format), (std::vector<std::uint8_t>{1, 2, 3, 0, 4}));
  EXPECT_EQ(GetClipboard().GetText(), "1.5\t2");

  DataObject picture;
  gdi::DC rec = gdi::DC::CreateEnhMetaFile(nullptr, nullptr, u"KEDRUS");
  rec.Rectangle(0, 0, 100, 50);
  const gdi::EnhMetaFile emf = rec.CloseEnhMetaFile();
  picture.SetEnhMetaFile(emf);
  ASSERT_TRUE(SetClipboard(picture));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  const gdi::EnhMetaFile back = GetClipboard().GetEnhMetaFile();
  ASSERT_FALSE(back.IsNull());
  EXPECT_EQ(back.Bytes(), emf.Bytes());
}

}  // namespace
}  // namespace uitest
