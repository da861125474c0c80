#include "controls/module/registration.h"

#include "common/guids.h"
#include "controls/knob/knobcontrol.h"
#include "controls/module/karvel_ids.h"
#include "controls/module/karvelapp.h"
#include "controls/module/typelib.h"
#include "controls/scroll/scrollcontrol.h"
#include "controls/structure/structcontrol.h"
#include "controls/table/tablecontrol.h"
#include "foundation/profdesc.h"
#include "profile/profile.h"

namespace karvel {

namespace {

using namespace plat::ole;

// The soft button and the property pages are registered with the rest; until they are built
// their factories make nothing.
ComObject* NotYetBuilt() { return nullptr; }

constexpr unsigned kInsertable = kRegInsertable | kRegApartmentThreading;

int StartModule() { return KarvelApp().InitInstance() ? 1 : 0; }
void StopModule() { KarvelApp().ExitInstance(); }

}  // namespace

const ServerModule& KarvelServerModule() {
  static const ClassEntry kClasses[] = {
      {&CLSID_KnobControl, &createObject<CKnobControl>, "KARVEL.KnobControl.1", kKnobTypeName, ClassKind::Control,
       kInsertable, kControlMiscStatus, &KarvelTypeLib(), IDB_KNOB},
      {&CLSID_SoftButton, &NotYetBuilt, "KARVEL.SoftButton.1", kSoftButtonTypeName, ClassKind::Control,
       kRegApartmentThreading, kControlMiscStatus, &KarvelTypeLib(), IDB_SOFTBUTTON},
      {&CLSID_TableControl, &createObject<CTableControl>, "KARVEL.TableControl.1", kTableTypeName, ClassKind::Control,
       kInsertable, kControlMiscStatus, &KarvelTypeLib(), IDB_TABLE},
      {&CLSID_StructureControl, &createObject<CStructureControl>, "KARVEL.StructureControl.1", kStructureTypeName,
       ClassKind::Control, kInsertable, kControlMiscStatus, &KarvelTypeLib(), IDB_STRUCTURE},
      {&CLSID_ScrollControl, &createObject<CScrollControl>, "KARVEL.ScrollControl.1", kScrollTypeName,
       ClassKind::Control, kInsertable, kControlMiscStatus, &KarvelTypeLib(), IDB_SCROLL},
      {&CLSID_KnobPropPage, &NotYetBuilt, "KARVEL.KnobPropPage.1", "Knob Property Page", ClassKind::PropertyPage},
      {&CLSID_SoftButtonPropPage, &NotYetBuilt, "KARVEL.SoftButtonPropPage.1", "Soft Button Property Page",
       ClassKind::PropertyPage},
      {&CLSID_TablePropPage1, &NotYetBuilt, "KARVEL.TablePropPage1.1", "Size && Position", ClassKind::PropertyPage},
      {&CLSID_TablePropPage2, &NotYetBuilt, "KARVEL.TablePropPage2.1", "Cells", ClassKind::PropertyPage},
      {&CLSID_StructPropPage, &NotYetBuilt, "KARVEL.StructPropPage.1", "Structure", ClassKind::PropertyPage},
      {&CLSID_FieldsPropPage, &NotYetBuilt, "KARVEL.FieldsPropPage.1", "Fields", ClassKind::PropertyPage},
  };
  static const TypeLibDesc* const kLibraries[] = {&KarvelTypeLib()};
  static const ServerModule kModule{kClasses, kLibraries, &StartModule, &StopModule};
  return kModule;
}

HResult RegisterServer() {
  ui::ModuleStateScope scope(KarvelApp().ModuleState());
  return serverRegister(KarvelServerModule());
}

HResult UnregisterServer() {
  ui::ModuleStateScope scope(KarvelApp().ModuleState());
  {
    COrvProfDesc desc;
    OrvDeleteProfValue(u"Start", &desc);
  }
  return serverUnregister(KarvelServerModule());
}

}  // namespace karvel
