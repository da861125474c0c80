#include "rodizora/view/saview.h"

#include <algorithm>

#include "platform/ui/commdlg.h"
#include "platform/ui/messages.h"
#include "rodizora/doc/sasettings.h"
#include "rodizora/frame/standardbar.h"
#include "rodizora/res/saids.h"

UI_IMPLEMENT_DYNCREATE(CSaView, ui::ScrollView)

UI_BEGIN_MESSAGE_MAP(CSaView, ui::ScrollView)
  ui::map::Create(&CSaView::OnCreate),
  ui::map::HScroll(&CSaView::OnHScroll),
  ui::map::VScroll(&CSaView::OnVScroll),
  ui::map::MouseMove(&CSaView::OnMouseMove),
  ui::map::CommandRange(CStandardBar::kZoomCommandFirst, CStandardBar::kZoomCommandLast, &CSaView::OnZoom),
  ui::map::Command(saids::ID_VIEW_FULL, &CSaView::OnViewFull),
  ui::map::Command(saids::ID_VIEW_PAGE_LAYOUT, &CSaView::OnViewPageLayout),
  ui::map::UpdateUI(saids::ID_VIEW_FULL, &CSaView::OnUpdateViewFull),
  ui::map::UpdateUI(saids::ID_VIEW_PAGE_LAYOUT, &CSaView::OnUpdateViewPageLayout),
UI_END_MESSAGE_MAP()

CSaDoc* CSaView::GetDocument() const { return dynamic_cast<CSaDoc*>(ui::ScrollView::GetDocument()); }

CSaFrame* CSaView::Frame() const { return dynamic_cast<CSaFrame*>(GetParentFrame()); }

saview::ViewMapping CSaView::Mapping() const {
  saview::ViewMapping m;
  const CSaDoc* doc = GetDocument();
  if (doc) {
    m.page = {doc->PageWidth(), doc->PageHeight()};
    m.zoom = doc->GetDocumentZoom();
  }
  m.mode = m_bPrinting ? saview::ViewMode::Printing
           : m_bPageLayout ? saview::ViewMode::PageLayout
                           : saview::ViewMode::FullView;
  m.scroll = GetDeviceScrollPosition();
  m.fullView = m_fullView;
  ui::Rect client;
  GetClientRect(&client);
  m.client = client.GetSize();
  m.print = m_printSize;
  return m;
}

int CSaView::GetZoom() const {
  const CSaDoc* doc = GetDocument();
  return doc ? doc->GetZoom() : -1;
}

int CSaView::OnCreate(ui::CREATESTRUCT* cs) {
  if (ui::ScrollView::OnCreate(cs) == -1) return -1;
  if (CSaDoc* doc = GetDocument()) doc->ComputePageSize();
  m_bPageLayout = true;
  SetPageLayoutExtent();
  m_pastePoint = {10, 10};
  return 0;
}

void CSaView::OnInitialUpdate() {
  ui::ScrollView::OnInitialUpdate();
  if (CSaFrame* frame = Frame(); frame && m_bPageLayout) {
    frame->ShowRulers(true);
    frame->UpdateRulers();
  }
  UpdateRulerOrigin();
}

void CSaView::SetPageLayoutExtent() {
  const CSaDoc* doc = GetDocument();
  if (!doc) return;
  SetScrollSizes(gdi::MM_TEXT, saview::PageLayoutExtent({doc->PageWidth(), doc->PageHeight()}, doc->GetDocumentZoom()));
}

