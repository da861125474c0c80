#include "controls/table/tablecontrol.h"

#include "common/guids.h"
#include "common/shared_ids.h"
#include "controls/common/dcdraw.h"
#include "controls/module/karvel_ids.h"
#include "controls/table/tablelayout.h"
#include "platform/base/text.h"

namespace karvel {

using namespace plat::ole;

namespace {

const Guid kPropPages[] = {CLSID_TablePropPage1, CLSID_TablePropPage2};

HResult Result(bool ok) { return ok ? S_OK : E_FAIL; }

}  // namespace

const ComObject::InterfaceEntry CTableControl::kEntries[] = {
    interfaceEntry<ITableControl, &CTableControl::m_xTableControl>(IID_ITableControl)};
const ComObject::InterfaceMap CTableControl::kMap{&OleControl::kInterfaceMap, kEntries};

const DispInterfaceDesc& CTableControl::Dispatch() {
  static constexpr DispEntry kMembers[] = {
      dispMethod<&CTableControl::AboutBox>("AboutBox", DISPID_ABOUTBOX, DispType::Void),
  };
  static constexpr DispInterfaceDesc kDesc{"_DTableControl", &DIID__DTableControl,
                                           "Dispatch interface for Table Control", kMembers};
  return kDesc;
}

const DispInterfaceDesc& CTableControl::Events() {
  static constexpr DispInterfaceDesc kDesc{"_DTableEvents", &DIID__DTableEvents, "Event interface for Table Control",
                                           {}};
  return kDesc;
}

const CoClassDesc& CTableControl::CoClass() {
  static const CoClassDesc kDesc{"TableControl", &CLSID_TableControl, "Table Control", &Dispatch(), &Events()};
  return kDesc;
}

CTableControl::CTableControl() : CDocumentControl(CoClass(), kTableTypeName, kPropPages) {}

CTableControl::~CTableControl() { DropCellFonts(); }

void CTableControl::OnClose(plat::DWord saveOption) {
  Attach(nullptr, false);
  CDocumentControl::OnClose(saveOption);
}

void CTableControl::Serialize(plat::Archive& ar) {
  OleControl::Serialize(ar);
  // A load replaces the cells only when the whole form reads (else it throws, nothing changed).
  m_model.Serialize(ar);
  if (ar.isLoading()) {
    DropCellFonts();
    InvalidateControl();
  }
}

void CTableControl::Attach(ISpectrumControl* spectrum, bool loadDefaults) {
  // The new spectrum is held before the old one is let go.
  if (spectrum) spectrum->AddRef();
  std::shared_ptr<CSpectrumLink> link = spectrum ? std::make_shared<CSpectrumLink>(spectrum) : nullptr;
  m_link = link;
  if (!link) {
    m_model.DetachSpectrum();
  } else if (loadDefaults) {
    DropCellFonts();
    m_model.AttachSpectrum(link);
  } else {
    m_model.LinkSpectrum(link);
  }
}

void CTableControl::FindSpectrum() {
  IOrvClientSite* site = Site();
  if (m_link || !site) return;
  IUnknown* object = nullptr;
  for (SaItemRecord* record = site->GetFirstItem(&object); record; record = site->GetNextItem(record, &object)) {
    if (record->type != ItemTypeSpectrum || record->subtype != ItemFromFile || !object) continue;
    ISpectrumControl* spectrum = nullptr;
    if (succeeded(object->QueryInterface(IID_ISpectrumControl, reinterpret_cast<void**>(&spectrum))) && spectrum) {
      Attach(spectrum, false);
      spectrum->Release();
    }
    return;
  }
}

void CTableControl::OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect&) {
  const std::int32_t zoom = Zoom();
  FindSpectrum();
  if (IsInPlaceActive()) dc->FillSolidRect(bounds, 0xFFFFFF);
  const int saved = dc->SaveDC();
  DcTextMeasure measure(*dc);
  const TablePicture picture = LayoutTable(m_model, FromGdi(bounds), DeviceOf(*dc, zoom), measure);
  dc->SelectObject(gdi::Brush(m_model.Background()));
  dc->SelectObject(gdi::Pen(picture.gridPen));
  dc->SetBkMode(gdi::TRANSPARENT);
  DrawLines(*dc, picture.grid.lines);
  DrawTexts(*dc, picture.grid.texts);
  dc->RestoreDC(saved);
}

