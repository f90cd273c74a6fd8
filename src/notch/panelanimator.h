#pragma once

#include "core/scheduler.h"
#include "style/islandspring.h"

#include <QObject>
#include <QRectF>
#include <QSizeF>

class Clock;

// The island frame's four springs (width, height, centre x, top edge), in
// y-up screen space, and a fifth for the outline's corner radius, which moves
// with the frame. Pure: time comes in as arguments.
class PanelAnimator {
public:
    static constexpr double firstStep = 1.0 / 60;
    static constexpr double minStep = 1.0 / 240;
    static constexpr double maxStep = 1.0 / 30;
    static constexpr double settleDistance = 0.4;
    static constexpr double settleSpeed = 16;
    static constexpr double startThreshold = 0.5;

    struct Step {
        QRectF frame;
        double cornerRadius = 0;
        bool settled = false;
    };

    // Jumps to f: the springs rest there and any animation stops.
    void jump(const QRectF &f);
    // The corner radius to reach: at once (animated false) or with the frame.
    void setCornerRadius(double target, bool animated);
    // Moves the targets to f. Returns true when an animation must start
    // (none was running and f, or the corner radius, is not within the start
    // threshold of where it is).
    // A running animation keeps its positions and velocities.
    bool animateTo(const QRectF &f, const QRectF &current);
    // One step at media time now (seconds). The frame is never smaller than
    // minSize.
    Step step(double now, const QSizeF &minSize);
    void stop();

    bool isRunning() const { return m_running; }
    QRectF targetRect() const;
    const IslandSpring &width() const { return m_w; }
    const IslandSpring &height() const { return m_h; }
    const IslandSpring &centreX() const { return m_x; }
    const IslandSpring &top() const { return m_top; }
    const IslandSpring &cornerRadius() const { return m_r; }
    double cornerRadiusTarget() const { return m_targetR; }

private:
    void seed(const QRectF &f);

    IslandSpring m_w, m_h, m_x, m_top, m_r;
    double m_targetW = 0, m_targetH = 0, m_targetX = 0, m_targetTop = 0, m_targetR = 0;
    double m_lastTime = 0;
    bool m_running = false;
};

// Drives the animator from a repeating task while the frame moves, and
// reports each frame to apply. The ticker exists only while an animation runs.
class PanelFrameDriver : public QObject {
    Q_OBJECT
public:
    // tickMs: the step interval (8 ms asks for 120 frames a second).
    PanelFrameDriver(Clock *clock, Scheduler *scheduler, int tickMs = 8, QObject *parent = nullptr);

    // Applies f at once, or springs to it. notchSize bounds every frame below.
    void setFrame(const QRectF &f, bool animated);
    // The outline's corner radius for the next setFrame(), which takes it
    // there at once or with the frame's springs.
    void setCornerRadius(double radius) { m_radius = radius; }
    double currentCornerRadius() const { return m_currentRadius; }
    void setMinimumSize(const QSizeF &size) { m_minSize = size; }
    // The frame last reported.
    QRectF currentFrame() const { return m_current; }
    bool isAnimating() const { return m_animator.isRunning(); }
    const PanelAnimator &animator() const { return m_animator; }
    // One step now (the ticker's body; tests call it directly too).
    void tick();
    void stop();

signals:
    // The frame and corner radius to show now. animating: more frames follow.
    void frameChanged(const QRectF &frame, bool animating, double cornerRadius);
    // An animation began towards target; the panel may prepare room for it.
    void animationStarted(const QRectF &from, const QRectF &target);
    // The springs came to rest on their exact target.
    void settled(const QRectF &frame);

private:
    Clock *m_clock;
    Scheduler *m_scheduler;
    int m_tickMs;
    QSizeF m_minSize;
    QRectF m_current;
    double m_radius = 0;
    double m_currentRadius = 0;
    PanelAnimator m_animator;
    TaskHandle m_ticker;
};
