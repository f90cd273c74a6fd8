#pragma once

#include "platform/statustray.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QImage>
#include <memory>

namespace platform {

class StatusNotifierItemObject;
class StatusMenuObject;

// The status area of freedesktop desktops: a StatusNotifierItem on the
// session bus, registered with the desktop's StatusNotifierWatcher, with its
// menu exported over com.canonical.dbusmenu for the desktop to draw. A
// watcher that comes later (the panel restarted) gets the icon again.
class StatusNotifierTray final : public IStatusTray {
    Q_OBJECT
public:
    explicit StatusNotifierTray(QDBusConnection bus, QObject *parent = nullptr);
    ~StatusNotifierTray() override;

    void show(const QIcon &icon, const QString &toolTip, const QList<StatusMenuItem> &menu) override;
    void setMenu(const QList<StatusMenuItem> &menu) override;

    // The name the icon is known by on the bus.
    QString serviceName() const { return m_service; }

    // The sides, in pixels, of the icon's pictures on the bus.
    static constexpr int PictureSides[] = {16, 22, 24, 32, 40, 48, 64};
    static constexpr const char *WatcherService = "org.kde.StatusNotifierWatcher";
    static constexpr const char *ItemPath = "/StatusNotifierItem";
    static constexpr const char *MenuPath = "/MenuBar";

signals:
    // The panel asked the icon to open its menu at this point of the screen
    // (a click where the panel does not draw the menu itself).
    void menuRequested(const QPoint &at);

private:
    friend class StatusNotifierItemObject;
    friend class StatusMenuObject;
    void registerWithWatcher();

    QDBusConnection m_bus;
    QString m_service;
    bool m_exported = false;
    QList<QImage> m_pictures;
    QString m_toolTip;
    QList<StatusMenuItem> m_menu;
    uint m_revision = 1;
    QDBusServiceWatcher m_watcher;
    std::unique_ptr<StatusNotifierItemObject> m_item;
    std::unique_ptr<StatusMenuObject> m_menuObject;
};

} // namespace platform
