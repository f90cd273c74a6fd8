#include "fakes/faketools.h"
#include "support/pavlettest.h"
#include "support/qtprinters.h"
#include "tools/mediadownloadengine.h"
#include "tools/zipengine.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QSignalSpy>

namespace {

class ZipEngineTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        // 15:07:45 local time.
        clock.setNow(QDateTime(QDate(2026, 1, 5), QTime(15, 7, 45)));
    }
    std::unique_ptr<ZipEngine> make()
    {
        return std::make_unique<ZipEngine>(&zipper, &picker, &clock, tmp.path(), QLocale(QLocale::English, QLocale::UnitedStates));
    }
    FakeZipper zipper;
    FakeFilePicker picker;
};

TEST_F(ZipEngineTest, ZipsOnlyFileAddressesAndReportsTheSavedName)
{
    auto engine = make();
    engine->zip({QUrl("https://example.com/a"), QUrl::fromLocalFile("/data/one"), QUrl::fromLocalFile("/data/two.txt")});
    ASSERT_EQ(zipper.runs.size(), 1);
    EXPECT_EQ(zipper.runs[0].inputs, (QList<QByteArray>{"/data/one", "/data/two.txt"}));
    EXPECT_EQ(zipper.runs[0].archivePath,
              tmp.filePath(ZipEngine::archiveName(clock.now(), QLocale(QLocale::English, QLocale::UnitedStates))));
    EXPECT_TRUE(engine->running());
    EXPECT_EQ(engine->status(), "Compressing\u2026");
    zipper.finish(0, 0);
    EXPECT_FALSE(engine->running());
    EXPECT_EQ(engine->status(), "Saved " + ZipEngine::archiveName(clock.now(), QLocale(QLocale::English, QLocale::UnitedStates)));

    engine->zip({QUrl::fromLocalFile("/data/one")});
    zipper.finish(1, 3);
    EXPECT_EQ(engine->status(), "Couldn't compress");
}

TEST_F(ZipEngineTest, NamesTheArchiveAfterTheTimeOfDay)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    // Hour, minute, second and the AM/PM marker; no time zone.
    QString name = ZipEngine::archiveName(QDateTime(QDate(2026, 1, 5), QTime(15, 7, 45)), us);
    name.replace(u'\u202F', u' ');
    EXPECT_EQ(name, "Pavlet 3:07:45 PM.zip");
    EXPECT_EQ(ZipEngine::timeText(QDateTime(QDate(2026, 1, 5), QTime(9, 5, 1)), QLocale(QLocale::German)), "09:05:01");
}

TEST_F(ZipEngineTest, NothingToZipLeavesRunningAlone)
{
    auto engine = make();
    QSignalSpy running(engine.get(), &ZipEngine::runningChanged);
    engine->zip({});
    EXPECT_EQ(engine->status(), "Nothing to zip");
    engine->zip({QUrl("https://example.com/x")});
    EXPECT_EQ(engine->status(), "Nothing to zip");
    EXPECT_EQ(running.count(), 0);
    EXPECT_TRUE(zipper.runs.isEmpty());
}

TEST_F(ZipEngineTest, ArchivesOfTheSameSecondNeverShareAFile)
{
    auto engine = make();
    const QString name = ZipEngine::archiveName(clock.now(), QLocale(QLocale::English, QLocale::UnitedStates));
    QFile existing(tmp.filePath(name));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();

    engine->zip({QUrl::fromLocalFile("/a")});
    engine->zip({QUrl::fromLocalFile("/b")});
    ASSERT_EQ(zipper.runs.size(), 2);
    const QString base = tmp.filePath(name.chopped(4));
    EXPECT_EQ(zipper.runs[0].archivePath, base + " 2.zip");
    EXPECT_EQ(zipper.runs[1].archivePath, base + " 3.zip");

    // Overlapping runs: busy until the last one ends.
    zipper.finish(0, 0);
    EXPECT_TRUE(engine->running());
    EXPECT_EQ(engine->status(), "Saved " + name.chopped(4) + " 2.zip");
    zipper.finish(1, 0);
    EXPECT_FALSE(engine->running());
    EXPECT_EQ(engine->status(), "Saved " + name.chopped(4) + " 3.zip");
}

TEST_F(ZipEngineTest, PickZipsTheChoiceAndCancelChangesNothing)
{
    auto engine = make();
    engine->pick();
    EXPECT_EQ(picker.lastLabel, "Zip");
    picker.close(std::nullopt);
    EXPECT_EQ(engine->status(), "Drop files to zip, or pick them");
    EXPECT_TRUE(zipper.runs.isEmpty());
    engine->pick();
    EXPECT_TRUE(zipper.runs.isEmpty()) << "nothing happens until the dialog closes";
    picker.close(QList<QUrl>{QUrl::fromLocalFile("/x"), QUrl::fromLocalFile("/y")});
    ASSERT_EQ(zipper.runs.size(), 1);
    EXPECT_EQ(zipper.runs[0].inputs, (QList<QByteArray>{"/x", "/y"}));
}

