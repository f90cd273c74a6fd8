#pragma once

#include "platform/backlight.h"

#include <QList>

// A display brightness in memory; nullopt stands for a display without one.
class FakeBacklight final : public platform::IBacklight {
public:
    std::optional<double> value = 0.5;
    QList<double> writes;

    std::optional<double> brightness() const override { return value; }
    bool setBrightness(double v) override
    {
        writes.append(v);
        if (!value)
            return false;
        value = v;
        return true;
    }
};
