#pragma once
// CTableModel: what the table control keeps but its site: a grid of cell texts with their
// colours and fonts, the drawing records, and the spectrum it is attached to, whose parameters
// the cell texts name between dollar signs ($SF$). The control's ITableControl methods map onto
// the methods below one to one (true is S_OK, false E_FAIL); its Serialize calls Serialize
// after the class library's control state, and its drawing draws what LayoutTable
// (tablelayout.h) computes.
//
// A cell is found by (column, row); the first cell of a position wins. Cells are never removed
// while the table lives, except that a profile or archive load replaces all of them: after a
// size reduction the cells beyond the new size stay and come back when the table grows again.
// Caps: 1024 columns, 1024 rows, columns x rows and the cells kept at most 65,536 each.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "controls/common/gdirecords.h"
#include "controls/table/tablespectrum.h"

class COrvProfDesc;

namespace plat {
class Archive;
}

namespace karvel {

struct TableCell {
  std::int32_t column = 0;
  std::int32_t row = 0;
  // As set by the caller or the profile; may hold $NAME$ references.
  std::string text;
  // The text after expansion, rebuilt at every drawing.
  std::string shownText;
  gdi::COLORREF color = 0;
  // Height in points.
  gdi::LOGFONTA font = DefaultControlFont();
};

class CTableModel {
 public:
  static constexpr std::uint32_t kMaxColumns = 1024;
  static constexpr std::uint32_t kMaxRows = 1024;
  static constexpr std::uint32_t kMaxCells = 65536;

  CTableModel();

  // Takes the new spectrum first and lets the old one go after, then loads the table defaults
  // of the spectrum's kind (LoadTable(0, ...)).
  void AttachSpectrum(std::shared_ptr<ITableSpectrum> spectrum);
  // Takes the spectrum without loading defaults: what the drawing-time search of the document's
  // items does when no spectrum is attached.
  void LinkSpectrum(std::shared_ptr<ITableSpectrum> spectrum);
  // Lets the attached spectrum go (the control's close).
  void DetachSpectrum();
  // Null when none is attached.
  ITableSpectrum* GetSpectrum() const { return m_spectrum.get(); }

  // Adds the missing cells (empty text, colour 0, the default font): for each new column every
  // row, then for each new row every column; a position that has a cell is skipped. False, and
  // nothing changed, beyond the caps.
  bool SetTableSize(std::uint32_t columns, std::uint32_t rows);
  std::uint32_t Columns() const { return m_columns; }
  std::uint32_t Rows() const { return m_rows; }

  // The cell methods are false for a position without a cell and change nothing then.
  // A null text is the empty text.
  bool SetCellText(std::uint32_t column, std::uint32_t row, const char16_t* text);
  // The source text, converted to 16 bits: at most length - 1 units and a terminating 0 (never
  // half of a surrogate pair). False for length < 1 or a null buffer.
  bool GetCellText(std::uint32_t column, std::uint32_t row, char16_t* buffer, int length) const;
  bool SetCellColor(std::uint32_t column, std::uint32_t row, gdi::COLORREF color);
  bool GetCellColor(std::uint32_t column, std::uint32_t row, gdi::COLORREF* color) const;
  // The record the cell's font object is bound to; null without a cell. It stays valid until a
  // load replaces the cells.
  gdi::LOGFONTA* CellFont(std::uint32_t column, std::uint32_t row);

  // The profile form: kind 0 keeps the defaults of the attached spectrum's kind below the
  // module's default section; any other kind keeps the table of item index in the INI file
  // "table" in directory path, section "\<kind name>_<index>". Both do nothing without an
  // attached spectrum or when it cannot tell its kind; a load then changes nothing. A stored
  // size beyond the caps loads an empty table. A save is false when a write fails.
  bool SaveTable(int kind, const char16_t* path, std::uint32_t index);
  void LoadTable(int kind, const char16_t* path, std::uint32_t index);

  // The archive form: size, background brush, grid pen, table font, then the cells. Loading
  // checks every count and length and throws plat::ArchiveError on a short or corrupt archive,
  // leaving the table as it was; a stored size beyond the caps loads an empty table, cells at
  // positions beyond the caps are dropped, face names are terminated.
  void Serialize(plat::Archive& ar);

  // The text shown for source: without a spectrum the source itself; with one, each $NAME$
  // replaced by the parameter's value (nothing when the lookup fails), "$$" by "$"; a name
  // without its closing "$" runs to the end.
  std::string ExpandText(std::string_view source) const;

  // The first cell of the position, or null. Callers may change its texts, colour and font,
  // never its column and row.
  const TableCell* FindCell(std::uint32_t column, std::uint32_t row) const;
  TableCell* FindCell(std::uint32_t column, std::uint32_t row);
  const std::deque<TableCell>& cells() const { return m_cells; }

  gdi::LOGBRUSH& Background() { return m_background; }
  const gdi::LOGBRUSH& Background() const { return m_background; }
  gdi::LOGPEN& GridPen() { return m_gridPen; }
  const gdi::LOGPEN& GridPen() const { return m_gridPen; }
  gdi::LOGFONTA& TableFont() { return m_tableFont; }
  const gdi::LOGFONTA& TableFont() const { return m_tableFont; }

 private:
  static std::uint64_t Key(std::uint32_t column, std::uint32_t row) { return std::uint64_t(column) << 32 | row; }
  static bool SizeFits(std::uint64_t columns, std::uint64_t rows);
  void AppendCell(TableCell cell);
  void ReplaceCells(std::deque<TableCell> cells, std::uint32_t columns, std::uint32_t rows);
  std::unique_ptr<COrvProfDesc> ProfileSection(int kind, const char16_t* path, std::uint32_t index) const;

  std::uint32_t m_columns = 0;
  std::uint32_t m_rows = 0;
  // A deque, so that a cell's font record stays where it is while cells are appended.
  std::deque<TableCell> m_cells;
  // The first cell of each position.
  std::unordered_map<std::uint64_t, std::size_t> m_index;
  gdi::LOGBRUSH m_background;
  gdi::LOGPEN m_gridPen;
  gdi::LOGFONTA m_tableFont;
  std::shared_ptr<ITableSpectrum> m_spectrum;
};

}  // namespace karvel
