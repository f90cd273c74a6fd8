#include "canvas/canvasservice.h"

#include "canvas/canvascredentials.h"
#include "core/clock.h"
#include "core/logging.h"
#include "core/scheduler.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QPromise>
#include <QRegularExpression>
#include <QSet>
#include <QUrlQuery>
#include <memory>

namespace {

// Value readers: false when the JSON value has another type.
bool readString(const QJsonValue &v, QString &out)
{
    if (!v.isString())
        return false;
    out = v.toString();
    return true;
}

bool readBool(const QJsonValue &v, bool &out)
{
    if (!v.isBool())
        return false;
    out = v.toBool();
    return true;
}

bool readDouble(const QJsonValue &v, double &out)
{
    if (!v.isDouble())
        return false;
    out = v.toDouble();
    return true;
}

// Integers are kept as 64-bit integers by the parser when the text is a
// whole number that fits; only those are read, never through a double, so
// ids beyond 2^53 stay exact.
bool readInt64(const QJsonValue &v, qint64 &out)
{
    if (!v.isDouble() || v.toVariant().typeId() != QMetaType::LongLong)
        return false;
    out = v.toInteger();
    return true;
}

template<typename T, typename Reader>
bool requiredField(const QJsonObject &o, QLatin1StringView key, T &out, Reader read)
{
    return read(o.value(key), out);
}

template<typename T, typename Reader>
bool optionalField(const QJsonObject &o, QLatin1StringView key, std::optional<T> &out, Reader read)
{
    const QJsonValue v = o.value(key);
    if (v.isUndefined() || v.isNull()) {
        out.reset();
        return true;
    }
    T value{};
    if (!read(v, value))
        return false;
    out = std::move(value);
    return true;
}

bool readPlannable(const QJsonValue &v, PlannerItem::Plannable &out)
{
    if (!v.isObject())
        return false;
    const QJsonObject o = v.toObject();
    return optionalField(o, QLatin1StringView("title"), out.title, readString)
           && optionalField(o, QLatin1StringView("due_at"), out.dueAt, readString)
           && optionalField(o, QLatin1StringView("points_possible"), out.pointsPossible, readDouble);
}

bool readOverride(const QJsonValue &v, PlannerItem::PlannerOverride &out)
{
    if (!v.isObject())
        return false;
    return optionalField(v.toObject(), QLatin1StringView("marked_complete"), out.markedComplete, readBool);
}

bool readSubmissions(const QJsonValue &v, PlannerItem::PlannerSubmissions &out)
{
    if (v.isBool()) {
        out = v.toBool();
        return true;
    }
    if (!v.isObject())
        return false;
    const QJsonObject o = v.toObject();
    PlannerItem::SubmissionDetail detail;
    if (!optionalField(o, QLatin1StringView("submitted"), detail.submitted, readBool)
        || !optionalField(o, QLatin1StringView("excused"), detail.excused, readBool))
        return false;
    out = detail;
    return true;
}

bool readPlannerItem(const QJsonValue &v, PlannerItem &out)
{
    if (!v.isObject())
        return false;
    const QJsonObject o = v.toObject();
    return requiredField(o, QLatin1StringView("plannable_id"), out.plannableId, readInt64)
           && requiredField(o, QLatin1StringView("plannable_type"), out.plannableType, readString)
           && optionalField(o, QLatin1StringView("plannable"), out.plannable, readPlannable)
           && optionalField(o, QLatin1StringView("html_url"), out.htmlUrl, readString)
           && optionalField(o, QLatin1StringView("context_name"), out.contextName, readString)
           && optionalField(o, QLatin1StringView("submissions"), out.submissions, readSubmissions)
           && optionalField(o, QLatin1StringView("planner_override"), out.plannerOverride, readOverride);
}

bool readMissingItem(const QJsonValue &v, MissingItem &out)
{
    if (!v.isObject())
        return false;
    const QJsonObject o = v.toObject();
    return requiredField(o, QLatin1StringView("id"), out.id, readInt64)
           && requiredField(o, QLatin1StringView("name"), out.name, readString)
           && optionalField(o, QLatin1StringView("due_at"), out.dueAt, readString)
           && optionalField(o, QLatin1StringView("html_url"), out.htmlUrl, readString)
           && optionalField(o, QLatin1StringView("points_possible"), out.pointsPossible, readDouble)
           && optionalField(o, QLatin1StringView("course_code"), out.courseCode, readString);
}

// A list reply; a JSON null body is an empty list. An element that does not
// read (a missing key, a value of another type) is left out and the rest
// stay: one odd item must not hide the user's other work.
template<typename T, typename Reader>
std::optional<QList<T>> decodeArray(const QByteArray &json, Reader read)
{
    if (json.trimmed() == "null")
        return QList<T>();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return std::nullopt;
    QList<T> items;
    const QJsonArray array = doc.array();
    items.reserve(array.size());
    for (const QJsonValue &element : array) {
        T item;
        if (read(element, item))
            items.append(std::move(item));
    }
    return items;
}

// An address a request can go to: http or https with a host.
std::optional<QUrl> requestUrl(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("https") && scheme != QLatin1String("http")) || url.host().isEmpty())
        return std::nullopt;
    return url;
}

