#include "keychainsecretstore.h"

#include "logging.h"

#include <QEventLoop>
#include <QTimer>
#include <memory>
#include <qt6keychain/keychain.h>

namespace {

// Runs a QtKeychain job and waits for it, at most timeoutMs. A job that does
// not finish in time is left to finish (and delete itself) on its own.
bool runJob(QKeychain::Job *job, int timeoutMs, std::function<void(QKeychain::Job *)> onDone)
{
    struct Outcome {
        bool finished = false;
        bool ok = false;
    };
    auto outcome = std::make_shared<Outcome>();
    QEventLoop loop;
    auto *context = new QObject;
    QObject::connect(job, &QKeychain::Job::finished, context, [outcome, onDone, &loop](QKeychain::Job *j) {
        outcome->finished = true;
        outcome->ok = j->error() == QKeychain::NoError;
        if (!outcome->ok && j->error() != QKeychain::EntryNotFound)
            qCInfo(lcPlatform) << "secret store:" << j->errorString();
        if (onDone)
            onDone(j);
        loop.quit();
    });
    job->setAutoDelete(true);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    job->start();
    if (!outcome->finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    delete context; // a late answer must not touch this stack frame
    if (!outcome->finished)
        qCInfo(lcPlatform) << "secret store did not answer in" << timeoutMs << "ms";
    return outcome->finished && outcome->ok;
}

} // namespace

std::optional<QByteArray> KeychainSecretStore::readPassword(const QString &service, const QString &account)
{
    auto *job = new QKeychain::ReadPasswordJob(service);
    job->setKey(account);
    job->setInsecureFallback(false);
    QByteArray data;
    const bool ok = runJob(job, m_timeoutMs, [&data](QKeychain::Job *j) {
        data = static_cast<QKeychain::ReadPasswordJob *>(j)->binaryData();
    });
    if (!ok)
        return std::nullopt;
    return data;
}

bool KeychainSecretStore::writePassword(const QString &service, const QString &account, const QByteArray &data)
{
    auto *job = new QKeychain::WritePasswordJob(service);
    job->setKey(account);
    job->setInsecureFallback(false);
    job->setBinaryData(data);
    return runJob(job, m_timeoutMs, nullptr);
}

void KeychainSecretStore::deletePassword(const QString &service, const QString &account)
{
    auto *job = new QKeychain::DeletePasswordJob(service);
    job->setKey(account);
    job->setInsecureFallback(false);
    runJob(job, m_timeoutMs, nullptr);
}
