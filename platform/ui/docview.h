#pragma once
// Documents, views and document templates.
//
// A document holds what a file holds (its path, title and modified flag) and knows its views;
// a view shows a document in a frame. A template ties a document class to the frame and view
// classes that show it and makes all three when a document is opened or made new. Commands
// route view, document, template.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/archive/archive.h"
#include "platform/gdi/dc.h"
#include "platform/ui/frame.h"
#include "platform/ui/wnd.h"

namespace ui {

class DocTemplate;
class View;

class Document : public CmdTarget {
  UI_DECLARE_DYNAMIC(Document)
  UI_DECLARE_MESSAGE_MAP()

 public:
  Document();
  ~Document() override;

  const std::string& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(std::string_view title);
  const std::string& GetPathName() const { return m_strPathName; }
  // Also sets the title (the file name).
  virtual void SetPathName(std::string_view path, bool addToRecent = true);
  DocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
  bool IsModified() const { return m_bModified; }
  virtual void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

  void AddView(View* view);
  void RemoveView(View* view);
  const std::vector<View*>& GetViews() const { return m_views; }
  void UpdateAllViews(View* sender, LPARAM hint = 0, CmdTarget* hintObject = nullptr);

  virtual bool OnNewDocument();
  // Reads the file through an archive into Serialize; false (after telling the user) on a
  // file that cannot be read or is not one of ours.
  virtual bool OnOpenDocument(std::string_view path);
  virtual bool OnSaveDocument(std::string_view path);
  // Closes every frame of the document, then the document itself.
  virtual void OnCloseDocument();
  virtual void DeleteContents() {}
  virtual void Serialize(plat::Archive& archive);
  // Asks whether to save changes (Yes, No, Cancel); false when the user cancels or a save fails.
  virtual bool SaveModified();
  virtual bool CanCloseFrame(FrameWnd* frame);
  virtual void PreCloseFrame(FrameWnd*) {}
  // Saves as path (a file dialog first when path is empty).
  virtual bool DoSave(std::string_view path, bool replace = true);
  // The save that SaveModified's Yes and the Save command run; false when it did not save.
  virtual bool DoFileSave();

  bool OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) override;
  void OnFileSave();
  void OnFileSaveAs();
  void OnFileClose();

  // Deleted when its last view goes (documents belong to their template).
  bool m_bAutoDelete = true;

 private:
  friend class DocTemplate;
  DocTemplate* m_pDocTemplate = nullptr;
  std::vector<View*> m_views;
  std::string m_strTitle;
  std::string m_strPathName;
  bool m_bModified = false;
  bool m_closing = false;
};

// What OnPrepareDC is told when the view prints (null on the screen).
struct PrintInfo {
  bool preview = false;
  int currentPage = 1;
  int minPage = 1;
  int maxPage = 1;
  Rect drawRect;
};

class View : public Wnd {
  UI_DECLARE_DYNAMIC(View)
  UI_DECLARE_MESSAGE_MAP()

 public:
  View() = default;
  ~View() override;
  Document* GetDocument() const { return m_pDocument; }
  FrameWnd* GetParentFrameWnd() const { return GetParentFrame(); }

  virtual void OnDraw(gdi::DC* dc);
  virtual void OnInitialUpdate();
  virtual void OnUpdate(View* sender, LPARAM hint, CmdTarget* hintObject);
  virtual void OnActivateView(bool activate, View* activated, View* deactivated);
  virtual void OnPrepareDC(gdi::DC* dc, PrintInfo* info = nullptr);

  bool OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) override;

  int OnCreate(CREATESTRUCT* cs);
  void OnDestroy();
  void OnPaint();
  LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);
  LRESULT OnMouseActivateMessage(WPARAM wParam, LPARAM lParam);

 protected:
  void PostNcDestroy() override;
  bool PreCreateWindow(CREATESTRUCT& cs) override;

 private:
  friend class Document;
  friend class FrameWnd;
  Document* m_pDocument = nullptr;
  bool m_autoDelete = true;
};

