#include "systemmonitor.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstdint>

SystemMonitor::SystemMonitor(platform::ISystemLoad *load)
    : m_load(load)
{
}

SystemMonitor::~SystemMonitor() = default;

int SystemMonitor::cpuPercent()
{
    const auto ticks = m_load->cpuTicks();
    if (!ticks)
        return 0;
    int result = 0;
    if (m_hasLast) {
        // Unsigned differences stay right across a counter wrap.
        const quint64 busy = (ticks->user - m_lastCPU.user) + (ticks->system - m_lastCPU.system)
            + (ticks->nice - m_lastCPU.nice);
        const quint64 total = busy + (ticks->idle - m_lastCPU.idle);
        if (total >= 1)
            result = int(std::lround(double(busy) / double(total) * 100.0));
    }
    m_lastCPU = *ticks;
    m_hasLast = true;
    return std::clamp(result, 0, 100);
}

int SystemMonitor::memoryPercent()
{
    const auto mem = m_load->memory();
    if (!mem)
        return 0;
    const double sum = double(mem->used) + double(mem->free);
    if (sum <= 0)
        return 0;
    return int(std::lround(double(mem->used) / sum * 100.0));
}

QString SystemMonitor::diskFree()
{
    const auto bytes = m_load->diskAvailableBytes();
    return bytes ? formatBytes(*bytes) : QStringLiteral("—");
}

QString SystemMonitor::uptime()
{
    const auto seconds = m_load->uptimeSeconds();
    return formatUptime(seconds ? qint64(std::max(0.0, *seconds)) : 0);
}

SystemSnapshot SystemMonitor::snapshot()
{
    SystemSnapshot snap;
    snap.cpu = cpuPercent();
    snap.memory = memoryPercent();
    snap.diskFree = diskFree();
    snap.uptime = uptime();
    return snap;
}

QString SystemMonitor::formatUptime(qint64 s)
{
    const qint64 h = s / 3600;
    if (s < 86400)
        return QStringLiteral("%1h %2m").arg(h).arg((s - h * 3600) / 60);
    return QStringLiteral("%1d %2h").arg(h / 24).arg(h % 24);
}

QString SystemMonitor::formatBytes(quint64 bytes)
{
    return QLocale().formattedDataSize(qint64(std::min<quint64>(bytes, quint64(INT64_MAX))), 1,
                                       QLocale::DataSizeSIFormat);
}
