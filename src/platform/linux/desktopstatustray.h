#pragma once

#include "platform/linux/statusnotifiertray.h"
#include "platform/statustray.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <memory>

namespace platform {

class TrayMenuWindow;
class XEmbedTrayIcon;

// The icon in whatever status area the desktop has: a StatusNotifierItem
// while a StatusNotifierWatcher is on the session bus, else an icon in the
// X tray (XEmbedTrayIcon), moving from one to the other as the watcher comes
// and goes. Where the panel does not draw the menu (the X tray, or a panel
// that asks the icon for it), the menu is a window of our own with the same
// lines.
class DesktopStatusTray final : public IStatusTray {
    Q_OBJECT
public:
    explicit DesktopStatusTray(QDBusConnection bus, QObject *parent = nullptr);
    ~DesktopStatusTray() override;

    void show(const QIcon &icon, const QString &toolTip, const QList<StatusMenuItem> &menu) override;
    void setMenu(const QList<StatusMenuItem> &menu) override;

    // Opens our own menu at this point of the screen (the pointer's when
    // null), read afresh first.
    void openMenu(const QPoint &at, const QRect &icon = {});

    const StatusNotifierTray &statusNotifier() const { return m_sni; }
    // The X tray's icon; null until the icon first went to an X tray.
    const XEmbedTrayIcon *xembed() const { return m_xembed.get(); }
    // Our own menu; null until it first opened.
    TrayMenuWindow *menuWindow() const { return m_menuWindow.get(); }

private:
    enum class Watcher { unknown, present, absent };
    void setWatcher(Watcher state);
    void place();

    StatusNotifierTray m_sni;
    QDBusServiceWatcher m_watcherWatch;
    Watcher m_watcher = Watcher::unknown;
    bool m_shown = false;
    QIcon m_icon;
    QList<StatusMenuItem> m_menu;
    std::unique_ptr<XEmbedTrayIcon> m_xembed;
    std::unique_ptr<TrayMenuWindow> m_menuWindow;
};

} // namespace platform
