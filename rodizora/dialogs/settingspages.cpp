#include "rodizora/dialogs/settingspages.h"

#include <climits>

#include "platform/base/numtext.h"
#include "platform/base/text.h"
#include "platform/gdi/dc.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/controls.h"
#include "rodizora/dialogs/dialogids.h"
#include "rodizora/dialogs/profilevalue.h"
#include "rodizora/sdf/sdfdatabase.h"

using ui::map::Control;
using ui::map::ControlRange;

// --- The page base ------------------------------------------------------------------------------

bool CSettingsPage::OnSetActive() {
  if (!ui::PropertyPage::OnSetActive()) return false;
  if (!IsModified()) Reload();
  return true;
}

bool CSettingsPage::OnApply() {
  if (!Store()) {
    ui::AppMessageBox("The settings could not be written to the profile.", ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return false;
  }
  SetModified(false);
  return true;
}

void CSettingsPage::Reload() {
  m_loading = true;
  Load();
  m_loading = false;
}

void CSettingsPage::OnValueChanged(ui::UINT) {
  if (!m_loading) SetModified();
}

// --- Special Paste --------------------------------------------------------------------------------

namespace {

struct ObjectValue {
  ui::UINT id;
  const char16_t* name;
  int defaultValue;
};
constexpr ObjectValue kObjectValues[] = {
    {IDC_OBJECT_X, u"ObjectLeft", 100},
    {IDC_OBJECT_Y, u"ObjectTop", 100},
    {IDC_WIDTH, u"ObjectWidth", 300},
    {IDC_HEIGHT, u"ObjectHeight", 300},
};

// The field's tenths written under name; a field without a number writes nothing.
bool StoreTenths(const CNumEdit& field, const plat::String16& name) {
  int tenths = 0;
  return !field.GetTenths(&tenths) || WriteProfileInt(name, tenths);
}

}  // namespace

UI_BEGIN_MESSAGE_MAP(CObjectInsert, CSettingsPage)
  ControlRange(ui::EN_CHANGE, IDC_OBJECT_X, IDC_HEIGHT, &CSettingsPage::OnValueChanged),
UI_END_MESSAGE_MAP()

CObjectInsert::CObjectInsert() : CSettingsPage(IDD_OBJECT_INSERT) {}

bool CObjectInsert::OnInitDialog() {
  CSettingsPage::OnInitDialog();
  for (std::size_t i = 0; i < std::size(kObjectValues); ++i) m_fields[i].SubclassDlgItem(kObjectValues[i].id, this);
  return true;
}

void CObjectInsert::Load() {
  for (std::size_t i = 0; i < std::size(kObjectValues); ++i)
    m_fields[i].SetTenths(ReadProfileInt(kObjectValues[i].name, kObjectValues[i].defaultValue));
}

bool CObjectInsert::Store() {
  bool stored = true;
  for (std::size_t i = 0; i < std::size(kObjectValues); ++i) stored = StoreTenths(m_fields[i], kObjectValues[i].name) && stored;
  return stored;
}

// --- Parameters Table -----------------------------------------------------------------------------

UI_BEGIN_MESSAGE_MAP(CTableInsert, CSettingsPage)
  ControlRange(ui::EN_CHANGE, IDC_WIDTH, IDC_HEIGHT, &CSettingsPage::OnValueChanged),
  ControlRange(ui::BN_CLICKED, IDC_TABLE_ENABLE, IDC_TABLE_ENABLE, &CSettingsPage::OnValueChanged),
  Control(ui::CBN_SELCHANGE, IDC_MODULE, &CTableInsert::OnKindChange),
UI_END_MESSAGE_MAP()

CTableInsert::CTableInsert(ISpectrumKinds* kinds) : CSettingsPage(IDD_TABLE_INSERT), m_kinds(kinds) {}

bool CTableInsert::OnInitDialog() {
  CSettingsPage::OnInitDialog();
  m_width.SubclassDlgItem(IDC_WIDTH, this);
  m_height.SubclassDlgItem(IDC_HEIGHT, this);
  auto* kinds = static_cast<ui::ComboBox*>(GetDlgItem(IDC_MODULE));
  kinds->ResetContent();
  if (m_kinds)
    for (const plat::String16& name : m_kinds->KindNames()) kinds->AddString(plat::toUtf8(name));
  if (kinds->GetCount() > 0) {
    kinds->SetCurSel(0);
  } else {
    // No spectrum control told its kinds: there is nothing to set.
    for (const ui::UINT id : {IDC_MODULE, IDC_TABLE_ENABLE, IDC_ALIGN_BOTTOM, IDC_WIDTH, IDC_HEIGHT})
      if (ui::Wnd* item = GetDlgItem(id)) item->EnableWindow(false);
  }
  return true;
}

plat::String16 CTableInsert::SelectedKind() const {
  const auto* kinds = static_cast<const ui::ComboBox*>(GetDlgItem(IDC_MODULE));
  const int index = kinds ? kinds->GetCurSel() : -1;
  return index < 0 ? plat::String16() : plat::toUtf16(kinds->GetLBText(index));
}

void CTableInsert::Load() {
  const plat::String16 kind = SelectedKind();
  if (kind.empty()) return;
  m_height.SetTenths(ReadProfileInt(kind + u"\\TableHeight", 150));
  m_width.SetTenths(ReadProfileInt(kind + u"\\TableWidth", 300));
  CheckDlgButton(IDC_TABLE_ENABLE, ReadProfileInt(kind + u"\\Table", 1) != 0 ? 1 : 0);
}

bool CTableInsert::Store() {
  const plat::String16 kind = SelectedKind();
  if (kind.empty()) return true;
  const bool height = StoreTenths(m_height, kind + u"\\TableHeight");
  const bool width = StoreTenths(m_width, kind + u"\\TableWidth");
  const bool table = WriteProfileInt(kind + u"\\Table", IsDlgButtonChecked(IDC_TABLE_ENABLE) ? 1 : 0);
  return height && width && table;
}

void CTableInsert::OnKindChange() {
  Reload();
  SetModified(false);
}

// --- Structure Base -------------------------------------------------------------------------------

UI_BEGIN_MESSAGE_MAP(CDataBase, CSettingsPage)
  ControlRange(ui::EN_CHANGE, IDC_ID_FIELD, IDC_ID_FIELD, &CSettingsPage::OnValueChanged),
  ControlRange(ui::BN_CLICKED, IDC_SHOW_ID, IDC_SHOW_ID, &CSettingsPage::OnValueChanged),
UI_END_MESSAGE_MAP()

CDataBase::CDataBase() : CSettingsPage(IDD_DATA_BASE) {}

void CDataBase::Load() {
  SetDlgItemText(IDC_ID_FIELD, plat::toUtf8(SdfIdField()));
  CheckDlgButton(IDC_SHOW_ID, SdfShowId() ? 1 : 0);
}

bool CDataBase::Store() {
  return WriteSdfSettings(plat::toUtf16(GetDlgItemText(IDC_ID_FIELD)), IsDlgButtonChecked(IDC_SHOW_ID) != 0);
}

// --- Undo/Redo ------------------------------------------------------------------------------------

UI_BEGIN_MESSAGE_MAP(CUndoBuffer, CSettingsPage)
  ControlRange(ui::EN_CHANGE, IDC_UNDO_SIZE, IDC_UNDO_SIZE, &CSettingsPage::OnValueChanged),
UI_END_MESSAGE_MAP()

CUndoBuffer::CUndoBuffer(CSaAppSettings& settings) : CSettingsPage(IDD_UNDO_BUFFER), m_settings(settings) {}

void CUndoBuffer::Load() { SetDlgItemText(IDC_UNDO_SIZE, plat::formatInt(m_settings.undoBufferSize)); }

bool CUndoBuffer::Store() {
  std::int64_t steps = 0;
  if (plat::parseIntPrefix(GetDlgItemText(IDC_UNDO_SIZE), &steps) > 0 && steps >= INT_MIN && steps <= INT_MAX)
    m_settings.undoBufferSize = static_cast<int>(steps);
  return true;
}

// --- View -----------------------------------------------------------------------------------------

UI_BEGIN_MESSAGE_MAP(CViewProp, CSettingsPage)
  Control(ui::BN_CLICKED, IDC_BACKGROUND, &CViewProp::OnBackgroundColor),
  ControlRange(ui::BN_CLICKED, IDC_SEPARATE_PROPERTIES, IDC_SEPARATE_PROPERTIES, &CSettingsPage::OnValueChanged),
UI_END_MESSAGE_MAP()

CViewProp::CViewProp(CSaAppSettings& settings) : CSettingsPage(IDD_VIEW_PROP), m_settings(settings) {}

void CViewProp::Load() {
  m_color = m_settings.background;
  CheckDlgButton(IDC_SEPARATE_PROPERTIES, m_settings.viewProperties != 0 ? 1 : 0);
  PaintSwatch();
}

bool CViewProp::Store() {
  m_settings.background = m_color;
  m_settings.viewProperties = IsDlgButtonChecked(IDC_SEPARATE_PROPERTIES) ? 1 : 0;
  return true;
}

void CViewProp::OnBackgroundColor() {
  ui::ColorDialog dlg(m_color, ui::CC_RGBINIT, this);
  if (dlg.DoModal() != ui::IDOK) return;
  m_color = dlg.GetColor();
  PaintSwatch();
  SetModified();
}

void CViewProp::PaintSwatch() {
  auto* button = static_cast<ui::Button*>(GetDlgItem(IDC_BACKGROUND));
  if (!button) return;
  ui::Rect client;
  button->GetClientRect(&client);
  // The swatch leaves 4 pixels of the button on each side.
  const int width = client.Width() - 8, height = client.Height() - 8;
  gdi::Bitmap swatch;
  if (width > 0 && height > 0 && swatch.CreateBitmap(width, height)) {
    gdi::DC dc = gdi::DC::CreateCompatibleDC(nullptr);
    dc.SelectObject(swatch);
    dc.SelectObject(gdi::Pen(gdi::PS_SOLID, 1, gdi::RGB(0, 0, 0)));
    dc.SelectObject(gdi::Brush(m_color));
    dc.Rectangle(0, 0, width, height);
  }
  button->SetBitmap(swatch);
}
