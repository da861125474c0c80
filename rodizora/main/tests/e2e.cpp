#include "rodizora/main/tests/e2e.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace e2e {

namespace fs = std::filesystem;

namespace {

// Spawns path with args and the environment env ("NAME=value"), output appended to log.
pid_t Spawn(const std::string& path, const std::vector<std::string>& args, const std::vector<std::string>& env,
            const std::string& log) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = -1;
  if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Our environment with the given values set on top.
std::vector<std::string> EnvironmentWith(const std::map<std::string, std::string>& values) {
  std::vector<std::string> out;
  for (char** e = environ; e && *e; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    if (!values.count(name)) out.push_back(entry);
  }
  for (const auto& [name, value] : values) out.push_back(name + "=" + value);
  return out;
}

std::string SafeName(std::string name) {
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '.') c = '_';
  return name;
}

}  // namespace

// --- Program -------------------------------------------------------------------------------------------

Program::Program(const std::string& path, const std::vector<std::string>& args, const std::vector<std::string>& env,
                 const std::string& log)
    : pid_(Spawn(path, args, env, log)) {}

Program::~Program() { Stop(); }

bool Program::Running() {
  if (pid_ <= 0) return false;
  int status = 0;
  const pid_t r = ::waitpid(pid_, &status, WNOHANG);
  if (r == pid_) {
    status_ = status;
    pid_ = -1;
    return false;
  }
  return r == 0;
}

double Program::CpuSeconds() const {
  if (pid_ <= 0) return -1;
  std::ifstream in("/proc/" + std::to_string(pid_) + "/stat");
  std::string line;
  if (!std::getline(in, line)) return -1;
  // Fields after the command name (which may hold blanks) in parentheses: utime is the 14th
  // field of the line, stime the 15th.
  const std::size_t close = line.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(line.substr(close + 2));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) utime = std::stoull(field);
    if (i == 15) stime = std::stoull(field);
  }
  return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

int Program::WaitForExit(int timeoutMs) {
  XSession::WaitUntil([this] { return !Running(); }, timeoutMs);
  if (pid_ > 0) return -1;
  return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + (WIFSIGNALED(status_) ? WTERMSIG(status_) : 0);
}

int Program::Stop() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    if (WaitForExit(3000) < 0 && pid_ > 0) {
      ::kill(pid_, SIGKILL);
      int status = 0;
      ::waitpid(pid_, &status, 0);
      status_ = status;
      pid_ = -1;
    }
  }
  return status_;
}

// --- The fixture -----------------------------------------------------------------------------------------

XSession& E2eTest::x() {
  // Lives to the end of the run; its server is ended with it (one left behind per run piled up).
  static XSession session(1600, 1200);
  return session;
}

std::string E2eTest::Sample() { return std::string(E2E_SAMPLES) + "/ethyl_acetate_fid.dx"; }

std::string E2eTest::SampleCopy(const std::string& name) const {
  const std::string to = ScratchDir() + "/" + name;
  std::error_code ec;
  fs::copy_file(Sample(), to, fs::copy_options::overwrite_existing, ec);
  return to;
}

void E2eTest::SetUp() {
  if (!XSession::Available()) GTEST_SKIP() << "no Xvfb here";
  ASSERT_TRUE(x().Ok()) << "the virtual X server did not start";
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string name = SafeName(std::string(info->test_suite_name()) + "." + info->name());
  sandbox_ = std::string(E2E_WORK_DIR) + "/" + name;
  shots_ = std::string(E2E_SHOTS_DIR) + "/" + name;
  std::error_code ec;
  fs::remove_all(sandbox_, ec);
  fs::remove_all(shots_, ec);
  for (const char* sub : {"registry", "ini", "home", "config", "scratch", "tmp"}) fs::create_directories(sandbox_ + "/" + sub);
  fs::create_directories(shots_);
  env_ = {{"DISPLAY", x().DisplayName()},
          {"QT_QPA_PLATFORM", "xcb"},
          {"KEDRUS_REGISTRY_DIR", sandbox_ + "/registry"},
          {"KEDRUS_INI_DIR", sandbox_ + "/ini"},
          {"HOME", sandbox_ + "/home"},
          {"XDG_CONFIG_HOME", sandbox_ + "/config"},
          {"TMPDIR", sandbox_ + "/tmp"},
          {"KEDRUS_SCREENSHOT", ""}};
  // The real controls, registered as the set-up registers them.
  Program reg(E2E_REGSERVER, {"-s", E2E_NELVAR, E2E_KARVEL}, EnvironmentWith(env_), sandbox_ + "/regserver.log");
  ASSERT_EQ(reg.WaitForExit(30000), 0) << "regserver failed: " << sandbox_ << "/regserver.log";
  // The pointer starts in a corner, away from every window.
  x().Move(x().Width() - 1, x().Height() - 1);
}

