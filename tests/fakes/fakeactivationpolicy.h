#pragma once

#include "platform/activationpolicy.h"

#include <QStringList>

// Records every switch and activation, in order ("accessory", "regular",
// "activate").
class FakeActivationPolicy final : public platform::IActivationPolicy {
public:
    void setPolicy(Policy policy) override
    {
        current = policy;
        calls << (policy == Policy::regular ? QStringLiteral("regular") : QStringLiteral("accessory"));
    }
    void activate() override { calls << QStringLiteral("activate"); }

    Policy current = Policy::accessory;
    QStringList calls;
};
