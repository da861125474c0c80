#pragma once
// JCAMP-DX text for the tests, on the standard's rules and apart from our codec: a builder of
// files as other programs write them, and a strict reference decoder of written files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace convert_test {

// ---- Files as exporters write them ----

// How an exporter writes the abscissa that opens a data line: at the x of the line's first
// value, truncated to a whole number, or (on every line but the first) at the x of the value
// shift steps later.
struct LineAbscissa {
  bool truncated = false;
  int shift = 0;
};

// The (X++(Y..Y)) lines of integral ys over [first, last], perLine values a line. Plain lines
// hold AFFN values; DIF lines hold a SQZ value, then differences, and each line after the
// first opens with the previous line's last value again (the Y check).
inline std::string XyLines(const std::vector<long long>& ys, double first, double last, std::size_t perLine, bool dif,
                           LineAbscissa abscissa = {}, std::string_view eol = "\r\n") {
  auto coded = [](long long v, char zero, char positive, char negative) {
    if (v == 0) return std::string(1, zero);
    std::string digits = std::to_string(std::llabs(v));
    digits[0] = static_cast<char>((v > 0 ? positive : negative) + (digits[0] - '1'));
    return digits;
  };
  const double step = ys.size() > 1 ? (last - first) / static_cast<double>(ys.size() - 1) : 0.0;
  std::string out;
  std::size_t i = 0;
  while (i < ys.size()) {
    const std::size_t start = dif && i > 0 ? i - 1 : i;
    double x = first + step * (static_cast<double>(start) + (i > 0 ? abscissa.shift : 0));
    if (abscissa.truncated) x = std::trunc(x);
    char abscissaText[32];
    std::snprintf(abscissaText, sizeof abscissaText, "%.10g", x);
    out += abscissaText;
    const std::size_t end = std::min(ys.size(), i + perLine);
    for (std::size_t k = start; k < end; ++k) {
      if (!dif) {
        out += " " + std::to_string(ys[k]);
      } else {
        out += k == start ? " " + coded(ys[k], '@', 'A', 'a') : coded(ys[k] - ys[k - 1], '%', 'J', 'j');
      }
    }
    out += eol;
    i = end;
  }
  return out;
}

// A whole plain XYDATA file of the data type around those lines.
inline std::string XyFile(std::string_view dataType, double first, double last, std::size_t npoints,
                          const std::string& lines, std::string_view eol = "\r\n") {
  std::string s;
  auto label = [&](std::string_view name, const std::string& value) { s.append("##").append(name).append("= ").append(value).append(eol); };
  label("TITLE", "exported");
  label("JCAMP-DX", "4.24");
  label("DATA TYPE", std::string(dataType));
  label("XUNITS", "1/CM");
  label("YUNITS", "ABSORBANCE");
  label("FIRSTX", std::to_string(first));
  label("LASTX", std::to_string(last));
  label("NPOINTS", std::to_string(npoints));
  label("XYDATA", "(X++(Y..Y))");
  return s + lines + "##END=" + std::string(eol);
}

// ---- Reference decoder of written files ----

// One table of a file: the ordinates in file order with their factor applied (for peak tables
// the (x, y) pairs), and the labels that describe it.
struct ReferenceTable {
  std::vector<double> xs, ys;
  double first = 0.0, last = 0.0, delta = 0.0, firstY = 0.0;
  long long npoints = -1;
};

