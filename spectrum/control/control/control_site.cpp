// The control's client site: the container's own interface IOrvClientSite, taken when the site
// is set and let go when the container closes the control.
#include "common/guids.h"
#include "spectrum/control/control/spccontrol.h"

void CSpcControl::OnSetClientSite() {
  COleControlEx::OnSetClientSite();
  plat::ole::releaseInterface(m_pOrvSite);
  if (plat::ole::IOleClientSite* site = GetClientSite())
    site->QueryInterface(IID_IOrvClientSite, reinterpret_cast<void**>(&m_pOrvSite));
}

void CSpcControl::OnClose(plat::DWord saveOption) {
  plat::ole::releaseInterface(m_pOrvSite);
  COleControlEx::OnClose(saveOption);
}

std::int32_t CSpcControl::GetZoom() { return m_pOrvSite ? m_pOrvSite->GetZoom() : 100; }
