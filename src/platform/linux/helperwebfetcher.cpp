#include "platform/linux/helperwebfetcher.h"

#include "core/logging.h"
#include "platform/linux/besideprogram.h"
#include "platform/linux/helperprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace platform {

WebAnswer parseFetchOutput(const QByteArray &output)
{
    WebAnswer answer;
    answer.error = QNetworkReply::ProtocolFailure;
    const qsizetype end = output.indexOf('\n');
    if (end < 0)
        return answer;
    const QList<QByteArray> head = output.left(end).split(' ');
    bool errorOk = false;
    const int error = head.value(0).toInt(&errorOk);
    if (head.size() != 2 || !errorOk || error < 0)
        return answer;
    bool statusOk = false;
    const int status = head[1].toInt(&statusOk);
    if (!statusOk && head[1] != "-")
        return answer;
    answer.error = QNetworkReply::NetworkError(error);
    if (statusOk)
        answer.status = status;
    answer.body = output.mid(end + 1, IWebFetcher::MaxBody);
    return answer;
}

HelperWebFetcher::HelperWebFetcher(const QString &helper, QObject *parent)
    : QObject(parent)
    , m_helper(helper.isEmpty() ? builtOrBesideProgram(QStringLiteral(PAVLET_FETCH_HELPER)) : helper)
{
}

HelperWebFetcher::~HelperWebFetcher()
{
    // The helpers still running are ended and reaped here: a killed helper
    // goes at once, and none is left behind as a zombie or a warning.
    for (auto &[id, fetch] : m_fetches) {
        fetch.process->disconnect(this);
        if (fetch.process->state() != QProcess::NotRunning) {
            fetch.process->kill();
            fetch.process->waitForFinished(1000);
        }
    }
    m_fetches.clear();
}

quint64 HelperWebFetcher::get(const QUrl &url, const Headers &headers, Done done)
{
    const quint64 id = ++m_lastId;
    QStringList args{url.toString(QUrl::FullyEncoded)};
    for (const auto &[name, value] : headers)
        args << QString::fromUtf8(name) << QString::fromUtf8(value);
    auto *process = new QProcess(this);
    endWithThisProgram(process);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_fetches[id] = Fetch{process, std::move(done)};
    // finished, or errorOccurred alone when the helper could not start.
    connect(process, &QProcess::finished, this, [this, id] { finish(id); });
    connect(process, &QProcess::errorOccurred, this, [this, id](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            qCWarning(lcPlatform) << "could not start" << m_helper;
            finish(id);
        }
    });
    // Started from the event loop, so that done never runs inside get().
    QMetaObject::invokeMethod(this, [this, id, args] {
        if (const auto it = m_fetches.find(id); it != m_fetches.end())
            it->second.process->start(m_helper, args);
    }, Qt::QueuedConnection);
    return id;
}

void HelperWebFetcher::finish(quint64 id)
{
    const auto it = m_fetches.find(id);
    if (it == m_fetches.end())
        return;
    Fetch fetch = std::move(it->second);
    m_fetches.erase(it);
    const bool clean = fetch.process->exitStatus() == QProcess::NormalExit && fetch.process->exitCode() == 0
        && fetch.process->error() != QProcess::FailedToStart;
    WebAnswer answer;
    answer.error = QNetworkReply::ProtocolFailure;
    if (clean)
        answer = parseFetchOutput(fetch.process->readAllStandardOutput());
    fetch.process->deleteLater();
    if (fetch.done)
        fetch.done(answer);
}

void HelperWebFetcher::cancel(quint64 id)
{
    const auto it = m_fetches.find(id);
    if (it == m_fetches.end())
        return;
    QProcess *process = it->second.process;
    m_fetches.erase(it);
    process->disconnect(this);
    if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
        return;
    }
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->kill();
}

} // namespace platform
