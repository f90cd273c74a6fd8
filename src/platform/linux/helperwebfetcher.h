#pragma once

#include "platform/webfetcher.h"

#include <QObject>
#include <QString>
#include <map>

class QProcess;

namespace platform {

// Each fetch runs in a pavlet-fetch process of its own, which loads the
// network's TLS library and goes away with it once it has answered.
class HelperWebFetcher final : public QObject, public IWebFetcher {
    Q_OBJECT
public:
    // helper: the pavlet-fetch program; empty means the one the build made,
    // else the one beside this program.
    explicit HelperWebFetcher(const QString &helper = QString(), QObject *parent = nullptr);
    ~HelperWebFetcher() override;

    quint64 get(const QUrl &url, const Headers &headers, Done done) override;
    void cancel(quint64 id) override;

private:
    void finish(quint64 id);

    QString m_helper;
    quint64 m_lastId = 0;
    struct Fetch {
        QProcess *process = nullptr;
        Done done;
    };
    std::map<quint64, Fetch> m_fetches;
};

// What a pavlet-fetch printed, read back; an unreadable answer is a failure.
WebAnswer parseFetchOutput(const QByteArray &output);

} // namespace platform
