#pragma once

#include "games/action/blocksengine.h"
#include "games/action/cpsengine.h"
#include "games/action/dinoengine.h"
#include "games/action/flapengine.h"
#include "games/action/reflexengine.h"

#include <QColor>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QVariantList>
#include <QStringList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include <algorithm>

// The real-time games' view rules: texts, switches, colours and sizes of the
// eight action screens, their card pictures and how-to pictures, from the
// engines' phases. The QML files only lay these out.
class ActionViews : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    // --- Shared by the screens.
    Q_PROPERTY(int fieldMinHeight MEMBER m_fieldMinHeight CONSTANT)       // 248
    Q_PROPERTY(int scoreInsetX MEMBER m_scoreInsetX CONSTANT)             // 8
    Q_PROPERTY(int scoreInsetY MEMBER m_scoreInsetY CONSTANT)             // 4
    Q_PROPERTY(int overlayPadX MEMBER m_overlayPadX CONSTANT)             // 16
    Q_PROPERTY(int overlayPadY MEMBER m_overlayPadY CONSTANT)             // 10
    Q_PROPERTY(int overlaySpacing MEMBER m_overlaySpacing CONSTANT)       // 6
    Q_PROPERTY(int howToMaxWidth MEMBER m_howToMaxWidth CONSTANT)         // 320

    // --- Blocks.
    Q_PROPERTY(int blocksColumnWidth MEMBER m_blocksColumnWidth CONSTANT)   // 74
    Q_PROPERTY(int blocksColumnTop MEMBER m_blocksColumnTop CONSTANT)       // 4
    Q_PROPERTY(int blocksWellRadius MEMBER m_blocksWellRadius CONSTANT)     // 10
    Q_PROPERTY(double blocksCellInset MEMBER m_blocksCellInset CONSTANT)    // 0.75
    Q_PROPERTY(double blocksShadowOpacity MEMBER m_blocksShadowOpacity CONSTANT) // 0.22
    Q_PROPERTY(int blocksPreviewBox MEMBER m_blocksPreviewBox CONSTANT)     // 44
    Q_PROPERTY(int blocksPreviewSquare MEMBER m_blocksPreviewSquare CONSTANT) // 10
    Q_PROPERTY(int blocksPreviewRadius MEMBER m_blocksPreviewRadius CONSTANT) // 2
    Q_PROPERTY(int blocksLabelSize MEMBER m_blocksLabelSize CONSTANT)       // 8
    Q_PROPERTY(double blocksLabelSpacing MEMBER m_blocksLabelSpacing CONSTANT) // 0.5
    Q_PROPERTY(int blocksHowToCell MEMBER m_blocksHowToCell CONSTANT)       // 10
    Q_PROPERTY(int blocksHowToHeight MEMBER m_blocksHowToHeight CONSTANT)   // 52
    Q_PROPERTY(int blocksKeyWidth MEMBER m_blocksKeyWidth CONSTANT)         // 44
    Q_PROPERTY(int blocksKeyRowSpacing MEMBER m_blocksKeyRowSpacing CONSTANT) // 3
    Q_PROPERTY(int blocksHubCell MEMBER m_blocksHubCell CONSTANT)           // 7
    // The key legend of the how-to picture: {key, meaning}.
    Q_PROPERTY(QVariantList blocksKeyLegend READ blocksKeyLegend CONSTANT)
    // The staircase's squares as grid {col, row}.
    Q_PROPERTY(QVariantList zigZagSquares READ zigZagSquares CONSTANT)

    // --- Clicks per second.
    Q_PROPERTY(int cpsTargetRadius MEMBER m_cpsTargetRadius CONSTANT)       // 16
    Q_PROPERTY(int cpsCapsuleWidth MEMBER m_cpsCapsuleWidth CONSTANT)       // 72
    Q_PROPERTY(int cpsCapsuleHeight MEMBER m_cpsCapsuleHeight CONSTANT)     // 28
    Q_PROPERTY(int cpsVisualHeight MEMBER m_cpsVisualHeight CONSTANT)       // 40
    Q_PROPERTY(int cpsHubRing MEMBER m_cpsHubRing CONSTANT)                 // 26
    Q_PROPERTY(int cpsHubDot MEMBER m_cpsHubDot CONSTANT)                   // 10
    Q_PROPERTY(double cpsHubRingOpacity MEMBER m_cpsHubRingOpacity CONSTANT) // 0.22
    // The test lengths in order, as raw seconds.
    Q_PROPERTY(QVariantList cpsDurations READ cpsDurations CONSTANT)

    // --- Dino.
    Q_PROPERTY(int dinoGround MEMBER m_dinoGround CONSTANT)                 // 22
    Q_PROPERTY(int dinoDashWidth MEMBER m_dinoDashWidth CONSTANT)           // 36
    Q_PROPERTY(int dinoDashHeight MEMBER m_dinoDashHeight CONSTANT)         // 3
    Q_PROPERTY(int dinoDashDrop MEMBER m_dinoDashDrop CONSTANT)             // 36 (bottom edge below the top)
    Q_PROPERTY(int dinoLineHeight MEMBER m_dinoLineHeight CONSTANT)         // 2
    Q_PROPERTY(double dinoLineOpacity MEMBER m_dinoLineOpacity CONSTANT)    // 0.55
    Q_PROPERTY(int dinoTickWidth MEMBER m_dinoTickWidth CONSTANT)           // 10
    Q_PROPERTY(int dinoTickHeight MEMBER m_dinoTickHeight CONSTANT)         // 2
    Q_PROPERTY(int dinoTickRise MEMBER m_dinoTickRise CONSTANT)             // 14
    Q_PROPERTY(int dinoRunnerX MEMBER m_dinoRunnerX CONSTANT)               // 36
    Q_PROPERTY(int dinoRunnerSize MEMBER m_dinoRunnerSize CONSTANT)         // 30
    Q_PROPERTY(int dinoFlyerSize MEMBER m_dinoFlyerSize CONSTANT)           // 20
    Q_PROPERTY(int dinoFlyerTilt MEMBER m_dinoFlyerTilt CONSTANT)           // -24
    Q_PROPERTY(int dinoBlockRadius MEMBER m_dinoBlockRadius CONSTANT)       // 5
    Q_PROPERTY(double dinoBlockOpacity MEMBER m_dinoBlockOpacity CONSTANT)  // 0.9
    Q_PROPERTY(double dinoStripeShare MEMBER m_dinoStripeShare CONSTANT)    // 0.45
    Q_PROPERTY(int dinoStripeHeight MEMBER m_dinoStripeHeight CONSTANT)     // 3
    Q_PROPERTY(int dinoStripeDrop MEMBER m_dinoStripeDrop CONSTANT)         // 4

    // --- Flap.
    Q_PROPERTY(int flapBirdX MEMBER m_flapBirdX CONSTANT)                   // 48
    Q_PROPERTY(double flapSkyOpacity MEMBER m_flapSkyOpacity CONSTANT)      // 0.10
    Q_PROPERTY(int flapPipeRadius MEMBER m_flapPipeRadius CONSTANT)         // 8
    Q_PROPERTY(double flapLowerOpacity MEMBER m_flapLowerOpacity CONSTANT)  // 0.88
    Q_PROPERTY(double flapUpperOpacity MEMBER m_flapUpperOpacity CONSTANT)  // 0.85

    // --- Pong.
    Q_PROPERTY(int pongDashWidth MEMBER m_pongDashWidth CONSTANT)           // 3
    Q_PROPERTY(int pongDashHeight MEMBER m_pongDashHeight CONSTANT)         // 12
    Q_PROPERTY(double pongTintOpacity MEMBER m_pongTintOpacity CONSTANT)    // 0.08
    Q_PROPERTY(int pongPaddleMin MEMBER m_pongPaddleMin CONSTANT)           // 5
    Q_PROPERTY(int pongVisualHeight MEMBER m_pongVisualHeight CONSTANT)     // 40
    Q_PROPERTY(int pongVisualPaddleHeight MEMBER m_pongVisualPaddleHeight CONSTANT) // 28
    Q_PROPERTY(int pongVisualPaddleX MEMBER m_pongVisualPaddleX CONSTANT)   // 34
    Q_PROPERTY(int pongVisualBall MEMBER m_pongVisualBall CONSTANT)         // 8
    Q_PROPERTY(QPointF pongVisualBallAt MEMBER m_pongVisualBallAt CONSTANT) // (-6, 4)
    Q_PROPERTY(int pongHubPaddleHeight MEMBER m_pongHubPaddleHeight CONSTANT) // 22
    Q_PROPERTY(int pongHubPaddleX MEMBER m_pongHubPaddleX CONSTANT)         // 14
    Q_PROPERTY(int pongHubBall MEMBER m_pongHubBall CONSTANT)               // 7
    Q_PROPERTY(QPointF pongHubBallAt MEMBER m_pongHubBallAt CONSTANT)       // (2, -2)
    Q_PROPERTY(QStringList pongDifficultyTitles READ pongDifficultyTitles CONSTANT)

    // --- Stack.
    Q_PROPERTY(int stackInset MEMBER m_stackInset CONSTANT)                 // 18
    Q_PROPERTY(int stackSlabHeight MEMBER m_stackSlabHeight CONSTANT)       // 16
    Q_PROPERTY(int stackSlabRadius MEMBER m_stackSlabRadius CONSTANT)       // 4
    Q_PROPERTY(double stackGlowOpacity MEMBER m_stackGlowOpacity CONSTANT)  // 0.35
    Q_PROPERTY(int stackGlowRadius MEMBER m_stackGlowRadius CONSTANT)       // 6
    Q_PROPERTY(int stackShoutRise MEMBER m_stackShoutRise CONSTANT)         // 12
    Q_PROPERTY(int stackShoutShadowRadius MEMBER m_stackShoutShadowRadius CONSTANT) // 8
    Q_PROPERTY(int stackBarHeight MEMBER m_stackBarHeight CONSTANT)         // 10 (how-to bars)
    Q_PROPERTY(int stackBarRadius MEMBER m_stackBarRadius CONSTANT)         // 3
    Q_PROPERTY(int stackVisualHeight MEMBER m_stackVisualHeight CONSTANT)   // 44
    Q_PROPERTY(int stackHubBarHeight MEMBER m_stackHubBarHeight CONSTANT)   // 6
    // Pictures, top bar first: {width, dx, gold, white (the colour when not gold)}.
    Q_PROPERTY(QVariantList stackHowToBars READ stackHowToBars CONSTANT)
    Q_PROPERTY(QVariantList stackHubBars READ stackHubBars CONSTANT)

    // --- Snake.
    Q_PROPERTY(double snakeGap MEMBER m_snakeGap CONSTANT)                  // 1.5
    Q_PROPERTY(int snakeCellRadius MEMBER m_snakeCellRadius CONSTANT)       // 2
    Q_PROPERTY(double snakeAppleShare MEMBER m_snakeAppleShare CONSTANT)    // 0.72
    Q_PROPERTY(double snakeBodyShare MEMBER m_snakeBodyShare CONSTANT)      // 0.9
    Q_PROPERTY(int snakeSquare MEMBER m_snakeSquare CONSTANT)               // 10 (how-to squares)
    Q_PROPERTY(int snakeSquareSpacing MEMBER m_snakeSquareSpacing CONSTANT) // 3
    Q_PROPERTY(double snakeTailOpacity MEMBER m_snakeTailOpacity CONSTANT)  // 0.55
    Q_PROPERTY(int snakeVisualHeight MEMBER m_snakeVisualHeight CONSTANT)   // 40
    Q_PROPERTY(int snakeHubCapsuleWidth MEMBER m_snakeHubCapsuleWidth CONSTANT) // 18
    Q_PROPERTY(int snakeHubDot MEMBER m_snakeHubDot CONSTANT)               // 8

    // --- Reflex.
    Q_PROPERTY(int reflexHubRing MEMBER m_reflexHubRing CONSTANT)           // 22
    Q_PROPERTY(int reflexHubDot MEMBER m_reflexHubDot CONSTANT)             // 8
    Q_PROPERTY(int reflexFadeMs MEMBER m_reflexFadeMs CONSTANT)             // 180

