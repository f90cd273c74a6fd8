#pragma once

#include "core/scheduler.h"
#include "platform/permissionbackend.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>

class AppNotifications;
class Executor;
class UserDefaults;

// The privacy-protected capabilities the island uses, in this order.
enum class AppPermission { accessibility, calendar, location, camera, reminders, automation, bluetooth };

enum class PermissionStatus { granted = 0, denied = 1, notDetermined = 2 };

// Tracks the permissions: what the system says now, every permission ever
// seen granted ("pavlet.grantedPermissions"), the user's wish to use each
// feature (the "want" keys), requests, and the settings panes. Announces
// changes with "pavletPermissionsChanged". Main thread only.
class PermissionCenter : public QObject {
    Q_OBJECT
public:
    static inline const QString GrantedKey = QStringLiteral("pavlet.grantedPermissions");
    static inline const QString WantsMigratedKey = QStringLiteral("pavlet.permissionWantsMigrated");

    // "pavletPermissionsChanged" is posted on notifications. Requests that may
    // block run on executor (the shared thread pool when none is given).
    PermissionCenter(platform::IPermissionBackend *backend, UserDefaults *defaults, Scheduler *scheduler,
                     AppNotifications *notifications, Executor *executor = nullptr, QObject *parent = nullptr);

    static const QList<AppPermission> &all();
    static QString rawValue(AppPermission p);
    static std::optional<AppPermission> fromRawValue(const QString &raw);
    static QString wantKeyName(AppPermission p);
    static bool wantKeyDefault(AppPermission p);
    static QString settingsPane(AppPermission p);
    static const QStringList &automationTargets();

    PermissionStatus systemStatus(AppPermission p);
    // The status the rest of the program uses: a recorded grant outweighs
    // "not determined" but not "denied".
    PermissionStatus isGranted(AppPermission p);
    void markGranted(AppPermission p);
    QSet<QString> storedGrantedSet() const;
    QSet<AppPermission> grantedSinceLaunch() const { return m_grantedSinceLaunch; }
    // Once per process: records what the system already grants and follows
    // calendar-store changes. Asks for nothing.
    void startMonitoring();
    // Asks for the permission where the platform allows it; done (optional)
    // runs after "pavletPermissionsChanged" was posted.
    void request(AppPermission p, std::function<void()> done = {});
    void openSystemSettings(AppPermission p);
    // The stored wish, or the permission's default when nothing is stored.
    bool wantKey(AppPermission p) const;

    PermissionStatus automationStatus();

    // When-in-use location access; answers at once unless undetermined.
    void requestWhenInUse(std::function<void(platform::IPermissionBackend::LocationAccess)> done);

    Q_INVOKABLE int status(const QString &raw); // PermissionStatus of isGranted, for views
    Q_INVOKABLE void request(const QString &raw);
    // The stored wish for a permission by its raw value, for views.
    Q_INVOKABLE bool wants(const QString &raw) const;

private:
    void refreshFromSystem();
    void requestAccessibility(std::function<void()> finish);
    void pollAccessibility(int testsLeft, std::function<void()> finish);
    void requestAutomation(std::function<void()> finish);
    void postChanged();

    platform::IPermissionBackend *m_backend;
    UserDefaults *m_defaults;
    Scheduler *m_scheduler;
    Executor *m_executor;
    AppNotifications *m_notifications;
    QSet<AppPermission> m_grantedSinceLaunch;
    bool m_monitoring = false;
    QList<std::function<void(platform::IPermissionBackend::LocationAccess)>> m_locationWaiters;
    TaskHandle m_accessibilityPoll;
};

inline size_t qHash(AppPermission p, size_t seed = 0) { return ::qHash(int(p), seed); }
