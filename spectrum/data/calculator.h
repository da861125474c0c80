#pragma once
// The console's arithmetic: after parameter names have been replaced by their values, a "?="
// expression is reduced to one number written with six decimals.
#include <cstddef>
#include <string>
#include <string_view>

namespace spc {

// Numbers (digits, optional decimals and exponent), + - * / with the usual precedence (equal
// operators left to right), unary signs and parentheses, white space between. False when the
// text is malformed (unbalanced parentheses, a missing operand, anything else) or the result is
// not a finite number (division by zero).
bool EvaluateExpression(std::string_view text, double* value);

// Replaces text[first..last] (inclusive) by its value printed as "%f" in the C locale. False,
// with the text unchanged, when the range lies outside the text or the expression is refused.
bool CalculateInPlace(std::string& text, std::size_t first, std::size_t last);

}  // namespace spc
