// A small recursive-descent evaluator. The whole expression is evaluated in double precision and
// printed once, so no intermediate result is rounded to six decimals.
#include "spectrum/data/calculator.h"

#include <cctype>
#include <cmath>

#include "platform/base/numtext.h"

namespace spc {
namespace {

// Nesting deeper than any typed expression needs is refused rather than recursed into.
constexpr int kMaxDepth = 200;

class Parser {
 public:
  explicit Parser(std::string_view text) : m_text(text) {}

  bool Run(double* value) {
    double v = 0.0;
    if (!Sum(&v, 0)) return false;
    SkipSpace();
    if (m_pos != m_text.size()) return false;  // a stray ")" or trailing text
    *value = v;
    return true;
  }

 private:
  void SkipSpace() {
    while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos]))) ++m_pos;
  }
  bool Peek(char c) {
    SkipSpace();
    return m_pos < m_text.size() && m_text[m_pos] == c;
  }

  bool Sum(double* value, int depth) {
    double left = 0.0;
    if (!Product(&left, depth)) return false;
    for (;;) {
      const bool plus = Peek('+');
      if (!plus && !Peek('-')) break;
      ++m_pos;
      double right = 0.0;
      if (!Product(&right, depth)) return false;
      left = plus ? left + right : left - right;
    }
    *value = left;
    return true;
  }

  bool Product(double* value, int depth) {
    double left = 0.0;
    if (!Signed(&left, depth)) return false;
    for (;;) {
      const bool times = Peek('*');
      if (!times && !Peek('/')) break;
      ++m_pos;
      double right = 0.0;
      if (!Signed(&right, depth)) return false;
      if (!times && right == 0.0) return false;
      left = times ? left * right : left / right;
    }
    *value = left;
    return true;
  }

  // Any run of unary signs, then a number or a parenthesised sum.
  bool Signed(double* value, int depth) {
    bool negative = false;
    for (;;) {
      if (Peek('-')) {
        negative = !negative;
      } else if (!Peek('+')) {
        break;
      }
      ++m_pos;
    }
    double v = 0.0;
    if (Peek('(')) {
      if (depth >= kMaxDepth) return false;
      ++m_pos;
      if (!Sum(&v, depth + 1) || !Peek(')')) return false;
      ++m_pos;
    } else if (!Number(&v)) {
      return false;
    }
    *value = negative ? -v : v;
    return true;
  }

  bool Number(double* value) {
    SkipSpace();
    const std::size_t start = m_pos;
    auto digits = [&] {
      const std::size_t from = m_pos;
      while (m_pos < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_pos]))) ++m_pos;
      return m_pos - from;
    };
    std::size_t count = digits();
    if (m_pos < m_text.size() && m_text[m_pos] == '.') {
      ++m_pos;
      count += digits();
    }
    if (count == 0) return false;
    if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
      std::size_t p = m_pos + 1;
      if (p < m_text.size() && (m_text[p] == '+' || m_text[p] == '-')) ++p;
      if (p < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[p]))) {
        m_pos = p;
        digits();
      }
    }
    return plat::parseDouble(m_text.substr(start, m_pos - start), value);
  }

  std::string_view m_text;
  std::size_t m_pos = 0;
};

}  // namespace

bool EvaluateExpression(std::string_view text, double* value) {
  double v = 0.0;
  if (!Parser(text).Run(&v) || !std::isfinite(v)) return false;
  *value = v + 0.0;  // no "-0.000000" for a zero result
  return true;
}

bool CalculateInPlace(std::string& text, std::size_t first, std::size_t last) {
  if (first > last || last >= text.size()) return false;
  double v = 0.0;
  if (!EvaluateExpression(std::string_view(text).substr(first, last - first + 1), &v)) return false;
  text.replace(first, last - first + 1, plat::formatDouble(v, 'f', 6));
  return true;
}

}  // namespace spc
