// The molfile and SD-file reader: records, fixed columns and free form, and hostile input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "controls/structure/molreader.h"
#include "controls/structure/tests/molbuilder.h"
#include "controls/structure/tests/testmodel.h"
#include "platform/base/file.h"
#include "platform/base/path.h"

namespace karvel::test {
namespace {

using LoadStatus = CStructureModel::LoadStatus;

std::string ScratchPath(const std::string& name) {
  const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string dir = scratch && *scratch ? scratch : "/tmp";
  EXPECT_TRUE(plat::makeDirectories(dir));
  return plat::joinPath(dir, name);
}

std::string ThreeRecords() {
  MolBuilder benzene, ethanol, methane;
  benzene.Ring(6, true);
  benzene.Field("NAME", "benzene");
  benzene.Field("ID", "1");
  ethanol.Chain(2);
  ethanol.Bond(2, ethanol.Atom("O"), 1);
  ethanol.Field("NAME", "ethanol");
  ethanol.Field("ID", "2");
  methane.Atom("C");
  methane.Field("NAME", "methane");
  methane.Field("ID", "3");
  return benzene.SdRecord() + ethanol.SdRecord() + methane.SdRecord();
}

TEST(MolReader, SdFileGivesTheFirstMoleculeAndTheFieldsOfEveryRecord) {
  CStructureModel model;
  const std::string path = ScratchPath("three.sdf");
  ASSERT_TRUE(plat::writeFileAtomic(path, ThreeRecords()));
  EXPECT_EQ(model.LoadFile(path).status, LoadStatus::Loaded);
  EXPECT_EQ(model.molecule().atoms.size(), 6u);
  ASSERT_EQ(model.molecule().bonds.size(), 6u);
  EXPECT_EQ(model.molecule().bonds[1], PackBond(2, 3, 2));
  EXPECT_EQ(model.fields(), (std::vector<std::string>{"benzene", "1", "ethanol", "2", "methane", "3"}));

  // A file that cannot be opened (missing, or a folder) empties the model.
  EXPECT_EQ(model.LoadFile(ScratchPath("missing.sdf")).status, LoadStatus::NotOpened);
  EXPECT_TRUE(model.molecule().atoms.empty());
  EXPECT_TRUE(model.fields().empty());
  LoadText(model, ThreeRecords());
  EXPECT_EQ(model.LoadFile(ScratchPath("")).status, LoadStatus::NotOpened);
  EXPECT_TRUE(model.molecule().bonds.empty());
}

TEST(MolReader, AFileWithALineBeyondTheBoundIsRefusedWholeAndOneAtTheBoundReads) {
  MolBuilder benzene;
  benzene.Ring(6, true);
  benzene.Field("NAME", std::string(kMaxMolfileLineBytes, 'x'));
  CStructureModel model;
  LoadText(model, benzene.SdRecord());
  ASSERT_EQ(model.fields().size(), 1u);
  EXPECT_EQ(model.fields()[0].size(), kMaxMolfileLineBytes);
  MolBuilder huge;
  huge.Ring(6, true);
  huge.Field("ID", "7");
  huge.Field("NOTES", std::string(kMaxMolfileLineBytes + 1, 'x') + "\r");
  const std::string text = huge.SdRecord();
  std::istringstream in(text);
  const MolfileContent content = ReadMolfile(in);
  EXPECT_TRUE(content.molecule.atoms.empty());
  EXPECT_TRUE(content.fields.empty());
  const std::string head = text.substr(0, text.find(std::string(64, 'x')));
  EXPECT_EQ(content.tooLongLine, static_cast<std::uint64_t>(std::count(head.begin(), head.end(), '\n') + 1));
  const std::string path = ScratchPath("huge.sdf");
  ASSERT_TRUE(plat::writeFileAtomic(path, text));
  const CStructureModel::LoadReport report = model.LoadFile(path);
  EXPECT_EQ(report.status, LoadStatus::TooLong);
  EXPECT_EQ(report.tooLongLine, content.tooLongLine);
  EXPECT_TRUE(model.molecule().atoms.empty());
  EXPECT_TRUE(model.fields().empty());
}

TEST(MolReader, FixedColumnsHoldAdjacentNumbersAndCountsOfHundreds) {
  MolBuilder builder;
  // x fills its 10 columns, so no blank separates it from y.
  builder.Atom("Cl", -1000.1234, 2.5, -3.25);
  const std::vector<int> chain = builder.Chain(120);
  builder.Bond(1, chain[0], 1);
  builder.Bond(chain[118], chain[119], 3);
  builder.Field("NOTE", "first\rsecond");
  CStructureModel model;
  ASSERT_EQ(LoadText(model, builder.SdRecord({false, "\r\n"})).status, LoadStatus::Loaded);
  const Molecule& mol = model.molecule();
  ASSERT_EQ(mol.atoms.size(), 121u);
  EXPECT_EQ(mol.atoms[0], (StructAtom{"Cl", -1000.1234f, -2.5f, -3.25f}));
  EXPECT_EQ(mol.atoms[120].symbol, "C");
  ASSERT_EQ(mol.bonds.size(), 121u);
  EXPECT_EQ(mol.bonds[119], PackBond(1, 2, 1));
  EXPECT_EQ(mol.bonds[120], PackBond(120, 121, 3));
  // A field value ends at its first carriage return.
  EXPECT_EQ(model.fields(), (std::vector<std::string>{"first"}));
}

TEST(MolReader, FreeFormLinesRead) {
  MolBuilder builder;
  builder.Atom("Carbon", 1.5, 2, 0);
  builder.Atom("O", 0, -1, 0);
  builder.Bond(1, 2, 2);
  CStructureModel model;
  ASSERT_EQ(LoadText(model, builder.Molfile({true, "\n"})).status, LoadStatus::Loaded);
  ASSERT_EQ(model.molecule().atoms.size(), 2u);
  // Symbols keep three bytes; y is stored negated.
  EXPECT_EQ(model.molecule().atoms[0], (StructAtom{"Car", 1.5f, -2.0f, 0.0f}));
  EXPECT_EQ(model.molecule().atoms[1].y, 1.0f);
  EXPECT_EQ(model.molecule().bonds, std::vector<BondWord>{PackBond(1, 2, 2)});

  // Tabs separate too; the symbol ends at the line's end.
  LoadText(model, "1\t1\n0\t0\t0\tN\n1 1 1\n");
  ASSERT_EQ(model.molecule().atoms.size(), 1u);
  EXPECT_EQ(model.molecule().atoms[0].symbol, "N");
  EXPECT_EQ(model.molecule().bonds.size(), 1u);
}

TEST(MolReader, TheExtendedFormReadsItsConnectionTable) {
  // Ethanol in the V3000 form: atom indexes need not run 1, 2, 3; a line may go on in the next.
  const std::string ethanol =
      "ethanol\n  -KEDRUS-  3D\n\n"
      "  0  0  0     0  0            999 V3000\n"
      "M  V30 BEGIN CTAB\n"
      "M  V30 COUNTS 3 2 0 0 0\n"
      "M  V30 BEGIN ATOM\n"
      "M  V30 1 C -0.0187 1.5258 0.0104 0\n"
      "M  V30 2 C 0.0021 -0.0041 0.0020 0\n"
      "M  V30 7 O 1.3580 -0.4659 -0.0046 0 CHG=0 -\n"
      "M  V30 MASS=16\n"
      "M  V30 8 C x y z 0\n"
      "M  V30 END ATOM\n"
      "M  V30 BEGIN BOND\n"
      "M  V30 1 1 1 2\n"
      "M  V30 2 1 2 7\n"
      "M  V30 3 1 2 99\n"
      "M  V30 END BOND\n"
      "M  V30 END CTAB\n"
      "M  END\n"
      ">  <NAME>\nethanol\n\n$$$$\n";
  CStructureModel model;
  ASSERT_EQ(LoadText(model, ethanol).status, LoadStatus::Loaded);
  const Molecule& mol = model.molecule();
  ASSERT_EQ(mol.atoms.size(), 3u);
  EXPECT_EQ(mol.atoms[0], (StructAtom{"C", -0.0187f, -1.5258f, 0.0104f}));
  EXPECT_EQ(mol.atoms[2].symbol, "O");
  EXPECT_EQ(mol.bonds, (std::vector<BondWord>{PackBond(1, 2, 1), PackBond(2, 3, 1)}));
  EXPECT_EQ(model.fields(), (std::vector<std::string>{"ethanol"}));

  // Only the first table counts; a table cut short keeps what it read.
  const std::string twice = ethanol.substr(0, ethanol.find("M  END")) +
                            "M  V30 BEGIN CTAB\nM  V30 BEGIN ATOM\nM  V30 1 N 0 0 0 0\nM  V30 END ATOM\nM  V30 END CTAB\n"
                            "M  END\n";
  ASSERT_EQ(LoadText(model, twice).status, LoadStatus::Loaded);
  EXPECT_EQ(model.molecule().atoms.size(), 3u);
  ASSERT_EQ(LoadText(model, ethanol.substr(0, ethanol.find("M  V30 2 1 2 7"))).status, LoadStatus::Loaded);
  EXPECT_EQ(model.molecule().atoms.size(), 3u);
  EXPECT_EQ(model.molecule().bonds.size(), 1u);
  ASSERT_EQ(LoadText(model, ethanol.substr(0, ethanol.find("M  V30 MASS"))).status, LoadStatus::Loaded);
  EXPECT_EQ(model.molecule().atoms.size(), 2u);  // the atom's line went on past the end
}

TEST(MolReader, BothFormsOfAnotherProgramsFileGiveTheSameMolecule) {
  CStructureModel extended, fixed;
  ASSERT_EQ(extended.LoadFile(STRUCTURE_TEST_DATA "/ethyl_acetate_v3000.sdf").status, LoadStatus::Loaded);
  ASSERT_EQ(fixed.LoadFile(STRUCTURE_TEST_DATA "/ethyl_acetate_v2000.sdf").status, LoadStatus::Loaded);
  const Molecule& a = extended.molecule();
  const Molecule& b = fixed.molecule();
  ASSERT_EQ(a.atoms.size(), 6u);
  ASSERT_EQ(a.atoms.size(), b.atoms.size());
  for (std::size_t i = 0; i < a.atoms.size(); ++i) {
    EXPECT_EQ(a.atoms[i].symbol, b.atoms[i].symbol) << i;
    EXPECT_NEAR(a.atoms[i].x, b.atoms[i].x, 1e-4) << i;  // the fixed form keeps four decimals
    EXPECT_NEAR(a.atoms[i].y, b.atoms[i].y, 1e-4) << i;
  }
  EXPECT_EQ(a.bonds, b.bonds);
  extended.SetShowFormula(true);
  extended.SetShowWeight(true);
  EXPECT_EQ(extended.fields(), (std::vector<std::string>{"C4H8O2", "88.11"}));
}

TEST(MolReader, HostileLinesAreSkippedAndCountsEndAtTheFile) {
  CStructureModel model;
  // Negative counts are no counts: the file has no molecule.
  EXPECT_EQ(LoadText(model, "-1 -2\n").status, LoadStatus::NoMolecule);
  // Counts far beyond the file (even beyond 64 bits) end with it.
  EXPECT_EQ(LoadText(model, "+99999999999999999999999 +4000000000\n0 0 0 C\n").status, LoadStatus::Loaded);
  EXPECT_EQ(model.molecule().atoms.size(), 1u);

  // Atom lines that do not read still count: not finite, too large for a float, no symbol.
  LoadText(model,
           "6 5\n"
           "nan 0 0 C\n"
           "0 inf 0 C\n"
           "0 0 1e39 C\n"
           "0 0 0\n"
           "0 0 0 C\n"
           "1 1 1 O\n"
           // Out of range, zero, a type beyond 4 bits, a sign: all dropped.
           "1 3 1\n"
           "0 1 1\n"
           "1 2 16\n"
           "1 -2 1\n"
           "2 1 4\n");
  ASSERT_EQ(model.molecule().atoms.size(), 2u);
  EXPECT_EQ(model.molecule().atoms[1].symbol, "O");
  EXPECT_EQ(model.molecule().bonds, std::vector<BondWord>{PackBond(2, 1, 4)});

  // Atom numbers beyond the bond word: the second number has 12 bits.
  std::string big = "5000 2\n";
  for (int i = 0; i < 5000; ++i) big += "0 0 0 C\n";
  big += "1 4096 1\n4096 4095 1\n";
  LoadText(model, big);
  EXPECT_EQ(model.molecule().atoms.size(), 5000u);
  EXPECT_EQ(model.molecule().bonds, std::vector<BondWord>{PackBond(4096, 4095, 1)});
}

TEST(MolReader, LongLinesAreReadWhole) {
  const std::string longText(100000, 'x');
  MolBuilder builder;
  builder.Atom("N");
  builder.Field("LONG", longText);
  // A title and an atom line far longer than any line buffer, within the longest line read.
  std::string text = builder.SdRecord();
  text.replace(0, text.find('\n'), std::string(kMaxMolfileLineBytes, 'T'));
  const std::size_t atomLine = text.find(" N ");
  text.insert(text.find('\n', atomLine), std::string(kMaxMolfileLineBytes - 200, ' '));
  CStructureModel model;
  ASSERT_EQ(LoadText(model, text).status, LoadStatus::Loaded);
  EXPECT_EQ(model.molecule().atoms.size(), 1u);
  EXPECT_EQ(model.fields(), std::vector<std::string>{longText});
}

TEST(MolReader, EveryTruncationLoadsAPrefixCleanly) {
  const std::string full = ThreeRecords();
  CStructureModel model;
  for (std::size_t n = 0; n <= full.size(); ++n) {
    LoadText(model, full.substr(0, n));
    ASSERT_LE(model.molecule().atoms.size(), 6u);
    ASSERT_LE(model.molecule().bonds.size(), 6u);
    ASSERT_LE(model.fields().size(), 6u);
  }
  EXPECT_EQ(model.fields().size(), 6u);
}

}  // namespace
}  // namespace karvel::test
