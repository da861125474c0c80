#pragma once
// CDocumentControl: what the table and structure controls share as items of the main program's
// documents: the container's IOrvClientSite, queried from the client site and let go on close;
// the document zoom it reports; mouse buttons swallowed, and the property pages on releasing the
// right button.
#include "common/orvclientsite.h"
#include "controls/base/karvelcontrol.h"

namespace karvel {

class CDocumentControl : public CKarvelControl {
  UI_DECLARE_MESSAGE_MAP()

 public:
  void OnSetClientSite() override;
  void OnClose(plat::DWord saveOption) override;

  // The container's interface, null when the site has none.
  IOrvClientSite* Site() const { return m_site; }
  // The document zoom in percent; 100 without the container's interface.
  std::int32_t Zoom() const;

 protected:
  using CKarvelControl::CKarvelControl;
  ~CDocumentControl() override;

 private:
  void OnButtonSwallowed(ui::UINT flags, ui::Point point);
  void OnRButtonUp(ui::UINT flags, ui::Point point);

  IOrvClientSite* m_site = nullptr;
};

}  // namespace karvel
