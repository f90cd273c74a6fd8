#include "platform/linux/sysfsbacklight.h"

#include "core/logging.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFile>
#include <cmath>

namespace platform {

namespace {

constexpr int logindTimeoutMs = 2000;

std::optional<qint64> readNumber(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    bool ok = false;
    const qint64 v = f.readAll().trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

int typeRank(const QString &dir)
{
    QFile f(dir + QStringLiteral("/type"));
    const QByteArray type = f.open(QIODevice::ReadOnly) ? f.readAll().trimmed() : QByteArray();
    if (type == "firmware")
        return 0;
    if (type == "platform")
        return 1;
    if (type == "raw")
        return 2;
    return 3;
}

} // namespace

SysfsBacklight::SysfsBacklight(const QDBusConnection &systemBus, const QString &root, QObject *parent)
    : QObject(parent)
    , m_bus(systemBus)
    , m_root(root)
{
}

std::optional<SysfsBacklight::Device> SysfsBacklight::findDevice() const
{
    // Keep the device found last time while it still answers.
    if (m_device && QFile::exists(m_root + QLatin1Char('/') + m_device->name + QStringLiteral("/brightness")))
        return m_device;
    m_device.reset();
    const QStringList names = QDir(m_root).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    int bestRank = 99;
    for (const QString &name : names) {
        const QString dir = m_root + QLatin1Char('/') + name;
        const std::optional<qint64> max = readNumber(dir + QStringLiteral("/max_brightness"));
        if (!max || *max <= 0 || !QFile::exists(dir + QStringLiteral("/brightness")))
            continue;
        const int rank = typeRank(dir);
        if (rank < bestRank) {
            bestRank = rank;
            m_device = Device{name, *max};
        }
    }
    return m_device;
}

QString SysfsBacklight::device() const
{
    const std::optional<Device> d = findDevice();
    return d ? d->name : QString();
}

std::optional<double> SysfsBacklight::brightness() const
{
    const std::optional<Device> d = findDevice();
    if (!d)
        return std::nullopt;
    if (m_pending)
        return m_pending;
    const std::optional<qint64> raw = readNumber(m_root + QLatin1Char('/') + d->name + QStringLiteral("/brightness"));
    if (!raw)
        return std::nullopt;
    return std::clamp(double(*raw) / double(d->max), 0.0, 1.0);
}

bool SysfsBacklight::writeDirectly(const QString &device, qint64 raw)
{
    QFile f(m_root + QLatin1Char('/') + device + QStringLiteral("/brightness"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray text = QByteArray::number(raw);
    return f.write(text) == text.size();
}

bool SysfsBacklight::setBrightness(double value)
{
    const std::optional<Device> d = findDevice();
    if (!d)
        return false;
    const double clamped = std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0;
    const qint64 raw = std::llround(clamped * double(d->max));
    const quint64 serial = ++m_writeSerial;

    if (!m_bus.isConnected()) {
        const bool ok = writeDirectly(d->name, raw);
        emit written(ok);
        return ok;
    }

    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1/session/auto"),
        QStringLiteral("org.freedesktop.login1.Session"), QStringLiteral("SetBrightness"));
    call << QStringLiteral("backlight") << d->name << quint32(raw);
    m_pending = double(raw) / double(d->max);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, logindTimeoutMs), this);
    const QString name = d->name;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, serial, name, raw] {
        watcher->deleteLater();
        bool ok = !watcher->isError();
        // A later write supersedes this one: neither its fallback nor its
        // pending value may override the newer value.
        const bool latest = serial == m_writeSerial;
        if (!ok && latest) {
            qCDebug(lcPlatform) << "logind SetBrightness failed:" << watcher->error().message();
            ok = writeDirectly(name, raw);
        }
        if (latest)
            m_pending.reset();
        emit written(ok);
    });
    return true;
}

} // namespace platform
