// spchost: a headless host of spectrum controls for tests and for people looking at what a
// control does. It makes controls by class id in test containers (their items may offer the
// main program's IOrvClientSite, with a zoom the script sets), loads spectra into them,
// activates and deactivates them, saves and restores their persistent state, answers the
// dialogs they open from the script and dumps what they hold.
//
//   spchost [--registry DIR] [--ini-dir DIR] [--script FILE] [-c COMMAND]...
//
// --registry and --ini-dir set where the registry hives and the modules' INI files are (they
// default to the environment's KEDRUS_REGISTRY_DIR and KEDRUS_INI_DIR). Commands run in order,
// one per line of the script or per -c; "#" starts a comment. Exit status: 0 when every command
// succeeded, 1 for bad arguments, 2 when a command failed (it says so on stderr and the run ends).
//
// Commands:
//   register [MODULE] | unregister [MODULE]   the module's registration (default libnelvar.so)
//   frame NAME [WIDTH HEIGHT]     a new container, the current one from now on
//   use NAME                      makes container NAME the current one
//   zoom N | title INDEX TEXT     what the fake IOrvClientSite answers
//   create NAME [CLASS] [nosite] [X Y W H]   a control by class id or ProgID (default the
//                                 spectrum control) in the current container
//   restore NAME FILE [nosite]    a control made from a saved state (as an item made from data)
//   activate NAME | deactivate NAME | remove NAME
//   load NAME PATH [INDEX]        ISpectrumControl::LoadSpectrum
//   save NAME FILE                the control's persistent state into FILE
//   dump NAME | dump-file FILE    the dump of a control's persistent state
//   bars                          the bar frames of the current container and their bars
//   answer KIND CODE [PATH...]    the answer to the next modal run of KIND (dialog, sheet,
//                                 message, menu, color, font, file, print); file answers take paths
//   log                           what the current container's items asked of it
//   echo TEXT
//   help                          every command with the words it takes
//
// Areas of the control add commands of their own (host.h); "help" lists them all.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "common/guids.h"
#include "common/ispectrumcontrol.h"
#include "platform/base/module.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/com/creation.h"
#include "platform/com/library.h"
#include "platform/ole/dataobject.h"
#include "platform/ui/app.h"
#include "spectrum/control/frames/mainframewnd.h"
#include "spectrum/control/labels/labelobjects.h"
#include "spectrum/control/module/spcapp.h"
#include "tools/spchost/host.h"

namespace spchost {

using namespace plat::ole;
using nelvar::testing::HostItem;
using plat::ole::testing::TestContainer;

void Fail(const std::string& what) { throw Failure{what}; }

int Int(const std::string& text) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || !end || *end) Fail("not a number: " + text);
  return static_cast<int>(v);
}

double Number(const std::string& text) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || !end || *end) Fail("not a number: " + text);
  return v;
}

bool ReadFile(const std::string& path, std::vector<std::uint8_t>* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), {});
  return true;
}

namespace {

// Every command by name, the basic ones and those the areas add.
std::map<std::string, const Command*>& Commands() {
  static std::map<std::string, const Command*> commands;
  return commands;
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string w; in >> w;) {
    if (w.front() == '#') break;
    words.push_back(w);
  }
  return words;
}

std::string DefaultModule() { return plat::joinPath(plat::moduleDirectory(reinterpret_cast<const void*>(&Words)), "libnelvar.so"); }

Guid ClassOf(const std::string& text) {
  Guid clsid{};
  if (guidFromString(text, &clsid)) return clsid;
  if (succeeded(clsidFromProgId(plat::toUtf16(text), &clsid))) return clsid;
  Fail("unknown class " + text);
}

