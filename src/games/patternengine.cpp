#include "games/patternengine.h"

#include "core/random.h"

namespace {
const QString BestKey = QStringLiteral("pavlet.patternBest");
} // namespace

std::optional<PatternHue> hueFromRaw(int raw)
{
    if (raw < 0 || raw > 3)
        return std::nullopt;
    return PatternHue(raw);
}

PatternEngine::PatternEngine(UserDefaults *defaults, Clock *clock, Scheduler *scheduler,
                             Random *random, QObject *parent)
    : ArcadeEngine(defaults, clock, scheduler, random, parent)
{
    m_best = readRecord(BestKey);
}

void PatternEngine::setPhase(Phase phase)
{
    if (assign(m_phase, phase))
        emit phaseChanged();
}

void PatternEngine::setSequence(const QList<PatternHue> &sequence)
{
    if (assign(m_sequence, sequence))
        emit sequenceChanged();
}

void PatternEngine::setLit(std::optional<PatternHue> lit)
{
    if (assign(m_lit, lit))
        emit litChanged();
}

void PatternEngine::setRound(int round)
{
    if (assign(m_round, round))
        emit roundChanged();
}

void PatternEngine::setInputIndex(int index)
{
    if (assign(m_inputIndex, index))
        emit inputIndexChanged();
}

void PatternEngine::setMissed(bool missed)
{
    if (assign(m_missed, missed))
        emit missedChanged();
}

QList<int> PatternEngine::sequenceList() const
{
    QList<int> list;
    for (PatternHue h : m_sequence)
        list.append(int(h));
    return list;
}

QVariant PatternEngine::litValue() const
{
    return m_lit ? QVariant(int(*m_lit)) : QVariant::fromValue(nullptr);
}

void PatternEngine::reset()
{
    stop();
    setPhase(Phase::howto);
    setSequence({});
    setLit(std::nullopt);
    setRound(0);
    setInputIndex(0);
    setMissed(false);
}

void PatternEngine::stop()
{
    m_watchTask.cancel();
    setLit(std::nullopt);
}

void PatternEngine::newGame()
{
    stop();
    setSequence({});
    setRound(0);
    setInputIndex(0);
    setMissed(false);
    nextRound();
}

void PatternEngine::nextRound()
{
    QList<PatternHue> sequence = m_sequence;
    sequence.append(PatternHue(random().below(4)));
    setSequence(sequence);
    setRound(int(m_sequence.size()));
    setInputIndex(0);
    playSequence();
}

void PatternEngine::playSequence()
{
    setPhase(Phase::watch);
    if (m_watchTask.isActive()) {
        // A playback cut short still puts its pad out.
        m_watchTask.cancel();
        setLit(std::nullopt);
    }
    m_watchTask = scheduler()->after(LeadInMs, [this] {
        const QList<PatternHue> sequence = m_sequence;
        if (sequence.isEmpty())
            setPhase(Phase::input);
        else
            showHue(sequence, 0);
    });
}

// Each hue is lit for 420 ms and followed by 160 ms of dark, the last one
// included; then the player's turn begins.
void PatternEngine::showHue(const QList<PatternHue> &sequence, int index)
{
    setLit(sequence[index]);
    m_watchTask = scheduler()->after(LitMs, [this, sequence, index] {
        setLit(std::nullopt);
        m_watchTask = scheduler()->after(DarkMs, [this, sequence, index] {
            if (index + 1 < sequence.size())
                showHue(sequence, index + 1);
            else
                setPhase(Phase::input);
        });
    });
}

void PatternEngine::tap(int hue)
{
    if (const auto h = hueFromRaw(hue))
        tap(*h);
}

void PatternEngine::tap(PatternHue hue)
{
    if (m_phase != Phase::input)
        return;
    setLit(hue);
    std::erase_if(m_flashes, [](const TaskHandle &h) { return !h.isActive(); });
    m_flashes.push_back(scheduler()->after(TapFlashMs, [this, hue] {
        if (m_lit == hue)
            setLit(std::nullopt);
    }));

    if (m_inputIndex >= m_sequence.size())
        return;
    if (m_sequence[m_inputIndex] != hue) {
        setMissed(true);
        setPhase(Phase::over);
        stop();
        return;
    }
    setInputIndex(m_inputIndex + 1);
    if (m_inputIndex == m_sequence.size()) {
        if (m_best < m_round) {
            m_best = m_round;
            writeRecord(BestKey, m_best);
            emit bestChanged();
        }
        nextRound();
    }
}