// A view whose logical area is larger than its window: scroll bars move the part shown, and
// OnPrepareDC sets the DC's mapping mode and origin to match.
class ScrollView : public View {
  UI_DECLARE_DYNAMIC(ScrollView)
  UI_DECLARE_MESSAGE_MAP()

 public:
  // total, page and line in logical units of mapMode (0: a tenth of total and of page).
  void SetScrollSizes(int mapMode, Size total, Size page = {0, 0}, Size line = {0, 0});
  // In logical units.
  Point GetScrollPosition() const;
  void ScrollToPosition(Point position);
  Point GetDeviceScrollPosition() const { return m_scrollDevice; }
  Size GetTotalSize() const { return m_totalLog; }
  int GetMapMode() const { return m_mapMode; }
  void OnPrepareDC(gdi::DC* dc, PrintInfo* info = nullptr) override;

  void OnSize(UINT type, int cx, int cy);
  void OnHScroll(UINT code, UINT pos, Wnd* bar);
  void OnVScroll(UINT code, UINT pos, Wnd* bar);
  bool OnMouseWheel(UINT flags, short delta, Point point);

 private:
  void UpdateBars();
  void ScrollTo(Point device);
  Size ToDevice(Size logical) const;
  int m_mapMode = gdi::MM_TEXT;
  Size m_totalLog, m_totalDev, m_pageDev, m_lineDev;
  Point m_scrollDevice;
};

class DocTemplate : public CmdTarget {
  UI_DECLARE_DYNAMIC(DocTemplate)

 public:
  DocTemplate(UINT resourceId, const RuntimeClass* docClass, const RuntimeClass* frameClass, const RuntimeClass* viewClass);
  ~DocTemplate() override;

  // Substrings of the template's string resource ("\n"-separated).
  enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
  virtual bool GetDocString(std::string& out, DocStringIndex index) const;

  enum Confidence { noAttempt = 0, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign, yesAttemptNative, yesAlreadyOpen };
  // How well the template fits a file (an open document of that path gives yesAlreadyOpen).
  virtual Confidence MatchDocType(std::string_view path, Document*& match);

  virtual Document* CreateNewDocument();
  virtual FrameWnd* CreateNewFrame(Document* doc, FrameWnd* other);
  virtual void InitialUpdateFrame(FrameWnd* frame, Document* doc, bool makeVisible = true);
  // Empty path: a new, untitled document.
  virtual Document* OpenDocumentFile(std::string_view path, bool makeVisible = true) = 0;
  virtual void SetDefaultTitle(Document* doc) = 0;
  virtual void AddDocument(Document* doc);
  virtual void RemoveDocument(Document* doc);
  const std::vector<Document*>& GetDocuments() const { return m_docs; }
  virtual void CloseAllDocuments(bool endSession);
  virtual bool SaveAllModified();

  // The container's menu and keys while an item of one of its documents is active in place
  // (resource id of both). The menu's top-level separators end its groups: File, Container and
  // Window, around which the object's groups are merged.
  void SetContainerInfo(UINT resourceId);
  Menu m_menuInPlace;
  AccelTable m_accelInPlace;

  UINT m_nIDResource;
  const RuntimeClass* m_pDocClass;
  const RuntimeClass* m_pFrameClass;
  const RuntimeClass* m_pViewClass;

 protected:
  // A new document (empty path) or the file read into doc; false when it failed.
  bool Fill(Document* doc, std::string_view path);
  std::vector<Document*> m_docs;
};

class MultiDocTemplate : public DocTemplate {
  UI_DECLARE_DYNAMIC(MultiDocTemplate)

 public:
  using DocTemplate::DocTemplate;
  Document* OpenDocumentFile(std::string_view path, bool makeVisible = true) override;
  void SetDefaultTitle(Document* doc) override;

 private:
  int m_untitled = 0;
};

class SingleDocTemplate : public DocTemplate {
  UI_DECLARE_DYNAMIC(SingleDocTemplate)

 public:
  using DocTemplate::DocTemplate;
  Document* OpenDocumentFile(std::string_view path, bool makeVisible = true) override;
  void SetDefaultTitle(Document* doc) override;
};

}  // namespace ui
