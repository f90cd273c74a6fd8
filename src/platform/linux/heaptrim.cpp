#include "platform/linux/heaptrim.h"

#include <malloc.h>

namespace platform {

namespace {
// glibc's own starting values, kept from then on.
constexpr int MmapThresholdBytes = 128 * 1024;
constexpr int TrimThresholdBytes = 128 * 1024;
} // namespace

void trimHeap()
{
    malloc_trim(0);
}

void keepHeapThresholds()
{
    mallopt(M_MMAP_THRESHOLD, MmapThresholdBytes);
    mallopt(M_TRIM_THRESHOLD, TrimThresholdBytes);
}

} // namespace platform
