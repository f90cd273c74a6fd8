#include "tools/speedtestengine.h"
#include "core/nocookies.h"

#include "core/clock.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <algorithm>
#include <cmath>

SpeedTestEngine::SpeedTestEngine(const Clock *clock, Scheduler *scheduler, const SpeedTestConfig &config,
                                 QObject *parent)
    : QObject(parent), m_clock(clock), m_scheduler(scheduler), m_config(config),
      m_remaining(int(std::ceil(config.nominalSeconds)))
{
    // Nothing of a run is kept: no cache is set, and no cookie is kept.
    refuseCookies(m_network);
    m_network.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

SpeedTestEngine::~SpeedTestEngine()
{
    ++m_generation;
    if (m_reply)
        m_reply->abort();
}

double SpeedTestEngine::window(double elapsedSeconds, const SpeedTestConfig &config)
{
    const double w = config.nominalSeconds - elapsedSeconds;
    return w <= config.leastWindowSeconds ? config.leastWindowSeconds : w;
}

double SpeedTestEngine::rate(qint64 bytes, double seconds)
{
    return double(bytes) * 8.0 / std::max(seconds, 0.001) / 1e6;
}

int SpeedTestEngine::remainingFor(double elapsedSeconds, double nominalSeconds)
{
    return std::max(0, int(std::ceil(nominalSeconds - elapsedSeconds)));
}

double SpeedTestEngine::elapsedSince(qint64 startMs) const
{
    return double(m_clock->monotonicMs() - startMs) / 1000.0;
}

void SpeedTestEngine::start()
{
    if (m_phase == Phase::running)
        return;
    stopRun();
    setResults(std::nullopt, std::nullopt, std::nullopt);
    setProgress(0);
    setRemaining(int(std::ceil(m_config.nominalSeconds)));
    setPhase(Phase::running);

    m_runStartMs = m_clock->monotonicMs();
    m_ticker = m_scheduler->every(m_config.tickMs, [this] { tick(); });
    m_stage = Stage::ping;
    m_pingIndex = 0;
    m_samples.clear();
    sendPing();
}

void SpeedTestEngine::cancel()
{
    stopRun();
    if (m_phase == Phase::running) {
        setPhase(Phase::idle);
        setProgress(0);
        setRemaining(int(std::ceil(m_config.nominalSeconds)));
    }
}

void SpeedTestEngine::stopRun()
{
    // A new number first, so the reply aborted below reports to nobody.
    ++m_generation;
    m_ticker.cancel();
    m_requestLimit.cancel();
    if (m_reply) {
        QNetworkReply *reply = m_reply;
        m_reply = nullptr;
        reply->abort();
        reply->deleteLater();
    }
}

void SpeedTestEngine::sendPing()
{
    QNetworkRequest request(m_config.mainBase.resolved(QUrl(QStringLiteral("/cdn-cgi/trace"))));
    request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(m_config.idleTimeoutMs);
    m_requestStartMs = m_clock->monotonicMs();
    send(m_network.get(request));
}

void SpeedTestEngine::sendTransfer()
{
    const double spent = elapsedSince(m_transferStartMs);
    if (spent >= m_budget) {
        transferDone();
        return;
    }
    if (m_stage == Stage::download) {
        const qint64 size = spent < m_budget - m_config.smallRequestSeconds ? m_config.largeDownloadBytes
                                                                            : m_config.smallDownloadBytes;
        QUrl url = m_config.speedBase.resolved(QUrl(QStringLiteral("/__down")));
        url.setQuery(QStringLiteral("bytes=") + QString::number(size));
        QNetworkRequest request(url);
        request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent);
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        request.setTransferTimeout(m_config.idleTimeoutMs);
        send(m_network.get(request));
    } else {
        QNetworkRequest request(m_config.speedBase.resolved(QUrl(QStringLiteral("/__up"))));
        request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent);
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/octet-stream"));
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        request.setTransferTimeout(m_config.idleTimeoutMs);
        send(m_network.post(request, m_uploadBody));
    }
}

