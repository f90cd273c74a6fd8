#pragma once

#include "platform/activationpolicy.h"

namespace platform {

// X11 desktops know no program-wide presence: task bar entries and focus
// come per window, and the windows ask for them themselves (the island's
// hints, the settings window's activation). Nothing to switch here.
class DesktopActivationPolicy final : public platform::IActivationPolicy {
public:
    void setPolicy(Policy) override {}
    void activate() override {}
};

} // namespace platform
