#include "rodizora/doc/saitem.h"

#include <algorithm>
#include <limits>

#include "common/guids.h"
#include "common/ispectrumcontrol.h"
#include "platform/base/text.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/surface.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/dc.h"
#include "platform/ui/resource.h"
#include "rodizora/doc/sadoc.h"
#include "rodizora/doc/sasettings.h"
#include "rodizora/doc/spectrumcontrol.h"
#include "rodizora/res/saids.h"

namespace {

using namespace plat::ole;

// The largest in-place window painted off screen.
constexpr int kMaxPaintSize = 2048;

template <class I>
I* Query(IUnknown* from, const Guid& iid) {
  void* out = nullptr;
  if (!from || failed(from->QueryInterface(iid, &out))) return nullptr;
  return static_cast<I*>(out);
}

}  // namespace

std::uint16_t RodizoraClipboardFormat() {
  static const std::uint16_t format = static_cast<std::uint16_t>(ui::RegisterClipboardFormat("KEDRUS Rodizora Format"));
  return format;
}

CSaItem* HitTestItems(const std::vector<OleClientItem*>& items, gdi::Point page) {
  CSaItem* hit = nullptr;
  for (OleClientItem* item : items)
    if (auto* sa = dynamic_cast<CSaItem*>(item); sa && sa->GetRect().PtInRect(page)) hit = sa;
  return hit;
}

const ComObject::InterfaceEntry CSaItem::kSaEntries[] = {
    interfaceEntry<IOrvClientSite, &CSaItem::xOrvClientSite_>(IID_IOrvClientSite),
    interfaceEntry<ISimpleFrameSite, &CSaItem::xSimpleFrameSite_>(IID_ISimpleFrameSite),
};
const ComObject::InterfaceMap CSaItem::kSaInterfaceMap{&OleClientItem::kInterfaceMap, kSaEntries};

CSaItem::CSaItem(CSaDoc* doc) : OleClientItem(doc) {}

CSaDoc* CSaItem::GetDocument() const { return static_cast<CSaDoc*>(OleClientItem::GetDocument()); }

ISaPageView* CSaItem::PageView() const {
  if (auto* active = dynamic_cast<ISaPageView*>(GetActiveView())) return active;
  return GetDocument() ? GetDocument()->FirstPageView() : nullptr;
}

ui::View* CSaItem::View() const { return dynamic_cast<ui::View*>(PageView()); }

void CSaItem::RedrawViews() {
  if (CSaDoc* doc = GetDocument()) doc->UpdateAllViews(nullptr, 0, nullptr);
}

bool CSaItem::ClientRect(gdi::Rect* rect) const {
  const ISaPageView* view = PageView();
  gdi::Rect r = GetRect();
  if (!view || !view->PageToClient(&r)) return false;
  *rect = r;
  return true;
}

void CSaItem::SetRect(const gdi::Rect& rect) {
  RedrawViews();
  m_record.left = rect.left;
  m_record.top = rect.top;
  m_record.right = rect.right;
  m_record.bottom = rect.bottom;
  // The object draws its picture at the size it takes on the page (HIMETRIC, x 100 / 4), so
  // its lines and texts keep their proportions when the picture fills the rectangle.
  const std::int64_t width = std::int64_t(rect.right) - rect.left, height = std::int64_t(rect.bottom) - rect.top;
  const auto himetric = [](std::int64_t pageUnits) {
    return static_cast<std::int32_t>(std::min<std::int64_t>(pageUnits * 25, std::numeric_limits<std::int32_t>::max()));
  };
  if (!IsEmpty() && width > 0 && height > 0) SetExtent({himetric(width), himetric(height)});
  RedrawViews();
  if (IsInPlaceActive()) {
    gdi::Rect client;
    if (ClientRect(&client)) SetItemRects(client);
  }
}

void CSaItem::MoveTo(int x, int y) {
  const gdi::Rect r = GetRect();
  SetRect({x, y, x + r.Width(), y + r.Height()});
}

void CSaItem::SizeFromCachedExtent() {
  SizeL extent;
  if (!GetCachedExtent(&extent)) return;
  RedrawViews();
  m_record.right = m_record.left + extent.cx * 4 / 100;
  m_record.bottom = m_record.top + extent.cy * 4 / 100;
  RedrawViews();
}

bool CSaItem::SelectPropertySet(std::uint32_t set, bool redraw) {
  auto* item = static_cast<ISaItem*>(QueryObject(IID_ISaItem));
  if (!item) return false;
  item->SelectPropertySet(set, redraw ? 1 : 0);
  item->Release();
  return true;
}

