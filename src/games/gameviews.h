#pragma once

#include "games/blackjackengine.h"
#include "games/patternengine.h"
#include "games/stack4engine.h"
#include "games/toeengine.h"
#include "games/wordleengine.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

// The game views' rules: every text, switch and size the game screens and
// the arcade show is decided here, from the engines' published values, so
// that the QML files only lay out, bind and animate. Pages are numbered as
// the island numbers them: 0 the arcade, then the games of GameRegistry.
class GameViews : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    // The arcade's page number.
    Q_PROPERTY(int hubPage READ hubPage CONSTANT)
    // Sizes that belong to the game screens.
    Q_PROPERTY(int howToMaxWidth MEMBER m_howToMaxWidth CONSTANT)         // 320
    Q_PROPERTY(int ownHowToMaxWidth MEMBER m_ownHowToMaxWidth CONSTANT)   // 340
    Q_PROPERTY(int howToButtonPadding MEMBER m_howToButtonPadding CONSTANT) // 14
    Q_PROPERTY(int gameMinHeight MEMBER m_gameMinHeight CONSTANT)         // 268
    Q_PROPERTY(int patternMinHeight MEMBER m_patternMinHeight CONSTANT)   // 248
    Q_PROPERTY(int previewWidth MEMBER m_previewWidth CONSTANT)           // 52
    Q_PROPERTY(int previewHeight MEMBER m_previewHeight CONSTANT)         // 40
    Q_PROPERTY(int hubMarkWidth MEMBER m_hubMarkWidth CONSTANT)           // 44
    Q_PROPERTY(int hubMarkHeight MEMBER m_hubMarkHeight CONSTANT)         // 34
    Q_PROPERTY(int headerMascotSize MEMBER m_headerMascotSize CONSTANT)   // 22
    Q_PROPERTY(int backButtonSize MEMBER m_backButtonSize CONSTANT)       // 12
    Q_PROPERTY(int recordLabelSize MEMBER m_recordLabelSize CONSTANT)     // 8
    Q_PROPERTY(double recordLabelSpacing MEMBER m_recordLabelSpacing CONSTANT) // 0.4
    Q_PROPERTY(double pageEnterScale MEMBER m_pageEnterScale CONSTANT)    // 0.98
    Q_PROPERTY(int tileSize MEMBER m_tileSize CONSTANT)                   // 32 (word game)
    Q_PROPERTY(int tileSpacing MEMBER m_tileSpacing CONSTANT)             // 5
    Q_PROPERTY(int shakeOffset MEMBER m_shakeOffset CONSTANT)             // 6
    Q_PROPERTY(int keyWidth MEMBER m_keyWidth CONSTANT)                   // 22
    Q_PROPERTY(int wideKeyWidth MEMBER m_wideKeyWidth CONSTANT)           // 36
    Q_PROPERTY(int keyHeight MEMBER m_keyHeight CONSTANT)                 // 26
    Q_PROPERTY(int tileRadius MEMBER m_tileRadius CONSTANT)               // 6
    Q_PROPERTY(int keyRadius MEMBER m_keyRadius CONSTANT)                 // 5
    Q_PROPERTY(int keySpacing MEMBER m_keySpacing CONSTANT)               // 4
    Q_PROPERTY(int wideKeyPadding MEMBER m_wideKeyPadding CONSTANT)       // 4
    Q_PROPERTY(int toeBoardMaxWidth MEMBER m_toeBoardMaxWidth CONSTANT)   // 248
    Q_PROPERTY(int toeGlyphSize MEMBER m_toeGlyphSize CONSTANT)           // 28
    Q_PROPERTY(int toeHowToCell MEMBER m_toeHowToCell CONSTANT)           // 16
    Q_PROPERTY(int toeHowToHeight MEMBER m_toeHowToHeight CONSTANT)       // 56
    Q_PROPERTY(int toeHubCell MEMBER m_toeHubCell CONSTANT)               // 9
    Q_PROPERTY(int discSize MEMBER m_discSize CONSTANT)                   // 28
    Q_PROPERTY(int discSpacing MEMBER m_discSpacing CONSTANT)             // 4
    Q_PROPERTY(int columnInsetY MEMBER m_columnInsetY CONSTANT)           // 6
    Q_PROPERTY(int columnInsetX MEMBER m_columnInsetX CONSTANT)           // 3
    Q_PROPERTY(int howToDiscSize MEMBER m_howToDiscSize CONSTANT)         // 12
    Q_PROPERTY(int howToDiscRowHeight MEMBER m_howToDiscRowHeight CONSTANT) // 44
    Q_PROPERTY(int howToDiscRowSpacing MEMBER m_howToDiscRowSpacing CONSTANT) // 5
    Q_PROPERTY(int hubDiscRowSpacing MEMBER m_hubDiscRowSpacing CONSTANT) // 3
    Q_PROPERTY(int hubDiscSize MEMBER m_hubDiscSize CONSTANT)             // 8
    Q_PROPERTY(int hubDiscWidth MEMBER m_hubDiscWidth CONSTANT)           // 36
    Q_PROPERTY(int hubDiscHeight MEMBER m_hubDiscHeight CONSTANT)         // 28
    Q_PROPERTY(int cardWidth MEMBER m_cardWidth CONSTANT)                 // 28 (playing card)
    Q_PROPERTY(int cardHeight MEMBER m_cardHeight CONSTANT)               // 38
    Q_PROPERTY(int cardRadius MEMBER m_cardRadius CONSTANT)               // 5
    Q_PROPERTY(int cardBackMarkWidth MEMBER m_cardBackMarkWidth CONSTANT) // 14
    Q_PROPERTY(int cardBackMarkHeight MEMBER m_cardBackMarkHeight CONSTANT) // 3
    Q_PROPERTY(int cardTilt MEMBER m_cardTilt CONSTANT)                   // 8
    Q_PROPERTY(int howToCardsHeight MEMBER m_howToCardsHeight CONSTANT)   // 44
    Q_PROPERTY(int hubBackWidth MEMBER m_hubBackWidth CONSTANT)           // 18
    Q_PROPERTY(int hubBackHeight MEMBER m_hubBackHeight CONSTANT)         // 24
    Q_PROPERTY(int patternSquare MEMBER m_patternSquare CONSTANT)         // 22
    Q_PROPERTY(int patternVisualHeight MEMBER m_patternVisualHeight CONSTANT) // 40
    Q_PROPERTY(int patternDotRowHeight MEMBER m_patternDotRowHeight CONSTANT) // 10
    Q_PROPERTY(int titleSpacing MEMBER m_titleSpacing CONSTANT)           // 1
    Q_PROPERTY(double cardOutlineOpacity MEMBER m_cardOutlineOpacity CONSTANT) // 0.7
    Q_PROPERTY(double padDimOpacity MEMBER m_padDimOpacity CONSTANT)      // 0.38
    Q_PROPERTY(int runPreviewSize MEMBER m_runPreviewSize CONSTANT)       // 34
    Q_PROPERTY(double runPreviewLegs MEMBER m_runPreviewLegs CONSTANT)    // 1.2
    Q_PROPERTY(int flapPreviewSize MEMBER m_flapPreviewSize CONSTANT)     // 32
    Q_PROPERTY(int flapPreviewTilt MEMBER m_flapPreviewTilt CONSTANT)     // -18
    // The two card backs of Blackjack's card picture, bottom first:
    // {dx, rotation, gold}.
    Q_PROPERTY(QVariantList blackjackHubBacks READ blackjackHubBacks CONSTANT)
    Q_PROPERTY(int padMinHeight MEMBER m_padMinHeight CONSTANT)           // 88
    Q_PROPERTY(int padRadius MEMBER m_padRadius CONSTANT)                 // 16
    Q_PROPERTY(int pavTileSize MEMBER m_pavTileSize CONSTANT)             // 15
    Q_PROPERTY(int pavTileRadius MEMBER m_pavTileRadius CONSTANT)         // 3
    Q_PROPERTY(int pavTileFont MEMBER m_pavTileFont CONSTANT)             // 8
    // The word game's card picture, bottom tile first: {letter, goldOpacity
    // (0: a white tile), rotation, dx, dy}.
    Q_PROPERTY(QVariantList pavPile READ pavPile CONSTANT)
    // The word game's keyboard rows, lowercase.
    Q_PROPERTY(QStringList keyRows READ keyRows CONSTANT)

