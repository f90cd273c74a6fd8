#include "games/gameviews.h"

#include "games/blackjackengine.h"
#include "games/gameregistry.h"
#include "games/stack4engine.h"
#include "games/wordleengine.h"
#include "style/palette.h"

#include <algorithm>

namespace {
BlackjackCard cardOf(const QVariant &v)
{
    return v.value<BlackjackCard>();
}

WordleTile tileOf(const QVariant &v)
{
    return v.value<WordleTile>();
}
} // namespace

QStringList GameViews::keyRows()
{
    return {QStringLiteral("qwertyuiop"), QStringLiteral("asdfghjkl"), QStringLiteral("zxcvbnm")};
}

QVariantList GameViews::pavPile()
{
    auto tile = [](const char *letter, double goldOpacity, double rotation, double dx, double dy) {
        return QVariantMap{{QStringLiteral("letter"), QString::fromLatin1(letter)},
                           {QStringLiteral("goldOpacity"), goldOpacity},
                           {QStringLiteral("rotation"), rotation},
                           {QStringLiteral("dx"), dx},
                           {QStringLiteral("dy"), dy}};
    };
    return {tile("P", 1, -16, -9, 5), tile("A", 0.55, 7, 1, -6), tile("V", 0, 18, 11, 4)};
}

QVariantList GameViews::blackjackHubBacks()
{
    auto back = [](double dx, double rotation, bool gold) {
        return QVariantMap{{QStringLiteral("dx"), dx}, {QStringLiteral("rotation"), rotation},
                           {QStringLiteral("gold"), gold}};
    };
    return {back(-7, -18, false), back(6, 12, true)};
}

QString GameViews::pageTitle(int page)
{
    const GameEntry *game = GameRegistry::find(page);
    return game ? game->title : GameRegistry::arcadeTitle();
}

QString GameViews::pageSubtitle(int page)
{
    const GameEntry *game = GameRegistry::find(page);
    return game ? game->subtitle : GameRegistry::arcadeSubtitle();
}

QString GameViews::viewSource(int page)
{
    const GameEntry *game = GameRegistry::find(page);
    return game ? QString::fromLatin1(game->view) : QString();
}

QString GameViews::backSymbol(int page)
{
    return page == 0 ? QStringLiteral("chevron.left") : QStringLiteral("square.grid.2x2.fill");
}

QString GameViews::backHelp(int page)
{
    return page == 0 ? QStringLiteral("Home") : QStringLiteral("Arcade");
}

// --- Opponent chips.

QStringList GameViews::versusTitles()
{
    return {QStringLiteral("Local"), QStringLiteral("Easy"), QStringLiteral("Medium"), QStringLiteral("Hard")};
}

QString GameViews::versusLevel(int choice)
{
    return choice >= 1 && choice <= 3 ? rawValue(allNPCLevels[size_t(choice - 1)]) : QString();
}

bool GameViews::versusSelected(int choice, bool local, const QString &level)
{
    return choice == 0 ? local : !local && level == versusLevel(choice);
}

// --- Tic-tac-toe.

QString GameViews::toeTurnText(int phase, bool local, bool redTurn)
{
    if (phase != 1)
        return QStringLiteral("Tic-Tac-Toe");
    if (local)
        return redTurn ? QStringLiteral("Red\u2019s turn") : QStringLiteral("Blue\u2019s turn");
    return redTurn ? QStringLiteral("Your turn") : QStringLiteral("NPC");
}

QString GameViews::toeResultText(const QVariant &outcome, bool local)
{
    if (outcome.isNull() || !outcome.isValid())
        return QString();
    switch (outcome.toInt()) {
    case 0: return local ? QStringLiteral("Red takes it") : QStringLiteral("You take it");
    case 1: return local ? QStringLiteral("Blue takes it") : QStringLiteral("NPC takes it");
    default: return QStringLiteral("Draw");
    }
}

int GameViews::toeLineMark(const QList<int> &cells, const QList<int> &winLine)
{
    if (winLine.isEmpty() || winLine.first() < 0 || winLine.first() >= cells.size())
        return 0;
    return cells.at(winLine.first());
}

QColor GameViews::toeLineFill(int mark)
{
    QColor c = mark == 1 ? QColor::fromRgbF(0.94f, 0.32f, 0.32f) : QColor::fromRgbF(0.38f, 0.58f, 1.0f);
    c.setAlphaF(0.22f);
    return c;
}

double GameViews::toeLineWidth(double size)
{
    return std::max(size * 0.1, 2.4);
}

double GameViews::toeMiniSpacing(double cell)
{
    return std::max(cell * 0.16, 1.5);
}

double GameViews::toeMiniRadius(double cell)
{
    return std::max(cell * 0.18, 1.5);
}

// --- Connect four.

QString GameViews::stack4StatusText(int phase, bool local, bool redTurn)
{
    if (phase != 1)
        return QStringLiteral("Stack4");
    if (local)
        return redTurn ? QStringLiteral("Red drops") : QStringLiteral("Blue drops");
    return redTurn ? QStringLiteral("Your drop") : QStringLiteral("NPC");
}

QString GameViews::stack4ResultText(int winner, bool local)
{
    switch (winner) {
    case 1: return local ? QStringLiteral("Red takes it") : QStringLiteral("You take it");
    case 2: return local ? QStringLiteral("Blue takes it") : QStringLiteral("NPC takes it");
    default: return QStringLiteral("Draw");
    }
}

