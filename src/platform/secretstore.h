#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace platform {

// Generic passwords kept by the system's secret service, addressed by a
// service name and an account. Every call answers through its callback,
// once, on the main thread, possibly before the call returns; nothing
// waits for the service.
class ISecretStore {
public:
    struct ReadResult {
        enum class Status {
            Found,    // data holds the stored bytes
            NotFound, // the service answered: there is no such item
            Failed,   // no answer (refused, timed out): the item may exist
            Locked,   // the keyring stayed locked (its unlock prompt was dismissed, or none could show)
            NoKeyring, // no secret service runs at all
        };
        Status status = Status::Failed;
        QByteArray data;
    };
    using ReadCallback = std::function<void(const ReadResult &)>;
    // ok: the service confirmed the change.
    using DoneCallback = std::function<void(bool ok)>;

    virtual ~ISecretStore() = default;
    virtual void readPassword(const QString &service, const QString &account, ReadCallback done) = 0;
    // Creates or replaces the item in one step. On failure an earlier item is
    // left as it was.
    virtual void writePassword(const QString &service, const QString &account, const QByteArray &data,
                               DoneCallback done) = 0;
    // Removes the item; a missing item counts as removed.
    virtual void deletePassword(const QString &service, const QString &account, DoneCallback done) = 0;
    // After a read said Locked or NoKeyring: opened is called once a read
    // could get through without a prompt (the keyring was unlocked, or a
    // secret service appeared). A store that cannot tell never calls it.
    virtual void whenOpen(std::function<void()> opened) { (void)opened; }
};

} // namespace platform
