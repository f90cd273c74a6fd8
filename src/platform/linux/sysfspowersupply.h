#pragma once

#include "platform/powersupply.h"

namespace platform {

// Power sources from /sys/class/power_supply (the folder is injectable so
// fixtures can stand in for it).
class SysfsPowerSupply final : public IPowerSupply {
public:
    explicit SysfsPowerSupply(QString root = QStringLiteral("/sys/class/power_supply"));
    QList<PowerSource> sources() override;

private:
    QString m_root;
};

} // namespace platform
