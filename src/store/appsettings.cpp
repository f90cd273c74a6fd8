#include "store/appsettings.h"

#include "canvas/canvascredentials.h"
#include "core/appnotifications.h"
#include "core/logging.h"
#include "core/userdefaults.h"
#include "platform/loginitem.h"
#include "style/palette.h"
#include "update/updateservice.h"

#include <QPointer>
#include <QTimeZone>
#include <algorithm>
#include <cmath>

namespace {

QStringList splitIds(const QString &joined)
{
    return joined.split(QLatin1Char(','), Qt::SkipEmptyParts);
}

// Moves item to destination within visible, then lays the visible items back
// over the full order; items that are not visible keep their slots.
// Returns nothing when the move changes nothing.
template<typename T, typename IsVisible>
std::optional<QList<T>> reorder(const QList<T> &full, QList<T> visible, T item, int destination, IsVisible isVisible)
{
    const qsizetype from = visible.indexOf(item);
    if (from < 0 || visible.isEmpty())
        return std::nullopt;
    const int to = std::clamp(destination, 0, int(visible.size()) - 1);
    if (to == from)
        return std::nullopt;
    visible.removeAt(from);
    visible.insert(to, item);
    QList<T> rebuilt;
    qsizetype next = 0;
    for (const T &slot : full)
        rebuilt << (isVisible(slot) ? visible[next++] : slot);
    return rebuilt;
}

} // namespace

AppSettings::AppSettings(UserDefaults *defaults, platform::ILoginItem *loginItem, PermissionCenter *permissions,
                         CanvasCredentialStore *credentials, AppNotifications *notifications, QObject *parent)
    : QObject(parent), m_defaults(defaults), m_loginItem(loginItem), m_permissions(permissions),
      m_credentials(credentials), m_notifications(notifications)
{
    m_canvasTokenDraft = QString();
    m_canvasStatus = QStringLiteral("Not connected");
    // The school's address shows whether or not a token is stored.
    m_canvasBaseURL = m_credentials->storedBaseURL();
    QPointer<AppSettings> self(this);
    m_credentials->load([self](const std::optional<CanvasCredentials> &stored) {
        // A save that came first already set the fields.
        if (!self || self->m_canvasStatus != QLatin1String("Not connected"))
            return;
        if (!stored) {
            // A token kept for another school, or one that cannot be sent.
            if (const QString request = self->m_credentials->tokenRequest(); !request.isEmpty())
                self->setCanvasStatus(request);
            else if (const QString problem = self->m_credentials->keyringProblem(); !problem.isEmpty())
                self->setCanvasProblem(problem);
            return;
        }
        self->setCanvasBaseURL(stored->baseURL);
        self->setCanvasStatus(QStringLiteral("Token loaded"));
    });
    // The line under the status while the token in use lasts only until
    // quitting, whatever the status says.
    connect(m_credentials, &CanvasCredentialStore::credentialsChanged, this, &AppSettings::updateCanvasTokenNote);
    // A locked or missing keyring is said as such, not as no account.
    connect(m_credentials, &CanvasCredentialStore::credentialsChanged, this, [this] {
        if (const QString problem = m_credentials->keyringProblem(); !problem.isEmpty() && m_canvasSave == CanvasSave::Idle)
            setCanvasProblem(problem);
    });
    connect(this, &AppSettings::canvasStatusChanged, this, &AppSettings::updateCanvasTokenNote);
    loadClocks();
    runOptInModulesPass();
    runLibraryModulesPass();
    runShippedGamesPass();

    for (const char *sig : {SIGNAL(disabledModulesChanged()), SIGNAL(moduleOrderChanged()), SIGNAL(chromeIconOrderChanged())})
        connect(this, sig, this, SIGNAL(moduleListsChanged()));
    for (auto sig : {&AppSettings::lipOffsetXChanged, &AppSettings::lipOffsetYChanged, &AppSettings::lipDropChanged,
                     &AppSettings::lipCornerRadiusChanged, &AppSettings::lipEarChanged,
                     &AppSettings::showDropShadowChanged, &AppSettings::expandedOffsetXChanged,
                     &AppSettings::expandedOffsetYChanged, &AppSettings::floatingIslandChanged})
        connect(this, sig, this, &AppSettings::islandFrameChanged);
    connect(m_defaults, &UserDefaults::writeStateChanged, this, &AppSettings::storageProblemChanged);
    connect(m_defaults, &UserDefaults::damagedCopyKept, this, &AppSettings::resetNoticeChanged);
}

