// The module's resources of the nine bars of the control frames.
#include "spectrum/control/module/resources.h"

namespace nelvar {

const ui::ResourceSet& ToolbarResources() {
  static const ui::ResourceSet part;
  return part;
}

}  // namespace nelvar
