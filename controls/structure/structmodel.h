#pragma once
// CStructureModel: everything the structure control keeps but its site and font objects: the
// molecule, the data fields shown below it, and the appearance its properties set. The control
// forwards its automation properties, LoadFile and Serialize here, shows one "Atom is not
// found!" message per unknown atom that an operation reports, and draws what
// LayoutStructure (structlayout.h) computes from this model.
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "controls/common/gdirecords.h"
#include "controls/structure/molecule.h"

namespace plat {
class Archive;
}

namespace karvel {

class CStructureModel {
 public:
  enum class LoadStatus {
    NotOpened,   // E_FAIL, not redrawn
    NoMolecule,  // no counts line: E_FAIL, but the formula and weight fields are still added
    TooLong,     // a line beyond kMaxMolfileLineBytes: E_FAIL, the control emptied and the user told
    Loaded,      // S_OK
  };
  struct LoadReport {
    LoadStatus status = LoadStatus::NotOpened;
    std::size_t unknownAtoms = 0;
    std::uint64_t tooLongLine = 0;  // TooLong: the line's number
  };

  CStructureModel();

  // Replaces molecule and fields by the first molecule and all field values of the file (see
  // molreader.h), then adds the formula and weight fields that are switched on. Fields, atoms and
  // bonds are cleared also when the file cannot be opened.
  LoadReport LoadFile(const std::string& path);
  // The same for input already open.
  LoadReport LoadStream(std::istream& in);

  // The ShowFormula and ShowWeight puts: the first field equal to the current text is removed,
  // and with the flag on the text is appended as the last field. They return the number of
  // unknown atoms met while computing the texts.
  std::size_t SetShowFormula(bool on);
  std::size_t SetShowWeight(bool on);
  bool ShowFormula() const { return m_showFormula; }
  bool ShowWeight() const { return m_showWeight; }

  // At least 1: smaller values are stored as 1.
  void SetFieldsCols(std::int32_t columns);
  std::int32_t FieldsCols() const { return m_fieldsCols; }
  // Also sets the background brush's style, as each drawing does.
  void SetHollow(bool on);
  bool Hollow() const { return m_hollow; }

  gdi::COLORREF BackColor() const { return m_background.lbColor; }
  void SetBackColor(gdi::COLORREF color) { m_background.lbColor = color; }
  std::int32_t StructLineWidth() const { return m_structPen.lopnWidth.x; }
  void SetStructLineWidth(std::int32_t width) { m_structPen.lopnWidth.x = m_structPen.lopnWidth.y = width; }
  gdi::COLORREF StructLineColor() const { return m_structPen.lopnColor; }
  void SetStructLineColor(gdi::COLORREF color) { m_structPen.lopnColor = color; }
  std::int32_t FieldsLineWidth() const { return m_fieldsPen.lopnWidth.x; }
  void SetFieldsLineWidth(std::int32_t width) { m_fieldsPen.lopnWidth.x = m_fieldsPen.lopnWidth.y = width; }
  gdi::COLORREF FieldsLineColor() const { return m_fieldsPen.lopnColor; }
  void SetFieldsLineColor(gdi::COLORREF color) { m_fieldsPen.lopnColor = color; }
  gdi::COLORREF StructTextColor() const { return m_structTextColor; }
  void SetStructTextColor(gdi::COLORREF color) { m_structTextColor = color; }
  gdi::COLORREF FieldsTextColor() const { return m_fieldsTextColor; }
  void SetFieldsTextColor(gdi::COLORREF color) { m_fieldsTextColor = color; }
  // The records the font objects are bound to.
  gdi::LOGFONTA& StructFont() { return m_structFont; }
  const gdi::LOGFONTA& StructFont() const { return m_structFont; }
  gdi::LOGFONTA& FieldsFont() { return m_fieldsFont; }
  const gdi::LOGFONTA& FieldsFont() const { return m_fieldsFont; }
  const gdi::LOGBRUSH& Background() const { return m_background; }
  const gdi::LOGPEN& StructPen() const { return m_structPen; }
  const gdi::LOGPEN& FieldsPen() const { return m_fieldsPen; }

  const Molecule& molecule() const { return m_molecule; }
  const std::vector<std::string>& fields() const { return m_fields; }

  // The control's archive form after the class library's control state: atoms, the drawing
  // records, the flags, the fields and the bonds. The fields pen is no part of it. Loading
  // checks every count and length and throws plat::ArchiveError on a short or corrupt archive,
  // leaving the model as it was; bonds that do not fit the atoms are dropped, symbols cut to 3
  // bytes and coordinates that are not finite read as 0.
  void Serialize(plat::Archive& ar);

 private:
  std::size_t ToggleField(bool on, bool formula);
  std::size_t AppendShownTexts();

  Molecule m_molecule;
  gdi::LOGBRUSH m_background;
  gdi::LOGPEN m_structPen;
  gdi::LOGPEN m_fieldsPen;
  gdi::LOGFONTA m_structFont;
  gdi::LOGFONTA m_fieldsFont;
  gdi::COLORREF m_structTextColor = 0;
  gdi::COLORREF m_fieldsTextColor = 0;
  std::vector<std::string> m_fields;
  std::int32_t m_fieldsCols = 3;
  bool m_hollow = true;
  bool m_showFormula = false;
  bool m_showWeight = false;
};

}  // namespace karvel
