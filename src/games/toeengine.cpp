#include "games/toeengine.h"

#include "core/random.h"

namespace {
const QString WinsKey = QStringLiteral("pavlet.toeWins");
constexpr std::array<int, 4> Corners{0, 2, 6, 8};
constexpr int Centre = 4;
} // namespace

ToeEngine::ToeEngine(UserDefaults *defaults, Clock *clock, Scheduler *scheduler, Random *random,
                     QObject *parent)
    : ArcadeEngine(defaults, clock, scheduler, random, parent)
{
    m_cells.fill(ToeMark::empty);
    m_wins = readRecord(WinsKey);
}

const std::array<std::array<int, 3>, 8> &ToeEngine::lines()
{
    static const std::array<std::array<int, 3>, 8> table{{
        {0, 1, 2}, {3, 4, 5}, {6, 7, 8}, // rows
        {0, 3, 6}, {1, 4, 7}, {2, 5, 8}, // columns
        {0, 4, 8}, {2, 4, 6},            // diagonals
    }};
    return table;
}

int ToeEngine::npcDelayMs(ArcadeNPCLevel level)
{
    switch (level) {
    case ArcadeNPCLevel::easy:
        return 380;
    case ArcadeNPCLevel::medium:
        return 280;
    case ArcadeNPCLevel::hard:
        return 140;
    }
    return 280;
}

void ToeEngine::setPhase(Phase phase)
{
    if (assign(m_phase, phase))
        emit phaseChanged();
}

void ToeEngine::setVersus(const ArcadeVersus &versus)
{
    if (assign(m_versus, versus))
        emit versusChanged();
}

void ToeEngine::setVersusNpc(const QString &level)
{
    if (const auto l = levelFromRaw(level))
        setVersus(ArcadeVersus::npc(*l));
}

void ToeEngine::setRedTurn(bool red)
{
    if (assign(m_redTurn, red))
        emit redTurnChanged();
}

void ToeEngine::setOutcome(std::optional<Outcome> outcome)
{
    if (assign(m_outcome, outcome))
        emit outcomeChanged();
}

void ToeEngine::setWinLine(const QList<int> &line)
{
    if (assign(m_winLine, line))
        emit winLineChanged();
}

void ToeEngine::setBusy(bool busy)
{
    if (assign(m_busy, busy))
        emit busyChanged();
}

void ToeEngine::setCells(const Board &cells)
{
    if (assign(m_cells, cells))
        emit cellsChanged();
}

void ToeEngine::place(int index, ToeMark mark)
{
    Board cells = m_cells;
    cells[index] = mark;
    setCells(cells);
}

QList<int> ToeEngine::cellList() const
{
    QList<int> list;
    for (ToeMark m : m_cells)
        list.append(int(m));
    return list;
}

QVariant ToeEngine::outcomeValue() const
{
    return m_outcome ? QVariant::fromValue(*m_outcome) : QVariant::fromValue(nullptr);
}

void ToeEngine::reset()
{
    stop();
    setPhase(Phase::howto);
    setVersus(ArcadeVersus::npc(ArcadeNPCLevel::medium));
    newBoard();
}

void ToeEngine::start()
{
    stop();
    newBoard();
    setPhase(Phase::playing);
}

void ToeEngine::newBoard()
{
    Board empty;
    empty.fill(ToeMark::empty);
    setCells(empty);
    setRedTurn(true);
    setOutcome(std::nullopt);
    setWinLine({});
    setBusy(false);
}

void ToeEngine::stop()
{
    m_npcTask.cancel();
    setBusy(false);
}

void ToeEngine::play(int index)
{
    if (m_phase != Phase::playing || m_busy || index < 0 || index >= int(m_cells.size())
        || m_cells[index] != ToeMark::empty)
        return;
    if (!m_versus.isLocal() && !m_redTurn)
        return;
    place(index, m_redTurn ? ToeMark::red : ToeMark::blue);
    if (checkEnd())
        return;
    setRedTurn(!m_redTurn);
    if (m_redTurn)
        return;
    if (const auto level = m_versus.npcLevel())
        scheduleNPCMove(*level);
}

bool ToeEngine::checkEnd()
{
    const auto line = winningLine(m_cells);
    if (!line) {
        if (std::find(m_cells.begin(), m_cells.end(), ToeMark::empty) != m_cells.end())
            return false;
        setOutcome(Outcome::draw);
        setPhase(Phase::over);
        stop();
        return true;
    }
    setWinLine({(*line)[0], (*line)[1], (*line)[2]});
    const bool redWon = m_cells[(*line)[0]] == ToeMark::red;
    setOutcome(redWon ? Outcome::red : Outcome::blue);
    setPhase(Phase::over);
    stop();
    if (redWon && !m_versus.isLocal()) {
        ++m_wins;
        writeRecord(WinsKey, m_wins);
        emit winsChanged();
    }
    return true;
}

std::optional<std::array<int, 3>> ToeEngine::winningLine(const Board &cells)
{
    for (const auto &line : lines()) {
        const ToeMark a = cells[line[0]];
        if (a != ToeMark::empty && a == cells[line[1]] && a == cells[line[2]])
            return line;
    }
    return std::nullopt;
}

std::optional<int> ToeEngine::cellCompletingLine(ToeMark mark) const
{
    for (const auto &line : lines()) {
        int held = 0;
        QList<int> open;
        for (int i : line) {
            if (m_cells[i] == mark)
                ++held;
            else if (m_cells[i] == ToeMark::empty)
                open.append(i);
        }
        if (held == 2 && open.size() == 1)
            return open.first();
    }
    return std::nullopt;
}

void ToeEngine::scheduleNPCMove(ArcadeNPCLevel level)
{
    setBusy(true);
    m_npcTask = scheduler()->after(npcDelayMs(level), [this, level] { npcMove(level); });
}

void ToeEngine::npcMove(ArcadeNPCLevel level)
{
    if (m_phase != Phase::playing)
        return;
    if (const auto cell = npcChooseCell(level))
        place(*cell, ToeMark::blue);
    setBusy(false);
    if (!checkEnd())
        setRedTurn(true);
}

std::optional<int> ToeEngine::npcChooseCell(ArcadeNPCLevel level)
{
    QList<int> open;
    for (int i = 0; i < int(m_cells.size()); ++i) {
        if (m_cells[i] == ToeMark::empty)
            open.append(i);
    }
    if (open.isEmpty())
        return std::nullopt;

    const bool hard = level == ArcadeNPCLevel::hard;
    const bool easy = level == ArcadeNPCLevel::easy;
    // A chance is drawn only when its option exists.
    auto take = [&](double p) { return hard || closedUnit(random()) < p; };

    if (const auto win = cellCompletingLine(ToeMark::blue); win && take(easy ? 0.25 : 0.88))
        return win;
    if (const auto block = cellCompletingLine(ToeMark::red); block && take(easy ? 0.2 : 0.72))
        return block;
    if (!easy) {
        if (m_cells[Centre] == ToeMark::empty && take(0.5))
            return Centre;
        QList<int> corners;
        for (int c : Corners) {
            if (m_cells[c] == ToeMark::empty)
                corners.append(c);
        }
        if (!corners.isEmpty() && take(0.45))
            return corners[random().below(int(corners.size()))];
    }
    return open[random().below(int(open.size()))];
}
