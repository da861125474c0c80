#include "rodizora/doc/sadoc.h"

#include "rodizora/doc/sasettings.h"

UI_IMPLEMENT_DYNCREATE(CSaDoc, ui::Document)

UI_BEGIN_MESSAGE_MAP(CSaDoc, ui::Document)
UI_END_MESSAGE_MAP()

CSaDoc::CSaDoc() : m_zoom(SaSettings().documentZoom) {}

void CSaDoc::ComputePageSize() { m_page = sapage::PageSizeFromPrinter(0, 0); }

ISaPageView* CSaDoc::FirstPageView() const {
  return GetViews().empty() ? nullptr : dynamic_cast<ISaPageView*>(GetViews().front());
}

int CSaDoc::GetZoom() const {
  const ISaPageView* view = FirstPageView();
  return !view || view->IsPageLayout() ? m_zoom : -1;
}

bool CSaDoc::CanCloseFrame(ui::FrameWnd*) { return true; }

bool CSaDoc::OnOpenDocument(std::string_view) { return false; }
