#include "platform/ole/proppage.h"

#include <algorithm>
#include <new>

#include "platform/base/numtext.h"
#include "platform/base/text.h"
#include "platform/com/creation.h"
#include "platform/ui/messages.h"
#include "platform/ui/propsheet.h"
#include "platform/ui/resource.h"

namespace plat::ole {

// --- Page ---------------------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(OlePropertyPage, ui::Dialog)

const ComObject::InterfaceEntry OlePropertyPage::kEntries[] = {
    interfaceEntry<IPropertyPage, &OlePropertyPage::xPropertyPage_>(IID_IPropertyPage)};
const ComObject::InterfaceMap OlePropertyPage::kInterfaceMap{&ComObject::kInterfaceMap, kEntries};

OlePropertyPage::OlePropertyPage(ui::UINT templateId, ui::UINT captionId) : captionId_(captionId) {
  // The page's resources are its module's: look them up while that module's code makes it.
  m_nIDTemplate = templateId;
  pageTemplate_ = ui::FindDialogResource(templateId);
  caption_ = captionId ? ui::LoadString(captionId) : std::string();
}

OlePropertyPage::~OlePropertyPage() {
  releaseObjects();
  if (site_) site_->Release();
}

void OlePropertyPage::OnFinalRelease() {
  AddRef();  // the window's destruction cannot release the page again
  if (IsWindow()) DestroyWindow();
  delete this;
}

void OlePropertyPage::releaseObjects() {
  for (IDispatch* d : objects_) d->Release();
  objects_.clear();
}

IDispatch** OlePropertyPage::GetObjectArray(std::uint32_t* count) {
  if (count) *count = static_cast<std::uint32_t>(objects_.size());
  return objects_.data();
}

void OlePropertyPage::SetModifiedFlag(bool modified) {
  dirty_ = modified;
  if (site_) site_->OnStatusChange(modified ? PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE : PROPPAGESTATUS_CLEAN);
}

IPropertyPage* OlePropertyPage::GetIPropertyPage(bool addRef) {
  if (addRef) AddRef();
  return &xPropertyPage_;
}

gdi::Size OlePropertyPage::TemplateSize() const {
  if (!pageTemplate_) return {};
  const gdi::Size units = ui::DialogBaseUnits(ui::DialogFont(*pageTemplate_));
  return {mulDiv(pageTemplate_->cx, units.cx, 4), mulDiv(pageTemplate_->cy, units.cy, 8)};
}

HResult OlePropertyPage::XPropertyPage::SetPageSite(IPropertyPageSite* site) {
  OlePropertyPage& self = outer<OlePropertyPage>();
  if (site) site->AddRef();
  if (self.site_) self.site_->Release();
  self.site_ = site;
  if (site) self.OnSetPageSite();
  return S_OK;
}

HResult OlePropertyPage::XPropertyPage::Activate(HWND parent, const gdi::Rect* rect, Bool32) {
  OlePropertyPage& self = outer<OlePropertyPage>();
  ui::Wnd* host = ui::Wnd::FromHandle(parent);
  if (!self.pageTemplate_ || !host) return E_FAIL;
  if (self.IsWindow()) return S_OK;
  constexpr ui::DWORD kFrameStyles = ui::WS_POPUP | ui::WS_CAPTION | ui::WS_SYSMENU | ui::WS_THICKFRAME | ui::WS_VISIBLE;
  if (!self.CreateFromTemplate(*self.pageTemplate_, host, ui::WS_CHILD, kFrameStyles)) return E_FAIL;
  // The page keeps its own size; it sits at the rectangle's corner.
  if (rect && self.IsWindow()) self.SetWindowPos(nullptr, rect->left, rect->top, 0, 0, ui::SWP_NOSIZE | ui::SWP_NOZORDER);
  return S_OK;
}

HResult OlePropertyPage::XPropertyPage::Deactivate() {
  OlePropertyPage& self = outer<OlePropertyPage>();
  if (self.IsWindow()) self.DestroyWindow();
  return S_OK;
}

HResult OlePropertyPage::XPropertyPage::GetPageInfo(PropPageInfo* info) {
  if (!info) return E_POINTER;
  OlePropertyPage& self = outer<OlePropertyPage>();
  *info = PropPageInfo();
  info->pszTitle = allocString(toUtf16(self.caption_));
  info->size = self.TemplateSize();
  return S_OK;
}

HResult OlePropertyPage::XPropertyPage::SetObjects(std::uint32_t count, IUnknown** objects) {
  OlePropertyPage& self = outer<OlePropertyPage>();
  if (count && !objects) return E_POINTER;
  self.releaseObjects();
  for (std::uint32_t i = 0; i < count; ++i) {
    void* d = nullptr;
    if (objects[i] && !failed(objects[i]->QueryInterface(IID_IDispatch, &d))) self.objects_.push_back(static_cast<IDispatch*>(d));
  }
  self.OnObjectsChanged();
  if (self.IsWindow()) self.UpdateData(false);
  return S_OK;
}

HResult OlePropertyPage::XPropertyPage::Show(ui::UINT command) {
  OlePropertyPage& self = outer<OlePropertyPage>();
  if (!self.IsWindow()) return E_UNEXPECTED;
  self.ShowWindow(static_cast<int>(command));
  return S_OK;
}

HResult OlePropertyPage::XPropertyPage::Move(const gdi::Rect* rect) {
  OlePropertyPage& self = outer<OlePropertyPage>();
  if (!rect) return E_POINTER;
  if (!self.IsWindow()) return E_UNEXPECTED;
  self.MoveWindow(*rect);
  return S_OK;
}

HResult OlePropertyPage::XPropertyPage::IsPageDirty() { return outer<OlePropertyPage>().dirty_ ? S_OK : S_FALSE; }

HResult OlePropertyPage::XPropertyPage::Apply() {
  OlePropertyPage& self = outer<OlePropertyPage>();
  if (self.IsWindow() && !self.UpdateData(true)) return E_FAIL;
  self.SetModifiedFlag(false);
  return S_OK;
}

HResult OlePropertyPage::XPropertyPage::Help(const char16_t*) { return E_NOTIMPL; }

HResult OlePropertyPage::XPropertyPage::TranslateAccelerator(ui::MSG* msg) {
  OlePropertyPage& self = outer<OlePropertyPage>();
  return msg && self.IsWindow() && self.PreTranslateMessage(msg) ? S_OK : S_FALSE;
}

// --- Frame ---------------------------------------------------------------------------------------------------

// The frame's page site: status changes enable Apply, the locale is the frame's.
class PropertyFrameSite final : public ComObject {
 public:
  explicit PropertyFrameSite(PropertyFrame* frame) : frame_(frame) {}
  PropertyFrame* frame_;
  IPropertyPageSite* site() { return &xSite_; }

