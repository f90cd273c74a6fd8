#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QSet>

class NotchViewModel;
class QQuickWindow;

// Measures how smoothly the island opens: after every change of state it
// notes each frame the window puts on screen for a while and writes one line
//   state=<name> first=<0|1> firstFrameMs=<n> longestGapMs=<n> frames=<n>
// where the longest gap counts from the start of the event-loop turn in
// which the state changed. Turned on by
// PAVLET_FRAME_PROBE=<file>; bench/island-frames.sh reads the lines.
class FrameProbe : public QObject {
    Q_OBJECT
public:
    FrameProbe(NotchViewModel *model, QQuickWindow *window, const QString &path, QObject *parent = nullptr);
    ~FrameProbe() override;

private:
    void stateChanged();
    void frameSwapped();
    void report();

    NotchViewModel *m_model;
    QFile m_out;
    QElapsedTimer m_clock;
    QSet<int> m_seen;
    QString m_state;
    qint64 m_awakeAt = -1;
    bool m_first = false;
    // Written from the render thread.
    QMutex m_lock;
    qint64 m_changedAt = -1;
    QList<qint64> m_frames;
};