public:
    using QObject::QObject;

    static QStringList keyRows();
    static QVariantList pavPile();
    static QVariantList blackjackHubBacks();

    // --- The panel.
    static constexpr int hubPage() { return 0; }
    Q_INVOKABLE static QString pageTitle(int page);
    Q_INVOKABLE static QString pageSubtitle(int page);
    // A game's screen, a QML file below games/; empty for the arcade.
    Q_INVOKABLE static QString viewSource(int page);
    // The back button's symbol and tool tip; the arcade leads home, a game
    // to the arcade.
    Q_INVOKABLE static QString backSymbol(int page);
    Q_INVOKABLE static QString backHelp(int page);
    Q_INVOKABLE static bool showsMascot(int page) { return page == 0; }

    // --- Both board games' opponent chips: "Local", "Easy", "Medium", "Hard"
    // with the level each stands for ("" for a local game).
    Q_INVOKABLE static QStringList versusTitles();
    Q_INVOKABLE static QString versusLevel(int choice);
    Q_INVOKABLE static bool versusSelected(int choice, bool local, const QString &level);

    // --- Tic-tac-toe (outcome: an Outcome, or null while playing).
    Q_INVOKABLE static QString toeTurnText(ToeEngine::Phase phase, bool local, bool redTurn);
    Q_INVOKABLE static QString toeResultText(const QVariant &outcome, bool local);
    Q_INVOKABLE static bool toeShowsResultWins(qint64 wins, bool local) { return wins >= 1 && !local; }
    Q_INVOKABLE static bool toeCellEnabled(ToeEngine::Phase phase, bool busy, Toe::ToeMark mark)
    {
        return phase == ToeEngine::Phase::playing && !busy && mark == ToeMark::empty;
    }
    // The mark of the winning line (1 red, 2 blue); 0 without a line.
    Q_INVOKABLE static int toeLineMark(const QList<int> &cells, const QList<int> &winLine);
    // A winning cell's fill: the winner's colour at 0.22.
    Q_INVOKABLE static QColor toeLineFill(int mark);
    Q_INVOKABLE static double toeLineWidth(double size);
    Q_INVOKABLE static double toeMiniSpacing(double cell);
    Q_INVOKABLE static double toeMiniRadius(double cell);
    // The fixed marks of the small board picture, row by row.
    Q_INVOKABLE static QVariantList toeMiniMarks() { return {1, 0, 2, 0, 1, 0, 2, 0, 0}; }

    // --- Connect four (winner: empty for a draw).
    Q_INVOKABLE static QString stack4StatusText(Stack4Engine::Phase phase, bool local, bool redTurn);
    Q_INVOKABLE static QString stack4ResultText(Stack4Engine::Slot winner, bool local);
    Q_INVOKABLE static bool stack4BoardLive(Stack4Engine::Phase phase, bool busy)
    {
        return phase == Stack4Engine::Phase::playing && !busy;
    }
    // The board index of the i-th disc from the top of a column.
    Q_INVOKABLE static int stack4DiscIndex(int column, int fromTop) { return column * 6 + 5 - fromTop; }
    // A filled disc's opacity: full on the winning line, else 0.92.
    Q_INVOKABLE static double stack4DiscOpacity(int index, const QList<int> &winCells);
    // The small pictures' disc stacks, left to right, each top first
    // (1 red, 2 blue).
    Q_INVOKABLE static QVariantList stack4HowToStacks() { return {QVariantList{1}, QVariantList{2, 1}, QVariantList{1, 2, 1}, QVariantList{2}}; }
    Q_INVOKABLE static QVariantList stack4HubStacks() { return {QVariantList{1}, QVariantList{2, 1}, QVariantList{1, 2, 1}}; }

    // --- Blackjack.
    Q_INVOKABLE static QString blackjackStatus(BlackjackEngine::Phase phase, const QString &message);
    // A hand's total as shown: while the hole card is hidden, the first
    // card's value and "+"; nothing for an empty hand.
    Q_INVOKABLE static QString blackjackTotalText(const QVariantList &cards, bool hidingHole);
    Q_INVOKABLE static bool blackjackCardHidden(int index, bool hidingHole) { return hidingHole && index == 1; }
    Q_INVOKABLE static QString blackjackSuit(BlackjackCard::Suit suit);
    Q_INVOKABLE static bool blackjackSuitRed(BlackjackCard::Suit suit)
    {
        return suit == BlackjackCard::Suit::hearts || suit == BlackjackCard::Suit::diamonds;
    }

    // --- Word game.
    Q_INVOKABLE static bool wordleLost(Wordle::WordlePhase phase) { return phase == WordlePhase::lost; }
    // The end-of-game button's title; empty while playing.
    Q_INVOKABLE static QString wordleEndTitle(Wordle::WordlePhase phase);
    Q_INVOKABLE static QString wordleScore(qint64 won, qint64 played);
    Q_INVOKABLE static QString wordleTileText(const QVariant &tile);
    Q_INVOKABLE static QColor wordleTileFill(const QVariant &tile);
    Q_INVOKABLE static QColor wordleKeyFill(const QVariantMap &keys, const QString &letter);

    // --- Colour patterns.
    Q_INVOKABLE static QString patternStatus(PatternEngine::Phase phase, int round);
    Q_INVOKABLE static QString patternBestText(qint64 best);
    Q_INVOKABLE static bool patternPadsLive(PatternEngine::Phase phase) { return phase == PatternEngine::Phase::input; }
    Q_INVOKABLE static bool patternLit(const QVariant &lit, int hue) { return !lit.isNull() && lit.toInt() == hue; }
    Q_INVOKABLE static QString patternOverText(int round, qint64 best);
    Q_INVOKABLE static QColor patternHueColor(Pattern::PatternHue hue);

