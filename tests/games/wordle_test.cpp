#include "pavlettest.h"
#include "random.h"
#include "wordleengine.h"
#include "wordlewords.h"

#include <QFile>
#include <QRegularExpression>

using Mark = WordleMark;
constexpr Mark C = Mark::correct, P = Mark::present, A = Mark::absent;

namespace {

QStringList letters(const QString &word)
{
    QStringList out;
    for (QChar c : word)
        out.append(QString(c));
    return out;
}

class WordleTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        engine = std::make_unique<WordleEngine>(defaults.get(), &clock, scheduler.get(), &random);
        engine->setAnswer("smile");
    }
    void typeWord(const QString &word)
    {
        for (const QString &c : letters(word))
            engine->type(c);
    }
    void guess(const QString &word)
    {
        typeWord(word);
        engine->submit();
        scheduler->advance(5 * 90);
    }
    QString rowText(int row) const
    {
        QString s;
        for (const WordleTile &t : engine->rows()[row])
            s += t.letter;
        return s;
    }
    Random random{3};
    std::unique_ptr<WordleEngine> engine;
};

} // namespace

TEST(WordleWordsTest, ListsHaveTheirSizesOrderAndForm)
{
    const QStringList &answers = WordleWords::answers();
    const QStringList &allowed = WordleWords::allowed();
    ASSERT_EQ(answers.size(), 2315);
    ASSERT_EQ(allowed.size(), 10657);
    const QRegularExpression five(QStringLiteral("^[a-z]{5}$"));
    for (const QStringList *list : {&answers, &allowed}) {
        for (qsizetype i = 0; i < list->size(); ++i) {
            ASSERT_TRUE(five.match(list->at(i)).hasMatch()) << list->at(i).toStdString();
            if (i > 0) {
                ASSERT_LT(list->at(i - 1), list->at(i)); // sorted and distinct
            }
        }
    }
    EXPECT_EQ(WordleWords::valid().size(), 12972); // disjoint
    EXPECT_TRUE(answers.contains("smile"));
    EXPECT_EQ(WordleWords::blocked().size(), 9);
    for (const QString &w : WordleWords::blocked()) {
        EXPECT_TRUE(five.match(w).hasMatch());
        EXPECT_TRUE(WordleWords::valid().contains(w)) << "a blocked word is still a guess";
    }

    // The text form: twelve words a line, indented by four spaces, no final
    // line feed.
    const struct {
        const char *file;
        int lines;
        int lastLineWords;
    } forms[] = {{"wordle-answers.txt", 193, 11}, {"wordle-allowed.txt", 889, 1}};
    for (const auto &form : forms) {
        QFile f(QStringLiteral(":/qt/qml/Pavlet/src/games/") + form.file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << form.file;
        const QString text = QString::fromLatin1(f.readAll());
        EXPECT_FALSE(text.endsWith('\n'));
        const QStringList lines = text.split('\n');
        ASSERT_EQ(lines.size(), form.lines);
        for (const QString &line : lines)
            EXPECT_TRUE(line.startsWith("    ") && line[4] != ' ');
        EXPECT_EQ(lines.first().split(' ', Qt::SkipEmptyParts).size(), 12);
        EXPECT_EQ(lines.last().split(' ', Qt::SkipEmptyParts).size(), form.lastLineWords);
    }
}

TEST(WordleWordsTest, RandomAnswersSkipBlockedWords)
{
    Random random(11);
    for (int i = 0; i < 2000; ++i)
        ASSERT_FALSE(WordleWords::blocked().contains(WordleWords::randomAnswer(random)));
    const QSet<QString> blocked{"bitch", "whore"};
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(WordleWords::randomAnswer(random, {"bitch", "crane", "whore"}, blocked), "crane");
    EXPECT_EQ(WordleWords::randomAnswer(random, {"bitch", "whore"}, blocked), "smile");
    EXPECT_EQ(WordleWords::randomAnswer(random, {}, blocked), "smile");
    EXPECT_EQ(WordleWords::splitWords("  ab\n\tcd  ef\n"), (QStringList{"ab", "cd", "ef"}));
}

TEST(WordleScoreTest, RepeatedLettersAreMarkedAsOftenAsTheAnswerHasThem)
{
    const struct {
        const char *answer, *guess;
        WordleEngine::Marks marks;
    } rows[] = {
        {"abbey", "bobby", {P, A, C, A, C}},
        {"apple", "papal", {P, P, C, A, P}},
        {"smile", "smile", {C, C, C, C, C}},
        {"smile", "crane", {A, A, A, A, C}},
        {"eerie", "there", {A, A, P, P, C}},
        {"speed", "eerie", {P, P, A, A, A}},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(WordleEngine::score(letters(row.guess), letters(row.answer)), row.marks)
            << row.guess << " vs " << row.answer;
    }
}

TEST_F(WordleTest, TypingKeepsLowercaseLettersOnly)
{
    EXPECT_EQ(engine->message(), "Guess the word");
    for (const char *c : {"S", "1", "!", " ", "mi", "m"})
        engine->type(c);
    EXPECT_EQ(engine->col(), 2);
    EXPECT_EQ(rowText(0), "sm");
    typeWord("ilex");
    EXPECT_EQ(engine->col(), 5);
    EXPECT_EQ(rowText(0), "smile"); // a sixth letter is ignored
    EXPECT_EQ(engine->rows()[0][4], WordleTile::typed("e"));
}

TEST_F(WordleTest, RefusalsShakeAndKeepTheRow)
{
    typeWord("smil");
    engine->submit();
    EXPECT_EQ(engine->message(), "Need 5 letters");
    EXPECT_TRUE(engine->shake());
    EXPECT_EQ(engine->col(), 4);
    scheduler->advance(279);
    EXPECT_TRUE(engine->shake());
    scheduler->advance(1);
    EXPECT_FALSE(engine->shake());

    engine->type("x");
    EXPECT_EQ(engine->message(), "Guess the word");
    engine->submit();
    EXPECT_EQ(engine->message(), "Not in word list");
    EXPECT_EQ(rowText(0), "smilx");
    EXPECT_EQ(engine->row(), 0);
    EXPECT_EQ(engine->played(), 0);

    // Delete keeps the refusal; the next letter brings the prompt back.
    engine->deleteLetter();
    EXPECT_EQ(engine->message(), "Not in word list");
    EXPECT_EQ(engine->col(), 4);
    engine->type("é");
    EXPECT_EQ(engine->message(), "Guess the word");
    EXPECT_EQ(engine->col(), 5);
    engine->submit();
    EXPECT_EQ(engine->message(), "Not in word list");
}

TEST_F(WordleTest, ASecondRefusalsShakeEndsWithTheFirstReset)
{
    engine->submit();
    scheduler->advance(200);
    engine->submit();
    EXPECT_TRUE(engine->shake());
    scheduler->advance(80); // the first reset
    EXPECT_FALSE(engine->shake());
    scheduler->advance(200);
    EXPECT_FALSE(engine->shake());
}

TEST_F(WordleTest, LettersThatJoinIntoFewerCharactersAreNotSubmitted)
{
    // Hangul jamo are letters, but a leading and a vowel jamo join into one
    // syllable.
    for (char16_t c : {u'\u1100', u'\u1161', u'\u1100', u'\u1161', u'\u1100'})
        engine->type(QString(QChar(c)));
    ASSERT_EQ(engine->col(), 5);
    engine->submit();
    EXPECT_EQ(engine->message(), "Guess the word");
    EXPECT_FALSE(engine->shake());
    EXPECT_FALSE(engine->isRevealing());
}

TEST_F(WordleTest, RevealTurnsATileEveryNinetyMilliseconds)
{
    engine->setAnswer("apple");
    typeWord("papal");
    engine->submit();
    EXPECT_TRUE(engine->isRevealing());
    engine->type("a"); // refused during the reveal
    engine->deleteLetter();
    for (int i = 0; i < 5; ++i) {
        scheduler->advance(89);
        EXPECT_EQ(engine->rows()[0][i].kind, WordleTile::Kind::letter) << i;
        scheduler->advance(1);
        EXPECT_EQ(engine->rows()[0][i].kind, WordleTile::Kind::marked) << i;
    }
    EXPECT_EQ(rowText(0), "papal");
    EXPECT_FALSE(engine->isRevealing());
    EXPECT_EQ(engine->row(), 1);
    EXPECT_EQ(engine->col(), 0);
    EXPECT_EQ(engine->keys().value("p"), C); // present, then correct
    EXPECT_EQ(engine->keys().value("a"), P);
    EXPECT_EQ(engine->keys().value("l"), P);
}

TEST_F(WordleTest, KeyMarksOnlyRise)
{
    engine->setAnswer("crane");
    guess("spelt"); // e present
    guess("boxer"); // e present, r present
    EXPECT_EQ(engine->keys().value("e"), P);
    guess("dregs"); // r present, e present
    guess("crude"); // c r correct, e correct
    EXPECT_EQ(engine->keys().value("e"), C);
    EXPECT_EQ(engine->keys().value("r"), C);
    EXPECT_EQ(engine->keys().value("s"), A);
    guess("there"); // e at 2 present... but never falls from correct
    EXPECT_EQ(engine->keys().value("e"), C);
    EXPECT_EQ(engine->keys().value("r"), C);

    // The same letter absent and correct in one guess ends correct.
    engine->newGame();
    engine->setAnswer("crane");
    guess("eerie");
    EXPECT_EQ(engine->keys().value("e"), C);
}

TEST_F(WordleTest, WinMessagesFollowTheRow)
{
    const char *expected[] = {"Nice.", "Sharp.", "Pavlet knows.", "Pavlet knows.", "Pavlet knows.",
                              "Pavlet knows."};
    for (int row = 0; row < 6; ++row) {
        engine->newGame();
        engine->setAnswer("smile");
        for (int i = 0; i < row; ++i)
            guess("crane");
        guess("smile");
        EXPECT_EQ(engine->phase(), WordlePhase::won) << row;
        EXPECT_EQ(engine->row(), row);
        EXPECT_EQ(engine->message(), expected[row]);
    }
    EXPECT_EQ(engine->won(), 6);
    EXPECT_EQ(engine->streak(), 6);
    EXPECT_EQ(engine->played(), 6);
    auto stored = reopenDefaults();
    EXPECT_EQ(stored->intValue("pavlet.wordleWon"), 6);
    EXPECT_EQ(stored->intValue("pavlet.wordleStreak"), 6);
}

TEST_F(WordleTest, SixMissesLoseAndEndTheStreak)
{
    defaults->setInt("pavlet.wordleStreak", 4);
    defaults->setInt("pavlet.wordlePlayed", 10);
    engine = std::make_unique<WordleEngine>(defaults.get(), &clock, scheduler.get(), &random);
    engine->setAnswer("smile");
    EXPECT_EQ(engine->streak(), 4);
    for (int i = 0; i < 6; ++i)
        guess("crane");
    EXPECT_EQ(engine->phase(), WordlePhase::lost);
    EXPECT_EQ(engine->message(), "SMILE");
    EXPECT_EQ(engine->streak(), 0);
    EXPECT_EQ(engine->played(), 11);
    EXPECT_EQ(engine->won(), 0);
    EXPECT_EQ(reopenDefaults()->intValue("pavlet.wordleStreak", -1), 0);

    // The finished board takes no more input.
    engine->type("a");
    engine->submit();
    EXPECT_EQ(engine->message(), "SMILE");

    engine->newGame();
    EXPECT_EQ(engine->phase(), WordlePhase::playing);
    EXPECT_EQ(engine->message(), "Guess the word");
    EXPECT_TRUE(engine->keys().isEmpty());
    EXPECT_EQ(engine->played(), 11);
    EXPECT_FALSE(WordleWords::blocked().contains(engine->answer()));
}

TEST_F(WordleTest, RefreshPromptOnlyOnAnUntouchedBoard)
{
    engine->submit();
    ASSERT_EQ(engine->message(), "Need 5 letters");
    engine->refreshPrompt();
    EXPECT_EQ(engine->message(), "Guess the word");

    typeWord("smi");
    engine->submit();
    engine->refreshPrompt();
    EXPECT_EQ(engine->message(), "Need 5 letters");
    EXPECT_EQ(rowText(0), "smi");
}
