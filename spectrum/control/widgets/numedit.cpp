#include "spectrum/control/widgets/numedit.h"

#include <algorithm>
#include <charconv>
#include <string>

UI_IMPLEMENT_DYNAMIC(CNumEdit, ui::Edit)

UI_BEGIN_MESSAGE_MAP(CNumEdit, ui::Edit)
  ui::map::Char(&CNumEdit::OnChar),
UI_END_MESSAGE_MAP()

double ReadNumberField(std::string_view text) {
  std::string s(text);
  std::replace(s.begin(), s.end(), ',', '.');
  const char* first = s.data();
  const char* last = s.data() + s.size();
  while (first != last && (*first == ' ' || *first == '\t')) ++first;
  if (first != last && *first == '+') ++first;
  double value = 0.0;
  const auto [end, ec] = std::from_chars(first, last, value);
  return ec == std::errc() && end != first ? value : 0.0;
}

double CNumEdit::GetValue() const { return ReadNumberField(GetWindowText()); }

void CNumEdit::SetValue(double value) {
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
  SetWindowText(ec == std::errc() ? std::string_view(buffer, static_cast<std::size_t>(end - buffer)) : "0.0");
}

void CNumEdit::OnChar(ui::UINT, ui::UINT, ui::UINT) {
  const std::string before = GetWindowText();
  int start = 0, end = 0;
  GetSel(&start, &end);
  Default();
  if (GetWindowText().find_first_not_of(kAccepted) != std::string::npos) {
    SetWindowText(before);
    SetSel(start, end);
  }
}
