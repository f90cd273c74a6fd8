#pragma once

#include "keychain.h"

#include <QMutex>
#include <QString>
#include <optional>

class SecretStore;
class UserDefaults;

// The school's Canvas address and the user's access token.
struct CanvasCredentials {
    QString baseURL;
    QString token;

    bool operator==(const CanvasCredentials &) const = default;

    // The process-wide credentials (see CanvasCredentialStore::shared()).
    static std::optional<CanvasCredentials> load();
    static void save(const QString &baseURL, const QString &token);
    // What the user typed, as a stored address: "" for blank input, an https
    // address, or nothing when the scheme is neither http nor https or there
    // is no host.
    static std::optional<QString> normalizeBaseURL(const QString &typed);
};

// Keeps the credentials: the address under "canvasBaseURL" in the user
// defaults, the token in the keychain (account "CANVAS_TOKEN"), with a legacy
// plain-text token file that the first load moves into the keychain. The
// first load or save of a run fills a cache that later loads answer from.
// Safe to call from any thread.
class CanvasCredentialStore {
public:
    static inline const QString TokenAccount = QStringLiteral("CANVAS_TOKEN");
    static inline const QString BaseURLKey = QStringLiteral("canvasBaseURL");

    // legacyTokenPath: empty means "com.pavlet.app/canvas-token" in the
    // user's application data folder.
    CanvasCredentialStore(SecretStore *secrets, UserDefaults *defaults, const QString &legacyTokenPath = QString());

    static CanvasCredentialStore *shared();
    static void setShared(CanvasCredentialStore *store);

    std::optional<CanvasCredentials> load();
    void save(const QString &baseURL, const QString &token);
    QString storedBaseURL() const;
    QString legacyTokenPath() const { return m_legacyPath; }
    void removeLegacyTokenFile() const;
    static QString defaultLegacyTokenPath();

private:
    Keychain m_keychain;
    UserDefaults *m_defaults;
    QString m_legacyPath;
    mutable QRecursiveMutex m_mutex;
    bool m_loaded = false;
    std::optional<CanvasCredentials> m_cache;
};
