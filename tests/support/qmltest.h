#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>

#include <memory>

// Loads the program's QML files the way the program does, and collects every
// warning Qt prints meanwhile: a test fails on any of them.
class QmlLoader {
public:
    QmlLoader();
    ~QmlLoader();

    QQmlEngine &engine() { return m_engine; }
    // A file of the Pavlet module by its path under src/ ("island/IslandShape.qml").
    static QUrl url(const QString &pathUnderSrc);
    // Creates the file's root object with these properties; null on error
    // (the errors land in warnings()).
    std::unique_ptr<QObject> create(const QString &pathUnderSrc, const QVariantMap &properties = {});
    QStringList warnings() const;
    void clearWarnings();

private:
    QQmlEngine m_engine;
};

// Closes a test's window once the items it showed are gone, those whose
// deletion is still queued included: an item that goes after its window
// would reach back into it. A page a Loader was still building when the
// Loader went is one such item.
inline void closeWindow(std::unique_ptr<QQuickWindow> &window)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    window.reset();
}
