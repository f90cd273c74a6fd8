#include "games/action/actionviews.h"

#include "games/action/actionkinds.h"
#include "games/action/blocksengine.h"
#include "games/action/snakeengine.h"
#include "style/palette.h"

#include <cmath>

namespace {
const QString middleDot = QStringLiteral("   \u00b7   ");

QString oneDecimal(double v)
{
    return QString::asprintf("%.1f", v);
}
} // namespace

QVariantList ActionViews::blocksKeyLegend()
{
    auto row = [](const QString &key, const char *meaning) {
        return QVariantMap{{QStringLiteral("key"), key}, {QStringLiteral("meaning"), QString::fromLatin1(meaning)}};
    };
    return {row(QStringLiteral("\u2190 \u2192"), "move"), row(QStringLiteral("\u2191 / W"), "rotate"),
            row(QStringLiteral("\u2193"), "soft drop"), row(QStringLiteral("space"), "hard drop")};
}

QVariantList ActionViews::zigZagSquares()
{
    auto at = [](int col, int row) { return QVariantMap{{QStringLiteral("col"), col}, {QStringLiteral("row"), row}}; };
    return {at(0, 0), at(1, 0), at(1, 1), at(2, 2), at(3, 2)};
}

QVariantList ActionViews::cpsDurations()
{
    QVariantList out;
    for (CPSDuration d : allCPSDurations)
        out << int(d);
    return out;
}

QStringList ActionViews::pongDifficultyTitles()
{
    return {QStringLiteral("Easy"), QStringLiteral("Medium"), QStringLiteral("Hard")};
}

namespace {
QVariantMap bar(double width, double dx, bool gold, double opacity)
{
    return {{QStringLiteral("width"), width}, {QStringLiteral("dx"), dx}, {QStringLiteral("gold"), gold},
            {QStringLiteral("white"), Palette::white(opacity)}};
}
} // namespace

QVariantList ActionViews::stackHowToBars()
{
    return {bar(54, -10, true, 1), bar(72, 0, false, 0.88), bar(80, 0, false, 0.55)};
}

QVariantList ActionViews::stackHubBars()
{
    return {bar(16, 0, true, 1), bar(22, 0, false, 0.88), bar(28, 0, false, 0.70)};
}

QString ActionViews::scoreBestLine(qint64 score, qint64 best)
{
    return QStringLiteral("Score %1").arg(score) + middleDot + QStringLiteral("Best %1").arg(best);
}

// --- Blocks.

double ActionViews::blocksCell(double width, double height)
{
    return std::max(0.0, std::min(width / BlocksEngine::Cols, height / BlocksEngine::Rows));
}

double ActionViews::blocksWellX(double width, double height)
{
    return std::max(0.0, (width - BlocksEngine::Cols * blocksCell(width, height)) / 2);
}

double ActionViews::blocksCellRadius(double cell)
{
    return std::max(0.18 * cell, 2.0);
}

QColor ActionViews::blockColor(int kind)
{
    static const QColor colors[] = {
        Palette::skyColor,   Palette::yellowColor, Palette::pinkColor,  Palette::greenColor,
        Palette::coralColor, Palette::blueColor,   Palette::amberColor,
    };
    return kind >= 0 && kind < int(std::size(colors)) ? colors[kind] : QColor(Qt::transparent);
}

QVariantList ActionViews::blocksPreview(int kind)
{
    QVariantList out;
    if (kind < 0 || kind > 6)
        return out;
    for (const QPoint &c : BlocksEngine::cells(BlockKind(kind), 0))
        out << QPointF(11.0 * c.x(), 11.0 * c.y());
    return out;
}

QString ActionViews::blocksLinesText(int lines)
{
    return QStringLiteral("%1 lines").arg(lines);
}

QString ActionViews::blocksBestText(int best)
{
    return best >= 1 ? QStringLiteral("Best %1").arg(best) : QString();
}

double ActionViews::zigZagGap(double cell)
{
    return std::max(0.18 * cell, 1.4);
}

double ActionViews::zigZagRadius(double cell)
{
    return std::max(0.2 * cell, 1.5);
}

// --- Clicks per second.

QString ActionViews::cpsTitle(int seconds)
{
    const auto d = cpsDurationFromRaw(seconds);
    return d ? ::cpsTitle(*d) : QString();
}

