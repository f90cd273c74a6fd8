#include "platform/linux/helpersecretstore.h"

#include "core/logging.h"
#include "platform/linux/besideprogram.h"
#include "platform/linux/helperprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <memory>

namespace platform {

namespace {

const QByteArray PromptLine = QByteArrayLiteral("prompt\n");
// The helper's own limit ends its wait on the keyring; it is then given this
// long to say how the keyring was left (still locked, say) before the island
// stops waiting for it.
constexpr int AnswerGraceMs = 1500;

// The answer after the line that tells of a prompt.
QByteArray answerOf(const QByteArray &output)
{
    return output.startsWith(PromptLine) ? output.mid(PromptLine.size()) : output;
}

} // namespace

ISecretStore::ReadResult parseSecretRead(const std::optional<QByteArray> &printed)
{
    ISecretStore::ReadResult result;
    if (!printed)
        return result;
    const QByteArray output = answerOf(*printed);
    static const QByteArray found = QByteArrayLiteral("found\n");
    if (output.startsWith(found)) {
        result.status = ISecretStore::ReadResult::Status::Found;
        result.data = output.mid(found.size());
    } else if (output == "notfound\n") {
        result.status = ISecretStore::ReadResult::Status::NotFound;
    } else if (output == "locked\n") {
        result.status = ISecretStore::ReadResult::Status::Locked;
    } else if (output == "nokeyring\n") {
        result.status = ISecretStore::ReadResult::Status::NoKeyring;
    }
    return result;
}

bool parseSecretChange(const std::optional<QByteArray> &output)
{
    return output && answerOf(*output) == "ok\n";
}

HelperSecretStore::HelperSecretStore(const QString &helper, int readTimeoutMs, int changeTimeoutMs,
                                     int promptTimeoutMs, int watchEveryMs, QObject *parent)
    : QObject(parent)
    , m_helper(helper.isEmpty() ? builtOrBesideProgram(QStringLiteral(PAVLET_SECRET_HELPER)) : helper)
    , m_readTimeoutMs(readTimeoutMs)
    , m_changeTimeoutMs(changeTimeoutMs)
    , m_promptTimeoutMs(promptTimeoutMs)
{
    m_watch.setSingleShot(true);
    m_watch.setInterval(watchEveryMs);
    connect(&m_watch, &QTimer::timeout, this, &HelperSecretStore::lookWhetherOpen);
}

void HelperSecretStore::whenOpen(std::function<void()> opened)
{
    m_whenOpen.push_back(std::move(opened));
    if (!m_watch.isActive() && !m_looking)
        m_watch.start();
}

void HelperSecretStore::lookWhetherOpen()
{
    m_looking = true;
    // The same time as a change: the state asks nothing that prompts.
    run({QStringLiteral("state")}, {}, m_changeTimeoutMs, [this](const std::optional<QByteArray> &output) {
        m_looking = false;
        if (output != QByteArrayLiteral("open\n")) {
            if (!m_whenOpen.empty())
                m_watch.start();
            return;
        }
        const auto waiting = std::exchange(m_whenOpen, {});
        for (const std::function<void()> &opened : waiting)
            opened();
    });
}

HelperSecretStore::~HelperSecretStore()
{
    for (QProcess *process : findChildren<QProcess *>(Qt::FindDirectChildrenOnly)) {
        process->disconnect();
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(2000);
        }
    }
}

void HelperSecretStore::readPassword(const QString &service, const QString &account, ReadCallback done)
{
    run({QStringLiteral("read"), service, account, QString::number(m_readTimeoutMs), QString::number(m_promptTimeoutMs)},
        {}, m_readTimeoutMs,
        [done = std::move(done)](const std::optional<QByteArray> &output) { done(parseSecretRead(output)); });
}

void HelperSecretStore::writePassword(const QString &service, const QString &account, const QByteArray &data,
                                      DoneCallback done)
{
    // The secret goes through the pipe, never on a command line others can read.
    run({QStringLiteral("write"), service, account, QString::number(m_changeTimeoutMs),
         QString::number(m_promptTimeoutMs)},
        data, m_changeTimeoutMs,
        [done = std::move(done)](const std::optional<QByteArray> &output) { done(parseSecretChange(output)); });
}

void HelperSecretStore::deletePassword(const QString &service, const QString &account, DoneCallback done)
{
    run({QStringLiteral("delete"), service, account, QString::number(m_changeTimeoutMs),
         QString::number(m_promptTimeoutMs)},
        {}, m_changeTimeoutMs,
        [done = std::move(done)](const std::optional<QByteArray> &output) { done(parseSecretChange(output)); });
}

void HelperSecretStore::hold()
{
    m_held = true;
}

void HelperSecretStore::release()
{
    m_held = false;
    std::vector<std::function<void()>> calls;
    calls.swap(m_heldCalls);
    for (const std::function<void()> &call : calls)
        call();
}

void HelperSecretStore::run(const QStringList &args, const QByteArray &input, int timeoutMs,
                            std::function<void(const std::optional<QByteArray> &)> finish)
{
    if (m_held) {
        m_heldCalls.push_back([this, args, input, timeoutMs, finish = std::move(finish)]() mutable {
            run(args, input, timeoutMs, std::move(finish));
        });
        return;
    }
    auto *process = new QProcess(this);
    endWithThisProgram(process);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    auto answered = std::make_shared<bool>(false);
    auto answer = [answered, finish = std::move(finish)](const std::optional<QByteArray> &output) {
        if (!std::exchange(*answered, true))
            finish(output);
    };
    // Started before the process, so that a helper that cannot start (which
    // may be said inside start()) finds it there to stop.
    auto *timer = new QTimer(process);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [process, answer, timeoutMs] {
        qCInfo(lcPlatform) << "secret store did not answer in" << timeoutMs << "ms";
        process->disconnect();
        if (process->state() == QProcess::NotRunning) {
            process->deleteLater();
        } else {
            connect(process, &QProcess::finished, process, &QObject::deleteLater);
            process->kill();
        }
        answer(std::nullopt);
    });
    // The keyring prompts: the user is given the time to answer it.
    connect(process, &QProcess::readyReadStandardOutput, timer, [this, process, timer] {
        if (process->peek(PromptLine.size()) == PromptLine && timer->isActive()
            && timer->interval() < m_promptTimeoutMs + AnswerGraceMs)
            timer->start(m_promptTimeoutMs + AnswerGraceMs);
    });
    connect(process, &QProcess::finished, this, [process, timer, answer](int code, QProcess::ExitStatus status) {
        timer->stop();
        std::optional<QByteArray> output;
        if (status == QProcess::NormalExit && code == 0)
            output = process->readAllStandardOutput();
        process->deleteLater();
        answer(output);
    });
    connect(process, &QProcess::errorOccurred, this, [this, process, timer, answer](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        qCWarning(lcPlatform) << "could not start" << m_helper;
        timer->stop();
        process->deleteLater();
        answer(std::nullopt);
    });
    timer->start(timeoutMs + AnswerGraceMs);
    process->start(m_helper, args);
    if (process->state() == QProcess::NotRunning)
        return;
    if (!input.isEmpty())
        process->write(input);
    process->closeWriteChannel();
}

} // namespace platform
