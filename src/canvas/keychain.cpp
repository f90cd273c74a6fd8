#include "canvas/keychain.h"

#include "platform/secretstore.h"

#include <QStringDecoder>

void Keychain::read(const QString &account, std::function<void(const Answer &)> done) const
{
    m_store->readPassword(Service, account, [done = std::move(done)](const platform::ISecretStore::ReadResult &r) {
        Answer answer;
        switch (r.status) {
        case platform::ISecretStore::ReadResult::Status::Failed:
            answer.status = Answer::Status::Failed;
            break;
        case platform::ISecretStore::ReadResult::Status::Locked:
            answer.status = Answer::Status::Locked;
            break;
        case platform::ISecretStore::ReadResult::Status::NoKeyring:
            answer.status = Answer::Status::NoKeyring;
            break;
        case platform::ISecretStore::ReadResult::Status::NotFound:
            answer.status = Answer::Status::Missing;
            break;
        case platform::ISecretStore::ReadResult::Status::Found: {
            QStringDecoder decoder(QStringDecoder::Utf8);
            const QString text = QString(decoder.decode(r.data)).trimmed();
            answer.status = decoder.hasError() || text.isEmpty() ? Answer::Status::Missing : Answer::Status::Found;
            if (answer.status == Answer::Status::Found)
                answer.text = text;
            break;
        }
        }
        done(answer);
    });
}

void Keychain::save(const QString &value, const QString &account, std::function<void(bool)> done) const
{
    m_store->writePassword(Service, account, value.toUtf8(), std::move(done));
}

void Keychain::remove(const QString &account, std::function<void(bool)> done) const
{
    m_store->deletePassword(Service, account, std::move(done));
}

void Keychain::whenOpen(std::function<void()> opened) const
{
    m_store->whenOpen(std::move(opened));
}
