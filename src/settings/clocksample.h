#pragma once

#include "core/scheduler.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class AppSettings;
class Clock;

// The clock editor's sample line: the island's time text with the weekday,
// in the chosen zone and cycle. It follows both settings at once and, while
// active (on screen), follows the clock within a second, also when the
// system time is set back.
class ClockSample : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the settings window")
    Q_PROPERTY(QString text READ text NOTIFY textChanged)
    Q_PROPERTY(bool active READ active WRITE setActive NOTIFY activeChanged)
public:
    // scheduler may be null: the text then changes only with the settings.
    ClockSample(AppSettings *settings, const Clock *clock, Scheduler *scheduler, QObject *parent = nullptr);

    QString text() const { return m_text; }
    bool active() const { return m_active; }
    void setActive(bool active);
    // Reads the clock and the settings again.
    void update();

signals:
    void textChanged();
    void activeChanged();

private:
    void startTicking();

    AppSettings *m_settings;
    const Clock *m_clock;
    Scheduler *m_scheduler;
    TaskHandle m_tick;
    QString m_text;
    bool m_active = false;
};
