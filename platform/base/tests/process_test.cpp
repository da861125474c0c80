// Starting other programs: the text editor that "notepad.exe" stands for, taken from the
// environment and given the file's path, and programs that cannot be started.
#include "platform/base/process.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/base/file.h"
#include "platform/base/tests/scratch.h"

namespace {

// Sets (or, for null, unsets) an environment variable for the test's scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedEnv() { had_ ? ::setenv(name_, old_.c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

// A fake editor that writes its arguments, one a line, to the file "opened" beside it.
std::string FakeEditor(const std::string& dir) {
  const std::string script = plat::joinPath(dir, "editor.sh");
  EXPECT_TRUE(plat::writeFileAtomic(script, "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"" + dir +
                                                "/opened.tmp\"\nmv \"" + dir + "/opened.tmp\" \"" + dir + "/opened\"\n"));
  ::chmod(script.c_str(), 0755);
  return script;
}

// What the fake editor was given; waits for it, as nobody waits for the editor itself.
std::string Opened(const std::string& dir) {
  std::string text;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (plat::readFile(plat::joinPath(dir, "opened"), &text) != plat::FileStatus::Ok &&
         std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return text;
}

TEST(StartProgram, NotepadOpensTheFileInTheEditorTheEnvironmentNames) {
  const std::string dir = plat_test::ScratchDir("editor-visual");
  const std::string editor = FakeEditor(dir);
  {
    // $VISUAL comes first; its words go before the file's path.
    ScopedEnv visual("VISUAL", (editor + "  -f").c_str());
    ScopedEnv other("EDITOR", "/nonexistent/editor");
    ASSERT_TRUE(plat::startProgram("NOTEPAD.EXE", {"/some/dir/libnelvar.ini"}));
    EXPECT_EQ(Opened(dir), "-f\n/some/dir/libnelvar.ini\n");
  }
  const std::string second = plat_test::ScratchDir("editor-editor");
  ScopedEnv visual("VISUAL", nullptr);
  ScopedEnv other("EDITOR", FakeEditor(second).c_str());
  ASSERT_TRUE(plat::startProgram("notepad.exe", {"a file.ini"}));
  EXPECT_EQ(Opened(second), "a file.ini\n");
  // Neither set: the desktop's opener.
  ScopedEnv none("EDITOR", nullptr);
  EXPECT_EQ(plat::programCommand("notepad.exe", {"x.ini"}), (std::vector<std::string>{"xdg-open", "x.ini"}));
  // Another program is run as named, its arguments untouched by any shell.
  EXPECT_EQ(plat::programCommand("/bin/echo", {"$HOME", "a b"}),
            (std::vector<std::string>{"/bin/echo", "$HOME", "a b"}));
}

TEST(StartProgram, AProgramThatCannotRunFailsCleanly) {
  EXPECT_FALSE(plat::startProgram("/nonexistent/program", {"x"}));
  EXPECT_FALSE(plat::startProgram("kedrus-no-such-program-anywhere", {}));
  EXPECT_FALSE(plat::startProgram("", {}));
  const std::string dir = plat_test::ScratchDir("not-executable");
  const std::string plain = plat::joinPath(dir, "plain.txt");
  ASSERT_TRUE(plat::writeFileAtomic(plain, "not a program\n"));
  ::chmod(plain.c_str(), 0644);
  EXPECT_FALSE(plat::startProgram(plain, {}));
  ScopedEnv visual("VISUAL", "/nonexistent/editor");
  EXPECT_FALSE(plat::startProgram("notepad.exe", {"x.ini"}));
}

}  // namespace
