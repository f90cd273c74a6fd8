// The games panel: opening a game, stopping them all and their keys. Each
// game's engine knows what opening it, leaving it and its keys do; the
// panel only finds the engine of a game.
#include "island/notchviewmodel.h"

QList<QObject *> NotchViewModel::gameEngines() const
{
    QList<QObject *> list;
    list.reserve(m_games.size());
    for (ArcadeEngine *engine : m_games)
        list.append(engine);
    return list;
}

ArcadeEngine *NotchViewModel::gameEngine(PavletGame game) const
{
    // Page n is the n-th game; the hub has no engine.
    const int page = int(game);
    return page >= 1 && page <= m_games.size() ? m_games.at(page - 1) : nullptr;
}

void NotchViewModel::openGame(PavletGame game)
{
    if (!moduleShown(HomeModule::games))
        return;
    m_hoverTask.cancel();
    stopAllGames();
    setActiveGame(game);
    setState(NotchState::games);
    if (ArcadeEngine *engine = gameEngine(game))
        engine->reset();
}

void NotchViewModel::stopAllGames()
{
    // Leaving never touches scores or phases.
    for (ArcadeEngine *engine : m_games)
        engine->leave();
}

bool NotchViewModel::handleGameKey(const KeyInput &key)
{
    if (m_state != NotchState::games)
        return false;
    ArcadeEngine *engine = gameEngine(m_activeGame);
    return engine && engine->handleKey(key);
}
