#include "keychainsecretstore.h"
#include "privatebus.h"

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
    EXPECT_FALSE(store.readPassword("com.pavlet.app", "CANVAS_TOKEN"));
    EXPECT_FALSE(store.writePassword("com.pavlet.app", "CANVAS_TOKEN", "tok"));
    store.deletePassword("com.pavlet.app", "CANVAS_TOKEN");
    EXPECT_LT(t.elapsed(), 7000);

    qputenv("DBUS_SESSION_BUS_ADDRESS", saved);
}
