#pragma once

#include <QAnimationDriver>
#include <QCoreApplication>
#include <QVariantAnimation>
#include <climits>

// Qt's animations on a time of the test's own while it lives: step(ms)
// moves every running animation on by ms. An animation that never ends
// keeps the driver running from the start, so that Qt measures an
// animation started later from the test's time alone, not from the gap
// since the last tick of an earlier test.
class SteppedAnimations : public QAnimationDriver {
public:
    SteppedAnimations()
    {
        install();
        m_keepRunning.setStartValue(0.0);
        m_keepRunning.setEndValue(1.0);
        m_keepRunning.setDuration(INT_MAX);
        m_keepRunning.start();
        step(0);
    }
    ~SteppedAnimations() override
    {
        m_keepRunning.stop();
        uninstall();
    }
    qint64 elapsed() const override { return m_ms; }
    void step(qint64 ms)
    {
        // Animations started since the last step start on queued calls.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        m_ms += ms;
        advance();
    }

private:
    qint64 m_ms = 0;
    QVariantAnimation m_keepRunning;
};
