#pragma once

#include "platform/lowpowermode.h"

class FakeLowPowerMode final : public platform::ILowPowerMode {
public:
    bool enabled = false;
    bool isLowPowerModeEnabled() const override { return enabled; }
    void set(bool on)
    {
        enabled = on;
        emit powerStateChanged();
    }
};
