#include "rodizora/app/texteditor.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

bool StartTextEditor(const std::string& path) {
  const char* editor = std::getenv("KEDRUS_TEXT_EDITOR");
  if (!editor || !*editor) editor = "xdg-open";
  // Two forks: the editor's parent ends at once, so the editor is never left a zombie of ours
  // and we never wait for it.
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    if (::fork() == 0) {
      ::execlp(editor, editor, path.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::_exit(0);
  }
  int status = 0;
  pid_t waited = 0;
  do {
    waited = ::waitpid(child, &status, 0);
  } while (waited < 0 && errno == EINTR);
  return waited == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
