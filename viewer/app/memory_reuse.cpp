#include "app/memory_reuse.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace orvex {

void keepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    // Blocks up to 64 MiB come from the heap, and up to 512 MiB of freed heap
    // stays with the process. The grid itself is larger and keeps its own mapping.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
}

} // namespace orvex
