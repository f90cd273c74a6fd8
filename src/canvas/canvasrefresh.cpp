#include "canvas/canvasrefresh.h"

#include "canvas/canvascredentials.h"
#include "canvas/canvasservice.h"
#include "core/clock.h"

#include <QPointer>
#include <limits>

namespace {
constexpr qint64 DistantPastMs = std::numeric_limits<qint64>::min() / 4;
} // namespace

CanvasRefresh::CanvasRefresh(CanvasService *service, CanvasCredentialStore *credentials, Clock *clock,
                             QObject *parent)
    : QObject(parent), m_service(service), m_credentials(credentials), m_clock(clock), m_lastFetchMs(DistantPastMs)
{
}

bool CanvasRefresh::isDue() const
{
    return m_clock->monotonicMs() - m_lastFetchMs > EveryMs;
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

void CanvasRefresh::refresh(std::function<void()> done)
{
    // The stamp is set as the refresh begins, so that a tick in between does
    // not start a second one.
    m_lastFetchMs = m_clock->monotonicMs();
    m_service->fetchBoardReply().then(this, [this, done](const CanvasBoardReply &reply) {
        // A refused token says nothing about the work: the board stays.
        if (reply.tokenRejected) {
            emit statusChanged(StatusRejected);
            if (done)
                done();
            return;
        }
        // Nothing reached the server (offline, server down): the board stays
        // as it was rather than claim there is no work.
        if (reply.unreachable) {
            emit statusChanged(StatusUnreachable);
            if (done)
                done();
            return;
        }
        const CanvasBoard board = reply.board;
        emit boardFetched(board, nextAssignment(board));
        m_service->fetchUserName().then(this, [this, board, done](const std::optional<QString> &name) {
            afterName(board, name, done);
        });
    });
}

void CanvasRefresh::afterName(const CanvasBoard &board, const std::optional<QString> &name,
                              std::function<void()> done)
{
    if (name) {
        emit userNameFound(*name);
        emit statusChanged(ConnectedAs + *name);
        if (done)
            done();
        return;
    }
    QPointer<CanvasRefresh> self(this);
    if (!m_credentials) {
        emit userNameLost();
        emit statusChanged(StatusNotConnected);
        if (done)
            done();
        return;
    }
    m_credentials->load([self, board, done](const std::optional<CanvasCredentials> &credentials) {
        if (!self)
            return;
        if (!credentials) {
            emit self->userNameLost();
            emit self->statusChanged(StatusNotConnected);
        } else if (board.isEmpty()) {
            // With work on the board the earlier text and name stay.
            emit self->statusChanged(StatusNoOpenWork);
        }
        if (done)
            done();
    });
}
