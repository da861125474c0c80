// The structure control's archive form: round trip, the byte layout, and damaged archives.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "controls/structure/tests/molbuilder.h"
#include "controls/structure/tests/testmodel.h"
#include "platform/archive/archive.h"

namespace karvel::test {
namespace {

CStructureModel Pyridine() {
  MolBuilder builder;
  builder.Ring({"C", "C", "C", "C", "C", "N"}, false);
  builder.Field("NAME", "pyridine");
  CStructureModel model;
  LoadText(model, builder.SdRecord());
  model.SetShowFormula(true);
  model.SetFieldsCols(2);
  model.SetHollow(false);
  model.SetBackColor(0x123456);
  model.SetStructLineWidth(40);
  model.SetStructTextColor(0xFF);
  model.SetFieldsTextColor(0xFF00);
  gdi::SetFaceName(model.StructFont(), "Courier");
  model.FieldsFont().lfHeight = 14;
  return model;
}

// The form written field by field as the layout gives it, with one atom and the given bonds.
std::vector<std::uint8_t> HandForm(const StructAtom& atom, std::int32_t fieldsCols,
                                   const std::vector<std::uint32_t>& bonds, const gdi::LOGFONTA& face) {
  plat::Archive ar;
  ar.writeI32(1);
  ar.writeF32(atom.x);
  ar.writeF32(atom.y);
  ar.writeF32(atom.z);
  ar.writeString(atom.symbol);
  for (std::uint32_t v : {1u, 0xFFFFFFu, 0u}) ar.writeU32(v);         // brush
  for (std::uint32_t v : {0u, 20u, 20u, 0u}) ar.writeU32(v);          // structure pen
  ar.writeBytes(&face, sizeof face);                                  // structure font
  ar.writeBytes(&face, sizeof face);                                  // fields font
  for (std::int32_t v : {fieldsCols, 0, 0, 1, 0, 0}) ar.writeI32(v);  // columns, colours, flags
  ar.writeU16(1);
  ar.writeString("field");
  ar.writeU16(static_cast<std::uint16_t>(bonds.size()));
  for (std::uint32_t w : bonds) ar.writeU32(w);
  return ar.bytes();
}

TEST(StructureArchive, RoundTripKeepsMoleculeFieldsAndLook) {
  CStructureModel model = Pyridine();
  plat::Archive out;
  model.Serialize(out);

  CStructureModel loaded;
  loaded.SetFieldsLineWidth(55);
  plat::Archive in(out.bytes());
  loaded.Serialize(in);
  EXPECT_TRUE(in.atEnd());
  EXPECT_EQ(loaded.molecule(), model.molecule());
  EXPECT_EQ(loaded.fields(), (std::vector<std::string>{"pyridine", "C5H5N"}));
  EXPECT_EQ(loaded.FieldsCols(), 2);
  EXPECT_FALSE(loaded.Hollow());
  EXPECT_TRUE(loaded.ShowFormula());
  EXPECT_EQ(loaded.Background(), model.Background());
  EXPECT_EQ(loaded.StructPen(), model.StructPen());
  EXPECT_EQ(loaded.StructFont(), model.StructFont());
  EXPECT_EQ(loaded.FieldsFont(), model.FieldsFont());
  EXPECT_EQ(loaded.StructTextColor(), 0xFFu);
  EXPECT_EQ(loaded.FieldsTextColor(), 0xFF00u);
  // The fields pen is no part of the form.
  EXPECT_EQ(loaded.FieldsLineWidth(), 55);
}

TEST(StructureArchive, LayoutIsTheHandWrittenOne) {
  const gdi::LOGFONTA font = DefaultControlFont();
  const std::vector<std::uint8_t> hand = HandForm({"O", 1, -2, 3}, 3, {PackBond(1, 1, 1)}, font);
  CStructureModel model;
  plat::Archive in(hand);
  model.Serialize(in);
  plat::Archive out;
  model.Serialize(out);
  EXPECT_EQ(out.bytes(), hand);
}

TEST(StructureArchive, DamagedEntriesAreMendedOrDropped) {
  gdi::LOGFONTA face = DefaultControlFont();
  std::memset(face.lfFaceName, 'A', sizeof face.lfFaceName);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<std::uint8_t> bytes =
      HandForm({"Xenon", nan, std::numeric_limits<float>::infinity(), 1}, 0,
               {PackBond(1, 1, 2), PackBond(2, 1, 1), PackBond(1, 0, 1), PackBond(1, 4095, 1)}, face);
  CStructureModel model;
  plat::Archive in(bytes);
  model.Serialize(in);
  EXPECT_EQ(model.molecule().atoms, (std::vector<StructAtom>{{"Xen", 0, 0, 1}}));
  EXPECT_EQ(model.molecule().bonds, std::vector<BondWord>{PackBond(1, 1, 2)});
  EXPECT_EQ(model.FieldsCols(), 1);
  EXPECT_EQ(gdi::FaceNameOf(model.StructFont()), std::string(31, 'A'));
}

TEST(StructureArchive, ShortOrCorruptArchivesFailAndChangeNothing) {
  plat::Archive out;
  Pyridine().Serialize(out);
  const std::vector<std::uint8_t>& full = out.bytes();
  CStructureModel model;
  LoadText(model, "1 0\n0 0 0 S\n");
  for (std::size_t n = 0; n < full.size(); ++n) {
    plat::Archive in(std::span(full.data(), n));
    ASSERT_THROW(model.Serialize(in), plat::ArchiveError) << n;
  }
  EXPECT_EQ(model.molecule().atoms.size(), 1u);
  EXPECT_TRUE(model.fields().empty());

  // A count no archive of this size can hold is refused before anything is made.
  plat::Archive huge;
  huge.writeI32(std::numeric_limits<std::int32_t>::max());
  plat::Archive in(huge.bytes());
  EXPECT_THROW(model.Serialize(in), plat::ArchiveError);
}

}  // namespace
}  // namespace karvel::test