 protected:
  const InterfaceMap& GetInterfaceMap() const override { return kMap; }

 private:
  struct XSite : Nested<IPropertyPageSite> {
    using Nested::Nested;
    HResult OnStatusChange(DWord) override {
      if (PropertyFrame* f = outer<PropertyFrameSite>().frame_) f->statusChanged();
      return S_OK;
    }
    HResult GetLocaleID(Lcid* lcid) override {
      if (!lcid) return E_POINTER;
      PropertyFrame* f = outer<PropertyFrameSite>().frame_;
      *lcid = f ? f->lcid_ : 0;
      return S_OK;
    }
    HResult GetPageContainer(IUnknown** container) override {
      if (container) *container = nullptr;
      return E_NOTIMPL;
    }
    HResult TranslateAccelerator(ui::MSG*) override { return S_FALSE; }
  } xSite_{*this};
  static const InterfaceEntry kEntries[];
  static const InterfaceMap kMap;
};

const ComObject::InterfaceEntry PropertyFrameSite::kEntries[] = {
    interfaceEntry<IPropertyPageSite, &PropertyFrameSite::xSite_>(IID_IPropertyPageSite)};
const ComObject::InterfaceMap PropertyFrameSite::kMap{&ComObject::kInterfaceMap, kEntries};

namespace {

constexpr int kMargin = 7;
constexpr int kTabHeader = 24;
constexpr int kTabInset = 4;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
const gdi::Size kSmallestArea{120, 60};

}  // namespace

PropertyFrame::PropertyFrame(std::u16string_view caption, std::span<IUnknown* const> objects, std::span<const Guid> pages,
                             Lcid lcid)
    : caption_(toUtf8(caption)), lcid_(lcid) {
  siteObject_ = new PropertyFrameSite(this);
  site_ = siteObject_->site();
  for (IUnknown* object : objects)
    if (object) {
      object->AddRef();
      objects_.push_back(object);
    }
  for (const Guid& clsid : pages) {
    IPropertyPage* page = nullptr;
    if (failed(createInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, reinterpret_cast<void**>(&page))))
      continue;
    PageEntry entry;
    entry.page = page;
    PropPageInfo info;
    if (!failed(page->GetPageInfo(&info))) {
      entry.title = std::u16string(stringView(info.pszTitle));
      entry.size = info.size;
    }
    freeString(info.pszTitle);
    freeString(info.pszDocString);
    freeString(info.pszHelpFile);
    page->SetPageSite(site_);
    page->SetObjects(static_cast<std::uint32_t>(objects_.size()), objects_.data());
    pages_.push_back(std::move(entry));
  }
  frameTemplate_.id = 0;
  frameTemplate_.caption = caption_.c_str();
  frameTemplate_.style = ui::WS_POPUP | ui::WS_CAPTION | ui::WS_SYSMENU | ui::DS_MODALFRAME | ui::DS_SETFONT;
  frameTemplate_.fontName = "MS Sans Serif";
  frameTemplate_.pointSize = 8;
  m_template = &frameTemplate_;
}

