#pragma once
// ASCII export: the spectrum on screen as a text file of two columns, x then y, one point a
// line in ascending x, with the x axis in the unit the save option picks. Export only: these
// formats recognise and read nothing.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "spectrum/convert/pointmap.h"
#include "spectrum/convert/spcconvert.h"
#include "spectrum/data/spcprocess.h"

class CAscii {
 public:
  virtual ~CAscii() = default;
  // Writes the points that GetPoints gives; an existing file is replaced only on success.
  virtual bool Write(std::string_view path, CSpcProcess* process, std::int32_t saveOption, std::int32_t number);
  // Fills the map with the points to write, x in the unit of the save option.
  virtual bool GetPoints(CSpcProcess* process, PointMap* points, std::int32_t saveOption) = 0;

 protected:
  // The current points: x = unit(i) (the point index when unit is null), y = the phased real value.
  static void CurrentPoints(const CSpcProcess& process, PointMap* points, CSpcProcess::PointToUnitFunc unit);
};

// A write-only ASCII leaf of one kind: the kind's format row and the CAscii writer.
template <class Kind>
class CAsciiLeaf : public CSpcFormat<Kind>, public CAscii {
 public:
  explicit CAsciiLeaf(std::uint32_t format) : CSpcFormat<Kind>(format) {}
  bool Detect(COrvFile*) override { return false; }
  bool Read(std::string_view, CSpcData*, std::int32_t) override { return false; }
  bool Write(std::string_view path, CSpcProcess* process, std::int32_t saveOption, std::int32_t number) override {
    return CAscii::Write(path, process, saveOption, number);
  }
  std::int32_t GetSpectrumCount(COrvFile*) override { return 0; }
};

// NMR: "X-POINTS;X-PPM;X-HERTZ".
class CNmrConvertAscii : public CAsciiLeaf<CNmrConvert> {
 public:
  explicit CNmrConvertAscii(std::uint32_t format) : CAsciiLeaf(format) {}
  bool GetPoints(CSpcProcess* process, PointMap* points, std::int32_t saveOption) override;
};

// IR: "X-POINTS;X-CM".
class CIrConvertAscii : public CAsciiLeaf<CIrConvert> {
 public:
  explicit CIrConvertAscii(std::uint32_t format) : CAsciiLeaf(format) {}
  bool GetPoints(CSpcProcess* process, PointMap* points, std::int32_t saveOption) override;
};

// UV: "X-POINTS;X-NM".
class CUvConvertAscii : public CAsciiLeaf<CUvConvert> {
 public:
  explicit CUvConvertAscii(std::uint32_t format) : CAsciiLeaf(format) {}
  bool GetPoints(CSpcProcess* process, PointMap* points, std::int32_t saveOption) override;
};

// TIC: "X-POINTS;X-SEC".
class CTicConvertAscii : public CAsciiLeaf<CTicConvert> {
 public:
  explicit CTicConvertAscii(std::uint32_t format) : CAsciiLeaf(format) {}
  bool GetPoints(CSpcProcess* process, PointMap* points, std::int32_t saveOption) override;
};

// MASS: the peaks of the current scan, x = m/z; no options.
class CMassConvertAscii : public CAsciiLeaf<CMassConvert> {
 public:
  explicit CMassConvertAscii(std::uint32_t format) : CAsciiLeaf(format) {}
  bool GetPoints(CSpcProcess* process, PointMap* points, std::int32_t saveOption) override;
};

// Factories of the kind table rows.
std::unique_ptr<CSpcConvert> CreateNmrConvertAscii(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateIrConvertAscii(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateUvConvertAscii(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateTicConvertAscii(std::uint32_t index);
std::unique_ptr<CSpcConvert> CreateMassConvertAscii(std::uint32_t index);
