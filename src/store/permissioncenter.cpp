#include "store/permissioncenter.h"

#include "core/appnotifications.h"
#include "core/executor.h"
#include "core/userdefaults.h"

#include <QPointer>
#include <algorithm>

namespace {

struct PermissionInfo {
    AppPermission permission;
    const char *raw;
    const char *wantKey;
    bool wantDefault;
    const char *pane;
};

const PermissionInfo kPermissions[] = {
    {AppPermission::accessibility, "accessibility", "wantAccessibility", false, "Privacy_Accessibility"},
    {AppPermission::calendar, "calendar", "wantCalendar", true, "Privacy_Calendars"},
    {AppPermission::location, "location", "wantLocation", true, "Privacy_LocationServices"},
    {AppPermission::camera, "camera", "wantCamera", true, "Privacy_Camera"},
    {AppPermission::reminders, "reminders", "wantReminders", true, "Privacy_Reminders"},
    {AppPermission::automation, "automation", "wantAutomation", true, "Privacy_Automation"},
    {AppPermission::bluetooth, "bluetooth", "wantBluetooth", true, "Privacy_Bluetooth"},
};

using Backend = platform::IPermissionBackend;

PermissionStatus fromCalendar(Backend::CalendarAccess a)
{
    switch (a) {
    case Backend::CalendarAccess::NotDetermined: return PermissionStatus::notDetermined;
    case Backend::CalendarAccess::Restricted:
    case Backend::CalendarAccess::Denied:
    case Backend::CalendarAccess::WriteOnly: return PermissionStatus::denied;
    case Backend::CalendarAccess::FullAccess: return PermissionStatus::granted;
    }
    return PermissionStatus::granted;
}

PermissionStatus fromLocation(Backend::LocationAccess a)
{
    switch (a) {
    case Backend::LocationAccess::AuthorizedAlways:
    case Backend::LocationAccess::AuthorizedWhenInUse: return PermissionStatus::granted;
    case Backend::LocationAccess::Restricted:
    case Backend::LocationAccess::Denied: return PermissionStatus::denied;
    default: return PermissionStatus::notDetermined;
    }
}

} // namespace

PermissionCenter::PermissionCenter(platform::IPermissionBackend *backend, UserDefaults *defaults, Scheduler *scheduler,
                                   AppNotifications *notifications, Executor *executor, QObject *parent)
    : QObject(parent), m_backend(backend), m_defaults(defaults), m_scheduler(scheduler),
      m_executor(executor ? executor : &ThreadPoolExecutor::shared()), m_notifications(notifications)
{
    connect(m_backend, &platform::IPermissionBackend::locationAccessChanged, this, [this](Backend::LocationAccess access) {
        if (access == Backend::LocationAccess::NotDetermined)
            return;
        const auto waiters = std::exchange(m_locationWaiters, {});
        for (const auto &waiter : waiters)
            waiter(access);
    });
}

const QList<AppPermission> &PermissionCenter::all()
{
    static const QList<AppPermission> list = [] {
        QList<AppPermission> l;
        for (const auto &p : kPermissions)
            l << p.permission;
        return l;
    }();
    return list;
}

QString PermissionCenter::rawValue(AppPermission p) { return QString::fromLatin1(kPermissions[int(p)].raw); }
QString PermissionCenter::wantKeyName(AppPermission p) { return QString::fromLatin1(kPermissions[int(p)].wantKey); }
bool PermissionCenter::wantKeyDefault(AppPermission p) { return kPermissions[int(p)].wantDefault; }
QString PermissionCenter::settingsPane(AppPermission p) { return QString::fromLatin1(kPermissions[int(p)].pane); }

std::optional<AppPermission> PermissionCenter::fromRawValue(const QString &raw)
{
    for (const auto &p : kPermissions) {
        if (raw == QLatin1String(p.raw))
            return p.permission;
    }
    return std::nullopt;
}

const QStringList &PermissionCenter::automationTargets()
{
    static const QStringList targets{QStringLiteral("com.spotify.client"), QStringLiteral("com.apple.Music")};
    return targets;
}

