#pragma once

#include "platform/secretstore.h"

#include <QHash>
#include <QTimer>
#include <QPair>
#include <functional>
#include <vector>

// In-memory secrets. refuseWrites makes every write fail (the stored items
// stay as they were), as a keyring prompt that was cancelled does;
// unavailable makes every call fail, as a locked or absent keyring does.
// Calls answer at once unless hold is set: then each answer waits in `held`
// until the test calls release(). With answerAfterMs set instead, each
// answer comes that long later from the event loop, as a keyring that asks
// the user first does.
class FakeSecretStore final : public platform::ISecretStore {
public:
    void readPassword(const QString &service, const QString &account, ReadCallback done) override
    {
        ++reads;
        answer([this, service, account, done] {
            ReadResult r;
            if (unavailable) {
                r.status = ReadResult::Status::Failed;
            } else if (keyring != ReadResult::Status::Found) {
                r.status = keyring;
            } else if (const auto it = items.constFind({service, account}); it != items.constEnd()) {
                r.status = ReadResult::Status::Found;
                r.data = *it;
            } else {
                r.status = ReadResult::Status::NotFound;
            }
            done(r);
        });
    }
    void writePassword(const QString &service, const QString &account, const QByteArray &data,
                       DoneCallback done) override
    {
        ++writes;
        answer([this, service, account, data, done] {
            const bool ok = !refuseWrites && !unavailable;
            if (ok)
                items.insert({service, account}, data);
            done(ok);
        });
    }
    void deletePassword(const QString &service, const QString &account, DoneCallback done) override
    {
        ++deletes;
        answer([this, service, account, done] {
            if (!unavailable)
                items.remove({service, account});
            done(!unavailable);
        });
    }
    void whenOpen(std::function<void()> opened) override { openWaiters.push_back(std::move(opened)); }
    // The keyring unlocks or appears.
    void open()
    {
        keyring = ReadResult::Status::Found;
        for (auto &fn : std::exchange(openWaiters, {}))
            fn();
    }
    // Answers every held call, oldest first.
    void release()
    {
        auto pending = std::move(held);
        held.clear();
        for (auto &fn : pending)
            fn();
    }

    QHash<QPair<QString, QString>, QByteArray> items;
    bool refuseWrites = false;
    bool unavailable = false;
    // Locked or NoKeyring: what every read says, until open().
    ReadResult::Status keyring = ReadResult::Status::Found;
    std::vector<std::function<void()>> openWaiters;
    bool hold = false;
    int answerAfterMs = 0;
    std::vector<std::function<void()>> held;
    int reads = 0;
    int writes = 0;
    int deletes = 0;

private:
    void answer(std::function<void()> fn)
    {
        if (hold)
            held.push_back(std::move(fn));
        else if (answerAfterMs > 0)
            QTimer::singleShot(answerAfterMs, std::move(fn));
        else
            fn();
    }
};
