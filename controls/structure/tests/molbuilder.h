#pragma once
// The one builder of molfiles and SD records for the structure tests: atoms with charges and
// isotopes, bonds, data fields, written as fixed-column V2000 text (or free-form), with LF or
// CR LF line ends.
#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace karvel::test {

struct MolOptions {
  bool freeForm = false;
  const char* lineEnd = "\n";
};

class MolBuilder {
 public:
  using Options = MolOptions;

  // Returns the new atom's number (from 1).
  int Atom(const std::string& symbol, double x = 0, double y = 0, double z = 0) {
    atoms_.push_back({symbol, x, y, z, 0, 0});
    return static_cast<int>(atoms_.size());
  }
  void Charge(int atom, int charge) { atoms_[atom - 1].charge = charge; }
  void Isotope(int atom, int mass) { atoms_[atom - 1].mass = mass; }
  void Bond(int a, int b, int type) { bonds_.push_back({a, b, type}); }
  void Field(const std::string& name, const std::string& value) { fields_.emplace_back(name, value); }

  // Atoms of the given symbols in a ring (alternating single and double bonds when kekule,
  // else aromatic bonds, type 4); returns their numbers.
  std::vector<int> Ring(const std::vector<std::string>& symbols, bool kekule) {
    const int n = static_cast<int>(symbols.size());
    std::vector<int> ring;
    for (int i = 0; i < n; ++i) ring.push_back(Atom(symbols[i], i, i % 2));
    for (int i = 0; i < n; ++i) Bond(ring[i], ring[(i + 1) % n], kekule ? 1 + i % 2 : 4);
    return ring;
  }
  std::vector<int> Ring(int n, bool kekule) { return Ring(std::vector<std::string>(n, "C"), kekule); }
  // n carbons in a chain of single bonds.
  std::vector<int> Chain(int n) {
    std::vector<int> chain;
    for (int i = 0; i < n; ++i) {
      chain.push_back(Atom("C", i, 0));
      if (i > 0) Bond(chain[i - 1], chain[i], 1);
    }
    return chain;
  }

  // The molfile: header, counts, atoms, bonds, charge and isotope lines, "M  END".
  std::string Molfile(const Options& o = {}) const {
    std::string out;
    auto line = [&](const std::string& text) { out += text + o.lineEnd; };
    line("test molecule");
    line("  KEDRUS  test");
    line("");
    if (o.freeForm) {
      line(std::to_string(atoms_.size()) + " " + std::to_string(bonds_.size()));
      for (const AtomRow& a : atoms_) line(Format("%g %g %g %s", a.x, a.y, a.z, a.symbol.c_str()));
      for (const BondRow& b : bonds_) line(Format("%d %d %d", b.a, b.b, b.type));
    } else {
      line(Format("%3zu%3zu  0  0  0  0  0  0  0  0999 V2000", atoms_.size(), bonds_.size()));
      for (const AtomRow& a : atoms_)
        line(Format("%10.4f%10.4f%10.4f %-3s 0  0  0  0  0  0  0  0  0  0  0  0", a.x, a.y, a.z, a.symbol.c_str()));
      for (const BondRow& b : bonds_) line(Format("%3d%3d%3d  0  0  0  0", b.a, b.b, b.type));
    }
    PropertyLines("CHG", &AtomRow::charge, line);
    PropertyLines("ISO", &AtomRow::mass, line);
    line("M  END");
    return out;
  }

  // One SD record: the molfile, the data fields, "$$$$".
  std::string SdRecord(const Options& o = {}) const {
    std::string out = Molfile(o);
    for (const auto& [name, value] : fields_) out += ">  <" + name + ">" + o.lineEnd + value + o.lineEnd + o.lineEnd;
    return out + "$$$$" + o.lineEnd;
  }

  std::size_t AtomCount() const { return atoms_.size(); }

 private:
  struct AtomRow {
    std::string symbol;
    double x, y, z;
    int charge, mass;
  };
  struct BondRow {
    int a, b, type;
  };

  template <class... Args>
  static std::string Format(const char* format, Args... args) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
  }

  // "M  CHG" or "M  ISO" lines, at most eight atoms each.
  template <class Line>
  void PropertyLines(const char* tag, int AtomRow::*value, Line& line) const {
    std::vector<std::pair<int, int>> entries;
    for (std::size_t i = 0; i < atoms_.size(); ++i)
      if (atoms_[i].*value != 0) entries.emplace_back(static_cast<int>(i + 1), atoms_[i].*value);
    for (std::size_t first = 0; first < entries.size(); first += 8) {
      const std::size_t n = std::min<std::size_t>(8, entries.size() - first);
      std::string text = Format("M  %s%3zu", tag, n);
      for (std::size_t k = first; k < first + n; ++k) text += Format(" %3d %3d", entries[k].first, entries[k].second);
      line(text);
    }
  }

  std::vector<AtomRow> atoms_;
  std::vector<BondRow> bonds_;
  std::vector<std::pair<std::string, std::string>> fields_;
};

}  // namespace karvel::test