double GameViews::stack4DiscOpacity(int index, const QList<int> &winCells)
{
    return winCells.contains(index) ? 1.0 : 0.92;
}

void GameViews::stack4Start(Stack4Engine *engine)
{
    if (!engine)
        return;
    engine->stop();
    engine->newBoard();
    engine->setPhase(Stack4Engine::Phase::playing);
}

void GameViews::stack4Mode(Stack4Engine *engine)
{
    if (!engine)
        return;
    engine->stop();
    engine->setPhase(Stack4Engine::Phase::howto);
    engine->setVersus(ArcadeVersus::npc(ArcadeNPCLevel::medium));
    engine->newBoard();
}

// --- Blackjack.

QString GameViews::blackjackStatus(int phase, const QString &message)
{
    switch (phase) {
    case 0: return QStringLiteral("Blackjack");
    case 1: return QStringLiteral("Bet, then deal");
    case 2: return QStringLiteral("Your play");
    case 3: return QStringLiteral("Table plays");
    case 4: return message;
    case 5: return QStringLiteral("Bust out");
    default: return QString();
    }
}

QString GameViews::blackjackTotalText(const QVariantList &cards, bool hidingHole)
{
    if (cards.isEmpty())
        return QString();
    if (hidingHole && cards.size() > 1)
        return QString::number(cardOf(cards.first()).value()) + QLatin1Char('+');
    QList<BlackjackCard> hand;
    hand.reserve(cards.size());
    for (const QVariant &c : cards)
        hand.append(cardOf(c));
    return QString::number(BlackjackEngine::total(hand));
}

bool GameViews::blackjackCanDouble(const QVariant &handValue)
{
    const BlackjackHand hand = handValue.value<BlackjackHand>();
    return hand.cards.size() == 2 && hand.bet >= 1 && hand.bank >= hand.bet && !hand.doubled;
}

QString GameViews::blackjackSuit(int suit)
{
    switch (suit) {
    case 0: return QStringLiteral("\u2660");
    case 1: return QStringLiteral("\u2665");
    case 2: return QStringLiteral("\u2666");
    default: return QStringLiteral("\u2663");
    }
}

void GameViews::blackjackChooseBet(BlackjackEngine *engine, qint64 value)
{
    if (!engine || engine->phase() != BlackjackEngine::Phase::betting)
        return;
    if (value >= 1 && value <= engine->player().bank)
        engine->setBet(value);
}

// --- Word game.

QString GameViews::wordleEndTitle(int phase)
{
    switch (phase) {
    case 1: return QStringLiteral("Play again");
    case 2: return QStringLiteral("Next word");
    default: return QString();
    }
}

QString GameViews::wordleScore(qint64 won, qint64 played)
{
    return QString::number(won) + QLatin1Char('/') + QString::number(std::max<qint64>(played, 0));
}

QString GameViews::wordleTileText(const QVariant &tileValue)
{
    const WordleTile tile = tileOf(tileValue);
    return tile.kind == WordleTile::Kind::empty ? QString() : tile.letter.toUpper();
}

namespace {
QColor markFill(int mark)
{
    switch (WordleMark(mark)) {
    case WordleMark::correct: return Palette::markCorrectColor;
    case WordleMark::present: return Palette::markPresentColor;
    case WordleMark::absent: return Palette::markAbsentColor;
    }
    return Palette::clearColor;
}
} // namespace

QColor GameViews::wordleTileFill(const QVariant &tileValue)
{
    const WordleTile tile = tileOf(tileValue);
    switch (tile.kind) {
    case WordleTile::Kind::letter: return Palette::fillStrongColor;
    case WordleTile::Kind::marked: return markFill(int(tile.mark));
    case WordleTile::Kind::empty: break;
    }
    return Palette::fillColor;
}

QColor GameViews::wordleKeyFill(const QVariantMap &keys, const QString &letter)
{
    const auto it = keys.constFind(letter);
    if (it == keys.constEnd())
        return Palette::fillStrongColor;
    return markFill(it->toInt());
}

// --- Colour patterns.

QString GameViews::patternStatus(int phase, int round)
{
    switch (phase) {
    case 1: return QStringLiteral("Watch \u00b7 round %1").arg(round);
    case 2: return QStringLiteral("Your turn \u00b7 round %1").arg(round);
    case 3: return QStringLiteral("Round %1").arg(round);
    default: return QStringLiteral("Color Patterns");
    }
}

QString GameViews::patternBestText(qint64 best)
{
    return best >= 1 ? QStringLiteral("Best %1").arg(best) : QString();
}

QString GameViews::patternOverText(int round, qint64 best)
{
    return QStringLiteral("Round %1  \u00b7  Best %2").arg(round).arg(best);
}

QColor GameViews::patternHueColor(int hue)
{
    switch (hue) {
    case 0: return QColor::fromRgbF(1.0f, 0.84f, 0.40f);
    case 1: return QColor::fromRgbF(0.47f, 0.80f, 0.98f);
    case 2: return QColor::fromRgbF(1.0f, 0.48f, 0.42f);
    default: return QColor::fromRgbF(0.12f, 0.84f, 0.38f);
    }
}
