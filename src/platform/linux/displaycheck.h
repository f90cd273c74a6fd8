#pragma once

#include <QString>

namespace platform {

// Why no graphical session can be reached, or an empty string when one can:
// neither DISPLAY nor WAYLAND_DISPLAY set, or the X server refusing the
// connection. A platform chosen explicitly (QT_QPA_PLATFORM=offscreen, ...)
// needs no display.
// The connection the check made stays open until releaseDisplayCheck(): an
// X server that has just seen a client leave answers the next one's
// handshake late, which would hold up the program's own connection.
QString missingDisplayReason();

// Closes the connection the check left open, once the program has its own.
void releaseDisplayCheck();

} // namespace platform
