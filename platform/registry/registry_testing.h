#pragma once
// For tests only: start the process's registry afresh, as a new process would.

namespace plat::reg {

// Closes every open handle, forgets volatile keys and the cached hives; the next call reads
// the hive files again from registryDirectory() (so a test may point $KEDRUS_REGISTRY_DIR at a
// folder of its own first).
void resetForTesting();

}  // namespace plat::reg
