// spchost commands of the console and the bars:
//   trace on|off                  the console's trace of the command ids it sends (stdout)
//   execute NAME TEXT...          ISpectrumControl::ExecuteCommands with the words joined by blanks
//   answer-show KIND CODE         as answer, and prints the question with its items' texts
//   toolbars                      the bars of the current container after an idle pass: each
//                                 button's id, style, state and tool tip, and the embedded windows
//   type TEXT... | press KEY      injected typing (a blank between words) and one key (RETURN,
//                                 ESCAPE, or a letter or digit), to the window with the focus
//   raise                         the current container's frame becomes the active window
//   console                       the text of the current container's console line(s)
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include <algorithm>
#include <cctype>
#include <functional>

#include "common/guids.h"
#include "common/ispectrumcontrol.h"
#include "platform/base/text.h"
#include "platform/ui/app.h"
#include "platform/ui/bars.h"
#include "platform/ui/dialog.h"
#include "platform/ui/input.h"
#include "platform/ui/responder.h"
#include "tools/spchost/host.h"

namespace spchost {
namespace {

using namespace plat::ole;

std::string Joined(const std::vector<std::string>& w, std::size_t from) {
  std::string text;
  for (std::size_t i = from; i < w.size(); ++i) text += (i > from ? " " : "") + w[i];
  return text;
}

// Every window below root, depth first in z-order.
void Walk(ui::Wnd* root, const std::function<void(ui::Wnd*)>& visit) {
  for (ui::Wnd* child : root->GetChildren()) {
    visit(child);
    Walk(child, visit);
  }
}

std::vector<ui::ToolBar*> ToolBars(Host& host) {
  std::vector<ui::ToolBar*> bars;
  Walk(&host.Current().FrameWindow(), [&](ui::Wnd* w) {
    if (auto* bar = dynamic_cast<ui::ToolBar*>(w)) bars.push_back(bar);
  });
  std::sort(bars.begin(), bars.end(), [](ui::ToolBar* a, ui::ToolBar* b) { return a->GetDlgCtrlID() < b->GetDlgCtrlID(); });
  return bars;
}

void PrintToolBars(Host& host) {
  ui::App::PumpPending();
  for (ui::ToolBar* bar : ToolBars(host)) {
    std::printf("toolbar %u \"%s\" %s\n", bar->GetDlgCtrlID(), bar->GetWindowText().c_str(),
                bar->IsWindowVisible() ? "shown" : "hidden");
    for (int i = 0; i < bar->GetCount(); ++i) {
      ui::UINT id = 0, style = 0;
      int image = 0;
      bar->GetButtonInfo(i, &id, &style, &image);
      if (style & ui::TBBS_SEPARATOR) {
        std::printf("  %d separator %u width=%d\n", i, id, image);
        continue;
      }
      ui::Rect r;
      bar->GetItemRect(i, &r);
      const std::string tip = bar->IsWindowVisible() ? ui::input::Hover(bar, r.CenterPoint()) : std::string();
      std::printf("  %d button %u%s %s%s tip=\"%s\"\n", i, id, (style & ui::TBBS_CHECKBOX) ? " checkbox" : "",
                  (style & ui::TBBS_DISABLED) ? "disabled" : "enabled", (style & ui::TBBS_CHECKED) ? " checked" : "",
                  tip.c_str());
    }
    for (ui::Wnd* child : bar->GetChildren())
      std::printf("  window %u %s%s \"%s\"\n", child->GetDlgCtrlID(), child->GetClassName().c_str(),
                  child->IsWindowEnabled() ? "" : " disabled", child->GetWindowText().c_str());
  }
}

void PrintQuestion(const ui::ModalQuestion& q, int code) {
  std::printf("modal %s %u \"%s\"", ui::ModalKindName(q.kind), q.templateId, q.title.c_str());
  if (!q.text.empty()) std::printf(" text=\"%s\"", q.text.c_str());
  std::printf(" answer=%d\n", code);
  if (q.dialog)
    for (ui::Wnd* item : q.dialog->GetChildren())
      std::printf("  item %u \"%s\"\n", item->GetDlgCtrlID(), item->GetWindowText().c_str());
}

ui::UINT KeyOf(const std::string& name) {
  static const std::map<std::string, ui::UINT> keys = {
      {"RETURN", ui::VK_RETURN}, {"ESCAPE", ui::VK_ESCAPE}, {"F1", ui::VK_F1}, {"SPACE", ui::VK_SPACE}};
  if (const auto it = keys.find(name); it != keys.end()) return it->second;
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
    return static_cast<ui::UINT>(std::toupper(static_cast<unsigned char>(name[0])));
  Fail("unknown key " + name);
}

const Command kConsoleCommands[] = {
    {"trace", "on|off",
     [](Host&, const std::vector<std::string>& w) {
       if (w.size() != 2) Fail("trace on|off");
       if (w[1] == "on") ::setenv("KEDRUS_CONSOLE_TRACE", "-", 1);
       else ::unsetenv("KEDRUS_CONSOLE_TRACE");
     }},
    {"execute", "NAME TEXT...",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() < 2) Fail("execute NAME TEXT...");
       auto* spc = host.Interface<ISpectrumControl>(host.Item(w[1]), IID_ISpectrumControl);
       const HResult hr = spc->ExecuteCommands(plat::toUtf16(Joined(w, 2)).c_str());
       spc->Release();
       std::printf("execute %s\n", hr == S_OK ? "S_OK" : hr == E_FAIL ? "E_FAIL" : std::to_string(hr).c_str());
     }},
    {"answer-show", "KIND CODE",
     [](Host& host, const std::vector<std::string>& w) {
       static const std::map<std::string, ui::ModalKind> kinds = {
           {"dialog", ui::ModalKind::Dialog}, {"message", ui::ModalKind::MessageBox}, {"menu", ui::ModalKind::PopupMenu}};
       if (w.size() != 3 || !kinds.count(w[1])) Fail("answer-show dialog|message|menu CODE");
       const int code = Int(w[2]);
       host.Responder().Then(kinds.at(w[1]), [code](ui::ModalQuestion& q) {
         PrintQuestion(q, code);
         return code;
       });
     }},
    {"toolbars", "", [](Host& host, const std::vector<std::string>&) { PrintToolBars(host); }},
    {"type", "TEXT...",
     [](Host&, const std::vector<std::string>& w) {
       ui::input::Type(Joined(w, 1));
       ui::App::PumpPending();
     }},
    {"press", "KEY",
     [](Host&, const std::vector<std::string>& w) {
       if (w.size() != 2) Fail("press KEY");
       ui::input::Key(KeyOf(w[1]));
       ui::App::PumpPending();
     }},
    {"raise", "",
     [](Host& host, const std::vector<std::string>&) {
       host.Current().FrameWindow().SetActiveWindow();
       ui::App::PumpPending();
     }},
    {"console", "",
     [](Host& host, const std::vector<std::string>&) {
       for (ui::ToolBar* bar : ToolBars(host))
         if (ui::Wnd* edit = bar->GetDlgCtrlID() == 505 ? bar->GetDlgItem(1031) : nullptr) {
           std::string text = edit->GetWindowText();
           std::replace(text.begin(), text.end(), '\n', '|');
           text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
           std::printf("console \"%s\"%s\n", text.c_str(), ui::Wnd::GetFocus() == edit ? " focused" : "");
         }
     }},
};
SPCHOST_COMMANDS(kConsoleCommands);

}  // namespace
}  // namespace spchost
