#pragma once
// Readers of Bruker data set folders: the NMR formats "UXNMR" and "XWIN-NMR" (one experiment's
// FID and processed spectrum) and their NMR 2D twins (the serial file of all increments).
//
// The two formats of each kind differ only in the DATA TYPE their parameter files carry. A data
// set is recognised by its last experiment folder in name order (a subfolder with an acqus or
// acqu file; other folders beside the experiments do not count): a 1D one has an acqu file and
// no acqu2, a 2D one an acqu2 file.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "spectrum/convert/jcampdx.h"
#include "spectrum/convert/spcconvert.h"

// The parameter files of a data set are JCAMP-DX text read only for their labels: every label
// becomes a new parameter at the end of the record's list.
class CBrukerParamFile : public CJcampDx {
 public:
  void OnParameter(const std::string& label, const CVariant& value, CSpcData* data) override;
};

class CNmrConvertUxNmr : public CSpcFormat<CNmrConvert>, public CBrukerParamFile {
 public:
  explicit CNmrConvertUxNmr(std::uint32_t format);
  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;

 protected:
  // The DATA TYPE of the format's parameter files.
  virtual const std::vector<std::string>& DataTypes() const;
};

class CNmrConvertXWinNmr : public CNmrConvertUxNmr {
 public:
  using CNmrConvertUxNmr::CNmrConvertUxNmr;

 protected:
  const std::vector<std::string>& DataTypes() const override;
};

class CNmr2dConvertUxNmr : public CSpcFormat<CNmr2dConvert>, public CBrukerParamFile {
 public:
  explicit CNmr2dConvertUxNmr(std::uint32_t format);
  bool Detect(COrvFile* file) override;
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;

 protected:
  virtual const std::vector<std::string>& DataTypes() const;
};

class CNmr2dConvertXWinNmr : public CNmr2dConvertUxNmr {
 public:
  using CNmr2dConvertUxNmr::CNmr2dConvertUxNmr;

 protected:
  const std::vector<std::string>& DataTypes() const override;
};

// Factories of the format table rows.
std::unique_ptr<CSpcConvert> CreateNmrConvertUxNmr(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateNmrConvertXWinNmr(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateNmr2dConvertUxNmr(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateNmr2dConvertXWinNmr(std::uint32_t index);
