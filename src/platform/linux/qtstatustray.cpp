#include "platform/linux/qtstatustray.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

namespace platform {

QtStatusTray::QtStatusTray(QObject *parent)
    : QObject(parent)
{
}

QtStatusTray::~QtStatusTray()
{
    if (m_tray)
        m_tray->setContextMenu(nullptr);
}

void QtStatusTray::show(const QIcon &icon, const QString &toolTip, QMenu *menu)
{
    if (!m_tray) {
        m_tray = std::make_unique<QSystemTrayIcon>();
        // A plain click opens the menu too, not only the context click.
        connect(m_tray.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger && m_tray->contextMenu())
                m_tray->contextMenu()->popup(QCursor::pos());
        });
    }
    m_tray->setIcon(icon);
    m_tray->setToolTip(toolTip);
    m_tray->setContextMenu(menu);
    if (QSystemTrayIcon::isSystemTrayAvailable())
        m_tray->show();
}

void QtStatusTray::setMenu(QMenu *menu)
{
    if (m_tray)
        m_tray->setContextMenu(menu);
}

} // namespace platform
