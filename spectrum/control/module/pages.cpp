// The property pages' creators, by class id. The pages come with the property-page area;
// until then every page's factory fails cleanly.
#include "spectrum/control/module/registration.h"

namespace nelvar {

plat::ole::ObjectCreator PropPageCreator(const plat::ole::Guid&) { return nullptr; }

}  // namespace nelvar
