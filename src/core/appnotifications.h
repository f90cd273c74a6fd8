#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

// Requests between parts that have no direct owner travel as notifications
// on one object of this class, by name. The composition root makes it and
// hands it to whoever posts or listens.
class AppNotifications : public QObject {
    Q_OBJECT
public:
    static inline const QString OpenSettings = QStringLiteral("pavletOpenSettings");
    static inline const QString BeginIslandEdit = QStringLiteral("pavletBeginIslandEdit");
    static inline const QString PermissionsChanged = QStringLiteral("pavletPermissionsChanged");
    static inline const QString CanvasCredentialsChanged = QStringLiteral("pavletCanvasCredentialsChanged");

    // Posts a notification by name; the matching typed signal fires too.
    Q_INVOKABLE void post(const QString &name, const QVariantMap &userInfo = {});
    // "pavletOpenSettings" with userInfo {"page": page}.
    Q_INVOKABLE void openSettings(const QString &page = QString());

signals:
    void posted(const QString &name, const QVariantMap &userInfo);
    void openSettingsRequested(const QString &page);
    void beginIslandEditRequested();
    void permissionsChanged();
    void canvasCredentialsChanged();
};