// Each option reads its user-defaults value (or its default) and writes it;
// a value that changes what the option reads sends the option's own notice.
#define PAVLET_OPTION(Type, ArgType, name, setter, key, fallback, read, write) \
    Type AppSettings::name() const { return m_defaults->read(QStringLiteral(key), fallback); } \
    PAVLET_SETTER(ArgType, name, setter, key, write)
#define PAVLET_SETTER(ArgType, name, setter, key, write) \
    void AppSettings::setter(ArgType value) \
    { \
        const bool changed = !(name() == value); \
        m_defaults->write(QStringLiteral(key), value); \
        if (changed) \
            emit name##Changed(); \
    }
#define PAVLET_BOOL(name, setter, key, fallback) \
    PAVLET_OPTION(bool, bool, name, setter, key, fallback, boolValue, setBool)
// A damaged file may hold NaN or infinity: such a number reads as the default.
#define PAVLET_DOUBLE(name, setter, key, fallback) \
    double AppSettings::name() const \
    { \
        const double value = m_defaults->doubleValue(QStringLiteral(key), fallback); \
        return std::isfinite(value) ? value : fallback; \
    } \
    PAVLET_SETTER(double, name, setter, key, setDouble)
#define PAVLET_STRING(name, setter, key) \
    PAVLET_OPTION(QString, const QString &, name, setter, key, QString(), stringValue, setString)

PAVLET_BOOL(showClockWhenIdle, setShowClockWhenIdle, "showClockWhenIdle", true)
PAVLET_STRING(notchTimeZone, setNotchTimeZone, "notchTimeZone")
PAVLET_BOOL(notchUse24Hour, setNotchUse24Hour, "notchUse24Hour", false)
PAVLET_BOOL(showAmbientSmile, setShowAmbientSmile, "ambientSmileEnabled", false)
PAVLET_BOOL(showSystemHUD, setShowSystemHUD, "showSystemHUD", false)
PAVLET_BOOL(expandOnHover, setExpandOnHover, "expandOnHover", false)
PAVLET_BOOL(launchAtLogin, storeLaunchAtLogin, "launchAtLogin", false)
PAVLET_STRING(scratchNote, setScratchNote, "scratchNote")
PAVLET_STRING(disabledModules, setDisabledModules, "disabledModules")
PAVLET_STRING(moduleOrder, setModuleOrder, "moduleOrder")
PAVLET_BOOL(eyeStrainGuard, setEyeStrainGuard, "eyeStrainGuard", false)
PAVLET_BOOL(playerShowPlayBar, setPlayerShowPlayBar, "playerShowPlayBar", true)
PAVLET_BOOL(playerShowVisualizer, setPlayerShowVisualizer, "playerShowVisualizer", true)
PAVLET_BOOL(playerShowArtwork, setPlayerShowArtwork, "playerShowArtwork", true)
PAVLET_BOOL(playerShowSkip, setPlayerShowSkip, "playerShowSkip", true)
PAVLET_BOOL(networkShowIP, setNetworkShowIP, "networkShowIP", true)
PAVLET_BOOL(weatherShowHighLow, setWeatherShowHighLow, "weatherShowHighLow", true)
PAVLET_BOOL(weatherShowSun, setWeatherShowSun, "weatherShowSun", true)
PAVLET_BOOL(calendarShowReminders, setCalendarShowReminders, "calendarShowReminders", true)
PAVLET_BOOL(systemShowCPU, setSystemShowCPU, "systemShowCPU", true)
PAVLET_BOOL(systemShowMemory, setSystemShowMemory, "systemShowMemory", true)
PAVLET_BOOL(systemShowDisk, setSystemShowDisk, "systemShowDisk", true)
PAVLET_BOOL(systemShowUptime, setSystemShowUptime, "systemShowUptime", true)
PAVLET_BOOL(timerShowPresets, setTimerShowPresets, "timerShowPresets", true)
PAVLET_BOOL(clocksShowMeridiem, setClocksShowMeridiem, "clocksShowMeridiem", true)
PAVLET_BOOL(clipboardHideEmpty, setClipboardHideEmpty, "clipboardHideEmpty", false)
PAVLET_BOOL(bluetoothHideEmpty, setBluetoothHideEmpty, "bluetoothHideEmpty", false)
PAVLET_BOOL(playerShowAlbum, setPlayerShowAlbum, "playerShowAlbum", true)
PAVLET_BOOL(hideNotchVersion, setHideNotchVersion, "hideNotchVersion", false)
PAVLET_DOUBLE(lipOffsetX, setLipOffsetX, "lipOffsetX", 0)
PAVLET_DOUBLE(lipOffsetY, setLipOffsetY, "lipOffsetY", 0)
PAVLET_DOUBLE(lipDrop, setLipDrop, "lipDrop", 16)
PAVLET_DOUBLE(lipCornerRadius, setLipCornerRadius, "lipCornerRadius", 10)
PAVLET_DOUBLE(lipEar, setLipEar, "lipEar", 32)
PAVLET_BOOL(showDropShadow, setShowDropShadow, "showDropShadow", false)
PAVLET_STRING(chromeIconOrder, setChromeIconOrder, "chromeIconOrder")
PAVLET_DOUBLE(expandedOffsetX, setExpandedOffsetX, "expandedOffsetX", 0)
PAVLET_DOUBLE(expandedOffsetY, setExpandedOffsetY, "expandedOffsetY", 0)
PAVLET_BOOL(floatingIsland, setFloatingIsland, "floatingIsland", true)
PAVLET_BOOL(includeInScreenCapture, setIncludeInScreenCapture, "includeInScreenCapture", false)
PAVLET_BOOL(useCustomAccent, setUseCustomAccent, "useCustomAccent", false)
PAVLET_STRING(skippedUpdateVersion, setSkippedUpdateVersion, "skippedUpdateVersion")