void SpeedTestEngine::send(QNetworkReply *reply)
{
    m_reply = reply;
    m_replyBytes = 0;
    const quint64 generation = m_generation;
    // Bodies are counted, never kept.
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        if (reply == m_reply)
            m_replyBytes += reply->readAll().size();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, generation] { onFinished(reply, generation); });
    // A request may take this long at most, data or not.
    m_requestLimit = m_scheduler->after(m_config.requestTimeoutMs, [reply = QPointer<QNetworkReply>(reply)] {
        if (reply)
            reply->abort();
    });
}

void SpeedTestEngine::onFinished(QNetworkReply *reply, quint64 generation)
{
    reply->deleteLater();
    // A superseded or cancelled run reports nothing.
    if (generation != m_generation || reply != m_reply)
        return;
    m_requestLimit.cancel();
    if (reply->isOpen())
        m_replyBytes += reply->readAll().size();
    m_reply = nullptr;

    const QVariant statusAttr = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int status = statusAttr.isValid() ? statusAttr.toInt() : 0;
    if (reply->error() != QNetworkReply::NoError || !statusAttr.isValid()) {
        fail();
        return;
    }

    switch (m_stage) {
    case Stage::ping: {
        if (status < 200 || status > 399) {
            fail();
            return;
        }
        if (m_pingIndex != 0)
            m_samples.append(double(m_clock->monotonicMs() - m_requestStartMs));
        if (++m_pingIndex < m_config.pingRequests) {
            sendPing();
            return;
        }
        std::sort(m_samples.begin(), m_samples.end());
        m_pingResult = m_samples.isEmpty() ? 0 : m_samples.at(m_samples.size() / 2);
        m_window = window(elapsedSince(m_runStartMs), m_config);
        m_stage = Stage::download;
        m_budget = m_window * m_config.downloadShare;
        m_transferStartMs = m_clock->monotonicMs();
        m_transferBytes = 0;
        sendTransfer();
        return;
    }
    case Stage::download:
        if (status != 200 || m_replyBytes <= 0) {
            fail();
            return;
        }
        m_transferBytes += m_replyBytes;
        sendTransfer();
        return;
    case Stage::upload:
        if (status < 200 || status > 399) {
            fail();
            return;
        }
        m_transferBytes += m_uploadBody.size();
        sendTransfer();
        return;
    }
}

void SpeedTestEngine::transferDone()
{
    const double result = rate(m_transferBytes, elapsedSince(m_transferStartMs));
    if (m_stage == Stage::download) {
        m_downResult = result;
        m_stage = Stage::upload;
        m_budget = m_window - m_window * m_config.downloadShare;
        m_uploadBody = QByteArray(qsizetype(m_config.uploadBytes), '\0');
        m_transferStartMs = m_clock->monotonicMs();
        m_transferBytes = 0;
        sendTransfer();
        return;
    }
    m_uploadBody.clear();
    m_ticker.cancel();
    setResults(m_pingResult, m_downResult, result);
    setProgress(1);
    setRemaining(0);
    setPhase(Phase::done);
}

void SpeedTestEngine::fail()
{
    stopRun();
    m_uploadBody.clear();
    setPhase(Phase::failed, FailureText);
    setProgress(0);
    setRemaining(int(std::ceil(m_config.nominalSeconds)));
}

void SpeedTestEngine::tick()
{
    const double elapsed = elapsedSince(m_runStartMs);
    setProgress(std::min(elapsed / m_config.nominalSeconds, 0.99));
    setRemaining(remainingFor(elapsed, m_config.nominalSeconds));
}

void SpeedTestEngine::setPhase(Phase phase, const QString &message)
{
    if (m_phase != phase || m_message != message) {
        m_phase = phase;
        m_message = message;
        emit phaseChanged();
    }
}

void SpeedTestEngine::setProgress(double progress)
{
    if (m_progress != progress) {
        m_progress = progress;
        emit progressChanged();
    }
}

void SpeedTestEngine::setRemaining(int remaining)
{
    if (m_remaining != remaining) {
        m_remaining = remaining;
        emit remainingChanged();
    }
}

void SpeedTestEngine::setResults(std::optional<double> ping, std::optional<double> down, std::optional<double> up)
{
    if (m_ping != ping || m_down != down || m_up != up) {
        m_ping = ping;
        m_down = down;
        m_up = up;
        emit resultsChanged();
    }
}
