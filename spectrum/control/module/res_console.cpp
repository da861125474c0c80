// The module's resources of the console bar and the macro dialog.
#include "spectrum/control/module/resources.h"

namespace nelvar {

const ui::ResourceSet& ConsoleResources() {
  static const ui::ResourceSet part;
  return part;
}

}  // namespace nelvar
