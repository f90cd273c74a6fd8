#include "appsettings.h"

#include "appnotifications.h"
#include "canvascredentials.h"
#include "logging.h"
#include "loginitem.h"
#include "userdefaults.h"

#include <QTimeZone>
#include <algorithm>

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

AppSettings::AppSettings(UserDefaults *defaults, LoginItem *loginItem, PermissionCenter *permissions, QObject *parent)
    : QObject(parent), m_defaults(defaults), m_loginItem(loginItem), m_permissions(permissions)
{
    m_canvasTokenDraft = QString();
    m_canvasStatus = QStringLiteral("Not connected");
    if (const auto credentials = CanvasCredentials::load()) {
        m_canvasBaseURL = credentials->baseURL;
        m_canvasStatus = QStringLiteral("Token loaded");
    }
    loadClocks();
    runOptInModulesPass();
    runLibraryModulesPass();
    runShippedGamesPass();

    for (const char *sig : {SIGNAL(disabledModulesChanged()), SIGNAL(moduleOrderChanged()), SIGNAL(chromeIconOrderChanged())})
        connect(this, sig, this, SIGNAL(moduleListsChanged()));
}

bool AppSettings::showClockWhenIdle() const { return m_defaults->boolValue(QStringLiteral("showClockWhenIdle"), true); }
void AppSettings::setShowClockWhenIdle(bool value)
{
    m_defaults->setBool(QStringLiteral("showClockWhenIdle"), value);
    emit showClockWhenIdleChanged();
}

QString AppSettings::notchTimeZone() const { return m_defaults->stringValue(QStringLiteral("notchTimeZone"), QString()); }
void AppSettings::setNotchTimeZone(const QString &value)
{
    m_defaults->setString(QStringLiteral("notchTimeZone"), value);
    emit notchTimeZoneChanged();
    emit settingsChanged();
}

bool AppSettings::notchUse24Hour() const { return m_defaults->boolValue(QStringLiteral("notchUse24Hour"), false); }
void AppSettings::setNotchUse24Hour(bool value)
{
    m_defaults->setBool(QStringLiteral("notchUse24Hour"), value);
    emit notchUse24HourChanged();
    emit settingsChanged();
}

bool AppSettings::showAmbientSmile() const { return m_defaults->boolValue(QStringLiteral("ambientSmileEnabled"), false); }
void AppSettings::setShowAmbientSmile(bool value)
{
    m_defaults->setBool(QStringLiteral("ambientSmileEnabled"), value);
    emit showAmbientSmileChanged();
    emit settingsChanged();
}

bool AppSettings::showSystemHUD() const { return m_defaults->boolValue(QStringLiteral("showSystemHUD"), false); }
void AppSettings::setShowSystemHUD(bool value)
{
    m_defaults->setBool(QStringLiteral("showSystemHUD"), value);
    emit showSystemHUDChanged();
    emit settingsChanged();
}

bool AppSettings::expandOnHover() const { return m_defaults->boolValue(QStringLiteral("expandOnHover"), false); }
void AppSettings::setExpandOnHover(bool value)
{
    m_defaults->setBool(QStringLiteral("expandOnHover"), value);
    emit expandOnHoverChanged();
}

bool AppSettings::launchAtLogin() const { return m_defaults->boolValue(QStringLiteral("launchAtLogin"), false); }
void AppSettings::setLaunchAtLogin(bool value)
{
    m_defaults->setBool(QStringLiteral("launchAtLogin"), value);
    emit launchAtLoginChanged();
    applyLaunchAtLogin();
}

QString AppSettings::scratchNote() const { return m_defaults->stringValue(QStringLiteral("scratchNote"), QString()); }
void AppSettings::setScratchNote(const QString &value)
{
    m_defaults->setString(QStringLiteral("scratchNote"), value);
    emit scratchNoteChanged();
}

QString AppSettings::disabledModules() const { return m_defaults->stringValue(QStringLiteral("disabledModules"), QString()); }
void AppSettings::setDisabledModules(const QString &value)
{
    m_defaults->setString(QStringLiteral("disabledModules"), value);
    emit disabledModulesChanged();
    emit settingsChanged();
}

