#include "settings/modulespresenter.h"

#include "core/appnotifications.h"
#include "store/appsettings.h"
#include "platform/applauncher.h"
#include "canvas/canvascredentials.h"
#include "store/permissioncenter.h"
#include "core/random.h"

#include <QMetaProperty>
#include <cmath>

namespace {
struct OptionRow {
    HomeModule module;
    const char *title;
    const char *property;
};

const OptionRow kOptions[] = {
    {HomeModule::player, "Play bar", "playerShowPlayBar"},
    {HomeModule::player, "Audio visualizer", "playerShowVisualizer"},
    {HomeModule::player, "Album artwork", "playerShowArtwork"},
    {HomeModule::player, "Skip buttons", "playerShowSkip"},
    {HomeModule::player, "Show album name", "playerShowAlbum"},
    {HomeModule::timer, "Show 5 / 15 / 25 shortcuts", "timerShowPresets"},
    {HomeModule::clocks, "AM / PM", "clocksShowMeridiem"},
    {HomeModule::weather, "High and low", "weatherShowHighLow"},
    {HomeModule::weather, "Sunrise and sunset", "weatherShowSun"},
    {HomeModule::calendar, "Show reminders", "calendarShowReminders"},
    {HomeModule::system, "CPU", "systemShowCPU"},
    {HomeModule::system, "Memory", "systemShowMemory"},
    {HomeModule::system, "Disk", "systemShowDisk"},
    {HomeModule::system, "Uptime", "systemShowUptime"},
    {HomeModule::network, "Show IP address", "networkShowIP"},
    {HomeModule::clipboard, "Hide when empty", "clipboardHideEmpty"},
    {HomeModule::bluetooth, "Hide when nothing is connected", "bluetoothHideEmpty"},
};

QString permissionName(AppPermission p)
{
    switch (p) {
    case AppPermission::location: return QStringLiteral("Location");
    case AppPermission::calendar: return QStringLiteral("Calendar");
    case AppPermission::bluetooth: return QStringLiteral("Bluetooth");
    case AppPermission::camera: return QStringLiteral("Camera");
    default: return {};
    }
}

bool isOptionProperty(const QString &property)
{
    for (const OptionRow &o : kOptions) {
        if (property == QLatin1String(o.property))
            return true;
    }
    return false;
}
} // namespace

QHash<int, QByteArray> ModuleCardRow::roles()
{
    return {{IdRole, "moduleId"},       {KindRole, "kind"},         {TitleRole, "title"},
            {DetailRole, "detail"},     {SymbolRole, "symbol"},     {IncludedRole, "included"},
            {OnNotchRole, "onNotch"},   {HasChevronRole, "hasChevron"}, {InstallingRole, "installing"},
            {PermissionLineRole, "permissionLine"}};
}

QVariant ModuleCardRow::roleValue(int role) const
{
    switch (role) {
    case IdRole: return id;
    case KindRole: return int(kind);
    case TitleRole: return title;
    case DetailRole: return detail;
    case SymbolRole: return symbol;
    case IncludedRole: return included;
    case OnNotchRole: return onNotch;
    case HasChevronRole: return hasChevron;
    case InstallingRole: return installing;
    case PermissionLineRole: return permissionLine;
    }
    return {};
}

ModulesPresenter::ModulesPresenter(const Parts &parts, QObject *parent)
    : QObject(parent), m_parts(parts)
{
    connect(m_parts.settings, &AppSettings::moduleListsChanged, this, &ModulesPresenter::invalidate);
    // The permission lines read the wishes.
    connect(m_parts.settings, &AppSettings::permissionWishesChanged, this, &ModulesPresenter::invalidate);
    if (m_parts.notifications)
        connect(m_parts.notifications, &AppNotifications::permissionsChanged, this, &ModulesPresenter::invalidate);
    m_hadStoredToken = hasStoredToken();
    if (m_parts.credentials)
        connect(m_parts.credentials, &CanvasCredentialStore::credentialsChanged, this, [this] {
            if (hasStoredToken() == m_hadStoredToken)
                return;
            m_hadStoredToken = !m_hadStoredToken;
            emit hasStoredTokenChanged();
        });
}

void ModulesPresenter::invalidate()
{
    m_stale = true;
    if (m_shown)
        rebuild();
}

void ModulesPresenter::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    if (m_shown && m_stale)
        rebuild();
    emit shownChanged();
}

QList<ModuleOption> ModulesPresenter::optionsFor(HomeModule module)
{
    QList<ModuleOption> list;
    for (const OptionRow &o : kOptions) {
        if (o.module == module)
            list << ModuleOption{QString::fromLatin1(o.title), QString::fromLatin1(o.property)};
    }
    return list;
}

std::optional<AppPermission> ModulesPresenter::permissionFor(HomeModule module)
{
    switch (module) {
    case HomeModule::weather: return AppPermission::location;
    case HomeModule::calendar: return AppPermission::calendar;
    case HomeModule::bluetooth: return AppPermission::bluetooth;
    case HomeModule::mirror: return AppPermission::camera;
    default: return std::nullopt;
    }
}

QString ModulesPresenter::permissionLine(HomeModule module) const
{
    const auto permission = permissionFor(module);
    if (!permission || !m_parts.permissions)
        return {};
    const bool hidden = !m_parts.permissions->wantKey(*permission)
        || m_parts.permissions->isGranted(*permission) != PermissionStatus::granted;
    if (!hidden)
        return {};
    return QStringLiteral("Hidden until ") + permissionName(*permission) + QStringLiteral(" is on in Permissions");
}

