// The bar objects of the control frames. Each bar is a flat toolbar with the buttons of its
// commands; the bars' own classes (knobs, combos, the console line) come with the tool-bar
// area and replace these.
#include "foundation/flattoolbar.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/frames/mainframewnd.h"
#include "spectrum/control/module/nelvar_ids.h"

namespace {

using namespace nelvar;

struct BarButtons {
  ui::UINT id;
  std::vector<ui::UINT> commands;
};

const std::vector<BarButtons>& Buttons() {
  static const std::vector<BarButtons> table = {
      {IDW_SPECTRUMBAR, {40045, 40046, 40051, ui::ID_SEPARATOR, 40099, 40100, 40101, 40102}},
      {IDW_PHASEBAR, {40030, 40031, 40034, ui::ID_SEPARATOR, 40069, 40076, 40117, 40118}},
      {IDW_INTEGRALBAR, {40039, 40056, 40070, 40104, 40109, 40124, 40138}},
      {IDW_PICKBAR, {40022, 40038, 40068, 40075, 40103, 40119}},
      {IDW_CONSOLEBAR, {ui::ID_SEPARATOR}},
      {IDW_TRANSFORMBAR, {40024, 40028, 40029}},
      {IDW_BASELINEBAR, {40080, 40081, 40082}},
      {IDW_MULTIDISPBAR, {40150, 40151, 40152, 40153, 40154}},
      {IDW_NAVIGATEBAR, {40164, 40162, 40161, 40165}},
  };
  return table;
}

}  // namespace

std::unique_ptr<ui::ControlBar> CSpcControl::MakeControlBar(ui::UINT id) {
  for (const BarButtons& row : Buttons())
    if (row.id == id) return std::make_unique<CFlatToolBar>();
  return nullptr;
}

bool CSpcControl::CreateControlBar(ui::ControlBar& bar, CMainFrameWnd* frame, ui::UINT id, ui::DWORD style) {
  auto* toolbar = dynamic_cast<CFlatToolBar*>(&bar);
  if (!toolbar || !toolbar->Create(frame, style, id)) return false;
  for (const BarButtons& row : Buttons())
    if (row.id == id) toolbar->SetButtons(row.commands.data(), static_cast<int>(row.commands.size()));
  toolbar->SetFlatLookStyle();
  return true;
}
