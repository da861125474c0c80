#include "platform/base/process.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

#include "platform/base/text.h"

extern char** environ;

namespace plat {

namespace {

bool isTextEditorName(std::string_view program) {
  return equalsNoCase(program, "notepad.exe") || equalsNoCase(program, "notepad");
}

// The desktop's editor command, split at blanks.
std::vector<std::string> textEditorCommand() {
  const char* editor = std::getenv("VISUAL");
  if (!editor || !*editor) editor = std::getenv("EDITOR");
  std::vector<std::string> words;
  if (editor) {
    const std::string_view text(editor);
    std::size_t at = 0;
    while (at < text.size()) {
      const std::size_t start = text.find_first_not_of(" \t", at);
      if (start == std::string_view::npos) break;
      const std::size_t end = std::min(text.find_first_of(" \t", start), text.size());
      words.emplace_back(text.substr(start, end - start));
      at = end;
    }
  }
  if (words.empty()) words.emplace_back("xdg-open");
  return words;
}

}  // namespace

std::vector<std::string> programCommand(std::string_view program, const std::vector<std::string>& args) {
  std::vector<std::string> command =
      isTextEditorName(program) ? textEditorCommand() : std::vector<std::string>{std::string(program)};
  command.insert(command.end(), args.begin(), args.end());
  return command;
}

bool startProgram(std::string_view program, const std::vector<std::string>& args) {
  if (program.empty()) return false;
  const std::vector<std::string> command = programCommand(program, args);
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  // posix_spawnp reports a program that cannot be executed as an error of its own.
  if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  // Nobody waits for the program; a thread of its own reaps it so it never lingers as a zombie.
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

}  // namespace plat
