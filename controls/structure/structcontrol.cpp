#include "controls/structure/structcontrol.h"

#include "common/guids.h"
#include "common/shared_ids.h"
#include "controls/common/dcdraw.h"
#include "controls/module/karvel_ids.h"
#include "controls/pagebase/pagebase.h"
#include "controls/structure/formula.h"
#include "controls/structure/structlayout.h"
#include "foundation/profdesc.h"
#include "platform/base/text.h"
#include "profile/profile.h"
#include "platform/ui/commdlg.h"

namespace karvel {

using namespace plat::ole;

namespace {

const Guid kPropPages[] = {CLSID_StructPropPage, CLSID_FieldsPropPage};

}  // namespace

const DispInterfaceDesc& CStructureControl::Dispatch() {
  using C = CStructureControl;
  static constexpr DispEntry kMembers[] = {
      dispProperty<&C::GetShowWeight, &C::SetShowWeight>("ShowWeight", 1, DispType::Bool),
      dispProperty<&C::GetShowFormula, &C::SetShowFormula>("ShowFormula", 2, DispType::Bool),
      dispProperty<&C::GetHollow, &C::SetHollow>("Hollow", 3, DispType::Bool),
      dispProperty<&C::GetFieldsCols, &C::SetFieldsCols>("FieldsCols", 4, DispType::I4),
      dispProperty<&C::GetFieldsTextFont, &C::SetFieldsTextFont>("FieldsTextFont", 5, DispType::Font),
      dispProperty<&C::GetFieldsTextColor, &C::SetFieldsTextColor>("FieldsTextColor", 6, DispType::Color),
      dispProperty<&C::GetFieldsLineWidth, &C::SetFieldsLineWidth>("FieldsLineWidth", 7, DispType::I4),
      dispProperty<&C::GetFieldsLineColor, &C::SetFieldsLineColor>("FieldsLineColor", 8, DispType::Color),
      dispProperty<&C::GetStructTextFont, &C::SetStructTextFont>("StructTextFont", 9, DispType::Font),
      dispProperty<&C::GetStructTextColor, &C::SetStructTextColor>("StructTextColor", 10, DispType::Color),
      dispProperty<&C::GetStructLineWidth, &C::SetStructLineWidth>("StructLineWidth", 11, DispType::I4),
      dispProperty<&C::GetStructLineColor, &C::SetStructLineColor>("StructLineColor", 12, DispType::Color),
      dispProperty<&C::GetBackColorProperty, &C::SetBackColorProperty>("BackColor", 13, DispType::Color, kDispDefault),
      dispMethod<&C::LoadFile>("LoadFile", kedrus_dispid::kStructureLoadFile, DispType::Error,
                               {{"pszFileName", DispType::Bstr}}),
      dispMethod<&C::AboutBox>("AboutBox", DISPID_ABOUTBOX, DispType::Void),
  };
  static constexpr DispInterfaceDesc kDesc{"_DStructureControl", &DIID__DStructureControl,
                                           "Dispatch interface for Structure Control", kMembers};
  return kDesc;
}

const DispInterfaceDesc& CStructureControl::Events() {
  static constexpr DispInterfaceDesc kDesc{"_DStructureEvents", &DIID__DStructureEvents,
                                           "Event interface for Structure Control", {}};
  return kDesc;
}

const CoClassDesc& CStructureControl::CoClass() {
  static const CoClassDesc kDesc{"StructureControl", &CLSID_StructureControl, "Structure Control", &Dispatch(),
                                 &Events()};
  return kDesc;
}

CStructureControl::CStructureControl() : CDocumentControl(CoClass(), kStructureTypeName, kPropPages) {
  // The defaults the "Structure" page's "Set As Default" wrote, by property name.
  COrvProfDesc defaults(nullptr, u"Structure\\Properties");
  if (defaults.Open(PROF_MODE_OPEN) == PROF_OK) LoadDispatchProperties(GetIDispatch(false), &defaults);
}

CStructureControl::~CStructureControl() = default;

void CStructureControl::Serialize(plat::Archive& ar) {
  OleControl::Serialize(ar);
  m_model.Serialize(ar);
  if (ar.isLoading()) InvalidateControl();
}

void CStructureControl::OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect&) {
  const std::int32_t zoom = Zoom();
  if (IsInPlaceActive()) dc->FillSolidRect(bounds, 0xFFFFFF);
  const int saved = dc->SaveDC();
  DcTextMeasure measure(*dc);
  const StructurePicture picture = LayoutStructure(m_model, FromGdi(bounds), DeviceOf(*dc, zoom), measure);
  dc->SetBkMode(gdi::TRANSPARENT);
  // The frame, filled unless hollow.
  dc->SelectObject(gdi::Pen(picture.fieldsPen));
  if (picture.filled) dc->SelectObject(gdi::Brush(picture.background));
  else dc->SelectStockObject(gdi::HOLLOW_BRUSH);
  dc->Rectangle(ToGdi(picture.frame));
  // The skeleton and its labels.
  dc->SelectObject(gdi::Pen(picture.structPen));
  DrawLines(*dc, picture.bonds);
  DrawTexts(*dc, picture.labels);
  // The field table.
  dc->SelectObject(gdi::Pen(picture.fieldsPen));
  DrawLines(*dc, picture.fieldTable.lines);
  DrawTexts(*dc, picture.fieldTable.texts);
  dc->RestoreDC(saved);
}

