#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkReply>
#include <QUrl>
#include <functional>
#include <optional>
#include <utility>

namespace platform {

// What one GET brought back.
struct WebAnswer {
    // NoError, or what went wrong on the way (an HTTP error status counts as
    // one of the content errors, with its status and body; an answer that
    // could not be read at all is a ProtocolFailure).
    QNetworkReply::NetworkError error = QNetworkReply::ProtocolFailure;
    // The HTTP status, when the server answered.
    std::optional<int> status;
    QByteArray body;
};

// Small documents fetched over HTTP(S) for work the program does on its own
// (the update check), kept away from what the program holds at rest: the
// TLS library such a fetch loads stays with the fetch.
class IWebFetcher {
public:
    using Headers = QList<std::pair<QByteArray, QByteArray>>;
    using Done = std::function<void(const WebAnswer &)>;
    // The largest body taken; a longer one ends the fetch as a content error.
    static constexpr qint64 MaxBody = 1 << 20;

    virtual ~IWebFetcher() = default;
    // Starts a GET of url; done is called once, on the main thread, after
    // the call returns, unless the fetch is cancelled first. Redirects are
    // followed as far as they do not lead from https to http.
    virtual quint64 get(const QUrl &url, const Headers &headers, Done done) = 0;
    // Ends a fetch; its done is not called. Unknown or finished ids are
    // ignored.
    virtual void cancel(quint64 id) = 0;
};

} // namespace platform
