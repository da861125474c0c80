// Property sheets and pages.
#include "platform/ui/propsheet.h"

#include <algorithm>

#include "platform/ui/app.h"
#include "platform/ui/internal/modal.h"
#include "platform/ui/internal/state.h"
#include "platform/ui/metrics.h"
#include "platform/ui/responder.h"

namespace ui {

namespace {
constexpr UINT kTabId = 0x3020;
constexpr int kMargin = 7;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
}  // namespace

// --- Pages ------------------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(PropertyPage, Dialog)

PropertyPage::PropertyPage(UINT templateId, UINT captionId) : Dialog(templateId), m_captionId(captionId) {}

bool PropertyPage::OnSetActive() { return IsWindow(); }
bool PropertyPage::OnKillActive() { return UpdateData(true); }
bool PropertyPage::OnApply() {
  OnOK();
  SetModified(false);
  return true;
}
void PropertyPage::OnReset() { OnCancel(); }
bool PropertyPage::OnQueryCancel() { return true; }
void PropertyPage::OnOK() {}
void PropertyPage::OnCancel() {}

void PropertyPage::SetModified(bool modified) {
  m_modified = modified;
  if (m_sheet) m_sheet->ModifiedChanged();
}

void PropertyPage::CancelToClose() {
  if (!m_sheet) return;
  m_sheet->m_cancelToClose = true;
  if (m_sheet->m_ok) m_sheet->m_ok->EnableWindow(false);
  if (m_sheet->m_cancel) m_sheet->m_cancel->SetWindowText("Close");
}

std::string PropertyPage::GetCaption() const {
  if (m_captionId) return LoadString(m_captionId);
  const DialogResource* t = m_template ? m_template : FindDialogResource(m_nIDTemplate);
  return t && t->caption ? t->caption : "";
}

// --- Sheet ------------------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(PropertySheet, Wnd)

UI_BEGIN_MESSAGE_MAP(PropertySheet, Wnd)
  map::Command(IDOK, &PropertySheet::OnOK),
  map::Command(IDCANCEL, &PropertySheet::OnCancel),
  map::Command(ID_APPLY_NOW, &PropertySheet::OnApplyNow),
  map::Notify(TCN_SELCHANGING, kTabId, &PropertySheet::OnTabChanging),
  map::Notify(TCN_SELCHANGE, kTabId, &PropertySheet::OnTabChange),
  map::Close(&PropertySheet::OnCloseMessage),
UI_END_MESSAGE_MAP()

PropertySheet::PropertySheet(std::string_view caption, Wnd* parent, UINT selectPage)
    : m_caption(caption), m_parent(parent), m_startPage(selectPage) {}

PropertySheet::PropertySheet(UINT captionId, Wnd* parent, UINT selectPage)
    : m_caption(LoadString(captionId)), m_parent(parent), m_startPage(selectPage) {}

PropertySheet::~PropertySheet() {
  for (PropertyPage* p : m_pages) {
    if (p->IsWindow()) p->DestroyWindow();
    p->m_sheet = nullptr;
  }
  if (IsWindow()) DestroyWindow();
}

void PropertySheet::AddPage(PropertyPage* page) {
  if (!page) return;
  page->m_sheet = this;
  m_pages.push_back(page);
  if (m_tabs) m_tabs->InsertItem(GetPageCount() - 1, page->GetCaption());
}

void PropertySheet::RemovePage(int index) {
  if (index < 0 || index >= GetPageCount()) return;
  PropertyPage* p = m_pages[static_cast<std::size_t>(index)];
  if (p->IsWindow()) p->DestroyWindow();
  p->m_sheet = nullptr;
  m_pages.erase(m_pages.begin() + index);
  if (m_tabs) m_tabs->DeleteItem(index);
  if (m_active == index) {
    m_active = -1;
    if (!m_pages.empty()) SetActivePage(std::min(index, GetPageCount() - 1));
  } else if (m_active > index) {
    --m_active;
  }
}

PropertyPage* PropertySheet::GetPage(int index) const {
  return index >= 0 && index < GetPageCount() ? m_pages[static_cast<std::size_t>(index)] : nullptr;
}
PropertyPage* PropertySheet::GetActivePage() const { return GetPage(m_active); }

bool PropertySheet::SetActivePage(PropertyPage* page) {
  auto it = std::find(m_pages.begin(), m_pages.end(), page);
  return it != m_pages.end() && SetActivePage(static_cast<int>(it - m_pages.begin()));
}

bool PropertySheet::SetActivePage(int index) {
  PropertyPage* next = GetPage(index);
  if (!next) return false;
  if (index == m_active) return true;
  if (PropertyPage* current = GetActivePage(); current && current->IsWindow() && !current->OnKillActive()) return false;
  if (!next->IsWindow()) {
    const DialogResource* tmpl = FindDialogResource(next->m_nIDTemplate);
    if (!tmpl || !next->CreateFromTemplate(*tmpl, this, WS_CHILD | DS_CONTROL,
                                           WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_DLGFRAME | WS_BORDER))
      return false;
    next->MoveWindow(m_pageRect);
  }
  if (!next->OnSetActive()) return false;
  if (PropertyPage* current = GetActivePage(); current && current->IsWindow()) current->ShowWindow(SW_HIDE);
  m_active = index;
  // The page lies over the tab control, which was made first.
  next->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  next->ShowWindow(SW_SHOW);
  if (m_tabs) m_tabs->SetCurSel(index);
  next->GotoDlgCtrl(next->GetNextDlgTabItem(nullptr));
  return true;
}

void PropertySheet::SetTitle(std::string_view title) {
  m_caption = std::string(title);
  if (IsWindow()) SetWindowText(m_caption);
}

bool PropertySheet::CreateSheetWindow(Wnd* owner) {
  // Pages take the size of the largest template, in the first page's dialog units.
  Size pageSize{0, 0};
  for (PropertyPage* p : m_pages)
    if (const DialogResource* t = FindDialogResource(p->m_nIDTemplate)) {
      const Size base = DialogBaseUnits(DialogFont(*t));
      pageSize.cx = std::max(pageSize.cx, gdi::MulDiv(t->cx, base.cx, 4));
      pageSize.cy = std::max(pageSize.cy, gdi::MulDiv(t->cy, base.cy, 8));
    }
  const int tabHeight = 24;
  const int width = pageSize.cx + 2 * kMargin + 4;
  const int height = tabHeight + pageSize.cy + 2 * kMargin + 4 + kButtonGap + kButtonHeight + kMargin;
  Rect over = GetWorkArea();
  if (owner) owner->GetWindowRect(&over);
  const Rect rect(over.left + (over.Width() - width) / 2, over.top + (over.Height() - height) / 2,
                  over.left + (over.Width() - width) / 2 + width, over.top + (over.Height() - height) / 2 + height);
  static const std::string cls = [] {
    const gdi::Brush face(gdi::GetSysColor(gdi::COLOR_BTNFACE));
    return RegisterWndClass(CS_DBLCLKS, nullptr, &face);
  }();
  if (!CreateEx(WS_EX_DLGMODALFRAME, cls.c_str(), m_caption, WS_POPUP | WS_CAPTION | WS_SYSMENU, rect, owner, 0))
    return false;
  gdi::Font font;
  font.CreatePointFont(80, "MS Sans Serif", 96);
  m_tabs = std::make_unique<TabCtrl>();
  const Rect tabRect(kMargin, kMargin, width - kMargin, kMargin + tabHeight + pageSize.cy + 4);
  m_tabs->Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, tabRect, this, kTabId);
  m_tabs->SetFont(font, false);
  for (int i = 0; i < GetPageCount(); ++i) m_tabs->InsertItem(i, m_pages[static_cast<std::size_t>(i)]->GetCaption());
  Rect display = tabRect;
  m_tabs->AdjustRect(false, &display);
  m_pageRect = Rect(display.left, display.top, display.left + pageSize.cx, display.top + pageSize.cy);
  const int y = tabRect.bottom + kButtonGap;
  int x = width - kMargin - kButtonWidth;
  auto makeButton = [&](std::unique_ptr<Button>& b, const char* text, UINT id, DWORD style) {
    b = std::make_unique<Button>();
    b->Create(text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, Rect(x, y, x + kButtonWidth, y + kButtonHeight), this, id);
    b->SetFont(font, false);
    x -= kButtonWidth + kButtonGap;
  };
  makeButton(m_apply, "&Apply", ID_APPLY_NOW, BS_PUSHBUTTON);
  makeButton(m_cancel, "Cancel", IDCANCEL, BS_PUSHBUTTON);
  makeButton(m_ok, "OK", IDOK, BS_DEFPUSHBUTTON);
  m_apply->EnableWindow(false);
  // The OK button comes first in the tab order.
  m_ok->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return true;
}