// What becomes of a pick whose card goes while the dialog is up: the island
// is held open exactly as long as the dialog, and the answer reaches an
// engine only while it exists.
TEST_F(ZipEngineTest, ADialogOutlivingItsCardNeverCallsIntoAGoneEngine)
{
    enum class Gone { nothing, card, engine };
    for (const Gone gone : {Gone::nothing, Gone::card, Gone::engine}) {
        SCOPED_TRACE(int(gone));
        zipper.runs.clear();
        std::weak_ptr<void> held;
        auto card = std::make_unique<QObject>();
        auto engine = make();
        QPointer<ZipEngine> watch(engine.get());
        engine->setOwner(card.get());
        engine->setHoldOpen([&held] {
            auto token = std::make_shared<int>(0);
            held = token;
            return token;
        });
        engine->pick();
        EXPECT_FALSE(held.expired()) << "the island stays open while the dialog is up";
        if (gone == Gone::card) {
            card.reset();
            // The engine now belongs to nobody and lives on for its dialog.
            engine.release();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            ASSERT_TRUE(watch);
        } else if (gone == Gone::engine) {
            engine.reset();
        }
        picker.close(QList<QUrl>{QUrl::fromLocalFile("/picked")});
        EXPECT_TRUE(held.expired()) << "the hold ends with the dialog";
        EXPECT_EQ(zipper.runs.size(), gone == Gone::engine ? 0 : 1);
        if (!zipper.runs.isEmpty()) {
            zipper.finish(0, 0);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_EQ(bool(watch), gone == Gone::nothing) << "a card's last run takes its engine with it";
        }
    }
}

TEST_F(ZipEngineTest, WithoutADownloadsFolderTheStatusSaysWhy)
{
    auto engine = std::make_unique<ZipEngine>(&zipper, &picker, &clock, tempPath("no such folder"));
    QSignalSpy running(engine.get(), &ZipEngine::runningChanged);
    engine->zip({QUrl::fromLocalFile("/a")});
    EXPECT_EQ(engine->status(), "Couldn't compress: no Downloads folder");
    EXPECT_TRUE(zipper.runs.isEmpty());
    EXPECT_EQ(running.count(), 0);
}

TEST_F(ZipEngineTest, ARunOutlivingItsEngineReportsToNobody)
{
    auto engine = make();
    engine->zip({QUrl::fromLocalFile("/a")});
    engine.reset();
    zipper.finish(0, 0);
}

// ---- Media download ----

using Kind = MediaDownloadEngine::Kind;
using Format = MediaDownloadEngine::Format;

struct LinkCase {
    Kind kind;
    const char *text;
    const char *link; // nullptr: refused
};

class NormalizedLinkTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(NormalizedLinkTest, AcceptsOnlyHttpsLinksOfTheKindsHosts)
{
    const LinkCase c = GetParam();
    const auto link = MediaDownloadEngine::normalizedLink(QString::fromUtf8(c.text), c.kind);
    if (c.link)
        EXPECT_EQ(link, QString::fromUtf8(c.link)) << c.text;
    else
        EXPECT_EQ(link, std::nullopt) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, NormalizedLinkTest,
    ::testing::Values(
        LinkCase{Kind::youtube, "  https://www.youtube.com/watch?v=abc123&t=5 \n",
                 "https://www.youtube.com/watch?v=abc123&t=5"},
        LinkCase{Kind::youtube, "https://youtu.be/abc", "https://youtu.be/abc"},
        LinkCase{Kind::youtube, "HTTPS://m.youtube.com/watch?v=1", "https://m.youtube.com/watch?v=1"},
        LinkCase{Kind::youtube, "http://www.youtube.com/watch?v=abc", nullptr},
        LinkCase{Kind::youtube, "https://evil.youtube.com/watch?v=abc", nullptr},
        LinkCase{Kind::youtube, "https://youtube.com.evil.com/x", nullptr},
        LinkCase{Kind::youtube, "https://open.spotify.com/track/1", nullptr},
        LinkCase{Kind::youtube, "-o /tmp/x https://youtu.be/a", nullptr},
        LinkCase{Kind::youtube, "https://youtu.be/a b", nullptr},
        LinkCase{Kind::youtube, "https://youtu.be/a\u2028b", nullptr},
        LinkCase{Kind::youtube, "spotify:track:abc", nullptr}, LinkCase{Kind::youtube, "", nullptr},
        LinkCase{Kind::spotify, "Spotify:TRACK:AbC123", "spotify:track:AbC123"},
        LinkCase{Kind::spotify, "spotify:show:5", "spotify:show:5"},
        LinkCase{Kind::spotify, "spotify:track:", nullptr}, LinkCase{Kind::spotify, "spotify:artist:abc", nullptr},
        LinkCase{Kind::spotify, "spotify:track:a:b", nullptr}, LinkCase{Kind::spotify, "spotify:track:ab-c", nullptr},
        LinkCase{Kind::spotify, "spotify:track", nullptr},
        LinkCase{Kind::spotify, "https://open.spotify.com/track/xyz?si=1", "https://open.spotify.com/track/xyz?si=1"},
        LinkCase{Kind::spotify, "https://www.youtube.com/watch?v=1", nullptr}));

