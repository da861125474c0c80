// The structure picture's geometry, worked out by hand for a 96-dpi device at zoom 100 with
// characters 5 pixels wide and fonts 13 pixels high (10 points).
#include "controls/structure/structlayout.h"

#include <gtest/gtest.h>

#include "controls/common/tests/fixedmeasure.h"
#include "controls/structure/tests/molbuilder.h"
#include "controls/structure/tests/testmodel.h"

namespace karvel::test {
namespace {

StructurePicture Layout(const MolBuilder& builder, const Rect& bounds, std::int32_t fieldsCols = 3) {
  CStructureModel model;
  LoadText(model, builder.SdRecord());
  model.SetFieldsCols(fieldsCols);
  FixedMeasure measure;
  return LayoutStructure(model, bounds, DeviceInfo{}, measure);
}

// Two atoms ten units apart on the x axis, bonded by type.
MolBuilder Pair(const char* first, int type) {
  MolBuilder builder;
  builder.Atom(first, 0, 0);
  builder.Atom("C", 10, 0);
  builder.Bond(1, 2, type);
  return builder;
}

TEST(StructureLayout, MoleculeKeepsItsProportionsOnTheDevice) {
  MolBuilder builder;
  builder.Atom("C", 0, 0);
  builder.Atom("C", 2, 1);
  const StructurePicture picture = Layout(builder, {0, 0, 301, 100});
  // The area (5, 13)-(296, 87) is too wide for a molecule twice as wide as high: it loses 71
  // pixels on each side.
  EXPECT_EQ(picture.structureArea, (Rect{76, 13, 225, 87}));
  EXPECT_EQ(picture.atoms, (std::vector<Point>{{76, 87}, {225, 13}}));
  EXPECT_TRUE(picture.labels.empty());
  EXPECT_EQ(picture.frame, (Rect{0, 0, 301, 100}));
  EXPECT_FALSE(picture.filled);
  EXPECT_EQ(picture.structPen.lopnWidth.x, 1);
  EXPECT_EQ(picture.structFont.lfHeight, 13);
}

TEST(StructureLayout, AnAxisWithoutExtentIsCentred) {
  MolBuilder single;
  single.Atom("N", 4, 4);
  EXPECT_EQ(Layout(single, {0, 0, 210, 100}).atoms, (std::vector<Point>{{105, 50}}));
  const StructurePicture chain = Layout(Pair("C", 1), {0, 0, 210, 100});
  EXPECT_EQ(chain.atoms, (std::vector<Point>{{5, 50}, {205, 50}}));
  // No room left for the skeleton: nothing is placed.
  EXPECT_TRUE(Layout(single, {0, 0, 10, 26}).atoms.empty());
}

TEST(StructureLayout, BondTypesDrawTheirLines) {
  const Rect bounds{0, 0, 210, 100};
  auto horizontal = [](int y) { return Line{{5, y}, {205, y}}; };
  EXPECT_EQ(Layout(Pair("C", 1), bounds).bonds, std::vector<Line>{horizontal(50)});
  EXPECT_EQ(Layout(Pair("C", 2), bounds).bonds, (std::vector<Line>{horizontal(51), horizontal(49)}));
  EXPECT_EQ(Layout(Pair("C", 3), bounds).bonds, (std::vector<Line>{horizontal(50), horizontal(54), horizontal(46)}));
  EXPECT_EQ(Layout(Pair("C", 4), bounds).bonds, (std::vector<Line>{horizontal(53), horizontal(47), horizontal(56),
                                                                   horizontal(44), horizontal(59), horizontal(41)}));

  // A labelled atom is labelled and its bond starts half the label away.
  const StructurePicture labelled = Layout(Pair("O", 1), bounds);
  EXPECT_EQ(labelled.bonds, (std::vector<Line>{{{8, 50}, {205, 50}}}));
  ASSERT_EQ(labelled.labels.size(), 1u);
  EXPECT_EQ(labelled.labels[0].text, "O");
  EXPECT_EQ(labelled.labels[0].origin, (Point{3, 44}));

  // A bond of zero length draws no parallel lines.
  MolBuilder together;
  together.Atom("C", 0, 0);
  together.Atom("C", 0, 0);
  together.Atom("C", 10, 0);
  together.Bond(1, 2, 4);
  EXPECT_TRUE(Layout(together, bounds).bonds.empty());
}

TEST(StructureLayout, FieldTableHoldsTheFieldsInRowsOfFieldsCols) {
  MolBuilder builder;
  builder.Atom("C");
  for (int k = 0; k < 7; ++k) builder.Field("F", "f" + std::to_string(k));
  const StructurePicture picture = Layout(builder, {0, 0, 300, 200});
  // The skeleton's area ends above the table: 200 - 13 - 13 x 7 x 4 / 3 / 3.
  EXPECT_EQ(picture.structureArea.bottom, 147);
  // Three columns of 10 and three rows of 16 pixels stretched over (0, 157)-(300, 200).
  const GridPicture& table = picture.fieldTable;
  EXPECT_EQ(table.lines, (std::vector<Line>{{{0, 157}, {0, 200}},
                                            {{100, 157}, {100, 200}},
                                            {{200, 157}, {200, 200}},
                                            {{300, 157}, {300, 200}},
                                            {{0, 157}, {300, 157}},
                                            {{0, 171}, {300, 171}},
                                            {{0, 186}, {300, 186}},
                                            {{0, 200}, {300, 200}}}));
  ASSERT_EQ(table.texts.size(), 7u);
  EXPECT_EQ(table.texts[6].text, "f6");
  EXPECT_EQ(table.cells[6], (Rect{0, 186, 100, 200}));
  EXPECT_EQ(table.texts[6].origin, (Point{45, 187}));

  // A column count below 1 is stored as 1: one field per row.
  EXPECT_EQ(Layout(builder, {0, 0, 300, 200}, 0).fieldTable.cells.back(), (Rect{0, 185, 300, 200}));
}

}  // namespace
}  // namespace karvel::test
