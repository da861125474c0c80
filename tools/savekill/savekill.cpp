// savekill: kills saves at random moments and checks that nothing was lost.
//
//   savekill [--kills N] [--seed S] [--no-exchange] --sample FILE DIR
//
// Each round starts a saver of its own (this program again), lets it save over and over and
// kills it with SIGKILL at a random moment: even rounds a workspace of the main program (two
// spectrum items of the sample, through the real spectrum control), odd rounds a spectrum folder
// of two spectra written by the folder format's own writer. Every save alternates between two
// versions of the same content, so a reader can tell a whole old or new save from a mixture.
// After every kill the target must still be there (or its old data aside, for the next open to
// put back). After the last kill comes a normal start: the program opens the workspace from its
// command line and the folder format's reader loads the folder's spectra; each must load whole, as one version,
// and no temporary file may be left beside or inside them. --no-exchange makes the file system
// seem one that cannot swap two folders in one step.
//
// Prints one line of figures and exits 0 when nothing was lost and nothing left behind.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "platform/base/file_testing.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/com/library.h"
#include "platform/ui/app.h"
#include "rodizora/app/saapp.h"
#include "rodizora/doc/sadoc.h"
#include "rodizora/doc/spectrumcontrol.h"
#include "rodizora/res/saresources.h"
#include "spectrum/convert/spcconvert.h"
#include "spectrum/data/spcprocess.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSpectra = 2;
// Where each version puts the spectrum items of the workspace (page units).
const gdi::Rect kRects[2][kSpectra] = {{{0, 0, 1188, 420}, {0, 420, 1188, 840}},
                                        {{10, 10, 1000, 400}, {20, 430, 900, 800}}};
const char16_t* const kTitles[2] = {u"version A", u"version B"};

std::string WorkspacePath(const std::string& dir) { return plat::joinPath(plat::joinPath(dir, "ws"), "page.ws"); }
std::string FolderPath(const std::string& dir) { return plat::joinPath(plat::joinPath(dir, "folder"), "spectrum"); }

// ---- The savers -------------------------------------------------------------------------------

void Say(const char* line) {
  const std::string text = std::string(line) + "\n";
  if (::write(STDOUT_FILENO, text.data(), text.size()) < 0) std::_Exit(3);
}

bool RegisterSpectrumControl() {
  if (CSpcControlRef::Create()) return true;
  void* module = nullptr;
  if (plat::ole::loadModule("NELVAR.DLL", false, &module) < 0 || !module) return false;
  auto entry = reinterpret_cast<plat::ole::HResult (*)()>(plat::ole::moduleSymbol(module, "DllRegisterServer"));
  return entry && entry() >= 0 && CSpcControlRef::Create();
}

// The main program started on a command line, as rodizora's own start does it.
std::unique_ptr<CSaApp> StartProgram(const std::vector<std::string>& args) {
  auto app = std::make_unique<CSaApp>();
  app->m_logoPauseMs = 0;
  app->SetArguments(args);
  if (!app->InitInstance()) return nullptr;
  return app;
}

CSaDoc* FirstDocument(CSaApp& app) {
  for (ui::DocTemplate* t : app.GetDocTemplates())
    for (ui::Document* d : t->GetDocuments())
      if (auto* doc = dynamic_cast<CSaDoc*>(d)) return doc;
  return nullptr;
}

int SaveWorkspaces(const std::string& dir, const std::string& sample) {
  if (!RegisterSpectrumControl()) return 2;
  const std::unique_ptr<CSaApp> app = StartProgram({sample + "+" + sample});
  CSaDoc* doc = app ? FirstDocument(*app) : nullptr;
  if (!doc || doc->Items().size() != kSpectra) return 2;
  Say("ready");
  for (int version = 0;; version ^= 1) {
    for (int i = 0; i < kSpectra; ++i) {
      CSaItem* item = doc->Items()[static_cast<std::size_t>(i)];
      item->SetRect(kRects[version][i]);
      CSpcControlRef::Query(item->GetOleObject())->SetParam(u"TITLE", kTitles[version]);
    }
    doc->SetWorkspace(true);
    if (!doc->OnSaveDocument(WorkspacePath(dir))) return 2;
    Say("saved");
  }
}

