#include "canvas/canvasrefresh.h"

#include "canvas/canvascredentials.h"
#include "canvas/canvasservice.h"
#include "core/clock.h"
#include "core/localeformats.h"

#include <QPointer>
#include <limits>

namespace {
constexpr qint64 DistantPastMs = std::numeric_limits<qint64>::min() / 4;
} // namespace

CanvasRefresh::CanvasRefresh(CanvasService *service, CanvasCredentialStore *credentials, Clock *clock,
                             QObject *parent)
    : QObject(parent), m_service(service), m_credentials(credentials), m_clock(clock), m_lastFetchMs(DistantPastMs)
{
    m_boardAddress = schoolAddress();
    connect(service, &CanvasService::requestUnanswered, this, [this] {
        if (m_askingBoard)
            fail(NotAnswering);
    });
}

bool CanvasRefresh::isDue() const
{
    return Clock::wallIntervalPassed(m_lastFetchMs, m_clock->nowMs(), EveryMs);
}

void CanvasRefresh::forget()
{
    m_lastFetchMs = DistantPastMs;
}

std::optional<CanvasAssignment> CanvasRefresh::nextAssignment(const CanvasBoard &board)
{
    for (const QList<CanvasAssignment> *list : {&board.overdue, &board.dueToday, &board.upcoming}) {
        if (!list->isEmpty())
            return list->first();
    }
    return std::nullopt;
}

void CanvasRefresh::refreshBetween(const std::function<void(std::function<void()>)> &first,
                                   std::function<void()> after)
{
    QPointer<CanvasRefresh> self(this);
    auto canvas = [self, after = std::move(after)] {
        if (self)
            self->refresh(after);
    };
    if (first)
        first(canvas);
    else
        canvas();
}

QString CanvasRefresh::schoolAddress() const
{
    return m_credentials ? m_credentials->storedBaseURL() : QString();
}

QString CanvasRefresh::loadedLabel(qint64 loadedMs, qint64 nowMs, const QTimeZone &zone, const QLocale &locale)
{
    const QDateTime loaded = QDateTime::fromMSecsSinceEpoch(loadedMs, zone);
    const QString time = locale.toString(loaded.time(), LocaleFormats::hourMinute(locale));
    if (loaded.date() == QDateTime::fromMSecsSinceEpoch(nowMs, zone).date())
        return time;
    return locale.toString(loaded.date(), LocaleFormats::weekdayMonthDay(locale)) + QStringLiteral(", ") + time;
}

void CanvasRefresh::setLoaded(bool loaded)
{
    if (loaded == m_loaded)
        return;
    m_loaded = loaded;
    emit loadingChanged(!loaded);
}

void CanvasRefresh::timePassed()
{
    if (!m_service->timePassed() || m_items.isEmpty())
        return;
    // As a fetch now would file it: planner work whose time has passed is
    // overdue.
    const QDateTime now = m_service->now();
    QList<CanvasAssignment> items = m_items;
    for (CanvasAssignment &item : items) {
        if (item.dueAt && *item.dueAt < now)
            item.overdue = true;
    }
    const CanvasBoard board = CanvasBoard::build(items, now, m_service->zone());
    emit boardFetched(board, nextAssignment(board));
}

void CanvasRefresh::credentialsChanged()
{
    forget();
    m_stale = m_running;
    if (m_credentials && m_credentials->current() != m_loadedFor)
        setLoaded(false);
    const QString address = schoolAddress();
    if (address == m_boardAddress)
        return;
    // Another school: nothing of the earlier one stays on show.
    ++m_school;
    m_boardAddress = address;
    m_loadedMs.reset();
    m_items.clear();
    m_lastStatus.clear();
    if (!m_problem.isEmpty()) {
        m_problem.clear();
        emit loadProblem(m_problem);
    }
    emit boardFetched(CanvasBoard(), std::nullopt);
    emit userNameLost();
}

void CanvasRefresh::say(const QString &status)
{
    m_lastStatus = status;
    emit statusChanged(status);
}

void CanvasRefresh::fail(const QString &reason)
{
    m_problem = reason;
    if (m_loadedMs)
        m_problem += LastLoaded + loadedLabel(*m_loadedMs, m_clock->nowMs(), m_service->zone());
    emit loadProblem(m_problem);
}