void CSaView::DrawGround(gdi::DC* dc) const {
  ui::Rect client;
  GetClientRect(&client);
  const ui::Point scroll = GetDeviceScrollPosition();
  // Logical coordinates of the scrolled client area.
  const ui::Rect shown(scroll.x, scroll.y, scroll.x + client.Width(), scroll.y + client.Height());
  if (!m_bPageLayout) {
    dc->FillSolidRect(shown, SaSettings().app.background);
    return;
  }
  const ui::Size extent = GetTotalSize();
  dc->FillSolidRect(shown, kPageLayoutGround);
  dc->FillSolidRect(ui::Rect(0, 0, extent.cx, extent.cy), kPageLayoutGround);
  constexpr int kFrame = saview::kPageMargin - 1;
  const ui::Rect page(kFrame, kFrame, extent.cx - kFrame, extent.cy - kFrame);
  const gdi::Pen framePen(gdi::PS_SOLID, 1, 0);
  const gdi::Brush white(0xFFFFFF);
  const gdi::Pen oldPen = dc->SelectObject(framePen);
  const gdi::Brush oldBrush = dc->SelectObject(white);
  dc->Rectangle(page);
  const gdi::Pen shadowPen(gdi::PS_SOLID, 2, 0);
  dc->SelectObject(shadowPen);
  dc->MoveTo(page.right + 1, page.top + 2);
  dc->LineTo(page.right + 1, page.bottom + 1);
  dc->LineTo(page.left + 2, page.bottom + 1);
  dc->SelectObject(oldPen);
  dc->SelectObject(oldBrush);
}

void CSaView::OnDraw(gdi::DC* dc) {
  if (!m_bPrinting) DrawGround(dc);
}

void CSaView::UpdateRulerOrigin() {
  CSaFrame* frame = Frame();
  const CSaDoc* doc = GetDocument();
  if (!frame || !doc) return;
  const ui::Point scroll = GetDeviceScrollPosition();
  frame->SetRulerOrigin(saview::RulerOriginMillimetres(scroll.x, doc->GetDocumentZoom()),
                        saview::RulerOriginMillimetres(scroll.y, doc->GetDocumentZoom()));
}

void CSaView::OnHScroll(ui::UINT code, ui::UINT pos, ui::Wnd* bar) {
  ui::ScrollView::OnHScroll(code, pos, bar);
  UpdateRulerOrigin();
}

void CSaView::OnVScroll(ui::UINT code, ui::UINT pos, ui::Wnd* bar) {
  ui::ScrollView::OnVScroll(code, pos, bar);
  UpdateRulerOrigin();
}

void CSaView::OnMouseMove(ui::UINT, ui::Point point) {
  if (CSaFrame* frame = Frame()) frame->ShowRulerCrosshair(point.x, point.y);
  Default();
}

void CSaView::OnZoom(ui::UINT id) {
  CSaDoc* doc = GetDocument();
  if (!doc) return;
  ui::Rect client;
  GetClientRect(&client);
  const int zoom =
      saview::ZoomForCommand(id, client.GetSize(), {doc->PageWidth(), doc->PageHeight()}, doc->GetDocumentZoom());
  doc->SetDocumentZoom(zoom);
  SaSettings().documentZoom = zoom;
  if (m_bPageLayout) OnViewPageLayout();
  if (CSaFrame* frame = Frame()) frame->UpdateRulers();
}

void CSaView::OnViewFull() {
  m_bPageLayout = false;
  if (CSaFrame* frame = Frame()) frame->ShowRulers(false);
  SetScrollSizes(gdi::MM_TEXT, {0, 0});
  m_fullView = {};
  if (CSaFrame* frame = Frame()) frame->RecalcLayout();
  if (m_fullView.IsRectEmpty()) {
    ui::AppMessageBox(saids::IDS_NO_SPECTRUM_OBJECT, ui::MB_OK | ui::MB_ICONSTOP);
    OnViewPageLayout();
  }
}

void CSaView::OnViewPageLayout() {
  CSaFrame* frame = Frame();
  if (frame) frame->ShowRulers(true);
  if (CSaDoc* doc = GetDocument()) doc->ComputePageSize();
  m_bPageLayout = true;
  SetPageLayoutExtent();
  if (frame) {
    frame->UpdateRulers();
    frame->RecalcLayout();
  }
  UpdateRulerOrigin();
  Invalidate();
}

void CSaView::OnUpdateViewFull(ui::CmdUI* cmdUI) { cmdUI->SetCheck(m_bPageLayout ? 0 : 1); }
void CSaView::OnUpdateViewPageLayout(ui::CmdUI* cmdUI) { cmdUI->SetCheck(m_bPageLayout ? 1 : 0); }
