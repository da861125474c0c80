// How the module makes a spectrum control.
#include <new>

#include "platform/ui/resource.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/control/typelib.h"
#include "spectrum/control/module/spcapp.h"

namespace nelvar {

plat::ole::ComObject* CreateSpcControl() {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  return new CSpcControl;
}

}  // namespace nelvar
