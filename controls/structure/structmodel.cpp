#include "controls/structure/structmodel.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>

#include "controls/common/archiveforms.h"
#include "controls/structure/formula.h"
#include "controls/structure/molreader.h"
#include "platform/archive/archive.h"
#include "platform/base/file.h"

namespace karvel {

namespace {

// x, y, z and at least a one-byte symbol length.
constexpr std::uint64_t kMinAtomBytes = 13;

float FiniteOrZero(float v) { return std::isfinite(v) ? v : 0.0f; }

}  // namespace

CStructureModel::CStructureModel()
    : m_background(DefaultBackgroundBrush()),
      m_structPen(SolidPen(20)),
      m_fieldsPen(SolidPen(20)),
      m_structFont(DefaultControlFont()),
      m_fieldsFont(DefaultControlFont()) {}

CStructureModel::LoadReport CStructureModel::LoadFile(const std::string& path) {
  std::ifstream in;
  if (plat::isRegularFile(path)) in.open(path, std::ios::binary);
  if (!in.is_open()) {
    m_fields.clear();
    m_molecule = Molecule();
    return LoadReport{LoadStatus::NotOpened, 0};
  }
  return LoadStream(in);
}

CStructureModel::LoadReport CStructureModel::LoadStream(std::istream& in) {
  MolfileContent content = ReadMolfile(in);
  m_molecule = std::move(content.molecule);
  m_fields = std::move(content.fields);
  if (content.tooLongLine != 0) return LoadReport{LoadStatus::TooLong, 0, content.tooLongLine};
  LoadReport report;
  report.status = content.hasCountsLine ? LoadStatus::Loaded : LoadStatus::NoMolecule;
  report.unknownAtoms = AppendShownTexts();
  return report;
}

std::size_t CStructureModel::AppendShownTexts() {
  const FormulaWeight texts = CalcFormulaWeight(m_molecule);
  if (m_showFormula) m_fields.push_back(texts.formula);
  if (m_showWeight) m_fields.push_back(texts.weight);
  return texts.unknownAtoms;
}

std::size_t CStructureModel::SetShowFormula(bool on) { return ToggleField(on, true); }
std::size_t CStructureModel::SetShowWeight(bool on) { return ToggleField(on, false); }

std::size_t CStructureModel::ToggleField(bool on, bool formula) {
  const FormulaWeight texts = CalcFormulaWeight(m_molecule);
  const std::string& text = formula ? texts.formula : texts.weight;
  const auto found = std::find(m_fields.begin(), m_fields.end(), text);
  if (found != m_fields.end()) m_fields.erase(found);
  (formula ? m_showFormula : m_showWeight) = on;
  if (on) m_fields.push_back(text);
  return texts.unknownAtoms;
}

void CStructureModel::SetHollow(bool on) {
  m_hollow = on;
  m_background.lbStyle = on ? gdi::BS_HOLLOW : gdi::BS_SOLID;
}

void CStructureModel::SetFieldsCols(std::int32_t columns) { m_fieldsCols = std::max<std::int32_t>(columns, 1); }

void CStructureModel::Serialize(plat::Archive& ar) {
  if (ar.isStoring()) {
    ar.writeI32(static_cast<std::int32_t>(m_molecule.atoms.size()));
    for (const StructAtom& a : m_molecule.atoms) {
      ar.writeF32(a.x);
      ar.writeF32(a.y);
      ar.writeF32(a.z);
      ar.writeString(a.symbol);
    }
    WriteLogBrush(ar, m_background);
    WriteLogPen(ar, m_structPen);
    WriteLogFont(ar, m_structFont);
    WriteLogFont(ar, m_fieldsFont);
    ar.writeI32(m_fieldsCols);
    ar.writeU32(m_fieldsTextColor);
    ar.writeU32(m_structTextColor);
    ar.writeI32(m_hollow ? 1 : 0);
    ar.writeI32(m_showFormula ? 1 : 0);
    ar.writeI32(m_showWeight ? 1 : 0);
    WriteStringArray(ar, m_fields);
    WriteDWordArray(ar, m_molecule.bonds);
    return;
  }

  // Read aside and taken over only when the whole form has read.
  Molecule mol;
  const std::uint32_t atomCount = ar.readCount(std::numeric_limits<std::int32_t>::max(), kMinAtomBytes);
  mol.atoms.reserve(atomCount);
  for (std::uint32_t i = 0; i < atomCount; ++i) {
    StructAtom a;
    a.x = FiniteOrZero(ar.readF32());
    a.y = FiniteOrZero(ar.readF32());
    a.z = FiniteOrZero(ar.readF32());
    a.symbol = std::string(CutUtf8(ar.readString(), kMaxSymbolBytes));
    mol.atoms.push_back(std::move(a));
  }
  const gdi::LOGBRUSH background = ReadLogBrush(ar);
  const gdi::LOGPEN structPen = ReadLogPen(ar);
  const gdi::LOGFONTA structFont = ReadLogFont(ar);
  const gdi::LOGFONTA fieldsFont = ReadLogFont(ar);
  const std::int32_t fieldsCols = ar.readI32();
  const gdi::COLORREF fieldsTextColor = ar.readU32();
  const gdi::COLORREF structTextColor = ar.readU32();
  const bool hollow = ar.readI32() != 0;
  const bool showFormula = ar.readI32() != 0;
  const bool showWeight = ar.readI32() != 0;
  std::vector<std::string> fields = ReadStringArray(ar);
  for (const BondWord w : ReadDWordArray(ar))
    if (BondWordFits(w, mol.atoms.size())) mol.bonds.push_back(w);

  m_molecule = std::move(mol);
  m_background = background;
  m_structPen = structPen;
  m_structFont = structFont;
  m_fieldsFont = fieldsFont;
  SetFieldsCols(fieldsCols);
  m_fieldsTextColor = fieldsTextColor;
  m_structTextColor = structTextColor;
  SetHollow(hollow);
  m_showFormula = showFormula;
  m_showWeight = showWeight;
  m_fields = std::move(fields);
}

}  // namespace karvel
