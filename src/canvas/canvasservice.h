#pragma once

#include "canvas/canvasassignment.h"

#include <QByteArray>
#include <QFuture>
#include <QObject>
#include <QString>
#include <QTimeZone>
#include <QUrl>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <optional>
#include <variant>

class CanvasCredentialStore;
class Clock;
class QNetworkAccessManager;
class Scheduler;
struct CanvasCredentials;

// The server's replies, decoded strictly: a required key that is missing,
// null or of another type fails the record, and so does an optional key of
// another type. In a list only that element is left out. Keys not listed are
// ignored.
struct CanvasUser {
    std::optional<QString> name;
    std::optional<QString> shortName;

    static std::optional<CanvasUser> decode(const QByteArray &json);
};

struct PlannerItem {
    struct Plannable {
        std::optional<QString> title;
        std::optional<QString> dueAt;
        std::optional<double> pointsPossible;
    };
    struct PlannerOverride {
        std::optional<bool> markedComplete;
    };
    // "submissions" is either a bare flag or an object of two flags.
    struct SubmissionDetail {
        std::optional<bool> submitted;
        std::optional<bool> excused;
    };
    using PlannerSubmissions = std::variant<bool, SubmissionDetail>;

    qint64 plannableId = 0;
    QString plannableType;
    std::optional<Plannable> plannable;
    std::optional<QString> htmlUrl;
    std::optional<QString> contextName;
    std::optional<PlannerSubmissions> submissions;
    std::optional<PlannerOverride> plannerOverride;

    // A list reply: nothing when it is not a JSON array; a JSON null is an
    // empty list; elements that do not decode are left out.
    static std::optional<QList<PlannerItem>> decodeList(const QByteArray &json);
};

struct MissingItem {
    qint64 id = 0;
    QString name;
    std::optional<QString> dueAt;
    std::optional<QString> htmlUrl;
    std::optional<double> pointsPossible;
    std::optional<QString> courseCode;

    static std::optional<QList<MissingItem>> decodeList(const QByteArray &json);
};

// A board fetch: the board, or word that the server refused the token or
// that a request did not get through (no reply, an error status, a body that
// is not the list asked for). The board then says nothing sure about the
// user's work.
struct CanvasBoardReply {
    CanvasBoard board;
    // Every item the board was built from, for a board built again later.
    QList<CanvasAssignment> items;
    bool tokenRejected = false;
    bool failed = false;
    // The host of another server a request was sent on to (a redirect):
    // nothing went there, and the board is not known.
    QString otherServer;
};

// Reads the user's open course work from their school's Canvas server: the
// user's name, the planner items from yesterday to two weeks ahead and the
// missing submissions. Holds nothing between calls; every call loads the
// credentials and asks the server again. Failures give empty lists or no
// name, never an error. Lives on the main thread; the futures finish there.
class CanvasService : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the composition root")
    // The local calendar day the due labels are judged on, as a Julian day
    // number; it moves on at local midnight (see timePassed()).
    Q_PROPERTY(qint64 day READ day NOTIFY dayChanged)
