// How the module makes a spectrum control.
#include "spectrum/control/control/typelib.h"

namespace nelvar {

plat::ole::ComObject* CreateSpcControl() { return nullptr; }

}  // namespace nelvar