PermissionStatus PermissionCenter::automationStatus()
{
    bool allNotPermitted = true;
    for (const QString &target : automationTargets()) {
        const Backend::AutomationAnswer answer = m_backend->automationAnswer(target, false);
        if (answer == Backend::AutomationAnswer::Allowed)
            return PermissionStatus::granted;
        if (answer != Backend::AutomationAnswer::NotPermitted)
            allNotPermitted = false;
    }
    return allNotPermitted ? PermissionStatus::denied : PermissionStatus::notDetermined;
}

PermissionStatus PermissionCenter::systemStatus(AppPermission p)
{
    switch (p) {
    case AppPermission::accessibility:
        return (m_backend->accessibilityTrusted(false) || m_backend->accessibilityTrusted(false))
                   ? PermissionStatus::granted
                   : PermissionStatus::notDetermined;
    case AppPermission::calendar: return fromCalendar(m_backend->calendarAccess(true));
    case AppPermission::reminders: return fromCalendar(m_backend->calendarAccess(false));
    case AppPermission::location: return fromLocation(m_backend->locationAccess());
    case AppPermission::camera:
        switch (m_backend->cameraAccess()) {
        case Backend::CaptureAccess::Authorized: return PermissionStatus::granted;
        case Backend::CaptureAccess::Restricted:
        case Backend::CaptureAccess::Denied: return PermissionStatus::denied;
        default: return PermissionStatus::notDetermined;
        }
    case AppPermission::automation: return automationStatus();
    case AppPermission::bluetooth: return PermissionStatus::granted;
    }
    return PermissionStatus::notDetermined;
}

QSet<QString> PermissionCenter::storedGrantedSet() const
{
    QSet<QString> set;
    const QStringList pieces = m_defaults->stringValue(GrantedKey).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &piece : pieces)
        set.insert(piece);
    return set;
}

PermissionStatus PermissionCenter::isGranted(AppPermission p)
{
    const bool recorded = m_grantedSinceLaunch.contains(p) || storedGrantedSet().contains(rawValue(p));
    const PermissionStatus system = systemStatus(p);
    if (system == PermissionStatus::granted) {
        markGranted(p);
        return PermissionStatus::granted;
    }
    if (recorded)
        return system == PermissionStatus::denied ? PermissionStatus::denied : PermissionStatus::granted;
    return system;
}

void PermissionCenter::markGranted(AppPermission p)
{
    m_grantedSinceLaunch.insert(p);
    QSet<QString> set = storedGrantedSet();
    if (set.contains(rawValue(p)))
        return;
    set.insert(rawValue(p));
    QStringList sorted(set.begin(), set.end());
    std::sort(sorted.begin(), sorted.end());
    m_defaults->setString(GrantedKey, sorted.join(QLatin1Char(',')));
    postChanged();
}

void PermissionCenter::postChanged()
{
    m_notifications->post(AppNotifications::PermissionsChanged);
}

void PermissionCenter::refreshFromSystem()
{
    for (AppPermission p : all()) {
        if (systemStatus(p) == PermissionStatus::granted)
            markGranted(p);
    }
    postChanged();
}

void PermissionCenter::startMonitoring()
{
    if (m_monitoring)
        return;
    m_monitoring = true;
    connect(m_backend, &platform::IPermissionBackend::calendarStoreChanged, this, &PermissionCenter::refreshFromSystem,
            Qt::QueuedConnection);
    for (AppPermission p : all()) {
        if (systemStatus(p) == PermissionStatus::granted)
            markGranted(p);
    }
}

