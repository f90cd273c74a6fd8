#pragma once

#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

// The island's symbols, drawn by us as SVG and looked up by the symbol names
// the views use ("speaker.wave.2.fill"). A view shows one through Symbol.qml.
class SymbolIcons : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;

    // Every name the set draws.
    static QStringList names();
    // The image of a symbol; an empty address for a name the set lacks.
    static QUrl url(const QString &name);

    Q_INVOKABLE QUrl source(const QString &name) const { return url(name); }
};
