#pragma once

#include "platform/screengrabber.h"

namespace platform {

// The root window of the primary screen. Works on X11; Wayland compositors
// hand out nothing, which leaves the clipboard as it was.
class QtScreenGrabber final : public IScreenGrabber {
public:
    QImage grabScreen() override;
};

} // namespace platform
