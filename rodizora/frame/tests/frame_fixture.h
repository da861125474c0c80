#pragma once
// The shared set-up of the frame tests: one application object, the resources (the frames' own
// and a test menu), a main frame that carries the menu bar and the standard bar as the program's
// main frame does, a document with a zoom, and a page view that implements what the child frame
// asks of it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/surface.h"
#include "platform/ui/app.h"
#include "platform/ui/bars.h"
#include "platform/ui/docview.h"
#include "rodizora/frame/menubar.h"
#include "rodizora/frame/saframe.h"
#include "rodizora/frame/standardbar.h"

namespace frametest {

// Resource ids of the test set.
enum : ui::UINT {
  kMainMenu = 150,
  kDocMenu = 151,
  kCmdNew = 57600,
  kCmdOpen = 57601,
  kCmdCut = 57635,
  kCmdCopy = 57634,
  kCmdPaste = 57637,
  kCmdAbout = 57664,
  kCmdTile = 0xE133,
  kCmdCascade = 0xE132,
  kCmdDocOnly = 40500,
};

// Writes a rendering to the test's scratch folder (to be looked at; the tests read the pixels).
void SaveRendering(const gdi::RasterSurface& surface, const std::string& name);

class TestDoc : public ui::Document {
  UI_DECLARE_DYNCREATE(TestDoc)
 public:
  int m_zoom = 100;
};

class TestView : public ui::View, public CSaFrameView {
  UI_DECLARE_DYNCREATE(TestView)
  UI_DECLARE_MESSAGE_MAP()
 public:
  int GetZoom() const override;
  void OnFrameActivate(bool active) override { activations.push_back(active); }
  void OnZoom(ui::UINT id) { zoomCommands.push_back(id); }
  std::vector<bool> activations;
  std::vector<ui::UINT> zoomCommands;
};

// The program's main frame in small: the owner-drawn menu bar in place of a menu line, the
// standard bar below it, the commands of the test menu recorded.
class TestMainFrame : public ui::MDIFrameWnd {
  UI_DECLARE_MESSAGE_MAP()
 public:
  TestMainFrame() : m_menuBar(&m_menuEx) { m_bAutoDelete = false; }
  bool Make(int width = 640, int height = 480);
  bool PreTranslateMessage(ui::MSG* msg) override;
  void OnMenuCommand(ui::UINT id) { commands.push_back(id); }
  int OnCreate(ui::CREATESTRUCT* cs);

  CMenuEx m_menuEx;
  CMenuBar m_menuBar;
  CStandardBar m_standardBar;
  std::vector<ui::UINT> commands;
};

// A test with the main frame made and, on request, document windows in it.
class FrameTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;
  // A new document window (CSaFrame with a TestView on a TestDoc) titled `title`.
  CSaFrame* OpenDocument(const std::string& title, int zoom = 100);
  TestMainFrame frame;
  std::vector<TestDoc*> docs;
};

}  // namespace frametest