void CanvasRefresh::refresh(std::function<void()> done)
{
    if (done)
        m_waiting.push_back(std::move(done));
    if (m_running && !m_stale)
        return;
    start();
}

void CanvasRefresh::finished(quint64 run)
{
    // A newer refresh took over the callers.
    if (run != m_run)
        return;
    m_running = false;
    const auto waiting = std::exchange(m_waiting, {});
    for (const auto &done : waiting)
        done();
}

void CanvasRefresh::start()
{
    // The stamp is set as the refresh begins, so that a tick in between does
    // not start a second one.
    m_lastFetchMs = m_clock->nowMs();
    m_running = true;
    m_stale = false;
    const quint64 run = ++m_run;
    const quint64 school = m_school;
    const QString address = schoolAddress();
    QPointer<CanvasRefresh> self(this);
    auto finish = [self, run] {
        if (self)
            self->finished(run);
    };
    // The keyring holding the token is locked or missing: nothing is known
    // of the work until it opens. The credentials say so, and tell when it
    // opens.
    if (m_credentials && !m_credentials->current() && !m_credentials->keyringProblem().isEmpty()) {
        finish();
        return;
    }
    m_askingBoard = true;
    m_service->fetchBoardReply().then(this, [this, run, school, address, finish](const CanvasBoardReply &reply) {
        if (run == m_run)
            m_askingBoard = false;
        // The school changed meanwhile, or a newer refresh took over: this
        // answer is an earlier one's.
        if (school != m_school || run != m_run) {
            finish();
            return;
        }
        // A refused token, a list that did not come whole, or a server that
        // sends the requests elsewhere says nothing sure about the work: the
        // board stays as it was, and so do the name and the greeting.
        if (!reply.otherServer.isEmpty()) {
            fail(SentElsewhere + reply.otherServer + QLatin1Char(')'));
            finish();
            return;
        }
        if (reply.tokenRejected || reply.failed) {
            fail(reply.tokenRejected ? StatusRejected : StatusLoadFailed);
            finish();
            return;
        }
        const bool hadProblem = !m_problem.isEmpty();
        m_loadedMs = m_clock->nowMs();
        m_boardAddress = address;
        m_items = reply.items;
        // The board was filed on today's date: its labels are too.
        m_service->timePassed();
        m_loadedFor = m_credentials ? m_credentials->current() : std::nullopt;
        setLoaded(true);
        if (hadProblem) {
            m_problem.clear();
            emit loadProblem(m_problem);
        }
        const CanvasBoard board = reply.board;
        emit boardFetched(board, nextAssignment(board));
        m_service->fetchUserName().then(this, [this, run, school, board, hadProblem, finish](const std::optional<QString> &name) {
            if (school != m_school || run != m_run) {
                finish();
                return;
            }
            afterName(board, name, hadProblem, finish);
        });
    });
}

void CanvasRefresh::afterName(const CanvasBoard &board, const std::optional<QString> &name, bool hadProblem,
                              std::function<void()> done)
{
    if (name) {
        emit userNameFound(*name);
        say(ConnectedAs + *name);
        done();
        return;
    }
    QPointer<CanvasRefresh> self(this);
    if (!m_credentials) {
        emit userNameLost();
        say(StatusNotConnected);
        done();
        return;
    }
    m_credentials->load([self, board, hadProblem, done](const std::optional<CanvasCredentials> &credentials) {
        if (!self)
            return;
        if (!credentials) {
            // A token kept for another school, or one that cannot be sent,
            // asks for the token instead. A name once known stays while the
            // keyring has not told whether the token is there.
            if (self->m_credentials->tokenState() != CanvasCredentialStore::TokenState::Unknown)
                emit self->userNameLost();
            // A locked or missing keyring may well hold the token: the
            // account stays set up, as the credentials say.
            const QString request = self->m_credentials->tokenRequest();
            if (!request.isEmpty())
                self->say(request);
            else if (self->m_credentials->keyringProblem().isEmpty())
                self->say(StatusNotConnected);
        } else if (board.isEmpty()) {
            self->say(StatusNoOpenWork);
        } else if (hadProblem) {
            // With work on the board the earlier text stays; the failure
            // text it gave way to goes.
            self->say(self->m_lastStatus.isEmpty() ? StatusTokenLoaded : self->m_lastStatus);
        }
        done();
    });
}
