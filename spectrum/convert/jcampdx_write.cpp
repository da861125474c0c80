// Writing half of CJcampDx: labels, NTUPLES rows and the ASDF encoder.
#include <unistd.h>

#include <cmath>
#include <cstdint>

#include "platform/base/file.h"
#include "platform/base/numtext.h"
#include "platform/base/path.h"
#include "spectrum/convert/jcampdx.h"

namespace {

// Integral values up to this magnitude are written as integers; differences of two of them
// still fit in 64 bits.
constexpr double kMaxAsdfInteger = 4611686018427387904.0;  // 2^62

// A whole number the compressed forms can hold (NaN and infinities are none). The round trip
// through a 64-bit integer is exact below 2^62 and cheaper than a call of trunc.
bool IsAsdfInteger(double v) {
  return std::fabs(v) < kMaxAsdfInteger && static_cast<double>(static_cast<std::int64_t>(v)) == v;
}

void PutFixed(std::string& out, double v) {
  out += plat::formatDouble(v, 'f', 6);
  out += ' ';
}

// The digits of |v| with the first replaced by a letter: zero, positive and negative forms.
void PutCoded(std::string& out, std::int64_t v, char zero, char positive, char negative) {
  if (v == 0) {
    out += zero;
    return;
  }
  const std::uint64_t magnitude = v < 0 ? static_cast<std::uint64_t>(-v) : static_cast<std::uint64_t>(v);
  std::string digits = plat::formatUInt(magnitude);
  digits[0] = static_cast<char>((v > 0 ? positive : negative) + (digits[0] - '1'));
  out += digits;
}

void PutSqz(std::string& out, std::int64_t v) { PutCoded(out, v, '@', 'A', 'a'); }
void PutDif(std::string& out, std::int64_t v) { PutCoded(out, v, '%', 'J', 'j'); }

// DUP: the total number of occurrences, first digit 1-8 as 'S'-'Z' and 9 as 's'.
void PutDup(std::string& out, std::int64_t count) {
  std::string digits = plat::formatUInt(static_cast<std::uint64_t>(count));
  digits[0] = digits[0] == '9' ? 's' : static_cast<char>('S' + (digits[0] - '1'));
  out += digits;
}

void PutAbscissa(std::string& out, double x) {
  if (IsAsdfInteger(x)) {
    out += plat::formatInt(static_cast<std::int64_t>(x));
    out += ' ';
  } else {
    PutFixed(out, x);
  }
}

// The longest data line the format allows.
constexpr std::size_t kMaxLineLength = 80;

// Builds the data lines of one table in one ordinate form. Every ordinate is delimited from the
// one before it, by a blank or by a character of its own form (sign, SQZ, DIF or DUP).
class AsdfEncoder {
 public:
  AsdfEncoder(std::string& out, std::int32_t form) : m_out(out), m_form(form) {}

  // Opens a line with the point; `check` when it is the Y check of the line before.
  void StartLine(const PointMap::Entry& p, bool check = false) {
    m_line.clear();
    PutAbscissa(m_line, p.x);
    m_state = State{};
    First(p.y);
    m_state.repeatable = !check;
  }

  // Adds an ordinate to the line; false (and the line as it was) when the line would grow past
  // its length with it.
  bool Next(double y) {
    const State saved = m_state;
    const std::size_t length = m_line.size();
    Add(y);
    if (Length() <= kMaxLineLength) return true;
    m_state = saved;
    m_line.resize(length);
    return false;
  }

  // True once an ordinate with a fraction was written (as "%f").
  bool MetFraction() const { return m_metFraction; }

  // A DIFFDUP line that ends in DIF form is followed by a Y check of its last point; a line that
  // ends in an absolute value needs none, and readers look for none after it.
  bool NeedsCheck() const { return m_state.lastDif; }

  void EndLine() {
    FlushRepeat();
    while (!m_line.empty() && m_line.back() == ' ') m_line.pop_back();  // the blank after a last "%f"
    m_out += m_line;
    m_out += kJcampEol;
  }