void Registration(const std::vector<std::string>& w) {
  const char* entry = w[0] == "register" ? "DllRegisterServer" : "DllUnregisterServer";
  const std::string path = w.size() > 1 ? resolveModulePath(w[1]) : DefaultModule();
  void* module = nullptr;
  if (failed(loadModule(path, true, &module))) Fail(path + " could not be loaded");
  auto* call = reinterpret_cast<HResult (*)()>(moduleSymbol(module, entry));
  if (!call) Fail(path + " has no " + entry);
  if (const HResult hr = call(); failed(hr)) Fail(std::string(entry) + " failed: " + std::to_string(hr));
}

void Bars(Host& host) {
  TestContainer* current = host.HasCurrent() ? &host.Current() : nullptr;
  for (CMainFrameWnd* frame : CMainFrameWnd::LiveFrames()) {
    if (current && frame->GetParent() != &current->FrameWindow()) continue;
    std::printf("frame controls=%d active=%s\n", CMainFrameWnd::AttachCount(frame),
                frame->GetActiveControlFrame() ? "yes" : "no");
    for (ui::ControlBar* bar : frame->Bars())
      std::printf("  bar %u %s flags=%u\n", bar->GetDlgCtrlID(), frame->IsBarVisible(bar->GetDlgCtrlID()) ? "shown" : "hidden",
                  bar->m_nStateFlags);
  }
  if (current) {
    const BorderWidths& b = current->Frame().GetBorderSpace();
    std::printf("border %d,%d,%d,%d\n", b.left, b.top, b.right, b.bottom);
  }
}

void Answer(Host& host, const std::vector<std::string>& w) {
  static const std::map<std::string, ui::ModalKind> kinds = {
      {"dialog", ui::ModalKind::Dialog},     {"sheet", ui::ModalKind::PropertySheet}, {"message", ui::ModalKind::MessageBox},
      {"menu", ui::ModalKind::PopupMenu},    {"color", ui::ModalKind::ColorDialog},   {"font", ui::ModalKind::FontDialog},
      {"file", ui::ModalKind::FileDialog},   {"print", ui::ModalKind::PrintDialog}};
  const auto kind = kinds.find(w[1]);
  if (kind == kinds.end()) Fail("unknown kind " + w[1]);
  const int code = Int(w[2]);
  std::vector<std::string> paths(w.begin() + 3, w.end());
  host.Responder().Then(kind->second, [code, paths](ui::ModalQuestion& q) {
    if (q.file && !paths.empty()) q.file->paths = paths;
    return code;
  });
}

void MakeItem(Host& host, const std::vector<std::string>& w) {
  if (host.Items().count(w[1])) Fail("a control named " + w[1] + " exists");
  std::vector<std::string> rest(w.begin() + 2, w.end());
  bool offerSite = true;
  std::erase_if(rest, [&](const std::string& s) { return s == "nosite" ? (offerSite = false, true) : false; });
  auto* item = new HostItem(&host.Current(), &host.Settings(), offerSite);
  item->m_record.type = 1;
  item->m_record.subtype = 1;
  item->m_record.fromFile = 1;
  bool made = false;
  if (w[0] == "create") {
    const Guid clsid = !rest.empty() && rest.size() != 4 ? ClassOf(rest[0]) : CLSID_Spc;
    if (rest.size() >= 4) {
      const std::size_t at = rest.size() - 4;
      item->m_rect = {Int(rest[at]), Int(rest[at + 1]), Int(rest[at]) + Int(rest[at + 2]), Int(rest[at + 1]) + Int(rest[at + 3])};
    }
    made = item->CreateNewItem(clsid);
  } else {
    std::vector<std::uint8_t> state;
    if (rest.empty() || !ReadFile(rest[0], &state)) Fail("restore NAME FILE: the file cannot be read");
    std::vector<std::uint8_t> embed(16);
    const plat::ole::Guid clsid = CLSID_Spc;
    std::memcpy(embed.data(), &clsid, 16);
    embed.insert(embed.end(), state.begin(), state.end());
    auto* source = new DataSource;
    source->CacheData(embedSourceFormat(), std::move(embed));
    IDataObject* data = nullptr;
    source->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data));
    source->Release();
    made = data && item->CreateFromData(data);
    releaseInterface(data);
  }
  if (!made) {
    host.Current().Remove(item);
    Fail("the control could not be made");
  }
  host.Items()[w[1]] = item;
}

