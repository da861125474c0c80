// The table's size, cells and text expansion.
#include <gtest/gtest.h>

#include "controls/table/tests/tabletestutil.h"

namespace karvel::test {
namespace {

using Positions_ = std::vector<std::pair<int, int>>;

TEST(TableModel, GrowingAddsCellsColumnByColumnAndShrinkingKeepsThem) {
  CTableModel model;
  ASSERT_TRUE(model.SetTableSize(3, 2));
  EXPECT_EQ(Positions(model), (Positions_{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}));
  ASSERT_TRUE(model.SetCellText(2, 1, u"kept"));
  ASSERT_TRUE(model.SetTableSize(1, 1));
  EXPECT_EQ(model.cells().size(), 6u);
  EXPECT_FALSE(model.SetCellText(5, 5, u"x"));
  ASSERT_TRUE(model.SetTableSize(3, 2));
  EXPECT_EQ(model.cells().size(), 6u);
  EXPECT_EQ(CellText(model, 2, 1), "kept");

  // New columns come first (all rows), then the new rows of the old columns.
  CTableModel mixed;
  mixed.SetTableSize(1, 1);
  mixed.SetTableSize(2, 2);
  EXPECT_EQ(Positions(mixed), (Positions_{{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
  EXPECT_EQ(mixed.Columns(), 2u);
  EXPECT_EQ(mixed.Rows(), 2u);
}

TEST(TableModel, SizesBeyondTheCapsFailAndChangeNothing) {
  CTableModel model;
  EXPECT_FALSE(model.SetTableSize(1025, 1));
  EXPECT_FALSE(model.SetTableSize(1, 1025));
  EXPECT_FALSE(model.SetTableSize(257, 256));
  ASSERT_TRUE(model.SetTableSize(1024, 64));
  EXPECT_EQ(model.cells().size(), 65536u);
  // Cells stay after a shrink, so this size would need 61,440 cells more than the cap.
  EXPECT_FALSE(model.SetTableSize(64, 1024));
  EXPECT_EQ(model.Columns(), 1024u);
  EXPECT_EQ(model.Rows(), 64u);
  EXPECT_EQ(model.cells().size(), 65536u);
  EXPECT_TRUE(model.SetTableSize(64, 64));
}

TEST(TableModel, CellMethodsNeedACellAndTextsAlwaysTerminate) {
  CTableModel model;
  char16_t buffer[8] = {u'?', u'?', u'?', u'?', u'?', u'?', u'?', u'?'};
  gdi::COLORREF color = 0;
  EXPECT_FALSE(model.GetCellText(0, 0, buffer, 8));
  EXPECT_FALSE(model.SetCellColor(0, 0, 1));
  EXPECT_FALSE(model.GetCellColor(0, 0, &color));
  EXPECT_EQ(model.CellFont(0, 0), nullptr);

  model.SetTableSize(1, 1);
  ASSERT_TRUE(model.SetCellText(0, 0, u"ab\U0001F600cd"));
  EXPECT_FALSE(model.GetCellText(0, 0, buffer, 0));
  ASSERT_TRUE(model.GetCellText(0, 0, buffer, 1));
  EXPECT_EQ(std::u16string(buffer), u"");
  // Room for three units would split the surrogate pair: two are copied.
  ASSERT_TRUE(model.GetCellText(0, 0, buffer, 4));
  EXPECT_EQ(std::u16string(buffer), u"ab");
  ASSERT_TRUE(model.GetCellText(0, 0, buffer, 5));
  EXPECT_EQ(std::u16string(buffer), u"ab\U0001F600");
  ASSERT_TRUE(model.GetCellText(0, 0, buffer, 8));
  EXPECT_EQ(std::u16string(buffer), u"ab\U0001F600cd");

  const std::u16string big(65536, u'w');
  ASSERT_TRUE(model.SetCellText(0, 0, big.c_str()));
  EXPECT_EQ(CellText(model, 0, 0), std::string(65536, 'w'));
  ASSERT_TRUE(model.SetCellColor(0, 0, 0xFF));
  ASSERT_TRUE(model.GetCellColor(0, 0, &color));
  EXPECT_EQ(color, 0xFFu);
  ASSERT_NE(model.CellFont(0, 0), nullptr);
  EXPECT_EQ(*model.CellFont(0, 0), DefaultControlFont());
}

TEST(TableModel, ParameterReferencesExpandThroughTheSpectrum) {
  CTableModel model;
  EXPECT_EQ(model.ExpandText("$SF$ MHz"), "$SF$ MHz");
  model.AttachSpectrum(std::make_shared<FakeSpectrum>());
  ASSERT_NE(model.GetSpectrum(), nullptr);
  EXPECT_EQ(model.ExpandText("a$$b"), "a$b");
  EXPECT_EQ(model.ExpandText("$SF$ MHz"), "400.13 MHz");
  EXPECT_EQ(model.ExpandText("$SF"), "400.13");
  EXPECT_EQ(model.ExpandText("x$"), "x");
  EXPECT_EQ(model.ExpandText("[$NONE$]"), "[]");
  EXPECT_EQ(model.ExpandText("$TITLE$: $SF$$$"), "ethyl acetate: 400.13$");

  // The source text is what the cell gives back.
  model.SetTableSize(1, 1);
  model.SetCellText(0, 0, u"$SF$");
  EXPECT_EQ(CellText(model, 0, 0), "$SF$");
  model.DetachSpectrum();
  EXPECT_EQ(model.GetSpectrum(), nullptr);
  // A spectrum found at drawing time is linked without loading defaults.
  model.LinkSpectrum(std::make_shared<FakeSpectrum>());
  EXPECT_EQ(model.ExpandText(CellText(model, 0, 0)), "400.13");
}

}  // namespace
}  // namespace karvel::test
