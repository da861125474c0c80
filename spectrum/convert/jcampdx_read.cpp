// Reading half of CJcampDx: labels, blocks and the ASDF table decoder.
#include <algorithm>
#include <array>
#include <condition_variable>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>

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
  // The lines whose first character after blanks is '#' (labels; data and array lines never hold
  // one), found by looking for '#' a few megabytes at a time rather than by reading every line.
  const std::string_view bytes = file.Bytes();
  constexpr std::size_t kWindow = std::size_t(2) << 20;
  const std::size_t scanFrom = static_cast<std::size_t>(file.GetPosition());  // after the first line's end
  std::size_t at = scanFrom;
  while (at < bytes.size()) {
    const std::size_t limit = std::min(bytes.size(), at + kWindow);
    const std::size_t hash = bytes.substr(0, limit).find('#', at);
    if (hash == std::string_view::npos) {
      at = limit;
      file.ReleaseBefore(static_cast<std::int64_t>(at));
      continue;
    }
    std::size_t start = hash;
    // The blanks before it may begin in the stretch searched before.
    while (start > scanFrom && (bytes[start - 1] == ' ' || bytes[start - 1] == '\t')) --start;
    const bool first = bytes[start - 1] == '\n' || bytes[start - 1] == '\r';  // the first line ends before scanFrom
    std::size_t end = hash;
    while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') ++end;
    at = first ? end : hash + 1;
    if (!first || !SplitLabelLine(bytes.substr(start, end - start), &name, &rest)) continue;
    const std::string key = CJcampDx::LabelKey(name);
    if (key == "JCAMPDX") {
      facts.version = true;
    } else if (key == "DATATYPE") {
      facts.dataTypes.emplace_back(PlainValue(rest));
    }
  }
  file.SetPosition(file.m_nSize);
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
      // A page that failed fails the read: a later page must not stand in for it (the
      // imaginary page of an NMR spectrum would be taken for the real one).
      result = result && table;
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

enum class NumKind : std::uint8_t { Plain, Sqz, Dif };

struct Number {
  NumKind kind = NumKind::Plain;
  double value = 0.0;
  std::int64_t dup = 1;
};

// What a character of a table line is to the scanner.
enum class Token : std::uint8_t {
  Skip,     // a separator or anything else: skipped, and the number after it is positive
  Number,   // a number's first character: a digit, '.', an SQZ or a DIF character
  Minus,    // the sign of the following number
  PairEnd,  // ';': the next number is an abscissa
  LineEnd,  // CR, LF, and '$' (the rest of the line is a comment)
};

struct CharClass {
  Token token = Token::Skip;
  NumKind kind = NumKind::Plain;
  std::int8_t first = -1;  // the digit the character itself stands for; -1 for '.' and non-numbers
  bool negative = false;   // lower-case SQZ and DIF characters
  std::int8_t dup = 0;     // a DUP character ('S'-'Z' for 1-8, 's' for 9): its digit, else 0
};

constexpr std::array<CharClass, 256> MakeCharClasses() {
  std::array<CharClass, 256> t{};
  auto number = [&t](char c, NumKind kind, int first, bool negative) {
    CharClass& e = t[static_cast<unsigned char>(c)];
    e.token = Token::Number;
    e.kind = kind;
    e.first = static_cast<std::int8_t>(first);
    e.negative = negative;
  };
  for (int d = 0; d <= 9; ++d) number(static_cast<char>('0' + d), NumKind::Plain, d, false);
  number('.', NumKind::Plain, -1, false);
  number('@', NumKind::Sqz, 0, false);
  number('%', NumKind::Dif, 0, false);
  for (int d = 1; d <= 9; ++d) {
    number(static_cast<char>('A' + d - 1), NumKind::Sqz, d, false);
    number(static_cast<char>('a' + d - 1), NumKind::Sqz, d, true);
    number(static_cast<char>('J' + d - 1), NumKind::Dif, d, false);
    number(static_cast<char>('j' + d - 1), NumKind::Dif, d, true);
  }
  for (int d = 1; d <= 8; ++d) t[static_cast<unsigned char>('S' + d - 1)].dup = static_cast<std::int8_t>(d);
  t[static_cast<unsigned char>('s')].dup = 9;
  t[static_cast<unsigned char>('-')].token = Token::Minus;
  t[static_cast<unsigned char>(';')].token = Token::PairEnd;
  for (const char c : {'\r', '\n', '$'}) t[static_cast<unsigned char>(c)].token = Token::LineEnd;
  return t;
}