// The two versions of a stored spectrum: with a fid and without, of other sizes and values.
CSpcData FolderVersion(int version, int number) {
  CSpcData data;
  data.nKind = kSpcKindNmr;
  data.nDomain = 1;
  const std::size_t n = version == 0 ? 4096 : 2048;
  const float scale = 1.0f + static_cast<float>(version) + 10.0f * static_cast<float>(number);
  data.spectrum().resize(n);
  for (std::size_t i = 0; i < n; ++i) data.spectrum()[i] = {scale * (0.5f + i), -scale * i};
  if (version == 0) {
    data.fid().resize(n / 2);
    for (std::size_t i = 0; i < n / 2; ++i) data.fid()[i] = {scale * i, scale};
  }
  const auto param = [&](const char* name, std::int32_t v) {
    CSpcParam p;
    p.name = name;
    p.value.SetLong(v);
    data.params.Append(std::move(p));
  };
  param("TD", static_cast<std::int32_t>(data.fid().size() * 2));
  param("SI", static_cast<std::int32_t>(n));
  CSpcParam title;
  title.name = "TITLE";
  title.value.SetString(plat::toUtf8(kTitles[version]));
  data.params.Append(std::move(title));
  return data;
}

int SaveFolders(const std::string& dir) {
  Say("ready");
  for (int version = 0;; version ^= 1) {
    for (int number = 0; number < kSpectra; ++number) {
      CSpcData data = FolderVersion(version, number);
      CSpcProcess process(&data);
      process.InitFromParams();
      process.SelectData();
      if (!SpcSaveSpectrum(FolderPath(dir), &process, 0, 0, number)) return 2;
    }
    Say("saved");
  }
}

// ---- The checks of a normal start -------------------------------------------------------------

struct Figures {
  int workspaceKills = 0, folderKills = 0;
  int missing = 0, unreadable = 0, leftovers = 0;
  int caughtMidway = 0;  // kills that left temporaries behind for the next save or start to clean
  std::vector<std::string> notes;
};

// Names that only a save in progress makes: hidden siblings, temporaries of whole-file writes,
// point files under temporary names.
bool IsTemporaryName(const std::string& name) {
  return name.starts_with(".") || name.find(".tmp") != std::string::npos || name.find(".saving") != std::string::npos;
}

void CountLeftovers(const std::string& dir, Figures* f) {
  for (const plat::DirEntry& e : plat::findFiles(dir, "*")) {
    if (IsTemporaryName(e.name)) {
      ++f->leftovers;
      f->notes.push_back("left over: " + plat::joinPath(dir, e.name));
    }
    if (e.isDirectory && !e.isLink) CountLeftovers(plat::joinPath(dir, e.name), f);
  }
  std::string parameters;
  if (plat::readFile(plat::joinPath(dir, "parameters"), &parameters) == plat::FileStatus::Ok &&
      parameters.find("SAVING") != std::string::npos) {
    ++f->leftovers;
    f->notes.push_back("a save still pending in " + dir);
  }
}

// Which version the items of the opened workspace are, -1 when they are not one version whole.
int WorkspaceVersion(CSaDoc& doc) {
  if (doc.Items().size() != kSpectra) return -1;
  int version = -1;
  for (int i = 0; i < kSpectra; ++i) {
    CSaItem* item = doc.Items()[static_cast<std::size_t>(i)];
    const auto title = CSpcControlRef::Query(item->GetOleObject()).Param(u"TITLE");
    int v = -1;
    for (int k = 0; k < 2; ++k)
      if (title && *title == kTitles[k] && item->GetRect() == kRects[k][i]) v = k;
    if (v < 0 || (version >= 0 && v != version)) return -1;
    version = v;
  }
  return version;
}

int FolderVersionOf(const CSpcData& data, int number) {
  for (int version = 0; version < 2; ++version) {
    const CSpcData want = FolderVersion(version, number);
    const auto same = [](const std::vector<CSpcPoint>& got, const std::vector<CSpcPoint>& w) {
      if (w.empty()) return got.empty();
      if (got.size() < w.size()) return false;
      for (std::size_t i = 0; i < w.size(); ++i)
        if (got[i].re != w[i].re || got[i].im != w[i].im) return false;
      return true;
    };
    if (same(data.fid(), want.fid()) && same(data.spectrum(), want.spectrum()) &&
        data.params.GetValue("TITLE").GetString() == plat::toUtf8(kTitles[version]))
      return version;
  }
  return -1;
}