template<typename T>
QFuture<T> promised(const std::function<void(std::function<void(T)>)> &start)
{
    auto promise = std::make_shared<QPromise<T>>();
    promise->start();
    QFuture<T> future = promise->future();
    start([promise](T value) {
        promise->addResult(std::move(value));
        promise->finish();
    });
    return future;
}

} // namespace

std::optional<CanvasUser> CanvasUser::decode(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject o = doc.object();
    CanvasUser user;
    if (!optionalField(o, QLatin1StringView("name"), user.name, readString)
        || !optionalField(o, QLatin1StringView("short_name"), user.shortName, readString))
        return std::nullopt;
    return user;
}

std::optional<QList<PlannerItem>> PlannerItem::decodeList(const QByteArray &json)
{
    return decodeArray<PlannerItem>(json, readPlannerItem);
}

std::optional<QList<MissingItem>> MissingItem::decodeList(const QByteArray &json)
{
    return decodeArray<MissingItem>(json, readMissingItem);
}

CanvasService::CanvasService(CanvasCredentialStore *credentials, QNetworkAccessManager *network, Clock *clock,
                             Scheduler *scheduler, const QTimeZone &zone, QObject *parent)
    : QObject(parent), m_credentials(credentials), m_network(network), m_clock(clock), m_scheduler(scheduler),
      m_zone(zone), m_day(localDay())
{
}

qint64 CanvasService::localDay() const
{
    return now().toTimeZone(m_zone).date().toJulianDay();
}

bool CanvasService::timePassed()
{
    const qint64 day = localDay();
    if (day == m_day)
        return false;
    m_day = day;
    emit dayChanged();
    return true;
}

QDateTime CanvasService::now() const
{
    return QDateTime::fromMSecsSinceEpoch(m_clock->nowMs(), QTimeZone::utc());
}

QString CanvasService::dueLabel(const CanvasAssignment &item) const
{
    return item.dueLabel(now(), m_zone);
}

QString CanvasService::dueLabel(const CanvasAssignment &item, qint64 day) const
{
    // Noon stands for the day: only its date counts.
    return item.dueLabel(QDateTime(QDate::fromJulianDay(day), QTime(12, 0), m_zone), m_zone);
}

qint64 CanvasService::pointsTotal(const QList<CanvasAssignment> &items) const
{
    return ::pointsTotal(items);
}

void CanvasService::loadCredentials(std::function<void(std::optional<CanvasCredentials>)> done)
{
    if (!m_credentials) {
        done(std::nullopt);
        return;
    }
    // The secret store may answer later (a keyring being unlocked); the
    // requests wait for it.
    m_credentials->load([done](const std::optional<CanvasCredentials> &credentials) { done(credentials); });
}

QFuture<CanvasBoardReply> CanvasService::fetchBoardReply()
{
    QPointer<CanvasService> self(this);
    return promised<CanvasBoardReply>([this, self](std::function<void(CanvasBoardReply)> done) {
        requestAssignments([self, done](Listing listing) {
            CanvasBoardReply reply;
            reply.tokenRejected = listing.rejected;
            reply.failed = listing.failed;
            reply.otherServer = listing.otherServer;
            reply.items = listing.items;
            if (self)
                reply.board = CanvasBoard::build(listing.items, self->now(), self->m_zone);
            done(reply);
        });
    });
}

