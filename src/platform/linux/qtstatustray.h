#pragma once

#include "platform/statustray.h"

#include <QObject>
#include <memory>

class QSystemTrayIcon;

namespace platform {

// The status area of freedesktop desktops (StatusNotifierItem or the XEmbed
// tray), through QSystemTrayIcon.
class QtStatusTray : public QObject, public platform::IStatusTray {
    Q_OBJECT
public:
    explicit QtStatusTray(QObject *parent = nullptr);
    ~QtStatusTray() override;

    void show(const QIcon &icon, const QString &toolTip, QMenu *menu) override;
    void setMenu(QMenu *menu) override;

private:
    std::unique_ptr<QSystemTrayIcon> m_tray;
};

} // namespace platform
