// The command language apart from the control: macro expansion (order, nesting, the untrimmed
// comparison, the bound on a macro that reaches itself), arguments, the console table's words
// and hints, and what each form of piece asks of its target.
#include <gtest/gtest.h>

#include <map>

#include "platform/ui/resource.h"
#include "spectrum/control/console/consoletable.h"
#include "spectrum/control/console/interpreter.h"
#include "spectrum/control/module/resources.h"

namespace nelvar {
namespace {

// Records what the interpreter asks, in order.
class RecordingTarget : public ConsoleTarget {
 public:
  std::vector<std::string> log;
  std::map<std::string, std::string> params = {{"LB", "0.5"}};
  bool answerOk = true;
  std::string answerText;

  void SetArguments(std::vector<std::string> args) override {
    if (args.empty()) return;
    std::string line = "args";
    for (const std::string& a : args) line += " [" + a + "]";
    log.push_back(line);
  }
  void SendCommand(ui::UINT id) override { log.push_back("command " + std::to_string(id)); }
  bool GetParameter(std::string_view name, std::string* value) override {
    const auto it = params.find(std::string(name));
    if (it == params.end()) return false;
    *value = it->second;
    return true;
  }
  void SetParameter(std::string_view name, std::string_view value) override {
    log.push_back("set " + std::string(name) + "=" + std::string(value));
  }
  std::string Evaluate(std::string_view expression) override { return "eval(" + std::string(expression) + ")"; }
  bool EditValue(std::string_view name, std::string* text) override {
    log.push_back("dialog " + std::string(name) + " " + *text);
    if (answerOk && !answerText.empty()) *text = answerText;
    return answerOk;
  }
};

std::vector<std::string> RunText(std::string_view text, RecordingTarget& target, const std::vector<std::string>& names = {},
                             const std::vector<std::string>& bodies = {}) {
  std::vector<std::string> pieces;
  EXPECT_TRUE(ExpandMacros(text, MacroList{names, bodies}, &pieces));
  for (const std::string& p : pieces) RunPiece(p, target);
  return target.log;
}

using Log = std::vector<std::string>;

TEST(ConsoleLanguage, MnemonicsAreCaseInsensitiveTrimmedAndEmptyPiecesRunNothing) {
  RecordingTarget t;
  EXPECT_EQ(RunText("FT;AP", t), (Log{"command 40024", "command 40030"}));
  RecordingTarget u;
  EXPECT_EQ(RunText(" ft; ap ;;  ; FT;", u), (Log{"command 40024", "command 40030", "command 40024"}));
  RecordingTarget empty;
  EXPECT_TRUE(RunText("", empty).empty());
  EXPECT_TRUE(RunText(";;", empty).empty());
  // A word of no row, no parameter and no "=" does nothing.
  EXPECT_TRUE(RunText("XYZ", empty).empty());
}

TEST(ConsoleLanguage, MacrosExpandInPlaceNestAndCompareUntrimmed) {
  const std::vector<std::string> names = {"PROC", "twice"}, bodies = {"EM;FT", "proc;PROC"};
  RecordingTarget t;
  EXPECT_EQ(RunText("PROC;AP", t, names, bodies), (Log{"command 40093", "command 40024", "command 40030"}));
  RecordingTarget nested;
  EXPECT_EQ(RunText("TWICE", nested, names, bodies).size(), 4u);
  // " PROC" keeps its blank while macros are looked for, and then names nothing.
  RecordingTarget blank;
  EXPECT_EQ(RunText("FT; PROC", blank, names, bodies), (Log{"command 40024"}));

  std::vector<std::string> pieces;
  const std::vector<std::string> loop = {"A", "B"}, loopBodies = {"FT;B", "A"};
  EXPECT_FALSE(ExpandMacros("A", MacroList{loop, loopBodies}, &pieces));
  const std::vector<std::string> self = {"SELF"}, selfBody = {"SELF"};
  EXPECT_FALSE(ExpandMacros("x;SELF", MacroList{self, selfBody}, &pieces));
  // Deep but finite nesting is fine.
  std::vector<std::string> chain, chainBodies;
  for (int i = 0; i < 50; ++i) {
    chain.push_back("M" + std::to_string(i));
    chainBodies.push_back(i == 49 ? "FT" : "M" + std::to_string(i + 1));
  }
  EXPECT_TRUE(ExpandMacros("M0", MacroList{chain, chainBodies}, &pieces));
  EXPECT_EQ(pieces, (std::vector<std::string>{"FT"}));
  // A long text is cut in one pass (200,000 pieces).
  std::string many;
  for (int i = 0; i < 200000; ++i) many += "FT;";
  EXPECT_TRUE(ExpandMacros(many, MacroList{names, bodies}, &pieces));
  EXPECT_EQ(pieces.size(), 200000u);
}

TEST(ConsoleLanguage, ArgumentsAreSplitAtBlanksAndCommas) {
  RecordingTarget t;
  EXPECT_EQ(RunText("PP 5;IF /data/a.dx,2;GIP 100, 200;ls   7", t),
            (Log{"args [5]", "command 40038", "args [/data/a.dx] [2]", "command 40166", "args [100] [200]", "command 40169",
                 "args [7]", "command 40072"}));
  // Past an empty token the rest of two characters holds one more token only.
  EXPECT_EQ(SplitCommand("EF a,,b").args, (std::vector<std::string>{"a", ""}));
  // A text of two characters holds one token.
  EXPECT_EQ(SplitCommand("RES 1,").args, (std::vector<std::string>{"1"}));
  EXPECT_EQ(SplitCommand("RES").word, "RES");
  EXPECT_TRUE(SplitCommand("RES").args.empty());
}

TEST(ConsoleLanguage, ParametersAreAskedAssignedAndExpressionsShown) {
  RecordingTarget t;
  t.answerText = "0.7";
  EXPECT_EQ(RunText("LB", t), (Log{"dialog LB 0.5", "set LB=0.7"}));
  RecordingTarget same;
  EXPECT_EQ(RunText("LB", same), (Log{"dialog LB 0.5"}));  // unchanged text sets nothing
  RecordingTarget cancel;
  cancel.answerOk = false;
  cancel.answerText = "9";
  EXPECT_EQ(RunText("LB", cancel), (Log{"dialog LB 0.5"}));
  RecordingTarget unknown;
  EXPECT_TRUE(RunText("GB", unknown).empty());

  RecordingTarget set;
  EXPECT_EQ(RunText("LB=0.3;LB = 0.4;TITLE=My spectrum", set), (Log{"set LB=0.3", "set LB= 0.4", "set TITLE=My spectrum"}));
  RecordingTarget eval;
  EXPECT_EQ(RunText("?=2*3", eval), (Log{"dialog ? eval(2*3)"}));
}

TEST(ConsoleTable, WordsHelpTextsAndHints) {
  ui::ModuleState state{&ModuleResources(), nullptr};
  ui::ModuleStateScope scope(&state);
  int rows = 0;
  while (ConsoleCommandTable[rows].commandId != 0) ++rows;
  EXPECT_EQ(rows, 64);
  EXPECT_EQ(FindConsoleCommand("spectrum")->commandId, 40121u);
  EXPECT_EQ(FindConsoleCommand(""), nullptr);
  EXPECT_EQ(ConsoleHelpText(40024), "FT - Fourier Transform");
  EXPECT_EQ(ConsoleHelpText(40099), "Scroll spectrum left <CTRL + LEFT>");
  EXPECT_EQ(ConsoleHelpText(40032), "");  // PC's help string does not exist
  EXPECT_EQ(ConsoleHelpText(40069), "");  // no row
  EXPECT_EQ(ConsoleHelpText(0), "");
  EXPECT_EQ(ConsoleHint("F"), "FT FID ");
  EXPECT_EQ(ConsoleHint("ft"), "FT - Fourier Transform");
  EXPECT_EQ(ConsoleHint("CM"), "CM0 CM1 CM2 CM3 CM4 CM5 CM6 ");
  EXPECT_EQ(ConsoleHint("Q"), "QP ");
  EXPECT_EQ(ConsoleHint("ZZ"), "");
  for (int i = 0; i < rows; ++i) EXPECT_LT(ConsoleHelpText(ConsoleCommandTable[i].commandId).size(), 80u);
}

}  // namespace
}  // namespace nelvar
