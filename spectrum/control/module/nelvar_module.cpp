// The spectrum control's module: its version record. The code lives in the static libraries
// the module takes in whole (spectrum data and converters, and later the control itself).
#include "platform/base/module.h"

KEDRUS_MODULE_VERSION(2, 0, 0, 0, plat::kVersionTypeDll);