constexpr std::array<CharClass, 256> kChars = MakeCharClasses();

// Powers of ten that doubles hold exactly: the weights of up to 18 fraction digits.
constexpr double kPow10[19] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                               1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};

// The scanner's steps run once per character or number: inlined into its loops.
#define KEDRUS_SCAN_STEP [[gnu::always_inline]] inline

KEDRUS_SCAN_STEP bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

KEDRUS_SCAN_STEP std::uint64_t Load8(const char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

// How many of the eight characters at p are decimal digits before the first one that is not
// (the bytes after it do not matter), and the value of those digits, without a branch. Two
// tests per byte, with no carry out of a digit: (c & 0xF0) == 0x30 and ((c + 6) & 0xF0) == 0x30.
KEDRUS_SCAN_STEP int DigitRun8(const char* p, std::uint64_t* value) {
  // The digits' bytes kept, and moved to the top, so that the bytes below read as leading zeros.
  static constexpr std::uint64_t kKeep[9] = {0,
                                             0x000000000000000Full,
                                             0x0000000000000F0Full,
                                             0x00000000000F0F0Full,
                                             0x000000000F0F0F0Full,
                                             0x0000000F0F0F0F0Full,
                                             0x00000F0F0F0F0F0Full,
                                             0x000F0F0F0F0F0F0Full,
                                             0x0F0F0F0F0F0F0F0Full};
  static constexpr std::uint8_t kShift[9] = {0, 56, 48, 40, 32, 24, 16, 8, 0};
  const std::uint64_t chunk = Load8(p);
  constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0ull, kZeros = 0x3030303030303030ull;
  const std::uint64_t other = ((chunk & kHigh) ^ kZeros) | (((chunk + 0x0606060606060606ull) & kHigh) ^ kZeros);
  // The lowest set bit of other | 1 << 63 is in the first byte that is no digit (byte 7 if none is).
  const int first = __builtin_ctzll(other | (std::uint64_t(1) << 63)) >> 3;
  const int length = other ? first : 8;
  std::uint64_t v = (chunk & kKeep[length]) << kShift[length];
  // Pairs, quadruples and the eight combined; the first character is the most significant digit.
  v = (v * 10 + (v >> 8)) & 0x00FF00FF00FF00FFull;
  v = (v * 100 + (v >> 16)) & 0x0000FFFF0000FFFFull;
  *value = (v * 10000 + (v >> 32)) & 0xFFFFFFFFull;
  return length;
}

constexpr std::int64_t kPow10Int[9] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

// Parses the number whose first character (a digit, '.', an SQZ or a DIF character) is at p,
// with its DUP suffix; answers where it ends. Integers are exact to 18 digits; longer ones
// continue in double.
KEDRUS_SCAN_STEP const char* ParseNumber(const char* p, const char* end, bool allowExponent, Number* out) {
  const CharClass& c = kChars[static_cast<unsigned char>(*p)];
  out->kind = c.kind;
  std::int64_t mant = 0;
  int digits = 0;
  if (c.first >= 0) {
    mant = c.first;
    digits = 1;
    ++p;
  }
  // The common integer part, up to eight digits at once where eight bytes are left; the digits
  // after eight, and those of a line's last bytes, one by one below.
  bool more = true;
  if (end - p >= 8) {
    std::uint64_t run = 0;
    const int length = DigitRun8(p, &run);
    mant = mant * kPow10Int[length] + static_cast<std::int64_t>(run);
    digits += length;
    p += length;
    more = length == 8;
  }
  double big = 0.0;  // used once the integer part outgrows 18 digits
  while (more && p < end && IsDigit(*p)) {
    if (digits < 18)
      mant = mant * 10 + (*p - '0');
    else
      big = (digits == 18 ? static_cast<double>(mant) : big) * 10.0 + (*p - '0');
    ++digits, ++p;
  }
  double value = digits > 18 ? big : static_cast<double>(mant);
  bool fraction = false;
  if (p < end && *p == '.') {
    ++p;
    fraction = true;
    std::int64_t frac = 0;
    int fracDigits = 0;
    while (p < end && IsDigit(*p)) {
      if (fracDigits < 18) frac = frac * 10 + (*p - '0'), ++fracDigits;
      ++p;
    }
    value += static_cast<double>(frac) / kPow10[fracDigits];
  }
  if (allowExponent && fraction && p < end && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    int sign = 1;
    if (q < end && (*q == '+' || *q == '-')) sign = *q++ == '-' ? -1 : 1;
    if (q < end && IsDigit(*q)) {
      int exponent = 0;
      while (q < end && IsDigit(*q)) {
        if (exponent < 10000) exponent = exponent * 10 + (*q - '0');
        ++q;
      }
      value *= std::pow(10.0, sign * exponent);
      p = q;
    }
  }
  out->value = c.negative ? -value : value;
  out->dup = 1;
  if (p < end) {
    if (const int dup = kChars[static_cast<unsigned char>(*p)].dup) {
      std::int64_t count = dup;
      ++p;
      while (p < end && IsDigit(*p)) {
        if (count < (std::int64_t(1) << 40)) count = count * 10 + (*p - '0');
        ++p;
      }
      out->dup = count;
    }
  }
  return p;
}

// Past the separator at p and the run of blanks after it (fixed-width columns are mostly
// blanks), eight at a time.
KEDRUS_SCAN_STEP const char* SkipBlanks(const char* p, const char* end) {
  ++p;
  while (end - p >= 8) {
    const std::uint64_t other = Load8(p) ^ 0x2020202020202020ull;
    if (other) return p + (__builtin_ctzll(other) >> 3);
    p += 8;
  }
  while (p < end && *p == ' ') ++p;
  return p;
}

// Where the line that holds p ends: after its CR, LF or CR LF, or at the end of the bytes.
inline const char* NextLine(const char* p, const char* end) {
  while (p < end && *p != '\n' && *p != '\r') ++p;
  if (p == end) return p;
  return (*p == '\r' && p + 1 < end && p[1] == '\n') ? p + 2 : p + 1;
}

double SaneFactor(double f) { return std::isfinite(f) && f != 0.0 ? f : 1.0; }

// Decodes one table. Ordinates of (X++(Y..Y)) lines are placed by their running index from
// FIRST in steps of (LAST - FIRST) / (N - 1); a line's abscissa is not used, since exporters
// write it truncated or one step late. The first ordinate of a line whose previous line ended
// in DIF form is the Y check of that line's last point: it is not a point of its own.
//
// The points go to a PointMap keyed by x, or, for a (X++(Y..Y)) table whose keys are all
// finite and different (ByIndex), to the ordinates by running index: the same points without
// their keys, which the map would hold in the same order (or reversed, when x descends).
class AsdfDecoder {
 public:
  AsdfDecoder(const JcampVariableList& vars, std::int32_t var) : m_group(vars.vars[0].m_nGroup) {
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
      // Keys at least eight float steps apart: different as long as the ends are finite.
      m_byIndex = m_group == 0 && std::isfinite(KeyOf(0)) && std::isfinite(KeyOf(m_n - 1));
    } else {
      m_x0 = 0.0;
      m_step = step < 0.0 ? -1.0 : 1.0;
      // Whole numbers, which floats tell apart up to 2^24.
      m_byIndex = m_group == 0 && m_n <= (std::int64_t(1) << 24) + 1;
    }
  }

  bool ByIndex() const { return m_byIndex; }
  bool Descending() const { return m_step < 0.0; }
  float KeyOf(std::int64_t i) const { return static_cast<float>(m_x0 + static_cast<double>(i) * m_step); }
  void Into(PointMap* points) { m_points = points; }
  // For a ByIndex table: room is what the ordinates are reserved at first (they grow as
  // needed); Finish leaves them holding the ordinates stored.
  void Into(std::vector<float>* values, std::size_t room) {
    m_values = values;
    values->clear();
    values->reserve(std::max<std::size_t>(room, 1));
  }
  void Finish() {
    if (m_values) m_values->resize(static_cast<std::size_t>(m_index));
  }

  // A (X++(Y..Y)) table stored by running index, whose lines can be decoded in slices apart.
  bool Sliceable() const { return m_values && m_group == 0; }
  // A decoder for a slice of this table's lines decoded apart, as if no line came before it:
  // its points go to values from index 0, at most cap of them (reserved, not yet touched).
  AsdfDecoder Slice(std::vector<float>* values, std::int64_t cap) const {
    AsdfDecoder slice = *this;
    slice.m_n = std::min(m_n, cap);
    slice.m_values = values;
    values->clear();
    values->reserve(static_cast<std::size_t>(slice.m_n));
    slice.m_index = 0;
    slice.m_prevY = 0.0;
    slice.m_lastWasDif = slice.m_prevLineEndedDif = slice.m_opensAbsolute = false;
    return slice;
  }
  // Takes the points of a slice decoded apart when they are what this decoder stores from the
  // same lines: the slice's first ordinate is absolute, so no value depends on the lines before
  // (only whether it is this table's Y check), its cap did not cut it short, and it holds no
  // more points than the table has left (this decoder would stop at the last). False leaves
  // this decoder as it was.
  bool Splice(const AsdfDecoder& slice) {
    if (slice.m_index == 0 || !slice.m_opensAbsolute || slice.m_index >= slice.m_n) return false;
    const std::int64_t check = m_prevLineEndedDif && m_index > 0 ? 1 : 0;
    const std::int64_t count = slice.m_index - check;
    if (m_index + count > m_n) return false;
    std::vector<float>& values = *m_values;
    values.resize(static_cast<std::size_t>(m_index));
    const auto from = slice.m_values->begin();
    values.insert(values.end(), from + check, from + slice.m_index);
    m_index += count;
    m_prevY = slice.m_prevY;
    m_lastWasDif = slice.m_lastWasDif;
    m_prevLineEndedDif = slice.m_prevLineEndedDif;
    return true;
  }

  // Points stored so far.
  std::int64_t Stored() const { return m_values ? m_index : static_cast<std::int64_t>(m_points->count()); }
  bool Done() const { return m_group == 0 ? m_index >= m_n : Stored() >= m_n; }

  // Decodes the line that starts at p until its end (CR, LF, '$' or the end of the bytes) or
  // until the table is complete; answers where it stopped, null on a value that cannot be
  // stored (not finite).
  const char* Line(const char* p, const char* end) {
    if (m_group != 0) return GroupedLine(p, end);
    if (m_values) return SequentialLine(p, end, [this](std::int64_t i, float v) { return StoreValue(i, v); });
    return SequentialLine(p, end, [this](std::int64_t i, float v) { return m_points->set(KeyOf(i), v); });
  }

 private:
  // The ordinate scaled to its float; false when that is not finite.
  bool Scaled(double y, float* value) const {
    *value = static_cast<float>(y * m_yFactor);
    return std::isfinite(*value);
  }

  bool StoreValue(std::int64_t i, float v) {
    std::vector<float>& values = *m_values;
    const auto at = static_cast<std::size_t>(i);
    if (at >= values.size())
      values.resize(std::min(std::max<std::size_t>(values.size() * 2, 4096), static_cast<std::size_t>(m_n)));
    values[at] = v;
    return true;
  }

  // A line of a (X++(Y..Y)) table: its abscissa, then ordinates stored by running index
  // through store(index, value). The table's state stays in locals for the line.
  template <class Store>
  const char* SequentialLine(const char* p, const char* end, Store store) {
    std::int64_t index = m_index;
    double prevY = m_prevY;
    bool lastWasDif = m_lastWasDif;
    bool expectX = true, lineFirst = true, ordinates = false;
    int sign = 1;
    while (p < end && index < m_n) {
      const Token token = kChars[static_cast<unsigned char>(*p)].token;
      if (token != Token::Number) {
        if (token == Token::LineEnd) break;
        if (token == Token::Minus) {
          sign = -sign, ++p;
        } else if (token == Token::PairEnd) {
          expectX = true, ++p;
        } else {
          sign = 1;  // separators and anything else
          p = SkipBlanks(p, end);
        }
        continue;
      }
      Number num;
      p = ParseNumber(p, end, !expectX, &num);
      const double value = num.value * sign;
      sign = 1;
      if (expectX) {
        expectX = false;  // the line's abscissa
        continue;
      }
      ordinates = true;
      const bool dif = num.kind == NumKind::Dif;
      lastWasDif = dif;
      std::int64_t repeat = std::min<std::int64_t>(num.dup, m_n);
      double y = prevY;
      if (lineFirst) {
        lineFirst = false;
        if (index == 0) m_opensAbsolute = !dif;
        if (m_prevLineEndedDif && index > 0) {
          // The Y check: it should equal the last point; either way it is no point of its own,
          // and the differences that follow start from it.
          y = dif ? y + value : value;
          --repeat;
        }
      }
      while (repeat-- > 0 && index < m_n) {
        y = dif ? y + value : value;
        float stored;
        if (!Scaled(y, &stored) || !store(index, stored)) {
          m_index = index;  // what was stored before stays
          return nullptr;
        }
        ++index;
      }
      prevY = y;
    }
    m_index = index;
    m_prevY = prevY;
    m_lastWasDif = lastWasDif;
    if (ordinates) m_prevLineEndedDif = lastWasDif;
    return p;
  }

  // A line of (XY..XY) groups: each group's first value is x, its second y.
  const char* GroupedLine(const char* p, const char* end) {
    m_groupPos = 0;
    int sign = 1;
    while (p < end && !Done()) {
      const Token token = kChars[static_cast<unsigned char>(*p)].token;
      if (token == Token::Number) {
        Number num;
        p = ParseNumber(p, end, m_groupPos != 0, &num);
        num.value *= sign;
        sign = 1;
        if (!Grouped(num)) return nullptr;
        continue;
      }
      if (token == Token::LineEnd) break;
      if (token == Token::Minus) {
        sign = -sign, ++p;
      } else if (token == Token::PairEnd) {
        m_groupPos = 0, ++p;
      } else {
        sign = 1;  // separators and anything else
        p = SkipBlanks(p, end);
      }
    }
    return p;
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
    float value;
    return Scaled(y, &value) && m_points->set(static_cast<float>(m_pairX), value);
  }

  PointMap* m_points = nullptr;
  std::vector<float>* m_values = nullptr;
  std::int32_t m_group;
  bool m_byIndex = false;
  std::int64_t m_n = 0;
  double m_xFactor = 1.0, m_yFactor = 1.0;
  double m_x0 = 0.0, m_step = 1.0;
  // Line state of a grouped table.
  int m_groupPos = 0;
  double m_pairX = 0.0;
  // Table state.
  bool m_lastWasDif = false, m_prevLineEndedDif = false;
  bool m_opensAbsolute = false;  // the table's first ordinate is no DIF value
  double m_prevY = 0.0;
  std::int64_t m_index = 0;
};

