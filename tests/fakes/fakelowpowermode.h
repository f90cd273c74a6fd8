#pragma once

#include "lowpowermode.h"

class FakeLowPowerMode final : public LowPowerMode {
public:
    bool enabled = false;
    bool isLowPowerModeEnabled() const override { return enabled; }
    void set(bool on)
    {
        enabled = on;
        emit powerStateChanged();
    }
};
