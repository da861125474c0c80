// Reading half of CJcampDx: labels, blocks and the ASDF table decoder.
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/base/numtext.h"
#include "platform/base/text.h"
#include "spectrum/convert/jcampdx.h"

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view TrimBlanks(std::string_view s) {
  const auto b = s.find_first_not_of(kBlanks);
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(kBlanks) - b + 1);
}

bool IsLabelLine(std::string_view line) {
  const auto b = line.find_first_not_of(kBlanks);
  return b != std::string_view::npos && line.substr(b, 2) == "##";
}

// "##END" alone on its line (no "=") ends a block as "##END=" does.
bool IsBareEnd(std::string_view line) {
  if (!IsLabelLine(line) || line.find('=') != std::string_view::npos) return false;
  const auto b = line.find_first_not_of(" \t#$");
  return b != std::string_view::npos && CJcampDx::LabelKey(line.substr(b)) == "END";
}

bool InList(std::string_view text, const std::vector<std::string>& list) {
  for (const auto& entry : list)
    if (plat::equalsNoCase(text, entry)) return true;
  return false;
}

// Numbers of header values: text is read like the C runtime's strtod (so "1E+05" is 1e5);
// other types convert as the variant does.
double NumberOf(const CVariant& v) {
  if (v.GetType() == plat::ole::VT_BSTR) {
    double d = 0.0;
    const std::string text = v.GetString();
    return plat::parseDoublePrefix(text, &d) > 0 && std::isfinite(d) ? d : 0.0;
  }
  const double d = v.GetDouble();
  return std::isfinite(d) ? d : 0.0;
}

