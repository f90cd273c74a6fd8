#pragma once

#include "canvas/keychain.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace platform { class ISecretStore; }
class UserDefaults;

// The school's Canvas address and the user's access token.
struct CanvasCredentials {
    QString baseURL;
    QString token;

    bool operator==(const CanvasCredentials &) const = default;

    // What the user typed, as a stored address: "" for blank input, an https
    // address, or nothing when the scheme is neither http nor https, there
    // is no host, or it carries a query or fragment (paths are appended to
    // it as text).
    static std::optional<QString> normalizeBaseURL(const QString &typed);
    // Whether typed would be an address but for a query or fragment.
    static bool hasQueryOrFragment(const QString &typed);
    // A line break or other control character inside a token would reach
    // the request header as it is.
    static bool hasControlCharacter(const QString &token);
};

// Keeps the credentials: the address under "canvasBaseURL" in the user
// defaults, the token in the secret store (account "CANVAS_TOKEN"), with a
// legacy plain-text token file that the first load moves into the store.
// Main thread only; the secret store answers later, so loads and saves
// answer through callbacks.
//
// Whether a token is stored is known once a read got an answer or a save
// ran. A read that gets no answer (a locked keyring, a prompt nobody
// answered) leaves it unknown: the next load reads again, and saving an
// empty token then leaves the stored token alone instead of deleting it.
class CanvasCredentialStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool hasCredentials READ hasCredentials NOTIFY credentialsChanged)
public:
    static inline const QString TokenAccount = QStringLiteral("CANVAS_TOKEN");
    static inline const QString BaseURLKey = QStringLiteral("canvasBaseURL");

    enum class TokenState { Unknown, Absent, Present };
    // How a save ended: stored for good; in use for this run only, as no
    // secret store kept the token (none runs, it refused, or it did not
    // answer); or refused outright.
    enum class Saved { Stored, ThisRunOnly, Refused };

    using LoadCallback = std::function<void(const std::optional<CanvasCredentials> &)>;

    // legacyTokenPath: empty means "com.pavlet.app/canvas-token" in the
    // user's application data folder.
    CanvasCredentialStore(platform::ISecretStore *secrets, UserDefaults *defaults, const QString &legacyTokenPath = QString(),
                          QObject *parent = nullptr);

    // What is known now: the credentials while a token is known to be stored,
    // else none.
    std::optional<CanvasCredentials> current() const { return m_cache; }
    bool hasCredentials() const { return m_cache.has_value(); }
    TokenState tokenState() const { return m_state; }

    // The stored credentials, or none. Answers from what is known when the
    // token's presence is known; otherwise reads the secret store (and the
    // legacy file) first. Loads made meanwhile share that one read.
    void load(LoadCallback done);
    // Stores the address (normalised; a rejected one keeps the stored
    // address) and the trimmed token; an empty token removes the stored one
    // unless its presence is unknown. Nothing changes until the secret store
    // answers. A write it refused or did not answer still stores the address
    // and leaves the token in use for the rest of the run (ThisRunOnly); the
    // store keeps what it held. A token holding a control character is
    // refused at once.
    void save(const QString &baseURL, const QString &token, std::function<void(Saved)> done = {});

    QString storedBaseURL() const;
    QString legacyTokenPath() const { return m_legacyPath; }
    void removeLegacyTokenFile() const;
    static QString defaultLegacyTokenPath();

signals:
    // current() changed.
    void credentialsChanged();

private:
    void finishRead(quint64 generation, TokenState state, const QString &token);
    void setKnown(TokenState state, std::optional<CanvasCredentials> credentials);
    // Writes the address and lets the known credentials carry it.
    void commitAddress(const QString &address);
    std::optional<QString> readLegacyToken() const;

    Keychain m_keychain;
    UserDefaults *m_defaults;
    QString m_legacyPath;
    TokenState m_state = TokenState::Unknown;
    std::optional<CanvasCredentials> m_cache;
    std::vector<LoadCallback> m_waiting;
    // Bumped by every save, so that a read started before it cannot undo it.
    quint64 m_generation = 0;
    // Whether the token in use will be there next run; not so for one that
    // no secret store kept.
    bool m_tokenKept = true;
};
