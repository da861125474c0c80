#pragma once
// The molecular formula and weight of a molecule, from its atoms and the bond orders around
// them: each atom of a known element counts once, and an atom whose bond orders sum to less than
// its element's valence carries the difference as implicit hydrogens.
//
// An aromatic bond (type 4) counts 1.5 and an atom's sum is rounded down, so aromatic rings get
// their hydrogens (benzene C6H6). Phosphorus takes valence 3 or 5, the smaller one not below its
// bond sum. Symbols compare without regard to case; unknown ones are left out and counted.
#include <cstddef>
#include <string>

#include "controls/structure/molecule.h"

namespace karvel {

// The message shown once for each unknown atom, each time the texts are computed.
inline constexpr char kAtomNotFoundMessage[] = "Atom is not found!";

struct FormulaWeight {
  // C and H first, then the other elements alphabetically; a count is written when above 1.
  std::string formula;
  // The weight, "%.2f".
  std::string weight;
  // Atoms whose symbol names no element of the table (each raises kAtomNotFoundMessage).
  std::size_t unknownAtoms = 0;
};

FormulaWeight CalcFormulaWeight(const Molecule& molecule);

}  // namespace karvel
