// Dialogs from templates, modal and modeless runs, dialog keys and value exchange.
#include "platform/ui/dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/base/numtext.h"
#include "platform/base/text.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/surface.h"
#include "platform/ui/app.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/controls.h"
#include "platform/ui/internal/modal.h"
#include "platform/ui/internal/state.h"
#include "platform/ui/metrics.h"
#include "platform/ui/internal/wndaccess.h"
#include "platform/ui/responder.h"

namespace ui {

namespace {

const char* DialogClass() {
  static const std::string name = [] {
    const gdi::Brush face(gdi::GetSysColor(gdi::COLOR_BTNFACE));
    return RegisterWndClass(CS_DBLCLKS, nullptr, &face);
  }();
  return name.c_str();
}

// The object a template item gets: the class's own, so GetDlgItem answers what the item is.
Wnd* MakeItemObject(const char* className) {
  const std::string_view c = className ? className : "";
  auto is = [&](std::string_view name) { return plat::equalsNoCase(c, name); };
  if (is("BUTTON")) return new Button;
  if (is("EDIT")) return new Edit;
  if (is("STATIC")) return new Static;
  if (is("LISTBOX")) return new ListBox;
  if (is("COMBOBOX")) return new ComboBox;
  if (is("SysListView32")) return new ListCtrl;
  if (is("SysTabControl32")) return new TabCtrl;
  return new Wnd;
}

Rect DialogUnitsToPixels(int x, int y, int cx, int cy, Size base) {
  const int left = gdi::MulDiv(x, base.cx, 4);
  const int top = gdi::MulDiv(y, base.cy, 8);
  return Rect(left, top, left + gdi::MulDiv(cx, base.cx, 4), top + gdi::MulDiv(cy, base.cy, 8));
}

}  // namespace

Size DialogBaseUnits(const gdi::Font& font) {
  gdi::RasterSurface surface(1, 1);
  gdi::DC dc(surface);
  if (font.IsNull()) dc.SelectStockObject(gdi::DEFAULT_GUI_FONT);
  else dc.SelectObject(font);
  const Size extent = dc.GetTextExtent(std::string_view("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  gdi::TEXTMETRIC tm;
  dc.GetTextMetrics(&tm);
  // The platform's average character width: half the width of the alphabet per letter, rounded.
  const int cx = (extent.cx / 26 + 1) / 2;
  return {std::max(1, cx), std::max(1, static_cast<int>(tm.tmHeight))};
}

gdi::Font DialogFont(const DialogResource& tmpl) {
  gdi::Font font;
  if (tmpl.fontName && *tmpl.fontName && tmpl.pointSize > 0) font.CreatePointFont(tmpl.pointSize * 10, tmpl.fontName, 96);
  else font.CreatePointFont(80, "MS Sans Serif", 96);
  return font;
}

bool CreateDialogItems(Wnd* parent, const DialogResource& tmpl, const gdi::Font& font, Size base) {
  for (const DialogItemResource& item : tmpl.items) {
    Wnd* obj = MakeItemObject(item.className);
    WndAccess::SetLayerObject(obj, true);
    const Rect rect = DialogUnitsToPixels(item.x, item.y, item.cx, item.cy, base);
    const UINT id = item.id == static_cast<UINT>(IDC_STATIC) ? 0xFFFF : item.id;
    if (!obj->CreateEx(item.exStyle, item.className, item.text ? item.text : "", item.style | WS_CHILD | WS_VISIBLE,
                       rect, parent, id)) {
      delete obj;
      return false;
    }
    if (!font.IsNull()) obj->SetFont(font, false);
  }
  return true;
}

// --- Dialog ---------------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(Dialog, Wnd)

UI_BEGIN_MESSAGE_MAP(Dialog, Wnd)
  map::Message(WM_INITDIALOG, &Dialog::OnInitDialogMessage),
  map::Command(IDOK, &Dialog::OnOK),
  map::Command(IDCANCEL, &Dialog::OnCancel),
  map::Close(&Dialog::OnCloseMessage),
UI_END_MESSAGE_MAP()

Dialog::Dialog(UINT templateId, Wnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}
Dialog::~Dialog() = default;

bool Dialog::CreateFromTemplate(const DialogResource& tmpl, Wnd* parent, DWORD extraStyle, DWORD removeStyle) {
  m_template = &tmpl;
  m_font = DialogFont(tmpl);
  m_baseUnits = DialogBaseUnits(m_font);
  m_ended = false;
  const DWORD style = ((tmpl.style | extraStyle) & ~removeStyle) & ~WS_VISIBLE;
  Rect rect = DialogUnitsToPixels(tmpl.x, tmpl.y, tmpl.cx, tmpl.cy, m_baseUnits);
  if (!(style & WS_CHILD)) {
    // Centred over the owner, else on the screen.
    Rect over = GetWorkArea();
    if (parent)
      if (Wnd* top = parent->GetTopLevelParent()) top->GetWindowRect(&over);
    const int w = rect.Width(), h = rect.Height();
    rect = Rect(over.left + (over.Width() - w) / 2, over.top + (over.Height() - h) / 2, 0, 0);
    rect.right = rect.left + w;
    rect.bottom = rect.top + h;
  }
  if (!CreateEx(tmpl.exStyle, DialogClass(), tmpl.caption ? tmpl.caption : "", style, rect, parent, 0)) return false;
  const HWND self = m_hWnd;
  SetFont(m_font, false);
  if (!CreateDialogItems(this, tmpl, m_font, m_baseUnits)) {
    DestroyWindow();
    return false;
  }
  Wnd* first = GetNextDlgTabItem(nullptr);
  const LRESULT focus = SendMessage(WM_INITDIALOG, first ? static_cast<WPARAM>(static_cast<std::uint32_t>(first->m_hWnd)) : 0, 0);
  if (!ui::IsWindow(self)) return false;
  // As Tab would give it: an edit's text comes selected, so typing replaces it.
  if (focus && !m_ended) GotoDlgCtrl(GetNextDlgTabItem(nullptr));
  if ((tmpl.style | extraStyle) & WS_VISIBLE & ~removeStyle) ShowWindow(SW_SHOW);
  return true;
}

bool Dialog::CreateIndirect(const DialogResource& tmpl, Wnd* parent) {
  m_modal = false;
  return CreateFromTemplate(tmpl, parent, 0, 0);
}

bool Dialog::Create(UINT templateId, Wnd* parent) {
  m_nIDTemplate = templateId;
  m_pParentWnd = parent;
  const DialogResource* tmpl = FindDialogResource(templateId);
  return tmpl && CreateIndirect(*tmpl, parent);
}

int Dialog::DoModal() {
  const DialogResource* tmpl = m_template ? m_template : FindDialogResource(m_nIDTemplate);
  if (!tmpl) return -1;
  ModalOwner owner(m_pParentWnd);
  m_modal = true;
  m_ended = false;
  m_result = IDCANCEL;
  ModalQuestion q;
  q.kind = ModalKind::Dialog;
  q.templateId = m_nIDTemplate;
  q.title = tmpl->caption ? tmpl->caption : "";
  bool byResponder = false;
  if (CreateFromTemplate(*tmpl, owner.get(), 0, WS_CHILD)) {
    const HWND self = m_hWnd;
    MakeWindowModal(this);
    if (!m_ended) ShowWindow(SW_SHOW);
    if (!m_ended && ui::IsWindow(self)) {
      q.dialog = this;
      q.title = GetWindowText();
      const int answer = AskWhileOpen(q, self, m_ended, m_result, &byResponder);
      if (!m_ended && ui::IsWindow(self)) {
        if (answer == IDOK) OnOK();
        else if (answer == IDCANCEL) OnCancel();
        else EndDialog(answer);
        // A dialog that stays open after its answer (its validation refused) is cancelled.
        if (!m_ended) EndDialog(IDCANCEL);
      }
    }
    if (ui::IsWindow(self)) DestroyWindow();
  } else {
    m_result = -1;
  }
  m_modal = false;
  if (m_result != -1) LogModal(q, m_result, byResponder);
  return m_result;
}

void Dialog::EndDialog(int result) {
  m_result = result;
  m_ended = true;
  if (!m_modal && IsWindow()) ShowWindow(SW_HIDE);
}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::OnOK() {
  if (!UpdateData(true)) return;
  EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }
void Dialog::OnCloseMessage() { OnCancel(); }
void Dialog::DoDataExchange(DataExchange*) {}

LRESULT Dialog::OnInitDialogMessage(WPARAM, LPARAM) { return OnInitDialog() ? 1 : 0; }

bool Dialog::UpdateData(bool saveAndValidate) {
  DataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return !dx.m_failed;
}

void Dialog::NextDlgCtrl() {
  if (Wnd* next = GetNextDlgTabItem(GetFocus(), false)) GotoDlgCtrl(next);
}
void Dialog::PrevDlgCtrl() {
  if (Wnd* prev = GetNextDlgTabItem(GetFocus(), true)) GotoDlgCtrl(prev);
}
void Dialog::GotoDlgCtrl(Wnd* control) {
  if (!control) return;
  control->SetFocus();
  if (control->SendMessage(WM_GETDLGCODE) & DLGC_HASSETSEL) control->SendMessage(EM_SETSEL, 0, -1);
}

void Dialog::MapDialogRect(Rect* rect) const {
  if (rect) *rect = DialogUnitsToPixels(rect->left, rect->top, rect->Width(), rect->Height(), m_baseUnits);
}

bool Dialog::PressButton(UINT id) {
  Wnd* item = GetDlgItem(id);
  if (item && (item->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)) {
    if (!item->IsWindowEnabled()) return false;
    item->SendMessage(BM_CLICK);
    return true;
  }
  SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), 0);
  return true;
}

bool Dialog::PreTranslateMessage(MSG* msg) {
  if (msg->message != WM_KEYDOWN && msg->message != WM_CHAR) return false;
  Wnd* target = FromHandle(msg->hwnd);
  if (!target || (target != this && !IsChild(target))) return false;
  const UINT key = static_cast<UINT>(msg->wParam);
  Wnd* focus = GetFocus();
  const UINT code = focus && (focus == this || IsChild(focus)) ? static_cast<UINT>(focus->SendMessage(WM_GETDLGCODE)) : 0;
  if (code & DLGC_WANTALLKEYS) return false;
  // Characters of the keys handled here would only beep.
  if (msg->message == WM_CHAR) return key == '\r' || key == 0x1B || (key == '\t' && !(code & DLGC_WANTTAB));
  const bool child = (GetStyle() & WS_CHILD) != 0;
  Wnd* commandTarget = child ? GetTopLevelParent() : this;
  switch (key) {
    case VK_TAB: {
      if (code & DLGC_WANTTAB) return false;
      Wnd* next = GetNextDlgTabItem(focus && IsChild(focus) ? focus : nullptr, GetKeyState(VK_SHIFT) < 0);
      if (next) GotoDlgCtrl(next);
      return true;
    }
    case VK_RETURN: {
      if (focus && (code & DLGC_UNDEFPUSHBUTTON)) {
        focus->SendMessage(BM_CLICK);
        return true;
      }
      const UINT defId = child ? IDOK : m_defId;
      Wnd* def = commandTarget->GetDlgItem(defId);
      if (def && !def->IsWindowEnabled()) return true;
      commandTarget->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(defId), BN_CLICKED),
                                 def ? HandleToParam(def->m_hWnd) : 0);
      return true;
    }
    case VK_ESCAPE: {
      Wnd* cancel = commandTarget->GetDlgItem(IDCANCEL);
      commandTarget->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), cancel ? HandleToParam(cancel->m_hWnd) : 0);
      return true;
    }
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
      if (!focus || (code & DLGC_WANTARROWS) || !(code & DLGC_BUTTON)) return false;
      Wnd* next = GetNextDlgGroupItem(focus, key == VK_LEFT || key == VK_UP);
      if (next && next != focus) {
        next->SetFocus();
        if (next->SendMessage(WM_GETDLGCODE) & 0x40) next->SendMessage(BM_CLICK);  // a radio button
      }
      return true;
    }
    default:
      return false;
  }
}