int Check(const std::string& dir, const std::string& reportPath) {
  Figures f;
  if (!RegisterSpectrumControl()) return 2;
  const std::string ws = WorkspacePath(dir);
  // The program started with the workspace on its command line, as a person would start it.
  if (const std::unique_ptr<CSaApp> app = StartProgram({ws})) {
    CSaDoc* doc = FirstDocument(*app);
    if (!doc || WorkspaceVersion(*doc) < 0) {
      ++f.unreadable;
      f.notes.push_back("the workspace is not one version whole");
    }
    app->CloseAllDocuments(false);
    if (ui::Wnd* main = app->GetMainWnd(); main && main->IsWindow()) main->DestroyWindow();
    app->ExitInstance();
  } else {
    ++(plat::pathExists(ws) ? f.unreadable : f.missing);
    f.notes.push_back("the workspace did not open");
  }
  const std::string folder = FolderPath(dir);
  for (int number = 0; number < kSpectra; ++number) {
    CSpcData data;
    if (SpcLoadSpectrum(folder, number, &data) != SpcLoadResult::Loaded) {
      ++(plat::pathExists(folder) ? f.unreadable : f.missing);
      f.notes.push_back("spectrum " + std::to_string(number) + " of the folder did not load");
    } else if (FolderVersionOf(data, number) < 0) {
      ++f.unreadable;
      f.notes.push_back("spectrum " + std::to_string(number) + " of the folder is not one version whole");
    }
  }
  CountLeftovers(std::string(plat::pathDirectory(ws)), &f);
  CountLeftovers(std::string(plat::pathDirectory(folder)), &f);
  std::string report = std::to_string(f.missing) + " " + std::to_string(f.unreadable) + " " +
                       std::to_string(f.leftovers) + "\n";
  for (const std::string& note : f.notes) report += note + "\n";
  return plat::writeFileAtomic(reportPath, report) ? 0 : 2;
}

// ---- The killer -------------------------------------------------------------------------------

struct Child {
  pid_t pid = -1;
  int out = -1;
};

Child Spawn(const std::vector<std::string>& args) {
  int fds[2];
  if (::pipe(fds) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(fds[1], STDOUT_FILENO);
    ::close(fds[0]);
    ::close(fds[1]);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv("/proc/self/exe", argv.data());
    std::_Exit(127);
  }
  ::close(fds[1]);
  return {pid, fds[0]};
}

// Waits up to timeout for the child's next line; false when it ended or was silent.
bool WaitLine(const Child& c, const char* line, std::chrono::milliseconds timeout) {
  std::string got;
  const auto end = Clock::now() + timeout;
  while (Clock::now() < end) {
    pollfd p{c.out, POLLIN, 0};
    const int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count());
    if (::poll(&p, 1, std::max(left, 1)) <= 0) continue;
    char ch;
    if (::read(c.out, &ch, 1) != 1) return false;
    if (ch != '\n') {
      got += ch;
      continue;
    }
    if (got == line) return true;
    got.clear();
  }
  return false;
}

int Reap(Child& c, bool kill) {
  if (kill) ::kill(c.pid, SIGKILL);
  int status = 0;
  ::waitpid(c.pid, &status, 0);
  ::close(c.out);
  return status;
}

int Usage() {
  std::fprintf(stderr, "usage: savekill [--kills N] [--seed S] [--no-exchange] --sample FILE DIR\n");
  return 2;
}

