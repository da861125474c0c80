#include "controls/structure/molecule.h"

namespace karvel {

bool BondFits(std::uint64_t first, std::uint64_t second, std::uint64_t type, std::size_t atomCount) {
  return first >= 1 && first <= atomCount && first <= kMaxFirstAtom && second >= 1 && second <= atomCount &&
         second <= kMaxSecondAtom && type <= kMaxBondType;
}

bool BondWordFits(BondWord w, std::size_t atomCount) {
  return BondFits(BondFirstAtom(w), BondSecondAtom(w), BondType(w), atomCount);
}

}  // namespace karvel
