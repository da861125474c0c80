#include "spectrum/control/pages/spcproppage.h"

#include <algorithm>
#include <climits>

#include "platform/base/numtext.h"
#include "platform/base/text.h"
#include "platform/com/driver.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/dc.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"
#include "platform/ui/resource.h"
#include "spectrum/control/module/spcapp.h"
#include "spectrum/control/pages/pageids.h"
#include "spectrum/data/spcprocess.h"
#include "spectrum/control/widgets/linewidthcb.h"
#include "spectrum/control/widgets/numedit.h"

namespace nelvar {

using namespace plat::ole;

namespace {

constexpr int kDigitRows = 7;  // "0" to "6"
constexpr ui::UINT kFirstItem = 1001;
constexpr ui::UINT kLastItem = 1036;

std::vector<CSpcPropPage*>& Pages() {
  static std::vector<CSpcPropPage*> pages;
  return pages;
}

template <class T>
T* Item(ui::Wnd* page, ui::UINT id) {
  return dynamic_cast<T*>(page->GetDlgItem(id));
}

int RadioCount(const PageField& field) {
  return field.kind == FieldKind::Units ? 3 : static_cast<int>(field.values.size());
}

bool IsRadioField(const PageField& field) { return field.kind == FieldKind::Choice || field.kind == FieldKind::Units; }

double PowerOfTen(int shift) {
  double scale = 1.0;
  for (int i = 0; i < shift; ++i) scale *= 10.0;
  return scale;
}

// The same object, whatever interface of it is at hand.
bool SameObject(IUnknown* a, IUnknown* b) {
  if (!a || !b) return false;
  IUnknown* ua = nullptr;
  IUnknown* ub = nullptr;
  a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ua));
  b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ub));
  const bool same = ua && ua == ub;
  releaseInterface(ua);
  releaseInterface(ub);
  return same;
}

}  // namespace

// ---- Decimal text --------------------------------------------------------------------------------

int ScaleDecimalText(std::string_view text, int shift, bool commaMark) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::string digits;
  int pointAt = -1;  // digits before the decimal mark
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digits += c;
    } else if (pointAt < 0 && (c == '.' || (commaMark && c == ','))) {
      pointAt = static_cast<int>(digits.size());
    } else {
      break;
    }
  }
  if (digits.empty()) return 0;
  if (pointAt < 0) pointAt = static_cast<int>(digits.size());
  // An exponent counts only with at least one digit; a huge one only says "too large" or "0".
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    bool minus = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) minus = text[j++] == '-';
    if (j < text.size() && text[j] >= '0' && text[j] <= '9') {
      long exponent = 0;
      for (; j < text.size() && text[j] >= '0' && text[j] <= '9'; ++j) exponent = std::min(exponent * 10 + (text[j] - '0'), 1000L);
      pointAt += static_cast<int>(minus ? -exponent : exponent);
    }
  }
  pointAt += shift;
  // The integer part of the scaled number: the digits before the shifted mark.
  long long value = 0;
  bool overflow = false;
  for (int k = 0; k < pointAt && !overflow; ++k) {
    const int digit = k < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(k)] - '0' : 0;
    value = value * 10 + digit;
    overflow = value > static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) return overflow || -value < INT_MIN ? INT_MIN : static_cast<int>(-value);
  return overflow || value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

// ---- The page ------------------------------------------------------------------------------------

UI_BEGIN_MESSAGE_MAP(CSpcPropPage, COlePropertyPageEx)
  ui::map::ControlRange(ui::BN_CLICKED, kFirstItem, kLastItem, &CSpcPropPage::OnClicked),
  ui::map::ControlRange(ui::CBN_SELCHANGE, kFirstItem, kLastItem, &CSpcPropPage::OnChanged),
  ui::map::ControlRange(ui::EN_CHANGE, kFirstItem, kLastItem, &CSpcPropPage::OnChanged),
UI_END_MESSAGE_MAP()

CSpcPropPage::CSpcPropPage(ui::UINT templateId, ui::UINT captionId, std::span<const PageField> fields)
    : COlePropertyPageEx(templateId, captionId), m_fields(fields), m_values(fields.size()) {
  Pages().push_back(this);
}

CSpcPropPage::~CSpcPropPage() { std::erase(Pages(), this); }

