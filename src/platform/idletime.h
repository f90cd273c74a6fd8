#pragma once

#include <optional>

namespace platform {

// How long the user has left keyboard and mouse alone.
class IIdleTime {
public:
    virtual ~IIdleTime() = default;
    // Seconds since the last input of any kind; nullopt when the system
    // cannot tell.
    virtual std::optional<double> secondsSinceLastInput() const = 0;
};

} // namespace platform
