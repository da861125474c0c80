// This module's part of the component layer: its counts. Every module (and the program) links
// this file for itself; the symbols are hidden, so each answers for its own module.
#include "platform/com/object.h"

namespace plat::ole {

ModuleCounts& thisModuleCounts() {
  static ModuleCounts counts;
  return counts;
}

std::uint32_t moduleObjectCount() { return thisModuleCounts().objects; }
std::uint32_t moduleLockCount() { return thisModuleCounts().locks; }
void lockModule() { thisModuleCounts().lock(); }
void unlockModule() { thisModuleCounts().unlock(); }
HResult moduleCanUnloadNow() { return thisModuleCounts().idle() ? S_OK : S_FALSE; }

}  // namespace plat::ole