int PropertySheet::DoModal() {
  ModalOwner owner(m_parent);
  m_ended = false;
  m_result = IDCANCEL;
  ModalQuestion q;
  q.kind = ModalKind::PropertySheet;
  q.title = m_caption;
  bool byResponder = false;
  if (CreateSheetWindow(owner.get()) && !m_pages.empty() &&
      SetActivePage(std::min<int>(static_cast<int>(m_startPage), GetPageCount() - 1))) {
    const HWND self = m_hWnd;
    MakeWindowModal(this);
    ShowWindow(SW_SHOW);
    q.sheet = this;
    q.dialog = GetActivePage();
    const int answer = AskWhileOpen(q, self, m_ended, m_result, &byResponder);
    if (!m_ended && ui::IsWindow(self)) {
      if (answer == IDOK) OnOK();
      else OnCancel();
      if (!m_ended) EndSheet(IDCANCEL);
    }
  } else {
    m_result = -1;
  }
  for (PropertyPage* p : m_pages)
    if (p->IsWindow()) p->DestroyWindow();
  if (IsWindow()) DestroyWindow();
  m_tabs.reset();
  m_ok.reset();
  m_cancel.reset();
  m_apply.reset();
  m_active = -1;
  if (m_result != -1) LogModal(q, m_result, byResponder);
  return m_result;
}

