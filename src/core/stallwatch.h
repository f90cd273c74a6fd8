#pragma once

#include <algorithm>

// Tells, tick by tick of a repeating task, when a count that should keep
// growing (the seconds of sound a take holds) has stood still for a while.
// It watches only once the count has grown: a count that never began is
// judged elsewhere. The while is counted in ticks rather than read from a
// clock, so that a main thread held up for a moment, whose missed ticks run
// as one, is not taken for a stall.
class StallWatch {
public:
    StallWatch(int limitMs, int tickMs) : m_limitTicks(std::max(1, limitMs / tickMs)) {}

    void reset()
    {
        m_last = 0;
        m_still = 0;
    }
    // The count at this tick; true once it has stood still for the limit.
    bool stalled(double count)
    {
        if (count > m_last) {
            m_last = count;
            m_still = 0;
            return false;
        }
        return m_last > 0 && ++m_still >= m_limitTicks;
    }

private:
    int m_limitTicks;
    double m_last = 0;
    int m_still = 0;
};
