#pragma once
// Galactic SPC files: a 512-byte main header, 32-byte subfile headers and Y data as scaled
// integers or IEEE floats, all little-endian. NMR spectra and FIDs (read and write), IR spectra
// (read and write) and mass peak lists (read only) share the header code here.
//
// Our NMR layout stores the real parts as 32-bit integers after the first subfile header, a
// second subfile header, the imaginary parts as floats, and then a "KEY=value" text log with the
// acquisition parameters.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "spectrum/convert/spcconvert.h"

enum class GalacticMode : std::int32_t { Nmr = 0, Mass = 1, Ir = 2 };

class CGalactic {
 public:
  virtual ~CGalactic() = default;

  // True when the file is an SPC file whose x units belong to the mode's kind.
  static bool Detect(const COrvFile* file, GalacticMode mode);
  // Reads the one spectrum of the file as NMR or IR (the index is not used); a failure says why
  // in *why.
  static bool Read(std::string_view path, CSpcData* data, std::int32_t index, GalacticMode mode,
                   SpcFailure* why = nullptr);
  // Writes the processing object's spectrum in this leaf's layout (NMR or IR). The save option
  // and the spectrum number are not used: IR values are always written as floats.
  virtual bool Write(std::string_view path, CSpcProcess* process, std::int32_t saveOption, std::int32_t number);

 protected:
  explicit CGalactic(GalacticMode mode) : m_writeMode(mode) {}

 private:
  GalacticMode m_writeMode;
};

class CNmrConvertGalactic : public CSpcFormat<CNmrConvert>, public CGalactic {
 public:
  explicit CNmrConvertGalactic(std::uint32_t format) : CSpcFormat<CNmrConvert>(format), CGalactic(GalacticMode::Nmr) {}
  bool Detect(COrvFile* file) override { return CGalactic::Detect(file, GalacticMode::Nmr); }
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override {
    return CGalactic::Read(path, data, index, GalacticMode::Nmr, &m_failure);
  }
  bool Write(std::string_view path, CSpcProcess* process, std::int32_t saveOption, std::int32_t number) override {
    return CGalactic::Write(path, process, saveOption, number);
  }
};

class CIrConvertGalactic : public CSpcFormat<CIrConvert>, public CGalactic {
 public:
  explicit CIrConvertGalactic(std::uint32_t format) : CSpcFormat<CIrConvert>(format), CGalactic(GalacticMode::Ir) {}
  bool Detect(COrvFile* file) override { return CGalactic::Detect(file, GalacticMode::Ir); }
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override {
    return CGalactic::Read(path, data, index, GalacticMode::Ir, &m_failure);
  }
  bool Write(std::string_view path, CSpcProcess* process, std::int32_t saveOption, std::int32_t number) override {
    return CGalactic::Write(path, process, saveOption, number);
  }
};

// Mass peak lists: the first subfile's masses (floats) and intensities (16-bit integers).
class CMassConvertGalactic : public CSpcFormat<CMassConvert> {
 public:
  explicit CMassConvertGalactic(std::uint32_t format) : CSpcFormat<CMassConvert>(format) {}
  bool Detect(COrvFile* file) override { return CGalactic::Detect(file, GalacticMode::Mass); }
  bool Read(std::string_view path, CSpcData* data, std::int32_t index) override;
};

// Factories of the format table rows.
std::unique_ptr<CSpcConvert> CreateNmrConvertGalactic(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateIrConvertGalactic(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateMassConvertGalactic(std::uint32_t index);