QFuture<CanvasBoard> CanvasService::fetchBoard()
{
    return fetchBoardReply().then([](const CanvasBoardReply &reply) { return reply.board; });
}

QFuture<QList<CanvasAssignment>> CanvasService::fetchAssignments()
{
    return promised<QList<CanvasAssignment>>([this](std::function<void(QList<CanvasAssignment>)> done) {
        requestAssignments([done](Listing listing) { done(listing.items); });
    });
}

QFuture<QList<CanvasAssignment>> CanvasService::fetchPlannerItems(const QString &baseURL, const QString &token)
{
    return promised<QList<CanvasAssignment>>([&](std::function<void(QList<CanvasAssignment>)> done) {
        requestPlanner(baseURL, token, [done](Listing listing) { done(listing.items); });
    });
}

QFuture<QList<CanvasAssignment>> CanvasService::fetchMissing(const QString &baseURL, const QString &token)
{
    return promised<QList<CanvasAssignment>>([&](std::function<void(QList<CanvasAssignment>)> done) {
        requestMissing(baseURL, token, [done](Listing listing) { done(listing.items); });
    });
}

QFuture<std::optional<QString>> CanvasService::fetchUserName()
{
    QPointer<CanvasService> self(this);
    return promised<std::optional<QString>>([this, self](std::function<void(std::optional<QString>)> done) {
        loadCredentials([self, done](std::optional<CanvasCredentials> credentials) {
            const auto url = credentials ? requestUrl(credentials->baseURL + UserPath) : std::nullopt;
            if (!self || !url) {
                done(std::nullopt);
                return;
            }
            self->get(*url, credentials->token, [done](Response response) {
                if (!response.received || response.status != 200) {
                    done(std::nullopt);
                    return;
                }
                const auto user = CanvasUser::decode(response.body);
                if (!user) {
                    done(std::nullopt);
                    return;
                }
                done(user->name ? user->name : user->shortName);
            });
        });
    });
}

void CanvasService::requestAssignments(std::function<void(Listing)> done)
{
    QPointer<CanvasService> self(this);
    loadCredentials([self, done](std::optional<CanvasCredentials> credentials) {
        if (!self || !credentials) {
            done({});
            return;
        }
        const QString base = credentials->baseURL;
        const QString token = credentials->token;
        self->requestMissing(base, token, [self, base, token, done](Listing missing) {
            // A refused token is refused for the planner too; a server that
            // sends the requests elsewhere would send that one too.
            if (!self || missing.rejected || !missing.otherServer.isEmpty()) {
                done(missing);
                return;
            }
            self->requestPlanner(base, token, [missing, done](Listing planner) {
                done({merge(missing.items, planner.items), planner.rejected, missing.failed || planner.failed,
                      planner.otherServer});
            });
        });
    });
}

QList<CanvasAssignment> CanvasService::merge(const QList<CanvasAssignment> &missing,
                                             const QList<CanvasAssignment> &planner)
{
    QList<CanvasAssignment> merged;
    QHash<QString, qsizetype> index;
    for (const CanvasAssignment &item : missing) {
        const auto it = index.constFind(item.id);
        if (it != index.constEnd()) {
            merged[*it] = item;
        } else {
            index.insert(item.id, merged.size());
            merged.append(item);
        }
    }
    for (const CanvasAssignment &item : planner) {
        if (index.contains(item.id))
            continue;
        index.insert(item.id, merged.size());
        merged.append(item);
    }
    return merged;
}

