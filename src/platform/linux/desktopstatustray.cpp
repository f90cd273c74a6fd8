#include "platform/linux/desktopstatustray.h"

#include "platform/linux/traymenuwindow.h"
#include "platform/linux/xembedtrayicon.h"

#include <QCursor>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace platform {

DesktopStatusTray::DesktopStatusTray(QDBusConnection bus, QObject *parent)
    : IStatusTray(parent), m_sni(bus)
{
    connect(&m_sni, &IStatusTray::menuOpening, this, &IStatusTray::menuOpening);
    connect(&m_sni, &IStatusTray::itemChosen, this, &IStatusTray::itemChosen);
    // After the panel's call has had its answer.
    connect(&m_sni, &StatusNotifierTray::menuRequested, this, [this](const QPoint &at) { openMenu(at); },
            Qt::QueuedConnection);
    if (!bus.isConnected()) {
        m_watcher = Watcher::absent;
        return;
    }
    const QString watcher = QString::fromLatin1(StatusNotifierTray::WatcherService);
    m_watcherWatch.setConnection(bus);
    m_watcherWatch.setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
    m_watcherWatch.addWatchedService(watcher);
    connect(&m_watcherWatch, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &, const QString &owner) {
                setWatcher(owner.isEmpty() ? Watcher::absent : Watcher::present);
            });
    QDBusMessage ask = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                      QStringLiteral("/org/freedesktop/DBus"),
                                                      QStringLiteral("org.freedesktop.DBus"),
                                                      QStringLiteral("NameHasOwner"));
    ask << watcher;
    auto *pending = new QDBusPendingCallWatcher(bus.asyncCall(ask), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this, pending] {
        pending->deleteLater();
        const QDBusPendingReply<bool> reply = *pending;
        // A change seen meanwhile is newer than this answer.
        if (m_watcher == Watcher::unknown)
            setWatcher(reply.isValid() && reply.value() ? Watcher::present : Watcher::absent);
    });
}

DesktopStatusTray::~DesktopStatusTray() = default;

void DesktopStatusTray::show(const QIcon &icon, const QString &toolTip, const QList<StatusMenuItem> &menu)
{
    m_shown = true;
    m_icon = icon;
    m_sni.show(icon, toolTip, menu);
    setMenu(menu);
    if (m_xembed)
        m_xembed->setIcon(icon);
    place();
}

void DesktopStatusTray::setMenu(const QList<StatusMenuItem> &menu)
{
    m_menu = menu;
    m_sni.setMenu(menu);
    if (m_menuWindow && m_menuWindow->isVisible())
        m_menuWindow->setLines(menu);
}

void DesktopStatusTray::setWatcher(Watcher state)
{
    if (state == m_watcher)
        return;
    m_watcher = state;
    place();
}

void DesktopStatusTray::place()
{
    // The X tray serves while no watcher does; before the bus has said
    // whether there is one, neither is chosen.
    const bool inXTray = m_shown && m_watcher == Watcher::absent;
    if (inXTray && !m_xembed) {
        m_xembed = std::make_unique<XEmbedTrayIcon>();
        m_xembed->setIcon(m_icon);
        connect(m_xembed.get(), &XEmbedTrayIcon::clicked, this, &DesktopStatusTray::openMenu);
    }
    if (m_xembed)
        m_xembed->setWanted(inXTray);
}

void DesktopStatusTray::openMenu(const QPoint &at, const QRect &icon)
{
    // The check mark is read again before the menu shows.
    emit menuOpening();
    if (!m_menuWindow) {
        m_menuWindow = std::make_unique<TrayMenuWindow>();
        connect(m_menuWindow.get(), &TrayMenuWindow::chosen, this, &IStatusTray::itemChosen);
    }
    m_menuWindow->popup(m_menu, at.isNull() ? QCursor::pos() : at, icon);
}

} // namespace platform