// --- Value exchange ---------------------------------------------------------------------------------------

Wnd* DataExchange::PrepareCtrl(UINT id) {
  m_lastId = id;
  return m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
}

void DataExchange::Fail() {
  m_failed = true;
  if (Wnd* last = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(m_lastId) : nullptr) last->SetFocus();
}

void DDX_Text(DataExchange* dx, UINT id, std::string& value) {
  Wnd* c = dx->PrepareCtrl(id);
  if (!c) return;
  if (dx->m_bSaveAndValidate) value = c->GetWindowText();
  else c->SetWindowText(value);
}

void DDX_Text(DataExchange* dx, UINT id, int& value) {
  Wnd* c = dx->PrepareCtrl(id);
  if (!c) return;
  if (!dx->m_bSaveAndValidate) {
    c->SetWindowText(plat::formatInt(value));
    return;
  }
  long long v = 0;
  if (ScanInteger(c->GetWindowText(), &v) && v >= INT32_MIN && v <= INT32_MAX) value = static_cast<int>(v);
}

void DDX_Text(DataExchange* dx, UINT id, unsigned& value) {
  Wnd* c = dx->PrepareCtrl(id);
  if (!c) return;
  if (!dx->m_bSaveAndValidate) {
    c->SetWindowText(plat::formatUInt(value));
    return;
  }
  long long v = 0;
  if (ScanInteger(c->GetWindowText(), &v) && v >= 0 && v <= UINT32_MAX) value = static_cast<unsigned>(v);
}

