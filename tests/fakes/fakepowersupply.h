#pragma once

#include "platform/powersupply.h"

class FakePowerSupply final : public platform::IPowerSupply {
public:
    QList<platform::PowerSource> list;
    QList<platform::PowerSource> sources() override { return list; }
};
