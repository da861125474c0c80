#pragma once
// CNumEdit: an edit box that takes only the characters of a number ("1234567890.,-"). A typed
// character that would make the text anything else is undone; pasted text is not checked.
#include <string_view>

#include "platform/ui/controls.h"

class CNumEdit : public ui::Edit {
  UI_DECLARE_DYNAMIC(CNumEdit)
  UI_DECLARE_MESSAGE_MAP()

 public:
  static constexpr std::string_view kAccepted = "1234567890.,-";

  // The text as a number; "," reads as the decimal mark ("1,5" is 1.5). 0 when nothing reads.
  double GetValue() const;
  // The value with one decimal ("%0.1f").
  void SetValue(double value);

  void OnChar(ui::UINT ch, ui::UINT repeat, ui::UINT flags);
};

// The number at the start of a number field's text (after blanks), "," read as "."; 0 when none.
double ReadNumberField(std::string_view text);
