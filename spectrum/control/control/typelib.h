#pragma once
// The control's type library (SpcLib 1.0): its dispatch interface _DSpcControl, its event
// interface _DSpcEvents and the coclass, and how the module makes a control.
#include "platform/com/automation.h"

namespace nelvar {

const plat::ole::DispInterfaceDesc& SpcDispatchInterface();
const plat::ole::DispInterfaceDesc& SpcEventInterface();
const plat::ole::CoClassDesc& SpcCoClass();
const plat::ole::TypeLibDesc& SpcTypeLib();

// A new spectrum control with its creation reference, made under the module's state.
plat::ole::ComObject* CreateSpcControl();

}  // namespace nelvar
