#include "settings/permissionspresenter.h"

#include "core/appnotifications.h"
#include "store/appsettings.h"
#include "style/palette.h"
#include "store/permissioncenter.h"
#include "core/userdefaults.h"

#include <QGuiApplication>
#include <QPointer>

namespace {
struct Presentation {
    const char *name;
    const char *symbol;
    const char *reason;
};

// In the order of the permissions.
const Presentation kPresentation[] = {
    {"Accessibility", "figure.walk.motion",
     "Intercept volume and brightness keys so Pavlet can replace the desktop overlay."},
    {"Calendar", "calendar", "Show your next events on the home panel."},
    {"Location", "location.fill", "Use your location for local weather."},
    {"Camera", "camera.fill", "Mirror preview and optional eye-strain closeness checks."},
    {"Reminders", "checklist", "Show your next reminder on the home panel."},
    {"Automation", "apple.logo", "Read the current track from Spotify and Apple Music."},
    {"Bluetooth", "antenna.radiowaves.left.and.right", "Show when headphones and other devices connect or disconnect."},
};
} // namespace

QHash<int, QByteArray> PermissionRow::roles()
{
    return {{IdRole, "permissionId"},
            {NameRole, "name"},
            {SymbolRole, "symbol"},
            {ReasonRole, "reason"},
            {RecommendedRole, "recommended"},
            {GrantedRole, "granted"},
            {StatusWordRole, "statusWord"},
            {StatusColorRole, "statusColor"},
            {StatusAccentedRole, "statusAccented"},
            {WantsRole, "wants"},
            {GrantTitleRole, "grantTitle"},
            {ShowAlreadyGrantedRole, "showAlreadyGranted"},
            {RequestingRole, "requesting"}};
}

QVariant PermissionRow::roleValue(int role) const
{
    switch (role) {
    case IdRole: return id;
    case NameRole: return name;
    case SymbolRole: return symbol;
    case ReasonRole: return reason;
    case RecommendedRole: return recommended;
    case GrantedRole: return granted;
    case StatusWordRole: return statusWord;
    case StatusColorRole: return statusColor;
    case StatusAccentedRole: return statusAccented;
    case WantsRole: return wants;
    case GrantTitleRole: return grantTitle;
    case ShowAlreadyGrantedRole: return showAlreadyGranted;
    case RequestingRole: return requesting;
    }
    return {};
}

PermissionsPresenter::PermissionsPresenter(const Parts &parts, QObject *parent)
    : QObject(parent), m_parts(parts)
{
    // Statuses are read only while a view shows them.
    auto refreshIfShown = [this] {
        if (refreshInterval() > 0)
            refresh();
    };
    if (m_parts.notifications)
        connect(m_parts.notifications, &AppNotifications::permissionsChanged, this, refreshIfShown);
    connect(m_parts.settings, &AppSettings::permissionWishesChanged, this, refreshIfShown);
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this, [refreshIfShown](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive)
                refreshIfShown();
        });
    }
    connect(m_parts.defaults, &UserDefaults::changed, this, [this](const QString &key) {
        if (key == SetupCompletedKey)
            emit setupCompletedChanged();
    });
}

QList<AppPermission> PermissionsPresenter::recommendedPermissions()
{
    return {AppPermission::accessibility, AppPermission::calendar, AppPermission::location};
}

QList<AppPermission> PermissionsPresenter::optionalPermissions()
{
    return {AppPermission::camera, AppPermission::reminders, AppPermission::automation, AppPermission::bluetooth};
}

QString PermissionsPresenter::name(AppPermission p)
{
    return QString::fromUtf8(kPresentation[int(p)].name);
}

QString PermissionsPresenter::currentName() const
{
    return m_current < 0 ? QString() : name(AppPermission(m_current));
}

QString PermissionsPresenter::optionalNames() const
{
    QStringList names;
    for (AppPermission p : optionalPermissions())
        names << name(p);
    return names.join(QStringLiteral("  \u00b7  "));
}

bool PermissionsPresenter::setupCompleted() const
{
    return m_parts.defaults->boolValue(SetupCompletedKey, false);
}

PermissionRow PermissionsPresenter::row(AppPermission p)
{
    const Presentation &info = kPresentation[int(p)];
    PermissionRow r;
    r.id = PermissionCenter::rawValue(p);
    r.name = QString::fromUtf8(info.name);
    r.symbol = QString::fromLatin1(info.symbol);
    r.reason = QString::fromUtf8(info.reason);
    r.recommended = recommendedPermissions().contains(p);
    r.wants = m_parts.permissions->wantKey(p);
    r.requesting = m_requesting.contains(int(p));
    const PermissionStatus status = m_parts.permissions->isGranted(p);
    r.granted = status == PermissionStatus::granted;
    if (p == AppPermission::bluetooth) {
        r.statusWord = r.wants ? QStringLiteral("On") : QStringLiteral("Off");
        r.statusColor = r.wants ? Palette::mintColor : Palette::textTertiaryColor;
        r.statusAccented = r.wants;
        return r;
    }
    switch (status) {
    case PermissionStatus::granted:
        r.statusWord = QStringLiteral("Granted");
        r.statusColor = Palette::mintColor;
        break;
    case PermissionStatus::denied:
        r.statusWord = QStringLiteral("Denied");
        r.statusColor = Palette::coralColor;
        r.grantTitle = QStringLiteral("Open Settings");
        break;
    case PermissionStatus::notDetermined:
        r.statusWord = QStringLiteral("Not granted");
        r.statusColor = Palette::amberColor;
        r.grantTitle = QStringLiteral("Grant");
        break;
    }
    r.showAlreadyGranted = p == AppPermission::accessibility && !r.granted;
    return r;
}

