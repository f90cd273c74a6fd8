#include "fakes/fakeapplauncher.h"
#include "fakes/fakeclipboard.h"
#include "fakes/fakedisplaysleep.h"
#include "fakes/fakescreengrabber.h"
#include "services/clipboardstore.h"
#include "services/keepawake.h"
#include "services/systemactions.h"
#include "support/pavlettest.h"

#include <QCoreApplication>
#include <QPersistentModelIndex>
#include <QSignalSpy>

namespace {

QStringList texts(const ClipboardHistory &h)
{
    QStringList out;
    for (const auto &item : h.items)
        out << item.text;
    return out;
}

TEST(ClipboardHistoryTest, KeepsFiveDistinctTextsNewestFirstAndReusesIds)
{
    ClipboardHistory history;
    history.add("a");
    history.add("b");
    const QUuid idOfA = history.items[1].id;
    history.add("a");
    EXPECT_EQ(texts(history), (QStringList{"a", "b"}));
    EXPECT_EQ(history.items[0].id, idOfA);

    for (const char *t : {"c", "d", "e", "f"})
        history.add(t);
    EXPECT_EQ(texts(history), (QStringList{"f", "e", "d", "c", "a"}));
}

TEST(ClipboardHistoryTest, PreviewIsOneLineCutAt52Characters)
{
    const QString line52(52, QChar('x'));
    EXPECT_EQ(ClipboardItem::makePreview(line52), line52);
    EXPECT_EQ(ClipboardItem::makePreview(line52 + "y"), line52 + "…");
    const QString twoLines = QString(30, QChar('a')) + "\n" + QString(29, QChar('b'));
    EXPECT_EQ(ClipboardItem::makePreview(twoLines), QString(30, QChar('a')) + " " + QString(21, QChar('b')) + "…");
    // Characters as the user sees them: a flag is one, not four code units.
    const QString flags = QString("🇫🇷").repeated(53);
    EXPECT_EQ(ClipboardItem::makePreview(flags), QString("🇫🇷").repeated(52) + "…");
}

TEST(ClipboardStoreTest, PollsOnlyOnChangeAndSkipsEmptyAndSecretText)
{
    FakeClipboard clipboard;
    ClipboardStore store(&clipboard);
    // Kept as copied; only the preview is trimmed.
    clipboard.copy(QString("  hello world \n"));
    EXPECT_EQ(texts(store.poll()), QStringList{"  hello world \n"});
    EXPECT_EQ(store.history().items.value(0).preview, "hello world");
    EXPECT_EQ(clipboard.textReads, 1);
    store.poll();
    EXPECT_EQ(clipboard.textReads, 1) << "same change count, no read";

    clipboard.copy(QString("   "));
    clipboard.copy(std::nullopt);
    clipboard.copy(QString(" Bearer abc.def\n"));
    store.poll();
    clipboard.copy(QString("second"));
    store.poll();
    clipboard.copy(QString("  hello world \n"));
    EXPECT_EQ(texts(store.poll()), (QStringList{"  hello world \n", "second"}));
    // A text too long to read is said as such until the island copies.
    clipboard.tooLarge = true;
    clipboard.copy(std::nullopt);
    EXPECT_TRUE(store.poll().newestTooLarge);
    EXPECT_FALSE(store.copyBack("mine").newestTooLarge);
}

TEST(ClipboardStoreTest, TheListModelFollowsTheHistoryRowByRow)
{
    FakeClipboard clipboard;
    ClipboardStore store(&clipboard);
    ClipboardItemsModel *model = store.itemsModel();
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    for (const char *text : {"one", "two", "three"}) {
        clipboard.copy(QString(text));
        store.poll();
    }
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->index(0).data(ClipboardItem::TextRole).toString(), "three");
    const QPersistentModelIndex one(model->index(2));
    const QUuid oneId = one.data(ClipboardItem::IdRole).toUuid();

    // Copying a text again brings its row to the front, same row, same id.
    clipboard.copy(QString("one"));
    store.poll();
    EXPECT_EQ(one.row(), 0);
    EXPECT_EQ(model->index(0).data(ClipboardItem::IdRole).toUuid(), oneId);
    EXPECT_EQ(resets.count(), 0);
}

TEST(ClipboardStoreTest, LooksSecret)
{
    const std::pair<QString, bool> cases[] = {
        {"Bearer eyJhbGciOi", true},
        {"my CANVAS access Token is here", true},
        {"SK-live-1234", true},
        {"xoxb-1234-abcd", true},
        {"ghp_abc", true},
        {"abcdefghij-ABCDEFGHIJ.0123456789_abcdefghij", true},
        {"Tr0ub4dorXyzzy12", true},
        {"bearer lower case is fine", false},
        {"abcdef0123456789", false},
        {"this sentence has forty characters in it", false},
        {"Tr0ub4dorXyzz", false},
        {"xoxz-not-a-slack-token", false},
        {"Hello World 2024!", false},
        {"  ", false},
    };
    for (const auto &[text, secret] : cases)
        EXPECT_EQ(ClipboardStore::looksSecret(text), secret) << text.toStdString();
    // Megabytes are read no further than a secret reaches: a long run of
    // letters is kept, with a preview of its start.
    const QString run(3 * 1024 * 1024, QChar('a'));
    EXPECT_FALSE(ClipboardStore::looksSecret(run + " canvas token"));
    EXPECT_TRUE(ClipboardStore::looksSecret("Bearer " + run));
    EXPECT_EQ(ClipboardItem::makePreview(run), QString(52, QChar('a')) + "…");
}