ModuleCardRow ModulesPresenter::row(HomeModule module, ModuleCardRow::Kind kind) const
{
    ModuleCardRow r;
    r.id = HomeModules::id(module);
    r.kind = kind;
    r.title = HomeModules::title(module);
    r.detail = HomeModules::detail(module);
    r.symbol = HomeModules::symbol(module);
    r.included = HomeModules::isShipped(module);
    r.onNotch = m_parts.settings->isModuleEnabled(module);
    r.hasChevron = !optionsFor(module).isEmpty() || module == HomeModule::canvas;
    r.installing = isInstalling(r.id);
    r.permissionLine = permissionLine(module);
    return r;
}

void ModulesPresenter::rebuild()
{
    m_stale = false;
    const QSet<QString> hidden = m_parts.settings->disabledModuleIDs();
    std::vector<ModuleCardRow> modules;
    std::vector<ModuleCardRow> library;
    for (HomeModule m : m_parts.settings->shippedModules())
        modules.push_back(row(m, ModuleCardRow::Kind::shipped));
    for (HomeModule m : m_parts.settings->libraryModules()) {
        if (hidden.contains(HomeModules::id(m)))
            library.push_back(row(m, ModuleCardRow::Kind::library));
        else
            modules.push_back(row(m, ModuleCardRow::Kind::installed));
    }
    m_modules.sync(modules);
    m_library.sync(library);
}

std::optional<QUrl> ModulesPresenter::canvasTokenPageUrl(const QString &typed)
{
    QUrl url(typed.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        || url.host().isEmpty())
        return std::nullopt;
    // The page hangs off the address's path; a query or fragment typed with
    // the address does not become part of it.
    QString path = url.path();
    if (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    url.setPath(path + QStringLiteral("/profile/settings"));
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

int ModulesPresenter::installDelayMs(std::uint64_t r)
{
    const std::uint64_t top = std::uint64_t(1) << 53;
    const double seconds = 1.0 + double(std::min(r, top)) * std::ldexp(1.0, -53);
    return int(std::lround(seconds * 1000));
}

QVariantList ModulesPresenter::options(const QString &id) const
{
    QVariantList list;
    if (const auto module = HomeModules::fromId(id)) {
        for (const ModuleOption &o : optionsFor(*module))
            list << QVariant::fromValue(o);
    }
    return list;
}

bool ModulesPresenter::option(const QString &property) const
{
    if (!isOptionProperty(property))
        return false;
    return m_parts.settings->property(property.toLatin1().constData()).toBool();
}

void ModulesPresenter::setOption(const QString &property, bool value)
{
    if (isOptionProperty(property))
        m_parts.settings->setProperty(property.toLatin1().constData(), value);
}

bool ModulesPresenter::canExpand(const QString &id) const
{
    const auto module = HomeModules::fromId(id);
    return module && (!optionsFor(*module).isEmpty() || *module == HomeModule::canvas);
}

bool ModulesPresenter::takeExpandOnAppear(const QString &id)
{
    if (id == QLatin1String("player") || id == QLatin1String("clocks"))
        return true;
    return m_expandOnce.remove(id);
}

void ModulesPresenter::setOnNotch(const QString &id, bool on)
{
    if (const auto module = HomeModules::fromId(id))
        m_parts.settings->setModule(*module, on);
}

void ModulesPresenter::install(const QString &id)
{
    const auto module = HomeModules::fromId(id);
    if (!module || isInstalling(id))
        return;
    const std::uint64_t top = std::uint64_t(1) << 53;
    // An unbiased draw in 0...2^53.
    std::uint64_t r = 0;
    if (m_parts.random) {
        const std::uint64_t limit = UINT64_MAX - UINT64_MAX % (top + 1);
        do
            r = m_parts.random->next();
        while (r >= limit);
        r %= top + 1;
    }
    const HomeModule m = *module;
    std::erase_if(m_installTasks, [](const TaskHandle &t) { return !t.isActive(); });
    m_installing.insert(id);
    m_installTasks.push_back(m_parts.scheduler->after(installDelayMs(r), [this, id, m] {
        m_installing.remove(id);
        // The new card on the Modules page asks for this when it appears.
        if (m == HomeModule::canvas)
            m_expandOnce.insert(id);
        m_parts.settings->setModule(m, true);
        invalidate();
    }));
    invalidate();
}

void ModulesPresenter::remove(const QString &id)
{
    setOnNotch(id, false);
}

void ModulesPresenter::goToLibrary()
{
    if (m_parts.notifications)
        m_parts.notifications->post(AppNotifications::OpenSettings, {{QStringLiteral("page"), QStringLiteral("library")}});
}

void ModulesPresenter::openCanvasTokenPage()
{
    if (const auto url = canvasTokenPageUrl(m_parts.settings->canvasBaseURL()); url && m_parts.launcher)
        m_parts.launcher->openUrl(*url);
}

void ModulesPresenter::saveCanvasToken()
{
    m_parts.settings->saveCanvasCredentials();
}

bool ModulesPresenter::hasStoredToken() const
{
    // A token that no keyring kept is in use, not saved.
    return m_parts.credentials && m_parts.credentials->hasCredentials() && !m_parts.credentials->tokenUntilQuit();
}

QString ModulesPresenter::tokenPlaceholder() const
{
    return hasStoredToken() ? QStringLiteral("Token saved. Paste to replace") : QStringLiteral("Paste Canvas API token");
}
