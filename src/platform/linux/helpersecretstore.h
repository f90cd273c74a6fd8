#pragma once

#include "platform/secretstore.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

namespace platform {

// Secrets through a pavlet-secret process per call, which asks the
// desktop's secret service (the freedesktop Secret Service or KWallet) and
// goes away with the libraries that took; the island keeps none of them.
// No plain-text fallback. A read that has not answered after readTimeoutMs,
// or a write or delete after changeTimeoutMs, answers as failed and its
// helper is stopped, so a late answer changes nothing. A save the user is
// waiting for counts a store that stays silent a few seconds as absent; but
// when the helper says the keyring is locked (its unlock prompt is up), any
// call waits up to promptTimeoutMs for the user. After a read that found the
// keyring locked or missing, whenOpen() asks the helper every watchEveryMs,
// without prompting, until a read could get through.
class HelperSecretStore final : public QObject, public ISecretStore {
    Q_OBJECT
public:
    // helper: the pavlet-secret program; empty means the one the build made,
    // else the one beside this program.
    explicit HelperSecretStore(const QString &helper = QString(), int readTimeoutMs = 25000,
                               int changeTimeoutMs = 4000, int promptTimeoutMs = 120000, int watchEveryMs = 5000,
                               QObject *parent = nullptr);
    // Calls still running are stopped; their callbacks are not called.
    ~HelperSecretStore() override;

    void readPassword(const QString &service, const QString &account, ReadCallback done) override;
    void writePassword(const QString &service, const QString &account, const QByteArray &data,
                       DoneCallback done) override;
    void deletePassword(const QString &service, const QString &account, DoneCallback done) override;
    void whenOpen(std::function<void()> opened) override;

    // While held, calls wait (in order) instead of starting their helper:
    // the program holds them while it starts, so that a keyring and its
    // libraries never compete with the island's first frame.
    void hold();
    void release();

private:
    // Runs the helper once; finish gets what it printed, or nothing when it
    // could not start, failed, or ran past timeoutMs.
    void run(const QStringList &args, const QByteArray &input, int timeoutMs,
             std::function<void(const std::optional<QByteArray> &)> finish);

    void lookWhetherOpen();

    QString m_helper;
    int m_readTimeoutMs;
    int m_changeTimeoutMs;
    int m_promptTimeoutMs;
    bool m_held = false;
    std::vector<std::function<void()>> m_heldCalls;
    QTimer m_watch;
    bool m_looking = false;
    std::vector<std::function<void()>> m_whenOpen;
};

// What a pavlet-secret printed, read back (after the "prompt" line, if
// any); anything else is a failure.
ISecretStore::ReadResult parseSecretRead(const std::optional<QByteArray> &output);
bool parseSecretChange(const std::optional<QByteArray> &output);

} // namespace platform
