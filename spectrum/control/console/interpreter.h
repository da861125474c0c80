#pragma once
// The console's command language, apart from the control it drives: a text of ";"-separated
// pieces; a piece that names a macro is replaced by the macro's body (macros may call macros);
// each remaining piece is a mnemonic of the console table with blank- or comma-separated
// arguments, a parameter name (its value shown for editing), NAME=value (the parameter set) or
// "?=expression" (the value shown).
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/types.h"

namespace nelvar {

// What the interpreter needs of the control it runs on.
class ConsoleTarget {
 public:
  virtual ~ConsoleTarget() = default;
  // The arguments of the command about to be sent (empty outside a command).
  virtual void SetArguments(std::vector<std::string> args) = 0;
  // The command as a menu command would reach it (its update rule decides whether it runs).
  virtual void SendCommand(ui::UINT commandId) = 0;
  // The parameter's value text; false when the control has no such parameter.
  virtual bool GetParameter(std::string_view name, std::string* value) = 0;
  virtual void SetParameter(std::string_view name, std::string_view value) = 0;
  // The numeric expression worked out (parameters replaced, arithmetic done).
  virtual std::string Evaluate(std::string_view expression) = 0;
  // The value dialog with a name and a text; true with the edited text on OK.
  virtual bool EditValue(std::string_view name, std::string* text) = 0;
};

// The macros by name and body, index-aligned.
struct MacroList {
  const std::vector<std::string>& names;
  const std::vector<std::string>& bodies;
};

// More expansions than this in one text end it as an error (a macro that reaches itself).
constexpr int kMaxMacroExpansions = 1000;

// Step 1: the pieces of text with macros expanded, in order. Pieces are compared with the
// macro names as they stand (blanks kept, case ignored). False when the expansions exceed the
// bound.
bool ExpandMacros(std::string_view text, const MacroList& macros, std::vector<std::string>* pieces);

// A piece cut into its word and its arguments: the word is what precedes the first blank; the
// arguments are the tokens after it, separated by a blank or a ",".
struct CommandWords {
  std::string word;
  std::vector<std::string> args;
};
CommandWords SplitCommand(std::string_view piece);

// Step 2: one piece run on the target (the piece is trimmed first; blank pieces do nothing).
void RunPiece(std::string_view piece, ConsoleTarget& target);

// Blanks (white space) off both ends.
std::string_view TrimBlanks(std::string_view text);

}  // namespace nelvar