void CanvasService::requestPlanner(const QString &baseURL, const QString &token, std::function<void(Listing)> done)
{
    const QUrl url = plannerItemsUrl(baseURL, now(), m_zone);
    if (!requestUrl(url.toString(QUrl::FullyEncoded))) {
        done({{}, false, true, {}});
        return;
    }
    const QUrl base(baseURL);
    auto items = std::make_shared<QList<PlannerItem>>();
    QPointer<CanvasService> self(this);
    getPages(url, token, 1,
             [items](const QByteArray &body) {
                 const auto page = PlannerItem::decodeList(body);
                 if (page)
                     items->append(*page);
                 return page.has_value();
             },
             [self, base, items, done](PagesEnd end) {
                 Listing result;
                 result.rejected = end.rejected;
                 result.failed = end.failed;
                 result.otherServer = end.otherServer;
                 if (self && !end.rejected) {
                     const QDateTime now = self->now();
                     for (const PlannerItem &item : std::as_const(*items)) {
                         if (auto mapped = assignment(item, base, now))
                             result.items.append(*mapped);
                     }
                 }
                 done(result);
             });
}

void CanvasService::requestMissing(const QString &baseURL, const QString &token, std::function<void(Listing)> done)
{
    const auto url = requestUrl(baseURL + MissingPath);
    if (!url) {
        done({{}, false, true, {}});
        return;
    }
    const QUrl base(baseURL);
    auto items = std::make_shared<QList<MissingItem>>();
    getPages(*url, token, 1,
             [items](const QByteArray &body) {
                 const auto page = MissingItem::decodeList(body);
                 if (page)
                     items->append(*page);
                 return page.has_value();
             },
             [base, items, done](PagesEnd end) {
                 Listing result;
                 result.rejected = end.rejected;
                 result.failed = end.failed;
                 result.otherServer = end.otherServer;
                 if (!end.rejected) {
                     for (const MissingItem &item : std::as_const(*items))
                         result.items.append(assignment(item, base));
                 }
                 done(result);
             });
}

void CanvasService::getPages(const QUrl &url, const QString &token, int page,
                             std::function<bool(const QByteArray &)> take, std::function<void(PagesEnd)> done)
{
    QPointer<CanvasService> self(this);
    get(url, token, [self, url, token, page, take, done](Response response) {
        if (!response.otherServer.isEmpty()) {
            done({false, true, response.otherServer});
            return;
        }
        // 401 is the server refusing the token, whatever the body says.
        if (response.received && response.status == 401) {
            done({true, false, {}});
            return;
        }
        // No reply, an error status, or a body that is not the list (a
        // log-in page, a cut-off text): the list is not known.
        if (!response.received || response.status < 200 || response.status > 299 || !take(response.body)) {
            done({false, true, {}});
            return;
        }
        const NextLink next = nextLink(response.link, url);
        switch (next.kind) {
        case NextLink::Kind::None:
            // The school says this page is the last: the list is whole.
            done({});
            return;
        case NextLink::Kind::Elsewhere:
            // The rest of the list is on another server: it is not asked,
            // and the list is not known, as with a redirect there.
            done({false, true, next.place});
            return;
        case NextLink::Kind::Unreadable:
            qCInfo(lcCanvas) << "a list's next link cannot be followed";
            done({false, true, {}});
            return;
        case NextLink::Kind::Next:
            break;
        }
        // Still going after the last page read: the rest is not known.
        if (!self || page >= MaxPages) {
            qCInfo(lcCanvas) << "a list runs past" << MaxPages << "pages";
            done({false, true, {}});
            return;
        }
        self->getPages(next.url, token, page + 1, take, done);
    });
}

bool CanvasService::sameServer(const QUrl &target, const QUrl &current)
{
    return target.isValid() && !target.host().isEmpty() && target.userInfo().isEmpty()
           && CanvasCredentials::schoolOf(target.toString()) == CanvasCredentials::schoolOf(current.toString());
}

QString CanvasService::placeOf(const QUrl &target, const QUrl &current)
{
    QString place = target.host();
    if (target.port() >= 0)
        place += QLatin1Char(':') + QString::number(target.port());
    // Never the password.
    if (!target.userName().isEmpty())
        place = target.userName() + QLatin1Char('@') + place;
    if (target.scheme().compare(current.scheme(), Qt::CaseInsensitive) != 0)
        place = target.scheme().toLower() + QStringLiteral("://") + place;
    return place;
}

