#pragma once
// Where the settings dialog's table page finds the spectrum kinds it offers: the main program
// asks each class of its spectrum-control class list for the kinds it serves (GetMethods of
// ISpectrumControl, a ";"-separated list such as "NMR;MASS;IR;UV;CH"); a class that cannot be
// created adds nothing.
#include <string_view>
#include <vector>

#include "platform/base/types.h"

class ISpectrumKinds {
 public:
  virtual ~ISpectrumKinds() = default;
  // The kind names of every class, in list order.
  virtual std::vector<plat::String16> KindNames() = 0;
};

// A GetMethods list split at ";" (empty names dropped).
std::vector<plat::String16> SplitKindList(std::u16string_view list);