// Every write of launchAtLogin is followed by making the login item match.
void AppSettings::setLaunchAtLogin(bool value)
{
    storeLaunchAtLogin(value);
    applyLaunchAtLogin();
}

#undef PAVLET_STRING
#undef PAVLET_DOUBLE
#undef PAVLET_BOOL
#undef PAVLET_OPTION

namespace {
struct AccentChannel {
    const char *key;
    double fallback;
};
constexpr AccentChannel accentChannels[] = {{"customAccentR", Palette::defaultAccent.r},
                                            {"customAccentG", Palette::defaultAccent.g},
                                            {"customAccentB", Palette::defaultAccent.b}};
} // namespace

QColor AppSettings::customAccent() const
{
    float rgb[3];
    for (int i = 0; i < 3; ++i) {
        const double value = m_defaults->doubleValue(QLatin1String(accentChannels[i].key), accentChannels[i].fallback);
        rgb[i] = float(std::isfinite(value) ? value : accentChannels[i].fallback);
    }
    return QColor::fromRgbF(rgb[0], rgb[1], rgb[2], 1.0f);
}

void AppSettings::setCustomAccent(const QColor &color)
{
    QColor rgb = color.toRgb();
    if (!rgb.isValid())
        rgb = color;
    const QColor before = customAccent();
    const double channels[] = {rgb.redF(), rgb.greenF(), rgb.blueF()};
    for (int i = 0; i < 3; ++i)
        m_defaults->setDouble(QLatin1String(accentChannels[i].key), channels[i]);
    if (customAccent() != before)
        emit customAccentChanged();
}

void AppSettings::setCanvasBaseURL(const QString &value)
{
    if (value == m_canvasBaseURL)
        return;
    m_canvasBaseURL = value;
    emit canvasBaseURLChanged();
}

void AppSettings::setCanvasTokenDraft(const QString &value)
{
    if (value == m_canvasTokenDraft)
        return;
    m_canvasTokenDraft = value;
    emit canvasTokenDraftChanged();
}

void AppSettings::setCanvasStatus(const QString &value)
{
    showCanvasStatus(value, false);
}

void AppSettings::setCanvasProblem(const QString &value)
{
    showCanvasStatus(value, true);
}

