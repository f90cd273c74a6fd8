#include "fakes/fakeclock.h"
#include "fakes/fakefilerevealer.h"
#include "fakes/faketools.h"
#include "media/voicememoengine.h"
#include "platform/linux/qprocessrunner.h"
#include "platform/linux/linuxpermissionbackend.h"
#include "platform/linux/qtcamera.h"
#include "support/pavlettest.h"

#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Mp3ExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        QDir().mkpath(memos());
    }
    QString memos() const { return tmp.filePath("Memos"); }
    QString downloads() const { return tmp.filePath("Downloads"); }

    // A short real recording made by ffmpeg itself.
    void makeRecording(const QString &name, double seconds)
    {
        const int code = QProcess::execute(
            QStringLiteral("ffmpeg"),
            {"-v", "error", "-y", "-f", "lavfi", "-i", QStringLiteral("sine=frequency=440:duration=%1").arg(seconds),
             "-ac", "1", "-ar", "44100", "-c:a", "aac", QDir(memos()).filePath(name)});
        ASSERT_EQ(code, 0);
    }
    QString script(const QString &name, const QString &body)
    {
        const QString path = tmp.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(("#!/bin/sh\n" + body).toUtf8());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    std::unique_ptr<VoiceMemoEngine> engine(Mp3Exporter &exporter)
    {
        return std::make_unique<VoiceMemoEngine>(recorder, player, exporter, revealer, clock, scheduler, memos());
    }
    bool waitForExport(const VoiceMemoEngine &e)
    {
        return waitUntil([&] { return e.exportingID().isEmpty(); }, 60000);
    }

    QTemporaryDir tmp;
    FakeClock clock;
    FakeScheduler scheduler{clock};
    FakeMicRecorder recorder;
    FakeAudioPlayer player;
    FakeFileRevealer revealer;
    platform::QProcessRunner runner;
    // Only the test's own folder: the machine's ffmpeg is not found.
    platform::PathToolLocator ownTools{{tmp.path()}, {tmp.filePath("nowhere")}};
};

} // namespace

TEST_F(Mp3ExportTest, RealFfmpegConvertsARealRecording)
{
    makeRecording("Dec 6, 4:14 PM.m4a", 2.0);
    platform::PathToolLocator tools;
    Mp3Exporter exporter(tools, runner, downloads());
    ASSERT_FALSE(exporter.ffmpegPath().isEmpty()) << "Debian's ffmpeg is installed";
    auto e = engine(exporter);
    ASSERT_EQ(e->memos().size(), 1);
    const VoiceMemo memo = e->memos().first();
    EXPECT_NEAR(memo.duration, 2.0, 0.05) << "read from the file's own header";

    e->exportMP3(memo);
    ASSERT_TRUE(waitForExport(*e));
    EXPECT_EQ(e->status(), "Saved to Downloads");
    const QString out = QDir(downloads()).filePath("Dec 6, 4-14 PM.mp3");
    ASSERT_EQ(revealer.revealed, QStringList{out});
    QFile mp3(out);
    ASSERT_TRUE(mp3.open(QIODevice::ReadOnly));
    const QByteArray head = mp3.read(3);
    EXPECT_TRUE(head == "ID3" || (quint8(head[0]) == 0xff && (quint8(head[1]) & 0xe0) == 0xe0)) << head.toHex().data();
}

TEST_F(Mp3ExportTest, AFfmpegWithoutTheEncoderGetsASecondTry)
{
    makeRecording("a.m4a", 0.5);
    // Fails (leaving a partial file) when asked for libmp3lame; writes the
    // output otherwise.
    const QString tool = script("ffmpeg", R"(
for last; do :; done
case "$*" in
  *libmp3lame*) echo partial > "$last"; exit 1 ;;
  *) echo mp3 > "$last"; echo "$*" > "$0.second"; exit 0 ;;
