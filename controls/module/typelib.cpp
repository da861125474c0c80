#include "controls/module/typelib.h"

#include "common/guids.h"
#include "common/shared_ids.h"
#include "controls/knob/knobcontrol.h"
#include "controls/scroll/scrollcontrol.h"
#include "controls/structure/structcontrol.h"
#include "controls/table/tablecontrol.h"

namespace karvel {

using namespace plat::ole;

namespace {

// The soft button is described here: its dispatch interface has AboutBox only.
constexpr DispEntry kSoftButtonMembers[] = {dispEvent("AboutBox", DISPID_ABOUTBOX)};
constexpr DispInterfaceDesc kSoftButtonDispatch{"_DSoftButton", &DIID__DSoftButton,
                                                "Dispatch interface for Soft Button Control", kSoftButtonMembers};
constexpr DispEntry kSoftButtonEvents[] = {dispEvent("ButtonPressed", kedrus_dispid::kSoftButtonPressed)};
constexpr DispInterfaceDesc kSoftButtonEventDesc{"_DSoftButtonEvents", &DIID__DSoftButtonEvents,
                                                 "Event interface for Soft Button Control", kSoftButtonEvents};
const CoClassDesc kSoftButtonClass{"SoftButton", &CLSID_SoftButton, "Soft Button Control", &kSoftButtonDispatch,
                                   &kSoftButtonEventDesc};

}  // namespace

const TypeLibDesc& KarvelTypeLib() {
  static const DispInterfaceDesc* const kInterfaces[] = {
      &CKnobControl::Dispatch(),     &CKnobControl::Events(),   &kSoftButtonDispatch,
      &kSoftButtonEventDesc,         &CTableControl::Dispatch(), &CTableControl::Events(),
      &CStructureControl::Dispatch(), &CStructureControl::Events(), &CScrollControl::Dispatch(),
      &CScrollControl::Events(),
  };
  static const CoClassDesc* const kClasses[] = {&CKnobControl::CoClass(), &kSoftButtonClass, &CTableControl::CoClass(),
                                                &CStructureControl::CoClass(), &CScrollControl::CoClass()};
  static const TypeLibDesc kLibrary{"TAVRINLib", &LIBID_TAVRINLib, "Karvel OLE Control module", 1, 0, 0, {},
                                    kInterfaces, kClasses};
  return kLibrary;
}

}  // namespace karvel
