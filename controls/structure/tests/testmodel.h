#pragma once
// Loading the structure tests' molfiles into a model, from memory.
#include <sstream>
#include <string>

#include "controls/structure/structmodel.h"

namespace karvel::test {

inline CStructureModel::LoadReport LoadText(CStructureModel& model, const std::string& text) {
  std::istringstream in(text);
  return model.LoadStream(in);
}

}  // namespace karvel::test