public:
    using QObject::QObject;

    static QVariantList blocksKeyLegend();
    static QVariantList zigZagSquares();
    static QVariantList cpsDurations();
    static QStringList pongDifficultyTitles();
    static QVariantList stackHowToBars();
    static QVariantList stackHubBars();

    // "Score N   ·   Best M": the line of the runner, Flap, Blocks and
    // Stack end cards.
    Q_INVOKABLE static QString scoreBestLine(qint64 score, qint64 best);

    // --- Blocks.
    // The side of a well cell in a space w × h (never below 0).
    Q_INVOKABLE static double blocksCell(double width, double height);
    // The well's left edge in that space (centred).
    Q_INVOKABLE static double blocksWellX(double width, double height);
    Q_INVOKABLE static double blocksCellRadius(double cell);
    Q_INVOKABLE static QColor blockColor(int kind);
    // The four preview squares of a kind, as top-left corners in the box.
    Q_INVOKABLE static QVariantList blocksPreview(int kind);
    Q_INVOKABLE static QString blocksLinesText(int lines);
    // "Best N", empty until there is a best.
    Q_INVOKABLE static QString blocksBestText(int best);
    Q_INVOKABLE static bool blocksTapLayer(BlocksEngine::Phase phase) { return phase != BlocksEngine::Phase::howto; }
    Q_INVOKABLE static double zigZagGap(double cell);
    Q_INVOKABLE static double zigZagRadius(double cell);

    // --- Clicks per second.
    Q_INVOKABLE static QString cpsTitle(int seconds);
    Q_INVOKABLE static QString cpsLargeText(CPSEngine::Phase phase, double cps, double lastCPS);
    Q_INVOKABLE static QString cpsDetailLine(CPSEngine::Phase phase, int seconds, double remaining, int clicks);
    Q_INVOKABLE static int cpsLargeSize(CPSEngine::Phase phase);
    // The result's third line; empty outside the result.
    Q_INVOKABLE static QString cpsResultLine(CPSEngine::Phase phase, bool isNewBest);
    // "PB x.x" for the chosen length, empty when it has no best.
    Q_INVOKABLE static QString cpsBestText(const QVariantMap &best, int seconds);
    Q_INVOKABLE static bool cpsChipsEnabled(CPSEngine::Phase phase) { return phase != CPSEngine::Phase::running; }

    // --- Dino.
    // The i-th far dash's and ground tick's left edge; both patterns scroll
    // with the ground and wrap.
    Q_INVOKABLE static double dinoDashX(int i, double groundOffset);
    Q_INVOKABLE static double dinoTickX(int i, double groundOffset);
    Q_PROPERTY(int dinoDashCount MEMBER m_dinoDashCount CONSTANT)           // 6
    Q_PROPERTY(int dinoTickCount MEMBER m_dinoTickCount CONSTANT)           // 18
    Q_INVOKABLE static double dinoRunnerTilt(double playerY) { return playerY > 2 ? -12 : 0; }
    Q_INVOKABLE static double dinoRunnerLegs(DinoEngine::Phase phase, double stride)
    {
        return phase == DinoEngine::Phase::running ? stride : 0;
    }
    // The mascot's eyes: shut for a blink and once it has crashed.
    Q_INVOKABLE static bool dinoEyesClosed(bool blink, DinoEngine::Phase phase)
    {
        return blink || phase == DinoEngine::Phase::dead;
    }
    Q_INVOKABLE static QString dinoTitle(DinoEngine::Phase phase);
    // The end card's line: the score once it has crashed, else how to play.
    Q_INVOKABLE static QString dinoLine(DinoEngine::Phase phase, qint64 score, qint64 best)
    {
        return runLine(phase == DinoEngine::Phase::dead, score, best);
    }

    // --- Flap.
    Q_INVOKABLE static QString flapTitle(FlapEngine::Phase phase);
    Q_INVOKABLE static bool flapEyesClosed(bool blink, FlapEngine::Phase phase)
    {
        return blink || phase == FlapEngine::Phase::dead;
    }
    Q_INVOKABLE static QString flapLine(FlapEngine::Phase phase, qint64 score, qint64 best)
    {
        return runLine(phase == FlapEngine::Phase::dead, score, best);
    }
    Q_INVOKABLE static double flapBirdTilt(double birdVy);
    Q_INVOKABLE static double flapLowerHeight(double gapY);
    Q_INVOKABLE static double flapUpperHeight(double fieldHeight, double gapY);

    // --- Pong (phase: howto, serving, playing, over).
    Q_INVOKABLE static double pongPaddleWidth(double fieldWidth);
    Q_INVOKABLE static double pongPaddleHeight(double fieldHeight);
    Q_INVOKABLE static double pongBallSize(double fieldHeight);
    // A paddle's left edge: the player's centred at 0.045 of the width, the
    // computer's at 0.955.
    Q_INVOKABLE static double pongPaddleLeft(bool player, double fieldWidth, double paddleWidth)
    {
        return fieldWidth * (player ? 0.045 : 0.955) - paddleWidth / 2;
    }
    // The i-th centre dash's top-left corner.
    Q_INVOKABLE static QPointF pongDash(int i, double width, double height);
    Q_INVOKABLE static QString pongResultTitle(qint64 player, qint64 npc);
    Q_INVOKABLE static QString pongResultLine(qint64 player, qint64 npc, int difficulty, qint64 wins);

    // --- Stack (phase: howto, ready, running, over).
    Q_INVOKABLE static double stackFieldWidth(double width) { return std::max(width - 36, 0.0); }
    Q_INVOKABLE static double stackSlabLeft(double x, double width);
    // Distance of a tower row's bottom edge above the well's bottom.
    Q_INVOKABLE static double stackRowBottom(int row, double camera) { return 8 + row * 18.0 - camera; }
    Q_INVOKABLE static bool stackSlabGold(int index, int count, bool perfect);
    Q_INVOKABLE static QColor stackSlabWhite(int index, int count);

    // --- Snake (phase: howto, ready, running, over).
    // The space between two cells of the board.
    static constexpr double SnakeGap = 1.5;
    // The largest cell that lets the engine's board fit width × height.
    Q_INVOKABLE static double snakeCell(double width, double height);
    Q_INVOKABLE static QString snakeApples(qint64 score);
    Q_INVOKABLE static QString snakeBest(qint64 best);
    Q_INVOKABLE static QString snakeOverLine(qint64 score, qint64 best);
    // What a board cell shows, by the engine's cell state (0 empty, 1 head,
    // 2 body, 3 apple); the apple wins over a body cell under it.
    Q_INVOKABLE static bool snakeShowsApple(int state) { return state == 3; }
    Q_INVOKABLE static bool snakeShowsBody(int state) { return state == 1 || state == 2; }
    // A snake cell's square (state 1 the head, 2 the body).
    Q_INVOKABLE static int snakeBodyRadius(int state) { return state == 1 ? 3 : 2; }
    Q_INVOKABLE static double snakeBodyOpacity(int state) { return state == 1 ? 1.0 : 0.72; }

    // --- Reflex (lastMS and bestMS null when there is none).
    Q_INVOKABLE static QString reflexHeadline(ReflexEngine::Phase phase, const QVariant &lastMS);
    Q_INVOKABLE static QString reflexHint(ReflexEngine::Phase phase);
    Q_INVOKABLE static int reflexHeadlineSize(ReflexEngine::Phase phase);
    // Whether the headline is gold; otherwise reflexHeadlineWhite.
    Q_INVOKABLE static bool reflexHeadlineGold(ReflexEngine::Phase phase)
    {
        return phase == ReflexEngine::Phase::go || phase == ReflexEngine::Phase::result;
    }
    Q_INVOKABLE static QColor reflexHeadlineWhite(ReflexEngine::Phase phase);
    Q_INVOKABLE static QColor reflexCardFill(ReflexEngine::Phase phase);
    Q_INVOKABLE static QColor reflexOutline(ReflexEngine::Phase phase);
    Q_INVOKABLE static bool reflexShowsRating(ReflexEngine::Phase phase, const QVariant &lastMS);
    Q_INVOKABLE static bool reflexShowsBest(ReflexEngine::Phase phase, const QVariant &bestMS);
    Q_INVOKABLE static QString reflexBestLine(const QVariant &bestMS);
    // The GO glow and headline as the pulse rises from 0 to 1.
    Q_INVOKABLE static double reflexGlowOpacity(double pulse) { return 0.16 + 0.18 * pulse; }
    Q_INVOKABLE static double reflexGlowScale(double pulse) { return 0.94 + 0.04 * pulse; }
    Q_INVOKABLE static double reflexHeadlineScale(double pulse) { return 1 + 0.04 * pulse; }

