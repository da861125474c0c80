#include "spectrum/control/module/registration.h"

#include <string>
#include <vector>

#include "common/guids.h"
#include "foundation/profdesc.h"
#include "platform/ui/resource.h"
#include "profile/profile.h"
#include "spectrum/control/control/typelib.h"
#include "spectrum/control/labels/labelobjects.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/module/spcapp.h"

namespace nelvar {

namespace {

using namespace plat::ole;

// The control is insertable and apartment-threaded; its status: set the client site first,
// simple frame, activate when visible, inside-out, no links inside, recompose on resize.
constexpr plat::DWord kSpcMiscStatus = 0x30191;

struct PageRow {
  const Guid* clsid;
  const char* progId;
  ui::UINT caption;
};
const PageRow kPages[] = {
    {&CLSID_GeneralPropPage, "NELVAR.GeneralPropPage.1", IDS_PAGE_GENERAL},
    {&CLSID_SpectrumPropPage, "NELVAR.SpectrumPropPage.1", IDS_PAGE_SPECTRUM},
    {&CLSID_ScalePropPage, "NELVAR.ScalePropPage.1", IDS_PAGE_SCALE},
    {&CLSID_ScaleYPropPage, "NELVAR.ScaleYPropPage.1", IDS_PAGE_SCALEY},
    {&CLSID_IntegralPropPage, "NELVAR.IntegralPropPage.1", IDS_PAGE_INTEGRAL},
    {&CLSID_IntegSumsPropPage, "NELVAR.IntegSumsPropPage.1", IDS_PAGE_INTEGSUMS},
    {&CLSID_TPeaksPropPage, "NELVAR.TPeaksPropPage.1", IDS_PAGE_TPEAKS},
    {&CLSID_MPeaksPropPage, "NELVAR.MPeaksPropPage.1", IDS_PAGE_MPEAKS},
    {&CLSID_BaselinePropPage, "NELVAR.BaselinePropPage.1", IDS_PAGE_BASELINE},
    {&CLSID_BorderPropPage, "NELVAR.BorderPropPage.1", IDS_PAGE_BORDER},
    {&CLSID_TextPropPage, "NELVAR.TextPropPage.1", IDS_PAGE_TEXT},
    {&CLSID_TitlePropPage, "NELVAR.TitlePropPage.1", IDS_PAGE_TITLE},
    {&CLSID_MiscPropPage, "NELVAR.MiscPropPage.1", IDS_PAGE_MISC},
};

int StartModule() {
  RegisterLabelDrawObjects();
  return SpcApp().InitInstance() ? 1 : 0;
}
void StopModule() { SpcApp().ExitInstance(); }

#ifdef NELVAR_WITHOUT_CONTROL
ComObject* MakeControl() { return nullptr; }
#else
ComObject* MakeControl() { return CreateSpcControl(); }
#endif

struct ServerTables {
  ServerTables() {
    ui::ModuleStateScope scope(SpcApp().ModuleState());
    names.push_back(ui::LoadString(IDS_SPC));
    for (const PageRow& page : kPages) names.push_back(ui::LoadString(page.caption));
    classes.push_back({&CLSID_Spc, &MakeControl, "NELVAR(Lite).SpcControl.1", names[0].c_str(),
                       ClassKind::Control, kRegInsertable | kRegApartmentThreading, kSpcMiscStatus, &SpcTypeLib(),
                       static_cast<int>(IDB_SPC)});
    for (std::size_t i = 0; i < std::size(kPages); ++i)
      classes.push_back({kPages[i].clsid, PropPageCreator(*kPages[i].clsid), kPages[i].progId, names[i + 1].c_str(),
                         ClassKind::PropertyPage, kRegApartmentThreading});
    libraries.push_back(&SpcTypeLib());
    module = ServerModule{classes, libraries, &StartModule, &StopModule};
  }
  std::vector<std::string> names;
  std::vector<ClassEntry> classes;
  std::vector<const TypeLibDesc*> libraries;
  ServerModule module;
};

}  // namespace

const ServerModule& SpcServerModule() {
  static const ServerTables tables;
  return tables.module;
}

HResult RegisterServer() {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  return serverRegister(SpcServerModule());
}

HResult UnregisterServer() {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  {
    COrvProfDesc desc;
    OrvDeleteProfValue(u"Start", &desc);
  }
  return serverUnregister(SpcServerModule());
}

}  // namespace nelvar