plat::String16 CSaItem::GetMethodName() const {
  return CSpcControlRef(static_cast<ISpectrumControl*>(QueryObject(IID_ISpectrumControl))).CurMethod();
}

void CSaItem::Serialize(plat::Archive& ar) {
  OleClientItem::Serialize(ar);
  if (ar.isStoring()) {
    for (std::int32_t v : {m_record.type, m_record.subtype, m_record.left, m_record.top, m_record.right, m_record.bottom,
                           m_record.fromFile})
      ar.writeI32(v);
    return;
  }
  // A rectangle from a file or the clipboard stays where page arithmetic cannot overflow.
  const auto coordinate = [&ar] { return std::clamp(ar.readI32(), -kMaxPageCoordinate, kMaxPageCoordinate); };
  SaItemRecord r;
  r.type = ar.readI32();
  r.subtype = ar.readI32();
  r.left = coordinate();
  r.top = coordinate();
  r.right = coordinate();
  r.bottom = coordinate();
  r.fromFile = ar.readI32();
  m_record = r;
}

IDataObject* CSaItem::GetClipboardData() {
  DataSource* source = GetClipboardDataSource();
  return source ? source->GetIDataObject(false) : nullptr;
}

DataSource* CSaItem::GetClipboardDataSource() {
  IDataObject* embedding = OleClientItem::GetClipboardData();
  if (!embedding) return nullptr;
  auto* source = new DataSource;
  try {
    // The format's one payload, as the carrier of items writes it: a count, then the items.
    plat::Archive ar;
    ar.writeI32(1);
    Serialize(ar);
    source->CacheData(RodizoraClipboardFormat(), ar.takeBytes());
    for (std::uint16_t format : {embedSourceFormat(), objectDescriptorFormat()}) {
      std::vector<std::uint8_t> bytes;
      if (DataReader::GetBytes(embedding, format, &bytes)) source->CacheData(format, std::move(bytes));
    }
    const gdi::EnhMetaFile picture = DataReader::GetEnhMetaFile(embedding);
    if (!picture.IsNull()) source->CacheEnhMetaFile(picture);
  } catch (...) {
    embedding->Release();
    source->Release();
    throw;
  }
  embedding->Release();
  return source;
}

// --- OleClientItem ------------------------------------------------------------------------------------

void CSaItem::OnChange(OleNotification notification, plat::DWord param) {
  OleClientItem::OnChange(notification, param);
  if (notification == OleNotification::Changed || notification == OleNotification::ChangedState ||
      notification == OleNotification::ChangedAspect)
    if (CSaDoc* doc = GetDocument()) doc->UpdateAllViews(nullptr, 0, nullptr);
}

void CSaItem::OnGetItemPosition(gdi::Rect* position) {
  if (!position) return;
  if (!ClientRect(position)) *position = {};
}

bool CSaItem::OnChangeItemPosition(const gdi::Rect& position) {
  const ISaPageView* view = PageView();
  CSaDoc* doc = GetDocument();
  gdi::Rect page = position;
  if (!view || !doc || !view->ClientToPage(&page)) return false;
  const gdi::Rect wanted = page;
  page.left = std::max(page.left, 0);
  page.top = std::max(page.top, 0);
  page.right = std::min(page.right, doc->PageWidth() - 1);
  page.bottom = std::min(page.bottom, doc->PageHeight() - 1);
  gdi::Rect client = position;
  if (page != wanted) {
    client = page;
    if (!view->PageToClient(&client)) return false;
  }
  OleClientItem::OnChangeItemPosition(client);
  m_record.left = page.left;
  m_record.top = page.top;
  m_record.right = page.right;
  m_record.bottom = page.bottom;
  doc->SetModifiedFlag(true);
  if (const ui::HWND window = GetInPlaceWindow(); window != ui::kNoWnd) {
    if (ui::Wnd* w = ui::Wnd::FromHandle(window)) w->Invalidate();
  } else {
    RedrawViews();
  }
  return true;
}

void CSaItem::OnShowItem() {
  const ISaPageView* view = PageView();
  gdi::Rect client;
  if (view && view->IsPageLayout() && ClientRect(&client)) SetItemRects(client);
}