PropertyFrame::~PropertyFrame() {
  if (IsWindow()) DestroyWindow();
  for (PageEntry& entry : pages_) {
    entry.page->Deactivate();
    entry.page->SetObjects(0, nullptr);
    entry.page->SetPageSite(nullptr);
    entry.page->Release();
  }
  for (IUnknown* object : objects_) object->Release();
  // The site forgets the frame; a page that still holds it holds nothing stale.
  siteObject_->frame_ = nullptr;
  siteObject_->Release();
}

IPropertyPage* PropertyFrame::Page(int index) const {
  return index >= 0 && index < PageCount() ? pages_[static_cast<std::size_t>(index)].page : nullptr;
}

bool PropertyFrame::OnInitDialog() {
  ui::Dialog::OnInitDialog();
  area_size_ = kSmallestArea;
  for (const PageEntry& entry : pages_) {
    area_size_.cx = std::max(area_size_.cx, entry.size.cx);
    area_size_.cy = std::max(area_size_.cy, entry.size.cy);
  }
  const gdi::Rect tabRect(kMargin, kMargin, kMargin + area_size_.cx + 2 * kTabInset,
                          kMargin + kTabHeader + area_size_.cy + 2 * kTabInset);
  const gdi::Rect areaRect(tabRect.left + kTabInset, tabRect.top + kTabHeader + kTabInset,
                           tabRect.left + kTabInset + area_size_.cx, tabRect.top + kTabHeader + kTabInset + area_size_.cy);
  tabs_ = std::make_unique<ui::TabCtrl>();
  tabs_->Create(ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_CLIPSIBLINGS | ui::WS_TABSTOP, tabRect, this, kPropertyFrameTabId);
  for (int i = 0; i < PageCount(); ++i) tabs_->InsertItem(i, toUtf8(pages_[static_cast<std::size_t>(i)].title));
  area_ = std::make_unique<ui::Wnd>();
  area_->CreateEx(ui::WS_EX_CONTROLPARENT, nullptr, "", ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_CLIPCHILDREN, areaRect, this, 0);
  // The pages' area lies over the tab control, which was made first.
  area_->SetWindowPos(&ui::Wnd::wndTop, 0, 0, 0, 0, ui::SWP_NOMOVE | ui::SWP_NOSIZE | ui::SWP_NOACTIVATE);
  // OK, Cancel, Apply and Help along the bottom right; the frame is as wide as the tabs or the
  // buttons, whichever is wider.
  const int top = tabRect.bottom + kMargin;
  const int contentRight = std::max(tabRect.right, kMargin + 4 * kButtonWidth + 3 * kButtonGap);
  int right = contentRight;
  auto button = [&](std::unique_ptr<ui::Button>& b, const char* text, ui::UINT id, ui::DWORD style) {
    b = std::make_unique<ui::Button>();
    b->Create(text, ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_TABSTOP | style, gdi::Rect(right - kButtonWidth, top, right, top + kButtonHeight),
              this, id);
    right -= kButtonWidth + kButtonGap;
  };
  button(help_, "Help", kPropertyFrameHelpId, 0);
  button(apply_, "&Apply", ui::ID_APPLY_NOW, 0);
  button(cancel_, "Cancel", ui::IDCANCEL, 0);
  button(ok_, "OK", ui::IDOK, ui::BS_DEFPUSHBUTTON);
  apply_->EnableWindow(false);
  help_->EnableWindow(false);
  // The frame's client area holds it all.
  gdi::Rect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  const int width = contentRight + kMargin + (window.Width() - client.Width());
  const int height = top + kButtonHeight + kMargin + (window.Height() - client.Height());
  SetWindowPos(nullptr, 0, 0, width, height, ui::SWP_NOMOVE | ui::SWP_NOZORDER);
  if (PageCount() > 0) SetActivePage(0);
  return true;
}

