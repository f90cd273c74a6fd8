#include "home/homemodel.h"

#include "home/homeparts.h"

#include "core/appnotifications.h"
#include "store/appsettings.h"
#include "services/clipboardstore.h"
#include "tools/miccheckengine.h"
#include "media/mirrorcamera.h"
#include "island/notchviewmodel.h"
#include "store/permissioncenter.h"
#include "tools/pocketstore.h"
#include "update/updateservice.h"
#include "core/userdefaults.h"
#include "media/voicememoengine.h"
#include "tools/zipengine.h"

#include <QCoreApplication>
#include <QQmlEngine>

HomeModel::HomeModel(QObject *parent)
    : QObject(parent)
{
}

void HomeModel::setModel(NotchViewModel *model)
{
    if (m_model == model)
        return;
    m_model = model;
    attach();
    emit modelChanged();
}

void HomeModel::setParts(HomeParts *parts)
{
    if (m_parts == parts)
        return;
    m_parts = parts;
    attach();
    emit partsChanged();
}

AppSettings *HomeModel::settings() const
{
    return m_parts ? m_parts->settings() : nullptr;
}

void HomeModel::attach()
{
    for (const auto &c : m_connections)
        disconnect(c);
    m_connections.clear();
    if (NotchViewModel *model = ready()) {
        auto refresh = [this] { recompute(); };
        AppSettings *s = settings();
        m_connections << connect(model, &NotchViewModel::isEditingModulesChanged, this, refresh)
                      << connect(model, &NotchViewModel::clipboardChanged, this, refresh)
                      << connect(model, &NotchViewModel::bluetoothDevicesChanged, this, refresh)
                      << connect(model, &NotchViewModel::notchHeightChanged, this, &HomeModel::heightChanged)
                      << connect(model, &NotchViewModel::homeContentHeightChanged, this, &HomeModel::heightChanged)
                      << connect(s, &AppSettings::moduleListsChanged, this, refresh)
                      << connect(s, &AppSettings::permissionWishesChanged, this, refresh)
                      << connect(s, &AppSettings::clipboardHideEmptyChanged, this, refresh)
                      << connect(s, &AppSettings::bluetoothHideEmptyChanged, this, refresh);
        if (auto *n = m_parts->notifications())
            m_connections << connect(n, &AppNotifications::permissionsChanged, this, refresh);
        // What the header and the icon strip read besides the above.
        const auto header = &HomeModel::refreshHeader;
        for (auto signal : {&NotchViewModel::weatherChanged, &NotchViewModel::batteryChanged,
                            &NotchViewModel::isLowPowerChanged, &NotchViewModel::gameModeOnChanged})
            m_connections << connect(model, signal, this, header);
        if (VoiceMemoEngine *voice = model->voice())
            m_connections << connect(voice, &VoiceMemoEngine::recordingChanged, this, header)
                          << connect(voice, &VoiceMemoEngine::memosChanged, this, header);
        m_connections << connect(model, &NotchViewModel::ambientChanged, this, &HomeModel::mirrorNoticeChanged);
        if (MirrorCamera *camera = model->camera())
            m_connections << connect(camera, &MirrorCamera::isRunningChanged, this, header);
        if (PocketStore *pocket = model->pocket())
            m_connections << connect(pocket, &PocketStore::itemsChanged, this, header);
    }
    recompute();
    emit heightChanged();
    emit headerChanged();
    emit mirrorNoticeChanged();
    emit trayChanged();
}

QString HomeModel::mirrorNotice() const
{
    const NotchViewModel *model = ready();
    const bool shown = model && model->ambient() && model->ambient()->kind == AmbientKind::mirror;
    return shown ? model->ambient()->title : QString();
}

QString HomeModel::mirrorNoticeDetail() const
{
    return mirrorNotice().isEmpty() ? QString() : m_model->ambient()->detail;
}

bool HomeModel::wants(const QString &key) const
{
    return m_parts->defaults()->boolValue(key, true);
}

bool HomeModel::grantPasses(AppPermission permission)
{
    PermissionCenter *center = m_parts->permissions();
    if (!center)
        return true;
    const bool recorded = center->grantedSinceLaunch().contains(permission)
        || center->storedGrantedSet().contains(PermissionCenter::rawValue(permission));
    const auto result = HomeRules::grantTest(recorded, int(center->systemStatus(permission)));
    if (result.markGranted) {
        m_pendingGrants.insert(permission);
        if (!m_grantsQueued) {
            m_grantsQueued = true;
            QMetaObject::invokeMethod(this, &HomeModel::recordPendingGrants, Qt::QueuedConnection);
        }
    }
    return result.passes;
}

void HomeModel::recordPendingGrants()
{
    m_grantsQueued = false;
    const auto grants = std::exchange(m_pendingGrants, {});
    if (!ready() || !m_parts->permissions())
        return;
    for (AppPermission p : grants)
        m_parts->permissions()->markGranted(p);
}