QString AppSettings::moduleOrder() const { return m_defaults->stringValue(QStringLiteral("moduleOrder"), QString()); }
void AppSettings::setModuleOrder(const QString &value)
{
    m_defaults->setString(QStringLiteral("moduleOrder"), value);
    emit moduleOrderChanged();
    emit settingsChanged();
}

bool AppSettings::eyeStrainGuard() const { return m_defaults->boolValue(QStringLiteral("eyeStrainGuard"), false); }
void AppSettings::setEyeStrainGuard(bool value)
{
    m_defaults->setBool(QStringLiteral("eyeStrainGuard"), value);
    emit eyeStrainGuardChanged();
}

bool AppSettings::playerShowPlayBar() const { return m_defaults->boolValue(QStringLiteral("playerShowPlayBar"), true); }
void AppSettings::setPlayerShowPlayBar(bool value)
{
    m_defaults->setBool(QStringLiteral("playerShowPlayBar"), value);
    emit playerShowPlayBarChanged();
    emit settingsChanged();
}

bool AppSettings::playerShowVisualizer() const { return m_defaults->boolValue(QStringLiteral("playerShowVisualizer"), true); }
void AppSettings::setPlayerShowVisualizer(bool value)
{
    m_defaults->setBool(QStringLiteral("playerShowVisualizer"), value);
    emit playerShowVisualizerChanged();
    emit settingsChanged();
}

bool AppSettings::playerShowArtwork() const { return m_defaults->boolValue(QStringLiteral("playerShowArtwork"), true); }
void AppSettings::setPlayerShowArtwork(bool value)
{
    m_defaults->setBool(QStringLiteral("playerShowArtwork"), value);
    emit playerShowArtworkChanged();
    emit settingsChanged();
}

bool AppSettings::playerShowSkip() const { return m_defaults->boolValue(QStringLiteral("playerShowSkip"), true); }
void AppSettings::setPlayerShowSkip(bool value)
{
    m_defaults->setBool(QStringLiteral("playerShowSkip"), value);
    emit playerShowSkipChanged();
    emit settingsChanged();
}

bool AppSettings::networkShowIP() const { return m_defaults->boolValue(QStringLiteral("networkShowIP"), true); }
void AppSettings::setNetworkShowIP(bool value)
{
    m_defaults->setBool(QStringLiteral("networkShowIP"), value);
    emit networkShowIPChanged();
    emit settingsChanged();
}

bool AppSettings::weatherShowHighLow() const { return m_defaults->boolValue(QStringLiteral("weatherShowHighLow"), true); }
void AppSettings::setWeatherShowHighLow(bool value)
{
    m_defaults->setBool(QStringLiteral("weatherShowHighLow"), value);
    emit weatherShowHighLowChanged();
    emit settingsChanged();
}

bool AppSettings::weatherShowSun() const { return m_defaults->boolValue(QStringLiteral("weatherShowSun"), true); }
void AppSettings::setWeatherShowSun(bool value)
{
    m_defaults->setBool(QStringLiteral("weatherShowSun"), value);
    emit weatherShowSunChanged();
    emit settingsChanged();
}

bool AppSettings::calendarShowReminders() const { return m_defaults->boolValue(QStringLiteral("calendarShowReminders"), true); }
void AppSettings::setCalendarShowReminders(bool value)
{
    m_defaults->setBool(QStringLiteral("calendarShowReminders"), value);
    emit calendarShowRemindersChanged();
    emit settingsChanged();
}

bool AppSettings::systemShowCPU() const { return m_defaults->boolValue(QStringLiteral("systemShowCPU"), true); }
void AppSettings::setSystemShowCPU(bool value)
{
    m_defaults->setBool(QStringLiteral("systemShowCPU"), value);
    emit systemShowCPUChanged();
    emit settingsChanged();
}

bool AppSettings::systemShowMemory() const { return m_defaults->boolValue(QStringLiteral("systemShowMemory"), true); }
void AppSettings::setSystemShowMemory(bool value)
{
    m_defaults->setBool(QStringLiteral("systemShowMemory"), value);
    emit systemShowMemoryChanged();
    emit settingsChanged();
}