// Where decoding lines stopped: at limit, after the line that completed the table or held a
// value that cannot be stored (stored false), or at the start of a label line; and after the
// last line that stored a point (null if none did).
struct LinesEnd {
  const char* p;
  bool stored = true;
  bool atLabel = false;
  const char* afterPoints = nullptr;
};

// How far behind the line being decoded the file's bytes stay in memory.
constexpr std::int64_t kDecodedKept = std::int64_t(1) << 18;

// Decodes the lines from p (a line start) until limit (another, or the end of the bytes), the
// table is complete, a value cannot be stored or a label line starts. With file given, the
// bytes decoded are given back as it goes.
LinesEnd DecodeLines(AsdfDecoder& decoder, const char* p, const char* limit, const char* end, COrvFile* file) {
  const char* afterPoints = nullptr;
  while (p < limit && !decoder.Done()) {
    const char* q = p;
    while (q < end && (*q == ' ' || *q == '\t')) ++q;
    if (end - q >= 2 && q[0] == '#' && q[1] == '#') return {p, true, true, afterPoints};
    const std::int64_t before = decoder.Stored();
    const char* stop = decoder.Line(p, end);
    if (!stop) return {NextLine(p, end), false, false, afterPoints};
    p = NextLine(stop, end);
    if (decoder.Stored() != before) afterPoints = p;
    if (file) file->ReleaseBefore(p - file->Bytes().data() - kDecodedKept);
  }
  return {p, true, false, afterPoints};
}

