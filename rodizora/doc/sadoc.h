#pragma once
// CSaDoc: the document of the program, a page of embedded items in page units (0.25 mm, x to the
// right, y down from the page's top-left corner). It keeps the page size, the document zoom of
// its page-layout view, and whether it is a workspace.
//
// The document reaches its views through ISaPageView, which CSaView implements.
#include "platform/ui/docview.h"
#include "rodizora/doc/pagelayout.h"

class ISaPageView {
 public:
  virtual ~ISaPageView() = default;
  virtual bool IsPageLayout() const = 0;
  virtual bool IsPrinting() const = 0;
};

class CSaDoc : public ui::Document {
  UI_DECLARE_DYNCREATE(CSaDoc)
  UI_DECLARE_MESSAGE_MAP()

 public:
  CSaDoc();

  // The printable page: the default printer's, else landscape A4 (this system has no printer
  // defaults, so always landscape A4).
  void ComputePageSize();
  int PageWidth() const { return m_page.width; }
  int PageHeight() const { return m_page.height; }

  // The zoom while the first view shows the page layout (or there is no view); else -1.
  int GetZoom() const;
  int GetDocumentZoom() const { return m_zoom; }
  void SetDocumentZoom(int zoom) { m_zoom = zoom; }
  // The first view, as the document sees it (null when it has none).
  ISaPageView* FirstPageView() const;

  bool IsWorkspace() const { return m_workspace; }

  // Closing a document's window never asks to save.
  bool CanCloseFrame(ui::FrameWnd* frame) override;
  bool OnOpenDocument(std::string_view path) override;

 protected:
  sapage::PageSize m_page;
  int m_zoom;
  bool m_workspace = false;
};
