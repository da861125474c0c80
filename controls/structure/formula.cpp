#include "controls/structure/formula.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/base/numtext.h"
#include "platform/base/text.h"

namespace karvel {

namespace {

struct Element {
  std::string_view symbol;
  double weight;
  std::uint32_t valence;
};

// In formula order. Phosphorus's valence 5 is its upper one (see ValenceOf).
constexpr std::array<Element, 17> kElements = {{
    {"C", 12.011, 4},
    {"H", 1.00794, 1},
    {"As", 74.9216, 3},
    {"B", 10.81, 3},
    {"Br", 79.904, 1},
    {"Cl", 35.453, 1},
    {"F", 18.998403, 1},
    {"I", 126.9045, 1},
    {"K", 39.0983, 1},
    {"Li", 6.941, 1},
    {"N", 14.0067, 3},
    {"Na", 22.98977, 1},
    {"O", 15.999, 2},
    {"P", 30.97376, 5},
    {"S", 32.06, 2},
    {"Se", 78.96, 2},
    {"Si", 28.085, 4},
}};
constexpr std::size_t kHydrogen = 1;

std::size_t FindElement(std::string_view symbol) {
  for (std::size_t i = 0; i < kElements.size(); ++i)
    if (plat::equalsNoCase(kElements[i].symbol, symbol)) return i;
  return kElements.size();
}

std::uint64_t ValenceOf(const Element& e, std::uint64_t bondSum) {
  if (e.symbol == "P") return bondSum <= 3 ? 3 : 5;
  return e.valence;
}

}  // namespace

FormulaWeight CalcFormulaWeight(const Molecule& molecule) {
  // Bond orders around each atom in half units, so an aromatic bond is 3 halves.
  std::vector<std::uint64_t> halfOrders(molecule.atoms.size(), 0);
  for (const BondWord w : molecule.bonds) {
    const std::uint32_t type = BondType(w);
    const std::uint64_t halves = type == 4 ? 3 : 2 * std::uint64_t(type);
    // A bond counts once for each atom it names (once for a bond from an atom to itself).
    const std::uint32_t first = BondFirstAtom(w), second = BondSecondAtom(w);
    if (first >= 1 && first <= halfOrders.size()) halfOrders[first - 1] += halves;
    if (second != first && second >= 1 && second <= halfOrders.size()) halfOrders[second - 1] += halves;
  }

  FormulaWeight result;
  std::array<std::uint64_t, kElements.size()> counts{};
  std::uint64_t implicitH = 0;
  for (std::size_t i = 0; i < molecule.atoms.size(); ++i) {
    const std::size_t row = FindElement(molecule.atoms[i].symbol);
    if (row == kElements.size()) {
      ++result.unknownAtoms;
      continue;
    }
    ++counts[row];
    const std::uint64_t sum = halfOrders[i] / 2;
    const std::uint64_t valence = ValenceOf(kElements[row], sum);
    if (sum < valence) implicitH += valence - sum;
  }
  counts[kHydrogen] += implicitH;

  double weight = 0;
  for (std::size_t row = 0; row < kElements.size(); ++row) {
    if (counts[row] == 0) continue;
    result.formula += kElements[row].symbol;
    if (counts[row] > 1) result.formula += plat::formatUInt(counts[row]);
    weight += static_cast<double>(counts[row]) * kElements[row].weight;
  }
  result.weight = plat::formatDouble(weight, 'f', 2);
  return result;
}

}  // namespace karvel