std::vector<std::uint8_t> SavedState(Host& host, const std::string& name) {
  std::vector<std::uint8_t> state;
  if (!host.Item(name)->SaveObjectState(&state)) Fail("the state could not be saved");
  return state;
}

const Command kBasicCommands[] = {
    {"register", "[MODULE]", [](Host&, const std::vector<std::string>& w) { Registration(w); }},
    {"unregister", "[MODULE]", [](Host&, const std::vector<std::string>& w) { Registration(w); }},
    {"frame", "NAME [WIDTH HEIGHT]",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() < 2) Fail("frame NAME [WIDTH HEIGHT]");
       const int width = w.size() >= 4 ? Int(w[2]) : 800, height = w.size() >= 4 ? Int(w[3]) : 600;
       auto& slot = host.Frames()[w[1]];
       if (slot) Fail("container " + w[1] + " exists");
       slot = std::make_unique<TestContainer>(width, height);
       host.SetCurrent(slot.get());
     }},
    {"use", "NAME",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() != 2) Fail("use NAME");
       const auto it = host.Frames().find(w[1]);
       if (it == host.Frames().end()) Fail("no container named " + w[1]);
       host.SetCurrent(it->second.get());
     }},
    {"zoom", "N",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() != 2) Fail("zoom N");
       host.Settings().zoom = Int(w[1]);
     }},
    {"title", "INDEX TEXT",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() < 3) Fail("title INDEX TEXT");
       const int index = Int(w[1]);
       if (index < 0 || index > 1) Fail("title index 0 or 1");
       std::string text;
       for (std::size_t i = 2; i < w.size(); ++i) text += (i > 2 ? " " : "") + w[i];
       host.Settings().titles[index] = plat::toUtf16(text);
     }},
    {"create", "NAME [CLASS] [nosite] [X Y W H]",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() < 2) Fail("create NAME [CLASS] [nosite] [X Y W H]");
       MakeItem(host, w);
     }},
    {"restore", "NAME FILE [nosite]",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() < 2) Fail("restore NAME FILE [nosite]");
       MakeItem(host, w);
     }},
    {"activate", "NAME",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() != 2) Fail("activate NAME");
       if (!host.Current().Activate(host.Item(w[1]))) Fail("activation failed");
     }},
    {"deactivate", "NAME",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() != 2) Fail("deactivate NAME");
       host.Current().Deactivate(host.Item(w[1]));
     }},
    {"remove", "NAME",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() != 2) Fail("remove NAME");
       HostItem* item = host.Item(w[1]);
       host.Items().erase(w[1]);
       host.Current().Remove(item);
     }},
    {"load", "NAME PATH [INDEX]",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() < 3) Fail("load NAME PATH [INDEX]");
       auto* spc = host.Interface<ISpectrumControl>(host.Item(w[1]), IID_ISpectrumControl);
       const HResult hr = spc->LoadSpectrum(plat::toUtf16(w[2]).c_str(), w.size() > 3 ? Int(w[3]) : 0);
       spc->Release();
       if (failed(hr)) Fail("LoadSpectrum failed");
     }},
    {"save", "NAME FILE",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() != 3) Fail("save NAME FILE");
       const std::vector<std::uint8_t> state = SavedState(host, w[1]);
       std::ofstream(w[2], std::ios::binary).write(reinterpret_cast<const char*>(state.data()),
                                                  static_cast<std::streamsize>(state.size()));
     }},
    {"dump", "NAME",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() != 2) Fail("dump NAME");
       std::fputs(nelvar::testing::DumpSpcState(SavedState(host, w[1])).c_str(), stdout);
     }},
    {"dump-file", "FILE",
     [](Host&, const std::vector<std::string>& w) {
       if (w.size() != 2) Fail("dump-file FILE");
       std::vector<std::uint8_t> state;
       if (!ReadFile(w[1], &state)) Fail("cannot read " + w[1]);
       std::fputs(nelvar::testing::DumpSpcState(state).c_str(), stdout);
     }},
    {"bars", "", [](Host& host, const std::vector<std::string>&) { Bars(host); }},
    {"answer", "KIND CODE [PATH...]",
     [](Host& host, const std::vector<std::string>& w) {
       if (w.size() < 3) Fail("answer KIND CODE [PATH...]");
       Answer(host, w);
     }},
    {"log", "",
     [](Host& host, const std::vector<std::string>&) {
       for (const std::string& line : host.Current().Log()) std::printf("%s\n", line.c_str());
     }},
    {"echo", "TEXT",
     [](Host&, const std::vector<std::string>& w) {
       for (std::size_t i = 1; i < w.size(); ++i) std::printf("%s%s", i > 1 ? " " : "", w[i].c_str());
       std::printf("\n");
     }},
    {"help", "",
     [](Host&, const std::vector<std::string>&) {
       for (const auto& [name, command] : Commands()) std::printf("%s %s\n", name.c_str(), command->usage);
     }},
};
SPCHOST_COMMANDS(kBasicCommands);

