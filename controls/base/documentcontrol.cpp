#include "controls/base/documentcontrol.h"

#include "common/guids.h"

namespace karvel {

using namespace plat::ole;

UI_BEGIN_MESSAGE_MAP(CDocumentControl, CKarvelControl)
  ui::map::LButtonDown(&CDocumentControl::OnButtonSwallowed),
  ui::map::LButtonUp(&CDocumentControl::OnButtonSwallowed),
  ui::map::RButtonDown(&CDocumentControl::OnButtonSwallowed),
  ui::map::RButtonUp(&CDocumentControl::OnRButtonUp),
UI_END_MESSAGE_MAP()

CDocumentControl::~CDocumentControl() { releaseInterface(m_site); }

void CDocumentControl::OnSetClientSite() {
  releaseInterface(m_site);
  if (IOleClientSite* site = GetClientSite())
    if (failed(site->QueryInterface(IID_IOrvClientSite, reinterpret_cast<void**>(&m_site)))) m_site = nullptr;
}

void CDocumentControl::OnClose(plat::DWord saveOption) {
  releaseInterface(m_site);
  OleControl::OnClose(saveOption);
}

std::int32_t CDocumentControl::Zoom() const { return m_site ? m_site->GetZoom() : 100; }

void CDocumentControl::OnButtonSwallowed(ui::UINT, ui::Point) {}

void CDocumentControl::OnRButtonUp(ui::UINT, ui::Point) { OnProperties(nullptr, ui::kNoWnd, nullptr); }

}  // namespace karvel