esac
)");
    ASSERT_EQ(ownTools.find("ffmpeg"), tool);
    Mp3Exporter exporter(ownTools, runner, downloads());
    auto e = engine(exporter);
    e->exportMP3(e->memos().first());
    ASSERT_TRUE(waitForExport(*e));
    EXPECT_EQ(e->status(), "Saved to Downloads");
    QFile out(QDir(downloads()).filePath("a.mp3"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), "mp3\n");
    QFile second(tool + ".second");
    ASSERT_TRUE(second.open(QIODevice::ReadOnly));
    EXPECT_EQ(second.readAll().trimmed(),
              QStringLiteral("-y -i %1 %2").arg(e->memos().first().url.toLocalFile(), out.fileName()).toUtf8());
}

TEST_F(Mp3ExportTest, AHungFfmpegIsStoppedAtItsLimit)
{
    makeRecording("a.m4a", 0.5);
    const QString tool = script("ffmpeg", "exec sleep 60\n");
    ASSERT_EQ(ownTools.find("ffmpeg"), tool);
    Mp3Exporter exporter(ownTools, runner, downloads(), 300);
    auto e = engine(exporter);
    e->exportMP3(e->memos().first());
    ASSERT_TRUE(waitUntil([&] { return e->exportingID().isEmpty(); }, 10000));
    EXPECT_EQ(e->status(), "Couldn't write MP3");
    EXPECT_TRUE(QDir(downloads()).entryList(QDir::Files).isEmpty());
    e->exportMP3(e->memos().first());
    EXPECT_EQ(e->exportingID(), "a.m4a") << "later exports are not blocked";
    ASSERT_TRUE(waitUntil([&] { return e->exportingID().isEmpty(); }, 10000));
}

TEST(CameraAccess, DeviceNodes)
{
    QTemporaryDir dir;
    const QString openable = dir.filePath("video0");
    QFile f(openable);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    // A folder in place of a node cannot be opened for reading and writing.
    EXPECT_EQ(platform::QtCamera::accessFromNodes({}), platform::ICamera::Access::NoDevice);
    EXPECT_EQ(platform::QtCamera::accessFromNodes({dir.path()}), platform::ICamera::Access::Refused);
    EXPECT_EQ(platform::QtCamera::accessFromNodes({dir.path(), openable}), platform::ICamera::Access::Granted);

    // What the capture lists decides: a camera only the media server offers
    // is one; a node that is no camera is none.
    EXPECT_EQ(platform::QtCamera::accessFrom(1, {}), platform::ICamera::Access::Granted);
    EXPECT_EQ(platform::QtCamera::accessFrom(0, {openable}), platform::ICamera::Access::NoDevice);
    EXPECT_EQ(platform::QtCamera::accessFrom(0, {dir.path()}), platform::ICamera::Access::Refused);
}

// Setting Qt Multimedia up and listing the cameras happen on the camera's
// thread: start() returns at once, and the answer and the permission follow
// the same list.
TEST(CameraAccess, StartAnswersLaterFromTheSameListThePermissionReads)
{
    QTemporaryDir data, dev;
    platform::QtCamera camera;
    platform::LinuxPermissionBackend permission(data.path(), dev.path());
    permission.setCamera(&camera);
    QSignalSpy active(&camera, &platform::ICamera::activeChanged), unavailable(&camera, &platform::ICamera::unavailable),
        failed(&camera, &platform::ICamera::failed);
    QElapsedTimer took;
    took.start();
    camera.start();
    EXPECT_LT(took.elapsed(), 100);
    ASSERT_TRUE(waitUntil([&] { return active.count() + unavailable.count() + failed.count() > 0; }, 30000));
    ASSERT_TRUE(camera.knownCameraCount());
    const bool listed = *camera.knownCameraCount() > 0;
    EXPECT_EQ(permission.cameraAccess() == platform::IPermissionBackend::CaptureAccess::Authorized, listed);
    std::optional<bool> granted;
    permission.requestCameraAccess([&](bool g) { granted = g; });
    ASSERT_TRUE(waitUntil([&] { return granted.has_value(); }, 30000));
    EXPECT_EQ(*granted, listed);
    camera.stop();
}
