#pragma once
// SpcFailure: why a read failed, said where it was found out. Converters keep their BOOL results;
// the check that fails fills one of these beside the result, and the loader hands it on, so a
// tool or the user interface can say which check failed and where in the file.
#include <cstdint>
#include <string>
#include <string_view>

namespace plat {
class ByteCursor;
}

struct SpcFailure {
  std::string check;         // what did not hold: "point count 300000000 is beyond 134217728"
  std::int64_t offset = -1;  // byte offset the check looked at, -1 for none
  std::int64_t line = -1;    // line number (from 1) of a text file, -1 for none
  std::string file;          // the file of a folder or set it concerns; empty for the path read

  bool empty() const { return check.empty(); }
  // One line: the check, then where (", at offset 512", ", at line 7 of acqus", ", in fid").
  std::string Describe() const;

  static SpcFailure At(std::string check, std::int64_t offset = -1, std::string file = {});
  static SpcFailure AtLine(std::string check, std::int64_t line, std::string file = {});
  // A field the cursor could not read: "<what> cut short: bytes up to offset 544 wanted, the file
  // ends at 530", at the offset where the failed read began.
  static SpcFailure CutShort(std::string_view what, const plat::ByteCursor& cursor, std::string file = {});
};
