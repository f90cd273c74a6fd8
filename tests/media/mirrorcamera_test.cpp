#include "fakes/fakecamera.h"
#include "fakes/fakeclock.h"
#include "media/mirrorcamera.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using Access = platform::ICamera::Access;

namespace {

class MirrorCameraTest : public ::testing::Test {
protected:
    FakeClock clock;
    FakeCamera camera;
    FakeFaceDetector detector;
    MirrorCamera mirror{camera, detector, clock};
};

} // namespace

TEST(FaceDistance, Thresholds)
{
    const QPair<QSizeF, bool> cases[] = {
        {{0.43, 0.30}, true}, {{0.40, 0.56}, true}, {{0.42, 0.55}, false}, {{0.10, 0.10}, false}};
    for (const auto &[size, close] : cases)
        EXPECT_EQ(isFaceTooClose({QRectF(QPointF(0.1, 0.1), size)}), close) << size.width() << "x" << size.height();
    EXPECT_FALSE(isFaceTooClose({}));
    EXPECT_TRUE(isFaceTooClose({QRectF(0, 0, 0.1, 0.1), QRectF(0, 0, 0.5, 0.1)}));
}

TEST_F(MirrorCameraTest, StartOutcomes)
{
    struct Case {
        const char *what;
        Access access;
        bool startSucceeds;
        bool runs;
        bool denied;
        QString status;
    };
    const Case cases[] = {
        {"running", Access::Granted, true, true, false, MirrorCamera::StatusOn},
        {"refused", Access::Refused, true, false, true, MirrorCamera::StatusDenied},
        {"no device", Access::NoDevice, true, false, false, MirrorCamera::StatusNoCamera},
        {"camera will not start", Access::Granted, false, false, false, MirrorCamera::StatusFailed},
    };
    for (const Case &c : cases) {
        FakeCamera cam;
        cam.accessAnswer = c.access;
        cam.startSucceeds = c.startSucceeds;
        MirrorCamera m(cam, detector, clock);
        QSignalSpy started(&m, &MirrorCamera::started), gaveUp(&m, &MirrorCamera::gaveUp);
        m.start();
        EXPECT_EQ(m.isRunning(), c.runs) << c.what;
        EXPECT_FALSE(m.isStarting()) << c.what;
        EXPECT_EQ(m.denied(), c.denied) << c.what;
        EXPECT_EQ(m.status(), c.status) << c.what;
        EXPECT_EQ(started.count(), c.runs ? 1 : 0) << c.what;
        EXPECT_EQ(gaveUp.count(), c.runs ? 0 : 1) << c.what;
    }
}

TEST_F(MirrorCameraTest, RunningFollowsTheCameraAndFailureIsReported)
{
    camera.activeAtOnce = false;
    mirror.start();
    EXPECT_FALSE(mirror.isRunning());
    EXPECT_TRUE(mirror.isStarting());
    mirror.start();
    EXPECT_EQ(camera.starts, 1) << "a start under way is not asked again";
    EXPECT_TRUE(mirror.isStarting());
    camera.answer();
    EXPECT_TRUE(mirror.isRunning());
    EXPECT_FALSE(mirror.isStarting());
    EXPECT_EQ(mirror.status(), MirrorCamera::StatusOn);
    camera.fail();
    EXPECT_FALSE(mirror.isRunning());
    EXPECT_EQ(mirror.status(), MirrorCamera::StatusFailed);

    // Stopped while starting: the late answer is not taken.
    mirror.start();
    mirror.stop();
    EXPECT_FALSE(mirror.isStarting());
    camera.answer();
    EXPECT_FALSE(mirror.isRunning());
    EXPECT_EQ(mirror.status(), MirrorCamera::StatusOff);

    // The camera goes away while shown.
    camera.activeAtOnce = true;
    mirror.start();
    ASSERT_TRUE(mirror.isRunning());
    camera.unplug();
    EXPECT_FALSE(mirror.isRunning());
    EXPECT_EQ(mirror.status(), MirrorCamera::StatusNoCamera);
}

TEST_F(MirrorCameraTest, StartTwiceAndStop)
{
    camera.accessAnswer = Access::Refused;
    mirror.start();
    EXPECT_TRUE(mirror.denied());
    camera.accessAnswer = Access::Granted;
    mirror.start();
    EXPECT_FALSE(mirror.denied()) << "each start asks again";
    mirror.start();
    EXPECT_EQ(camera.starts, 2) << "a running camera is not started again";
    EXPECT_EQ(mirror.status(), MirrorCamera::StatusOn);

    mirror.stop();
    EXPECT_FALSE(mirror.isRunning());
    EXPECT_EQ(mirror.status(), MirrorCamera::StatusOff);
    EXPECT_FALSE(camera.active);

    MirrorCamera neverStarted(camera, detector, clock);
    neverStarted.stop();
    EXPECT_EQ(neverStarted.status(), MirrorCamera::StatusOff);
    EXPECT_FALSE(neverStarted.faceTooClose());
}

TEST_F(MirrorCameraTest, AtMostOneFrameIsAnalysedPerIntervalAndOnlyChangesArePublished)
{
    QSignalSpy spy(&mirror, &MirrorCamera::faceTooCloseChanged);
    mirror.start();
    detector.faces = {};
    camera.deliverFrame();
    EXPECT_EQ(detector.requests, 1);
    EXPECT_EQ(spy.count(), 0) << "no face while already false: nothing published";

    detector.faces = {QRectF(0.2, 0.2, 0.5, 0.6)};
    clock.advanceMs(800);
    camera.deliverFrame();
    EXPECT_EQ(detector.requests, 1) << "0.8 s is not more than 0.8 s";
    clock.advanceMs(10);
    camera.deliverFrame();
    EXPECT_EQ(detector.requests, 2);
    EXPECT_TRUE(mirror.faceTooClose());
    clock.advanceMs(810);
    camera.deliverFrame();
    EXPECT_EQ(spy.count(), 1) << "still too close: not published again";

    detector.answerAtOnce = false;
    clock.advanceMs(810);
    camera.deliverFrame();
    clock.advanceMs(810);
    camera.deliverFrame();
    EXPECT_EQ(detector.requests, 4) << "no second search while one runs";
    detector.answer({});
    EXPECT_FALSE(mirror.faceTooClose());

    detector.answerAtOnce = true;
    detector.faces = {QRectF(0, 0, 0.9, 0.9)};
    clock.advanceMs(810);
    camera.deliverFrame();
    EXPECT_TRUE(mirror.faceTooClose());
    mirror.stop();
    EXPECT_FALSE(mirror.faceTooClose());
    clock.advanceMs(810);
    camera.deliverFrame();
    EXPECT_EQ(detector.requests, 5) << "no search while stopped";
}
