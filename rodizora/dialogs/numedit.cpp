#include "rodizora/dialogs/numedit.h"

#include <climits>
#include <cstdint>

#include "platform/base/numtext.h"
#include "platform/ui/dialog.h"

namespace {

bool IsNumericText(std::string_view text) {
  return text.find_first_not_of("1234567890.,-") == std::string_view::npos;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void CNumEdit::SetValue(double value) { SetWindowText(ui::FormatNumber("%0.1f", value)); }

void CNumEdit::SetTenths(int tenths) { SetWindowText(FormatTenths(tenths)); }

bool CNumEdit::GetTenths(int* tenths) const { return ParseTenths(GetWindowText(), tenths); }

ui::LRESULT CNumEdit::WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) {
  if (message != ui::WM_CHAR) return Edit::WindowProc(message, wParam, lParam);
  const std::string before = GetWindowText();
  int start = 0, end = 0;
  GetSel(&start, &end);
  const ui::LRESULT result = Edit::WindowProc(message, wParam, lParam);
  if (IsWindow() && !IsNumericText(GetWindowText())) {
    SetWindowText(before);
    SetSel(start, end);
  }
  return result;
}

bool ParseTenths(std::string_view text, int* tenths) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // The significant digits and where the decimal mark falls among them.
  std::string digits;
  std::int64_t pointAt = 0;
  bool any = false, point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      any = true;
      if (digits.empty() && c == '0') {
        if (point) --pointAt;  // a zero between the mark and the first significant digit
        continue;
      }
      digits.push_back(c);
      if (!point) ++pointAt;
    } else if ((c == '.' || c == ',') && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!any) return false;
  // An exponent counts only when digits follow it, as "%f" reads it.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    bool expNegative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) expNegative = text[j++] == '-';
    if (j < text.size() && IsDigit(text[j])) {
      std::int64_t exponent = 0;
      for (; j < text.size() && IsDigit(text[j]); ++j) exponent = std::min<std::int64_t>(exponent * 10 + (text[j] - '0'), 100000);
      pointAt += expNegative ? -exponent : exponent;
    }
  }
  if (digits.empty()) {
    *tenths = 0;
    return true;
  }
  // The value x 10 keeps the digits before position pointAt + 1.
  const std::int64_t keep = pointAt + 1;
  if (keep > 10) return false;
  std::int64_t value = 0;
  for (std::int64_t k = 0; k < keep; ++k)
    value = value * 10 + (k < static_cast<std::int64_t>(digits.size()) ? digits[static_cast<std::size_t>(k)] - '0' : 0);
  if (negative) value = -value;
  if (value < INT_MIN || value > INT_MAX) return false;
  *tenths = static_cast<int>(value);
  return true;
}

std::string FormatTenths(int tenths) { return plat::formatDouble(tenths / 10.0, 'f', 1); }
