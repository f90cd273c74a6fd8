#pragma once

#include "platform/loginitem.h"

namespace platform {

// Launch at login through an XDG autostart entry in
// $XDG_CONFIG_HOME/autostart/. The entry counts as enabled while the file
// exists and does not say Hidden=true.
class AutostartLoginItem final : public platform::ILoginItem {
public:
    // configDir: the XDG config folder; empty means the user's.
    // command: what the entry starts; empty means this program.
    explicit AutostartLoginItem(const QString &configDir = QString(), const QString &command = QString());

    Status status() const override;
    bool registerItem(QString *error) override;
    bool unregisterItem(QString *error) override;

    QString entryPath() const;

private:
    QString m_configDir;
    QString m_command;
};

} // namespace platform
