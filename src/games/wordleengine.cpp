#include "games/wordleengine.h"

#include "core/keycodes.h"
#include "core/keyinput.h"
#include "games/wordlewords.h"

#include <QTextBoundaryFinder>

namespace {

const QString StreakKey = QStringLiteral("pavlet.wordleStreak");
const QString PlayedKey = QStringLiteral("pavlet.wordlePlayed");
const QString WonKey = QStringLiteral("pavlet.wordleWon");
const QString Prompt = QStringLiteral("Guess the word");

// The user-perceived characters of text.
QStringList graphemes(const QString &text)
{
    QStringList out;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        const qsizetype end = finder.position();
        out.append(text.mid(start, end - start));
        start = end;
    }
    return out;
}

} // namespace

WordleEngine::WordleEngine(UserDefaults *defaults, Clock *clock, Scheduler *scheduler,
                           Random *random, QObject *parent)
    : ArcadeEngine(defaults, clock, scheduler, random, parent)
    , m_message(Prompt)
{
    m_streak = readRecord(StreakKey);
    m_played = readRecord(PlayedKey);
    m_won = readRecord(WonKey);
    m_answer = WordleWords::randomAnswer(this->random());
}

// Published values.

QVariantList WordleEngine::tileList() const
{
    QVariantList list;
    list.reserve(Rows * Letters);
    for (const Row &r : m_rows) {
        for (const WordleTile &t : r)
            list.append(QVariant::fromValue(t));
    }
    return list;
}

QVariantMap WordleEngine::keyMap() const
{
    QVariantMap map;
    for (auto it = m_keys.begin(); it != m_keys.end(); ++it)
        map.insert(it.key(), int(it.value()));
    return map;
}

void WordleEngine::setTile(int row, int col, const WordleTile &tile)
{
    if (assign(m_rows[row][col], tile))
        emit rowsChanged();
}

void WordleEngine::setRow(int row)
{
    if (assign(m_row, row))
        emit rowChanged();
}

void WordleEngine::setCol(int col)
{
    if (assign(m_col, col))
        emit colChanged();
}

void WordleEngine::setPhase(WordlePhase phase)
{
    if (assign(m_phase, phase))
        emit phaseChanged();
}

void WordleEngine::setMessage(const QString &message)
{
    if (assign(m_message, message))
        emit messageChanged();
}

void WordleEngine::setShake(bool shake)
{
    if (assign(m_shake, shake))
        emit shakeChanged();
}

// Operations.

void WordleEngine::refreshPrompt()
{
    if (m_rows[0][0].kind == WordleTile::Kind::empty && m_row == 0 && m_col == 0
        && m_phase == WordlePhase::playing)
        setMessage(Prompt);
}

void WordleEngine::type(const QString &character)
{
    if (m_phase != WordlePhase::playing || m_revealing || m_col >= Letters)
        return;
    const QString c = character.toLower();
    // One character, and a letter by the Unicode test (so é or ß pass).
    if (graphemes(c).size() != 1 || !QChar::isLetter(c.toUcs4().value(0)))
        return;
    setTile(m_row, m_col, WordleTile::typed(c));
    setCol(m_col + 1);
    setMessage(Prompt);
}

void WordleEngine::deleteLetter()
{
    if (m_phase != WordlePhase::playing || m_revealing || m_col < 1)
        return;
    setCol(m_col - 1);
    setTile(m_row, m_col, WordleTile());
}

void WordleEngine::submit()
{
    if (m_phase != WordlePhase::playing || m_revealing)
        return;
    if (m_col != Letters) {
        flash(QStringLiteral("Need 5 letters"));
        return;
    }
    QStringList letters;
    for (const WordleTile &t : m_rows[m_row]) {
        if (t.kind == WordleTile::Kind::letter)
            letters.append(t.letter);
    }
    const QString guess = letters.join(QString());
    // Letters that join into fewer characters (Hangul jamo, say) are no guess.
    if (graphemes(guess).size() != Letters)
        return;
    if (!WordleWords::valid().contains(guess)) {
        flash(QStringLiteral("Not in word list"));
        return;
    }
    m_revealing = true;
    const Marks marks = score(letters, graphemes(m_answer));
    m_reveal = scheduler()->after(RevealStepMs, [this, marks] { revealTile(0, marks); });
}

