#pragma once

#include "platform/systemload.h"

class FakeSystemLoad final : public platform::ISystemLoad {
public:
    std::optional<platform::CpuTicks> ticks;
    std::optional<platform::MemoryUse> mem;
    std::optional<quint64> disk;
    std::optional<double> uptime;

    std::optional<platform::CpuTicks> cpuTicks() override { return ticks; }
    std::optional<platform::MemoryUse> memory() override { return mem; }
    std::optional<quint64> diskAvailableBytes() override { return disk; }
    std::optional<double> uptimeSeconds() override { return uptime; }
};
