#pragma once

#include <QtGlobal>
#include <memory>
#include <optional>

namespace platform {

// Cumulative CPU time counters since boot, in scheduler ticks.
struct CpuTicks {
    quint64 user = 0;
    quint64 system = 0;
    quint64 idle = 0;
    quint64 nice = 0;

    bool operator==(const CpuTicks &) const = default;
};

// Memory in use and memory still available, in the same unit.
struct MemoryUse {
    quint64 used = 0;
    quint64 free = 0;

    bool operator==(const MemoryUse &) const = default;
};

class ISystemLoad {
public:
    virtual ~ISystemLoad() = default;
    virtual std::optional<CpuTicks> cpuTicks() = 0;
    virtual std::optional<MemoryUse> memory() = 0;
    // Bytes an ordinary user can still write on the system volume.
    virtual std::optional<quint64> diskAvailableBytes() = 0;
    virtual std::optional<double> uptimeSeconds() = 0;
};

} // namespace platform
