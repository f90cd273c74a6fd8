// The games panel: opening a game, stopping them all and their keys.
#include "island/notchviewmodel.h"

#include "core/keycodes.h"
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

void NotchViewModel::openGame(PavletGame game)
{
    if (!moduleShown(HomeModule::games))
        return;
    m_hoverTask.cancel();
    stopAllGames();
    setActiveGame(game);
    setState(NotchState::games);
    switch (game) {
    case PavletGame::hub: break;
    case PavletGame::dino: m_dino->reset(); break;
    case PavletGame::flap: m_flap->reset(); break;
    case PavletGame::wordle: m_wordle->refreshPrompt(); break;
    case PavletGame::pong: m_pong->reset(); break;
    case PavletGame::blocks: m_blocks->reset(); break;
    case PavletGame::stack: m_stack->reset(); break;
    case PavletGame::reflex: m_reflex->reset(); break;
    case PavletGame::toe: m_toe->reset(); break;
    case PavletGame::cps: m_cps->reset(); break;
    case PavletGame::snake: m_snake->reset(); break;
    case PavletGame::pattern: m_pattern->reset(); break;
    case PavletGame::blackjack: m_blackjack->reset(); break;
    case PavletGame::stack4:
        m_stack4->stop();
        m_stack4->setPhase(Stack4Engine::Phase::howto);
        m_stack4->setVersus(ArcadeVersus::npc(ArcadeNPCLevel::medium));
        m_stack4->newBoard();
        break;
    }
}

void NotchViewModel::stopAllGames()
{
    // Stopping never touches scores or phases.
    m_dino->stop();
    m_flap->stop();
    m_pong->stop();
    m_blocks->stop();
    m_stack->stop();
    m_reflex->stop();
    m_toe->stop();
    m_cps->stop();
    m_snake->stopTimer();
    m_pattern->stop();
    m_blackjack->cancelPlayTask();
    m_stack4->stop();
}

namespace {
using namespace KeyCode;

bool isSpaceOrUp(int code)
{
    return code == Space || code == UpArrow;
}

bool dinoKey(DinoEngine &dino, int code)
{
    if (!isSpaceOrUp(code))
        return false;
    switch (dino.phase()) {
    case DinoEngine::Phase::ready:
        dino.start();
        break;
    case DinoEngine::Phase::running:
        break;
    case DinoEngine::Phase::dead:
        dino.reset();
        dino.start();
        break;
    }
    dino.jump();
    return true;
}

// The key's text as if no modifier were held: with Control a letter key
// gives a control character.
QString charactersIgnoringModifiers(const KeyInput &key)
{
    if (key.text.size() == 1 && key.text.at(0).unicode() >= 1 && key.text.at(0).unicode() <= 26)
        return QChar(u'a' + key.text.at(0).unicode() - 1);
    return key.text;
}

bool wordleKey(WordleEngine &wordle, const KeyInput &key)
{
    if (key.keyCode == Delete) {
        wordle.deleteLetter();
        return true;
    }
    if (key.keyCode == Return) {
        wordle.submit();
        return true;
    }
    const QString text = charactersIgnoringModifiers(key).toLower();
    if (text.size() != 1 || !text.at(0).isLetter())
        return false;
    wordle.type(text);
    return true;
}

bool blocksKey(BlocksEngine &blocks, int code)
{
    if (blocks.phase() == BlocksEngine::Phase::howto)
        return false;
    switch (code) {
    case A: case LeftArrow: blocks.move(-1); return true;
    case D: case RightArrow: blocks.move(1); return true;
    case W: case UpArrow: blocks.rotate(); return true;
    case S: case DownArrow: blocks.softDrop(); return true;
    case Space: blocks.hardDrop(); return true;
    default: return false;
    }
}

bool snakeKey(SnakeEngine &snake, int code)
{
    if (snake.phase() == SnakeEngine::Phase::howto)
        return false;
    switch (code) {
    case W: case UpArrow: snake.turn(SnakeDir::up); return true;
    case S: case DownArrow: snake.turn(SnakeDir::down); return true;
    case A: case LeftArrow: snake.turn(SnakeDir::left); return true;
    case D: case RightArrow: snake.turn(SnakeDir::right); return true;
    case Space:
        if (snake.phase() != SnakeEngine::Phase::running)
            snake.start();
        return true;
    default: return false;
    }
}

bool blackjackKey(BlackjackEngine &blackjack, int code)
{
    const bool confirm = code == Return || code == Space;
    switch (blackjack.phase()) {
    case BlackjackEngine::Phase::betting:
        if (confirm)
            blackjack.deal();
        return confirm;
    case BlackjackEngine::Phase::playing:
        if (code == H)
            blackjack.hit();
        else if (code == S)
            blackjack.stand();
        else if (code == D)
            blackjack.doubleDown();
        else
            return false;
        return true;
    case BlackjackEngine::Phase::settle:
        if (confirm)
            blackjack.nextHand();
        return confirm;
    default:
        return false;
    }
}

// The column of a digit key 1...7, or -1.
int digitColumn(int code)
{
    static constexpr int digits[] = {Digit1, Digit2, Digit3, Digit4, Digit5, Digit6, Digit7};
    for (int column = 0; column < 7; ++column) {
        if (digits[column] == code)
            return column;
    }
    return -1;
}

bool stack4Key(Stack4Engine &stack4, int code)
{
    if (stack4.phase() == Stack4Engine::Phase::howto)
        return false;
    if (code == LeftArrow) {
        stack4.moveCursor(-1);
        return true;
    }
    if (code == RightArrow) {
        stack4.moveCursor(1);
        return true;
    }
    if (code == Space) {
        stack4.dropAtCursor();
        return true;
    }
    const int column = digitColumn(code);
    if (column < 0)
        return false;
    stack4.setCursor(column);
    stack4.drop(column);
    return true;
}
} // namespace

bool NotchViewModel::handleGameKey(const KeyInput &key)
{
    if (m_state != NotchState::games)
        return false;
    const int code = key.keyCode;
    switch (m_activeGame) {
    case PavletGame::hub:
    case PavletGame::pong:
    case PavletGame::toe:
    case PavletGame::pattern:
        return false;
    case PavletGame::dino:
        return dinoKey(*m_dino, code);
    case PavletGame::flap:
        if (!isSpaceOrUp(code))
            return false;
        m_flap->flap();
        return true;
    case PavletGame::wordle:
        return wordleKey(*m_wordle, key);
    case PavletGame::blocks:
        return blocksKey(*m_blocks, code);
    case PavletGame::stack:
        if (code != Space)
            return false;
        if (m_stack->phase() != StackEngine::Phase::howto)
            m_stack->tap();
        return true;
    case PavletGame::reflex:
        if (code != Space)
            return false;
        m_reflex->tap();
        return true;
    case PavletGame::cps:
        if (code != Space || m_cps->phase() == CPSEngine::Phase::howto)
            return false;
        m_cps->click();
        return true;
    case PavletGame::snake:
        return snakeKey(*m_snake, code);
    case PavletGame::blackjack:
        return blackjackKey(*m_blackjack, code);
    case PavletGame::stack4:
        return stack4Key(*m_stack4, code);
    }
    return false;
}