bool AppSettings::systemShowDisk() const { return m_defaults->boolValue(QStringLiteral("systemShowDisk"), true); }
void AppSettings::setSystemShowDisk(bool value)
{
    m_defaults->setBool(QStringLiteral("systemShowDisk"), value);
    emit systemShowDiskChanged();
    emit settingsChanged();
}

bool AppSettings::systemShowUptime() const { return m_defaults->boolValue(QStringLiteral("systemShowUptime"), true); }
void AppSettings::setSystemShowUptime(bool value)
{
    m_defaults->setBool(QStringLiteral("systemShowUptime"), value);
    emit systemShowUptimeChanged();
    emit settingsChanged();
}

bool AppSettings::timerShowPresets() const { return m_defaults->boolValue(QStringLiteral("timerShowPresets"), true); }
void AppSettings::setTimerShowPresets(bool value)
{
    m_defaults->setBool(QStringLiteral("timerShowPresets"), value);
    emit timerShowPresetsChanged();
    emit settingsChanged();
}

bool AppSettings::clocksShowMeridiem() const { return m_defaults->boolValue(QStringLiteral("clocksShowMeridiem"), true); }
void AppSettings::setClocksShowMeridiem(bool value)
{
    m_defaults->setBool(QStringLiteral("clocksShowMeridiem"), value);
    emit clocksShowMeridiemChanged();
    emit settingsChanged();
}

bool AppSettings::clipboardHideEmpty() const { return m_defaults->boolValue(QStringLiteral("clipboardHideEmpty"), false); }
void AppSettings::setClipboardHideEmpty(bool value)
{
    m_defaults->setBool(QStringLiteral("clipboardHideEmpty"), value);
    emit clipboardHideEmptyChanged();
    emit settingsChanged();
}

bool AppSettings::bluetoothHideEmpty() const { return m_defaults->boolValue(QStringLiteral("bluetoothHideEmpty"), false); }
void AppSettings::setBluetoothHideEmpty(bool value)
{
    m_defaults->setBool(QStringLiteral("bluetoothHideEmpty"), value);
    emit bluetoothHideEmptyChanged();
    emit settingsChanged();
}

bool AppSettings::playerShowAlbum() const { return m_defaults->boolValue(QStringLiteral("playerShowAlbum"), true); }
void AppSettings::setPlayerShowAlbum(bool value)
{
    m_defaults->setBool(QStringLiteral("playerShowAlbum"), value);
    emit playerShowAlbumChanged();
    emit settingsChanged();
}

bool AppSettings::hideNotchVersion() const { return m_defaults->boolValue(QStringLiteral("hideNotchVersion"), false); }
void AppSettings::setHideNotchVersion(bool value)
{
    m_defaults->setBool(QStringLiteral("hideNotchVersion"), value);
    emit hideNotchVersionChanged();
    emit settingsChanged();
}

double AppSettings::lipOffsetX() const { return m_defaults->doubleValue(QStringLiteral("lipOffsetX"), 0); }
void AppSettings::setLipOffsetX(double value)
{
    m_defaults->setDouble(QStringLiteral("lipOffsetX"), value);
    emit lipOffsetXChanged();
    emit settingsChanged();
}

double AppSettings::lipOffsetY() const { return m_defaults->doubleValue(QStringLiteral("lipOffsetY"), 0); }
void AppSettings::setLipOffsetY(double value)
{
    m_defaults->setDouble(QStringLiteral("lipOffsetY"), value);
    emit lipOffsetYChanged();
    emit settingsChanged();
}

double AppSettings::lipDrop() const { return m_defaults->doubleValue(QStringLiteral("lipDrop"), 16); }
void AppSettings::setLipDrop(double value)
{
    m_defaults->setDouble(QStringLiteral("lipDrop"), value);
    emit lipDropChanged();
    emit settingsChanged();
}

