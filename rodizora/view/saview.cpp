#include "rodizora/view/saview.h"

#include <algorithm>

#include "platform/base/text.h"
#include "platform/ole/insertdlg.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/dc.h"
#include "platform/ui/menu.h"
#include "platform/ui/messages.h"
#include "rodizora/doc/saopendialog.h"
#include "rodizora/doc/sasettings.h"
#include "rodizora/doc/sasrvritem.h"
#include "rodizora/frame/standardbar.h"
#include "rodizora/res/saids.h"

namespace {

using namespace plat::ole;

// Object descriptor extents beyond this (HIMETRIC, 50 m) are no size.
constexpr std::int32_t kMaxDescriptorExtent = 5'000'000;
constexpr int kPasteStep = 40;
constexpr int kMaxPasteSteps = 100;

// The view a window belongs to (itself or an ancestor), null when none.
CSaView* ViewOfWindow(ui::Wnd* wnd) {
  for (; wnd; wnd = wnd->GetParent())
    if (auto* view = dynamic_cast<CSaView*>(wnd)) return view;
  return nullptr;
}

}  // namespace

UI_IMPLEMENT_DYNCREATE(CSaView, ui::ScrollView)

UI_BEGIN_MESSAGE_MAP(CSaView, ui::ScrollView)
  ui::map::Create(&CSaView::OnCreate),
  ui::map::Size(&CSaView::OnSize),
  ui::map::HScroll(&CSaView::OnHScroll),
  ui::map::VScroll(&CSaView::OnVScroll),
  ui::map::MouseMove(&CSaView::OnMouseMove),
  ui::map::LButtonDown(&CSaView::OnLButtonDown),
  ui::map::LButtonUp(&CSaView::OnLButtonUp),
  ui::map::LButtonDblClk(&CSaView::OnLButtonDblClk),
  ui::map::RButtonDown(&CSaView::OnRButtonDown),
  ui::map::SetCursor(&CSaView::OnSetCursor),
  ui::map::CaptureChanged(&CSaView::OnCaptureChanged),
  ui::map::NotifyEx(ui::TTN_NEEDTEXT, 0, 0xFFFFFFFF, &CSaView::OnToolTipText),
  ui::map::CommandRange(CStandardBar::kZoomCommandFirst, CStandardBar::kZoomCommandLast, &CSaView::OnZoom),
  ui::map::Command(saids::ID_VIEW_FULL, &CSaView::OnViewFull),
  ui::map::Command(saids::ID_VIEW_PAGE_LAYOUT, &CSaView::OnViewPageLayout),
  ui::map::UpdateUI(saids::ID_VIEW_FULL, &CSaView::OnUpdateViewFull),
  ui::map::UpdateUI(saids::ID_VIEW_PAGE_LAYOUT, &CSaView::OnUpdateViewPageLayout),
  ui::map::Command(ui::ID_EDIT_CLEAR, &CSaView::OnEditClear),
  ui::map::Command(ui::ID_EDIT_COPY, &CSaView::OnEditCopy),
  ui::map::Command(ui::ID_EDIT_CUT, &CSaView::OnEditCut),
  ui::map::Command(ui::ID_EDIT_PASTE, &CSaView::OnEditPaste),
  ui::map::Command(saids::ID_EDIT_PASTE_SPECIAL, &CSaView::OnEditPasteSpecial),
  ui::map::UpdateUI(ui::ID_EDIT_CLEAR, &CSaView::OnUpdateNeedSelection),
  ui::map::UpdateUI(ui::ID_EDIT_COPY, &CSaView::OnUpdateNeedSelection),
  ui::map::UpdateUI(ui::ID_EDIT_CUT, &CSaView::OnUpdateNeedSelection),
  ui::map::UpdateUI(ui::ID_EDIT_PASTE, &CSaView::OnUpdateEditPaste),
  ui::map::UpdateUI(saids::ID_EDIT_PASTE_SPECIAL, &CSaView::OnUpdateEditPaste),
  ui::map::Command(saids::ID_INSERT_SPECTRA, &CSaView::OnInsertSpectra),
  ui::map::Command(saids::ID_OLE_INSERT_NEW, &CSaView::OnInsertObject),
  ui::map::Command(ui::ID_FILE_PRINT, &CSaView::OnFilePrint),
  ui::map::Command(ui::ID_FILE_PAGE_SETUP, &CSaView::OnFilePageSetup),
  ui::map::Command(saids::ID_EXPORT_WMF, &CSaView::OnExportWmf),
  ui::map::Command(saids::ID_EXPORT_EMF, &CSaView::OnExportEmf),
  ui::map::CommandRange(saids::ID_DIRECT_PRINT_1, saids::ID_DIRECT_PRINT_9, &CSaView::OnDirectPrint),
