#include "spectrum/control/console/interpreter.h"

#include "platform/base/text.h"
#include "spectrum/control/console/consoletable.h"

namespace nelvar {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

int FindMacro(std::string_view piece, const MacroList& macros) {
  for (std::size_t i = 0; i < macros.names.size() && i < macros.bodies.size(); ++i)
    if (plat::equalsNoCase(piece, macros.names[i])) return static_cast<int>(i);
  return -1;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  text = TrimLeft(text);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool ExpandMacros(std::string_view text, const MacroList& macros, std::vector<std::string>* pieces) {
  pieces->clear();
  // The text still to cut is rest from at on; a macro's body goes in front of it.
  std::string rest(text);
  std::size_t at = 0;
  int expansions = 0;
  while (at < rest.size()) {
    const std::size_t semicolon = rest.find(';', at);
    const std::size_t end = semicolon == std::string::npos ? rest.size() : semicolon;
    std::string piece = rest.substr(at, end - at);
    at = semicolon == std::string::npos ? rest.size() : semicolon + 1;
    const int macro = FindMacro(piece, macros);
    if (macro < 0) {
      pieces->push_back(std::move(piece));
      continue;
    }
    if (++expansions > kMaxMacroExpansions) return false;
    rest = macros.bodies[static_cast<std::size_t>(macro)] + ";" + rest.substr(at);
    at = 0;
  }
  return true;
}

CommandWords SplitCommand(std::string_view piece) {
  CommandWords words;
  const std::size_t blank = piece.find_first_of(" \t");
  if (blank == std::string_view::npos || blank == 0) {
    words.word = piece;
    return words;
  }
  words.word = piece.substr(0, blank);
  std::string_view args = TrimLeft(piece.substr(blank + 1));
  // After each token one separator is skipped, but a text of two characters or fewer holds
  // only its first token.
  while (!args.empty()) {
    const std::size_t end = args.find_first_of(" \t,");
    words.args.emplace_back(args.substr(0, end));
    if (args.size() <= 2 || end == std::string_view::npos) break;
    args = TrimLeft(args.substr(end + 1));
  }
  return words;
}

void RunPiece(std::string_view rawPiece, ConsoleTarget& target) {
  const std::string_view piece = TrimBlanks(rawPiece);
  target.SetArguments({});
  if (piece.empty()) return;
  CommandWords words = SplitCommand(piece);
  if (const ConsoleCommand* row = FindConsoleCommand(words.word)) {
    target.SetArguments(std::move(words.args));
    target.SendCommand(row->commandId);
    target.SetArguments({});
    return;
  }
  // A parameter query or assignment takes the whole piece: "TITLE=My spectrum" sets both words.
  const std::size_t equals = piece.find('=');
  if (equals == std::string_view::npos) {
    std::string value;
    if (!target.GetParameter(piece, &value)) return;
    std::string edited = value;
    if (target.EditValue(piece, &edited) && edited != value) target.SetParameter(piece, edited);
    return;
  }
  const std::string_view name = TrimBlanks(piece.substr(0, equals));
  const std::string_view value = piece.substr(equals + 1);
  if (name == "?") {
    std::string result = target.Evaluate(value);
    target.EditValue("?", &result);
    return;
  }
  target.SetParameter(name, value);
}

}  // namespace nelvar
