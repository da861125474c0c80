#pragma once
// CSaCmdLineInfo: the program's command line. Beside the class library's meaning (a file to
// open, the embedding, automation, print and registration switches) it takes two switches of
// its own, each followed by its argument: "-SDF <file>", the SD file loaded as the structure
// database at start-up, and "-PROCESS <commands>", the console commands run on every spectrum
// a document loads. A switch that ends the line leaves its value as it was; a repeated switch
// replaces the value.
#include <string>

#include "platform/ui/cmdline.h"

class CSaCmdLineInfo : public ui::CommandLineInfo {
 public:
  void ParseParam(std::string_view param, bool isSwitch, bool isLast) override;

  std::string m_strSdfFileName;
  std::string m_strProcessCommands;

 private:
  enum class Pending { None, Sdf, Process };
  Pending m_pending = Pending::None;
};
