#include "platform/linux/procsystemload.h"

#include <QFile>

#include <cmath>

#include <sys/statvfs.h>

namespace platform {

namespace {

// /proc files are small; a bounded read keeps a broken fixture harmless.
QByteArray readSmall(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(64 * 1024);
}

} // namespace

ProcSystemLoad::ProcSystemLoad(QString procRoot, QString diskPath)
    : m_proc(std::move(procRoot))
    , m_disk(std::move(diskPath))
{
}

std::optional<CpuTicks> ProcSystemLoad::cpuTicks()
{
    const QByteArray data = readSmall(m_proc + QLatin1String("/stat"));
    // First line: "cpu  user nice system idle iowait irq softirq steal ...".
    const QByteArray line = data.left(data.indexOf('\n'));
    const QList<QByteArray> fields = line.simplified().split(' ');
    if (fields.size() < 5 || fields[0] != "cpu")
        return std::nullopt;
    quint64 v[8] = {};
    for (int i = 0; i < 8 && i + 1 < fields.size(); ++i) {
        bool ok = false;
        v[i] = fields[i + 1].toULongLong(&ok);
        if (!ok)
            return std::nullopt;
    }
    CpuTicks ticks;
    ticks.user = v[0];
    ticks.nice = v[1];
    // Interrupt and stolen time keep the processor from this machine's work:
    // count them as system time. Waiting for I/O is idle.
    ticks.system = v[2] + v[5] + v[6] + v[7];
    ticks.idle = v[3] + v[4];
    return ticks;
}

std::optional<MemoryUse> ProcSystemLoad::memory()
{
    const QByteArray data = readSmall(m_proc + QLatin1String("/meminfo"));
    std::optional<quint64> total, available;
    for (const QByteArray &line : data.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 2)
            continue;
        bool ok = false;
        const quint64 kb = fields[1].toULongLong(&ok);
        if (!ok)
            continue;
        if (fields[0] == "MemTotal:")
            total = kb;
        else if (fields[0] == "MemAvailable:")
            available = kb;
    }
    if (!total || !available || *available > *total)
        return std::nullopt;
    return MemoryUse{*total - *available, *available};
}

std::optional<quint64> ProcSystemLoad::diskAvailableBytes()
{
    struct statvfs st {};
    if (statvfs(QFile::encodeName(m_disk).constData(), &st) != 0)
        return std::nullopt;
    return quint64(st.f_bavail) * quint64(st.f_frsize);
}

std::optional<double> ProcSystemLoad::uptimeSeconds()
{
    const QByteArray data = readSmall(m_proc + QLatin1String("/uptime"));
    bool ok = false;
    const double seconds = data.simplified().split(' ').value(0).toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds < 0)
        return std::nullopt;
    return seconds;
}

} // namespace platform
