#pragma once

#include "core/recordlistmodel.h"
#include "core/scheduler.h"

#include <QColor>
#include <QObject>
#include <QSet>
#include <QString>
#include <QtQml/qqmlregistration.h>

class AppNotifications;
class AppSettings;
class PermissionCenter;
class UserDefaults;
enum class AppPermission;
enum class PermissionStatus;

// A permission as the onboarding sheet and the Permissions page show it.
struct PermissionRow {
    QString id;             // the permission's raw value
    QString name;
    QString symbol;
    QString reason;
    bool recommended = false;
    bool granted = false;
    QString statusWord;     // "Granted", "Denied", "Not granted"; Bluetooth "On" / "Off"
    QColor statusColor;     // before the accent resolver
    bool statusAccented = true; // false: a plain white, never replaced by the accent
    bool wants = false;
    QString grantTitle;     // "Grant", "Open Settings" or empty (no button)
    bool showAlreadyGranted = false;
    bool requesting = false; // a request for it is running

    bool operator==(const PermissionRow &) const = default;

    enum Role { IdRole = Qt::UserRole, NameRole, SymbolRole, ReasonRole, RecommendedRole, GrantedRole,
                StatusWordRole, StatusColorRole, StatusAccentedRole, WantsRole, GrantTitleRole,
                ShowAlreadyGrantedRole, RequestingRole };
    static QHash<int, QByteArray> roles();
    QVariant roleValue(int role) const;
};

// The first-run permission sheet and the Permissions page: the rows with
// their live status, the walk through the recommended permissions, and the
// page's grant, "already granted" and want switches. Reads every status
// again on its own timer while a view shows, on "pavletPermissionsChanged"
// and when the program becomes active.
class PermissionsPresenter : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the settings window")
    Q_PROPERTY(QAbstractItemModel *recommended READ recommended CONSTANT)
    Q_PROPERTY(QAbstractItemModel *optional READ optional CONSTANT)
    Q_PROPERTY(bool walking READ walking NOTIFY walkingChanged)
    Q_PROPERTY(QString currentName READ currentName NOTIFY walkingChanged)
    Q_PROPERTY(QString optionalNames READ optionalNames CONSTANT)
    Q_PROPERTY(bool setupCompleted READ setupCompleted NOTIFY setupCompletedChanged)
    Q_PROPERTY(bool sheetVisible READ sheetVisible WRITE setSheetVisible NOTIFY visibilityChanged)
    Q_PROPERTY(bool pageVisible READ pageVisible WRITE setPageVisible NOTIFY visibilityChanged)
public:
    static inline const QString SetupCompletedKey = QStringLiteral("permissionsSetupCompleted");
    static constexpr int SheetRefreshMs = 400;
    static constexpr int PageRefreshMs = 1000;

    struct Parts {
        AppSettings *settings = nullptr;
        PermissionCenter *permissions = nullptr;
        UserDefaults *defaults = nullptr;
        AppNotifications *notifications = nullptr;
        Scheduler *scheduler = nullptr;
    };

    explicit PermissionsPresenter(const Parts &parts, QObject *parent = nullptr);

    QAbstractItemModel *recommended() { return &m_recommended; }
    QAbstractItemModel *optional() { return &m_optional; }
    const RecordListModel<PermissionRow> &recommendedRows() const { return m_recommended; }
    const RecordListModel<PermissionRow> &optionalRows() const { return m_optional; }
    bool walking() const { return m_walking; }
    QString currentName() const;
    QString optionalNames() const;
    bool setupCompleted() const;
    bool sheetVisible() const { return m_sheetVisible; }
    void setSheetVisible(bool visible);
    bool pageVisible() const { return m_pageVisible; }
    void setPageVisible(bool visible);
    // The refresh period now, 0 when no view shows.
    int refreshInterval() const;

    static QList<AppPermission> recommendedPermissions();
    static QList<AppPermission> optionalPermissions();
    static QString name(AppPermission p);
    PermissionRow row(AppPermission p);

    // The sheet: asks for the recommended permissions one after another.
    Q_INVOKABLE void allowRecommended();
    // The sheet's "Continue": the set-up is done.
    Q_INVOKABLE void finish();
    // The page's Grant / Open Settings.
    Q_INVOKABLE void grant(const QString &id);
    // "I already granted this." (Accessibility).
    Q_INVOKABLE void alreadyGranted(const QString &id);
    Q_INVOKABLE void setWants(const QString &id, bool value);
    // Reads every status again.
    Q_INVOKABLE void refresh();

signals:
    void walkingChanged();
    void setupCompletedChanged();
    void visibilityChanged();

private:
    void walkFrom(int index);
    // Asks for p unless a request for it runs already.
    void request(AppPermission p);
    void updateTimer();

    Parts m_parts;
    RecordListModel<PermissionRow> m_recommended;
    RecordListModel<PermissionRow> m_optional;
    bool m_walking = false;
    int m_current = -1;
    QSet<int> m_requesting;
    bool m_sheetVisible = false;
    bool m_pageVisible = false;
    int m_timerInterval = 0;
    TaskHandle m_timer;
};