void E2eTest::TearDown() {
  if (program_) {
    // A program the case waited for ended as the case wanted; one that ended unseen did not.
    const bool crashed = program_->Pid() > 0 && !program_->Running();
    program_->Stop();
    program_.reset();
    EXPECT_FALSE(crashed && !HasFailure()) << "the program ended on its own; see " << sandbox_ << "/rodizora.log";
  }
  if (!shots_.empty() && HasFailure()) std::fprintf(stderr, "screenshots of the steps: %s\n", shots_.c_str());
}

Program* E2eTest::StartProgram(const std::vector<std::string>& args, bool waitForMain) {
  program_.reset();
  program_ = std::make_unique<Program>(E2E_RODIZORA, args, EnvironmentWith(env_), sandbox_ + "/rodizora.log");
  if (program_->Pid() <= 0) return nullptr;
  if (waitForMain && !MainWindow()) {
    StepNow("no main window");
    return nullptr;
  }
  if (waitForMain) XSession::WaitUntil([this] { return !LogoWindow(); }, 10000);
  return program_.get();
}

std::optional<XWindow> E2eTest::SaveAsWorkspaceAndReopen(const std::string& name) {
  x().Key("ctrl+s");
  const auto save = x().WaitForWindow("Save");
  EXPECT_TRUE(save) << "Ctrl+S asked for no name";
  if (!save) return std::nullopt;
  Step("save dialog");
  // The file name field sits at the bottom left.
  x().Click(save->box.x + 200, save->box.Bottom() - 41);
  x().Key("ctrl+a");
  x().Type(name);
  x().Key("Return");
  const bool closed = x().WaitForNoWindow("Save");
  EXPECT_TRUE(closed) << "the save dialog stayed up";
  const std::string workspace = sandbox_ + "/home/" + name;
  const bool written = closed && XSession::WaitUntil([&] { return fs::exists(workspace + "/core"); }, 10000);
  EXPECT_TRUE(written) << "no workspace written";
  if (!written) return std::nullopt;
  Step("saved");
  if (!StartProgram({workspace})) return std::nullopt;
  return MainWindow();
}

int E2eTest::WaitForProgramEnd(int timeoutMs) {
  if (!program_) return -1;
  const int code = program_->WaitForExit(timeoutMs);
  if (code >= 0) program_.reset();
  return code;
}

std::optional<XWindow> E2eTest::LogoWindow() const {
  for (const XWindow& w : x().Stack()) {
    const bool untitled = w.title.empty() || w.title == "rodizora";
    const bool centred = std::abs(w.box.CenterX() - x().Width() / 2) <= 1 && std::abs(w.box.CenterY() - x().Height() / 2) <= 1;
    if (untitled && centred && w.box.w > 50 && w.box.w < x().Width()) return w;
  }
  return std::nullopt;
}

std::optional<XWindow> E2eTest::MainWindow(int timeoutMs) const { return x().WaitForWindow("KEDRUS Rodizora", timeoutMs); }

void E2eTest::Keep(const std::string& name) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%02d-", ++steps_);
  last_.SavePng(shots_ + "/" + prefix + SafeName(name) + ".png");
}

Shot E2eTest::Step(const std::string& name) {
  last_ = x().GrabSettled(x().Screen());
  Keep(name);
  return last_;
}

Shot E2eTest::StepNow(const std::string& name) {
  last_ = x().Grab();
  Keep(name);
  return last_;
}

}  // namespace e2e
