#pragma once
// CStructureControl: the structure control (coclass StructureControl, CLSID_StructureControl):
// the first molecule of a molfile or SD file drawn as a skeleton, with a table of data fields
// below it (the file's field values and, on request, the formula and the molecular weight).
// Everything it keeps is its model (structmodel.h); the control adds the automation
// properties, LoadFile, the archive form after the control state, the container's zoom and the
// "Atom is not found!" messages.
//
// Appearance puts (colours, widths, fonts, Hollow, FieldsCols) redraw without marking the
// control modified; ShowFormula, ShowWeight and LoadFile mark it.
#include "controls/font/olefont.h"
#include "controls/structure/structmodel.h"
#include "controls/base/documentcontrol.h"

namespace karvel {

class CStructureControl : public CDocumentControl {
 public:
  CStructureControl();
  ~CStructureControl() override;

  static const plat::ole::DispInterfaceDesc& Dispatch();
  static const plat::ole::DispInterfaceDesc& Events();
  static const plat::ole::CoClassDesc& CoClass();

  void Serialize(plat::Archive& ar) override;
  void OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect& invalid) override;

  // ---- Properties and methods (the dispatch table's handlers) ----
  bool GetShowWeight() { return m_model.ShowWeight(); }
  void SetShowWeight(bool on);
  bool GetShowFormula() { return m_model.ShowFormula(); }
  void SetShowFormula(bool on);
  bool GetHollow() { return m_model.Hollow(); }
  void SetHollow(bool on);
  std::int32_t GetFieldsCols() { return m_model.FieldsCols(); }
  void SetFieldsCols(std::int32_t columns);
  plat::ole::IDispatch* GetFieldsTextFont() { return m_fieldsFontObject.GetIDispatch(true); }
  void SetFieldsTextFont(plat::ole::IDispatch* font);
  std::uint32_t GetFieldsTextColor() { return m_model.FieldsTextColor(); }
  void SetFieldsTextColor(std::uint32_t color);
  std::int32_t GetFieldsLineWidth() { return m_model.FieldsLineWidth(); }
  void SetFieldsLineWidth(std::int32_t width);
  std::uint32_t GetFieldsLineColor() { return m_model.FieldsLineColor(); }
  void SetFieldsLineColor(std::uint32_t color);
  plat::ole::IDispatch* GetStructTextFont() { return m_structFontObject.GetIDispatch(true); }
  void SetStructTextFont(plat::ole::IDispatch* font);
  std::uint32_t GetStructTextColor() { return m_model.StructTextColor(); }
  void SetStructTextColor(std::uint32_t color);
  std::int32_t GetStructLineWidth() { return m_model.StructLineWidth(); }
  void SetStructLineWidth(std::int32_t width);
  std::uint32_t GetStructLineColor() { return m_model.StructLineColor(); }
  void SetStructLineColor(std::uint32_t color);
  std::uint32_t GetBackColorProperty() { return m_model.BackColor(); }
  void SetBackColorProperty(std::uint32_t color);
  plat::ole::HResult LoadFile(const char16_t* path);
  void AboutBox() {}

  const CStructureModel& Model() const { return m_model; }

 private:
  // One "Atom is not found!" message per unknown atom.
  void ReportUnknownAtoms(std::size_t count);
  void Changed();

  CStructureModel m_model;
  COleFont m_structFontObject{&m_model.StructFont()};
  COleFont m_fieldsFontObject{&m_model.FieldsFont()};
};

}  // namespace karvel