void AppSettings::showCanvasStatus(const QString &value, bool failed)
{
    // A request for the token or the address is something the user must
    // put right before Canvas works.
    failed = failed || CanvasCredentialStore::isTokenRequest(value);
    if (m_canvasSave == CanvasSave::Failed) {
        m_canvasSave = CanvasSave::Idle;
        emit canvasSaveStateChanged();
    }
    if (value == m_canvasStatus && failed == m_canvasStatusFailed)
        return;
    m_canvasStatus = value;
    m_canvasStatusFailed = failed;
    emit canvasStatusChanged();
}

void AppSettings::setCanvasSave(CanvasSave state, const QString &status, bool failed)
{
    showCanvasStatus(status, failed || state == CanvasSave::Failed);
    if (state == m_canvasSave)
        return;
    m_canvasSave = state;
    emit canvasSaveStateChanged();
}

QString AppSettings::storageProblem() const
{
    if (m_defaults->lastWriteSucceeded())
        return {};
    return QStringLiteral("Settings can't be saved to ") + m_defaults->path()
           + QStringLiteral(". Changes last only until Pavlet quits.");
}

QString AppSettings::resetNotice() const
{
    if (m_resetNoticeSeen || m_defaults->damagedCopyPath().isEmpty())
        return {};
    return QStringLiteral("Your settings could not be read, so Pavlet started over with its defaults. The old file "
                          "is kept at ")
           + m_defaults->damagedCopyPath() + QLatin1Char('.');
}

void AppSettings::dismissResetNotice()
{
    if (m_resetNoticeSeen || m_defaults->damagedCopyPath().isEmpty())
        return;
    m_resetNoticeSeen = true;
    emit resetNoticeChanged();
}

void AppSettings::setLaunchAtLoginProblem(const QString &problem)
{
    if (problem == m_launchAtLoginProblem)
        return;
    m_launchAtLoginProblem = problem;
    emit launchAtLoginProblemChanged();
}

const QList<ClockCity> &AppSettings::defaultClocks()
{
    static const QList<ClockCity> cities{
        {QUuid::createUuid(), QStringLiteral("Pacific"), QStringLiteral("America/Los_Angeles")},
        {QUuid::createUuid(), QStringLiteral("New York"), QStringLiteral("America/New_York")},
        {QUuid::createUuid(), QStringLiteral("London"), QStringLiteral("Europe/London")},
    };
    return cities;
}

void AppSettings::loadClocks()
{
    const QByteArray data = m_defaults->dataValue(QStringLiteral("worldClocks"));
    const auto decoded = data.isEmpty() ? std::nullopt : ClockCity::decodeList(data);
    m_clocks = decoded ? *decoded : defaultClocks();
}

void AppSettings::setClocks(const QList<ClockCity> &clocks)
{
    if (clocks == m_clocks)
        return;
    m_clocks = clocks;
    emit clocksChanged();
}

QVariantList AppSettings::clocksForQml() const
{
    QVariantList list;
    for (const ClockCity &c : m_clocks)
        list << QVariant::fromValue(c);
    return list;
}

void AppSettings::saveClocks()
{
    m_defaults->setData(QStringLiteral("worldClocks"), ClockCity::encodeList(m_clocks));
}

void AppSettings::applyLaunchAtLogin()
{
    if (!m_loginItem)
        return;
    QString error;
    bool ok = true;
    const bool wanted = launchAtLogin();
    if (wanted)
        ok = m_loginItem->registerItem(&error);
    else if (m_loginItem->status() == platform::ILoginItem::Status::Enabled)
        ok = m_loginItem->unregisterItem(&error);
    if (ok) {
        setLaunchAtLoginProblem(QString());
        return;
    }
    qCWarning(lcApp).noquote() << "Pavlet login item: " + error;
    // The switch shows what the login item really does.
    storeLaunchAtLogin(!wanted);
    setLaunchAtLoginProblem((wanted ? QStringLiteral("Couldn't turn on launch at login: ")
                                    : QStringLiteral("Couldn't turn off launch at login: "))
                            + error);
}