int Usage() {
  std::fprintf(stderr, "usage: spchost [--registry DIR] [--ini-dir DIR] [--script FILE] [-c COMMAND]...\n");
  return 1;
}

}  // namespace

CommandSet::CommandSet(const Command* commands, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) Commands()[commands[i].name] = &commands[i];
}

Host::Host() = default;

Host::~Host() {
  items_.clear();
  frames_.clear();
  ui::App::PumpPending();
  freeUnusedLibraries();
}

TestContainer& Host::Current() {
  if (!current_) Fail("no container: use 'frame NAME' first");
  return *current_;
}

HostItem* Host::Item(const std::string& name) {
  const auto it = items_.find(name);
  if (it == items_.end()) Fail("no control named " + name);
  return it->second;
}

void Host::Run(const std::vector<std::string>& w) {
  const auto it = Commands().find(w[0]);
  if (it == Commands().end()) Fail("unknown command: " + w[0]);
  it->second->run(*this, w);
  ui::App::PumpPending();
}

}  // namespace spchost

int main(int argc, char** argv) {
  using namespace spchost;
  std::vector<std::string> lines;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) return Usage();
    const std::string value = argv[++i];
    if (a == "--registry") ::setenv("KEDRUS_REGISTRY_DIR", value.c_str(), 1);
    else if (a == "--ini-dir") ::setenv("KEDRUS_INI_DIR", value.c_str(), 1);
    else if (a == "-c") lines.push_back(value);
    else if (a == "--script") {
      std::ifstream in(value);
      if (!in) {
        std::fprintf(stderr, "spchost: cannot read %s\n", value.c_str());
        return 1;
      }
      for (std::string line; std::getline(in, line);) lines.push_back(line);
    } else {
      return Usage();
    }
  }
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ui::App app("spchost");
  // The tool's own copy of the control reads the states it dumps.
  RegisterLabelDrawObjects();
  SpcApp().InitInstance();
  int status = 0;
  {
    Host host;
    for (std::size_t n = 0; n < lines.size(); ++n) {
      const std::vector<std::string> words = Words(lines[n]);
      if (words.empty()) continue;
      try {
        host.Run(words);
      } catch (const Failure& f) {
        std::fprintf(stderr, "spchost: line %zu (%s): %s\n", n + 1, words[0].c_str(), f.what.c_str());
        status = 2;
        break;
      }
    }
  }
  std::fflush(stdout);
  return status;
}
