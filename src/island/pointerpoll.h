#pragma once

#include "island/islandtypes.h"

#include <QList>

// What the island's delayed hover task is waiting to do.
enum class PendingHover {
    none,
    // Opening after the pointer came in.
    entry,
    // Closing after the pointer left, or collapsing.
    exit,
};

// The 60 Hz pointer poll's decision.
struct PointerPoll {
    enum class Action {
        nothing,
        entered,
        exited,
        // The pointer stayed inside an open island: a pending close is void.
        cancelPendingExit,
    };

    bool lastInside = false;

    // inside: the pointer test's answer now. Only a change reaches the
    // island; while the pointer rests inside an open island, a pending close
    // is cancelled, but never a pending open (the HUD opens into the hover
    // island through that task).
    Action poll(bool inside, NotchState state, PendingHover pending)
    {
        if (inside != lastInside) {
            lastInside = inside;
            return inside ? Action::entered : Action::exited;
        }
        if (inside && state != NotchState::collapsed && pending == PendingHover::exit)
            return Action::cancelPendingExit;
        return Action::nothing;
    }
};

// Clicks reported twice (by the island window and by the global monitor)
// count once. The two reports of one press carry the display's time in
// milliseconds, but not always the same one: the server may stamp them a
// millisecond or so apart, and either may arrive first. A report from one
// route is the twin of a not yet matched report from the other route close
// to it in time; reports from the same route are always separate presses.
struct ClickDeduper {
    // Further apart than this, two reports are two presses: no hand clicks
    // twice this fast.
    static constexpr qint64 TwinWindowMs = 40;
    // Reports waiting for their twin; a click outside the window has none.
    static constexpr int Remembered = 8;

    struct Report {
        bool local = false;
        qint64 time = 0;
    };
    QList<Report> unmatched;

    // local: the press came through the island window. True when this is
    // the first report of its press.
    bool accept(qint64 time, bool local)
    {
        qsizetype twin = -1;
        for (qsizetype i = 0; i < unmatched.size(); ++i) {
            const qint64 gap = qAbs(unmatched[i].time - time);
            if (unmatched[i].local != local && gap <= TwinWindowMs
                && (twin < 0 || gap < qAbs(unmatched[twin].time - time)))
                twin = i;
        }
        if (twin >= 0) {
            unmatched.remove(twin);
            return false;
        }
        unmatched.append({local, time});
        if (unmatched.size() > Remembered)
            unmatched.removeFirst();
        return true;
    }
};
