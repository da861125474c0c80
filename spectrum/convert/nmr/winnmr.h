#pragma once
// WIN-NMR data sets: a folder of files that share one base name, ".aqs" and ".fqs" (parameters
// as JCAMP-DX labels), ".fid" (complex float pairs), ".1r" and ".1i" (spectrum floats), ".tit"
// (title) and, read only, ".dis" (display parameters under the instrument's own names).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "spectrum/convert/jcampdx.h"
#include "spectrum/convert/spcconvert.h"

class CNmrConvertWinNmr : public CSpcFormat<CNmrConvert>, public CJcampDx {
 public:
  explicit CNmrConvertWinNmr(std::uint32_t format);

  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
  bool Write(std::string_view path, CSpcProcess* process, std::int32_t saveOption, std::int32_t number) override;

  // Every label of a parameter file becomes a new parameter at the end of the list.
  void OnParameter(const std::string& label, const CVariant& value, CSpcData* data) override;
  bool OnBlock(COrvFile&, JcampVariableList&, std::int32_t, CSpcData*) override { return false; }
};

std::unique_ptr<CSpcConvert> CreateNmrConvertWinNmr(std::uint32_t index);