 private:
  struct State {
    double prev = 0.0;
    bool prevIsInt = false;
    bool difWritten = false;  // a difference has been written in this line
    bool repeatable = true;   // the value before may be repeated by DUP (not a Y check: readers
                              // do not take the check for a value of its line)
    bool lastDif = false;     // the last value written is a difference (or its repeat)
    std::int64_t lastDifValue = 0;
    std::int64_t repeat = 0;  // pending further occurrences of the last value or difference
  };

  // The line's length once a pending repeat is written.
  std::size_t Length() const { return m_line.size() + (m_state.repeat > 0 ? DupLength(m_state.repeat + 1) : 0); }
  static std::size_t DupLength(std::int64_t count) {
    std::size_t digits = 1;
    for (; count >= 10; count /= 10) ++digits;
    return digits;
  }

  void Add(double y) {
    if (m_form != kJcampDiffDup || !IsAsdfInteger(y) || !m_state.prevIsInt) {
      // Without a usable previous integer a DIFFDUP ordinate is written absolute again.
      FlushRepeat();
      m_state.difWritten = false;
      First(y);
      return;
    }
    const auto v = static_cast<std::int64_t>(y);
    const std::int64_t d = v - static_cast<std::int64_t>(m_state.prev);
    m_state.prev = y;
    if ((!m_state.difWritten && d == 0 && m_state.repeatable) || (m_state.difWritten && d == m_state.lastDifValue)) {
      ++m_state.repeat;
      return;
    }
    FlushRepeat();
    PutDif(m_line, d);
    m_state.lastDifValue = d;
    m_state.difWritten = true;
    m_state.lastDif = true;
  }

  // An absolute ordinate: in DIFFDUP form the first of a line, or one after a non-integral value.
  void First(double y) {
    m_state.prev = y;
    m_state.prevIsInt = IsAsdfInteger(y);
    m_state.lastDif = false;
    if (!m_state.prevIsInt) {
      m_metFraction = true;
      Separate();
      PutFixed(m_line, y);
      return;
    }
    const auto v = static_cast<std::int64_t>(y);
    switch (m_form) {
      case kJcampPacked:
        if (v >= 0) m_line += '+';
        m_line += plat::formatInt(v);
        break;
      case kJcampSqueezed:
      case kJcampDiffDup:
        PutSqz(m_line, v);
        break;
      default:
        PutFix(v);
    }
  }

  // A blank unless the line already ends in one: plain numbers carry no delimiter of their own.
  void Separate() {
    if (!m_line.empty() && m_line.back() != ' ') m_line += ' ';
  }
  void PutFix(std::int64_t v) {
    const std::string digits = plat::formatInt(v);
    if (digits.size() < 15) m_line.append(15 - digits.size(), ' ');
    Separate();  // a number of 15 digits or more fills its column
    m_line += digits;
  }
  void FlushRepeat() {
    if (m_state.repeat > 0) PutDup(m_line, m_state.repeat + 1);
    m_state.repeat = 0;
  }

  std::string& m_out;
  std::int32_t m_form;
  std::string m_line;
  State m_state;
  bool m_metFraction = false;
};

std::string TextOf(const CVariant& v) { return v.GetString(); }

std::string DoubleText(double d) {
  CVariant v;
  v.SetDouble(d);
  return v.GetString();
}

std::string LongText(std::int32_t n) {
  CVariant v;
  v.SetLong(n);
  return v.GetString();
}

void PutLabel(std::string& out, std::string_view label, std::string_view text) {
  CVariant v;
  v.SetString(text);
  CJcampDx::WriteLabel(out, label, v);
}

void PutLabel(std::string& out, std::string_view label, double d) {
  CVariant v;
  v.SetDouble(d);
  CJcampDx::WriteLabel(out, label, v);
}

bool CanCreateIn(std::string_view path) {
  std::string dir(plat::pathDirectory(path));
  if (dir.empty()) dir = ".";
  return plat::isDirectory(dir) && ::access(dir.c_str(), W_OK) == 0;
}

}  // namespace

bool CJcampDx::WriteData(std::string&, JcampVariableList&, std::int32_t, CSpcProcess*) { return false; }