UI_END_MESSAGE_MAP()

CSaDoc* CSaView::GetDocument() const { return dynamic_cast<CSaDoc*>(ui::ScrollView::GetDocument()); }

CSaFrame* CSaView::Frame() const { return dynamic_cast<CSaFrame*>(GetParentFrame()); }

saview::ViewMapping CSaView::Mapping() const {
  saview::ViewMapping m;
  if (const CSaDoc* doc = GetDocument()) {
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

// --- Creation, layout, scrolling -------------------------------------------------------------------------

int CSaView::OnCreate(ui::CREATESTRUCT* cs) {
  if (ui::ScrollView::OnCreate(cs) == -1) return -1;
  if (CSaDoc* doc = GetDocument()) doc->ComputePageSize();
  m_bPageLayout = true;
  SetPageLayoutExtent();
  m_pastePoint = {10, 10};
  EnableToolTips(true);
  return 0;
}

bool CSaView::OnToolTipText(ui::UINT id, ui::NMHDR* hdr, ui::LRESULT* result) {
  auto* info = reinterpret_cast<ui::NMTTDISPINFO*>(hdr);
  if (!info || !(info->uFlags & ui::TTF_IDISHWND)) return false;
  ui::Wnd* child = ui::Wnd::FromHandle(ui::HWND(static_cast<std::uint32_t>(id)));
  if (!child || child->GetParent() != this) return false;
  m_toolTipText = ui::LoadString(child->GetDlgCtrlID() + kChildTipStringOffset);
  if (m_toolTipText.empty()) return false;
  info->lpszText = m_toolTipText.c_str();
  if (result) *result = 0;
  return true;
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

void CSaView::OnSize(ui::UINT type, int cx, int cy) {
  if (!m_bPageLayout && m_pSelection && m_pSelection->IsInPlaceActive()) {
    gdi::Rect client;
    if (m_pSelection->ClientRect(&client)) m_pSelection->SetItemRects(client);
  }
  ui::ScrollView::OnSize(type, cx, cy);
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

// --- Drawing -------------------------------------------------------------------------------------------

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

CSaTracker CSaView::TrackerFor(const CSaItem* item) const {
  gdi::Rect rect;
  if (!item || !item->ClientRect(&rect)) return CSaTracker({}, 0);
  unsigned style = CSaTracker::kSolidLine;
  if (IsSelected(item)) style |= CSaTracker::kResizeInside;
  if (item->GetItemState() == plat::ole::ItemState::Open || item->GetItemState() == plat::ole::ItemState::ActiveUI)
    style |= CSaTracker::kHatchInside;
  rect.right = std::max(rect.right, rect.left + CSaTracker::kMinSize);
  rect.bottom = std::max(rect.bottom, rect.top + CSaTracker::kMinSize);
  return CSaTracker(rect, style);
}

void CSaView::OnDraw(gdi::DC* dc) {
  if (!m_bPrinting) DrawGround(dc);
  CSaDoc* doc = GetDocument();
  if (!doc) return;
  const ui::Point scroll = m_bPrinting ? ui::Point{} : GetDeviceScrollPosition();
  const saview::ViewMapping mapping = Mapping();
  for (CSaItem* item : doc->Items()) {
    if (!m_bPrinting && item->IsInPlaceActive()) continue;
    gdi::Rect r = item->GetRect();
    if (!mapping.PageToClient(&r)) continue;
    item->Draw(dc, {r.left + scroll.x, r.top + scroll.y, r.right + scroll.x, r.bottom + scroll.y});
  }
  if (!m_bPrinting && m_pSelection && !m_pSelection->IsInPlaceActive()) {
    CSaTracker tracker = TrackerFor(m_pSelection);
    tracker.m_rect = {tracker.m_rect.left + scroll.x, tracker.m_rect.top + scroll.y, tracker.m_rect.right + scroll.x,
                      tracker.m_rect.bottom + scroll.y};
    tracker.Draw(dc);
  }
}

void CSaView::InvalidateItem(const CSaItem* item) {
  gdi::Rect r;
  if (!item || !item->ClientRect(&r)) return;
  // The tracker's handles and outline reach one pixel beyond the item at most.
  r = {r.left - 1, r.top - 1, std::max(r.right, r.left + CSaTracker::kMinSize) + 1,
       std::max(r.bottom, r.top + CSaTracker::kMinSize) + 1};
  InvalidateRect(&r);
}

// --- Selection ------------------------------------------------------------------------------------------

void CSaView::SetSelection(CSaItem* item, bool activate) {
  if (item == m_pSelection) return;
  CSaDoc* doc = GetDocument();
  if (m_pSelection) {
    if (m_pSelection->IsInPlaceActive()) m_pSelection->Deactivate();
    InvalidateItem(m_pSelection);
  }
  m_pSelection = item;
  if (!item) return;
  plat::DWord misc = 0;
  if (IOleObject* object = item->GetOleObject()) object->GetMiscStatus(DVASPECT_CONTENT, &misc);
  const bool insideOut = (misc & OLEMISC_INSIDEOUT) != 0;
  const OleClientItem* active = doc ? doc->GetInPlaceActiveItem(this) : nullptr;
  if ((activate || (!m_bPageLayout && insideOut)) && active != item) item->Activate(OLEIVERB_PRIMARY, this);
  InvalidateItem(item);
}

void CSaView::OnItemGone(CSaItem* item) {
  if (m_track && m_track->item == item) {
    ShowFeedback(std::nullopt);
    m_track.reset();
    if (GetCapture() == this) ReleaseCapture();
  }
  if (m_pSelection == item) {
    InvalidateItem(item);
    m_pSelection = nullptr;
  }
}

CSaItem* CSaView::HitTest(gdi::Point client) const {
  const CSaDoc* doc = GetDocument();
  if (!doc || !ClientToPage(&client)) return nullptr;
  return HitTestItems(doc->GetItems(), client);
}

// --- Mouse ----------------------------------------------------------------------------------------------

void CSaView::ShowFeedback(const std::optional<gdi::Rect>& rect) {
  if (!m_track) return;
  ui::ClientDC dc(this);
  if (m_track->shown) dc.DrawFocusRect(*m_track->shown);
  m_track->shown = rect;
  if (rect) dc.DrawFocusRect(*rect);
  if (CSaFrame* frame = Frame()) frame->ShowRulerRect(rect ? *rect : gdi::Rect(-1, 0, 0, 0));
}

void CSaView::OnLButtonDown(ui::UINT, ui::Point point) {
  CSaItem* hit = HitTest(point);
  SetSelection(hit, false);
  if (!hit || hit->IsInPlaceActive()) return;
  const CSaTracker tracker = TrackerFor(hit);
  const CSaTracker::Hit part = tracker.HitTest(point);
  if (part == CSaTracker::kHitNothing) return;
  MouseTrack track;
  track.mode = part == CSaTracker::kHitMiddle ? MouseTrack::Mode::Drag : MouseTrack::Mode::Resize;
  track.item = hit;
  track.hit = part;
  track.start = point;
  track.startRect = tracker.m_rect;
  track.offset = {point.x - tracker.m_rect.left, point.y - tracker.m_rect.top};
  m_track = track;
  SetCapture();
}

void CSaView::OnMouseMove(ui::UINT, ui::Point point) {
  if (CSaFrame* frame = Frame()) frame->ShowRulerCrosshair(point.x, point.y);
  if (m_track) {
    const CSaTracker tracker(m_track->startRect, CSaTracker::kResizeInside);
    ShowFeedback(tracker.Track(m_track->mode == MouseTrack::Mode::Drag ? CSaTracker::kHitMiddle : m_track->hit,
                               m_track->start, point));
  }
  Default();
}

void CSaView::OnLButtonUp(ui::UINT flags, ui::Point point) {
  if (!m_track) return;
  EndTrack(point, flags);
}

void CSaView::OnCaptureChanged(ui::Wnd* wnd) {
  if (wnd != this && m_track) {
    ShowFeedback(std::nullopt);
    m_track.reset();
  }
}

void CSaView::EndTrack(gdi::Point point, ui::UINT flags) {
  MouseTrack track = *m_track;
  ShowFeedback(std::nullopt);
  m_track.reset();
  if (GetCapture() == this) ReleaseCapture();
  CSaDoc* doc = GetDocument();
  if (!doc || point == track.start) return;
  if (track.mode == MouseTrack::Mode::Resize) {
    gdi::Rect client = CSaTracker(track.startRect, CSaTracker::kResizeInside).Track(track.hit, track.start, point);
    if (client == track.startRect || !ClientToPage(&client)) return;
    client = sapage::ClipToPage(client, {doc->PageWidth(), doc->PageHeight()});
    if (client.IsRectEmpty()) return;
    track.item->SetRect(client);
    doc->SetModifiedFlag(true);
    return;
  }
  // A drag: onto this view, another one, or nowhere.
  gdi::Point screen = point;
  ClientToScreen(&screen);
  CSaView* target = ViewOfWindow(ui::Wnd::WindowFromPoint(screen));
  if (!target) return;
  const DropEffect effect = (flags & ui::MK_CONTROL) && (flags & ui::MK_SHIFT) ? DropEffect::Link
                            : (flags & ui::MK_CONTROL)                       ? DropEffect::Copy
                                                                               : DropEffect::Move;
  gdi::Point there = screen;
  target->ScreenToClient(&there);
  there = {there.x - track.offset.x, there.y - track.offset.y};
  DataSource* source = nullptr;
  try {
    source = track.item->GetClipboardDataSource();
  } catch (const std::exception&) {
    source = nullptr;
  }
  if (!source) return;
  const bool dropped = target->OnDrop(source->GetIDataObject(false), effect, there, target == this ? track.item : nullptr);
  source->Release();
  // Moved into another document: it leaves this one.
  if (dropped && target != this && effect == DropEffect::Move) {
    doc->DeleteItem(track.item);
    doc->SetModifiedFlag(true);
  }
}

bool CSaView::OnDrop(IDataObject* data, DropEffect effect, gdi::Point client, CSaItem* dragged) {
  CSaDoc* doc = GetDocument();
  gdi::Point page = client;
  if (!doc || effect == DropEffect::None || !ClientToPage(&page)) return false;
  if (effect == DropEffect::Move && dragged) {
    const gdi::Rect before = dragged->GetRect();
    dragged->SetRect(sapage::KeepOnPage({page.x, page.y, page.x + before.Width(), page.y + before.Height()},
                                        {doc->PageWidth(), doc->PageHeight()}));
    if (dragged->GetRect() != before) {
      doc->SetModifiedFlag(true);
      doc->SaveUndoCheckpoint();
    }
    return true;
  }
  CSaItem* item = nullptr;
  if (effect == DropEffect::Link) item = DoPasteItem(true, data, &page, 0, nullptr);
  if (!item) item = DoPasteItem(false, data, &page, 0, nullptr);
  if (item) item->SetRect(sapage::KeepOnPage(item->GetRect(), {doc->PageWidth(), doc->PageHeight()}));
  return item != nullptr;
}

void CSaView::OnLButtonDblClk(ui::UINT, ui::Point) {
  if (m_pSelection) m_pSelection->Activate(OLEIVERB_PRIMARY, this);
}

void CSaView::OnRButtonDown(ui::UINT, ui::Point point) {
  const CSaDoc* doc = GetDocument();
  gdi::Point page = point;
  if (doc && ClientToPage(&page))
    m_pastePoint = {std::clamp(page.x, 0, std::max(0, doc->PageWidth() - 1)),
                    std::clamp(page.y, 0, std::max(0, doc->PageHeight() - 1))};
  ui::Menu menu;
  if (!menu.LoadMenu(saids::IDR_CONTEXT_MENU) || !menu.GetSubMenu(0)) return;
  gdi::Point screen = point;
  ClientToScreen(&screen);
  menu.GetSubMenu(0)->TrackPopupMenu(ui::TPM_LEFTALIGN | ui::TPM_RIGHTBUTTON, screen.x, screen.y, GetParentFrame());
}

bool CSaView::OnSetCursor(ui::Wnd* wnd, ui::UINT, ui::UINT) {
  if (wnd == this && m_pSelection && !m_pSelection->IsInPlaceActive()) {
    gdi::Point point;
    ui::GetCursorPos(&point);
    ScreenToClient(&point);
    if (ui::HCURSOR cursor = CSaTracker::CursorFor(TrackerFor(m_pSelection).HitTest(point))) {
      ui::SetCursor(cursor);
      return true;
    }
  }
  return Default() != 0;
}

// --- Zoom and modes -----------------------------------------------------------------------------------------

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

void CSaView::SelectPropertySets(std::uint32_t set, bool redraw) {
  if (CSaDoc* doc = GetDocument())
    for (CSaItem* item : doc->Items()) item->SelectPropertySet(set, redraw);
}

void CSaView::OnViewFull() {
  CSaDoc* doc = GetDocument();
  m_bPageLayout = false;
  if (CSaFrame* frame = Frame()) frame->ShowRulers(false);
  SetScrollSizes(gdi::MM_TEXT, {0, 0});
  m_fullView = {};
  if (doc) {
    for (CSaItem* item : doc->Items()) {
      if (item->Record().subtype != ItemFromFile) continue;
      const gdi::Rect r = item->GetRect();
      m_fullView = m_fullView.IsRectEmpty() ? r
                                            : gdi::Rect(std::min(m_fullView.left, r.left), std::min(m_fullView.top, r.top),
                                                        std::max(m_fullView.right, r.right),
                                                        std::max(m_fullView.bottom, r.bottom));
    }
    for (CSaItem* item : doc->Items())
      if (item->Record().subtype == ItemFromFile) SetSelection(item, true);
  }
  SelectPropertySets(0, true);
  if (CSaFrame* frame = Frame()) frame->RecalcLayout();
  Invalidate();
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
  SetSelection(nullptr, false);
  SelectPropertySets(static_cast<std::uint32_t>(SaSettings().app.viewProperties), true);
  if (frame) {
    frame->UpdateRulers();
    frame->RecalcLayout();
  }
  UpdateRulerOrigin();
  Invalidate();
}

void CSaView::OnUpdateViewFull(ui::CmdUI* cmdUI) { cmdUI->SetCheck(m_bPageLayout ? 0 : 1); }
void CSaView::OnUpdateViewPageLayout(ui::CmdUI* cmdUI) { cmdUI->SetCheck(m_bPageLayout ? 1 : 0); }

// --- Clipboard and insertion -----------------------------------------------------------------------------

void CSaView::OnUpdateNeedSelection(ui::CmdUI* cmdUI) { cmdUI->Enable(m_pSelection != nullptr); }

void CSaView::OnUpdateEditPaste(ui::CmdUI* cmdUI) {
  cmdUI->Enable(ui::IsClipboardFormatAvailable(RodizoraClipboardFormat()) ||
                ui::IsClipboardFormatAvailable(embedSourceFormat()));
}

void CSaView::OnEditClear() {
  CSaDoc* doc = GetDocument();
  if (!doc || !m_pSelection) return;
  doc->DeleteItem(m_pSelection);
  doc->SetModifiedFlag(true);
  doc->UpdateAllViews(nullptr);
}

void CSaView::OnEditCopy() {
  CSaDoc* doc = GetDocument();
  if (!doc || !m_pSelection) return;
  // The clipboard gets the page layout's appearance, whatever the view shows.
  const bool fullView = !m_bPageLayout;
  m_bPageLayout = true;
  if (fullView) SelectPropertySets(static_cast<std::uint32_t>(SaSettings().app.viewProperties), false);
  try {
    CSaSrvrItem carrier(doc);
    carrier.AddItem(m_pSelection);
    DataSource* source = carrier.GetDataSource();
    source->SetClipboard();
    source->Release();
  } catch (const std::exception&) {
    ui::AppMessageBox(saids::IDS_CLIPBOARD_FAILED, ui::MB_OK | ui::MB_ICONEXCLAMATION);
  }
  if (fullView) {
    SelectPropertySets(0, true);
    m_bPageLayout = false;
  }
}

void CSaView::OnEditCut() {
  if (!m_pSelection) return;
  OnEditCopy();
  OnEditClear();
}

void CSaView::OnEditPaste() {
  if (!DoPasteItem(false, nullptr, nullptr, 0, nullptr))
    ui::AppMessageBox(saids::IDS_CLIPBOARD_FAILED, ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

void CSaView::OnEditPasteSpecial() {
  const gdi::Point position{sapage::TenthsToPage(SaProfileInt(u"ObjectLeft", 100)),
                            sapage::TenthsToPage(SaProfileInt(u"ObjectTop", 100))};
  // Tenths of a millimetre are HIMETRIC x 10.
  const gdi::Size size{SaProfileInt(u"ObjectWidth", 600) * 10, SaProfileInt(u"ObjectHeight", 400) * 10};
  if (!DoPasteItem(false, nullptr, &position, 0, &size))
    ui::AppMessageBox(saids::IDS_CLIPBOARD_FAILED, ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

CSaItem* CSaView::DoPasteItem(bool link, IDataObject* data, const gdi::Point* position, ui::UINT format,
                              const gdi::Size* size) {
  CSaDoc* doc = GetDocument();
  if (!doc) return nullptr;
  IDataObject* clipboard = nullptr;
  if (!data) {
    if (failed(getClipboardDataObject(&clipboard))) return nullptr;
    data = clipboard;
  }
  CSaItem* result = nullptr;
  std::vector<CSaItem*> ownItems;
  const bool own = !link && format == 0 && DataReader::IsAvailable(data, RodizoraClipboardFormat());
  try {
    if (own) {
      std::vector<std::uint8_t> bytes;
      if (DataReader::GetBytes(data, RodizoraClipboardFormat(), &bytes)) {
        plat::Archive archive(bytes);
        CSaSrvrItem carrier(doc);
        carrier.Serialize(archive);
        if (position) carrier.MoveTo(position->x, position->y);
        ownItems = carrier.Items();
        if (!ownItems.empty()) result = ownItems.front();
      }
    } else if (!link) {
      // No links on this system: a link asked for pastes nothing, and the caller falls back.
      auto* item = new CSaItem(doc);
      if (!item->CreateFromData(data)) {
        doc->DeleteItem(item);
      } else {
        const gdi::Point at = position ? *position : m_pastePoint;
        item->MoveTo(at.x, at.y);
        SizeL extent;
        std::vector<std::uint8_t> bytes;
        ObjectDescriptor descriptor;
        if (size) {
          extent = {size->cx, size->cy};
        } else if (DataReader::GetBytes(data, objectDescriptorFormat(), &bytes) &&
                   readObjectDescriptor(bytes, &descriptor)) {
          extent = descriptor.extent;
        }
        if (extent.cx > 0 && extent.cy > 0 && extent.cx <= kMaxDescriptorExtent && extent.cy <= kMaxDescriptorExtent) {
          const gdi::Rect r = item->GetRect();
          item->SetRect({r.left, r.top, r.left + extent.cx * 4 / 100, r.top + extent.cy * 4 / 100});
        } else {
          item->SizeFromCachedExtent();
        }
        result = item;
      }
    }
  } catch (const std::exception&) {
    result = nullptr;
    ownItems.clear();
  }
  if (clipboard) clipboard->Release();
  if (!result) return nullptr;
  if (own && !position) SeparateFromOthers(ownItems);
  SetSelection(result, false);
  doc->SetModifiedFlag(true);
  doc->UpdateAllViews(nullptr);
  return result;
}

void CSaView::SeparateFromOthers(const std::vector<CSaItem*>& pasted) {
  CSaDoc* doc = GetDocument();
  if (!doc) return;
  for (CSaItem* item : pasted) {
    for (int step = 0; step < kMaxPasteSteps; ++step) {
      const std::vector<CSaItem*> items = doc->Items();
      const bool coincides = std::any_of(items.begin(), items.end(), [&](const CSaItem* other) {
        return other != item && other->GetRect() == item->GetRect();
      });
      if (!coincides) break;
      const gdi::Rect r = item->GetRect();
      item->MoveTo(r.left + kPasteStep, r.top + kPasteStep);
    }
  }
}

void CSaView::OnInsertSpectra() {
  CSaDoc* doc = GetDocument();
  if (!doc) return;
  const int left = sapage::TenthsToPage(SaProfileInt(u"ObjectLeft", 100));
  const int top = sapage::TenthsToPage(SaProfileInt(u"ObjectTop", 100));
  gdi::Rect rect(left, top, left + sapage::TenthsToPage(SaProfileInt(u"ObjectWidth", 810)),
                 top + sapage::TenthsToPage(SaProfileInt(u"ObjectHeight", 510)));
  const std::vector<std::string> paths = ChooseSpectrumFiles(this);
  for (std::size_t i = 0; i < paths.size(); ++i) {
    CSaItem* item = doc->CreateSpectrumItem(plat::toUtf16(paths[i]), 0);
    if (!item) continue;
    item->Record().fromFile = 1;
    item->Record().subtype = ItemFromControl + static_cast<std::int32_t>(i);
    item->SetRect(rect);
    SetSelection(item, true);
    rect = {rect.left + kPasteStep, rect.top + kPasteStep, rect.right + kPasteStep, rect.bottom + kPasteStep};
  }
}

void CSaView::OnInsertObject() {
  CSaDoc* doc = GetDocument();
  if (!doc) return;
  InsertObjectDialog dialog(this);
  if (dialog.DoModal() != ui::IDOK) return;
  CSaItem* item = doc->AddObjectItem(dialog.GetClassID());
  if (!item) {
    ui::AppMessageBox(saids::IDS_INSERT_FAILED, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return;
  }
  doc->SetModifiedFlag(true);
  SetSelection(item, true);
  doc->UpdateAllViews(nullptr);
}
