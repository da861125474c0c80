#include "spectrum/control/dialogs/valuedialog.h"

#include <algorithm>
#include <cmath>

#include "spectrum/control/module/spcapp.h"
#include "spectrum/control/widgets/numedit.h"

CValueDialog::CValueDialog(ui::UINT templateId, ui::Wnd* parent) : ui::Dialog(templateId, parent) {}

CValueDialog::~CValueDialog() = default;

int CValueDialog::DoModal() {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  return ui::Dialog::DoModal();
}

bool ReadFloatField(const std::string& text, float* value) {
  std::string number = text;
  std::replace(number.begin(), number.end(), ',', '.');
  double v = 0.0;
  if (!ui::ScanDouble(number, &v) || !std::isfinite(v)) return false;
  *value = static_cast<float>(v);
  return true;
}

void CValueDialog::ExchangeFloat(ui::DataExchange* dx, ui::UINT id, float& value, const char* format) {
  ui::Wnd* item = dx->PrepareCtrl(id);
  if (!item) return;
  if (!dx->m_bSaveAndValidate) {
    item->SetWindowText(ui::FormatNumber(format, value));
    return;
  }
  ReadFloatField(item->GetWindowText(), &value);
}

void CValueDialog::ExchangeCount(ui::DataExchange* dx, ui::UINT id, std::int32_t& value) {
  ui::Wnd* item = dx->PrepareCtrl(id);
  if (!item) return;
  if (!dx->m_bSaveAndValidate) {
    item->SetWindowText(ui::FormatInteger("%ld", value));
    return;
  }
  long long v = 0;
  if (ui::ScanInteger(item->GetWindowText(), &v) && v >= 0 && v <= INT32_MAX) value = static_cast<std::int32_t>(v);
}

void CValueDialog::AttachNumberEdit(ui::UINT id) {
  if (!GetDlgItem(id)) return;
  auto edit = std::make_unique<CNumEdit>();
  if (edit->SubclassDlgItem(id, this)) m_numberEdits.push_back(std::move(edit));
}
