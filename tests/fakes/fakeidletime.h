#pragma once

#include "platform/idletime.h"

class FakeIdleTime final : public platform::IIdleTime {
public:
    std::optional<double> seconds = 0.0;
    std::optional<double> secondsSinceLastInput() const override { return seconds; }
};
