// ISaItem: the container selects the control's property set. The sets' snapshots and where a
// set without one is read from come with the property-set area; until then selecting a set
// records its number.
#include "spectrum/control/control/spccontrol.h"

using HResult = plat::ole::HResult;

HResult CSpcControl::XSaItem::SelectPropertySet(std::uint32_t set, std::int32_t redraw) {
  CSpcControl& control = outer<CSpcControl>();
  control.m_propertySet = set;
  if (redraw) control.Refresh();
  return plat::ole::S_OK;
}

HResult CSpcControl::XSaItem::GetPropertySet(std::uint32_t* set) {
  if (set) *set = outer<CSpcControl>().m_propertySet;
  return plat::ole::S_OK;
}
