// The table picture's geometry, worked out by hand for a 96-dpi device at zoom 100 with
// characters 5 pixels wide and fonts 13 pixels high (10 points).
#include "controls/table/tablelayout.h"

#include <gtest/gtest.h>

#include "controls/common/tests/fixedmeasure.h"
#include "controls/table/tests/tabletestutil.h"

namespace karvel::test {
namespace {

TEST(TableLayout, GridStretchesOverTheBoundsWithShownTextsCentred) {
  auto fill = [](CTableModel& model) {
    model.SetTableSize(2, 2);
    model.SetCellText(0, 0, u"ab");
    model.SetCellText(1, 0, u"abcd");
    model.SetCellText(0, 1, u"$SF$");
    model.SetCellColor(1, 0, 0xFF);
  };
  CTableModel model;
  fill(model);
  FixedMeasure measure;

  // Nothing but the pen without a spectrum.
  TablePicture picture = LayoutTable(model, {0, 0, 100, 52}, DeviceInfo{}, measure);
  EXPECT_EQ(picture.gridPen.lopnWidth.x, 0);
  EXPECT_TRUE(picture.grid.lines.empty());

  // Attaching loads the kind's defaults (none), so the cells are set again.
  model.AttachSpectrum(std::make_shared<FakeSpectrum>(u"MASS"));
  fill(model);
  picture = LayoutTable(model, {0, 0, 100, 52}, DeviceInfo{}, measure);
  // Columns of 30 ("400.13") and 20 pixels, rows of 13, stretched twice.
  EXPECT_EQ(picture.grid.lines, (std::vector<Line>{{{0, 0}, {0, 52}},
                                                   {{60, 0}, {60, 52}},
                                                   {{100, 0}, {100, 52}},
                                                   {{0, 0}, {100, 0}},
                                                   {{0, 26}, {100, 26}},
                                                   {{0, 52}, {100, 52}}}));
  ASSERT_EQ(picture.grid.texts.size(), 4u);
  EXPECT_EQ(picture.grid.texts[0].text, "ab");
  EXPECT_EQ(picture.grid.texts[0].origin, (Point{25, 7}));
  EXPECT_EQ(picture.grid.texts[1].text, "400.13");
  EXPECT_EQ(picture.grid.texts[1].origin, (Point{15, 33}));
  EXPECT_EQ(picture.grid.texts[2].origin, (Point{70, 7}));
  EXPECT_EQ(picture.grid.texts[2].color, 0xFFu);
  EXPECT_EQ(picture.grid.texts[2].font.lfHeight, 13);
  EXPECT_EQ(model.FindCell(0, 1)->shownText, "400.13");

  // All texts empty: no width to stretch, no grid.
  for (std::uint32_t c = 0; c < 2; ++c)
    for (std::uint32_t r = 0; r < 2; ++r) model.SetCellText(c, r, u"");
  EXPECT_TRUE(LayoutTable(model, {0, 0, 100, 52}, DeviceInfo{}, measure).grid.lines.empty());
}

}  // namespace
}  // namespace karvel::test
