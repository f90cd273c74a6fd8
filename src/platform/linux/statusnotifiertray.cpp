#include "platform/linux/statusnotifiertray.h"

#include "platform/linux/statusnotifierobjects.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QPixmap>

#include <atomic>
#include <unistd.h>

namespace platform {

using namespace dbustray;

StatusNotifierTray::StatusNotifierTray(QDBusConnection bus, QObject *parent)
    : IStatusTray(parent), m_bus(std::move(bus))
{
    registerTypes();
    static std::atomic<int> instances{0};
    m_service = QStringLiteral("org.kde.StatusNotifierItem-%1-%2").arg(::getpid()).arg(++instances);
    m_item = std::make_unique<StatusNotifierItemObject>(this);
    m_menuObject = std::make_unique<StatusMenuObject>(this);
    // A panel that starts (or restarts) after the icon was shown gets it.
    m_watcher.setConnection(m_bus);
    m_watcher.setWatchMode(QDBusServiceWatcher::WatchForRegistration);
    m_watcher.addWatchedService(QString::fromLatin1(WatcherService));
    connect(&m_watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] {
        if (m_exported)
            registerWithWatcher();
    });
}

StatusNotifierTray::~StatusNotifierTray()
{
    if (m_exported) {
        m_bus.unregisterObject(QString::fromLatin1(ItemPath));
        m_bus.unregisterObject(QString::fromLatin1(MenuPath));
        m_bus.unregisterService(m_service);
    }
}

void StatusNotifierTray::show(const QIcon &icon, const QString &toolTip, const QList<StatusMenuItem> &menu)
{
    m_pictures.clear();
    // Each size a status area commonly gives its icons, drawn at that size,
    // so that the area finds one that fits its slot without stretching it.
    for (int side : PictureSides) {
        QImage picture = icon.pixmap(QSize(side, side), 1.0).toImage();
        if (picture.size() != QSize(side, side))
            picture = picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        m_pictures << picture;
    }
    m_toolTip = toolTip;
    setMenu(menu);
    if (!m_exported) {
        if (!m_bus.isConnected())
            return;
        m_exported = m_bus.registerObject(QString::fromLatin1(ItemPath), m_item.get(), QDBusConnection::ExportAllContents)
            && m_bus.registerObject(QString::fromLatin1(MenuPath), m_menuObject.get(), QDBusConnection::ExportAllContents)
            && m_bus.registerService(m_service);
        if (!m_exported) {
            m_bus.unregisterObject(QString::fromLatin1(ItemPath));
            m_bus.unregisterObject(QString::fromLatin1(MenuPath));
            return;
        }
        registerWithWatcher();
        return;
    }
    emit m_item->NewIcon();
    emit m_item->NewToolTip();
}

void StatusNotifierTray::setMenu(const QList<StatusMenuItem> &menu)
{
    if (menu == m_menu)
        return;
    m_menu = menu;
    ++m_revision;
    if (m_exported)
        m_menuObject->changed();
}

void StatusNotifierTray::registerWithWatcher()
{
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(WatcherService),
                                                       QStringLiteral("/StatusNotifierWatcher"),
                                                       QString::fromLatin1(WatcherService),
                                                       QStringLiteral("RegisterStatusNotifierItem"));
    call << m_service;
    // No watcher, no status area: nothing shows, and the watcher's arrival
    // brings the icon.
    m_bus.asyncCall(call);
}

} // namespace platform