// The start of the first label line in [p, limit) (p a line start), or limit. Data lines hold
// no '#', so the search is for that character alone.
const char* FirstLabelLine(const char* p, const char* limit, const char* end) {
  const char* const from = p;
  while (const void* found = std::memchr(p, '#', static_cast<std::size_t>(limit - p))) {
    const char* hash = static_cast<const char*>(found);
    const char* start = hash;
    while (start > from && (start[-1] == ' ' || start[-1] == '\t')) --start;
    if (end - hash >= 2 && hash[1] == '#' && (start == from || start[-1] == '\n' || start[-1] == '\r')) return start;
    p = hash + 1;
  }
  return limit;
}

// The start of the line after the first line feed at or after p, or end.
const char* AfterLineFeed(const char* p, const char* end) {
  if (p >= end) return end;
  const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
  return lf ? static_cast<const char*>(lf) + 1 : end;
}

// Tables are decoded in slices of about this many bytes, cut after a line feed, by a few
// threads while this one splices them in order; a few slices a thread at a time, so that the
// file's bytes are read and given back, and the slices' points held, a megabyte or so at a time.
constexpr std::size_t kSliceBytes = std::size_t(128) << 10;
constexpr std::size_t kSlicesPerThread = 2;
constexpr unsigned kMaxThreads = 4;

