#include "controls/pages/pages.h"

#include <cstdio>
#include <string>

#include "common/guids.h"
#include "foundation/profdesc.h"
#include "platform/base/text.h"
#include "platform/ole/control.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/dc.h"
#include "platform/ui/messages.h"

namespace karvel {

using namespace plat::ole;

namespace {

template <class T>
T* Item(ui::Wnd* page, ui::UINT id) {
  return dynamic_cast<T*>(page->GetDlgItem(id));
}

std::string FormatCount(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%u", value);
  return text;
}

// "%u" of the text; 0 when it does not parse.
std::uint32_t ParseCount(const std::string& text) {
  unsigned value = 0;
  if (std::sscanf(text.c_str(), "%u", &value) != 1) return 0;
  return value;
}

// The whole source text of a cell: the buffer grows until the text fits.
bool ReadCellText(ITableControl* table, std::uint32_t column, std::uint32_t row, std::u16string* text) {
  for (std::int32_t length = 260; length > 0 && length <= (1 << 26); length *= 4) {
    std::u16string buffer(static_cast<std::size_t>(length), u'\0');
    if (table->GetCellText(column, row, buffer.data(), length) != S_OK) return false;
    const std::size_t used = std::char_traits<char16_t>::length(buffer.data());
    if (used + 1 < static_cast<std::size_t>(length)) {
      buffer.resize(used);
      *text = std::move(buffer);
      return true;
    }
  }
  return false;
}

}  // namespace

// ---- The empty pages ------------------------------------------------------------------------------

CKnobPropPage::CKnobPropPage() : OlePropertyPage(IDD_PROPPAGE_GENERAL, IDS_PROPPAGE_GENERAL) {}
CSButtonPropPage::CSButtonPropPage() : OlePropertyPage(IDD_PROPPAGE_GENERAL, IDS_PROPPAGE_GENERAL) {}

// ---- The table's pages ------------------------------------------------------------------------------

void CTablePageBase::DoDataExchange(ui::DataExchange* dx) {
  m_applyFailed = false;
  COlePropertyPageEx::DoDataExchange(dx);
  if (dx->m_bSaveAndValidate && m_applyFailed) dx->Fail();
}

ITableControl* CTablePageBase::Table() {
  std::uint32_t count = 0;
  IDispatch** objects = GetObjectArray(&count);
  if (count == 0 || !objects || !objects[0]) return nullptr;
  ITableControl* table = nullptr;
  if (objects[0]->QueryInterface(IID_ITableControl, reinterpret_cast<void**>(&table)) != S_OK) return nullptr;
  return table;
}

UI_BEGIN_MESSAGE_MAP(CTablePropPage1, CTablePageBase)
  ui::map::Control(ui::EN_CHANGE, IDC_TABLE_COLUMNS, &CTablePropPage1::OnCountChange),
  ui::map::Control(ui::EN_CHANGE, IDC_TABLE_ROWS, &CTablePropPage1::OnCountChange),
  ui::map::Command(IDC_SET_DEFAULT, &CTablePropPage1::OnSetAsDefault),
UI_END_MESSAGE_MAP()

CTablePropPage1::CTablePropPage1() : CTablePageBase(IDD_PROPPAGE_TABLE_SIZE, IDS_PROPPAGE_TABLE_SIZE) {}

void CTablePropPage1::GetProperties() {
  ITableControl* table = Table();
  if (!table) return;
  std::uint32_t columns = 0, rows = 0;
  if (table->GetTableSize(&columns, &rows) == S_OK) {
    m_showing = true;
    SetDlgItemText(IDC_TABLE_COLUMNS, FormatCount(columns));
    SetDlgItemText(IDC_TABLE_ROWS, FormatCount(rows));
    m_showing = false;
  }
  ReleaseInterface(table);
}

void CTablePropPage1::SetProperties() {
  ITableControl* table = Table();
  if (!table) {
    m_applyFailed = true;
    return;
  }
  // The table refuses a size beyond its caps (and a negative count, which reads as a huge one).
  const std::uint32_t columns = ParseCount(GetDlgItemText(IDC_TABLE_COLUMNS));
  const std::uint32_t rows = ParseCount(GetDlgItemText(IDC_TABLE_ROWS));
  if (table->SetTableSize(columns, rows) != S_OK) m_applyFailed = true;
  ReleaseInterface(table);
}

void CTablePropPage1::OnCountChange() {
  if (!m_showing) SetModifiedFlag();
}

void CTablePropPage1::OnSetAsDefault() {
  if (ITableControl* table = Table()) {
    table->SaveTable(0, nullptr, 0);
    ReleaseInterface(table);
  }
}

UI_BEGIN_MESSAGE_MAP(CTablePropPage2, CTablePageBase)
  ui::map::Control(ui::CBN_SELCHANGE, IDC_CELL_COLUMN, &CTablePropPage2::OnColumnChange),
  ui::map::Control(ui::CBN_SELCHANGE, IDC_CELL_ROW, &CTablePropPage2::OnRowChange),
  ui::map::Control(ui::EN_CHANGE, IDC_CELL_TEXT, &CTablePropPage2::OnTextChange),
  ui::map::Command(IDC_CELL_FONT, &CTablePropPage2::OnFont),
  ui::map::Command(IDC_CELL_COLOR, &CTablePropPage2::OnColor),
UI_END_MESSAGE_MAP()

CTablePropPage2::CTablePropPage2() : CTablePageBase(IDD_PROPPAGE_TABLE_CELLS, IDS_PROPPAGE_TABLE_CELLS) {}

void CTablePropPage2::GetProperties() {
  ITableControl* table = Table();
  if (!table) return;
  std::uint32_t columns = 0, rows = 0;
  const bool sized = table->GetTableSize(&columns, &rows) == S_OK;
  ReleaseInterface(table);
  if (!sized) return;
  m_pending.clear();
  m_cellEdited = false;
  auto fill = [this](ui::UINT id, std::uint32_t count) {
    auto* list = Item<ui::ComboBox>(this, id);
    if (!list) return;
    list->ResetContent();
    for (std::uint32_t i = 1; i <= count; ++i) list->AddString(FormatCount(i));
  };
  fill(IDC_CELL_COLUMN, columns);
  fill(IDC_CELL_ROW, rows);
  m_column = 0;
  m_row = 0;
  ShowCell();
}

void CTablePropPage2::ShowCell() {
  if (auto* list = Item<ui::ComboBox>(this, IDC_CELL_COLUMN)) list->SetCurSel(static_cast<int>(m_column));
  if (auto* list = Item<ui::ComboBox>(this, IDC_CELL_ROW)) list->SetCurSel(static_cast<int>(m_row));
  std::u16string text;
  if (auto pending = m_pending.find({m_column, m_row}); pending != m_pending.end()) {
    // An edit not applied yet shows as it was left.
    m_font = pending->second.font;
    m_color = pending->second.color;
    text = pending->second.text;
  } else {
    ITableControl* table = Table();
    if (!table) return;
    IDispatch* font = nullptr;
    m_font = gdi::LOGFONTA{};
    if (table->GetCellFont(m_column, m_row, &font) == S_OK && font) COleFont(&m_font).CopyFrom(font);
    std::uint32_t color = 0;
    if (table->GetCellColor(m_column, m_row, &color) == S_OK) m_color = color;
    ReadCellText(table, m_column, m_row, &text);
    ReleaseInterface(table);
  }
  m_showing = true;
  ShowFontInfo(GetDlgItem(IDC_FONT_FACE), GetDlgItem(IDC_FONT_SIZE), &m_font);
  if (auto* button = Item<ui::Button>(this, IDC_CELL_COLOR)) ShowColorSwatch(this, button, m_color);
  SetDlgItemText(IDC_CELL_TEXT, plat::toUtf8(text));
  m_showing = false;
  m_cellEdited = false;
}

void CTablePropPage2::KeepCellEdit() {
  if (!m_cellEdited) return;
  m_pending[{m_column, m_row}] = CellEdit{plat::toUtf16(GetDlgItemText(IDC_CELL_TEXT)), m_color, m_font};
  m_cellEdited = false;
}

void CTablePropPage2::CellEdited() {
  m_cellEdited = true;
  SetModifiedFlag();
}

void CTablePropPage2::OnColumnChange() { OnCellChange(IDC_CELL_COLUMN, &m_column); }
void CTablePropPage2::OnRowChange() { OnCellChange(IDC_CELL_ROW, &m_row); }

void CTablePropPage2::OnCellChange(ui::UINT list, std::uint32_t* index) {
  auto* combo = Item<ui::ComboBox>(this, list);
  if (!combo || combo->GetCurSel() < 0) return;
  KeepCellEdit();
  *index = static_cast<std::uint32_t>(combo->GetCurSel());
  ShowCell();
}

void CTablePropPage2::OnTextChange() {
  if (!m_showing) CellEdited();
}

void CTablePropPage2::OnFont() {
  if (ChooseFontInPoints(this, &m_font)) {
    ShowFontInfo(GetDlgItem(IDC_FONT_FACE), GetDlgItem(IDC_FONT_SIZE), &m_font);
    CellEdited();
  }
}

void CTablePropPage2::OnColor() {
  if (!ChooseColor(this, &m_color)) return;
  if (auto* button = Item<ui::Button>(this, IDC_CELL_COLOR)) ShowColorSwatch(this, button, m_color);
  CellEdited();
}

void CTablePropPage2::SetProperties() {
  ITableControl* table = Table();
  if (!table) {
    m_applyFailed = true;
    return;
  }
  KeepCellEdit();
  // Every cell edited since the last apply, in cell order; a cell the table refuses stays pending.
  for (auto it = m_pending.begin(); it != m_pending.end();) {
    const auto [column, row] = it->first;
    CellEdit& edit = it->second;
    IDispatch* font = nullptr;
    bool applied = table->GetCellFont(column, row, &font) == S_OK && font && COleFont(&edit.font).CopyTo(font);
    applied = table->SetCellColor(column, row, edit.color) == S_OK && applied;
    applied = table->SetCellText(column, row, edit.text.c_str()) == S_OK && applied;
    if (applied) {
      it = m_pending.erase(it);
    } else {
      m_applyFailed = true;
      ++it;
    }
  }
  ReleaseInterface(table);
}

// ---- The structure's pages -----------------------------------------------------------------------------

void CStructPageBase::ShowSwatch(ui::UINT id, gdi::COLORREF color) {
  if (auto* button = Item<ui::Button>(this, id)) ShowColorSwatch(this, button, translateColor(color));
}

void CStructPageBase::PickColor(ui::UINT id, gdi::COLORREF* color) {
  gdi::COLORREF chosen = translateColor(*color);
  if (!ChooseColor(this, &chosen)) return;
  *color = chosen;
  ShowSwatch(id, chosen);
  SetModifiedFlag();
}

void CStructPageBase::ShowFont() { ShowFontInfo(GetDlgItem(IDC_FONT_FACE), GetDlgItem(IDC_FONT_SIZE), &m_font); }

void CStructPageBase::PickFont() {
  if (!ChooseFontInPoints(this, &m_font)) return;
  ShowFont();
  SetModifiedFlag();
}

void CStructPageBase::FillWidths(int width) {
  if (auto* combo = Item<ui::ComboBox>(this, IDC_LINE_WIDTH)) FillLineWidthCombo(combo, width);
}

void CStructPageBase::ReadWidth(int* width) {
  if (auto* combo = Item<ui::ComboBox>(this, IDC_LINE_WIDTH)) GetSelectedLineWidth(combo, width);
}

void CStructPageBase::ExchangeCheck(bool save, ui::UINT id, const char* name) {
  auto* box = Item<ui::Button>(this, id);
  if (!box) return;
  if (save) {
    SetIntProperty(box->GetCheck() == ui::BST_CHECKED ? 1 : 0, name);
  } else {
    int value = 0;
    if (GetIntProperty(&value, name)) box->SetCheck(value ? ui::BST_CHECKED : ui::BST_UNCHECKED);
  }
}

UI_BEGIN_MESSAGE_MAP(CStructPropPage, CStructPageBase)
  ui::map::Command(IDC_TEXT_COLOR, &CStructPropPage::OnTextColor),
  ui::map::Command(IDC_LINE_COLOR, &CStructPropPage::OnLineColor),
  ui::map::Command(IDC_BACK_COLOR, &CStructPropPage::OnBackColor),
  ui::map::Command(IDC_HOLLOW, &CStructPropPage::OnHollow),
  ui::map::Command(IDC_FONT, &CStructPropPage::OnFont),
  ui::map::Control(ui::CBN_SELCHANGE, IDC_LINE_WIDTH, &CStructPropPage::OnWidth),
  ui::map::Command(IDC_SET_DEFAULT, &CStructPropPage::OnSetAsDefault),
UI_END_MESSAGE_MAP()

CStructPropPage::CStructPropPage() : CStructPageBase(IDD_PROPPAGE_STRUCTURE, IDS_PROPPAGE_STRUCTURE) {}

void CStructPropPage::GetProperties() {
  int value = 0;
  if (GetIntProperty(&value, "StructLineColor")) m_lineColor = static_cast<gdi::COLORREF>(value);
  if (GetIntProperty(&value, "BackColor")) m_backColor = static_cast<gdi::COLORREF>(value);
  if (GetIntProperty(&value, "StructTextColor")) m_textColor = static_cast<gdi::COLORREF>(value);
  GetFontProperty(&m_font, "StructTextFont");
  if (GetIntProperty(&value, "StructLineWidth")) m_lineWidth = value;
  ShowSwatch(IDC_TEXT_COLOR, m_textColor);
  ShowSwatch(IDC_LINE_COLOR, m_lineColor);
  ShowSwatch(IDC_BACK_COLOR, m_backColor);
  ShowFont();
  FillWidths(m_lineWidth);
  ExchangeCheck(false, IDC_HOLLOW, "Hollow");
  if (auto* box = Item<ui::Button>(this, IDC_HOLLOW))
    if (ui::Wnd* back = GetDlgItem(IDC_BACK_COLOR)) back->EnableWindow(box->GetCheck() != ui::BST_CHECKED);
}

void CStructPropPage::SetProperties() {
  ReadWidth(&m_lineWidth);
  SetIntProperty(static_cast<int>(m_lineColor), "StructLineColor");
  SetIntProperty(static_cast<int>(m_textColor), "StructTextColor");
  SetIntProperty(static_cast<int>(m_backColor), "BackColor");
  SetFontProperty(&m_font, "StructTextFont");
  SetIntProperty(m_lineWidth, "StructLineWidth");
  ExchangeCheck(true, IDC_HOLLOW, "Hollow");
}

void CStructPropPage::OnHollow() {
  auto* box = Item<ui::Button>(this, IDC_HOLLOW);
  if (ui::Wnd* back = GetDlgItem(IDC_BACK_COLOR); box && back) back->EnableWindow(box->GetCheck() != ui::BST_CHECKED);
  SetModifiedFlag();
}

void CStructPropPage::OnSetAsDefault() {
  std::uint32_t count = 0;
  IDispatch** objects = GetObjectArray(&count);
  if (count == 0 || !objects[0]) return;
  COrvProfDesc desc(nullptr, u"Structure\\Properties");
  if (desc.Open(63) == 0) SaveDispatchProperties(objects[0], &desc);
}

UI_BEGIN_MESSAGE_MAP(CFieldsPropPage, CStructPageBase)
  ui::map::Command(IDC_TEXT_COLOR, &CFieldsPropPage::OnTextColor),
  ui::map::Command(IDC_LINE_COLOR, &CFieldsPropPage::OnLineColor),
  ui::map::Command(IDC_FONT, &CFieldsPropPage::OnFont),
  ui::map::Control(ui::CBN_SELCHANGE, IDC_LINE_WIDTH, &CFieldsPropPage::OnChange),
  ui::map::Control(ui::LBN_SELCHANGE, IDC_FIELDS_COLUMNS, &CFieldsPropPage::OnChange),
  ui::map::Command(IDC_SHOW_FORMULA, &CFieldsPropPage::OnChange),
  ui::map::Command(IDC_SHOW_WEIGHT, &CFieldsPropPage::OnChange),
UI_END_MESSAGE_MAP()

CFieldsPropPage::CFieldsPropPage() : CStructPageBase(IDD_PROPPAGE_FIELDS, IDS_PROPPAGE_FIELDS) {}

void CFieldsPropPage::GetProperties() {
  int value = 0, columns = 1;
  if (GetIntProperty(&value, "FieldsLineColor")) m_lineColor = static_cast<gdi::COLORREF>(value);
  if (GetIntProperty(&value, "FieldsTextColor")) m_textColor = static_cast<gdi::COLORREF>(value);
  GetFontProperty(&m_font, "FieldsTextFont");
  if (GetIntProperty(&value, "FieldsLineWidth")) m_lineWidth = value;
  GetIntProperty(&columns, "FieldsCols");
  ShowSwatch(IDC_TEXT_COLOR, m_textColor);
  ShowSwatch(IDC_LINE_COLOR, m_lineColor);
  ShowFont();
  FillWidths(m_lineWidth);
  if (auto* list = Item<ui::ListBox>(this, IDC_FIELDS_COLUMNS)) {
    list->ResetContent();
    for (std::uint32_t i = 0; i <= 6; ++i) list->AddString(FormatCount(i));
    list->SetTopIndex(columns);
  }
  ExchangeCheck(false, IDC_SHOW_FORMULA, "ShowFormula");
  ExchangeCheck(false, IDC_SHOW_WEIGHT, "ShowWeight");
}

void CFieldsPropPage::SetProperties() {
  ReadWidth(&m_lineWidth);
  int columns = 1;
  if (auto* list = Item<ui::ListBox>(this, IDC_FIELDS_COLUMNS)) columns = list->GetTopIndex();
  // The structure's drawing needs at least one column of fields.
  if (columns < 1) columns = 1;
  SetIntProperty(static_cast<int>(m_lineColor), "FieldsLineColor");
  SetIntProperty(static_cast<int>(m_textColor), "FieldsTextColor");
  SetFontProperty(&m_font, "FieldsTextFont");
  SetIntProperty(m_lineWidth, "FieldsLineWidth");
  SetIntProperty(columns, "FieldsCols");
  ExchangeCheck(true, IDC_SHOW_FORMULA, "ShowFormula");
  ExchangeCheck(true, IDC_SHOW_WEIGHT, "ShowWeight");
}

}  // namespace karvel
