#pragma once
// The molecule the structure control shows: atoms in file order and bonds packed into 32-bit
// words. Atom number n (1-based, as in the bond words) is atoms[n - 1].
#include <cstdint>
#include <string>
#include <vector>

namespace karvel {

struct StructAtom {
  // As read, at most 3 bytes.
  std::string symbol;
  float x = 0.0f;
  // Stored negated, so that it grows downwards like screen coordinates.
  float y = 0.0f;
  float z = 0.0f;
  bool operator==(const StructAtom&) const = default;
};

// One bond: first atom number << 18, second atom number << 4, type in the low 4 bits.
using BondWord = std::uint32_t;

constexpr std::uint32_t kMaxSymbolBytes = 3;
constexpr std::uint64_t kMaxFirstAtom = 16383;
constexpr std::uint64_t kMaxSecondAtom = 4095;
constexpr std::uint64_t kMaxBondType = 15;

constexpr BondWord PackBond(std::uint32_t first, std::uint32_t second, std::uint32_t type) {
  return (first << 18) | (second << 4) | type;
}
constexpr std::uint32_t BondFirstAtom(BondWord w) { return w >> 18; }
constexpr std::uint32_t BondSecondAtom(BondWord w) { return (w >> 4) & 0xFFF; }
constexpr std::uint32_t BondType(BondWord w) { return w & 0xF; }

// True when both atom numbers lie in 1..atomCount and the numbers and the type fit the word
// (bonds that do not are dropped wherever bonds are loaded).
bool BondFits(std::uint64_t first, std::uint64_t second, std::uint64_t type, std::size_t atomCount);
// The same test on the fields of a stored word.
bool BondWordFits(BondWord w, std::size_t atomCount);

struct Molecule {
  std::vector<StructAtom> atoms;
  std::vector<BondWord> bonds;
  bool operator==(const Molecule&) const = default;
};

}  // namespace karvel