bool CSaItem::CanActivate() {
  if (!OleClientItem::CanActivate()) return false;
  ui::View* view = GetActiveView();
  ui::FrameWnd* frame = view ? view->GetParentFrame() : nullptr;
  if (!frame) return true;
  // Only in the active document window, and one item at a time.
  if (frame->GetTopLevelFrame() && frame->GetTopLevelFrame()->GetActiveFrame() != frame) return false;
  CSaDoc* doc = GetDocument();
  const OleClientItem* active = doc ? doc->GetInPlaceActiveItem(view) : nullptr;
  return !active || active == this;
}

void CSaItem::OnActivate() {
  if (CSaDoc* doc = GetDocument())
    for (OleClientItem* other : std::vector<OleClientItem*>(doc->GetItems()))
      if (other != this && other->IsInPlaceActive() && other->GetActiveView() == GetActiveView()) other->Deactivate();
  OleClientItem::OnActivate();
  constexpr std::uint16_t kMetafilePicture = 3;
  constexpr plat::DWord kAllPieces = 4, kMediumMetafile = 32;
  AdviseDataChange(kMetafilePicture, kAllPieces, kMediumMetafile, ADVF_NODATA);
}

void CSaItem::OnDeactivateUI(bool undoable) {
  plat::DWord misc = 0;
  if (IOleObject* object = GetOleObject()) object->GetMiscStatus(DVASPECT_CONTENT, &misc);
  // An inside-out object goes back to its picture.
  if (misc & OLEMISC_INSIDEOUT) Deactivate();
  UnadviseDataChange();
  OleClientItem::OnDeactivateUI(undoable);
}

void CSaItem::OnDataChange(const FormatEtc*, StgMedium*) {
  if (CSaDoc* doc = GetDocument()) doc->SaveUndoCheckpoint();
}

// --- IOrvClientSite ---------------------------------------------------------------------------------------

namespace {

CSaItem* ItemAt(const std::vector<OleClientItem*>& items, std::size_t i) {
  return i < items.size() ? dynamic_cast<CSaItem*>(items[i]) : nullptr;
}

SaItemRecord* Answer(CSaItem* item, IUnknown** object) {
  if (object) *object = item ? item->GetOleObject() : nullptr;
  return item ? &item->Record() : nullptr;
}

}  // namespace

SaItemRecord* CSaItem::XOrvClientSite::GetFirstItem(IUnknown** object) {
  ui::ModuleStateScope scope(ui::AppModuleState());
  CSaDoc* doc = outer<CSaItem>().GetDocument();
  return Answer(doc ? ItemAt(doc->GetItems(), 0) : nullptr, object);
}

SaItemRecord* CSaItem::XOrvClientSite::GetNextItem(SaItemRecord* record, IUnknown** object) {
  ui::ModuleStateScope scope(ui::AppModuleState());
  CSaDoc* doc = outer<CSaItem>().GetDocument();
  if (!doc) return Answer(nullptr, object);
  const auto& items = doc->GetItems();
  for (std::size_t i = 0; i < items.size(); ++i)
    if (CSaItem* item = ItemAt(items, i); item && &item->Record() == record) return Answer(ItemAt(items, i + 1), object);
  return Answer(nullptr, object);
}

SaItemRecord* CSaItem::XOrvClientSite::GetItemRecord() { return &outer<CSaItem>().m_record; }

SaItemRecord* CSaItem::XOrvClientSite::CreateItem(IUnknown* source) {
  ui::ModuleStateScope scope(ui::AppModuleState());
  CSaDoc* doc = outer<CSaItem>().GetDocument();
  if (!doc) return nullptr;
  CSaItem* item = doc->CreateItemFromSource(source);
  return item ? &item->Record() : nullptr;
}

HResult CSaItem::XOrvClientSite::ActivateItem() {
  ui::ModuleStateScope scope(ui::AppModuleState());
  CSaItem& self = outer<CSaItem>();
  ISaPageView* view = self.GetDocument() ? self.GetDocument()->FirstPageView() : nullptr;
  if (!view) return E_FAIL;
  view->SelectItem(&self, true);
  return S_OK;
}

HResult CSaItem::XOrvClientSite::GetParamTitle(std::int32_t index, Bstr* caption) {
  ui::ModuleStateScope scope(ui::AppModuleState());
  if (!caption) return E_POINTER;
  *caption = nullptr;
  ui::UINT id = 0;
  if (SaSettings().app.viewProperties != 0) {
    if (index == 0) id = saids::IDS_PROCESSING_PARAMETERS;
    if (index == 1) id = saids::IDS_PLOTTING_PARAMETERS;
  } else if (index == 0) {
    id = saids::IDS_PROCESSING_PLOTTING_PARAMETERS;
  }
  if (!id) return E_FAIL;
  *caption = allocString(plat::toUtf16(ui::LoadString(id)));
  return S_OK;
}

