// spchost's commands for the control's command table: what the menus and bars would show of
// each command id, and a command run as the menus, keys and console run it.
//
//   command-ui NAME [FIRST [LAST]]   one line per command id: every id of the range given, or
//                                    of 40022-40417 those the control routes: "ID enabled|disabled checked|- TEXT", the
//                                    text being the update's, else the in-place menu's, else "-"
//   run NAME ID [ARG...]             the command with ARG... as its console arguments, through
//                                    the control's command route, then the control's state dump
#include <cstdio>

#include "common/guids.h"
#include "common/ispectrumcontrol.h"
#include "platform/ui/menu.h"
#include "platform/ui/msgmap.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/module/command_ids.h"
#include "tools/spchost/host.h"

namespace spchost {
namespace {

CSpcControl& ControlNamed(Host& host, const std::string& name) {
  auto* spc = host.Interface<ISpectrumControl>(host.Item(name), IID_ISpectrumControl);
  CSpcControl* control = CSpcControl::ControlOf(spc);
  spc->Release();
  if (!control) Fail(name + " is not a spectrum control");
  return *control;
}

// The text of the item with that id in the menu or its popups; empty when it has none.
std::string MenuText(ui::Menu& menu, ui::UINT id) {
  for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
    if (ui::Menu* popup = menu.GetSubMenu(i)) {
      if (std::string text = MenuText(*popup, id); !text.empty()) return text;
    } else if (menu.GetMenuItemID(i) == id) {
      return menu.GetMenuString(i, ui::MF_BYPOSITION);
    }
  }
  return {};
}

void CommandUi(Host& host, const std::vector<std::string>& w) {
  if (w.size() < 2 || w.size() > 4) Fail("command-ui NAME [FIRST [LAST]]");
  CSpcControl& control = ControlNamed(host, w[1]);
  const ui::UINT first = w.size() > 2 ? static_cast<ui::UINT>(Int(w[2])) : nelvar::ID_COMMAND_FIRST;
  const ui::UINT last = w.size() > 3 ? static_cast<ui::UINT>(Int(w[3])) : w.size() > 2 ? first : nelvar::ID_COMMAND_LAST;
  for (ui::UINT id = first; id <= last; ++id) {
    ui::HandlerInfo command, update;
    const bool routed = control.OnCmdMsg(id, ui::CN_COMMAND, nullptr, &command) ||
                        control.OnCmdMsg(id, ui::CN_UPDATE_COMMAND_UI, nullptr, &update);
    if (!routed && w.size() == 2) continue;  // a range given is listed whole
    const ui::CommandState s = ui::QueryCommandState(&control, id);
    std::string text = s.textSet ? s.text : MenuText(*control.OnGetInPlaceMenu(), id);
    if (text.empty()) text = "-";
    for (char& c : text)
      if (c == '\t') c = '|';
    std::printf("%u %s %s %s\n", id, s.enabled ? "enabled" : "disabled", s.check ? "checked" : "-", text.c_str());
  }
}

void RunCommand(Host& host, const std::vector<std::string>& w) {
  if (w.size() < 3) Fail("run NAME ID [ARG...]");
  CSpcControl& control = ControlNamed(host, w[1]);
  control.m_args.clear();
  for (std::size_t i = 3; i < w.size(); ++i) {
    CVariant arg;
    arg.SetString(w[i]);
    control.m_args.push_back(arg);
  }
  const bool handled = control.OnCmdMsg(static_cast<ui::UINT>(Int(w[2])), ui::CN_COMMAND, nullptr, nullptr);
  control.m_args.clear();
  std::printf("run %s %s\n", w[2].c_str(), handled ? "handled" : "not handled");
  host.Run({"dump", w[1]});
}

const Command kCommandTableCommands[] = {
    {"command-ui", "NAME [FIRST [LAST]]", CommandUi},
    {"run", "NAME ID [ARG...]", RunCommand},
};
SPCHOST_COMMANDS(kCommandTableCommands);

}  // namespace
}  // namespace spchost
