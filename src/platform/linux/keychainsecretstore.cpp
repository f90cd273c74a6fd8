#include "platform/linux/keychainsecretstore.h"

#include <QLoggingCategory>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <qt6keychain/keychain.h>

namespace platform {

namespace {

// The secret helper links nothing of the program's own, so its messages
// carry the platform's category under a declaration of their own.
Q_LOGGING_CATEGORY(lcSecrets, "pavlet.platform")

// Starts job and calls finish exactly once: with the job when it finishes,
// or with nullptr when timeoutMs pass first. The job deletes itself.
void runJob(QObject *context, QKeychain::Job *job, int timeoutMs, std::function<void(QKeychain::Job *)> finish)
{
    auto answered = std::make_shared<bool>(false);
    auto *timer = new QTimer(context);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, context, [answered, finish, timer, timeoutMs] {
        timer->deleteLater();
        if (std::exchange(*answered, true))
            return;
        qCInfo(lcSecrets) << "secret store did not answer in" << timeoutMs << "ms";
        finish(nullptr);
    });
    QPointer<QTimer> guard(timer);
    QObject::connect(job, &QKeychain::Job::finished, context, [answered, finish, guard](QKeychain::Job *j) {
        if (guard)
            guard->deleteLater();
        if (std::exchange(*answered, true))
            return;
        if (j->error() != QKeychain::NoError && j->error() != QKeychain::EntryNotFound)
            qCInfo(lcSecrets) << "secret store:" << j->errorString();
        finish(j);
    });
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    timer->start(timeoutMs);
    job->start();
}

} // namespace

KeychainSecretStore::KeychainSecretStore(int readTimeoutMs, int changeTimeoutMs, QObject *parent)
    : QObject(parent), m_readTimeoutMs(readTimeoutMs), m_changeTimeoutMs(changeTimeoutMs)
{
}

void KeychainSecretStore::readPassword(const QString &service, const QString &account, ReadCallback done)
{
    auto *job = new QKeychain::ReadPasswordJob(service);
    job->setKey(account);
    runJob(this, job, m_readTimeoutMs, [done = std::move(done)](QKeychain::Job *j) {
        ReadResult result;
        if (j && j->error() == QKeychain::NoError) {
            result.status = ReadResult::Status::Found;
            result.data = static_cast<QKeychain::ReadPasswordJob *>(j)->binaryData();
        } else if (j && j->error() == QKeychain::EntryNotFound) {
            result.status = ReadResult::Status::NotFound;
        } else if (j && j->error() == QKeychain::NoBackendAvailable) {
            result.status = ReadResult::Status::NoKeyring;
        }
        done(result);
    });
}

void KeychainSecretStore::writePassword(const QString &service, const QString &account, const QByteArray &data,
                                        DoneCallback done)
{
    auto *job = new QKeychain::WritePasswordJob(service);
    job->setKey(account);
    job->setBinaryData(data);
    runJob(this, job, m_changeTimeoutMs, [done = std::move(done)](QKeychain::Job *j) {
        done(j && j->error() == QKeychain::NoError);
    });
}

void KeychainSecretStore::deletePassword(const QString &service, const QString &account, DoneCallback done)
{
    auto *job = new QKeychain::DeletePasswordJob(service);
    job->setKey(account);
    runJob(this, job, m_changeTimeoutMs, [done = std::move(done)](QKeychain::Job *j) {
        done(j && (j->error() == QKeychain::NoError || j->error() == QKeychain::EntryNotFound));
    });
}

} // namespace platform