void CJcampDx::WriteHeader(JcampVariableList&, CSpcParamList&, CSpcProcess*) {}

bool CJcampDx::WriteLabel(std::string& out, std::string_view label, const CVariant& value) {
  std::string text;
  if (value.IsArray()) {
    const std::int32_t lo = value.GetLBound(), hi = value.GetUBound();
    text = "(" + plat::formatInt(lo) + ".." + plat::formatInt(hi) + ")" + std::string(kJcampEol);
    std::string pending;
    for (std::int32_t i = lo; i <= hi; ++i) {
      if (!pending.empty()) pending += ' ';
      pending += value.GetItem(i).GetValue().GetString();
      if (pending.size() > 70) {
        text += pending;
        text += kJcampEol;
        pending.clear();
      }
    }
    text += pending;
    // The label line ends below; an array that ended on a full line needs no empty line.
    if (pending.empty() && text.size() >= kJcampEol.size() && text.ends_with(kJcampEol)) text.resize(text.size() - kJcampEol.size());
  } else {
    text = TextOf(value);
  }
  const std::size_t before = out.size();
  if (label == "$$") {
    out += "$$ ";
  } else {
    out += "##";
    out += label;
    out += "= ";
  }
  out += text;
  out += kJcampEol;
  return out.size() > before;
}

std::string CJcampDx::FormatRow(std::string_view label, std::string_view c1, std::string_view c2,
                                std::string_view c3, std::string_view c4) {
  std::string row;
  auto pad = [&row](std::string_view text, std::string_view tail, std::size_t width) {
    const std::size_t start = row.size();
    row += text;
    row += tail;
    if (row.size() - start < width) row.append(width - (row.size() - start), ' ');
  };
  pad(label, "=", 13);
  pad(c1, ",", 14);
  pad(c2, ",", 16);
  pad(c3, ",", 16);
  pad(c4, "", 16);
  row += kJcampEol;
  return row;
}

bool CJcampDx::WriteAsdf(std::string& out, const PointMap& points, const JcampVariableList& vars, std::int32_t var) {
  if (vars.vars.empty() || var < 0 || static_cast<std::size_t>(var) >= vars.vars.size()) return false;
  const std::size_t n = points.count();
  if (n == 0) return true;
  for (std::size_t i = 0; i < n; ++i)
    if (!std::isfinite(points.at(i).y)) return false;  // never put NaN or infinity into a file

  const JcampVariable& x = vars.vars[0];
  const bool ascending = x.m_dFirst <= x.m_dLast;
  const bool onePerLine = x.m_bTable == 0;
  auto point = [&](std::size_t k) -> const PointMap::Entry& { return points.at(ascending ? k : n - 1 - k); };

  // Returns false when a compressed form meets a fraction.
  auto encode = [&](std::int32_t form) {
    AsdfEncoder enc(out, form);
    enc.StartLine(point(0));
    for (std::size_t k = 1; k < n; ++k) {
      if (!onePerLine && enc.Next(point(k).y)) continue;
      const bool check = enc.NeedsCheck();
      enc.EndLine();
      if (check) {
        // The next line opens with the last point of this one: the Y check.
        enc.StartLine(point(k - 1), true);
        if (enc.Next(point(k).y)) continue;
        enc.EndLine();  // a value too wide to share a line
      }
      enc.StartLine(point(k));
    }
    const bool repeatLast = enc.NeedsCheck();
    enc.EndLine();
    if (repeatLast) {
      enc.StartLine(point(n - 1));
      enc.EndLine();
    }
    return form == kJcampFix || !enc.MetFraction();
  };
  // The compressed forms hold integers only: a table with fractions is written again as plain
  // numbers throughout, never a "%f" number among compressed tokens. (The kinds hand integers.)
  const std::size_t start = out.size();
  if (!encode(vars.vars[static_cast<std::size_t>(var)].m_nForm)) {
    out.resize(start);
    encode(kJcampFix);
  }
  return true;
}

