#pragma once

#include "support/qmltest.h"

#include <QVariantMap>
#include <memory>

class AppSettings;
class HomeParts;
class NotchViewModel;

// Makes the island's views as the program does: the panel of an open state
// from the program's table of panels (notch/IslandPanelTable.qml), any other
// view from its file with the model and the settings, and the island with
// its panels (notch/NotchIsland.qml) with the Home panel's parts too. Lives
// longer than the views it made.
class IslandViews {
public:
    IslandViews(QmlLoader &qml, NotchViewModel *model, AppSettings *settings, HomeParts *homeParts);
    ~IslandViews();

    NotchViewModel *model() const { return m_model; }
    // A view by its path under src/, with these properties besides its inputs.
    std::unique_ptr<QObject> create(const QString &pathUnderSrc, QVariantMap properties);

private:
    QmlLoader &m_qml;
    NotchViewModel *m_model;
    AppSettings *m_settings;
    HomeParts *m_homeParts;
    std::unique_ptr<QObject> m_table;
};