void DDX_Text(DataExchange* dx, UINT id, double& value, const char* format) {
  Wnd* c = dx->PrepareCtrl(id);
  if (!c) return;
  if (!dx->m_bSaveAndValidate) {
    c->SetWindowText(FormatNumber(format ? format : "%g", value));
    return;
  }
  double v = 0;
  if (ScanDouble(c->GetWindowText(), &v)) value = v;
}

void DDX_Text(DataExchange* dx, UINT id, float& value, const char* format) {
  double v = value;
  DDX_Text(dx, id, v, format);
  if (dx->m_bSaveAndValidate) value = static_cast<float>(v);
}

void DDX_Check(DataExchange* dx, UINT id, int& value) {
  Wnd* c = dx->PrepareCtrl(id);
  if (!c) return;
  if (dx->m_bSaveAndValidate) value = static_cast<int>(c->SendMessage(BM_GETCHECK));
  else c->SendMessage(BM_SETCHECK, static_cast<WPARAM>(value));
}

void DDX_Radio(DataExchange* dx, UINT id, int& value) {
  Wnd* first = dx->PrepareCtrl(id);
  Wnd* dlg = dx->m_pDlgWnd;
  if (!first || !dlg) return;
  const std::vector<Wnd*> items = dlg->GetChildren();
  auto it = std::find(items.begin(), items.end(), first);
  if (dx->m_bSaveAndValidate) value = -1;
  int index = 0;
  for (; it != items.end(); ++it, ++index) {
    if (it != std::find(items.begin(), items.end(), first) && ((*it)->GetStyle() & WS_GROUP)) break;
    if (!((*it)->SendMessage(WM_GETDLGCODE) & 0x40)) break;  // not a radio button
    if (dx->m_bSaveAndValidate) {
      if ((*it)->SendMessage(BM_GETCHECK) == BST_CHECKED) value = index;
    } else {
      (*it)->SendMessage(BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED);
    }
  }
}

