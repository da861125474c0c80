// The bar objects of the control frames: the console bar and the control's eight toolbars
// (spectrum/control/console), each made by its bar id and created in the main frame.
#include "foundation/flattoolbar.h"
#include "spectrum/control/console/toolbars.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/frames/mainframewnd.h"

std::unique_ptr<ui::ControlBar> CSpcControl::MakeControlBar(ui::UINT id) { return nelvar::MakeSpcBar(id); }

bool CSpcControl::CreateControlBar(ui::ControlBar& bar, CMainFrameWnd* frame, ui::UINT id, ui::DWORD style) {
  auto* toolbar = dynamic_cast<CFlatToolBar*>(&bar);
  return toolbar && toolbar->Create(frame, style, id);
}
