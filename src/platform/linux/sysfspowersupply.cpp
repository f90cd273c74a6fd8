#include "sysfspowersupply.h"

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
        source.capacity = ok ? capacity : -1;
        if (!source.type.isEmpty())
            out.append(source);
    }
    return out;
}

} // namespace platform
