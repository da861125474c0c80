#pragma once
// Small builders shared by the processing tests.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "spectrum/data/spcdata.h"

namespace proctest {

inline void addDouble(CSpcData& d, std::string_view name, double v) {
  CSpcParam p;
  p.value.SetDouble(v);
  p.name = std::string(name);
  d.params.Append(p);
}

inline void addLong(CSpcData& d, std::string_view name, std::int32_t v) {
  CSpcParam p;
  p.value.SetLong(v);
  p.name = std::string(name);
  d.params.Append(p);
}

inline void addText(CSpcData& d, std::string_view name, std::string_view v) {
  CSpcParam p;
  p.value.SetString(v);
  p.name = std::string(name);
  d.params.Append(p);
}

// Difference of two angles in degrees, folded into (-180, 180].
inline double angleDiff(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d > 180.0) d -= 360.0;
  if (d <= -180.0) d += 360.0;
  return d;
}

}  // namespace proctest
