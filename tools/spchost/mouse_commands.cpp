// spchost's commands for the plot's mouse interaction: input injected into a control's window
// as a user would give it, command ids sent to it, the state that shows of it, a check that no
// XOR mark outlives the state it stands for, and the clipboard's text.
//
//   down|up|move|click|dblclick NAME X Y [left|right] [ctrl] [shift]
//                                 one mouse event at a client point of the control's window
//   drag NAME X0 Y0 X1 Y1 [STEPS] [right] [ctrl] [shift]
//                                 press, moves in STEPS (default 4) and release
//   key NAME KEY [ctrl] [shift]   a key (LEFT, RIGHT, UP, DOWN, PRIOR, NEXT, a letter or a digit)
//   command NAME ID               WM_COMMAND with the id to the control
//   state NAME                    mouse mode, commands that show the selection and the cursor,
//                                 and the last status text the container was given
//   xor-check NAME                repaints the control and reports the pixels that changed:
//                                 "xor clean" when what showed was what the state draws
//   snapshot NAME FILE            the control's window as it shows now, as PNG
//   answer-text ITEM TEXT [CODE]  the next dialog gets TEXT in item ITEM and ends with CODE (OK)
//   clipboard                     the clipboard's text, one line per line
//   events NAME FILE              replays a file of the commands above without NAME
//                                 ("drag 10 10 90 90", "dump"); other lines run as host commands
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/ui/app.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/dialog.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/msgmap.h"
#include "tools/spchost/host.h"

namespace spchost {
namespace {

// The window that draws the plot: the control's own, inside its control frame.
ui::Wnd* PlotWindow(Host& host, const std::string& name) {
  nelvar::testing::HostItem* item = host.Item(name);
  ui::Wnd* frame = ui::Wnd::FromHandle(item->GetInPlaceWindow());
  if (!frame) Fail("the control has no window: activate it first");
  ui::Wnd* plot = frame->GetTopWindow();
  return plot ? plot : frame;
}

struct Input {
  ui::UINT button = ui::MK_LBUTTON;
  ui::UINT modifiers = ui::input::kNone;
};

Input Modifiers(const std::vector<std::string>& w, std::size_t from) {
  Input in;
  for (std::size_t i = from; i < w.size(); ++i) {
    if (w[i] == "right") in.button = ui::MK_RBUTTON;
    else if (w[i] == "left") in.button = ui::MK_LBUTTON;
    else if (w[i] == "ctrl") in.modifiers |= ui::input::kControl;
    else if (w[i] == "shift") in.modifiers |= ui::input::kShift;
    else Fail("unknown modifier " + w[i]);
  }
  return in;
}

void Mouse(Host& host, const std::vector<std::string>& w) {
  if (w.size() < 4) Fail(w[0] + " NAME X Y [left|right] [ctrl] [shift]");
  ui::Wnd* wnd = PlotWindow(host, w[1]);
  const ui::Point at{Int(w[2]), Int(w[3])};
  const Input in = Modifiers(w, 4);
  if (w[0] == "down") ui::input::MouseDown(wnd, at, in.button, in.modifiers);
  else if (w[0] == "up") ui::input::MouseUp(wnd, at, in.button, in.modifiers);
  else if (w[0] == "click") ui::input::Click(wnd, at, in.button, in.modifiers);
  else if (w[0] == "dblclick") ui::input::DoubleClick(wnd, at, in.button, in.modifiers);
  else {
    // A move names the button it holds only when one is given.
    const bool held = w.size() > 4 && (w[4] == "left" || w[4] == "right");
    ui::input::MouseMove(wnd, at, held ? in.button : 0, in.modifiers);
  }
}

void Drag(Host& host, const std::vector<std::string>& w) {
  if (w.size() < 6) Fail("drag NAME X0 Y0 X1 Y1 [STEPS] [right] [ctrl] [shift]");
  ui::Wnd* wnd = PlotWindow(host, w[1]);
  const int x0 = Int(w[2]), y0 = Int(w[3]), x1 = Int(w[4]), y1 = Int(w[5]);
  std::size_t rest = 6;
  int steps = 4;
  if (w.size() > 6 && !w[6].empty() && std::isdigit(static_cast<unsigned char>(w[6][0]))) {
    steps = std::max(1, Int(w[6]));
    rest = 7;
  }
  const Input in = Modifiers(w, rest);
  ui::input::MouseDown(wnd, {x0, y0}, in.button, in.modifiers);
  ui::App::PumpPending();
  for (int s = 1; s <= steps; ++s) {
    ui::input::MouseMove(wnd, {x0 + (x1 - x0) * s / steps, y0 + (y1 - y0) * s / steps}, in.button, in.modifiers);
    ui::App::PumpPending();
  }
  ui::input::MouseUp(wnd, {x1, y1}, in.button, in.modifiers);
}

ui::UINT KeyCode(const std::string& name) {
  static const std::map<std::string, ui::UINT> named = {{"LEFT", ui::VK_LEFT},   {"RIGHT", ui::VK_RIGHT},
                                                         {"UP", ui::VK_UP},       {"DOWN", ui::VK_DOWN},
                                                         {"PRIOR", ui::VK_PRIOR}, {"NEXT", ui::VK_NEXT}};
  if (const auto it = named.find(name); it != named.end()) return it->second;
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
    return static_cast<ui::UINT>(std::toupper(static_cast<unsigned char>(name[0])));
  Fail("unknown key " + name);
}

void Key(Host& host, const std::vector<std::string>& w) {
  if (w.size() < 3) Fail("key NAME KEY [ctrl] [shift]");
  PlotWindow(host, w[1])->SetFocus();
  ui::input::Key(KeyCode(w[2]), Modifiers(w, 3).modifiers);
}

void State(Host& host, const std::vector<std::string>& w) {
  if (w.size() != 2) Fail("state NAME");
  ui::Wnd* wnd = PlotWindow(host, w[1]);
  static const std::pair<ui::UINT, const char*> modes[] = {
      {40074, "selection"}, {40075, "picking"}, {40076, "phasing"}, {40109, "integration"}, {40119, "text"}};
  std::string mode = "none";
  for (const auto& [id, name] : modes)
    if (ui::QueryCommandState(wnd, id).check == 1) mode = name;
  auto enabled = [&](ui::UINT id) { return ui::QueryCommandState(wnd, id).enabled ? "yes" : "no"; };
  std::printf("mode %s\nselection %s\ncursor %s\n", mode.c_str(), enabled(40022), enabled(40069));
  std::string status;
  for (const std::string& line : host.Current().Log())
    if (line.rfind("SetStatusText ", 0) == 0) status = line.substr(14);
  std::printf("status %s\n", status.c_str());
}

void XorCheck(Host& host, const std::vector<std::string>& w) {
  if (w.size() != 2) Fail("xor-check NAME");
  ui::Wnd* wnd = PlotWindow(host, w[1]);
  const gdi::WindowSurface* surface = wnd->GetClientSurface();
  if (!surface) Fail("the control draws no surface of its own");
  const gdi::RasterSurface before(*surface);
  wnd->InvalidateRect(nullptr, true);
  wnd->UpdateWindow();
  std::int64_t changed = 0;
  gdi::Rect box;
  for (int y = 0; y < before.Height(); ++y)
    for (int x = 0; x < before.Width(); ++x) {
      if (before.GetPixel(x, y) == surface->GetPixel(x, y)) continue;
      if (changed++ == 0) box = gdi::Rect(x, y, x + 1, y + 1);
      box = gdi::Rect(std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1), std::max(box.bottom, y + 1));
    }
  if (changed == 0) std::printf("xor clean\n");
  else std::printf("xor leftover %lld pixels in %d,%d,%d,%d\n", static_cast<long long>(changed), box.left, box.top,
                   box.right, box.bottom);
}

void Events(Host& host, const std::vector<std::string>& w) {
  if (w.size() != 3) Fail("events NAME FILE");
  std::ifstream in(w[2]);
  if (!in) Fail("cannot read " + w[2]);
  static const std::set<std::string> targeted = {"down", "up",      "move",  "click",    "dblclick",
                                                 "drag", "key",     "command", "state",  "xor-check", "snapshot", "dump"};
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> words;
    std::istringstream split(line);
    for (std::string word; split >> word;) {
      if (word.front() == '#') break;
      words.push_back(word);
    }
    if (words.empty()) continue;
    if (targeted.count(words[0])) words.insert(words.begin() + 1, w[1]);
    host.Run(words);
  }
}

