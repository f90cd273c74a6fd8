#pragma once

#include "platform/calendarsource.h"

#include <utility>
#include <vector>

// Answers event fetches at once from eventList; answers reminder fetches only
// when the test says so, in any order.
class FakeCalendarSource final : public platform::ICalendarSource {
public:
    QList<platform::CalendarEvent> eventList;
    std::vector<std::pair<std::optional<QDateTime>, RemindersCallback>> pendingFetches;
    QDateTime lastFrom, lastTo;

    void fetchEvents(const QDateTime &from, const QDateTime &to, EventsCallback done) override
    {
        lastFrom = from;
        lastTo = to;
        QList<platform::CalendarEvent> out;
        for (const auto &e : eventList) {
            const QDateTime end = e.end.isValid() ? e.end : e.start;
            if (e.start < to && (end > from || e.start >= from))
                out.append(e);
        }
        done(out);
    }

    void fetchIncompleteReminders(const std::optional<QDateTime> &dueBefore, RemindersCallback done) override
    {
        pendingFetches.emplace_back(dueBefore, std::move(done));
    }

    // Answers the index-th fetch made so far.
    void answer(size_t index, std::optional<QList<platform::CalendarReminder>> list)
    {
        auto done = std::move(pendingFetches.at(index).second);
        done(std::move(list));
    }
};
