#include "settings/settingswindowcontroller.h"

#include "platform/activationpolicy.h"
#include "core/appnotifications.h"
#include "store/appsettings.h"
#include "core/logging.h"
#include "core/userdefaults.h"
#include "settings/clocksample.h"
#include "settings/modulespresenter.h"
#include "settings/permissionspresenter.h"
#include "settings/settingsnavigation.h"
#include "settings/updatecard.h"
#include "settings/worldclockseditor.h"

#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>

SettingsWindowController::SettingsWindowController(const Parts &parts, QObject *parent)
    : QObject(parent), m_parts(parts)
{
    m_navigation = std::make_unique<SettingsNavigation>(m_parts.notifications, m_parts.clock);
    connect(m_navigation.get(), &SettingsNavigation::quitRequested, this, &SettingsWindowController::quitRequested);
    // Page requests are followed from the start, so that a window built for
    // one opens on its page.
    if (m_parts.notifications) {
        connect(m_parts.notifications, &AppNotifications::posted, m_navigation.get(),
                [nav = m_navigation.get()](const QString &name, const QVariantMap &userInfo) {
                    if (name == AppNotifications::OpenSettings)
                        nav->handleOpenSettings(userInfo);
                });
    }
    ModulesPresenter::Parts modules;
    modules.settings = m_parts.settings;
    modules.permissions = m_parts.permissions;
    modules.credentials = m_parts.credentials;
    modules.notifications = m_parts.notifications;
    modules.launcher = m_parts.launcher;
    modules.scheduler = m_parts.scheduler;
    modules.random = m_parts.random;
    m_modules = std::make_unique<ModulesPresenter>(modules);
    PermissionsPresenter::Parts permissions;
    permissions.settings = m_parts.settings;
    permissions.permissions = m_parts.permissions;
    permissions.defaults = m_parts.defaults;
    permissions.notifications = m_parts.notifications;
    permissions.scheduler = m_parts.scheduler;
    m_permissions = std::make_unique<PermissionsPresenter>(permissions);
    m_clocks = std::make_unique<WorldClocksEditorModel>(m_parts.settings);
    m_updateCard = std::make_unique<UpdateCardModel>(m_parts.updater);
    m_clockSample = std::make_unique<ClockSample>(m_parts.settings, m_parts.clock, m_parts.scheduler);
}

SettingsWindowController::~SettingsWindowController()
{
    if (m_window)
        m_window->removeEventFilter(this);
    delete m_root;
    m_window.reset();
}

void SettingsWindowController::build()
{
    m_window = std::make_unique<QQuickWindow>();
    m_window->setTitle(WindowTitle);
    m_window->setObjectName(WindowId);
    m_window->setFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                       | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    m_window->setMinimumSize(ContentMinimumSize);
    m_window->resize(ContentSize);
    m_window->setColor(Qt::black);
    m_window->installEventFilter(this);

    QQmlComponent component(m_parts.engine, QUrl(QStringLiteral("qrc:/qt/qml/Pavlet/src/settings/SettingsRoot.qml")));
    const QVariantMap properties{
        {QStringLiteral("settings"), QVariant::fromValue<QObject *>(m_parts.settings)},
        {QStringLiteral("updateCard"), QVariant::fromValue<QObject *>(m_updateCard.get())},
        {QStringLiteral("navigation"), QVariant::fromValue<QObject *>(m_navigation.get())},
        {QStringLiteral("modules"), QVariant::fromValue<QObject *>(m_modules.get())},
        {QStringLiteral("permissions"), QVariant::fromValue<QObject *>(m_permissions.get())},
        {QStringLiteral("worldClocks"), QVariant::fromValue<QObject *>(m_clocks.get())},
        {QStringLiteral("clockSample"), QVariant::fromValue<QObject *>(m_clockSample.get())},
    };
    QObject *object = component.createWithInitialProperties(properties);
    m_root = qobject_cast<QQuickItem *>(object);
    if (!m_root) {
        qCWarning(lcApp) << "settings window:" << component.errorString();
        delete object;
        return;
    }
    m_root->setParentItem(m_window->contentItem());
    auto fit = [this] {
        if (m_root)
            m_root->setSize(m_window->size());
    };
    connect(m_window.get(), &QWindow::widthChanged, m_root, fit);
    connect(m_window.get(), &QWindow::heightChanged, m_root, fit);
    fit();
}

void SettingsWindowController::prepare()
{
    if (!m_window)
        build();
}

void SettingsWindowController::show()
{
    prepare();
    // Settings that could not be written before are tried again, so the
    // window's warning line tells how things stand now.
    if (m_parts.defaults)
        m_parts.defaults->flush();
    m_clockSample->update();
    if (m_window->windowStates().testFlag(Qt::WindowMinimized))
        m_window->setWindowStates(m_window->windowStates() & ~Qt::WindowMinimized);
    centerWindowOnScreen(m_window.get());
    m_window->show();
    m_window->raise();
    m_window->requestActivate();
    if (m_parts.activation)
        m_parts.activation->activate();
}

bool SettingsWindowController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window.get() && event->type() == QEvent::Close) {
        if (m_parts.activation)
            m_parts.activation->setPolicy(ActivationPolicy::Policy::accessory);
        emit closed();
    }
    return QObject::eventFilter(watched, event);
}

QRect SettingsWindowController::placeWindow(const QRect &frame, const QRect &visible)
{
    const int w = frame.width() < MinimumSize.width() ? ContentSize.width() : frame.width();
    const int h = frame.height() < MinimumSize.height() ? ContentSize.height() : frame.height();
    int x = frame.x();
    int y = frame.y();
    if (x < visible.x() || x + w > visible.x() + visible.width())
        x = visible.x() + (visible.width() - w) / 2;
    if (y < visible.y() || y + h > visible.y() + visible.height())
        y = visible.y() + (visible.height() - h) / 2;
    return QRect(x, y, w, h);
}

void SettingsWindowController::centerWindowOnScreen(QWindow *window)
{
    if (!window)
        return;
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        screen = window->screen();
    if (!screen)
        return;
    const QRect visible = screen->availableGeometry();
    QRect frame = window->geometry();
    frame.moveCenter(visible.center());
    window->setGeometry(placeWindow(frame, visible));
}