void PermissionsPresenter::refresh()
{
    std::vector<PermissionRow> recommended;
    std::vector<PermissionRow> optional;
    for (AppPermission p : recommendedPermissions())
        recommended.push_back(row(p));
    for (AppPermission p : optionalPermissions())
        optional.push_back(row(p));
    m_recommended.sync(recommended);
    m_optional.sync(optional);
}

void PermissionsPresenter::request(AppPermission p)
{
    if (m_requesting.contains(int(p)))
        return;
    m_requesting.insert(int(p));
    refresh();
    QPointer<PermissionsPresenter> self(this);
    m_parts.permissions->request(p, [self, p] {
        if (!self)
            return;
        self->m_requesting.remove(int(p));
        self->refresh();
    });
}

void PermissionsPresenter::allowRecommended()
{
    if (m_walking)
        return;
    m_walking = true;
    walkFrom(0);
}

void PermissionsPresenter::walkFrom(int index)
{
    const QList<AppPermission> steps = recommendedPermissions();
    if (index >= steps.size()) {
        m_walking = false;
        m_current = -1;
        emit walkingChanged();
        refresh();
        return;
    }
    const AppPermission p = steps[index];
    m_parts.settings->wantsPermission(p, true);
    m_current = int(p);
    emit walkingChanged();
    m_requesting.insert(int(p));
    QPointer<PermissionsPresenter> self(this);
    m_parts.permissions->request(p, [self, p, index] {
        if (!self)
            return;
        self->m_requesting.remove(int(p));
        self->walkFrom(index + 1);
    });
}

void PermissionsPresenter::finish()
{
    if (m_walking)
        return;
    m_parts.defaults->setBool(SetupCompletedKey, true);
    emit setupCompletedChanged();
}

void PermissionsPresenter::grant(const QString &id)
{
    const auto p = PermissionCenter::fromRawValue(id);
    if (!p || *p == AppPermission::bluetooth || m_requesting.contains(int(*p)))
        return;
    const PermissionStatus shown = m_parts.permissions->isGranted(*p);
    if (shown == PermissionStatus::granted)
        return;
    m_parts.settings->wantsPermission(*p, true);
    if (shown == PermissionStatus::denied)
        m_parts.permissions->openSystemSettings(*p);
    else
        request(*p);
    refresh();
}

void PermissionsPresenter::alreadyGranted(const QString &id)
{
    const auto p = PermissionCenter::fromRawValue(id);
    if (!p || *p != AppPermission::accessibility)
        return;
    m_parts.settings->wantsPermission(*p, true);
    m_parts.permissions->markGranted(*p);
    refresh();
}

void PermissionsPresenter::setWants(const QString &id, bool value)
{
    const auto p = PermissionCenter::fromRawValue(id);
    if (!p)
        return;
    m_parts.settings->wantsPermission(*p, value);
    if (value && *p != AppPermission::bluetooth && !m_requesting.contains(int(*p))) {
        const PermissionStatus status = m_parts.permissions->isGranted(*p);
        if (status == PermissionStatus::denied)
            m_parts.permissions->openSystemSettings(*p);
        else if (status == PermissionStatus::notDetermined)
            request(*p);
    }
    refresh();
}

void PermissionsPresenter::setSheetVisible(bool visible)
{
    if (visible == m_sheetVisible)
        return;
    m_sheetVisible = visible;
    if (visible)
        m_parts.permissions->startMonitoring();
    emit visibilityChanged();
    updateTimer();
}

void PermissionsPresenter::setPageVisible(bool visible)
{
    if (visible == m_pageVisible)
        return;
    m_pageVisible = visible;
    if (visible)
        m_parts.permissions->startMonitoring();
    emit visibilityChanged();
    updateTimer();
}

int PermissionsPresenter::refreshInterval() const
{
    if (m_sheetVisible)
        return SheetRefreshMs;
    return m_pageVisible ? PageRefreshMs : 0;
}

void PermissionsPresenter::updateTimer()
{
    const int interval = refreshInterval();
    if (interval == m_timerInterval)
        return;
    m_timerInterval = interval;
    if (interval == 0) {
        m_timer.cancel();
        return;
    }
    refresh();
    m_timer = m_parts.scheduler->every(interval, [this] { refresh(); });
}
