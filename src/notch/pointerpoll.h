#pragma once

#include "islandtypes.h"

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
// count once: the last handled event number is remembered.
struct ClickDeduper {
    bool hasLast = false;
    qint64 last = 0;

    // True the first time an event number is seen in a row.
    bool accept(qint64 eventNumber)
    {
        if (hasLast && last == eventNumber)
            return false;
        hasLast = true;
        last = eventNumber;
        return true;
    }
};
