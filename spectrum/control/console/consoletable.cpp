#include "spectrum/control/console/consoletable.h"

#include "platform/base/text.h"
#include "platform/ui/resource.h"

// Rows 42-53 are tool tips only; rows 9, 10, 12 and 13 name help strings the module lacks.
const ConsoleCommand ConsoleCommandTable[] = {
    {"FT", 40024, 3019},
    {"QP", 40031, 3020},
    {"AI", 40070, 3021},
    {"RFT", 40025, 3022},
    {"BFT", 40026, 3023},
    {"CFT", 40027, 3024},
    {"IT", 40028, 3025},
    {"HT", 40029, 3026},
    {"AP", 40030, 3027},
    {"PC", 40032, 3028},
    {"PS", 40033, 3029},
    {"ZP", 40034, 3030},
    {"DL", 40036, 3031},
    {"DH", 40037, 3032},
    {"PP", 40038, 3033},
    {"ID", 40039, 3034},
    {"RIT", 40047, 3035},
    {"BIT", 40048, 3036},
    {"CIT", 40049, 3037},
    {"WT", 40050, 3038},
    {"DI", 40056, 3039},
    {"SB", 40080, 3041},
    {"BC", 40081, 3042},
    {"ASP", 40082, 3043},
    {"CM0", 40083, 3044},
    {"CM1", 40084, 3045},
    {"CM2", 40085, 3046},
    {"CM3", 40086, 3047},
    {"CM4", 40087, 3048},
    {"CM5", 40088, 3049},
    {"CM6", 40089, 3050},
    {"EM", 40093, 3054},
    {"GM", 40094, 3055},
    {"APP", 40103, 3060},
    {"LS", 40072, 3062},
    {"RS", 40071, 3063},
    {"SR", 40053, 3061},
    {"NI", 40104, 3064},
    {"SP", 40117, 3071},
    {"RP", 40118, 3072},
    {"FID", 40120, 3085},
    {"SPECTRUM", 40121, 3086},
    {"", 40099, 3073},
    {"", 40100, 3074},
    {"", 40101, 3075},
    {"", 40102, 3076},
    {"", 40045, 3077},
    {"", 40051, 3078},
    {"", 40046, 3079},
    {"", 40075, 3080},
    {"", 40109, 3081},
    {"", 40076, 3082},
    {"", 40068, 3083},
    {"", 40124, 3089},
    {"IC", 40138, 3100},
    {"ND", 40140, 3106},
    {"DSP", 40147, 3107},
    {"CPD", 40096, 3115},
    {"CID", 40158, 3116},
    {"IF", 40166, 3121},
    {"EF", 40167, 3122},
    {"RES", 40168, 3123},
    {"GIP", 40169, 3124},
    {"CLR", 40170, 3125},
    {nullptr, 0, 0},
};

namespace nelvar {

const ConsoleCommand* FindConsoleCommand(std::string_view word) {
  if (word.empty()) return nullptr;
  for (const ConsoleCommand* row = ConsoleCommandTable; row->commandId != 0; ++row)
    if (*row->mnemonic && plat::equalsNoCase(word, row->mnemonic)) return row;
  return nullptr;
}

const ConsoleCommand* FindConsoleCommandById(ui::UINT commandId) {
  if (commandId == 0) return nullptr;
  for (const ConsoleCommand* row = ConsoleCommandTable; row->commandId != 0; ++row)
    if (row->commandId == commandId) return row;
  return nullptr;
}

std::string ConsoleHelpText(ui::UINT commandId) {
  const ConsoleCommand* row = FindConsoleCommandById(commandId);
  const char* text = row ? ui::FindStringResource(row->helpId) : nullptr;
  return text ? text : "";
}

std::string ConsoleHint(std::string_view typed) {
  if (const ConsoleCommand* row = FindConsoleCommand(typed)) {
    const char* text = ui::FindStringResource(row->helpId);
    return text ? text : "";
  }
  std::string hint;
  for (const ConsoleCommand* row = ConsoleCommandTable; row->commandId != 0; ++row) {
    const std::string_view mnemonic = row->mnemonic;
    if (mnemonic.size() > typed.size() && plat::startsWithNoCase(mnemonic, typed)) {
      hint += mnemonic;
      hint += ' ';
    }
  }
  return hint;
}

}  // namespace nelvar
