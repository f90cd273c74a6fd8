#pragma once

#include "core/scheduler.h"
#include "games/arcadeengine.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <array>
#include <vector>

namespace Wordle {
Q_NAMESPACE
enum class WordleMark : quint8 { correct, present, absent };
Q_ENUM_NS(WordleMark)
enum class WordlePhase : quint8 { playing, won, lost };
Q_ENUM_NS(WordlePhase)
} // namespace Wordle

using Wordle::WordleMark;
using Wordle::WordlePhase;

// One square of the board: a typed letter, a scored letter, or nothing.
struct WordleTile {
    Q_GADGET
    QML_VALUE_TYPE(wordleTile)
    Q_PROPERTY(Kind kind MEMBER kind)
    Q_PROPERTY(QString letter MEMBER letter)
    Q_PROPERTY(Wordle::WordleMark mark MEMBER mark)
public:
    enum class Kind : quint8 { letter, marked, empty };
    Q_ENUM(Kind)

    Kind kind = Kind::empty;
    QString letter; // one character, lowercase
    WordleMark mark = WordleMark::absent;

    static WordleTile typed(const QString &c) { return {Kind::letter, c, WordleMark::absent}; }
    static WordleTile scored(const QString &c, WordleMark m) { return {Kind::marked, c, m}; }
    friend bool operator==(const WordleTile &, const WordleTile &) = default;
};

// The five-letter word game: six guesses at a hidden answer, each scored
// and revealed tile by tile. Statistics are kept under "pavlet.wordleStreak",
// "pavlet.wordlePlayed" and "pavlet.wordleWon". It has no stop: a game in
// progress survives leaving and reopening.
class WordleEngine : public ArcadeEngine {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the island")
    // 30 WordleTile values, row by row.
    Q_PROPERTY(QVariantList tiles READ tileList NOTIFY rowsChanged)
    Q_PROPERTY(int row READ row NOTIFY rowChanged)
    Q_PROPERTY(int col READ col NOTIFY colChanged)
    Q_PROPERTY(Wordle::WordlePhase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)
    Q_PROPERTY(bool shake READ shake NOTIFY shakeChanged)
    // Letter → WordleMark (as an integer): the best mark revealed per letter.
    Q_PROPERTY(QVariantMap keys READ keyMap NOTIFY keysChanged)
    Q_PROPERTY(qint64 streak READ streak NOTIFY streakChanged)
    Q_PROPERTY(qint64 played READ played NOTIFY playedChanged)
    Q_PROPERTY(qint64 won READ won NOTIFY wonChanged)
public:
    static constexpr int Rows = 6;
    static constexpr int Letters = 5;
    static constexpr int RevealStepMs = 90;
    static constexpr int ShakeMs = 280;
    using Row = std::array<WordleTile, Letters>;
    using Marks = std::array<WordleMark, Letters>;

    explicit WordleEngine(UserDefaults *defaults, Clock *clock,
                          Scheduler *scheduler, Random *random = nullptr,
                          QObject *parent = nullptr);

    const std::array<Row, Rows> &rows() const { return m_rows; }
    QVariantList tileList() const;
    int row() const { return m_row; }
    int col() const { return m_col; }
    WordlePhase phase() const { return m_phase; }
    QString message() const { return m_message; }
    bool shake() const { return m_shake; }
    const QHash<QString, WordleMark> &keys() const { return m_keys; }
    QVariantMap keyMap() const;
    qint64 streak() const { return m_streak; }
    qint64 played() const { return m_played; }
    qint64 won() const { return m_won; }
    bool isRevealing() const { return m_revealing; }

    Q_INVOKABLE void refreshPrompt();
    // Opening the word game only refreshes its prompt: a game in progress
    // goes on. It has no timers to stop.
    void reset() override { refreshPrompt(); }
    // The game's keys while it is on screen.
    bool handleKey(const KeyInput &key) override;
    // Adds one character (a letter; it is stored lowercase).
    Q_INVOKABLE void type(const QString &character);
    Q_INVOKABLE void deleteLetter();
    Q_INVOKABLE void submit();
    Q_INVOKABLE void newGame();

    void flash(const QString &text);
    void finish(bool won);
    // Exact matches first, then presents handed out left to right.
    static Marks score(const QStringList &guess, const QStringList &answer);

    // Test seam: the hidden word.
    QString answer() const { return m_answer; }
    void setAnswer(const QString &answer) { m_answer = answer; }

signals:
    void rowsChanged();
    void rowChanged();
    void colChanged();
    void phaseChanged();
    void messageChanged();
    void shakeChanged();
    void keysChanged();
    void streakChanged();
    void playedChanged();
    void wonChanged();

private:
    void setTile(int row, int col, const WordleTile &tile);
    void setRow(int row);
    void setCol(int col);
    void setPhase(WordlePhase phase);
    void setMessage(const QString &message);
    void setShake(bool shake);
    void revealTile(int index, const Marks &marks);
    void raiseKey(const QString &letter, WordleMark mark);

    std::array<Row, Rows> m_rows{};
    int m_row = 0;
    int m_col = 0;
    WordlePhase m_phase = WordlePhase::playing;
    QString m_message;
    bool m_shake = false;
    QHash<QString, WordleMark> m_keys;
    qint64 m_streak = 0;
    qint64 m_played = 0;
    qint64 m_won = 0;
    QString m_answer = QStringLiteral("smile");
    bool m_revealing = false;
    TaskHandle m_reveal;
    // Shake resets are never cancelled; they are only kept so that none
    // outlives the engine.
    std::vector<TaskHandle> m_shakeResets;
};