void DDX_CBIndex(DataExchange* dx, UINT id, int& index) {
  Wnd* c = dx->PrepareCtrl(id);
  if (!c) return;
  if (dx->m_bSaveAndValidate) index = static_cast<int>(c->SendMessage(CB_GETCURSEL));
  else c->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(static_cast<std::intptr_t>(index)));
}

void DDX_CBString(DataExchange* dx, UINT id, std::string& value) {
  Wnd* c = dx->PrepareCtrl(id);
  if (!c) return;
  if (dx->m_bSaveAndValidate) {
    value = c->GetWindowText();
  } else if ((c->GetStyle() & 0x3) == CBS_DROPDOWNLIST) {
    if (auto* combo = dynamic_cast<ComboBox*>(c)) combo->SelectString(-1, value);
  } else {
    c->SetWindowText(value);
  }
}

void DDX_LBIndex(DataExchange* dx, UINT id, int& index) {
  Wnd* c = dx->PrepareCtrl(id);
  if (!c) return;
  if (dx->m_bSaveAndValidate) index = static_cast<int>(c->SendMessage(LB_GETCURSEL));
  else c->SendMessage(LB_SETCURSEL, static_cast<WPARAM>(static_cast<std::intptr_t>(index)));
}

void DDX_LBString(DataExchange* dx, UINT id, std::string& value) {
  auto* list = dynamic_cast<ListBox*>(dx->PrepareCtrl(id));
  if (!list) return;
  if (dx->m_bSaveAndValidate) {
    const int sel = list->GetCurSel();
    value = sel >= 0 ? list->GetText(sel) : std::string();
  } else {
    list->SelectString(-1, value);
  }
}

void DDX_Control(DataExchange* dx, UINT id, Wnd& control) {
  if (control.m_hWnd != kNoWnd) return;
  dx->PrepareCtrl(id);
  if (!control.SubclassDlgItem(id, dx->m_pDlgWnd)) dx->Fail();
}

void DDV_MinMaxInt(DataExchange* dx, int value, int minValue, int maxValue) {
  if (!dx->m_bSaveAndValidate || (value >= minValue && value <= maxValue)) return;
  AppMessageBox("Please enter an integer between " + plat::formatInt(minValue) + " and " + plat::formatInt(maxValue) + ".",
                MB_OK | MB_ICONEXCLAMATION);
  dx->Fail();
}

void DDV_MaxChars(DataExchange* dx, const std::string& value, int maxChars) {
  if (!dx->m_bSaveAndValidate) {
    if (Wnd* c = dx->m_pDlgWnd ? dx->m_pDlgWnd->GetDlgItem(dx->m_lastId) : nullptr)
      c->SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(std::max(0, maxChars)));
    return;
  }
  if (static_cast<int>(value.size()) <= maxChars) return;
  AppMessageBox("Enter no more than " + plat::formatInt(maxChars) + " characters.", MB_OK | MB_ICONEXCLAMATION);
  dx->Fail();
}

