#include "support/islandtest.h"

#include "media/artworkloader.h"
#include "media/mirrorcamera.h"
#include "media/voicememoengine.h"
#include "services/eyestrainguard.h"
#include "services/timerstore.h"


class MediaTest : public IslandTest {
protected:
    void SetUp() override
    {
        IslandTest::SetUp();
        make();
    }
    void play(const QString &title, const QString &artist, qint64 positionUs = 0,
              const QString &status = QStringLiteral("Playing"))
    {
        auto player = FakeMediaPlayers::player(QStringLiteral("vlc"), title, status, artist);
        player.positionUs = positionUs;
        fakes->players.set(player);
    }
};

TEST_F(MediaTest, PlayPauseAnswersAtOnceAndLooksAgainTwice)
{
    play(QStringLiteral("Song"), QStringLiteral("Band"), 190'000'000);
    // Pressed on the open island, whose ticks read the load: they are
    // counted by it.
    model->setState(NotchState::home);
    model->tick();
    ASSERT_TRUE(model->nowPlaying().isPlaying);
    ASSERT_DOUBLE_EQ(model->nowPlaying().duration, 200);
    clock.advanceMs(30000);

    model->togglePlayPause();
    EXPECT_FALSE(model->nowPlaying().isPlaying);
    EXPECT_DOUBLE_EQ(model->nowPlaying().elapsed, 200);
    EXPECT_EQ(model->nowPlaying().sampledAt, clock.now());
    EXPECT_EQ(fakes->players.commands.size(), 1);

    QSignalSpy system(model.get(), &NotchViewModel::systemChanged);
    fakes->load.uptime = 3600;
    advance(279);
    EXPECT_EQ(system.count(), 0);
    advance(1);
    EXPECT_EQ(system.count(), 1); // a tick
    fakes->load.uptime = 7200;
    advance(700);
    EXPECT_EQ(system.count(), 2);
}

// Next and previous each look at the player again after 280 ms and after
// 1080 ms.
TEST_F(MediaTest, SkipsLookAgainTwice)
{
    play(QStringLiteral("Song"), QStringLiteral("Band"));
    model->setState(NotchState::home); // ticks are counted by the load they read
    double uptime = 3600;
    for (auto refresh : {&NotchViewModel::refreshNowPlayingSoon, &NotchViewModel::refreshNowPlayingSoonAlt}) {
        model->tick();
        QSignalSpy system(model.get(), &NotchViewModel::systemChanged);
        (model.get()->*refresh)();
        fakes->load.uptime = uptime += 60;
        advance(279);
        EXPECT_EQ(system.count(), 0);
        advance(1);
        EXPECT_EQ(system.count(), 1);
        fakes->load.uptime = uptime += 60;
        advance(799);
        EXPECT_EQ(system.count(), 1);
        advance(1);
        EXPECT_EQ(system.count(), 2);
    }
}

TEST_F(MediaTest, ArtworkIsAskedAgainForALateAddressAndAfterAFailure)
{
    QImage cover(4, 4, QImage::Format_RGB32);
    cover.fill(Qt::red);
    const QString coverPath = tempPath(QStringLiteral("cover.png"));
    auto player = FakeMediaPlayers::player(QStringLiteral("firefox"), QStringLiteral("Clip"), QStringLiteral("Playing"));
    fakes->players.set(player);
    model->tick();
    EXPECT_FALSE(model->nowPlaying().hasArtwork());

    // The browser publishes its art address after the title; the file is
    // not there yet.
    player.metadata.insert(QStringLiteral("mpris:artUrl"), QUrl::fromLocalFile(coverPath).toString());
    fakes->players.set(player);
    const auto later = [&](qint64 ms) {
        advance(ms);
        model->tick();
    };
    later(1000);
    EXPECT_FALSE(model->nowPlaying().hasArtwork());
    ASSERT_TRUE(cover.save(coverPath));
    later(ArtworkLoader::RetryAfterMs - 1000);
    EXPECT_FALSE(model->nowPlaying().hasArtwork()) << "a failed try pauses";
    later(1000);
    EXPECT_TRUE(model->nowPlaying().hasArtwork()) << "asked again after the pause";

    // Hours of tracks without artwork leave nothing behind.
    fakes->players.remove(player.id);
    for (int track = 0; track < 200; ++track) {
        auto next = FakeMediaPlayers::player(QStringLiteral("vlc"), QString::number(track), QStringLiteral("Playing"));
        next.metadata.insert(QStringLiteral("mpris:artUrl"), QStringLiteral("file:///nowhere/%1.png").arg(track));
        fakes->players.set(next);
        later(60 * 1000);
    }
    EXPECT_LE(model->artworkRequestsHeld(), 1);
    EXPECT_LE(model->artworkLoader()->failuresHeld(), 1);
}

TEST_F(MediaTest, LiveActivityWithTracksAndWork)
{
    play(QStringLiteral("Song"), QStringLiteral("Band"));
    model->tick();
    EXPECT_EQ(model->liveActivity(), LiveActivity::music(model->nowPlaying()));
    EXPECT_TRUE(model->hasCollapsedSideContent());
    hide(HomeModule::player);
    EXPECT_FALSE(model->hasCollapsedSideContent());

    model->timer()->start();
    EXPECT_EQ(model->liveActivity().kind, LiveActivity::Kind::timer);
    model->timer()->pause();

    // Paused with a title, nothing else: the track.
    play(QStringLiteral("Song"), QStringLiteral("Band"), 0, QStringLiteral("Paused"));
    model->tick();
    EXPECT_EQ(model->liveActivity().kind, LiveActivity::Kind::music);
}