void PropertySheet::EndSheet(int result) {
  m_result = result;
  m_ended = true;
}

bool PropertySheet::ApplyAll() {
  if (PropertyPage* current = GetActivePage(); current && current->IsWindow() && !current->OnKillActive()) return false;
  for (int i = 0; i < GetPageCount(); ++i) {
    PropertyPage* p = m_pages[static_cast<std::size_t>(i)];
    if (!p->IsWindow()) continue;  // never shown: nothing to apply
    if (!p->OnApply()) {
      SetActivePage(i);
      return false;
    }
  }
  ModifiedChanged();
  return true;
}

void PropertySheet::OnOK() {
  if (m_cancelToClose) return;
  if (ApplyAll()) EndSheet(IDOK);
}

void PropertySheet::OnCancel() {
  for (PropertyPage* p : m_pages)
    if (p->IsWindow() && !p->OnQueryCancel()) return;
  for (PropertyPage* p : m_pages)
    if (p->IsWindow()) p->OnReset();
  EndSheet(m_cancelToClose ? IDOK : IDCANCEL);
}

void PropertySheet::OnApplyNow() {
  if (m_apply && m_apply->IsWindowEnabled()) ApplyAll();
}

void PropertySheet::OnCloseMessage() { OnCancel(); }

void PropertySheet::OnTabChanging(NMHDR*, LRESULT* result) {
  PropertyPage* current = GetActivePage();
  *result = current && current->IsWindow() && !current->OnKillActive() ? 1 : 0;
}

void PropertySheet::OnTabChange(NMHDR*, LRESULT*) {
  const int wanted = m_tabs ? m_tabs->GetCurSel() : -1;
  const int before = m_active;
  // The old page has already agreed to go (TCN_SELCHANGING).
  PropertyPage* next = GetPage(wanted);
  if (!next) return;
  m_active = -1;
  if (PropertyPage* old = GetPage(before); old && old->IsWindow()) old->ShowWindow(SW_HIDE);
  if (!next->IsWindow()) {
    const DialogResource* tmpl = FindDialogResource(next->m_nIDTemplate);
    if (!tmpl || !next->CreateFromTemplate(*tmpl, this, WS_CHILD | DS_CONTROL,
                                           WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_DLGFRAME | WS_BORDER)) {
      m_active = before;
      return;
    }
    next->MoveWindow(m_pageRect);
  }
  next->OnSetActive();
  m_active = wanted;
  next->ShowWindow(SW_SHOW);
}

bool PropertySheet::PressButton(UINT id) {
  Wnd* b = GetDlgItem(id);
  if (b && !b->IsWindowEnabled()) return false;
  if (b) b->SendMessage(BM_CLICK);
  else SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), 0);
  return true;
}

bool PropertySheet::IsApplyEnabled() const { return m_apply && m_apply->IsWindowEnabled(); }

bool PropertySheet::AnyModified() const {
  for (const PropertyPage* p : m_pages)
    if (p->IsWindow() && p->IsModified()) return true;
  return false;
}

void PropertySheet::ModifiedChanged() {
  if (m_apply) m_apply->EnableWindow(AnyModified());
}

bool PropertySheet::PreTranslateMessage(MSG* msg) {
  if (msg->message != WM_KEYDOWN) return false;
  Wnd* target = FromHandle(msg->hwnd);
  if (!target || (target != this && !IsChild(target))) return false;
  if (msg->wParam == VK_TAB && (GetKeyState(VK_CONTROL) < 0)) {
    // Ctrl+Tab moves to the next page.
    const int n = GetPageCount();
    if (n > 1) SetActivePage((m_active + (GetKeyState(VK_SHIFT) < 0 ? n - 1 : 1)) % n);
    return true;
  }
  return false;
}

}  // namespace ui
