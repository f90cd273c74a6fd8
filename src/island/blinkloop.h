#pragma once

#include "core/scheduler.h"

#include <QObject>
#include <QQmlParserStatus>
#include <QtQml/qqmlregistration.h>

class AnimationClock;

// The smile's blink: while running, open for openMs, then closed for
// closedMs, over and over, on the animation clock's scheduler. Stopping
// opens the eyes at once.
class BlinkLoop : public QObject, public QQmlParserStatus {
    Q_OBJECT
    QML_ELEMENT
    Q_INTERFACES(QQmlParserStatus)
    Q_PROPERTY(bool running READ running WRITE setRunning NOTIFY runningChanged)
    Q_PROPERTY(bool blink READ blink NOTIFY blinkChanged)
    // The blink's two animations, for the view's eye height.
    Q_PROPERTY(int closeMs READ closeMs CONSTANT)
    Q_PROPERTY(int openAnimMs READ openAnimMs CONSTANT)

public:
    static constexpr int openMs = 3400;
    static constexpr int closedMs = 110;

    explicit BlinkLoop(QObject *parent = nullptr);

    // For C++ users and tests: steps on this scheduler.
    void setScheduler(Scheduler *scheduler);

    bool running() const { return m_running; }
    void setRunning(bool running);
    bool blink() const { return m_blink; }
    int closeMs() const;
    int openAnimMs() const;

    void classBegin() override {}
    void componentComplete() override;

signals:
    void runningChanged();
    void blinkChanged();

private:
    void restart();
    void setBlink(bool blink);

    Scheduler *m_scheduler = nullptr;
    TaskHandle m_task;
    bool m_running = false;
    bool m_blink = false;
};
