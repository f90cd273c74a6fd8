// The games panel: opening a game, stopping them all and their keys. Each
// game's engine knows what opening it, leaving it and its keys do; the
// panel only finds the engine of a game.
#include "island/notchviewmodel.h"

#include "games/action/blocksengine.h"
#include "games/action/cpsengine.h"
#include "games/action/dinoengine.h"
#include "games/action/flapengine.h"
#include "games/action/pongengine.h"
#include "games/action/reflexengine.h"
#include "games/action/snakeengine.h"
#include "games/action/stackengine.h"
#include "games/blackjackengine.h"
#include "games/patternengine.h"
#include "games/stack4engine.h"
#include "games/toeengine.h"
#include "games/wordleengine.h"

void NotchViewModel::buildGameTable()
{
    m_gameEngines = {
        {PavletGame::dino, m_dino.get()},       {PavletGame::flap, m_flap.get()},
        {PavletGame::wordle, m_wordle.get()},   {PavletGame::pong, m_pong.get()},
        {PavletGame::blocks, m_blocks.get()},   {PavletGame::stack, m_stack.get()},
        {PavletGame::reflex, m_reflex.get()},   {PavletGame::toe, m_toe.get()},
        {PavletGame::cps, m_cps.get()},         {PavletGame::snake, m_snake.get()},
        {PavletGame::pattern, m_pattern.get()}, {PavletGame::blackjack, m_blackjack.get()},
        {PavletGame::stack4, m_stack4.get()},
    };
}

ArcadeEngine *NotchViewModel::gameEngine(PavletGame game) const
{
    // The hub has no engine.
    for (const auto &[entry, engine] : m_gameEngines) {
        if (entry == game)
            return engine;
    }
    return nullptr;
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
    for (const auto &[game, engine] : m_gameEngines)
        engine->leave();
}

bool NotchViewModel::handleGameKey(const KeyInput &key)
{
    if (m_state != NotchState::games)
        return false;
    ArcadeEngine *engine = gameEngine(m_activeGame);
    return engine && engine->handleKey(key);
}