CanvasService::NextLink CanvasService::nextLink(const QByteArray &linkHeader, const QUrl &current)
{
    // Link: <url>; rel="current", <url>; rel="next", … Addresses may hold
    // commas and semicolons, so the header is read link by link from the
    // angle brackets on. A link whose address does not close may have been
    // the next one: the header then tells nothing sure.
    NextLink unreadable;
    unreadable.kind = NextLink::Kind::Unreadable;
    qsizetype at = 0;
    while (at < linkHeader.size()) {
        const qsizetype open = linkHeader.indexOf('<', at);
        if (open < 0)
            break;
        const qsizetype close = linkHeader.indexOf('>', open + 1);
        if (close < 0)
            return unreadable;
        const QByteArray target = linkHeader.mid(open + 1, close - open - 1).trimmed();
        qsizetype end = linkHeader.indexOf('<', close + 1);
        if (end < 0)
            end = linkHeader.size();
        const QByteArray params = linkHeader.mid(close + 1, end - close - 1);
        at = end;

        bool isNext = false;
        for (const QByteArray &param : params.split(';')) {
            const qsizetype eq = param.indexOf('=');
            if (eq < 0 || param.left(eq).trimmed().toLower() != "rel")
                continue;
            QByteArray value = param.mid(eq + 1).trimmed();
            while (value.endsWith(','))
                value.chop(1);
            value = value.trimmed();
            if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
                value = value.mid(1, value.size() - 2);
            for (const QByteArray &rel : value.toLower().split(' ')) {
                if (rel == "next")
                    isNext = true;
            }
        }
        if (!isNext)
            continue;
        // The server's address is used as it came, not re-encoded.
        const QUrl next = current.resolved(QUrl::fromEncoded(target, QUrl::StrictMode));
        // An address without a host (file:, a bad port) can be asked nowhere.
        if (!next.isValid() || next.host().isEmpty())
            return unreadable;
        // The token goes only to the server that was asked first.
        if (!sameServer(next, current))
            return {NextLink::Kind::Elsewhere, {}, placeOf(next, current)};
        const QString scheme = next.scheme().toLower();
        if (scheme != QLatin1String("https") && scheme != QLatin1String("http"))
            return unreadable;
        return {NextLink::Kind::Next, next, {}};
    }
    return {};
}

void CanvasService::get(const QUrl &url, const QString &token, std::function<void(Response)> done, int redirects)
{
    // A control character would go into the header as it is: such a token
    // is never sent, and the request counts as one that got no reply.
    if (CanvasCredentials::hasControlCharacter(token)) {
        QMetaObject::invokeMethod(this, [done] { done(Response()); }, Qt::QueuedConnection);
        return;
    }
    QNetworkRequest request(url);
    request.setRawHeader("Authorization", "Bearer " + token.toUtf8());
    request.setRawHeader("Accept", "application/json");
    // Redirects are looked at here: the token goes only to the school's own
    // server. No cookie is kept or sent either; the token is the only key.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setTransferTimeout(RequestTimeoutMs);
    QNetworkReply *reply = m_network->get(request);
    // Going away with the service aborts the request.
    reply->setParent(this);
    // The transfer timeout counts only silence; a server that trickles a
    // byte now and then is stopped by this one.
    QPointer<QNetworkReply> running(reply);
    auto limit = std::make_shared<TaskHandle>(m_scheduler->after(RequestTimeoutMs, [running] {
        if (running)
            running->abort();
    }));
    QPointer<CanvasService> self(this);
    connect(reply, &QNetworkReply::finished, this, [self, reply, url, token, done, redirects, limit] {
        limit->cancel();
        reply->deleteLater();
        Response response;
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        // An HTTP error status still counts as a reply; a transfer that broke
        // off (or never started) does not.
        const QNetworkReply::NetworkError error = reply->error();
        const bool transportFailed = error != QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied;
        const int code = status.toInt();
        const QByteArray location = reply->rawHeader("Location");
        if (status.isValid() && !transportFailed && code >= 300 && code <= 399 && !location.isEmpty()) {
            const QUrl target = url.resolved(QUrl::fromEncoded(location.trimmed(), QUrl::StrictMode));
            const bool school = sameServer(target, url);
            if (school && redirects < MaxRedirects && self) {
                self->get(target, token, done, redirects + 1);
                return;
            }
            if (!school && target.isValid() && !target.host().isEmpty())
                response.otherServer = placeOf(target, url);
            done(response);
            return;
        }
        // Both time limits end the request as aborted.
        if (!status.isValid() && self
            && (error == QNetworkReply::TimeoutError || error == QNetworkReply::OperationCanceledError))
            emit self->requestUnanswered();
        if (status.isValid() && !transportFailed) {
            response.received = true;
            response.status = code;
            response.body = reply->readAll();
            // Header names are matched in any case.
            response.link = reply->rawHeader("Link");
        }
        done(response);
    });
}

