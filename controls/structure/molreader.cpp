#include "controls/structure/molreader.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

#include "controls/common/gdirecords.h"
#include "platform/base/numtext.h"

namespace karvel {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whole lines, without their LF and a CR before it. A line longer than the bound ends the input
// there: it is never read into memory, and tooLong() tells which it was.
class LineReader {
 public:
  explicit LineReader(std::istream& in) : in_(in) {}
  bool Next(std::string* line) {
    line->clear();
    if (tooLong_) return false;
    ++number_;
    for (int c; (c = in_.get()) != std::char_traits<char>::eof();) {
      if (c == '\n') return Trimmed(line);
      if (line->size() == kMaxMolfileLineBytes) {
        tooLong_ = number_;
        line->clear();
        return false;
      }
      line->push_back(static_cast<char>(c));
    }
    return !line->empty() && Trimmed(line);
  }
  std::uint64_t tooLong() const { return tooLong_; }

 private:
  static bool Trimmed(std::string* line) {
    if (!line->empty() && line->back() == '\r') line->pop_back();
    return true;
  }

  std::istream& in_;
  std::uint64_t number_ = 0;
  std::uint64_t tooLong_ = 0;
};

// An unsigned integer as "%u" reads it: white space, an optional "+", at least one digit. A
// minus sign is no unsigned number; values beyond 64 bits saturate (no count or atom number
// that large is used).
bool ScanUnsigned(std::string_view* s, std::uint64_t* value) {
  std::size_t i = 0;
  while (i < s->size() && IsBlank((*s)[i])) ++i;
  if (i < s->size() && (*s)[i] == '+') ++i;
  if (i >= s->size() || !IsDigit((*s)[i])) return false;
  std::uint64_t v = 0;
  for (; i < s->size() && IsDigit((*s)[i]); ++i) {
    const unsigned d = static_cast<unsigned>((*s)[i] - '0');
    v = v > (std::numeric_limits<std::uint64_t>::max() - d) / 10 ? std::numeric_limits<std::uint64_t>::max()
                                                                 : v * 10 + d;
  }
  *value = v;
  s->remove_prefix(i);
  return true;
}

bool FiniteFloat(double v, float* out) {
  const float f = static_cast<float>(v);
  if (!std::isfinite(v) || !std::isfinite(f)) return false;
  *out = f;
  return true;
}

// A number as "%f" reads it; only finite values that fit a float count.
bool ScanFloat(std::string_view* s, float* value) {
  double v = 0;
  const std::size_t used = plat::parseDoublePrefix(*s, &v);
  if (used == 0 || !FiniteFloat(v, value)) return false;
  s->remove_prefix(used);
  return true;
}

// A 3-character field of blanks followed by digits only, such as "  5" or "123".
bool RightAlignedField(std::string_view line, std::size_t start, std::uint64_t* value) {
  if (line.size() < start + 3) return false;
  const std::string_view field = line.substr(start, 3);
  std::size_t i = 0;
  while (i < 3 && field[i] == ' ') ++i;
  if (i == 3) return false;
  for (std::size_t j = i; j < 3; ++j)
    if (!IsDigit(field[j])) return false;
  std::string_view digits = field.substr(i);
  return ScanUnsigned(&digits, value);
}

std::string_view TrimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

bool ReadCounts(std::string_view line, std::uint64_t* atoms, std::uint64_t* bonds, bool* columns) {
  if (RightAlignedField(line, 0, atoms) && RightAlignedField(line, 3, bonds)) {
    *columns = true;
    return true;
  }
  *columns = false;
  return ScanUnsigned(&line, atoms) && ScanUnsigned(&line, bonds);
}

bool ReadAtomColumns(std::string_view line, StructAtom* atom) {
  if (line.size() < 34) return false;
  double x = 0, y = 0, z = 0;
  if (!plat::parseDouble(line.substr(0, 10), &x) || !plat::parseDouble(line.substr(10, 10), &y) ||
      !plat::parseDouble(line.substr(20, 10), &z))
    return false;
  const std::string_view symbol = TrimSpaces(line.substr(31, 3));
  if (symbol.empty() || !FiniteFloat(x, &atom->x) || !FiniteFloat(-y, &atom->y) || !FiniteFloat(z, &atom->z))
    return false;
  atom->symbol = std::string(symbol);
  return true;
}

// x y z, at least one blank, then the symbol up to the next blank.
bool ReadAtomFree(std::string_view line, StructAtom* atom) {
  float x = 0, y = 0, z = 0;
  if (!ScanFloat(&line, &x) || !ScanFloat(&line, &y) || !ScanFloat(&line, &z)) return false;
  if (line.empty() || (line.front() != ' ' && line.front() != '\t')) return false;
  while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
  std::size_t end = 0;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  if (end == 0) return false;
  atom->x = x;
  atom->y = -y;
  atom->z = z;
  atom->symbol = std::string(CutUtf8(line.substr(0, end), kMaxSymbolBytes));
  return true;
}

bool ReadBond(std::string_view line, bool columns, std::uint64_t v[3]) {
  if (columns && RightAlignedField(line, 0, &v[0]) && RightAlignedField(line, 3, &v[1]) &&
      RightAlignedField(line, 6, &v[2]))
    return true;
  return ScanUnsigned(&line, &v[0]) && ScanUnsigned(&line, &v[1]) && ScanUnsigned(&line, &v[2]);
}

bool Contains(std::string_view line, std::string_view what) { return line.find(what) != std::string_view::npos; }

// ---- The extended (V3000) connection table ----

constexpr std::string_view kV30 = "M  V30 ";

// The next "M  V30" line with its continuations ("-" at a line's end joins the next line's
// text); false at any other line ("M  END"), which is left in *other, or at the end of input.
bool NextV30(LineReader& reader, std::string* joined, std::string* other, bool* haveOther) {
  std::string line;
  joined->clear();
  for (;;) {
    *haveOther = reader.Next(&line);
    if (!*haveOther) return false;
    if (line.rfind(kV30, 0) != 0) {
      *other = std::move(line);
      return false;
    }
    std::string_view text = std::string_view(line).substr(kV30.size());
    const bool continued = !text.empty() && text.back() == '-';
    if (continued) text.remove_suffix(1);
    joined->append(text);
    if (!continued) return true;
  }
}

// The blank-separated words of a line.
std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

bool WordNumber(std::string_view word, std::uint64_t* value) {
  return ScanUnsigned(&word, value) && word.empty();
}

bool WordFloat(std::string_view word, float* value) { return ScanFloat(&word, value) && word.empty(); }

// The first connection table of a V3000 molfile: atoms "index type x y z ...", bonds
// "index type first second ..." by the atoms' indexes. A line that does not read is skipped, as
// in the fixed form; a bond naming an index no atom has is dropped. Reads up to the first line
// that is no "M  V30" line, which it leaves in *next.
void ReadV3000(LineReader& reader, Molecule* mol, std::string* next, bool* haveNext) {
  enum class Block { None, Atoms, Bonds };
  Block block = Block::None;
  std::vector<std::pair<std::uint64_t, std::uint32_t>> numbers;  // atom index -> number (1-based)
  auto numberOf = [&](std::uint64_t index) -> std::uint64_t {
    for (const auto& [i, n] : numbers)
      if (i == index) return n;
    return 0;
  };
  std::string line;
  bool done = false;  // the first table read: the rest (other tables, groups) is passed over
  while (NextV30(reader, &line, next, haveNext)) {
    const std::vector<std::string_view> w = Words(line);
    if (w.empty()) continue;
    if (w.size() >= 2 && (w[0] == "BEGIN" || w[0] == "END")) {
      const bool begin = w[0] == "BEGIN";
      if (w[1] == "CTAB" && !begin) done = true;
      if (!done) block = !begin ? Block::None : w[1] == "ATOM" ? Block::Atoms : w[1] == "BOND" ? Block::Bonds : Block::None;
      if (done) block = Block::None;
      continue;
    }
    if (block == Block::Atoms && w.size() >= 5) {
      std::uint64_t index = 0;
      StructAtom atom;
      float y = 0.0f;
      if (!WordNumber(w[0], &index) || !WordFloat(w[2], &atom.x) || !WordFloat(w[3], &y) || !WordFloat(w[4], &atom.z) ||
          numberOf(index) != 0)
        continue;
      atom.y = -y;
      atom.symbol = std::string(CutUtf8(w[1], kMaxSymbolBytes));
      mol->atoms.push_back(std::move(atom));
      numbers.emplace_back(index, static_cast<std::uint32_t>(mol->atoms.size()));
    } else if (block == Block::Bonds && w.size() >= 4) {
      std::uint64_t type = 0, first = 0, second = 0;
      if (!WordNumber(w[1], &type) || !WordNumber(w[2], &first) || !WordNumber(w[3], &second)) continue;
      first = numberOf(first);
      second = numberOf(second);
      if (BondFits(first, second, type, mol->atoms.size()))
        mol->bonds.push_back(PackBond(static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(second),
                                      static_cast<std::uint32_t>(type)));
    }
  }
}

// Passes the property lines up to "M  END", then takes the data fields: from the line that
// ended the property block on, every line holding ">  <" makes the line after it a value. The
// first line comes from the caller when it has read it already.
// What is kept of a file with a line beyond the bound: nothing, and which line it was.
MolfileContent Refused(const LineReader& reader) {
  MolfileContent none;
  none.tooLongLine = reader.tooLong();
  return none;
}

MolfileContent ReadFields(LineReader& reader, MolfileContent content, std::string line, bool have) {
  if (!have) have = reader.Next(&line);
  while (have && !line.empty() && line.front() == 'M' && !Contains(line, "END")) have = reader.Next(&line);
  std::string value;
  while (have) {
    if (Contains(line, ">  <")) {
      if (!reader.Next(&value)) break;
      value.resize(std::min(value.find('\r'), value.size()));
      content.fields.push_back(std::move(value));
    }
    have = reader.Next(&line);
  }
  if (reader.tooLong()) return Refused(reader);
  return content;
}

}  // namespace

