#pragma once
// Starting another program, as the original platform's WinExec/ShellExecute did: the program
// runs on its own, nobody waits for it, and no shell reads its arguments.
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// Starts program (a path, or a name looked up in $PATH) with args and returns at once; the
// child is reaped when it ends. "notepad.exe" (any case, with or without ".exe") stands for the
// desktop's text editor: $VISUAL, else $EDITOR (split at blanks, so "gvim -f" works), else
// xdg-open. False when no process could be started for it (no such program, not executable).
bool startProgram(std::string_view program, const std::vector<std::string>& args);

// The command line (program first) that startProgram runs for program and args.
std::vector<std::string> programCommand(std::string_view program, const std::vector<std::string>& args);

}  // namespace plat
