#pragma once
// The main window: CMDIFrameWndEx, the reusable multiple-document frame that shows its menu in
// the owner-drawn menu bar instead of a menu line, and CMainFrame, the program's own frame with
// the standard toolbar, the status bar and the placement it remembers between runs.
//
// CMultiDocTemplateEx is the program's document template: every file opens through it (a
// matching extension as its own kind, any other as a foreign one), never as an already open
// document, so one file can be open twice.
#include "platform/ui/bars.h"
#include "platform/ui/docview.h"
#include "platform/ui/frame.h"
#include "rodizora/frame/menubar.h"
#include "rodizora/frame/standardbar.h"

class CMDIFrameWndEx : public ui::MDIFrameWnd {
  UI_DECLARE_DYNAMIC(CMDIFrameWndEx)
  UI_DECLARE_MESSAGE_MAP()

 public:
  CMDIFrameWndEx();

  // The menu resource of that id goes into the bar's menu, then the frame is loaded; the frame
  // keeps no menu line.
  bool LoadFrame(ui::UINT resourceId, ui::DWORD style = ui::WS_OVERLAPPEDWINDOW | ui::FWS_ADDTOTITLE,
                 ui::Wnd* parent = nullptr, ui::CreateContext* context = nullptr) override;
  // The menu bar's keys (Alt + letter) first.
  bool PreTranslateMessage(ui::MSG* msg) override;

  int OnCreate(ui::CREATESTRUCT* cs);
  void OnMeasureItem(int id, ui::MEASUREITEMSTRUCT* measure);

  CMenuEx m_menuEx;
  CMenuBar m_menuBar;
};

class CMainFrame : public CMDIFrameWndEx {
  UI_DECLARE_DYNCREATE(CMainFrame)
  UI_DECLARE_MESSAGE_MAP()

 public:
  static constexpr ui::DWORD kMainFrameStyle = 0xCF8000;  // overlapped window, title from the document

  int OnCreate(ui::CREATESTRUCT* cs);
  void OnDestroy();
  void OnShowWindow(bool show, ui::UINT status);
  // Ctrl+Right and F6; Ctrl+Left and Shift+F6: the MDI children in opposite directions.
  void OnNextChild();
  void OnPrevChild();
  void OnUpdateNextPane(ui::CmdUI* cmdUI);
  // View > Toolbar shows and hides the standard bar (its id is its own, not the class library's
  // standard toolbar id the menu item carries).
  void OnViewToolbar();
  void OnUpdateViewToolbar(ui::CmdUI* cmdUI);

  ui::StatusBar m_wndStatusBar;
  CStandardBar m_wndStandardBar;

 protected:
  // The stored normal position, when it lies wholly on the screen.
  bool PreCreateWindow(ui::CREATESTRUCT& cs) override;

 private:
  bool m_bShown = false;
};

class CMultiDocTemplateEx : public ui::MultiDocTemplate {
  UI_DECLARE_DYNAMIC(CMultiDocTemplateEx)

 public:
  using ui::MultiDocTemplate::MultiDocTemplate;
  Confidence MatchDocType(std::string_view path, ui::Document*& match) override;
};