struct Slice {
  const char* begin = nullptr;
  const char* end = nullptr;
  bool ready = false;  // decoded, not yet spliced
  std::vector<float> values;
  std::optional<AsdfDecoder> decoder;  // the slice decoded apart; none where a value failed
  const char* afterPoints = nullptr;   // after its last line that stored a point
};

// Decodes a slice's lines apart (from no state). A slice holds at most twice as many points
// as bytes, so slices of values in long runs of DUP counts are left to the table's decoder, as
// are those it finds no memory for.
void DecodeSlice(const AsdfDecoder& table, Slice* slice, const char* end) {
  slice->decoder.reset();
  try {
    const auto bytes = static_cast<std::int64_t>(slice->end - slice->begin);
    AsdfDecoder decoder = table.Slice(&slice->values, 2 * bytes + 1);
    const LinesEnd stop = DecodeLines(decoder, slice->begin, slice->end, end, nullptr);
    if (stop.stored) slice->decoder = decoder;
    slice->afterPoints = stop.afterPoints;
  } catch (const std::bad_alloc&) {
    slice->decoder.reset();
  }
}

// The slices of a table's lines from p to the next label line: cut and decoded apart by the
// helper threads, at most a ring of them ahead of the one being spliced.
class SliceRing {
 public:
  SliceRing(const AsdfDecoder& table, const char* p, const char* end, std::size_t size)
      : m_table(table), m_cursor(p), m_end(end), m_slices(size) {}

