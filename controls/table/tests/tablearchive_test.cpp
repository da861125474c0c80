// The table's archive form: round trip with long texts, the byte layout, and damaged archives.
#include <gtest/gtest.h>

#include <cstring>

#include "controls/common/archiveforms.h"
#include "controls/table/tests/tabletestutil.h"
#include "platform/archive/archive.h"

namespace karvel::test {
namespace {

std::vector<std::uint8_t> Stored(CTableModel& model) {
  plat::Archive out;
  model.Serialize(out);
  return out.bytes();
}

// One cell written field by field as the layout gives it.
void HandCell(plat::Archive& ar, std::int32_t column, std::int32_t row, const std::string& text, const gdi::LOGFONTA& font) {
  ar.writeI32(column);
  ar.writeI32(row);
  ar.writeString(text);
  ar.writeString("shown");
  ar.writeU32(0xFF);
  ar.writeBytes(&font, sizeof font);
}

// Size, the drawing records, the cell count; the cells follow.
void HandHeader(plat::Archive& ar, std::uint32_t columns, std::uint32_t rows, std::uint32_t cells) {
  ar.writeU32(columns);
  ar.writeU32(rows);
  WriteLogBrush(ar, DefaultBackgroundBrush());
  WriteLogPen(ar, SolidPen(10));
  WriteLogFont(ar, DefaultControlFont());
  ar.writeU32(cells);
}

TEST(TableArchive, RoundTripKeepsCellsBeyondTheSizeAndLongTexts) {
  CTableModel model;
  model.SetTableSize(3, 2);
  model.SetCellText(0, 0, plat::toUtf16(std::string(255, 'a')).c_str());
  model.SetCellText(2, 1, plat::toUtf16(std::string(65536, 'b')).c_str());
  model.SetCellColor(1, 0, 0xC00000);
  gdi::SetFaceName(*model.CellFont(1, 1), "Symbol");
  model.GridPen().lopnWidth.x = 40;
  model.SetTableSize(2, 1);

  CTableModel loaded;
  loaded.SetTableSize(4, 4);
  plat::Archive in(Stored(model));
  loaded.Serialize(in);
  EXPECT_TRUE(in.atEnd());
  EXPECT_EQ(loaded.Columns(), 2u);
  EXPECT_EQ(loaded.Rows(), 1u);
  EXPECT_EQ(Positions(loaded), Positions(model));
  EXPECT_EQ(CellText(loaded, 0, 0), std::string(255, 'a'));
  EXPECT_EQ(CellText(loaded, 2, 1), std::string(65536, 'b'));
  EXPECT_EQ(loaded.FindCell(1, 0)->color, 0xC00000u);
  EXPECT_EQ(gdi::FaceNameOf(*loaded.CellFont(1, 1)), "Symbol");
  EXPECT_EQ(loaded.GridPen(), model.GridPen());
  // The stored form is the one written by hand.
  plat::Archive hand;
  HandHeader(hand, 1, 1, 1);
  HandCell(hand, 0, 0, "x", DefaultControlFont());
  CTableModel small;
  plat::Archive again(hand.bytes());
  small.Serialize(again);
  EXPECT_EQ(Stored(small), hand.bytes());
}

TEST(TableArchive, BadEntriesAreDroppedAndOversizedTablesLoadEmpty) {
  gdi::LOGFONTA unterminated = DefaultControlFont();
  std::memset(unterminated.lfFaceName, 'F', sizeof unterminated.lfFaceName);
  plat::Archive ar;
  HandHeader(ar, 2, 1, 4);
  HandCell(ar, -1, 0, "negative", unterminated);
  HandCell(ar, 1024, 0, "beyond the cap", unterminated);
  HandCell(ar, 1, 0, "first", unterminated);
  HandCell(ar, 1, 0, "second", unterminated);
  CTableModel model;
  plat::Archive in(ar.bytes());
  model.Serialize(in);
  EXPECT_EQ(model.cells().size(), 2u);
  EXPECT_EQ(CellText(model, 1, 0), "first");
  EXPECT_EQ(gdi::FaceNameOf(*model.CellFont(1, 0)), std::string(31, 'F'));

  for (const auto& [columns, rows] : {std::pair{1025u, 1u}, {1u, 1025u}, {300u, 300u}}) {
    plat::Archive big;
    HandHeader(big, columns, rows, 1);
    HandCell(big, 0, 0, "x", DefaultControlFont());
    plat::Archive bigIn(big.bytes());
    model.Serialize(bigIn);
    EXPECT_TRUE(bigIn.atEnd());
    EXPECT_EQ(model.Columns(), 0u);
    EXPECT_TRUE(model.cells().empty());
  }
}

TEST(TableArchive, ShortOrCorruptArchivesFailAndChangeNothing) {
  CTableModel source;
  source.SetTableSize(2, 2);
  source.SetCellText(1, 1, u"text");
  const std::vector<std::uint8_t> full = Stored(source);
  CTableModel model;
  model.SetTableSize(1, 1);
  for (std::size_t n = 0; n < full.size(); ++n) {
    plat::Archive in(std::span(full.data(), n));
    ASSERT_THROW(model.Serialize(in), plat::ArchiveError) << n;
  }
  EXPECT_EQ(model.cells().size(), 1u);

  // A 65,536-byte text cut inside its characters.
  CTableModel longSource;
  longSource.SetTableSize(1, 1);
  longSource.SetCellText(0, 0, std::u16string(65536, u'z').c_str());
  const std::vector<std::uint8_t> longForm = Stored(longSource);
  plat::Archive cut(std::span(longForm.data(), longForm.size() / 2));
  EXPECT_THROW(model.Serialize(cut), plat::ArchiveError);

  // More cells than the cap, or than the bytes could hold.
  plat::Archive tooMany;
  HandHeader(tooMany, 1, 1, 65537);
  plat::Archive tooManyIn(tooMany.bytes());
  EXPECT_THROW(model.Serialize(tooManyIn), plat::ArchiveError);
  plat::Archive missing;
  HandHeader(missing, 1, 1, 1000);
  plat::Archive missingIn(missing.bytes());
  EXPECT_THROW(model.Serialize(missingIn), plat::ArchiveError);
  EXPECT_EQ(model.cells().size(), 1u);
}

}  // namespace
}  // namespace karvel::test