void PermissionCenter::request(AppPermission p, std::function<void()> done)
{
    startMonitoring();
    QPointer<PermissionCenter> self(this);
    auto finish = [self, done]() {
        if (!self)
            return;
        self->postChanged();
        if (done)
            done();
    };
    switch (p) {
    case AppPermission::accessibility:
        requestAccessibility(finish);
        return;
    case AppPermission::calendar:
    case AppPermission::reminders: {
        const bool events = p == AppPermission::calendar;
        if (fromCalendar(m_backend->calendarAccess(events)) == PermissionStatus::granted) {
            markGranted(p);
            finish();
            return;
        }
        m_backend->requestCalendarAccess(events, [self, p, events, finish](bool granted) {
            if (!self)
                return;
            if (granted || fromCalendar(self->m_backend->calendarAccess(events)) == PermissionStatus::granted)
                self->markGranted(p);
            finish();
        });
        return;
    }
    case AppPermission::location:
        requestWhenInUse([self, finish](Backend::LocationAccess access) {
            if (self && fromLocation(access) == PermissionStatus::granted)
                self->markGranted(AppPermission::location);
            finish();
        });
        return;
    case AppPermission::camera:
        m_backend->requestCameraAccess([self, finish](bool granted) {
            if (self && granted)
                self->markGranted(AppPermission::camera);
            finish();
        });
        return;
    case AppPermission::automation:
        requestAutomation(finish);
        return;
    case AppPermission::bluetooth:
        markGranted(p);
        finish();
        return;
    }
}

void PermissionCenter::requestAccessibility(std::function<void()> finish)
{
    if (m_backend->accessibilityTrusted(false)) {
        markGranted(AppPermission::accessibility);
        finish();
        return;
    }
    m_backend->accessibilityTrusted(true); // lets the system show its dialog
    openSystemSettings(AppPermission::accessibility);
    pollAccessibility(8, std::move(finish));
}

void PermissionCenter::pollAccessibility(int testsLeft, std::function<void()> finish)
{
    if (m_backend->accessibilityTrusted(false)) {
        markGranted(AppPermission::accessibility);
        finish();
        return;
    }
    m_accessibilityPoll = m_scheduler->after(350, [this, testsLeft, finish]() {
        if (testsLeft <= 1)
            finish(); // gave up; the next status read will record a late grant
        else
            pollAccessibility(testsLeft - 1, finish);
    });
}

void PermissionCenter::requestAutomation(std::function<void()> finish)
{
    // Asking may block while the system shows its dialog: do it off the main thread.
    QPointer<PermissionCenter> self(this);
    platform::IPermissionBackend *backend = m_backend;
    m_executor->run([self, backend, finish]() {
        for (const QString &target : automationTargets())
            backend->automationAnswer(target, true);
        QMetaObject::invokeMethod(
            backend,
            [self, finish]() {
                if (!self)
                    return;
                if (self->automationStatus() == PermissionStatus::granted)
                    self->markGranted(AppPermission::automation);
                finish();
            },
            Qt::QueuedConnection);
    });
}

void PermissionCenter::requestWhenInUse(std::function<void(platform::IPermissionBackend::LocationAccess)> done)
{
    const Backend::LocationAccess current = m_backend->locationAccess();
    if (current != Backend::LocationAccess::NotDetermined) {
        done(current);
        return;
    }
    m_locationWaiters << std::move(done);
    m_backend->requestLocationWhenInUse();
}

void PermissionCenter::openSystemSettings(AppPermission p)
{
    const QString pane = settingsPane(p);
    const QUrl primary(QStringLiteral("x-apple.systempreferences:com.apple.settings.PrivacySecurity.extension?") + pane);
    if (primary.isValid() && m_backend->openSettingsUrl(primary))
        return;
    m_backend->openSettingsUrl(QUrl(QStringLiteral("x-apple.systempreferences:com.apple.preference.security?") + pane));
}

bool PermissionCenter::wantKey(AppPermission p) const
{
    return m_defaults->boolValue(wantKeyName(p), wantKeyDefault(p));
}

int PermissionCenter::status(const QString &raw)
{
    const auto p = fromRawValue(raw);
    return p ? int(isGranted(*p)) : int(PermissionStatus::notDetermined);
}

bool PermissionCenter::wants(const QString &raw) const
{
    const auto p = fromRawValue(raw);
    return p ? wantKey(*p) : false;
}

void PermissionCenter::request(const QString &raw)
{
    if (const auto p = fromRawValue(raw))
        request(*p);
}