std::optional<QDateTime> CanvasService::readDueDate(const std::optional<QString> &text)
{
    if (!text || text->isEmpty())
        return std::nullopt;
    static const QRegularExpression internetDateTime(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}(\\.\\d+)?(Z|[+-]\\d{2}:\\d{2})$"));
    if (!internetDateTime.match(*text).hasMatch())
        return std::nullopt;
    const QDateTime parsed = QDateTime::fromString(*text, Qt::ISODateWithMs);
    if (!parsed.isValid())
        return std::nullopt;
    return parsed.toUTC();
}

std::optional<QUrl> CanvasService::pageUrl(const std::optional<QString> &text, const QUrl &base)
{
    if (!text || text->isEmpty())
        return std::nullopt;
    const QUrl url(*text, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    if (url.isRelative() && base.isValid() && !base.isRelative())
        return base.resolved(url);
    return url;
}

std::optional<CanvasAssignment> CanvasService::assignment(const PlannerItem &item, const QUrl &base, const QDateTime &now)
{
    static const QSet<QString> types = {QStringLiteral("assignment"), QStringLiteral("quiz"),
                                        QStringLiteral("discussion_topic")};
    if (!types.contains(item.plannableType))
        return std::nullopt;
    if (item.plannerOverride && item.plannerOverride->markedComplete.value_or(false))
        return std::nullopt;
    if (item.submissions) {
        if (const bool *flag = std::get_if<bool>(&*item.submissions)) {
            if (*flag)
                return std::nullopt;
        } else {
            const auto &detail = std::get<PlannerItem::SubmissionDetail>(*item.submissions);
            if (detail.submitted.value_or(false) || detail.excused.value_or(false))
                return std::nullopt;
        }
    }
    if (!item.plannable || !item.plannable->title || item.plannable->title->isEmpty())
        return std::nullopt;

    CanvasAssignment a;
    a.id = QStringLiteral("canvas-") + QString::number(item.plannableId);
    a.title = *item.plannable->title;
    a.course = item.contextName;
    a.dueAt = readDueDate(item.plannable->dueAt);
    a.url = pageUrl(item.htmlUrl, base);
    a.points = item.plannable->pointsPossible;
    a.isQuiz = item.plannableType == QLatin1String("quiz");
    a.overdue = a.dueAt && *a.dueAt < now;
    return a;
}

CanvasAssignment CanvasService::assignment(const MissingItem &item, const QUrl &base)
{
    CanvasAssignment a;
    a.id = QStringLiteral("canvas-") + QString::number(item.id);
    a.title = item.name;
    a.course = item.courseCode;
    a.dueAt = readDueDate(item.dueAt);
    a.url = pageUrl(item.htmlUrl, base);
    a.points = item.pointsPossible;
    a.isQuiz = false;
    a.overdue = true;
    return a;
}

QUrl CanvasService::plannerItemsUrl(const QString &baseURL, const QDateTime &now, const QTimeZone &zone)
{
    QUrl url(baseURL + PlannerPath, QUrl::StrictMode);
    if (!url.isValid())
        return QUrl();
    // Days are calendar days of the machine's zone, so a daylight-saving
    // change in between keeps the wall-clock time.
    const QDateTime local = now.toTimeZone(zone);
    const auto iso = [](const QDateTime &t) {
        return t.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
    };
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("start_date"), iso(local.addDays(-1)));
    query.addQueryItem(QStringLiteral("end_date"), iso(local.addDays(14)));
    query.addQueryItem(QStringLiteral("per_page"), QStringLiteral("50"));
    url.setQuery(query);
    return url;
}
