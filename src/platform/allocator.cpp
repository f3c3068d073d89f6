#include "platform/allocator.h"

#include <malloc.h>

namespace vortel {

void keepFreedMemoryForReuse() {
    // The largest threshold glibc accepts on 64-bit systems; a refusal (or
    // another allocator that ignores these) leaves the defaults.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
}

}  // namespace vortel
