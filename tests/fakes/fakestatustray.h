#pragma once

#include "platform/statustray.h"

#include <QIcon>
#include <QMenu>
#include <QPointer>
#include <QString>

// A status area that keeps what it was asked to show.
class FakeStatusTray : public platform::IStatusTray {
public:
    void show(const QIcon &shownIcon, const QString &shownTip, QMenu *shownMenu) override
    {
        ++shows;
        icon = shownIcon;
        toolTip = shownTip;
        menu = shownMenu;
    }
    void setMenu(QMenu *newMenu) override { menu = newMenu; }

    int shows = 0;
    QIcon icon;
    QString toolTip;
    QPointer<QMenu> menu;
};
