#include "spectrum/control/control/plotedits.h"

#include <algorithm>
#include <cctype>

#include "platform/base/numtext.h"
#include "spectrum/data/cvariant.h"

namespace spcedit {

void InsertIntegral(std::vector<CSpcIntegral>& list, std::uint32_t from, std::uint32_t to) {
  if (to < from) return;
  for (std::size_t i = 0; i < list.size();) {
    CSpcIntegral& range = list[i];
    if (range.from >= from && range.to <= to) {
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    if (range.from < from && range.to > to) {
      const CSpcIntegral tail{to + 1, range.to, 1.0f};
      range.to = from - 1;
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(i) + 1, tail);
      i += 2;
      continue;
    }
    if (range.from < from && range.to >= from) range.to = from - 1;
    else if (range.from >= from && range.from <= to && range.to > to) range.from = to + 1;
    ++i;
  }
  const auto at = std::find_if(list.begin(), list.end(), [&](const CSpcIntegral& r) { return r.from > from; });
  list.insert(at, CSpcIntegral{from, to, 1.0f});
}

void InsertZoomRegion(std::vector<CZoomRegion>& list, float from, float to, float factor) {
  for (std::size_t i = 0; i < list.size();) {
    CZoomRegion& region = list[i];
    if (region.from >= from && region.to <= to) {
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    if (region.from <= from && region.to > to) {
      const CZoomRegion tail{to, region.to, region.factor};
      region.to = from;
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(i) + 1, tail);
      i += 2;
      continue;
    }
    if (region.from <= from && region.to >= from) region.to = from;
    else if (region.from < to && region.to >= to) region.from = to;
    ++i;
  }
  const auto at = std::find_if(list.begin(), list.end(), [&](const CZoomRegion& r) { return r.from >= from; });
  list.insert(at, CZoomRegion{from, to, factor});
}

std::vector<std::int32_t> StrictMaxima(const std::function<double(std::int32_t)>& value, std::int32_t f,
                                       std::int32_t t, double threshold) {
  std::vector<std::int32_t> peaks;
  if (static_cast<std::int64_t>(t) - f < 3) return peaks;
  double d0 = value(f) - value(f + 1);
  double prev = value(f + 1);
  for (std::int32_t i = f + 2; i < t; ++i) {
    const double v = value(i);
    const double d = prev - v;
    if (d > 0 && d0 < 0 && prev > threshold) peaks.push_back(i - 1);
    d0 = d;
    prev = v;
  }
  return peaks;
}

void InsertSorted(std::vector<std::int32_t>& list, std::int32_t index) {
  const auto at = std::lower_bound(list.begin(), list.end(), index);
  if (at == list.end() || *at != index) list.insert(at, index);
}

std::string ReadoutValue(float value) {
  CVariant v;
  v.SetFloat(value);
  return v.GetString();
}

namespace {

// One conversion of a format: where it starts and ends, and its parts.
struct Conversion {
  std::size_t begin = 0, end = 0;
  std::string flags;
  int width = -1;
  int precision = -1;
  char kind = 0;
};

// Reads the conversion at format[at] == '%'; false when it is not a floating one.
bool ReadConversion(std::string_view format, std::size_t at, Conversion* c) {
  std::size_t i = at + 1;
  c->begin = at;
  while (i < format.size() && std::string_view("-+ #0").find(format[i]) != std::string_view::npos) c->flags += format[i++];
  auto number = [&](int* out) {
    if (i >= format.size() || !std::isdigit(static_cast<unsigned char>(format[i]))) return;
    int n = 0;
    while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])) && n < 1000) n = n * 10 + (format[i++] - '0');
    *out = n;
  };
  number(&c->width);
  if (i < format.size() && format[i] == '.') {
    ++i;
    c->precision = 0;
    number(&c->precision);
  }
  if (i < format.size() && format[i] == 'l') ++i;
  if (i >= format.size() || std::string_view("fFeEgG").find(format[i]) == std::string_view::npos) return false;
  c->kind = format[i];
  c->end = i + 1;
  // A field wider than 999 characters is refused rather than trusted.
  return c->width < 1000 && c->precision < 1000;
}

std::string Convert(const Conversion& c, double value) {
  const bool left = c.flags.find('-') != std::string::npos;
  const bool plus = c.flags.find('+') != std::string::npos;
  const bool space = c.flags.find(' ') != std::string::npos;
  const bool zero = c.flags.find('0') != std::string::npos && !left;
  const char kind = c.kind == 'F' ? 'f' : c.kind;
  std::string body = plat::formatDouble(value, kind, c.precision < 0 ? 6 : c.precision);
  std::string sign;
  if (!body.empty() && body[0] == '-') {
    sign = "-";
    body.erase(0, 1);
  } else if (plus) {
    sign = "+";
  } else if (space) {
    sign = " ";
  }
  const std::size_t width = c.width < 0 ? 0 : static_cast<std::size_t>(c.width);
  const std::size_t length = sign.size() + body.size();
  if (length >= width) return sign + body;
  const std::string pad(width - length, zero && std::isdigit(static_cast<unsigned char>(body[0])) ? '0' : ' ');
  if (left) return sign + body + pad;
  return zero && pad[0] == '0' ? sign + pad + body : pad + sign + body;
}

}  // namespace

bool IsFloatFormat(std::string_view format, int conversions) {
  int found = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 < format.size() && format[i + 1] == '%') {
      ++i;
      continue;
    }
    Conversion c;
    if (!ReadConversion(format, i, &c)) return false;
    ++found;
    i = c.end - 1;
  }
  return found == conversions;
}

std::string FormatFloats(std::string_view format, std::span<const double> values) {
  std::string out;
  std::size_t next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    Conversion c;
    if (!ReadConversion(format, i, &c)) return out;
    out += Convert(c, next < values.size() ? values[next] : 0.0);
    ++next;
    i = c.end - 1;
  }
  return out;
}

}  // namespace spcedit
