// The games panel: opening a game, stopping them all and their keys. Each
// game's engine knows what opening it, leaving it and its keys do; the
// panel only finds the engine of a game.
#include "island/notchviewmodel.h"

#include <QJSEngine>

void NotchViewModel::buildGames(const GameEngineParts &parts)
{
    for (const GameEntry &game : GameRegistry::games()) {
        m_games.push_back(game.makeEngine(parts));
        // The views reach the engines through a list; the model keeps them.
        QJSEngine::setObjectOwnership(m_games.back().get(), QJSEngine::CppOwnership);
    }
}

QList<QObject *> NotchViewModel::gameEngines() const
{
    QList<QObject *> list;
    list.reserve(qsizetype(m_games.size()));
    for (const auto &engine : m_games)
        list.append(engine.get());
    return list;
}

ArcadeEngine *NotchViewModel::gameEngine(PavletGame game) const
{
    // Page n is the n-th game; the hub has no engine.
    const int page = int(game);
    return page >= 1 && page <= int(m_games.size()) ? m_games.at(size_t(page - 1)).get() : nullptr;
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
    for (const auto &engine : m_games)
        engine->leave();
}

bool NotchViewModel::handleGameKey(const KeyInput &key)
{
    if (m_state != NotchState::games)
        return false;
    ArcadeEngine *engine = gameEngine(m_activeGame);
    return engine && engine->handleKey(key);
}