private:
    int m_howToMaxWidth = 320, m_ownHowToMaxWidth = 340, m_howToButtonPadding = 14, m_gameMinHeight = 268,
        m_patternMinHeight = 248, m_previewWidth = 52, m_previewHeight = 40, m_hubMarkWidth = 44,
        m_hubMarkHeight = 34, m_headerMascotSize = 22, m_backButtonSize = 12, m_recordLabelSize = 8;
    double m_recordLabelSpacing = 0.4, m_pageEnterScale = 0.98;
    int m_tileSize = 32, m_tileSpacing = 5, m_shakeOffset = 6, m_keyWidth = 22, m_wideKeyWidth = 36,
        m_keyHeight = 26, m_toeBoardMaxWidth = 248, m_toeGlyphSize = 28, m_discSize = 28, m_cardWidth = 28,
        m_cardHeight = 38, m_padMinHeight = 88, m_padRadius = 16, m_pavTileSize = 15, m_pavTileRadius = 3,
        m_pavTileFont = 8, m_toeHowToCell = 16, m_toeHowToHeight = 56, m_toeHubCell = 9,
        m_discSpacing = 4, m_columnInsetY = 6, m_columnInsetX = 3, m_howToDiscSize = 12, m_howToDiscRowHeight = 44,
        m_hubDiscSize = 8, m_hubDiscWidth = 36, m_hubDiscHeight = 28,
        m_howToDiscRowSpacing = 5, m_hubDiscRowSpacing = 3,
        m_tileRadius = 6, m_keyRadius = 5, m_keySpacing = 4, m_wideKeyPadding = 4,
        m_cardRadius = 5, m_cardBackMarkWidth = 14, m_cardBackMarkHeight = 3, m_cardTilt = 8, m_howToCardsHeight = 44,
        m_hubBackWidth = 18, m_hubBackHeight = 24,
        m_patternSquare = 22, m_patternVisualHeight = 40, m_patternDotRowHeight = 10, m_titleSpacing = 1,
        m_runPreviewSize = 34, m_flapPreviewSize = 32, m_flapPreviewTilt = -18;
    double m_cardOutlineOpacity = 0.7, m_padDimOpacity = 0.38, m_runPreviewLegs = 1.2;
};
