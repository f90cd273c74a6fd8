#include "platform/linux/keychainsecretstore.h"
#include "support/pavlettest.h"
#include "support/privatebus.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

// With no secret service on the session bus (as on a CI machine), reads give
// nothing and writes report failure, quickly and without hanging.
TEST(KeychainSecretStoreTest, NoSecretServiceMeansNoTokenAndFailedWrites)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    const QByteArray saved = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());

    KeychainSecretStore store(2000);
    QElapsedTimer t;
    t.start();
    std::optional<SecretStore::ReadResult> read;
    std::optional<bool> wrote, deleted;
    store.readPassword("com.pavlet.app", "CANVAS_TOKEN", [&](const SecretStore::ReadResult &r) { read = r; });
    store.writePassword("com.pavlet.app", "CANVAS_TOKEN", "tok", [&](bool ok) { wrote = ok; });
    store.deletePassword("com.pavlet.app", "CANVAS_TOKEN", [&](bool ok) { deleted = ok; });
    EXPECT_LT(t.elapsed(), 500) << "the calls return before the service answers";
    ASSERT_TRUE(waitUntil([&] { return read && wrote && deleted; }, 7000));
    EXPECT_NE(read->status, SecretStore::ReadResult::Status::Found);
    EXPECT_FALSE(*wrote);
    EXPECT_FALSE(*deleted);

    qputenv("DBUS_SESSION_BUS_ADDRESS", saved);
}