WordleEngine::Marks WordleEngine::score(const QStringList &guess, const QStringList &answer)
{
    Marks marks;
    marks.fill(WordleMark::absent);
    QHash<QString, int> unmatched;
    for (int i = 0; i < Letters; ++i) {
        if (guess.value(i) == answer.value(i))
            marks[i] = WordleMark::correct;
        else
            ++unmatched[answer.value(i)];
    }
    for (int i = 0; i < Letters; ++i) {
        if (marks[i] == WordleMark::correct)
            continue;
        auto it = unmatched.find(guess.value(i));
        if (it != unmatched.end() && *it >= 1) {
            marks[i] = WordleMark::present;
            --*it;
        }
    }
    return marks;
}

void WordleEngine::revealTile(int index, const Marks &marks)
{
    const WordleTile tile = m_rows[m_row][index];
    if (tile.kind == WordleTile::Kind::letter) {
        setTile(m_row, index, WordleTile::scored(tile.letter, marks[index]));
        raiseKey(tile.letter, marks[index]);
    }
    if (index + 1 < Letters) {
        m_reveal = scheduler()->after(RevealStepMs, [this, index, marks] { revealTile(index + 1, marks); });
        return;
    }
    m_revealing = false;
    if (std::all_of(marks.begin(), marks.end(), [](WordleMark m) { return m == WordleMark::correct; })) {
        finish(true);
    } else if (m_row != Rows - 1) {
        setRow(m_row + 1);
        setCol(0);
        setMessage(Prompt);
    } else {
        finish(false);
    }
}

// A key's mark only rises: absent, then present, then correct.
void WordleEngine::raiseKey(const QString &letter, WordleMark mark)
{
    auto it = m_keys.find(letter);
    WordleMark next = mark;
    if (it != m_keys.end()) {
        const WordleMark now = *it;
        next = now;
        if (now != WordleMark::correct) {
            if (mark == WordleMark::correct)
                next = WordleMark::correct;
            else if (now == WordleMark::absent && mark == WordleMark::present)
                next = WordleMark::present;
        }
        if (next == now)
            return;
    }
    m_keys.insert(letter, next);
    emit keysChanged();
}

void WordleEngine::finish(bool won)
{
    ++m_played;
    writeRecord(PlayedKey, m_played);
    emit playedChanged();
    if (won) {
        setPhase(WordlePhase::won);
        ++m_won;
        ++m_streak;
        writeRecord(WonKey, m_won);
        writeRecord(StreakKey, m_streak);
        emit wonChanged();
        emit streakChanged();
        static const QString messages[] = {QStringLiteral("Nice."), QStringLiteral("Sharp."),
                                           QStringLiteral("Pavlet knows.")};
        setMessage(messages[std::min(m_row, 2)]);
    } else {
        setPhase(WordlePhase::lost);
        const bool changed = m_streak != 0;
        m_streak = 0;
        writeRecord(StreakKey, 0);
        if (changed)
            emit streakChanged();
        setMessage(m_answer.toUpper());
    }
}

void WordleEngine::newGame()
{
    m_answer = WordleWords::randomAnswer(random());
    bool changed = false;
    for (Row &r : m_rows) {
        for (WordleTile &t : r)
            changed |= assign(t, WordleTile());
    }
    if (changed)
        emit rowsChanged();
    setRow(0);
    setCol(0);
    setPhase(WordlePhase::playing);
    setMessage(Prompt);
    if (!m_keys.isEmpty()) {
        m_keys.clear();
        emit keysChanged();
    }
    m_revealing = false;
}

void WordleEngine::flash(const QString &text)
{
    setMessage(text);
    // Off and on again, so that a view restarts its shake.
    setShake(false);
    setShake(true);
    std::erase_if(m_shakeResets, [](const TaskHandle &h) { return !h.isActive(); });
    m_shakeResets.push_back(scheduler()->after(ShakeMs, [this] { setShake(false); }));
}

namespace {
// The key's text as if no modifier were held: with Control a letter key
// gives a control character. Without Control a control character is the
// key's own (Tab, Enter), not a letter.
QString charactersIgnoringModifiers(const KeyInput &key)
{
    if (key.control && key.text.size() == 1 && key.text.at(0).unicode() >= 1 && key.text.at(0).unicode() <= 26)
        return QChar(u'a' + key.text.at(0).unicode() - 1);
    return key.text;
}
} // namespace

bool WordleEngine::handleKey(const KeyInput &key)
{
    if (key.keyCode == KeyCode::Delete) {
        deleteLetter();
        return true;
    }
    if (key.keyCode == KeyCode::Return || key.keyCode == KeyCode::KeypadEnter) {
        submit();
        return true;
    }
    const QString text = charactersIgnoringModifiers(key).toLower();
    if (text.size() != 1 || !text.at(0).isLetter())
        return false;
    type(text);
    return true;
}