QString ActionViews::cpsLargeText(CPSEngine::Phase phase, double cps, double lastCPS)
{
    switch (phase) {
    case CPSEngine::Phase::howto: return QStringLiteral("CPS");
    case CPSEngine::Phase::ready: return QStringLiteral("Click");
    case CPSEngine::Phase::running: return oneDecimal(cps);
    case CPSEngine::Phase::result: break;
    }
    return oneDecimal(lastCPS);
}

QString ActionViews::cpsDetailLine(CPSEngine::Phase phase, int seconds, double remaining, int clicks)
{
    switch (phase) {
    case CPSEngine::Phase::howto: return QStringLiteral("Clicks per second");
    case CPSEngine::Phase::ready: return QStringLiteral("First click starts ") + cpsTitle(seconds);
    case CPSEngine::Phase::running:
        if (seconds < 60)
            return QString::asprintf("%.1fs left \u00b7 %d clicks", remaining, clicks);
        else {
            const int t = int(std::ceil(std::max(remaining, 0.0)));
            return QString::asprintf("%d:%02d \u00b7 %d clicks", t / 60, t % 60, clicks);
        }
    case CPSEngine::Phase::result: break;
    }
    return QStringLiteral("%1 clicks in ").arg(clicks) + cpsTitle(seconds);
}

int ActionViews::cpsLargeSize(CPSEngine::Phase phase)
{
    return phase == CPSEngine::Phase::running ? 36 : 22;
}

QString ActionViews::cpsResultLine(CPSEngine::Phase phase, bool isNewBest)
{
    if (phase != CPSEngine::Phase::result)
        return {};
    return isNewBest ? QStringLiteral("New personal best") : QStringLiteral("Tap to go again");
}

QString ActionViews::cpsBestText(const QVariantMap &best, int seconds)
{
    const QVariant v = best.value(QString::number(seconds));
    if (!v.isValid() || v.toDouble() <= 0)
        return {};
    return QStringLiteral("PB ") + oneDecimal(v.toDouble());
}

// --- Dino.

namespace {
double scrolled(int i, double pitch, double offset)
{
    return pitch * i - std::fmod(std::max(offset, 0.0), pitch);
}
} // namespace

double ActionViews::dinoDashX(int i, double groundOffset)
{
    return scrolled(i, 90, groundOffset);
}

double ActionViews::dinoTickX(int i, double groundOffset)
{
    return scrolled(i, 28, groundOffset);
}

QString ActionViews::dinoTitle(DinoEngine::Phase phase)
{
    return phase == DinoEngine::Phase::dead ? QStringLiteral("Bonk") : QStringLiteral("Pavlet Run");
}

QString ActionViews::runLine(bool crashed, qint64 score, qint64 best)
{
    return crashed ? scoreBestLine(score, best) : QStringLiteral("Tap or press space");
}

// --- Flap.

QString ActionViews::flapTitle(FlapEngine::Phase phase)
{
    return phase == FlapEngine::Phase::dead ? QStringLiteral("Crashed") : QStringLiteral("Pavlet Flap");
}

double ActionViews::flapBirdTilt(double birdVy)
{
    return std::clamp(birdVy / 14, -28.0, 28.0);
}

double ActionViews::flapLowerHeight(double gapY)
{
    return std::max(gapY, 18.0);
}

double ActionViews::flapUpperHeight(double fieldHeight, double gapY)
{
    return std::max(fieldHeight - gapY - 128, 18.0);
}

// --- Pong.

double ActionViews::pongPaddleWidth(double fieldWidth)
{
    return std::max(fieldWidth * 0.018, 5.0);
}

double ActionViews::pongPaddleHeight(double fieldHeight)
{
    return std::max(fieldHeight * 0.22, 36.0);
}

double ActionViews::pongBallSize(double fieldHeight)
{
    return std::max(2 * fieldHeight * 0.022, 8.0);
}

QPointF ActionViews::pongDash(int i, double width, double height)
{
    return {width * 0.5 - 1.5, height / 9 * i + 8};
}

QString ActionViews::pongResultTitle(qint64 player, qint64 npc)
{
    return player > npc ? QStringLiteral("You take it") : QStringLiteral("NPC takes it");
}

