#pragma once

#include "platform/applauncher.h"

#include <QList>
#include <QSet>

class FakeAppLauncher final : public platform::IAppLauncher {
public:
    QSet<QString> installed;
    QList<QString> opened;
    QList<QUrl> urls;

    bool openApplication(const QString &id) override
    {
        if (!installed.contains(id))
            return false;
        opened.append(id);
        return true;
    }
    bool openUrl(const QUrl &url) override
    {
        urls.append(url);
        return true;
    }
};
