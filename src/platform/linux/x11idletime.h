#pragma once

#include "platform/idletime.h"
#include "platform/linux/x11connection.h"

namespace platform {

// Time since the last input from the X screen-saver extension.
class X11IdleTime final : public platform::IIdleTime {
public:
    X11IdleTime();
    bool isAvailable() const { return m_available; }
    std::optional<double> secondsSinceLastInput() const override;

private:
    X11Connection m_conn;
    bool m_available = false;
};

} // namespace platform
