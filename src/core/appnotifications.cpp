#include "core/appnotifications.h"

void AppNotifications::post(const QString &name, const QVariantMap &userInfo)
{
    emit posted(name, userInfo);
    if (name == OpenSettings)
        emit openSettingsRequested(userInfo.value(QStringLiteral("page")).toString());
    else if (name == BeginIslandEdit)
        emit beginIslandEditRequested();
    else if (name == PermissionsChanged)
        emit permissionsChanged();
    else if (name == CanvasCredentialsChanged)
        emit canvasCredentialsChanged();
}

void AppNotifications::openSettings(const QString &page)
{
    QVariantMap info;
    if (!page.isEmpty())
        info.insert(QStringLiteral("page"), page);
    post(OpenSettings, info);
}
