#include "app/appdelegate.h"

#include "app/statusitemcontroller.h"
#include "core/appnotifications.h"
#include "core/userdefaults.h"
#include "island/notchviewmodel.h"
#include "platform/activationpolicy.h"
#include "settings/settingsnavigation.h"
#include "settings/settingswindowcontroller.h"
#include "store/appsettings.h"
#include "store/permissioncenter.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

AppDelegate::AppDelegate(const Parts &parts, QObject *parent)
    : QObject(parent), m_parts(parts), m_clearance(parts.workspace)
{
}

AppDelegate::~AppDelegate()
{
    shutdown();
}

void AppDelegate::setPolicy(bool regular)
{
    if (m_parts.activation)
        m_parts.activation->setPolicy(regular ? platform::IActivationPolicy::Policy::regular
                                              : platform::IActivationPolicy::Policy::accessory);
}

void AppDelegate::start()
{
    setPolicy(false);
    if (m_parts.permissions) {
        m_parts.permissions->startMonitoring();
        m_parts.settings->migratePermissionWants();
    }
    m_notch = std::make_unique<NotchWindowController>(m_parts.settings, m_parts.window);
    if (NotchViewModel *model = m_notch->model())
        model->start();
    m_notch->snap();
    m_notch->panel()->show();
    m_notch->panel()->bringToFront();
    // Ctrl+, opens the settings and Ctrl+Q quits while the island has the
    // keyboard, as the tray's menu says; both once the key's own event is
    // done with, since quitting takes the island down.
    connect(m_notch.get(), &NotchWindowController::settingsKeyPressed, this, &AppDelegate::openSettings,
            Qt::QueuedConnection);
    connect(m_notch.get(), &NotchWindowController::quitKeyPressed, this, &AppDelegate::quitRequested,
            Qt::QueuedConnection);

    if (m_parts.withStatusItem) {
        m_statusItem = std::make_unique<StatusItemController>(m_parts.settings, m_parts.tray);
        connect(m_statusItem.get(), &StatusItemController::openSettingsRequested, this, &AppDelegate::openSettings);
        connect(m_statusItem.get(), &StatusItemController::checkForUpdatesRequested, this, [this] {
            // The update card is on the General page; the notice turns the
            // settings window to it and brings it forward.
            if (m_parts.notifications)
                m_parts.notifications->openSettings(SettingsNavigation::rawValue(SettingsNavigation::Page::general));
            else
                openSettings();
        });
        connect(m_statusItem.get(), &StatusItemController::editIslandRequested, this, &AppDelegate::beginIslandEdit);
        connect(m_statusItem.get(), &StatusItemController::quitRequested, this, &AppDelegate::quitRequested);
    }
    if (m_parts.notifications) {
        connect(m_parts.notifications, &AppNotifications::openSettingsRequested, this,
                [this](const QString &) { openSettings(); }, Qt::QueuedConnection);
        connect(m_parts.notifications, &AppNotifications::beginIslandEditRequested, this,
                &AppDelegate::beginIslandEdit, Qt::QueuedConnection);
    }
    // First run: the settings (with the permission set-up) open once the
    // program is up.
    if (!m_parts.defaults->boolValue(QStringLiteral("permissionsSetupCompleted"), false))
        QMetaObject::invokeMethod(this, &AppDelegate::openSettings, Qt::QueuedConnection);
}

QWindow *AppDelegate::findSettingsWindow()
{
    for (QWindow *w : QGuiApplication::topLevelWindows()) {
        if (qobject_cast<NotchPanel *>(w) || w->flags().testFlag(Qt::WindowDoesNotAcceptFocus))
            continue;
        if (w->title() == QLatin1String("Pavlet") || w->objectName().contains(QLatin1String("settings")))
            return w;
    }
    return nullptr;
}

void AppDelegate::openSettings()
{
    setPolicy(true);
    if (m_parts.activation)
        m_parts.activation->activate();
    QWindow *window = findSettingsWindow();
    if (!window) {
        emit settingsRequested();
    } else {
        if (window->windowStates().testFlag(Qt::WindowMinimized))
            window->showNormal();
        else
            window->show();
        SettingsWindowController::centerWindowOnScreen(window, m_parts.window.screens,
                                                       m_notch ? m_notch->restingFrame() : QRect());
        window->raise();
        window->requestActivate();
        if (m_parts.activation)
            m_parts.activation->activate();
    }
    keepIslandInFront();
}

void AppDelegate::keepIslandInFront()
{
    // Without a window manager the window raised or mapped last is on top:
    // the island (with the editor's windows around it) goes over it again.
    if (m_notch)
        m_notch->panel()->bringToFront();
}

void AppDelegate::beginIslandEdit()
{
    emit beginIslandEditRequested();
    keepIslandInFront();
}

void AppDelegate::islandEditChanged(bool active)
{
    if (m_notch)
        m_notch->setIslandEditing(active);
    if (active) {
        m_clearance.hideOthers(QGuiApplication::topLevelWindows());
        keepIslandInFront();
        return;
    }
    m_clearance.restore();
    keepIslandInFront();
    QWindow *settings = findSettingsWindow();
    if (!settings || !settings->isVisible())
        setPolicy(false);
}

void AppDelegate::shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    // An edit still running ends first and puts back what it cleared away.
    emit finishIslandEditRequested();
    m_clearance.restore();
    if (m_notch)
        m_notch->teardown();
}