const std::vector<CSpcPropPage*>& CSpcPropPage::LivePages() { return Pages(); }

bool CSpcPropPage::HasEnableBox() const {
  return std::any_of(m_fields.begin(), m_fields.end(), [](const PageField& f) { return f.kind == FieldKind::Enable; });
}

bool CSpcPropPage::OnInitDialog() {
  // The line widths and the number edits are the shared widgets, in place before they are filled.
  m_widgets.clear();
  for (const PageField& field : m_fields) {
    std::unique_ptr<ui::Wnd> widget;
    if (field.kind == FieldKind::LineWidth) widget = std::make_unique<CLineWidthCB>();
    else if (field.kind == FieldKind::Scaled && field.commaMark) widget = std::make_unique<CNumEdit>();
    if (widget && widget->SubclassDlgItem(field.id, this)) m_widgets.push_back(std::move(widget));
  }
  const bool result = COlePropertyPageEx::OnInitDialog();
  if (HasEnableBox())
    if (auto* box = Item<ui::Button>(this, IDC_ENABLE)) EnableControls(box->GetCheck() == ui::BST_CHECKED);
  return result;
}

IDispatch* CSpcPropPage::FirstObject() {
  std::uint32_t count = 0;
  IDispatch** objects = GetObjectArray(&count);
  return count > 0 && objects ? objects[0] : nullptr;
}

bool CSpcPropPage::CallMethod(const char* name, Variant* result) {
  IDispatch* object = FirstObject();
  if (!object || !result) return false;
  const plat::String16 wide = plat::toUtf16(name);
  const char16_t* names[] = {wide.c_str()};
  DispId id = 0;
  if (failed(object->GetIDsOfNames(IID_NULL, names, 1, GetLocale(), &id))) return false;
  DispatchDriver driver(object);
  return !failed(driver.invoke(id, DISPATCH_METHOD, {}, result));
}

void CSpcPropPage::ReloadOtherPages() {
  IDispatch* mine = FirstObject();
  // A reload may not make or end pages, but take a copy all the same.
  const std::vector<CSpcPropPage*> pages = Pages();
  for (CSpcPropPage* page : pages)
    if (page != this && page->IsWindow() && SameObject(page->FirstObject(), mine)) page->UpdateData(false);
}

bool CSpcPropPage::GetTextProperty(std::string* text, const char* name) {
  std::uint32_t count = 0;
  IDispatch** objects = GetObjectArray(&count);
  const plat::String16 wide = plat::toUtf16(name);
  const char16_t* names[] = {wide.c_str()};
  bool ok = count > 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    DispId id = 0;
    Variant v;
    variantInit(&v);
    DispatchDriver driver(objects[i]);
    if (failed(objects[i]->GetIDsOfNames(IID_NULL, names, 1, GetLocale(), &id)) || failed(driver.getProperty(id, &v))) {
      ok = false;
      continue;
    }
    // A missing title object reads as a null text.
    *text = v.vt == VT_BSTR ? plat::toUtf8(stringView(v.bstr)) : std::string();
    variantClear(&v);
  }
  return ok;
}

bool CSpcPropPage::SetTextProperty(const std::string& text, const char* name) {
  std::uint32_t count = 0;
  IDispatch** objects = GetObjectArray(&count);
  const plat::String16 wide = plat::toUtf16(name);
  const char16_t* names[] = {wide.c_str()};
  bool ok = true;
  for (std::uint32_t i = 0; i < count; ++i) {
    DispId id = 0;
    if (failed(objects[i]->GetIDsOfNames(IID_NULL, names, 1, GetLocale(), &id))) {
      ok = false;
      continue;
    }
    Variant v;
    variantInit(&v);
    v.vt = VT_BSTR;
    v.bstr = allocString(plat::toUtf16(text));
    DispatchDriver driver(objects[i]);
    if (failed(driver.setProperty(id, v))) ok = false;
    variantClear(&v);
  }
  return ok;
}

void CSpcPropPage::ReadProperty(const PageField& field, FieldValue& value) {
  switch (field.kind) {
    case FieldKind::Font:
      GetFontProperty(&value.font, field.property);
      break;
    case FieldKind::Text:
      GetTextProperty(&value.text, field.property);
      break;
    default:
      GetIntProperty(&value.number, field.property);
      break;
  }
}

