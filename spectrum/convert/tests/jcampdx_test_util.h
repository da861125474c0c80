#pragma once
// A JCAMP-DX converter for tests: it records what the reader hands to the callbacks, and
// writes a table given as points.
#include <string>
#include <utility>
#include <vector>

#include "spectrum/convert/jcampdx.h"
#include "test_files.h"

namespace convert_test {

class RecordingJcamp : public CJcampDx {
 public:
  struct Block {
    std::int32_t page = 0;
    bool ok = false;
    std::vector<PointMap::Entry> points;
  };
  std::vector<std::pair<std::string, CVariant>> params;
  std::vector<Block> blocks;

  void OnParameter(const std::string& label, const CVariant& value, CSpcData*) override { params.emplace_back(label, value); }
  bool OnBlock(COrvFile& file, JcampVariableList& vars, std::int32_t page, CSpcData*) override {
    PointMap map;
    Block b;
    b.page = page;
    b.ok = ReadXYData(file, &map, vars, page);
    for (std::size_t i = 0; i < map.count(); ++i) b.points.push_back(map.at(i));
    blocks.push_back(b);
    return b.ok;
  }
  const CVariant* Param(const std::string& name) const {
    for (const auto& [label, value] : params)
      if (label == name) return &value;
    return nullptr;
  }
  // Writing: one XYDATA table of these points in this form.
  JcampVariableList writeVars;
  PointMap writePoints;
  void WriteHeader(JcampVariableList& vars, CSpcParamList& header, CSpcProcess*) override {
    vars = writeVars;
    CSpcParam title;
    title.name = "TITLE";
    title.value.SetString("test");
    header.Append(title);
  }
  bool WriteData(std::string& out, JcampVariableList& vars, std::int32_t var, CSpcProcess*) override {
    return WriteAsdf(out, writePoints, vars, var);
  }
};

// The y values of a decoded table, in ascending x.
inline std::vector<float> Ys(const std::vector<PointMap::Entry>& points) {
  std::vector<float> ys;
  for (const auto& p : points) ys.push_back(p.y);
  return ys;
}

// The variables of one table of n points over [first, last] (last < 0: n - 1).
inline JcampVariableList TableVars(std::int32_t n, double first, double last, double xfactor, double yfactor,
                                   std::int32_t group) {
  JcampVariableList vars;
  vars.vars.resize(4);
  vars.vars[0].m_nDim = n;
  vars.vars[0].m_dFirst = first;
  vars.vars[0].m_dLast = last < 0 ? n - 1 : last;
  vars.vars[0].m_dFactor = xfactor;
  vars.vars[0].m_nGroup = group;
  vars.vars[1].m_dFactor = yfactor;
  return vars;
}

// Decodes data lines as one table of n points over [first, last].
inline bool DecodeTable(const std::string& lines, std::int32_t n, std::vector<PointMap::Entry>* out, double first = 0,
                        double last = -1, double xfactor = 1.0, double yfactor = 1.0, std::int32_t group = 0) {
  const std::string path = WriteScratch("table.txt", lines);
  COrvFile file(path);
  PointMap map;
  const bool ok = CJcampDx::ReadXYData(file, &map, TableVars(n, first, last, xfactor, yfactor, group), 0);
  out->clear();
  for (std::size_t i = 0; i < map.count(); ++i) out->push_back(map.at(i));
  return ok;
}

// The same table's ordinates alone.
inline bool DecodeOrdinates(const std::string& lines, std::int32_t n, std::vector<float>* out, double first = 0,
                            double last = -1, std::int32_t group = 0) {
  const std::string path = WriteScratch("ordinates.txt", lines);
  COrvFile file(path);
  return CJcampDx::ReadOrdinates(file, out, TableVars(n, first, last, 1.0, 1.0, group), 0);
}

}  // namespace convert_test