double AppSettings::lipCornerRadius() const { return m_defaults->doubleValue(QStringLiteral("lipCornerRadius"), 10); }
void AppSettings::setLipCornerRadius(double value)
{
    m_defaults->setDouble(QStringLiteral("lipCornerRadius"), value);
    emit lipCornerRadiusChanged();
    emit settingsChanged();
}

double AppSettings::lipEar() const { return m_defaults->doubleValue(QStringLiteral("lipEar"), 32); }
void AppSettings::setLipEar(double value)
{
    m_defaults->setDouble(QStringLiteral("lipEar"), value);
    emit lipEarChanged();
    emit settingsChanged();
}

bool AppSettings::showDropShadow() const { return m_defaults->boolValue(QStringLiteral("showDropShadow"), false); }
void AppSettings::setShowDropShadow(bool value)
{
    m_defaults->setBool(QStringLiteral("showDropShadow"), value);
    emit showDropShadowChanged();
    emit settingsChanged();
}

QString AppSettings::chromeIconOrder() const { return m_defaults->stringValue(QStringLiteral("chromeIconOrder"), QString()); }
void AppSettings::setChromeIconOrder(const QString &value)
{
    m_defaults->setString(QStringLiteral("chromeIconOrder"), value);
    emit chromeIconOrderChanged();
    emit settingsChanged();
}

double AppSettings::expandedOffsetX() const { return m_defaults->doubleValue(QStringLiteral("expandedOffsetX"), 0); }
void AppSettings::setExpandedOffsetX(double value)
{
    m_defaults->setDouble(QStringLiteral("expandedOffsetX"), value);
    emit expandedOffsetXChanged();
    emit settingsChanged();
}

double AppSettings::expandedOffsetY() const { return m_defaults->doubleValue(QStringLiteral("expandedOffsetY"), 0); }
void AppSettings::setExpandedOffsetY(double value)
{
    m_defaults->setDouble(QStringLiteral("expandedOffsetY"), value);
    emit expandedOffsetYChanged();
    emit settingsChanged();
}

bool AppSettings::floatingIsland() const { return m_defaults->boolValue(QStringLiteral("floatingIsland"), true); }
void AppSettings::setFloatingIsland(bool value)
{
    m_defaults->setBool(QStringLiteral("floatingIsland"), value);
    emit floatingIslandChanged();
    emit settingsChanged();
}

bool AppSettings::includeInScreenCapture() const { return m_defaults->boolValue(QStringLiteral("includeInScreenCapture"), false); }
void AppSettings::setIncludeInScreenCapture(bool value)
{
    m_defaults->setBool(QStringLiteral("includeInScreenCapture"), value);
    emit includeInScreenCaptureChanged();
    emit settingsChanged();
}

bool AppSettings::useCustomAccent() const { return m_defaults->boolValue(QStringLiteral("useCustomAccent"), false); }
void AppSettings::setUseCustomAccent(bool value)
{
    m_defaults->setBool(QStringLiteral("useCustomAccent"), value);
    emit useCustomAccentChanged();
    emit settingsChanged();
}

double AppSettings::customAccentR() const { return m_defaults->doubleValue(QStringLiteral("customAccentR"), 0.47); }
void AppSettings::setCustomAccentR(double value)
{
    m_defaults->setDouble(QStringLiteral("customAccentR"), value);
    emit customAccentRChanged();
    emit settingsChanged();
}

double AppSettings::customAccentG() const { return m_defaults->doubleValue(QStringLiteral("customAccentG"), 0.8); }
void AppSettings::setCustomAccentG(double value)
{
    m_defaults->setDouble(QStringLiteral("customAccentG"), value);
    emit customAccentGChanged();
    emit settingsChanged();
}

double AppSettings::customAccentB() const { return m_defaults->doubleValue(QStringLiteral("customAccentB"), 0.98); }
void AppSettings::setCustomAccentB(double value)
{
    m_defaults->setDouble(QStringLiteral("customAccentB"), value);
    emit customAccentBChanged();
    emit settingsChanged();
}

