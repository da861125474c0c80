#include "spectrum/control/control/typelib.h"

#include "common/guids.h"
#include "common/shared_ids.h"

namespace nelvar {

using namespace plat::ole;

namespace {

constexpr Lcid kSpcLibLocale = 0x409;  // US English

}  // namespace

const DispInterfaceDesc& SpcEventInterface() {
  static constexpr DispEntry kMembers[] = {
      dispEvent("OnSpectrumLoad", kedrus_dispid::kOnSpectrumLoad, {{"pszFileName", DispType::Bstr}}),
  };
  static constexpr DispInterfaceDesc kDesc{"_DSpcEvents", &DIID__DSpcEvents, "Event interface for Orvane Spectrum Control",
                                           kMembers};
  return kDesc;
}

const CoClassDesc& SpcCoClass() {
  static const CoClassDesc kDesc{"Spc", &CLSID_Spc, "Orvane Spectrum Control", &SpcDispatchInterface(),
                                 &SpcEventInterface(), TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL};
  return kDesc;
}

const TypeLibDesc& SpcTypeLib() {
  static const CoClassDesc* const kCoClasses[] = {&SpcCoClass()};
  static const DispInterfaceDesc* const kInterfaces[] = {&SpcDispatchInterface(), &SpcEventInterface()};
  static const TypeLibDesc kDesc{"SpcLib", &LIBID_SpcLib, "Orvane Spectrum OLE Control module", 1, 0, kSpcLibLocale, {}, kInterfaces,
                                 kCoClasses};
  return kDesc;
}

}  // namespace nelvar
