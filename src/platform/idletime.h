#pragma once

#include <optional>

// How long the user has left keyboard and mouse alone.
class IdleTime {
public:
    virtual ~IdleTime() = default;
    // Seconds since the last input of any kind; nullopt when the system
    // cannot tell.
    virtual std::optional<double> secondsSinceLastInput() const = 0;
};
