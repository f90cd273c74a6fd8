#include "platform/linux/keychainsecretstore.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

// Reaches the desktop's secret service for the island, one call per run, so
// that the keyring's libraries go away with this process.
// usage: pavlet-secret read|write|delete SERVICE ACCOUNT TIMEOUT_MS
//        (write: the secret on standard input)
// prints: "found\n" and the secret, "notfound\n" or "failed\n" for a read;
// "ok\n" or "failed\n" for a change. Exits 2 on wrong arguments.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    bool timeoutOk = false;
    const int timeoutMs = args.value(3).toInt(&timeoutOk);
    const QString op = args.value(0);
    if (args.size() != 4 || !timeoutOk || timeoutMs <= 0
        || (op != QLatin1String("read") && op != QLatin1String("write") && op != QLatin1String("delete"))) {
        std::fputs("usage: pavlet-secret read|write|delete SERVICE ACCOUNT TIMEOUT_MS\n", stderr);
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

    platform::KeychainSecretStore store(timeoutMs, timeoutMs);
    using Status = platform::ISecretStore::ReadResult::Status;
    if (op == QLatin1String("read")) {
        store.readPassword(service, account, [&](const platform::ISecretStore::ReadResult &r) {
            answer(r.status == Status::Found      ? QByteArrayLiteral("found\n") + r.data
                   : r.status == Status::NotFound ? QByteArrayLiteral("notfound\n")
                                                  : QByteArrayLiteral("failed\n"));
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
