#pragma once

#include <QString>

namespace platform {

// Why no graphical session can be reached, or an empty string when one can:
// neither DISPLAY nor WAYLAND_DISPLAY set, or the X server refusing the
// connection. A platform chosen explicitly (QT_QPA_PLATFORM=offscreen, ...)
// needs no display.
QString missingDisplayReason();

} // namespace platform
