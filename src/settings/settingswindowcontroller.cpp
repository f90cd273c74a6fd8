#include "settings/settingswindowcontroller.h"

#include "platform/activationpolicy.h"
#include "platform/keypositions.h"
#include "platform/screenprovider.h"
#include "core/appnotifications.h"
#include "core/keycodes.h"
#include "core/keyinput.h"
#include "store/appsettings.h"
#include "core/logging.h"
#include "core/userdefaults.h"
#include "settings/clocksample.h"
#include "settings/modulespresenter.h"
#include "settings/permissionspresenter.h"
#include "settings/settingsnavigation.h"
#include "settings/updatecardmodel.h"
#include "settings/worldclockseditormodel.h"

#include <algorithm>
#include <QKeyEvent>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlIncubator>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QScreen>

namespace {
const QUrl RootUrl(QStringLiteral("qrc:/qt/qml/Pavlet/src/settings/SettingsRoot.qml"));
} // namespace

// Creates the window's views in slices and reports when it is done.
class SettingsWindowController::RootIncubator : public QQmlIncubator {
public:
    RootIncubator(SettingsWindowController *owner, const QVariantMap &properties)
        : QQmlIncubator(Asynchronous), m_owner(owner), m_properties(properties)
    {
        setInitialProperties(properties);
    }

protected:
    // The pages' bindings read these inputs: they are written before any
    // binding runs, not after the first ones as the initial properties are.
    void setInitialState(QObject *object) override
    {
        for (auto it = m_properties.cbegin(); it != m_properties.cend(); ++it)
            object->setProperty(it.key().toUtf8().constData(), it.value());
    }

    void statusChanged(Status status) override
    {
        if (status == Ready || status == Error)
            QMetaObject::invokeMethod(m_owner, &SettingsWindowController::aheadCreated, Qt::QueuedConnection);
    }

private:
    SettingsWindowController *m_owner;
    QVariantMap m_properties;
};

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
    // Views still being built ahead (a quit while the tray's menu or Home
    // has just asked for them) are finished and deleted here and now, with
    // every object their bindings read still there. Dropped half-built, they
    // would go by deferred deletes that no event loop runs after the quit,
    // and their bindings would run on as the settings and the engine go.
    if (m_aheadIncubator && !m_window) {
        if (m_aheadIncubator->isLoading())
            m_aheadIncubator->forceCompletion();
        if (m_aheadIncubator->isReady())
            delete m_aheadIncubator->object();
    }
    delete m_root;
    m_aheadIncubator.reset();
    m_aheadComponent.reset();
    m_window.reset();
}

void SettingsWindowController::buildWindow()
{
    // Title and name come with the first show(): until then the program's
    // window lookups pass over a window built ahead, so that its first
    // opening comes here to be placed before it shows.
    m_window = std::make_unique<QQuickWindow>();
    m_window->setFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                       | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    m_window->setMinimumSize(ContentMinimumSize);
    m_window->resize(ContentSize);
    m_window->setColor(Qt::black);
    m_window->installEventFilter(this);
}

QVariantMap SettingsWindowController::rootProperties() const
{
    return {
        {QStringLiteral("settings"), QVariant::fromValue<QObject *>(m_parts.settings)},
        {QStringLiteral("updateCard"), QVariant::fromValue<QObject *>(m_updateCard.get())},
        {QStringLiteral("navigation"), QVariant::fromValue<QObject *>(m_navigation.get())},
        {QStringLiteral("modules"), QVariant::fromValue<QObject *>(m_modules.get())},
        {QStringLiteral("permissions"), QVariant::fromValue<QObject *>(m_permissions.get())},
        {QStringLiteral("worldClocks"), QVariant::fromValue<QObject *>(m_clocks.get())},
        {QStringLiteral("clockSample"), QVariant::fromValue<QObject *>(m_clockSample.get())},
    };
}

void SettingsWindowController::adoptRoot(QObject *object, const QString &error)
{
    buildWindow();
    m_root = qobject_cast<QQuickItem *>(object);
    if (!m_root) {
        qCWarning(lcApp) << "settings window:" << error;
        delete object;
        return;
    }
    QQmlEngine::setObjectOwnership(m_root, QQmlEngine::CppOwnership);
    m_root->setParentItem(m_window->contentItem());
    auto fit = [this] {
        if (m_root)
            m_root->setSize(m_window->size());
    };
    connect(m_window.get(), &QWindow::widthChanged, m_root, fit);
    connect(m_window.get(), &QWindow::heightChanged, m_root, fit);
    fit();
}

void SettingsWindowController::build()
{
    // Views built ahead are taken as they are, or finished at once when the
    // building is under way (dropping them half-built would leave their
    // parts behind).
    if (m_aheadIncubator) {
        if (m_aheadIncubator->isLoading())
            m_aheadIncubator->forceCompletion();
        aheadCreated();
        if (m_window)
            return;
    }
    m_aheadIncubator.reset();
    m_aheadComponent.reset();
    QQmlComponent component(m_parts.engine, RootUrl);
    QObject *object = component.createWithInitialProperties(rootProperties());
    adoptRoot(object, component.errorString());
}

void SettingsWindowController::buildAhead()
{
    if (m_window || m_aheadComponent || !m_parts.engine)
        return;
    m_aheadComponent = std::make_unique<QQmlComponent>(m_parts.engine, RootUrl, QQmlComponent::Asynchronous);
    if (m_aheadComponent->isLoading())
        connect(m_aheadComponent.get(), &QQmlComponent::statusChanged, this, &SettingsWindowController::aheadCompiled);
    else
        aheadCompiled();
}

