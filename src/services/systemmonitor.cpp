#include "services/systemmonitor.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstdint>

SystemMonitor::SystemMonitor(platform::ISystemLoad *load)
    : m_load(load)
{
}

SystemMonitor::~SystemMonitor() = default;

namespace {

// How far a counter moved since the previous sample; a counter that went
// backwards (an idle or I/O-wait count the kernel corrected) moved by nothing.
quint64 advance(quint64 now, quint64 before)
{
    return now > before ? now - before : 0;
}

} // namespace

int SystemMonitor::cpuPercent()
{
    const auto ticks = m_load->cpuTicks();
    if (!ticks)
        return 0;
    int result = 0;
    if (m_hasLast) {
        const quint64 busy = advance(ticks->user, m_lastCPU.user) + advance(ticks->system, m_lastCPU.system)
            + advance(ticks->nice, m_lastCPU.nice);
        const quint64 total = busy + advance(ticks->idle, m_lastCPU.idle);
        // Without a tick counted since then the load is what it was.
        result = total >= 1 ? int(std::lround(double(busy) / double(total) * 100.0)) : m_lastPercent;
    }
    m_lastCPU = *ticks;
    m_hasLast = true;
    m_lastPercent = std::clamp(result, 0, 100);
    return m_lastPercent;
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
    // A reading no 64-bit count of seconds can hold (or not a number) is no reading.
    const bool inRange = seconds && *seconds >= 0.0 && *seconds < 9.2e18;
    return formatUptime(inRange ? qint64(*seconds) : 0);
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
