#pragma once
// The MDL molfile and SD-file reader: the first molecule's atoms and bonds, and the data-field
// values of every record.
//
// The first line on which two unsigned integers read is the counts line (atom count A, bond
// count B). When its first two 3-character fields are right-aligned integers it is a fixed-column
// counts line, which also holds counts of 100 and more ("123123"), and the block lines are read
// by their columns where they fit (atoms of 34+ characters: x 1-10, y 11-20, z 21-30, symbol
// 32-34; bonds: 1-3, 4-6, 7-9); every other line is read free-form (x y z symbol; first second
// type). The next A lines are the atom block and the B after them the bond block: a line that
// does not read, or is missing, still counts. Then the property lines ("M ...") up to "M  END",
// and from there on every line holding ">  <" makes the line after it a field value.
//
// A counts line that names "V3000" opens the extended form: its first connection table is read
// from the "M  V30" lines ("-" at a line's end continues it): the atoms of "BEGIN ATOM" ..
// "END ATOM" as "index symbol x y z ...", the bonds of "BEGIN BOND" as "index type first
// second ...", the bonds' atoms by their indexes. Then the property lines and fields as above.
//
// Lines are read whole (up to kMaxMolfileLineBytes), CR LF and LF alike; coordinates must be
// finite, symbols keep at most 3
// bytes, and a bond whose atom numbers lie outside 1..(atoms read) or do not fit the bond word
// is dropped. Charge and isotope lines change nothing.
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "controls/structure/molecule.h"

namespace karvel {

// The longest line a molfile or SD file may hold (a data field's value is one line): a file
// with a longer one is refused whole, before the line is read into memory.
inline constexpr std::size_t kMaxMolfileLineBytes = std::size_t(1) << 20;

struct MolfileContent {
  Molecule molecule;
  std::vector<std::string> fields;
  // False when no line of the input is a counts line (then everything else is empty).
  bool hasCountsLine = false;
  // The number (from 1) of a line longer than kMaxMolfileLineBytes; 0 when there is none. The
  // content is then empty.
  std::uint64_t tooLongLine = 0;
};

MolfileContent ReadMolfile(std::istream& in);

}  // namespace karvel