void CJcampDx::WriteTableLabels(std::string& out, const JcampVariable& x, const JcampVariable& y,
                                std::string_view tableLabel, std::string_view tableForm) {
  PutLabel(out, "DELTAX", x.m_dDelta);
  PutLabel(out, "XUNITS", x.m_strUnits);
  PutLabel(out, "YUNITS", y.m_strUnits);
  PutLabel(out, "XFACTOR", x.m_dFactor);
  PutLabel(out, "YFACTOR", y.m_dFactor);
  PutLabel(out, "FIRSTX", x.m_dFirst);
  PutLabel(out, "LASTX", x.m_dLast);
  CVariant count;
  count.SetLong(x.m_nDim);
  WriteLabel(out, "NPOINTS", count);
  PutLabel(out, "FIRSTY", y.m_dFirst);
  PutLabel(out, tableLabel, tableForm);
}

bool CJcampDx::WriteNtuples(std::string_view path, CSpcProcess* process) {
  if (!CanCreateIn(path)) return false;
  JcampVariableList vars;
  CSpcParamList header;
  WriteHeader(vars, header, process);
  if (vars.vars.size() < 2) return false;

  std::string out;
  for (const CSpcParam& entry : header) WriteLabel(out, entry.name, entry.value);

  bool result = false;
  const JcampVariable& x = vars.vars[0];
  const JcampVariable& y = vars.vars[1];
  if (vars.vars.size() <= 2) {
    WriteTableLabels(out, x, y, "XYDATA", "(X++(Y..Y))");
    result = WriteData(out, vars, 1, process);
  } else {
    const JcampVariable& z = vars.vars[2];
    PutLabel(out, "NTUPLES", vars.name);
    auto form = [](const JcampVariable& v) { return v.m_nForm != 0 ? "ASDF" : "AFFN"; };
    out += FormatRow("##VAR_NAME", x.m_strName, y.m_strName, z.m_strName, "PAGE NUMBER");
    out += FormatRow("##SYMBOL", x.m_strSymbol, y.m_strSymbol, z.m_strSymbol, "N");
    out += FormatRow("##VAR_TYPE", "INDEPENDENT", "DEPENDENT", "DEPENDENT", "PAGE");
    out += FormatRow("##VAR_FORM", "AFFN", form(y), form(z), "AFFN");
    out += FormatRow("##VAR_DIM", LongText(x.m_nDim), LongText(y.m_nDim), LongText(z.m_nDim), LongText(2));
    out += FormatRow("##UNITS", x.m_strUnits, y.m_strUnits, z.m_strUnits, "");
    out += FormatRow("##FIRST", DoubleText(x.m_dFirst), DoubleText(y.m_dFirst), DoubleText(z.m_dFirst), DoubleText(1));
    out += FormatRow("##LAST", DoubleText(x.m_dLast), DoubleText(y.m_dLast), DoubleText(z.m_dLast), DoubleText(2));
    out += FormatRow("##MIN", DoubleText(x.m_dMin), DoubleText(y.m_dMin), DoubleText(z.m_dMin), DoubleText(1));
    out += FormatRow("##MAX", DoubleText(x.m_dMax), DoubleText(y.m_dMax), DoubleText(z.m_dMax), DoubleText(2));
    out += FormatRow("##FACTOR", DoubleText(x.m_dFactor), DoubleText(y.m_dFactor), DoubleText(z.m_dFactor), DoubleText(1));
    PutLabel(out, "PAGE", "N=1");
    PutLabel(out, "DATA TABLE", "(X++(" + y.m_strSymbol + ".." + y.m_strSymbol + ")), XYDATA");
    const bool page1 = WriteData(out, vars, 1, process);
    PutLabel(out, "PAGE", "N=2");
    PutLabel(out, "DATA TABLE", "(X++(" + z.m_strSymbol + ".." + z.m_strSymbol + ")), XYDATA");
    const bool page2 = WriteData(out, vars, 2, process);
    result = page1 && page2;
    PutLabel(out, "END NTUPLES", vars.name);
  }
  out += "##END= ";
  out += kJcampEol;
  // A file whose data could not be written is not saved at all, so an older file survives.
  return result && plat::writeFileAtomic(std::string(path), out);
}
