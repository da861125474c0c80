// The module's resources of the property pages and their widgets.
#include "spectrum/control/module/resources.h"

namespace nelvar {

const ui::ResourceSet& PageResources() {
  static const ui::ResourceSet part;
  return part;
}

}  // namespace nelvar