void CSpcPropPage::WriteProperty(const PageField& field, const FieldValue& value) {
  switch (field.kind) {
    case FieldKind::Font: {
      gdi::LOGFONTA font = value.font;
      SetFontProperty(&font, field.property);
      break;
    }
    case FieldKind::Text:
      SetTextProperty(value.text, field.property);
      break;
    default:
      SetIntProperty(value.number, field.property);
      break;
  }
}

void CSpcPropPage::ShowUnits(const PageField& field, FieldValue& value) {
  Variant mask;
  variantInit(&mask);
  Variant units;
  variantInit(&units);
  std::uint32_t available = 0;
  if (CallMethod("GetAvailableUnits", &mask) && !failed(changeType(&units, mask, 0, VT_I4))) available = units.u32;
  variantClear(&mask);
  // The unit names are the module's strings (3700 + unit), whoever runs the page's frame; the
  // processing's own names where the module has none.
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  int radio = 0;
  for (int unit = 0; unit < kUnitCount && radio < 3; ++unit) {
    if ((available & (1u << unit)) == 0) continue;
    value.unitOfRadio[radio] = unit;
    if (auto* button = Item<ui::Button>(this, field.id + static_cast<ui::UINT>(radio))) {
      std::string name;
      if (!ui::LoadString(static_cast<ui::UINT>(kUnitNameStringBase + unit), &name)) name = GetUnitName(unit);
      button->SetWindowText(name);
      button->SetCheck(unit == value.number ? ui::BST_CHECKED : ui::BST_UNCHECKED);
      button->ShowWindow(ui::SW_SHOW);
    }
    ++radio;
  }
  for (; radio < 3; ++radio) {
    value.unitOfRadio[radio] = -1;
    if (auto* button = Item<ui::Button>(this, field.id + static_cast<ui::UINT>(radio))) {
      button->SetCheck(ui::BST_UNCHECKED);
      button->ShowWindow(ui::SW_HIDE);
    }
  }
}

void CSpcPropPage::ShowField(const PageField& field, FieldValue& value) {
  switch (field.kind) {
    case FieldKind::Enable:
      if (auto* box = Item<ui::Button>(this, field.id)) box->SetCheck(value.number ? ui::BST_CHECKED : ui::BST_UNCHECKED);
      break;
    case FieldKind::Color:
      if (auto* button = Item<ui::Button>(this, field.id)) ShowColorSwatch(this, button, static_cast<gdi::COLORREF>(value.number));
      break;
    case FieldKind::LineWidth:
      FillLineWidthCombo(Item<ui::ComboBox>(this, field.id), value.number);
      break;
    case FieldKind::Font:
      ShowFontInfo(GetDlgItem(IDC_FONT_FACE), GetDlgItem(IDC_FONT_SIZE), &value.font);
      break;
    case FieldKind::Choice:
      for (std::size_t k = 0; k < field.values.size(); ++k)
        if (auto* radio = Item<ui::Button>(this, field.id + static_cast<ui::UINT>(k)))
          radio->SetCheck(field.values[k] == value.number ? ui::BST_CHECKED : ui::BST_UNCHECKED);
      break;
    case FieldKind::Units:
      ShowUnits(field, value);
      break;
    case FieldKind::Digits:
      if (auto* list = Item<ui::ListBox>(this, field.id)) {
        list->ResetContent();
        for (int d = 0; d < kDigitRows; ++d) list->AddString(plat::formatInt(d));
        list->SetTopIndex(value.number);
      }
      break;
    case FieldKind::Scaled:
      SetDlgItemText(field.id, ui::FormatNumber(field.format, value.number / PowerOfTen(field.shift)));
      break;
    case FieldKind::Text:
      SetDlgItemText(field.id, value.text);
      break;
  }
}

