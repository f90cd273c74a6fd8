#include "canvas/canvascredentials.h"

#include "core/userdefaults.h"

#include <QFile>
#include <QPointer>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QUrl>
#include <algorithm>

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
    if (!url.isValid() || url.host().isEmpty() || url.hasQuery() || url.hasFragment())
        return std::nullopt;
    return candidate;
}

bool CanvasCredentials::hasQueryOrFragment(const QString &typed)
{
    QString trimmed = typed.trimmed();
    if (!trimmed.contains(QLatin1String("://")))
        trimmed.prepend(QStringLiteral("https://"));
    const QUrl url(trimmed, QUrl::StrictMode);
    return url.isValid() && !url.host().isEmpty() && (url.hasQuery() || url.hasFragment());
}

bool CanvasCredentials::hasControlCharacter(const QString &token)
{
    return std::any_of(token.begin(), token.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

QString CanvasCredentials::schoolOf(const QString &address)
{
    const QUrl url(address.trimmed());
    if (address.trimmed().isEmpty() || !url.isValid() || url.host().isEmpty())
        return address.trimmed();
    const QString scheme = url.scheme().toLower();
    const int port = url.port(scheme == QLatin1String("http") ? 80 : 443);
    return scheme + QStringLiteral("://") + url.host().toLower() + QLatin1Char(':') + QString::number(port);
}

QString CanvasCredentials::hostOf(const QString &address)
{
    const QUrl url(address.trimmed());
    if (url.host().isEmpty())
        return address.trimmed();
    return url.port() < 0 ? url.host() : url.host() + QLatin1Char(':') + QString::number(url.port());
}

CanvasCredentialStore::CanvasCredentialStore(platform::ISecretStore *secrets, UserDefaults *defaults,
                                             const QString &legacyTokenPath, QObject *parent)
    : QObject(parent), m_keychain(secrets), m_defaults(defaults),
      m_legacyPath(legacyTokenPath.isEmpty() ? defaultLegacyTokenPath() : legacyTokenPath)
{
    m_waitingForKeyring = !storedBaseURL().isEmpty();
}

QString CanvasCredentialStore::defaultLegacyTokenPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/com.pavlet.app/canvas-token");
}

QString CanvasCredentialStore::storedBaseURL() const
{
    QString url = m_defaults->stringValue(BaseURLKey).trimmed();
    if (url.endsWith(QLatin1Char('/')))
        url.chop(1);
    return url;
}

void CanvasCredentialStore::removeLegacyTokenFile() const
{
    QFile::remove(m_legacyPath);
}

std::optional<QString> CanvasCredentialStore::readLegacyToken() const
{
    QFile file(m_legacyPath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = QString(decoder.decode(file.readAll())).trimmed();
    if (decoder.hasError() || text.isEmpty())
        return std::nullopt;
    return text;
}

void CanvasCredentialStore::load(LoadCallback done)
{
    // A keyring found locked is not asked again (each read would bring its
    // prompt back) until the watch sees it open.
    if (m_state != TokenState::Unknown || m_watchingKeyring) {
        done(m_cache);
        return;
    }
    m_waiting.push_back(std::move(done));
    if (m_waiting.size() > 1)
        return; // a read is on its way
    const quint64 generation = m_generation;
    QPointer<CanvasCredentialStore> self(this);
    m_keychain.read(TokenAccount, [self, generation](const Keychain::Answer &answer) {
        if (!self)
            return;
        using Status = Keychain::Answer::Status;
        self->m_keyringProblem = answer.status == Status::Locked      ? KeyringLockedText
                                 : answer.status == Status::NoKeyring ? NoKeyringText
                                                                      : QString();
        if (answer.status == Status::Found) {
            self->finishRead(generation, TokenState::Present, answer.text);
            return;
        }
        const std::optional<QString> legacy = self->readLegacyToken();
        if (!legacy) {
            if (!self->m_keyringProblem.isEmpty())
                self->watchKeyring();
            self->finishRead(generation,
                             answer.status == Keychain::Answer::Status::Missing ? TokenState::Absent
                                                                                : TokenState::Unknown,
                             QString());
            return;
        }
        // The file goes only once the store really holds the token;
        // otherwise it stays for the next run to try again.
        const QString token = *legacy;
        self->m_keychain.save(token, TokenAccount, [self](bool ok) {
            if (self && ok)
                self->removeLegacyTokenFile();
        });
        self->finishRead(generation, TokenState::Present, token);
    });
}

void CanvasCredentialStore::finishRead(quint64 generation, TokenState state, const QString &token)
{
    // A save since the read began already set what is known.
    if (generation == m_generation && m_state == TokenState::Unknown) {
        if (state == TokenState::Present)
            setKnown(state, token, keptTokenSchool());
        else
            setKnown(state);
        m_absenceRead = state == TokenState::Absent;
    }
    // What the keyring said shows even when the token stays unknown.
    publish();
    const auto waiting = std::exchange(m_waiting, {});
    for (const LoadCallback &done : waiting)
        done(m_cache);
}

void CanvasCredentialStore::watchKeyring()
{
    if (std::exchange(m_watchingKeyring, true))
        return;
    QPointer<CanvasCredentialStore> self(this);
    m_keychain.whenOpen([self] {
        if (!self)
            return;
        self->m_watchingKeyring = false;
        // A save may have told meanwhile.
        if (self->m_state != TokenState::Unknown) {
            self->m_keyringProblem.clear();
            self->publish();
            return;
        }
        self->load([self](const std::optional<CanvasCredentials> &) {
            if (self && self->m_state != TokenState::Unknown)
                emit self->keyringOpened();
        });
    });
}

QString CanvasCredentialStore::keptTokenSchool() const
{
    const QString school = m_defaults->stringValue(TokenSchoolKey);
    return school.isEmpty() ? CanvasCredentials::schoolOf(storedBaseURL()) : school;
}

QString CanvasCredentialStore::tokenRequest() const
{
    return m_request;
}

bool CanvasCredentialStore::isTokenRequest(const QString &text)
{
    return text.startsWith(PasteTokenFor) || text == PasteAddressText || text == UnsendableTokenText;
}

void CanvasCredentialStore::askAgain()
{
    if (m_state == TokenState::Absent && m_absenceRead)
        m_state = TokenState::Unknown;
}

void CanvasCredentialStore::setKnown(TokenState state, const QString &token, const QString &school, bool kept)
{
    m_state = state;
    // A store that has not answered yet leaves it unknown: still waiting.
    m_everKnown = m_everKnown || state != TokenState::Unknown;
    m_token = state == TokenState::Present ? token : QString();
    m_tokenSchool = state == TokenState::Present ? school : QString();
    m_tokenKept = kept;
    publish();
}

void CanvasCredentialStore::publish()
{
    std::optional<CanvasCredentials> credentials;
    QString request;
    if (m_state == TokenState::Present) {
        const QString address = storedBaseURL();
        if (CanvasCredentials::hasControlCharacter(m_token))
            request = UnsendableTokenText;
        else if (address.isEmpty() && !m_tokenSchool.isEmpty())
            request = PasteAddressText;
        else if (CanvasCredentials::schoolOf(address) != m_tokenSchool)
            request = PasteTokenFor + CanvasCredentials::hostOf(address);
        else
            credentials = CanvasCredentials{address, m_token};
    }
    const bool untilQuit = credentials && !m_tokenKept;
    const bool unknown = m_state == TokenState::Unknown && !storedBaseURL().isEmpty();
    const QString keyring = unknown ? m_keyringProblem : QString();
    const bool waiting = !m_everKnown && unknown && keyring.isEmpty();
    if (credentials == m_cache && request == m_request && untilQuit == m_untilQuit && waiting == m_waitingForKeyring
        && keyring == m_keyringShown)
        return;
    m_keyringShown = keyring;
    m_cache = std::move(credentials);
    m_request = request;
    m_untilQuit = untilQuit;
    m_waitingForKeyring = waiting;
    emit credentialsChanged();
}

void CanvasCredentialStore::writeAddress(const QString &address)
{
    // Until now the stored address told whose the token is; it is written
    // down before the address changes.
    if (m_state != TokenState::Absent && m_defaults->stringValue(TokenSchoolKey).isEmpty()) {
        const QString school = CanvasCredentials::schoolOf(storedBaseURL());
        if (!school.isEmpty() && school != CanvasCredentials::schoolOf(address))
            m_defaults->setString(TokenSchoolKey, school);
    }
    m_defaults->setString(BaseURLKey, address);
    // A token saved without an address has gone nowhere yet: it becomes the
    // first school's it is given.
    const QString school = CanvasCredentials::schoolOf(address);
    if (m_state == TokenState::Present && m_tokenSchool.isEmpty() && !school.isEmpty()) {
        m_tokenSchool = school;
        if (m_tokenKept)
            m_defaults->setString(TokenSchoolKey, school);
    }
}

void CanvasCredentialStore::commitAddress(const QString &address)
{
    writeAddress(address);
    publish();
}

void CanvasCredentialStore::save(const QString &baseURL, const QString &token, std::function<void(Saved)> done)
{
    const std::optional<QString> normalized = CanvasCredentials::normalizeBaseURL(baseURL);
    const QString address = normalized ? *normalized : storedBaseURL();
    const QString trimmed = token.trimmed();
    auto answer = [done = std::move(done)](Saved saved) {
        if (done)
            done(saved);
    };
    if (CanvasCredentials::hasControlCharacter(trimmed)) {
        answer(Saved::Refused);
        return;
    }
    QPointer<CanvasCredentialStore> self(this);
    const QString school = CanvasCredentials::schoolOf(address);
    if (!trimmed.isEmpty()) {
        if (m_state == TokenState::Present && m_token == trimmed && m_tokenSchool == school && m_tokenKept) {
            // The store already holds this token for this school: only the
            // address changes.
            commitAddress(address);
            answer(Saved::Stored);
            return;
        }
        m_keychain.save(trimmed, TokenAccount, [self, address, school, trimmed, answer](bool ok) {
            if (self) {
                // A read that began before this cannot undo it. Without a
                // store that kept it, the token still serves this run; the
                // store keeps the earlier token, and whose it is.
                ++self->m_generation;
                self->writeAddress(address);
                // Not taken: the store may still hold an older token, which
                // the next run then asks about instead of using it.
                self->m_defaults->setString(TokenSchoolKey, ok ? school : OlderTokenMark);
                if (ok)
                    self->removeLegacyTokenFile();
                self->setKnown(TokenState::Present, trimmed, school, ok);
            }
            answer(ok ? Saved::Stored : Saved::ThisRunOnly);
        });
        return;
    }
    if (m_state != TokenState::Present) {
        // Nothing known to remove; when nobody knows whether a token is
        // stored, it is left alone.
        commitAddress(address);
        if (m_state == TokenState::Absent)
            removeLegacyTokenFile();
        answer(m_state == TokenState::Absent ? Saved::Stored : Saved::Refused);
        return;
    }
    m_keychain.remove(TokenAccount, [self, address, answer](bool ok) {
        if (self && ok) {
            ++self->m_generation;
            self->m_defaults->remove(TokenSchoolKey);
            self->m_defaults->setString(BaseURLKey, address);
            self->setKnown(TokenState::Absent);
            self->m_absenceRead = false;
            self->removeLegacyTokenFile();
        } else if (self) {
            // The token stays where it is; the address is the user's all the same.
            self->commitAddress(address);
        }
        answer(ok ? Saved::Stored : Saved::Refused);
    });
}

void CanvasCredentialStore::saveAddress(const QString &baseURL, std::function<void(Saved)> done)
{
    QPointer<CanvasCredentialStore> self(this);
    load([self, baseURL, done = std::move(done)](const std::optional<CanvasCredentials> &) {
        if (!self)
            return;
        const std::optional<QString> normalized = CanvasCredentials::normalizeBaseURL(baseURL);
        self->commitAddress(normalized ? *normalized : self->storedBaseURL());
        if (self->m_state == TokenState::Absent)
            self->removeLegacyTokenFile();
        if (done)
            done(Saved::Stored);
    });
}