  // A helper thread's work: the next slice cut and decoded, until the lines run out or Stop.
  void Work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
      m_free.wait(lock, [&] { return m_stop || m_cut - m_spliced < m_slices.size(); });
      if (m_stop || m_linesEnd) return;
      Slice& slice = m_slices[m_cut % m_slices.size()];
      slice.begin = m_cursor;
      slice.end = AfterLineFeed(m_cursor + std::min<std::size_t>(m_end - m_cursor, kSliceBytes), m_end);
      if (const char* label = FirstLabelLine(m_cursor, slice.end, m_end); label != slice.end) {
        slice.end = label;
        m_linesEnd = true;
      }
      m_linesEnd = m_linesEnd || slice.end == m_end;
      m_cursor = slice.end;
      if (slice.begin == slice.end) {  // a label line at the cursor, or no lines at all
        m_ready.notify_all();
        return;
      }
      ++m_cut;
      lock.unlock();
      DecodeSlice(m_table, &slice, m_end);
      lock.lock();
      slice.ready = true;
      m_ready.notify_all();
    }
  }

  // The next slice in order once it is decoded; null when the lines ran out before it.
  Slice* Next() {
    std::unique_lock lock(m_mutex);
    Slice& slice = m_slices[m_spliced % m_slices.size()];
    m_ready.wait(lock, [&] { return (m_spliced < m_cut && slice.ready) || (m_linesEnd && m_spliced == m_cut); });
    return m_spliced < m_cut ? &slice : nullptr;
  }
  // The slice from Next is spliced: its place is free for another.
  void Spliced() {
    std::lock_guard lock(m_mutex);
    m_slices[m_spliced % m_slices.size()].ready = false;
    ++m_spliced;
    m_free.notify_all();
  }
  // No more slices: the helpers return after the one they decode.
  void Stop() {
    std::lock_guard lock(m_mutex);
    m_stop = true;
    m_free.notify_all();
  }

 private:
  const AsdfDecoder m_table;  // a copy: the table's own decoder changes as slices are spliced
  const char* m_cursor;  // where the next slice starts
  const char* const m_end;
  std::vector<Slice> m_slices;
  std::mutex m_mutex;
  std::condition_variable m_ready, m_free;
  std::size_t m_cut = 0, m_spliced = 0;  // slices handed out, slices spliced
  bool m_linesEnd = false, m_stop = false;
};