const Command kMouseCommands[] = {
    {"down", "NAME X Y [left|right] [ctrl] [shift]", Mouse},
    {"up", "NAME X Y [left|right] [ctrl] [shift]", Mouse},
    {"move", "NAME X Y [left|right] [ctrl] [shift]", Mouse},
    {"click", "NAME X Y [left|right] [ctrl] [shift]", Mouse},
    {"dblclick", "NAME X Y [left|right] [ctrl] [shift]", Mouse},
    {"drag", "NAME X0 Y0 X1 Y1 [STEPS] [right] [ctrl] [shift]", Drag},
    {"key", "NAME KEY [ctrl] [shift]", Key},
    {"command", "NAME ID",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() != 3) Fail("command NAME ID");
       PlotWindow(host, w[1])->SendMessage(ui::WM_COMMAND, static_cast<ui::WPARAM>(Int(w[2])), 0);
     }},
    {"state", "NAME", State},
    {"xor-check", "NAME", XorCheck},
    {"snapshot", "NAME FILE",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() != 3) Fail("snapshot NAME FILE");
       const gdi::WindowSurface* surface = PlotWindow(host, w[1])->GetClientSurface();
       if (!surface || !surface->SavePng(w[2])) Fail("no picture of the control");
     }},
    {"answer-text", "ITEM TEXT [CODE]",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() < 3) Fail("answer-text ITEM TEXT [CODE]");
       const int item = Int(w[1]);
       const std::string text = w[2];
       const int code = w.size() > 3 ? Int(w[3]) : ui::IDOK;
       host.Responder().Then(ui::ModalKind::Dialog, [item, text, code](ui::ModalQuestion& q) {
         if (q.dialog) q.dialog->SetDlgItemText(item, text);
         return code;
       });
     }},
    {"clipboard", "",
     [](Host&, const std::vector<std::string>&) {
       std::string text = ui::GetClipboard().GetText();
       for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
       std::printf("%s\n", text.c_str());
     }},
    {"events", "NAME FILE", Events},
};
SPCHOST_COMMANDS(kMouseCommands);

}  // namespace
}  // namespace spchost
