#include "symbolicons.h"

namespace {
const QStringList &symbolNames()
{
    static const QStringList names = {
        QStringLiteral("antenna.radiowaves.left.and.right"),
        QStringLiteral("calendar"),
        QStringLiteral("checkmark.circle"),
        QStringLiteral("eye"),
        QStringLiteral("eyes"),
        QStringLiteral("leaf.fill"),
        QStringLiteral("lock.fill"),
        QStringLiteral("music.note"),
        QStringLiteral("person.crop.circle"),
        QStringLiteral("play.rectangle.fill"),
        QStringLiteral("sparkle"),
        QStringLiteral("speaker.slash.fill"),
        QStringLiteral("speaker.wave.1.fill"),
        QStringLiteral("speaker.wave.2.fill"),
        QStringLiteral("speaker.wave.3.fill"),
        QStringLiteral("sun.max.fill"),
    };
    return names;
}
} // namespace

QStringList SymbolIcons::names()
{
    return symbolNames();
}

QUrl SymbolIcons::url(const QString &name)
{
    if (!symbolNames().contains(name))
        return {};
    QString file = name;
    file.replace(QLatin1Char('.'), QLatin1Char('-'));
    return QUrl(QStringLiteral("qrc:/qt/qml/Pavlet/src/island/symbols/%1.svg").arg(file));
}