void CTableControl::DropCellFonts() {
  for (auto& [record, font] : m_cellFonts) {
    font->SetLogFont(nullptr);
    font->Release();
  }
  m_cellFonts.clear();
}

IDispatch* CTableControl::CellFontObject(std::uint32_t column, std::uint32_t row) {
  gdi::LOGFONTA* record = m_model.CellFont(column, row);
  if (!record) return nullptr;
  COleFont*& font = m_cellFonts[record];
  if (!font) font = new COleFont(record);
  return font->GetIDispatch(false);
}

// ---- ITableControl ------------------------------------------------------------------------------

HResult CTableControl::XTableControl::AttachSpectrum(ISpectrumControl* spectrum) {
  CTableControl& self = outer<CTableControl>();
  self.Attach(spectrum, true);
  self.InvalidateControl();
  return S_OK;
}

HResult CTableControl::XTableControl::GetSpectrum(ISpectrumControl** spectrum) {
  if (!spectrum) return E_POINTER;
  const CTableControl& self = outer<CTableControl>();
  *spectrum = self.m_link ? self.m_link->Control() : nullptr;
  return *spectrum ? S_OK : E_FAIL;
}

HResult CTableControl::XTableControl::SetTableSize(std::uint32_t columns, std::uint32_t rows) {
  CTableControl& self = outer<CTableControl>();
  if (!self.m_model.SetTableSize(columns, rows)) return E_FAIL;
  self.InvalidateControl();
  return S_OK;
}

HResult CTableControl::XTableControl::GetTableSize(std::uint32_t* columns, std::uint32_t* rows) {
  if (!columns || !rows) return E_POINTER;
  *columns = outer<CTableControl>().m_model.Columns();
  *rows = outer<CTableControl>().m_model.Rows();
  return S_OK;
}

HResult CTableControl::XTableControl::SetCellText(std::uint32_t column, std::uint32_t row, const char16_t* text) {
  CTableControl& self = outer<CTableControl>();
  if (!self.m_model.SetCellText(column, row, text)) return E_FAIL;
  self.InvalidateControl();
  return S_OK;
}

HResult CTableControl::XTableControl::GetCellText(std::uint32_t column, std::uint32_t row, char16_t* buffer,
                                                  std::int32_t length) {
  return Result(outer<CTableControl>().m_model.GetCellText(column, row, buffer, length));
}

HResult CTableControl::XTableControl::SetCellColor(std::uint32_t column, std::uint32_t row, std::uint32_t color) {
  CTableControl& self = outer<CTableControl>();
  if (!self.m_model.SetCellColor(column, row, color)) return E_FAIL;
  self.InvalidateControl();
  return S_OK;
}

HResult CTableControl::XTableControl::GetCellColor(std::uint32_t column, std::uint32_t row, std::uint32_t* color) {
  return Result(outer<CTableControl>().m_model.GetCellColor(column, row, color));
}

HResult CTableControl::XTableControl::GetCellFont(std::uint32_t column, std::uint32_t row, IDispatch** font) {
  if (!font) return E_POINTER;
  *font = outer<CTableControl>().CellFontObject(column, row);
  return *font ? S_OK : E_FAIL;
}

HResult CTableControl::XTableControl::SaveTable(std::int32_t kind, const char16_t* path, std::uint32_t index) {
  outer<CTableControl>().m_model.SaveTable(kind, path, index);
  return S_OK;
}

HResult CTableControl::XTableControl::LoadTable(std::int32_t kind, const char16_t* path, std::uint32_t index) {
  CTableControl& self = outer<CTableControl>();
  self.DropCellFonts();
  self.m_model.LoadTable(kind, path, index);
  self.InvalidateControl();
  return S_OK;
}

}  // namespace karvel
