#pragma once

#include "island/notchviewmodel.h"

#include <QVariantMap>

// The games panel's inputs from the island's model and its requests answered
// by the model, as the program's table of panels wires them.
inline QVariantMap gamesPanelInputs(NotchViewModel &model)
{
    return {{QStringLiteral("engines"), QVariant::fromValue(model.gameEngines())},
            {QStringLiteral("page"), int(model.activeGame())},
            {QStringLiteral("live"), model.state() == Island::NotchState::games}};
}

inline void wireGamesPanel(QObject *panel, NotchViewModel &model)
{
    if (!panel)
        return;
    QObject::connect(&model, &NotchViewModel::activeGameChanged, panel,
                     [panel, &model] { panel->setProperty("page", int(model.activeGame())); });
    QObject::connect(&model, &NotchViewModel::stateChanged, panel, [panel, &model] {
        panel->setProperty("live", model.state() == Island::NotchState::games);
    });
}
