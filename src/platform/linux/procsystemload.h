#pragma once

#include "platform/systemload.h"

#include <QString>

namespace platform {

// Load readings from /proc and statvfs. Both roots are injectable so that
// fixtures can stand in for them.
class ProcSystemLoad final : public ISystemLoad {
public:
    explicit ProcSystemLoad(QString procRoot = QStringLiteral("/proc"), QString diskPath = QStringLiteral("/"));

    std::optional<CpuTicks> cpuTicks() override;
    std::optional<MemoryUse> memory() override;
    std::optional<quint64> diskAvailableBytes() override;
    std::optional<double> uptimeSeconds() override;

private:
    QString m_proc;
    QString m_disk;
};

} // namespace platform
