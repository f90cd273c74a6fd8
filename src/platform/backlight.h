#pragma once

#include <optional>

namespace platform {

// The main display's brightness.
class IBacklight {
public:
    virtual ~IBacklight() = default;
    // 0...1; nullopt when the display's brightness cannot be read (no
    // backlight, external monitor).
    virtual std::optional<double> brightness() const = 0;
    // Writes 0...1; false when nothing could be written. A written value
    // reads back at once.
    virtual bool setBrightness(double value) = 0;
};

} // namespace platform
