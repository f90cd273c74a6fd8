#pragma once

#include "platform/systemload.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <memory>

struct SystemSnapshot {
    Q_GADGET
    QML_VALUE_TYPE(systemSnapshot)
    Q_PROPERTY(int cpu MEMBER cpu)
    Q_PROPERTY(int memory MEMBER memory)
    Q_PROPERTY(QString diskFree MEMBER diskFree)
    Q_PROPERTY(QString uptime MEMBER uptime)
public:
    int cpu = 0;
    int memory = 0;
    QString diskFree;
    QString uptime;

    bool operator==(const SystemSnapshot &) const = default;
};

// Samples processor load, memory use, free disk space and uptime.
class SystemMonitor {
public:
    explicit SystemMonitor(platform::ISystemLoad *load);
    ~SystemMonitor();

    // Load since the previous call, in percent; 0 on the first call, the
    // previous result when no tick was counted since.
    int cpuPercent();
    int memoryPercent();
    // "245.3 GB", or "—" when it cannot be read.
    QString diskFree();
    // "5h 7m" below one day, "3d 4h" from then on.
    QString uptime();

    SystemSnapshot snapshot();

    static QString formatUptime(qint64 seconds);
    static QString formatBytes(quint64 bytes);

private:
    platform::ISystemLoad *m_load;
    platform::CpuTicks m_lastCPU;
    bool m_hasLast = false;
    int m_lastPercent = 0;
};
