#pragma once

#include "platform/lowpowermode.h"

class FakeLowPowerMode final : public platform::ILowPowerMode {
public:
    bool enabled = false;
    bool known = true;
    bool isLowPowerModeEnabled() const override { return enabled; }
    bool isLowPowerModeKnown() const override { return known; }
    void set(bool on)
    {
        enabled = on;
        emit powerStateChanged();
    }
    // The service that keeps the mode goes away: no mode, none known.
    void lose()
    {
        enabled = false;
        known = false;
        emit powerStateChanged();
    }
    void regain(bool on)
    {
        known = true;
        set(on);
    }
};