void CSpcPropPage::ReadField(const PageField& field, FieldValue& value) {
  switch (field.kind) {
    case FieldKind::Enable:
      if (auto* box = Item<ui::Button>(this, field.id)) value.number = box->GetCheck() == ui::BST_CHECKED ? 1 : 0;
      break;
    case FieldKind::LineWidth:
      // Without a selection the width stays as it was.
      GetSelectedLineWidth(Item<ui::ComboBox>(this, field.id), &value.number);
      break;
    case FieldKind::Choice:
    case FieldKind::Units:
      // The value of the checked radio; none checked keeps the value.
      for (int k = 0; k < RadioCount(field); ++k) {
        auto* radio = Item<ui::Button>(this, field.id + static_cast<ui::UINT>(k));
        if (!radio || radio->GetCheck() != ui::BST_CHECKED) continue;
        const int chosen = field.kind == FieldKind::Units ? value.unitOfRadio[k] : field.values[static_cast<std::size_t>(k)];
        if (chosen >= 0) value.number = chosen;
      }
      break;
    case FieldKind::Digits:
      if (auto* list = Item<ui::ListBox>(this, field.id)) value.number = list->GetTopIndex();
      break;
    case FieldKind::Scaled:
      value.number = ScaleDecimalText(GetDlgItemText(field.id), field.shift, field.commaMark);
      break;
    case FieldKind::Text:
      value.text = GetDlgItemText(field.id);
      break;
    case FieldKind::Color:
    case FieldKind::Font:
      break;  // kept by the page as the choosers leave them
  }
}

void CSpcPropPage::GetProperties() {
  for (std::size_t i = 0; i < m_fields.size(); ++i) ReadProperty(m_fields[i], m_values[i]);
  if (!IsWindow()) return;
  m_filling = true;
  for (std::size_t i = 0; i < m_fields.size(); ++i) ShowField(m_fields[i], m_values[i]);
  m_filling = false;
  if (HasEnableBox())
    if (auto* box = Item<ui::Button>(this, IDC_ENABLE)) EnableControls(box->GetCheck() == ui::BST_CHECKED);
}

void CSpcPropPage::SetProperties() {
  if (IsWindow())
    for (std::size_t i = 0; i < m_fields.size(); ++i) ReadField(m_fields[i], m_values[i]);
  for (std::size_t i = 0; i < m_fields.size(); ++i) WriteProperty(m_fields[i], m_values[i]);
}

void CSpcPropPage::EnableControls(bool enable) {
  auto set = [&](ui::UINT id) {
    if (ui::Wnd* item = GetDlgItem(id)) item->EnableWindow(enable);
  };
  for (const PageField& field : m_fields) {
    if (field.kind == FieldKind::Enable) continue;
    if (IsRadioField(field)) {
      for (int k = 0; k < RadioCount(field); ++k) set(field.id + static_cast<ui::UINT>(k));
    } else {
      set(field.id);
    }
  }
}

const PageField* CSpcPropPage::FieldOfItem(ui::UINT id, std::size_t* index) const {
  for (std::size_t i = 0; i < m_fields.size(); ++i) {
    const PageField& field = m_fields[i];
    const int count = IsRadioField(field) ? RadioCount(field) : 1;
    if (id >= field.id && id < field.id + static_cast<ui::UINT>(count)) {
      *index = i;
      return &field;
    }
  }
  return nullptr;
}

void CSpcPropPage::OnClicked(ui::UINT id) {
  std::size_t index = 0;
  const PageField* field = FieldOfItem(id, &index);
  if (!field || m_filling) return;
  FieldValue& value = m_values[index];
  switch (field->kind) {
    case FieldKind::Enable:
      if (auto* box = Item<ui::Button>(this, id)) EnableControls(box->GetCheck() == ui::BST_CHECKED);
      break;
    case FieldKind::Color: {
      auto color = static_cast<gdi::COLORREF>(value.number);
      if (!ChooseColor(this, &color)) return;
      value.number = static_cast<int>(color);
      if (auto* button = Item<ui::Button>(this, id)) ShowColorSwatch(this, button, color);
      break;
    }
    case FieldKind::Font:
      if (!ChooseFontInPoints(this, &value.font)) return;
      ShowFontInfo(GetDlgItem(IDC_FONT_FACE), GetDlgItem(IDC_FONT_SIZE), &value.font);
      break;
    case FieldKind::Choice:
    case FieldKind::Units:
      break;
    default:
      return;
  }
  SetModifiedFlag();
}

void CSpcPropPage::OnChanged(ui::UINT id) {
  std::size_t index = 0;
  if (!m_filling && FieldOfItem(id, &index)) SetModifiedFlag();
}

}  // namespace nelvar
