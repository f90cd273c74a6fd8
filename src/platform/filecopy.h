#pragma once

#include <atomic>
#include <system_error>

namespace platform {

// Copies the regular file at from into a new file at to, writing only where
// the source holds data: its holes stay holes, so a sparse file takes no
// more room in its copy than in the original. A copy the destination's disk
// cannot take is refused before anything is written (no_space_on_device).
// A file of the kernel's own file systems (/proc, /sys and the like), whose
// size says nothing of what reading it gives, is refused like a pipe
// (not_supported). stop, when given, is looked at between pieces. A copy
// that fails or is stopped leaves nothing at to. Safe on any thread.
bool copyFileKeepingHoles(const char *from, const char *to, const std::atomic<bool> *stop, std::error_code &ec);

// Whether path lies on one of the kernel's own file systems.
bool onKernelFileSystem(const char *path);

} // namespace platform