std::int32_t CSaItem::XOrvClientSite::GetZoom() {
  ui::ModuleStateScope scope(ui::AppModuleState());
  // The item's picture is drawn at the object's own size and scaled where it is shown: drawn at
  // the document zoom, its texts would shrink (or grow) twice.
  if (outer<CSaItem>().IsTakingPresentation()) return 100;
  CSaDoc* doc = outer<CSaItem>().GetDocument();
  const ISaPageView* view = doc ? doc->FirstPageView() : nullptr;
  if (!view || !view->IsPageLayout() || view->IsPrinting()) return 100;
  return doc->GetDocumentZoom();
}

// --- ISimpleFrameSite -------------------------------------------------------------------------------------

bool CSaItem::PaintInPlace(ui::HWND window) {
  ui::Wnd* wnd = ui::Wnd::FromHandle(window);
  CSaDoc* doc = GetDocument();
  if (!wnd || !doc) return false;
  gdi::Rect client;
  wnd->GetClientRect(&client);
  if (client.Width() <= 0 || client.Height() <= 0 || client.Width() > kMaxPaintSize || client.Height() > kMaxPaintSize)
    return false;
  gdi::RasterSurface surface(client.Width(), client.Height(), SaSettings().app.background);
  gdi::DC dc(surface);
  Draw(&dc, client);
  const gdi::Rect mine = GetRect();
  for (OleClientItem* other : doc->GetItems()) {
    auto* item = dynamic_cast<CSaItem*>(other);
    if (!item || item == this || mine.Width() <= 0 || mine.Height() <= 0) continue;
    const gdi::Rect r = item->GetRect();
    if (r.right <= mine.left || r.left >= mine.right || r.bottom <= mine.top || r.top >= mine.bottom) continue;
    const gdi::Rect there(gdi::MulDiv(r.left - mine.left, client.Width(), mine.Width()),
                          gdi::MulDiv(r.top - mine.top, client.Height(), mine.Height()),
                          gdi::MulDiv(r.right - mine.left, client.Width(), mine.Width()),
                          gdi::MulDiv(r.bottom - mine.top, client.Height(), mine.Height()));
    item->Draw(&dc, there);
  }
  ui::PaintDC paint(wnd);
  paint.BitBlt(0, 0, client.Width(), client.Height(), &dc, 0, 0, gdi::SRCCOPY);
  return true;
}

bool CSaItem::ForwardClick(ui::HWND window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) {
  ISaPageView* view = PageView();
  ui::View* viewWnd = View();
  ui::Wnd* wnd = ui::Wnd::FromHandle(window);
  CSaDoc* doc = GetDocument();
  if (!view || !viewWnd || !wnd || !doc) return false;
  // The point in the view's client pixels, then on the page.
  gdi::Point point = ui::ParamToPoint(lParam);
  wnd->MapWindowPoints(viewWnd, &point, 1);
  gdi::Point page = point;
  if (!view->ClientToPage(&page)) return false;
  CSaItem* hit = HitTestItems(doc->GetItems(), page);
  if (!hit || hit == this || hit->m_record.subtype <= m_record.subtype) return false;
  viewWnd->SendMessage(message, wParam, ui::PointToParam(point));
  return true;
}

HResult CSaItem::XSimpleFrameSite::PreMessageFilter(ui::HWND hwnd, ui::UINT message, ui::WPARAM wParam,
                                                    ui::LPARAM lParam, ui::LRESULT* result, plat::DWord* cookie) {
  if (cookie) *cookie = 0;
  CSaItem& self = outer<CSaItem>();
  if (!self.IsInPlaceActive() || self.m_record.fromFile != 1) return S_OK;
  switch (message) {
    case ui::WM_PAINT:
      if (!self.PaintInPlace(hwnd)) return S_OK;
      break;
    case ui::WM_LBUTTONDOWN:
    case ui::WM_LBUTTONDBLCLK:
    case ui::WM_RBUTTONDOWN:
    case ui::WM_RBUTTONDBLCLK:
      if (!self.ForwardClick(hwnd, message, wParam, lParam)) return S_OK;
      break;
    default:
      return S_OK;
  }
  if (result) *result = 0;
  return S_FALSE;
}

HResult CSaItem::XSimpleFrameSite::PostMessageFilter(ui::HWND, ui::UINT, ui::WPARAM, ui::LPARAM, ui::LRESULT*,
                                                     plat::DWord) {
  return S_OK;
}
