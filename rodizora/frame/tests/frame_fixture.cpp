#include "rodizora/frame/tests/frame_fixture.h"

#include <cstdlib>
#include <filesystem>

#include "platform/ui/resource.h"
#include "platform/ui/testing.h"
#include "rodizora/frame/frameresources.h"

namespace frametest {

using namespace ui;

void SaveRendering(const gdi::RasterSurface& surface, const std::string& name) {
  const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
  if (!scratch) return;
  std::error_code error;
  std::filesystem::create_directories(scratch, error);
  surface.SavePng(std::string(scratch) + "/" + name);
}

namespace {

const MenuItemResource kMainItems[] = {
    {MF_POPUP, 0, "&File"},
    {0, kCmdNew, "&New"},
    {MF_END, kCmdOpen, "&Open..."},
    {MF_SEPARATOR, 0, nullptr},  // gives no item of the bar
    {MF_POPUP, 0, "&Edit"},
    {0, kCmdCut, "Cu&t"},
    {0, kCmdCopy, "&Copy"},
    {MF_END, kCmdPaste, "&Paste"},
    {MF_POPUP, 0, "&Window"},
    {0, kCmdCascade, "&Cascade"},
    {MF_END, kCmdTile, "&Tile"},
    {MF_POPUP | MF_END, 0, "&Help"},
    {MF_END, kCmdAbout, "&About"},
};

// A document window's menu: the frame's and one of its own.
const MenuItemResource kDocItems[] = {
    {MF_POPUP, 0, "&File"},
    {MF_END, kCmdOpen, "&Open..."},
    {MF_POPUP, 0, "&Document"},
    {MF_END, kCmdDocOnly, "&Only here"},
    {MF_POPUP | MF_END, 0, "&Window"},
    {MF_END, kCmdCascade, "&Cascade"},
};

const MenuResource kMenus[] = {{kMainMenu, kMainItems}, {kDocMenu, kDocItems}};

const StringResource kTestStrings[] = {
    {kMainMenu, "Frames"},
    {kDocMenu, "\nPage\nPage"},
};

std::vector<StringResource> g_strings;
ResourceSet g_resources;

}  // namespace

UI_IMPLEMENT_DYNCREATE(TestDoc, Document)

UI_IMPLEMENT_DYNCREATE(TestView, View)
UI_BEGIN_MESSAGE_MAP(TestView, View)
  map::CommandRange(CStandardBar::kZoomCommandFirst, CStandardBar::kZoomCommandLast, &TestView::OnZoom),
UI_END_MESSAGE_MAP()

int TestView::GetZoom() const {
  const auto* doc = dynamic_cast<const TestDoc*>(GetDocument());
  return doc ? doc->m_zoom : -1;
}

UI_BEGIN_MESSAGE_MAP(TestMainFrame, MDIFrameWnd)
  map::Create(&TestMainFrame::OnCreate),
  map::CommandRange(kCmdNew, kCmdAbout, &TestMainFrame::OnMenuCommand),
  map::CommandRange(kCmdDocOnly, kCmdDocOnly, &TestMainFrame::OnMenuCommand),
UI_END_MESSAGE_MAP()

int TestMainFrame::OnCreate(CREATESTRUCT* cs) {
  if (MDIFrameWnd::OnCreate(cs) == -1) return -1;
  // What the main frame's creation does for its bars.
  constexpr DWORD kMenuBarStyle = 0x50402804, kStandardBarStyle = 0x5000282C;
  if (!m_menuBar.Create(this, kMenuBarStyle, CMenuBar::kBarId)) return -1;
  m_menuBar.SetOwner(this);
  if (!m_menuBar.EnableDocking(CBRS_ALIGN_ANY)) return -1;
  EnableDocking(CBRS_ALIGN_ANY);
  DockControlBar(&m_menuBar);
  m_menuBar.SetWindowText("Menu");
  if (!m_standardBar.Create(this, kStandardBarStyle, CStandardBar::kBarId)) return -1;
  m_standardBar.EnableDocking(CBRS_ALIGN_ANY);
  DockControlBar(&m_standardBar);
  return 0;
}

bool TestMainFrame::Make(int width, int height) {
  if (!m_menuEx.LoadMenu(kMainMenu)) return false;
  if (!LoadFrame(kMainMenu, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) return false;
  SetMenu(nullptr);  // the menu lives in the bar only
  MoveWindow(0, 0, width, height);
  ShowWindow(SW_SHOW);
  return true;
}

bool TestMainFrame::PreTranslateMessage(MSG* msg) {
  if (m_menuBar.TranslateMenuKey(msg)) return true;
  return MDIFrameWnd::PreTranslateMessage(msg);
}

void FrameTest::SetUpTestSuite() {
  g_strings.assign(rodizora_frame::FrameStrings().begin(), rodizora_frame::FrameStrings().end());
  g_strings.insert(g_strings.end(), std::begin(kTestStrings), std::end(kTestStrings));
  g_resources.moduleName = "frametest";
  g_resources.strings = g_strings;
  g_resources.menus = kMenus;
  g_resources.toolbars = rodizora_frame::FrameToolbars();
  g_resources.bitmaps = rodizora_frame::FrameBitmaps();
  SetAppResources(&g_resources);
}

namespace {
App& TheApp() {
  static App app("Frames");
  return app;
}
DocTemplate* g_template = nullptr;
}  // namespace

void FrameTest::SetUp() {
  TheApp();
  ui::testing::Reset();
  if (!g_template) {
    g_template = new MultiDocTemplate(kDocMenu, UI_RUNTIME_CLASS(TestDoc), UI_RUNTIME_CLASS(CSaFrame), UI_RUNTIME_CLASS(TestView));
    TheApp().AddDocTemplate(g_template);
  }
  ASSERT_TRUE(frame.Make());
  TheApp().m_pMainWnd = &frame;
  App::PumpPending();
}

void FrameTest::TearDown() {
  TheApp().m_pMainWnd = nullptr;
  frame.DestroyWindow();
  App::PumpPending();
  EXPECT_TRUE(ui::testing::LiveWindows().empty());
}

CSaFrame* FrameTest::OpenDocument(const std::string& title, int zoom) {
  auto* doc = dynamic_cast<TestDoc*>(g_template->OpenDocumentFile({}));
  if (!doc || doc->GetViews().empty()) return nullptr;
  doc->m_zoom = zoom;
  doc->SetTitle(title);
  auto* child = dynamic_cast<CSaFrame*>(doc->GetViews().front()->GetParentFrame());
  if (child) {
    child->OnUpdateFrameTitle(true);
    child->UpdateRulers();
  }
  docs.push_back(doc);
  return child;
}

}  // namespace frametest
