#include "platform/linux/sysfspowersupply.h"

#include <QDir>
#include <QFile>

namespace platform {

namespace {

// Attribute files are a few bytes; never read more than a line.
QString readAttribute(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.read(256)).trimmed();
}

// A non-negative number, or -1 when absent or unreadable.
qint64 readAmount(const QString &path)
{
    bool ok = false;
    const qint64 v = readAttribute(path).toLongLong(&ok);
    return ok && v >= 0 ? v : -1;
}

} // namespace

SysfsPowerSupply::SysfsPowerSupply(QString root)
    : m_root(std::move(root))
{
}

QList<PowerSource> SysfsPowerSupply::sources()
{
    QList<PowerSource> out;
    const QDir dir(m_root);
    // Entries are symbolic links to the devices; keep a stable order.
    const QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        const QString base = dir.filePath(name) + QLatin1Char('/');
        PowerSource source;
        source.name = name;
        source.type = readAttribute(base + QLatin1String("type"));
        source.scope = readAttribute(base + QLatin1String("scope"));
        source.status = readAttribute(base + QLatin1String("status"));
        bool ok = false;
        const int capacity = readAttribute(base + QLatin1String("capacity")).toInt(&ok);
        // A capacity outside 0–100 is a driver's garbage, not a percentage.
        source.capacity = ok && capacity >= 0 && capacity <= 100 ? capacity : -1;
        source.energyNow = readAmount(base + QLatin1String("energy_now"));
        source.energyFull = readAmount(base + QLatin1String("energy_full"));
        source.chargeNow = readAmount(base + QLatin1String("charge_now"));
        source.chargeFull = readAmount(base + QLatin1String("charge_full"));
        if (!source.type.isEmpty())
            out.append(source);
    }
    return out;
}

} // namespace platform