std::int32_t IntOf(const CVariant& v) {
  if (v.GetType() == plat::ole::VT_I4) return v.GetLong();
  const double d = NumberOf(v);
  if (d >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (d <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(d);
}

// "(lo..hi)" at the start of a value, as the pattern "%*[ \t(]%ld%c%c%ld%[)]" reads it; *rest
// is the text after the closing parentheses.
bool ParseArrayRange(std::string_view s, std::int64_t* lo, std::int64_t* hi, std::string_view* rest) {
  std::size_t p = 0;
  while (p < s.size() && (s[p] == ' ' || s[p] == '\t' || s[p] == '(')) ++p;
  if (p == 0) return false;
  auto readLong = [&](std::int64_t* out) {
    while (p < s.size() && (s[p] == ' ' || s[p] == '\t')) ++p;
    bool negative = false;
    if (p < s.size() && (s[p] == '+' || s[p] == '-')) negative = s[p++] == '-';
    std::int64_t v = 0;
    const auto [ptr, ec] = std::from_chars(s.data() + p, s.data() + s.size(), v);
    if (ec != std::errc() || ptr == s.data() + p || v < 0) return false;
    *out = negative ? -v : v;
    p = static_cast<std::size_t>(ptr - s.data());
    return true;
  };
  if (!readLong(lo)) return false;
  if (p + 2 > s.size() || s[p] != '.' || s[p + 1] != '.') return false;
  p += 2;
  if (!readLong(hi)) return false;
  if (p >= s.size() || s[p] != ')') return false;
  while (p < s.size() && s[p] == ')') ++p;
  *rest = s.substr(p);
  return true;
}

// Numbers of one array line: blank-separated, any other character ends the line.
void ReadArrayNumbers(std::string_view s, std::vector<float>* out, std::size_t wanted) {
  std::size_t p = 0;
  while (out->size() < wanted) {
    while (p < s.size() && (s[p] == ' ' || s[p] == '\t')) ++p;
    if (p >= s.size()) return;
    const std::size_t q = (s[p] == '-') ? p + 1 : p;
    if (q >= s.size() || !((s[q] >= '0' && s[q] <= '9') || s[q] == '.')) return;  // no "inf"/"nan"
    double d = 0.0;
    const auto [ptr, ec] = std::from_chars(s.data() + p, s.data() + s.size(), d);
    if (ec != std::errc() || ptr == s.data() + p || !std::isfinite(static_cast<float>(d))) return;
    out->push_back(static_cast<float>(d));
    p = static_cast<std::size_t>(ptr - s.data());
    if (p < s.size() && s[p] != ' ' && s[p] != '\t') return;
  }
}

// A label line cut into its name (without the leading "##" or "##$" and the blanks around it)
// and the text after "="; a comment after "$$" does not count. False for lines that hold no
// label.
bool SplitLabelLine(std::string_view line, std::string_view* name, std::string_view* rest) {
  const auto comment = line.find("$$");
  if (comment != std::string_view::npos) line = line.substr(0, comment);
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  std::string_view n = line.substr(0, eq);
  const auto b = n.find_first_not_of(" \t#$");
  if (b == std::string_view::npos) return false;
  n = n.substr(b);
  n = n.substr(0, n.find_last_not_of(kBlanks) + 1);
  if (n.empty()) return false;
  *name = n;
  *rest = line.substr(eq + 1);
  return true;
}

// A text value without the blanks and angle brackets around it.
std::string_view PlainValue(std::string_view rest) {
  const auto first = rest.find_first_not_of("\t <");
  rest = first == std::string_view::npos ? std::string_view{} : rest.substr(first);
  const auto last = rest.find_last_not_of("\r\n \t>");
  return last == std::string_view::npos ? std::string_view{} : rest.substr(0, last + 1);
}

// What the JCAMP-DX detectors of every kind ask of a file, found in one pass over its labels
// and shared through the file object.
struct JcampFacts {
  bool titleFirst = false;  // the first line is the TITLE label
  bool version = false;     // a JCAMP-DX version label
  std::vector<std::string> dataTypes;
};

// How far into a file its first label may start (after a byte-order mark, blanks or a comment).
constexpr std::size_t kFirstLabelWithin = 4096;

JcampFacts ScanLabels(COrvFile& file) {
  JcampFacts facts;
  // The first label opens the file; a file with no "##" near its start is no JCAMP-DX file, and
  // is not read through to its first line end (a large binary file may have none).
  if (file.Bytes().substr(0, kFirstLabelWithin).find("##") == std::string_view::npos) return facts;
  file.SetPosition(0);
  std::string_view line, name, rest;
  if (!file.ReadLine(&line)) return facts;
  const auto hashes = line.find("##");
  facts.titleFirst = hashes != std::string_view::npos && SplitLabelLine(line.substr(hashes), &name, &rest) &&
                     CJcampDx::LabelKey(name) == "TITLE";
  if (!facts.titleFirst) return facts;  // never recognised, whatever follows
  while (file.ReadLine(&line)) {
    // Labels start with "##"; data and array lines never do.
    const auto b = line.find_first_not_of(kBlanks);
    if (b == std::string_view::npos || line[b] != '#' || !SplitLabelLine(line, &name, &rest)) continue;
    const std::string key = CJcampDx::LabelKey(name);
    if (key == "JCAMPDX") {
      facts.version = true;
    } else if (key == "DATATYPE") {
      facts.dataTypes.emplace_back(PlainValue(rest));
    }
  }
  return facts;
}

// The variable that describes a table of a page given without "N=": the one whose SYMBOL is
// the ordinate of the form "(X++(Y..Y))", else the first ordinate variable that has a size.
std::int32_t PageOfForm(const JcampVariableList& vars, std::string_view form) {
  const auto open = form.find("++(");
  const auto dots = form.find("..");
  if (open != std::string_view::npos && dots != std::string_view::npos && dots > open + 3) {
    const std::string_view symbol = TrimBlanks(form.substr(open + 3, dots - open - 3));
    for (std::size_t i = 0; i < vars.vars.size(); ++i)
      if (!symbol.empty() && plat::equalsNoCase(vars.vars[i].m_strSymbol, symbol)) return static_cast<std::int32_t>(i);
  }
  return vars.vars.size() > 1 && vars.vars[1].m_nDim > 0 ? 1 : 0;
}

enum class ArrayStatus { Done, Interrupted, Ended };

// Numbers of an array value: those after the range, then following lines until count values
// were read. A label line ends the array early (the position stays on that line).
ArrayStatus ReadArray(COrvFile& file, std::string_view first, std::size_t count, std::vector<float>* values) {
  const std::size_t left = static_cast<std::size_t>(file.m_nSize - file.GetPosition());
  values->reserve(std::min(count, left / 2 + 1));
  ReadArrayNumbers(first, values, count);
  while (values->size() < count) {
    const std::int64_t at = file.GetPosition();
    std::string_view line;
    if (!file.ReadLine(&line)) return ArrayStatus::Ended;
    if (IsLabelLine(line)) {
      file.SetPosition(at);
      return ArrayStatus::Interrupted;
    }
    ReadArrayNumbers(line, values, count);
  }
  return ArrayStatus::Done;
}

}  // namespace

void CJcampDx::OnParameter(const std::string&, const CVariant&, CSpcData*) {}

std::string CJcampDx::LabelKey(std::string_view label) {
  std::string key;
  key.reserve(label.size());
  for (const char c : label) {
    if (c == ' ' || c == '\t' || c == '-' || c == '/' || c == '_') continue;
    key += plat::upperCase(c);
  }
  return key;
}

bool CJcampDx::OnBlock(COrvFile&, JcampVariableList&, std::int32_t, CSpcData*) { return false; }

bool CJcampDx::ReadLabel(COrvFile& file, std::string* label, CVariant* value) {
  std::string_view line;
  while (file.ReadLine(&line)) {
    std::string_view name, rest;
    if (!SplitLabelLine(line, &name, &rest)) {
      if (IsBareEnd(line)) {
        label->assign("END");
        value->SetString("");
        return true;
      }
      continue;
    }
    std::int64_t lo = 0, hi = 0;
    std::string_view numbers;
    if (ParseArrayRange(rest, &lo, &hi, &numbers) && hi >= lo - 1 && hi - lo + 1 <= kMaxPoints) {
      const auto count = static_cast<std::size_t>(hi - lo + 1);
      std::vector<float> values;
      const ArrayStatus status = ReadArray(file, numbers, count, &values);
      if (status == ArrayStatus::Ended) return false;
      if (status == ArrayStatus::Interrupted) continue;  // the short array is dropped
      label->assign(name);
      *value = CVariant(values.data(), static_cast<std::int32_t>(count));
      return true;
    }
    label->assign(name);
    value->SetString(PlainValue(rest));
    return true;
  }
  return false;
}

std::int32_t CJcampDx::SplitList(std::string_view text, std::vector<CVariant>* items) {
  items->clear();
  std::size_t p = 0;
  while (p < text.size()) {
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
    const auto comma = text.find(',', p);
    if (comma == std::string_view::npos) {
      const std::string_view piece = TrimBlanks(text.substr(p));
      if (!piece.empty()) items->emplace_back().SetString(piece);
      break;
    }
    items->emplace_back().SetString(TrimBlanks(text.substr(p, comma - p)));
    p = comma + 1;
  }
  return static_cast<std::int32_t>(items->size());
}

bool CJcampDx::IsJcampFile(COrvFile& file, const std::vector<std::string>& dataTypes) {
  const JcampFacts& facts = file.SharedFacts<JcampFacts>(ScanLabels);
  if (!facts.titleFirst || !facts.version) return false;
  for (const std::string& type : facts.dataTypes)
    if (InList(type, dataTypes)) return true;
  return false;
}

bool CJcampDx::ReadFile(std::string_view path, CSpcData* data, const std::vector<std::string>* dataTypes) {
  m_readFailure = SpcFailure();
  COrvFile file(path);
  if (!file.HasView()) {
    m_readFailure = SpcFailure::At("empty or no regular file");
    return false;
  }
  JcampVariableList vars;
  vars.vars.resize(4);
  std::int32_t page = 0;
  // A page named by another variable ("##PAGE= T= 272") is described by the variable of its
  // table's ordinate, or by an NPOINTS given within the page.
  bool pageBySymbol = false, pagePoints = false;
  bool result = true;
  std::string label;
  CVariant value;

  if (dataTypes) {
    // Read the block whose DATA TYPE matches, from just after its TITLE.
    std::int64_t afterTitle = -1;
    while (ReadLabel(file, &label, &value)) {
      const std::string key = LabelKey(label);
      if (key == "TITLE") {
        afterTitle = file.GetPosition();
        OnParameter(label, value, data);
      } else if (key == "DATATYPE" && InList(value.GetString(), *dataTypes)) {
        break;
      }
    }
    file.SetPosition(afterTitle >= 0 ? afterTitle : 0);
  }

  std::vector<CVariant> items;
  auto listOf = [&](const CVariant& v) {
    SplitList(v.GetString(), &items);
    for (auto& item : items) item.ParseText();
    return std::min<std::size_t>(items.size(), vars.vars.size());
  };

  while (ReadLabel(file, &label, &value)) {
    if (!value.IsArray()) value.ParseText();
    JcampVariable& x = vars.vars[0];
    const std::string key = LabelKey(label);
    if (key == "XUNITS") {
      x.m_strUnits = value.GetString();
    } else if (key == "FIRSTX") {
      x.m_dFirst = NumberOf(value);
    } else if (key == "LASTX") {
      x.m_dLast = NumberOf(value);
    } else if (key == "NPOINTS") {
      x.m_nDim = IntOf(value);
      pagePoints = true;
    } else if (key == "XFACTOR") {
      x.m_dFactor = NumberOf(value);
    } else if (key == "DELTAX") {
      x.m_dDelta = NumberOf(value);
    } else if (key == "VARNAME" || key == "SYMBOL" || key == "VARFORM" || key == "UNITS") {
      const std::size_t n = listOf(value);
      for (std::size_t i = 0; i < n; ++i) {
        JcampVariable& v = vars.vars[i];
        std::string& field = key == "VARNAME" ? v.m_strName
                             : key == "SYMBOL" ? v.m_strSymbol
                             : key == "VARFORM" ? v.m_strForm
                                                : v.m_strUnits;
        field = items[i].GetString();
      }
    } else if (key == "VARDIM") {
      const std::size_t n = listOf(value);
      for (std::size_t i = 0; i < n; ++i) vars.vars[i].m_nDim = IntOf(items[i]);
    } else if (key == "FIRST" || key == "LAST" || key == "FACTOR") {
      const std::size_t n = listOf(value);
      for (std::size_t i = 0; i < n; ++i) {
        JcampVariable& v = vars.vars[i];
        (key == "FIRST" ? v.m_dFirst : key == "LAST" ? v.m_dLast : v.m_dFactor) = NumberOf(items[i]);
      }
    } else if (key == "PAGE") {
      // "N=2": the page names the variable that describes the next table. A number that names
      // no variable makes that table fail instead of reaching past the list.
      const std::string text = value.GetString();
      const auto n = text.find("N=");
      std::int64_t number = -1;
      pageBySymbol = n == std::string::npos;
      pagePoints = false;
      if (!pageBySymbol && plat::parseIntPrefix(std::string_view(text).substr(n + 2), &number) == 0) number = -1;
      page = (number >= 0 && number < static_cast<std::int64_t>(vars.vars.size())) ? static_cast<std::int32_t>(number) : -1;
    } else if (key == "MIN" || key == "MAX") {
      // Not needed to read the data.
    } else if (key == "XYDATA" || key == "DATATABLE" || key == "PEAKTABLE") {
      x.m_bTable = key == "PEAKTABLE" ? 0 : 1;
      // The table's form: (X++(Y..Y)) lines, or groups such as (XY..XY).
      const std::string form = value.GetString();
      x.m_nGroup = 0;
      const auto open = form.find('(');
      const auto dots = form.find("..");
      if (form.find("++") == std::string::npos && open != std::string::npos && dots != std::string::npos && dots > open + 1)
        x.m_nGroup = static_cast<std::int32_t>(dots - open - 1);
      if (pageBySymbol) page = pagePoints ? 0 : PageOfForm(vars, form);
      const std::int64_t tableAt = file.GetPosition() - 1;
      const bool table = page >= 0 && OnBlock(file, vars, page, data);
      if (!table) {
        m_readFailure = SpcFailure::AtLine(page < 0 ? "table of a page that names no variable"
                                                    : label + " table does not hold the points its labels give",
                                           file.LineOf(tableAt));
      }
      result = table;
    } else if (key == "END") {
      return result;
    } else {
      if (key == "YFACTOR") vars.vars[1].m_dFactor = NumberOf(value);  // applied to the ordinates
      OnParameter(label, value, data);
    }
  }
  m_readFailure = SpcFailure::AtLine("no END label", file.LineOf(file.m_nSize));
  return false;
}

// ---------------------------------------------------------------------------------------------
// ASDF decoder

namespace {

enum class NumKind { Plain, Sqz, Dif };

struct Number {
  NumKind kind = NumKind::Plain;
  double value = 0.0;
  std::int64_t dup = 1;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Parses the number that starts at s[p] (a digit, '.', or an SQZ/DIF character); p moves past
// it and its DUP suffix. Integers are exact to 18 digits; longer ones continue in double.
bool ParseNumber(std::string_view s, std::size_t* pp, bool allowExponent, Number* out) {
  std::size_t p = *pp;
  const char c = s[p];
  int first = -1;  // first digit given by the character itself
  bool negative = false;
  out->kind = NumKind::Plain;
  if (IsDigit(c)) {
    first = c - '0';
  } else if (c == '@') {
    out->kind = NumKind::Sqz, first = 0;
  } else if (c >= 'A' && c <= 'I') {
    out->kind = NumKind::Sqz, first = c - 'A' + 1;
  } else if (c >= 'a' && c <= 'i') {
    out->kind = NumKind::Sqz, first = c - 'a' + 1, negative = true;
  } else if (c == '%') {
    out->kind = NumKind::Dif, first = 0;
  } else if (c >= 'J' && c <= 'R') {
    out->kind = NumKind::Dif, first = c - 'J' + 1;
  } else if (c >= 'j' && c <= 'r') {
    out->kind = NumKind::Dif, first = c - 'j' + 1, negative = true;
  } else if (c != '.') {
    return false;
  }
  if (c != '.') ++p;

  std::int64_t mant = first < 0 ? 0 : first;
  double big = 0.0;  // used once the integer part outgrows 18 digits
  int digits = first < 0 ? 0 : 1;
  while (p < s.size() && IsDigit(s[p])) {
    if (digits < 18)
      mant = mant * 10 + (s[p] - '0');
    else
      big = (digits == 18 ? static_cast<double>(mant) : big) * 10.0 + (s[p] - '0');
    ++digits, ++p;
  }
  double value = digits > 18 ? big : static_cast<double>(mant);
  bool fraction = false;
  if (p < s.size() && s[p] == '.') {
    ++p;
    fraction = true;
    std::int64_t frac = 0;
    int fracDigits = 0;
    while (p < s.size() && IsDigit(s[p])) {
      if (fracDigits < 18) frac = frac * 10 + (s[p] - '0'), ++fracDigits;
      ++p;
    }
    value += static_cast<double>(frac) / std::pow(10.0, fracDigits);
  }
  if (allowExponent && fraction && p < s.size() && (s[p] == 'e' || s[p] == 'E')) {
    std::size_t q = p + 1;
    int sign = 1;
    if (q < s.size() && (s[q] == '+' || s[q] == '-')) sign = s[q++] == '-' ? -1 : 1;
    if (q < s.size() && IsDigit(s[q])) {
      int exponent = 0;
      while (q < s.size() && IsDigit(s[q])) {
        if (exponent < 10000) exponent = exponent * 10 + (s[q] - '0');
        ++q;
      }
      value *= std::pow(10.0, sign * exponent);
      p = q;
    }
  }
  out->value = negative ? -value : value;
  out->dup = 1;
  if (p < s.size() && ((s[p] >= 'S' && s[p] <= 'Z') || s[p] == 's')) {
    std::int64_t count = s[p] == 's' ? 9 : s[p] - 'S' + 1;
    ++p;
    while (p < s.size() && IsDigit(s[p])) {
      if (count < (std::int64_t(1) << 40)) count = count * 10 + (s[p] - '0');
      ++p;
    }
    out->dup = count;
  }
  *pp = p;
  return true;
}

double SaneFactor(double f) { return std::isfinite(f) && f != 0.0 ? f : 1.0; }

// Decodes one table. Ordinates of (X++(Y..Y)) lines are placed by their running index from
// FIRST in steps of (LAST - FIRST) / (N - 1); a line's abscissa is not used, since exporters
// write it truncated or one step late. The first ordinate of a line whose previous line ended
// in DIF form is the Y check of that line's last point: it is not a point of its own.
class AsdfDecoder {
 public:
  AsdfDecoder(PointMap* points, const JcampVariableList& vars, std::int32_t var)
      : m_points(points), m_group(vars.vars[0].m_nGroup) {
    const JcampVariable& x = vars.vars[0];
    m_n = vars.vars[static_cast<std::size_t>(var)].m_nDim;
    m_xFactor = SaneFactor(x.m_dFactor);
    const double yf = var == 0 ? (vars.vars.size() > 1 ? vars.vars[1].m_dFactor : 1.0) : vars.vars[static_cast<std::size_t>(var)].m_dFactor;
    m_yFactor = SaneFactor(yf);
    m_x0 = std::isfinite(x.m_dFirst) ? x.m_dFirst : 0.0;
    const double step = m_n > 1 ? (x.m_dLast - x.m_dFirst) / static_cast<double>(m_n - 1) : 0.0;
    // The points are keyed by x as floats: a step that floats cannot tell apart at this
    // magnitude (or none at all) numbers them instead, in the table's direction.
    const double magnitude = std::max(std::fabs(m_x0), std::fabs(m_x0 + step * static_cast<double>(m_n - 1)));
    if (m_n <= 1 || (std::isfinite(step) && std::isfinite(magnitude) && std::fabs(step) > magnitude * 0x1p-20)) {
      m_step = step;
    } else {
      m_x0 = 0.0;
      m_step = step < 0.0 ? -1.0 : 1.0;
    }
  }

  std::int64_t count() const { return m_n; }
  bool done() const { return m_group == 0 ? m_index >= m_n : static_cast<std::int64_t>(m_points->count()) >= m_n; }

  // Decodes one line; false on a value that cannot be stored (not finite).
  bool Line(std::string_view s) {
    const auto end = s.find_first_of("$\r\n");
    if (end != std::string_view::npos) s = s.substr(0, end);
    m_expectX = true;
    m_groupPos = 0;
    m_lineFirst = true;
    bool ordinates = false;
    int sign = 1;
    std::size_t p = 0;
    while (p < s.size() && !done()) {
      const char c = s[p];
      if (c == '-') {
        sign = -sign, ++p;
        continue;
      }
      if (c == ';') {
        m_expectX = true, m_groupPos = 0, ++p;
        continue;
      }
      Number num;
      const bool isX = m_group == 0 ? m_expectX : m_groupPos == 0;
      if (!ParseNumber(s, &p, !isX, &num)) {
        sign = 1, ++p;  // separators and anything else
        continue;
      }
      num.value *= sign;
      sign = 1;
      if (m_group == 0 && !isX) ordinates = true;
      if (!(m_group == 0 ? Sequential(num) : Grouped(num))) return false;
    }
    if (ordinates) m_prevLineEndedDif = m_lastWasDif;
    return true;
  }

 private:
  bool Store(float x, double y) {
    const double scaled = y * m_yFactor;
    if (!std::isfinite(static_cast<float>(scaled))) return false;
    return m_points->set(x, static_cast<float>(scaled));
  }

  float KeyOf(std::int64_t i) const { return static_cast<float>(m_x0 + static_cast<double>(i) * m_step); }

  bool Sequential(const Number& num) {
    if (m_expectX) {
      m_expectX = false;  // the line's abscissa
      return true;
    }
    const bool dif = num.kind == NumKind::Dif;
    m_lastWasDif = dif;
    std::int64_t repeat = std::min<std::int64_t>(num.dup, m_n);
    double y = m_prevY;
    if (m_lineFirst) {
      m_lineFirst = false;
      if (m_prevLineEndedDif && m_index > 0) {
        // The Y check: it should equal the last point; either way it is no point of its own,
        // and the differences that follow start from it.
        y = dif ? y + num.value : num.value;
        --repeat;
      }
    }
    while (repeat-- > 0 && m_index < m_n) {
      y = dif ? y + num.value : num.value;
      if (!Store(KeyOf(m_index), y)) return false;
      ++m_index;
    }
    m_prevY = y;
    return true;
  }

  bool Grouped(const Number& num) {
    const int pos = m_groupPos;
    m_groupPos = (m_groupPos + 1) % m_group;
    if (pos == 0) {
      m_pairX = num.value * m_xFactor;
      return std::isfinite(static_cast<float>(m_pairX));
    }
    if (pos != 1) return true;  // widths and other group members
    const double y = num.kind == NumKind::Dif ? m_prevY + num.value : num.value;
    m_prevY = y;
    return Store(static_cast<float>(m_pairX), y);
  }

  PointMap* m_points;
  std::int32_t m_group;
  std::int64_t m_n = 0;
  double m_xFactor = 1.0, m_yFactor = 1.0;
  double m_x0 = 0.0, m_step = 1.0;
  // Line state.
  bool m_expectX = true, m_lineFirst = true;
  int m_groupPos = 0;
  double m_pairX = 0.0;
  // Table state.
  bool m_lastWasDif = false, m_prevLineEndedDif = false;
  double m_prevY = 0.0;
  std::int64_t m_index = 0;
};

}  // namespace

bool CJcampDx::ReadXYData(COrvFile& file, PointMap* points, const JcampVariableList& vars, std::int32_t var) {
  if (var < 0 || static_cast<std::size_t>(var) >= vars.vars.size()) return false;
  const std::int64_t n = vars.vars[static_cast<std::size_t>(var)].m_nDim;
  if (n <= 0 || n > kMaxPoints) return false;  // a table of no points holds no spectrum
  AsdfDecoder decoder(points, vars, var);
  const std::size_t left = static_cast<std::size_t>(file.m_nSize - file.GetPosition());
  points->reserve(static_cast<std::size_t>(std::min<std::int64_t>(n, static_cast<std::int64_t>(left))));
  std::string_view line;
  bool atLabel = false;
  while (!decoder.done()) {
    const std::int64_t at = file.GetPosition();
    if (!file.ReadLine(&line)) break;
    if (IsLabelLine(line)) {  // a short table ends at the next label
      file.SetPosition(at);
      atLabel = true;
      break;
    }
    if (!decoder.Line(line)) return false;
  }
  const auto count = static_cast<std::int64_t>(points->count());
  // A count one larger than the values, in a table that ends cleanly at the next label, is an
  // exporter's miscount (it counted the last Y check, or both ends of the range): the values
  // that are there are the table.
  return count == n || (atLabel && n > 2 && count == n - 1);
}

double CJcampDx::LastXOf(const JcampVariableList& vars, std::int32_t var, std::int32_t n) {
  const JcampVariable& x = vars.vars[0];
  const std::int32_t declared = vars.vars[static_cast<std::size_t>(var)].m_nDim;
  if (n == declared || declared < 2) return x.m_dLast;
  return x.m_dFirst + (x.m_dLast - x.m_dFirst) * (n - 1) / (declared - 1);
}
