// Placeholder; the registry lands with its hive store.
#include "platform/registry/registry.h"
