#pragma once
// An ISpectrumControl whose every method fails: the base of the tests' stand-ins for the
// spectrum control, which override only the methods the code under test asks.
#include "common/ispectrumcontrol.h"
#include "platform/com/hresult.h"

class FailingSpectrumControl : public ISpectrumControl {
 public:
  using SafeArray = plat::ole::SafeArray;
  using Variant = plat::ole::Variant;
  static constexpr HResult kFail = plat::ole::E_FAIL;

  HResult GetCurMethod(Bstr*) override { return kFail; }
  HResult GetModuleName(Bstr*) override { return kFail; }
  HResult GetCopyright(Bstr*) override { return kFail; }
  HResult GetVersion(std::int16_t*, std::int16_t*) override { return kFail; }
  HResult GetCreateDate(Bstr*) override { return kFail; }
  HResult GetFileFormats(const char16_t*, Bstr*, Bstr*) override { return kFail; }
  HResult LoadSpectrum(const char16_t*, std::int32_t) override { return kFail; }
  HResult SaveSpectrum(const char16_t*, std::int32_t, std::int32_t, std::int32_t) override { return kFail; }
  HResult GetFormat(std::int32_t, Bstr*, Bstr*, std::int32_t*) override { return kFail; }
  HResult GetKindFormatCount(std::int32_t*) override { return kFail; }
  HResult GetParamNames(Bstr*) override { return kFail; }
  HResult GetParam(const char16_t*, Bstr*) override { return kFail; }
  HResult SetParam(const char16_t*, const char16_t*) override { return kFail; }
  HResult GetParamDescription(const char16_t*, Bstr*) override { return kFail; }
  HResult ExecuteCommands(const char16_t*) override { return kFail; }
  HResult GetMethods(Bstr*) override { return kFail; }
  HResult GetData(SafeArray**) override { return kFail; }
  HResult GetSpectraCount(const char16_t*, std::int32_t*) override { return kFail; }
  HResult GetCount(std::int32_t*) override { return kFail; }
  HResult GetCurIndex(std::int32_t*) override { return kFail; }
  HResult SetCurIndex(std::int32_t) override { return kFail; }
  HResult TakeResult(Variant*) override { return kFail; }
  HResult GetSize(std::int32_t*) override { return kFail; }
  HResult SetData(SafeArray*) override { return kFail; }

 protected:
  ~FailingSpectrumControl() = default;
};
