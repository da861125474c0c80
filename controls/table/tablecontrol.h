#pragma once
// CTableControl: the table control (coclass TableControl, CLSID_TableControl) that the main
// program embeds beside a spectrum item: a grid of cell texts whose $NAME$ references show the
// attached spectrum's parameters. Everything it keeps is its model (tablemodel.h); the control
// adds the custom interface ITableControl, the container's IOrvClientSite, the archive form
// after the control state, and the drawing at the document's zoom.
//
// Its dispatch interface _DTableControl has AboutBox only and its event interface _DTableEvents
// none.
#include <unordered_map>

#include "common/itablecontrol.h"
#include "controls/font/olefont.h"
#include "controls/table/spectrumlink.h"
#include "controls/table/tablemodel.h"
#include "controls/base/documentcontrol.h"

namespace karvel {

class CTableControl : public CDocumentControl {

 public:
  CTableControl();
  ~CTableControl() override;

  static const plat::ole::DispInterfaceDesc& Dispatch();
  static const plat::ole::DispInterfaceDesc& Events();
  static const plat::ole::CoClassDesc& CoClass();


  void OnClose(plat::DWord saveOption) override;
  void Serialize(plat::Archive& ar) override;
  void OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect& invalid) override;

  void AboutBox() {}

  CTableModel& Model() { return m_model; }

 private:
  // The attached spectrum: held by the link the model shares.
  void Attach(ISpectrumControl* spectrum, bool loadDefaults);
  // The first spectrum item of the document that was made from a file.
  void FindSpectrum();
  // The font objects bound to cell records; detached and let go when a load replaces the cells.
  void DropCellFonts();
  plat::ole::IDispatch* CellFontObject(std::uint32_t column, std::uint32_t row);

  struct XTableControl : plat::ole::Nested<ITableControl> {
    using Nested::Nested;
    HResult AttachSpectrum(ISpectrumControl* spectrum) override;
    HResult GetSpectrum(ISpectrumControl** spectrum) override;
    HResult SetTableSize(std::uint32_t columns, std::uint32_t rows) override;
    HResult GetTableSize(std::uint32_t* columns, std::uint32_t* rows) override;
    HResult SetCellText(std::uint32_t column, std::uint32_t row, const char16_t* text) override;
    HResult GetCellText(std::uint32_t column, std::uint32_t row, char16_t* buffer, std::int32_t length) override;
    HResult SetCellColor(std::uint32_t column, std::uint32_t row, std::uint32_t color) override;
    HResult GetCellColor(std::uint32_t column, std::uint32_t row, std::uint32_t* color) override;
    HResult GetCellFont(std::uint32_t column, std::uint32_t row, plat::ole::IDispatch** font) override;
    HResult SaveTable(std::int32_t kind, const char16_t* path, std::uint32_t index) override;
    HResult LoadTable(std::int32_t kind, const char16_t* path, std::uint32_t index) override;
  } m_xTableControl{*this};

  static const InterfaceEntry kEntries[];
  static const InterfaceMap kMap;
  const InterfaceMap& GetInterfaceMap() const override { return kMap; }

  CTableModel m_model;
  std::shared_ptr<CSpectrumLink> m_link;
  std::unordered_map<const gdi::LOGFONTA*, COleFont*> m_cellFonts;
};

}  // namespace karvel