TEST_F(MediaTest, MirrorOpensWithTheCameraAndClosesToHome)
{
    fakes->permissionBackend.camera = platform::IPermissionBackend::CaptureAccess::Authorized;
    model->openChromeIcon(ChromeIcon::mirror);
    EXPECT_EQ(model->state(), NotchState::mirror);
    EXPECT_EQ(model->showsAmbientOrCamera(), AmbientKind::mirror);

    model->openChromeIcon(ChromeIcon::mirror);
    EXPECT_EQ(model->state(), NotchState::home);
    EXPECT_FALSE(model->camera()->isRunning());

    fakes->camera.accessAnswer = platform::ICamera::Access::NoDevice;
    model->openChromeIcon(ChromeIcon::mirror);
    ASSERT_TRUE(model->ambient());
    EXPECT_EQ(model->ambient()->title, model->camera()->status());
    EXPECT_EQ(model->ambient()->detail, QStringLiteral("Check that a camera is connected"));

    fakes->camera.accessAnswer = platform::ICamera::Access::Refused;
    model->openChromeIcon(ChromeIcon::mirror);
    EXPECT_EQ(model->ambient()->title, QStringLiteral("Camera needs permission"));
    EXPECT_EQ(model->ambient()->detail, QStringLiteral("Settings → Privacy → Camera"));

    // A slow camera: Home stays while it starts, and choosing Mirror again
    // meanwhile neither stops it nor starts it twice.
    fakes->camera.accessAnswer = platform::ICamera::Access::Granted;
    fakes->camera.activeAtOnce = false;
    const int starts = fakes->camera.starts;
    model->openChromeIcon(ChromeIcon::mirror);
    model->openChromeIcon(ChromeIcon::mirror);
    EXPECT_EQ(model->state(), NotchState::home);
    EXPECT_TRUE(model->camera()->isStarting());
    EXPECT_EQ(fakes->camera.starts, starts + 1);
    fakes->camera.answer();
    EXPECT_EQ(model->state(), NotchState::mirror);

    // The camera goes away while shown: back Home, saying so.
    fakes->camera.unplug();
    EXPECT_EQ(model->state(), NotchState::home);
    ASSERT_TRUE(model->ambient());
    EXPECT_EQ(model->ambient()->title, QStringLiteral("No camera found"));
}

TEST_F(MediaTest, RevokingTheCameraLeavesTheMirrorForHome)
{
    fakes->permissionBackend.camera = platform::IPermissionBackend::CaptureAccess::Authorized;
    model->openChromeIcon(ChromeIcon::mirror);
    ASSERT_EQ(model->state(), NotchState::mirror);
    fakes->defaults->setBool(QStringLiteral("wantCamera"), false);
    model->applyPermissionPreferences();
    EXPECT_FALSE(model->camera()->isRunning());
    EXPECT_EQ(model->state(), NotchState::home);
}

TEST_F(MediaTest, SittingTooCloseGivesAPulseAtMostEveryFortySeconds)
{
    fakes->settings.setEyeStrainGuard(true);
    fakes->permissionBackend.camera = platform::IPermissionBackend::CaptureAccess::Authorized;
    model->openChromeIcon(ChromeIcon::mirror);
    fakes->faces.faces = {QRectF(0.1, 0.1, 0.6, 0.7)};
    fakes->camera.deliverFrame();
    ASSERT_TRUE(model->camera()->faceTooClose());

    int pulses = 0;
    QObject::connect(model.get(), &NotchViewModel::ambientChanged, [&] {
        pulses += model->ambient() && model->ambient()->kind == AmbientKind::tooClose;
    });
    for (int second = 0; second <= 81; ++second) {
        model->tick();
        advance(1000);
    }
    EXPECT_EQ(pulses, 2); // at 0 s and 41 s; 81 s is 40 s after the second
    EXPECT_TRUE(model->eyeStrain()->tooClose());

    model->camera()->stop();
    model->tick();
    EXPECT_FALSE(model->eyeStrain()->tooClose());
}

// Nothing records behind a closed island: a take under way ends when the
// island collapses, and one still waiting for the microphone never starts.
TEST_F(MediaTest, CollapsingEndsAVoiceMemoTake)
{
    VoiceMemoEngine *memos = model->voice();
    model->openVoice();
    memos->toggleRecord();
    if (!fakes->recorder.pendingPermissions.isEmpty())
        fakes->recorder.answer(true);
    ASSERT_TRUE(memos->recording());
    model->collapse();
    EXPECT_FALSE(memos->recording());
    EXPECT_FALSE(fakes->recorder.recording);

    // Asked for the microphone, closed before it answered.
    fakes->recorder.pendingPermissions.clear();
    model->openVoice();
    memos->toggleRecord();
    model->collapse();
    if (!fakes->recorder.pendingPermissions.isEmpty())
        fakes->recorder.answer(true);
    EXPECT_FALSE(memos->recording());
    EXPECT_FALSE(fakes->recorder.recording);
}
