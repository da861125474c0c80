#pragma once
// The console's words: each mnemonic stands for one command of the control, and each row's help
// string is the command's tool tip on the bars and its hint on the console's status line. The
// rows without a mnemonic serve only as tool tips. The table ends with a row whose command id is
// 0; every search stops there.
#include <string>
#include <string_view>

#include "platform/ui/types.h"

struct ConsoleCommand {
  const char* mnemonic;  // null only in the last row
  ui::UINT commandId;
  ui::UINT helpId;
};

extern const ConsoleCommand ConsoleCommandTable[];

namespace nelvar {

// The row whose mnemonic is word (without regard to case); an empty word matches no row.
const ConsoleCommand* FindConsoleCommand(std::string_view word);
// The first row of a command id (0: none).
const ConsoleCommand* FindConsoleCommandById(ui::UINT commandId);
// The help text of a command's row, from the current module's strings; empty when the id has no
// row or its row's string is missing.
std::string ConsoleHelpText(ui::UINT commandId);
// The status-line hint for a typed word: the help text of its row when it is a mnemonic, else
// every longer mnemonic that begins with it, each followed by a blank, in table order.
std::string ConsoleHint(std::string_view typed);

}  // namespace nelvar