TEST(MediaDownloadTest, FailureTextKeepsTheLastTwoLinesCutTo140Characters)
{
    EXPECT_EQ(MediaDownloadEngine::failureText("one\n\ntwo\nthree\n\n"), "two three");
    EXPECT_EQ(MediaDownloadEngine::failureText("only"), "only");
    EXPECT_EQ(MediaDownloadEngine::failureText("\n\n"), "Download failed");
    EXPECT_EQ(MediaDownloadEngine::failureText(QString(200, u'x')), QString(140, u'x'));
    // A character made of several code points is never split.
    QString flags;
    for (int i = 0; i < 150; ++i)
        flags += QString::fromUtf8("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA");
    EXPECT_EQ(MediaDownloadEngine::failureText(flags).size(), 140 * 4);
}

class MediaDownloadEngineTest : public ::testing::Test {
protected:
    std::unique_ptr<MediaDownloadEngine> make(Kind kind)
    {
        return std::make_unique<MediaDownloadEngine>(kind, &tools, &runner, "/home/u/Downloads");
    }
    FakeToolLocator tools;
    FakeProcessRunner runner;
};

TEST_F(MediaDownloadEngineTest, ChecksTheFieldTheLinkAndTheToolsInOrder)
{
    auto engine = make(Kind::youtube);
    EXPECT_EQ(engine->status(), "YouTube links only. You own the rights. Needs yt-dlp.");
    engine->start(Format::mp4);
    EXPECT_EQ(engine->status(), "Paste a link first");
    engine->setUrlText("ftp://youtu.be/a");
    engine->start(Format::mp4);
    EXPECT_EQ(engine->status(), "Paste an https YouTube link");
    engine->setUrlText("https://youtu.be/a");
    engine->start(Format::mp4);
    EXPECT_EQ(engine->status(), "Install yt-dlp with apt, then try again");
    tools.tools["yt-dlp"] = "/usr/bin/yt-dlp";
    engine->start(Format::mp3);
    EXPECT_EQ(engine->status(), "Install ffmpeg too (apt install ffmpeg)");
    engine->start(Format::mov);
    EXPECT_EQ(engine->status(), "Install ffmpeg too (apt install ffmpeg)");
    EXPECT_TRUE(runner.runs.isEmpty());
    EXPECT_FALSE(engine->running());

    // MP4 needs no ffmpeg.
    engine->start(Format::mp4);
    ASSERT_EQ(runner.runs.size(), 1);
    EXPECT_EQ(runner.runs[0].program, "/usr/bin/yt-dlp");
    EXPECT_EQ(runner.runs[0].arguments,
              (QStringList{"-f", "bv*[ext=mp4]+ba[ext=m4a]/b[ext=mp4]/b", "--merge-output-format", "mp4", "-o",
                           "/home/u/Downloads/%(title)s.%(ext)s", "https://youtu.be/a"}));
    EXPECT_TRUE(engine->running());
    EXPECT_EQ(engine->status(), "Downloading MP4\u2026");
    runner.finish(0, 0, "lots of progress\n");
    EXPECT_FALSE(engine->running());
    EXPECT_EQ(engine->status(), "Saved MP4 to Downloads");
    EXPECT_EQ(engine->urlText(), "https://youtu.be/a");
}

TEST_F(MediaDownloadEngineTest, BuildsEachFormatsArgumentsAndReportsFailures)
{
    tools.tools = {{"yt-dlp", "/y"}, {"ffmpeg", "/f"}};
    auto engine = make(Kind::youtube);
    engine->setUrlText("https://www.youtube.com/watch?v=1");
    engine->start(Format::mov);
    EXPECT_EQ(runner.runs[0].arguments,
              (QStringList{"-f", "bv*[vcodec^=avc]+ba[acodec^=mp4a]/bv*[ext=mp4]+ba[ext=m4a]/bv*+ba/b",
                           "--merge-output-format", "mov", "--remux-video", "mov", "-o",
                           "/home/u/Downloads/%(title)s.%(ext)s", "https://www.youtube.com/watch?v=1"}));
    runner.finish(0, 1, "[youtube] 1: Downloading\nERROR: Video unavailable\n");
    EXPECT_EQ(engine->status(), "[youtube] 1: Downloading ERROR: Video unavailable");
    engine->start(Format::mp3);
    EXPECT_EQ(runner.runs[1].arguments.mid(0, 3), (QStringList{"-x", "--audio-format", "mp3"}));
    runner.finish(1, 2, "");
    EXPECT_EQ(engine->status(), "Download failed");

    // The music kind offers MP3 only; MOV there changes nothing.
    auto spotify = make(Kind::spotify);
    spotify->setUrlText("spotify:track:abc");
    const QString before = spotify->status();
    spotify->start(Format::mov);
    EXPECT_EQ(spotify->status(), before);
    EXPECT_EQ(runner.runs.size(), 2);
    EXPECT_EQ(MediaDownloadEngine::formatFromRaw("mp3"), Format::mp3);
    EXPECT_EQ(MediaDownloadEngine::formatFromRaw("MP3"), std::nullopt);
}

} // namespace
