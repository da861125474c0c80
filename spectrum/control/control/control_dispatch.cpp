// The control's dispatch interface _DSpcControl.
#include "common/guids.h"
#include "spectrum/control/control/typelib.h"

namespace nelvar {

const plat::ole::DispInterfaceDesc& SpcDispatchInterface() {
  static constexpr plat::ole::DispInterfaceDesc kDesc{"_DSpcControl", &DIID__DSpcControl,
                                                      "Dispatch interface for Spc Control", {}};
  return kDesc;
}

}  // namespace nelvar
