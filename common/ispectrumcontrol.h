#pragma once
// ISpectrumControl: the custom interface of the spectrum control (IID_ISpectrumControl), through
// which the main program, the about library, the table control and the file dialogs reach it.
// Slots in their fixed order after IUnknown's; every method answers S_OK or E_FAIL. Strings
// cross as BSTRs: the caller owns what it passes and frees what comes back.
#include <cstdint>

#include "common/guids.h"
#include "platform/oleauto/oleauto.h"

class ISpectrumControl : public plat::ole::IUnknown {
 public:
  using HResult = plat::ole::HResult;
  using Bstr = plat::ole::Bstr;

  virtual HResult GetCurMethod(Bstr* method) = 0;                                           // 3
  virtual HResult GetModuleName(Bstr* text) = 0;                                            // 4
  virtual HResult GetCopyright(Bstr* text) = 0;                                             // 5
  virtual HResult GetVersion(std::int16_t* hi, std::int16_t* lo) = 0;                       // 6
  virtual HResult GetCreateDate(Bstr* date) = 0;                                            // 7
  virtual HResult GetFileFormats(Bstr path, Bstr* formatName, Bstr* kinds) = 0;             // 8
  virtual HResult LoadSpectrum(Bstr path, std::int32_t index) = 0;                          // 9
  virtual HResult SaveSpectrum(Bstr path, std::int32_t formatIndex, std::int32_t saveOption,
                               std::int32_t controlNo) = 0;                                 // 10
  virtual HResult GetFormat(std::int32_t index, Bstr* name, Bstr* saveOptions, std::int32_t* caps) = 0;  // 11
  virtual HResult GetKindFormatCount(std::int32_t* n) = 0;                                  // 12
  virtual HResult GetParamNames(Bstr* names) = 0;                                           // 13
  virtual HResult GetParam(Bstr name, Bstr* value) = 0;                                     // 14
  virtual HResult SetParam(Bstr name, Bstr value) = 0;                                      // 15
  virtual HResult GetParamDescription(Bstr name, Bstr* text) = 0;                           // 16
  virtual HResult ExecuteCommands(Bstr commands) = 0;                                       // 17
  virtual HResult GetMethods(Bstr* list) = 0;                                               // 18
  virtual HResult GetData(plat::ole::SafeArray** data) = 0;                                 // 19
  virtual HResult GetSpectraCount(Bstr path, std::int32_t* n) = 0;                          // 20
  virtual HResult GetCount(std::int32_t* n) = 0;                                            // 21
  virtual HResult GetCurIndex(std::int32_t* index) = 0;                                     // 22
  virtual HResult SetCurIndex(std::int32_t index) = 0;                                      // 23
  virtual HResult TakeResult(plat::ole::Variant* result) = 0;                               // 24
  virtual HResult GetSize(std::int32_t* n) = 0;                                             // 25
  virtual HResult SetData(plat::ole::SafeArray* data) = 0;                                  // 26

 protected:
  ~ISpectrumControl() = default;
};
