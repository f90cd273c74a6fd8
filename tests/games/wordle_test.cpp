#include "core/random.h"
#include "games/wordleengine.h"
#include "games/wordlewords.h"
#include "support/pavlettest.h"

#include <QFile>
#include <QRegularExpression>

constexpr WordleMark C = WordleMark::correct, P = WordleMark::present, A = WordleMark::absent;

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
    Random random{3};
    std::unique_ptr<WordleEngine> engine;
};

} // namespace

TEST(WordleWordsTest, ListsHaveTheirSizesOrderAndForm)
{
    const QRegularExpression five(QStringLiteral("^[a-z]{5}$"));
    for (const QStringList *list : {&WordleWords::answers(), &WordleWords::allowed()}) {
        for (qsizetype i = 0; i < list->size(); ++i) {
            ASSERT_TRUE(five.match(list->at(i)).hasMatch());
            ASSERT_TRUE(i == 0 || list->at(i - 1) < list->at(i)); // sorted and distinct
        }
    }
    EXPECT_EQ(WordleWords::answers().size(), 2315);
    EXPECT_EQ(WordleWords::allowed().size(), 10657);
    EXPECT_EQ(WordleWords::valid().size(), 12972); // so the two are disjoint
    EXPECT_TRUE(WordleWords::answers().contains("smile"));
    EXPECT_EQ(WordleWords::blocked().size(), 9);
    for (const QString &w : WordleWords::blocked())
        EXPECT_TRUE(WordleWords::valid().contains(w)); // still a guess

    // Twelve words a line, indented by four spaces, no final line feed.
    QFile f(QStringLiteral(":/qt/qml/Pavlet/src/games/wordle-answers.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(f.readAll()).split('\n');
    EXPECT_EQ(lines.size(), 193);
    EXPECT_TRUE(lines.first().startsWith("    abaci aback "));
}

TEST(WordleWordsTest, AnswersAreWordsNotNumeralsAbbreviationsOrContractions)
{
    const QRegularExpression roman(QStringLiteral("^m{0,4}(cm|cd|d?c{0,3})(xc|xl|l?x{0,3})(ix|iv|v?i{0,3})$"));
    for (const QString &w : WordleWords::answers())
        EXPECT_FALSE(roman.match(w).hasMatch()) << w.toStdString();
    for (const char *w : {"xxxiv", "clxix", "xcvii", "assoc", "contd", "gotta", "wanna", "dunno", "gonna"}) {
        EXPECT_FALSE(WordleWords::answers().contains(QLatin1String(w))) << w;
        EXPECT_TRUE(WordleWords::allowed().contains(QLatin1String(w))) << w << " is still a guess";
    }
}

TEST(WordleWordsTest, RandomAnswersSkipBlockedWords)
{
    Random random(11);
    for (int i = 0; i < 2000; ++i)
        ASSERT_FALSE(WordleWords::blocked().contains(WordleWords::randomAnswer(random)));
    const QSet<QString> blocked{"bitch", "whore"};
    EXPECT_EQ(WordleWords::randomAnswer(random, {"bitch", "crane", "whore"}, blocked), "crane");
    EXPECT_EQ(WordleWords::randomAnswer(random, {"bitch", "whore"}, blocked), "smile");
}

TEST(WordleScoreTest, RepeatedLettersAreMarkedAsOftenAsTheAnswerHasThem)
{
    const struct {
        const char *answer, *guess;
        WordleEngine::Marks marks;
    } rows[] = {
        {"abbey", "bobby", {P, A, C, A, C}}, {"apple", "papal", {P, P, C, A, P}},
        {"smile", "crane", {A, A, A, A, C}}, {"eerie", "there", {A, A, P, P, C}},
        {"speed", "eerie", {P, P, A, A, A}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(WordleEngine::score(letters(row.guess), letters(row.answer)), row.marks) << row.guess;
}

TEST_F(WordleTest, TypingAndRefusals)
{
    for (const char *c : {"S", "1", "!", "mi", "m", "i", "l"})
        engine->type(c);
    EXPECT_EQ(engine->col(), 4);
    EXPECT_EQ(engine->rows()[0][0], WordleTile::typed("s"));
    engine->submit();
    EXPECT_EQ(engine->message(), "Need 5 letters");
    EXPECT_TRUE(engine->shake());
    engine->refreshPrompt(); // the board is touched: no effect
    EXPECT_EQ(engine->message(), "Need 5 letters");
    scheduler->advance(280);
    EXPECT_FALSE(engine->shake());

    typeWord("xy"); // a sixth letter is ignored
    EXPECT_EQ(engine->message(), "Guess the word");
    engine->submit();
    EXPECT_EQ(engine->message(), "Not in word list");
    engine->deleteLetter(); // keeps the refusal
    EXPECT_EQ(engine->message(), "Not in word list");
    engine->type("É"); // a letter outside a to z fills the row…
    EXPECT_EQ(engine->rows()[0][4], WordleTile::typed("é"));
    engine->submit(); // …and is refused
    EXPECT_EQ(engine->message(), "Not in word list");
    EXPECT_EQ(engine->row(), 0);
    EXPECT_EQ(engine->played(), 0);

    // A second refusal within 280 ms: the first reset ends its shake early.
    scheduler->advance(200);
    engine->submit();
    scheduler->advance(80);
    EXPECT_FALSE(engine->shake());
}

TEST_F(WordleTest, LettersThatJoinIntoFewerCharactersAreNotSubmitted)
{
    // Hangul jamo are letters, but a leading and a vowel jamo join into one syllable.
    for (char16_t c : {u'\u1100', u'\u1161', u'\u1100', u'\u1161', u'\u1100'})
        engine->type(QString(QChar(c)));
    ASSERT_EQ(engine->col(), 5);
    engine->submit();
    EXPECT_EQ(engine->message(), "Guess the word");
    EXPECT_FALSE(engine->shake() || engine->isRevealing());
}

TEST_F(WordleTest, RevealTurnsATileEveryNinetyMillisecondsAndKeysOnlyRise)
{
    engine->setAnswer("apple");
    typeWord("papal");
    engine->submit();
    engine->type("a"); // refused during the reveal
    for (int i = 0; i < 5; ++i) {
        scheduler->advance(89);
        EXPECT_EQ(engine->rows()[0][i].kind, WordleTile::Kind::letter) << i;
        scheduler->advance(1);
        EXPECT_EQ(engine->rows()[0][i].kind, WordleTile::Kind::marked) << i;
    }
    EXPECT_EQ(engine->row(), 1);
    EXPECT_EQ(engine->col(), 0);
    EXPECT_EQ(engine->keys().value("p"), C); // present, then correct
    EXPECT_EQ(engine->keys().value("l"), P);

    guess("lapel"); // p present here: its key stays correct
    EXPECT_EQ(engine->keys().value("p"), C);
    guess("apply");
    EXPECT_EQ(engine->keys().value("l"), C);
    EXPECT_EQ(engine->keys().value("p"), C);
}

TEST_F(WordleTest, WinsByRowAndLosses)
{
    const char *expected[] = {"Nice.", "Sharp.", "Pavlet knows.", "Pavlet knows.", "Pavlet knows.", "Pavlet knows."};
    for (int row = 0; row < 6; ++row) {
        engine->newGame();
        engine->setAnswer("smile");
        for (int i = 0; i < row; ++i)
            guess("crane");
        guess("smile");
        EXPECT_EQ(engine->phase(), WordlePhase::won) << row;
        EXPECT_EQ(engine->message(), expected[row]);
    }
    EXPECT_EQ(engine->streak(), 6);

    engine->newGame();
    engine->setAnswer("smile");
    for (int i = 0; i < 6; ++i)
        guess("crane");
    EXPECT_EQ(engine->phase(), WordlePhase::lost);
    EXPECT_EQ(engine->message(), "SMILE");
    engine->type("a"); // a finished board takes no input
    EXPECT_EQ(engine->col(), 5);

    auto stored = reopenDefaults();
    EXPECT_EQ(stored->intValue("pavlet.wordlePlayed"), 7);
    EXPECT_EQ(stored->intValue("pavlet.wordleWon"), 6);
    EXPECT_EQ(stored->intValue("pavlet.wordleStreak", -1), 0);
    engine->newGame();
    EXPECT_TRUE(engine->keys().isEmpty());
    EXPECT_EQ(WordleEngine(defaults.get(), &clock, scheduler.get(), &random).won(), 6);
}
