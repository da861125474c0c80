// The table's profile form: "Columns" and "Rows", and per cell a subsection "Cell_<i>_<j>" with
// "CellText", "CellColor" and the cell's font values.
#include <memory>

#include "controls/common/fontprofile.h"
#include "controls/table/tablemodel.h"
#include "foundation/profdesc.h"
#include "platform/base/numtext.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "profile/profile.h"

namespace karvel {

namespace {

// A copy of the table's descriptor on the cell's subsection.
std::unique_ptr<COrvProfDesc> CellSection(const COrvProfDesc& table, std::uint32_t column, std::uint32_t row) {
  auto desc = std::make_unique<COrvProfDesc>(table);
  const plat::String16 name = u"Cell_" + plat::formatInt16(column) + u"_" + plat::formatInt16(row);
  desc->AddSubSection(name.c_str());
  return desc;
}

}  // namespace

std::unique_ptr<COrvProfDesc> CTableModel::ProfileSection(int kind, const char16_t* path, std::uint32_t index) const {
  plat::String16 kindName;
  if (!m_spectrum || !m_spectrum->GetCurMethod(&kindName)) return nullptr;
  if (kind == 0) return std::make_unique<COrvProfDesc>(nullptr, kindName.c_str());
  const plat::String8 dir = plat::toUtf8(path ? std::u16string_view(path) : std::u16string_view());
  const plat::String16 file = plat::toUtf16(plat::joinPath(dir, "table"));
  const plat::String16 section = u"\\" + kindName + u"_" + plat::formatInt16(index);
  auto desc = std::make_unique<COrvProfDesc>(file.c_str(), section.c_str());
  desc->SetIni(true);
  return desc;
}

void CTableModel::LoadTable(int kind, const char16_t* path, std::uint32_t index) {
  const std::unique_ptr<COrvProfDesc> desc = ProfileSection(kind, path, index);
  if (!desc) return;
  desc->Open(PROF_MODE_OPEN);
  std::uint32_t columns = 0, rows = 0;
  OrvGetProfDWord(u"Columns", &columns, 0, desc.get());
  OrvGetProfDWord(u"Rows", &rows, 0, desc.get());
  std::deque<TableCell> cells;
  if (!SizeFits(columns, rows)) columns = rows = 0;
  for (std::uint32_t i = 0; i < columns; ++i) {
    for (std::uint32_t j = 0; j < rows; ++j) {
      const std::unique_ptr<COrvProfDesc> cellDesc = CellSection(*desc, i, j);
      // Open for all the reads below; a missing subsection leaves every value at its default.
      cellDesc->Open(PROF_MODE_OPEN);
      TableCell cell;
      cell.column = static_cast<std::int32_t>(i);
      cell.row = static_cast<std::int32_t>(j);
      plat::String16 text;
      OrvGetProfCString(u"CellText", &text, u"", cellDesc.get());
      cell.text = plat::toUtf8(text);
      OrvGetProfDWord(u"CellColor", &cell.color, 0, cellDesc.get());
      gdi::LOGFONTA scratch;
      if (LoadFontFromProfile(&scratch, *cellDesc)) CopyFontAttributes(scratch, &cell.font);
      cells.push_back(std::move(cell));
    }
  }
  ReplaceCells(std::move(cells), columns, rows);
}

bool CTableModel::SaveTable(int kind, const char16_t* path, std::uint32_t index) {
  const std::unique_ptr<COrvProfDesc> desc = ProfileSection(kind, path, index);
  // Nothing to save to is no failure.
  if (!desc) return true;
  if (desc->Open(PROF_MODE_ALL) != PROF_OK) return false;
  bool ok = OrvSetProfDWord(u"Columns", m_columns, desc.get()) == PROF_OK;
  ok = OrvSetProfDWord(u"Rows", m_rows, desc.get()) == PROF_OK && ok;
  for (std::uint32_t i = 0; i < m_columns && ok; ++i) {
    for (std::uint32_t j = 0; j < m_rows && ok; ++j) {
      const TableCell* cell = FindCell(i, j);
      if (!cell) continue;
      const std::unique_ptr<COrvProfDesc> cellDesc = CellSection(*desc, i, j);
      ok = cellDesc->Open(PROF_MODE_ALL) == PROF_OK;
      ok = ok && OrvSetProfString(u"CellText", plat::toUtf16(cell->text).c_str(), cellDesc.get()) == PROF_OK;
      ok = ok && OrvSetProfDWord(u"CellColor", cell->color, cellDesc.get()) == PROF_OK;
      ok = ok && SaveFontToProfile(cell->font, *cellDesc);
    }
  }
  // Closing writes an INI file back; its failure fails the save.
  return desc->Close() == PROF_OK && ok;
}

}  // namespace karvel
