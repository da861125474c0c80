#pragma once
// The module information of the about box: each spectrum module that can be created, asked
// through ISpectrumControl for its name, version and build date.
#include <span>
#include <string>

#include "platform/com/guid.h"

namespace about {

// The classes asked, in order: the spectrum control and a second spectrum module.
std::span<const plat::ole::Guid* const> ModuleInfoClasses();

// "Module info:\n " followed, for each class that can be created, by its name, "\n Version: ",
// the version as "%u.%2u", a blank, the date and "\n\n". A class that cannot be created is left out.
std::string ModuleInfoText(std::span<const plat::ole::Guid* const> classes = ModuleInfoClasses());

}  // namespace about
