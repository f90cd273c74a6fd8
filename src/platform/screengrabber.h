#pragma once

#include <QImage>
#include <memory>

namespace platform {

class IScreenGrabber {
public:
    virtual ~IScreenGrabber() = default;
    // The whole primary screen; a null image when it cannot be grabbed.
    virtual QImage grabScreen() = 0;
};

} // namespace platform
