#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QSet>

class NotchViewModel;
class QQuickWindow;
class QSocketNotifier;

// Measures how smoothly the island and its windows open: after every change
// of the island's state, and after every opening asked for through the
// control pipe, it notes each frame a window puts on screen for a while and
// writes one line
//   opening=<name> first=<0|1> firstFrameMs=<n> longestGapMs=<n> frames=<n> windows=<n>
// where the longest gap counts from the start of the event-loop turn in
// which the opening began, taken per window (the worst window counts).
// Turned on by PAVLET_FRAME_PROBE=<file>; bench/island-frames.sh reads the
// lines.
//
// With PAVLET_FRAME_PROBE_CONTROL=<fifo> the probe also reads openings, one
// a line, and performs them the way the island's controls do: a state
// ("home", "canvas", "games", "calculator", "pocket", "voice", "translator",
// "update", "collapsed"), "game:<name>" for a game's page ("game:wordle"),
// or "settings" for the settings window ("settings:<page>" on a page of it:
// "settings:library"). "where:<name>" asks where the
// first control on screen showing name (as its text or its symbol) is, for
// a hand on the X server to press it; the answer is a line
//   where=<name> x=<screen x> y=<screen y>      (or "where=<name> none")
class FrameProbe : public QObject {
    Q_OBJECT
public:
    FrameProbe(NotchViewModel *model, QQuickWindow *window, const QString &path, QObject *parent = nullptr);
    ~FrameProbe() override;

private:
    void stateChanged();
    bool begin(const QString &name, bool first);
    void watchWindows();
    void frameSwapped(int window);
    void report();
    void readControl();
    void perform(const QString &opening);
    void locate(const QString &name);

    NotchViewModel *m_model;
    QFile m_out;
    QElapsedTimer m_clock;
    QSet<int> m_seenStates;
    QSet<QString> m_seenOpenings;
    QString m_name;
    qint64 m_awakeAt = -1;
    bool m_first = false;
    QList<QPointer<QQuickWindow>> m_windows;
    int m_control = -1;
    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_pending;
    // Written from the render threads.
    QMutex m_lock;
    qint64 m_changedAt = -1;
    QHash<int, QList<qint64>> m_frames;
};