QString AppSettings::formatTime(const QDateTime &date, bool withWeekday) const
{
    QTimeZone zone(notchTimeZone().toUtf8());
    if (notchTimeZone().isEmpty() || !zone.isValid())
        zone = QTimeZone::systemTimeZone();
    QString format = notchUse24Hour() ? QStringLiteral("HH:mm") : QStringLiteral("h:mm AP");
    if (withWeekday)
        format.prepend(QStringLiteral("ddd "));
    return QLocale::c().toString(date.toTimeZone(zone), format);
}

void AppSettings::saveCanvasCredentials()
{
    const QString trimmed = m_canvasBaseURL.trimmed();
    if (!trimmed.isEmpty() && !CanvasCredentials::normalizeBaseURL(trimmed)) {
        setCanvasProblem(CanvasCredentials::hasQueryOrFragment(trimmed) ? CanvasQueryText
                                                                        : QStringLiteral("School URL must be https://"));
        return;
    }
    const QString draft = m_canvasTokenDraft.trimmed();
    if (CanvasCredentials::hasControlCharacter(draft)) {
        setCanvasSave(CanvasSave::Failed, CanvasControlCharacterText);
        return;
    }
    if (const auto normalized = CanvasCredentials::normalizeBaseURL(trimmed))
        setCanvasBaseURL(*normalized);
    // A keyring that gave no token before (locked, not answering) is asked
    // again.
    m_credentials->askAgain();

    const QString address = m_canvasBaseURL;
    QPointer<AppSettings> self(this);
    using Saved = CanvasCredentialStore::Saved;
    auto finish = [self, typed = !draft.isEmpty()](Saved saved) {
        if (!self)
            return;
        if (typed && saved == Saved::Refused) {
            self->setCanvasSave(CanvasSave::Failed, CanvasControlCharacterText);
            return;
        }
        // A token no keyring kept still serves until the program ends; the
        // line says it will be gone after that.
        self->setCanvasTokenDraft(QString());
        const QString request = self->m_credentials->tokenRequest();
        if (saved == Saved::ThisRunOnly)
            self->setCanvasSave(CanvasSave::Idle, CanvasThisRunOnlyText, true);
        else if (self->m_credentials->hasCredentials())
            self->setCanvasSave(CanvasSave::Idle, QStringLiteral("Token saved on this computer"));
        else
            self->setCanvasSave(CanvasSave::Idle, request.isEmpty() ? QStringLiteral("Not connected") : request);
        self->m_notifications->post(AppNotifications::CanvasCredentialsChanged);
    };
    // Until the store answers (a keyring prompt may be up) the line says so.
    setCanvasSave(CanvasSave::Saving, CanvasSavingText);
    if (!draft.isEmpty()) {
        m_credentials->save(address, draft, finish);
        return;
    }
    // An empty draft keeps the stored token, once the store has said which;
    // it serves the address only when that is the token's own school.
    m_credentials->saveAddress(address, finish);
}

void AppSettings::updateCanvasTokenNote()
{
    const QString note = m_credentials->tokenUntilQuit() && m_canvasStatus != CanvasThisRunOnlyText
                             ? CanvasThisRunOnlyText
                             : QString();
    if (note == m_canvasTokenNote)
        return;
    m_canvasTokenNote = note;
    emit canvasTokenNoteChanged();
}

// ---- Modules ---------------------------------------------------------------

QSet<QString> AppSettings::disabledModuleIDs() const
{
    const QStringList pieces = splitIds(disabledModules());
    return QSet<QString>(pieces.begin(), pieces.end());
}

bool AppSettings::isModuleEnabled(const QString &id) const
{
    return !disabledModuleIDs().contains(id);
}

void AppSettings::writeIdSet(const QString &key, const QSet<QString> &ids, bool announce)
{
    QStringList sorted(ids.begin(), ids.end());
    std::sort(sorted.begin(), sorted.end());
    const QString joined = sorted.join(QLatin1Char(','));
    if (announce && key == QLatin1String("disabledModules")) {
        setDisabledModules(joined);
        return;
    }
    m_defaults->setString(key, joined);
}

void AppSettings::setModule(HomeModule module, bool enabled)
{
    QSet<QString> ids = disabledModuleIDs();
    if (enabled)
        ids.remove(HomeModules::id(module));
    else
        ids.insert(HomeModules::id(module));
    writeIdSet(QStringLiteral("disabledModules"), ids, true);
}

