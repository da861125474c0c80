// Formula and weight of molfiles from methane to 124 atoms, against formulas worked out by hand
// and weights summed here from a table of standard atomic weights.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <functional>
#include <map>

#include "controls/structure/tests/molbuilder.h"
#include "controls/structure/tests/testmodel.h"

namespace karvel::test {
namespace {

// Standard atomic weights, in the precision the program states them.
const std::map<std::string, double> kAtomicWeight = {
    {"H", 1.00794},   {"Li", 6.941},    {"B", 10.81},   {"C", 12.011},   {"N", 14.0067},  {"O", 15.999},
    {"F", 18.998403}, {"Na", 22.98977}, {"Si", 28.085}, {"P", 30.97376}, {"S", 32.06},    {"Cl", 35.453},
    {"K", 39.0983},   {"As", 74.9216},  {"Se", 78.96},  {"Br", 79.904},  {"I", 126.9045},
};

// Sums element x count over a formula such as "C2H6O".
std::string HandWeight(const std::string& formula) {
  double sum = 0;
  for (std::size_t i = 0; i < formula.size();) {
    std::size_t end = i + 1;
    while (end < formula.size() && std::islower(static_cast<unsigned char>(formula[end]))) ++end;
    const std::string symbol = formula.substr(i, end - i);
    int count = 0;
    for (i = end; i < formula.size() && std::isdigit(static_cast<unsigned char>(formula[i])); ++i)
      count = count * 10 + (formula[i] - '0');
    sum += kAtomicWeight.at(symbol) * (count ? count : 1);
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", sum);
  return text;
}

struct Molecule {
  const char* name;
  std::function<void(MolBuilder&)> build;
  const char* formula;
};

// Methyl groups on atom a, bonded by single bonds.
void Methyls(MolBuilder& m, int a, int n) {
  for (int i = 0; i < n; ++i) m.Bond(a, m.Atom("C", i, 1), 1);
}

// 124 atoms: a 110-carbon chain between a phenyl ring (aromatic) and a nitrile (triple bond),
// with a ketone (double bond), a chlorine, a 13C and a quaternary ammonium group (charge +1).
void LongChain(MolBuilder& m) {
  const std::vector<int> ring = m.Ring(6, false);
  const std::vector<int> chain = m.Chain(110);
  m.Bond(ring[0], chain[0], 1);
  const int nitrileC = m.Atom("C"), nitrileN = m.Atom("N");
  m.Bond(chain[109], nitrileC, 1);
  m.Bond(nitrileC, nitrileN, 3);
  m.Bond(chain[54], m.Atom("O"), 2);
  m.Bond(chain[29], m.Atom("Cl"), 1);
  m.Isotope(chain[19], 13);
  const int ammonium = m.Atom("N");
  m.Charge(ammonium, 1);
  m.Bond(chain[79], ammonium, 1);
  Methyls(m, ammonium, 3);
}

const Molecule kMolecules[] = {
    {"methane", [](MolBuilder& m) { m.Atom("C"); }, "CH4"},
    {"ethanol", [](MolBuilder& m) { m.Bond(m.Atom("C"), m.Atom("C"), 1), m.Bond(2, m.Atom("O"), 1); }, "C2H6O"},
    {"benzene, alternating bonds", [](MolBuilder& m) { m.Ring(6, true); }, "C6H6"},
    {"benzene, aromatic bonds", [](MolBuilder& m) { m.Ring(6, false); }, "C6H6"},
    {"pyridine",
     [](MolBuilder& m) {
       m.Ring({"C", "C", "C", "C", "C", "N"}, false);
     },
     "C5H5N"},
    {"naphthalene",
     [](MolBuilder& m) {
       const std::vector<int> a = m.Ring(6, false);
       const int c[4] = {m.Atom("C"), m.Atom("C"), m.Atom("C"), m.Atom("C")};
       m.Bond(a[0], c[0], 4), m.Bond(c[0], c[1], 4), m.Bond(c[1], c[2], 4), m.Bond(c[2], c[3], 4),
           m.Bond(c[3], a[1], 4);
     },
     "C10H8"},
    {"acetonitrile", [](MolBuilder& m) { m.Bond(m.Atom("C"), m.Atom("C"), 1), m.Bond(2, m.Atom("N"), 3); }, "C2H3N"},
    {"triphenylphosphine",
     [](MolBuilder& m) {
       const int p = m.Atom("P");
       for (int i = 0; i < 3; ++i) m.Bond(p, m.Ring(6, false)[0], 1);
     },
     "C18H15P"},
    {"trimethyl phosphate",
     [](MolBuilder& m) {
       const int p = m.Atom("P");
       m.Bond(p, m.Atom("O"), 2);
       for (int i = 0; i < 3; ++i) {
         const int o = m.Atom("O");
         m.Bond(p, o, 1);
         m.Bond(o, m.Atom("C"), 1);
       }
     },
     "C3H9O4P"},
    {"phosphine", [](MolBuilder& m) { m.Atom("P"); }, "H3P"},
    {"tetramethylsilane", [](MolBuilder& m) { Methyls(m, m.Atom("Si"), 4); }, "C4H12Si"},
    {"dimethyl selenide", [](MolBuilder& m) { Methyls(m, m.Atom("Se"), 2); }, "C2H6Se"},
    {"dimethyl sulfide", [](MolBuilder& m) { Methyls(m, m.Atom("S"), 2); }, "C2H6S"},
    {"trimethylarsine", [](MolBuilder& m) { Methyls(m, m.Atom("As"), 3); }, "C3H9As"},
    {"trimethylborane", [](MolBuilder& m) { Methyls(m, m.Atom("B"), 3); }, "C3H9B"},
    {"methyllithium", [](MolBuilder& m) { Methyls(m, m.Atom("Li"), 1); }, "CH3Li"},
    {"sodium methoxide",
     [](MolBuilder& m) {
       const int na = m.Atom("Na"), o = m.Atom("O");
       m.Bond(na, o, 1);
       Methyls(m, o, 1);
     },
     "CH3NaO"},
    {"potassium fluoride", [](MolBuilder& m) { m.Bond(m.Atom("K"), m.Atom("F"), 1); }, "FK"},
    {"bromofluoroiodomethane",
     [](MolBuilder& m) {
       const int c = m.Atom("C");
       for (const char* x : {"Br", "F", "I"}) m.Bond(c, m.Atom(x), 1);
     },
     "CHBrFI"},
    {"chloromethane in lower case", [](MolBuilder& m) { m.Bond(m.Atom("C"), m.Atom("cl"), 1); }, "CH3Cl"},
    // Charges change nothing: the acetate ion counts as acetic acid.
    {"acetate",
     [](MolBuilder& m) {
       const int c = m.Atom("C");
       Methyls(m, c, 1);
       m.Bond(c, m.Atom("O"), 2);
       const int o = m.Atom("O");
       m.Bond(c, o, 1);
       m.Charge(o, -1);
     },
     "C2H4O2"},
    {"124 atoms", LongChain, "C120H230ClN2O"},
};

TEST(StructureFormula, MolfilesGiveTheHandFormulaAndWeight) {
  for (const Molecule& mol : kMolecules) {
    SCOPED_TRACE(mol.name);
    MolBuilder builder;
    mol.build(builder);
    CStructureModel model;
    model.SetShowFormula(true);
    model.SetShowWeight(true);
    const CStructureModel::LoadReport report = LoadText(model, builder.Molfile());
    EXPECT_EQ(report.status, CStructureModel::LoadStatus::Loaded);
    EXPECT_EQ(report.unknownAtoms, 0u);
    ASSERT_EQ(model.molecule().atoms.size(), builder.AtomCount());
    ASSERT_EQ(model.fields().size(), 2u);
    EXPECT_EQ(model.fields()[0], mol.formula);
    EXPECT_EQ(model.fields()[1], HandWeight(mol.formula));
  }
}

TEST(StructureFormula, UnknownSymbolsAreLeftOutAndReported) {
  MolBuilder builder;
  const int c = builder.Atom("C"), o = builder.Atom("O");
  builder.Bond(c, o, 1);
  builder.Bond(o, builder.Atom("Xx"), 1);
  builder.Atom("Zz");
  CStructureModel model;
  EXPECT_EQ(LoadText(model, builder.Molfile()).unknownAtoms, 2u);
  // Each put computes the texts again and meets the unknown atoms again.
  EXPECT_EQ(model.SetShowFormula(true), 2u);
  EXPECT_EQ(model.fields().back(), "CH3O");
}

TEST(StructureFormula, ShownTextsAreOneFieldEachAfterTheFileFields) {
  MolBuilder builder;
  builder.Ring(6, true);
  builder.Field("NAME", "benzene");
  CStructureModel model;
  LoadText(model, builder.SdRecord());
  model.SetShowFormula(true);
  model.SetShowWeight(true);
  model.SetShowFormula(true);
  EXPECT_EQ(model.fields(), (std::vector<std::string>{"benzene", "78.11", "C6H6"}));
  model.SetShowWeight(false);
  EXPECT_EQ(model.fields(), (std::vector<std::string>{"benzene", "C6H6"}));
  EXPECT_TRUE(model.ShowFormula());
  EXPECT_FALSE(model.ShowWeight());

  // A file without a counts line fails, but the switched-on texts still become fields.
  model.SetShowWeight(true);
  EXPECT_EQ(LoadText(model, "no\nnumbers\nhere\n").status, CStructureModel::LoadStatus::NoMolecule);
  EXPECT_EQ(model.fields(), (std::vector<std::string>{"", "0.00"}));
}

}  // namespace
}  // namespace karvel::test
