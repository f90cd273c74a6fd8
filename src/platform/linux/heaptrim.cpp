#include "platform/linux/heaptrim.h"

#include <malloc.h>

namespace platform {

void trimHeap()
{
    malloc_trim(0);
}

} // namespace platform
