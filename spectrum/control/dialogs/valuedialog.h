#pragma once
// CValueDialog: the base of the control's value dialogs. The caller fills the public members,
// runs the dialog and, after IDOK, reads them back; Cancel leaves every member as it was. The
// template comes from the control module's resources whatever module state the caller is in.
// A number field's text that does not read as a number leaves its member as it was.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/dialog.h"

class CNumEdit;

class CValueDialog : public ui::Dialog {
 public:
  CValueDialog(ui::UINT templateId, ui::Wnd* parent);
  ~CValueDialog() override;
  int DoModal() override;

 protected:
  // A float into an item with a printf format, and back ("," reads as the decimal mark).
  void ExchangeFloat(ui::DataExchange* dx, ui::UINT id, float& value, const char* format);
  // A count of digits only; negative or non-numeric text keeps the value.
  void ExchangeCount(ui::DataExchange* dx, ui::UINT id, std::int32_t& value);
  // Attaches a number edit to a template item.
  void AttachNumberEdit(ui::UINT id);

 private:
  std::vector<std::unique_ptr<CNumEdit>> m_numberEdits;
};

// A float field's text as a number: blanks, then the longest number prefix, "," read as ".".
bool ReadFloatField(const std::string& text, float* value);