// Decodes the tables of text by the standard: every data line at most 80 characters; every
// value delimited; the compressed forms (SQZ, DIF, DUP) hold integers, so a line with any of
// them holds no number with a fraction or an exponent (readers take such a number for one more
// difference); a line's first ordinate is the Y check of the line before exactly when that
// line ended in DIF form, and it must equal that line's last ordinate; no DUP repeats a Y check
// (readers differ on whether the check counts among the repeats). Test failures say where the
// text breaks a rule.
inline std::vector<ReferenceTable> ReferenceDecode(const std::string& text) {
  std::vector<ReferenceTable> tables;
  std::vector<double> factors;  // NTUPLES FACTOR column
  double yFactor = 1.0, first = 0.0, last = 0.0, delta = 0.0, firstY = 0.0;
  long long npoints = -1;
  int page = 0;
  bool inTable = false, peaks = false, prevEndedDif = false;
  double prevY = 0.0;
  auto number = [](std::string_view v) { return std::strtod(std::string(v).c_str(), nullptr); };
  std::size_t p = 0;
  while (p < text.size()) {
    std::size_t e = text.find('\n', p);
    if (e == std::string::npos) e = text.size();
    std::string line = text.substr(p, e - p);
    p = e + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("##", 0) == 0) {
      inTable = false;
      const auto eq = line.find('=');
      if (eq == std::string::npos) continue;
      const std::string name = line.substr(2, eq - 2);
      const std::string value = line.substr(eq + 1);
      if (name == "YFACTOR") yFactor = number(value);
      if (name == "FIRSTX") first = number(value);
      if (name == "LASTX") last = number(value);
      if (name == "DELTAX") delta = number(value);
      if (name == "FIRSTY") firstY = number(value);
      if (name == "NPOINTS") npoints = std::atoll(value.c_str());
      if (name == "PAGE") page = std::atoi(value.substr(value.find("N=") + 2).c_str());
      if (name == "FACTOR") {
        factors.clear();
        for (std::size_t q = 0; q <= value.size();) {
          const std::size_t comma = std::min(value.find(',', q), value.size());
          factors.push_back(number(value.substr(q, comma - q)));
          q = comma + 1;
        }
      }
      if (name == "XYDATA" || name == "DATA TABLE" || name == "PEAK TABLE") {
        inTable = true;
        peaks = name == "PEAK TABLE";
        prevEndedDif = false;
        ReferenceTable& t = tables.emplace_back();
        t.first = first, t.last = last, t.delta = delta, t.firstY = firstY, t.npoints = npoints;
      }
      continue;
    }
    if (!inTable || line.empty()) continue;
    EXPECT_LE(line.size(), 80u) << "data line too long: " << line;
    ReferenceTable& t = tables.back();
    const double factor = page > 0 && static_cast<std::size_t>(page) < factors.size() ? factors[static_cast<std::size_t>(page)] : yFactor;
    // Tokens: an optional sign or SQZ/DIF/DUP character, digits, a fraction, an exponent.
    std::vector<double> values;
    bool lastDif = false;
    double lastDifValue = 0.0;
    bool abscissa = true, compressed = false, fraction = false;
    std::size_t q = 0;
    while (q < line.size()) {
      const char c = line[q];
      if (c == ' ' || c == ',' || c == ';') {
        ++q;
        continue;
      }
      int kind = 0;  // 0 AFFN/PAC, 1 SQZ, 2 DIF, 3 DUP
      int lead = -1;
      bool negative = false;
      if (c == '+' || c == '-') negative = c == '-', ++q;
      else if (c == '@') kind = 1, lead = 0, ++q;
      else if (c >= 'A' && c <= 'I') kind = 1, lead = c - 'A' + 1, ++q;
      else if (c >= 'a' && c <= 'i') kind = 1, lead = c - 'a' + 1, negative = true, ++q;
      else if (c == '%') kind = 2, lead = 0, ++q;
      else if (c >= 'J' && c <= 'R') kind = 2, lead = c - 'J' + 1, ++q;
      else if (c >= 'j' && c <= 'r') kind = 2, lead = c - 'j' + 1, negative = true, ++q;
      else if (c >= 'S' && c <= 'Z') kind = 3, lead = c - 'S' + 1, ++q;
      else if (c == 's') kind = 3, lead = 9, ++q;
      std::string digits = lead >= 0 ? std::to_string(lead) : "";
      while (q < line.size() && ((line[q] >= '0' && line[q] <= '9') || line[q] == '.' ||
                                 (kind == 0 && (line[q] == 'E' || line[q] == 'e') && !digits.empty()) ||
                                 (kind == 0 && (line[q] == '+' || line[q] == '-') && !digits.empty() &&
                                  (digits.back() == 'E' || digits.back() == 'e'))))
        digits += line[q++];
      if (digits.empty()) {
        ADD_FAILURE() << "no number at column " << q << " of: " << line;
        return tables;
      }
      const double v = (negative ? -1.0 : 1.0) * std::strtod(digits.c_str(), nullptr);
      if (!abscissa) {
        compressed = compressed || kind != 0;
        fraction = fraction || digits.find_first_of(".Ee") != std::string::npos;
      }
      if (abscissa) {
        abscissa = false;
        if (peaks) t.xs.push_back(v);
        continue;
      }
      if (kind == 3) {
        EXPECT_FALSE(values.empty()) << "DUP without a value in: " << line;
        EXPECT_FALSE(prevEndedDif && values.size() == 1) << "DUP of the Y check in: " << line;
        for (long long n = 1; n < static_cast<long long>(v) && !values.empty(); ++n)
          values.push_back(values.back() + (lastDif ? lastDifValue : 0.0));
        continue;
      }
      lastDif = kind == 2;
      if (kind == 2) {
        const double base = values.empty() ? prevY : values.back();
        lastDifValue = v;
        values.push_back(base + v);
      } else {
        values.push_back(v);
      }
    }
    EXPECT_FALSE(compressed && fraction) << "a number with a fraction among compressed values: " << line;
    if (values.empty()) continue;
    std::size_t from = 0;
    if (prevEndedDif) {
      EXPECT_EQ(values[0], prevY) << "Y check differs from the last value in: " << line;
      from = 1;
    }
    for (std::size_t k = from; k < values.size(); ++k) t.ys.push_back(values[k] * factor);
    prevY = values.back();
    prevEndedDif = lastDif;
  }
  return tables;
}

}  // namespace convert_test
