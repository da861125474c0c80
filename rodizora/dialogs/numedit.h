#pragma once
// CNumEdit: an edit box that takes only numeric characters as they are typed ("1234567890.,-");
// a typed character that would put any other character into the text is undone. Pasted text is
// not filtered.
//
// Numbers kept in tenths of a millimetre are shown in millimetres with one decimal and read back
// from the decimal text exactly ("2.3" is 23, never 22), with "." or "," as the decimal mark.
#include <string>
#include <string_view>

#include "platform/ui/controls.h"

class CNumEdit : public ui::Edit {
 public:
  // Shows value with "%0.1f".
  void SetValue(double value);
  // Shows a number of tenths as millimetres ("%.1f" of the value x 0.1).
  void SetTenths(int tenths);
  // The text read as tenths: false (and *tenths untouched) when it holds no number.
  bool GetTenths(int* tenths) const;

  ui::LRESULT WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) override;
};

// A decimal text read as "%f" reads it (leading blanks, a sign, digits with "." or "," as the
// decimal mark, an exponent), times 10 and truncated toward zero, without going through binary
// floating point. False when no number starts the text or the result is outside the int range.
bool ParseTenths(std::string_view text, int* tenths);
// "%.1f" of tenths x 0.1.
std::string FormatTenths(int tenths);