// --- Number text ------------------------------------------------------------------------------------------

namespace {

struct FormatField {
  std::string before;
  std::string after;
  bool left = false, plus = false, space = false, zero = false, alt = false;
  int width = 0;
  int precision = -1;
  char conversion = 0;
};

// The first conversion of a format and the texts around it ("%%" becomes "%").
FormatField ParseFormat(const char* format) {
  FormatField s;
  const std::string f = format ? format : "";
  std::size_t i = 0;
  auto literal = [&](std::string* out, std::size_t& k) {
    if (f[k] == '%' && k + 1 < f.size() && f[k + 1] == '%') {
      *out += '%';
      k += 2;
      return true;
    }
    if (f[k] != '%') {
      *out += f[k++];
      return true;
    }
    return false;
  };
  while (i < f.size() && literal(&s.before, i)) {
  }
  if (i >= f.size()) return s;
  std::size_t k = i + 1;
  for (; k < f.size(); ++k) {
    const char c = f[k];
    if (c == '-') s.left = true;
    else if (c == '+') s.plus = true;
    else if (c == ' ') s.space = true;
    else if (c == '0') s.zero = true;
    else if (c == '#') s.alt = true;
    else break;
  }
  while (k < f.size() && f[k] >= '0' && f[k] <= '9') s.width = std::min(s.width * 10 + (f[k++] - '0'), 512);
  if (k < f.size() && f[k] == '.') {
    ++k;
    s.precision = 0;
    while (k < f.size() && f[k] >= '0' && f[k] <= '9') s.precision = std::min(s.precision * 10 + (f[k++] - '0'), 64);
  }
  while (k < f.size() && (f[k] == 'l' || f[k] == 'h' || f[k] == 'L' || f[k] == 'q')) ++k;
  if (k >= f.size()) {
    s.before += f.substr(i);
    return s;
  }
  s.conversion = f[k++];
  while (k < f.size()) literal(&s.after, k);
  return s;
}

std::string Pad(std::string body, const FormatField& s) {
  const bool negative = !body.empty() && body[0] == '-';
  if (!negative && s.plus) body.insert(body.begin(), '+');
  else if (!negative && s.space) body.insert(body.begin(), ' ');
  if (static_cast<int>(body.size()) < s.width) {
    const std::size_t fill = static_cast<std::size_t>(s.width) - body.size();
    if (s.left) body.append(fill, ' ');
    else if (s.zero && !body.empty() && body.find_first_of("in") == std::string::npos) {
      const std::size_t at = (body[0] == '-' || body[0] == '+' || body[0] == ' ') ? 1 : 0;
      body.insert(at, fill, '0');
    } else {
      body.insert(0, fill, ' ');
    }
  }
  return body;
}

}  // namespace

std::string FormatNumber(const char* format, double value) {
  const FormatField s = ParseFormat(format);
  switch (s.conversion) {
    case 'f': case 'F': case 'e': case 'E': case 'g': case 'G':
      return s.before + Pad(plat::formatDouble(value, s.conversion == 'F' ? 'f' : s.conversion, s.precision < 0 ? 6 : s.precision), s) + s.after;
    case 'd': case 'i': case 'u':
      if (!std::isfinite(value)) return s.before + Pad("0", s) + s.after;
      return FormatInteger(format, static_cast<long long>(std::clamp(value, -9.2e18, 9.2e18)));
    default:
      return s.before + s.after;
  }
}

std::string FormatInteger(const char* format, long long value) {
  const FormatField s = ParseFormat(format);
  switch (s.conversion) {
    case 'd': case 'i':
      return s.before + Pad(plat::formatInt(value), s) + s.after;
    case 'u':
      return s.before + Pad(plat::formatUInt(static_cast<unsigned long long>(value) & 0xFFFFFFFFull), s) + s.after;
    case 'f': case 'F': case 'e': case 'E': case 'g': case 'G':
      return FormatNumber(format, static_cast<double>(value));
    default:
      return s.before + s.after;
  }
}

bool ScanDouble(std::string_view text, double* value) {
  double v = 0;
  if (plat::parseDoublePrefix(text, &v) == 0) return false;
  *value = v;
  return true;
}

bool ScanInteger(std::string_view text, long long* value) {
  std::int64_t v = 0;
  if (plat::parseIntPrefix(text, &v) == 0) return false;
  *value = v;
  return true;
}

}  // namespace ui