QString AppSettings::skippedUpdateVersion() const { return m_defaults->stringValue(QStringLiteral("skippedUpdateVersion"), QString()); }
void AppSettings::setSkippedUpdateVersion(const QString &value)
{
    m_defaults->setString(QStringLiteral("skippedUpdateVersion"), value);
    emit skippedUpdateVersionChanged();
}

QColor AppSettings::customAccent() const
{
    return QColor::fromRgbF(float(customAccentR()), float(customAccentG()), float(customAccentB()), 1.0f);
}

void AppSettings::setCustomAccent(const QColor &color)
{
    QColor rgb = color.toRgb();
    if (!rgb.isValid())
        rgb = color;
    setCustomAccentR(rgb.redF());
    setCustomAccentG(rgb.greenF());
    setCustomAccentB(rgb.blueF());
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
    if (value == m_canvasStatus)
        return;
    m_canvasStatus = value;
    emit canvasStatusChanged();
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
    if (launchAtLogin())
        ok = m_loginItem->registerItem(&error);
    else if (m_loginItem->status() == LoginItem::Status::Enabled)
        ok = m_loginItem->unregisterItem(&error);
    if (!ok)
        qCWarning(lcApp).noquote() << "Pavlet login item: " + error;
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
        setCanvasStatus(QStringLiteral("School URL must be https://"));
        return;
    }
    if (const auto normalized = CanvasCredentials::normalizeBaseURL(trimmed))
        setCanvasBaseURL(*normalized);

    const auto stored = CanvasCredentials::load();
    const QString storedToken = stored ? stored->token : QString();
    const QString draft = m_canvasTokenDraft.trimmed();
    const QString token = draft.isEmpty() ? storedToken : draft;
    CanvasCredentials::save(m_canvasBaseURL, token);
    setCanvasTokenDraft(QString());
    setCanvasStatus(CanvasCredentials::load() ? QStringLiteral("Token saved on this MacOS")
                                              : QStringLiteral("Not connected"));
    AppNotifications::instance()->post(AppNotifications::CanvasCredentialsChanged);
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

void AppSettings::writeIdSet(const QString &key, const QSet<QString> &ids, bool notice)
{
    QStringList sorted(ids.begin(), ids.end());
    std::sort(sorted.begin(), sorted.end());
    const QString joined = sorted.join(QLatin1Char(','));
    if (notice && key == QLatin1String("disabledModules")) {
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

void AppSettings::runOptInModulesPass()
{
    const QString flag = QStringLiteral("pavlet.optInModules.v1");
    if (m_defaults->boolValue(flag, false))
        return;
    QSet<QString> ids = disabledModuleIDs();
    for (HomeModule m : HomeModules::all()) {
        if (!HomeModules::isShipped(m))
            ids.insert(HomeModules::id(m));
    }
    writeIdSet(QStringLiteral("disabledModules"), ids, false);
    m_defaults->setBool(flag, true);
}

void AppSettings::runLibraryModulesPass()
{
    const QString flag = QStringLiteral("pavlet.libraryModules.v1");
    if (m_defaults->boolValue(flag, false))
        return;
    QSet<QString> ids = disabledModuleIDs();
    for (HomeModule m : HomeModules::all()) {
        if (!HomeModules::isShipped(m))
            ids.insert(HomeModules::id(m));
    }
    if (CanvasCredentials::load())
        ids.remove(QStringLiteral("canvas"));
    writeIdSet(QStringLiteral("disabledModules"), ids, false);
    m_defaults->setBool(flag, true);
}

void AppSettings::runShippedGamesPass()
{
    const QString flag = QStringLiteral("pavlet.shippedGames.v1");
    if (m_defaults->boolValue(flag, false))
        return;
    QSet<QString> ids = disabledModuleIDs();
    ids.remove(QStringLiteral("games"));
    writeIdSet(QStringLiteral("disabledModules"), ids, false);
    m_defaults->setBool(flag, true);
}

// ---- Permission wishes -----------------------------------------------------

void AppSettings::wantsPermission(AppPermission permission, bool value)
{
    m_defaults->setBool(PermissionCenter::wantKeyName(permission), value);
    emit settingsChanged();
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
