#include "controls/module/registration.h"

#include "common/guids.h"
#include "controls/knob/knobcontrol.h"
#include "controls/module/karvel_ids.h"
#include "controls/module/karvelapp.h"
#include "controls/module/typelib.h"
#include "controls/pages/pages.h"
#include "controls/scroll/scrollcontrol.h"
#include "controls/softbutton/softbutton.h"
#include "controls/structure/structcontrol.h"
#include "controls/table/tablecontrol.h"
#include "foundation/profdesc.h"
#include "profile/profile.h"

namespace karvel {

namespace {

using namespace plat::ole;

constexpr unsigned kInsertable = kRegInsertable | kRegApartmentThreading;

// A page finds its template and caption while it is made, among the resources of the module
// whose state is current: this module's, whoever asks for the page.
template <class Page>
ComObject* MakePage() {
  ui::ModuleStateScope scope(KarvelApp().ModuleState());
  return new Page;
}

int StartModule() { return KarvelApp().InitInstance() ? 1 : 0; }
void StopModule() { KarvelApp().ExitInstance(); }

}  // namespace

const ServerModule& KarvelServerModule() {
  static const ClassEntry kClasses[] = {
      {&CLSID_KnobControl, &createObject<CKnobControl>, "KARVEL.KnobControl.1", kKnobTypeName, ClassKind::Control,
       kInsertable, kControlMiscStatus, &KarvelTypeLib(), IDB_KNOB, kEditAndPropertiesVerbs},
      {&CLSID_SoftButton, &createObject<CSoftButtonCtl>, "KARVEL.SoftButton.1", kSoftButtonTypeName, ClassKind::Control,
       kRegApartmentThreading, kControlMiscStatus, &KarvelTypeLib(), IDB_SOFTBUTTON, kPropertiesVerb},
      {&CLSID_TableControl, &createObject<CTableControl>, "KARVEL.TableControl.1", kTableTypeName, ClassKind::Control,
       kInsertable, kControlMiscStatus, &KarvelTypeLib(), IDB_TABLE, kEditAndPropertiesVerbs},
      {&CLSID_StructureControl, &createObject<CStructureControl>, "KARVEL.StructureControl.1", kStructureTypeName,
       ClassKind::Control, kInsertable, kControlMiscStatus, &KarvelTypeLib(), IDB_STRUCTURE, kEditAndPropertiesVerbs},
      {&CLSID_ScrollControl, &createObject<CScrollControl>, "KARVEL.ScrollControl.1", kScrollTypeName,
       ClassKind::Control, kInsertable, kControlMiscStatus, &KarvelTypeLib(), IDB_SCROLL, kEditAndPropertiesVerbs},
      {&CLSID_KnobPropPage, &MakePage<CKnobPropPage>, "KARVEL.KnobPropPage.1", "Knob Property Page", ClassKind::PropertyPage},
      {&CLSID_SoftButtonPropPage, &MakePage<CSButtonPropPage>, "KARVEL.SoftButtonPropPage.1", "Soft Button Property Page",
       ClassKind::PropertyPage},
      {&CLSID_TablePropPage1, &MakePage<CTablePropPage1>, "KARVEL.TablePropPage1.1", "Size && Position", ClassKind::PropertyPage},
      {&CLSID_TablePropPage2, &MakePage<CTablePropPage2>, "KARVEL.TablePropPage2.1", "Cells", ClassKind::PropertyPage},
      {&CLSID_StructPropPage, &MakePage<CStructPropPage>, "KARVEL.StructPropPage.1", "Structure", ClassKind::PropertyPage},
      {&CLSID_FieldsPropPage, &MakePage<CFieldsPropPage>, "KARVEL.FieldsPropPage.1", "Fields", ClassKind::PropertyPage},
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
