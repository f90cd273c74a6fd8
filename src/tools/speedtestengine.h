#pragma once

#include "core/scheduler.h"
#include "tools/tooltypes.h"

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <optional>

class Clock;
class QNetworkReply;

// Where the speed test goes and how long it runs.
struct SpeedTestConfig {
    // The provider's main web host (latency) and its speed-test host
    // (download and upload).
    QUrl mainBase = QUrl(QStringLiteral("https://www.cloudflare.com"));
    QUrl speedBase = QUrl(QStringLiteral("https://speed.cloudflare.com"));
    double nominalSeconds = 20;
    double leastWindowSeconds = 12;
    double downloadShare = 0.58;
    // Once this little of the download budget is left, ask for small bodies.
    double smallRequestSeconds = 1.5;
    qint64 largeDownloadBytes = 4000000;
    qint64 smallDownloadBytes = 1000000;
    qint64 uploadBytes = 512000;
    int pingRequests = 4;
    int tickMs = 100;
    // Longest wait for more data of one request, and longest total time.
    int idleTimeoutMs = 12000;
    int requestTimeoutMs = 20000;
};

// Measures latency, download and upload throughput against a public
// speed-test provider in one run of about 20 s.
class SpeedTestEngine : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The island owns the speed test")
    Q_PROPERTY(Tools::SpeedTestPhase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(QString failureMessage READ failureMessage NOTIFY phaseChanged)
    Q_PROPERTY(QVariant pingMS READ pingVariant NOTIFY resultsChanged)
    Q_PROPERTY(QVariant downloadMbps READ downloadVariant NOTIFY resultsChanged)
    Q_PROPERTY(QVariant uploadMbps READ uploadVariant NOTIFY resultsChanged)
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(int remaining READ remaining NOTIFY remainingChanged)
public:
    using Phase = Tools::SpeedTestPhase;
    static inline const QByteArray UserAgent = QByteArrayLiteral("Pavlet/0.1.2");
    static inline const QString FailureText = QStringLiteral("Couldn't reach the network");

    SpeedTestEngine(const Clock *clock, Scheduler *scheduler, const SpeedTestConfig &config = {},
                    QObject *parent = nullptr);
    ~SpeedTestEngine() override;

    Phase phase() const { return m_phase; }
    QString failureMessage() const { return m_message; }
    std::optional<double> pingMS() const { return m_ping; }
    std::optional<double> downloadMbps() const { return m_down; }
    std::optional<double> uploadMbps() const { return m_up; }
    double progress() const { return m_progress; }
    int remaining() const { return m_remaining; }

    Q_INVOKABLE void start();
    Q_INVOKABLE void cancel();

    // The transfer window left after a ping phase of elapsed seconds.
    static double window(double elapsedSeconds, const SpeedTestConfig &config);
    // Megabits per second for bytes moved in seconds.
    static double rate(qint64 bytes, double seconds);
    // Whole seconds left of the nominal run after elapsed seconds.
    static int remainingFor(double elapsedSeconds, double nominalSeconds);

signals:
    void phaseChanged();
    void resultsChanged();
    void progressChanged();
    void remainingChanged();

private:
    enum class Stage { ping, download, upload };

    double elapsedSince(qint64 startMs) const;
    void sendPing();
    void sendTransfer();
    void send(QNetworkReply *reply);
    void onFinished(QNetworkReply *reply, quint64 generation);
    void transferDone();
    void succeed();
    void fail();
    void tick();
    void stopRun();
    void setPhase(Phase phase, const QString &message = QString());
    void setProgress(double progress);
    void setRemaining(int remaining);
    void setResults(std::optional<double> ping, std::optional<double> down, std::optional<double> up);
    QVariant pingVariant() const { return m_ping ? QVariant(*m_ping) : QVariant::fromValue(nullptr); }
    QVariant downloadVariant() const { return m_down ? QVariant(*m_down) : QVariant::fromValue(nullptr); }
    QVariant uploadVariant() const { return m_up ? QVariant(*m_up) : QVariant::fromValue(nullptr); }

    const Clock *m_clock;
    Scheduler *m_scheduler;
    SpeedTestConfig m_config;
    QNetworkAccessManager m_network;

    Phase m_phase = Phase::idle;
    QString m_message;
    std::optional<double> m_ping, m_down, m_up;
    double m_progress = 0;
    int m_remaining = 20;

    // Every run has its own number; replies of an older run are dropped.
    quint64 m_generation = 0;
    qint64 m_runStartMs = 0;
    Stage m_stage = Stage::ping;
    int m_pingIndex = 0;
    qint64 m_requestStartMs = 0;
    QList<double> m_samples;
    double m_pingResult = 0;
    double m_window = 0;
    double m_budget = 0;
    qint64 m_transferStartMs = 0;
    qint64 m_transferBytes = 0;
    qint64 m_replyBytes = 0;
    double m_downResult = 0;
    QByteArray m_uploadBody;
    QPointer<QNetworkReply> m_reply;
    TaskHandle m_ticker;
    TaskHandle m_requestLimit;
};
