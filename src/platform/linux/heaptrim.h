#pragma once

namespace platform {

// Hands the heap's free pages back to the system (glibc keeps what a burst
// of allocations freed, in the main arena and the threads' own).
void trimHeap();

} // namespace platform
