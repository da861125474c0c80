#include "spectrum/control/control/expressions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "spectrum/data/spcprocess.h"

namespace nelvar {

namespace {

constexpr std::string_view kOperators = "-+*/()";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// The sign of an exponent ("1E-3", "2.5e+4") belongs to the number, not to the operators.
bool IsExponentSign(std::string_view text, std::size_t at) {
  if (at < 2 || (text[at - 1] != 'E' && text[at - 1] != 'e')) return false;
  // The token so far must be a number: it starts with a digit or "." after its blanks.
  std::size_t start = text.find_last_of(kOperators, at - 1);
  start = start == std::string_view::npos ? 0 : start + 1;
  const std::string_view token = Trim(text.substr(start, at - 1 - start));
  return !token.empty() && (IsDigit(token.front()) || token.front() == '.') && IsDigit(token.back());
}

std::string ReplaceToken(std::string_view raw, const ParamLookup& lookup) {
  const std::string token = Upper(Trim(raw));
  if (token.empty()) return std::string(raw);
  if (!IsDigit(token.front()) && token.front() != '.') {
    std::string value;
    return lookup && lookup(token, &value) ? value : token;
  }
  double number = 0.0;
  const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), number);
  if (ec != std::errc() || end == token.data()) return token;
  switch (token.back()) {
    case 'K': number *= 1024.0; break;
    case 'U': number *= 0.000001; break;
    case 'M': number *= 0.001; break;
    default: break;
  }
  return PlainDecimal(number);
}

}  // namespace

std::string PlainDecimal(double value) {
  if (!std::isfinite(value)) return "0";
  if (value == 0.0) return "0";
  const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
  const int decimals = std::clamp(14 - exponent, 0, 340);
  char buffer[400];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return "0";
  std::string out(buffer, end);
  if (out.find('.') != std::string::npos) {
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
  }
  return out;
}

void EvaluateExpression(std::string& text, const ParamLookup& lookup) {
  if (const std::size_t first = text.find('"'); first != std::string::npos) {
    const std::size_t last = text.rfind('"');
    text = last > first ? text.substr(first + 1, last - first - 1) : std::string();
    return;
  }
  std::string rebuilt;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const bool end = i == text.size();
    if (!end && (kOperators.find(text[i]) == std::string_view::npos || IsExponentSign(text, i))) continue;
    rebuilt += ReplaceToken(std::string_view(text).substr(start, i - start), lookup);
    if (!end) rebuilt += text[i];
    start = i + 1;
  }
  text = std::move(rebuilt);
  if (!text.empty()) CSpcProcess::Calculate(text, 0, text.size() - 1);
}

void ExpandStringExpression(std::string& text, const ParamLookup& lookup) {
  std::string out;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '"') {
      quoted = !quoted;
      ++i;
    } else if (quoted) {
      out += c;
      ++i;
    } else if (c == '+') {
      ++i;
    } else {
      std::size_t end = text.find_first_of("+\"", i);
      if (end == std::string::npos) end = text.size();
      const std::string_view name = Trim(std::string_view(text).substr(i, end - i));
      std::string value;
      if (!name.empty() && lookup && lookup(name, &value)) out += value;
      else out += name;
      i = end;
    }
  }
  text = std::move(out);
}

}  // namespace nelvar