void CStructureControl::ReportUnknownAtoms(std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) ui::AppMessageBox(kAtomNotFoundMessage);
}

void CStructureControl::Changed() {
  SetModifiedFlag();
  InvalidateControl();
}

void CStructureControl::SetShowWeight(bool on) {
  ReportUnknownAtoms(m_model.SetShowWeight(on));
  Changed();
}

void CStructureControl::SetShowFormula(bool on) {
  ReportUnknownAtoms(m_model.SetShowFormula(on));
  Changed();
}

void CStructureControl::SetHollow(bool on) {
  m_model.SetHollow(on);
  InvalidateControl();
}

void CStructureControl::SetFieldsCols(std::int32_t columns) {
  m_model.SetFieldsCols(columns);
  InvalidateControl();
}

void CStructureControl::SetFieldsTextFont(IDispatch* font) {
  m_fieldsFontObject.CopyFrom(font);
  InvalidateControl();
}

void CStructureControl::SetStructTextFont(IDispatch* font) {
  m_structFontObject.CopyFrom(font);
  InvalidateControl();
}

// An OLE_COLOR may name a system colour; the model keeps the colour it stands for.
void CStructureControl::SetFieldsTextColor(std::uint32_t color) {
  m_model.SetFieldsTextColor(translateColor(color));
  InvalidateControl();
}

void CStructureControl::SetFieldsLineWidth(std::int32_t width) {
  m_model.SetFieldsLineWidth(width);
  InvalidateControl();
}

void CStructureControl::SetFieldsLineColor(std::uint32_t color) {
  m_model.SetFieldsLineColor(translateColor(color));
  InvalidateControl();
}

void CStructureControl::SetStructTextColor(std::uint32_t color) {
  m_model.SetStructTextColor(translateColor(color));
  InvalidateControl();
}

void CStructureControl::SetStructLineWidth(std::int32_t width) {
  m_model.SetStructLineWidth(width);
  InvalidateControl();
}

void CStructureControl::SetStructLineColor(std::uint32_t color) {
  m_model.SetStructLineColor(translateColor(color));
  InvalidateControl();
}

void CStructureControl::SetBackColorProperty(std::uint32_t color) {
  m_model.SetBackColor(translateColor(color));
  InvalidateControl();
}

HResult CStructureControl::LoadFile(const char16_t* path) {
  const std::string file = plat::toUtf8(stringView(path));
  const CStructureModel::LoadReport report = m_model.LoadFile(file);
  if (report.status == CStructureModel::LoadStatus::NotOpened) return E_FAIL;
  if (report.status == CStructureModel::LoadStatus::TooLong) {
    Changed();
    ui::AppMessageBox("The structure file " + file + " was not loaded: its line " + std::to_string(report.tooLongLine) +
                          " is longer than 1 MB, the longest line a structure file may hold.",
                      ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return E_FAIL;
  }
  ReportUnknownAtoms(report.unknownAtoms);
  Changed();
  return report.status == CStructureModel::LoadStatus::Loaded ? S_OK : E_FAIL;
}

}  // namespace karvel
