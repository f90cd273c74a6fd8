#include "platform/linux/keychainsecretstore.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cstdio>

// Reaches the desktop's secret service for the island, one call per run, so
// that the keyring's libraries go away with this process.
// usage: pavlet-secret read|write|delete SERVICE ACCOUNT TIMEOUT_MS [PROMPT_TIMEOUT_MS]
//        pavlet-secret state
//        (write: the secret on standard input; PROMPT_TIMEOUT_MS, when
//        longer, is the time given while the keyring prompts)
// prints: "found\n" and the secret, "notfound\n", "locked\n" (the keyring
// stayed locked: the item may well be there), "nokeyring\n" (no secret
// service runs or can be started) or "failed\n" for a read; "ok\n" or
// "failed\n" for a change; before that "prompt\n" when the keyring is
// locked, so that its unlock prompt is about to show and the island waits
// for the user. state asks nothing that prompts and prints "open\n",
// "locked\n" or "nokeyring\n". Exits 2 on wrong arguments.

namespace {

// Asks a D-Bus method briefly; nothing when it did not answer.
QVariant ask(const QString &service, const QString &path, const QString &interface, const QString &method,
             const QVariantList &args)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setArguments(args);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 1000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    const QVariant value = reply.arguments().first();
    return value.canConvert<QDBusVariant>() ? value.value<QDBusVariant>().variant() : value;
}

// Whether the keyring the call goes to is locked (the Secret Service's
// default collection) or closed (KWallet's wallet): it then prompts.
bool keyringLocked()
{
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    if (!bus)
        return false;
    if (bus->isServiceRegistered(QStringLiteral("org.freedesktop.secrets"))) {
        const QVariant locked = ask(QStringLiteral("org.freedesktop.secrets"),
                                    QStringLiteral("/org/freedesktop/secrets/aliases/default"),
                                    QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                                    {QStringLiteral("org.freedesktop.Secret.Collection"), QStringLiteral("Locked")});
        if (locked.isValid())
            return locked.toBool();
    }
    for (const QString &name : {QStringLiteral("kwalletd6"), QStringLiteral("kwalletd5")}) {
        const QString service = QStringLiteral("org.kde.") + name;
        if (!bus->isServiceRegistered(service))
            continue;
        const QString path = QStringLiteral("/modules/") + name;
        const QString wallet = ask(service, path, QStringLiteral("org.kde.KWallet"), QStringLiteral("networkWallet"), {})
                                   .toString();
        const QVariant open = ask(service, path, QStringLiteral("org.kde.KWallet"), QStringLiteral("isOpen"), {wallet});
        return open.isValid() && !open.toBool();
    }
    return false;
}

// Whether a secret service runs, or the bus can start one.
bool keyringAvailable()
{
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    if (!bus)
        return false;
    const QStringList startable = bus->activatableServiceNames();
    for (const QString &name : {QStringLiteral("org.freedesktop.secrets"), QStringLiteral("org.kde.kwalletd6"),
                                QStringLiteral("org.kde.kwalletd5")}) {
        if (bus->isServiceRegistered(name) || startable.contains(name))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    bool timeoutOk = false, promptOk = true;
    const int timeoutMs = args.value(3).toInt(&timeoutOk);
    const int promptTimeoutMs = args.size() == 5 ? args.value(4).toInt(&promptOk) : timeoutMs;
    const QString op = args.value(0);
    if (op == QLatin1String("state") && args.size() == 1) {
        std::fputs(!keyringAvailable() ? "nokeyring\n" : keyringLocked() ? "locked\n" : "open\n", stdout);
        return 0;
    }
    if (args.size() < 4 || args.size() > 5 || !timeoutOk || !promptOk || timeoutMs <= 0
        || (op != QLatin1String("read") && op != QLatin1String("write") && op != QLatin1String("delete"))) {
        std::fputs("usage: pavlet-secret read|write|delete SERVICE ACCOUNT TIMEOUT_MS [PROMPT_TIMEOUT_MS]\n", stderr);
        return 2;
    }
    const QString service = args[1];
    const QString account = args[2];

    QByteArray output;
    bool answered = false;
    auto answer = [&](const QByteArray &text) {
        output = text;
        answered = true;
        app.quit();
    };
    auto changed = [&](bool ok) { answer(ok ? QByteArrayLiteral("ok\n") : QByteArrayLiteral("failed\n")); };

    if (!keyringAvailable()) {
        std::fputs(op == QLatin1String("read") ? "nokeyring\n" : "failed\n", stdout);
        return 0;
    }
    int waitMs = timeoutMs;
    if (keyringLocked()) {
        waitMs = std::max(timeoutMs, promptTimeoutMs);
        std::fputs("prompt\n", stdout);
        std::fflush(stdout);
    }
    platform::KeychainSecretStore store(waitMs, waitMs);
    using Status = platform::ISecretStore::ReadResult::Status;
    if (op == QLatin1String("read")) {
        store.readPassword(service, account, [&](const platform::ISecretStore::ReadResult &r) {
            if (r.status == Status::Found)
                answer(QByteArrayLiteral("found\n") + r.data);
            else if (r.status == Status::NoKeyring)
                answer(QByteArrayLiteral("nokeyring\n"));
            // A keyring whose unlock was dismissed answers as if it held
            // nothing: still locked, it is not known to hold nothing.
            else if (r.status == Status::Locked || keyringLocked())
                answer(QByteArrayLiteral("locked\n"));
            else
                answer(r.status == Status::NotFound ? QByteArrayLiteral("notfound\n") : QByteArrayLiteral("failed\n"));
        });
    } else if (op == QLatin1String("write")) {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) {
            std::fputs("pavlet-secret: no standard input\n", stderr);
            return 1;
        }
        store.writePassword(service, account, in.readAll(), changed);
    } else {
        store.deletePassword(service, account, changed);
    }
    // An answer may come before the event loop runs.
    if (!answered)
        app.exec();
    std::fwrite(output.constData(), 1, size_t(output.size()), stdout);
    std::fflush(stdout);
    return 0;
}