void AppSettings::setModuleEnabled(const QString &id, bool enabled)
{
    if (const auto module = HomeModules::fromId(id))
        setModule(*module, enabled);
}

QList<HomeModule> AppSettings::orderedModules() const
{
    QList<HomeModule> order;
    QSet<HomeModule> seen;
    for (const QString &piece : splitIds(moduleOrder())) {
        const auto module = HomeModules::fromId(piece);
        if (!module || seen.contains(*module))
            continue;
        seen.insert(*module);
        order << *module;
    }
    for (HomeModule m : HomeModules::all()) {
        if (!seen.contains(m))
            order << m;
    }
    return order;
}

QList<HomeModule> AppSettings::orderedEnabledModules() const
{
    const QSet<QString> disabled = disabledModuleIDs();
    QList<HomeModule> list;
    for (HomeModule m : orderedModules()) {
        if (!disabled.contains(HomeModules::id(m)))
            list << m;
    }
    return list;
}

QStringList AppSettings::orderedEnabledModuleIDs() const
{
    QStringList ids;
    for (HomeModule m : orderedEnabledModules())
        ids << HomeModules::id(m);
    return ids;
}

void AppSettings::moveModule(HomeModule module, int destination)
{
    const QSet<QString> disabled = disabledModuleIDs();
    const auto rebuilt = reorder(orderedModules(), orderedEnabledModules(), module, destination,
                                 [&](HomeModule m) { return !disabled.contains(HomeModules::id(m)); });
    if (!rebuilt)
        return;
    QStringList ids;
    for (HomeModule m : *rebuilt)
        ids << HomeModules::id(m);
    setModuleOrder(ids.join(QLatin1Char(',')));
}

void AppSettings::moveModule(const QString &id, int destination)
{
    if (const auto module = HomeModules::fromId(id))
        moveModule(*module, destination);
}

QList<HomeModule> AppSettings::libraryModules() const
{
    QList<HomeModule> list;
    for (HomeModule m : orderedModules()) {
        if (!HomeModules::isShipped(m))
            list << m;
    }
    return list;
}

QList<HomeModule> AppSettings::shippedModules() const
{
    QList<HomeModule> list;
    for (HomeModule m : orderedModules()) {
        if (HomeModules::isShipped(m))
            list << m;
    }
    return list;
}

QList<HomeModule> AppSettings::hiddenShippedModules() const
{
    const QSet<QString> disabled = disabledModuleIDs();
    QList<HomeModule> list;
    for (HomeModule m : shippedModules()) {
        if (disabled.contains(HomeModules::id(m)))
            list << m;
    }
    return list;
}

QList<ChromeIcon> AppSettings::orderedChromeIcons() const
{
    QList<ChromeIcon> order;
    QSet<ChromeIcon> seen;
    for (QString piece : splitIds(chromeIconOrder())) {
        if (piece == QLatin1String("integrations"))
            piece = QStringLiteral("canvas");
        const auto icon = ChromeIcons::fromId(piece);
        if (!icon || seen.contains(*icon))
            continue;
        seen.insert(*icon);
        order << *icon;
    }
    for (ChromeIcon icon : ChromeIcons::all()) {
        if (!seen.contains(icon))
            order << icon;
    }
    return order;
}

QList<ChromeIcon> AppSettings::visibleChromeIcons() const
{
    const QSet<QString> disabled = disabledModuleIDs();
    QList<ChromeIcon> list;
    for (ChromeIcon icon : orderedChromeIcons()) {
        if (!disabled.contains(HomeModules::id(ChromeIcons::module(icon))))
            list << icon;
    }
    return list;
}

QStringList AppSettings::visibleChromeIconIDs() const
{
    QStringList ids;
    for (ChromeIcon icon : visibleChromeIcons())
        ids << ChromeIcons::id(icon);
    return ids;
}

