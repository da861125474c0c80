#pragma once
// The end-to-end suite's fixture: the real rodizora on the suite's private X server, with the
// real spectrum control and auxiliary controls registered in a sandbox registry, no test
// responder (the product's own modal runs), real input, and a screenshot kept of every step.
//
//   TEST_F(E2eTest, SomethingAPersonDoes) {
//     auto main = StartProgram({Sample()});          // waits for the main window
//     x().Key("ctrl+o");
//     auto open = x().WaitForWindow("Open");
//     Step("open dialog");                           // build/e2e-shots/<Test>/NN-open_dialog.png
//     EXPECT_GT(LastShot().CountDark(open->box), 100);
//   }
#include <gtest/gtest.h>
#include <sys/types.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "rodizora/main/tests/xsession.h"

namespace e2e {

// A running program; stopped (and waited for) when destroyed.
class Program {
 public:
  // Starts path with args; env entries ("NAME=value") are set on top of ours. Output goes to log.
  Program(const std::string& path, const std::vector<std::string>& args, const std::vector<std::string>& env,
          const std::string& log);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  pid_t Pid() const { return pid_; }
  bool Running();
  // User plus system CPU time so far, in seconds (from /proc); negative when unknown.
  double CpuSeconds() const;
  // Ends the program (SIGTERM, then SIGKILL after a grace period) and answers its exit status.
  int Stop();
  // Waits for the program to end by itself; its exit code, or -1 when it did not in time.
  int WaitForExit(int timeoutMs);

 private:
  pid_t pid_ = -1;
  int status_ = -1;
};

class E2eTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The suite's X server (one for the whole run).
  static XSession& x();

  // The sandbox of this case: registry, INI folder, home and scratch below build/e2e/<Test>.
  const std::string& SandboxDir() const { return sandbox_; }
  std::string ScratchDir() const { return sandbox_ + "/scratch"; }
  // Environment given to every program of the case (set more before StartProgram).
  std::map<std::string, std::string>& Env() { return env_; }
  // The shipped sample FID and a copy of it in the scratch folder (a file the case may change).
  static std::string Sample();
  std::string SampleCopy(const std::string& name = "sample.dx") const;

  // Starts rodizora with args and waits until its main window is up and the start logo gone
  // (start-up is over); null when the main window did not come. waitForMain false: returns at once.
  Program* StartProgram(const std::vector<std::string>& args = {}, bool waitForMain = true);
  // The start logo: an untitled window centred on the screen.
  std::optional<XWindow> LogoWindow() const;
  Program* program() const { return program_.get(); }
  // Waits for the program to end by itself, as the case expects it to (so the end is no crash);
  // its exit code, or -1 when it did not end in time.
  int WaitForProgramEnd(int timeoutMs);
  // The main window (its title holds "KEDRUS Rodizora").
  std::optional<XWindow> MainWindow(int timeoutMs = 20000) const;

  // Ctrl+S on a document that asks for a name (one that is a workspace when saved): the save
  // dialog's name field gets name and Return saves into the home folder; then the program starts
  // again on the workspace. Answers its main window; none (with failures that say which step
  // failed) when a step did.
  std::optional<XWindow> SaveAsWorkspaceAndReopen(const std::string& name);

  // Grabs the whole screen once it has settled, keeps it as the step's picture and answers it
  // (a copy: it stays valid across later steps).
  Shot Step(const std::string& name);
  const Shot& LastShot() const { return last_; }
  // A step's picture without waiting for the screen to settle (things that change on their own).
  Shot StepNow(const std::string& name);
  // The folder of this case's pictures.
  const std::string& ShotsDir() const { return shots_; }

 private:
  void Keep(const std::string& name);

  std::string sandbox_;
  std::string shots_;
  std::map<std::string, std::string> env_;
  std::unique_ptr<Program> program_;
  Shot last_;
  int steps_ = 0;
};

}  // namespace e2e
