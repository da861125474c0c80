#pragma once
// ITableControl: the custom interface of the table control (IID_ITableControl), through which
// the main program attaches a spectrum and moves the table to and from a workspace, and the
// table's property pages edit its size and cells. The slot order is the interface's contract:
// never reorder or insert.
//
// Text crosses as 16-bit strings. Every method answers S_OK or E_FAIL. Column and row are
// indices from 0; a cell method answers E_FAIL for a position without a cell.
#include <cstdint>

#include "common/ispectrumcontrol.h"
#include "platform/oleauto/oleauto.h"

class ITableControl : public plat::ole::IUnknown {
 public:
  using HResult = plat::ole::HResult;

  // Holds the spectrum (one reference), lets the previous one go and loads the defaults of the
  // spectrum's kind.
  virtual HResult AttachSpectrum(ISpectrumControl* spectrum) = 0;                            // 3
  // The attached spectrum, no reference added; E_FAIL (null) without one.
  virtual HResult GetSpectrum(ISpectrumControl** spectrum) = 0;                              // 4
  virtual HResult SetTableSize(std::uint32_t columns, std::uint32_t rows) = 0;               // 5
  virtual HResult GetTableSize(std::uint32_t* columns, std::uint32_t* rows) = 0;             // 6
  virtual HResult SetCellText(std::uint32_t column, std::uint32_t row, const char16_t* text) = 0;  // 7
  // The source text: at most length - 1 units and a terminating 0; E_FAIL for length < 1.
  virtual HResult GetCellText(std::uint32_t column, std::uint32_t row, char16_t* buffer, std::int32_t length) = 0;  // 8
  virtual HResult SetCellColor(std::uint32_t column, std::uint32_t row, std::uint32_t color) = 0;  // 9
  virtual HResult GetCellColor(std::uint32_t column, std::uint32_t row, std::uint32_t* color) = 0;  // 10
  // The cell's font object, no reference added.
  virtual HResult GetCellFont(std::uint32_t column, std::uint32_t row, plat::ole::IDispatch** font) = 0;  // 11
  // The profile form: kind 0 the defaults of the spectrum's kind, else the "table" INI file in
  // the directory path, section of the item index. Always S_OK.
  virtual HResult SaveTable(std::int32_t kind, const char16_t* path, std::uint32_t index) = 0;  // 12
  virtual HResult LoadTable(std::int32_t kind, const char16_t* path, std::uint32_t index) = 0;  // 13

 protected:
  ~ITableControl() = default;
};
