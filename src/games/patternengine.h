#pragma once

#include "core/scheduler.h"
#include "games/arcadeengine.h"

#include <QList>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <optional>
#include <vector>

namespace Pattern {
Q_NAMESPACE
enum class PatternHue { gold = 0, sky = 1, coral = 2, green = 3 };
Q_ENUM_NS(PatternHue)
} // namespace Pattern

using Pattern::PatternHue;

// 0...3; any other number gives none.
std::optional<PatternHue> hueFromRaw(int raw);

// The colour-pattern memory game: the engine lights a growing sequence of
// four pads, the player repeats it, and the first wrong tap ends the game.
// The longest sequence repeated is kept under "pavlet.patternBest".
class PatternEngine : public ArcadeEngine {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the island")
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    // PatternHue raw values, oldest first.
    Q_PROPERTY(QList<int> sequence READ sequenceList NOTIFY sequenceChanged)
    // The lit pad's raw value, or null.
    Q_PROPERTY(QVariant lit READ litValue NOTIFY litChanged)
    Q_PROPERTY(int round READ round NOTIFY roundChanged)
    Q_PROPERTY(qint64 best READ best NOTIFY bestChanged)
    Q_PROPERTY(int inputIndex READ inputIndex NOTIFY inputIndexChanged)
    Q_PROPERTY(bool missed READ missed NOTIFY missedChanged)
public:
    enum class Phase { howto, watch, input, over };
    Q_ENUM(Phase)

    static constexpr int LeadInMs = 380;
    static constexpr int LitMs = 420;
    static constexpr int DarkMs = 160;
    static constexpr int TapFlashMs = 140;

    explicit PatternEngine(UserDefaults *defaults, Clock *clock,
                           Scheduler *scheduler, Random *random = nullptr,
                           QObject *parent = nullptr);

    Phase phase() const { return m_phase; }
    const QList<PatternHue> &sequence() const { return m_sequence; }
    QList<int> sequenceList() const;
    std::optional<PatternHue> lit() const { return m_lit; }
    QVariant litValue() const;
    int round() const { return m_round; }
    qint64 best() const { return m_best; }
    int inputIndex() const { return m_inputIndex; }
    bool missed() const { return m_missed; }
    bool isPlaying() const { return m_watchTask.isActive(); }

    Q_INVOKABLE void reset() override;
    Q_INVOKABLE void stop() override;
    Q_INVOKABLE void newGame();
    // A pad press by raw value; anything but 0...3 is ignored.
    Q_INVOKABLE void tap(int hue);
    void tap(PatternHue hue);

signals:
    void phaseChanged();
    void sequenceChanged();
    void litChanged();
    void roundChanged();
    void bestChanged();
    void inputIndexChanged();
    void missedChanged();

private:
    void setPhase(Phase phase);
    void setSequence(const QList<PatternHue> &sequence);
    void setLit(std::optional<PatternHue> lit);
    void setRound(int round);
    void setInputIndex(int index);
    void setMissed(bool missed);
    void nextRound();
    void playSequence();
    void showHue(const QList<PatternHue> &sequence, int index);

    Phase m_phase = Phase::howto;
    QList<PatternHue> m_sequence;
    std::optional<PatternHue> m_lit;
    int m_round = 0;
    qint64 m_best = 0;
    int m_inputIndex = 0;
    bool m_missed = false;
    TaskHandle m_watchTask;
    // Tap flashes are never cancelled; they are kept only so that none
    // outlives the engine.
    std::vector<TaskHandle> m_flashes;
};