MolfileContent ReadMolfile(std::istream& in) {
  MolfileContent content;
  LineReader reader(in);
  std::string line;
  std::uint64_t atomCount = 0, bondCount = 0;
  bool columns = false;
  while (!content.hasCountsLine && reader.Next(&line))
    content.hasCountsLine = ReadCounts(line, &atomCount, &bondCount, &columns);
  if (reader.tooLong()) return Refused(reader);
  if (!content.hasCountsLine) return content;

  Molecule& mol = content.molecule;
  if (Contains(line, "V3000")) {
    // The extended form: its counts line holds zeros, the table follows in "M  V30" lines.
    std::string next;
    bool haveNext = false;
    ReadV3000(reader, &mol, &next, &haveNext);
    return ReadFields(reader, std::move(content), std::move(next), haveNext);
  }
  for (std::uint64_t i = 0; i < atomCount && reader.Next(&line); ++i) {
    StructAtom atom;
    if ((columns && ReadAtomColumns(line, &atom)) || ReadAtomFree(line, &atom)) mol.atoms.push_back(std::move(atom));
  }
  for (std::uint64_t i = 0; i < bondCount && reader.Next(&line); ++i) {
    std::uint64_t v[3] = {};
    if (ReadBond(line, columns, v) && BondFits(v[0], v[1], v[2], mol.atoms.size()))
      mol.bonds.push_back(PackBond(static_cast<std::uint32_t>(v[0]), static_cast<std::uint32_t>(v[1]),
                                   static_cast<std::uint32_t>(v[2])));
  }

  // Property lines up to "M  END"; charge ("CHG") and isotope lines change nothing.
  return ReadFields(reader, std::move(content), {}, false);
}

}  // namespace karvel
