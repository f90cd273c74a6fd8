#pragma once

#include "platform/statustray.h"

#include <QIcon>
#include <QString>

// A status area that keeps what it was asked to show; a test plays the
// desktop with the tray's own signals.
class FakeStatusTray : public platform::IStatusTray {
public:
    void show(const QIcon &shownIcon, const QString &shownTip, const QList<platform::StatusMenuItem> &shownMenu) override
    {
        ++shows;
        icon = shownIcon;
        toolTip = shownTip;
        menu = shownMenu;
    }
    void setMenu(const QList<platform::StatusMenuItem> &newMenu) override { menu = newMenu; }

    int shows = 0;
    QIcon icon;
    QString toolTip;
    QList<platform::StatusMenuItem> menu;
};
