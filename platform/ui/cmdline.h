#pragma once
// The command line of a document program, as the class library reads it: a file to open, the
// switches that start the program for embedding or automation, to print a file or to
// (un)register it. A program with switches of its own derives and overrides ParseParam.
//
// A switch begins with "-" (its name is what follows, compared without regard to case); an
// argument beginning with "/" is a path, as everywhere on this system.
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class App;

class CommandLineInfo {
 public:
  enum ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing };

  virtual ~CommandLineInfo() = default;

  // One argument: param without its "-" when isSwitch; isLast for the last argument.
  virtual void ParseParam(std::string_view param, bool isSwitch, bool isLast);

  ShellCommand m_nShellCommand = FileNew;
  std::string m_strFileName;
  std::string m_strPrinterName;
  std::string m_strDriverName;
  std::string m_strPortName;
  bool m_bRunEmbedded = false;
  bool m_bRunAutomated = false;
  bool m_bShowSplash = true;

 protected:
  void ParseParamFlag(std::string_view flag);
  void ParseParamNotFlag(std::string_view param);
  void ParseLast(bool isLast);
};

// Hands every argument (without the program name) to info.ParseParam in order.
void ParseCommandLine(CommandLineInfo& info, const std::vector<std::string>& args);

// Carries out the shell command: opens the file (FileOpen; printing it for FilePrint and
// FilePrintTo, then closing it), or a new document (FileNew). False when the file named cannot
// be opened, and for AppRegister and AppUnregister, which end the program once done (the
// program does them itself).
bool ProcessShellCommand(App& app, const CommandLineInfo& info);

}  // namespace ui
