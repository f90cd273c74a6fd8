#include "canvascredentials.h"

#include "userdefaults.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QUrl>

namespace {
CanvasCredentialStore *g_shared = nullptr;
}

std::optional<CanvasCredentials> CanvasCredentials::load()
{
    CanvasCredentialStore *store = CanvasCredentialStore::shared();
    return store ? store->load() : std::nullopt;
}

void CanvasCredentials::save(const QString &baseURL, const QString &token)
{
    if (CanvasCredentialStore *store = CanvasCredentialStore::shared())
        store->save(baseURL, token);
}

std::optional<QString> CanvasCredentials::normalizeBaseURL(const QString &typed)
{
    const QString trimmed = typed.trimmed();
    if (trimmed.isEmpty())
        return QString();
    QString candidate;
    const qsizetype sep = trimmed.indexOf(QLatin1String("://"));
    if (sep < 0) {
        candidate = QStringLiteral("https://") + trimmed;
    } else {
        const QString scheme = trimmed.left(sep).toLower();
        if (scheme == QLatin1String("http"))
            candidate = QStringLiteral("https://") + trimmed.mid(sep + 3);
        else if (scheme == QLatin1String("https"))
            candidate = trimmed;
        else
            return std::nullopt;
    }
    if (candidate.endsWith(QLatin1Char('/')))
        candidate.chop(1);
    const QUrl url(candidate, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return std::nullopt;
    return candidate;
}

CanvasCredentialStore::CanvasCredentialStore(SecretStore *secrets, UserDefaults *defaults, const QString &legacyTokenPath)
    : m_keychain(secrets), m_defaults(defaults),
      m_legacyPath(legacyTokenPath.isEmpty() ? defaultLegacyTokenPath() : legacyTokenPath)
{
}

CanvasCredentialStore *CanvasCredentialStore::shared()
{
    return g_shared;
}

void CanvasCredentialStore::setShared(CanvasCredentialStore *store)
{
    g_shared = store;
}

QString CanvasCredentialStore::defaultLegacyTokenPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/com.pavlet.app/canvas-token");
}

QString CanvasCredentialStore::storedBaseURL() const
{
    QString url = m_defaults ? m_defaults->stringValue(BaseURLKey).trimmed() : QString();
    if (url.endsWith(QLatin1Char('/')))
        url.chop(1);
    return url;
}

void CanvasCredentialStore::removeLegacyTokenFile() const
{
    QFile::remove(m_legacyPath);
}

std::optional<CanvasCredentials> CanvasCredentialStore::load()
{
    QMutexLocker<QRecursiveMutex> lock(&m_mutex);
    if (m_loaded)
        return m_cache;
    m_loaded = true;

    std::optional<QString> token = m_keychain.read(TokenAccount);
    if (!token) {
        QFile file(m_legacyPath);
        if (!file.open(QIODevice::ReadOnly)) {
            m_cache.reset();
            return m_cache;
        }
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = QString(decoder.decode(file.readAll())).trimmed();
        file.close();
        if (decoder.hasError() || text.isEmpty()) {
            m_cache.reset();
            return m_cache;
        }
        // The file goes only once the keychain really holds the token;
        // otherwise it stays for the next run to try again.
        if (m_keychain.save(text, TokenAccount))
            removeLegacyTokenFile();
        token = text;
    }
    m_cache = CanvasCredentials{storedBaseURL(), *token};
    return m_cache;
}

void CanvasCredentialStore::save(const QString &baseURL, const QString &token)
{
    QMutexLocker<QRecursiveMutex> lock(&m_mutex);
    const std::optional<QString> normalized = CanvasCredentials::normalizeBaseURL(baseURL);
    const QString address = normalized ? *normalized : storedBaseURL();
    if (m_defaults)
        m_defaults->setString(BaseURLKey, address);

    const QString trimmed = token.trimmed();
    if (!trimmed.isEmpty()) {
        m_keychain.save(trimmed, TokenAccount);
        removeLegacyTokenFile();
        m_cache = CanvasCredentials{address, trimmed};
    } else {
        m_keychain.remove(TokenAccount);
        removeLegacyTokenFile();
        m_cache.reset();
    }
    m_loaded = true;
}
