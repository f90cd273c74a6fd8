#include "keychain.h"

#include "secretstore.h"

#include <QStringDecoder>

std::optional<QString> Keychain::read(const QString &account) const
{
    if (!m_store)
        return std::nullopt;
    const std::optional<QByteArray> data = m_store->readPassword(Service, account);
    if (!data)
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(*data);
    if (decoder.hasError())
        return std::nullopt;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    return trimmed;
}

bool Keychain::save(const QString &value, const QString &account) const
{
    return m_store && m_store->writePassword(Service, account, value.toUtf8());
}

void Keychain::remove(const QString &account) const
{
    if (m_store)
        m_store->deletePassword(Service, account);
}