void AppSettings::moveChromeIcon(ChromeIcon icon, int destination)
{
    const QSet<QString> disabled = disabledModuleIDs();
    const auto rebuilt = reorder(orderedChromeIcons(), visibleChromeIcons(), icon, destination, [&](ChromeIcon i) {
        return !disabled.contains(HomeModules::id(ChromeIcons::module(i)));
    });
    if (!rebuilt)
        return;
    QStringList ids;
    for (ChromeIcon i : *rebuilt)
        ids << ChromeIcons::id(i);
    setChromeIconOrder(ids.join(QLatin1Char(',')));
}

void AppSettings::moveChromeIcon(const QString &id, int destination)
{
    if (const auto icon = ChromeIcons::fromId(id))
        moveChromeIcon(*icon, destination);
}

// A one-time pass runs while its flag is absent or false, rewrites
// disabledModules (sending no notice) and then sets its flag.
void AppSettings::runOnce(const QString &flag, const std::function<void(QSet<QString> &)> &change)
{
    if (m_defaults->boolValue(flag, false))
        return;
    QSet<QString> ids = disabledModuleIDs();
    change(ids);
    writeIdSet(QStringLiteral("disabledModules"), ids, false);
    m_defaults->setBool(flag, true);
}

namespace {
void hideNonShipped(QSet<QString> &ids)
{
    for (HomeModule m : HomeModules::all()) {
        if (!HomeModules::isShipped(m))
            ids.insert(HomeModules::id(m));
    }
}
} // namespace

void AppSettings::runOptInModulesPass()
{
    runOnce(QStringLiteral("pavlet.optInModules.v1"), hideNonShipped);
}

// Waits for the stored credentials; when the secret store could not say
// whether a token is stored, the pass waits for a later run.
void AppSettings::runLibraryModulesPass()
{
    const QString flag = QStringLiteral("pavlet.libraryModules.v1");
    if (m_defaults->boolValue(flag, false))
        return;
    QPointer<AppSettings> self(this);
    m_credentials->load([self, flag](const std::optional<CanvasCredentials> &stored) {
        if (!self || self->m_credentials->tokenState() == CanvasCredentialStore::TokenState::Unknown)
            return;
        self->runOnce(flag, [&stored](QSet<QString> &ids) {
            hideNonShipped(ids);
            if (stored)
                ids.remove(QStringLiteral("canvas"));
        });
    });
}

void AppSettings::runShippedGamesPass()
{
    runOnce(QStringLiteral("pavlet.shippedGames.v1"), [](QSet<QString> &ids) { ids.remove(QStringLiteral("games")); });
}

// ---- Permission wishes -----------------------------------------------------

void AppSettings::wantsPermission(AppPermission permission, bool value)
{
    const QString key = PermissionCenter::wantKeyName(permission);
    const bool changed = m_defaults->typeOf(key) != UserDefaults::Type::Bool || m_defaults->boolValue(key) != value;
    m_defaults->setBool(key, value);
    if (changed)
        emit permissionWishesChanged();
}

void AppSettings::migratePermissionWants()
{
    if (!m_permissions)
        return;
    const bool migrated = m_defaults->boolValue(PermissionCenter::WantsMigratedKey, false);
    const QSet<QString> stored = m_permissions->storedGrantedSet();
    for (AppPermission p : PermissionCenter::all()) {
        const PermissionStatus system = m_permissions->systemStatus(p);
        bool counts;
        if (m_permissions->grantedSinceLaunch().contains(p) || stored.contains(PermissionCenter::rawValue(p)))
            counts = system != PermissionStatus::denied;
        else
            counts = system == PermissionStatus::granted;
        if (system == PermissionStatus::granted)
            m_permissions->markGranted(p);
        const QString key = PermissionCenter::wantKeyName(p);
        if (!m_defaults->contains(key))
            wantsPermission(p, true);
        else if (!migrated && counts)
            wantsPermission(p, true);
    }
    m_defaults->setBool(PermissionCenter::WantsMigratedKey, true);
}

void bindSkippedUpdateVersion(AppSettings *settings, UpdateService *updates)
{
    updates->setSkippedVersion(settings->skippedUpdateVersion());
    QObject::connect(settings, &AppSettings::skippedUpdateVersionChanged, updates,
                     [settings, updates] { updates->setSkippedVersion(settings->skippedUpdateVersion()); });
    QObject::connect(updates, &UpdateService::versionSkipped, settings, &AppSettings::setSkippedUpdateVersion);
}