// Decodes the lines from p that lie before the next label line in slices, decoded apart on
// helper threads and spliced here in order; a slice that cannot be spliced is decoded again by
// the table's own decoder, from its state. The same points and stopping place as DecodeLines
// over them. Without helper threads nothing is decoded.
LinesEnd DecodeInSlices(COrvFile& file, AsdfDecoder& decoder, const char* p, const char* end) {
  const std::size_t threads = std::min(kMaxThreads, std::thread::hardware_concurrency());
  if (threads < 2) return {p};
  SliceRing ring(decoder, p, end, threads * kSlicesPerThread);
  std::vector<std::jthread> helpers;
  try {
    for (std::size_t t = 0; t < threads; ++t) helpers.emplace_back([&ring] { ring.Work(); });
  } catch (const std::system_error&) {
    // Fewer threads: the others take the rest.
  }
  // Stopped however this returns, before the helpers are joined.
  const struct StopAtEnd {
    SliceRing& ring;
    ~StopAtEnd() { ring.Stop(); }
  } stopAtEnd{ring};
  if (helpers.empty()) return {p};
  while (Slice* slice = ring.Next()) {
    if (slice->decoder && decoder.Splice(*slice->decoder)) {
      if (decoder.Done()) return {slice->afterPoints};  // where this decoder would have stopped
    } else {
      const LinesEnd stop = DecodeLines(decoder, slice->begin, slice->end, end, nullptr);
      if (!stop.stored || decoder.Done()) return stop;
    }
    p = slice->end;
    ring.Spliced();
    file.ReleaseBefore(p - file.Bytes().data() - kDecodedKept);
  }
  return {p};
}