private:
    static QString runLine(bool crashed, qint64 score, qint64 best);

    int m_fieldMinHeight = 248, m_scoreInsetX = 8, m_scoreInsetY = 4, m_overlayPadX = 16, m_overlayPadY = 10,
        m_overlaySpacing = 6, m_howToMaxWidth = 320;

    int m_blocksColumnWidth = 74, m_blocksColumnTop = 4, m_blocksWellRadius = 10, m_blocksPreviewBox = 44,
        m_blocksPreviewSquare = 10, m_blocksPreviewRadius = 2, m_blocksLabelSize = 8, m_blocksHowToCell = 10,
        m_blocksHowToHeight = 52, m_blocksKeyWidth = 44, m_blocksKeyRowSpacing = 3, m_blocksHubCell = 7;
    double m_blocksCellInset = 0.75, m_blocksShadowOpacity = 0.22, m_blocksLabelSpacing = 0.5;

    int m_cpsTargetRadius = 16, m_cpsCapsuleWidth = 72, m_cpsCapsuleHeight = 28, m_cpsVisualHeight = 40,
        m_cpsHubRing = 26, m_cpsHubDot = 10;
    double m_cpsHubRingOpacity = 0.22;

    int m_dinoGround = 22, m_dinoDashWidth = 36, m_dinoDashHeight = 3, m_dinoDashDrop = 36, m_dinoLineHeight = 2,
        m_dinoTickWidth = 10, m_dinoTickHeight = 2, m_dinoTickRise = 14, m_dinoRunnerX = 36, m_dinoRunnerSize = 30,
        m_dinoFlyerSize = 20, m_dinoFlyerTilt = -24, m_dinoBlockRadius = 5, m_dinoStripeHeight = 3,
        m_dinoStripeDrop = 4, m_dinoDashCount = 6, m_dinoTickCount = 18;
    double m_dinoLineOpacity = 0.55, m_dinoBlockOpacity = 0.9, m_dinoStripeShare = 0.45;

    double m_flapSkyOpacity = 0.10, m_flapLowerOpacity = 0.88, m_flapUpperOpacity = 0.85;
    int m_flapPipeRadius = 8, m_flapBirdX = 48;

    int m_pongDashWidth = 3, m_pongDashHeight = 12, m_pongPaddleMin = 5, m_pongVisualHeight = 40,
        m_pongVisualPaddleHeight = 28, m_pongVisualPaddleX = 34, m_pongVisualBall = 8, m_pongHubPaddleHeight = 22,
        m_pongHubPaddleX = 14, m_pongHubBall = 7;
    QPointF m_pongVisualBallAt{-6, 4}, m_pongHubBallAt{2, -2};
    double m_pongTintOpacity = 0.08;

    int m_stackInset = 18, m_stackSlabHeight = 16, m_stackSlabRadius = 4, m_stackGlowRadius = 6,
        m_stackShoutRise = 12, m_stackShoutShadowRadius = 8, m_stackBarHeight = 10, m_stackBarRadius = 3,
        m_stackVisualHeight = 44, m_stackHubBarHeight = 6;
    double m_stackGlowOpacity = 0.35;

    double m_snakeGap = SnakeGap, m_snakeAppleShare = 0.72, m_snakeBodyShare = 0.9, m_snakeTailOpacity = 0.55;
    int m_snakeCellRadius = 2, m_snakeSquare = 10, m_snakeSquareSpacing = 3, m_snakeVisualHeight = 40,
        m_snakeHubCapsuleWidth = 18, m_snakeHubDot = 8;

    int m_reflexHubRing = 22, m_reflexHubDot = 8, m_reflexFadeMs = 180;
};
