#pragma once
// SD files for tests: the one builder of SD records.
#include <string>
#include <vector>

namespace sdtest {

// One SD record built from its lines: a one-atom molfile block, the given data lines, "$$$$".
struct SdRecord {
  std::vector<std::string> data;
  std::string eol = "\n";

  std::string Body() const {  // what a copy of the record holds: everything before "$$$$"
    std::vector<std::string> lines = {"molecule", "  test", "",
                                      "  1  0  0  0  0  0  0  0  0  0999 V2000",
                                      "    0.0000    0.0000    0.0000 C   0  0  0  0  0  0", "M  END"};
    lines.insert(lines.end(), data.begin(), data.end());
    std::string text;
    for (const std::string& l : lines) text += l + eol;
    return text;
  }
  std::string Text() const { return Body() + "$$$$" + eol; }
};
inline SdRecord WithId(const std::string& id, std::vector<std::string> more = {}) {
  SdRecord r{{"> <IDNUMBER>", id, ""}};
  r.data.insert(r.data.end(), more.begin(), more.end());
  return r;
}

}  // namespace sdtest