TEST(KeepAwakeTest, TogglesAnInhibitionAndStaysOffOnFailure)
{
    FakeDisplaySleepInhibitor inhibitor;
    KeepAwake awake(&inhibitor);
    QSignalSpy changed(&awake, &KeepAwake::isOnChanged);
    awake.toggle();
    EXPECT_TRUE(awake.isOn());
    EXPECT_EQ(awake.assertionID(), 7u);
    EXPECT_EQ(inhibitor.reasons, QList<QString>{"Pavlet keep awake"});
    awake.toggle();
    EXPECT_FALSE(awake.isOn());
    EXPECT_EQ(awake.assertionID(), 0u);
    EXPECT_EQ(inhibitor.released, QList<quint32>{7});
    EXPECT_EQ(changed.count(), 2);

    inhibitor.fail = true;
    awake.toggle();
    EXPECT_FALSE(awake.isOn());
    EXPECT_EQ(changed.count(), 2);
}

TEST(KeepAwakeTest, TurnsOnOnlyOnceTheInhibitionIsGranted)
{
    FakeDisplaySleepInhibitor inhibitor;
    inhibitor.hold = true; // the desktop answers later
    KeepAwake awake(&inhibitor);
    awake.toggle();
    EXPECT_FALSE(awake.isOn());
    inhibitor.answerHeld();
    EXPECT_TRUE(awake.isOn());
    awake.toggle();

    // Turned off again before the answer: the late cookie is handed back.
    awake.toggle();
    awake.toggle();
    inhibitor.answerHeld();
    EXPECT_FALSE(awake.isOn());
    EXPECT_EQ(inhibitor.released, (QList<quint32>{7, 7}));
    EXPECT_EQ(inhibitor.reasons.size(), 2) << "one request while asking";
}

TEST(KeepAwakeTest, ReleasesTheInhibitionWhenDestroyedAndAtQuit)
{
    FakeDisplaySleepInhibitor inhibitor;
    {
        KeepAwake awake(&inhibitor);
        awake.toggle();
    }
    EXPECT_EQ(inhibitor.released, QList<quint32>{7});

    inhibitor.nextCookie = 8;
    KeepAwake awake(&inhibitor);
    awake.toggle();
    ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection));
    EXPECT_FALSE(awake.isOn());
    EXPECT_EQ(inhibitor.released, (QList<quint32>{7, 8}));
}

TEST(SystemActionsTest, PasswordsUseTheUnambiguousAlphabet)
{
    EXPECT_EQ(PasswordAlphabet.size(), 57);
    QSet<QChar> seen;
    for (int i = 0; i < 200; ++i) {
        const QString password = generatePassword();
        ASSERT_EQ(password.size(), 16);
        for (QChar c : password) {
            ASSERT_TRUE(PasswordAlphabet.contains(c)) << password.toStdString();
            seen.insert(c);
        }
    }
    EXPECT_GT(seen.size(), 50);
}

TEST(SystemActionsTest, QuoteFollowsTheDayOfTheYear)
{
    FakeClock clock;
    clock.setNow(QDateTime(QDate(2026, 1, 1), QTime(12, 0)));
    EXPECT_EQ(quoteOfTheDay(&clock), "Protect the next hour.");
    clock.setNow(QDateTime(QDate(2026, 1, 12), QTime(0, 0, 1)));
    EXPECT_EQ(quoteOfTheDay(&clock), "Small steps still move you.");
    clock.setNow(QDateTime(QDate(2026, 1, 11), QTime(23, 59, 59)));
    EXPECT_EQ(quoteOfTheDay(&clock), "Keep the promises you make to yourself.");
}

TEST(SystemActionsTest, FindMyFallsBackToItsAddressAndScreenshotsGoToTheClipboard)
{
    FakeAppLauncher launcher;
    openFindMy(&launcher);
    EXPECT_EQ(launcher.urls, QList<QUrl>{QUrl("findmy://")});
    launcher.installed.insert("com.apple.findmy");
    openFindMy(&launcher);
    EXPECT_EQ(launcher.opened, QList<QString>{"com.apple.findmy"});
    EXPECT_EQ(launcher.urls.size(), 1);

    FakeScreenGrabber grabber;
    FakeClipboard clipboard;
    takeScreenshotToClipboard(&grabber, &clipboard);
    EXPECT_EQ(clipboard.count, 0) << "nothing grabbed, clipboard untouched";
    grabber.image = QImage(4, 3, QImage::Format_RGB32);
    takeScreenshotToClipboard(&grabber, &clipboard);
    EXPECT_EQ(clipboard.image.size(), QSize(4, 3));
}

} // namespace
