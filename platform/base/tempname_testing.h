#pragma once
// For tests only: tokens as a process that has ended made them, the leftovers of a stopped save.
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/base/tempname.h"

namespace plat {

// count tokens made by a child process that has ended (and been reaped) before this returns.
inline std::vector<String8> tokensOfAnEndedProcess(int count) {
  int fds[2];
  if (::pipe(fds) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    String8 text;
    for (int i = 0; i < count; ++i) text += uniqueToken() + "\n";
    const bool written = ::write(fds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::_exit(written ? 0 : 1);
  }
  ::close(fds[1]);
  String8 text;
  char buffer[512];
  for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  std::vector<String8> tokens;
  for (std::size_t start = 0, end; (end = text.find('\n', start)) != String8::npos; start = end + 1)
    tokens.push_back(text.substr(start, end - start));
  return tokens;
}

}  // namespace plat
