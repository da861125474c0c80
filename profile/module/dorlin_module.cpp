// The profile store module: its version record. The code lives in dorlin_core.
#include "platform/base/module.h"

KEDRUS_MODULE_VERSION(2, 0, 0, 0, plat::kVersionTypeDll);
