#pragma once

#include <QString>
#include <QUrl>
#include <memory>

namespace platform {

class IAppLauncher {
public:
    virtual ~IAppLauncher() = default;
    // Starts the application known by a bundle identifier
    // ("com.apple.finder"). False when there is no such application here.
    virtual bool openApplication(const QString &bundleIdentifier) = 0;
    // Hands an address to its handler. False when it could not be handed on.
    virtual bool openUrl(const QUrl &url) = 0;
};

} // namespace platform
