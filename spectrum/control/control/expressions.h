#pragma once
// The two expression forms of the console and of SetParam, worked out in place: a numeric
// expression whose parameter names and unit-suffixed numbers are replaced before the calculator
// reduces it, and a text concatenation of quoted texts and parameter values.
#include <functional>
#include <string>
#include <string_view>

namespace nelvar {

// The text of a parameter as the control gives it; false when it has none.
using ParamLookup = std::function<bool(std::string_view name, std::string* value)>;

// A text holding a double quote becomes what lies between its first and last quote. Otherwise
// the text is cut into tokens at "-+*/()"; each token is trimmed and upper-cased; a token that
// starts with neither a digit nor "." is a parameter name, replaced by its value when it has
// one; any other is a number ("1E-3" is one token), multiplied by 1024 for a last "K", 1e-6 for
// "U" and 1e-3 for "M", and written back in plain decimal with 15 significant digits. The
// calculator then reduces the whole text to its value ("%f"); a text it refuses stays as the
// replacements left it.
void EvaluateExpression(std::string& text, const ParamLookup& lookup);

// Quoted texts are copied as they are ("+" too); outside quotes "+" joins, and every other run
// up to the next "+" or quote is a name, trimmed and replaced by its parameter's value when it
// has one, else copied.
void ExpandStringExpression(std::string& text, const ParamLookup& lookup);

// A number in plain decimal (never an exponent) with 15 significant digits, trailing zeros cut.
std::string PlainDecimal(double value);

}  // namespace nelvar
