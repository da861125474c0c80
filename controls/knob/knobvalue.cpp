#include "controls/knob/knobvalue.h"

#include <cctype>
#include <cmath>

#include "platform/base/numtext.h"

namespace karvel {

namespace {

constexpr double kFullTurn = 6.2831855;
constexpr float kDegreesPerRadian = 57.295776f;
constexpr float kAdditiveTurnScale = 0.033333335f;

}  // namespace

void KnobValue::TakeClamped(double v) {
  if (!std::isfinite(v)) return;
  float f = static_cast<float>(v);
  if (!std::isfinite(f)) return;
  if (f > maxValue) f = maxValue;
  if (f < minValue) f = minValue;
  value = f;
}

void KnobValue::StepUp() { TakeClamped(incMode ? double(value) * increment : double(value) + increment); }

void KnobValue::StepDown() { TakeClamped(incMode ? double(value) / increment : double(value) - increment); }

bool KnobValue::Turn(double angle) {
  bool turned = false;
  if (std::fabs(angle) < kFullTurn) {
    float step = static_cast<float>(angle) * kDegreesPerRadian * increment;
    if (incMode == 0) step *= kAdditiveTurnScale;
    const float v = static_cast<float>(double(value) + step);
    if (std::isfinite(v)) {
      value = v;
      turned = true;
    }
  }
  // A turn clamps to the minimum first, then to the maximum.
  if (value < minValue) value = minValue;
  if (value > maxValue) value = maxValue;
  return turned;
}

double TurnAngle(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
  const double r0 = std::hypot(double(x0), double(y0));
  const double r1 = std::hypot(double(x1), double(y1));
  if (r0 == 0 || r1 == 0) return 0;
  const double angle = std::asin(x1 / r1) - std::asin(x0 / r0);
  return y1 > 0 ? -angle : angle;
}

namespace {

// One conversion of a format: its flags, width and precision (-1 for none) and its letter.
struct Conversion {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::string flags;
  int width = 0;
  int precision = -1;
  char letter = 0;
};

// The one floating conversion of the format; false when it has another conversion, more than
// one, none, or an incomplete one.
bool FindFloatConversion(std::string_view format, Conversion* found) {
  int count = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 < format.size() && format[i + 1] == '%') {
      ++i;
      continue;
    }
    Conversion c;
    c.begin = i++;
    while (i < format.size() && std::string_view("-+ #0").find(format[i]) != std::string_view::npos) c.flags += format[i++];
    auto number = [&](int* out) {
      int n = 0;
      while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) {
        if (n > 1000) return false;
        n = n * 10 + (format[i++] - '0');
      }
      *out = n;
      return true;
    };
    if (!number(&c.width)) return false;
    if (i < format.size() && format[i] == '.') {
      ++i;
      if (!number(&c.precision)) return false;
    }
    if (i < format.size() && (format[i] == 'l' || format[i] == 'L')) ++i;
    if (i >= format.size() || std::string_view("fFeEgG").find(format[i]) == std::string_view::npos) return false;
    c.letter = format[i];
    c.end = i + 1;
    *found = c;
    ++count;
  }
  return count == 1;
}

std::string FormatNumber(const Conversion& c, double value) {
  const bool upper = std::isupper(static_cast<unsigned char>(c.letter)) != 0;
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c.letter)));
  std::string text = plat::formatDouble(value, lower, c.precision < 0 ? 6 : c.precision);
  if (upper)
    for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  const bool negative = !text.empty() && text[0] == '-';
  std::string sign = negative ? "-" : c.flags.find('+') != std::string::npos ? "+" : c.flags.find(' ') != std::string::npos ? " " : "";
  std::string digits = negative ? text.substr(1) : text;
  const std::size_t length = sign.size() + digits.size();
  const std::size_t width = static_cast<std::size_t>(c.width);
  if (length >= width) return sign + digits;
  const std::string pad(width - length, ' ');
  if (c.flags.find('-') != std::string::npos) return sign + digits + pad;
  const bool finite = std::isfinite(value);
  if (c.flags.find('0') != std::string::npos && finite) return sign + std::string(width - length, '0') + digits;
  return pad + sign + digits;
}

}  // namespace

std::string FormatCaption(std::string_view caption, double value) {
  Conversion c;
  if (!FindFloatConversion(caption, &c)) return std::string(caption);
  std::string out;
  auto literal = [&](std::string_view part) {
    for (std::size_t i = 0; i < part.size(); ++i) {
      out += part[i];
      if (part[i] == '%' && i + 1 < part.size() && part[i + 1] == '%') ++i;
    }
  };
  literal(caption.substr(0, c.begin));
  out += FormatNumber(c, value);
  literal(caption.substr(c.end));
  return out;
}

}  // namespace karvel