int Run(int argc, char** argv) {
  int kills = 60;
  unsigned seed = static_cast<unsigned>(std::random_device{}());
  bool noExchange = false;
  std::string sample, dir;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--kills" && i + 1 < argc) kills = std::atoi(argv[++i]);
    else if (a == "--seed" && i + 1 < argc) seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    else if (a == "--no-exchange") noExchange = true;
    else if (a == "--sample" && i + 1 < argc) sample = argv[++i];
    else if (!a.starts_with("--") && dir.empty()) dir = a;
    else return Usage();
  }
  if (sample.empty() || dir.empty() || kills < 1) return Usage();
  plat::removeTree(dir);
  if (!plat::makeDirectories(plat::joinPath(dir, "ws")) || !plat::makeDirectories(plat::joinPath(dir, "folder")))
    return 2;
  std::mt19937 rng(seed);
  Figures f;
  const std::string self = argv[0];
  const std::string exchange = noExchange ? "--no-exchange" : "--exchange";
  for (int round = 0; round < kills; ++round) {
    const bool workspace = round % 2 == 0;
    Child c = Spawn(workspace ? std::vector<std::string>{self, "--save-workspaces", exchange, dir, sample}
                              : std::vector<std::string>{self, "--save-folders", exchange, dir});
    if (c.pid < 0 || !WaitLine(c, "ready", std::chrono::seconds(60))) {
      std::fprintf(stderr, "savekill: round %d: the saver did not start\n", round);
      if (c.pid > 0) Reap(c, true);
      return 2;
    }
    // The first save shows how long one takes; the kill falls anywhere in the next two.
    const auto ready = Clock::now();
    if (!WaitLine(c, "saved", std::chrono::seconds(60))) {
      std::fprintf(stderr, "savekill: round %d: the saver could not save\n", round);
      Reap(c, true);
      return 2;
    }
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - ready);
    std::uniform_int_distribution<long> delay(0, std::max<long>(2 * saveTime.count(), 1));
    ::usleep(static_cast<useconds_t>(delay(rng)));
    Reap(c, true);
    (workspace ? f.workspaceKills : f.folderKills)++;
    // Right after the kill: the target is there, or its old data is aside for the next open.
    const std::string target = workspace ? WorkspacePath(dir) : FolderPath(dir);
    bool present = plat::pathExists(target);
    if (!present)
      for (const plat::DirEntry& e : plat::findFiles(plat::pathDirectory(target), "*"))
        present = present || e.name.starts_with("." + std::string(plat::pathFileName(target)) + ".old-");
    Figures left;
    CountLeftovers(std::string(plat::pathDirectory(target)), &left);
    if (left.leftovers > 0) ++f.caughtMidway;
    if (!present) {
      ++f.missing;
      f.notes.push_back("round " + std::to_string(round) + ": nothing at " + target);
    }
  }
  // A normal start.
  const std::string report = plat::joinPath(dir, "report");
  Child check = Spawn({self, "--check", exchange, dir, report});
  if (check.pid < 0) return 2;
  const int status = Reap(check, false);
  std::string text;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || plat::readFile(report, &text) != plat::FileStatus::Ok) {
    std::fprintf(stderr, "savekill: the check after the kills failed to run\n");
    return 2;
  }
  int missing = 0, unreadable = 0, leftovers = 0;
  std::sscanf(text.c_str(), "%d %d %d", &missing, &unreadable, &leftovers);
  f.missing += missing;
  f.unreadable += unreadable;
  f.leftovers += leftovers;
  std::printf("kills %d (workspace saves %d, spectrum-folder saves %d; %d left temporaries behind), seed %u%s: "
              "missing %d, unreadable %d, leftover temporary files %d\n",
              f.workspaceKills + f.folderKills, f.workspaceKills, f.folderKills, f.caughtMidway, seed,
              noExchange ? ", no folder exchange" : "", f.missing, f.unreadable, f.leftovers);
  for (const std::string& note : f.notes) std::printf("  %s\n", note.c_str());
  if (const std::size_t line = text.find('\n'); line != std::string::npos) std::printf("%s", text.c_str() + line + 1);
  return f.missing == 0 && f.unreadable == 0 && f.leftovers == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]).starts_with("--") && (std::string(argv[2]) == "--exchange" || std::string(argv[2]) == "--no-exchange")) {
    plat::refuseExchangeForTesting(std::string(argv[2]) == "--no-exchange");
    const std::string mode = argv[1];
    ui::App::SetCommandLine(argc, argv);
    ui::SetAppResources(&ProgramResources());
    if (mode == "--save-workspaces" && argc == 5) return SaveWorkspaces(argv[3], argv[4]);
    if (mode == "--save-folders" && argc == 4) return SaveFolders(argv[3]);
    if (mode == "--check" && argc == 5) return Check(argv[3], argv[4]);
    return Usage();
  }
  return Run(argc, argv);
}