void HomeModel::recompute()
{
    QList<HomeModule> visible;
    if (ready()) {
        AppSettings *s = settings();
        HomeRules::VisibilityInputs in;
        in.want = [this](const QString &key) { return wants(key); };
        in.granted = [this](const QString &raw) {
            const auto p = PermissionCenter::fromRawValue(raw);
            if (!p)
                return false;
            if (*p == AppPermission::bluetooth) {
                // Counts as granted; recorded every time.
                m_pendingGrants.insert(*p);
                if (!m_grantsQueued) {
                    m_grantsQueued = true;
                    QMetaObject::invokeMethod(this, &HomeModel::recordPendingGrants, Qt::QueuedConnection);
                }
                return true;
            }
            return grantPasses(*p);
        };
        in.clipboardEmpty = m_model->clipboard().items.isEmpty();
        in.clipboardHideEmpty = s->clipboardHideEmpty();
        in.bluetoothEmpty = m_model->bluetoothDevices().isEmpty();
        in.bluetoothHideEmpty = s->bluetoothHideEmpty();
        visible = HomeRules::visibleModules(s->orderedEnabledModules(), m_model->isEditingModules(), in);
    }
    refreshHeader();
    const QList<ModuleTile> tray = hiddenShipped();
    if (tray != m_tray) {
        m_tray = tray;
        emit trayChanged();
    }
    if (visible == m_visible)
        return;
    m_visible = visible;
    m_visibleIds.clear();
    for (HomeModule m : visible)
        m_visibleIds.append(HomeModules::id(m));
    emit visibleModulesChanged();
}

QList<ModuleTile> HomeModel::hiddenShipped() const
{
    QList<ModuleTile> out;
    if (!ready())
        return out;
    for (HomeModule m : settings()->hiddenShippedModules())
        out.append({HomeModules::id(m), HomeModules::title(m), HomeModules::detail(m)});
    return out;
}

QString HomeModel::trayTitle() const
{
    return hiddenShipped().isEmpty() ? QStringLiteral("Shipped modules are on.") : QStringLiteral("Add shipped modules");
}

double HomeModel::scrollCap() const { return HomeRules::scrollCap(ready() ? m_model->notchHeight() : IslandMetrics::plainNotch.height()); }

double HomeModel::revealScroll(double scroll, double view, double most, double top, double bottom, double margin)
{
    return HomeRules::revealScroll(scroll, view, most, top, bottom, margin);
}

bool HomeModel::scrolls() const
{
    return ready() && HomeRules::scrolls(m_model->homeContentHeight(), m_model->notchHeight());
}

QString HomeModel::versionText() const
{
    QString version = QCoreApplication::applicationVersion();
#ifdef PAVLET_VERSION
    if (version.isEmpty())
        version = QStringLiteral(PAVLET_VERSION);
#endif
    return HomeRules::versionText(version);
}

bool HomeModel::weatherShown() const
{
    if (!ready() || !m_model->weather() || m_model->isEditingModules())
        return false;
    if (!settings()->isModuleEnabled(HomeModule::weather) || !wants(QStringLiteral("wantLocation")))
        return false;
    PermissionCenter *center = m_parts->permissions();
    return !center || center->isGranted(AppPermission::location) == PermissionStatus::granted;
}

bool HomeModel::batteryShown() const { return ready() && m_model->battery() && !m_model->isEditingModules(); }

SymbolStyle HomeModel::battery() const
{
    if (!ready() || !m_model->battery())
        return {};
    return HomeRules::batteryStyle(m_model->battery()->percent, m_model->battery()->isCharging, m_model->isLowPower());
}

QString HomeModel::batteryText() const
{
    return ready() && m_model->battery() ? HomeRules::batteryText(m_model->battery()->percent) : QString();
}

void HomeModel::refreshHeader()
{
    const QList<ChromeCell> icons = computeChromeIcons();
    if (icons != m_chromeIcons) {
        m_chromeIcons = icons;
        emit chromeIconsChanged();
    }
    const Header header{weatherShown(), batteryShown(), battery(), batteryText(), stripIsMenu()};
    if (header == m_header)
        return;
    m_header = header;
    emit headerChanged();
}

QList<ChromeCell> HomeModel::computeChromeIcons() const
{
    QList<ChromeCell> out;
    if (!ready())
        return out;
    const bool editing = m_model->isEditingModules();
    const bool recording = m_model->voice() && m_model->voice()->recording();
    const bool camera = m_model->camera() && m_model->camera()->isRunning();
    for (ChromeIcon icon : settings()->visibleChromeIcons()) {
        QString badge;
        bool dot = false;
        if (icon == ChromeIcon::pocket && m_model->pocket())
            badge = HomeRules::badgeText(int(m_model->pocket()->items().size()), editing);
        if (icon == ChromeIcon::voice && m_model->voice()) {
            dot = recording;
            if (!dot)
                badge = HomeRules::badgeText(int(m_model->voice()->memos().size()), editing);
        }
        out.append({ChromeIcons::id(icon), ChromeIcons::title(icon),
                    HomeRules::chromeGlyph(icon, m_model->gameModeOn(), recording, camera), HomeRules::chromeTint(icon),
                    badge, dot, editing && HomeRules::chromeRemovable(icon)});
    }
    return out;
}