bool SettingsWindowController::release()
{
    if (!m_window || m_window->isVisible())
        return false;
    m_window->removeEventFilter(this);
    // The last building's incubator goes too: kept, it would block the next
    // one and hand the next show() the views deleted here.
    m_aheadIncubator.reset();
    delete m_root;
    m_window.reset();
    m_aheadComponent.reset();
    return true;
}

void SettingsWindowController::aheadCompiled()
{
    if (!m_aheadComponent || m_aheadComponent->isLoading() || m_aheadIncubator || m_window)
        return;
    if (!m_aheadComponent->isReady()) {
        qCWarning(lcApp) << "settings window:" << m_aheadComponent->errorString();
        return;
    }
    m_aheadIncubator = std::make_unique<RootIncubator>(this, rootProperties());
    m_aheadComponent->create(*m_aheadIncubator);
}

void SettingsWindowController::aheadCreated()
{
    if (!m_aheadIncubator || m_aheadIncubator->isLoading() || m_window)
        return;
    QString error;
    for (const QQmlError &e : m_aheadIncubator->errors())
        error += e.toString() + QLatin1Char('\n');
    adoptRoot(m_aheadIncubator->isReady() ? m_aheadIncubator->object() : nullptr, error);
    if (m_window) {
        // Its native window is made now too, unmapped, so that the first
        // show() only maps it. Under the software renderer the first frame is
        // painted now as well, into the window's own backing store: the
        // pages' text, glyphs and pictures are drawn once here, and the first
        // show() puts that frame on screen instead of painting it while the
        // island waits. (An OpenGL window can only draw once it is shown.)
        m_window->create();
        if (QQuickWindow::graphicsApi() == QSGRendererInterface::Software)
            m_window->grabWindow();
    }
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
    m_window->setTitle(WindowTitle);
    m_window->setObjectName(WindowId);
    if (m_window->windowStates().testFlag(Qt::WindowMinimized))
        m_window->setWindowStates(m_window->windowStates() & ~Qt::WindowMinimized);
    centerWindowOnScreen(m_window.get(), m_parts.screens, m_parts.island ? m_parts.island() : QRect());
    m_window->show();
    m_window->raise();
    m_window->requestActivate();
    if (m_parts.activation)
        m_parts.activation->activate();
}

bool SettingsWindowController::eventFilter(QObject *watched, QEvent *event)
{
    // Ctrl+W closes the window, as the desktop's close command, Ctrl+Q quits
    // and Ctrl+, asks for the settings, as the tray's menu shows them,
    // whatever control has the keyboard; held, each acts once. A layout
    // without Latin letters is matched by the keys' places.
    if (watched == m_window.get() && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers held =
            key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier | Qt::ShiftModifier);
        const int place = m_parts.keys ? m_parts.keys->keyCode(*key) : int(KeyCode::Unknown);
        const int matched = held == Qt::ControlModifier ? KeyInput::shortcutKey(*key, place) : 0;
        if (matched == Qt::Key_W || matched == Qt::Key_Q || matched == Qt::Key_Comma) {
            if (!key->isAutoRepeat()) {
                if (matched == Qt::Key_W)
                    m_window->close();
                else if (matched == Qt::Key_Q)
                    m_navigation->quit();
                else
                    m_navigation->openSettings();
            }
            return true;
        }
    }
    if (watched == m_window.get() && event->type() == QEvent::Close) {
        // The reset notice has been seen once the window that showed it closes.
        m_parts.settings->dismissResetNotice();
        if (m_parts.activation)
            m_parts.activation->setPolicy(platform::IActivationPolicy::Policy::accessory);
        emit closed();
    }
    return QObject::eventFilter(watched, event);
}

SettingsWindowController::Placement SettingsWindowController::placeWindow(const QRect &frame, const QRect &visible,
                                                                         const QMargins &decoration, const QRect &island)
{
    QRect area = visible;
    if (!island.isEmpty() && island.intersects(area))
        area.setTop(std::max(area.top(), island.bottom() + 1));
    const QRect free = area.marginsRemoved(decoration);
    const QSize minimum(std::max(1, std::min(ContentMinimumSize.width(), free.width())),
                        std::max(1, std::min(ContentMinimumSize.height(), free.height())));
    int w = frame.width() < MinimumSize.width() ? ContentSize.width() : frame.width();
    int h = frame.height() < MinimumSize.height() ? ContentSize.height() : frame.height();
    w = std::max(1, std::min(w, free.width()));
    h = std::max(1, std::min(h, free.height()));
    int x = frame.x();
    int y = frame.y();
    if (x < free.x() || x + w > free.x() + free.width())
        x = free.x() + (free.width() - w) / 2;
    if (y < free.y() || y + h > free.y() + free.height())
        y = free.y() + (free.height() - h) / 2;
    return {QRect(x, y, w, h), minimum};
}

void SettingsWindowController::centerWindowOnScreen(QWindow *window, const platform::IScreenProvider *screens,
                                                    const QRect &island)
{
    if (!window)
        return;
    QRect visible;
    if (const auto screen = screens ? screens->mainScreen() : std::nullopt)
        visible = ScreenSpace::flip(screen->visibleFrame, screens->primaryHeight()).toAlignedRect();
    else if (const QScreen *own = window->screen())
        visible = own->availableGeometry();
    if (visible.isEmpty())
        return;
    const QMargins framed = window->frameMargins();
    const QMargins decoration = framed.isNull() ? DecorationAllowance : framed;
    QRect frame = window->geometry();
    frame.moveCenter(visible.center());
    const Placement placed = placeWindow(frame, visible, decoration, island);
    window->setMinimumSize(placed.minimum);
    window->setGeometry(placed.geometry);
}