public:
    // A request that has not ended this long after it began (however
    // slowly data still comes) fails as one that got no reply.
    static constexpr int RequestTimeoutMs = 60000;
    // Redirects followed within the school's own server, at most.
    static constexpr int MaxRedirects = 5;
    static inline const QString UserPath = QStringLiteral("/api/v1/users/self");
    static inline const QString PlannerPath = QStringLiteral("/api/v1/planner/items");
    static inline const QString MissingPath = QStringLiteral("/api/v1/users/self/missing_submissions?per_page=50");
    // Pages of a list read at most, following the server's "next" links: a
    // term's worth of work at 50 a page. A list still going on after that
    // is not known whole, and the refresh fails.
    static constexpr int MaxPages = 100;

    // zone decides what "today" is for the board and the labels.
    CanvasService(CanvasCredentialStore *credentials, QNetworkAccessManager *network, Clock *clock,
                  Scheduler *scheduler, const QTimeZone &zone, QObject *parent = nullptr);

    QFuture<CanvasBoard> fetchBoard();
    QFuture<CanvasBoardReply> fetchBoardReply();
    QFuture<std::optional<QString>> fetchUserName();
    // Missing submissions first, then the planner items; a missing
    // submission wins over a planner item with the same id.
    QFuture<QList<CanvasAssignment>> fetchAssignments();
    QFuture<QList<CanvasAssignment>> fetchPlannerItems(const QString &baseURL, const QString &token);
    QFuture<QList<CanvasAssignment>> fetchMissing(const QString &baseURL, const QString &token);

    // The texts the planner shows for an item, judged at the service's clock
    // and zone.
    Q_INVOKABLE QString dueLabel(const CanvasAssignment &item) const;
    // The same judged on the Julian day given (the views pass day, so that
    // the labels follow it).
    Q_INVOKABLE QString dueLabel(const CanvasAssignment &item, qint64 day) const;
    qint64 day() const { return m_day; }
    // Moves day on when the local date changed; true when it did.
    bool timePassed();
    Q_INVOKABLE qint64 pointsTotal(const QList<CanvasAssignment> &items) const;
    // The zone that decides what today is.
    QTimeZone zone() const { return m_zone; }
    QDateTime now() const;

    // A planner item that still needs the user, or nothing. A relative page
    // address is resolved against the school's address.
    static std::optional<CanvasAssignment> assignment(const PlannerItem &item, const QUrl &base, const QDateTime &now);
    static CanvasAssignment assignment(const MissingItem &item, const QUrl &base);
    // Missing submissions, then the planner items whose ids are new; among
    // missing submissions with the same id the later one stays.
    static QList<CanvasAssignment> merge(const QList<CanvasAssignment> &missing, const QList<CanvasAssignment> &planner);
    // An internet date-time with or without fractional seconds; anything
    // else (no time, no zone) is no date.
    static std::optional<QDateTime> readDueDate(const std::optional<QString> &text);
    // The planner request: yesterday to fourteen days ahead, in UTC.
    static QUrl plannerItemsUrl(const QString &baseURL, const QDateTime &now, const QTimeZone &zone);
    // A page address: absolute as given, relative resolved against base.
    static std::optional<QUrl> pageUrl(const std::optional<QString> &text, const QUrl &base);
    // What a page's Link header says comes after it. A list is whole only
    // when its last page has no "next" link; a link that cannot be read, or
    // leads to an address no request can go to, leaves the list unknown.
    struct NextLink {
        enum class Kind {
            None,       // the last page
            Next,       // url is the next page, on the same server
            Unreadable, // the header or the address in it cannot be read or asked for
            Elsewhere,  // the next page is on another server, named by place
        };
        Kind kind = Kind::None;
        QUrl url;
        QString place;
    };
    // Relative addresses are resolved against current.
    static NextLink nextLink(const QByteArray &linkHeader, const QUrl &current);
    // Whether a request may go on from current to target with the token: the
    // same scheme, host and port (a default port written out or not) and no
    // user information of its own.
    static bool sameServer(const QUrl &target, const QUrl &current);
    // How a failure names the address a request was sent on to: its host
    // (and port when given), with the user name and the scheme when those
    // tell it apart from current.
    static QString placeOf(const QUrl &target, const QUrl &current);

signals:
    void dayChanged();
    // A request ran out its whole time with no answer.
    void requestUnanswered();

private:
    struct Response {
        bool received = false; // an HTTP reply arrived whole
        int status = 0;
        QByteArray body;
        QByteArray link; // the Link header
        QString otherServer; // redirected to this host, not followed
    };
    void loadCredentials(std::function<void(std::optional<CanvasCredentials>)> done);
    void get(const QUrl &url, const QString &token, std::function<void(Response)> done, int redirects = 0);
    struct Listing {
        QList<CanvasAssignment> items;
        bool rejected = false; // the server answered 401
        bool failed = false;   // a request did not get through
        QString otherServer;   // a request was sent on to this host
    };
    struct PagesEnd {
        bool rejected = false;
        bool failed = false;
        QString otherServer;
    };
    // Reads a list page by page: take gets each body and answers whether it
    // read; a page that fails ends the list with what came before it. done
    // learns whether the server refused the token or a page did not come.
    void getPages(const QUrl &url, const QString &token, int page, std::function<bool(const QByteArray &)> take,
                  std::function<void(PagesEnd)> done);
    void requestPlanner(const QString &baseURL, const QString &token, std::function<void(Listing)> done);
    void requestMissing(const QString &baseURL, const QString &token, std::function<void(Listing)> done);
    void requestAssignments(std::function<void(Listing)> done);
    qint64 localDay() const;

    CanvasCredentialStore *m_credentials;
    QNetworkAccessManager *m_network;
    Clock *m_clock;
    Scheduler *m_scheduler;
    QTimeZone m_zone;
    qint64 m_day;
};
