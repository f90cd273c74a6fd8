#include "core/gridanimationdriver.h"
#include "support/pavlettest.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

#include <chrono>

namespace {

class CountingWindow : public QWindow {
public:
    int frames = 0;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::UpdateRequest)
            ++frames;
        return QWindow::event(e);
    }
};

qint64 interval()
{
    const qint64 ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now().time_since_epoch())
                          .count();
    return GridAnimationDriver::intervalAt(ms);
}

// Waits for an interval of the grid to begin, so a few requests in a row
// fall in one interval.
void waitForTick()
{
    const qint64 now = interval();
    while (interval() == now) {
    }
}

void askFrame(QWindow &window)
{
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(&window, &request);
}

} // namespace

using GridFramePacing = PavletTest;

// A render loop asks for a second frame while it lays out the first (a
// shape's path, a column's positions): that one is drawn at the next tick,
// once, and the window keeps drawing a frame each interval after it.
TEST_F(GridFramePacing, OneFrameAnIntervalAndAHeldRequestComesAtTheNextTick)
{
    GridAnimationDriver driver(scheduler.get());
    driver.paceFrames();
    CountingWindow window;
    window.create();

    waitForTick();
    askFrame(window);
    askFrame(window);
    askFrame(window);
    if (window.frames == 1) {
        // The held request is asked again at the next tick: once.
        scheduler->advance(20);
        waitForTick();
        EXPECT_TRUE(waitUntil([&] { return window.frames == 2; }, 1000));
        waitUntil([] { return false; }, 60);
        EXPECT_EQ(window.frames, 2);
    } else {
        ADD_FAILURE() << "a second request in one interval was drawn: " << window.frames << " frames";
    }

    // Requests in intervals of their own each draw.
    for (int i = 0; i < 3; ++i) {
        waitForTick();
        askFrame(window);
    }
    EXPECT_EQ(window.frames, 5);
}

TEST_F(GridFramePacing, AWindowGoneWithARequestHeldIsForgotten)
{
    GridAnimationDriver driver(scheduler.get());
    driver.paceFrames();
    {
        CountingWindow window;
        waitForTick();
        askFrame(window);
        askFrame(window);
        EXPECT_EQ(window.frames, 1);
    }
    scheduler->advance(50); // the held request has no window to ask
    CountingWindow other;
    askFrame(other);
    EXPECT_EQ(other.frames, 1);
}
