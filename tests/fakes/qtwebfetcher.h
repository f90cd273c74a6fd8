#pragma once

#include "platform/webfetcher.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkRequest>
#include <QPointer>
#include <map>

// Fetches in the test's own process, each fetch through a manager of its
// own that takes network's proxy and redirect policy, as the fetch helper
// does with the desktop's; the tests' servers answer on 127.0.0.1.
class QtWebFetcher final : public platform::IWebFetcher {
public:
    explicit QtWebFetcher(QNetworkAccessManager *network) : m_network(network) {}
    ~QtWebFetcher() override
    {
        while (!m_managers.empty())
            cancel(m_managers.begin()->first);
    }

    int started = 0;

    quint64 get(const QUrl &url, const Headers &headers, Done done) override
    {
        ++started;
        const quint64 id = ++m_lastId;
        QNetworkRequest request(url);
        for (const auto &[name, value] : headers)
            request.setRawHeader(name, value);
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        auto *manager = new QNetworkAccessManager;
        manager->setProxy(m_network->proxy());
        manager->setRedirectPolicy(m_network->redirectPolicy());
        m_managers[id] = manager;
        QNetworkReply *reply = manager->get(request);
        QObject::connect(reply, &QNetworkReply::finished, manager, [this, id, reply, done = std::move(done)] {
            platform::WebAnswer answer;
            answer.error = reply->error();
            const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
            if (status.isValid())
                answer.status = status.toInt();
            answer.body = reply->readAll();
            m_managers.erase(id);
            reply->manager()->deleteLater();
            done(answer);
        });
        return id;
    }

    void cancel(quint64 id) override
    {
        const auto it = m_managers.find(id);
        if (it == m_managers.end())
            return;
        QNetworkAccessManager *manager = it->second;
        m_managers.erase(it);
        // Its reply's finished goes with it.
        for (QNetworkReply *reply : manager->findChildren<QNetworkReply *>())
            reply->disconnect(manager);
        manager->deleteLater();
    }

private:
    QNetworkAccessManager *m_network;
    quint64 m_lastId = 0;
    std::map<quint64, QNetworkAccessManager *> m_managers;
};
