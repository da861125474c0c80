#pragma once
// What the table tests share: a spectrum with a kind name and parameters, a scratch folder, and
// whole cell texts read back through GetCellText.
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "controls/table/tablemodel.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"

namespace karvel::test {

class FakeSpectrum : public ITableSpectrum {
 public:
  explicit FakeSpectrum(plat::String16 kind = u"NMR") : kind_(std::move(kind)) {}
  bool GetCurMethod(plat::String16* kindName) override {
    if (kind_.empty()) return false;
    *kindName = kind_;
    return true;
  }
  bool GetParam(const plat::String16& name, plat::String16* value) override {
    const auto found = params.find(name);
    if (found == params.end()) return false;
    *value = found->second;
    return true;
  }
  std::map<plat::String16, plat::String16> params = {{u"SF", u"400.13"}, {u"TITLE", u"ethyl acetate"}};

 private:
  plat::String16 kind_;
};

inline std::string ScratchDir(const std::string& name) {
  const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string dir = plat::joinPath(scratch && *scratch ? scratch : "/tmp", name);
  plat::makeDirectories(dir);
  return dir;
}

// The cell's whole source text, or "<none>" without a cell.
inline std::string CellText(const CTableModel& model, std::uint32_t column, std::uint32_t row) {
  const TableCell* cell = model.FindCell(column, row);
  if (!cell) return "<none>";
  std::u16string buffer(plat::toUtf16(cell->text).size() + 1, u'?');
  if (!model.GetCellText(column, row, buffer.data(), static_cast<int>(buffer.size()))) return "<failed>";
  return plat::toUtf8(buffer.c_str());
}

// Positions of the cells in array order.
inline std::vector<std::pair<int, int>> Positions(const CTableModel& model) {
  std::vector<std::pair<int, int>> out;
  for (const TableCell& cell : model.cells()) out.emplace_back(cell.column, cell.row);
  return out;
}

}  // namespace karvel::test
