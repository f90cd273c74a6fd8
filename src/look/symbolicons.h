#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

// The island's symbols, drawn by us as white SVG and looked up by the symbol
// names the views use ("speaker.wave.2.fill"). Views show one through
// Symbol.qml, which asks the engine's "pavletsymbol" image provider for it in
// the colour it needs; the provider is installed when QML first uses this type.
class SymbolIcons : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    // QML makes one per engine through create(), which installs the provider.
    explicit SymbolIcons(QQmlEngine *engine);
    static SymbolIcons *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    // Every name the set draws.
    static QStringList names();
    // The SVG of a symbol; an empty address for a name the set lacks.
    static QUrl url(const QString &name);
    // The symbol drawn at size in colour; a null image for an unknown name.
    static QImage render(const QString &name, const QColor &color, const QSize &size);
    // Makes sure the engine can draw symbols.
    static void install(QQmlEngine *engine);

    // An image source for the symbol in a colour; empty for an unknown name.
    Q_INVOKABLE QUrl source(const QString &name, const QColor &color = Qt::white) const;
    // What a button showing only this symbol does, in words, for a screen
    // reader; empty for a symbol that says nothing on a button of its own.
    Q_INVOKABLE static QString meaning(const QString &name);
};