QString ActionViews::pongResultLine(qint64 player, qint64 npc, int difficulty, qint64 wins)
{
    const QStringList titles = pongDifficultyTitles();
    const QString level = difficulty >= 0 && difficulty < titles.size() ? titles.at(difficulty) : QString();
    return QStringLiteral("%1\u2013%2").arg(player).arg(npc) + middleDot + level + middleDot
        + QStringLiteral("Wins %1").arg(wins);
}

// --- Stack.

double ActionViews::stackSlabLeft(double x, double width)
{
    return 18 + x * stackFieldWidth(width);
}

bool ActionViews::stackSlabGold(int index, int count, bool perfect)
{
    return perfect && index == count - 1;
}

QColor ActionViews::stackSlabWhite(int index, int count)
{
    return Palette::white(index == count - 1 ? 0.92 : 0.78);
}

// --- Snake.

double ActionViews::snakeCell(double width, double height)
{
    constexpr int columns = SnakeEngine::Columns, rows = SnakeEngine::Rows;
    return std::max(0.0, std::min((width - (columns - 1) * SnakeGap) / columns,
                                  (height - (rows - 1) * SnakeGap) / rows));
}

QString ActionViews::snakeApples(qint64 score)
{
    return QStringLiteral("Apples %1").arg(score);
}

QString ActionViews::snakeBest(qint64 best)
{
    return best >= 1 ? QStringLiteral("Best %1").arg(best) : QString();
}

QString ActionViews::snakeOverLine(qint64 score, qint64 best)
{
    return QStringLiteral("Apples %1  \u00b7  Best %2").arg(score).arg(best);
}

// --- Reflex.

QString ActionViews::reflexHeadline(ReflexEngine::Phase phase, const QVariant &lastMS)
{
    using Phase = ReflexEngine::Phase;
    switch (phase) {
    case Phase::ready: return QStringLiteral("Pavlet Reflex");
    case Phase::waiting: return QStringLiteral("Wait\u2026");
    case Phase::go: return QStringLiteral("GO!");
    case Phase::result: return lastMS.isNull() || !lastMS.isValid() ? QStringLiteral("Pavlet Reflex")
                                                                    : QStringLiteral("%1 ms").arg(lastMS.toLongLong());
    case Phase::falseStart: break;
    }
    return QStringLiteral("Too soon");
}

QString ActionViews::reflexHint(ReflexEngine::Phase phase)
{
    using Phase = ReflexEngine::Phase;
    switch (phase) {
    case Phase::ready: return QStringLiteral("Tap when it says GO");
    case Phase::waiting: return QStringLiteral("Don\u2019t click yet");
    case Phase::go: return QStringLiteral("Now");
    case Phase::result:
    case Phase::falseStart: break;
    }
    return QStringLiteral("Tap to try again");
}

int ActionViews::reflexHeadlineSize(ReflexEngine::Phase phase)
{
    return phase == ReflexEngine::Phase::go ? 34 : 18;
}

QColor ActionViews::reflexHeadlineWhite(ReflexEngine::Phase phase)
{
    return Palette::white(phase == ReflexEngine::Phase::falseStart ? 0.72 : 0.92);
}

QColor ActionViews::reflexCardFill(ReflexEngine::Phase phase)
{
    using Phase = ReflexEngine::Phase;
    return Palette::white(phase == Phase::go ? 0.06 : phase == Phase::falseStart ? 0.04 : 0.08);
}

QColor ActionViews::reflexOutline(ReflexEngine::Phase phase)
{
    return Palette::white(phase == ReflexEngine::Phase::go ? 0.18 : 0.06);
}

bool ActionViews::reflexShowsRating(ReflexEngine::Phase phase, const QVariant &lastMS)
{
    return phase == ReflexEngine::Phase::result && lastMS.isValid() && !lastMS.isNull();
}

bool ActionViews::reflexShowsBest(ReflexEngine::Phase phase, const QVariant &bestMS)
{
    return phase != ReflexEngine::Phase::go && bestMS.isValid() && !bestMS.isNull();
}

QString ActionViews::reflexBestLine(const QVariant &bestMS)
{
    return bestMS.isValid() && !bestMS.isNull() ? QStringLiteral("Best %1 ms").arg(bestMS.toLongLong()) : QString();
}