bool HomeModel::stripIsMenu() const
{
    return ready() && HomeRules::stripIsMenu(int(settings()->visibleChromeIcons().size()), m_model->isEditingModules());
}

bool HomeModel::remindersShown() const
{
    if (!ready() || !wants(QStringLiteral("wantReminders")))
        return false;
    PermissionCenter *center = m_parts->permissions();
    return !center || center->isGranted(AppPermission::reminders) == PermissionStatus::granted;
}

void HomeModel::reportContentHeight(double height)
{
    if (ready() && HomeRules::storesHeight(m_model->homeContentHeight(), height))
        m_model->setHomeContentHeight(height);
}

void HomeModel::removeModule(const QString &id)
{
    if (ready())
        settings()->setModuleEnabled(id, false);
}

void HomeModel::addModule(const QString &id)
{
    if (ready())
        settings()->setModuleEnabled(id, true);
}

void HomeModel::openLibrary()
{
    if (ready())
        m_model->openSettings(QStringLiteral("library"));
}

void HomeModel::toggleEditing()
{
    if (ready())
        m_model->setEditingModules(!m_model->isEditingModules());
}

namespace {
QHash<QString, HomeRules::Span> spansOf(const QVariantMap &frames, const char *start, const char *length)
{
    QHash<QString, HomeRules::Span> spans;
    for (auto it = frames.constBegin(); it != frames.constEnd(); ++it) {
        const QVariantMap f = it.value().toMap();
        const double s = f.value(QLatin1String(start)).toDouble();
        spans.insert(it.key(), {it.key(), s, s + f.value(QLatin1String(length)).toDouble()});
    }
    return spans;
}
} // namespace

bool HomeModel::dragModule(const QString &id, double y, const QVariantMap &frames)
{
    if (!ready())
        return false;
    const auto target = HomeRules::targetIndex(y, m_visibleIds, spansOf(frames, "y", "height"), id);
    if (!target || m_visibleIds.indexOf(id) == *target)
        return false;
    moveModuleToVisible(id, *target);
    return true;
}

void HomeModel::moveModuleToVisible(const QString &id, int position)
{
    const auto module = HomeModules::fromId(id);
    if (!ready() || !module)
        return;
    AppSettings *s = settings();
    const auto at = HomeRules::orderedPosition(m_visible, s->orderedEnabledModules(), position);
    if (at)
        s->moveModule(*module, *at);
}

bool HomeModel::dragChromeIcon(const QString &id, double x, const QVariantMap &frames)
{
    if (!ready() || !m_model->isEditingModules())
        return false;
    const QStringList ordered = settings()->visibleChromeIconIDs();
    const auto target = HomeRules::stripTargetIndex(x, ordered, spansOf(frames, "x", "width"), id);
    if (!target || ordered.indexOf(id) == *target)
        return false;
    settings()->moveChromeIcon(id, *target);
    return true;
}

void HomeModel::removeChromeIcon(const QString &id)
{
    const auto icon = ChromeIcons::fromId(id);
    if (ready() && icon && HomeRules::chromeRemovable(*icon))
        settings()->setModule(ChromeIcons::module(*icon), false);
}

QUrl HomeModel::cardView(const QString &id)
{
    const std::optional<HomeModule> module = HomeModules::fromId(id);
    return module ? HomeModules::card(*module) : QUrl();
}

QObject *HomeModel::makeZipEngine(QObject *card)
{
    if (!ready() || !card)
        return nullptr;
    ZipEngine *engine = m_parts->zipEngine();
    if (!engine)
        return nullptr;
    QQmlEngine::setObjectOwnership(engine, QQmlEngine::CppOwnership);
    engine->setHoldOpen([model = m_model] { return model ? model->holdOpen() : nullptr; });
    return engine;
}

QObject *HomeModel::makeMicCheckEngine(QObject *card)
{
    if (!ready() || !card)
        return nullptr;
    const auto &env = m_parts->environment();
    if (!env.platform.micRecorder || !env.platform.audioPlayer || !env.platform.sounds)
        return nullptr;
    auto *engine = new MicCheckEngine(env.platform.micRecorder, env.platform.audioPlayer, env.platform.sounds,
                                      env.scheduler, MicCheckEngine::defaultTakePath(), card);
    QQmlEngine::setObjectOwnership(engine, QQmlEngine::CppOwnership);
    return engine;
}

QUrl HomeModel::helpPageUrl()
{
    return QUrl(QStringLiteral("https://") + UpdateService::UpdateHost + QStringLiteral("/blog/saves.html"));
}

void HomeModel::openHelpPage()
{
    if (ready())
        m_model->openWebAddress(helpPageUrl());
}