// Decodes the table's lines from the file's read position until the table is complete, a
// label line starts (a short table ends there) or the file ends, and leaves the position
// after the last line read or at the start of that label line. True when the decoder holds
// the table's count of points; a count one larger than the values, in a table that ends cleanly
// at the next label, is an exporter's miscount (it counted the last Y check, or both ends of the
// range): the values that are there are the table.
bool DecodeTable(COrvFile& file, AsdfDecoder& decoder, std::int64_t n) {
  const std::string_view bytes = file.Bytes();
  const char* const base = bytes.data();
  const char* const end = base + bytes.size();
  LinesEnd stop{base + file.GetPosition()};
  if (decoder.Sliceable()) stop = DecodeInSlices(file, decoder, stop.p, end);
  if (stop.stored) stop = DecodeLines(decoder, stop.p, end, end, &file);
  file.SetPosition(stop.p - base);
  const std::int64_t count = decoder.Stored();
  return stop.stored && (count == n || (stop.atLabel && n > 2 && count == n - 1));
}

// The decoder of a table that ReadXYData and ReadOrdinates accept, with room reserved for its
// points; null when the variable or its count is out of range.
std::optional<AsdfDecoder> TableDecoder(const COrvFile& file, const JcampVariableList& vars, std::int32_t var,
                                        std::size_t* room) {
  if (var < 0 || static_cast<std::size_t>(var) >= vars.vars.size()) return std::nullopt;
  const std::int64_t n = vars.vars[static_cast<std::size_t>(var)].m_nDim;
  if (n <= 0 || n > CJcampDx::kMaxPoints) return std::nullopt;  // a table of no points holds no spectrum
  // A file can describe more points than it holds: the room follows its bytes.
  const auto left = static_cast<std::size_t>(file.m_nSize - file.GetPosition());
  *room = static_cast<std::size_t>(std::min<std::int64_t>(n, static_cast<std::int64_t>(left)));
  return AsdfDecoder(vars, var);
}

}  // namespace

bool CJcampDx::ReadXYData(COrvFile& file, PointMap* points, const JcampVariableList& vars, std::int32_t var) {
  std::size_t room = 0;
  std::optional<AsdfDecoder> decoder = TableDecoder(file, vars, var, &room);
  if (!decoder) return false;
  const std::int64_t n = vars.vars[static_cast<std::size_t>(var)].m_nDim;
  if (!decoder->ByIndex()) {
    points->reserve(room);
    decoder->Into(points);
    return DecodeTable(file, *decoder, n);
  }
  std::vector<float> values;
  decoder->Into(&values, room);
  const bool ok = DecodeTable(file, *decoder, n);
  decoder->Finish();
  points->reserve(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) points->set(decoder->KeyOf(static_cast<std::int64_t>(i)), values[i]);
  return ok;
}

bool CJcampDx::ReadOrdinates(COrvFile& file, std::vector<float>* ordinates, const JcampVariableList& vars,
                             std::int32_t var) {
  ordinates->clear();
  std::size_t room = 0;
  std::optional<AsdfDecoder> decoder = TableDecoder(file, vars, var, &room);
  if (!decoder) return false;
  const std::int64_t n = vars.vars[static_cast<std::size_t>(var)].m_nDim;
  if (!decoder->ByIndex()) {
    PointMap points;
    points.reserve(room);
    decoder->Into(&points);
    const bool ok = DecodeTable(file, *decoder, n);
    ordinates->resize(points.count());
    for (std::size_t i = 0; i < points.count(); ++i) (*ordinates)[i] = points.at(i).y;
    return ok;
  }
  decoder->Into(ordinates, room);
  const bool ok = DecodeTable(file, *decoder, n);
  decoder->Finish();
  if (decoder->Descending()) std::reverse(ordinates->begin(), ordinates->end());
  return ok;
}

double CJcampDx::LastXOf(const JcampVariableList& vars, std::int32_t var, std::int32_t n) {
  const JcampVariable& x = vars.vars[0];
  const std::int32_t declared = vars.vars[static_cast<std::size_t>(var)].m_nDim;
  if (n == declared || declared < 2) return x.m_dLast;
  return x.m_dFirst + (x.m_dLast - x.m_dFirst) * (n - 1) / (declared - 1);
}
