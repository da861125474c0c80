#pragma once
// ITableControl: the custom interface of the auxiliary controls' table, as every deliverable
// sees it. The slot order is the interface's contract: never reorder or insert.
#include <cstdint>

#include "common/ispectrumcontrol.h"
#include "platform/oleauto/oleauto.h"

class ITableControl : public plat::ole::IUnknown {
 public:
  using HResult = plat::ole::HResult;

  virtual HResult AttachSpectrum(ISpectrumControl* spectrum) = 0;                                   // 3
  virtual HResult GetSpectrum(ISpectrumControl** spectrum) = 0;                                     // 4
  virtual HResult SetTableSize(std::uint32_t columns, std::uint32_t rows) = 0;                      // 5
  virtual HResult GetTableSize(std::uint32_t* columns, std::uint32_t* rows) = 0;                    // 6
  virtual HResult SetCellText(std::uint32_t column, std::uint32_t row, const char16_t* text) = 0;   // 7
  virtual HResult GetCellText(std::uint32_t column, std::uint32_t row, char16_t* buffer, std::int32_t length) = 0;  // 8
  virtual HResult SetCellColor(std::uint32_t column, std::uint32_t row, std::uint32_t color) = 0;   // 9
  virtual HResult GetCellColor(std::uint32_t column, std::uint32_t row, std::uint32_t* color) = 0;  // 10
  virtual HResult GetCellFont(std::uint32_t column, std::uint32_t row, plat::ole::IDispatch** font) = 0;  // 11
  virtual HResult SaveTable(std::int32_t kind, const char16_t* path, std::uint32_t index) = 0;      // 12
  virtual HResult LoadTable(std::int32_t kind, const char16_t* path, std::uint32_t index) = 0;      // 13

 protected:
  ~ITableControl() = default;
};
