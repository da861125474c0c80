#include "platform/ole/testing/testcontainer.h"

#include "platform/base/numtext.h"
#include "platform/base/text.h"
#include "platform/gdi/dc.h"
#include "platform/ui/app.h"
#include "platform/ui/messages.h"

namespace plat::ole::testing {

std::string formatWidths(const BorderWidths& w) {
  return formatInt(w.left) + "," + formatInt(w.top) + "," + formatInt(w.right) + "," + formatInt(w.bottom);
}

namespace {

std::string formatRect(const gdi::Rect& r) {
  return formatInt(r.left) + "," + formatInt(r.top) + "," + formatInt(r.right) + "," + formatInt(r.bottom);
}

// The view draws every item that is not active in place from its presentation picture.
class TestView final : public ui::View {
 public:
  void OnDraw(gdi::DC* dc) override {
    auto* doc = dynamic_cast<OleDocument*>(GetDocument());
    if (!doc) return;
    for (OleClientItem* item : doc->GetItems())
      if (!item->IsInPlaceActive()) item->Draw(dc, item->m_rect);
  }
};

}  // namespace

// --- Item ----------------------------------------------------------------------------------------------------

TestItem::TestItem(OleDocument* document, TestContainer* container) : OleClientItem(document), container_(container) {}

void TestItem::OnChange(OleNotification notification, DWord param) {
  if (notification == OleNotification::Changed) {
    ++viewChanges_;
    container_->AddLog("OnViewChange");
  }
  OleClientItem::OnChange(notification, param);
}

void TestItem::OnDataChange(const FormatEtc*, StgMedium*) {
  ++dataChanges_;
  container_->AddLog("OnDataChange");
}

void TestItem::OnActivate() { container_->AddLog("OnInPlaceActivate"); }
void TestItem::OnActivateUI() { container_->AddLog("OnUIActivate"); }
void TestItem::OnDeactivateUI(bool) { container_->AddLog("OnUIDeactivate"); }
void TestItem::OnDeactivate() { container_->AddLog("OnInPlaceDeactivate"); }

bool TestItem::OnChangeItemPosition(const gdi::Rect& position) {
  container_->AddLog("OnPosRectChange " + formatRect(position));
  return OleClientItem::OnChangeItemPosition(position);
}

// --- Frame hook ---------------------------------------------------------------------------------------------

TestFrameHook::TestFrameHook(ui::FrameWnd* frame, TestContainer* container) : OleFrameHook(frame), container_(container) {}

HResult TestFrameHook::GetBorder(gdi::Rect* border) {
  container_->AddLog("GetBorder");
  return OleFrameHook::GetBorder(border);
}

HResult TestFrameHook::RequestBorderSpace(const BorderWidths* widths) {
  container_->AddLog("RequestBorderSpace " + (widths ? formatWidths(*widths) : std::string("null")));
  if (refuseToolSpace && widths && !widths->empty()) return INPLACE_E_NOTOOLSPACE;
  return OleFrameHook::RequestBorderSpace(widths);
}

HResult TestFrameHook::SetBorderSpace(const BorderWidths* widths) {
  container_->AddLog("SetBorderSpace " + (widths ? formatWidths(*widths) : std::string("null")));
  if (refuseToolSpace && widths && !widths->empty()) return INPLACE_E_NOTOOLSPACE;
  return OleFrameHook::SetBorderSpace(widths);
}

HResult TestFrameHook::SetActiveObject(IOleInPlaceActiveObject* object, const char16_t* name) {
  container_->AddLog(object ? "SetActiveObject" : "SetActiveObject null");
  return OleFrameHook::SetActiveObject(object, name);
}

HResult TestFrameHook::SetStatusText(const char16_t* text) {
  container_->AddLog("SetStatusText " + toUtf8(text ? std::u16string_view(text) : std::u16string_view()));
  return OleFrameHook::SetStatusText(text);
}

HResult TestFrameHook::SetMenu(ui::Menu* shared, void* descriptor, HWND activeObject) {
  container_->AddLog(shared ? "SetMenu" : "SetMenu null");
  return OleFrameHook::SetMenu(shared, descriptor, activeObject);
}

// --- Container ---------------------------------------------------------------------------------------------------

TestContainer::TestContainer(int width, int height) : document_(std::make_unique<OleDocument>()) {
  document_->m_bAutoDelete = false;
  frame_ = new ui::FrameWnd;
  frame_->Create(nullptr, "Test container", ui::WS_OVERLAPPEDWINDOW, gdi::Rect(0, 0, width, height));
  status_ = std::make_unique<ui::StatusBar>();
  status_->Create(frame_);
  const ui::UINT indicators[] = {ui::ID_SEPARATOR};
  status_->SetIndicators(indicators, 1);
  auto* view = new TestView;
  view->CreateEx(0, nullptr, "", ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_CLIPCHILDREN, gdi::Rect(), frame_, ui::AFX_IDW_PANE_FIRST);
  view_ = view;
  document_->AddView(view_);
  frame_->SetActiveView(view_);
  hook_ = new TestFrameHook(frame_, this);
  OleFrameHook::Attach(frame_, hook_);
  frame_->ShowWindow(ui::SW_SHOW);
  frame_->RecalcLayout();
}

TestContainer::~TestContainer() {
  document_->DeleteContents();
  if (ui::IsWindow(frame_->m_hWnd)) frame_->DestroyWindow();
  status_.reset();
  document_.reset();
}

TestItem* TestContainer::AddItem(const Guid& clsid, const gdi::Rect& position) {
  auto* item = new TestItem(document_.get(), this);
  item->m_rect = position;
  if (!item->CreateNewItem(clsid)) {
    AddLog("CreateNewItem failed");
    item->Delete();
    return nullptr;
  }
  view_->Invalidate();
  return item;
}

TestItem* TestContainer::AddItemFromData(IDataObject* data, const gdi::Rect& position) {
  auto* item = new TestItem(document_.get(), this);
  item->m_rect = position;
  if (!item->CreateFromData(data)) {
    AddLog("CreateFromData failed");
    item->Delete();
    return nullptr;
  }
  view_->Invalidate();
  return item;
}

bool TestContainer::Activate(TestItem* item, std::int32_t verb) { return item && item->Activate(verb, view_); }

void TestContainer::Deactivate(TestItem* item) {
  if (item) item->Deactivate();
}

void TestContainer::Remove(TestItem* item) {
  if (item) item->Delete();
  view_->Invalidate();
}

std::unique_ptr<gdi::RasterSurface> TestContainer::RenderView() {
  ui::App::PumpPending();
  view_->Invalidate();
  view_->UpdateWindow();
  for (OleClientItem* item : document_->GetItems())
    if (ui::Wnd* wnd = ui::Wnd::FromHandle(item->GetInPlaceWindow())) wnd->UpdateWindow();
  return view_->Render();
}

std::unique_ptr<gdi::RasterSurface> TestContainer::RenderItem(const TestItem& item, gdi::Size size) {
  auto surface = std::make_unique<gdi::RasterSurface>(size.cx, size.cy, gdi::RGB(255, 255, 255));
  gdi::DC dc(*surface);
  item.Draw(&dc, gdi::Rect(0, 0, size.cx, size.cy));
  return surface;
}

bool TestContainer::Logged(std::string_view text) const {
  for (const std::string& line : log_)
    if (line == text) return true;
  return false;
}

}  // namespace plat::ole::testing
