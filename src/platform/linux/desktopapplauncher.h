#pragma once

#include "platform/applauncher.h"

#include <QStringList>
#include <functional>

namespace platform {

// Opens what Linux has in place of the applications the island names:
// the file manager (at the home folder) for Finder and the default web
// browser for Safari. Other identifiers have no counterpart here.
class DesktopAppLauncher final : public IAppLauncher {
public:
    struct Options {
        // Hands an address to the desktop (QDesktopServices by default).
        std::function<bool(const QUrl &)> openUrl;
        // Starts a program detached (QProcess by default).
        std::function<bool(const QString &, const QStringList &)> startProgram;
        // Where mimeapps.list files are looked for, most important first.
        QStringList mimeappsDirs;
        // Data folders whose applications/ subfolders hold desktop entries.
        QStringList dataDirs;
        QString homePath;
    };

    DesktopAppLauncher();
    explicit DesktopAppLauncher(Options options);

    bool openApplication(const QString &bundleIdentifier) override;
    bool openUrl(const QUrl &url) override;

    // The desktop entry (file path) that handles https addresses, if any.
    QString defaultBrowserEntry() const;
    // The program and arguments of a desktop entry's Exec line.
    static QStringList execCommand(const QString &desktopFile);

private:
    bool openBrowser();

    Options m_options;
};

} // namespace platform
