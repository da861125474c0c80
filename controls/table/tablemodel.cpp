#include "controls/table/tablemodel.h"

#include <algorithm>
#include <utility>

#include "controls/common/archiveforms.h"
#include "foundation/profdesc.h"
#include "platform/archive/archive.h"
#include "platform/base/text.h"

namespace karvel {

namespace {

// Column, row, two one-byte string lengths, colour and font.
constexpr std::uint64_t kMinCellBytes = 4 + 4 + 1 + 1 + 4 + sizeof(gdi::LOGFONTA);

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

CTableModel::CTableModel()
    : m_background(DefaultBackgroundBrush()), m_gridPen(SolidPen(10)), m_tableFont(DefaultControlFont()) {}

void CTableModel::AttachSpectrum(std::shared_ptr<ITableSpectrum> spectrum) {
  LinkSpectrum(std::move(spectrum));
  LoadTable(0, u"", 0);
}

void CTableModel::LinkSpectrum(std::shared_ptr<ITableSpectrum> spectrum) {
  // The old spectrum goes only once the new one is held.
  const std::shared_ptr<ITableSpectrum> old = std::exchange(m_spectrum, std::move(spectrum));
}

void CTableModel::DetachSpectrum() { m_spectrum.reset(); }

bool CTableModel::SizeFits(std::uint64_t columns, std::uint64_t rows) {
  return columns <= kMaxColumns && rows <= kMaxRows && columns * rows <= kMaxCells;
}

bool CTableModel::SetTableSize(std::uint32_t columns, std::uint32_t rows) {
  if (!SizeFits(columns, rows)) return false;
  // The positions to add, in the order they are added; counted first so that a size whose new
  // cells would pass the cap changes nothing.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> added;
  for (std::uint32_t c = m_columns; c < columns; ++c)
    for (std::uint32_t r = 0; r < rows; ++r)
      if (!FindCell(c, r)) added.emplace_back(c, r);
  // The new columns' cells of the new rows came with the columns.
  for (std::uint32_t r = m_rows; r < rows; ++r)
    for (std::uint32_t c = 0; c < std::min(columns, m_columns); ++c)
      if (!FindCell(c, r)) added.emplace_back(c, r);
  if (m_cells.size() + added.size() > kMaxCells) return false;
  for (const auto& [c, r] : added) {
    TableCell cell;
    cell.column = static_cast<std::int32_t>(c);
    cell.row = static_cast<std::int32_t>(r);
    AppendCell(std::move(cell));
  }
  m_columns = columns;
  m_rows = rows;
  return true;
}

const TableCell* CTableModel::FindCell(std::uint32_t column, std::uint32_t row) const {
  const auto found = m_index.find(Key(column, row));
  return found == m_index.end() ? nullptr : &m_cells[found->second];
}

TableCell* CTableModel::FindCell(std::uint32_t column, std::uint32_t row) {
  return const_cast<TableCell*>(std::as_const(*this).FindCell(column, row));
}

void CTableModel::AppendCell(TableCell cell) {
  const std::uint64_t key = Key(static_cast<std::uint32_t>(cell.column), static_cast<std::uint32_t>(cell.row));
  m_cells.push_back(std::move(cell));
  m_index.emplace(key, m_cells.size() - 1);
}

void CTableModel::ReplaceCells(std::deque<TableCell> cells, std::uint32_t columns, std::uint32_t rows) {
  m_cells.clear();
  m_index.clear();
  for (TableCell& cell : cells) AppendCell(std::move(cell));
  m_columns = columns;
  m_rows = rows;
}

bool CTableModel::SetCellText(std::uint32_t column, std::uint32_t row, const char16_t* text) {
  TableCell* cell = FindCell(column, row);
  if (!cell) return false;
  cell->text = plat::toUtf8(text ? std::u16string_view(text) : std::u16string_view());
  return true;
}

bool CTableModel::GetCellText(std::uint32_t column, std::uint32_t row, char16_t* buffer, int length) const {
  const TableCell* cell = FindCell(column, row);
  if (!cell || !buffer || length < 1) return false;
  const plat::String16 text = plat::toUtf16(cell->text);
  std::size_t n = std::min(text.size(), static_cast<std::size_t>(length) - 1);
  if (n > 0 && n < text.size() && IsHighSurrogate(text[n - 1])) --n;
  std::copy_n(text.begin(), n, buffer);
  buffer[n] = u'\0';
  return true;
}

bool CTableModel::SetCellColor(std::uint32_t column, std::uint32_t row, gdi::COLORREF color) {
  TableCell* cell = FindCell(column, row);
  if (!cell) return false;
  cell->color = color;
  return true;
}

bool CTableModel::GetCellColor(std::uint32_t column, std::uint32_t row, gdi::COLORREF* color) const {
  const TableCell* cell = FindCell(column, row);
  if (!cell || !color) return false;
  *color = cell->color;
  return true;
}

gdi::LOGFONTA* CTableModel::CellFont(std::uint32_t column, std::uint32_t row) {
  TableCell* cell = FindCell(column, row);
  return cell ? &cell->font : nullptr;
}

std::string CTableModel::ExpandText(std::string_view source) const {
  if (!m_spectrum) return std::string(source);
  std::string shown;
  std::string_view rest = source;
  while (!rest.empty()) {
    const std::size_t dollar = rest.find('$');
    shown += rest.substr(0, dollar);
    if (dollar == std::string_view::npos) break;
    rest.remove_prefix(dollar + 1);
    if (rest.empty()) break;
    if (rest.front() == '$') {
      shown += '$';
      rest.remove_prefix(1);
      continue;
    }
    const std::size_t end = rest.find('$');
    const std::string_view name = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    plat::String16 value;
    if (m_spectrum->GetParam(plat::toUtf16(name), &value)) shown += plat::toUtf8(value);
  }
  return shown;
}

void CTableModel::Serialize(plat::Archive& ar) {
  if (ar.isStoring()) {
    ar.writeU32(m_columns);
    ar.writeU32(m_rows);
    WriteLogBrush(ar, m_background);
    WriteLogPen(ar, m_gridPen);
    WriteLogFont(ar, m_tableFont);
    ar.writeU32(static_cast<std::uint32_t>(m_cells.size()));
    for (const TableCell& cell : m_cells) {
      ar.writeI32(cell.column);
      ar.writeI32(cell.row);
      ar.writeString(cell.text);
      ar.writeString(cell.shownText);
      ar.writeU32(cell.color);
      WriteLogFont(ar, cell.font);
    }
    return;
  }

  // Read aside and taken over only when the whole form has read.
  std::uint32_t columns = ar.readU32();
  std::uint32_t rows = ar.readU32();
  const gdi::LOGBRUSH background = ReadLogBrush(ar);
  const gdi::LOGPEN gridPen = ReadLogPen(ar);
  const gdi::LOGFONTA tableFont = ReadLogFont(ar);
  const std::uint32_t count = ar.readCount(kMaxCells, kMinCellBytes);
  std::deque<TableCell> cells;
  for (std::uint32_t i = 0; i < count; ++i) {
    TableCell cell;
    cell.column = ar.readI32();
    cell.row = ar.readI32();
    cell.text = ar.readString();
    cell.shownText = ar.readString();
    cell.color = ar.readU32();
    cell.font = ReadLogFont(ar);
    const bool inCaps = cell.column >= 0 && std::uint32_t(cell.column) < kMaxColumns && cell.row >= 0 &&
                        std::uint32_t(cell.row) < kMaxRows;
    if (inCaps) cells.push_back(std::move(cell));
  }
  if (!SizeFits(columns, rows)) {
    columns = rows = 0;
    cells.clear();
  }
  m_background = background;
  m_gridPen = gridPen;
  m_tableFont = tableFont;
  ReplaceCells(std::move(cells), columns, rows);
}

}  // namespace karvel
