#include "platform/base/memory.h"

#include <cstdlib>  // defines __GLIBC__ where it is the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace plat {

void reuseLargeBlocks() {
#if defined(__GLIBC__)
  // Below a gigabyte (the largest record a file yields) blocks come from the heap; up to 128 MB
  // (four blocks of a 4M-point spectrum) freed at its end is kept for the next.
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 128 << 20);
#endif
}

}  // namespace plat
