#pragma once
// The spectrum control's custom interfaces, as every deliverable that talks to a spectrum
// control sees them: ISpectrumControl (load, save, ask and command a spectrum) and ISaItem
// (the container switches the control's property set). The slot order is the interfaces'
// contract: never reorder or insert.
//
// Every method answers S_OK or E_FAIL. Strings cross as BSTRs: the caller allocates and frees
// input strings, the control allocates output strings and the caller frees them.
#include <cstdint>

#include "platform/oleauto/oleauto.h"

class ISpectrumControl : public plat::ole::IUnknown {
 public:
  using HResult = plat::ole::HResult;
  using Bstr = plat::ole::Bstr;

  virtual HResult GetCurMethod(Bstr* method) = 0;                                    // 3
  virtual HResult GetModuleName(Bstr* text) = 0;                                     // 4
  virtual HResult GetCopyright(Bstr* text) = 0;                                      // 5
  virtual HResult GetVersion(std::int16_t* hi, std::int16_t* lo) = 0;               // 6
  virtual HResult GetCreateDate(Bstr* date) = 0;                                     // 7
  virtual HResult GetFileFormats(const char16_t* path, Bstr* formatName, Bstr* kinds) = 0;  // 8
  virtual HResult LoadSpectrum(const char16_t* path, std::int32_t index) = 0;       // 9
  virtual HResult SaveSpectrum(const char16_t* path, std::int32_t formatIndex, std::int32_t saveOption,
                               std::int32_t controlNo) = 0;                          // 10
  virtual HResult GetFormat(std::int32_t index, Bstr* name, Bstr* saveOptions, std::int32_t* caps) = 0;  // 11
  virtual HResult GetKindFormatCount(std::int32_t* n) = 0;                           // 12
  virtual HResult GetParamNames(Bstr* names) = 0;                                    // 13
  virtual HResult GetParam(const char16_t* name, Bstr* value) = 0;                   // 14
  virtual HResult SetParam(const char16_t* name, const char16_t* value) = 0;         // 15
  virtual HResult GetParamDescription(const char16_t* name, Bstr* text) = 0;         // 16
  virtual HResult ExecuteCommands(const char16_t* commands) = 0;                     // 17
  virtual HResult GetMethods(Bstr* list) = 0;                                        // 18
  virtual HResult GetData(plat::ole::SafeArray** data) = 0;                          // 19
  virtual HResult GetSpectraCount(const char16_t* path, std::int32_t* n) = 0;        // 20
  virtual HResult GetCount(std::int32_t* n) = 0;                                     // 21
  virtual HResult GetCurIndex(std::int32_t* index) = 0;                              // 22
  virtual HResult SetCurIndex(std::int32_t index) = 0;                               // 23
  virtual HResult TakeResult(plat::ole::Variant* result) = 0;                        // 24
  virtual HResult GetSize(std::int32_t* n) = 0;                                      // 25
  virtual HResult SetData(plat::ole::SafeArray* data) = 0;                           // 26

 protected:
  ~ISpectrumControl() = default;
};

class ISaItem : public plat::ole::IUnknown {
 public:
  using HResult = plat::ole::HResult;

  // Switches to property set `set`, redrawing when asked; always S_OK.
  virtual HResult SelectPropertySet(std::uint32_t set, std::int32_t redraw) = 0;  // 3
  virtual HResult GetPropertySet(std::uint32_t* set) = 0;                        // 4

 protected:
  ~ISaItem() = default;
};
