#include "games/gameviews.h"

#include "games/gameregistry.h"
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

QString GameViews::toeTurnText(ToeEngine::Phase phase, bool local, bool redTurn)
{
    if (phase != ToeEngine::Phase::playing)
        return QStringLiteral("Tic-Tac-Toe");
    if (local)
        return redTurn ? QStringLiteral("Red\u2019s turn") : QStringLiteral("Blue\u2019s turn");
    return redTurn ? QStringLiteral("Your turn") : QStringLiteral("NPC");
}

QString GameViews::toeResultText(const QVariant &outcome, bool local)
{
    if (outcome.isNull() || !outcome.isValid())
        return QString();
    switch (ToeEngine::Outcome(outcome.toInt())) {
    case ToeEngine::Outcome::red: return local ? QStringLiteral("Red takes it") : QStringLiteral("You take it");
    case ToeEngine::Outcome::blue: return local ? QStringLiteral("Blue takes it") : QStringLiteral("NPC takes it");
    case ToeEngine::Outcome::draw: break;
    }
    return QStringLiteral("Draw");
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

QString GameViews::stack4StatusText(Stack4Engine::Phase phase, bool local, bool redTurn)
{
    if (phase != Stack4Engine::Phase::playing)
        return QStringLiteral("Stack4");
    if (local)
        return redTurn ? QStringLiteral("Red drops") : QStringLiteral("Blue drops");
    return redTurn ? QStringLiteral("Your drop") : QStringLiteral("NPC");
}

QString GameViews::stack4ResultText(Stack4Engine::Slot winner, bool local)
{
    switch (winner) {
    case Stack4Engine::Slot::red: return local ? QStringLiteral("Red takes it") : QStringLiteral("You take it");
    case Stack4Engine::Slot::blue: return local ? QStringLiteral("Blue takes it") : QStringLiteral("NPC takes it");
    case Stack4Engine::Slot::empty: break;
    }
    return QStringLiteral("Draw");
}

double GameViews::stack4DiscOpacity(int index, const QList<int> &winCells)
{
    return winCells.contains(index) ? 1.0 : 0.92;
}

// --- Blackjack.

QString GameViews::blackjackStatus(BlackjackEngine::Phase phase, const QString &message)
{
    using Phase = BlackjackEngine::Phase;
    switch (phase) {
    case Phase::howto: return QStringLiteral("Blackjack");
    case Phase::betting: return QStringLiteral("Bet, then deal");
    case Phase::playing: return QStringLiteral("Your play");
    case Phase::waiting: return QStringLiteral("Table plays");
    case Phase::settle: return message;
    case Phase::broke: return QStringLiteral("Bust out");
    }
    return QString();
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

QString GameViews::blackjackSuit(BlackjackCard::Suit suit)
{
    switch (suit) {
    case BlackjackCard::Suit::spades: return QStringLiteral("\u2660");
    case BlackjackCard::Suit::hearts: return QStringLiteral("\u2665");
    case BlackjackCard::Suit::diamonds: return QStringLiteral("\u2666");
    case BlackjackCard::Suit::clubs: break;
    }
    return QStringLiteral("\u2663");
}

// --- Word game.

QString GameViews::wordleEndTitle(WordlePhase phase)
{
    switch (phase) {
    case WordlePhase::won: return QStringLiteral("Play again");
    case WordlePhase::lost: return QStringLiteral("Next word");
    case WordlePhase::playing: break;
    }
    return QString();
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

QString GameViews::patternStatus(PatternEngine::Phase phase, int round)
{
    switch (phase) {
    case PatternEngine::Phase::watch: return QStringLiteral("Watch \u00b7 round %1").arg(round);
    case PatternEngine::Phase::input: return QStringLiteral("Your turn \u00b7 round %1").arg(round);
    case PatternEngine::Phase::over: return QStringLiteral("Round %1").arg(round);
    case PatternEngine::Phase::howto: break;
    }
    return QStringLiteral("Color Patterns");
}

QString GameViews::patternBestText(qint64 best)
{
    return best >= 1 ? QStringLiteral("Best %1").arg(best) : QString();
}

QString GameViews::patternOverText(int round, qint64 best)
{
    return QStringLiteral("Round %1  \u00b7  Best %2").arg(round).arg(best);
}

QColor GameViews::patternHueColor(PatternHue hue)
{
    switch (hue) {
    case PatternHue::gold: return QColor::fromRgbF(1.0f, 0.84f, 0.40f);
    case PatternHue::sky: return QColor::fromRgbF(0.47f, 0.80f, 0.98f);
    case PatternHue::coral: return QColor::fromRgbF(1.0f, 0.48f, 0.42f);
    case PatternHue::green: break;
    }
    return QColor::fromRgbF(0.12f, 0.84f, 0.38f);
}
