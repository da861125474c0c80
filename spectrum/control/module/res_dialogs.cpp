// The module's resources of the value dialogs and the import and export dialogs.
#include "spectrum/control/module/resources.h"

namespace nelvar {

const ui::ResourceSet& DialogResources() {
  static const ui::ResourceSet part;
  return part;
}

}  // namespace nelvar