bool PropertyFrame::SetActivePage(int index) {
  IPropertyPage* page = Page(index);
  if (!page || !area_ || !area_->IsWindow()) return false;
  // A page made now takes the focus to its first control; the tabs, turned by the keyboard,
  // keep it.
  const bool tabsFocused = tabs_ && ui::Wnd::GetFocus() == tabs_.get();
  if (IPropertyPage* current = Page(active_); current && active_ != index) current->Show(ui::SW_HIDE);
  PageEntry& entry = pages_[static_cast<std::size_t>(index)];
  if (!entry.activated) {
    const gdi::Rect rect(0, 0, area_size_.cx, area_size_.cy);
    if (failed(page->Activate(area_->m_hWnd, &rect, 1))) return false;
    entry.activated = true;
  }
  page->Show(ui::SW_SHOW);
  active_ = index;
  if (tabs_ && tabs_->GetCurSel() != index) tabs_->SetCurSel(index);
  if (tabsFocused && tabs_->IsWindow()) tabs_->SetFocus();
  return true;
}

bool PropertyFrame::PreTranslateMessage(ui::MSG* msg) {
  if (msg && msg->message == ui::WM_KEYDOWN && ui::GetKeyState(ui::VK_CONTROL) < 0 && PageCount() > 1) {
    const ui::Wnd* target = ui::Wnd::FromHandle(msg->hwnd);
    const bool tab = msg->wParam == ui::VK_TAB;
    if (target && (target == this || IsChild(target)) && (tab || msg->wParam == ui::VK_NEXT || msg->wParam == ui::VK_PRIOR)) {
      const bool back = tab ? ui::GetKeyState(ui::VK_SHIFT) < 0 : msg->wParam == ui::VK_PRIOR;
      const int n = PageCount();
      SetActivePage((std::max(active_, 0) + (back ? n - 1 : 1)) % n);
      return true;
    }
  }
  return ui::Dialog::PreTranslateMessage(msg);
}

bool PropertyFrame::IsApplyEnabled() const {
  return std::any_of(pages_.begin(), pages_.end(), [](const PageEntry& e) { return e.page->IsPageDirty() == S_OK; });
}

bool PropertyFrame::ApplyAll() {
  bool ok = true;
  for (PageEntry& entry : pages_)
    if (entry.page->IsPageDirty() == S_OK && failed(entry.page->Apply())) ok = false;
  statusChanged();
  return ok;
}

void PropertyFrame::statusChanged() {
  if (apply_ && apply_->IsWindow()) apply_->EnableWindow(IsApplyEnabled());
}

void PropertyFrame::OnApply() { ApplyAll(); }

void PropertyFrame::OnOK() {
  if (ApplyAll()) EndDialog(ui::IDOK);
}

void PropertyFrame::OnCancel() { EndDialog(ui::IDCANCEL); }

bool PropertyFrame::OnCommand(ui::WPARAM wParam, ui::LPARAM lParam) {
  if (ui::LOWORD(wParam) == ui::ID_APPLY_NOW && ui::HIWORD(wParam) == 0) {
    OnApply();
    return true;
  }
  return ui::Dialog::OnCommand(wParam, lParam);
}

bool PropertyFrame::OnNotify(ui::WPARAM wParam, ui::LPARAM lParam, ui::LRESULT* result) {
  const auto* hdr = reinterpret_cast<const ui::NMHDR*>(lParam);
  if (hdr && tabs_ && hdr->hwndFrom == tabs_->m_hWnd && hdr->code == ui::TCN_SELCHANGE) {
    SetActivePage(tabs_->GetCurSel());
    return true;
  }
  return ui::Dialog::OnNotify(wParam, lParam, result);
}

int showPropertyFrame(HWND owner, std::u16string_view caption, std::span<IUnknown* const> objects, std::span<const Guid> pages,
                      Lcid lcid) {
  PropertyFrame frame(caption, objects, pages, lcid);
  if (frame.PageCount() == 0) return -1;
  frame.m_pParentWnd = ui::Wnd::FromHandle(owner);
  return frame.DoModal();
}

}  // namespace plat::ole
