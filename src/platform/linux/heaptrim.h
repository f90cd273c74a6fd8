#pragma once

namespace platform {

// Hands the heap's free pages back to the system (glibc keeps what a burst
// of allocations freed, in the main arena and the threads' own).
void trimHeap();
// Keeps glibc from raising its thresholds as large blocks come and go: large
// blocks (images, textures, buffers) are mapped on their own and go back to
// the system when freed, and a heap's free top goes back soon, instead of
// staying with the process once a burst of use has passed.
void keepHeapThresholds();

} // namespace platform
