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
    // The school an address belongs to: its scheme, host and port
    // ("https://canvas.example.edu:443"); empty for no address. A token
    // serves only the school it was saved for.
    static QString schoolOf(const QString &address);
    // The school's host as the user knows it, with the port when one was
    // given.
    static QString hostOf(const QString &address);
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
//
// A token belongs to the school it was saved for ("canvasTokenSchool" in the
// user defaults; a token from before that key belongs to the stored
// address). While the address names another school, or the token could not
// be sent as a header value, the token stays where it is but there are no
// credentials: nothing goes to the school, and tokenRequest() asks for a
// token.
class CanvasCredentialStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool hasCredentials READ hasCredentials NOTIFY credentialsChanged)
public:
    static inline const QString TokenAccount = QStringLiteral("CANVAS_TOKEN");
    static inline const QString BaseURLKey = QStringLiteral("canvasBaseURL");
    static inline const QString TokenSchoolKey = QStringLiteral("canvasTokenSchool");
    static inline const QString PasteTokenFor = QStringLiteral("Paste the token for ");
    // What is asked for while a token is kept but no address is stored.
    static inline const QString PasteAddressText = QStringLiteral("Paste your school's Canvas address");
    // Written as the token's school when the secret store did not take a
    // new token: whatever it still holds is an older one, which is then not
    // used without asking.
    static inline const QString OlderTokenMark = QStringLiteral("older");
    // Said while an address is stored and the keyring cannot be read: the
    // token may well be in it.
    static inline const QString KeyringLockedText = QStringLiteral("Your keyring is locked");
    static inline const QString NoKeyringText = QStringLiteral("No keyring is running");
    static inline const QString UnsendableTokenText =
        QStringLiteral("The saved token holds a line break or another hidden character. Paste it again.");

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
    // An address is stored but no read has told yet whether the secret store
    // holds a token (locked or silent since start): it may well be there.
    bool waitingForKeyring() const { return m_waitingForKeyring; }
    // While an address is stored and the keyring said it is locked, or none
    // runs: KeyringLockedText or NoKeyringText. Empty otherwise. The keyring
    // is then watched, and read again once it opens (see keyringOpened()).
    QString keyringProblem() const { return m_keyringShown; }
    // The credentials in use hold a token that no secret store kept: it is
    // gone after quitting.
    bool tokenUntilQuit() const { return m_untilQuit; }
    // What the user is asked for while a known token cannot serve the stored
    // address: "Paste the token for <host>" for another school's address,
    // the address when none is stored, or to paste again a token that cannot
    // be sent. Empty otherwise.
    QString tokenRequest() const;
    // Whether text is one of those requests.
    static bool isTokenRequest(const QString &text);
    // A store that gave no token (it did not answer, was locked, or said it
    // holds none) is asked again by the next load; a token known to be
    // there, or removed by a save, is not.
    void askAgain();

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
    // Stores the address (as save() does) and keeps whatever token there
    // is, once a read has said which; the token serves the new address only
    // when it is the same school's.
    void saveAddress(const QString &baseURL, std::function<void(Saved)> done = {});

    QString storedBaseURL() const;
    QString legacyTokenPath() const { return m_legacyPath; }
    void removeLegacyTokenFile() const;
    static QString defaultLegacyTokenPath();

signals:
    // current(), tokenUntilQuit(), tokenRequest(), waitingForKeyring() or
    // keyringProblem() changed.
    void credentialsChanged();
    // A keyring that was locked or missing opened and was read again:
    // Canvas can be asked now.
    void keyringOpened();

private:
    void finishRead(quint64 generation, TokenState state, const QString &token);
    // Reads again once the keyring opens.
    void watchKeyring();
    // What is known of the token: whether there is one, which, for which
    // school, and whether the secret store holds it.
    void setKnown(TokenState state, const QString &token = QString(), const QString &school = QString(),
                  bool kept = true);
    // Works out the credentials from the token and the stored address.
    void publish();
    // Writes the address (the school of the token the secret store holds is
    // written down first, when only the old address told it).
    void commitAddress(const QString &address);
    void writeAddress(const QString &address);
    // The school of the token the secret store holds.
    QString keptTokenSchool() const;
    std::optional<QString> readLegacyToken() const;

    Keychain m_keychain;
    UserDefaults *m_defaults;
    QString m_legacyPath;
    TokenState m_state = TokenState::Unknown;
    // The token while one is known, and the school it belongs to.
    QString m_token;
    QString m_tokenSchool;
    std::optional<CanvasCredentials> m_cache;
    QString m_request;
    bool m_untilQuit = false;
    bool m_waitingForKeyring = false;
    // What the last read said of the keyring, and what is shown of it.
    QString m_keyringProblem;
    QString m_keyringShown;
    bool m_watchingKeyring = false;
    bool m_everKnown = false;
    std::vector<LoadCallback> m_waiting;
    // Bumped by every save, so that a read started before it cannot undo it.
    quint64 m_generation = 0;
    // Whether the token in use will be there next run; not so for one that
    // no secret store kept.
    bool m_tokenKept = true;
    // The token's absence was read from the store, not made by a save.
    bool m_absenceRead = false;
};
