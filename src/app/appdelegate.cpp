#include "appdelegate.h"

#include "appnotifications.h"
#include "appsettings.h"
#include "permissions.h"
#include "statusitemcontroller.h"
#include "userdefaults.h"

#include <QGuiApplication>
#include <QPointer>

AppDelegate::AppDelegate(const Parts &parts, QObject *parent)
    : QObject(parent), m_parts(parts), m_clearance(parts.workspace)
{
}

AppDelegate::~AppDelegate()
{
    shutdown();
}

void AppDelegate::start()
{
    if (m_parts.permissions) {
        m_parts.permissions->startMonitoring();
        m_parts.settings->migratePermissionWants();
    }
    m_notch = std::make_unique<NotchWindowController>(m_parts.settings, m_parts.window);
    m_notch->snap();
    m_notch->panel()->show();

    if (m_parts.withStatusItem) {
        m_statusItem = std::make_unique<StatusItemController>(m_parts.settings);
        connect(m_statusItem.get(), &StatusItemController::openSettingsRequested, this, &AppDelegate::openSettings);
        connect(m_statusItem.get(), &StatusItemController::quitRequested, this, &AppDelegate::quitRequested);
    }
    if (m_parts.notifications) {
        connect(m_parts.notifications, &AppNotifications::openSettingsRequested, this,
                [this](const QString &) { openSettings(); }, Qt::QueuedConnection);
    }
    if (!m_parts.defaults->boolValue(QStringLiteral("permissionsSetupCompleted"), false))
        QMetaObject::invokeMethod(this, &AppDelegate::openSettings, Qt::QueuedConnection);
}

void AppDelegate::openSettings()
{
    emit settingsRequested();
}

void AppDelegate::islandEditChanged(bool active)
{
    if (!m_notch)
        return;
    m_notch->setEditingIsland(active);
    if (active) {
        m_clearance.hideOthers(QGuiApplication::topLevelWindows());
        m_notch->panel()->raise();
    } else {
        m_clearance.restore();
    }
}

void AppDelegate::shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    m_clearance.restore();
    if (m_notch)
        m_notch->teardown();
}
