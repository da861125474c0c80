// The property pages' creators, by class id. Each page is made in the module's state, so it
// finds its template and caption among the module's resources.
#include "spectrum/control/module/registration.h"

#ifndef NELVAR_WITHOUT_CONTROL
#include "common/guids.h"
#include "platform/ui/resource.h"
#include "spectrum/control/module/spcapp.h"
#include "spectrum/control/pages/appearancepages.h"
#include "spectrum/control/pages/generalpage.h"
#endif

namespace nelvar {

#ifdef NELVAR_WITHOUT_CONTROL
// Without the OLE control base there are no pages: their factories fail cleanly.
plat::ole::ObjectCreator PropPageCreator(const plat::ole::Guid&) { return nullptr; }
#else
namespace {

template <class Page>
plat::ole::ComObject* MakePage() {
  ui::ModuleStateScope scope(SpcApp().ModuleState());
  return new Page;
}

struct PageCreator {
  const plat::ole::Guid* clsid;
  plat::ole::ObjectCreator create;
};
const PageCreator kCreators[] = {
    {&CLSID_GeneralPropPage, &MakePage<CGeneralPropPage>},     {&CLSID_SpectrumPropPage, &MakePage<CSpectrumPropPage>},
    {&CLSID_ScalePropPage, &MakePage<CScalePropPage>},         {&CLSID_ScaleYPropPage, &MakePage<CScaleYPropPage>},
    {&CLSID_IntegralPropPage, &MakePage<CIntegralPropPage>},   {&CLSID_IntegSumsPropPage, &MakePage<CIntegSumsPropPage>},
    {&CLSID_TPeaksPropPage, &MakePage<CTPeaksPropPage>},       {&CLSID_MPeaksPropPage, &MakePage<CMPeaksPropPage>},
    {&CLSID_BaselinePropPage, &MakePage<CBaselinePropPage>},   {&CLSID_BorderPropPage, &MakePage<CBorderPropPage>},
    {&CLSID_TextPropPage, &MakePage<CTextPropPage>},           {&CLSID_TitlePropPage, &MakePage<CTitlePropPage>},
    {&CLSID_MiscPropPage, &MakePage<CMiscPropPage>},
};

}  // namespace

plat::ole::ObjectCreator PropPageCreator(const plat::ole::Guid& clsid) {
  for (const PageCreator& row : kCreators)
    if (*row.clsid == clsid) return row.create;
  return nullptr;
}
#endif

}  // namespace nelvar
